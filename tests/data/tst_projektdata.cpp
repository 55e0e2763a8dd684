#include "UDataTestUtil.h"
#include "data/UProjektData.h"
#include "platform/UStringGrid.h"

#include <QtTest>

class TestProjektData : public QObject {
    Q_OBJECT
private slots:
    void fresh();
    void globalHoldsNullProject();
    void getNrRaises_data();
    void getNrRaises();
    void clearData();
    void insertEmpty();
    void insertEmptyWritesGridRow();
    void deleteEntry();
    void captions();
    void overviewEmpty();
    void fillState_data();
    void fillState();
    void overviewRowsAndObjects();
    void spaceMinMax();
    void modifiedFlag();
};

void TestProjektData::fresh()
{
    TOwnedProjektData pd;
    QCOMPARE(pd.Anz(), 0);
    QCOMPARE(pd.getNr0()->nr, 0);
    QCOMPARE(pd.getNr0()->name, QStringLiteral("Nicht/ungültig gewählt"));
    QCOMPARE(pd.getDataType(), dtPro);
    QCOMPARE(pd.getRecCount(), 8);
}

void TestProjektData::globalHoldsNullProject()
{
    QVERIFY(ProjektData);
    QCOMPARE(ProjektData->Anz(), 0);
    QCOMPARE(ProjektData->getNr0()->nr, 0);
}

void TestProjektData::getNrRaises_data()
{
    QTest::addColumn<int>("i");
    QTest::newRow("0") << 0;
    QTest::newRow("1 on empty") << 1;
    QTest::newRow("negative") << -3;
    QTest::newRow("beyond") << 4;
}

void TestProjektData::getNrRaises()
{
    QFETCH(int, i);
    TOwnedProjektData pd;
    if (i == 4) {
        for (int k = 1; k <= 3; ++k)
            pd.add(new TProjekt(k));
    }
    try {
        pd.getNr(i);
        QFAIL("no exception");
    } catch (const Exception& e) {
        QCOMPARE(e.message(), QStringLiteral("UProjektData.getNr: ungueltige Projektnummer: %1").arg(i));
    }
}

void TestProjektData::clearData()
{
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    pd.getNr0()->eintanz = 5;
    pd.ModSaved(QStringLiteral("x.PRO"));
    pd.setModified();
    pd.ClearData();
    QCOMPARE(pd.Anz(), 0);
    QCOMPARE(pd.getFilename(), QString());
    QVERIFY(!pd.getModified());
    QCOMPARE(pd.getNr0()->eintanz, 0);
    QCOMPARE(pd.getNr0()->nr, 0);
}

void TestProjektData::insertEmpty()
{
    TOwnedProjektData pd;
    TMemoryGrid grid(8, 5);
    for (int k = 1; k <= 3; ++k) {
        auto* p = new TProjekt(k);
        p->name = QStringLiteral("P%1").arg(k);
        pd.add(p);
    }
    pd.InsertEmpty(1, grid);
    QCOMPARE(pd.Anz(), 4);
    QCOMPARE(pd.getNr(1)->nr, 1);
    QCOMPARE(pd.getNr(1)->name, QString());
    for (int k = 2; k <= 4; ++k) {
        QCOMPARE(pd.getNr(k)->name, QStringLiteral("P%1").arg(k - 1));
        QCOMPARE(pd.getNr(k)->nr, k - 1);   // numbers are the editor's business
    }
    pd.InsertEmpty(5, grid);
    QCOMPARE(pd.Anz(), 5);
    QCOMPARE(pd.getNr(5)->nr, 5);
    QVERIFY_THROWS_EXCEPTION(Exception, pd.InsertEmpty(0, grid));
    QVERIFY_THROWS_EXCEPTION(Exception, pd.InsertEmpty(7, grid));
    QCOMPARE(pd.Anz(), 5);
    QCOMPARE(pd.getNr0()->nr, 0);
}

void TestProjektData::insertEmptyWritesGridRow()
{
    TOwnedProjektData pd;
    TMemoryGrid grid(8, 3);
    pd.InsertEmpty(1, grid);
    QCOMPARE(grid.rowTexts(1), (QStringList{"1", "", "1", "13", "0", "1000", "-", "-"}));
    QCOMPARE(grid.rowTexts(2), QStringList(8, QString()));
}

void TestProjektData::deleteEntry()
{
    TOwnedProjektData pd;
    for (int k = 1; k <= 3; ++k)
        pd.add(new TProjekt(k));
    pd.DeleteEntry(3);
    QCOMPARE(pd.Anz(), 2);
    QCOMPARE(pd.getNr(2)->nr, 2);
    pd.DeleteEntry(1);
    QCOMPARE(pd.Anz(), 1);
    QCOMPARE(pd.getNr(1)->nr, 2);
    QVERIFY_THROWS_EXCEPTION(Exception, pd.DeleteEntry(0));   // the pseudo-project stays
    QCOMPARE(pd.getNr0()->nr, 0);
}

void TestProjektData::captions()
{
    TOwnedProjektData pd;
    QCOMPARE(pd.getRecCaptions(),
             (QStringList{"Nr", "Name", "MinJgSt", "MaxJgSt", "MinTeiln", "MaxTeiln", "Geschl", "gesp"}));
    QCOMPARE(pd.getRecCaptionWidthExample(),
             (QStringList{"999", "123456789012345678901234567890", "MinJgSt", "MaxJgSt", "MinTeiln", "MaxTeiln",
                          "Geschl", "gesp"}));
}

void TestProjektData::overviewEmpty()
{
    TOwnedProjektData pd;
    TMemoryGrid grid(4, 9);
    grid.setCell(0, 0, QStringLiteral("Nr"));
    grid.setFixedRows(0);
    pd.getNr0()->eintanz = 3;
    pd.toOverview(grid);
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.fixedRows(), 1);
    QCOMPARE(grid.cell(0, 0), QStringLiteral("Nr"));
    QCOMPARE(grid.rowTexts(1), (QStringList{"0", "Nicht/ungültig gewählt", "3", ""}));
    QCOMPARE(grid.object(0, 1), static_cast<void*>(pd.getNr0()));
}

void TestProjektData::fillState_data()
{
    QTest::addColumn<int>("tmin");
    QTest::addColumn<int>("tmax");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("state");
    QTest::newRow("empty") << 5 << 10 << 0 << "";
    QTest::newRow("under") << 5 << 10 << 3 << "-2";
    QTest::newRow("min") << 5 << 10 << 5 << "ok";
    QTest::newRow("max") << 5 << 10 << 10 << "ok";
    QTest::newRow("over") << 5 << 10 << 12 << "+2";
    QTest::newRow("min above max, over first") << 30 << 20 << 25 << "+5";
    QTest::newRow("min above max, under") << 30 << 20 << 15 << "-15";
}

void TestProjektData::fillState()
{
    QFETCH(int, tmin);
    QFETCH(int, tmax);
    QFETCH(int, count);
    TOwnedProjektData pd;
    auto* p = new TProjekt(1);
    p->teilnmin = tmin;
    p->teilnmax = tmax;
    p->eintanz = count;
    pd.add(p);
    TMemoryGrid grid(4, 1);
    pd.toOverview(grid);
    QTEST(grid.cell(3, 2), "state");
    QCOMPARE(grid.cell(2, 2), QString::number(count));
}

void TestProjektData::overviewRowsAndObjects()
{
    TOwnedProjektData pd;
    for (int k = 1; k <= 3; ++k) {
        auto* p = new TProjekt(k);
        p->name = QStringLiteral("Projekt %1").arg(k);
        pd.add(p);
    }
    TMemoryGrid grid(4, 20);
    pd.toOverview(grid);
    QCOMPARE(grid.rowCount(), 5);
    for (int k = 1; k <= 3; ++k) {
        QCOMPARE(grid.cell(0, k + 1), QString::number(k));
        QCOMPARE(grid.cell(1, k + 1), QStringLiteral("Projekt %1").arg(k));
        QCOMPARE(grid.object(0, k + 1), static_cast<void*>(pd.getNr(k)));
    }
}

void TestProjektData::spaceMinMax()
{
    TOwnedProjektData pd;
    int lo = -1;
    int hi = -1;
    pd.getSpaceMinMax(lo, hi);
    QCOMPARE(lo, 0);
    QCOMPARE(hi, 0);
    auto* a = new TProjekt(1);
    a->teilnmin = 5;
    a->teilnmax = 10;
    auto* b = new TProjekt(2);
    b->teilnmin = 8;
    b->teilnmax = 20;
    pd.add(a);
    pd.add(b);
    pd.getNr0()->teilnmin = 100;   // the pseudo-project does not count
    pd.getSpaceMinMax(lo, hi);
    QCOMPARE(lo, 13);
    QCOMPARE(hi, 30);
}

void TestProjektData::modifiedFlag()
{
    TOwnedProjektData pd;
    QCOMPARE(pd.getFilename(), QString());
    QVERIFY(!pd.getModified());
    pd.setModified();
    QVERIFY(pd.getModified());
    pd.ModSaved(QStringLiteral("a.PRO"));
    QVERIFY(!pd.getModified());
    QCOMPARE(pd.getFilename(), QStringLiteral("a.PRO"));
    pd.setModified();
    QVERIFY(pd.getModified());
    QCOMPARE(pd.getFilename(), QStringLiteral("a.PRO"));
}

QTEST_GUILESS_MAIN(TestProjektData)
#include "tst_projektdata.moc"

#include "UDataTestUtil.h"
#include "data/USchuelerData.h"
#include "platform/UStringGrid.h"

#include <QRandomGenerator>
#include <QtTest>

class TestSchuelerData : public QObject {
    Q_OBJECT
private slots:
    void fresh();
    void getNrRaises();
    void insertEmpty();
    void deleteEntry();
    void captions();
    void eintAnz();
    void overviewEmpty();
    void overview();
    void sort_data();
    void sort();
    void sortIsOrderedByKey();
    void clearDataResetsSort();
    void clearHand();
    void copyShares();
};

void TestSchuelerData::fresh()
{
    TOwnedSchuelerData sd;
    QCOMPARE(sd.Anz(), 0);
    QCOMPARE(sd.getSort(), sc_NotSorted);
    QCOMPARE(sd.getDataType(), dtSch);
    QCOMPARE(sd.getRecCount(), 11);
    QVERIFY(!sd.getModified());
    QVERIFY(SchuelerData);
}

void TestSchuelerData::getNrRaises()
{
    TOwnedSchuelerData sd;
    const QString msg = QStringLiteral("USchuelerData.getNr: ungueltige Schuelernummer");
    for (int i : {0, 1, -1}) {
        try {
            sd.getNr(i);
            QFAIL("no exception");
        } catch (const Exception& e) {
            QCOMPARE(e.message(), msg);
        }
    }
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    QCOMPARE(sd.getNr(1)->name, QStringLiteral("A"));
    QVERIFY_THROWS_EXCEPTION(Exception, sd.getNr(2));
}

void TestSchuelerData::insertEmpty()
{
    TOwnedSchuelerData sd;
    TMemoryGrid grid(11, 4);
    sd.Sort(sc_N);
    sd.InsertEmpty(1, grid);
    QCOMPARE(sd.Anz(), 1);
    QCOMPARE(grid.rowTexts(1), (QStringList{"", "w", "0", " ", "-", "0", "0", "0", "0", "0", "0"}));
    QCOMPARE(sd.getSort(), sc_NotSorted);
    QVERIFY(!sd.getModified());

    sd.getNr(1)->name = QStringLiteral("erst");
    sd.InsertEmpty(1, grid);
    sd.InsertEmpty(3, grid);
    QCOMPARE(sd.Anz(), 3);
    QCOMPARE(sd.getNr(2)->name, QStringLiteral("erst"));
    QCOMPARE(sd.getNr(3)->name, QString());
}

void TestSchuelerData::deleteEntry()
{
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.Sort(sc_N);
    sd.DeleteEntry(3);
    QCOMPARE(sd.Anz(), 2);
    sd.DeleteEntry(1);
    QCOMPARE(sd.Anz(), 1);
    QCOMPARE(sd.getNr(1)->name, QStringLiteral("B"));
    QCOMPARE(sd.getSort(), sc_N);
}

void TestSchuelerData::captions()
{
    TOwnedSchuelerData sd;
    const QStringList caps{"Name", "Geschl", "Klasse", "Abt", "fest", "Wahl1", "Wahl2", "Wahl3", "Wahl4", "Wahl5", "Projekt"};
    QCOMPARE(sd.getRecCaptions(), caps);
    QStringList samples = caps;
    samples[0] = QStringLiteral("123456789012345678901234567890");
    QCOMPARE(sd.getRecCaptionWidthExample(), samples);
}

void TestSchuelerData::eintAnz()
{
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; -; 1; 0; 0; 0; 0; 1; ")));
    sd.add(pupil(QStringLiteral("C; m; 7; a; -; 1; 0; 0; 0; 0; 250; ")));
    QCOMPARE(sd.getEintAnz(), 2);
}

void TestSchuelerData::overviewEmpty()
{
    TOwnedSchuelerData sd;
    TMemoryGrid grid(4, 6);
    grid.setFixedRows(1);
    grid.setRowTexts(0, {"Klasse", "Anz", "eingeteilt", "Erstwahl"});
    TOwnedProjektData pd;
    sd.toOverview(grid, pd);
    QCOMPARE(grid.rowCount(), 1);
    QCOMPARE(grid.fixedRows(), 0);
    QCOMPARE(grid.rowTexts(0), (QStringList{"Klasse", "Anz", "eingeteilt", "Erstwahl"}));
}

void TestSchuelerData::overview()
{
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 10; b; -; 1; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; -; 3; 3; 0; 0; 0; 3; ")));   // priority 2: not first choice
    sd.add(pupil(QStringLiteral("C; m; 7; A; -; 3; 0; 0; 0; 0; 3; ")));   // first choice
    sd.add(pupil(QStringLiteral("D; w; 5; ; -; 1; 2; 0; 0; 0; 2; ")));    // second choice
    sd.add(pupil(QStringLiteral("E; w; 7; a; -; 1; 0; 0; 0; 0; 9; ")));   // none of the choices
    // Chose and assigned to a number the project list does not hold: as if
    // not assigned.
    sd.add(pupil(QStringLiteral("F; w; 5; ; -; 11; 0; 0; 0; 0; 11; ")));
    // A department of one blank is none: the same class.
    TSchueler* g = pupil(QStringLiteral("G; w; 5; ; -; 1; 0; 0; 0; 0; 0; "));
    g->abt = QStringLiteral(" ");
    sd.add(g);
    TOwnedProjektData pd;
    for (int k = 1; k <= 10; ++k)
        pd.add(new TProjekt(k));
    TMemoryGrid grid(4, 2);
    grid.setRowTexts(0, {"Klasse", "Anz", "eingeteilt", "Erstwahl"});
    sd.toOverview(grid, pd);
    QCOMPARE(grid.rowCount(), 4);
    QCOMPARE(grid.fixedRows(), 1);
    QCOMPARE(grid.rowTexts(0), (QStringList{"Klasse", "Anz", "eingeteilt", "Erstwahl"}));
    QCOMPARE(grid.rowTexts(1), (QStringList{" 5", "3", "1", "0"}));
    QCOMPARE(grid.rowTexts(2), (QStringList{" 7a", "3", "3", "1"}));   // text of the first pupil met
    QCOMPARE(grid.rowTexts(3), (QStringList{"10b", "1", "0", "0"}));
}

void TestSchuelerData::sort_data()
{
    QTest::addColumn<int>("krit");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("projects");   // in the program's project list
    // name, class, gender, project
    QTest::newRow("N, upper case first") << int(sc_N) << QStringList{"Anna", "Bernd", "Carl", "Dora", "bert"} << 10;
    QTest::newRow("Kl_N") << int(sc_Kl_N) << QStringList{"Bernd", "Carl", "Dora", "bert", "Anna"} << 10;
    QTest::newRow("P_N, 9 before 10") << int(sc_P_N) << QStringList{"Carl", "bert", "Anna", "Bernd", "Dora"} << 10;
    QTest::newRow("P_Kl") << int(sc_P_Kl) << QStringList{"Carl", "bert", "Bernd", "Anna", "Dora"} << 10;
    // Without project 10 Dora sorts with the unassigned.
    QTest::newRow("P_N, 10 names no project") << int(sc_P_N) << QStringList{"Carl", "Dora", "bert", "Anna", "Bernd"}
                                              << 9;
}

void TestSchuelerData::sort()
{
    QFETCH(int, krit);
    QFETCH(QStringList, order);
    QFETCH(int, projects);
    const TGlobalProjects global(projects);
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("Carl; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("Anna; w; 12; a; -; 1; 0; 0; 0; 0; 9; ")));
    sd.add(pupil(QStringLiteral("bert; m; 9; b; -; 1; 0; 0; 0; 0; 3; ")));
    sd.add(pupil(QStringLiteral("Bernd; m; 5; c; -; 1; 0; 0; 0; 0; 9; ")));
    sd.add(pupil(QStringLiteral("Dora; w; 8; d; -; 1; 0; 0; 0; 0; 10; ")));
    sd.Sort(TSortCritType(krit));
    QCOMPARE(int(sd.getSort()), krit);
    QStringList names;
    for (int i = 1; i <= sd.Anz(); ++i)
        names << sd.getNr(i)->name;
    QCOMPARE(names, order);
}

void TestSchuelerData::sortIsOrderedByKey()
{
    TOwnedSchuelerData sd;
    QRandomGenerator rng(7);
    const QStringList names{"Meier", "meier", "Meierhofer", "Müller", "Zoe", "Ärger", "abc", "Meier Anna Katharina Lisa"};
    for (int i = 0; i < 500; ++i) {
        auto* s = new TSchueler;
        s->name = names.at(rng.bounded(int(names.size())));
        s->jgst = rng.bounded(14);
        s->abt = QString(QChar(char16_t('a' + rng.bounded(8))));
        s->geschl = rng.bounded(2);
        s->zuteil = rng.bounded(256);
        sd.add(s);
    }
    for (TSortCritType krit : {sc_N, sc_Kl_N, sc_P_N, sc_P_Kl}) {
        sd.Sort(krit);
        for (int i = 1; i < sd.Anz(); ++i)
            QVERIFY(sd.getNr(i)->ToSortZeil(krit) <= sd.getNr(i + 1)->ToSortZeil(krit));
    }
    // 20-character names that agree: class, then gender (boys first), then project
    const TGlobalProjects global(9);
    sd.ClearData();
    sd.add(pupil(QStringLiteral("Abcdefghijklmnopqrst-b; w; 7; a; -; 0; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("Abcdefghijklmnopqrst-a; m; 7; a; -; 0; 0; 0; 0; 0; 5; ")));
    sd.add(pupil(QStringLiteral("Abcdefghijklmnopqrst-c; m; 7; a; -; 0; 0; 0; 0; 0; 4; ")));
    sd.add(pupil(QStringLiteral("Abcdefghijklmnopqrst-d; w; 6; a; -; 0; 0; 0; 0; 0; 9; ")));
    sd.Sort(sc_N);
    QStringList tails;
    for (int i = 1; i <= sd.Anz(); ++i)
        tails << sd.getNr(i)->name.right(1);
    QCOMPARE(tails, (QStringList{"d", "c", "a", "b"}));
}

void TestSchuelerData::clearDataResetsSort()
{
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.Sort(sc_Kl_N);
    sd.ModSaved(QStringLiteral("x.EIN"));
    sd.setModified();
    sd.ClearData();
    QCOMPARE(sd.getSort(), sc_NotSorted);
    QCOMPARE(sd.Anz(), 0);
    QCOMPARE(sd.getFilename(), QString());
    QVERIFY(!sd.getModified());
}

void TestSchuelerData::clearHand()
{
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; F; 1; 0; 0; 0; 0; 1; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; 2; 1; 4; 0; 0; 0; 4; ")));
    sd.getNr(1)->setHand(3);
    sd.clearHand();
    QVERIFY(sd.getNr(1)->fest);
    QCOMPARE(sd.getNr(1)->hand, -1);
    QCOMPARE(sd.getNr(1)->zuteil, 1);
    QCOMPARE(sd.getNr(2)->hand, -1);
    QCOMPARE(sd.getNr(2)->zuteil, 4);
}

void TestSchuelerData::copyShares()
{
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.Sort(sc_N);
    sd.ModSaved(QStringLiteral("f.EIN"));
    {
        TSchuelerData copy(&sd);
        QCOMPARE(copy.Anz(), 2);
        QCOMPARE(copy.getNr(2), sd.getNr(2));
        QCOMPARE(copy.getSort(), sc_N);
        QCOMPARE(copy.getFilename(), QString());
    }
    // the copy is gone, the pupils are not (ASan would report a use after free)
    QCOMPARE(sd.getNr(1)->name, QStringLiteral("A"));
}

QTEST_GUILESS_MAIN(TestSchuelerData)
#include "tst_schuelerdata.moc"

#include "UDataTestUtil.h"
#include "data/UEinteilungBasics.h"

#include <QtTest>

namespace {

TProjekt makeProject(int nr, int jgmin, int jgmax, bool weib, bool maenn, bool gesp = false)
{
    TProjekt p(nr);
    p.jgmin = jgmin;
    p.jgmax = jgmax;
    p.weib = weib;
    p.maenn = maenn;
    p.gesp = gesp;
    return p;
}

} // namespace

class TestEinteilung : public QObject {
    Q_OBJECT
private slots:
    void eligibility_data();
    void eligibility();
    void fixedWinsOverHand();
    void clearEint();
    void countEint();
    void countEintNoPupilsZeroesCounts();
    void countEintNoProjectsChangesNothing();
    void countEintNoneAssigned();
    void countEintUnknownProject();
};

void TestEinteilung::eligibility_data()
{
    QTest::addColumn<QString>("line");   // the pupil
    QTest::addColumn<int>("jgmin");
    QTest::addColumn<int>("jgmax");
    QTest::addColumn<bool>("weib");
    QTest::addColumn<bool>("maenn");
    QTest::addColumn<bool>("gesp");
    QTest::addColumn<bool>("possible");
    // the project is number 4

    QTest::newRow("girl too young") << "A; w; 5; a; -; 1; 4; 0; 0; 0; 0; " << 7 << 13 << true << true << false << false;
    QTest::newRow("girl hand on rank 2") << "A; w; 5; a; 2; 1; 4; 0; 0; 0; 0; " << 7 << 13 << true << true << false << true;
    QTest::newRow("girl hand 0") << "A; w; 5; a; 0; 1; 4; 0; 0; 0; 0; " << 7 << 13 << true << true << false << false;
    QTest::newRow("hand 0 within range") << "A; w; 8; a; 0; 1; 2; 0; 0; 0; 0; " << 7 << 13 << true << true << false << true;
    QTest::newRow("grade edges") << "A; w; 13; a; -; 1; 2; 0; 0; 0; 0; " << 7 << 13 << true << true << false << true;
    QTest::newRow("boy girls-only") << "B; m; 8; a; -; 4; 0; 0; 0; 0; 0; " << 1 << 13 << true << false << false << false;
    QTest::newRow("boy girls-only fixed") << "B; m; 8; a; F; 4; 0; 0; 0; 0; 0; " << 1 << 13 << true << false << false << true;
    QTest::newRow("boy girls-only hand") << "B; m; 8; a; 3; 1; 2; 4; 0; 0; 0; " << 1 << 13 << true << false << false << true;
    QTest::newRow("hand on other rank") << "B; m; 8; a; 1; 1; 2; 4; 0; 0; 0; " << 1 << 13 << true << true << false << false;
    QTest::newRow("closed refuses fixed") << "B; m; 8; a; F; 4; 0; 0; 0; 0; 0; " << 1 << 13 << true << true << true << false;
    QTest::newRow("closed refuses all") << "B; m; 8; a; -; 4; 0; 0; 0; 0; 0; " << 1 << 13 << true << true << true << false;
    QTest::newRow("neither gender") << "B; w; 8; a; -; 4; 0; 0; 0; 0; 0; " << 1 << 13 << false << false << false << false;
    QTest::newRow("neither gender hand") << "B; w; 8; a; 1; 4; 0; 0; 0; 0; 0; " << 1 << 13 << false << false << false << true;
}

void TestEinteilung::eligibility()
{
    QFETCH(QString, line);
    QFETCH(int, jgmin);
    QFETCH(int, jgmax);
    QFETCH(bool, weib);
    QFETCH(bool, maenn);
    QFETCH(bool, gesp);
    const TSchueler s(TZeile(line), true);
    QTEST(isEintPossible(s, makeProject(4, jgmin, jgmax, weib, maenn, gesp)), "possible");
}

void TestEinteilung::fixedWinsOverHand()
{
    TSchueler s(TZeile(QStringLiteral("A; w; 8; a; F; 4; 2; 6; 0; 0; 0; ")), true);
    s.setHand(3);
    QVERIFY(isEintPossible(s, makeProject(4, 1, 13, true, true)));
    QVERIFY(!isEintPossible(s, makeProject(6, 1, 13, true, true)));
}

void TestEinteilung::clearEint()
{
    TOwnedSchuelerData sd;
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    sd.add(pupil(QStringLiteral("A; m; 7; a; F; 1; 0; 0; 0; 0; 1; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; 3; 1; 0; 0; 0; 0; 1; ")));
    pd.getNr(1)->eintanz = 2;
    pd.getNr0()->eintanz = 9;
    ClearEint(sd, pd);
    QCOMPARE(sd.getNr(1)->zuteil, 0);
    QCOMPARE(sd.getNr(2)->zuteil, 0);
    QVERIFY(sd.getNr(1)->fest);
    QCOMPARE(sd.getNr(2)->hand, 3);
    QCOMPARE(pd.getNr(1)->Anz(), 0);
    QCOMPARE(pd.getNr0()->Anz(), 0);
}

void TestEinteilung::countEint()
{
    TOwnedSchuelerData sd;
    TOwnedProjektData pd;
    for (int k = 1; k <= 3; ++k)
        pd.add(new TProjekt(k));
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 1; ")));
    sd.add(pupil(QStringLiteral("B; m; 7; a; -; 1; 0; 0; 0; 0; 3; ")));
    sd.add(pupil(QStringLiteral("C; m; 7; a; -; 1; 0; 0; 0; 0; 3; ")));
    sd.add(pupil(QStringLiteral("D; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    pd.getNr(2)->eintanz = 50;
    CountEint(sd, pd);
    QCOMPARE(pd.getNr0()->Anz(), 1);
    QCOMPARE(pd.getNr(1)->Anz(), 1);
    QCOMPARE(pd.getNr(2)->Anz(), 0);
    QCOMPARE(pd.getNr(3)->Anz(), 2);
}

void TestEinteilung::countEintNoPupilsZeroesCounts()
{
    // Mended: an emptied pupil list must not leave stale counts behind.
    TOwnedSchuelerData sd;
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    pd.getNr(1)->eintanz = 7;
    pd.getNr0()->eintanz = 3;
    CountEint(sd, pd);
    QCOMPARE(pd.getNr(1)->Anz(), 0);
    QCOMPARE(pd.getNr0()->Anz(), 0);
}

void TestEinteilung::countEintNoProjectsChangesNothing()
{
    TOwnedSchuelerData sd;
    TOwnedProjektData pd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    pd.getNr0()->eintanz = 4;
    CountEint(sd, pd);
    QCOMPARE(pd.getNr0()->Anz(), 4);
}

void TestEinteilung::countEintNoneAssigned()
{
    TOwnedSchuelerData sd;
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    pd.getNr(1)->eintanz = 5;
    for (int i = 0; i < 3; ++i)
        sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    CountEint(sd, pd);
    QCOMPARE(pd.getNr0()->Anz(), 0);
    QCOMPARE(pd.getNr(1)->Anz(), 0);
}

void TestEinteilung::countEintUnknownProject()
{
    TOwnedSchuelerData sd;
    TOwnedProjektData pd;
    for (int k = 1; k <= 20; ++k)
        pd.add(new TProjekt(k));
    for (int i = 0; i < 5; ++i)
        sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    sd.add(pupil(QStringLiteral("Z; m; 7; a; -; 1; 0; 0; 0; 0; 250; ")));
    auto* odd = new TSchueler;   // a number no line could carry
    odd->zuteil = -3;
    sd.add(odd);
    // Numbers naming no project count as not assigned: with nobody in a
    // project, project 0 shows 0.
    CountEint(sd, pd);
    QCOMPARE(pd.getNr0()->Anz(), 0);
    sd.add(pupil(QStringLiteral("B; m; 7; a; -; 1; 0; 0; 0; 0; 20; ")));
    CountEint(sd, pd);
    QCOMPARE(pd.getNr0()->Anz(), 7);
    int sum = 0;
    for (int k = 1; k <= 20; ++k)
        sum += pd.getNr(k)->Anz();
    QCOMPARE(sum, 1);
    QCOMPARE(pd.getNr(20)->Anz(), 1);
    QCOMPARE(sd.getNr(6)->zuteil, 250);
}

QTEST_GUILESS_MAIN(TestEinteilung)
#include "tst_einteilung.moc"

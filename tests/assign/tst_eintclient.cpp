// The engine client over the real engine library, without windows.

#include "assign/UEintImp.h"
#include "assign/UEinteilung.h"
#include "data/UEinteilungBasics.h"
#include "tests/assign/UEintTestData.h"
#include "tests/support/UScriptedUi.h"

#include <QtTest>
#include <stdexcept>

using namespace EintTest;

Q_DECLARE_METATYPE(TModalResult)

namespace {

// Records what the run does to its progress bar; can fail at one step.
class TRecordingProgress : public TEintProgress {
public:
    void setMinMax(int min, int max) override { FMin = min; FMax = max; }
    void setStep(int step) override { FStep = step; }
    void setPosition(int position) override { FPosition = position; }
    void StepIt() override
    {
        ++steps;
        sawSelfAsCurrent = sawSelfAsCurrent && EintProgress == this;
        if (steps == failAt)
            throw std::runtime_error("step failed");
        FPosition += FStep;
    }

    int FMin = -1;
    int FMax = -1;
    int FStep = -1;
    int FPosition = -1;
    int steps = 0;
    int failAt = 0;
    bool sawSelfAsCurrent = true;
};

void run(TSchuelerData& Sch, TProjektData& Pro, int depth)
{
    TRecordingProgress progress;
    TEinteilung eint(Sch, Pro, depth);
    eint.SolveIt(progress);
    eint.ReadBack();
}

} // namespace

class TestEintClient : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        Sch.ClearData();
        Pro.ClearData();
    }

    void cleanupTestCase()
    {
        // A container releases no record when it goes.
        delete Pro.getNr0();
        Pro.clearList();
    }

    void workedExample()
    {
        fillWorkedExample(Sch, Pro);
        QVERIFY(!Sch.getModified());
        run(Sch, Pro, 5);
        QCOMPARE(zuteile(Sch), (QList<int>{2, 2, 1, 1, 1}));
        QCOMPARE(counts(Pro), (QList<int>{0, 3, 2}));
        QCOMPARE(Sch.getEintAnz(), 5);
        QVERIFY(Sch.getModified());
        QVERIFY(!Pro.getModified());
    }

    void depthOne()
    {
        // Bounds do not matter at depth 1: everybody on an admissible
        // first choice, the rest unassigned.
        fillWorkedExample(Sch, Pro);
        addSchueler(Sch, {0, 2});
        addSchueler(Sch, {2, 1});
        run(Sch, Pro, 1);
        QCOMPARE(zuteile(Sch), (QList<int>{1, 1, 1, 1, 1, 0, 2}));
        QCOMPARE(counts(Pro), (QList<int>{1, 5, 1}));
    }

    // One pupil over four roomy projects; which project it ends in tells
    // which of its choices the engine was given.
    void oneChoiceFed_data()
    {
        QTest::addColumn<QList<int>>("wahl");
        QTest::addColumn<int>("hand");
        QTest::addColumn<bool>("fest");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("expected");

        const QList<int> four{1, 2, 3, 4};
        QTest::newRow("plain, first choice") << four << -1 << false << 5 << 1;
        QTest::newRow("hand beyond depth") << four << 4 << false << 3 << 0;
        QTest::newRow("hand at depth") << four << 3 << false << 3 << 3;
        QTest::newRow("hand within depth") << four << 2 << false << 5 << 2;
        QTest::newRow("hand 0 is a plain pupil") << four << 0 << false << 5 << 1;
        QTest::newRow("fixed") << QList<int>{3, 1, 2} << -1 << true << 5 << 3;
        QTest::newRow("fixed wins over hand") << QList<int>{3, 1, 2} << 2 << true << 5 << 3;
        QTest::newRow("closed first choice") << QList<int>{4, 2} << -1 << false << 5 << 2;
        QTest::newRow("closed only choice") << QList<int>{4} << -1 << false << 5 << 0;
        QTest::newRow("no first choice") << QList<int>{0, 2} << -1 << false << 5 << 2;
        QTest::newRow("choice above the projects") << QList<int>{7, 3} << -1 << false << 5 << 3;
        QTest::newRow("choice 255") << QList<int>{255, 0, 0, 0, 2} << -1 << false << 5 << 2;
        QTest::newRow("rank beyond depth only") << QList<int>{0, 0, 0, 2} << -1 << false << 3 << 0;
        QTest::newRow("no choice at all") << QList<int>{} << -1 << false << 5 << 0;
        QTest::newRow("boys-only project") << QList<int>{5, 1} << -1 << false << 5 << 1;
        QTest::newRow("out of grade range") << QList<int>{6, 2} << -1 << false << 5 << 2;
    }

    void oneChoiceFed()
    {
        QFETCH(QList<int>, wahl);
        QFETCH(int, hand);
        QFETCH(bool, fest);
        QFETCH(int, depth);
        QFETCH(int, expected);

        for (int i = 0; i < 6; ++i)
            addProjekt(Pro, 0, 10);
        Pro.getNr(4)->gesp = true;
        Pro.getNr(5)->weib = false;
        Pro.getNr(6)->jgmin = 9;
        TSchueler* s = addSchueler(Sch, {});
        for (int r = 1; r <= wahl.size(); ++r)
            s->wahl[r] = wahl[r - 1];
        s->hand = hand;
        s->fest = fest;
        s->zuteil = 6;   // an old assignment the result replaces

        run(Sch, Pro, depth);
        QCOMPARE(s->zuteil, expected);
        QCOMPARE(s->hand, hand);
        QCOMPARE(s->fest, fest);
    }

    void closedProjectGetsNobody()
    {
        fillWorkedExample(Sch, Pro);
        Pro.getNr(1)->gesp = true;
        addSchueler(Sch, {1, 2}, -1, true);   // fixed on the closed project
        run(Sch, Pro, 5);
        QCOMPARE(zuteile(Sch), (QList<int>{2, 2, 2, 2, 2, 0}));
        QCOMPARE(counts(Pro), (QList<int>{1, 0, 5}));
    }

    void emptyLists_data()
    {
        QTest::addColumn<int>("projects");
        QTest::addColumn<int>("pupils");
        QTest::newRow("nothing") << 0 << 0;
        QTest::newRow("projects only") << 3 << 0;
        QTest::newRow("pupils only") << 0 << 4;
    }

    void emptyLists()
    {
        QFETCH(int, projects);
        QFETCH(int, pupils);
        for (int i = 0; i < projects; ++i)
            addProjekt(Pro, 2, 5);
        for (int i = 0; i < pupils; ++i)
            addSchueler(Sch, {1, 2})->zuteil = 1;   // names no project
        TRecordingProgress progress;
        {
            TEinteilung eint(Sch, Pro, 5);
            eint.SolveIt(progress);
            eint.ReadBack();
        }
        QCOMPARE(progress.steps, 90);
        QCOMPARE(Sch.getEintAnz(), 0);
        QCOMPARE(Sch.getModified(), pupils > 0);
    }

    void progressBar()
    {
        fillWorkedExample(Sch, Pro);
        TRecordingProgress progress;
        progress.FPosition = 37;
        TEinteilung eint(Sch, Pro, 5);
        QCOMPARE(EintProgress, nullptr);
        eint.SolveIt(progress);
        QCOMPARE(EintProgress, nullptr);
        QCOMPARE(progress.FMin, 0);
        QCOMPARE(progress.FMax, 100);
        QCOMPARE(progress.FStep, 1);
        QCOMPARE(progress.steps, 90);
        QCOMPARE(progress.FPosition, 90);
        QVERIFY(progress.sawSelfAsCurrent);
    }

    void runChangingNothingLeavesListUnmodified()
    {
        fillWorkedExample(Sch, Pro);
        run(Sch, Pro, 5);
        Sch.ModSaved(QStringLiteral("x.EIN"));
        run(Sch, Pro, 5);
        QCOMPARE(zuteile(Sch), (QList<int>{2, 2, 1, 1, 1}));
        QVERIFY(!Sch.getModified());
    }

    void errorInRunKeepsAssignments()
    {
        fillWorkedExample(Sch, Pro);
        const QList<int> before{1, 0, 2, 2, 7};
        for (int i = 1; i <= 5; ++i)
            Sch.getNr(i)->zuteil = before[i - 1];
        CountEint(Sch, Pro);
        const QList<int> countsBefore = counts(Pro);
        Sch.ModSaved(QStringLiteral("x.EIN"));

        TRecordingProgress failing;
        failing.failAt = 45;
        try {
            TEinteilung eint(Sch, Pro, 5);
            eint.SolveIt(failing);
            eint.ReadBack();
            QFAIL("the error did not escape");
        } catch (const std::runtime_error& e) {
            QCOMPARE(QByteArray(e.what()), QByteArray("step failed"));
        }
        QCOMPARE(EintProgress, nullptr);
        QCOMPARE(zuteile(Sch), before);
        QCOMPARE(counts(Pro), countsBefore);
        QVERIFY(!Sch.getModified());
        // The run freed its engine instance: nothing is left to answer.
        QCOMPARE(GetSchMatching(1), intptr_t(0));

        run(Sch, Pro, 5);
        QCOMPARE(zuteile(Sch), (QList<int>{2, 2, 1, 1, 1}));
    }

    void oneRunAtATime()
    {
        fillWorkedExample(Sch, Pro);
        TEinteilung first(Sch, Pro, 5);
        QVERIFY_THROWS_EXCEPTION(Exception, TEinteilung(Sch, Pro, 1));
        TRecordingProgress progress;
        first.SolveIt(progress);
        first.ReadBack();
        QCOMPARE(zuteile(Sch), (QList<int>{2, 2, 1, 1, 1}));
    }

    void implIdString()
    {
        QCOMPARE(getImplIdString(), QStringLiteral("orvan32.dll  (0.11)"));
    }

    void deleteAllEint_data()
    {
        QTest::addColumn<bool>("assigned");
        QTest::addColumn<TModalResult>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<bool>("modified");
        QTest::newRow("OK") << true << TModalResult::mrOk << true << true;
        QTest::newRow("Abbrechen") << true << TModalResult::mrCancel << false << false;
        QTest::newRow("OK, nobody assigned") << false << TModalResult::mrOk << true << false;
    }

    void deleteAllEint()
    {
        QFETCH(bool, assigned);
        QFETCH(TModalResult, answer);
        QFETCH(bool, cleared);
        QFETCH(bool, modified);

        fillWorkedExample(Sch, Pro);
        if (assigned)
            run(Sch, Pro, 5);
        Sch.getNr(1)->hand = 2;
        Sch.getNr(2)->fest = true;
        Sch.ModSaved(QStringLiteral("x.EIN"));
        const QList<int> before = zuteile(Sch);

        TScriptedUi ui;
        ui.queueAnswer(answer);
        QCOMPARE(DeleteAllEint(Sch, Pro), cleared);
        QCOMPARE(ui.messages.size(), 1);
        const TMessage& m = ui.messages.first();
        QCOMPARE(m.text, QStringLiteral("Sollen alle Schüler aus ihren Projekten ausgeteilt werden?"));
        QCOMPARE(m.caption(), QStringLiteral("Bestätigen"));
        QCOMPARE(m.buttons, TMsgButtons(mbOK | mbCancel));
        QCOMPARE(m.helpContext, 0);

        QCOMPARE(zuteile(Sch), cleared ? QList<int>(5, 0) : before);
        if (cleared)
            QCOMPARE(counts(Pro), (QList<int>{0, 0, 0}));
        QCOMPARE(Sch.getModified(), modified);
        QCOMPARE(Sch.getNr(1)->hand, 2);
        QVERIFY(Sch.getNr(2)->fest);
    }

private:
    TSchuelerData Sch;
    TProjektData Pro;
};

QTEST_GUILESS_MAIN(TestEintClient)
#include "tst_eintclient.moc"

// The debug window, the memory totals line and the consistency check.

#include "assign/UDebugWin.h"
#include "assign/UEinteilung.h"
#include "platform/UExceptions.h"
#include "tests/assign/UEintTestData.h"
#include "tests/data/UDataTestUtil.h"
#include "tests/support/UTestMain.h"

#include <QtTest>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>

using namespace EintTest;

class TestDebugWin : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        sch.ClearData();
        pro.ClearData();
        lines.clear();
    }

    void window()
    {
        TDebugWin win;
        QCOMPARE(win.windowTitle(), QStringLiteral("DebugWin"));
        QVERIFY(win.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!win.isModal());
        QCOMPARE(win.Watch1->text(), QStringLiteral("Watch1"));
        QCOMPARE(win.Watch2->text(), QStringLiteral("0"));
        QCOMPARE(win.Watch3->text(), QStringLiteral("0"));
        QStringList start{QStringLiteral("*** Debug-Ausgaben ***")};
        for (int i = 0; i < 19; ++i)
            start << QStringLiteral("*");
        QCOMPARE(win.Outputs->toPlainText(), start.join(QLatin1Char('\n')));

        win.Msg(QStringLiteral("Derzeit unbenutzt"));
        win.Msg(QStringLiteral("Derzeit unbenutzt"));
        const QStringList now = win.Outputs->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(now.size(), 22);
        QCOMPARE(now.mid(20), (QStringList{"Derzeit unbenutzt", "Derzeit unbenutzt"}));
    }

    void place()
    {
        TDebugWin win;
        win.showUp();
        QCOMPARE(win.frameGeometry(), QRect(5, 420, 1015, 317));
        // shown again, it stays where the user put it
        win.move(30, 40);
        win.hide();
        win.showUp();
        QCOMPARE(win.frameGeometry(), QRect(30, 40, 1015, 317));
    }

    void watches()
    {
        TDebugWin win;
        win.Watch(3, QStringLiteral(" $10"));
        win.incWatch(3);
        QCOMPARE(win.Watch3->text(), QStringLiteral("17"));
        win.incWatch(2);
        win.incWatch(2);
        QCOMPARE(win.Watch2->text(), QStringLiteral("2"));
        win.Watch(4, QStringLiteral("x"));
        win.incWatch(0);
        QCOMPARE(win.Watch1->text(), QStringLiteral("Watch1"));
        QVERIFY_THROWS_EXCEPTION(Exception, win.incWatch(1));
        QCOMPARE(win.Watch1->text(), QStringLiteral("Watch1"));
        win.Watch(1, QStringLiteral("5 "));   // a trailing blank is no integer text
        QVERIFY_THROWS_EXCEPTION(Exception, win.incWatch(1));
        win.Watch(1, QStringLiteral("2147483647"));
        QVERIFY_THROWS_EXCEPTION(Exception, win.incWatch(1));
        QCOMPARE(win.Watch1->text(), QStringLiteral("2147483647"));
    }

    void memoryLine()
    {
        QCOMPARE(MemoryTotalsLine({123, 4567890123ull}), QStringLiteral("TotalAllocated = 123; TotalFree=4567890123"));
        const QString line = MemoryTotalsLine(MemoryTotals());
        QVERIFY2(QRegularExpression(QStringLiteral("^TotalAllocated = \\d+; TotalFree=\\d+$")).match(line).hasMatch(),
                 qPrintable(line));
    }

    void verifyWithoutAssignments()
    {
        addProjekt(pro, 0, 5);
        addSchueler(sch, {1});
        QVERIFY(verify());
        QCOMPARE(lines, QStringList{"VERIFY"});
    }

    void verifyReports()
    {
        addProjekt(pro, 0, 5);
        addProjekt(pro, 0, 5);
        addProjekt(pro, 0, 1);   // full below
        TSchueler* first = addSchueler(sch, {1, 2});
        first->zuteil = 1;                       // first choice: never reported
        TSchueler* twice = addSchueler(sch, {1, 2, 1});
        twice->zuteil = 1;                       // priority 3: reported for ranks 1 and 2
        TSchueler* gap = addSchueler(sch, {3, 0, 2});
        gap->zuteil = 2;                         // rank 1 full, rank 2 empty
        TSchueler* unknown = addSchueler(sch, {9, 300, 1});
        unknown->zuteil = 1;                     // better choices name no project
        TSchueler* second = addSchueler(sch, {2, 1});
        second->zuteil = 1;                      // project 2 has room
        TSchueler* inThree = addSchueler(sch, {3});
        inThree->zuteil = 3;
        pro.getNr(3)->eintanz = 0;   // stale: project 3 looks free
        QVERIFY(!verify());
        QCOMPARE(lines, (QStringList{"VERIFY", "Inkonsistenz bei Schüler 2 Wahl 1",
                                     "Inkonsistenz bei Schüler 2 Wahl 2",
                                     "Inkonsistenz bei Schüler 5 Wahl 1"}));
        QCOMPARE(pro.getNr(3)->eintanz, 1);
    }

    void verifyHonoursEligibility()
    {
        addProjekt(pro, 0, 5, true);   // closed
        addProjekt(pro, 0, 5);
        TSchueler* s = addSchueler(sch, {1, 2});
        s->zuteil = 2;
        QVERIFY(verify());
        QCOMPARE(lines, QStringList{"VERIFY"});
    }

private:
    bool verify()
    {
        return VerifyEinteilung(sch, pro, [this](const QString& line) { lines << line; });
    }

    TOwnedProjektData pro;
    TOwnedSchuelerData sch;
    QStringList lines;
};

KESTRIN_TEST_MAIN(TestDebugWin)
#include "tst_debugwin.moc"

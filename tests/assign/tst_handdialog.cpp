// The manual placement dialog offscreen: what it offers for a pupil and
// what each way of closing leaves in the pupil.

#include "assign/UHandDialog.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "tests/assign/UEintTestData.h"
#include "tests/data/UDataTestUtil.h"
#include "tests/support/UTestMain.h"

#include <QtTest>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

using namespace EintTest;

namespace {

int execWith(QDialog& dlg, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dlg, act);
    return dlg.exec();
}

} // namespace

class TestHandDialog : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dlg = new THandDialog;
        // projects 1..4; 3 is closed
        for (int i = 1; i <= 4; ++i)
            addProjekt(pro, 0, 10, i == 3);
        pro.getNr(2)->name = QStringLiteral("Rock & Pop");
    }

    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
        sch.ClearData();
        pro.ClearData();
    }

    void texts()
    {
        TSchueler* s = addSchueler(sch, {1, 2, 3, 0, 9});
        dlg->setData(s, &pro);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Manuelle Schülereinteilung"));
        QCOMPARE(dlg->GroupBox->title(), QStringLiteral("von Hand einteilen in ..."));
        QCOMPARE(dlg->SchuelerName->text(), s->name);
        QCOMPARE(dlg->OptAufheb->text(), QStringLiteral("Handeinteilung &aufheben"));
        QCOMPARE(dlg->OptNull->text(), QStringLiteral("in Projekt &0 (ungültig) einteilen"));
        QCOMPARE(dlg->Opt[1]->text(), QStringLiteral("&1.: (1) Projekt 1"));
        // a "&" in the name stays a plain character
        QCOMPARE(dlg->Opt[2]->text(), QStringLiteral("&2.: (2) Rock && Pop"));
        QCOMPARE(dlg->Opt[3]->text(), QStringLiteral("&3.: (3) Projekt 3"));
        QCOMPARE(dlg->Opt[4]->text(), QStringLiteral("&4.: keine Wahl"));
        QCOMPARE(dlg->Opt[5]->text(), QStringLiteral("&5.: unmöglich"));
        const QList<bool> enabled{dlg->Opt[1]->isEnabled(), dlg->Opt[2]->isEnabled(), dlg->Opt[3]->isEnabled(),
                                  dlg->Opt[4]->isEnabled(), dlg->Opt[5]->isEnabled()};
        QCOMPARE(enabled, (QList<bool>{true, true, false, false, false}));
        QVERIFY(dlg->OptAufheb->isChecked());
        QVERIFY(dlg->OKButton->isDefault());
        dlg->reject();
    }

    void okWithoutChange()
    {
        TSchueler* s = addSchueler(sch, {1, 2});
        s->zuteil = 2;
        dlg->setData(s, &pro);
        QCOMPARE(s->hand, -1);
        QCOMPARE(execWith(*dlg, [this] { dlg->OKButton->click(); }), int(QDialog::Accepted));
        QCOMPARE(s->hand, -1);
        QCOMPARE(s->zuteil, 2);
        QCOMPARE(dlg->pupil(), nullptr);
    }

    void closedRankStaysCheckedAndOkReapplies()
    {
        TSchueler* s = addSchueler(sch, {1, 2, 3}, 3);
        s->zuteil = 1;
        dlg->setData(s, &pro);
        QCOMPARE(s->hand, -1);
        QVERIFY(dlg->Opt[3]->isChecked());
        QVERIFY(!dlg->Opt[3]->isEnabled());
        QCOMPARE(execWith(*dlg, [this] { dlg->OKButton->click(); }), int(QDialog::Accepted));
        QCOMPARE(s->hand, 3);
        QCOMPARE(s->zuteil, 3);
    }

    void emptiedRankGivesProjectZero()
    {
        TSchueler* s = addSchueler(sch, {1, 0, 3}, 2);
        s->zuteil = 2;
        dlg->setData(s, &pro);
        QVERIFY(dlg->Opt[2]->isChecked());
        QCOMPARE(execWith(*dlg, [this] { dlg->OKButton->click(); }), int(QDialog::Accepted));
        QCOMPARE(s->hand, 2);
        QCOMPARE(s->zuteil, 0);
    }

    void choices_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("hand");
        QTest::addColumn<int>("zuteil");
        QTest::newRow("project 0") << "OptNull" << 0 << 0;
        QTest::newRow("rank 2") << "Opt2" << 2 << 2;
        QTest::newRow("lift") << "OptAufheb" << -1 << 4;
    }

    void choices()
    {
        QFETCH(QString, option);
        QFETCH(int, hand);
        QFETCH(int, zuteil);
        TSchueler* s = addSchueler(sch, {1, 2, 4}, 3);
        s->zuteil = 4;
        dlg->setData(s, &pro);
        execWith(*dlg, [this, option] {
            dlg->findChild<QRadioButton*>(option)->click();
            dlg->OKButton->click();
        });
        QCOMPARE(s->hand, hand);
        QCOMPARE(s->zuteil, zuteil);
    }

    void typedChoice_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("hand");
        QTest::addColumn<int>("zuteil");
        QTest::newRow("Alt+A") << int(Qt::Key_A) << 2 << -1 << 4;
        QTest::newRow("Alt+0") << int(Qt::Key_0) << -1 << 0 << 0;
        QTest::newRow("Alt+1") << int(Qt::Key_1) << 0 << 1 << 1;
        QTest::newRow("Alt+2") << int(Qt::Key_2) << 0 << 2 << 2;
        QTest::newRow("Alt+3") << int(Qt::Key_3) << 0 << 3 << 4;
        QTest::newRow("Alt+4") << int(Qt::Key_4) << 0 << 4 << 2;
        QTest::newRow("Alt+5") << int(Qt::Key_5) << 0 << 5 << 1;
    }

    void typedChoice()
    {
        // An accelerator and then Enter, typed without a pause: the choice
        // holds when Enter arrives.
        QFETCH(int, key);
        QFETCH(int, start);
        QFETCH(int, hand);
        QFETCH(int, zuteil);
        TSchueler* s = addSchueler(sch, {1, 2, 4, 2, 1}, start);
        s->zuteil = 4;
        dlg->setData(s, &pro);
        bool active = false;
        const int result = execWith(*dlg, [this, key, &active] {
            active = QTest::qWaitForWindowActive(dlg);
            if (active) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            if (dlg->isVisible())
                dlg->reject();
        });
        QVERIFY(active);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(s->hand, hand);
        QCOMPARE(s->zuteil, zuteil);
    }

    void otherWaysRestore_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Esc") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Abbrechen") << 2;
    }

    void otherWaysRestore()
    {
        QFETCH(int, way);
        TSchueler* s = addSchueler(sch, {1, 2, 4}, 1);
        s->zuteil = 1;
        dlg->setData(s, &pro);
        const int result = execWith(*dlg, [this, way] {
            dlg->OptNull->click();
            if (way == 0)
                QTest::keyClick(dlg, Qt::Key_Escape);
            else if (way == 1)
                dlg->close();
            else
                dlg->CancelButton->click();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(s->hand, 1);
        QCOMPARE(s->zuteil, 1);
        QCOMPARE(dlg->pupil(), nullptr);
    }

    void acceptedFromCodeAppliesTheChoice()
    {
        TSchueler* s = addSchueler(sch, {1, 2, 4}, 1);
        s->zuteil = 1;
        dlg->setData(s, &pro);
        const int result = execWith(*dlg, [this] {
            dlg->Opt[2]->click();
            dlg->accept();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(s->hand, 2);
        QCOMPARE(s->zuteil, 2);
        QCOMPARE(dlg->pupil(), nullptr);
    }

    void fixedPupilOnlyFirstChoice()
    {
        // rank 4 names the first choice again
        TSchueler* s = addSchueler(sch, {2, 1, 4, 2}, -1, true);
        dlg->setData(s, &pro);
        const QList<bool> enabled{dlg->Opt[1]->isEnabled(), dlg->Opt[2]->isEnabled(), dlg->Opt[3]->isEnabled(),
                                  dlg->Opt[4]->isEnabled(), dlg->Opt[5]->isEnabled()};
        QCOMPARE(enabled, (QList<bool>{true, false, false, true, false}));
        dlg->reject();

        // none when the first choice is closed
        s->wahl[1] = 3;
        s->wahl[4] = 3;
        dlg->setData(s, &pro);
        for (int r = 1; r <= 5; ++r)
            QVERIFY(!dlg->Opt[r]->isEnabled());
        QVERIFY(dlg->OptAufheb->isEnabled() && dlg->OptNull->isEnabled());
        dlg->reject();
    }

    void outOfRangeHandChecksNothing()
    {
        TSchueler* s = addSchueler(sch, {1});
        s->hand = 7;   // as no file can give it
        dlg->setData(s, &pro);
        for (QRadioButton* b : dlg->findChildren<QRadioButton*>())
            QVERIFY(!b->isChecked());
        dlg->reject();
        QCOMPARE(s->hand, 7);
    }

    void noProjects()
    {
        TOwnedProjektData none;
        TSchueler* s = addSchueler(sch, {1, 300});
        dlg->setData(s, &none);
        QCOMPARE(dlg->Opt[1]->text(), QStringLiteral("&1.: unmöglich"));
        QCOMPARE(dlg->Opt[2]->text(), QStringLiteral("&2.: unmöglich"));
        dlg->reject();
    }

private:
    THandDialog* dlg = nullptr;
    TOwnedProjektData pro;
    TOwnedSchuelerData sch;
};

KESTRIN_TEST_MAIN(TestHandDialog)
#include "tst_handdialog.moc"

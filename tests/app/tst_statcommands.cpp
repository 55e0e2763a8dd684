// The main window's commands for placing by hand, the statistics and the
// hidden debug menu, run through their actions and buttons offscreen.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "assign/UDebugWin.h"
#include "assign/UHandDialog.h"
#include "assign/UProStatD.h"
#include "assign/USchStatD.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "platform/UGridWidget.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

// Projects "Projekt k" for grades 5 to 10, 2 to 20 places.
void addProjects(int n)
{
    for (int k = 1; k <= n; ++k)
        ProjektData->add(
            new TProjekt(TZeile(QStringLiteral("%1; Projekt %1; 5; 10; 2; 20; -; -; 0; ").arg(k))));
}

// Pupil i of class 7a chooses 3, 1, 2 and is assigned to project 2.
void addPupils(int n)
{
    for (int i = 1; i <= n; ++i)
        SchuelerData->add(new TSchueler(
            TZeile(QStringLiteral("Schüler %1; %2; 7; a; -; 3; 1; 2; 0; 0; 2; ").arg(i).arg(i % 2 ? 'w' : 'm')),
            true));
}

TSchueler* pupil(int i)
{
    return SchuelerData->getNr(i);
}

QAction* action(const char* name)
{
    auto* a = MainForm->findChild<QAction*>(QString::fromLatin1(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

QToolButton* button(const char* name)
{
    auto* b = MainForm->findChild<QToolButton*>(QString::fromLatin1(name));
    if (!b)
        qFatal("no button %s", name);
    return b;
}

// Runs trigger; whatever modal dialog it opens gets act and is then closed
// (if act leaves it open). Returns the dialog that was shown, or nullptr.
QDialog* runWithDialog(const std::function<void()>& trigger, const std::function<void(QDialog*)>& act)
{
    QDialog* shown = nullptr;
    QObject guard;   // a dialog that never opened leaves no timer behind
    QTimer::singleShot(0, &guard, [&] {
        shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!shown)
            return;
        act(shown);
        if (shown->isVisible())
            shown->reject();
    });
    trigger();
    return shown;
}

} // namespace

class TestStatCommands : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FUi = std::make_unique<TScriptedUi>();
        QVERIFY(FForms.start());
    }

    void cleanup()
    {
        FForms.stop();
        FUi.reset();
    }

    void windowsExist()
    {
        QVERIFY(HandDialog && ProStatD && SchStatD && DebugWin);
        QVERIFY(button("ProStatBut")->isEnabled());
        QVERIFY(button("SchStatBut")->isEnabled());
        QCOMPARE(MainForm->findChild<QMenu*>(QStringLiteral("mmDebug")), MainForm->mmDebug);
        QVERIFY(!MainForm->mmDebug->menuAction()->isVisible());
    }

    // ---------------------------------------------------- placing by hand

    void placeByHand_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("hand");
        QTest::addColumn<int>("zuteil");
        QTest::addColumn<bool>("modified");
        QTest::newRow("project 0") << "OptNull" << true << 0 << 0 << true;
        QTest::newRow("rank 1") << "Opt1" << true << 1 << 3 << true;
        QTest::newRow("rank 3, where it sits") << "Opt3" << true << 3 << 2 << true;
        QTest::newRow("unchanged") << "OptAufheb" << true << -1 << 2 << false;
        QTest::newRow("Esc") << "OptNull" << false << -1 << 2 << false;
    }

    void placeByHand()
    {
        QFETCH(QString, option);
        QFETCH(bool, ok);
        QFETCH(int, hand);
        QFETCH(int, zuteil);
        QFETCH(bool, modified);
        addProjects(3);
        addPupils(4);
        MainFormHandler->UpdateAll();
        MainForm->ActivateEditor(dtSch);
        TEditor* editor = MainForm->activeEditor();
        QVERIFY(editor->grid()->setCurrentCell(0, 2));
        QVERIFY(action("HandEintAct")->isEnabled());

        int handWhileOpen = 99;
        QDialog* shown = runWithDialog([] { action("HandEintAct")->trigger(); }, [&](QDialog* d) {
            handWhileOpen = pupil(2)->hand;
            d->findChild<QRadioButton*>(option)->click();
            if (ok)
                d->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            else
                QTest::keyClick(d, Qt::Key_Escape);
        });
        QCOMPARE(shown, HandDialog);
        QCOMPARE(handWhileOpen, -1);
        QCOMPARE(pupil(2)->hand, hand);
        QCOMPARE(pupil(2)->zuteil, zuteil);
        QCOMPARE(SchuelerData->getModified(), modified);
        QCOMPARE(HandDialog->pupil(), nullptr);
        // the views follow
        QCOMPARE(editor->grid()->cell(10, 2), QString::number(zuteil));
        QCOMPARE(MainForm->panelText(1), modified ? QStringLiteral("4 Schüler (*)") : QStringLiteral("4 Schüler"));
        QCOMPARE(MainForm->panelText(2), QStringLiteral("%1 eingeteilt").arg(zuteil ? 4 : 3));
        QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QString::number(zuteil == 2 ? 4 : 3));
    }

    void placeByHandInAView()
    {
        addProjects(3);
        addPupils(2);
        MainFormHandler->UpdateAll();
        TEditor* view = FForms.openView();
        MainForm->activateEditor(view);
        QVERIFY(view->grid()->setCurrentCell(0, 1));
        runWithDialog([] { action("HandEintAct")->trigger(); }, [](QDialog* d) {
            d->findChild<QRadioButton*>(QStringLiteral("Opt2"))->click();
            d->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        QCOMPARE(pupil(1)->hand, 2);
        QCOMPARE(pupil(1)->zuteil, 1);
        QVERIFY(SchuelerData->getModified());
    }

    void placeByHandOnAnEmptyView()
    {
        addProjects(1);
        addPupils(1);
        MainFormHandler->UpdateAll();
        // a view of nobody shows an empty pupil of its own, none of the list's
        TEditor* view = new TEditor(MainForm, MainFormHandler, std::make_unique<TSchuelerData>(),
                                    QStringLiteral("Auszug"));
        MainForm->activateEditor(view);
        QCOMPARE(view->getData()->Anz(), 1);
        QVERIFY(view->grid()->setCurrentCell(0, 1));
        QDialog* shown = runWithDialog([] { action("HandEintAct")->trigger(); }, [](QDialog* d) {
            d->findChild<QRadioButton*>(QStringLiteral("OptNull"))->click();
            d->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        QCOMPARE(shown, nullptr);
        QVERIFY(!SchuelerData->getModified());
        QCOMPARE(pupil(1)->hand, -1);
    }

    void placeByHandWithoutAPupil()
    {
        addProjects(1);
        addPupils(1);
        MainFormHandler->UpdateAll();
        MainForm->ActivateEditor(dtSch);
        TEditor* editor = MainForm->activeEditor();
        QVERIFY(editor && editor->grid()->row() == 1);
        // the list lost its pupil behind the editor's back: row 1 is no pupil
        SchuelerData->DeleteEntry(1);
        QDialog* shown = runWithDialog([] { action("HandEintAct")->trigger(); }, [](QDialog*) {});
        QCOMPARE(shown, nullptr);
        QVERIFY(FUi->messages.isEmpty());
        MainFormHandler->UpdateAll();
    }

    void releaseAll_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("released");
        QTest::newRow("OK") << int(TModalResult::mrOk) << true;
        QTest::newRow("Abbrechen") << int(TModalResult::mrCancel) << false;
    }

    void releaseAll()
    {
        QFETCH(int, answer);
        QFETCH(bool, released);
        addProjects(3);
        addPupils(5);
        pupil(2)->setHand(0);
        pupil(2)->zuteil = 0;
        pupil(4)->setHand(3);
        MainFormHandler->UpdateAll();
        FUi->queueAnswer(TModalResult(answer));
        action("DelHandEintAct")->trigger();
        QCOMPARE(FUi->messages.size(), 1);
        const TMessage& m = FUi->messages.first();
        QCOMPARE(m.text, QStringLiteral("2 der 5 Schüler sind derzeit manuell eingeteilt. \rDiese Schüler für die "
                                        "automatische Einteilung freigeben?"));
        QCOMPARE(m.type, TMsgType::mtConfirmation);
        QCOMPARE(m.caption(), QStringLiteral("Bestätigen"));
        QCOMPARE(m.buttons, TMsgButtons(mbOK | mbCancel | mbHelp));
        QCOMPARE(m.helpContext, 123);
        QCOMPARE(pupil(2)->hand, released ? -1 : 0);
        QCOMPARE(pupil(4)->hand, released ? -1 : 3);
        QCOMPARE(pupil(2)->zuteil, 0);
        QCOMPARE(pupil(4)->zuteil, 2);
        QCOMPARE(SchuelerData->getModified(), released);
    }

    void releaseWhenNonePlaced()
    {
        addProjects(1);
        addPupils(57);
        MainFormHandler->UpdateAll();
        action("DelHandEintAct")->trigger();
        QCOMPARE(FUi->texts(), QStringList{"Keiner der 57 Schülern ist derzeit manuell eingeteilt."});
        QCOMPARE(FUi->messages.first().type, TMsgType::mtPlain);
        QVERIFY(!SchuelerData->getModified());
    }

    // --------------------------------------------------- project statistics

    void projectStatistics()
    {
        addProjects(3);
        addPupils(4);
        MainFormHandler->UpdateAll();
        QDialog* shown = runWithDialog([] { action("ProStatAct")->trigger(); }, [](QDialog*) {});
        QCOMPARE(shown, ProStatD);
        QCOMPARE(ProStatD->Nr->text(), QStringLiteral("1"));

        // the overview row of project 0 shows nothing, row 3 project 2
        MainForm->Uebersicht->setCurrentIndex(0);
        QVERIFY(MainForm->ProjekteGrid->setRow(1));
        QCOMPARE(runWithDialog([] { button("ProStatBut")->click(); }, [](QDialog*) {}), nullptr);
        QVERIFY(MainForm->ProjekteGrid->setRow(3));
        QCOMPARE(runWithDialog([] { button("ProStatBut")->click(); }, [](QDialog*) {}), ProStatD);
        QCOMPARE(ProStatD->Nr->text(), QStringLiteral("2"));
        QCOMPARE(ProStatD->TeilnAnz->text(), QStringLiteral("4"));
        // the selected overview row stays
        QCOMPARE(MainForm->ProjekteGrid->row(), 3);
    }

    void projectStatisticsRowBeyondTheList()
    {
        addProjects(2);
        MainFormHandler->UpdateAll();
        // the overview still shows a project that is gone
        QVERIFY(MainForm->ProjekteGrid->setRow(3));
        ProjektData->DeleteEntry(2);
        QCOMPARE(runWithDialog([] { button("ProStatBut")->click(); }, [](QDialog*) {}), nullptr);
    }

    void storedRowThenStatistics()
    {
        addProjects(3);
        addPupils(4);
        MainFormHandler->UpdateAll();
        MainForm->ActivateEditor(dtSch);
        TEditor* editor = MainForm->activeEditor();
        TGridWidget* grid = editor->grid();
        grid->setFocus(Qt::OtherFocusReason);
        QVERIFY(grid->setCurrentCell(5, 2));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(cell);
        cell->selectAll();
        QTest::keyClicks(cell, QStringLiteral("1"));
        // the statistics store the open cell first; the stored row changes a
        // choice and loses its assignment, and the counts follow
        MainForm->Uebersicht->setCurrentIndex(0);
        QVERIFY(MainForm->ProjekteGrid->setRow(3));
        runWithDialog([] { button("ProStatBut")->click(); }, [](QDialog*) {});
        QCOMPARE(pupil(2)->wahl[1], 1);
        QCOMPARE(pupil(2)->zuteil, 0);
        QCOMPARE(ProStatD->Grid->cell(1, 3), QStringLiteral("3"));
        QCOMPARE(ProStatD->TeilnAnz->text(), QStringLiteral("3"));

        // deleting a pupil: the same
        QVERIFY(grid->setCurrentCell(0, 1));
        action("DeleteAct")->trigger();
        QCOMPARE(SchuelerData->Anz(), 3);
        runWithDialog([] { action("ProStatAct")->trigger(); }, [](QDialog* d) {
            d->findChild<QPushButton*>(QStringLiteral("Vor"))->click();
        });
        QCOMPARE(ProStatD->Nr->text(), QStringLiteral("2"));
        QCOMPARE(ProStatD->TeilnAnz->text(), QStringLiteral("2"));
        QCOMPARE(ProStatD->Grid->cell(1, 3), QStringLiteral("2"));
    }

    // ----------------------------------------------------- pupil statistics

    void pupilStatistics()
    {
        addProjects(3);
        addPupils(4);
        MainFormHandler->UpdateAll();
        QCOMPARE(runWithDialog([] { action("SchStatAct")->trigger(); }, [](QDialog*) {}), SchStatD);
        QCOMPARE(SchStatD->Klassennamen->text(), QStringLiteral("Alle Klassen"));
        QCOMPARE(SchStatD->SchAnz->text(), QStringLiteral("4"));
    }

    void classButton_data()
    {
        QTest::addColumn<int>("jgst");
        QTest::addColumn<QString>("abt");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<int>("count");
        // 5a twice, 5A and 5 without department
        QTest::newRow("5a") << 5 << "a" << "Klassen 5 a" << 4;
        // not the pupils of 7a
        QTest::newRow("7 without department") << 7 << "" << "Klassen 7 " << 2;
        QTest::newRow("grade 20") << 20 << "b" << "Klassen 20 b" << 0;
        QTest::newRow("department euro") << 9 << "€" << "Klassen 9 €" << 0;
    }

    void classButton()
    {
        QFETCH(int, jgst);
        QFETCH(QString, abt);
        QFETCH(QString, heading);
        QFETCH(int, count);
        addProjects(2);
        addPupils(4);
        // as an import may leave them
        const QList<QPair<int, QString>> classes{{5, "a"}, {5, "A"}, {5, ""}, {7, ""}, {jgst, abt}};
        for (int i = 0; i < classes.size(); ++i) {
            auto* s = new TSchueler(TZeile(QStringLiteral("K%1; w; 7; ; -; 1; 0; 0; 0; 0; 0; ").arg(i)), true);
            s->jgst = classes[i].first;
            s->abt = classes[i].second;
            SchuelerData->add(s);
        }
        MainFormHandler->UpdateAll();
        int row = -1;
        TGridWidget* grid = MainForm->SchuelerGrid;
        const QString wanted = QStringLiteral("%1").arg(jgst, 2) + abt;
        for (int r = 1; r < grid->rowCount(); ++r)
            if (grid->cell(0, r) == wanted)
                row = r;
        QVERIFY2(row > 0, qPrintable(wanted));
        MainForm->Uebersicht->setCurrentIndex(1);
        QVERIFY(grid->setRow(row));
        QCOMPARE(runWithDialog([] { button("SchStatBut")->click(); }, [](QDialog*) {}), SchStatD);
        QCOMPARE(SchStatD->Klassennamen->text(), heading);
        QCOMPARE(SchStatD->SchAnz->text(), QString::number(count));
    }

    void classButtonUnsplittable()
    {
        addPupils(2);
        MainFormHandler->UpdateAll();
        TGridWidget* grid = MainForm->SchuelerGrid;
        grid->setCell(0, 1, QStringLiteral("abc"));
        QVERIFY(grid->setRow(1));
        QCOMPARE(runWithDialog([] { button("SchStatBut")->click(); }, [](QDialog*) {}), nullptr);
    }

    void statisticsWithoutData()
    {
        QCOMPARE(runWithDialog([] { button("ProStatBut")->click(); }, [](QDialog*) {}), nullptr);
        QCOMPARE(runWithDialog([] { button("SchStatBut")->click(); }, [](QDialog*) {}), nullptr);
        QCOMPARE(runWithDialog([] { action("ProStatAct")->trigger(); }, [](QDialog*) {}), nullptr);
        QCOMPARE(runWithDialog([] { action("SchStatAct")->trigger(); }, [](QDialog*) {}), nullptr);
    }

    // ------------------------------------------------------------ debug menu

    // Pupils whose assigned project the list does not hold (a pupil file
    // beside another project file) count as not assigned everywhere.
    void staleProjectNumbers()
    {
        addProjects(2);
        const QStringList lines{"Anna; w; 7; a; -; 2; 1; 0; 0; 0; 2; ",   // first choice
                                "Ben; m; 7; a; -; 3; 1; 2; 0; 0; 3; ",    // stale first choice
                                "Cem; m; 7; a; -; 3; 1; 2; 0; 0; 0; ",
                                "Dana; w; 7; a; -; 1; 0; 5; 0; 0; 5; "};  // stale third choice
        for (const QString& line : lines)
            SchuelerData->add(new TSchueler(TZeile(line), true));
        MainFormHandler->UpdateAll();
        QCOMPARE(MainForm->panelText(2), QStringLiteral("1 eingeteilt"));
        QCOMPARE(MainForm->ProjekteGrid->cell(2, 1), QStringLiteral("3"));
        QCOMPARE(MainForm->SchuelerGrid->rowTexts(1), (QStringList{" 7a", "4", "1", "1"}));

        runWithDialog([] { action("SchStatAct")->trigger(); }, [](QDialog*) {});
        QCOMPARE(SchStatD->Grid->rowTexts(1), (QStringList{"3", "0", "1", "0", "0", "0", "0"}));

        // The consistency check passes them over like the unassigned.
        action("mDVerify")->trigger();
        QCOMPARE(DebugWin->Outputs->toPlainText().split(QLatin1Char('\n')).last(), QStringLiteral("VERIFY"));

        // Project 0's pupils in a view of their own.
        QVERIFY(MainForm->ProjekteGrid->setRow(1));
        MainForm->ProjekteGrid->onDblClick();
        QCOMPARE(MainForm->editors().size(), 1);
        QCOMPARE(MainForm->editors().first()->getData()->Anz(), 3);
        QCOMPARE(pupil(2)->zuteil, 3);
        QCOMPARE(pupil(4)->zuteil, 5);
    }

    void debugMenu()
    {
        addProjects(2);
        addPupils(2);
        pupil(1)->wahl[1] = 1;
        pupil(1)->wahl[2] = 2;
        pupil(1)->wahl[3] = 0;
        pupil(1)->zuteil = 2;
        pupil(2)->zuteil = 0;
        action("mDMessageWin")->trigger();
        action("mDMessageWin")->trigger();
        QVERIFY(DebugWin->isVisible());
        action("mDMemory")->trigger();
        action("mDVerify")->trigger();
        QStringList lines = DebugWin->Outputs->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 20 + 5);
        QCOMPARE(lines.mid(20, 2), (QStringList{"Derzeit unbenutzt", "Derzeit unbenutzt"}));
        QVERIFY2(QRegularExpression(QStringLiteral("^TotalAllocated = \\d+; TotalFree=\\d+$"))
                     .match(lines[22])
                     .hasMatch(),
                 qPrintable(lines[22]));
        QCOMPARE(lines.mid(23), (QStringList{"VERIFY", "Inkonsistenz bei Schüler 1 Wahl 1"}));
        QVERIFY(!SchuelerData->getModified());
    }

private:
    std::unique_ptr<TScriptedUi> FUi;
    TAppForms FForms;
};

KESTRIN_TEST_MAIN(TestStatCommands)
#include "tst_statcommands.moc"

// The two assignment commands in the main window, offscreen, with the real
// engine library: from opening the lists to the refreshed views, the
// unsaved-data question afterwards, and an error inside a run.

#include "app/UEditor.h"
#include "app/main.h"
#include "assign/UEintDialog.h"
#include "data/UDataFile.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UAnsiText.h"
#include "platform/UGridWidget.h"
#include "tests/assign/UEintTestData.h"
#include "tests/support/UGridLanding.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QToolBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

using namespace EintTest;

Q_DECLARE_METATYPE(TModalResult)

namespace {

QStringList rowTexts(const char* gridName, int row)
{
    return MainForm->findChild<TGridWidget*>(QString::fromLatin1(gridName))->rowTexts(row);
}

// Clicks a button of the assignment dialog once its modal loop runs.
void clickInDialog(const char* button)
{
    QTimer::singleShot(0, EintDialog, [button] {
        QTest::mouseClick(EintDialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    });
}

TEditor* editorOf(TDataType type)
{
    for (TEditor* e : MainForm->editors())
        if (e->getDataType() == type && e->Editable())
            return e;
    return nullptr;
}

} // namespace

class TestEintCommands : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FUi = std::make_unique<TScriptedUi>();
        FDir = std::make_unique<QTemporaryDir>();
        QApplication::setQuitOnLastWindowClosed(false);
        CreateForms();
        MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(MainForm));
    }

    void cleanup()
    {
        DestroyForms();
        QCOMPARE(EintDialog, nullptr);
        SchuelerData->ClearData();
        ProjektData->ClearData();
        FDir.reset();
        FUi.reset();
    }

    void workedExampleThroughTheWindow()
    {
        QVERIFY(!action("AutoEinteilAct")->isEnabled());
        QVERIFY(!action("DelEintAct")->isEnabled());
        openWorkedExample();
        QVERIFY(action("AutoEinteilAct")->isEnabled());
        QVERIFY(action("DelEintAct")->isEnabled());
        QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler"));
        QCOMPARE(MainForm->panelText(2), QStringLiteral("0 eingeteilt"));

        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();

        QCOMPARE(FUi->messages.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^5 von 5 Schülern in \\d+\\.\\d Sekunden eingeteilt$"))
                     .match(FUi->lastText()).hasMatch(),
                 qPrintable(FUi->lastText()));
        QVERIFY(!EintDialog->isVisible());
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));

        QCOMPARE(MainForm->panelText(0), QStringLiteral("2 Projekte"));
        QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler (*)"));
        QCOMPARE(MainForm->panelText(2), QStringLiteral("5 eingeteilt"));
        QCOMPARE(rowTexts("ProjekteGrid", 1), (QStringList{"0", "Nicht/ungültig gewählt", "0", ""}));
        QCOMPARE(rowTexts("ProjekteGrid", 2), (QStringList{"1", "Theater", "3", "ok"}));
        QCOMPARE(rowTexts("ProjekteGrid", 3), (QStringList{"2", "Chor", "2", "ok"}));
        QCOMPARE(rowTexts("SchuelerGrid", 1), (QStringList{" 7a", "5", "5", "3"}));
        // The pupil editor shows the new assignments in its last column.
        TGridWidget* grid = editorOf(dtSch)->grid();
        QStringList shown;
        for (int row = 1; row <= 5; ++row)
            shown.append(grid->cell(10, row));
        QCOMPARE(shown, (QStringList{"2", "2", "1", "1", "1"}));

        // The result is not thrown away without a question.
        FUi->clear();
        FUi->queueAnswer(TModalResult::mrCancel);
        action("NewAct")->trigger();
        QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
        // "Abbrechen" stops "&Neu": both editors stay, and the result with them.
        QCOMPARE(SchuelerData->Anz(), 5);
        QVERIFY(editorOf(dtSch));
        QVERIFY(editorOf(dtPro));
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));
        QVERIFY(SchuelerData->getModified());
    }

    void closingProjectEditorOffersTheUnsavedResult_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("assigned");
        QTest::newRow("Abbrechen keeps both") << int(TModalResult::mrCancel) << false << 5;
        QTest::newRow("Nein discards the result") << int(TModalResult::mrNo) << true << 0;
    }
    void closingProjectEditorOffersTheUnsavedResult()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(int, assigned);
        openWorkedExample();
        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();
        FUi->clear();
        FUi->queueAnswer(TModalResult(answer));
        editorOf(dtPro)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
        QCOMPARE(editorOf(dtPro) == nullptr, closed);
        QCOMPARE(SchuelerData->getEintAnz(), assigned);
    }

    void quittingAsksAboutEachListOnce()
    {
        openWorkedExample();
        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();
        FUi->clear();
        FUi->queueAnswer(TModalResult::mrNo);
        QCloseEvent event;
        QCoreApplication::sendEvent(MainForm, &event);
        QVERIFY(event.isAccepted());
        QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
    }

    void quittingOffersAResultNoEditorShows_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("fileChosen");   // in the save dialog after "Ja"
        QTest::addColumn<int>("sizeLimit");     // bytes a file may grow to, 0 for no limit
        QTest::addColumn<bool>("quits");
        const int yes = int(TModalResult::mrYes);
        for (const bool closeBox : {false, true}) {
            const char* road = closeBox ? "close box" : "Beenden";
            QTest::addRow("%s, Ja", road) << closeBox << yes << true << 0 << true;
            QTest::addRow("%s, Ja, save dialog cancelled", road) << closeBox << yes << false << 0 << false;
            QTest::addRow("%s, Ja, disk full", road) << closeBox << yes << true << 16 << false;
            QTest::addRow("%s, Nein", road) << closeBox << int(TModalResult::mrNo) << false << 0 << true;
            QTest::addRow("%s, Abbrechen", road) << closeBox << int(TModalResult::mrCancel) << false << 0 << false;
        }
    }

    void quittingOffersAResultNoEditorShows()
    {
        QFETCH(bool, closeBox);
        QFETCH(int, answer);
        QFETCH(bool, fileChosen);
        QFETCH(int, sizeLimit);
        QFETCH(bool, quits);
        openResultNoEditorShows();

        const bool yes = answer == int(TModalResult::mrYes);
        const QString saved = FDir->filePath(QStringLiteral("ergebnis.EIN"));
        queueSaveAnswer(answer, fileChosen);
        const auto quit = [&] {
            if (closeBox) {
                // As the window system asks: through the window's own close
                // handling, not the widget's close().
                QCloseEvent event;
                QCoreApplication::sendEvent(MainForm->windowHandle(), &event);
                QCOMPARE(event.isAccepted(), quits);
            } else {
                action("QuitAct")->trigger();
            }
        };
        if (sizeLimit)
            withFileSizeLimit(sizeLimit, quit);
        else
            quit();
        QCOMPARE(MainForm->isVisible(), !quits);

        const bool written = fileChosen && !sizeLimit;
        QStringList shown{QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?")};
        if (written)
            shown << QStringLiteral("5 Einteilung-Datensätze nach ergebnis.EIN geschrieben");
        else if (fileChosen)
            shown << QStringLiteral("Fehler beim Schreiben der Datei ") + saved + becauseOf(EFBIG);
        QCOMPARE(FUi->texts(), shown);
        QCOMPARE(FUi->fileDialogs.size(), yes ? 1 : 0);
        QCOMPARE(FUi->unanswered, 0);
        QCOMPARE(QFile::exists(saved), written);
        if (written)
            QCOMPARE(zuteileIn(saved), workedResult());
        // Quitting empties nothing; a refusal keeps everything as it was.
        QCOMPARE(SchuelerData->Anz(), 5);
        QCOMPARE(zuteile(*SchuelerData), workedResult());
        QCOMPARE(SchuelerData->getModified(), !written);
        if (!quits) {
            QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler (*)"));
            QCOMPARE(MainForm->editors().size(), 1);
        }
    }

    void newOffersAResultNoEditorShows_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("fileChosen");   // in the save dialog after "Ja"
        QTest::addColumn<bool>("emptied");
        const int yes = int(TModalResult::mrYes);
        QTest::newRow("Ja") << yes << true << true;
        QTest::newRow("Ja, save dialog cancelled") << yes << false << false;
        QTest::newRow("Nein") << int(TModalResult::mrNo) << false << true;
        QTest::newRow("Abbrechen") << int(TModalResult::mrCancel) << false << false;
    }

    void newOffersAResultNoEditorShows()
    {
        // "&Neu" takes pupils that no editor shows as closing their editor
        // would: asked about first, then emptied with every assignment.
        QFETCH(int, answer);
        QFETCH(bool, fileChosen);
        QFETCH(bool, emptied);
        openResultNoEditorShows();

        queueSaveAnswer(answer, fileChosen);
        action("NewAct")->trigger();

        QStringList shown{QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?")};
        if (fileChosen)
            shown << QStringLiteral("5 Einteilung-Datensätze nach ergebnis.EIN geschrieben");
        QCOMPARE(FUi->texts(), shown);
        QCOMPARE(FUi->unanswered, 0);
        if (fileChosen)
            QCOMPARE(zuteileIn(FDir->filePath(QStringLiteral("ergebnis.EIN"))), workedResult());
        if (emptied) {
            QVERIFY(MainForm->editors().isEmpty());
            QCOMPARE(SchuelerData->Anz(), 0);
            QCOMPARE(ProjektData->Anz(), 0);
            QCOMPARE(MainForm->panelText(0), QStringLiteral("0 Projekte"));
            QCOMPARE(MainForm->panelText(1), QStringLiteral("0 Schüler"));
            QCOMPARE(MainForm->panelText(2), QStringLiteral("0 eingeteilt"));
            QCOMPARE(MainForm->SchuelerGrid->rowCount(), 1);
            QVERIFY(!action("AutoEinteilAct")->isEnabled());
            // Nothing is left to ask about.
            FUi->clear();
            action("QuitAct")->trigger();
            QVERIFY(!MainForm->isVisible());
            QVERIFY(FUi->messages.isEmpty());
        } else {
            // A refused question stops "&Neu" before the project editor.
            QVERIFY(editorOf(dtPro));
            QCOMPARE(SchuelerData->Anz(), 5);
            QCOMPARE(zuteile(*SchuelerData), workedResult());
            QVERIFY(SchuelerData->getModified());
            QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler (*)"));
        }
    }

    void cancelChangesNothingButRefreshes()
    {
        openWorkedExample();
        SchuelerData->getNr(1)->zuteil = 2;   // behind the views' back
        clickInDialog("Abbrechen");
        action("AutoEinteilAct")->trigger();
        QVERIFY(FUi->messages.isEmpty());
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 0, 0, 0, 0}));
        QVERIFY(!SchuelerData->getModified());
        QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler"));
        QCOMPARE(MainForm->panelText(2), QStringLiteral("1 eingeteilt"));
        QCOMPARE(rowTexts("ProjekteGrid", 3), (QStringList{"2", "Chor", "1", "-1"}));
    }

    void deleteEint_data()
    {
        QTest::addColumn<TModalResult>("answer");
        QTest::addColumn<QString>("eingeteilt");
        QTest::addColumn<QString>("project1");
        QTest::addColumn<QStringList>("klasse");
        QTest::newRow("OK") << TModalResult::mrOk << "0 eingeteilt" << "0" << QStringList{" 7a", "5", "0", "0"};
        QTest::newRow("Abbrechen") << TModalResult::mrCancel << "4 eingeteilt" << "2"
                                   << QStringList{" 7a", "5", "4", "2"};
    }

    void deleteEint()
    {
        QFETCH(TModalResult, answer);
        QFETCH(QString, eingeteilt);
        QFETCH(QString, project1);
        QFETCH(QStringList, klasse);
        openWorkedExample();
        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();
        SchuelerData->getNr(5)->zuteil = 0;   // behind the views' back
        QCOMPARE(MainForm->panelText(2), QStringLiteral("5 eingeteilt"));

        FUi->clear();
        FUi->queueAnswer(answer);
        action("DelEintAct")->trigger();
        QCOMPARE(FUi->messages.size(), 1);
        QCOMPARE(FUi->messages[0].text, QStringLiteral("Sollen alle Schüler aus ihren Projekten ausgeteilt werden?"));
        QCOMPARE(FUi->messages[0].caption(), QStringLiteral("Bestätigen"));
        QCOMPARE(FUi->messages[0].buttons, TMsgButtons(mbOK | mbCancel));
        // Refreshed either way: status bar, both overviews, the pupil editor.
        QCOMPARE(MainForm->panelText(2), eingeteilt);
        QCOMPARE(rowTexts("ProjekteGrid", 2).value(2), project1);
        QCOMPARE(rowTexts("SchuelerGrid", 1), klasse);
        QCOMPARE(editorOf(dtSch)->grid()->cell(10, 5), QStringLiteral("0"));
        QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler (*)"));
    }

    void errorInRunReachesErrorDisplay()
    {
        openWorkedExample();
        const QList<int> before{1, 0, 2, 2, 0};
        for (int i = 1; i <= 5; ++i)
            SchuelerData->getNr(i)->zuteil = before[i - 1];
        auto* bar = EintDialog->findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
        auto failing = connect(bar, &QProgressBar::valueChanged, bar, [](int value) {
            if (value == 45)
                throw std::runtime_error("Fehler im Lauf");
        });

        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();
        QCOMPARE(FUi->texts(), QStringList{"Fehler im Lauf"});
        QVERIFY(!EintDialog->isVisible());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(zuteile(*SchuelerData), before);
        QVERIFY(!SchuelerData->getModified());
        QCOMPARE(MainForm->panelText(2), QStringLiteral("3 eingeteilt"));

        disconnect(failing);
        FUi->clear();
        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));
    }

    void typedTextSurvivesTheCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("toolButton");
        QTest::addColumn<int>("answer");   // dialog button or question answer
        QTest::newRow("assignment from the menu, Start") << "AutoEinteilAct" << false << 1;
        QTest::newRow("assignment from the menu, Abbrechen") << "AutoEinteilAct" << false << 0;
        QTest::newRow("assignment from the tool bar, Abbrechen") << "AutoEinteilAct" << true << 0;
        QTest::newRow("assignment from the tool bar, Start") << "AutoEinteilAct" << true << 1;
        QTest::newRow("delete, OK") << "DelEintAct" << false << 1;
        QTest::newRow("delete, Abbrechen") << "DelEintAct" << false << 0;
    }

    void typedTextSurvivesTheCommand()
    {
        // A name typed into a cell and not yet stored is stored before the
        // command runs, whatever the user answers; the command's refresh
        // then shows it.
        QFETCH(QString, command);
        QFETCH(bool, toolButton);
        QFETCH(int, answer);
        openWorkedExample();
        MainForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
        TEditor* editor = editorOf(dtSch);
        MainForm->activateEditor(editor);
        TGridWidget* grid = editor->grid();
        QVERIFY(typeOverCell(grid, 0, 2, QStringLiteral("Neuname")));
        QVERIFY(grid->isEditing());

        QAction* a = action(command.toLatin1().constData());
        if (command == QLatin1String("AutoEinteilAct"))
            clickInDialog(answer ? "Start" : "Abbrechen");
        else
            FUi->queueAnswer(answer ? TModalResult::mrOk : TModalResult::mrCancel);
        if (toolButton)
            QTest::mouseClick(MainForm->ToolBar->widgetForAction(a), Qt::LeftButton);
        else
            a->trigger();
        QVERIFY(!EintDialog->isVisible());
        QCOMPARE(SchuelerData->getNr(2)->getName(), QStringLiteral("Neuname"));
        QCOMPARE(grid->cell(0, 2), QStringLiteral("Neuname"));
        QVERIFY(SchuelerData->getModified());
        QCOMPARE(SchuelerData->getNr(1)->getName(), QStringLiteral("Anna"));
    }

private:
    QAction* action(const char* name) const { return MainForm->findChild<QAction*>(QString::fromLatin1(name)); }

    static QStringList workedProjects()
    {
        return {"1; Theater; 1; 13; 2; 3; -; -;   0; ", "2; Chor; 1; 13; 2; 3; -; -;   0; "};
    }

    // As assignment file lines (unassigned) or as choice file lines.
    static QStringList workedPupils(bool withProject)
    {
        QStringList pupils;
        for (const char* name : {"Anna", "Ben", "Cem", "Dana", "Eva"})
            pupils << QStringLiteral("%1; w; 7; a; -; 1; 2; 0; 0; 0; ").arg(QLatin1String(name))
                          + (withProject ? QStringLiteral("0; ") : QString());
        return pupils;
    }

    static QList<int> workedResult() { return {2, 2, 1, 1, 1}; }

    // The answer to the unsaved-data question, and after "Ja" the save
    // dialog's: the file "ergebnis" or cancelled.
    void queueSaveAnswer(int answer, bool fileChosen)
    {
        FUi->queueAnswer(TModalResult(answer));
        if (fileChosen)
            FUi->queueFiles({FDir->filePath(QStringLiteral("ergebnis"))});
        else if (answer == int(TModalResult::mrYes))
            FUi->queueFileCancel();
    }

    // The assignments of the pupils in an assignment file.
    static QList<int> zuteileIn(const QString& file)
    {
        TSchuelerData back;
        TDataFile f(ft_teil, file);
        if (!f.OpenRead())
            return {};
        f.Read(back, false);
        f.Close();
        const QList<int> result = zuteile(back);
        back.ClearData();
        return result;
    }

    // The projects in their editor, and the pupils of a choice selection
    // that failed at its second file, which no editor shows, assigned by a
    // run.
    void openResultNoEditorShows()
    {
        const QString pro = FDir->filePath(QStringLiteral("tag.PRO"));
        const QString wah = FDir->filePath(QStringLiteral("7a.WAH"));
        const QString missing = FDir->filePath(QStringLiteral("fehlt.WAH"));
        writeLines(pro, workedProjects());
        writeLines(wah, workedPupils(false));
        FUi->queueFiles({pro});
        action("OpenProAct")->trigger();
        FUi->clear();
        FUi->queueFiles({wah, missing});
        action("OpenWahlAct")->trigger();
        QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Fehler beim Öffnen der Datei ") + missing});
        QCOMPARE(SchuelerData->Anz(), 5);
        QVERIFY(!editorOf(dtSch));
        clickInDialog("Start");
        action("AutoEinteilAct")->trigger();
        QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler (*)"));
        QCOMPARE(MainForm->panelText(2), QStringLiteral("5 eingeteilt"));
        QCOMPARE(zuteile(*SchuelerData), workedResult());
        FUi->clear();
    }

    void openWorkedExample()
    {
        const QString pro = FDir->filePath(QStringLiteral("tag.PRO"));
        const QString ein = FDir->filePath(QStringLiteral("tag.EIN"));
        writeLines(pro, workedProjects());
        writeLines(ein, workedPupils(true));
        FUi->queueFiles({pro});
        action("OpenProAct")->trigger();
        FUi->queueFiles({ein});
        action("OpenEintAct")->trigger();
        QCOMPARE(ProjektData->Anz(), 2);
        QCOMPARE(SchuelerData->Anz(), 5);
        QVERIFY(editorOf(dtSch) && editorOf(dtPro));
        FUi->clear();
    }

    std::unique_ptr<TScriptedUi> FUi;
    std::unique_ptr<QTemporaryDir> FDir;
};

KESTRIN_TEST_MAIN(TestEintCommands)
#include "tst_eintcommands.moc"

// The main window with the real widgets offscreen and the scripted seam:
// start-up, geometry, the open and save roads, the unsaved-data question,
// closing editors and the program, the command states.

#include "app/UAboutBox.h"
#include "app/UEditor.h"
#include "app/UIncSearch.h"
#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "assign/UDebugWin.h"
#include "app/main.h"
#include "data/UProjekt.h"
#include "data/UProjektData.h"
#include "data/USchueler.h"
#include "data/USchuelerData.h"
#include "platform/UAnsiText.h"
#include "platform/UGridWidget.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UGridLanding.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"
#include "tests/support/UTextFit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QMenuBar>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <memory>

Q_DECLARE_METATYPE(Qt::Key)

namespace {

QStringList projectLines(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("%1; Projekt %1; 5; 10; 2; 20; -; -; 0; ").arg(i);
    return lines;
}

QStringList pupilLines(int n, bool withProject, int project = 0)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i) {
        QString line = QStringLiteral("Schüler %1; %2; 7; a; -; 1; 2; 3; 0; 0; ").arg(i).arg(i % 2 ? 'w' : 'm');
        if (withProject)
            line += QStringLiteral("%1; ").arg(project);
        lines << line;
    }
    return lines;
}

QStringList disabledAtStart()
{
    return {"BewegModeAct", "AuszugAct", "HandEintAct", "ExportAct", "SaveAsAct", "SaveAct", "PrintAct",
            "InsertHereAct", "InsertEndAct", "DeleteAct", "SearchAct", "AutoEinteilAct", "DelEintAct",
            "DelHandEintAct", "SchStatAct", "ProStatAct"};
}

}   // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUp();
    void overviewButtonsShowWhole_data();
    void overviewButtonsShowWhole();
    void geometry_data();
    void geometry();
    void editorSizeRules();
    void aboutBox();
    void help();
    void f1ShowsTheNearestHelp_data();
    void f1ShowsTheNearestHelp();
    void f1InAnOpenMenu_data();
    void f1InAnOpenMenu();

    void openRoads_data();
    void openRoads();
    void openFailure_data();
    void openFailure();
    void openReadError_data();
    void openReadError();
    void openBadLine();
    void openJunkLines_data();
    void openJunkLines();
    void openNoProjectFile_data();
    void openNoProjectFile();
    void openNoTextFile_data();
    void openNoTextFile();
    void openControlCharacters_data();
    void openControlCharacters();
    void openCancelled();
    void openWrongKind();
    void openRefusedKeepsNoName_data();
    void openRefusedKeepsNoName();
    void openManyBadLines();
    void openEintClosesViews();

    void saveWithName();
    void saveWithoutName_data();
    void saveWithoutName();
    void saveFailed_data();
    void saveFailed();
    void saveExtractView();
    void storedProjectShowsInTheOverview_data();
    void storedProjectShowsInTheOverview();

    void saveUnsaved_data();
    void saveUnsaved();
    void saveUnsavedNothingModified();
    void saveUnsavedFailedSave();

    void closeQueryRefused_data();
    void closeQueryRefused();
    void newClosesEverything();
    void newEmptiesAListNoEditorShows_data();
    void newEmptiesAListNoEditorShows();
    void closingEditableEditors();
    void closingAListRecountsBothOverviews_data();
    void closingAListRecountsBothOverviews();
    void emptyListEditor_data();
    void emptyListEditor();
    void editorPlacement();
    void editorsFitTheArea_data();
    void editorsFitTheArea();
    void editorMovedPastTheEdgeScrolls();
    void projektColumnShowsWithWahl5_data();
    void projektColumnShowsWithWahl5();
    void f6SwitchesBetweenEditorAndOverview_data();
    void f6SwitchesBetweenEditorAndOverview();
    void hidingTheOverviewKeepsTheActiveEditor_data();
    void hidingTheOverviewKeepsTheActiveEditor();
    void activateEditorKeepsActive();
    void overviewAndStatusBarFitTheirTexts();
    void overviewNameColumnFitsTheNames_data();
    void overviewNameColumnFitsTheNames();
    void overviewRebuildKeepsTheSelectedRow_data();
    void overviewRebuildKeepsTheSelectedRow();
    void disabledToolButtonsLookDisabled();
    void commandStates_data();
    void commandStates();
    void closingViewKeepsActiveCommands();

private:
    QAction* action(const QString& name) const { return MainForm->findChild<QAction*>(name); }
    TEditor* openView() { return FForms.openView(); }
    QString path(const QString& name) const { return FDir->filePath(name); }
    // Writes a data file and reads it through the command's open road.
    void openFile(QAction* command, const QString& file, const QStringList& lines);
    // Ctrl+S in editor asks for a name; cancelled, file keeps its bytes.
    void saveAsksForAName(TEditor* editor, const QString& file, const QByteArray& bytes);
    // The widget of the named window that gets the focus for F1.
    QWidget* helpKeyTarget(const QString& window);

    std::unique_ptr<TScriptedUi> FUi;
    std::unique_ptr<QTemporaryDir> FDir;
    TAppForms FForms;
};

void TestMainForm::initTestCase()
{
    // The offscreen platform looks for no icon theme; the program's pictures
    // come from the installed one.
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << QStringLiteral("/usr/share/icons"));
}

void TestMainForm::init()
{
    FUi = std::make_unique<TScriptedUi>();
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    QVERIFY(FForms.start());
}

void TestMainForm::cleanup()
{
    FForms.stop();
    FDir.reset();
    FUi.reset();
}

void TestMainForm::openFile(QAction* command, const QString& file, const QStringList& lines)
{
    writeLines(file, lines);
    FUi->queueFiles({file});
    command->trigger();
}

void TestMainForm::saveAsksForAName(TEditor* editor, const QString& file, const QByteArray& bytes)
{
    FUi->clear();
    FUi->queueFileCancel();
    QTest::keyClick(editor->grid(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(FUi->fileDialogs.size(), 1);
    QVERIFY(FUi->fileDialogs[0].save);
    QCOMPARE(fileBytes(file), bytes);
}

// ---------------------------------------------------------------- start-up

void TestMainForm::startUp()
{
    QCOMPARE(MainForm->objectName(), QStringLiteral("MainForm"));
    QCOMPARE(MainForm->windowTitle(), QStringLiteral("zuv"));
    QCOMPARE(MainForm->panelText(0), QStringLiteral("0 Projekte"));
    QCOMPARE(MainForm->panelText(1), QStringLiteral("0 Schüler"));
    QCOMPARE(MainForm->panelText(2), QStringLiteral("0 eingeteilt"));
    QCOMPARE(MainForm->panelText(3), QString());
    QCOMPARE(MainForm->panelText(4), QString());
    for (const char* name : {"StatusBar", "ToolBar", "ProjekteTab", "SchuelerTab", "ToolBar2", "ToolBar3"})
        QVERIFY2(MainForm->findChild<QWidget*>(QString::fromLatin1(name)), name);
    for (const char* name : {"ProStatBut", "ProShowBut", "SchStatBut", "SchShowBut"})
        QVERIFY2(MainForm->findChild<QWidget*>(QString::fromLatin1(name)), name);

    auto* overview = MainForm->findChild<QTabWidget*>(QStringLiteral("Uebersicht"));
    QVERIFY(overview && overview->isVisible());
    QCOMPARE(overview->currentIndex(), 0);
    QCOMPARE(overview->tabText(0), QStringLiteral("Projekte"));
    QCOMPARE(overview->tabText(1), QStringLiteral("Schüler"));
    QVERIFY(overview->width() >= 200);

    auto* pro = MainForm->findChild<TGridWidget*>(QStringLiteral("ProjekteGrid"));
    auto* sch = MainForm->findChild<TGridWidget*>(QStringLiteral("SchuelerGrid"));
    QVERIFY(pro && sch);
    QCOMPARE(pro->rowCount(), 1);
    QCOMPARE(pro->rowTexts(0), QStringList({"Nr", "Name", "Anz", "+/-"}));
    QCOMPARE(sch->rowCount(), 1);
    QCOMPARE(sch->rowTexts(0), QStringList({"Klasse", "Schüler", "Einget.", "Erstw."}));
    // The name column takes what the other columns, as wide as their
    // captions need in this style and font, leave.
    QCOMPARE(pro->colWidth(1), TMainFormHandler::proNameColWidth(pro->width(), pro->gridLineWidth(),
                                                                 pro->colWidth(0) + pro->colWidth(2) + pro->colWidth(3)));
    QCOMPARE(TMainFormHandler::proNameColWidth(192, 1), 75);
    QCOMPARE(TMainFormHandler::schClassColWidth(192, 1), 45);

    for (const QString& name : disabledAtStart()) {
        QAction* a = action(name);
        QVERIFY2(a, qPrintable(name));
        QVERIFY2(!a->isEnabled(), qPrintable(name));
    }
    QVERIFY(!MainForm->mmBInsert->menuAction()->isEnabled());
    QVERIFY(!MainForm->mmBSort->menuAction()->isEnabled());
    for (const char* name : {"NewAct", "OpenAct", "OpenProAct", "OpenWahlAct", "OpenEintAct", "QuitAct",
                             "ActivateProAct", "ActivateSchAct", "ShowOverviewAct", "HelpAct", "InfoAct"})
        QVERIFY2(action(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(MainForm->mAShowUebers->isChecked());
    QVERIFY(MainForm->editors().isEmpty());
    QVERIFY(FUi->messages.isEmpty());
}

void TestMainForm::overviewButtonsShowWhole_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<bool>("wider");
    QTest::newRow("Projekte") << 0 << "ToolBar2" << false;
    QTest::newRow("Schüler") << 1 << "ToolBar3" << false;
    QTest::newRow("Projekte, wider font") << 0 << "ToolBar2" << true;
    QTest::newRow("Schüler, wider font") << 1 << "ToolBar3" << true;
}

// At the font in use: both buttons at least 80 by 22, their captions
// whole, side by side in the bar, and the bar as wide as they need.
void TestMainForm::overviewButtonsShowWhole()
{
    QFETCH(int, page);
    QFETCH(QString, bar);
    QFETCH(bool, wider);
    // The windows fit their controls when they are made.
    FForms.stop();
    const TextFit::TAppFont font(wider);
    QVERIFY(FForms.start());
    auto* overview = MainForm->findChild<QTabWidget*>(QStringLiteral("Uebersicht"));
    overview->setCurrentIndex(page);
    QCoreApplication::processEvents();
    auto* toolBar = overview->widget(page)->findChild<QToolBar*>(bar);
    QVERIFY(toolBar && toolBar->isVisible());
    const QList<QToolButton*> buttons = toolBar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    int shown = 0;
    for (QToolButton* button : buttons) {
        if (!button->isVisible())
            continue;   // the bar's extension button, when nothing is hidden
        ++shown;
        QVERIFY(button->width() >= 80);
        QCOMPARE(button->height(), 22);
        const QString cut = TextFit::captionCut(button);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
    }
    QCOMPARE(shown, 2);
    QVERIFY(toolBar->width() >= toolBar->sizeHint().width());
    const QStringList found = TextFit::overlaps(toolBar);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
}

void TestMainForm::geometry_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1024x768") << QSize(1024, 768) << QRect(50, 50, 924, 668);
    QTest::newRow("1280x1024") << QSize(1280, 1024) << QRect(50, 50, 1180, 924);
}

void TestMainForm::geometry()
{
    QFETCH(QSize, screen);
    QFETCH(QRect, expected);
    QCOMPARE(TMainForm::mainGeometry(screen), expected);

    // The real window on the offscreen screen.
    const QSize s = MainForm->screen()->geometry().size();
    QCOMPARE(MainForm->frameGeometry().topLeft(), QPoint(50, 50));
    QCOMPARE(MainForm->frameGeometry().size(), s - QSize(100, 100));
}

void TestMainForm::editorSizeRules()
{
    auto* toolBar = MainForm->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QCOMPARE(toolBar->height(), 29);
    const int clientHeight = MainForm->height() - MainForm->menuBar()->height();
    QCOMPARE(MainForm->getEditorHeight(), clientHeight - 29 - MainForm->statusBar()->height() - 4);

    // The overview is as wide as its captions need, at least 200.
    const int overview = MainForm->Uebersicht->width();
    QVERIFY(overview >= 200);
    const int withOverview = MainForm->getEditorWidth();
    QCOMPARE(withOverview, MainForm->width() - 4 - overview);
    MainForm->ShowOverviewAct->trigger();
    QVERIFY(!MainForm->mAShowUebers->isChecked());
    QVERIFY(MainForm->Uebersicht->isHidden());
    QCOMPARE(MainForm->getEditorWidth(), withOverview + overview);
    MainForm->ShowOverviewAct->trigger();
    QVERIFY(MainForm->mAShowUebers->isChecked());
    QVERIFY(!MainForm->Uebersicht->isHidden());
    QCOMPARE(MainForm->getEditorWidth(), withOverview);
}

void TestMainForm::aboutBox()
{
    QString shown;
    QTimer::singleShot(0, [&shown] {
        shown = AboutBox->VersionLabel->text();
        AboutBox->OkBut->click();
    });
    MainForm->InfoAct->trigger();
    QCOMPARE(shown, QStringLiteral("Version 1.1 vom 1 Apr 2011"));
    QCOMPARE(AboutBox->result(), int(QDialog::Accepted));
    QCOMPARE(AboutBox->windowTitle(), QStringLiteral("Über kestrin ..."));
    QVERIFY(MainForm->editors().isEmpty());
    QCOMPARE(MainForm->panelText(0), QStringLiteral("0 Projekte"));
}

void TestMainForm::help()
{
    MainForm->HelpAct->trigger();
    QCOMPARE(FUi->helpContexts, QList<int>({1}));
    QCOMPARE(MainForm->HelpAct->shortcut(), QKeySequence(Qt::Key_F1));
}

QWidget* TestMainForm::helpKeyTarget(const QString& window)
{
    if (window == QLatin1String("overview"))
        return MainForm->ProjekteGrid;
    if (window == QLatin1String("client area"))
        return MainForm->clientArea();
    if (window == QLatin1String("editor"))
        return openView()->grid();
    if (window == QLatin1String("filter dialog"))
        return SchFilterDialog->ComboMatch;
    if (window == QLatin1String("search window")) {
        IncSearch->SetGrid(openView()->grid());
        return IncSearch->Enter;
    }
    if (window == QLatin1String("about box"))
        return AboutBox->OkBut;
    if (window == QLatin1String("class selection"))
        return KlassenSelect->ListJgst;
    if (window == QLatin1String("debug window"))
        return DebugWin->Watch1;
    return nullptr;
}

void TestMainForm::f1ShowsTheNearestHelp_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("projects overview") << "overview" << QList<int>{133};
    QTest::newRow("main window") << "client area" << QList<int>{1};
    QTest::newRow("editor") << "editor" << QList<int>{110};
    QTest::newRow("filter dialog") << "filter dialog" << QList<int>{115};
    QTest::newRow("search window") << "search window" << QList<int>{116};
    QTest::newRow("about box: none") << "about box" << QList<int>{};
    QTest::newRow("class selection: none") << "class selection" << QList<int>{};
    QTest::newRow("debug window: none") << "debug window" << QList<int>{};
}

void TestMainForm::f1ShowsTheNearestHelp()
{
    QFETCH(QString, window);
    QFETCH(QList<int>, shown);
    QWidget* target = helpKeyTarget(window);
    QVERIFY(target);
    QWidget* top = target->window();
    top->show();
    top->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), top);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key_F1);
    // Once: the help command's own F1 does not show it a second time.
    QCOMPARE(FUi->helpContexts, shown);
    if (top != MainForm)
        top->hide();
}

void TestMainForm::f1InAnOpenMenu_data()
{
    // The menu opened from the menu bar (or popped up, for the hidden one),
    // the submenu opened from it by the keyboard, and the item highlighted
    // in the last of them; an item may be a submenu's.
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("submenu");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("NewAct in &Datei") << "mDatei" << "" << "NewAct" << QList<int>{105};
    QTest::newRow("SaveAsAct in &Datei") << "mDatei" << "" << "SaveAsAct" << QList<int>{103};
    QTest::newRow("the Ö&ffnen item in &Datei") << "mDatei" << "" << "mDOpen" << QList<int>{102};
    QTest::newRow("InsertEndAct in E&infügen") << "mBearbeiten" << "mmBInsert" << "InsertEndAct" << QList<int>{117};
    QTest::newRow("nothing highlighted in E&infügen") << "mBearbeiten" << "mmBInsert" << "" << QList<int>{117};
    QTest::newRow("a sort order") << "mBearbeiten" << "mmBSort" << "mBSortKl" << QList<int>{114};
    QTest::newRow("nothing highlighted in &Datei") << "mDatei" << "" << "" << QList<int>{};
    QTest::newRow("HelpAct in &Hilfe") << "mHilfe" << "" << "HelpAct" << QList<int>{};
    QTest::newRow("InfoAct in &Hilfe") << "mHilfe" << "" << "InfoAct" << QList<int>{};
    QTest::newRow("Verify in the debug menu") << "mmDebug" << "" << "mDVerify" << QList<int>{};
}

void TestMainForm::f1InAnOpenMenu()
{
    QFETCH(QString, menu);
    QFETCH(QString, submenu);
    QFETCH(QString, item);
    QFETCH(QList<int>, shown);
    // As a command chosen there, F1 closes the menus when it shows the help
    // and gives the keys back to the window; without a help the menu stays.
    // The pupil editor enables the commands of "&Bearbeiten".
    MainForm->ActivateSchAct->trigger();
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    auto* top = MainForm->findChild<QMenu*>(menu);
    QVERIFY(top);
    if (top->menuAction()->isVisible())
        MainForm->menuBar()->setActiveAction(top->menuAction());
    else
        top->popup(MainForm->mapToGlobal(QPoint(40, 40)));
    QTRY_COMPARE(QApplication::activePopupWidget(), top);
    QMenu* open = top;
    if (!submenu.isEmpty()) {
        auto* sub = MainForm->findChild<QMenu*>(submenu);
        QVERIFY(sub);
        top->setActiveAction(sub->menuAction());
        QTest::keyClick(top, Qt::Key_Right);
        QTRY_COMPARE(QApplication::activePopupWidget(), sub);
        open = sub;
    }
    QAction* highlighted = nullptr;
    if (!item.isEmpty()) {
        auto* sub = MainForm->findChild<QMenu*>(item);
        highlighted = sub ? sub->menuAction() : MainForm->findChild<QAction*>(item);
        QVERIFY(highlighted);
    }
    open->setActiveAction(highlighted);
    QCOMPARE(open->activeAction(), highlighted);

    QTest::keyClick(open, Qt::Key_F1);
    QCOMPARE(FUi->helpContexts, shown);
    if (shown.isEmpty()) {
        QCOMPARE(QApplication::activePopupWidget(), open);
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        return;
    }
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QVERIFY(!top->isVisible() && !open->isVisible());
    QCOMPARE(MainForm->menuBar()->activeAction(), nullptr);
    QTRY_COMPARE(QApplication::focusWidget(), focused);
}

// --------------------------------------------------------------- opening

void TestMainForm::openRoads_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("counts");   // records per file
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("multi");

    const QString wahlEint = QStringLiteral("Einteilung-Dateien (*.EIN)|*.EIN|Schuelerwahl-Dateien (*.WAH)|*.WAH");
    QTest::newRow("projects") << "OpenProAct" << QList<int>{3} << "3 Projekt-Datensätze gelesen."
                              << "Projekt-Editor [f0.PRO]" << "Projekt-Dateien (*.PRO)|*.PRO" << false;
    QTest::newRow("one choices file") << "OpenWahlAct" << QList<int>{4}
                                      << "4 Schuelerwahl-Datensätze aus 1 Dateien gelesen."
                                      << "Schüler-Editor [f0.WAH]" << wahlEint << true;
    QTest::newRow("two choices files") << "OpenWahlAct" << QList<int>{10, 12}
                                       << "22 Schuelerwahl-Datensätze aus 2 Dateien gelesen."
                                       << "Schüler-Editor" << wahlEint << true;
    QTest::newRow("assignment") << "OpenEintAct" << QList<int>{5} << "5 Einteilung-Datensätze gelesen."
                                << "Schüler-Editor [f0.EIN]" << wahlEint << false;
}

void TestMainForm::openRoads()
{
    QFETCH(QString, command);
    QFETCH(QList<int>, counts);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(QString, filter);
    QFETCH(bool, multi);

    const bool projects = command == QLatin1String("OpenProAct");
    const QString ext = projects ? "PRO" : command == QLatin1String("OpenWahlAct") ? "WAH" : "EIN";
    QStringList files;
    int total = 0;
    for (int i = 0; i < counts.size(); ++i) {
        const QString file = path(QStringLiteral("f%1.%2").arg(i).arg(ext));
        writeLines(file, projects ? projectLines(counts[i]) : pupilLines(counts[i], ext == "EIN"));
        files << file;
        total += counts[i];
    }
    FUi->queueFiles(files);
    action(command)->trigger();

    QCOMPARE(FUi->texts(), QStringList{message});
    QCOMPARE(FUi->messages.first().caption(), QStringLiteral("zuv"));
    QCOMPARE(FUi->fileDialogs.size(), 1);
    QCOMPARE(FUi->fileDialogs.first().filter, filter);
    QCOMPARE(FUi->fileDialogs.first().multiSelect, multi);
    QVERIFY(!FUi->fileDialogs.first().save);
    QVERIFY(FUi->fileDialogs.first().fileName.isEmpty());
    QCOMPARE(FUi->fileDialogs.first().helpContext, 102);
    // The kind's own entry is the one preselected.
    QCOMPARE(FUi->fileDialogs.first().filterIndex, command == QLatin1String("OpenWahlAct") ? 2 : 1);

    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor);
    QCOMPARE(MainForm->editors().size(), 1);
    QVERIFY(editor->Editable());
    QCOMPARE(editor->windowTitle(), caption);
    QCOMPARE(editor->getDataType(), projects ? dtPro : dtSch);
    QCOMPARE(editor->grid()->rowCount(), total + 1);
    QCOMPARE(editor->grid()->fixedCols(), projects ? 1 : 0);

    TData* list = projects ? static_cast<TData*>(ProjektData) : static_cast<TData*>(SchuelerData);
    QCOMPARE(list->Anz(), total);
    QVERIFY(!list->getModified());
    QCOMPARE(list->getFilename(), counts.size() == 1 ? files.first() : QString());
    if (projects) {
        QCOMPARE(MainForm->panelText(0), QStringLiteral("%1 Projekte").arg(total));
        QCOMPARE(MainForm->ProjekteGrid->rowCount(), total + 2);
        QVERIFY(MainForm->ProStatAct->isEnabled());
        QVERIFY(!MainForm->SchStatAct->isEnabled());
        QVERIFY(!MainForm->AutoEinteilAct->isEnabled());
    } else {
        QCOMPARE(MainForm->panelText(1), QStringLiteral("%1 Schüler").arg(total));
        QCOMPARE(MainForm->SchuelerGrid->rowCount(), 2);   // one class
        QVERIFY(MainForm->SchStatAct->isEnabled());
        QVERIFY(MainForm->BewegModeAct->isEnabled());
    }
    QVERIFY(MainForm->SaveAct->isEnabled());
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    1"));
}

void TestMainForm::openFailure_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("missing file") << false;
    QTest::newRow("folder") << true;
}

void TestMainForm::openFailure()
{
    QFETCH(bool, folder);
    // Pupils already loaded and shown are emptied; the message names the file.
    const QString good = path("good.WAH");
    writeLines(good, pupilLines(3, false));
    FUi->queueFiles({good});
    MainForm->OpenWahlAct->trigger();
    QCOMPARE(SchuelerData->Anz(), 3);
    FUi->clear();

    const QString bad = path(folder ? "dir.WAH" : "missing.WAH");
    if (folder)
        QVERIFY(QDir(FDir->path()).mkdir("dir.WAH"));
    const QString second = path("second.WAH");
    writeLines(second, pupilLines(2, false));
    FUi->queueFiles({second, bad});
    MainForm->OpenWahlAct->trigger();

    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Fehler beim Öffnen der Datei ") + bad});
    // The records of the earlier file of the selection stay; no name.
    QCOMPARE(SchuelerData->Anz(), 2);
    QVERIFY(SchuelerData->getFilename().isEmpty());
    QCOMPARE(MainForm->editors().size(), 1);
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Schüler-Editor"));
    QCOMPARE(MainForm->panelText(1), QStringLiteral("2 Schüler"));

    // Without an editor, a failed project file brings none up.
    FUi->clear();
    FUi->queueFiles({path("missing.PRO")});
    MainForm->OpenProAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Fehler beim Öffnen der Datei ") + path("missing.PRO")});
    QCOMPARE(MainForm->editors().size(), 1);
    QCOMPARE(ProjektData->Anz(), 0);
}

void TestMainForm::openReadError_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<bool>("goodFirst");   // a readable file chosen before the failing one

    QTest::newRow("projects") << "OpenProAct" << "PRO" << false;
    QTest::newRow("assignments") << "OpenEintAct" << "EIN" << false;
    QTest::newRow("choices") << "OpenWahlAct" << "WAH" << true;
}

void TestMainForm::openReadError()
{
    // A file that opens but fails while it is read ends the open like one
    // that cannot be opened, and no view keeps the rows of the old list.
    QFETCH(QString, command);
    QFETCH(QString, ext);
    QFETCH(bool, goodFirst);
    const bool projects = ext == QLatin1String("PRO");
    const QString tag = path("tag." + ext);
    writeLines(tag, projects ? projectLines(4) : pupilLines(4, ext == QLatin1String("EIN")));
    const QByteArray tagBytes = fileBytes(tag);
    FUi->queueFiles({tag});
    action(command)->trigger();
    TEditor* editor = MainForm->activeEditor();
    QCOMPARE(editor->grid()->rowCount(), 5);
    FUi->clear();

    // Every read of this file fails, as on a failing disk.
    const QString failing = QStringLiteral("/proc/self/mem");
    QStringList files{failing};
    if (goodFirst) {
        writeLines(path("first.WAH"), pupilLines(2, false));
        files.prepend(path("first.WAH"));
    }
    FUi->queueFiles(files);
    action(command)->trigger();

    // The error is shown once; an editor over a list left empty then makes
    // its empty record.
    const int kept = goodFirst ? 2 : 0;
    QStringList shown{QStringLiteral("Fehler beim Lesen der Datei ") + failing};
    if (!kept)
        shown << QStringLiteral("Erzeuge leeren Eintrag.");
    QCOMPARE(FUi->texts(), shown);
    TData* list = editor->getData();
    QVERIFY(list->getFilename().isEmpty());
    QCOMPARE(MainForm->activeEditor(), editor);
    QCOMPARE(editor->windowTitle(), projects ? QStringLiteral("Projekt-Editor") : QStringLiteral("Schüler-Editor"));
    // The rows are those of the list: what was read before the failure, or
    // the one empty record an editor makes of an empty list.
    QCOMPARE(editor->grid()->rowCount(), list->Anz() + 1);
    QCOMPARE(list->Anz(), qMax(kept, 1));
    QCOMPARE(editor->grid()->cell(projects ? 1 : 0, 1), kept ? QStringLiteral("Schüler 1") : QString());
    // The status bar counts the rows the editor shows, without " (*)".
    QCOMPARE(MainForm->panelText(projects ? 0 : 1),
             QStringLiteral("%1 %2").arg(list->Anz()).arg(projects ? QStringLiteral("Projekte") : QStringLiteral("Schüler")));

    // "&Speichern" asks for a name; the old file stays as it was.
    saveAsksForAName(editor, tag, tagBytes);
}

void TestMainForm::openBadLine()
{
    // The bad line keeps its place: every pupil's assignment still names
    // the project it named.
    QStringList lines = {QStringLiteral("/ Projekttag"), QStringLiteral("1; Theater; 5; 10; 2; 20; -; -; 0; "),
                         QStringLiteral("2; Chor; 5; 10; 2; 20; -; -; 0; "),
                         QStringLiteral("3; Kaputt; x; 10; 2; 20; -; -; 0; "),
                         QStringLiteral("4; Chemie-Show; 5; 10; 2; 20; -; -; 0; "),
                         QStringLiteral("5; Töpfern; 5; 10; 2; 20; -; -; 0; "),
                         QStringLiteral("6; Schach; 5; 10; 2; 20; -; -; 0; ")};
    openFile(MainForm->OpenProAct, path("bad.PRO"), lines);
    QCOMPARE(FUi->texts(), QStringList({QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()"),
                                        QStringLiteral("5 Projekt-Datensätze gelesen.\r\n1 Zeile steht als gesperrtes "
                                                       "Projekt \"Zeile 4 nicht lesbar\" in der Liste.")}));
    QCOMPARE(ProjektData->Anz(), 6);
    QCOMPARE(ProjektData->getFilename(), QString());
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Projekt-Editor"));

    QStringList pupils = pupilLines(3, true, 4);
    pupils << pupilLines(1, true, 6) << pupilLines(1, true, 3);
    openFile(MainForm->OpenEintAct, path("a.EIN"), pupils);
    const QStringList rows[] = {{"3", "Zeile 4 nicht lesbar", "1"}, {"4", "Chemie-Show", "3"},
                                {"5", QStringLiteral("Töpfern"), "0"}, {"6", "Schach", "1"}};
    for (const QStringList& row : rows) {
        const int r = row[0].toInt() + 1;
        QCOMPARE((QStringList{MainForm->ProjekteGrid->cell(0, r), MainForm->ProjekteGrid->cell(1, r),
                              MainForm->ProjekteGrid->cell(2, r)}),
                 row);
    }
    QVERIFY(ProjektData->getNr(3)->gesp);
}

void TestMainForm::openJunkLines_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("named");   // the list takes the file's name

    const QString bad = QStringLiteral("3; Kaputt; x; 10; 2; 20; -; -; 0; ");
    const QString badMessage = QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()");
    QTest::newRow("end-of-file byte after six projects")
        << "OpenProAct" << (projectLines(6) << QStringLiteral("\x1a")) << QStringList{"6 Projekt-Datensätze gelesen."} << 6
        << true;
    QTest::newRow("blank and control lines")
        << "OpenProAct" << (projectLines(3) << "   " << "\t\x1b" << QStringLiteral("\x7f") << projectLines(3))
        << QStringList{"6 Projekt-Datensätze gelesen."} << 6 << true;
    QTest::newRow("a bad line after the last project")
        << "OpenProAct" << (projectLines(6) << bad << QStringLiteral("\x1a"))
        << QStringList{badMessage, "6 Projekt-Datensätze gelesen."} << 6 << false;
    QTest::newRow("a bad line among projects")
        << "OpenProAct" << (projectLines(3) << bad << projectLines(3))
        << QStringList{badMessage, "6 Projekt-Datensätze gelesen.\r\n1 Zeile steht als gesperrtes Projekt "
                                   "\"Zeile 4 nicht lesbar\" in der Liste."}
        << 7 << false;
    QTest::newRow("two bad lines among projects")
        << "OpenProAct" << (projectLines(1) << bad << QString() << bad << projectLines(2))
        << QStringList{badMessage, badMessage,
                       QStringLiteral("3 Projekt-Datensätze gelesen.\r\n2 Zeilen stehen als gesperrte Projekte "
                                      "\"Zeile … nicht lesbar\" in der Liste.")}
        << 5 << false;
    QTest::newRow("300 projects")
        << "OpenProAct" << projectLines(300)
        << QStringList{QStringLiteral("Es sind höchstens 255 Projekte möglich. Die Zeilen ab Zeile 256 der Datei j.PRO "
                                      "wurden nicht gelesen."),
                       "255 Projekt-Datensätze gelesen."}
        << 255 << false;
    QTest::newRow("assignments with an end-of-file byte")
        << "OpenEintAct" << (pupilLines(4, true, 1) << QStringLiteral("\x1a") << "  ")
        << QStringList{"4 Einteilung-Datensätze gelesen."} << 4 << true;
}

void TestMainForm::openJunkLines()
{
    // Empty and junk lines give no record; a bad project line keeps its
    // place only where a project follows, and "Speichern unter" writes
    // what the status bar counts, in the same numbering.
    QFETCH(QString, command);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, messages);
    QFETCH(int, records);
    QFETCH(bool, named);
    const bool projects = command == QLatin1String("OpenProAct");
    const QString ext = projects ? QStringLiteral("PRO") : QStringLiteral("EIN");
    const QString file = path("j." + ext);
    openFile(action(command), file, lines);
    QCOMPARE(FUi->texts(), messages);
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor);
    TData* list = editor->getData();
    QCOMPARE(list->Anz(), records);
    QCOMPARE(editor->grid()->rowCount(), records + 1);
    const QString counted = projects ? QStringLiteral("%1 Projekte") : QStringLiteral("%1 Schüler");
    QCOMPARE(MainForm->panelText(projects ? 0 : 1), counted.arg(records));
    QCOMPARE(list->getFilename(), named ? file : QString());
    const QString title = projects ? QStringLiteral("Projekt-Editor") : QStringLiteral("Schüler-Editor");
    QCOMPARE(editor->windowTitle(), named ? title + QStringLiteral(" [j.%1]").arg(ext) : title);
    QStringList names;
    for (int i = 1; i <= records; ++i)
        names << list->getNr(i)->getName();

    FUi->clear();
    const QString saved = path("saved." + ext);
    FUi->queueFiles({saved});
    MainForm->SaveAsAct->trigger();
    const QString kind = projects ? QStringLiteral("Projekt") : QStringLiteral("Einteilung");
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("%1 %2-Datensätze nach saved.%3 geschrieben").arg(records).arg(kind, ext)});
    const QByteArray written = fileBytes(saved);
    QCOMPARE(written.count("\r\n"), records);
    QVERIFY(!written.contains('\x1a'));

    // Read again, every record is a whole line, in the same places.
    FUi->clear();
    FUi->queueFiles({saved});
    action(command)->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("%1 %2-Datensätze gelesen.").arg(records).arg(kind)});
    for (int i = 1; i <= records; ++i)
        QCOMPARE(list->getNr(i)->getName(), names.at(i - 1));
    QCOMPARE(MainForm->panelText(projects ? 0 : 1), counted.arg(records));
}

void TestMainForm::openNoProjectFile_data()
{
    QTest::addColumn<bool>("editorOpen");   // a project file was open before
    QTest::newRow("no editor") << false;
    QTest::newRow("over a project file") << true;
}

void TestMainForm::openNoProjectFile()
{
    // A pupil file opened as projects is no project file: one message,
    // then the open ends as for a file that cannot be read. The list takes
    // no name, so "&Speichern" cannot write projects over the pupil file.
    QFETCH(bool, editorOpen);
    const QString tag = path("tag.PRO");
    if (editorOpen) {
        openFile(MainForm->OpenProAct, tag, projectLines(4));
        FUi->clear();
    }
    const QString pupils = path("7a.EIN");
    writeLines(pupils, pupilLines(400, true, 1) << QStringLiteral("\x1a"));
    const QByteArray pupilBytes = fileBytes(pupils);
    FUi->queueFiles({pupils});
    MainForm->OpenProAct->trigger();

    QStringList shown{QStringLiteral("Die Datei 7a.EIN enthält keine Projektzeile und wurde nicht gelesen.")};
    if (editorOpen)
        shown << QStringLiteral("Erzeuge leeren Eintrag.");   // the open editor over an empty list
    QCOMPARE(FUi->texts(), shown);
    QVERIFY(ProjektData->getFilename().isEmpty());
    QCOMPARE(ProjektData->Anz(), editorOpen ? 1 : 0);
    QVERIFY(!ProjektData->getModified());
    QCOMPARE(MainForm->panelText(0), QStringLiteral("%1 Projekte").arg(ProjektData->Anz()));
    QCOMPARE(MainForm->editors().size(), editorOpen ? 1 : 0);
    if (!editorOpen)
        return;

    TEditor* editor = MainForm->activeEditor();
    QCOMPARE(editor->windowTitle(), QStringLiteral("Projekt-Editor"));
    QCOMPARE(editor->grid()->rowCount(), 2);
    saveAsksForAName(editor, pupils, pupilBytes);
}

void TestMainForm::openNoTextFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("before");   // a readable file opened before; none when empty
    QTest::newRow("projects") << "OpenProAct" << "bild.PRO" << "";
    QTest::newRow("projects over a project file") << "OpenProAct" << "bild.PRO" << "tag.PRO";
    QTest::newRow("assignments") << "OpenEintAct" << "bild.EIN" << "";
    QTest::newRow("assignments over an assignment file") << "OpenEintAct" << "bild.EIN" << "tag.EIN";
    QTest::newRow("choices after a good file") << "OpenWahlAct" << "bild.WAH" << "";
}

void TestMainForm::openNoTextFile()
{
    // A file that is no text says so, and the open ends as for a file that
    // cannot be read: no count of records read, no editor brought up, and
    // the list takes no name, so "&Speichern" cannot write over the file.
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QString, before);
    const bool projects = command == QLatin1String("OpenProAct");
    if (!before.isEmpty()) {
        openFile(action(command), path(before), projects ? projectLines(4) : pupilLines(4, true, 1));
        FUi->clear();
    }
    QByteArray image("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    image += QByteArray(2000, 'x');
    writeFileBytes(path(file), image);
    QStringList files{path(file)};
    const bool goodFirst = command == QLatin1String("OpenWahlAct");
    if (goodFirst) {
        writeLines(path("good.WAH"), pupilLines(3, false));
        files.prepend(path("good.WAH"));
    }
    FUi->queueFiles(files);
    action(command)->trigger();

    QStringList shown{QStringLiteral("Die Datei %1 ist keine Textdatei.").arg(file)};
    if (!before.isEmpty())
        shown << QStringLiteral("Erzeuge leeren Eintrag.");   // the open editor over an empty list
    QCOMPARE(FUi->texts(), shown);
    TData* list = projects ? static_cast<TData*>(ProjektData) : SchuelerData;
    QCOMPARE(list->Anz(), goodFirst ? 3 : before.isEmpty() ? 0 : 1);
    QVERIFY(list->getFilename().isEmpty());
    QVERIFY(!list->getModified());
    QCOMPARE(MainForm->editors().size(), before.isEmpty() ? 0 : 1);
    if (before.isEmpty())
        return;
    TEditor* editor = MainForm->activeEditor();
    QCOMPARE(editor->windowTitle(), projects ? QStringLiteral("Projekt-Editor") : QStringLiteral("Schüler-Editor"));
    saveAsksForAName(editor, path(file), image);
}

void TestMainForm::openControlCharacters_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("record");   // one whose name held a TAB
    QTest::addColumn<QString>("name");

    QStringList projects = projectLines(6);
    projects[2] = QStringLiteral("3; Chemie\tShow; 5; 10; 2; 20; -; -; 0; ");
    QStringList pupils = pupilLines(40, true, 1);
    pupils[9] = QStringLiteral("Berg\tAnna; w; 7; a; -; 1; 2; 3; 0; 0; 1; ");
    pupils[29] = QStringLiteral("Kurz\tOtto; m; 7; \tb; -; 1; 2; 3; 0; 0; 1; ");
    QTest::newRow("projects") << "OpenProAct" << "p.PRO" << projects << "Projekt" << 3 << "Chemie Show";
    QTest::newRow("assignments") << "OpenEintAct" << "a.EIN" << pupils << "Einteilung" << 10 << "Berg Anna";
}

void TestMainForm::openControlCharacters()
{
    // Older files may hold control characters in names: each is read as a
    // blank, the line is kept, and the list takes the file's name.
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QFETCH(QString, kind);
    QFETCH(int, record);
    QFETCH(QString, name);
    const int n = int(lines.size());
    openFile(action(command), path(file), lines);
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("%1 %2-Datensätze gelesen.").arg(n).arg(kind)});
    TData* list = MainForm->activeEditor()->getData();
    QCOMPARE(list->Anz(), n);
    QCOMPARE(list->getNr(record)->getName(), name);
    QCOMPARE(list->getFilename(), path(file));

    // Saved, the file holds every record, without a control character,
    // and reads back whole.
    FUi->clear();
    list->setModified();
    MainForm->SaveAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("%1 %2-Datensätze nach %3 geschrieben").arg(n).arg(kind, file)});
    const QByteArray written = fileBytes(path(file));
    QCOMPARE(written.count("\r\n"), n);
    QVERIFY(!written.contains('\t'));
    FUi->clear();
    FUi->queueFiles({path(file)});
    action(command)->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("%1 %2-Datensätze gelesen.").arg(n).arg(kind)});
    QCOMPARE(MainForm->activeEditor()->getData()->getNr(record)->getName(), name);
}

void TestMainForm::openCancelled()
{
    const QString file = path("p.PRO");
    openFile(MainForm->OpenProAct, file, projectLines(3));
    FUi->clear();

    FUi->queueFileCancel();
    MainForm->OpenProAct->trigger();
    QVERIFY(FUi->messages.isEmpty());
    QCOMPARE(ProjektData->Anz(), 3);
    QCOMPARE(ProjektData->getFilename(), file);
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Projekt-Editor [p.PRO]"));
}

void TestMainForm::openWrongKind()
{
    // A project file read as an assignment file: every line is reported,
    // nothing is read, and the pupil editor comes up with one empty pupil.
    openFile(MainForm->OpenEintAct, path("p.PRO"), projectLines(2));
    const QString count = QStringLiteral("Schuelerdatenzeile enthaelt falsche Anzahl Elemente");
    QCOMPARE(FUi->texts(), QStringList({count, count, "0 Einteilung-Datensätze gelesen.", "Erzeuge leeren Eintrag."}));
    QCOMPARE(SchuelerData->Anz(), 1);
    QVERIFY(!SchuelerData->getModified());
    // The list does not take the name of a file it could not read.
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Schüler-Editor"));
    QCOMPARE(SchuelerData->getFilename(), QString());
}

void TestMainForm::openRefusedKeepsNoName_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("records");

    // Read as choices every line is taken, without its assigned project.
    QByteArray sixtyAssigned;
    for (const QString& line : pupilLines(60, true, 2))
        sixtyAssigned += Ansi::encode(line) + "\r\n";
    QByteArray oneBad = projectLines(3).join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    oneBad += "4; Kaputt; x; 10; 2; 20; -; -; 0; \r\n";

    // the bad line is the last: no project keeps its place
    QTest::newRow("one bad project line") << "OpenProAct" << "p.PRO" << oneBad << "Projekt-Editor" << 3;
    QTest::newRow("project file as choices") << "OpenWahlAct" << "p.WAH" << oneBad << "Schüler-Editor" << 0;
    QTest::newRow("assignment file as choices") << "OpenWahlAct" << "tag.EIN" << sixtyAssigned << "Schüler-Editor" << 60;
}

void TestMainForm::openRefusedKeepsNoName()
{
    // A file the reader refused, wholly or in part, or read without the
    // assigned projects it holds, keeps its bytes: the list does not take
    // its name, and "&Speichern" asks for one.
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(int, records);
    writeFileBytes(path(file), bytes);
    FUi->queueFiles({path(file)});
    action(command)->trigger();
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), title);
    QCOMPARE(editor->getData()->getFilename(), QString());
    if (records > 0)
        QCOMPARE(editor->getData()->Anz(), records);

    saveAsksForAName(editor, path(file), bytes);
}

void TestMainForm::openManyBadLines()
{
    // Ten line messages, then one that counts the rest; the reading goes
    // on behind them.
    QStringList lines = pupilLines(25, true, 1);
    lines.append(projectLines(1));
    openFile(MainForm->OpenProAct, path("result.EIN"), lines);
    const QString count = QStringLiteral("Projektdatenzeile enthaelt falsche Anzahl Elemente");
    QStringList expected;
    for (int i = 0; i < 10; ++i)
        expected << count;
    expected << QStringLiteral("Weitere 15 fehlerhafte Zeilen wurden nicht gelesen.")
             << QStringLiteral("1 Projekt-Datensätze gelesen.\r\n25 Zeilen stehen als gesperrte Projekte "
                               "\"Zeile … nicht lesbar\" in der Liste.");
    QCOMPARE(FUi->texts(), expected);
    QCOMPARE(ProjektData->Anz(), 26);   // each bad line keeps its place
}

void TestMainForm::openEintClosesViews()
{
    const QString file = path("a.EIN");
    openFile(MainForm->OpenEintAct, file, pupilLines(4, true));
    QPointer<TEditor> view1 = openView();
    QPointer<TEditor> view2 = openView();
    QCOMPARE(MainFormHandler->GetViewSchEditors(), 2);

    FUi->queueFiles({file});
    MainForm->OpenEintAct->trigger();
    QVERIFY(view1.isNull());
    QVERIFY(view2.isNull());
    QCOMPARE(MainForm->editors().size(), 1);
    QCOMPARE(SchuelerData->Anz(), 4);
}

// ---------------------------------------------------------------- saving

void TestMainForm::saveWithName()
{
    const QString file = path("p.PRO");
    openFile(MainForm->OpenProAct, file, projectLines(3));
    ProjektData->setModified();
    MainFormHandler->UpdateStatusBar();
    QCOMPARE(MainForm->panelText(0), QStringLiteral("3 Projekte (*)"));
    FUi->clear();

    MainForm->SaveAct->trigger();
    QVERIFY(FUi->fileDialogs.isEmpty());
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("3 Projekt-Datensätze nach p.PRO geschrieben")});
    QVERIFY(!ProjektData->getModified());
    QCOMPARE(MainForm->panelText(0), QStringLiteral("3 Projekte"));

    // "Speichern unter" always asks.
    FUi->clear();
    FUi->queueFiles({path("q")});
    MainForm->SaveAsAct->trigger();
    QCOMPARE(FUi->fileDialogs.size(), 1);
    QVERIFY(FUi->fileDialogs.first().save);
    QCOMPARE(FUi->fileDialogs.first().filter, QStringLiteral("Projekt-Dateien (*.PRO)|*.PRO"));
    QCOMPARE(FUi->fileDialogs.first().helpContext, 103);
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("3 Projekt-Datensätze nach q.PRO geschrieben")});
    QCOMPARE(ProjektData->getFilename(), path("q.PRO"));
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Projekt-Editor [q.PRO]"));

    // What was written reads back.
    QFile written(path("q.PRO"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().count("\r\n"), 3);
}

void TestMainForm::storedProjectShowsInTheOverview_data()
{
    QTest::addColumn<Qt::Key>("key");   // ends the typing
    QTest::newRow("Tab") << Qt::Key_Tab;
    QTest::newRow("Enter") << Qt::Key_Return;
}

// A project appended and named in the editor shows its name in the overview
// once the row is stored, and still after the list is saved.
void TestMainForm::storedProjectShowsInTheOverview()
{
    QFETCH(Qt::Key, key);
    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor && editor->getDataType() == dtPro);
    TGridWidget* grid = editor->grid();
    grid->setFocus(Qt::OtherFocusReason);
    FUi->clear();
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(ProjektData->Anz(), 4);
    TGridWidget* overview = MainForm->ProjekteGrid;
    QCOMPARE(overview->rowCount(), 6);
    QCOMPARE(overview->cell(1, 5), QString());

    QLineEdit* cell = typeOverCell(grid, 1, 4, QStringLiteral("Zirkus"));
    QVERIFY(cell);
    QTest::keyClick(cell, key);
    QCOMPARE(ProjektData->getNr(4)->name, QStringLiteral("Zirkus"));
    QCOMPARE(overview->cell(0, 5), QStringLiteral("4"));
    QCOMPARE(overview->cell(1, 5), QStringLiteral("Zirkus"));

    MainForm->SaveAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("4 Projekt-Datensätze nach p.PRO geschrieben")});
    QCOMPARE(overview->cell(1, 5), QStringLiteral("Zirkus"));
}

void TestMainForm::saveWithoutName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no extension") << "tag" << "tag.EIN" << "tag.EIN";
    QTest::newRow("own extension") << "tag.txt" << "tag.txt" << "tag.txt";
    QTest::newRow("ends with a point") << "tag." << "tag." << "tag.";
    QTest::newRow("point in the folder") << "a.b/tag" << "a.b/tag.EIN" << "tag.EIN";
}

void TestMainForm::saveWithoutName()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, shown);
    QVERIFY(QDir(FDir->path()).mkdir("a.b"));

    // Two choices files leave the list without a name.
    writeLines(path("1.WAH"), pupilLines(2, false));
    writeLines(path("2.WAH"), pupilLines(3, false));
    FUi->queueFiles({path("1.WAH"), path("2.WAH")});
    MainForm->OpenWahlAct->trigger();
    FUi->clear();

    FUi->queueFiles({path(typed)});
    MainForm->SaveAct->trigger();
    QCOMPARE(FUi->fileDialogs.size(), 1);
    QCOMPARE(FUi->fileDialogs.first().filter, QStringLiteral("Einteilung-Dateien (*.EIN)|*.EIN"));
    QCOMPARE(FUi->fileDialogs.first().helpContext, 103);
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("5 Einteilung-Datensätze nach %1 geschrieben").arg(shown)});
    QVERIFY(QFile::exists(path(written)));
    QCOMPARE(SchuelerData->getFilename(), path(written));
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Schüler-Editor [%1]").arg(shown));
}

void TestMainForm::saveFailed_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("sizeLimit");   // bytes a file may grow to, 0 for no limit
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("namesTarget");   // the message goes on with the target's full name and the reason
    const QString cannotCreate = QStringLiteral("Fehler beim Anlegen der Datei.");
    QTest::newRow("missing folder") << "nofolder/x.PRO" << 0 << cannotCreate << false;
    QTest::newRow("folder as file") << "dir.PRO" << 0 << cannotCreate << false;
    // Over the list's own file: the old one stays whole.
    QTest::newRow("full disk") << "p.PRO" << 16 << QStringLiteral("Fehler beim Schreiben der Datei ") << true;
}

void TestMainForm::saveFailed()
{
    QFETCH(QString, target);
    QFETCH(int, sizeLimit);
    QFETCH(QString, message);
    QFETCH(bool, namesTarget);
    QVERIFY(QDir(FDir->path()).mkdir("dir.PRO"));
    const QString file = path("p.PRO");
    openFile(MainForm->OpenProAct, file, projectLines(2));
    const QByteArray oldBytes = fileBytes(file);
    ProjektData->setModified();
    FUi->clear();

    FUi->queueFiles({path(target)});
    if (sizeLimit)
        withFileSizeLimit(sizeLimit, [] { MainForm->SaveAsAct->trigger(); });
    else
        MainForm->SaveAsAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{namesTarget ? message + path(target) + becauseOf(EFBIG) : message});
    QCOMPARE(fileBytes(file), oldBytes);
    QCOMPARE(ProjektData->getFilename(), file);
    QVERIFY(ProjektData->getModified());
    QCOMPARE(MainForm->activeEditor()->windowTitle(), QStringLiteral("Projekt-Editor [p.PRO]"));
}

void TestMainForm::saveExtractView()
{
    openFile(MainForm->OpenEintAct, path("a.EIN"), pupilLines(4, true));
    TEditor* view = openView();
    QCOMPARE(MainForm->activeEditor(), view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Auszug]"));
    QVERIFY(!view->Editable());
    QVERIFY(!view->grid()->editingAllowed());
    QCOMPARE(view->grid()->rowCount(), 5);
    FUi->clear();

    // An extract view always asks, and keeps its caption.
    FUi->queueFiles({path("auszug")});
    MainForm->SaveAct->trigger();
    QCOMPARE(FUi->fileDialogs.size(), 1);
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("4 Einteilung-Datensätze nach auszug.EIN geschrieben")});
    QCOMPARE(view->getData()->getFilename(), path("auszug.EIN"));
    QCOMPARE(SchuelerData->getFilename(), path("a.EIN"));
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Auszug]"));
}

// ----------------------------------------------------- the unsaved question

void TestMainForm::saveUnsaved_data()
{
    QTest::addColumn<bool>("projects");
    QTest::addColumn<bool>("named");
    QTest::addColumn<int>("answer");           // TModalResult
    QTest::addColumn<bool>("saveDialogOk");    // the save dialog, when asked, is answered
    QTest::addColumn<bool>("agrees");
    QTest::addColumn<bool>("fileWritten");

    using R = TModalResult;
    QTest::newRow("projects yes, named") << true << true << int(R::mrYes) << true << true << true;
    QTest::newRow("projects yes, no name") << true << false << int(R::mrYes) << true << true << true;
    QTest::newRow("projects yes, dialog cancelled") << true << false << int(R::mrYes) << false << false << false;
    QTest::newRow("projects no") << true << true << int(R::mrNo) << true << true << false;
    QTest::newRow("projects cancel") << true << true << int(R::mrCancel) << true << false << false;
    QTest::newRow("pupils yes, named") << false << true << int(R::mrYes) << true << true << true;
    QTest::newRow("pupils no") << false << true << int(R::mrNo) << true << true << false;
    QTest::newRow("pupils cancel") << false << true << int(R::mrCancel) << true << false << false;
}

void TestMainForm::saveUnsaved()
{
    QFETCH(bool, projects);
    QFETCH(bool, named);
    QFETCH(int, answer);
    QFETCH(bool, saveDialogOk);
    QFETCH(bool, agrees);
    QFETCH(bool, fileWritten);

    TData* list = projects ? static_cast<TData*>(ProjektData) : static_cast<TData*>(SchuelerData);
    const QString file = path(projects ? "p.PRO" : "s.EIN");
    writeLines(file, projects ? projectLines(3) : pupilLines(3, true));
    FUi->queueFiles({file});
    (projects ? MainForm->OpenProAct : MainForm->OpenEintAct)->trigger();
    if (!named)
        list->ModSaved(QString());
    list->setModified();
    QFile::remove(file);
    FUi->clear();

    FUi->queueAnswer(TModalResult(answer));
    if (!named)
        saveDialogOk ? FUi->queueFiles({path("neu")}) : FUi->queueFileCancel();
    const bool result = MainForm->SaveUnsaved({projects ? dtPro : dtSch});

    QCOMPARE(result, agrees);
    QCOMPARE(FUi->messages.first().text,
             projects ? QStringLiteral("Die Projektdaten wurden geändert. Sollen sie gespeichert werden?")
                      : QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"));
    QCOMPARE(FUi->messages.first().caption(), QStringLiteral("Informationen"));
    QCOMPARE(FUi->messages.first().buttons, TMsgButtons(mbYes | mbNo | mbCancel));
    QCOMPARE(FUi->fileDialogs.size(), answer == int(TModalResult::mrYes) && !named ? 1 : 0);
    const QString target = named ? file : path(projects ? "neu.PRO" : "neu.EIN");
    QCOMPARE(QFile::exists(target), fileWritten);
    QCOMPARE(list->getModified(), !fileWritten);
    if (fileWritten)
        QCOMPARE(MainForm->activeEditor()->windowTitle(),
                 (projects ? QStringLiteral("Projekt-Editor [%1]") : QStringLiteral("Schüler-Editor [%1]"))
                     .arg(QFileInfo(target).fileName()));

    // The other kind is not asked about.
    FUi->clear();
    QVERIFY(MainForm->SaveUnsaved({projects ? dtSch : dtPro}));
    QVERIFY(FUi->messages.isEmpty());
}

void TestMainForm::saveUnsavedNothingModified()
{
    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    FUi->clear();
    QVERIFY(MainForm->SaveUnsaved({dtPro, dtSch}));
    QVERIFY(FUi->messages.isEmpty());

    // Projects are asked about first.
    ProjektData->setModified();
    SchuelerData->setModified();
    FUi->queueAnswer(TModalResult::mrNo);
    FUi->queueAnswer(TModalResult::mrNo);
    QVERIFY(MainForm->SaveUnsaved({dtPro, dtSch}));
    QCOMPARE(FUi->texts(), QStringList({"Die Projektdaten wurden geändert. Sollen sie gespeichert werden?",
                                        "Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"}));
    SchuelerData->ModSaved(QString());
}

void TestMainForm::saveUnsavedFailedSave()
{
    // "&Ja" whose save cannot create the file answers False: the project
    // list and the editor stay, and the open road does not go on.
    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    ProjektData->ModSaved(path("nofolder/p.PRO"));
    ProjektData->setModified();
    FUi->clear();

    FUi->queueAnswer(TModalResult::mrYes);
    MainForm->NewAct->trigger();
    QCOMPARE(FUi->texts(), QStringList({"Die Projektdaten wurden geändert. Sollen sie gespeichert werden?",
                                        "Fehler beim Anlegen der Datei."}));
    QVERIFY(FUi->fileDialogs.isEmpty());
    QCOMPARE(MainForm->editors().size(), 1);
    QCOMPARE(ProjektData->Anz(), 3);
    QVERIFY(ProjektData->getModified());
}

// ------------------------------------------------------------- closing

void TestMainForm::closeQueryRefused_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel") << int(TModalResult::mrCancel) << false;
    QTest::newRow("no") << int(TModalResult::mrNo) << true;
}

void TestMainForm::closeQueryRefused()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    openFile(MainForm->OpenEintAct, path("s.EIN"), pupilLines(3, true, 1));
    openView();
    SchuelerData->setModified();
    FUi->clear();

    FUi->queueAnswer(TModalResult(answer));
    MainForm->QuitAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
    QCOMPARE(MainForm->isVisible(), !closes);
    // Shutting down empties nothing, whatever the answer.
    QCOMPARE(MainForm->editors().size(), 3);
    QCOMPARE(SchuelerData->Anz(), 3);
    QCOMPARE(SchuelerData->getEintAnz(), 3);
    QCOMPARE(ProjektData->Anz(), 3);
}

void TestMainForm::newClosesEverything()
{
    MainForm->NewAct->trigger();   // nothing open: nothing happens
    QVERIFY(FUi->messages.isEmpty());

    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    openFile(MainForm->OpenEintAct, path("s.EIN"), pupilLines(3, true, 2));
    QList<QPointer<TEditor>> all;
    for (TEditor* e : MainForm->editors())
        all << e;
    all << openView();
    QCOMPARE(MainForm->panelText(2), QStringLiteral("3 eingeteilt"));

    MainForm->NewAct->trigger();
    for (const QPointer<TEditor>& e : all)
        QVERIFY(e.isNull());   // destroyed before the command returned
    QVERIFY(MainForm->editors().isEmpty());
    QCOMPARE(ProjektData->Anz(), 0);
    QCOMPARE(SchuelerData->Anz(), 0);
    QVERIFY(ProjektData->getFilename().isEmpty());
    QCOMPARE(MainForm->panelText(0), QStringLiteral("0 Projekte"));
    QCOMPARE(MainForm->panelText(1), QStringLiteral("0 Schüler"));
    QCOMPARE(MainForm->panelText(2), QStringLiteral("0 eingeteilt"));
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 1);
    QCOMPARE(MainForm->SchuelerGrid->rowCount(), 1);
    for (const QString& name : disabledAtStart())
        QVERIFY2(!action(name)->isEnabled(), qPrintable(name));
}

void TestMainForm::newEmptiesAListNoEditorShows_data()
{
    QTest::addColumn<bool>("projects");
    QTest::newRow("pupils of a choice selection that failed") << false;
    QTest::newRow("projects read before a read error") << true;
}

void TestMainForm::newEmptiesAListNoEditorShows()
{
    // A failed open keeps what it read without bringing up an editor;
    // "&Neu" empties that list all the same.
    QFETCH(bool, projects);
    if (projects) {
        // The read fails after the first chunk: two projects, a bad line
        // between them.
        const QString file = path("p.PRO");
        writeLines(file, projectLines(1) << QStringLiteral("kaputt; ") << projectLines(1)
                             << QLatin1Char('/') + QString(256 * 1024, u'x'));
        int replaced = 0;
        FUi->onMessage = [&](const TMessage&) {
            if (FUi->messages.size() == 1)
                replaced = failReadsOf(file);
        };
        FUi->queueFiles({file});
        MainForm->OpenProAct->trigger();
        FUi->onMessage = nullptr;
        QCOMPARE(replaced, 1);
        QCOMPARE(FUi->lastText(), QStringLiteral("Fehler beim Lesen der Datei ") + file);
        QCOMPARE(ProjektData->Anz(), 3);   // the bad line keeps its place
    } else {
        openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
        writeLines(path("a.WAH"), pupilLines(2, false));
        FUi->queueFiles({path("a.WAH"), path("missing.WAH")});
        MainForm->OpenWahlAct->trigger();
        QCOMPARE(SchuelerData->Anz(), 2);
    }
    // No editor shows the list; the pupils' case keeps the project editor.
    QCOMPARE(MainForm->editors().size(), projects ? 0 : 1);
    if (!projects)
        QCOMPARE(MainForm->editors().first()->getDataType(), dtPro);
    QCOMPARE(MainForm->panelText(projects ? 0 : 1), projects ? QStringLiteral("3 Projekte") : QStringLiteral("2 Schüler"));
    FUi->clear();

    MainForm->NewAct->trigger();
    QVERIFY(FUi->messages.isEmpty());
    QVERIFY(MainForm->editors().isEmpty());
    QCOMPARE(ProjektData->Anz(), 0);
    QCOMPARE(SchuelerData->Anz(), 0);
    QCOMPARE(MainForm->panelText(0), QStringLiteral("0 Projekte"));
    QCOMPARE(MainForm->panelText(1), QStringLiteral("0 Schüler"));
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 1);
    QCOMPARE(MainForm->SchuelerGrid->rowCount(), 1);
    QVERIFY(!MainForm->ProStatAct->isEnabled());
    QVERIFY(!MainForm->SchStatAct->isEnabled());
}

void TestMainForm::closingEditableEditors()
{
    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    openFile(MainForm->OpenEintAct, path("s.EIN"), pupilLines(3, true, 2));
    TEditor* pro = nullptr;
    for (TEditor* e : MainForm->editors())
        if (e->getDataType() == dtPro)
            pro = e;
    QVERIFY(pro);

    // The project editor: every assignment goes, the pupils stay.
    QPointer<TEditor> proGuard = pro;
    MainFormHandler->UpdateCloseProEditor();
    QVERIFY(proGuard.isNull());
    QCOMPARE(ProjektData->Anz(), 0);
    QCOMPARE(SchuelerData->Anz(), 3);
    QCOMPARE(SchuelerData->getEintAnz(), 0);
    QCOMPARE(MainForm->panelText(2), QStringLiteral("0 eingeteilt"));

    // The pupil editor closes the views first; a view empties nothing.
    QPointer<TEditor> view = openView();
    QPointer<TEditor> other = openView();
    other->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(other.isNull());
    QCOMPARE(SchuelerData->Anz(), 3);
    MainFormHandler->UpdateCloseMainSchEditor();
    QVERIFY(view.isNull());
    QVERIFY(MainForm->editors().isEmpty());
    QCOMPARE(SchuelerData->Anz(), 0);
    QCOMPARE(MainForm->panelText(1), QStringLiteral("0 Schüler"));
}

void TestMainForm::closingAListRecountsBothOverviews_data()
{
    QTest::addColumn<int>("closed");
    QTest::newRow("pupil editor: the projects count nobody") << int(dtSch);
    QTest::newRow("project editor: the classes count nobody assigned") << int(dtPro);
}

void TestMainForm::closingAListRecountsBothOverviews()
{
    // Three pupils of 7a in project 2.
    QFETCH(int, closed);
    openFile(MainForm->OpenProAct, path("p.PRO"), projectLines(3));
    openFile(MainForm->OpenEintAct, path("s.EIN"), pupilLines(3, true, 2));
    QCOMPARE(MainForm->ProjekteGrid->rowTexts(3).mid(0, 3), QStringList({"2", "Projekt 2", "3"}));
    QCOMPARE(MainForm->SchuelerGrid->rowTexts(1).mid(0, 3), QStringList({" 7a", "3", "3"}));
    for (TEditor* e : MainForm->editors())
        if (e->getDataType() == TDataType(closed))
            e->close();
    QCOMPARE(FUi->unanswered, 0);
    if (closed == dtSch) {
        QCOMPARE(MainForm->ProjekteGrid->rowTexts(3).mid(0, 3), QStringList({"2", "Projekt 2", "0"}));
        QCOMPARE(MainForm->SchuelerGrid->rowCount(), 1);
    } else {
        QCOMPARE(MainForm->ProjekteGrid->rowCount(), 1);
        QCOMPARE(MainForm->SchuelerGrid->rowTexts(1).mid(0, 3), QStringList({" 7a", "3", "0"}));
    }
}

void TestMainForm::emptyListEditor_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("row");
    QTest::newRow("projects") << "ActivateProAct" << "Projekt-Editor"
                              << QStringList{"1", "", "1", "13", "0", "1000", "-", "-"};
    QTest::newRow("pupils") << "ActivateSchAct" << "Schüler-Editor"
                            << QStringList{"", "w", "0", " ", "-", "0", "0", "0", "0", "0", "0"};
}

void TestMainForm::emptyListEditor()
{
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(QStringList, row);
    action(command)->trigger();
    QCOMPARE(FUi->texts(), QStringList{"Erzeuge leeren Eintrag."});
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), caption);
    QCOMPARE(editor->grid()->rowCount(), 2);
    QCOMPARE(editor->grid()->rowTexts(1), row);
    QCOMPARE(editor->getData()->Anz(), 1);
    QVERIFY(!editor->getData()->getModified());
    QVERIFY(!MainForm->panelText(0).contains("(*)"));
    QVERIFY(!MainForm->panelText(1).contains("(*)"));
    QCOMPARE(editor->grid()->colCount(), editor->getData()->getRecCount());
    QCOMPARE(editor->grid()->rowTexts(0), editor->getData()->getRecCaptions());
    QCOMPARE(editor->windowIcon().cacheKey(), MainForm->getImageList().value(command == "ActivateProAct" ? 4 : 3).cacheKey());
}

void TestMainForm::editorPlacement()
{
    MainForm->ActivateProAct->trigger();
    MainForm->ActivateSchAct->trigger();
    const QList<TEditor*> list = MainForm->editors();
    QCOMPARE(list.size(), 2);
    const QRect first = list[0]->geometry();
    const QRect second = list[1]->geometry();
    const int caption = list[0]->height() - list[0]->widget()->height() - 4;
    QVERIFY(caption > 0);
    QCOMPARE(first.topLeft(), QPoint(0, 0));
    QCOMPARE(first.size(), QSize(MainForm->getEditorWidth(), MainForm->getEditorHeight()));
    QCOMPARE(second.topLeft(), QPoint(0, caption));
    QCOMPARE(second.width(), MainForm->getEditorWidth());
    QCOMPARE(second.height(), MainForm->getEditorHeight() - caption);
}

// Whatever changes the room beside the overview, the open editors fit it:
// their frames whole, no scroll bar of the window area, no strip left bare.
void TestMainForm::editorsFitTheArea_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("names widen the overview") << "names";
    QTest::newRow("overview hidden") << "hide";
    QTest::newRow("editors opened while hidden, overview shown") << "show";
    QTest::newRow("window narrower") << "narrower";
    QTest::newRow("window wider") << "wider";
}

void TestMainForm::editorsFitTheArea()
{
    QFETCH(QString, change);
    const auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    };
    // A school laptop's 1024x768 less the window's margins.
    MainForm->resize(924, 640);
    if (change == "show")
        MainForm->ShowOverviewAct->trigger();
    settle();
    MainForm->ActivateProAct->trigger();
    MainForm->ActivateSchAct->trigger();
    settle();
    QCOMPARE(MainForm->editors().size(), 2);
    const int overview = MainForm->Uebersicht->width();

    if (change == "names") {
        openFile(MainForm->OpenProAct, path(QStringLiteral("tag.PRO")),
                 {"1; Schülerzeitung „Pausenhof“ mit Fotografie und Layout für Fortgeschrittene; 5; 10; 2; 30; -; -;   0; ",
                  "2; Chor; 5; 10; 2; 30; -; -;   0; "});
        settle();
        QVERIFY(MainForm->Uebersicht->width() > overview);
    } else if (change == "hide" || change == "show") {
        MainForm->ShowOverviewAct->trigger();
        QCOMPARE(MainForm->Uebersicht->isHidden(), change == "hide");
    } else {
        MainForm->resize(change == "narrower" ? QSize(760, 520) : QSize(1100, 740));
    }
    settle();

    QMdiArea* area = MainForm->clientArea();
    const QRect viewport = area->viewport()->rect();
    QVERIFY(!area->horizontalScrollBar()->isVisible());
    QVERIFY(!area->verticalScrollBar()->isVisible());
    for (TEditor* e : MainForm->editors()) {
        const QRect r = e->geometry();
        const QString where = QStringLiteral("%1: %2,%3 %4x%5 in %6x%7")
                                  .arg(e->windowTitle()).arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height())
                                  .arg(viewport.width()).arg(viewport.height());
        QVERIFY2(viewport.contains(r), qPrintable(where));
        // Both reach the area's right and lower edge as when they opened.
        QVERIFY2(r.right() + 1 >= viewport.width() - 4, qPrintable(where));
        QVERIFY2(r.bottom() + 1 >= viewport.height() - 4, qPrintable(where));
    }
}

// An editor moved past the area's edge by hand can be scrolled to; "Anordnen"
// then tiles the editors over the whole area again, and the scroll bars go.
void TestMainForm::editorMovedPastTheEdgeScrolls()
{
    QMdiArea* area = MainForm->clientArea();
    MainForm->ActivateProAct->trigger();
    MainForm->ActivateSchAct->trigger();
    QCoreApplication::processEvents();
    TEditor* sch = MainForm->activeEditor();
    QVERIFY(sch);
    sch->move(area->viewport()->width() / 2, sch->y());
    QCoreApplication::processEvents();
    QScrollBar* h = area->horizontalScrollBar();
    QVERIFY(h->isVisible());
    QVERIFY(h->maximum() > 0);

    h->setValue(h->maximum());
    QCoreApplication::processEvents();
    QVERIFY(sch->geometry().right() < area->viewport()->width());

    MainForm->ArrangeAct->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!h->isVisible());
    QVERIFY(!area->verticalScrollBar()->isVisible());
    const QRect viewport = area->viewport()->rect();
    const QList<TEditor*> list = MainForm->editors();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list[0]->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(list[1]->geometry().left(), 0);
    for (TEditor* e : list)
        QCOMPARE(e->geometry().width(), viewport.width());
    QCOMPARE(list[1]->geometry().top(), list[0]->geometry().bottom() + 1);
    QCOMPARE(list[1]->geometry().bottom(), viewport.bottom());
}

void TestMainForm::projektColumnShowsWithWahl5_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Right from Wahl4") << int(Qt::Key_Right);
    QTest::newRow("End") << int(Qt::Key_End);
}

// In a pupil editor narrower than its columns, the cursor stops at "Wahl5"
// and "Projekt", which it never enters, comes into view with it.
void TestMainForm::projektColumnShowsWithWahl5()
{
    QFETCH(int, key);
    MainForm->resize(700, 500);
    QCoreApplication::processEvents();
    MainForm->ActivateSchAct->trigger();
    TEditor* sch = MainForm->activeEditor();
    QVERIFY(sch);
    TGridWidget* grid = sch->grid();
    const int projekt = grid->colCount() - 1;
    QCOMPARE(grid->cell(projekt, 0), QStringLiteral("Projekt"));
    for (int c = 0; c < grid->colCount(); ++c)
        grid->setColWidth(c, 90);
    QCoreApplication::processEvents();
    QVERIFY(grid->viewport()->width() < 90 * grid->colCount());
    grid->setFocus(Qt::OtherFocusReason);
    QVERIFY(grid->setCurrentCell(projekt - 2, 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(grid->col(), projekt - 1);
    QCoreApplication::processEvents();
    const QRect cell = grid->visualRect(grid->model()->index(0, projekt));
    QVERIFY2(grid->viewport()->rect().contains(cell),
             qPrintable(QStringLiteral("at %1 of %2").arg(cell.right()).arg(grid->viewport()->width())));
}

void TestMainForm::f6SwitchesBetweenEditorAndOverview_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QStringList>("tabStops");
    const QStringList pro{"ProjekteGrid", "ProStatBut", "ProShowBut"};
    const QStringList sch{"SchuelerGrid", "SchStatBut", "SchShowBut"};
    QTest::newRow("Projekte") << 0 << false << pro;
    QTest::newRow("Schüler") << 1 << false << sch;
    QTest::newRow("Projekte, a cell being edited") << 0 << true << pro;
}

// F6 takes the focus from the editor to the overview's page tabs, Tab goes
// on to the page's grid and buttons, and F6 brings it back to the editor.
void TestMainForm::f6SwitchesBetweenEditorAndOverview()
{
    QFETCH(int, page);
    QFETCH(bool, editing);
    QFETCH(QStringList, tabStops);
    MainForm->Uebersicht->setCurrentIndex(page);
    MainForm->ActivateSchAct->trigger();
    MainForm->ActivateProAct->trigger();
    TEditor* pro = MainForm->activeEditor();
    QVERIFY(pro && pro->getDataType() == dtPro);
    pro->grid()->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    if (editing) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QVERIFY(pro->grid()->isEditing());
    }
    const auto focusName = [] {
        const QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() + QStringLiteral(" (") + QString::fromLatin1(w->metaObject()->className())
                       + QLatin1Char(')')
                 : QStringLiteral("none");
    };

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QWidget* tabs = QApplication::focusWidget();
    QVERIFY2(tabs && MainForm->Uebersicht->isAncestorOf(tabs), qPrintable(focusName()));
    QVERIFY(!pro->grid()->isEditing());
    // The page tabs switch the page by key.
    QTest::keyClick(tabs, page == 0 ? Qt::Key_Right : Qt::Key_Left);
    QCOMPARE(MainForm->Uebersicht->currentIndex(), 1 - page);
    QTest::keyClick(tabs, page == 0 ? Qt::Key_Left : Qt::Key_Right);
    QCOMPARE(MainForm->Uebersicht->currentIndex(), page);
    for (const QString& stop : tabStops) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() && QApplication::focusWidget()->objectName() == stop,
                 qPrintable(stop + QStringLiteral(" expected, focus on ") + focusName()));
    }

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), pro->grid());
    QCOMPARE(MainForm->activeEditor(), pro);
}

void TestMainForm::hidingTheOverviewKeepsTheActiveEditor_data()
{
    QTest::addColumn<bool>("pupilsLast");   // the pupil editor opened last
    QTest::newRow("pupil editor active") << true;
    QTest::newRow("project editor active") << false;
}

// Hidden while it holds the focus, the overview gives it back to the active
// editor, which stays active.
void TestMainForm::hidingTheOverviewKeepsTheActiveEditor()
{
    QFETCH(bool, pupilsLast);
    MainForm->ActivateProAct->trigger();
    MainForm->ActivateSchAct->trigger();
    if (!pupilsLast)
        MainForm->ActivateProAct->trigger();
    TEditor* active = MainForm->activeEditor();
    QVERIFY(active && active->getDataType() == (pupilsLast ? dtSch : dtPro));
    active->grid()->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QVERIFY(MainForm->Uebersicht->isAncestorOf(QApplication::focusWidget()));

    MainForm->ShowOverviewAct->trigger();
    QCoreApplication::processEvents();
    QVERIFY(MainForm->Uebersicht->isHidden());
    QCOMPARE(MainForm->activeEditor(), active);
    QCOMPARE(QApplication::focusWidget(), active->grid());
}

void TestMainForm::activateEditorKeepsActive()
{
    MainForm->ActivateProAct->trigger();
    TEditor* pro = MainForm->activeEditor();
    FUi->clear();
    MainForm->ActivateProAct->trigger();
    QCOMPARE(MainForm->editors().size(), 1);
    QCOMPARE(MainForm->activeEditor(), pro);
    QVERIFY(FUi->messages.isEmpty());

    // Passing over views on the way to a new editor.
    MainForm->ActivateSchAct->trigger();
    TEditor* sch = MainForm->activeEditor();
    openView();
    MainForm->ActivateSchAct->trigger();
    QCOMPARE(MainForm->activeEditor(), sch);
    QCOMPARE(MainForm->editors().size(), 3);
    MainForm->ActivateProAct->trigger();
    QCOMPARE(MainForm->activeEditor(), pro);
}

void TestMainForm::commandStates_data()
{
    QTest::addColumn<int>("kind");   // 0 none, 1 pupil editor, 2 project editor, 3 view
    QTest::addColumn<bool>("pupils");
    QTest::addColumn<bool>("any");
    QTest::addColumn<bool>("editable");
    QTest::newRow("project editor") << 2 << false << true << true;
    QTest::newRow("pupil editor") << 1 << true << true << true;
    QTest::newRow("extract view") << 3 << true << true << false;
}

void TestMainForm::overviewAndStatusBarFitTheirTexts()
{
    // A large school: counts of five digits, fill states of six characters.
    auto* big = new TProjekt(1);
    big->name = QStringLiteral("Theater");
    big->teilnmax = 5;
    ProjektData->add(big);
    auto* small = new TProjekt(2);
    small->name = QStringLiteral("Chor");
    small->teilnmin = 20000;
    ProjektData->add(small);
    for (int i = 0; i < 20000; ++i) {
        auto* p = new TSchueler;
        p->name = QStringLiteral("Schüler %1").arg(i);
        p->jgst = 5 + i % 9;
        p->abt = QString(QLatin1Char(char('a' + i % 8)));
        p->wahl[1] = 1;
        p->zuteil = i < 12000 ? 1 : 0;
        SchuelerData->add(p);
    }
    SchuelerData->setModified();
    MainFormHandler->UpdateAll();
    QCOMPARE(MainForm->panelText(1), QStringLiteral("20000 Schüler (*)"));
    QCOMPARE(MainForm->ProjekteGrid->cell(3, 2), QStringLiteral("+11995"));
    auto* overview = MainForm->findChild<QTabWidget*>(QStringLiteral("Uebersicht"));
    for (int page = 0; page < 2; ++page) {
        overview->setCurrentIndex(page);
        QCoreApplication::processEvents();
        TGridWidget* grid = page == 0 ? MainForm->ProjekteGrid : MainForm->SchuelerGrid;
        const QFontMetrics caption = grid->horizontalHeader()->fontMetrics();
        for (int c = 0; c < grid->colCount(); ++c) {
            if (page == 0 && c == 1)
                continue;   // project names may be cut
            QVERIFY2(caption.horizontalAdvance(grid->cell(c, 0)) < grid->colWidth(c), qPrintable(grid->cell(c, 0)));
            for (int r = 1; r < grid->rowCount(); ++r)
                QVERIFY2(grid->textWidth(grid->cell(c, r)) < grid->colWidth(c), qPrintable(grid->cell(c, r)));
            QVERIFY(grid->colWidth(c) >= (page == 0 ? 30 : 40));
        }
        // The name and class columns keep at least their standard width,
        // and the panel fits the grid: no column is pushed out of sight.
        QVERIFY(grid->colWidth(page == 0 ? 1 : 0) >= (page == 0 ? 75 : 45));
        int total = 0;
        for (int c = 0; c < grid->colCount(); ++c)
            total += grid->colWidth(c);
        QVERIFY2(total <= grid->viewport()->width(), qPrintable(QStringLiteral("%1 > %2").arg(total).arg(grid->viewport()->width())));
    }
    QVERIFY(overview->width() >= 200);
    static const int least[5] = {100, 100, 100, 100, 200};
    MainForm->setPanelText(3, QStringLiteral("Zeile 20000"));
    MainForm->setPanelText(4, QStringLiteral(" (1=Theater und Musik für alle Jahrgänge)"));
    for (int i = 0; i < 5; ++i) {
        auto* panel = MainForm->findChild<QLabel*>(QStringLiteral("Panel%1").arg(i));
        QVERIFY(panel->width() >= least[i]);
        QVERIFY2(panel->fontMetrics().horizontalAdvance(panel->text()) <= panel->contentsRect().width(),
                 qPrintable(panel->text()));
    }
}

void TestMainForm::overviewNameColumnFitsTheNames_data()
{
    QTest::addColumn<bool>("tooLong");
    QTest::newRow("names of a project day") << false;
    QTest::newRow("a name wider than the window") << true;
}

void TestMainForm::overviewNameColumnFitsTheNames()
{
    QFETCH(bool, tooLong);
    const QStringList names{"Theater", "Schülerzeitung „Pausenhof“", "Töpfern für Anfänger", "Chor"};
    for (int k = 1; k <= names.size(); ++k) {
        auto* p = new TProjekt(k);
        p->name = names[k - 1];
        ProjektData->add(p);
    }
    TGridWidget* grid = MainForm->ProjekteGrid;
    MainFormHandler->UpdateProStat();
    // A window wide enough for every column of the widest name.
    int row = 0;
    for (int c = 0; c < grid->colCount(); ++c)
        row += grid->fitWidth(c);
    MainForm->resize(3 * (row + 200), MainForm->height());
    QString longName;
    if (tooLong) {
        while (grid->textWidth(longName) <= MainForm->width())
            longName += QStringLiteral("Arbeitsgemeinschaft Naturwissenschaften ");
        ProjektData->getNr(2)->name = longName;
    }
    MainFormHandler->UpdateProStat();
    QCoreApplication::processEvents();

    QVERIFY2(MainForm->Uebersicht->width() <= MainForm->width() / 3,
             qPrintable(QStringLiteral("%1 of %2").arg(MainForm->Uebersicht->width()).arg(MainForm->width())));
    int total = 0;
    for (int c = 0; c < grid->colCount(); ++c)
        total += grid->colWidth(c);
    QVERIFY(total <= grid->viewport()->width());
    if (!tooLong)
        QVERIFY(grid->colWidth(1) >= grid->fitWidth(1));

    // A name that fits has no tool tip; one cut shows whole in it.
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    auto tipAt = [grid](int r) {
        const QPoint at = grid->visualRect(grid->model()->index(r - 1, 1)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(5), QString());   // "Chor"
    QCOMPARE(tipAt(3), tooLong ? longName : QString());
}

void TestMainForm::overviewRebuildKeepsTheSelectedRow_data()
{
    // Entries: class texts (a pupil each) or project names; the rows of
    // the overview before and after the data changed.
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("entry");
    QTest::newRow("class moved down by a new one") << 1 << QStringList{"7a", "9a"} << QStringList{"7a", "8a", "9a"} << 2 << 3 << " 9a";
    QTest::newRow("class shown in another case") << 1 << QStringList{"7a", "9a"} << QStringList{"7a", "8b", "9A"} << 2 << 3 << " 9A";
    QTest::newRow("last class gone") << 1 << QStringList{"7a", "8a", "9a"} << QStringList{"7a", "8a"} << 3 << 2 << " 8a";
    QTest::newRow("middle class gone") << 1 << QStringList{"7a", "8a", "9a"} << QStringList{"7a", "9a"} << 2 << 2 << " 9a";
    // Far below the rows in view: the view follows it.
    QStringList many;
    for (const QString grade : {"5", "6", "12", "13"})
        for (char letter = 'a'; letter <= 'z'; ++letter)
            if (grade != QLatin1String("12") || letter == 'a')
                many << grade + QLatin1Char(letter);
    QTest::newRow("class moved far down") << 1 << QStringList{"5a", "12a"} << many << 2 << 53 << "12a";
    QTest::newRow("project kept") << 0 << QStringList{"A", "B", "C"} << QStringList{"A", "B", "C", "D"} << 3 << 3 << "2";
    QTest::newRow("project gone") << 0 << QStringList{"A", "B", "C", "D", "E"} << QStringList{"A", "B", "C"} << 6 << 4 << "3";
    // A project is known by its name, also in a list read anew.
    QTest::newRow("project moved") << 0 << QStringList{"A", "B", "C"} << QStringList{"B", "A", "C"} << 2 << 3 << "2";
    QTest::newRow("project of a repeated name") << 0 << QStringList{"Sport", "Kunst", "Sport"}
                                                << QStringList{"Sport", "Kunst", "Sport"} << 4 << 4 << "3";
}

void TestMainForm::overviewRebuildKeepsTheSelectedRow()
{
    QFETCH(int, page);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, selected);
    QFETCH(int, row);
    QFETCH(QString, entry);
    auto fill = [page](const QStringList& entries) {
        SchuelerData->ClearData();
        ProjektData->ClearData();
        for (int i = 0; i < entries.size(); ++i) {
            if (page == 0) {
                auto* p = new TProjekt(i + 1);
                p->name = entries[i];
                ProjektData->add(p);
            } else {
                auto* s = new TSchueler;
                s->name = QStringLiteral("S%1").arg(i);
                s->jgst = entries[i].chopped(1).toInt();
                s->abt = entries[i].right(1);
                SchuelerData->add(s);
            }
        }
        if (page == 0)
            MainFormHandler->UpdateProStat();
        else
            MainFormHandler->UpdateSchStat();
    };
    TGridWidget* grid = page == 0 ? MainForm->ProjekteGrid : MainForm->SchuelerGrid;
    MainForm->Uebersicht->setCurrentIndex(page);
    QTRY_VERIFY(grid->isVisible());
    fill(before);
    QVERIFY(grid->setRow(selected));
    const int top = grid->topRow();
    fill(after);
    QCOMPARE(grid->row(), row);
    QCOMPARE(grid->cell(0, row), entry);
    QVERIFY(grid->selectionModel()->isRowSelected(row - 1));
    // The row is in sight; the view moved no further than that needs.
    const QRect view = grid->viewport()->rect();
    QVERIFY(view.contains(grid->visualRect(grid->currentIndex())));
    if (grid->topRow() != top)
        QVERIFY(grid->topRow() == row || !view.contains(grid->visualRect(grid->model()->index(row, 0))));
}

void TestMainForm::disabledToolButtonsLookDisabled()
{
    // Every picture of the tool bar, grey ones too, is faded when its
    // command is off.
    auto alphaSum = [](const QImage& image) {
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += qAlpha(image.pixel(x, y));
        return sum;
    };
    int pictures = 0;
    for (QAction* a : MainForm->ToolBar->actions()) {
        if (a->icon().isNull())
            continue;
        ++pictures;
        const QSize size = MainForm->ToolBar->iconSize();
        const QImage normal = a->icon().pixmap(size, QIcon::Normal).toImage();
        const QImage disabled = a->icon().pixmap(size, QIcon::Disabled).toImage();
        QVERIFY2(alphaSum(normal) > 0, qPrintable(a->objectName()));
        QVERIFY2(alphaSum(disabled) * 2 < alphaSum(normal), qPrintable(a->objectName()));
    }
    QVERIFY2(pictures >= 10, qPrintable(QString::number(pictures)));
    // The two assignment buttons among them, off at the start.
    for (QAction* a : {MainForm->AutoEinteilAct, MainForm->HandEintAct}) {
        QVERIFY(!a->isEnabled());
        QWidget* button = MainForm->ToolBar->widgetForAction(a);
        QVERIFY(button && !button->isEnabled());
    }
}

void TestMainForm::commandStates()
{
    QFETCH(int, kind);
    QFETCH(bool, pupils);
    QFETCH(bool, any);
    QFETCH(bool, editable);
    if (kind == 2)
        MainForm->ActivateProAct->trigger();
    else
        MainForm->ActivateSchAct->trigger();
    if (kind == 3)
        openView();

    for (QAction* a : {MainForm->BewegModeAct, MainForm->AuszugAct, MainForm->mmBSort->menuAction(), MainForm->HandEintAct})
        QVERIFY2(a->isEnabled() == pupils, qPrintable(a->objectName() + a->text()));
    for (QAction* a : {MainForm->ExportAct, MainForm->SaveAsAct, MainForm->SaveAct, MainForm->PrintAct})
        QVERIFY2(a->isEnabled() == any, qPrintable(a->objectName()));
    for (QAction* a : {MainForm->mmBInsert->menuAction(), MainForm->InsertHereAct, MainForm->InsertEndAct,
                       MainForm->DeleteAct, MainForm->SearchAct})
        QVERIFY2(a->isEnabled() == editable, qPrintable(a->objectName() + a->text()));
    // Only projects or only pupils: the assignment commands stay off.
    QVERIFY(!MainForm->AutoEinteilAct->isEnabled());
}

void TestMainForm::closingViewKeepsActiveCommands()
{
    MainForm->ActivateProAct->trigger();
    MainForm->ActivateSchAct->trigger();
    QVERIFY(MainForm->AutoEinteilAct->isEnabled());
    TEditor* sch = MainForm->activeEditor();
    openView();
    openView();
    MainForm->activateEditor(sch);
    QCOMPARE(MainForm->activeEditor(), sch);

    // Views closing behind the active pupil editor leave its commands on.
    MainFormHandler->UpdateCloseViewSchEditors();
    QCOMPARE(MainForm->editors().size(), 2);
    QCOMPARE(MainForm->activeEditor(), sch);
    QVERIFY(MainForm->SaveAct->isEnabled());
    QVERIFY(MainForm->DeleteAct->isEnabled());
    QVERIFY(MainForm->BewegModeAct->isEnabled());

    // The active editor closing hands over to the next one.
    MainFormHandler->UpdateCloseMainSchEditor();
    TEditor* pro = MainForm->activeEditor();
    QVERIFY(pro && pro->getDataType() == dtPro);
    QVERIFY(MainForm->SaveAct->isEnabled());
    QVERIFY(MainForm->DeleteAct->isEnabled());
    QVERIFY(!MainForm->BewegModeAct->isEnabled());

    MainFormHandler->UpdateCloseProEditor();
    QVERIFY(!MainForm->SaveAct->isEnabled());
    QVERIFY(!MainForm->DeleteAct->isEnabled());
}

KESTRIN_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"

// The main window's commands as the user finds them: every action's text,
// shortcut, image, help context, tool-tip and enabled state, read from the
// real menu bar and tool bar; the menus' order; the file-type pop-up; the
// window menu's list of editors; arranging and switching editor windows.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "platform/UGridWidget.h"
#include "platform/UHelpContext.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

namespace {

// "caption{child,child}" for a submenu, "-" for a separator, else the
// action's object name.
QStringList describe(const QMenu* menu)
{
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            items << QStringLiteral("-");
        } else if (QMenu* sub = a->menu()) {
            items << sub->objectName() + QLatin1Char('{') + describe(sub).join(QLatin1Char(',')) + QLatin1Char('}');
        } else {
            items << a->objectName();
        }
    }
    return items;
}

// Every action reachable from the menu bar, submenus included.
void collect(const QMenu* menu, QList<QAction*>& into)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        into << a;
        if (QMenu* sub = a->menu())
            collect(sub, into);
    }
}

QList<QAction*> menuBarActions()
{
    QList<QAction*> all;
    for (QAction* top : MainForm->menuBar()->actions())
        if (QMenu* menu = top->menu()) {
            all << top;
            collect(menu, all);
        }
    return all;
}

QAction* inMenuBar(const QString& name)
{
    for (QAction* a : menuBarActions()) {
        if (a->objectName() == name)
            return a;
        if (a->menu() && a->menu()->objectName() == name)
            return a;
    }
    return nullptr;
}

int helpOf(const QObject* o)
{
    return HelpContextOf(o);
}

}   // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void actionTable_data();
    void actionTable();
    void menuBar_data();
    void menuBar();
    void toolBar();
    void enabling_data();
    void enabling();
    void fileTypePopUp();
    void windowMenu();
    void arrangeAndNext();
    void overviewPanel();
    void overviewGridFocusRebuilds();
    void commandErrorsAreShown();

private:
    std::unique_ptr<TScriptedUi> FUi;
    TAppForms FForms;
};

void TestCommands::init()
{
    FUi = std::make_unique<TScriptedUi>();
    QVERIFY(FForms.start());
}

void TestCommands::cleanup()
{
    FForms.stop();
    FUi.reset();
}

// ------------------------------------------------------------- the table

void TestCommands::actionTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("help");
    QTest::addColumn<QString>("tip");

    auto row = [](const char* name, const char* caption, const char* shortcut, int image, int help, const char* tip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << QString::fromLatin1(shortcut)
                            << image << help << QString::fromUtf8(tip);
    };
    row("NewAct", "&Neu", "", 6, 105, "");
    row("OpenAct", "Ö&ffnen", "Ctrl+O", 7, 102, "Öffnen ...");
    row("OpenProAct", "&Projekte öffnen", "", -1, 102, "");
    row("OpenWahlAct", "Schüler&wahlen öffnen", "", -1, 102, "");
    row("OpenEintAct", "Schüler&einteilung öffnen", "", -1, 102, "");
    row("SaveAct", "&Speichern", "Ctrl+S", 8, 103, "Speichern");
    row("SaveAsAct", "Speichern &unter ...", "", -1, 103, "");
    row("ImportAct", "&Importieren", "", 13, 101, "Importieren ...");
    row("ExportAct", "&Exportieren", "", 16, 104, "");
    row("PrintAct", "&Drucken", "", 14, 106, "Drucken ...");
    row("QuitAct", "&Beenden", "", -1, 107, "");
    row("ActivateProAct", "&Projekt-Editor", "", 4, 111, "Projekt-Editor");
    row("ActivateSchAct", "&Schüler-Editor", "", 3, 112, "Schüler-Editor");
    row("InsertHereAct", "&Hier einfügen", "Shift+Ins", -1, 117, "");
    row("InsertEndAct", "Am &Ende einfügen", "Ctrl+Ins", -1, 117, "");
    row("DeleteAct", "&Löschen", "Shift+Del", -1, 117, "");
    row("SearchAct", "S&uchen", "Ctrl+F", 12, 116, "Suchen");
    row("BewegModeAct", "&Bewegungsmodus", "Ctrl+B", 10, 113, "Alle/nur Wahlfehlder editieren");
    row("AuszugAct", "Schüler&auszug editieren", "", -1, 115, "");
    row("AutoEinteilAct", "&Automatische Einteilung", "Ctrl+A", 0, 120, "Automatisch in Projekte einteilen");
    row("DelEintAct", "Einteilung &löschen", "", -1, 121, "");
    row("HandEintAct", "&Manuelle Einteilung", "Ctrl+T", 5, 122, "Manuelle Einteilung");
    row("DelHandEintAct", "Manuelle Einteilungen lö&schen", "", -1, 123, "");
    row("SchStatAct", "&Schülerstatistik", "", -1, 130, "");
    row("ProStatAct", "&Projektstatistik", "", -1, 131, "");
    row("ShowOverviewAct", "Ü&bersicht anzeigen", "", -1, 132, "");
    row("ArrangeAct", "&Anordnen", "", 15, 135, "");
    row("NextWinAct", "&Nächstes", "", -1, 135, "");
    row("HelpAct", "Übersicht über &Hilfe", "F1", 11, 0, "");
    row("InfoAct", "Über &zuv", "", -1, 0, "");
    // Plain menu items.
    row("mBSortN", "Name", "", -1, 114, "");
    row("mBSortKl", "Klasse, dann Name", "", -1, 114, "");
    row("mbSortPN", "Projekt, dann Name", "", -1, 114, "");
    row("mBSortPKl", "Projekt, dann Klasse", "", -1, 114, "");
    row("mDMessageWin", "DebugMessages", "", -1, 0, "");
    row("mDMemory", "Memory", "", -1, 0, "");
    row("mDVerify", "Verify", "", -1, 0, "");
    // Submenus.
    row("mDOpen", "Ö&ffnen", "", 7, 102, "");
    row("mmBInsert", "E&infügen", "", -1, 117, "");
    row("mmBSort", "So&rtieren", "", -1, 114, "");
}

void TestCommands::actionTable()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(int, image);
    QFETCH(int, help);
    QFETCH(QString, tip);

    // OpenAct lives on the tool bar and under Ctrl+O; all others in the menus.
    QAction* a = name == QLatin1String("OpenAct") ? MainForm->OpenAct : inMenuBar(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
    const QObject* helpCarrier = a->menu() ? static_cast<QObject*>(a->menu()) : a;
    QCOMPARE(helpOf(helpCarrier), help);
    if (image < 0) {
        QVERIFY(a->icon().isNull());
    } else {
        const QList<QIcon>& images = MainForm->getImageList();
        QCOMPARE(images.size(), 18);
        QCOMPARE(a->icon().cacheKey(), images.at(image).cacheKey());
    }
    if (!tip.isEmpty()) {
        QCOMPARE(a->toolTip(), tip);
        if (QWidget* button = MainForm->ToolBar->widgetForAction(a))
            QCOMPARE(button->toolTip(), tip);
    }
}

void TestCommands::menuBar_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("Datei") << "&Datei" << true
                           << QStringList{"NewAct", "mDOpen{OpenProAct,OpenWahlAct,OpenEintAct}", "SaveAct", "SaveAsAct", "-",
                                          "ImportAct", "ExportAct", "PrintAct", "-", "QuitAct"};
    QTest::newRow("Bearbeiten") << "&Bearbeiten" << true
                                << QStringList{"ActivateProAct", "ActivateSchAct", "-", "mmBInsert{InsertHereAct,InsertEndAct}",
                                               "DeleteAct", "-", "SearchAct", "-",
                                               "mmBSort{mBSortN,mBSortKl,mbSortPN,mBSortPKl}", "BewegModeAct", "AuszugAct"};
    QTest::newRow("Einteilung") << "&Einteilung" << true
                                << QStringList{"AutoEinteilAct", "DelEintAct", "HandEintAct", "DelHandEintAct"};
    QTest::newRow("Statistik") << "&Statistik" << true << QStringList{"SchStatAct", "ProStatAct"};
    QTest::newRow("Ansicht") << "&Ansicht" << true << QStringList{"ShowOverviewAct", "-", "ArrangeAct", "NextWinAct"};
    QTest::newRow("Hilfe") << "&Hilfe" << true << QStringList{"HelpAct", "InfoAct"};
    QTest::newRow("Debug") << "Debug" << false << QStringList{"mDMessageWin", "mDMemory", "mDVerify"};
}

void TestCommands::menuBar()
{
    QFETCH(QString, title);
    QFETCH(bool, visible);
    QFETCH(QStringList, items);
    static const QStringList order{"&Datei", "&Bearbeiten", "&Einteilung", "&Statistik", "&Ansicht", "&Hilfe", "Debug"};
    const QList<QAction*> tops = MainForm->menuBar()->actions();
    QStringList titles;
    for (QAction* t : tops)
        titles << t->text();
    QCOMPARE(titles, order);
    QAction* top = tops.at(order.indexOf(title));
    QVERIFY(top->menu());
    QCOMPARE(top->isVisible(), visible);
    QCOMPARE(describe(top->menu()), items);
}

void TestCommands::toolBar()
{
    QToolBar* bar = MainForm->ToolBar;
    QCOMPARE(bar->objectName(), QStringLiteral("ToolBar"));
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QStringList items;
    for (QAction* a : bar->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(items, (QStringList{"ImportAct", "OpenAct", "SaveAct", "PrintAct", "-", "ActivateProAct", "ActivateSchAct",
                                 "BewegModeAct", "SearchAct", "-", "AutoEinteilAct", "HandEintAct"}));
    for (QAction* a : bar->actions()) {
        if (a->isSeparator())
            continue;
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        QVERIFY(button);
        QCOMPARE(button->defaultAction(), a);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    // The movement mode button and menu item carry one check mark.
    QVERIFY(MainForm->BewegModeAct->isCheckable());
    QVERIFY(!MainForm->BewegModeAct->isChecked());
    QVERIFY(MainForm->ShowOverviewAct->isCheckable());
    QVERIFY(MainForm->ShowOverviewAct->isChecked());
}

// ------------------------------------------------------------- enabling

void TestCommands::enabling_data()
{
    QTest::addColumn<int>("scene");   // 0 start, 1 project editor, 2 pupil editor, 3 extract view
    QTest::newRow("start") << 0;
    QTest::newRow("project editor, projects only") << 1;
    QTest::newRow("pupil editor, projects and pupils") << 2;
    QTest::newRow("extract view") << 3;
}

void TestCommands::enabling()
{
    QFETCH(int, scene);
    if (scene >= 1)
        for (int k = 1; k <= 3; ++k)
            ProjektData->add(new TProjekt(TZeile(QStringLiteral("%1; P%1; 5; 10; 2; 20; -; -; 0; ").arg(k))));
    if (scene >= 2)
        for (int i = 1; i <= 4; ++i)
            SchuelerData->add(new TSchueler(TZeile(QStringLiteral("S%1; w; 7; a; -; 1; 2; 3; 0; 0; 0; ").arg(i)), true));
    MainFormHandler->UpdateAll();
    if (scene == 1)
        MainForm->ActivateProAct->trigger();
    if (scene >= 2)
        MainForm->ActivateSchAct->trigger();
    if (scene == 3) {
        FForms.openView();
    }

    const bool editor = scene >= 1;
    const bool editable = scene == 1 || scene == 2;
    const bool pupilEditor = scene >= 2;
    const bool projects = scene >= 1;
    const bool pupils = scene >= 2;
    const bool both = projects && pupils;
    const QList<QPair<QString, bool>> expected{
        {"NewAct", true}, {"OpenAct", true}, {"OpenProAct", true}, {"OpenWahlAct", true}, {"OpenEintAct", true},
        {"SaveAct", editor}, {"SaveAsAct", editor}, {"ImportAct", true}, {"ExportAct", editor}, {"PrintAct", editor},
        {"QuitAct", true}, {"ActivateProAct", true}, {"ActivateSchAct", true}, {"InsertHereAct", editable},
        {"InsertEndAct", editable}, {"DeleteAct", editable}, {"SearchAct", editable}, {"BewegModeAct", pupilEditor},
        {"AuszugAct", pupilEditor}, {"AutoEinteilAct", both}, {"DelEintAct", both}, {"HandEintAct", pupilEditor},
        {"DelHandEintAct", both}, {"SchStatAct", pupils}, {"ProStatAct", projects}, {"ShowOverviewAct", true},
        {"ArrangeAct", editor}, {"NextWinAct", true}, {"HelpAct", true}, {"InfoAct", true},
        {"mmBInsert", editable}, {"mmBSort", pupilEditor},
    };
    for (const auto& [name, on] : expected) {
        QAction* a = name == QLatin1String("OpenAct") ? MainForm->OpenAct : inMenuBar(name);
        QVERIFY2(a, qPrintable(name));
        QVERIFY2(a->isEnabled() == on, qPrintable(name + (on ? QStringLiteral(" should be on") : QStringLiteral(" should be off"))));
        if (QWidget* button = MainForm->ToolBar->widgetForAction(a))
            QVERIFY2(button->isEnabled() == on, qPrintable(name + QStringLiteral(" button")));
    }
}

// --------------------------------------------------------- pop-up, windows

void TestCommands::fileTypePopUp()
{
    QMenu* popup = MainForm->ChooseFTypePopUp;
    QCOMPARE(popup->objectName(), QStringLiteral("ChooseFTypePopUp"));
    QCOMPARE(describe(popup), (QStringList{"OpenProAct", "OpenWahlAct", "OpenEintAct"}));
    auto* button = qobject_cast<QToolButton*>(MainForm->ToolBar->widgetForAction(MainForm->OpenAct));
    QVERIFY(button);
    QCOMPARE(button->menu(), popup);
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);

    // Ctrl+O pops it up, and so does the button's command.
    int shown = 0;
    connect(popup, &QMenu::aboutToShow, this, [&] { ++shown; });
    QVERIFY(!popup->isVisible());
    QTest::keyClick(MainForm, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(shown, 1);
    QVERIFY(popup->isVisible());
    popup->close();
    MainForm->OpenAct->trigger();
    QCOMPARE(shown, 2);
    popup->close();
}

void TestCommands::windowMenu()
{
    MainForm->ActivateProAct->trigger();
    MainForm->ActivateSchAct->trigger();
    TEditor* sch = MainForm->activeEditor();
    QMenu* menu = MainForm->mAnsicht;
    QVERIFY(menu);
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QStringList items = describe(menu);
    QCOMPARE(items.mid(0, 5), (QStringList{"ShowOverviewAct", "-", "ArrangeAct", "NextWinAct", "-"}));
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 7);
    QCOMPARE(actions.at(5)->text(), QStringLiteral("&1 Projekt-Editor"));
    QCOMPARE(actions.at(6)->text(), QStringLiteral("&2 Schüler-Editor"));
    QVERIFY(!actions.at(5)->isChecked());
    QVERIFY(actions.at(6)->isChecked());

    // Choosing one activates it.
    actions.at(5)->trigger();
    TEditor* pro = MainForm->activeEditor();
    QVERIFY(pro && pro->getDataType() == dtPro);
    QVERIFY(!MainForm->BewegModeAct->isEnabled());

    // Opened again, the list follows the windows.
    sch->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QCOMPARE(menu->actions().size(), 6);
    QCOMPARE(menu->actions().at(5)->text(), QStringLiteral("&1 Projekt-Editor"));
    QVERIFY(menu->actions().at(5)->isChecked());
    MainFormHandler->UpdateCloseProEditor();
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QCOMPARE(describe(menu), (QStringList{"ShowOverviewAct", "-", "ArrangeAct", "NextWinAct"}));
}

void TestCommands::arrangeAndNext()
{
    QVERIFY(!MainForm->ArrangeAct->isEnabled());
    MainForm->ActivateProAct->trigger();
    QVERIFY(MainForm->ArrangeAct->isEnabled());
    MainForm->ActivateSchAct->trigger();
    const QList<TEditor*> list = MainForm->editors();
    QCOMPARE(list.size(), 2);

    MainForm->ArrangeAct->trigger();
    const QRect area = MainForm->clientArea()->viewport()->rect();
    const QRect first = list[0]->geometry();
    const QRect second = list[1]->geometry();
    QCOMPARE(first.width(), area.width());
    QCOMPARE(second.width(), area.width());
    QCOMPARE(first.top(), 0);
    QCOMPARE(second.top(), first.bottom() + 1);
    QCOMPARE(second.bottom(), area.bottom());

    QCOMPARE(MainForm->activeEditor(), list[1]);
    MainForm->NextWinAct->trigger();
    QCOMPARE(MainForm->activeEditor(), list[0]);
    MainForm->NextWinAct->trigger();
    QCOMPARE(MainForm->activeEditor(), list[1]);

    MainFormHandler->UpdateCloseMainSchEditor();
    MainFormHandler->UpdateCloseProEditor();
    QVERIFY(MainForm->editors().isEmpty());
    QVERIFY(!MainForm->ArrangeAct->isEnabled());
    MainForm->NextWinAct->trigger();   // nothing to do
}

void TestCommands::overviewPanel()
{
    ProjektData->add(new TProjekt(TZeile(QStringLiteral("1; P1; 5; 10; 2; 20; -; -; 0; "))));
    QVERIFY(!MainForm->Uebersicht->isHidden());
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 1);
    MainForm->ShowOverviewAct->trigger();
    QVERIFY(MainForm->Uebersicht->isHidden());
    QVERIFY(!MainForm->mAShowUebers->isChecked());
    // Each time both overview grids are rebuilt.
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 3);
    MainForm->ShowOverviewAct->trigger();
    QVERIFY(!MainForm->Uebersicht->isHidden());
    QVERIFY(MainForm->mAShowUebers->isChecked());
}

void TestCommands::overviewGridFocusRebuilds()
{
    ProjektData->add(new TProjekt(TZeile(QStringLiteral("1; P1; 5; 10; 2; 20; -; -; 0; "))));
    SchuelerData->add(new TSchueler(TZeile(QStringLiteral("S; w; 7; a; -; 1; 2; 3; 0; 0; 1; ")), true));
    MainForm->Uebersicht->setCurrentIndex(1);
    QCOMPARE(MainForm->SchuelerGrid->rowCount(), 1);
    MainForm->SchuelerGrid->setFocus(Qt::MouseFocusReason);
    QCOMPARE(MainForm->SchuelerGrid->rowCount(), 2);

    MainForm->Uebersicht->setCurrentIndex(0);
    MainForm->ProjekteGrid->setFocus(Qt::MouseFocusReason);
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 3);
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 2), QStringLiteral("1"));   // recounted
}

void TestCommands::commandErrorsAreShown()
{
    // An error ends the command inside the command binding: its message is
    // shown and the program goes on with the next command.
    bool after = false;
    MainForm->runCommand([&] {
        throw EProFromZeile(QStringLiteral("Fehler im Befehl"));
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(FUi->messages.size(), 1);
    QCOMPARE(FUi->messages.first().text, QStringLiteral("Fehler im Befehl"));
    QCOMPARE(FUi->messages.first().caption(), QStringLiteral("zuv"));
    MainForm->runCommand([&] { after = true; });
    QVERIFY(after);
    QCOMPARE(FUi->messages.size(), 1);
}

KESTRIN_TEST_MAIN(TestCommands)
#include "tst_commands.moc"

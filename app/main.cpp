#include "app/main.h"

#include "app/UAboutBox.h"
#include "app/UEditor.h"
#include "app/UIncSearch.h"
#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "assign/UDebugWin.h"
#include "assign/UEintDialog.h"
#include "assign/UEinteilung.h"
#include "assign/UHandDialog.h"
#include "assign/UProStatD.h"
#include "assign/USchStatD.h"
#include "data/UBasics.h"
#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "data/UFilter.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "import/UImportDialog.h"
#include "platform/UApplication.h"
#include "platform/UExceptions.h"
#include "platform/UFitText.h"
#include "platform/UGridWidget.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"
#include "platform/UWindowFrame.h"
#include "print/UPrintConfDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QPixmap>
#include <QScopeGuard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <optional>

TMainForm* MainForm = nullptr;

namespace {

// The status bar panels' standard widths.
const int PanelWidths[5] = {100, 100, 100, 100, 200};

// The global list of a data kind.
TData& listOf(TDataType DType)
{
    return DType == dtSch ? static_cast<TData&>(*SchuelerData) : static_cast<TData&>(*ProjektData);
}

// A filter entry of a file dialog: "Projekt-Dateien (*.PRO)|*.PRO".
QString filterEntry(TFileType type)
{
    const QString ext = QString::fromLatin1(FileTypeExt[type]);
    return QString::fromLatin1(FileTypeName[type]) + QStringLiteral("-Dateien (*.") + ext
        + QStringLiteral(")|*.") + ext;
}

// True when the last part of the name (behind the last "/") holds a point.
bool hasExtension(const QString& name)
{
    const int slash = int(name.lastIndexOf(QLatin1Char('/')));
    return name.indexOf(QLatin1Char('.'), slash + 1) >= 0;
}

// The icon with pictures of its own for a disabled button: grey and faded,
// so that a picture that is grey already still looks disabled.
QIcon withFadedDisabled(const QIcon& icon)
{
    if (icon.isNull())
        return icon;
    QIcon result;
    for (int size : {16, 22, 24, 32, 48}) {
        const QPixmap normal = icon.pixmap(QSize(size, size), 1.0, QIcon::Normal);
        if (normal.isNull())
            continue;
        result.addPixmap(normal, QIcon::Normal);
        result.addPixmap(icon.pixmap(QSize(size, size), 1.0, QIcon::Active), QIcon::Active);
        result.addPixmap(icon.pixmap(QSize(size, size), 1.0, QIcon::Selected), QIcon::Selected);
        QImage faded = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < faded.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
            for (int x = 0; x < faded.width(); ++x) {
                const int gray = (qGray(line[x]) + 2 * 200) / 3;
                line[x] = qRgba(gray, gray, gray, qAlpha(line[x]) * 2 / 5);
            }
        }
        result.addPixmap(QPixmap::fromImage(faded), QIcon::Disabled);
    }
    return result;
}

// The closing line of a project file's read message for the lines that
// stand in the list as closed projects; empty when none does.
QString standInNote(const QList<int>& lines)
{
    if (lines.isEmpty())
        return QString();
    if (lines.size() == 1)
        return QStringLiteral("\r\n1 Zeile steht als gesperrtes Projekt \"%1\" in der Liste.")
            .arg(TProjekt::UnreadableName(QString::number(lines.first())));
    return QStringLiteral("\r\n%1 Zeilen stehen als gesperrte Projekte \"%2\" in der Liste.")
        .arg(QString::number(lines.size()), TProjekt::UnreadableName(QStringLiteral("…")));
}

// The closing line of an import's message for the pupils of list whose
// names were written with base letters; empty when there is none.
QString foldedNote(const TSchuelerData& list, const QSet<const TSchueler*>& folded)
{
    int n = 0;
    for (int i = 1; i <= list.Anz(); ++i)
        n += folded.contains(list.getNr(i));
    if (n == 0)
        return QString();
    if (n == 1)
        return QStringLiteral("\r\n1 Name enthielt Buchstaben, die eine Datendatei nicht speichern kann; "
                              "er wurde ohne Akzente geschrieben (z. B. Ş als S).");
    return QStringLiteral("\r\n%1 Namen enthielten Buchstaben, die eine Datendatei nicht speichern kann; "
                          "sie wurden ohne Akzente geschrieben (z. B. Ş als S).")
        .arg(n);
}

QString withoutFolder(const QString& name)
{
    return QFileInfo(name).fileName();
}

// Whether record is one of list's records.
bool isListed(const TData& list, const TSchPro* record)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.items(i) == record)
            return true;
    return false;
}

// Makes list the program's pupil list; the old one is emptied and released.
void replacePupils(TSchuelerData* list)
{
    TSchuelerData* old = SchuelerData;
    old->ClearData();
    SchuelerData = list;
    delete old;
}

// Leaves in list only the pupils that the filter selects, in their order;
// the others are released. Returns how many are left.
int keepSelected(TSchuelerData& list, const TSearchFilter& filter)
{
    int kept = 0;
    const std::unique_ptr<TSchuelerData> selection = list.select(filter, false, kept);
    QSet<const TSchPro*> keep;
    for (int i = 1; i <= selection->Anz(); ++i)
        keep.insert(selection->getNr(i));
    QList<TSchPro*> all;
    for (int pos = 0; pos < list.count(); ++pos)
        all << list.items(pos);
    list.clearList();
    for (TSchPro* pupil : all) {
        if (keep.contains(pupil))
            list.add(pupil);
        else
            delete pupil;
    }
    return kept;
}

}   // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("zuv"));
    SetHelpContext(this, 1);

    buildImages();
    setWindowIcon(ToolImages.value(3));
    buildActions();
    buildMenus();
    buildToolBar();
    buildOverview();
    buildStatusBar();

    ClientArea = new QMdiArea;
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setActivationOrder(QMdiArea::CreationOrder);
    // The editors fit the area whenever it changes (the overview's width,
    // the overview shown or hidden, the window's size); an editor moved
    // past its edge by hand can still be scrolled to.
    ClientArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ClientArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ClientArea->installEventFilter(this);
    connect(ClientArea, &QMdiArea::subWindowActivated, this, &TMainForm::subWindowActivated);

    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("Client"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(ClientArea, 1);
    row->addWidget(Uebersicht);
    setCentralWidget(central);

    // F6 moves the focus between the editor area and the overview.
    auto* paneKey = new QShortcut(QKeySequence(Qt::Key_F6), this);
    paneKey->setObjectName(QStringLiteral("PaneSwitch"));
    connect(paneKey, &QShortcut::activated, this, &TMainForm::SwitchPane);

    FormCreate();
}

TMainForm::~TMainForm()
{
    // The editors go before the hub they call, without activating each other.
    disconnect(ClientArea, nullptr, this, nullptr);
    ClientArea->removeEventFilter(this);
    const QList<QMdiSubWindow*> windows = ClientArea->subWindowList();
    for (QMdiSubWindow* w : windows)
        delete w;
    delete MainFormHandler;
    MainFormHandler = nullptr;
}

void TMainForm::FormCreate()
{
    MainFormHandler = new TMainFormHandler(this);

    ExportFNDialog.save = true;
    ExportFNDialog.title = QStringLiteral("Exportieren");
    ExportFNDialog.filter = QStringLiteral("Text mit Leerzeichen (*.TXT)|*.txt|"
                                           "Text mit TAB-Stops (*.TXT)|*.txt|"
                                           "Hypertext-Dokument (*.HTML)|*.html");
    ExportFNDialog.filterIndex = 3;
    ExportFNDialog.helpContext = 104;
}

// ---------------------------------------------------------------- layout

void TMainForm::buildImages()
{
    // The pictures come from the installed icon theme.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    static const char* const names[18] = {
        "system-run",              // 0 automatic assignment
        nullptr,                   // 1
        nullptr,                   // 2
        "x-office-address-book",   // 3 pupil editor
        "x-office-spreadsheet",    // 4 project editor
        "go-jump",                 // 5 manual assignment
        "document-new",            // 6 new
        "document-open",           // 7 open
        "document-save",           // 8 save
        nullptr,                   // 9
        "object-flip-horizontal",  // 10 movement mode
        "help-browser",            // 11 help
        "edit-find",               // 12 search
        "insert-text",             // 13 import
        "document-print",          // 14 print
        "preferences-system-windows",   // 15 arrange
        "document-send",           // 16 export
        nullptr,                   // 17
    };
    for (const char* name : names)
        ToolImages.append(name ? withFadedDisabled(QIcon::fromTheme(QString::fromLatin1(name))) : QIcon());
}

void TMainForm::buildActions()
{
    auto make = [this](const char* name, const QString& caption, const QKeySequence& shortcut,
                       int image, int help, const QString& tip) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty())
            a->setShortcut(shortcut);
        if (image >= 0)
            a->setIcon(ToolImages.value(image));
        if (help > 0)
            SetHelpContext(a, help);
        if (!tip.isEmpty())
            a->setToolTip(tip);
        return a;
    };
    const QKeySequence none;
    NewAct = make("NewAct", QStringLiteral("&Neu"), none, 6, 105, {});
    OpenAct = make("OpenAct", QStringLiteral("Ö&ffnen"), QKeySequence(Qt::CTRL | Qt::Key_O), 7, 102,
                   QStringLiteral("Öffnen ..."));
    OpenProAct = make("OpenProAct", QStringLiteral("&Projekte öffnen"), none, -1, 102, {});
    OpenWahlAct = make("OpenWahlAct", QStringLiteral("Schüler&wahlen öffnen"), none, -1, 102, {});
    OpenEintAct = make("OpenEintAct", QStringLiteral("Schüler&einteilung öffnen"), none, -1, 102, {});
    SaveAct = make("SaveAct", QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S), 8, 103,
                   QStringLiteral("Speichern"));
    SaveAsAct = make("SaveAsAct", QStringLiteral("Speichern &unter ..."), none, -1, 103, {});
    ImportAct = make("ImportAct", QStringLiteral("&Importieren"), none, 13, 101, QStringLiteral("Importieren ..."));
    ExportAct = make("ExportAct", QStringLiteral("&Exportieren"), none, 16, 104, {});
    PrintAct = make("PrintAct", QStringLiteral("&Drucken"), none, 14, 106, QStringLiteral("Drucken ..."));
    QuitAct = make("QuitAct", QStringLiteral("&Beenden"), none, -1, 107, {});
    ActivateProAct = make("ActivateProAct", QStringLiteral("&Projekt-Editor"), none, 4, 111,
                          QStringLiteral("Projekt-Editor"));
    ActivateSchAct = make("ActivateSchAct", QStringLiteral("&Schüler-Editor"), none, 3, 112,
                          QStringLiteral("Schüler-Editor"));
    InsertHereAct = make("InsertHereAct", QStringLiteral("&Hier einfügen"),
                         QKeySequence(Qt::SHIFT | Qt::Key_Insert), -1, 117, {});
    InsertEndAct = make("InsertEndAct", QStringLiteral("Am &Ende einfügen"),
                        QKeySequence(Qt::CTRL | Qt::Key_Insert), -1, 117, {});
    DeleteAct = make("DeleteAct", QStringLiteral("&Löschen"), QKeySequence(Qt::SHIFT | Qt::Key_Delete), -1,
                     117, {});
    SearchAct = make("SearchAct", QStringLiteral("S&uchen"), QKeySequence(Qt::CTRL | Qt::Key_F), 12, 116,
                     QStringLiteral("Suchen"));
    BewegModeAct = make("BewegModeAct", QStringLiteral("&Bewegungsmodus"), QKeySequence(Qt::CTRL | Qt::Key_B),
                        10, 113, QStringLiteral("Alle/nur Wahlfehlder editieren"));
    BewegModeAct->setCheckable(true);
    AuszugAct = make("AuszugAct", QStringLiteral("Schüler&auszug editieren"), none, -1, 115, {});
    AutoEinteilAct = make("AutoEinteilAct", QStringLiteral("&Automatische Einteilung"),
                          QKeySequence(Qt::CTRL | Qt::Key_A), 0, 120,
                          QStringLiteral("Automatisch in Projekte einteilen"));
    DelEintAct = make("DelEintAct", QStringLiteral("Einteilung &löschen"), none, -1, 121, {});
    HandEintAct = make("HandEintAct", QStringLiteral("&Manuelle Einteilung"), QKeySequence(Qt::CTRL | Qt::Key_T),
                       5, 122, QStringLiteral("Manuelle Einteilung"));
    DelHandEintAct = make("DelHandEintAct", QStringLiteral("Manuelle Einteilungen lö&schen"), none, -1, 123, {});
    SchStatAct = make("SchStatAct", QStringLiteral("&Schülerstatistik"), none, -1, 130, {});
    ProStatAct = make("ProStatAct", QStringLiteral("&Projektstatistik"), none, -1, 131, {});
    ShowOverviewAct = make("ShowOverviewAct", QStringLiteral("Ü&bersicht anzeigen"), none, -1, 132, {});
    ShowOverviewAct->setCheckable(true);
    ShowOverviewAct->setChecked(true);
    mAShowUebers = ShowOverviewAct;
    ArrangeAct = make("ArrangeAct", QStringLiteral("&Anordnen"), none, 15, 135, {});
    ArrangeAct->setEnabled(false);
    NextWinAct = make("NextWinAct", QStringLiteral("&Nächstes"), none, -1, 135, {});
    HelpAct = make("HelpAct", QStringLiteral("Übersicht über &Hilfe"), QKeySequence(Qt::Key_F1), 11, 0, {});
    InfoAct = make("InfoAct", QStringLiteral("Über &zuv"), none, -1, 0, {});

    bindCommand(NewAct, &TMainForm::NewActExecute);
    bindCommand(OpenAct, &TMainForm::OpenActExecute);
    bindCommand(OpenProAct, &TMainForm::OpenProActExecute);
    bindCommand(OpenWahlAct, &TMainForm::OpenWahlActExecute);
    bindCommand(OpenEintAct, &TMainForm::OpenEintActExecute);
    bindCommand(SaveAct, &TMainForm::SaveActExecute);
    bindCommand(SaveAsAct, &TMainForm::SaveAsActExecute);
    bindCommand(ImportAct, &TMainForm::ImportActExecute);
    bindCommand(QuitAct, &TMainForm::QuitActExecute);
    bindCommand(ActivateProAct, &TMainForm::ActivateProActExecute);
    bindCommand(ActivateSchAct, &TMainForm::ActivateSchActExecute);
    bindCommand(ShowOverviewAct, &TMainForm::ShowOverviewActExecute);
    bindCommand(AutoEinteilAct, &TMainForm::AutoEinteilActExecute);
    bindCommand(DelEintAct, &TMainForm::DeleteEintActExecute);
    bindCommand(HandEintAct, &TMainForm::HandEintActExecute);
    bindCommand(DelHandEintAct, &TMainForm::DelHandEintActExecute);
    bindCommand(ProStatAct, &TMainForm::ProStatActExecute);
    bindCommand(SchStatAct, &TMainForm::SchStatActExecute);
    bindCommand(HelpAct, &TMainForm::HelpActExecute);
    bindCommand(InfoAct, &TMainForm::InfoActExecute);
    bindCommand(PrintAct, &TMainForm::PrintActExecute);
    bindCommand(ExportAct, &TMainForm::ExportActExecute);
    bindCommand(InsertHereAct, &TMainForm::InsertHereActExecute);
    bindCommand(InsertEndAct, &TMainForm::InsertEndActExecute);
    bindCommand(DeleteAct, &TMainForm::DeleteActExecute);
    bindCommand(BewegModeAct, &TMainForm::BewegModeActExecute);
    bindCommand(NextWinAct, &TMainForm::NextWinActExecute);
    bindCommand(ArrangeAct, &TMainForm::ArrangeActExecute);
    bindCommand(AuszugAct, &TMainForm::AuszugActExecute);
    bindCommand(SearchAct, &TMainForm::SearchActExecute);

    // The sort orders and the debug items are plain menu items.
    auto item = [this](const char* name, const QString& caption, int help) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (help > 0)
            SetHelpContext(a, help);
        return a;
    };
    mBSortN = item("mBSortN", QStringLiteral("Name"), 114);
    mBSortKl = item("mBSortKl", QStringLiteral("Klasse, dann Name"), 114);
    mbSortPN = item("mbSortPN", QStringLiteral("Projekt, dann Name"), 114);
    mBSortPKl = item("mBSortPKl", QStringLiteral("Projekt, dann Klasse"), 114);
    bindCommand(mBSortN, &TMainForm::mBSortNClick);
    bindCommand(mBSortKl, &TMainForm::mBSortKlClick);
    bindCommand(mbSortPN, &TMainForm::mbSortPNClick);
    bindCommand(mBSortPKl, &TMainForm::mBSortPKlClick);
    mDMessageWin = item("mDMessageWin", QStringLiteral("DebugMessages"), 0);
    mDMemory = item("mDMemory", QStringLiteral("Memory"), 0);
    mDVerify = item("mDVerify", QStringLiteral("Verify"), 0);
    bindCommand(mDMessageWin, &TMainForm::mDMessageWinClick);
    bindCommand(mDMemory, &TMainForm::mDMemoryClick);
    bindCommand(mDVerify, &TMainForm::mDVerifyClick);

    ChooseFTypePopUp = new QMenu(this);
    ChooseFTypePopUp->setObjectName(QStringLiteral("ChooseFTypePopUp"));
    ChooseFTypePopUp->addAction(OpenProAct);
    ChooseFTypePopUp->addAction(OpenWahlAct);
    ChooseFTypePopUp->addAction(OpenEintAct);

    // The insert and sort submenus exist for the hub's enabling; they join
    // the menu bar together with their commands.
    mmBInsert = new QMenu(QStringLiteral("E&infügen"), this);
    mmBInsert->setObjectName(QStringLiteral("mmBInsert"));
    SetHelpContext(mmBInsert, 117);
    mmBInsert->addAction(InsertHereAct);
    mmBInsert->addAction(InsertEndAct);
    mmBSort = new QMenu(QStringLiteral("So&rtieren"), this);
    mmBSort->setObjectName(QStringLiteral("mmBSort"));
    SetHelpContext(mmBSort, 114);
    mmBSort->addAction(mBSortN);
    mmBSort->addAction(mBSortKl);
    mmBSort->addAction(mbSortPN);
    mmBSort->addAction(mBSortPKl);
}

void TMainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("mDatei"));
    datei->addAction(NewAct);
    QMenu* open = datei->addMenu(ToolImages.value(7), QStringLiteral("Ö&ffnen"));
    open->setObjectName(QStringLiteral("mDOpen"));
    SetHelpContext(open, 102);
    open->addAction(OpenProAct);
    open->addAction(OpenWahlAct);
    open->addAction(OpenEintAct);
    datei->addAction(SaveAct);
    datei->addAction(SaveAsAct);
    datei->addSeparator();
    datei->addAction(ImportAct);
    datei->addAction(ExportAct);
    datei->addAction(PrintAct);
    datei->addSeparator();
    datei->addAction(QuitAct);

    QMenu* bearbeiten = bar->addMenu(QStringLiteral("&Bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("mBearbeiten"));
    bearbeiten->addAction(ActivateProAct);
    bearbeiten->addAction(ActivateSchAct);
    bearbeiten->addSeparator();
    bearbeiten->addMenu(mmBInsert);
    bearbeiten->addAction(DeleteAct);
    bearbeiten->addSeparator();
    bearbeiten->addAction(SearchAct);
    bearbeiten->addSeparator();
    bearbeiten->addMenu(mmBSort);
    bearbeiten->addAction(BewegModeAct);
    bearbeiten->addAction(AuszugAct);

    QMenu* einteilung = bar->addMenu(QStringLiteral("&Einteilung"));
    einteilung->setObjectName(QStringLiteral("mEinteilung"));
    einteilung->addAction(AutoEinteilAct);
    einteilung->addAction(DelEintAct);
    einteilung->addAction(HandEintAct);
    einteilung->addAction(DelHandEintAct);

    QMenu* statistik = bar->addMenu(QStringLiteral("&Statistik"));
    statistik->setObjectName(QStringLiteral("mStatistik"));
    statistik->addAction(SchStatAct);
    statistik->addAction(ProStatAct);

    // The window menu: below its commands the open editor windows.
    mAnsicht = bar->addMenu(QStringLiteral("&Ansicht"));
    mAnsicht->setObjectName(QStringLiteral("mAnsicht"));
    mAnsicht->addAction(ShowOverviewAct);
    mAnsicht->addSeparator();
    mAnsicht->addAction(ArrangeAct);
    mAnsicht->addAction(NextWinAct);
    connect(mAnsicht, &QMenu::aboutToShow, this, &TMainForm::fillWindowMenu);

    QMenu* hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("mHilfe"));
    hilfe->addAction(HelpAct);
    hilfe->addAction(InfoAct);

    // Hidden; nothing shows it.
    mmDebug = bar->addMenu(QStringLiteral("Debug"));
    mmDebug->setObjectName(QStringLiteral("mmDebug"));
    mmDebug->addAction(mDMessageWin);
    mmDebug->addAction(mDMemory);
    mmDebug->addAction(mDVerify);
    mmDebug->menuAction()->setVisible(false);
}

void TMainForm::buildToolBar()
{
    ToolBar = addToolBar(QStringLiteral("Werkzeuge"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    SetHelpContext(ToolBar, 1);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setFixedHeight(29);
    ToolBar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    ToolBar->addAction(ImportAct);
    ToolBar->addAction(OpenAct);
    if (auto* button = qobject_cast<QToolButton*>(ToolBar->widgetForAction(OpenAct))) {
        button->setMenu(ChooseFTypePopUp);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    ToolBar->addAction(SaveAct);
    ToolBar->addAction(PrintAct);
    ToolBar->addSeparator();
    ToolBar->addAction(ActivateProAct);
    ToolBar->addAction(ActivateSchAct);
    ToolBar->addAction(BewegModeAct);
    ToolBar->addAction(SearchAct);
    ToolBar->addSeparator();
    ToolBar->addAction(AutoEinteilAct);
    ToolBar->addAction(HandEintAct);
}

void TMainForm::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    SetHelpContext(bar, 1);
    static const char* const names[5] = {"Panel0", "Panel1", "Panel2", "Panel3", "Panel4"};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString::fromLatin1(names[i]));
        panel->setFixedWidth(PanelWidths[i]);
        bar->addWidget(panel);
        FPanels.append(panel);
    }
    setPanelText(0, QStringLiteral("0 Projekte"));
    setPanelText(1, QStringLiteral("0 Schüler"));
    setPanelText(2, QStringLiteral("0 eingeteilt"));
}

QWidget* TMainForm::buildOverviewPage(const QString& name, const QString& caption, TGridWidget*& grid,
                                      const QString& barName, const QString& statName,
                                      const QString& showName, int helpContext)
{
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    grid = new TGridWidget(page);
    grid->setObjectName(caption);
    SetHelpContext(grid, helpContext);
    grid->setColCount(4);
    grid->setRowCount(1);
    grid->setFixedRows(1);
    grid->setFixedCols(1);
    for (int c = 0; c < 4; ++c)
        grid->setColWidth(c, 40);
    grid->setRowSelect(true);
    grid->setEditingAllowed(false);
    grid->installEventFilter(this);
    column->addWidget(grid, 1);

    auto* bar = new QToolBar(page);
    bar->setObjectName(barName);
    bar->setFixedHeight(29);
    bar->setMovable(false);
    // The statistics and the view commands; buildOverview binds them.
    for (const QString& buttonName : {statName, showName}) {
        auto* button = new QToolButton(bar);
        button->setObjectName(buttonName);
        button->setText(buttonName == statName ? QStringLiteral("Statistik") : QStringLiteral("Editor öffnen"));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // 80 by 22, wider where the caption needs it.
        button->setFixedSize(std::max(80, CaptionWidth(button)), 22);
        SetHelpContext(button, helpContext);
        bar->addWidget(button);
    }
    column->addWidget(bar);
    return page;
}

void TMainForm::buildOverview()
{
    Uebersicht = new QTabWidget;
    Uebersicht->setObjectName(QStringLiteral("Uebersicht"));
    SetHelpContext(Uebersicht, 1);
    Uebersicht->setFixedWidth(200);
    ProjekteTab = buildOverviewPage(QStringLiteral("ProjekteTab"), QStringLiteral("ProjekteGrid"), ProjekteGrid,
                                    QStringLiteral("ToolBar2"), QStringLiteral("ProStatBut"),
                                    QStringLiteral("ProShowBut"), 133);
    SchuelerTab = buildOverviewPage(QStringLiteral("SchuelerTab"), QStringLiteral("SchuelerGrid"), SchuelerGrid,
                                    QStringLiteral("ToolBar3"), QStringLiteral("SchStatBut"),
                                    QStringLiteral("SchShowBut"), 134);
    Uebersicht->addTab(ProjekteTab, QStringLiteral("Projekte"));
    Uebersicht->addTab(SchuelerTab, QStringLiteral("Schüler"));
    Uebersicht->setCurrentIndex(0);
    connect(Uebersicht, &QTabWidget::currentChanged, this, &TMainForm::UebersichtChange);
    bindEnter(ProjekteGrid, &TMainForm::ProjekteGridEnter);
    bindEnter(SchuelerGrid, &TMainForm::SchuelerGridEnter);
    bindDblClick(ProjekteGrid, &TMainForm::ProjekteGridDblClick);
    bindDblClick(SchuelerGrid, &TMainForm::SchuelerGridDblClick);
    ProStatBut = ProjekteTab->findChild<QToolButton*>(QStringLiteral("ProStatBut"));
    SchStatBut = SchuelerTab->findChild<QToolButton*>(QStringLiteral("SchStatBut"));
    bindCommand(ProStatBut, &TMainForm::ProStatButClick);
    bindCommand(SchStatBut, &TMainForm::SchStatButClick);
    bindCommand(ProjekteTab->findChild<QToolButton*>(QStringLiteral("ProShowBut")), &TMainForm::ProShowButClick);
    bindCommand(SchuelerTab->findChild<QToolButton*>(QStringLiteral("SchShowBut")), &TMainForm::SchShowButClick);
}

void TMainForm::storeOpenEdits()
{
    for (TEditor* editor : editors())
        editor->commitEdit();
}

void TMainForm::runCommand(const std::function<void()>& command)
{
    // An error ends the command here, so it never unwinds through the
    // toolkit's signal code.
    TApplication::runShowingErrors([&] {
        storeOpenEdits();
        command();
    });
}

std::function<void()> TMainForm::asCommand(void (TMainForm::*handler)())
{
    return [this, handler] { runCommand([=] { (this->*handler)(); }); };
}

void TMainForm::bindCommand(QAction* action, void (TMainForm::*handler)())
{
    connect(action, &QAction::triggered, this, asCommand(handler));
}

void TMainForm::bindCommand(QAbstractButton* button, void (TMainForm::*handler)())
{
    connect(button, &QAbstractButton::clicked, this, asCommand(handler));
}

void TMainForm::bindDblClick(TGridWidget* grid, void (TMainForm::*handler)())
{
    grid->onDblClick = asCommand(handler);
}

void TMainForm::bindEnter(TGridWidget* grid, void (TMainForm::*handler)())
{
    grid->onEnter = asCommand(handler);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == ClientArea)
        fitEditors(static_cast<QResizeEvent*>(event)->oldSize(), static_cast<QResizeEvent*>(event)->size());
    if (event->type() == QEvent::Resize && (watched == ProjekteGrid || watched == SchuelerGrid)
        && MainFormHandler)
        MainFormHandler->SizeOverviewColumns();
    return QMainWindow::eventFilter(watched, event);
}

// -------------------------------------------------------------- geometry

QRect TMainForm::mainGeometry(const QSize& screen)
{
    return QRect(50, 50, screen.width() - 100, screen.height() - 100);
}

void TMainForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QMainWindow::showEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The name column's room follows the window's width.
    if (MainFormHandler)
        MainFormHandler->SizeOverviewColumns();
}

void TMainForm::FormShow()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    if (s)
        SetFrameGeometry(this, mainGeometry(s->geometry().size()));
    Uebersicht->setVisible(mAShowUebers->isChecked());
}

void TMainForm::SwitchPane()
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus && Uebersicht->isAncestorOf(focus)) {
        if (TEditor* e = activeEditor())
            e->grid()->setFocus(Qt::ShortcutFocusReason);
    } else if (!Uebersicht->isHidden()) {
        // The page tabs first; Tab goes on to the grid and its buttons.
        Uebersicht->tabBar()->setFocus(Qt::ShortcutFocusReason);
    }
}

void TMainForm::fitEditors(const QSize& oldSize, const QSize& size)
{
    const QList<TEditor*> list = editors();
    if (list.isEmpty())
        return;
    // Fitted editors need no scrolling: back to the origin first, so the
    // scroll bars going do not move them again.
    ClientArea->horizontalScrollBar()->setValue(0);
    ClientArea->verticalScrollBar()->setValue(0);
    const int frame = 2 * ClientArea->frameWidth();
    const QSize around(frame, frame);
    for (TEditor* e : list)
        e->fitClientArea(oldSize.isValid() ? oldSize - around : QSize(), size - around);
}

int TMainForm::getEditorWidth() const
{
    int w = width() - 4;
    if (!Uebersicht->isHidden())
        w -= Uebersicht->width();
    return w;
}

int TMainForm::getEditorHeight() const
{
    const int clientHeight = height() - (menuBar()->isHidden() ? 0 : menuBar()->height());
    return clientHeight - ToolBar->height() - statusBar()->height() - 4;
}

// ------------------------------------------------------------ status bar

QString TMainForm::panelText(int i) const
{
    return FPanels.value(i) ? FPanels[i]->text() : QString();
}

void TMainForm::setPanelText(int i, const QString& text)
{
    QLabel* panel = FPanels.value(i);
    if (!panel)
        return;
    panel->setText(text);
    // At least the standard width, and as wide as the text in the font in
    // use.
    const int needed = panel->fontMetrics().horizontalAdvance(text) + 2 * panel->frameWidth() + 2 * panel->margin() + 6;
    panel->setFixedWidth(std::max(PanelWidths[i], needed));
}

// --------------------------------------------------------------- editors

QList<TEditor*> TMainForm::editors() const
{
    QList<TEditor*> list;
    const QList<QMdiSubWindow*> windows = ClientArea->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<TEditor*>(w); e && !e->isClosed())
            list.append(e);
    return list;
}

TEditor* TMainForm::activeEditor() const
{
    auto* e = qobject_cast<TEditor*>(ClientArea->currentSubWindow());
    return e && !e->isClosed() ? e : nullptr;
}

void TMainForm::activateEditor(TEditor* editor)
{
    ClientArea->setActiveSubWindow(editor);
}

void TMainForm::activateNextEditor()
{
    const QList<TEditor*> list = editors();
    if (list.isEmpty())
        return;
    const int at = int(list.indexOf(activeEditor()));
    activateEditor(list[(at + 1) % list.size()]);
}

void TMainForm::subWindowActivated(QMdiSubWindow* window)
{
    UpdateArrangeAct();
    // Only a change of the active editor counts: the frame losing and
    // regaining the focus to a dialog does not.
    auto* editor = qobject_cast<TEditor*>(window);
    if (!editor || editor == FLastActivated || editor->isClosed())
        return;
    FLastActivated = editor;
    editor->FormActivate();
}

// -------------------------------------------------------------- commands

void TMainForm::NewActExecute()
{
    MainFormHandler->UpdateCloseViewSchEditors();
    MainFormHandler->UpdateCloseMainSchEditor();
    // A refused pupil question stops here: emptying the projects would
    // clear the very assignments the user chose to keep.
    if (!clearListNoEditorShows(dtSch))
        return;
    MainFormHandler->UpdateCloseProEditor();
    clearListNoEditorShows(dtPro);
}

bool TMainForm::clearListNoEditorShows(TDataType DType)
{
    for (TEditor* e : editors())
        if (e->Editable() && e->getDataType() == DType)
            return false;
    // A failed open keeps what it read without bringing up an editor.
    TData& list = listOf(DType);
    if (list.Anz() == 0)
        return true;
    if (!SaveUnsavedBeforeClear(DType))
        return false;
    MainFormHandler->UpdateClearData(list);
    return true;
}

void TMainForm::OpenActExecute()
{
    ChooseFTypePopUp->popup(QCursor::pos());
}

void TMainForm::OpenProActExecute()
{
    if (!SaveUnsaved({dtPro}))
        return;
    OpenDialog(ft_proj, *ProjektData);
    MainFormHandler->UpdateAll();
}

void TMainForm::OpenWahlActExecute()
{
    openPupils(ft_wahl);
}

void TMainForm::OpenEintActExecute()
{
    openPupils(ft_teil);
}

void TMainForm::openPupils(TFileType FType)
{
    if (!SaveUnsaved({dtSch}))
        return;
    OpenDialog(FType, *SchuelerData);
    CountEint(*SchuelerData, *ProjektData);
    MainFormHandler->UpdateAll();
}

void TMainForm::SaveActExecute()
{
    SaveCurrent(false);
    MainFormHandler->UpdateStatusBar();
}

void TMainForm::SaveAsActExecute()
{
    SaveCurrent(true);
    MainFormHandler->UpdateStatusBar();
}

void TMainForm::ImportActExecute()
{
    if (!SaveUnsaved({dtSch}))
        return;
    TFileDialogSpec ImportFNDialog;
    ImportFNDialog.title = QStringLiteral("Schülerkartei importieren");
    ImportFNDialog.filter = QStringLiteral("Textdateien (*.TXT)|*.txt|Alle Dateien (*.*)|*.*");
    ImportFNDialog.filterIndex = 1;
    ImportFNDialog.helpContext = 101;
    const TFileDialogResult chosen = Ui().fileDialog(ImportFNDialog);
    if (!chosen.accepted || chosen.files.isEmpty())
        return;
    const QString FName = chosen.files.first();
    ImportDialog->setMockFileName(FName);
    if (ImportDialog->exec() != QDialog::Accepted)
        return;

    // The register is read into a list of its own: a file that cannot be
    // read or is no text, "Abbrechen" at a bad line and a register of which
    // no line became a pupil of the chosen classes leave the old pupils,
    // their editor and views as they were.
    const auto release = [](TSchuelerData* list) {
        list->ClearData();
        delete list;
    };
    std::unique_ptr<TSchuelerData, decltype(release)> imported(new TSchuelerData, release);
    TImportCounts counts;
    try {
        imported->ImportFromFile(FName, ImportDialog->getImportOptions(), ImportDialog->getImportElements(), &counts);
    } catch (...) {
        ShowMessage(TApplication::currentExceptionMessage());
        return;
    }
    if (counts.cancelled)
        return;
    QString passedOver;
    if (counts.passedOver == 1)
        passedOver = QStringLiteral("\r\n1 Zeile wurde übersprungen.");
    else if (counts.passedOver > 1)
        passedOver = QStringLiteral("\r\n%1 Zeilen wurden übersprungen.").arg(counts.passedOver);
    const int n = counts.imported;
    int k = n;
    if (const TSearchFilter* filter = ImportDialog->getFilter())
        k = keepSelected(*imported, *filter);
    if (k == 0) {
        ShowMessage(QStringLiteral("Es wurde kein Schüler importiert; die bisherige Liste bleibt erhalten.") + passedOver);
        return;
    }

    {
        // The user has answered for the old pupils: closing their editors
        // asks nothing more, so none stays to show the pupils freed below.
        const TDataTypeSet answered = FAnswered;
        const auto restore = qScopeGuard([&] { FAnswered = answered; });
        FAnswered.include(dtSch);
        MainFormHandler->UpdateCloseViewSchEditors();
        MainFormHandler->UpdateCloseMainSchEditor();
    }

    const QString folded = foldedNote(*imported, counts.foldedNames);
    replacePupils(imported.release());
    // The imported pupils are in no file yet.
    SchuelerData->setModified();
    ShowMessage(QStringLiteral("%1 von %2 Schülerdatensätzen importiert.").arg(k).arg(n) + passedOver + folded);
    MainFormHandler->UpdateAll();
    ActivateEditor(dtSch);
}

void TMainForm::QuitActExecute()
{
    close();
}

void TMainForm::ActivateProActExecute()
{
    ActivateEditor(dtPro);
}

void TMainForm::ActivateSchActExecute()
{
    ActivateEditor(dtSch);
}

void TMainForm::ShowOverviewActExecute()
{
    // The action carries the check mark and has already toggled it. The
    // focus leaves an overview going for the active editor, which stays
    // active.
    const QWidget* focus = QApplication::focusWidget();
    if (!Uebersicht->isHidden() && focus && Uebersicht->isAncestorOf(focus))
        SwitchPane();
    Uebersicht->setVisible(Uebersicht->isHidden());
    MainFormHandler->UpdateSchStat();
    MainFormHandler->UpdateProStat();
}

void TMainForm::AutoEinteilActExecute()
{
    EintDialog->exec();
    MainFormHandler->UpdateAll();
}

void TMainForm::DeleteEintActExecute()
{
    DeleteAllEint(*SchuelerData, *ProjektData);
    MainFormHandler->UpdateStatusBar();
    MainFormHandler->UpdateProEditors();
    MainFormHandler->UpdateProStat();
    MainFormHandler->UpdateSchEditors();
    MainFormHandler->UpdateSchStat();
}

void TMainForm::HandEintActExecute()
{
    TEditor* editor = idleActiveEditor();
    if (!editor || editor->getDataType() != dtSch)
        return;
    // An empty list or the heading row holds no pupil.
    const int row = editor->grid()->row();
    if (row < 1 || row > editor->getData()->Anz())
        return;
    auto* S = static_cast<TSchueler*>(editor->getCurrentItem());
    // The empty pupil of a view over nobody is none of the list's pupils.
    if (!isListed(*SchuelerData, S))
        return;
    const int hand = S->hand;
    const int zuteil = S->zuteil;
    HandDialog->setData(S, ProjektData);
    if (HandDialog->exec() != QDialog::Accepted)
        return;
    if (S->hand != hand || S->zuteil != zuteil)
        SchuelerData->setModified();
    MainFormHandler->UpdateSchEditors();
    MainFormHandler->UpdateStatusBar();
    MainFormHandler->UpdateProStat();
    MainFormHandler->UpdateSchStat();
    editor->resetBackup();
}

void TMainForm::DelHandEintActExecute()
{
    if (DelHandEint(*SchuelerData))
        MainFormHandler->UpdateStatusBar();
    MainFormHandler->UpdateSchEditors();
    MainFormHandler->UpdateSchStat();
    MainFormHandler->UpdateProStat();
}

void TMainForm::ProStatActExecute()
{
    if (ProjektData->Anz() < 1)
        return;
    ProStatD->UpdateData(ProjektData, SchuelerData, 1);
    ProStatD->exec();
}

void TMainForm::ProStatButClick()
{
    // Row 1 is project 0, row k + 1 project k.
    const int row = ProjekteGrid->row();
    if (ProjektData->Anz() < 1 || row <= 1 || row - 1 > ProjektData->Anz())
        return;
    ProStatD->UpdateData(ProjektData, SchuelerData, row - 1);
    ProStatD->exec();
}

void TMainForm::SchStatActExecute()
{
    if (SchuelerData->Anz() < 1)
        return;
    const TSearchFilter all;
    SchStatD->UpdateData(SchuelerData, ProjektData, all, QStringLiteral("Alle Klassen"));
    SchStatD->exec();
}

void TMainForm::SchStatButClick()
{
    const int row = SchuelerGrid->row();
    if (SchuelerData->Anz() < 1 || row < 1 || row >= SchuelerGrid->rowCount())
        return;
    if (SchStatD->UpdateKlasse(SchuelerData, ProjektData, SchuelerGrid->cell(0, row)))
        SchStatD->exec();
}

void TMainForm::mDMessageWinClick()
{
    DebugWin->showUp();
    DebugWin->Msg(QStringLiteral("Derzeit unbenutzt"));
}

void TMainForm::mDMemoryClick()
{
    DebugWin->showUp();
    DebugWin->Msg(MemoryTotalsLine(MemoryTotals()));
}

void TMainForm::mDVerifyClick()
{
    DebugWin->showUp();
    VerifyEinteilung(*SchuelerData, *ProjektData, [](const QString& line) { DebugWin->Msg(line); });
}

TEditor* TMainForm::idleActiveEditor() const
{
    TEditor* editor = activeEditor();
    return editor && !editor->grid()->isEditing() ? editor : nullptr;
}

void TMainForm::InsertHereActExecute()
{
    if (TEditor* editor = idleActiveEditor())
        editor->InsertAtCurrentPos();
}

void TMainForm::InsertEndActExecute()
{
    if (TEditor* editor = idleActiveEditor())
        editor->InsertAtEnd();
}

void TMainForm::DeleteActExecute()
{
    if (TEditor* editor = idleActiveEditor())
        editor->DeleteCurrentPOS();
}

void TMainForm::BewegModeActExecute()
{
    // The action toggled its check mark already; it follows the editor's
    // mode only when the mode changed.
    TEditor* editor = idleActiveEditor();
    if (!editor) {
        BewegModeAct->setChecked(!BewegModeAct->isChecked());
        return;
    }
    editor->ChangeBewegMode();
}

void TMainForm::sortActive(TSortCritType SortBy)
{
    TEditor* editor = activeEditor();
    if (!editor || editor->getDataType() != dtSch)
        return;
    editor->Sort(SortBy);
    MainFormHandler->UpdateSchEditors();
}

void TMainForm::mBSortNClick()
{
    sortActive(sc_N);
}

void TMainForm::mBSortKlClick()
{
    sortActive(sc_Kl_N);
}

void TMainForm::mbSortPNClick()
{
    sortActive(sc_P_N);
}

void TMainForm::mBSortPKlClick()
{
    sortActive(sc_P_Kl);
}

void TMainForm::NextWinActExecute()
{
    activateNextEditor();
}

void TMainForm::ArrangeActExecute()
{
    // Horizontal tiling: the editors one below the other, each the full
    // width of the client area.
    const QList<TEditor*> list = editors();
    if (list.isEmpty())
        return;
    // A scrolled area goes back to its origin and the tiles cover it whole,
    // without the scroll bars they make needless; moving the first tile
    // must not scroll the others meanwhile.
    ClientArea->horizontalScrollBar()->setValue(0);
    ClientArea->verticalScrollBar()->setValue(0);
    ClientArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ClientArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QRect area = ClientArea->viewport()->rect();
    const int n = int(list.size());
    const int h = std::max(1, area.height() / n);
    for (int i = 0; i < n; ++i) {
        TEditor* e = list[i];
        if (e->isMinimized() || e->isMaximized())
            e->showNormal();
        const int top = area.top() + i * h;
        e->setGeometry(area.left(), top, area.width(), i == n - 1 ? area.bottom() + 1 - top : h);
    }
    ClientArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ClientArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TMainForm::ProjekteGridEnter()
{
    MainFormHandler->UpdateProStat();
}

void TMainForm::SchuelerGridEnter()
{
    MainFormHandler->UpdateSchStat();
}

void TMainForm::UebersichtChange()
{
    // A grid shown on the other tab is rebuilt when it gets the focus.
}

void TMainForm::AuszugActExecute()
{
    OpenAuszugView();
}

void TMainForm::ProShowButClick()
{
    OpenProjektView(ProjekteGrid->row());
}

void TMainForm::ProjekteGridDblClick()
{
    ProShowButClick();
}

void TMainForm::SchShowButClick()
{
    OpenKlassenView(*SchuelerGrid, SchuelerGrid->row());
}

void TMainForm::SchuelerGridDblClick()
{
    SchShowButClick();
}

void TMainForm::SearchActExecute()
{
    TEditor* editor = activeEditor();
    if (!editor)
        return;
    IncSearch->SetGrid(editor->grid());
    IncSearch->show();
    IncSearch->raise();
    IncSearch->activateWindow();
}

QList<QKeySequence> TMainForm::cellEditorReservedKeys() const
{
    // Select-all, paste, copy and cut in a line editor; movement mode.
    return {AutoEinteilAct->shortcut(), InsertHereAct->shortcut(), InsertEndAct->shortcut(),
            DeleteAct->shortcut(), BewegModeAct->shortcut()};
}

void TMainForm::UpdateArrangeAct()
{
    ArrangeAct->setEnabled(!editors().isEmpty());
}

void TMainForm::fillWindowMenu()
{
    qDeleteAll(FWindowItems);
    FWindowItems.clear();
    const QList<TEditor*> list = editors();
    if (list.isEmpty())
        return;
    FWindowItems.append(mAnsicht->addSeparator());
    TEditor* active = activeEditor();
    for (int i = 0; i < list.size(); ++i) {
        TEditor* e = list[i];
        QString title = e->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString caption = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                      : QStringLiteral("%1 %2").arg(i + 1).arg(title);
        QAction* a = mAnsicht->addAction(caption);
        // As in the window system's own list: a check mark at the active one.
        a->setCheckable(e == active);
        a->setChecked(e == active);
        QPointer<TEditor> target(e);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target && !target->isClosed())
                activateEditor(target);
        });
        FWindowItems.append(a);
    }
}

void TMainForm::HelpActExecute()
{
    Ui().showHelp(1);
}

void TMainForm::InfoActExecute()
{
    if (AboutBox)
        AboutBox->exec();
}

// ------------------------------------------------------ printing and export

namespace {

// The data set of the active editor, or nullptr when there is none.
TData* activeData(const TMainForm& form)
{
    TEditor* editor = form.activeEditor();
    return editor ? editor->getData() : nullptr;
}

// Only sorted pupils are printed or exported; true when data may go on,
// else the message is shown.
bool sortedOrTold(const TData& data, const QString& verb, const QString& command)
{
    const auto* pupils = dynamic_cast<const TSchuelerData*>(&data);
    if (!pupils || pupils->getSort() != sc_NotSorted)
        return true;
    ShowMessage(QStringLiteral("Es können nur sortierte Schülerdaten %1 werden. \r"
                               "Bitte wählen Sie \"Bearbeiten-Sortieren\", und %2 Sie dann.")
                    .arg(verb, command));
    return false;
}

// For pupils the question whether their choices go along; projects have none.
bool withChoices(const TData& data)
{
    if (data.getDataType() != dtSch)
        return false;
    return MessageDlg(QStringLiteral("Schülerwahlen mit angeben?"), TMsgType::mtInformation, mbYes | mbNo)
        == TModalResult::mrYes;
}

} // namespace

void TMainForm::resortActive()
{
    if (const auto* pupils = dynamic_cast<const TSchuelerData*>(activeData(*this)))
        sortActive(pupils->getSort());
}

void TMainForm::PrintActExecute()
{
    TData* data = activeData(*this);
    if (!data || !sortedOrTold(*data, QStringLiteral("gedruckt"), QStringLiteral("drucken")))
        return;
    if (PrintConfDialog->exec() != QDialog::Accepted)
        return;
    const bool voll = withChoices(*data);
    data->SetPrintFonts(PrintConfDialog->getHFont(), PrintConfDialog->getSFont(), PrintConfDialog->getSpacing(),
                        PrintConfDialog->getFooter());
    // Each category once: the list in its order first.
    resortActive();
    // The page printer tells the user that the job was sent; an error shows
    // instead.
    data->ExportData(QString(), exPrint, voll);
}

void TMainForm::ExportActExecute()
{
    TData* data = activeData(*this);
    if (!data || !sortedOrTold(*data, QStringLiteral("exportiert"), QStringLiteral("exportieren")))
        return;
    const TFileDialogResult chosen = Ui().fileDialog(ExportFNDialog);
    if (!chosen.accepted || chosen.files.isEmpty())
        return;
    // The dialog keeps what was chosen; a filter position it does not have
    // means the one used last.
    if (chosen.filterIndex >= 1 && chosen.filterIndex <= 3)
        ExportFNDialog.filterIndex = chosen.filterIndex;
    ExportFNDialog.fileName = chosen.files.first();
    const auto format = TExpFormat(ExportFNDialog.filterIndex - 1);
    const bool voll = withChoices(*data);

    QString name = chosen.files.first();
    if (!hasExtension(name))
        name += QLatin1Char('.') + QString::fromLatin1(ExportExt[format]);
    resortActive();
    const int count = data->ExportData(name, format, voll);
    ShowMessage(QString::number(count) + QStringLiteral(" Datensätze nach ") + withoutFolder(name)
                + QStringLiteral(" exportiert."));
}

// ------------------------------------------------------ opening and saving

bool TMainForm::SaveUnsaved(TDataTypeSet Data)
{
    struct Kind {
        TDataType type;
        TData* list;
        TFileType file;
        const char* question;
    };
    const Kind kinds[2] = {
        {dtPro, ProjektData, ft_proj, "Die Projektdaten wurden geändert. Sollen sie gespeichert werden?"},
        {dtSch, SchuelerData, ft_teil, "Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"},
    };
    for (const Kind& kind : kinds) {
        if (!Data.contains(kind.type) || FAnswered.contains(kind.type) || !kind.list->getModified())
            continue;
        const TModalResult answer = MessageDlg(QString::fromUtf8(kind.question), TMsgType::mtInformation,
                                               mbYes | mbNo | mbCancel);
        if (answer == TModalResult::mrNo)
            continue;
        if (answer != TModalResult::mrYes)
            return false;
        if (!SaveDialog(kind.file, *kind.list, kind.list->getFilename().isEmpty()))
            return false;
        showFileName(kind.type, *kind.list);
        MainFormHandler->UpdateStatusBar();
    }
    return true;
}

bool TMainForm::SaveUnsavedBeforeClear(TDataType DType)
{
    TDataTypeSet kinds{DType};
    // Emptying the projects clears every assignment: an unsaved result is
    // offered for saving first.
    if (DType == dtPro && SchuelerData->getModified() && SchuelerData->getEintAnz() > 0)
        kinds.include(dtSch);
    return SaveUnsaved(kinds);
}

void TMainForm::OpenDialog(TFileType FType, TData& Database)
{
    TFileDialogSpec dialog;
    dialog.save = false;
    dialog.multiSelect = FType == ft_wahl;
    dialog.helpContext = 102;
    if (FType == ft_proj) {
        dialog.filter = filterEntry(ft_proj);
    } else {
        dialog.filter = filterEntry(ft_teil) + QLatin1Char('|') + filterEntry(ft_wahl);
        dialog.filterIndex = FType == ft_wahl ? 2 : 1;
    }
    const TFileDialogResult chosen = Ui().fileDialog(dialog);
    if (!chosen.accepted || chosen.files.isEmpty())
        return;

    const TDataType kind = FType == ft_proj ? dtPro : dtSch;
    const int n = int(chosen.files.size());
    int total = 0;
    bool complete = true;
    QList<int> standIns;   // lines for which a closed project stands
    if (Database.getDataType() == dtSch)
        MainFormHandler->UpdateCloseViewSchEditors();
    Database.ClearData();

    // A file that cannot be opened or read ends the road: the list keeps
    // what was read before it, without a name, and the calling command
    // refreshes every view over that. The editable editor's caption
    // follows the list's name on every way out.
    const auto fail = [&](const QString& message) {
        ShowMessage(message);
        showFileName(kind, Database);
    };
    for (const QString& file : chosen.files) {
        TDataFile dataFile(FType, file);
        if (!dataFile.OpenRead()) {
            fail(QStringLiteral("Fehler beim Öffnen der Datei ") + file);
            return;
        }
        std::optional<QString> readError;
        try {
            total += dataFile.Read(Database, n > 1);
        } catch (const EInOutError& e) {
            // Reported once the exception is gone: the box runs an event loop.
            readError = e.message();
        }
        dataFile.Close();
        if (readError) {
            fail(*readError);
            return;
        }
        // The reader has said so; the road ends as for a file that cannot
        // be read.
        if (dataFile.RefusedWhole()) {
            showFileName(kind, Database);
            return;
        }
        complete = complete && dataFile.ReadComplete();
        standIns += dataFile.StandInLines();
    }

    if (FType == ft_wahl)
        ShowMessage(QStringLiteral("%1 %2-Datensätze aus %3 Dateien gelesen.")
                        .arg(total)
                        .arg(QString::fromLatin1(FileTypeName[FType]))
                        .arg(n));
    else
        ShowMessage(QStringLiteral("%1 %2-Datensätze gelesen.").arg(total).arg(QString::fromLatin1(FileTypeName[FType]))
                    + standInNote(standIns));

    ActivateEditor(kind);
    if (kind == dtPro) {
        MainFormHandler->UpdateProStat();
        MainFormHandler->UpdateProEditors();
    } else {
        MainFormHandler->UpdateSchStat();
        MainFormHandler->UpdateSchEditors();
    }
    // A file that refused a line, or an assignment file read as choices,
    // is not the list's file: saving under its name would overwrite it
    // with less than it holds.
    Database.ModSaved(n == 1 && complete ? chosen.files.first() : QString());
    showFileName(kind, Database);
    MainFormHandler->UpdateStatusBar();
}

void TMainForm::showFileName(TDataType kind, const TData& list)
{
    for (TEditor* e : editors())
        if (e->Editable() && e->getDataType() == kind)
            e->SetFNCaption(withoutFolder(list.getFilename()));
}

void TMainForm::ActivateEditor(TDataType DType)
{
    const int n = int(editors().size());
    for (int i = 0; i < n; ++i) {
        TEditor* active = activeEditor();
        if (active && active->getDataType() == DType && active->Editable())
            return;
        activateNextEditor();
    }
    new TEditor(this, MainFormHandler, &listOf(DType), true, QString());
}

void TMainForm::SaveCurrent(bool newname)
{
    TEditor* editor = activeEditor();
    if (!editor)
        return;
    TData* list = editor->getData();
    if (list->getFilename().isEmpty())
        newname = true;
    if (!editor->Editable())
        SaveDialog(ft_teil, *list, true);
    else if (editor->getDataType() == dtSch)
        SaveDialog(ft_teil, *SchuelerData, newname);
    else
        SaveDialog(ft_proj, *ProjektData, newname);
    if (!list->getFilename().isEmpty() && editor->Editable())
        editor->SetFNCaption(withoutFolder(list->getFilename()));
}

bool TMainForm::SaveDialog(TFileType FType, TData& Database, bool newname)
{
    QString name;
    if (newname) {
        TFileDialogSpec dialog;
        dialog.save = true;
        dialog.filter = filterEntry(FType);
        dialog.helpContext = 103;
        const TFileDialogResult chosen = Ui().fileDialog(dialog);
        if (!chosen.accepted || chosen.files.isEmpty())
            return false;
        name = chosen.files.first();
    } else {
        name = Database.getFilename();
    }
    if (!hasExtension(name))
        name += QLatin1Char('.') + QString::fromLatin1(FileTypeExt[FType]);

    TDataFile dataFile(FType, name);
    if (!dataFile.OpenWrite()) {
        ShowMessage(QStringLiteral("Fehler beim Anlegen der Datei."));
        return false;
    }
    int written = 0;
    try {
        written = dataFile.Write(Database);
        // Only a completed file counts as written.
        dataFile.Close();
    } catch (const Exception& e) {
        ShowMessage(e.message());
        return false;
    }
    ShowMessage(QStringLiteral("%1 %2-Datensätze nach %3 geschrieben")
                    .arg(written)
                    .arg(QString::fromLatin1(FileTypeName[FType]))
                    .arg(withoutFolder(name)));
    Database.ModSaved(name);
    // The stored rows are written: the next move in an editor of this list
    // must not store them again.
    for (TEditor* e : editors())
        if (e->getData() == &Database)
            e->resetBackup();
    return true;
}

// ------------------------------------------------------------- shut-down

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Every modified list is offered for saving, each once, whether an
    // editor shows it or not: a command may change a list that none shows.
    // Typed text counts as a change.
    bool canClose = false;
    runCommand([&] { canClose = SaveUnsaved({dtPro, dtSch}); });
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
}

// -------------------------------------------------------------- start-up

void CreateForms()
{
    MainForm = new TMainForm;
    EintDialog = new TEintDialog(MainForm);
    DebugWin = new TDebugWin(MainForm);
    ProStatD = new TProStatD(MainForm);
    SchStatD = new TSchStatD(MainForm);
    KlassenSelect = new TKlassenSelect(MainForm);
    SchFilterDialog = new TSchFilterDialog(MainForm);
    IncSearch = new TIncSearch(MainForm);
    HandDialog = new THandDialog(MainForm);
    PrintConfDialog = new TPrintConfDialog(MainForm);
    ImportDialog = new TImportDialog(MainForm);
    AboutBox = new TAboutBox(MainForm);
}

void DestroyForms()
{
    delete MainForm;   // the About box with it
    MainForm = nullptr;
    ImportDialog = nullptr;
    AboutBox = nullptr;
    KlassenSelect = nullptr;
    SchFilterDialog = nullptr;
    IncSearch = nullptr;
    DebugWin = nullptr;
    ProStatD = nullptr;
    SchStatD = nullptr;
    HandDialog = nullptr;
    PrintConfDialog = nullptr;
}

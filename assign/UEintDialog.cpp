#include "assign/UEintDialog.h"

#include "assign/UEinteilung.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UApplication.h"
#include "platform/UFitText.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

TEintDialog* EintDialog = nullptr;

namespace {

constexpr int HelpContext = 120;

// The texts of the status line, in the order a run shows them.
const QString StatusStart = QStringLiteral("Start drücken, um die Einteilung zu beginnen");
const QString StatusInit = QStringLiteral("Initialisierung ...");
const QString StatusRunning = QStringLiteral("Einteilung läuft ...");
const QString StatusFinishing = QStringLiteral("Fertigstellen ...");
const QString StatusDone = QStringLiteral("Einteilung beendet");

// The busy cursor for the length of a run; restore() puts the previous
// cursor back once, early or at the latest when the run ends.
class TBusyCursor {
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { restore(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

    void restore()
    {
        if (FActive)
            QGuiApplication::restoreOverrideCursor();
        FActive = false;
    }

private:
    bool FActive = true;
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, 17);
    label->setAlignment(align);
    return label;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& title, const QRect& r)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(r);
    return group;
}

} // namespace

// The dialog's progress bar as the run sees it.
class TEintDialog::TBarProgress final : public TEintProgress {
public:
    explicit TBarProgress(QProgressBar* bar) : FBar(bar) {}

    void setMinMax(int min, int max) override { FBar->setRange(min, max); }
    void setStep(int step) override { FStep = step; }
    void setPosition(int position) override { FBar->setValue(position); }
    // QProgressBar repaints itself at once when its value changes visibly.
    void StepIt() override { FBar->setValue(FBar->value() + FStep); }

private:
    QProgressBar* FBar;
    int FStep = 1;
};

TEintDialog::TEintDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("EintDialog"));
    setWindowTitle(QStringLiteral("Automatische Schülereinteilung"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(339, 351);
    SetHelpContext(this, HelpContext);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    GroupBox2 = makeGroup(this, "GroupBox2", QStringLiteral("Projektplätze"), QRect(8, 8, 321, 73));
    SchAnzLabel = makeLabel(GroupBox2, "SchAnzLabel", QStringLiteral("0000"), 8, 24, 52, right);
    Label4 = makeLabel(GroupBox2, "Label4", QStringLiteral("Schüler"), 66, 24, 60);
    ProPlLabel1 = makeLabel(GroupBox2, "ProPlLabel1", QStringLiteral("0000"), 128, 24, 52, right);
    Label3 = makeLabel(GroupBox2, "Label3", QStringLiteral("Projektplätze min."), 186, 24, 128);
    ProPlLabel2 = makeLabel(GroupBox2, "ProPlLabel2", QStringLiteral("0000"), 128, 46, 52, right);
    Label5 = makeLabel(GroupBox2, "Label5", QStringLiteral("Projektplätze max."), 186, 46, 128);

    GroupBox1 = makeGroup(this, "GroupBox1", QStringLiteral("Optionen ..."), QRect(8, 88, 321, 121));
    Label2 = makeLabel(GroupBox1, "Label2", QStringLiteral("Einteilungsalgorithmus:"), 12, 26, 150);
    ImplementIDString = makeLabel(GroupBox1, "ImplementIDString", QStringLiteral("unbekannt"), 162, 26, 148, right);
    Label1 = makeLabel(GroupBox1, "Label1", QStringLiteral("Max. Einteilungstiefe"), 12, 57, 136);
    TiefeSelect = new QComboBox(GroupBox1);
    TiefeSelect->setObjectName(QStringLiteral("TiefeSelect"));
    TiefeSelect->setGeometry(150, 53, 160, 25);
    TiefeSelect->addItems({QStringLiteral("nur Erstwahlen"), QStringLiteral("Erst- und Zweitwahlen"),
                           QStringLiteral("Erst- bis Drittwahlen"), QStringLiteral("Erst- bis Viertwahlen"),
                           QStringLiteral("Erst- bis Fünftwahlen")});
    OptionsBut = new QPushButton(QStringLiteral("Optionen ..."), GroupBox1);
    OptionsBut->setObjectName(QStringLiteral("OptionsBut"));
    OptionsBut->setGeometry(210, 87, 100, 25);
    OptionsBut->setAutoDefault(false);

    GroupBox3 = makeGroup(this, "GroupBox3", QStringLiteral("Fortschritt"), QRect(8, 216, 321, 81));
    ProgressBar = new QProgressBar(GroupBox3);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(12, 25, 297, 20);
    Schrittbeschreibung = new QLineEdit(GroupBox3);
    Schrittbeschreibung->setObjectName(QStringLiteral("Schrittbeschreibung"));
    // A line edit keeps two pixels before its text: start it two to the
    // left, so that the text lines up with the bar and the labels above.
    Schrittbeschreibung->setGeometry(10, 52, 299, 20);
    Schrittbeschreibung->setReadOnly(true);
    Schrittbeschreibung->setFrame(false);
    Schrittbeschreibung->setFocusPolicy(Qt::NoFocus);
    // No field of its own: the text stands on the group's background.
    QPalette pal = Schrittbeschreibung->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    Schrittbeschreibung->setPalette(pal);

    Abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    Abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    Abbrechen->setGeometry(168, 312, 75, 25);
    Abbrechen->setAutoDefault(false);
    Start = new QPushButton(QStringLiteral("Start"), this);
    Start->setObjectName(QStringLiteral("Start"));
    Start->setGeometry(256, 312, 75, 25);
    Start->setDefault(true);

    // Texts wider than designed widen their controls and push what stands
    // right of them; the groups and the window grow by the widest row, and
    // the buttons stay at the right.
    SetFitTexts(ImplementIDString, {getImplIdString()});
    SetFitTexts(Schrittbeschreibung, {StatusStart, StatusInit, StatusRunning, StatusFinishing, StatusDone});
    const int dx = std::max({FitRow({{SchAnzLabel}, {Label4}, {ProPlLabel1, ProPlLabel2}, {Label3, Label5}}),
                             FitRow({{Label2}, {ImplementIDString}}), FitRow({{Label1}, {TiefeSelect}}),
                             FitRow({{Schrittbeschreibung}})});
    GrowRight(dx, {this, GroupBox1, GroupBox2, GroupBox3, ImplementIDString, TiefeSelect, ProgressBar,
                   Schrittbeschreibung});
    FitRowFromRight({OptionsBut}, dx);
    FitRowFromRight({Start, Abbrechen}, dx);

    setTabOrder(TiefeSelect, OptionsBut);
    setTabOrder(OptionsBut, Abbrechen);
    setTabOrder(Abbrechen, Start);

    connect(Start, &QPushButton::clicked, this, &TEintDialog::StartClick);
    connect(Abbrechen, &QPushButton::clicked, this, &TEintDialog::AbbrechenClick);
    connect(OptionsBut, &QPushButton::clicked, this, &TEintDialog::OptionsButClick);

    FormCreate();
}

TEintDialog::~TEintDialog()
{
    if (EintDialog == this)
        EintDialog = nullptr;
}

void TEintDialog::FormCreate()
{
    TiefeSelect->setCurrentIndex(4);
}

void TEintDialog::FormShow()
{
    ProgressBar->setValue(0);
    SchAnzLabel->setNum(SchuelerData->Anz());
    int min = 0;
    int max = 0;
    ProjektData->getSpaceMinMax(min, max);
    ProPlLabel1->setNum(min);
    ProPlLabel2->setNum(max);
    setStatus(StatusStart);
    TiefeSelect->setCurrentIndex(4);
    ImplementIDString->setText(getImplIdString());
    // Enter starts, wherever the focus was left last time.
    Start->setFocus(Qt::OtherFocusReason);
}

void TEintDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

int TEintDialog::getMaxDepth() const
{
    const int index = TiefeSelect->currentIndex();
    return index < 0 ? 5 : index + 1;
}

void TEintDialog::setStatus(const QString& text)
{
    Schrittbeschreibung->setText(text);
    Schrittbeschreibung->setCursorPosition(0);
    Schrittbeschreibung->repaint();
}

void TEintDialog::StartClick()
{
    TBusyCursor busy;
    QElapsedTimer clock;
    clock.start();
    try {
        setStatus(StatusInit);
        TEinteilung run(*SchuelerData, *ProjektData, getMaxDepth());
        setStatus(StatusRunning);
        TBarProgress progress(ProgressBar);
        run.SolveIt(progress);
        setStatus(StatusFinishing);
        run.ReadBack();
        setStatus(StatusDone);
        const qint64 ms = clock.elapsed();
        busy.restore();
        ShowMessage(EintResultText(SchuelerData->getEintAnz(), SchuelerData->Anz(), ms));
    } catch (...) {
        busy.restore();
        ShowMessage(TApplication::currentExceptionMessage());
        reject();
        return;
    }
    accept();
}

QString EintResultText(int eintAnz, int anz, qint64 ms)
{
    return QStringLiteral("%1 von %2 Schülern in %3.%4 Sekunden eingeteilt")
        .arg(eintAnz)
        .arg(anz)
        .arg(ms / 1000)
        .arg(ms % 1000 / 100);
}

void TEintDialog::AbbrechenClick()
{
    reject();
}

void TEintDialog::OptionsButClick()
{
    SetEintOptions();
}

#include "assign/UProStatD.h"

#include "assign/UStatWidgets.h"
#include "data/UEinteilungBasics.h"
#include "data/UFilter.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

TProStatD* ProStatD = nullptr;

namespace {

constexpr int HelpContext = 131;

QFrame* makeBevel(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

TTrackBar::TTrackBar(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 100);
    setTickInterval(10);
    setTickPosition(QSlider::TicksBelow);
    setEnabled(false);
}

void TTrackBar::setSelection(int start, int end)
{
    FSelStart = qBound(minimum(), start, maximum());
    FSelEnd = qBound(minimum(), end, maximum());
    update();
}

void TTrackBar::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    auto xOf = [&](int v) {
        return groove.left() + handle.width() / 2
               + QStyle::sliderPositionFromValue(minimum(), maximum(), v, span);
    };
    const int x1 = xOf(FSelStart);
    const int x2 = xOf(FSelEnd);
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 1));
    p.setBrush(palette().color(QPalette::Active, QPalette::Highlight));
    const int top = groove.center().y() - 2;
    if (x2 > x1)
        p.drawRect(QRect(x1, top, x2 - x1, 4));
    // The ends as small marks above the groove.
    p.drawLine(x1, groove.top() - 3, x1, top);
    p.drawLine(x2, groove.top() - 3, x2, top);
}

TProStatD::TProStatD(QWidget* parent)
    : QDialog(parent)
{
    SetupStatDialog(this, "ProStatD", QStringLiteral("Projekt-Statistik"), HelpContext);

    // Number and name.
    Bevel2 = makeBevel(this, "Bevel2");
    Nr = MakeStatLabel(Bevel2, "Nr");
    Name = MakeStatLabel(Bevel2, "Name");
    Nr->setFont(StatHeadingFont());
    Name->setFont(StatHeadingFont());
    Nr->setMinimumWidth(40);
    auto* top = new QHBoxLayout(Bevel2);
    top->setContentsMargins(14, 6, 14, 6);
    top->addWidget(Nr);
    top->addSpacing(8);
    top->addWidget(Name, 1);

    // Grade range, admission, closed and demand.
    Bevel1 = makeBevel(this, "Bevel1");
    Label4 = MakeStatLabel(Bevel1, "Label4", QStringLiteral("Klassenstufen"));
    JgMin = MakeStatFigure(Bevel1, "JgMin", 41);
    Label5 = MakeStatLabel(Bevel1, "Label5", QStringLiteral("bis"));
    JgMax = MakeStatFigure(Bevel1, "JgMax", 41);
    Gestrichen = MakeStatLabel(Bevel1, "Gestrichen");
    WeiblMaennl = MakeStatLabel(Bevel1, "WeiblMaennl");
    ZuWenig = MakeStatLabel(Bevel1, "ZuWenig");
    auto* data = new QGridLayout(Bevel1);
    data->setContentsMargins(14, 6, 14, 6);
    auto* range = new QHBoxLayout;
    range->addWidget(Label4);
    range->addSpacing(12);
    range->addWidget(JgMin);
    range->addSpacing(6);
    range->addWidget(Label5);
    range->addSpacing(6);
    range->addWidget(JgMax);
    range->addStretch(1);
    data->addLayout(range, 0, 0);
    data->addWidget(Gestrichen, 0, 1);
    data->addWidget(WeiblMaennl, 1, 0);
    data->addWidget(ZuWenig, 1, 1);
    data->setColumnStretch(0, 1);
    data->setColumnMinimumWidth(1, 130);
    data->setHorizontalSpacing(16);

    // Participants.
    GroupBox1 = new QGroupBox(QStringLiteral("Teilnehmerzahlen"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    TeilnMin = MakeStatLabel(GroupBox1, "TeilnMin");
    TeilnAnz = MakeStatLabel(GroupBox1, "TeilnAnz");
    TeilnMax = MakeStatLabel(GroupBox1, "TeilnMax");
    Label1 = MakeStatLabel(GroupBox1, "Label1", QStringLiteral("Teilnehmerminimum"));
    Label2 = MakeStatLabel(GroupBox1, "Label2", QStringLiteral("derzeitige Teilnehmeranzahl"));
    Label3 = MakeStatLabel(GroupBox1, "Label3", QStringLiteral("Teilnehmermaximum"));
    TrackBar = new TTrackBar(GroupBox1);
    TrackBar->setObjectName(QStringLiteral("TrackBar"));
    for (QLabel* l : {TeilnMin, TeilnAnz, TeilnMax, Label1, Label2, Label3})
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    auto* teiln = new QGridLayout(GroupBox1);
    teiln->setVerticalSpacing(2);
    teiln->addWidget(TeilnMin, 0, 0);
    teiln->addWidget(TeilnAnz, 0, 1);
    teiln->addWidget(TeilnMax, 0, 2);
    teiln->addWidget(Label1, 1, 0);
    teiln->addWidget(Label2, 1, 1);
    teiln->addWidget(Label3, 1, 2);
    teiln->addWidget(TrackBar, 2, 0, 1, 3);
    for (int c = 0; c < 3; ++c)
        teiln->setColumnStretch(c, 1);

    // The counts.
    Grid = new TGridWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    SetupCountGrid(Grid, 8, 4, 2);
    // The columns fit their headings in the platform font.
    Grid->setColWidth(0, CountColWidth(Grid, 90, {QStringLiteral("Davon ungültig")}));
    const int rankWidth =
        CountColWidth(Grid, 45, {QStringLiteral("Gesamt"), QStringLiteral("Fest"), QStringLiteral("5.-Wahl")});
    for (int c = 1; c < 8; ++c)
        Grid->setColWidth(c, rankWidth);
    FitCountGrid(Grid);

    Zurueck = MakeStatButton(this, "Zurueck", QStringLiteral("<<"));
    Vor = MakeStatButton(this, "Vor", QStringLiteral(">>"));
    OkBtn = MakeStatButton(this, "OkBtn", QStringLiteral("OK"));
    OkBtn->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addSpacing(8);
    buttons->addWidget(Zurueck);
    buttons->addSpacing(12);
    buttons->addWidget(Vor);
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 8, 16, 16);
    column->addWidget(Bevel2);
    column->addWidget(Bevel1);
    column->addSpacing(6);
    column->addWidget(GroupBox1);
    column->addSpacing(6);
    column->addWidget(Grid);
    column->addSpacing(16);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(Zurueck, &QPushButton::clicked, this, &TProStatD::ZurueckClick);
    connect(Vor, &QPushButton::clicked, this, &TProStatD::VorClick);
    connect(OkBtn, &QPushButton::clicked, this, &TProStatD::OkBtnClick);
    // The lists belong to one showing; they may go once it has closed.
    connect(this, &QDialog::finished, this, [this] {
        currentPro = nullptr;
        currentSch = nullptr;
    });
}

void TProStatD::UpdateData(TProjektData* Pro, TSchuelerData* Sch, int PrNr)
{
    currentNr = PrNr;
    currentSch = Sch;
    currentPro = Pro;
    const TProjekt* P = Pro->getNr(PrNr);
    // The counts of the projects follow the pupils' assignments.
    CountEint(*Sch, *Pro);

    Nr->setText(QString::number(P->nr));
    Name->setText(P->name);
    JgMin->setText(QString::number(P->jgmin));
    JgMax->setText(QString::number(P->jgmax));
    if (P->weib && P->maenn)
        WeiblMaennl->clear();
    else if (P->weib)
        WeiblMaennl->setText(QStringLiteral("nur weiblichen Teilnehmern offen"));
    else if (P->maenn)
        WeiblMaennl->setText(QStringLiteral("nur männlichen Teilnehmern offen"));
    else
        WeiblMaennl->setText(QStringLiteral("nur fest eingeteilten Schülern offen"));
    Gestrichen->setText(P->gesp ? QStringLiteral("Projekt gestrichen") : QStringLiteral("Projekt offen"));

    TeilnMin->setText(QString::number(P->teilnmin));
    TeilnMax->setText(QString::number(P->teilnmax));
    TeilnAnz->setText(QString::number(P->Anz()));
    TrackBar->setSelection(P->teilnmin, P->teilnmax);
    TrackBar->setValue(P->Anz());

    // One pass counts what the selections by choice (A, F1, W1..W5) and by
    // assignment (E, F3, E1..E5) would count. The project is a set of one
    // number, so a number outside 0..255 matches nobody.
    TIntSet<256> project;
    project.include(P->nr);
    int A = 0, F1 = 0, E = 0, F3 = 0;
    int W[6] = {};
    int EW[6] = {};
    for (int i = 1; i <= Sch->Anz(); ++i) {
        const TSchueler* S = Sch->getNr(i);
        bool chose = false;
        for (int k = 1; k <= 5; ++k)
            if (project.contains(S->wahl[k])) {
                chose = true;
                ++W[k];
            }
        if (chose) {
            ++A;
            if (S->fest && project.contains(S->wahl[1]))
                ++F1;
        }
        if (project.contains(S->zuteil)) {
            ++E;
            const int p = S->getPriority();
            if (p == 1 && S->fest)
                ++F3;
            if (p >= 1 && p <= 5)
                ++EW[p];
        }
    }

    Grid->setCell(0, 1, QStringLiteral("Wahlen"));
    Grid->setCell(0, 2, QStringLiteral("Davon ungültig"));
    Grid->setCell(0, 3, QStringLiteral("Eingeteilt"));
    Grid->setCell(1, 0, QStringLiteral("Gesamt"));
    Grid->setCell(2, 0, QStringLiteral("Fest"));
    for (int k = 1; k <= 5; ++k)
        Grid->setCell(k + 2, 0, QStringLiteral("%1.-Wahl").arg(k));
    Grid->setCell(1, 1, QString::number(A));
    Grid->setCell(2, 1, QString::number(F1));
    Grid->setCell(1, 3, QString::number(E));
    Grid->setCell(2, 3, QString::number(F3));
    for (int k = 1; k <= 5; ++k) {
        Grid->setCell(k + 2, 1, QString::number(W[k]));
        Grid->setCell(k + 2, 3, QString::number(EW[k]));
    }

    ZuWenig->setText(P->teilnmin > A && Sch->Anz() > 0 ? QStringLiteral("Zu wenig Nachfrage!") : QString());
    // A table to read: no cell stands out as selected.
    Grid->selectionModel()->clearSelection();
}

void TProStatD::ZurueckClick()
{
    if (!currentPro || !currentSch)
        return;
    if (currentNr > 1)
        --currentNr;
    UpdateData(currentPro, currentSch, currentNr);
}

void TProStatD::VorClick()
{
    if (!currentPro || !currentSch)
        return;
    if (currentPro->Anz() > currentNr)
        ++currentNr;
    UpdateData(currentPro, currentSch, currentNr);
}

void TProStatD::OkBtnClick()
{
    accept();
}

#include "assign/USchStatD.h"

#include "app/UKlassenSelect.h"
#include "data/UEinteilungBasics.h"
#include "data/UFilter.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"
#include "platform/UUi.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

TSchStatD* SchStatD = nullptr;

namespace {

constexpr int HelpContext = 130;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEnabled(false);
    edit->setFixedWidth(56);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setMinimumSize(75, 25);
    return button;
}

} // namespace

int SharePercent(int count, int V)
{
    if (V <= 0)
        return 0;
    const qint64 num = qint64(count) * 100;
    qint64 q = num / V;
    const qint64 rem = num % V;
    // Compare twice the remainder with the divisor: above rounds up, an
    // exact half goes to the even neighbour.
    if (2 * rem > V || (2 * rem == V && q % 2 != 0))
        ++q;
    return int(q);
}

int CountUngueltig(const TSchuelerData& L, const TProjektData& Pro)
{
    if (Pro.Anz() <= 0 || L.Anz() <= 0)
        return 0;
    int n = 0;
    for (int i = 1; i <= L.Anz(); ++i) {
        const TSchueler* S = L.getNr(i);
        bool valid = false;
        for (int r = 1; r <= 5 && !valid; ++r) {
            const int w = S->wahl[r];
            if (w >= 1 && w <= Pro.Anz())
                valid = isEintPossible(*S, *Pro.getNr(w));
        }
        if (!valid)
            ++n;
    }
    return n;
}

TSchStatD::TSchStatD(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SchStatD"));
    setWindowTitle(QStringLiteral("Schüler-Statistik"));
    setProperty("helpContext", HelpContext);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    Klassennamen = makeLabel(this, "Klassennamen");
    QFont heading(QStringLiteral("Arial"));
    heading.setPixelSize(15);
    heading.setBold(true);
    Klassennamen->setFont(heading);

    GroupBox2 = new QGroupBox(QStringLiteral("Schülerzahlen"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Label6 = makeLabel(GroupBox2, "Label6", QStringLiteral("Schüler"));
    SchAnz = makeEdit(GroupBox2, "SchAnz");
    Label7 = makeLabel(GroupBox2, "Label7", QStringLiteral("männlich"));
    Maenn = makeEdit(GroupBox2, "Maenn");
    Label8 = makeLabel(GroupBox2, "Label8", QStringLiteral("weiblich"));
    Weib = makeEdit(GroupBox2, "Weib");
    auto* counts = new QHBoxLayout(GroupBox2);
    counts->addWidget(Label6);
    counts->addWidget(SchAnz);
    counts->addStretch(1);
    counts->addWidget(Label7);
    counts->addWidget(Maenn);
    counts->addStretch(1);
    counts->addWidget(Label8);
    counts->addWidget(Weib);

    GroupBox1 = new QGroupBox(QStringLiteral("Wahlen"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label5 = makeLabel(GroupBox1, "Label5", QStringLiteral("Gültige Wahlen"));
    Gueltig = makeEdit(GroupBox1, "Gueltig");
    Label3 = makeLabel(GroupBox1, "Label3", QStringLiteral("Unvollständige Wahlen"));
    Unvollst = makeEdit(GroupBox1, "Unvollst");
    Label4 = makeLabel(GroupBox1, "Label4", QStringLiteral("Ungültige Wahlen"));
    Ungueltig = makeEdit(GroupBox1, "Ungueltig");
    Label9 = makeLabel(GroupBox1, "Label9", QStringLiteral("Nicht gewählt"));
    NichtGew = makeEdit(GroupBox1, "NichtGew");
    auto* choices = new QGridLayout(GroupBox1);
    choices->addWidget(Label5, 0, 0);
    choices->addWidget(Gueltig, 0, 1);
    choices->addWidget(Label3, 0, 3);
    choices->addWidget(Unvollst, 0, 4);
    choices->addWidget(Label4, 1, 0);
    choices->addWidget(Ungueltig, 1, 1);
    choices->addWidget(Label9, 1, 3);
    choices->addWidget(NichtGew, 1, 4);
    choices->setColumnStretch(2, 1);
    choices->setColumnMinimumWidth(2, 16);

    Label1 = makeLabel(this, "Label1", QStringLiteral("Derzeitige Einteilung"));
    Grid = new TGridWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setColCount(7);
    Grid->setRowCount(3);
    Grid->setFixedRows(1);
    Grid->setFixedCols(0);
    Grid->setEditingAllowed(false);
    // The columns fit their headings in the platform font.
    const int pad = 2 * Grid->textWidth(QStringLiteral("0"));
    int colWidth = 50;
    for (const QString& heading : {QStringLiteral("Nicht eint."), QStringLiteral("5.-Wahl"), QStringLiteral("100%")})
        colWidth = qMax(colWidth, Grid->textWidth(heading) + pad);
    for (int c = 0; c < 7; ++c)
        Grid->setColWidth(c, colWidth);
    Grid->setFocusPolicy(Qt::NoFocus);
    Grid->setSelectionMode(QAbstractItemView::NoSelection);
    Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The heading row is the grid's caption row; the rows below show whole.
    Grid->setFixedHeight(2 * Grid->frameWidth() + Grid->horizontalHeader()->sizeHint().height()
                         + 2 * Grid->defaultRowHeight());
    int width = 2 * Grid->frameWidth();
    for (int c = 0; c < 7; ++c)
        width += Grid->colWidth(c);
    Grid->setFixedWidth(width);

    Waehle = makeButton(this, "Waehle", QStringLiteral("Klassen auswählen"));
    Waehle->setMinimumWidth(105);
    OkBtn = makeButton(this, "OkBtn", QStringLiteral("OK"));
    OkBtn->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Waehle);
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 13);
    column->addWidget(Klassennamen);
    column->addSpacing(8);
    column->addWidget(GroupBox2);
    column->addSpacing(8);
    column->addWidget(GroupBox1);
    column->addSpacing(10);
    column->addWidget(Label1);
    column->addWidget(Grid);
    column->addSpacing(16);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(Waehle, &QPushButton::clicked, this, &TSchStatD::WaehleClick);
    connect(OkBtn, &QPushButton::clicked, this, &TSchStatD::OkBtnClick);
}

void TSchStatD::UpdateData(TSchuelerData* Sch, TProjektData* Pro, const TSearchFilter& F,
                           const QString& ClassNameString)
{
    currentSch = Sch;
    currentPro = Pro;
    int n = 0;
    const auto L = Sch->select(F, false, n);

    Klassennamen->setText(ClassNameString);
    SchAnz->setText(QString::number(n));

    // One pass over L counts what the single-criterion selections would:
    // gender, no choice at all, incomplete choices of pupils neither fixed
    // nor placed by hand, unassigned, fixed, and the rank of the assignment.
    int boys = 0, girls = 0, none = 0, incomplete = 0, U = 0;
    int counts[6] = {};   // fixed, then ranks 1..5
    for (int i = 1; i <= L->Anz(); ++i) {
        const TSchueler* S = L->getNr(i);
        if (S->geschl)
            ++boys;
        else
            ++girls;
        const int wahlAnz = S->getWahlAnz();
        if (wahlAnz == 0)
            ++none;
        if (!S->fest && !S->isHand() && wahlAnz >= 1 && wahlAnz <= 4)
            ++incomplete;
        const int p = S->getPriority();
        if (p == 0)
            ++U;
        else if (p >= 1 && p <= 5)
            ++counts[p];
        if (S->fest)
            ++counts[0];
    }
    Maenn->setText(QString::number(boys));
    Weib->setText(QString::number(girls));
    NichtGew->setText(QString::number(none));
    Unvollst->setText(QString::number(incomplete));

    const int invalid = CountUngueltig(*L, *Pro);
    Ungueltig->setText(QString::number(invalid));
    const int V = n - invalid;
    Gueltig->setText(QString::number(V));

    Grid->setCell(0, 0, QStringLiteral("Nicht eint."));
    Grid->setCell(1, 0, QStringLiteral("Fest"));
    for (int k = 1; k <= 5; ++k)
        Grid->setCell(k + 1, 0, QStringLiteral("%1.-Wahl").arg(k));
    Grid->setCell(0, 1, QString::number(U));
    for (int c = 0; c <= 5; ++c) {
        Grid->setCell(c + 1, 1, QString::number(counts[c]));
        Grid->setCell(c + 1, 2, QString::number(SharePercent(counts[c], V)) + QLatin1Char('%'));
    }
    // A table to read: no cell stands out as selected.
    Grid->selectionModel()->clearSelection();
}

void TSchStatD::WaehleClick()
{
    KlassenSelect->setKlassen(nullptr);
    if (KlassenSelect->exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<TSearchFilter> F(KlassenSelect->getFilter());
    const QString text = KlassenSelect->getString(30);
    if (currentSch && currentPro)
        UpdateData(currentSch, currentPro, *F, text);
    else
        ShowMessage(QStringLiteral("Fehler in TSchStatD.WaehleClick. Anzeige nicht moeglich."));
}

void TSchStatD::OkBtnClick()
{
    accept();
}

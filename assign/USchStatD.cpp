#include "assign/USchStatD.h"

#include "app/UKlassenSelect.h"
#include "assign/UStatWidgets.h"
#include "data/UBasics.h"
#include "data/UEinteilungBasics.h"
#include "data/UFilter.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"
#include "platform/UUi.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <memory>

TSchStatD* SchStatD = nullptr;

namespace {

constexpr int HelpContext = 130;

// One labelled count: the label, then its edit.
struct TCount {
    QLabel*& label;
    const char* labelName;
    QString text;
    QLineEdit*& edit;
    const char* editName;
};

// A group box of labelled counts, perRow to a row; the counts of a row are
// kept apart by stretching gaps.
QGroupBox* makeCountBox(QWidget* parent, const char* name, const QString& title, int perRow,
                        std::initializer_list<TCount> counts)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(box);
    int i = 0;
    for (const TCount& c : counts) {
        c.label = MakeStatLabel(box, c.labelName, c.text);
        c.edit = MakeStatFigure(box, c.editName, 56);
        grid->addWidget(c.label, i / perRow, 3 * (i % perRow));
        grid->addWidget(c.edit, i / perRow, 3 * (i % perRow) + 1);
        ++i;
    }
    for (int gap = 2; gap < 3 * perRow - 1; gap += 3) {
        grid->setColumnStretch(gap, 1);
        grid->setColumnMinimumWidth(gap, 16);
    }
    return box;
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
            const int w = Pro.ValidNr(S->wahl[r]);
            if (w != 0)
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
    SetupStatDialog(this, "SchStatD", QStringLiteral("Schüler-Statistik"), HelpContext);

    Klassennamen = MakeStatLabel(this, "Klassennamen");
    Klassennamen->setFont(StatHeadingFont());

    GroupBox2 = makeCountBox(this, "GroupBox2", QStringLiteral("Schülerzahlen"), 3,
                             {{Label6, "Label6", QStringLiteral("Schüler"), SchAnz, "SchAnz"},
                              {Label7, "Label7", QStringLiteral("männlich"), Maenn, "Maenn"},
                              {Label8, "Label8", QStringLiteral("weiblich"), Weib, "Weib"}});
    GroupBox1 = makeCountBox(this, "GroupBox1", QStringLiteral("Wahlen"), 2,
                             {{Label5, "Label5", QStringLiteral("Gültige Wahlen"), Gueltig, "Gueltig"},
                              {Label3, "Label3", QStringLiteral("Unvollständige Wahlen"), Unvollst, "Unvollst"},
                              {Label4, "Label4", QStringLiteral("Ungültige Wahlen"), Ungueltig, "Ungueltig"},
                              {Label9, "Label9", QStringLiteral("Nicht gewählt"), NichtGew, "NichtGew"}});

    Label1 = MakeStatLabel(this, "Label1", QStringLiteral("Derzeitige Einteilung"));
    Grid = new TGridWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    SetupCountGrid(Grid, 7, 3, 0);
    // The columns fit their headings in the platform font.
    const int colWidth = CountColWidth(
        Grid, 50, {QStringLiteral("Nicht eint."), QStringLiteral("5.-Wahl"), QStringLiteral("100%")});
    for (int c = 0; c < 7; ++c)
        Grid->setColWidth(c, colWidth);
    FitCountGrid(Grid);

    Waehle = MakeStatButton(this, "Waehle", QStringLiteral("Klassen auswählen"));
    Waehle->setMinimumWidth(105);
    OkBtn = MakeStatButton(this, "OkBtn", QStringLiteral("OK"));
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
    // The lists belong to one showing; they may go once it has closed.
    connect(this, &QDialog::finished, this, [this] {
        currentSch = nullptr;
        currentPro = nullptr;
    });
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
        const int p = S->getPriority(*Pro);
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

bool TSchStatD::UpdateKlasse(TSchuelerData* Sch, TProjektData* Pro, const QString& KlasseText)
{
    int n = 0;
    QString r;
    if (!SplitNumber(TrimSpaces(KlasseText), n, r))
        return false;
    TSearchFilter f;
    f.jgst.include(n);
    f.abt.include(UpperAscii(FirstCharOr(r, QLatin1Char(' ')).unicode()));
    UpdateData(Sch, Pro, f, QStringLiteral("Klassen %1 ").arg(n) + r);
    return true;
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

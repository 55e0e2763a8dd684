#include "assign/UHandDialog.h"

#include "data/UEinteilungBasics.h"
#include "data/UFilter.h"
#include "data/UProjektData.h"
#include "data/USchueler.h"
#include "data/USchuelerData.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

THandDialog* HandDialog = nullptr;

namespace {

constexpr int HelpContext = 122;
constexpr int HelpContextDelHand = 123;

QRadioButton* makeOption(QWidget* parent, const QString& name, const QString& text)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

// A text shown with "&" as a plain character.
QString literal(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

THandDialog::THandDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HandDialog"));
    setWindowTitle(QStringLiteral("Manuelle Schülereinteilung"));
    SetHelpContext(this, HelpContext);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    SchuelerName = new QLabel(this);
    SchuelerName->setObjectName(QStringLiteral("SchuelerName"));
    SchuelerName->setTextFormat(Qt::PlainText);

    GroupBox = new QGroupBox(QStringLiteral("von Hand einteilen in ..."), this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    OptAufheb = makeOption(GroupBox, QStringLiteral("OptAufheb"), QStringLiteral("Handeinteilung &aufheben"));
    OptNull = makeOption(GroupBox, QStringLiteral("OptNull"), QStringLiteral("in Projekt &0 (ungültig) einteilen"));
    for (int r = 1; r <= 5; ++r)
        Opt[r] = makeOption(GroupBox, QStringLiteral("Opt%1").arg(r), QStringLiteral("&%1.: keine Wahl").arg(r));

    // One group: selecting one deselects the others.
    FGroup = new QButtonGroup(this);
    FGroup->addButton(OptAufheb, -1);
    FGroup->addButton(OptNull, 0);
    for (int r = 1; r <= 5; ++r)
        FGroup->addButton(Opt[r], r);

    auto* options = new QGridLayout(GroupBox);
    options->setHorizontalSpacing(16);
    options->addWidget(Opt[1], 0, 0);
    options->addWidget(Opt[2], 0, 1);
    options->addWidget(Opt[3], 1, 0);
    options->addWidget(Opt[4], 1, 1);
    options->addWidget(Opt[5], 2, 0);
    options->setRowMinimumHeight(3, 12);
    options->addWidget(OptAufheb, 4, 0, 1, 2);
    options->addWidget(OptNull, 5, 0, 1, 2);
    options->setColumnMinimumWidth(0, 136);
    options->setColumnMinimumWidth(1, 136);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setMinimumSize(75, 25);
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    CancelButton->setMinimumSize(75, 25);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(OKButton);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(13, 13, 12, 13);
    column->addWidget(SchuelerName);
    column->addWidget(GroupBox);
    column->addSpacing(8);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, OptAufheb);
    setTabOrder(OptAufheb, OptNull);
    setTabOrder(OptNull, Opt[1]);
    for (int r = 1; r < 5; ++r)
        setTabOrder(Opt[r], Opt[r + 1]);

    connect(OKButton, &QPushButton::clicked, this, &THandDialog::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &THandDialog::CancelButtonClick);
}

int THandDialog::getOption() const
{
    if (OptNull->isChecked())
        return 0;
    for (int r = 1; r <= 5; ++r)
        if (Opt[r]->isChecked())
            return r;
    return -1;
}

void THandDialog::setOption(int value)
{
    // An exclusive group keeps one button checked; lift it for a moment.
    FGroup->setExclusive(false);
    for (QAbstractButton* b : FGroup->buttons())
        b->setChecked(false);
    FGroup->setExclusive(true);
    if (value == -1)
        OptAufheb->setChecked(true);
    else if (value == 0)
        OptNull->setChecked(true);
    else if (value >= 1 && value <= 5)
        Opt[value]->setChecked(true);
}

void THandDialog::prepareRank(int r)
{
    QRadioButton* button = Opt[r];
    const int choice = S->wahl[r];
    if (choice == 0) {
        button->setText(QStringLiteral("&%1.: keine Wahl").arg(r));
        button->setEnabled(false);
        return;
    }
    const int nr = Pro->ValidNr(choice);
    if (nr == 0) {
        button->setText(QStringLiteral("&%1.: unmöglich").arg(r));
        button->setEnabled(false);
        return;
    }
    const TProjekt* P = Pro->getNr(nr);
    button->setText(QStringLiteral("&%1.: (%2) ").arg(r).arg(P->nr) + literal(P->getName()));
    button->setEnabled(isEintPossible(*S, *P));
}

void THandDialog::setData(TSchueler* AS, TProjektData* APro)
{
    S = AS;
    Pro = APro;
    handbackup = S->hand;
    S->hand = -1;
    try {
        SchuelerName->setText(S->getName());
        setOption(handbackup);
        for (int r = 1; r <= 5; ++r)
            prepareRank(r);
    } catch (...) {
        S->hand = handbackup;
        S = nullptr;
        throw;
    }
}

void THandDialog::OKButtonClick()
{
    accept();
}

void THandDialog::CancelButtonClick()
{
    reject();
}

void THandDialog::done(int r)
{
    if (S && r == Accepted) {
        const int hand = getOption();
        S->hand = hand;
        if (hand == 0)
            S->zuteil = 0;
        else if (hand >= 1 && hand <= 5)
            S->zuteil = S->wahl[hand];
    } else if (S) {
        S->hand = handbackup;
    }
    S = nullptr;
    QDialog::done(r);
}

bool DelHandEint(TSchuelerData& Sch)
{
    TSearchFilter f;
    f.fest = stHand;
    int n = 0;
    Sch.select(f, true, n);
    const int N = Sch.Anz();
    if (n == 0) {
        ShowMessage(QStringLiteral("Keiner der %1 Schülern ist derzeit manuell eingeteilt.").arg(N));
        return false;
    }
    if (MessageDlg(QStringLiteral("%1 der %2 Schüler sind derzeit manuell eingeteilt. \r"
                                  "Diese Schüler für die automatische Einteilung freigeben?")
                       .arg(n)
                       .arg(N),
                   TMsgType::mtConfirmation, mbOK | mbCancel | mbHelp, HelpContextDelHand)
        != TModalResult::mrOk)
        return false;
    Sch.clearHand();
    Sch.setModified();
    return true;
}

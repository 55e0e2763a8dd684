#include "app/UKlassenSelect.h"

#include "data/UBasics.h"
#include "data/UFilter.h"
#include "platform/UStringGrid.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

TKlassenSelect* KlassenSelect = nullptr;

namespace {

QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setFixedWidth(qMax(100, list->fontMetrics().averageCharWidth() * 14));
    list->setMinimumHeight(119);
    QSizePolicy policy = list->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    list->setSizePolicy(policy);
    return list;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setMinimumSize(92, 30);
    return button;
}

// The marked items of a list in list order (not in click order).
QStringList markedItems(const QListWidget* list)
{
    QStringList r;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            r << list->item(i)->text();
    return r;
}

} // namespace

TKlassenSelect::TKlassenSelect(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("KlassenSelect"));
    setWindowTitle(QStringLiteral("Klassen auswählen"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("Markieren Sie Klassen bzw. Jahrgangsstufen und"), Bevel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Abteilungen mit Hilfe der Pfeiltasten, Shift und Strg"), Bevel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto* bevelLayout = new QVBoxLayout(Bevel1);
    bevelLayout->setContentsMargins(10, 8, 10, 8);
    bevelLayout->addWidget(Label1);
    bevelLayout->addWidget(Label2);

    ListJgst = makeList(this, "ListJgst");
    ListAbt = makeList(this, "ListAbt");
    OkBtn = makeButton(this, "OkBtn", QStringLiteral("OK"));
    SelectAll = makeButton(this, "SelectAll", QStringLiteral("Alle wählen"));
    CancelBtn = makeButton(this, "CancelBtn", QStringLiteral("Abbrechen"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OkBtn);
    buttons->addWidget(SelectAll);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(ListJgst);
    lower->addWidget(ListAbt);
    lower->addStretch(1);
    lower->addSpacing(20);
    lower->addLayout(buttons);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->addWidget(Bevel1);
    column->addSpacing(10);
    column->addLayout(lower, 1);
    column->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ListAbt, ListJgst);
    setTabOrder(ListJgst, OkBtn);
    setTabOrder(OkBtn, SelectAll);
    setTabOrder(SelectAll, CancelBtn);

    connect(OkBtn, &QPushButton::clicked, this, &TKlassenSelect::OkBtnClick);
    connect(SelectAll, &QPushButton::clicked, this, &TKlassenSelect::SelectAllClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TKlassenSelect::CancelBtnClick);

    setKlassen(nullptr);
}

void TKlassenSelect::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TKlassenSelect::setKlassen(const TStringGrid* OverViewGrid)
{
    ListJgst->clearSelection();
    ListAbt->clearSelection();
    if (OverViewGrid) {
        TwoLists = false;
        ListAbt->setVisible(false);
        ListJgst->clear();
        QStringList items;
        const int rows = OverViewGrid->rowCount();
        items.reserve(rows);
        for (int r = 1; r < rows; ++r)
            items << OverViewGrid->cell(0, r);
        ListJgst->addItems(items);
    } else {
        TwoLists = true;
        ListAbt->setVisible(true);
        ListJgst->clear();
        for (int g = 1; g <= 13; ++g)
            ListJgst->addItem(QString::number(g));
        ListAbt->clear();
        for (char c = 'A'; c <= 'H'; ++c)
            ListAbt->addItem(QString(QLatin1Char(c)));
    }
    ListJgst->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    ListAbt->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
}

TSearchFilter* TKlassenSelect::getFilter() const
{
    return TwoLists ? getJgstAbtFilter() : getKlassenFilter();
}

TSearchFilter* TKlassenSelect::getKlassenFilter() const
{
    auto* f = new TSearchFilter;
    f->kl = markedItems(ListJgst);
    return f;
}

TSearchFilter* TKlassenSelect::getJgstAbtFilter() const
{
    auto* f = new TSearchFilter;
    for (const QString& item : markedItems(ListJgst)) {
        int n = 0;
        // A value outside the set's range makes the criterion match nobody.
        if (StrToIntRange(item, n, INT_MIN, INT_MAX))
            f->jgst.include(n);
    }
    for (const QString& item : markedItems(ListAbt))
        f->abt.include(FirstCharOr(item, QLatin1Char(' ')).unicode());
    return f;
}

QString TKlassenSelect::getString(int maxlength) const
{
    const QStringList jgst = markedItems(ListJgst);
    const QStringList abt = TwoLists ? markedItems(ListAbt) : QStringList();
    QString s = QStringLiteral("Klassen");
    for (const QString& item : jgst + abt)
        s += QLatin1Char(' ') + item;
    if (jgst.size() == ListJgst->count() && (!TwoLists || abt.size() == ListAbt->count()))
        s = QStringLiteral("Alle Klassen");
    if (s.size() > maxlength) {
        if (TwoLists) {
            // A list without marks leaves its criterion inactive: all of its
            // items are selected.
            const qint64 g = jgst.isEmpty() ? ListJgst->count() : jgst.size();
            const qint64 a = abt.isEmpty() ? ListAbt->count() : abt.size();
            s = QString::number(g * a) + QStringLiteral(" selektierte Klassen");
        } else {
            s = QString::number(jgst.size()) + QStringLiteral(" selektierte Klassen");
        }
    }
    return s;
}

void TKlassenSelect::OkBtnClick()
{
    accept();
}

void TKlassenSelect::SelectAllClick()
{
    ListJgst->selectAll();
    ListAbt->selectAll();
    accept();
}

void TKlassenSelect::CancelBtnClick()
{
    reject();
}

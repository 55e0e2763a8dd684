#include "app/UKlassenSelect.h"

#include "data/UFilter.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TKlassenSelect* KlassenSelect = nullptr;

TKlassenSelect::TKlassenSelect(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("KlassenSelect"));
    setWindowTitle(QStringLiteral("Klassen auswählen"));
    ListJgst = new QListWidget;
    ListJgst->setObjectName(QStringLiteral("ListJgst"));
    ListJgst->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListAbt = new QListWidget;
    ListAbt->setObjectName(QStringLiteral("ListAbt"));
    ListAbt->setSelectionMode(QAbstractItemView::ExtendedSelection);
    OkBtn = new QPushButton(QStringLiteral("OK"));
    SelectAll = new QPushButton(QStringLiteral("Alle wählen"));
    CancelBtn = new QPushButton(QStringLiteral("Abbrechen"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(ListJgst);
    row->addWidget(ListAbt);
    auto* col = new QVBoxLayout;
    col->addWidget(OkBtn);
    col->addWidget(SelectAll);
    col->addWidget(CancelBtn);
    row->addLayout(col);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(SelectAll, &QPushButton::clicked, this, [this] {
        ListJgst->selectAll();
        ListAbt->selectAll();
        accept();
    });
    setKlassen(nullptr);
}

void TKlassenSelect::setKlassen(const TStringGrid*)
{
    ListJgst->clear();
    ListAbt->clear();
    for (int i = 1; i <= 13; ++i)
        ListJgst->addItem(QString::number(i));
    for (char c = 'A'; c <= 'H'; ++c)
        ListAbt->addItem(QString(QLatin1Char(c)));
}

TSearchFilter* TKlassenSelect::getFilter() const
{
    auto* f = new TSearchFilter;
    for (int i = 0; i < ListJgst->count(); ++i)
        if (ListJgst->item(i)->isSelected())
            f->jgst.include(ListJgst->item(i)->text().toInt());
    for (int i = 0; i < ListAbt->count(); ++i)
        if (ListAbt->item(i)->isSelected())
            f->abt.include(ListAbt->item(i)->text().at(0).unicode());
    return f;
}

QString TKlassenSelect::getString(int maxlength) const
{
    QString s = QStringLiteral("Klassen");
    int nj = 0, na = 0;
    for (int i = 0; i < ListJgst->count(); ++i)
        if (ListJgst->item(i)->isSelected()) {
            s += QLatin1Char(' ') + ListJgst->item(i)->text();
            ++nj;
        }
    for (int i = 0; i < ListAbt->count(); ++i)
        if (ListAbt->item(i)->isSelected()) {
            s += QLatin1Char(' ') + ListAbt->item(i)->text();
            ++na;
        }
    if (nj == ListJgst->count() && na == ListAbt->count())
        s = QStringLiteral("Alle Klassen");
    if (s.size() > maxlength)
        s = QString::number(nj * na) + QStringLiteral(" selektierte Klassen");
    return s;
}

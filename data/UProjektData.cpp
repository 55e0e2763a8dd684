#include "data/UProjektData.h"

#include "platform/UExceptions.h"
#include "platform/UStringGrid.h"

#include <algorithm>
#include <climits>
#include <memory>

TProjektData* ProjektData = new TProjektData;

TProjektData::TProjektData()
{
    reserve(100);
    add(TProjekt::CreateNull());
}

TProjektData::~TProjektData() = default;

void TProjektData::ClearData()
{
    for (TSchPro* p : std::as_const(FItems))
        delete p;
    clearList();
    add(TProjekt::CreateNull());
    ModSaved(QString());
}

TProjekt* TProjektData::getNr(int i) const
{
    if (i < 1 || i > Anz())
        throw Exception(QStringLiteral("UProjektData.getNr: ungueltige Projektnummer: %1").arg(i));
    return static_cast<TProjekt*>(FItems.at(i));
}

TProjekt* TProjektData::getNr0() const
{
    return static_cast<TProjekt*>(items(0));
}

QString TProjektData::MaxAnzText()
{
    return QStringLiteral("Es sind höchstens %1 Projekte möglich.").arg(MaxAnz);
}

TProjekt* TProjektData::getNrOr0(int nr) const
{
    return static_cast<TProjekt*>(FItems.at(ValidNr(nr)));
}

void TProjektData::InsertEmpty(int Index, TStringGrid& WriteTo)
{
    // Position 0 belongs to the pseudo-project.
    if (Index < 1 || Index > Anz() + 1)
        throw Exception(QStringLiteral("UProjektData.InsertEmpty: ungueltige Projektnummer: %1").arg(Index));
    auto p = std::make_unique<TProjekt>(Index);
    insert(Index, p.get());   // the list owns it from here
    const TProjekt* added = p.release();
    WriteTo.setRowTexts(Index, added->ToZeile());
}

void TProjektData::DeleteEntry(int Index)
{
    TProjekt* p = getNr(Index);
    removeAt(Index);
    delete p;
}

QStringList TProjektData::getRecCaptions() const
{
    return {QStringLiteral("Nr"), QStringLiteral("Name"), QStringLiteral("MinJgSt"), QStringLiteral("MaxJgSt"),
            QStringLiteral("MinTeiln"), QStringLiteral("MaxTeiln"), QStringLiteral("Geschl"), QStringLiteral("gesp")};
}

QStringList TProjektData::getRecCaptionWidthExample() const
{
    return {QStringLiteral("999"), QStringLiteral("123456789012345678901234567890"),
            QStringLiteral("MinJgSt"), QStringLiteral("MaxJgSt"), QStringLiteral("MinTeiln"),
            QStringLiteral("MaxTeiln"), QStringLiteral("Geschl"), QStringLiteral("gesp")};
}

void TProjektData::toOverview(TStringGrid& Grid) const
{
    Grid.setRowCount(Anz() + 2);
    for (int r = 1; r <= Anz() + 1; ++r) {
        auto* p = static_cast<TProjekt*>(FItems.at(r - 1));
        QString state;
        if (r > 1 && p->eintanz != 0) {
            // 64-bit: the differences cannot overflow.
            if (p->eintanz > p->teilnmax)
                state = QLatin1Char('+') + QString::number(qint64(p->eintanz) - p->teilnmax);
            else if (p->eintanz < p->teilnmin)
                state = QLatin1Char('-') + QString::number(qint64(p->teilnmin) - p->eintanz);
            else
                state = QStringLiteral("ok");
        }
        Grid.setCell(0, r, QString::number(p->nr));
        Grid.setCell(1, r, p->name);
        Grid.setCell(2, r, QString::number(p->eintanz));
        Grid.setCell(3, r, state);
        Grid.setObject(0, r, p);
    }
    Grid.setFixedRows(1);
}

void TProjektData::getSpaceMinMax(int& min, int& max) const
{
    qint64 lo = 0;
    qint64 hi = 0;
    for (int i = 1; i <= Anz(); ++i) {
        const TProjekt* p = getNr(i);
        lo += p->teilnmin;
        hi += p->teilnmax;
    }
    min = int(std::clamp<qint64>(lo, INT_MIN, INT_MAX));
    max = int(std::clamp<qint64>(hi, INT_MIN, INT_MAX));
}

#include "data/UData.h"

#include "platform/UExceptions.h"

namespace {

[[noreturn]] void badPosition(int pos)
{
    throw Exception(QStringLiteral("TData: ungueltige Listenposition: %1").arg(pos));
}

} // namespace

TData::TData()
{
    ModSaved(QString());
}

TData::~TData() = default;

TSchPro* TData::items(int pos) const
{
    if (pos < 0 || pos >= count())
        badPosition(pos);
    return FItems.at(pos);
}

int TData::add(TSchPro* record)
{
    FItems.append(record);
    return count() - 1;
}

void TData::insert(int pos, TSchPro* record)
{
    if (pos < 0 || pos > count())
        badPosition(pos);
    FItems.insert(pos, record);
}

void TData::removeAt(int pos)
{
    if (pos < 0 || pos >= count())
        badPosition(pos);
    FItems.removeAt(pos);
}

TSchPro* TData::last() const
{
    if (FItems.isEmpty())
        badPosition(0);
    return FItems.last();
}

void TData::clearList()
{
    FItems.clear();
}

void TData::ModSaved(const QString& fn)
{
    filename = fn;
    datamodified = false;
}

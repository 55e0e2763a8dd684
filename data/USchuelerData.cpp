#include "data/USchuelerData.h"

#include "data/UBasics.h"
#include "data/UProjektData.h"
#include "platform/UExceptions.h"
#include "platform/UStringGrid.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>
#include <vector>

TSchuelerData* SchuelerData = new TSchuelerData;

namespace {

// Class texts ordered and merged without regard to letter case.
struct TCaseLess {
    bool operator()(const QString& a, const QString& b) const
    {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    }
};

// A class text as the sort groups its class: the grade, then the
// department folded.
QString KlassenKey(const QString& klasse)
{
    return klasse.left(2) + FoldedAbt(klasse.mid(2));
}

struct TKlassenZaehler {
    QString text;   // as met first
    int pupils = 0;
    int assigned = 0;
    int firstChoice = 0;
};

} // namespace

TSchuelerData::TSchuelerData()
{
    reserve(1000);
}

TSchuelerData::TSchuelerData(const TSchuelerData* CopyFrom)
{
    if (CopyFrom) {
        FItems = CopyFrom->FItems;
        SortedBy = CopyFrom->SortedBy;
    }
}

TSchuelerData::~TSchuelerData() = default;

void TSchuelerData::ClearData()
{
    for (TSchPro* s : std::as_const(FItems))
        delete s;
    clearList();
    SortedBy = sc_NotSorted;
    ModSaved(QString());
}

TSchueler* TSchuelerData::getNr(int i) const
{
    if (i < 1 || i > Anz())
        throw Exception(QStringLiteral("USchuelerData.getNr: ungueltige Schuelernummer"));
    return static_cast<TSchueler*>(FItems.at(i - 1));
}

void TSchuelerData::InsertEmpty(int Index, TStringGrid& WriteTo)
{
    auto s = std::make_unique<TSchueler>();
    insert(Index - 1, s.get());   // the list owns it from here
    const TSchueler* added = s.release();
    WriteTo.setRowTexts(Index, added->ToZeile());
    SortedBy = sc_NotSorted;
}

void TSchuelerData::DeleteEntry(int Index)
{
    if (Index < 1 || Index > Anz())
        return;
    TSchPro* s = FItems.at(Index - 1);
    removeAt(Index - 1);
    delete s;
}

QStringList TSchuelerData::getRecCaptions() const
{
    return {QStringLiteral("Name"), QStringLiteral("Geschl"), QStringLiteral("Klasse"), QStringLiteral("Abt"),
            QStringLiteral("fest"), QStringLiteral("Wahl1"), QStringLiteral("Wahl2"), QStringLiteral("Wahl3"),
            QStringLiteral("Wahl4"), QStringLiteral("Wahl5"), QStringLiteral("Projekt")};
}

QStringList TSchuelerData::getRecCaptionWidthExample() const
{
    QStringList samples = getRecCaptions();
    samples[0] = QStringLiteral("123456789012345678901234567890");
    return samples;
}

int TSchuelerData::getEintAnz() const
{
    int n = 0;
    for (const TSchPro* p : FItems)
        if (static_cast<const TSchueler*>(p)->zuteil != 0)
            ++n;
    return n;
}

int TSchuelerData::getEintAnz(const TProjektData& Pro) const
{
    int n = 0;
    for (const TSchPro* p : FItems)
        if (static_cast<const TSchueler*>(p)->getZuteil(Pro) != 0)
            ++n;
    return n;
}

void TSchuelerData::toOverview(TStringGrid& Grid, const TProjektData& Pro) const
{
    std::map<QString, TKlassenZaehler, TCaseLess> klassen;
    for (const TSchPro* p : FItems) {
        const auto* s = static_cast<const TSchueler*>(p);
        const QString text = KlasseStr(s->jgst, s->abt);
        const QString key = KlassenKey(text);
        auto it = klassen.find(key);
        if (it == klassen.end())
            it = klassen.emplace(key, TKlassenZaehler{text}).first;
        TKlassenZaehler& k = it->second;
        ++k.pupils;
        if (s->getZuteil(Pro) > 0)
            ++k.assigned;
        if (s->getPriority(Pro) == 1)
            ++k.firstChoice;
    }

    QStringList headings;
    for (int c = 0; c < 4; ++c)
        headings.append(Grid.cell(c, 0));
    Grid.setRowCount(int(klassen.size()) + 1);
    for (int c = 0; c < 4; ++c)
        Grid.setCell(c, 0, headings.at(c));
    int row = 1;
    for (const auto& entry : klassen) {
        const TKlassenZaehler& k = entry.second;
        Grid.setCell(0, row, k.text);
        Grid.setCell(1, row, QString::number(k.pupils));
        Grid.setCell(2, row, QString::number(k.assigned));
        Grid.setCell(3, row, QString::number(k.firstChoice));
        ++row;
    }
    Grid.setFixedRows(klassen.empty() ? 0 : 1);
}

void TSchuelerData::Sort(TSortCritType Crit)
{
    SortedBy = Crit;
    // Each key is built once; the order is that of comparing the keys by
    // character code.
    std::vector<std::pair<QString, TSchPro*>> keyed;
    keyed.reserve(size_t(count()));
    for (TSchPro* p : std::as_const(FItems))
        keyed.emplace_back(static_cast<TSchueler*>(p)->ToSortZeil(Crit), p);
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return QString::compare(a.first, b.first, Qt::CaseSensitive) < 0; });
    for (int i = 0; i < count(); ++i)
        FItems[i] = keyed[size_t(i)].second;
}

void TSchuelerData::clearHand()
{
    for (TSchPro* p : std::as_const(FItems))
        static_cast<TSchueler*>(p)->clearHand();
}

bool TSchuelerData::MoveProjektRefs(int pos, int delta)
{
    bool changed = false;
    for (TSchPro* p : std::as_const(FItems))
        changed = static_cast<TSchueler*>(p)->MoveProjektRefs(pos, delta) || changed;
    return changed;
}

namespace {

bool matches(const TSchueler& s, const TSearchFilter& f)
{
    // With a project list, a number naming none of its projects is none.
    const auto nr = [&f](int n) { return f.Projekte ? f.Projekte->ValidNr(n) : n; };
    if (!f.name.isEmpty() && !StringMatches(s.name, f.name, f.NameMatch))
        return false;
    if (f.geschl == stWeibl && s.geschl)
        return false;
    if (f.geschl == stMaennl && !s.geschl)
        return false;
    if (!f.jgst.isEmpty() && !f.jgst.contains(s.jgst))
        return false;
    if (!f.abt.isEmpty() && !s.abt.isEmpty() && !f.abt.contains(UpperAscii(s.abt.at(0).unicode())))
        return false;
    if (!f.kl.isEmpty()) {
        const QString klasse = KlassenKey(KlasseStr(s.jgst, s.abt));
        if (std::none_of(f.kl.begin(), f.kl.end(), [&](const QString& k) {
                return QString::compare(KlassenKey(k), klasse, Qt::CaseInsensitive) == 0;
            }))
            return false;
    }
    if (!f.priority.isEmpty() && !f.priority.contains(f.Projekte ? s.getPriority(*f.Projekte) : s.getPriority()))
        return false;
    if (!f.zuteil.isEmpty() && !f.zuteil.contains(nr(s.zuteil)))
        return false;
    switch (f.fest) {
    case stFestNull: break;
    case stNichtfest:
        if (s.fest || s.isHand())
            return false;
        break;
    case stFest:
        if (!s.fest)
            return false;
        break;
    case stHand:
        if (!s.isHand())
            return false;
        break;
    }
    if (!f.wahlanz.isEmpty() && !f.wahlanz.contains(s.getWahlAnz()))
        return false;
    if (!f.wahl.isEmpty()) {
        bool any = false;
        for (int r = 1; r <= 5 && !any; ++r)
            any = f.wahl.contains(nr(s.wahl[r]));
        if (!any)
            return false;
    }
    for (int r = 1; r <= 5; ++r)
        if (!f.wahli[r].isEmpty() && !f.wahli[r].contains(nr(s.wahl[r])))
            return false;
    return true;
}

} // namespace

std::unique_ptr<TSchuelerData> TSchuelerData::select(const TSearchFilter& Filter, bool countOnly, int& MCount) const
{
    MCount = 0;
    std::unique_ptr<TSchuelerData> result;
    if (!countOnly)
        result = std::make_unique<TSchuelerData>();
    for (TSchPro* p : FItems) {
        if (matches(*static_cast<const TSchueler*>(p), Filter) == Filter.negateMatch)
            continue;
        ++MCount;
        if (result)
            result->add(p);
    }
    return result;
}

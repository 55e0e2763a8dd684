#include "engine/UEintOrigMain.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

std::uint32_t RandomSeed = 0;

void SeedFromClock()
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    RandomSeed = std::uint32_t(sinceEpoch.count() % (24 * 60 * 60 * 1000));
}

std::uint32_t RandomBelow(std::uint32_t n)
{
    RandomSeed = RandomSeed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(RandomSeed) * n) >> 32);
}

void ListIndexError(std::int64_t index)
{
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

namespace {

constexpr std::size_t SmallBatch = 16;

// The order that results from inserting each pending node at its index, in
// turn, into `placed`. Walking the insertions backwards, each one takes the
// index-th slot still free in the final sequence; the nodes placed before
// fill the remaining slots in their order. O(n log n) with a Fenwick tree.
template <typename Pending>
std::vector<TSchNode*> insertAll(const std::vector<TSchNode*>& placed,
                                 const std::vector<Pending>& pending)
{
    const std::size_t n = placed.size() + pending.size();
    std::vector<std::uint32_t> tree(n + 1);  // free slots, 1-based
    for (std::size_t i = 1; i <= n; ++i)
        tree[i] = std::uint32_t(i & (~i + 1));
    std::size_t topBit = 1;
    while (topBit * 2 <= n)
        topBit *= 2;

    std::vector<TSchNode*> order(n, nullptr);
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
        // The 0-based slot holding the (index + 1)-th free place.
        std::size_t slot = 0;
        std::uint32_t rest = it->index + 1;
        for (std::size_t step = topBit; step != 0; step /= 2) {
            if (slot + step <= n && tree[slot + step] < rest) {
                slot += step;
                rest -= tree[slot];
            }
        }
        order[slot] = it->node;
        for (std::size_t i = slot + 1; i <= n; i += i & (~i + 1))
            --tree[i];
    }
    std::size_t next = 0;
    for (TSchNode*& node : order)
        if (!node)
            node = placed[next++];
    return order;
}

// Sort key of a candidate move: destination list position, rank, pupil
// position, so that sorting yields the order in which the passes try them.
constexpr int PosBits = 31;
constexpr int RankBits = 3;
constexpr std::uint64_t PosMask = (std::uint64_t(1) << PosBits) - 1;

std::uint64_t moveKey(std::int32_t toPos, int rank, std::int32_t pupilPos)
{
    return (std::uint64_t(toPos) << (PosBits + RankBits)) | (std::uint64_t(rank) << PosBits)
        | std::uint64_t(pupilPos);
}
std::int32_t keyToPos(std::uint64_t key) { return std::int32_t(key >> (PosBits + RankBits)); }
int keyRank(std::uint64_t key) { return int((key >> PosBits) & ((1u << RankBits) - 1)); }
std::int32_t keyPupil(std::uint64_t key) { return std::int32_t(key & PosMask); }

} // namespace

std::int32_t TEintOrigMain::AddProNode(std::int32_t nr, std::int32_t min, std::int32_t max,
                                       std::intptr_t tag)
{
    const auto index = std::int32_t(ProNodes.size());
    ProNodes.emplace_back(nr, tag, min, max, index);
    return index;
}

void TEintOrigMain::AddSchNode(std::int32_t nr, std::intptr_t tag)
{
    const std::uint32_t index = RandomBelow(std::uint32_t(SchStore.size()));
    SchStore.emplace_back(nr, tag);
    PendingSch.push_back({&SchStore.back(), index});
}

void TEintOrigMain::AddTransition(std::int32_t projectNr, std::int32_t pupilNr,
                                  std::int32_t rank)
{
    const std::int64_t project = std::int64_t(projectNr) - 1;
    if (project < 0 || project >= std::int64_t(ProNodes.size()))
        ListIndexError(project);
    TSchNode& pupil = schNode(std::int64_t(pupilNr) - 1);
    if (rank < 1 || rank > MaxRank)
        ListIndexError(rank);
    pupil.choice[rank] = &ProNodes[std::size_t(project)];
}

TProNode* TEintOrigMain::getMatching(std::int32_t pupilNr)
{
    return schNode(std::int64_t(pupilNr) - 1).current();
}

TSchNode& TEintOrigMain::schNode(std::int64_t index)
{
    placePending();
    if (index < 0 || index >= std::int64_t(SchNodes.size()))
        ListIndexError(index);
    return *SchNodes[std::size_t(index)];
}

void TEintOrigMain::placePending()
{
    if (PendingSch.empty())
        return;
    if (PendingSch.size() <= SmallBatch) {
        for (const TPendingSch& pending : PendingSch)
            SchNodes.insert(SchNodes.begin() + pending.index, pending.node);
    } else {
        SchNodes = insertAll(SchNodes, PendingSch);
    }
    std::vector<TPendingSch>().swap(PendingSch);
}

std::int32_t TEintOrigMain::SolveIt(TProgressStepProc step, const bool& variation,
                                    TAussortSink& sink)
{
    auto progress = [step](int times) {
        if (step)
            for (int i = 0; i < times; ++i)
                step();
    };

    placePending();
    UnassignAll();
    InitialAssign();
    for (int pass = 1; pass <= 3; ++pass) {
        const TAussort aussort(variation, pass);
        progress(10);
        BuildLists();
        sink.ShowLists(getFromList(aussort), getToList(aussort));
        progress(20);
        DoAussort(aussort, sink);
    }
    return Improve();
}

void TEintOrigMain::UnassignAll()
{
    for (TSchNode& pupil : SchStore)
        pupil.cur = 0;
    for (TProNode& project : ProNodes)
        project.count = 0;
}

void TEintOrigMain::InitialAssign()
{
    placePending();
    for (TSchNode* pupil : SchNodes)
        for (int k = 1; k <= MaxRank; ++k)
            if (pupil->assignTo(k))
                break;
}

void TEintOrigMain::BuildLists()
{
    for (int kind = 0; kind < ListKindCount; ++kind) {
        const auto lk = TListKind(kind);
        TProNodeList& list = KindLists[kind];
        list.clear();
        for (TProNode& project : ProNodes)
            if (project.belongsTo(lk))
                list.push_back(&project);
        // Stable, so projects of equal key keep their order.
        std::stable_sort(list.begin(), list.end(), [lk](const TProNode* a, const TProNode* b) {
            return CompareProNodes(*a, *b, lk) < 0;
        });
    }
}

const TProNodeList& TEintOrigMain::getFromList(const TAussort& aussort) const
{
    return KindLists[aussort.FromList()];
}

const TProNodeList& TEintOrigMain::getToList(const TAussort& aussort) const
{
    return KindLists[aussort.ToList()];
}

// For every source p and destination q, in list order, and rank k = 1..5,
// moves up to min(key of p, key of q) of p's pupils whose choice k is q,
// the first ones by position. Instead of scanning every pupil node for each
// (p, q, k), a source's pupils are grouped by (q, k) once at its turn: a
// pupil only leaves the project whose turn it is, so those pupils are the
// only ones that can move, and a group's first n that are still in p are
// the pupils a scan would find. Only a project that is source and
// destination at once (min above max) can receive pupils before its turn;
// they are noted as arrivals.
void TEintOrigMain::DoAussort(const TAussort& aussort, TAussortSink& sink)
{
    const TListKind fk = aussort.FromList();
    const TListKind tk = aussort.ToList();
    const TProNodeList& from = KindLists[fk];
    const TProNodeList& to = KindLists[tk];
    sink.Log("Aussort von Liste Groesse " + std::to_string(from.size()) + " nach "
             + std::to_string(to.size()));
    if (from.empty() || to.empty())
        return;

    const std::size_t projects = ProNodes.size();
    ToPos.assign(projects, -1);
    for (std::size_t i = 0; i < to.size(); ++i)
        ToPos[std::size_t(to[i]->index)] = std::int32_t(i);
    IsSource.assign(projects, 0);
    Arrivals.resize(projects);
    for (const TProNode* p : from) {
        IsSource[std::size_t(p->index)] = 1;
        Arrivals[std::size_t(p->index)].clear();
    }

    // The pupils of every source project by position.
    MemberStart.assign(projects + 1, 0);
    for (const TSchNode* pupil : SchNodes)
        if (const TProNode* p = pupil->current(); p && IsSource[std::size_t(p->index)])
            ++MemberStart[std::size_t(p->index) + 1];
    for (std::size_t i = 0; i < projects; ++i)
        MemberStart[i + 1] += MemberStart[i];
    Members.resize(std::size_t(MemberStart[projects]));
    {
        std::vector<std::int32_t> next(MemberStart.begin(), MemberStart.end() - 1);
        for (std::size_t pos = 0; pos < SchNodes.size(); ++pos)
            if (const TProNode* p = SchNodes[pos]->current(); p && IsSource[std::size_t(p->index)])
                Members[std::size_t(next[std::size_t(p->index)]++)] = std::int32_t(pos);
    }

    std::vector<std::int32_t> pupils;
    for (TProNode* p : from) {
        if (p->getValue(fk) <= 0)  // a source's key only falls during its turn
            continue;
        collectMembers(*p, pupils);
        Moves.clear();
        for (const std::int32_t pos : pupils) {
            const TSchNode* pupil = SchNodes[std::size_t(pos)];
            for (int k = 1; k <= MaxRank; ++k)
                if (const TProNode* q = pupil->choice[k])
                    if (const std::int32_t toPos = ToPos[std::size_t(q->index)]; toPos >= 0)
                        Moves.push_back(moveKey(toPos, k, pos));
        }
        std::sort(Moves.begin(), Moves.end());

        const std::uint64_t* first = Moves.data();
        const std::uint64_t* const end = first + Moves.size();
        while (first != end && p->getValue(fk) > 0) {
            TProNode& q = *to[std::size_t(keyToPos(*first))];
            std::int32_t moved = 0;
            while (first != end && &q == to[std::size_t(keyToPos(*first))]) {
                const int k = keyRank(*first);
                const std::uint64_t* last = first;
                while (last != end && (*last >> PosBits) == (*first >> PosBits))
                    ++last;
                const std::int64_t n = std::min(p->getValue(fk), q.getValue(tk));
                moved += moveGroup(*p, q, n, k, first, last);
                first = last;
            }
            if (moved > 0)
                sink.Log("Von Projekt " + std::to_string(p->nr) + " nach " + std::to_string(q.nr)
                         + ": " + std::to_string(moved) + " Schüler");
        }
    }
}

// The pupils of a source at its turn, by position: those it had when the
// pass began and those that arrived since. No pupil leaves a source before
// its turn, so both groups are still there and never overlap.
void TEintOrigMain::collectMembers(const TProNode& project, std::vector<std::int32_t>& out)
{
    const auto i = std::size_t(project.index);
    std::vector<std::int32_t>& arrived = Arrivals[i];
    std::sort(arrived.begin(), arrived.end());
    out.clear();
    std::merge(Members.begin() + MemberStart[i], Members.begin() + MemberStart[i + 1],
               arrived.begin(), arrived.end(), std::back_inserter(out));
    arrived.clear();
}

// Moves the first n pupils of one (destination, rank) group that are still
// in p; each group holds pupil positions in ascending order.
std::int32_t TEintOrigMain::moveGroup(TProNode& p, TProNode& q, std::int64_t n, int k,
                                      const std::uint64_t* first, const std::uint64_t* last)
{
    std::int32_t moved = 0;
    for (; first != last && moved < n; ++first) {
        const std::int32_t pos = keyPupil(*first);
        TSchNode* pupil = SchNodes[std::size_t(pos)];
        if (pupil->current() != &p)
            continue;
        pupil->unassign();
        pupil->assignTo(k);
        ++moved;
        if (&q != &p && IsSource[std::size_t(q.index)])
            Arrivals[std::size_t(q.index)].push_back(pos);
    }
    return moved;
}

std::int32_t TEintOrigMain::Improve()
{
    std::int32_t moved = 0;
    for (TSchNode* pupil : SchNodes) {
        if (pupil->cur < 2)
            continue;
        const TProNode* current = pupil->current();
        for (int k = 1; k < pupil->cur; ++k) {
            const TProNode* better = pupil->choice[k];
            if (better && better->count < better->max && current->count > current->min) {
                ++moved;
                pupil->unassign();
                pupil->assignTo(k);
                break;
            }
        }
    }
    return moved;
}

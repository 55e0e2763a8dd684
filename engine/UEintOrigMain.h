#pragma once
// The engine instance: project and pupil nodes, the kind lists and the
// assignment run, plus the library's random generator.

#include "engine/UProNode.h"
#include "engine/orvan32.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// Where a run shows the lists of each pass and writes its log (UTF-8).
class TAussortSink {
public:
    virtual ~TAussortSink() = default;
    virtual void ShowLists(const TProNodeList& from, const TProNodeList& to) = 0;
    virtual void Log(const std::string& line) = 0;
};

// Linear congruential generator, multiplier 134775813, increment 1.
extern std::uint32_t RandomSeed;
// Seeds from the UTC time of day in milliseconds (0..86,399,999).
void SeedFromClock();
// Advances the seed; answers a value in 0..n-1 (0 for n = 0).
std::uint32_t RandomBelow(std::uint32_t n);

// Throws std::out_of_range "List index out of bounds (<index>)".
[[noreturn]] void ListIndexError(std::int64_t index);

class TEintOrigMain {
public:
    TEintOrigMain() = default;
    TEintOrigMain(const TEintOrigMain&) = delete;
    TEintOrigMain& operator=(const TEintOrigMain&) = delete;

    // Appends a project node; answers its 0-based index.
    std::int32_t AddProNode(std::int32_t nr, std::int32_t min, std::int32_t max,
                            std::intptr_t tag);
    // Inserts a pupil node at index RandomBelow(number of pupil nodes).
    void AddSchNode(std::int32_t nr, std::intptr_t tag);
    // Sets choice `rank` of the pupil node at pupilNr - 1 to the project
    // node at projectNr - 1.
    void AddTransition(std::int32_t projectNr, std::int32_t pupilNr, std::int32_t rank);
    // The current project of the pupil node at pupilNr - 1, or none.
    TProNode* getMatching(std::int32_t pupilNr);

    // The whole run: initial assignment, three redistribution passes
    // (`variation` read at the start of each), one improvement sweep.
    // Calls step (when given) 90 times; answers the improvement's count.
    // A run starts from every pupil node unassigned, so running again
    // gives the same result.
    std::int32_t SolveIt(TProgressStepProc step, const bool& variation, TAussortSink& sink);

    // The stages of a run.
    void UnassignAll();
    void InitialAssign();
    void BuildLists();
    const TProNodeList& getFromList(const TAussort& aussort) const;
    const TProNodeList& getToList(const TAussort& aussort) const;
    void DoAussort(const TAussort& aussort, TAussortSink& sink);
    std::int32_t Improve();

    std::int32_t proCount() const { return std::int32_t(ProNodes.size()); }
    TProNode& proNode(std::int32_t index) { return ProNodes[std::size_t(index)]; }
    std::int32_t schCount() const { return std::int32_t(SchStore.size()); }
    // The pupil node at a 0-based position.
    TSchNode& schNode(std::int64_t index);
    const TProNodeList& kindList(TListKind kind) const { return KindLists[kind]; }

private:
    struct TPendingSch {
        TSchNode* node;
        std::uint32_t index;  // insertion index at the time it was added
    };

    // Puts the pupil nodes added since the last call at their positions.
    void placePending();
    // The pupil nodes currently in `project`, by position, for one pass.
    void collectMembers(const TProNode& project, std::vector<std::int32_t>& out);
    std::int32_t moveGroup(TProNode& p, TProNode& q, std::int64_t n, int k,
                           const std::uint64_t* first, const std::uint64_t* last);

    std::deque<TProNode> ProNodes;
    std::deque<TSchNode> SchStore;        // pupil nodes, in the order added
    std::vector<TSchNode*> SchNodes;      // pupil nodes, by position
    std::vector<TPendingSch> PendingSch;  // added, not yet placed
    TProNodeList KindLists[ListKindCount];

    // Working state of a redistribution pass, indexed by project index.
    std::vector<std::int32_t> MemberStart;   // pupils by project at pass start
    std::vector<std::int32_t> Members;
    std::vector<std::int32_t> ToPos;         // position in the destination list, -1
    std::vector<std::vector<std::int32_t>> Arrivals;  // pupils moved into a source
    std::vector<char> IsSource;
    std::vector<std::uint64_t> Moves;        // candidate moves of one source
};

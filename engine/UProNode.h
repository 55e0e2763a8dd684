#pragma once
// The engine's model: project and pupil nodes, the four kinds of project
// list and the kind of a redistribution pass.

#include <cstdint>
#include <vector>

constexpr int MaxRank = 5;

// Kinds of project list, by how a project's count stands to its bounds.
enum TListKind : std::uint8_t {
    lkOverfull,   // count > max, key count - max
    lkUnderfull,  // count < min, key min - count
    lkSurplus,    // min <= count <= max, key count - min
    lkFree,       // min <= count <= max, key max - count
};
constexpr int ListKindCount = 4;

class TProNode {
public:
    TProNode(std::int32_t nr, std::intptr_t tag, std::int32_t min, std::int32_t max,
             std::int32_t index)
        : nr(nr), tag(tag), min(min), max(max), index(index) {}

    // Key and membership for a list kind, from the live count. Keys are
    // 64-bit so that no bounds the client passes can overflow them.
    std::int64_t getValue(TListKind kind) const;
    bool belongsTo(TListKind kind) const;

    std::int32_t nr;       // the client's number, shown in progress texts
    std::intptr_t tag;     // handed back to the client, never read
    std::int32_t min;
    std::int32_t max;
    std::int32_t count = 0;
    std::int32_t index;    // position among the engine's project nodes
};

using TProNodeList = std::vector<TProNode*>;

// Compares by descending key of `kind`: negative when a goes first.
int CompareProNodes(const TProNode& a, const TProNode& b, TListKind kind);

class TSchNode {
public:
    TSchNode(std::int32_t nr, std::intptr_t tag) : nr(nr), tag(tag) {}

    // Unassigns without touching any count, then for k 1..5 joins choice k
    // (false when there is none); k 0 leaves the node unassigned.
    bool assignTo(int k);
    // Leaves the current project, lowering its count.
    void unassign();
    // The current project, or none.
    TProNode* current() const { return choice[cur]; }

    std::int32_t nr;       // stored, never read
    std::intptr_t tag;     // stored, never read
    TProNode* choice[MaxRank + 1] = {};  // by rank 1..5; [0] always none
    std::uint8_t cur = 0;  // rank of the current project, 0 = not assigned
};

enum TAussortKind : std::uint8_t {
    akOverToUnder,
    akOverToFree,
    akSurplusToUnder,
};

// The kind of one redistribution pass, with its source and destination lists.
class TAussort {
public:
    // Passes 2 and 3 swap places with `variation`; every other pass number
    // moves from over-full to under-full projects.
    TAussort(bool variation, int pass);

    TListKind FromList() const;
    TListKind ToList() const;

    TAussortKind Kind;
};

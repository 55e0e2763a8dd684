#include "engine/UProNode.h"

std::int64_t TProNode::getValue(TListKind kind) const
{
    switch (kind) {
    case lkOverfull:
        return std::int64_t(count) - max;
    case lkUnderfull:
        return std::int64_t(min) - count;
    case lkSurplus:
        return std::int64_t(count) - min;
    case lkFree:
        return std::int64_t(max) - count;
    }
    return 0;
}

bool TProNode::belongsTo(TListKind kind) const
{
    switch (kind) {
    case lkOverfull:
        return count > max;
    case lkUnderfull:
        return count < min;
    case lkSurplus:
    case lkFree:
        return min <= count && count <= max;
    }
    return false;
}

int CompareProNodes(const TProNode& a, const TProNode& b, TListKind kind)
{
    const std::int64_t ka = a.getValue(kind);
    const std::int64_t kb = b.getValue(kind);
    if (ka < kb)
        return 1;
    if (ka > kb)
        return -1;
    return 0;
}

bool TSchNode::assignTo(int k)
{
    cur = 0;
    if (k == 0)
        return true;
    TProNode* project = choice[k];
    if (!project)
        return false;
    ++project->count;
    cur = std::uint8_t(k);
    return true;
}

void TSchNode::unassign()
{
    if (cur == 0)
        return;
    if (TProNode* project = choice[cur])
        --project->count;
    cur = 0;
}

TAussort::TAussort(bool variation, int pass)
{
    switch (pass) {
    case 2:
        Kind = variation ? akOverToFree : akSurplusToUnder;
        break;
    case 3:
        Kind = variation ? akSurplusToUnder : akOverToFree;
        break;
    default:
        Kind = akOverToUnder;
        break;
    }
}

TListKind TAussort::FromList() const
{
    return Kind == akSurplusToUnder ? lkSurplus : lkOverfull;
}

TListKind TAussort::ToList() const
{
    return Kind == akOverToFree ? lkFree : lkUnderfull;
}

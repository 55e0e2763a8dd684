#include "tests/engine/URescanEngine.h"

#include <algorithm>

namespace {

struct TPro {
    std::int32_t nr, min, max, count;
};

struct TPupil {
    int choice[MaxRank + 1];  // project index, -1 = none
    int cur;
};

enum { Over, Under, Surplus, Free };

std::int64_t keyOf(const TPro& p, int kind)
{
    switch (kind) {
    case Over:
        return std::int64_t(p.count) - p.max;
    case Under:
        return std::int64_t(p.min) - p.count;
    case Surplus:
        return std::int64_t(p.count) - p.min;
    default:
        return std::int64_t(p.max) - p.count;
    }
}

bool inList(const TPro& p, int kind)
{
    switch (kind) {
    case Over:
        return p.count > p.max;
    case Under:
        return p.count < p.min;
    default:
        return p.min <= p.count && p.count <= p.max;
    }
}

class TRescan {
public:
    TRescan(const TEngineInstance& instance, TRunResult& result) : R(result)
    {
        for (const TTestProject& p : instance.projects)
            Pro.push_back({p.nr, p.min, p.max, 0});
        for (const auto& choices : instance.choices) {
            TPupil s{};
            for (int k = 0; k <= MaxRank; ++k)
                s.choice[k] = k == 0 ? -1 : choices[std::size_t(k)] - 1;
            Sch.push_back(s);
        }
    }

    void run(bool variation)
    {
        for (TPupil& s : Sch)
            for (int k = 1; k <= MaxRank; ++k)
                if (assign(s, k))
                    break;
        for (int pass = 1; pass <= 3; ++pass) {
            int from = Over, to = Under;
            if ((pass == 2 && !variation) || (pass == 3 && variation))
                from = Surplus;
            else if (pass == 2 || pass == 3)
                to = Free;
            R.steps += 10;
            std::vector<int> lists[4];
            for (int kind = 0; kind < 4; ++kind) {
                for (int p = 0; p < int(Pro.size()); ++p)
                    if (inList(Pro[std::size_t(p)], kind))
                        lists[kind].push_back(p);
                std::stable_sort(lists[kind].begin(), lists[kind].end(), [&](int a, int b) {
                    return keyOf(Pro[std::size_t(a)], kind) > keyOf(Pro[std::size_t(b)], kind);
                });
            }
            show(lists[from], lists[to]);
            R.steps += 20;
            aussort(lists[from], from, lists[to], to);
        }
        R.improved = improve();
        for (const TPupil& s : Sch) {
            R.ranks.push_back(s.cur);
            R.projects.push_back(s.cur ? s.choice[s.cur] + 1 : 0);
        }
        for (const TPro& p : Pro)
            R.counts.push_back(p.count);
    }

private:
    bool assign(TPupil& s, int k)
    {
        s.cur = 0;
        if (s.choice[k] < 0)
            return false;
        ++Pro[std::size_t(s.choice[k])].count;
        s.cur = k;
        return true;
    }
    void unassign(TPupil& s)
    {
        if (s.cur)
            --Pro[std::size_t(s.choice[s.cur])].count;
        s.cur = 0;
    }
    int projectOf(const TPupil& s) const { return s.cur ? s.choice[s.cur] : -1; }

    void show(const std::vector<int>& from, const std::vector<int>& to)
    {
        for (int p : from)
            R.lists.push_back(line(p));
        R.lists.emplace_back("=>");
        for (int p : to)
            R.lists.push_back(line(p));
    }
    std::string line(int p) const
    {
        const TPro& n = Pro[std::size_t(p)];
        return ProjectLine(n.nr, n.count, n.min, n.max);
    }

    void aussort(const std::vector<int>& from, int fk, const std::vector<int>& to, int tk)
    {
        R.log.push_back("Aussort von Liste Groesse " + std::to_string(from.size()) + " nach "
                        + std::to_string(to.size()));
        for (int p : from)
            for (int q : to) {
                std::int64_t moved = 0;
                for (int k = 1; k <= MaxRank; ++k) {
                    const std::int64_t n = std::min(keyOf(Pro[std::size_t(p)], fk),
                                                    keyOf(Pro[std::size_t(q)], tk));
                    moved += move(p, q, n, k);
                }
                if (moved > 0)
                    R.log.push_back("Von Projekt " + std::to_string(Pro[std::size_t(p)].nr)
                                    + " nach " + std::to_string(Pro[std::size_t(q)].nr) + ": "
                                    + std::to_string(moved) + " Schüler");
            }
    }

    std::int64_t move(int p, int q, std::int64_t n, int k)
    {
        std::int64_t moved = 0;
        for (TPupil& s : Sch) {
            if (moved >= n)
                break;
            if (projectOf(s) == p && s.choice[k] == q) {
                unassign(s);
                assign(s, k);
                ++moved;
            }
        }
        return moved;
    }

    std::int32_t improve()
    {
        std::int32_t c = 0;
        for (TPupil& s : Sch) {
            if (s.cur < 2)
                continue;
            const TPro& current = Pro[std::size_t(projectOf(s))];
            for (int k = 1; k < s.cur; ++k) {
                if (s.choice[k] < 0)
                    continue;
                const TPro& better = Pro[std::size_t(s.choice[k])];
                if (better.count < better.max && current.count > current.min) {
                    ++c;
                    unassign(s);
                    assign(s, k);
                    break;
                }
            }
        }
        return c;
    }

    std::vector<TPro> Pro;
    std::vector<TPupil> Sch;
    TRunResult& R;
};

} // namespace

TRunResult RescanRun(const TEngineInstance& instance, bool variation)
{
    TRunResult result;
    TRescan(instance, result).run(variation);
    return result;
}

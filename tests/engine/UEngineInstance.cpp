#include "tests/engine/UEngineInstance.h"

#include "engine/UEintOrigMain.h"

#include <algorithm>
#include <sstream>

namespace {

template <typename T>
std::string firstDifference(const char* what, const std::vector<T>& a, const std::vector<T>& b)
{
    std::ostringstream out;
    if (a.size() != b.size()) {
        out << what << ": size " << a.size() << " vs " << b.size();
        return out.str();
    }
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i])) {
            out << what << "[" << i << "]: " << a[i] << " vs " << b[i];
            return out.str();
        }
    return {};
}

class TRecordingSink final : public TAussortSink {
public:
    explicit TRecordingSink(TRunResult& result) : FResult(result) {}
    void ShowLists(const TProNodeList& from, const TProNodeList& to) override
    {
        for (const TProNode* node : from)
            FResult.lists.push_back(ProjectLine(node->nr, node->count, node->min, node->max));
        FResult.lists.emplace_back("=>");
        for (const TProNode* node : to)
            FResult.lists.push_back(ProjectLine(node->nr, node->count, node->min, node->max));
    }
    void Log(const std::string& line) override { FResult.log.push_back(line); }

private:
    TRunResult& FResult;
};

int StepCount = 0;
void CountStep() { ++StepCount; }

} // namespace

bool TRunResult::operator==(const TRunResult& other) const
{
    return differenceTo(other).empty();
}

std::string TRunResult::differenceTo(const TRunResult& other) const
{
    for (std::string d : {firstDifference("rank", ranks, other.ranks),
                          firstDifference("project", projects, other.projects),
                          firstDifference("count", counts, other.counts),
                          firstDifference("log", log, other.log),
                          firstDifference("lists", lists, other.lists)})
        if (!d.empty())
            return d;
    if (improved != other.improved)
        return "improved: " + std::to_string(improved) + " vs " + std::to_string(other.improved);
    if (steps != other.steps)
        return "steps: " + std::to_string(steps) + " vs " + std::to_string(other.steps);
    return {};
}

std::string ProjectLine(std::int32_t nr, std::int32_t count, std::int32_t min, std::int32_t max)
{
    return "Projekt " + std::to_string(nr) + " (" + std::to_string(count) + "/"
        + std::to_string(min) + "-" + std::to_string(max) + ")";
}

TEngineInstance RandomInstance(std::mt19937& rng, int maxProjects, int maxPupils)
{
    auto below = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    TEngineInstance instance;
    const int projects = below(maxProjects + 1);
    const int pupils = below(maxPupils + 1);
    for (int i = 0; i < projects; ++i) {
        TTestProject project{7 * (i + 1), below(5), 0};
        switch (below(6)) {
        case 0:
            project.min = 0;
            project.max = below(4);
            break;
        case 1:  // min above max
            project.max = below(3);
            project.min = project.max + 1 + below(4);
            break;
        default:
            project.max = project.min + below(5);
            break;
        }
        instance.projects.push_back(project);
    }
    for (int s = 0; s < pupils; ++s) {
        std::array<std::int32_t, MaxRank + 1> choice{};
        const int depth = projects ? below(MaxRank + 1) : 0;
        for (int k = 1; k <= depth; ++k) {
            if (below(5) == 0)
                continue;  // a gap
            // Low numbers are popular, so choices collide and repeat.
            choice[std::size_t(k)] = 1 + std::min(below(projects), below(projects));
        }
        instance.choices.push_back(choice);
    }
    return instance;
}

TEngineInstance SchoolInstance(int projects, int pupils, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    TEngineInstance instance;

    std::vector<double> weight(static_cast<std::size_t>(projects));
    for (int i = 0; i < projects; ++i)
        weight[std::size_t(i)] = 1.0 / (1.0 + i);  // Zipf-like popularity
    std::shuffle(weight.begin(), weight.end(), rng);
    std::discrete_distribution<int> popular(weight.begin(), weight.end());

    const double place = 1.1 * pupils / std::max(projects, 1);
    for (int i = 0; i < projects; ++i) {
        const auto max = std::int32_t(place * (0.5 + unit(rng)) + 0.5);
        const auto min = unit(rng) < 0.1 ? 0 : std::int32_t(max * (0.2 + 0.5 * unit(rng)));
        instance.projects.push_back({i + 1, min, max});
    }

    // How many ranks a pupil fills: 0 to 5, most choose all five.
    std::discrete_distribution<int> depthOf({3, 5, 10, 20, 25, 37});
    for (int s = 0; s < pupils; ++s) {
        std::array<std::int32_t, MaxRank + 1> choice{};
        const int depth = projects ? depthOf(rng) : 0;
        for (int k = 1; k <= depth; ++k)
            if (unit(rng) >= 0.08)  // otherwise a gap
                choice[std::size_t(k)] = 1 + popular(rng);
        instance.choices.push_back(choice);
    }
    return instance;
}

void FillEngine(TEintOrigMain& engine, const TEngineInstance& instance, std::mt19937& rng)
{
    for (const TTestProject& project : instance.projects)
        engine.AddProNode(project.nr, project.min, project.max, std::intptr_t(project.nr) * 1000);
    const auto pupils = std::int32_t(instance.choices.size());
    for (std::int32_t s = 0; s < pupils; ++s)
        engine.AddSchNode(s + 1, s + 1);

    struct TTransition {
        std::int32_t project, pupil, rank;
    };
    std::vector<TTransition> transitions;
    const auto projects = std::int32_t(instance.projects.size());
    for (std::int32_t s = 0; s < pupils; ++s)
        for (int k = 1; k <= MaxRank; ++k)
            if (const std::int32_t project = instance.choices[std::size_t(s)][std::size_t(k)])
                transitions.push_back({project, s + 1, k});
    std::shuffle(transitions.begin(), transitions.end(), rng);
    for (const TTransition& t : transitions) {
        if (rng() % 8 == 0)  // an earlier choice, replaced by the next call
            engine.AddTransition(1 + std::int32_t(rng() % std::uint32_t(projects)), t.pupil, t.rank);
        engine.AddTransition(t.project, t.pupil, t.rank);
    }
}

TRunResult ReadResult(TEintOrigMain& engine)
{
    TRunResult result;
    for (std::int32_t s = 0; s < engine.schCount(); ++s) {
        const TSchNode& pupil = engine.schNode(s);
        result.ranks.push_back(pupil.cur);
        const TProNode* project = engine.getMatching(s + 1);
        result.projects.push_back(project ? project->index + 1 : 0);
    }
    for (std::int32_t p = 0; p < engine.proCount(); ++p)
        result.counts.push_back(engine.proNode(p).count);
    return result;
}

TRunResult EngineRun(const TEngineInstance& instance, bool variation, std::uint32_t fillSeed)
{
    TEintOrigMain engine;
    std::mt19937 rng(fillSeed);
    FillEngine(engine, instance, rng);
    TRunResult log;
    TRecordingSink sink(log);
    StepCount = 0;
    const std::int32_t improved = engine.SolveIt(CountStep, variation, sink);
    TRunResult result = ReadResult(engine);
    result.improved = improved;
    result.steps = StepCount;
    result.log = std::move(log.log);
    result.lists = std::move(log.lists);
    return result;
}

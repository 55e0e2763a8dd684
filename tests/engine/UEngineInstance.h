#pragma once
// Engine instances for tests and the benchmark: projects with their bounds
// and, per pupil position, the project chosen at each rank. Generators for
// small instances full of edge cases and for school-sized ones, and the
// result of a run in a form two implementations can be compared by.

#include "engine/UProNode.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class TEintOrigMain;

struct TTestProject {
    std::int32_t nr;
    std::int32_t min;
    std::int32_t max;
};

struct TEngineInstance {
    std::vector<TTestProject> projects;  // project number i + 1
    // Per pupil position the project number of ranks 1..5, 0 = none ([0] unused).
    std::vector<std::array<std::int32_t, MaxRank + 1>> choices;
};

struct TRunResult {
    std::vector<int> ranks;              // per pupil position, 0 = unassigned
    std::vector<std::int32_t> projects;  // per pupil position, project number or 0
    std::vector<std::int32_t> counts;    // per project
    std::int32_t improved = 0;
    int steps = 0;
    std::vector<std::string> log;
    std::vector<std::string> lists;      // per pass: source lines, "=>", destination lines

    bool operator==(const TRunResult& other) const;
    // The first difference, for a failure message; empty when equal.
    std::string differenceTo(const TRunResult& other) const;
};

// The line the progress window shows for a project.
std::string ProjectLine(std::int32_t nr, std::int32_t count, std::int32_t min, std::int32_t max);

// Up to maxProjects projects and maxPupils pupils, with gaps in the ranks,
// a project chosen at several ranks, min above max, min 0, no choices.
TEngineInstance RandomInstance(std::mt19937& rng, int maxProjects, int maxPupils);

// A school: skewed popularity, 0 to 5 choices with gaps, capacity about
// 10 % above the number of pupils.
TEngineInstance SchoolInstance(int projects, int pupils, std::uint32_t seed);

// Feeds the instance through AddProNode, AddSchNode and AddTransition, the
// transitions in a shuffled order, some after a choice they replace.
void FillEngine(TEintOrigMain& engine, const TEngineInstance& instance, std::mt19937& rng);

// Fills an engine and runs it.
TRunResult EngineRun(const TEngineInstance& instance, bool variation, std::uint32_t fillSeed = 1);

// The result as the engine holds it after a run.
TRunResult ReadResult(TEintOrigMain& engine);

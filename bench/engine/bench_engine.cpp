// Prints, per size, the time of the straightforward rescan and of the
// engine on the same instance, their ratio, the time of the library alone
// through its exports, and the memory per pupil node.
//   bench_engine [pupils]   (default 100000)

#include "engine/UEintOrigMain.h"
#include "engine/orvan32.h"
#include "tests/engine/UEngineInstance.h"
#include "tests/engine/URescanEngine.h"

#include <QApplication>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

class TNoSink final : public TAussortSink {
public:
    void ShowLists(const TProNodeList&, const TProNodeList&) override {}
    void Log(const std::string&) override {}
};

// Engine (inside) against the rescan on one instance.
void compareWithRescan(int projects, int pupils)
{
    const TEngineInstance instance = SchoolInstance(projects, pupils, 2024);
    std::printf("size: %d projects, %d pupils\n", projects, pupils);

    auto start = Clock::now();
    const TRunResult rescan = RescanRun(instance, false);
    const double rescanTime = secondsSince(start);

    // The same run by the engine, fed as the tests feed it (shuffled),
    // compared in full: ranks, counts, lists and log.
    const TRunResult engine = EngineRun(instance, false);

    // The engine's run alone, timed like the rescan's.
    TEintOrigMain solver;
    std::mt19937 rng(1);
    FillEngine(solver, instance, rng);
    TNoSink sink;
    const bool variation = false;
    start = Clock::now();
    solver.SolveIt(nullptr, variation, sink);
    const double solveTime = secondsSince(start);

    std::size_t assigned = 0;
    for (int rank : rescan.ranks)
        assigned += rank != 0;
    std::printf("  rescan run: %9.3f s\n", rescanTime);
    std::printf("  engine run: %9.3f s   ratio %.0fx\n", solveTime, rescanTime / solveTime);
    std::printf("  same result: %s (%zu assigned, %zu log lines, improvement moved %d)\n",
                engine.differenceTo(rescan).empty() ? "yes" : "NO", assigned, rescan.log.size(),
                rescan.improved);
}

int Steps = 0;
void step() { ++Steps; }

// The shared library alone, through its nine exports, no QApplication.
void libraryAlone(int projects, int pupils, const char* setting)
{
    const TEngineInstance instance = SchoolInstance(projects, pupils, 99);
    std::printf("size: %d projects, %d pupils, through liborvan32.so%s\n", projects, pupils, setting);
    const std::size_t heapBefore = heapInUse();

    auto start = Clock::now();
    Create();
    for (const TTestProject& p : instance.projects)
        AddProNode(p.nr, p.min, p.max, p.nr);
    for (int s = 1; s <= pupils; ++s)
        AddSchNode(s, s);
    for (int s = 1; s <= pupils; ++s)
        for (int k = 1; k <= MaxRank; ++k)
            if (const std::int32_t project = instance.choices[std::size_t(s - 1)][std::size_t(k)])
                AddTransition(project, s, k);
    const double fillTime = secondsSince(start);

    start = Clock::now();
    Steps = 0;
    const std::int32_t improved = SolveIt(step);
    const double solveTime = secondsSince(start);

    start = Clock::now();
    std::size_t assigned = 0;
    for (int s = 1; s <= pupils; ++s)
        assigned += GetSchMatching(s) != 0;
    const double readTime = secondsSince(start);
    const std::size_t heapAfter = heapInUse();
    Destroy();

    std::printf("  fill:   %7.3f s\n", fillTime);
    std::printf("  solve:  %7.3f s   (%d callbacks, improvement moved %d)\n", solveTime, Steps,
                improved);
    std::printf("  read:   %7.3f s   (%zu of %d assigned)\n", readTime, assigned, pupils);
    std::printf("  memory: %.0f bytes per pupil node (heap growth over fill and run, log included)\n",
                double(heapAfter - heapBefore) / pupils);
}

} // namespace

int main(int argc, char** argv)
{
    const int pupils = argc > 1 ? std::atoi(argv[1]) : 100000;
    compareWithRescan(255, pupils);
    libraryAlone(255, pupils, "");
    libraryAlone(2000, pupils, "");

    // As in the program: the progress window exists (hidden) and shows the log.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    libraryAlone(2000, pupils, ", with a QApplication");
    return 0;
}

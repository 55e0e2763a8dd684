// The automatic assignment road at school size: read the assignment file,
// feed the engine, solve at depth 5, read the result back.
//
// bench_assign [pupils] [projects]   (default 100000 255)

#include "assign/UEinteilung.h"
#include "bench/assign/UBenchSchool.h"
#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

class TCountingProgress : public TEintProgress {
public:
    void setMinMax(int, int) override {}
    void setStep(int) override {}
    void setPosition(int p) override { position = p; }
    void StepIt() override { ++position; }
    int position = 0;
};

double ms(QElapsedTimer& t)
{
    const double v = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    return v;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchSchool::TSchoolFiles school(argc, argv);
    if (!school.written) {
        std::fprintf(stderr, "bench_assign: cannot write the school files\n");
        return 1;
    }

    QElapsedTimer total;
    QElapsedTimer t;
    total.start();
    t.start();
    {
        TDataFile p(ft_proj, school.proFile);
        p.OpenRead();
        p.Read(*ProjektData, false);
        TDataFile e(ft_teil, school.einFile);
        e.OpenRead();
        e.Read(*SchuelerData, false);
        CountEint(*SchuelerData, *ProjektData);
    }
    const double tRead = ms(t);

    TCountingProgress progress;
    double tFeed = 0;
    double tSolve = 0;
    double tReadBack = 0;
    double tFree = 0;
    {
        TEinteilung run(*SchuelerData, *ProjektData, 5);
        tFeed = ms(t);
        run.SolveIt(progress);
        tSolve = ms(t);
        run.ReadBack();
        tReadBack = ms(t);
    }
    tFree = ms(t);
    const double tTotal = double(total.nsecsElapsed()) / 1e6;

    std::printf("bench_assign: %d pupils, %d projects, depth 5\n", SchuelerData->Anz(), ProjektData->Anz());
    std::printf("  read PRO + EIN files   %8.1f ms\n", tRead);
    std::printf("  feed the engine        %8.1f ms\n", tFeed);
    std::printf("  SolveIt                %8.1f ms  (%d callbacks)\n", tSolve, progress.position);
    std::printf("  ReadBack               %8.1f ms\n", tReadBack);
    std::printf("  free the engine        %8.1f ms\n", tFree);
    std::printf("  engine (feed+solve+free) %6.1f ms\n", tFeed + tSolve + tFree);
    std::printf("  whole road             %8.1f ms\n", tTotal);
    std::printf("  assigned               %8d of %d\n", SchuelerData->getEintAnz(), SchuelerData->Anz());
    SchuelerData->ClearData();
    ProjektData->ClearData();
    return 0;
}

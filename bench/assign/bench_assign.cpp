// The automatic assignment road at school size: read the assignment file,
// feed the engine, solve at depth 5, read the result back.
//
// bench_assign [pupils] [projects]   (default 100000 255)

#include "assign/UEinteilung.h"
#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdint>

namespace {

class TCountingProgress : public TEintProgress {
public:
    void setMinMax(int, int) override {}
    void setStep(int) override {}
    void setPosition(int p) override { position = p; }
    void StepIt() override { ++position; }
    int position = 0;
};

// A small deterministic generator, so that every run sees the same school.
class TRandom {
public:
    uint32_t next() { return FSeed = FSeed * 1664525u + 1013904223u; }
    int below(int n) { return int((uint64_t(next()) * uint64_t(n)) >> 32); }

private:
    uint32_t FSeed = 20261210u;
};

// Projects with 300..500 places (about as many places as pupils at 255
// projects), some for the upper grades only, a few closed; pupils with
// skewed choices, some with gaps, fixed or placed by hand.
void makeSchool(TSchuelerData& Sch, TProjektData& Pro, int pupils, int projects)
{
    TRandom rnd;
    for (int i = 1; i <= projects; ++i) {
        auto* p = new TProjekt(i);
        p->name = QStringLiteral("Projekt %1").arg(i);
        p->teilnmin = pupils / projects * 3 / 4;
        p->teilnmax = pupils / projects * 5 / 4;
        if (i % 17 == 0)
            p->jgmin = 9;
        p->gesp = i % 97 == 0;
        Pro.add(p);
    }
    Sch.reserve(pupils);
    for (int i = 0; i < pupils; ++i) {
        auto* s = new TSchueler;
        s->name = QStringLiteral("Schueler %1").arg(i);
        s->jgst = 5 + rnd.below(9);
        s->abt = QString(QChar('A' + rnd.below(8)));
        s->geschl = rnd.below(2) == 1;
        for (int r = 1; r <= 5; ++r) {
            // Skewed popularity: the square of a uniform draw favours the
            // low project numbers.
            const int u = rnd.below(projects);
            s->wahl[r] = rnd.below(20) == 0 ? 0 : 1 + int(int64_t(u) * u / projects);
        }
        const int kind = rnd.below(100);
        if (kind == 0)
            s->fest = true;
        else if (kind == 1)
            s->setHand(1 + rnd.below(5));
        Sch.add(s);
    }
}

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
    const int pupils = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int projects = argc > 2 ? std::atoi(argv[2]) : 255;

    QTemporaryDir dir;
    const QString proFile = dir.filePath(QStringLiteral("bench.PRO"));
    const QString einFile = dir.filePath(QStringLiteral("bench.EIN"));
    {
        TSchuelerData sch;
        TProjektData pro;
        makeSchool(sch, pro, pupils, projects);
        TDataFile p(ft_proj, proFile);
        TDataFile e(ft_teil, einFile);
        if (!p.OpenWrite())
            return 1;
        p.Write(pro);
        p.Close();
        if (!e.OpenWrite())
            return 1;
        e.Write(sch);
        e.Close();
        sch.ClearData();
        pro.ClearData();
    }

    QElapsedTimer total;
    QElapsedTimer t;
    total.start();
    t.start();
    {
        TDataFile p(ft_proj, proFile);
        p.OpenRead();
        p.Read(*ProjektData, false);
        TDataFile e(ft_teil, einFile);
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

#pragma once
// The school both assignment benchmarks run on, written as a project file
// and an assignment file. The generator is deterministic, so every run sees
// the same school.

#include "data/UDataFile.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace BenchSchool {

class TRandom {
public:
    uint32_t next() { return FSeed = FSeed * 1664525u + 1013904223u; }
    int below(int n) { return int((uint64_t(next()) * uint64_t(n)) >> 32); }

private:
    uint32_t FSeed = 20261210u;
};

// Projects with about as many places as pupils in all (three quarters of
// an even share as minimum, five quarters as maximum), some for the upper
// grades only, a few closed; pupils with skewed choices, some with gaps, a
// few fixed or placed by hand.
inline void makeSchool(TSchuelerData& Sch, TProjektData& Pro, int pupils, int projects)
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
            // The square of a uniform draw favours the low project numbers.
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

// Writes the school to the two files; false when one cannot be written.
inline bool writeSchool(const QString& proFile, const QString& einFile, int pupils, int projects)
{
    TSchuelerData sch;
    TProjektData pro;
    makeSchool(sch, pro, pupils, projects);
    TDataFile p(ft_proj, proFile);
    TDataFile e(ft_teil, einFile);
    const bool written = p.OpenWrite() && e.OpenWrite();
    if (written) {
        p.Write(pro);
        p.Close();
        e.Write(sch);
        e.Close();
    }
    // A container releases neither its records nor its project 0.
    sch.ClearData();
    pro.ClearData();
    delete pro.getNr0();
    return written;
}

// The school of a benchmark's command line ([pupils] [projects], by default
// 100000 and 255), written into a temporary folder that goes with it.
struct TSchoolFiles {
    TSchoolFiles(int argc, char** argv)
        : pupils(std::max(0, argc > 1 ? std::atoi(argv[1]) : 100000)),
          projects(std::max(1, argc > 2 ? std::atoi(argv[2]) : 255)),
          proFile(dir.filePath(QStringLiteral("bench.PRO"))),
          einFile(dir.filePath(QStringLiteral("bench.EIN"))),
          written(dir.isValid() && writeSchool(proFile, einFile, pupils, projects))
    {
    }

    QTemporaryDir dir;   // first, so that it is there for the names below
    const int pupils;
    const int projects;
    const QString proFile;
    const QString einFile;
    const bool written;
};

} // namespace BenchSchool

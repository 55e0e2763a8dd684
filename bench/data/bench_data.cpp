// Times the data model at school size: the assignment file, the sorts, the
// overviews and the recount.

#include "bench/data/USchoolGen.h"
#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UStringGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// Per call, the best of a few rounds.
template <typename F>
double bestOf(int rounds, F f)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, ms(t));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TSchoolSpec school;
    school.pupils = 100000;
    school.projects = 255;

    QTemporaryDir dir;
    const QString proFile = dir.filePath(QStringLiteral("schule.PRO"));
    const QString einFile = dir.filePath(QStringLiteral("schule.EIN"));

    TProjektData& pro = *ProjektData;
    TSchuelerData& sch = *SchuelerData;
    GenerateSchool(school, pro, sch);
    std::printf("data benchmark: %d pupils, %d projects\n", sch.Anz(), pro.Anz());

    QElapsedTimer t;
    t.start();
    {
        TDataFile f(ft_teil, einFile);
        if (!f.OpenWrite())
            return 1;
        f.Write(sch);
        f.Close();
    }
    const double writeMs = ms(t);
    {
        TDataFile f(ft_proj, proFile);
        if (!f.OpenWrite())
            return 1;
        f.Write(pro);
        f.Close();
    }

    t.restart();
    int read = 0;
    {
        TDataFile f(ft_teil, einFile);
        if (!f.OpenRead())
            return 1;
        read = f.Read(sch, false);
        f.Close();
    }
    const double readMs = ms(t);
    std::printf("  write EIN            %8.1f ms  (%lld bytes)\n", writeMs, QFileInfo(einFile).size());
    std::printf("  read EIN             %8.1f ms  (%d pupils)\n", readMs, read);
    std::printf("  read + write         %8.1f ms  (goal < 1000)\n", readMs + writeMs);

    const struct {
        TSortCritType crit;
        const char* name;
    } sorts[] = {{sc_N, "sc_N"}, {sc_Kl_N, "sc_Kl_N"}, {sc_P_N, "sc_P_N"}, {sc_P_Kl, "sc_P_Kl"}};
    for (const auto& s : sorts) {
        // each sort starts from the file order
        const double sortMs = bestOf(3, [&] {
            TSchuelerData copy(&sch);
            copy.Sort(s.crit);
        });
        std::printf("  Sort %-8s          %8.1f ms  (goal < 300)\n", s.name, sortMs);
    }

    CountEint(sch, pro);
    TMemoryGrid proGrid(4, 1);
    const double proOverMs = bestOf(5, [&] { pro.toOverview(proGrid); });
    TMemoryGrid schGrid(4, 1);
    const double schOverMs = bestOf(5, [&] { sch.toOverview(schGrid, pro); });
    std::printf("  projects toOverview  %8.2f ms  (%d rows)\n", proOverMs, proGrid.rowCount());
    std::printf("  pupils toOverview    %8.2f ms  (%d rows)\n", schOverMs, schGrid.rowCount());

    // Linear in pupils; below about 30k pupils the records stay in the cache.
    const double count100k = bestOf(9, [&] { CountEint(sch, pro); });
    for (int n : {10000, 50000, 200000}) {
        TSchoolSpec other = school;
        other.pupils = n;
        TProjektData proN;
        TSchuelerData schN;
        GenerateSchool(other, proN, schN);
        const double c = bestOf(9, [&] { CountEint(schN, proN); });
        std::printf("  CountEint %6d      %8.3f ms  (%.1f ns a pupil)\n", n, c, c * 1e6 / n);
        if (n == 50000)
            std::printf("  CountEint %6d      %8.3f ms  (%.1f ns a pupil)\n", sch.Anz(), count100k,
                        count100k * 1e6 / sch.Anz());
        schN.ClearData();
        proN.ClearData();
        delete proN.getNr0();
    }

    int selected = 0;
    TSearchFilter filter;
    filter.geschl = stWeibl;
    filter.priority = {1};
    const double selectMs = bestOf(3, [&] { sch.select(filter, false, selected); });
    std::printf("  select girls prio 1  %8.1f ms  (%d pupils)\n", selectMs, selected);

    return 0;
}

// The statistics, the manual placement commands, the consistency check and
// the class selection at school size, offscreen.
//
// bench_stat [pupils] [projects]   (default 100000 255)

#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "assign/UEinteilung.h"
#include "assign/UProStatD.h"
#include "assign/USchStatD.h"
#include "bench/UBenchUi.h"
#include "bench/data/USchoolGen.h"
#include "data/UFilter.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UApplication.h"
#include "platform/UStringGrid.h"

#include <QAction>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The median of runs timings of op, in milliseconds; prepare runs untimed
// before each.
double median(int runs, const std::function<void()>& op, const std::function<void()>& prepare = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        op();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void placeSomeByHand(int every)
{
    for (int i = 1; i <= SchuelerData->Anz(); i += every)
        SchuelerData->getNr(i)->setHand(1);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    TBenchUi ui;
    SetUi(&ui);

    TSchoolSpec school;
    school.pupils = std::max(0, argc > 1 ? std::atoi(argv[1]) : 100000);
    school.projects = std::clamp(argc > 2 ? std::atoi(argv[2]) : 255, 1, 255);
    CreateForms();
    GenerateSchool(school, *ProjektData, *SchuelerData);
    placeSomeByHand(10);
    MainFormHandler->UpdateAll();
    std::printf("bench_stat: %d pupils, %d projects (median of 7 runs)\n", SchuelerData->Anz(), ProjektData->Anz());

    // The most chosen project is the one with the most work.
    const double proStat = median(7, [] { ProStatD->UpdateData(ProjektData, SchuelerData, 1); });
    std::printf("  project statistics, project 1:       %8.2f ms\n", proStat);

    const double schStat = median(7, [] {
        const TSearchFilter all;
        SchStatD->UpdateData(SchuelerData, ProjektData, all, QStringLiteral("Alle Klassen"));
    });
    std::printf("  pupil statistics, all pupils:        %8.2f ms\n", schStat);

    const double verify = median(7, [] { VerifyEinteilung(*SchuelerData, *ProjektData, [](const QString&) {}); });
    std::printf("  VerifyEinteilung:                    %8.2f ms\n", verify);

    const double release = median(7, [] {
        TSearchFilter f;
        f.fest = stHand;
        int n = 0;
        SchuelerData->select(f, true, n);
        SchuelerData->clearHand();
        SchuelerData->setModified();
    }, [] { placeSomeByHand(10); });
    std::printf("  releasing every placement (data):    %8.2f ms\n", release);

    const double releaseCmd = median(7, [] { MainForm->DelHandEintAct->trigger(); }, [] { placeSomeByHand(10); });
    std::printf("  releasing, the command with refresh: %8.2f ms\n", releaseCmd);

    TMemoryGrid overview(4, 1);
    SchuelerData->toOverview(overview, *ProjektData);
    const double overviewMs = median(7, [&] { SchuelerData->toOverview(overview, *ProjektData); });
    const double klassen = median(7, [&] {
        KlassenSelect->setKlassen(&overview);
        KlassenSelect->ListJgst->selectAll();
        std::unique_ptr<TSearchFilter> f(KlassenSelect->getFilter());
        const QString s = KlassenSelect->getString(40);
        Q_UNUSED(s);
    });
    std::printf("  class selection over %3d classes:    %8.2f ms  (overview itself %.2f ms)\n",
                overview.rowCount() - 1, klassen, overviewMs);

    DestroyForms();
    SchuelerData->ClearData();
    ProjektData->ClearData();
    SetUi(nullptr);
    return 0;
}

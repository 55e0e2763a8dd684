// The whole road of an automatic assignment in the main window, offscreen:
// open the project and assignment files, run "Automatische Einteilung" at
// depth 5 through its dialog, and refresh every view.
//
// bench_assign_road [pupils] [projects]   (default 100000 255)

#include "app/main.h"
#include "assign/UEintDialog.h"
#include "bench/UBenchUi.h"
#include "bench/assign/UBenchSchool.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UApplication.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const BenchSchool::TSchoolFiles school(argc, argv);
    if (!school.written) {
        std::fprintf(stderr, "bench_assign_road: cannot write the school files\n");
        return 1;
    }

    TBenchUi ui;
    // Notes when the run's result message comes.
    qint64 messageAt = 0;
    SetUi(&ui);
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    ui.answer = [&](const TMessage& m) {
        messageAt = clock.nsecsElapsed();
        return (m.buttons & mbOK) ? TModalResult::mrOk : TModalResult::mrCancel;
    };
    ui.file = school.proFile;
    MainForm->OpenProAct->trigger();
    const qint64 proOpened = clock.nsecsElapsed();
    ui.file = school.einFile;
    MainForm->OpenEintAct->trigger();
    const qint64 einOpened = clock.nsecsElapsed();

    qint64 startAt = 0;
    QTimer::singleShot(0, EintDialog, [&] {
        startAt = clock.nsecsElapsed();
        EintDialog->findChild<QPushButton*>(QStringLiteral("Start"))->click();
    });
    const qint64 commandAt = clock.nsecsElapsed();
    MainForm->AutoEinteilAct->trigger();
    const qint64 done = clock.nsecsElapsed();

    std::printf("bench_assign_road: %d pupils, %d projects, depth 5, offscreen\n", SchuelerData->Anz(),
                ProjektData->Anz());
    std::printf("  open PRO file + project editor   %8.1f ms\n", double(proOpened) / 1e6);
    std::printf("  open EIN file + pupil editor     %8.1f ms\n", double(einOpened - proOpened) / 1e6);
    std::printf("  dialog up until Start            %8.1f ms\n", double(startAt - commandAt) / 1e6);
    std::printf("  run: Start to result message     %8.1f ms\n", double(messageAt - startAt) / 1e6);
    std::printf("  close dialog + refresh all views %8.1f ms\n", double(done - messageAt) / 1e6);
    std::printf("  whole road                       %8.1f ms\n", double(done) / 1e6);
    std::printf("  result: %s\n", qPrintable(ui.shown.value(ui.shown.size() - 1)));
    DestroyForms();
    SchuelerData->ClearData();
    ProjektData->ClearData();
    SetUi(nullptr);
    return 0;
}

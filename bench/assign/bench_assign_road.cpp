// The whole road of an automatic assignment in the main window, offscreen:
// open the project and assignment files, run "Automatische Einteilung" at
// depth 5 through its dialog, and refresh every view.
//
// bench_assign_road [pupils] [projects]   (default 100000 255)

#include "app/main.h"
#include "assign/UEintDialog.h"
#include "data/UDataFile.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UApplication.h"
#include "platform/UUi.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdint>
#include <cstdio>

namespace {

// Answers the file dialogs from a queue and notes when the run's result
// message comes.
class TBenchUi : public IUi {
public:
    TModalResult messageBox(const TMessage& m) override
    {
        lastText = m.text;
        messageAt = clock ? clock->nsecsElapsed() : 0;
        return (m.buttons & mbOK) ? TModalResult::mrOk : TModalResult::mrCancel;
    }
    TFileDialogResult fileDialog(const TFileDialogSpec&) override { return {true, {nextFile}, 1}; }
    bool inputQuery(const QString&, const QString&, QString&) override { return false; }
    bool fontDialog(TFontSpec&) override { return false; }
    bool printerSetup() override { return false; }
    void beep() override {}
    void showHelp(int) override {}

    QString nextFile;
    QString lastText;
    QElapsedTimer* clock = nullptr;
    qint64 messageAt = 0;
};

class TRandom {
public:
    uint32_t next() { return FSeed = FSeed * 1664525u + 1013904223u; }
    int below(int n) { return int((uint64_t(next()) * uint64_t(n)) >> 32); }

private:
    uint32_t FSeed = 20261210u;
};

// The same school as bench_assign: skewed choices, some gaps, a few fixed
// or placed by hand, a few closed projects.
void writeSchool(const QString& proFile, const QString& einFile, int pupils, int projects)
{
    TRandom rnd;
    TSchuelerData sch;
    TProjektData pro;
    for (int i = 1; i <= projects; ++i) {
        auto* p = new TProjekt(i);
        p->name = QStringLiteral("Projekt %1").arg(i);
        p->teilnmin = pupils / projects * 3 / 4;
        p->teilnmax = pupils / projects * 5 / 4;
        if (i % 17 == 0)
            p->jgmin = 9;
        p->gesp = i % 97 == 0;
        pro.add(p);
    }
    for (int i = 0; i < pupils; ++i) {
        auto* s = new TSchueler;
        s->name = QStringLiteral("Schueler %1").arg(i);
        s->jgst = 5 + rnd.below(9);
        s->abt = QString(QChar('A' + rnd.below(8)));
        s->geschl = rnd.below(2) == 1;
        for (int r = 1; r <= 5; ++r) {
            const int u = rnd.below(projects);
            s->wahl[r] = rnd.below(20) == 0 ? 0 : 1 + int(int64_t(u) * u / projects);
        }
        const int kind = rnd.below(100);
        if (kind == 0)
            s->fest = true;
        else if (kind == 1)
            s->setHand(1 + rnd.below(5));
        sch.add(s);
    }
    TDataFile p(ft_proj, proFile);
    TDataFile e(ft_teil, einFile);
    if (p.OpenWrite()) {
        p.Write(pro);
        p.Close();
    }
    if (e.OpenWrite()) {
        e.Write(sch);
        e.Close();
    }
    sch.ClearData();
    pro.ClearData();
    delete pro.getNr0();
}

double msSince(const QElapsedTimer& t, qint64 from)
{
    return double(t.nsecsElapsed() - from) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const int pupils = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int projects = argc > 2 ? std::atoi(argv[2]) : 255;

    QTemporaryDir dir;
    const QString proFile = dir.filePath(QStringLiteral("bench.PRO"));
    const QString einFile = dir.filePath(QStringLiteral("bench.EIN"));
    writeSchool(proFile, einFile, pupils, projects);

    TBenchUi ui;
    SetUi(&ui);
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    ui.clock = &clock;
    ui.nextFile = proFile;
    MainForm->OpenProAct->trigger();
    const qint64 proOpened = clock.nsecsElapsed();
    ui.nextFile = einFile;
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
    std::printf("  open PRO file + project editor   %8.1f ms\n", msSince(clock, 0) - msSince(clock, proOpened));
    std::printf("  open EIN file + pupil editor     %8.1f ms\n", double(einOpened - proOpened) / 1e6);
    std::printf("  dialog up until Start            %8.1f ms\n", double(startAt - commandAt) / 1e6);
    std::printf("  run: Start to result message     %8.1f ms\n", double(ui.messageAt - startAt) / 1e6);
    std::printf("  close dialog + refresh all views %8.1f ms\n", double(done - ui.messageAt) / 1e6);
    std::printf("  whole road                       %8.1f ms\n", double(done) / 1e6);
    std::printf("  result: %s\n", qPrintable(ui.lastText));
    DestroyForms();
    SchuelerData->ClearData();
    ProjektData->ClearData();
    SetUi(nullptr);
    return 0;
}

// Pupil views and the incremental search over a large pupil list,
// offscreen: opening and closing a view over half the pupils, one search
// step over every row and a full pass that finds nothing.

#include "app/UEditor.h"
#include "app/UIncSearch.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "app/main.h"
#include "bench/UBenchUi.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <cstdio>
#include <functional>

namespace {

void fill(int pupils)
{
    SchuelerData->reserve(pupils);
    for (int i = 0; i < pupils; ++i) {
        auto* s = new TSchueler;
        s->name = QStringLiteral("Schüler Nr. %1").arg(i);
        s->geschl = i % 2;
        s->jgst = 5 + i % 9;
        s->abt = QString(QChar('a' + i % 6));
        for (int r = 1; r <= 5; ++r)
            s->wahl[r] = 1 + (i + r) % 40;
        SchuelerData->add(s);
    }
}

qint64 timedUs(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1000;
}

}   // namespace

// "kbench_extracts [pupils]", default 100000.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pupils = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    TBenchUi ui;   // the wrap-around question is answered No
    ui.answer = [](const TMessage&) { return TModalResult::mrNo; };
    SetUi(&ui);
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();
    fill(pupils);
    MainFormHandler->UpdateAll();
    std::printf("pupils: %d\n", pupils);

    // A view over the boys: half of the list.
    TSearchFilter boys;
    boys.geschl = stMaennl;
    QPointer<TEditor> view;
    const qint64 open = timedUs([&] {
        int n = 0;
        view = new TEditor(MainForm, MainFormHandler, SchuelerData->select(boys, false, n), QStringLiteral("Auszug"));
    });
    std::printf("open a view over %d pupils: %.1f ms\n", view->getData()->Anz(), open / 1000.0);
    const qint64 close = timedUs([&] { view->close(); });
    std::printf("close it: %.1f ms\n", close / 1000.0);
    QCoreApplication::processEvents();

    // The search in the pupil editor, over every row.
    MainForm->ActivateSchActExecute();
    TEditor* editor = MainForm->activeEditor();
    MainForm->SearchAct->trigger();
    TGridWidget* grid = editor->grid();
    grid->setRow(1);
    const QString lastName = QStringLiteral("Nr. %1").arg(pupils - 1);
    IncSearch->Enter->blockSignals(true);
    IncSearch->Enter->setText(lastName.left(lastName.size() - 1));
    IncSearch->Enter->blockSignals(false);
    // One typed letter: the match is in the last row.
    const qint64 step = timedUs([&] { IncSearch->Enter->insert(lastName.right(1)); });
    std::printf("one search step to row %d of %d: %.1f ms\n", grid->row(), grid->rowCount() - 1, step / 1000.0);

    MainForm->SearchAct->trigger();
    grid->setRow(1);
    const qint64 pass = timedUs([&] { IncSearch->Enter->insert(QStringLiteral("#")); });
    std::printf("a full pass without a match (%d question): %.1f ms\n", int(ui.shown.size()), pass / 1000.0);

    DestroyForms();
    SchuelerData->ClearData();
    return 0;
}

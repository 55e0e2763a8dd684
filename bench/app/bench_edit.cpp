// Editing a large pupil editor offscreen: inserting and deleting a row in
// the middle through the commands, storing an edited row and moving the
// cursor with the keys.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "bench/UBenchUi.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "platform/UGridWidget.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {

void fill(int projects, int pupils)
{
    for (int p = 1; p <= projects; ++p)
        ProjektData->add(new TProjekt(TZeile(QStringLiteral("%1; Projekt %1; 5; 10; 5; 40; -; -; 0; ").arg(p))));
    SchuelerData->reserve(pupils);
    for (int i = 0; i < pupils; ++i)
        SchuelerData->add(new TSchueler(TZeile(QStringLiteral("Schüler Nr. %1; %2; %3; %4; -; %5; %6; %7; 0; 0; %5; ")
                                                   .arg(i)
                                                   .arg(i % 2 ? 'm' : 'w')
                                                   .arg(5 + i % 9)
                                                   .arg(QChar('a' + i % 6))
                                                   .arg(1 + i % projects)
                                                   .arg(1 + (i / 7) % projects)
                                                   .arg(1 + (i / 13) % projects)),
                                        true));
}

qint64 timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.elapsed();
}

}   // namespace

// "kbench_edit [pupils]", default 100000.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pupils = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    const int projects = 255;
    TBenchUi ui;
    SetUi(&ui);
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();
    fill(projects, pupils);
    MainFormHandler->UpdateAll();

    const qint64 openMs = timed([] { MainForm->ActivateSchAct->trigger(); });
    TEditor* editor = MainForm->activeEditor();
    TGridWidget* grid = editor->grid();
    grid->setFocus(Qt::OtherFocusReason);
    const int middle = pupils / 2;
    grid->setCurrentCell(2, middle);

    const qint64 insertMs = timed([] { MainForm->InsertHereAct->trigger(); });
    const bool inserted = SchuelerData->Anz() == pupils + 1 && SchuelerData->getNr(middle)->name.isEmpty();
    const qint64 deleteMs = timed([] { MainForm->DeleteAct->trigger(); });
    const bool deleted = SchuelerData->Anz() == pupils && !SchuelerData->getNr(middle)->name.isEmpty();
    const qint64 appendMs = timed([] { MainForm->InsertEndAct->trigger(); });

    // One cell typed and stored by Tab.
    grid->setCurrentCell(0, middle);
    const qint64 storeMs = timed([grid] {
        QTest::keyClick(grid, Qt::Key_F2);
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (line)
            line->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Neuer Name"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    });
    const bool stored = SchuelerData->getNr(middle)->name == QLatin1String("Neuer Name");

    // 1000 cursor moves, each storing the edited row again.
    const qint64 movesMs = timed([grid] {
        for (int i = 0; i < 500; ++i) {
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Up);
        }
    });

    std::printf("pupils %d, projects %d, grid rows %d\n", pupils, projects, grid->rowCount() - 1);
    std::printf("open the pupil editor:             %6lld ms\n", (long long)openMs);
    std::printf("insert in the middle (row %d): %6lld ms (goal < 500) %s\n", middle, (long long)insertMs,
                inserted ? "ok" : "WRONG");
    std::printf("delete in the middle:              %6lld ms (goal < 500) %s\n", (long long)deleteMs,
                deleted ? "ok" : "WRONG");
    std::printf("insert at the end:                 %6lld ms\n", (long long)appendMs);
    std::printf("type a name and store it by Tab:   %6lld ms %s\n", (long long)storeMs, stored ? "ok" : "WRONG");
    std::printf("1000 cursor moves, each storing:   %6lld ms (%.3f ms a move)\n", (long long)movesMs,
                double(movesMs) / 1000.0);
    std::printf("beeps %d\n", ui.beeps);

    DestroyForms();
    SchuelerData->ClearData();
    ProjektData->ClearData();
    SetUi(nullptr);
    return inserted && deleted && stored ? 0 : 1;
}

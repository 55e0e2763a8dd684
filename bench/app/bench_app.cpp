// Opening a large assignment file into the pupil editor, offscreen, until
// the grid is filled and the views are current; then closing that editor.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "bench/UBenchUi.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UAnsiText.h"
#include "platform/UGridWidget.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

void writeSchool(const QString& proFile, const QString& einFile, int projects, int pupils)
{
    QRandomGenerator rnd(4711);
    QFile pro(proFile);
    pro.open(QIODevice::WriteOnly);
    for (int p = 1; p <= projects; ++p) {
        const int lo = 5 + int(rnd.bounded(4));
        pro.write(Ansi::encode(QStringLiteral("%1; Projekt Nr. %1 Übungen; %2; %3; %4; %5; -; -; 0; \r\n")
                                   .arg(p).arg(lo).arg(lo + 4).arg(5).arg(25 + int(rnd.bounded(30)))));
    }
    static const char* const first[] = {"Jürgen", "Anna", "Özlem", "Björn", "Käthe", "Lukas", "Mia", "Sören"};
    QByteArray all;
    for (int i = 0; i < pupils; ++i) {
        QString line = QStringLiteral("%1 Müller-%2; %3; %4; %5; -; ")
                           .arg(QString::fromUtf8(first[i % 8])).arg(i).arg(i % 2 ? 'm' : 'w')
                           .arg(5 + i % 9).arg(QChar('A' + i % 6));
        for (int r = 0; r < 5; ++r)
            line += QString::number(1 + int(rnd.bounded(projects))) + QStringLiteral("; ");
        line += QString::number(i % 3 ? 1 + int(rnd.bounded(projects)) : 0) + QStringLiteral("; \r\n");
        all += Ansi::encode(line);
    }
    QFile ein(einFile);
    ein.open(QIODevice::WriteOnly);
    ein.write(all);
}

}   // namespace

// "kbench_app [pupils]" runs offscreen and prints the figures;
// "kbench_app --show seconds [edit [menu]]" opens a small school on the display and
// keeps the window up for a look (a screenshot) before it quits.
int main(int argc, char* argv[])
{
    const bool show = argc > 2 && QByteArray(argv[1]) == "--show";
    if (!show)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pupils = show ? 60 : argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    const int projects = show ? 12 : 255;
    QTemporaryDir dir;
    const QString proFile = dir.filePath("school.PRO");
    const QString einFile = dir.filePath("school.EIN");
    writeSchool(proFile, einFile, projects, pupils);

    TBenchUi ui;
    SetUi(&ui);
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();
    ui.file = proFile;
    MainForm->OpenProAct->trigger();
    QCoreApplication::processEvents();

    if (show) {
        ui.file = einFile;
        MainForm->OpenEintAct->trigger();
        // "--show seconds edit [menu]": the pupil editor in movement mode
        // with a menu open ("&Bearbeiten" unless named).
        if (argc > 3 && QByteArray(argv[3]) == "edit") {
            MainForm->BewegModeAct->trigger();
            if (TEditor* editor = MainForm->activeEditor())
                editor->grid()->setCurrentCell(6, 3);
            const QString menu = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("&Bearbeiten");
            QTimer::singleShot(500, &app, [menu] {
                for (QAction* top : MainForm->menuBar()->actions())
                    if (top->text() == menu)
                        MainForm->menuBar()->setActiveAction(top);
            });
        }
        QTimer::singleShot(QString::fromLatin1(argv[2]).toInt() * 1000, &app, &QApplication::quit);
        app.exec();
        DestroyForms();
        SchuelerData->ClearData();
        ProjektData->ClearData();
        SetUi(nullptr);
        return 0;
    }

    ui.file = einFile;
    QElapsedTimer t;
    t.start();
    MainForm->OpenEintAct->trigger();
    QCoreApplication::processEvents();
    const qint64 openMs = t.elapsed();
    TEditor* editor = MainForm->activeEditor();
    const int rows = editor ? editor->grid()->rowCount() - 1 : -1;

    t.restart();
    MainFormHandler->UpdateCloseMainSchEditor();
    const qint64 closeMs = t.elapsed();

    std::printf("pupils %d, projects %d, grid rows %d\n", pupils, projects, rows);
    std::printf("open assignment file into the pupil editor: %lld ms (goal < 2000)\n", (long long)openMs);
    std::printf("close the pupil editor: %lld ms (goal < 500), editors left %d, pupils left %d\n",
                (long long)closeMs, int(MainForm->editors().size()), SchuelerData->Anz());
    DestroyForms();
    ProjektData->ClearData();
    SetUi(nullptr);
    return 0;
}

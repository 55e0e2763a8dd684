// The import command offscreen at 100,000 register lines: the wizard's
// preview after a change, and the command from the wizard's OK until the
// pupil editor shows the pupils, without and with a class filter, each
// replacing the pupils of the run before with their editor open.

#include "app/UEditor.h"
#include "app/UKlassenSelect.h"
#include "app/main.h"
#include "bench/UBenchUi.h"
#include "data/USchuelerData.h"
#include "import/UImportDialog.h"
#include "platform/UAnsiText.h"
#include "platform/UApplication.h"
#include "platform/UGridWidget.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kLines = 100000;

bool writeRegister(const QString& path)
{
    static const char* const last[] = {"Müller", "Schmidt", "Schäfer", "Weiß", "Groß", "Öztürk", "Bär", "Koch"};
    static const char* const first[] = {"Anna", "Jürgen", "Käthe", "Sören", "Özlem", "Björn", "Mia", "Paul"};
    QByteArray all;
    for (int i = 0; i < kLines; ++i) {
        const QString line = QStringLiteral("\"%1, %2 %3\",%4%5,%6\r\n")
                                 .arg(QString::fromUtf8(last[i % 8]), QString::fromUtf8(first[(i / 8) % 8]))
                                 .arg(i)
                                 .arg(5 + i % 9)
                                 .arg(QLatin1Char(char('a' + i % 6)))
                                 .arg(i % 2 ? QLatin1Char('m') : QLatin1Char('w'));
        all += Ansi::encode(line);
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(all) == all.size();
}

// Field nr of the preview gets the assignment list's row, chosen with Space.
void assign(int nr, int row)
{
    ImportDialog->NrSelect->setValue(nr);
    ImportDialog->AssignBox->setCurrentRow(row);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(ImportDialog->AssignBox, &space);
}

struct TRun {
    double previewMs = 0;   // one preview after a change, averaged
    qint64 commandMs = 0;   // OK until the editor shows the pupils
    int pupils = 0;
    int rows = 0;
};

TRun importOnce(bool filter)
{
    TRun run;
    QElapsedTimer clock;
    QTimer::singleShot(0, ImportDialog, [&] {
        ImportDialog->Pages->setCurrentWidget(ImportDialog->ElementsPage);
        assign(1, 1);   // voller Name
        assign(2, 6);   // volle Klasse
        assign(3, 5);   // Geschlecht
        // The preview after each change of the field number.
        constexpr int changes = 40;
        QElapsedTimer preview;
        preview.start();
        for (int i = 0; i < changes; ++i)
            ImportDialog->NrSelect->setValue(1 + i % 3);
        run.previewMs = double(preview.nsecsElapsed()) / 1e6 / changes;
        if (filter) {
            QTimer::singleShot(0, KlassenSelect, [] {
                QListWidget* grades = KlassenSelect->ListJgst;
                for (int i = 0; i < grades->count(); ++i)
                    grades->item(i)->setSelected(grades->item(i)->text() == QLatin1String("10"));
                KlassenSelect->OkBtn->click();
            });
            ImportDialog->KlSelectBut->click();
        }
        clock.start();
        ImportDialog->OkButton->click();
    });
    MainForm->ImportAct->trigger();
    QApplication::processEvents();
    run.commandMs = clock.elapsed();
    run.pupils = SchuelerData->Anz();
    for (TEditor* e : MainForm->editors())
        if (e->Editable() && e->getDataType() == dtSch)
            run.rows = e->grid()->rowCount() - 1;
    return run;
}

}   // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    QTemporaryDir dir;
    TBenchUi ui;
    SetUi(&ui);
    ui.file = dir.filePath(QStringLiteral("register.txt"));
    // An imported list counts as modified: the next import's save question
    // is answered "Nein", so the register is not saved over.
    ui.answer = [](const TMessage& m) {
        if (m.buttons & mbNo)
            return TModalResult::mrNo;
        return m.buttons & mbOK ? TModalResult::mrOk : TModalResult::mrCancel;
    };
    if (!writeRegister(ui.file)) {
        std::printf("cannot write %s\n", qPrintable(ui.file));
        return 1;
    }
    CreateForms();
    MainForm->show();
    QApplication::processEvents();

    std::printf("import command, register of %d lines (%.1f MB), database convention\n", kLines,
                double(QFile(ui.file).size()) / 1e6);
    const struct {
        const char* label;
        bool filter;
    } runs[] = {{"no filter, empty start", false},
                {"no filter, replacing", false},
                {"filter grade 10, replacing", true},
                {"filter grade 10, replacing", true},
                {"no filter, replacing", false}};
    for (const auto& r : runs) {
        const TRun run = importOnce(r.filter);
        std::printf("  %-28s preview %6.2f ms   OK to editor %5lld ms   %6d pupils, %6d rows shown\n", r.label,
                    run.previewMs, static_cast<long long>(run.commandMs), run.pupils, run.rows);
        std::printf("    message: %s\n", qPrintable(ui.shown.value(ui.shown.size() - 1)));
    }
    DestroyForms();
    SchuelerData->ClearData();
    SetUi(nullptr);
    return 0;
}

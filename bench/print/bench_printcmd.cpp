// The print and export commands of the main window on a large school,
// sorted by project: each export format into a file, then printing into a
// PDF file through the Qt printer, as the user starts them.
//
//   kbench_printcmd [pupils [projects [pdf file to keep [spacing text]]]]
// Without a PDF name the print goes into a temporary file.

#include "app/main.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UApplication.h"
#include "platform/UQtPrinter.h"
#include "platform/UUi.h"
#include "print/UPrintConfDialog.h"

#include "bench/data/USchoolGen.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Answers the export file dialog with a file and filter, the choices
// question with yes, the printer setup with a PDF file; counts messages.
class TBenchUi : public IUi {
public:
    QString file;
    int filter = 1;
    QString pdf;
    QStringList shown;
    TModalResult messageBox(const TMessage& m) override
    {
        shown << m.text;
        return m.buttons & mbYes ? TModalResult::mrYes : TModalResult::mrOk;
    }
    TFileDialogResult fileDialog(const TFileDialogSpec&) override { return {true, {file}, filter}; }
    bool inputQuery(const QString&, const QString&, QString&) override { return false; }
    bool fontDialog(TFontSpec&) override { return false; }
    bool printerSetup() override
    {
        QtPrinter().setPdfFile(pdf);
        return true;
    }
    void beep() override {}
    void showHelp(int) override {}
};

QAction* action(const char* name)
{
    return MainForm->findChild<QAction*>(QString::fromLatin1(name));
}

int pdfPages(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    return int(bytes.count("/Type /Page") - bytes.count("/Type /Pages"));
}

} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const int pupils = argc > 1 ? atoi(argv[1]) : 100000;
    const int projects = argc > 2 ? atoi(argv[2]) : 255;
    TBenchUi ui;
    SetUi(&ui);
    InstallQtPrinter();
    CreateForms();
    MainForm->show();

    TSchoolSpec school;
    school.pupils = pupils;
    school.projects = projects;
    GenerateSchool(school, *ProjektData, *SchuelerData);
    SchuelerData->Sort(sc_P_N);
    MainForm->ActivateEditor(dtSch);
    std::printf("%d pupils, %d projects, sorted by project, in the pupil editor\n", SchuelerData->Anz(),
                ProjektData->Anz());

    QTemporaryDir dir;
    QElapsedTimer t;
    const char* names[] = {"text with blanks", "text with TABs", "HTML"};
    for (int filter = 1; filter <= 3; ++filter) {
        ui.file = dir.filePath(QStringLiteral("liste"));
        ui.filter = filter;
        ui.shown.clear();
        t.start();
        action("ExportAct")->trigger();
        const qint64 ms = t.elapsed();
        const QString written = ui.file + (filter == 3 ? QStringLiteral(".HTML") : QStringLiteral(".TXT"));
        std::printf("export %-16s with choices: %5lld ms, %lld bytes; %s\n", names[filter - 1], ms,
                    QFileInfo(written).size(), qPrintable(ui.shown.value(1)));
    }

    ui.pdf = argc > 3 ? QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath()
                      : dir.filePath(QStringLiteral("liste.pdf"));
    ui.shown.clear();
    const QString spacing = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    QTimer::singleShot(0, PrintConfDialog, [spacing] {
        PrintConfDialog->SetupButton->click();
        if (!spacing.isEmpty())
            PrintConfDialog->SpacingSelect->setEditText(spacing);
        PrintConfDialog->CheckFooter->setChecked(true);
        PrintConfDialog->OKButton->click();
    });
    t.start();
    action("PrintAct")->trigger();
    const qint64 ms = t.elapsed();
    std::printf("print into a PDF with choices and page numbers, spacing %.1f: %5lld ms, %d pages, %lld bytes; %s\n",
                PrintConfDialog->getSpacing(), ms, pdfPages(ui.pdf), QFileInfo(ui.pdf).size(),
                qPrintable(ui.shown.value(1)));
    std::fflush(stdout);

    QtPrinter().setPdfFile(QString());
    DestroyForms();
    SchuelerData->ClearData();
    ProjektData->ClearData();
    SetUi(nullptr);
    return 0;
}

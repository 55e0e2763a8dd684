// Exports a large school in every format and lays its print lines out on
// the recording printer.

#include "data/UData.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "print/UVirtPrinter.h"

#include "bench/data/USchoolGen.h"

#include "platform/URecordingPrinter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    TSchoolSpec school;
    school.pupils = count;
    TSchuelerData pupils;
    GenerateSchool(school, *ProjektData, pupils);
    QElapsedTimer t;
    t.start();
    pupils.Sort(sc_P_N);
    std::printf("%d pupils, %d projects, sorted by project in %lld ms\n", count, ProjektData->Anz(),
                t.elapsed());

    QTemporaryDir dir;
    const struct {
        TExpFormat ext;
        const char* name;
    } formats[] = {{exSpace, "text with blanks"}, {exTab, "text with TABs"}, {exHtml, "HTML"}};
    for (const auto& f : formats) {
        for (bool voll : {false, true}) {
            const QString file = dir.filePath(QStringLiteral("export"));
            t.restart();
            pupils.ExportData(file, f.ext, voll);
            std::printf("export %-16s %s choices: %5lld ms, %lld bytes\n", f.name, voll ? "with   " : "without",
                        t.elapsed(), QFileInfo(file).size());
        }
    }

    TRecordingPrinter rec;
    rec.keepTexts = false;
    const TFontSpec heading{QStringLiteral("Arial"), 12, true};
    const TFontSpec standard{QStringLiteral("Arial"), 10};
    pupils.SetPrintFonts(&heading, &standard, 1.0, true);
    t.restart();
    pupils.ExportData(QString(), exPrint, true);
    std::printf("print export to the recording printer: %5lld ms, %lld pages, %lld texts\n", t.elapsed(),
                qint64(rec.pages.size()), rec.textCount);

    // The page printer alone, over lines made beforehand: counting the
    // texts only, then recording every one of them.
    QStringList lines;
    lines.reserve(count);
    for (int i = 1; i <= count; ++i)
        lines.append(pupils.getNr(i)->ToExportZeil(sc_P_N, exPrint, true));
    for (bool keep : {false, true}) {
        rec.keepTexts = keep;
        t.restart();
        {
            TVirtPrinter p(&heading, &standard, 1.0, true);
            for (const QString& l : lines)
                p.PrintLine(l);
            p.Finish();
        }
        std::printf("page printer layout of %d print lines, %s: %5lld ms, %lld pages, %lld texts\n", count,
                    keep ? "texts recorded" : "texts counted ", t.elapsed(), qint64(rec.pages.size()),
                    rec.textCount);
    }

    pupils.ClearData();
    ProjektData->ClearData();
    return 0;
}

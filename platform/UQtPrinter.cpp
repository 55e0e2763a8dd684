#include "platform/UQtPrinter.h"

#include "platform/UAnsiText.h"
#include "platform/UQtUi.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>

#include <cmath>

namespace {

const int PdfResolution = 600;

TQtPrinter* gQtPrinter = nullptr;

// A job's page is the whole sheet: the page printer keeps its own margins,
// a twelfth of the width, alike on every printer and in a PDF.
QPageLayout fullPage(QPageLayout layout)
{
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void DropQtPrinter()
{
    if (&Printer() == gQtPrinter)
        SetPrinter(nullptr);
    delete gQtPrinter;
    gQtPrinter = nullptr;
}

} // namespace

TQtPrinter::TQtPrinter()
    : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    FSpec = PrintedFont(TFontSpec());
    applyFont();
}

TQtPrinter::~TQtPrinter()
{
    abortDoc();
}

void TQtPrinter::setPdfFile(const QString& fileName)
{
    if (fileName.isEmpty()) {
        // Without an installed printer Qt stays with PDF: forget the file,
        // so that no later job goes into it unasked.
        FPrinter->setOutputFileName(QString());
        FPrinter->setOutputFormat(QPrinter::NativeFormat);
        return;
    }
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(fileName);
    FPrinter->setResolution(PdfResolution);
}

QString TQtPrinter::pdfFile() const
{
    return FPrinter->outputFormat() == QPrinter::PdfFormat ? FPrinter->outputFileName() : QString();
}

QStringList TQtPrinter::printers() const
{
    return QPrinterInfo::availablePrinterNames();
}

int TQtPrinter::printerIndex() const
{
    return int(printers().indexOf(FPrinter->printerName()));
}

void TQtPrinter::setPrinterIndex(int index)
{
    const QStringList names = printers();
    if (index >= 0 && index < names.size())
        FPrinter->setPrinterName(names[index]);
}

bool TQtPrinter::beginDoc(const QString& title)
{
    if (FPainter) {
        FError = QStringLiteral("Der Drucker druckt bereits.");
        return false;
    }
    // Without an installed printer Qt offers a PDF that has no file name.
    const bool pdf = FPrinter->outputFormat() == QPrinter::PdfFormat;
    const bool noTarget = pdf ? FPrinter->outputFileName().isEmpty() : FPrinter->printerName().isEmpty();
    if (noTarget) {
        FError = QStringLiteral("Es ist kein Drucker installiert oder ausgewählt.");
        return false;
    }
    FPrinter->setDocName(title);
    FError.clear();
    FFailed = false;
    if (!(pdf ? beginPdf() : beginPrinter())) {
        dropJob();
        return false;
    }
    FPage = 1;
    FSpec = PrintedFont(TFontSpec());
    applyFont();
    return true;
}

bool TQtPrinter::beginPdf()
{
    const QString target = FPrinter->outputFileName();
    FPdfFile = std::make_unique<QSaveFile>(target);
    // QSaveFile refuses a folder itself, saying so.
    if (!FPdfFile->open(QIODevice::WriteOnly)) {
        FError = FileCreateError(target, FPdfFile->errorString());
        return false;
    }
    FPdfWriter = std::make_unique<QPdfWriter>(FPdfFile.get());
    FPdfWriter->setResolution(FPrinter->resolution());
    FPdfWriter->setPageLayout(fullPage(FPrinter->pageLayout()));
    FPdfWriter->setTitle(FPrinter->docName());
    FPdfWriter->setCreator(FPrinter->creator());
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(FPdfWriter.get())) {
        FError = FileCreateError(target);
        return false;
    }
    FPainter = std::move(painter);
    return true;
}

bool TQtPrinter::beginPrinter()
{
    // A printer of its own for the job, set up as the settings are: one
    // that failed or was aborted never prints again.
    FJobPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& job = *FJobPrinter;
    job.setPrinterName(FPrinter->printerName());
    job.setPageLayout(FPrinter->pageLayout());
    job.setResolution(FPrinter->resolution());
    job.setCopyCount(FPrinter->copyCount());
    job.setCollateCopies(FPrinter->collateCopies());
    job.setDuplex(FPrinter->duplex());
    job.setColorMode(FPrinter->colorMode());
    job.setPageOrder(FPrinter->pageOrder());
    job.setFullPage(true);
    job.setDocName(FPrinter->docName());
    job.setCreator(FPrinter->creator());
    job.setPaperSource(FPrinter->paperSource());
    job.setPrintRange(FPrinter->printRange());
    job.setPageRanges(FPrinter->pageRanges());
    // What the print dialog sets for the printer's own options (pages per
    // sheet, page ranges, trays) lives in the engine under the key that Qt's
    // CUPS support uses; an engine without it ignores the key.
    const auto options = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    job.printEngine()->setProperty(options, FPrinter->printEngine()->property(options));
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&job)) {
        FError = QStringLiteral("Der Drucker \"%1\" hat den Druckauftrag abgelehnt.").arg(job.printerName());
        return false;
    }
    FPainter = std::move(painter);
    return true;
}

void TQtPrinter::dropJob()
{
    FPainter.reset();
    FPdfWriter.reset();
    if (FPdfFile)
        FPdfFile->cancelWriting();   // nothing written is left, the old file stays
    FPdfFile.reset();
    FJobPrinter.reset();
    FPage = 0;
    applyFont();
}

bool TQtPrinter::endDoc()
{
    if (!FPainter) {
        FError = QStringLiteral("Es ist kein Druckauftrag offen.");
        return false;
    }
    bool ok = FPainter->end() && !FFailed;
    if (FPdfFile) {
        // A file is printed only when it is there, whole.
        const QString target = FPdfFile->fileName();
        FPdfWriter.reset();
        QString reason;
        ok = ok && CommitSaveFile(*FPdfFile, &reason);
        if (!ok && !FFailed)
            FError = FileWriteError(target, reason);
    } else {
        ok = ok && FJobPrinter->printerState() != QPrinter::Error;
    }
    dropJob();
    if (!ok && FError.isEmpty())
        FError = QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden.");
    return ok;
}

void TQtPrinter::abortDoc()
{
    if (!FPainter)
        return;
    if (FJobPrinter)
        FJobPrinter->abort();
    FPainter->end();
    dropJob();
}

const QPagedPaintDevice& TQtPrinter::device() const
{
    if (FPdfWriter)
        return *FPdfWriter;
    if (FJobPrinter)
        return *FJobPrinter;
    return *FPrinter;
}

int TQtPrinter::resolution() const
{
    return FPdfWriter ? FPdfWriter->resolution() : FJobPrinter ? FJobPrinter->resolution() : FPrinter->resolution();
}

int TQtPrinter::pageWidth() const
{
    return device().pageLayout().paintRectPixels(resolution()).width();
}

int TQtPrinter::pageHeight() const
{
    return device().pageLayout().paintRectPixels(resolution()).height();
}

void TQtPrinter::newPage()
{
    if (!FPainter)
        return;
    const bool begun = FPdfWriter ? FPdfWriter->newPage() : FJobPrinter->newPage();
    if (!FFailed && FPdfFile && FPdfFile->error() != QFileDevice::NoError) {
        FFailed = true;
        FError = FileWriteError(FPdfFile->fileName(), WriteFailureReason(*FPdfFile));
    } else if (!FFailed && !begun) {
        FFailed = true;
        FError = QStringLiteral("Der Drucker konnte keine neue Seite beginnen.");
    }
    ++FPage;
}

void TQtPrinter::setFont(const TFontSpec& font)
{
    FSpec = PrintedFont(font);
    applyFont();
}

void TQtPrinter::applyFont()
{
    FFont = TQtUi::toQFont(FSpec);
    FMetrics.emplace(FFont, &device());
    if (FPainter) {
        FPainter->setFont(FFont);
        FPainter->setPen(QColor(QRgb(FSpec.color)));
    }
}

int TQtPrinter::fontHeight() const
{
    return int(std::lround(FSpec.size * double(resolution()) / 72.0));
}

int TQtPrinter::textWidth(const QString& text) const
{
    return int(std::ceil(FMetrics->horizontalAdvance(text)));
}

void TQtPrinter::textOut(int x, int y, const QString& text)
{
    if (FPainter)
        FPainter->drawText(x, y + qRound(FMetrics->ascent()), text);
}

TFontSpec PrintedFont(const TFontSpec& font)
{
    // The face the default font resolves to on this system.
    const QString fallback = QFontInfo(QFont(TFontSpec().name)).family();
    return UsableFont(font, QFontDatabase::hasFamily(font.name), fallback);
}

QFont PrintedQFont(const TFontSpec& font)
{
    return TQtUi::toQFont(PrintedFont(font));
}

TQtPrinter& QtPrinter()
{
    if (!gQtPrinter) {
        gQtPrinter = new TQtPrinter();
        // The printer goes before the application object does.
        qAddPostRoutine(DropQtPrinter);
    }
    return *gQtPrinter;
}

void InstallQtPrinter()
{
    SetPrinter(&QtPrinter());
    TQtUi::printerSetupHook = [] { return QtPrinterSetupDialog(TQtUi::dialogParent()); };
}

bool QtPrinterSetupDialog(QWidget* parent)
{
    QPrintDialog dialog(&QtPrinter().qprinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    // It only sets the printer up: nothing is printed on "OK".
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

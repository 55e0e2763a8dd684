#include "platform/UQtPrinter.h"

#include "platform/UQtUi.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <cmath>

namespace {

const int PdfResolution = 600;

TQtPrinter* gQtPrinter = nullptr;

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
    const bool noTarget = FPrinter->outputFormat() == QPrinter::PdfFormat
                              ? FPrinter->outputFileName().isEmpty()
                              : FPrinter->printerName().isEmpty();
    if (noTarget) {
        FError = QStringLiteral("Es ist kein Drucker installiert oder ausgewählt.");
        return false;
    }
    FPrinter->setDocName(title);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(FPrinter.get())) {
        FError = QStringLiteral("Der Drucker \"%1\" hat den Druckauftrag abgelehnt.")
                     .arg(FPrinter->outputFormat() == QPrinter::PdfFormat ? FPrinter->outputFileName()
                                                                           : FPrinter->printerName());
        return false;
    }
    FPainter = std::move(painter);
    FPage = 1;
    FFailed = false;
    FError.clear();
    FSpec = TFontSpec();
    applyFont();
    return true;
}

bool TQtPrinter::endDoc()
{
    if (!FPainter) {
        FError = QStringLiteral("Es ist kein Druckauftrag offen.");
        return false;
    }
    const bool ended = FPainter->end();
    FPainter.reset();
    FPage = 0;
    if (!ended || FFailed || FPrinter->printerState() == QPrinter::Error) {
        if (FError.isEmpty())
            FError = QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden.");
        return false;
    }
    return true;
}

void TQtPrinter::abortDoc()
{
    if (!FPainter)
        return;
    FPrinter->abort();
    FPainter->end();
    FPainter.reset();
    FPage = 0;
}

int TQtPrinter::pageWidth() const
{
    return FPrinter->pageLayout().paintRectPixels(FPrinter->resolution()).width();
}

int TQtPrinter::pageHeight() const
{
    return FPrinter->pageLayout().paintRectPixels(FPrinter->resolution()).height();
}

void TQtPrinter::newPage()
{
    if (!FPainter)
        return;
    if (!FPrinter->newPage()) {
        FFailed = true;
        FError = QStringLiteral("Der Drucker konnte keine neue Seite beginnen.");
    }
    ++FPage;
}

void TQtPrinter::setFont(const TFontSpec& font)
{
    // The face the default font resolves to on this system.
    const QString fallback = QFontInfo(QFont(TFontSpec().name)).family();
    FSpec = UsableFont(font, QFontDatabase::hasFamily(font.name), fallback);
    applyFont();
}

void TQtPrinter::applyFont()
{
    QFont f(FSpec.name);
    f.setPointSize(FSpec.size);
    f.setBold(FSpec.bold);
    f.setItalic(FSpec.italic);
    f.setUnderline(FSpec.underline);
    f.setStrikeOut(FSpec.strikeOut);
    FFont = f;
    FAscent = QFontMetrics(FFont, FPrinter.get()).ascent();
    if (FPainter) {
        FPainter->setFont(FFont);
        FPainter->setPen(QColor(QRgb(FSpec.color)));
    }
}

int TQtPrinter::fontHeight() const
{
    return int(std::lround(FSpec.size * double(FPrinter->resolution()) / 72.0));
}

void TQtPrinter::textOut(int x, int y, const QString& text)
{
    if (FPainter)
        FPainter->drawText(x, y + FAscent, text);
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

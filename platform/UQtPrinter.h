#pragma once
// The system printer over QPrinter and QPainter: the installed (CUPS)
// printers, or a PDF file when the print dialog or the program asks for one.
// The QPrinter holds the settings only; every job prints on a device of its
// own made from them, and a PDF file is written beside its target and
// replaces it only when complete.

#include "platform/UPrinterDevice.h"

#include <QFont>
#include <QFontMetricsF>

#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;
class QSaveFile;
class QWidget;

class TQtPrinter : public IPrinterDevice {
public:
    TQtPrinter();
    ~TQtPrinter() override;

    QPrinter& qprinter() { return *FPrinter; }
    // Prints into the PDF file fileName instead of a printer; the empty
    // name goes back to the printer.
    void setPdfFile(const QString& fileName) override;
    QString pdfFile() const override;

    QStringList printers() const override;
    int printerIndex() const override;
    void setPrinterIndex(int index) override;
    bool beginDoc(const QString& title) override;
    bool endDoc() override;
    void abortDoc() override;
    bool printing() const override { return FPainter != nullptr; }
    int pageWidth() const override;
    int pageHeight() const override;
    int pageNumber() const override { return FPage; }
    void newPage() override;
    void setFont(const TFontSpec& font) override;
    TFontSpec font() const override { return FSpec; }
    int fontHeight() const override;
    int textWidth(const QString& text) const override;
    void textOut(int x, int y, const QString& text) override;
    QString errorText() const override { return FError; }

private:
    void applyFont();
    // The device printed on: the job's while one runs, else the settings.
    const QPagedPaintDevice& device() const;
    int resolution() const;
    bool beginPdf();
    bool beginPrinter();
    void dropJob();

    std::unique_ptr<QPrinter> FPrinter;      // the settings
    std::unique_ptr<QPrinter> FJobPrinter;   // a job on a printer
    std::unique_ptr<QSaveFile> FPdfFile;     // a job into a PDF file
    std::unique_ptr<QPdfWriter> FPdfWriter;
    std::unique_ptr<QPainter> FPainter;
    TFontSpec FSpec;
    QFont FFont;
    std::optional<QFontMetricsF> FMetrics;
    int FPage = 0;
    bool FFailed = false;
    QString FError;
};

// The font the Qt printer draws with when it is asked for font: a face this
// machine lacks becomes the face the default font resolves to, a size below
// 1 point the default size. The print settings show their samples and start
// their font dialogs in it, so that a sample is the face that gets printed.
TFontSpec PrintedFont(const TFontSpec& font);
// That font as Qt draws it.
QFont PrintedQFont(const TFontSpec& font);

// The program's Qt printer, made on first use (after the application object).
TQtPrinter& QtPrinter();
// Makes QtPrinter() the printer that Printer() returns, and its print dialog
// the printer setup dialog of the seam.
void InstallQtPrinter();
// Qt's print dialog on QtPrinter(), the printer setup dialog (a PDF file can
// be chosen there too); false when cancelled.
bool QtPrinterSetupDialog(QWidget* parent);

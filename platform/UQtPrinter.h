#pragma once
// The system printer over QPrinter and QPainter: the installed (CUPS)
// printers, or a PDF file when the print dialog or the program asks for one.

#include "platform/UPrinterDevice.h"

#include <QFont>

#include <memory>

class QPainter;
class QPrinter;
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
    void textOut(int x, int y, const QString& text) override;
    QString errorText() const override { return FError; }

private:
    void applyFont();

    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<QPainter> FPainter;
    TFontSpec FSpec;
    QFont FFont;
    int FAscent = 0;
    int FPage = 0;
    bool FFailed = false;
    QString FError;
};

// The program's Qt printer, made on first use (after the application object).
TQtPrinter& QtPrinter();
// Makes QtPrinter() the printer that Printer() returns, and its print dialog
// the printer setup dialog of the seam.
void InstallQtPrinter();
// Qt's print dialog on QtPrinter(), the printer setup dialog (a PDF file can
// be chosen there too); false when cancelled.
bool QtPrinterSetupDialog(QWidget* parent);

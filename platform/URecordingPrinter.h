#pragma once
// A printer that prints nothing and remembers everything: a fixed page of
// 4960 x 7016 pixels at 600 dpi (A4), every document, page, font change and
// drawn text with its position. Its texts have fixed widths of their own,
// whatever fonts the machine has: a letter or digit is half the font's
// height wide, a blank or punctuation mark a quarter, and bold a tenth more.
// Tests and benchmarks install it with SetPrinter.

#include "platform/UPrinterDevice.h"

#include <QList>
#include <QSet>

struct TPrintedText {
    int x = 0;
    int y = 0;
    QString text;
    TFontSpec font;
};

struct TPrintedPage {
    QList<TPrintedText> texts;
};

class TRecordingPrinter : public IPrinterDevice {
public:
    static constexpr int PageWidthPx = 4960;
    static constexpr int PageHeightPx = 7016;
    static constexpr int Dpi = 600;

    TRecordingPrinter();             // installs itself
    ~TRecordingPrinter() override;   // restores the device it replaced

    // Set up by the test.
    QStringList installed{QStringLiteral("Aufzeichnung")};
    int selected = 0;
    QSet<QString> faces{QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                        QStringLiteral("Courier New")};
    bool refuseBegin = false;        // beginDoc fails
    bool failEnd = false;            // endDoc fails
    bool keepTexts = true;           // false: count only (benchmarks)
    QString pdf;                     // a PDF file chosen in place of a printer

    // What was printed: the pages of the document begun last.
    QString title;
    QList<TPrintedPage> pages;
    QList<TFontSpec> fontChanges;    // every setFont, as the printer took it
    int documentsBegun = 0;
    int documentsEnded = 0;          // ended successfully
    int documentsAborted = 0;
    qint64 textCount = 0;

    // Every text of the document in drawing order, with its page (from 1).
    QList<QPair<int, TPrintedText>> allTexts() const;
    // The texts of one page (from 1), top to bottom, left to right.
    QStringList pageTexts(int page) const;
    void clear();
    // How wide text is in font on this printer, device pixels.
    static int textWidth(const QString& text, const TFontSpec& font);
    static int fontHeight(const TFontSpec& font);

    QStringList printers() const override { return installed; }
    int printerIndex() const override { return installed.isEmpty() ? -1 : selected; }
    void setPrinterIndex(int index) override { selected = index; }
    QString pdfFile() const override { return pdf; }
    void setPdfFile(const QString& fileName) override { pdf = fileName; }
    bool beginDoc(const QString& docTitle) override;
    bool endDoc() override;
    void abortDoc() override;
    bool printing() const override { return FPrinting; }
    int pageWidth() const override { return PageWidthPx; }
    int pageHeight() const override { return PageHeightPx; }
    int pageNumber() const override { return FPrinting ? int(pages.size()) : 0; }
    void newPage() override;
    void setFont(const TFontSpec& font) override;
    TFontSpec font() const override { return FFont; }
    int fontHeight() const override;
    int textWidth(const QString& text) const override { return textWidth(text, FFont); }
    void textOut(int x, int y, const QString& text) override;
    QString errorText() const override { return FError; }

private:
    IPrinterDevice* FPrevious = nullptr;
    bool FPrinting = false;
    TFontSpec FFont;
    QString FError;
};

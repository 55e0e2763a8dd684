#pragma once
// The system printer as the page printer sees it: installed printers, one
// document at a time, pages measured in device pixels, text measured and
// drawn in a font at a device position. QtCore only; the Qt implementation lives in
// UQtPrinter, tests and benchmarks install a TRecordingPrinter.

#include "platform/UExceptions.h"
#include "platform/UFontSpec.h"

#include <QString>
#include <QStringList>

// A print job that cannot be begun or finished.
class EPrinterError : public Exception {
public:
    using Exception::Exception;
};

class IPrinterDevice {
public:
    virtual ~IPrinterDevice() = default;

    virtual QStringList printers() const = 0;
    virtual int printerIndex() const = 0;          // -1 when none is selected
    virtual void setPrinterIndex(int index) = 0;
    // The PDF file printed into in place of a printer, empty when the
    // selected printer prints; the empty name goes back to the printer.
    virtual QString pdfFile() const { return QString(); }
    virtual void setPdfFile(const QString&) {}

    // Begins a document on page 1; false when the printer refuses it
    // (errorText() says why). Every document starts on a printer as fresh as
    // the first: a job that failed or was dropped leaves nothing behind.
    virtual bool beginDoc(const QString& title) = 0;
    // Ends the document and hands it to the spooler, or puts the PDF file in
    // place; false when that failed (a file then is not there, or is the old
    // one whole).
    virtual bool endDoc() = 0;
    // Drops the document begun; nothing is printed, no file is touched.
    virtual void abortDoc() = 0;
    virtual bool printing() const = 0;

    virtual int pageWidth() const = 0;             // device pixels
    virtual int pageHeight() const = 0;
    virtual int pageNumber() const = 0;            // 1 on the first page
    virtual void newPage() = 0;

    // Draws from now on with a copy of font; a face the printer does not
    // have falls back to its default font.
    virtual void setFont(const TFontSpec& font) = 0;
    virtual TFontSpec font() const = 0;            // the font in use
    virtual int fontHeight() const = 0;            // character height, device pixels
    // How wide text is in the drawing font, device pixels.
    virtual int textWidth(const QString& text) const = 0;
    // Draws text with its top left corner at (x, y).
    virtual void textOut(int x, int y, const QString& text) = 0;

    virtual QString errorText() const = 0;         // why the last step failed
};

// The printer the program prints on; there always is one (a device without
// printers until the program or a test installs its own).
IPrinterDevice& Printer();
// Installs device (not owned) and returns the one it replaces; nullptr
// restores the device without printers.
IPrinterDevice* SetPrinter(IPrinterDevice* device);

// The font a printer draws with when asked for font: defaultFace for a face
// it does not have (or an empty one), the default size for a size below
// 1 point.
TFontSpec UsableFont(const TFontSpec& font, bool faceAvailable, const QString& defaultFace);

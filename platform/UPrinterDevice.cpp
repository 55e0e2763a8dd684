#include "platform/UPrinterDevice.h"

namespace {

// What the program has before it installs the real printer: no printer at
// all, so every document is refused.
class TNoPrinter final : public IPrinterDevice {
public:
    QStringList printers() const override { return {}; }
    int printerIndex() const override { return -1; }
    void setPrinterIndex(int) override {}
    bool beginDoc(const QString&) override { return false; }
    bool endDoc() override { return false; }
    void abortDoc() override {}
    bool printing() const override { return false; }
    int pageWidth() const override { return 0; }
    int pageHeight() const override { return 0; }
    int pageNumber() const override { return 0; }
    void newPage() override {}
    void setFont(const TFontSpec&) override {}
    TFontSpec font() const override { return TFontSpec(); }
    int fontHeight() const override { return 0; }
    int textWidth(const QString&) const override { return 0; }
    void textOut(int, int, const QString&) override {}
    QString errorText() const override { return QStringLiteral("Es ist kein Drucker installiert."); }
};

TNoPrinter gNoPrinter;
IPrinterDevice* gPrinter = &gNoPrinter;

} // namespace

IPrinterDevice& Printer()
{
    return *gPrinter;
}

IPrinterDevice* SetPrinter(IPrinterDevice* device)
{
    IPrinterDevice* old = gPrinter == &gNoPrinter ? nullptr : gPrinter;
    gPrinter = device ? device : &gNoPrinter;
    return old;
}

TFontSpec UsableFont(const TFontSpec& font, bool faceAvailable, const QString& defaultFace)
{
    TFontSpec usable = font;
    if (font.name.trimmed().isEmpty() || !faceAvailable)
        usable.name = defaultFace;
    if (font.size < 1)
        usable.size = TFontSpec().size;
    return usable;
}

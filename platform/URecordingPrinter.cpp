#include "platform/URecordingPrinter.h"

#include <algorithm>
#include <cmath>

TRecordingPrinter::TRecordingPrinter()
{
    FPrevious = SetPrinter(this);
}

TRecordingPrinter::~TRecordingPrinter()
{
    SetPrinter(FPrevious);
}

bool TRecordingPrinter::beginDoc(const QString& docTitle)
{
    if (FPrinting) {
        FError = QStringLiteral("Der Drucker druckt bereits.");
        return false;
    }
    if (pdf.isEmpty() && (selected < 0 || selected >= installed.size())) {
        FError = QStringLiteral("Es ist kein Drucker installiert oder ausgewählt.");
        return false;
    }
    if (refuseBegin) {
        FError = QStringLiteral("Der Drucker hat den Druckauftrag abgelehnt.");
        return false;
    }
    clear();
    title = docTitle;
    pages.append(TPrintedPage());
    FPrinting = true;
    ++documentsBegun;
    return true;
}

bool TRecordingPrinter::endDoc()
{
    if (!FPrinting) {
        FError = QStringLiteral("Es ist kein Druckauftrag offen.");
        return false;
    }
    FPrinting = false;
    if (failEnd) {
        FError = QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden.");
        return false;
    }
    ++documentsEnded;
    return true;
}

void TRecordingPrinter::abortDoc()
{
    if (!FPrinting)
        return;
    FPrinting = false;
    ++documentsAborted;
}

void TRecordingPrinter::newPage()
{
    if (FPrinting)
        pages.append(TPrintedPage());
}

void TRecordingPrinter::setFont(const TFontSpec& font)
{
    FFont = UsableFont(font, faces.contains(font.name), TFontSpec().name);
    fontChanges.append(FFont);
}

int TRecordingPrinter::fontHeight() const
{
    return fontHeight(FFont);
}

int TRecordingPrinter::fontHeight(const TFontSpec& font)
{
    // Points to pixels at 600 dpi, as the font's height in the printer.
    return int(std::lround(font.size * double(Dpi) / 72.0));
}

int TRecordingPrinter::textWidth(const QString& text, const TFontSpec& font)
{
    double quarters = 0;
    for (const QChar c : text)
        quarters += c.isLetterOrNumber() ? 2 : 1;
    return int(std::ceil(quarters * fontHeight(font) / 4.0 * (font.bold ? 1.1 : 1.0)));
}

void TRecordingPrinter::textOut(int x, int y, const QString& text)
{
    if (!FPrinting)
        return;
    ++textCount;
    if (keepTexts)
        pages.last().texts.append(TPrintedText{x, y, text, FFont});
}

QList<QPair<int, TPrintedText>> TRecordingPrinter::allTexts() const
{
    QList<QPair<int, TPrintedText>> all;
    for (int p = 0; p < pages.size(); ++p)
        for (const TPrintedText& t : pages[p].texts)
            all.append({p + 1, t});
    return all;
}

QStringList TRecordingPrinter::pageTexts(int page) const
{
    if (page < 1 || page > pages.size())
        return {};
    QList<TPrintedText> texts = pages[page - 1].texts;
    std::stable_sort(texts.begin(), texts.end(), [](const TPrintedText& a, const TPrintedText& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    QStringList out;
    for (const TPrintedText& t : texts)
        out.append(t.text);
    return out;
}

void TRecordingPrinter::clear()
{
    title.clear();
    pages.clear();
    fontChanges.clear();
    textCount = 0;
}

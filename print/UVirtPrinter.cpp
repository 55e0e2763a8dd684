#include "print/UVirtPrinter.h"

#include "platform/UPrinterDevice.h"
#include "platform/UUi.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

const QChar Esc(27);
const QChar Tab(9);
const QChar Cr(13);
const QChar Ff(12);

// A piece of a "T" token: optional blanks, an optional sign, digits.
bool ReadTabValue(QStringView piece, int& value)
{
    qsizetype i = 0;
    while (i < piece.size() && piece[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == QLatin1Char('+') || piece[i] == QLatin1Char('-'))) {
        negative = piece[i] == QLatin1Char('-');
        ++i;
    }
    if (i == piece.size())
        return false;
    int v = 0;
    for (; i < piece.size(); ++i) {
        const QChar c = piece[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    value = negative ? -v : v;
    return true;
}

} // namespace

int RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double rest = value - below;
    double r = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0))
        r = below + 1.0;
    return int(r);
}

TVirtPrinter::TVirtPrinter(const TFontSpec* Heading, const TFontSpec* Standard, double Spacing_,
                           bool Footer_)
    : P(&Printer())
{
    if (!P->beginDoc(QStringLiteral("ZUV Projekt/Schülerlisten")))
        throw EPrinterError(P->errorText());
    const int pageWidth = P->pageWidth();
    LeftMargin = RoundHalfEven(pageWidth / 12.0);
    Width = pageWidth - 2 * LeftMargin;
    TopMargin = RoundHalfEven(pageWidth / 12.0);   // the page width, so both margins agree
    Height = RoundHalfEven(P->pageHeight() - 2.5 * TopMargin);
    Line.Tabs = ReadTabs(u"0510152025303540455055606570758085909599");
    HeadingFont = Heading;
    StandardFont = Standard;
    Spacing = Spacing_;
    Footer = Footer_;
}

TVirtPrinter::~TVirtPrinter()
{
    if (!FFinished)
        P->abortDoc();
}

void TVirtPrinter::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    if (Footer)
        PrintFooter();
    if (!P->endDoc())
        throw EPrinterError(P->errorText());
    ShowMessage(QStringLiteral("Druckauftrag abgesendet."));
}

QStringView TVirtPrinter::NextToken(QStringView& txt)
{
    const qsizetype esc = txt.indexOf(Esc);
    if (esc < 0) {
        const QStringView token = txt;
        txt = QStringView();
        return token;
    }
    const QStringView token = txt.left(esc);
    txt = txt.mid(esc + 1);
    return token;
}

void TVirtPrinter::PrintLine(const QString& line)
{
    QStringView txt(line);
    while (!txt.isEmpty()) {
        const QStringView text = NextToken(txt);
        if (!text.isEmpty()) {
            const QString shown = Fitted(text, RoomEnd(txt) - Line.X);
            if (!shown.isEmpty())
                P->textOut(LeftMargin + Line.X, TopMargin + PosY, shown);
        }
        ControlSequence(txt);
    }
    Newline();
}

void TVirtPrinter::ControlSequence(QStringView& txt)
{
    const QStringView token = NextToken(txt);
    if (!Advance(token, Line))
        token[0] == Cr ? Newline() : Newpage();
    if (token.startsWith(QLatin1Char('F')))
        ChangeFont(token.mid(1));
}

bool TVirtPrinter::Advance(QStringView token, TLinePos& pos) const
{
    if (token.size() == 1 && (token[0] == Cr || token[0] == Ff))
        return false;
    if (token.size() == 1 && token[0] == Tab && pos.TabPos < TabCount) {
        ++pos.TabPos;
        pos.X = RoundHalfEven(double(pos.Tabs[size_t(pos.TabPos - 1)]) * Width / 100.0);
    }
    if (token.startsWith(QLatin1Char('T')))
        pos.Tabs = ReadTabs(token.mid(1));
    return true;
}

TVirtPrinter::TTabs TVirtPrinter::ReadTabs(QStringView txt)
{
    TTabs tabs{};
    int count = 0;
    while (!txt.isEmpty()) {
        const QStringView piece = txt.left(2);
        txt = txt.mid(piece.size());
        int value = 0;
        // Values beyond the twentieth have no stop to go to.
        if (ReadTabValue(piece, value) && count < TabCount)
            tabs[size_t(count++)] = value;
    }
    return tabs;
}

int TVirtPrinter::RoomEnd(QStringView rest) const
{
    // A blank before the next text of this line, found by going on along
    // the rest of the line as PrintLine will; without one, the end of the
    // body, where the right margin mirrors the left one.
    const int blank = P->textWidth(QStringLiteral(" "));
    TLinePos pos = Line;
    int end = Width;
    while (!rest.isEmpty() && Advance(NextToken(rest), pos))
        if (!NextToken(rest).isEmpty() && pos.X > Line.X)
            end = std::min(end, pos.X - blank);
    return end;
}

QString TVirtPrinter::Fitted(QStringView text, int room) const
{
    const QString whole = text.toString();
    if (P->textWidth(whole) <= room)
        return whole;
    // The longest start, cut between characters as the eye sees them, that
    // fits with the ellipsis.
    QList<qsizetype> cuts{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, whole);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < whole.size(); at = finder.toNextBoundary())
        cuts.append(at);
    const QString ellipsis(QChar(0x2026));
    auto cut = [&](qsizetype i) {
        qsizetype n = cuts[i];
        while (n > 0 && whole[n - 1] == QLatin1Char(' '))   // no blank before the ellipsis
            --n;
        return whole.left(n) + ellipsis;
    };
    if (P->textWidth(ellipsis) > room)
        return QString();
    qsizetype fits = 0;
    qsizetype tooLong = cuts.size();
    while (tooLong - fits > 1) {
        const qsizetype mid = (fits + tooLong) / 2;
        if (P->textWidth(cut(mid)) <= room)
            fits = mid;
        else
            tooLong = mid;
    }
    return cut(fits);
}

void TVirtPrinter::ChangeFont(QStringView txt)
{
    const TFontSpec* font = txt == u"H" ? HeadingFont : StandardFont;
    P->setFont(font ? *font : TFontSpec());
}

void TVirtPrinter::Newline()
{
    PosY += RoundHalfEven(P->fontHeight() * Spacing);
    Line.X = 0;
    Line.TabPos = 0;
    if (PosY > Height)
        Newpage();
}

void TVirtPrinter::Newpage()
{
    if (Footer)
        PrintFooter();
    P->newPage();
    PosY = 0;
    Line.X = 0;
    Line.TabPos = 0;
}

void TVirtPrinter::PrintFooter()
{
    P->textOut(P->pageWidth() / 2, P->pageHeight() - TopMargin,
               QStringLiteral("- %1 -").arg(P->pageNumber()));
}

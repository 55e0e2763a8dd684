#pragma once
// The page printer: prints one job of print lines on the system printer.
//
// A print line is text and control tokens in turn, separated by ESC; the
// first token is text. Controls: TAB (next tab stop), CR (new line), FF (new
// page), "F"+rest ("FH" heading font, anything else the standard font) and
// "T"+digits (new tab stops, two digits per stop in percent of the body
// width). There is no escaping. Pages break by themselves; page numbers go
// to the foot of each page when asked for. A text never reaches the next
// text of its line (a blank stays between them) nor the right margin, as
// wide as the left one: one that does not fit ends in "…" where its room
// ends.

#include "platform/UFontSpec.h"

#include <QString>
#include <QStringView>

#include <array>

class IPrinterDevice;

// Nearest integer, an exact half to the even neighbour.
int RoundHalfEven(double value);

class TVirtPrinter {
public:
    static constexpr int TabCount = 20;

    // Begins the job on Printer(); raises EPrinterError when it cannot be
    // begun. The fonts stay the caller's and must outlive the job; a missing
    // one prints in the default font.
    TVirtPrinter(const TFontSpec* Heading, const TFontSpec* Standard, double Spacing, bool Footer);
    // A job not finished is aborted: nothing of it is printed.
    ~TVirtPrinter();
    TVirtPrinter(const TVirtPrinter&) = delete;
    TVirtPrinter& operator=(const TVirtPrinter&) = delete;

    // Prints one print line and ends it with a new line.
    void PrintLine(const QString& txt);

    // Prints the last page number when wanted, ends the document and tells
    // the user "Druckauftrag abgesendet."; raises EPrinterError when the
    // document could not be ended (then nothing is reported as printed).
    void Finish();

    // The layout, for those who check it.
    int leftMargin() const { return LeftMargin; }
    int topMargin() const { return TopMargin; }
    int width() const { return Width; }
    int height() const { return Height; }
    int tab(int i) const { return Line.Tabs[size_t(i - 1)]; }   // 1..20
    int posX() const { return Line.X; }
    int posY() const { return PosY; }

private:
    using TTabs = std::array<int, TabCount>;
    // Where a line stands: its tab stops, how many it has passed, and the
    // position of its next text (body pixels).
    struct TLinePos {
        TTabs Tabs{};
        int TabPos = 0;
        int X = 0;
    };

    static TTabs ReadTabs(QStringView txt);
    // Moves pos over a control token: TAB to the next stop, "T" to new
    // stops. False for CR and FF, which end the line.
    bool Advance(QStringView token, TLinePos& pos) const;
    // Where the room of a text drawn now ends (body pixels), rest being the
    // line after it.
    int RoomEnd(QStringView rest) const;
    // text, or as much of it as fits into room with "…" at its end; empty
    // when not even that fits.
    QString Fitted(QStringView text, int room) const;
    void Newline();
    void Newpage();
    void PrintFooter();
    void ChangeFont(QStringView txt);
    void ControlSequence(QStringView& txt);
    static QStringView NextToken(QStringView& txt);

    TLinePos Line;
    int PosY = 0;
    IPrinterDevice* P = nullptr;
    double Spacing = 1.0;
    bool Footer = false;
    int LeftMargin = 0;
    int TopMargin = 0;
    int Width = 0;
    int Height = 0;
    const TFontSpec* StandardFont = nullptr;
    const TFontSpec* HeadingFont = nullptr;
    bool FFinished = false;
};

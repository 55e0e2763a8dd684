#include "data/UProjekt.h"

#include "data/UBasics.h"
#include "print/UStrConv.h"
#include "platform/UUi.h"

#include <climits>

namespace {

[[noreturn]] void fail(const char* field)
{
    throw EProFromZeile(QStringLiteral("Projektdatenzeile: Feld \"%1\" fehlerhaft ()").arg(QString::fromUtf8(field)));
}

int readInt(const QString& field, int lo, int hi, const char* name)
{
    int v = 0;
    if (!StrToIntRange(field, v, lo, hi))
        fail(name);
    return v;
}

// The first character with a to z folded to upper case; 0 for an empty text.
char16_t foldedFirst(const QString& field)
{
    if (field.isEmpty())
        return 0;
    return UpperAscii(field.at(0).unicode());
}

} // namespace

TProjekt::TProjekt(int Nr)
    : nr(Nr), jgmin(1), jgmax(13), teilnmin(0), teilnmax(1000), weib(true), maenn(true), gesp(false)
{
}

TProjekt::TProjekt(const TStrings& Zeile)
{
    FromZeile(Zeile);
}

TProjekt::TProjekt()
    : TProjekt(1)
{
    ShowMessage(QStringLiteral("Warnung: leeres Projekt ohne Nummer erzeugt (Default: 1)"));
}

TProjekt* TProjekt::CreateNull()
{
    auto* p = new TProjekt(0);
    p->name = QStringLiteral("Nicht/ungültig gewählt");
    return p;
}

TProjekt* TProjekt::CreateUnreadable(int lineNo)
{
    auto* p = new TProjekt(0);
    p->name = UnreadableName(QString::number(lineNo));
    p->gesp = true;
    return p;
}

QString TProjekt::UnreadableName(const QString& line)
{
    return QStringLiteral("Zeile %1 nicht lesbar").arg(line);
}

void TProjekt::FromFileZeile(const TStrings& Zeile)
{
    TStrings mended = Zeile;
    if (mended.size() > 1)
        mended[1] = BlankControls(mended.at(1));
    FromZeile(mended);
}

void TProjekt::FromZeile(const TStrings& Zeile)
{
    if (Zeile.size() != 8 && Zeile.size() != 9)
        throw EProFromZeile(QStringLiteral("Projektdatenzeile enthaelt falsche Anzahl Elemente"));

    // Read into a copy: a refused line leaves this project as it was.
    TProjekt p(*this);
    p.nr = readInt(Zeile.at(0), 1, INT_MAX, "Nummer");
    if (!FitsZeile(Zeile.at(1)))
        fail("Name");
    p.name = LaterField(Zeile.at(1));
    p.jgmin = readInt(Zeile.at(2), 1, 13, "Mindest-Jahrgangsstufe");
    p.jgmax = readInt(Zeile.at(3), 1, 13, "Höchst-Jahrgangsstufe");
    p.teilnmin = readInt(Zeile.at(4), 0, 20000, "Mindesteilnehmerzahl");
    p.teilnmax = readInt(Zeile.at(5), 0, 20000, "Höchstteilnehmerzahl");

    switch (foldedFirst(Zeile.at(6))) {
    case '-': p.weib = true; p.maenn = true; break;
    case 'M': p.weib = false; p.maenn = true; break;
    case 'W': p.weib = true; p.maenn = false; break;
    case 'X': p.weib = false; p.maenn = false; break;
    default: fail("Sperrung m/w");
    }

    switch (foldedFirst(Zeile.at(7))) {
    case '-': p.gesp = false; break;
    case 'X': p.gesp = true; break;
    default: fail("aufgeloest");
    }
    *this = p;
}

TZeile TProjekt::ToZeile() const
{
    TZeile z;
    z.append(QString::number(nr));
    z.append(name);
    z.append(QString::number(jgmin));
    z.append(QString::number(jgmax));
    z.append(QString::number(teilnmin));
    z.append(QString::number(teilnmax));
    if (weib && maenn)
        z.append(QStringLiteral("-"));
    else if (maenn)
        z.append(QStringLiteral("m"));
    else if (weib)
        z.append(QStringLiteral("w"));
    else
        z.append(QStringLiteral("X"));
    z.append(gesp ? QStringLiteral("X") : QStringLiteral("-"));
    z.append(QStringLiteral("  0"));
    return z;
}

QString TProjekt::ToString() const
{
    if (nr == 0)
        return name;
    // One arg() call: a "%1" in the name stays as it is.
    return QStringLiteral("Projekt %1: %2 (%3-%4 Teiln., Kl %5-%6)")
        .arg(QString::number(nr), name, QString::number(teilnmin), QString::number(teilnmax),
             QString::number(jgmin), QString::number(jgmax));
}

// Export

QString TProjekt::ToExportZeil(TSortCritType, TExpFormat ext, bool) const
{
    const QString S = ExportSeparator(ext);
    QString t = IntToStrWidth(nr, 3) + S + (ext == exHtml ? HtmlEscape(name) : name) + S
                + IntToStrWidth(teilnmin, 3) + QLatin1String("--") + IntToStrWidth(teilnmax, 3) + S
                + IntToStrWidth(jgmin, 3) + QLatin1String("--") + IntToStrWidth(jgmax, 3) + S;
    if (weib && !maenn)
        t += QLatin1String("nur weibl") + S;
    else if (maenn && !weib)
        t += QLatin1String("nur maennl") + S;
    else if (!weib && !maenn)
        t += QLatin1String("nur fest") + S;
    else
        t += S;
    t += gesp ? QStringLiteral("gesperrt") : S;
    if (ext == exHtml)
        return QLatin1String("<TR> <TD>") + DosUmlautsToHtml(t) + QLatin1String("</TD> </TR>");
    return t;
}

QString TProjekt::ExportCatHeading(TSortCritType, TExpFormat ext, bool) const
{
    switch (ext) {
    case exSpace:
    case exTab:
        return QStringLiteral("Nr/Name/Teilnehmer/Klassen/mw/gesperrt");
    case exHtml:
        return QStringLiteral("\r\n<TABLE BORDER WIDTH=\"100%\">\r\n"
                              "<TR><TD>Nr</TD><TD>Projekt</TD><TD>Teilnehmer</TD><TD>Klassen</TD>"
                              "<TD>mw</TD><TD>gesperrt</TD></TR>\r\n");
    case exPrint: break;
    }
    // The values' stops follow the headings' but give the name the room
    // that "Teilnehmer" needs only in its heading, and "gesperrt" the room
    // after "nur maennl": each value starts under its heading, a name of 30
    // characters and every value print whole at 10 points.
    return QStringLiteral("\x1B" "FH\x1BNr\x1B\t\x1BName\x1B\t\x1BTeilnehmer\x1B\t\x1BKlassen\x1B\t\x1B"
                          "mw\x1B\t\x1Bgesperrt\x1B\r\x1B\x1B" "FS\x1B\x1B" "T0643607588\x1B");
}

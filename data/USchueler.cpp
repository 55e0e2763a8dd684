#include "data/USchueler.h"

#include "data/UBasics.h"
#include "data/UProjektData.h"
#include "print/UStrConv.h"

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw ESchFromZeile(message);
}

} // namespace

bool TSchueler::IsValidName(const QString& name)
{
    // A name beginning with "/" would make its line a comment.
    return FitsZeile(name) && !name.startsWith(QLatin1Char('/'));
}

bool TSchueler::IsValidAbt(const QString& abt)
{
    if (abt.isEmpty())
        return true;
    const char16_t c = UpperAscii(abt.at(0).unicode());
    return FitsZeile(abt) && (c == ' ' || (c >= 'A' && c <= 'H'));
}

TSchueler::TSchueler()
    : abt(QStringLiteral(" "))
{
}

TSchueler::TSchueler(const TStrings& Zeile, bool zt)
{
    FromZeileZT(Zeile, zt);
}

void TSchueler::FromZeileZT(const TStrings& Zeile, bool zt)
{
    // Read into a copy: a refused line leaves this pupil as it was.
    TSchueler read(*this);
    read.ReadFields(Zeile, zt);
    if (!zt) {
        read.zuteil = 0;
        read.clearHand();
    }
    *this = read;
}

void TSchueler::FromEditedZeile(const TStrings& Zeile)
{
    TSchueler read(*this);
    read.ReadFields(Zeile, false);
    bool same = read.geschl == geschl && read.jgst == jgst && read.fest == fest
                && (fest || read.hand == hand);
    for (int r = 1; r <= 5; ++r)
        same = same && read.wahl[r] == wahl[r];
    if (same) {
        read.hand = hand;   // a fixed pupil's "F" does not show it
    } else {
        // The assignment may no longer be admissible.
        read.zuteil = 0;
        read.clearHand();
    }
    *this = read;
}

void TSchueler::ReadFields(const TStrings& Zeile, bool zt)
{
    const qsizetype n = Zeile.size();
    if (n > 11 || n < (zt ? 11 : 10))
        fail(QStringLiteral("Schuelerdatenzeile enthaelt falsche Anzahl Elemente"));

    const QString& newName = Zeile.at(0);
    if (!IsValidName(newName))
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Name\" fehlerhaft (1)"));
    name = newName;

    const QString& g = Zeile.at(1);
    if (g.size() != 1)
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)"));
    switch (UpperAscii(g.at(0).unicode())) {
    case 'M': geschl = true; break;
    case 'W': geschl = false; break;
    default: fail(QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)"));
    }

    int v = 0;
    if (!StrToIntRange(Zeile.at(2), v, 0, 13))
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Jahrgangsstufe\" fehlerhaft (3)"));
    jgst = v;

    // Stored as its line gives it back; the rule then tests what is stored.
    const QString& a = Zeile.at(3);
    if (!IsValidAbt(LaterField(a)))
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Abteilung\" enthält ungewöhnlichen Wert \"%1\" (4)").arg(a));
    abt = LaterField(a);

    const QString& f = Zeile.at(4);
    if (f == QLatin1String("F") || f == QLatin1String("f")) {
        fest = true;
        hand = -1;
    } else if (f == QLatin1String("-")) {
        fest = false;
        hand = -1;
    } else if (StrToIntRange(f, v, 0, 5)) {
        // A hand index: the pupil is not fixed, whatever it was before.
        fest = false;
        hand = v;
    } else {
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"fest\" fehlerhaft (5)"));
    }

    for (int r = 1; r <= 5; ++r) {
        if (!StrToIntRange(Zeile.at(4 + r), v, 0, MaxNr))
            fail(QStringLiteral("Schuelerdatenzeile: Felder \"Wahlen\" fehlerhaft (6)"));
        wahl[r] = v;
    }

    if (zt) {
        if (!StrToIntRange(Zeile.at(10), v, 0, MaxNr))
            fail(QStringLiteral("Schuelerdatenzeile: Feld \"zuteil\" fehlerhaft (7)"));
        zuteil = v;
    }
}

void TSchueler::FromFileZeileZT(const TStrings& Zeile, bool zt)
{
    TStrings mended = Zeile;
    for (const qsizetype text : {0, 3})
        if (text < mended.size())
            mended[text] = BlankControls(mended.at(text));
    FromZeileZT(mended, zt);
}

TZeile TSchueler::ToZeileZT(bool zt) const
{
    TZeile z;
    z.append(name);
    z.append(QString(QLatin1Char(GeschlChar[geschl ? 1 : 0])));
    z.append(QString::number(jgst));
    z.append(abt);
    if (fest)
        z.append(QStringLiteral("F"));
    else if (hand >= 0 && hand <= 5)
        z.append(QString::number(hand));
    else
        z.append(QStringLiteral("-"));
    for (int r = 1; r <= 5; ++r)
        z.append(QString::number(wahl[r]));
    if (zt)
        z.append(QString::number(zuteil));
    return z;
}

int TSchueler::PriorityOf(int z) const
{
    if (z == 0)
        return 0;
    for (int r = 5; r >= 1; --r)
        if (wahl[r] == z)
            return r;
    return -1;
}

int TSchueler::getPriority() const
{
    return PriorityOf(zuteil);
}

int TSchueler::getZuteil(const TProjektData& Pro) const
{
    return Pro.ValidNr(zuteil);
}

int TSchueler::getPriority(const TProjektData& Pro) const
{
    return PriorityOf(getZuteil(Pro));
}

int TSchueler::MovedNr(int nr, int pos, int delta)
{
    if (nr < pos)
        return nr;
    if (delta < 0 && nr == pos)
        return 0;
    // The list holds fewer than MaxNr projects before an insert, so MaxNr
    // names none. Kept, it would name the project that moves up to it; one
    // more, no line holds it: it becomes none.
    if (delta > 0 && nr == MaxNr)
        return 0;
    return nr + delta;
}

bool TSchueler::MoveProjektRefs(int pos, int delta)
{
    bool changed = false;
    if (delta < 0 && hand >= 1 && hand <= 5 && wahl[hand] == pos) {
        clearHand();
        changed = true;
    }
    // Fixed to the project that goes: fixed no more.
    if (delta < 0 && fest && wahl[1] == pos) {
        fest = false;
        changed = true;
    }
    for (int r = 1; r <= 5; ++r) {
        const int w = MovedNr(wahl[r], pos, delta);
        changed = changed || w != wahl[r];
        wahl[r] = w;
    }
    const int z = MovedNr(zuteil, pos, delta);
    changed = changed || z != zuteil;
    zuteil = z;
    return changed;
}

int TSchueler::getWahlAnz() const
{
    int n = 0;
    for (int r = 1; r <= 5; ++r)
        if (wahl[r] != 0)
            ++n;
    return n;
}

QString TSchueler::ToSortZeil(TSortCritType krit) const
{
    const QString N = name.left(20);
    // The class ends in a character below any a name holds: a department
    // that begins another one (none and "A") keeps its pupils together.
    const QString K = IntToStrWidth(jgst, 2) + FoldedAbt(abt) + QChar(1);
    const QString G = QString(QLatin1Char(GeschlChar[geschl ? 1 : 0]));
    // An assignment naming no project sorts with the unassigned pupils.
    const QString Z = IntToStrWidth(getZuteil(*ProjektData), 3);
    switch (krit) {
    case sc_Kl_N: return K + N + G + Z;
    case sc_P_N: return Z + N + K + G;
    case sc_P_Kl: return Z + K + N + G;
    case sc_N:
    case sc_NotSorted: break;
    }
    return N + K + G + Z;
}

void TSchueler::setHand(int i)
{
    hand = (i >= 0 && i <= 5) ? i : -1;
}

// Export

QString TSchueler::ToExportZeil(TSortCritType, TExpFormat ext, bool voll) const
{
    const QString S = ExportSeparator(ext);
    QString t;
    if (ext == exHtml) {
        t = QLatin1String("<TR> <TD>")
            + DosUmlautsToHtml(HtmlEscape(name) + S + HtmlEscape(KlasseStr(jgst, abt)) + S
                               + QString::number(zuteil));
    } else {
        t = name + S + KlasseStr(jgst, abt) + S + QString::number(zuteil);
    }
    if (voll) {
        t += S;
        for (int r = 1; r <= TRanked<int>::Count; ++r) {
            if (r > 1)
                t += QLatin1String(", ");
            t += IntToStrWidth(wahl[r], 3);
        }
    }
    if (ext == exHtml)
        t += QLatin1String("</TD> </TR>");
    return t;
}

bool TSchueler::ExportCatDiffers(TSortCritType krit, const TSchueler& CmpSchueler) const
{
    switch (krit) {
    case sc_Kl_N:
        return jgst != CmpSchueler.jgst || FoldedAbt(abt) != FoldedAbt(CmpSchueler.abt);
    case sc_P_N:
    case sc_P_Kl:
        return getZuteil(*ProjektData) != CmpSchueler.getZuteil(*ProjektData);
    case sc_N:
    case sc_NotSorted:
        break;
    }
    return name.left(1) != CmpSchueler.name.left(1);
}

QString TSchueler::ExportCatText(TSortCritType krit) const
{
    switch (krit) {
    case sc_Kl_N:
        return QLatin1String("Klasse ") + KlasseStr(jgst, abt);
    case sc_P_N:
    case sc_P_Kl:
        // A number the project list does not hold stands under project 0.
        return ProjektData->getNrOr0(zuteil)->ToString();
    case sc_N:
    case sc_NotSorted:
        break;
    }
    return name.left(1);
}

QString TSchueler::ExportCatHeading(TSortCritType krit, TExpFormat ext, bool first) const
{
    const QString T = ExportCatText(krit);
    switch (ext) {
    case exSpace:
    case exTab:
        return QLatin1String("\r\n*** ") + T + QLatin1String(" ***\r\n");
    case exHtml:
        return (first ? QString() : QStringLiteral("</TABLE>")) + QLatin1String("\r\n\r\n<H3>")
               + DosUmlautsToHtml(HtmlEscape(T))
               + QLatin1String("</H3>\r\n<TABLE BORDER WIDTH=\"100%\">\r\n");
    case exPrint: break;
    }
    return (first ? QString() : QStringLiteral("\x1B\f\x1B")) + QLatin1String("\x1B\r\x1B\x1B" "FH\x1B") + T
           + QLatin1String("\x1B\r\x1B\x1B" "FS\x1B");
}

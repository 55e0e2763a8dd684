#include "data/USchueler.h"

#include "data/UBasics.h"

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw ESchFromZeile(message);
}

char16_t upperAscii(char16_t c)
{
    return (c >= 'a' && c <= 'z') ? char16_t(c - 'a' + 'A') : c;
}

QString upperAscii(const QString& text)
{
    QString r = text;
    for (QChar& c : r)
        c = QChar(upperAscii(c.unicode()));
    return r;
}

} // namespace

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
    const qsizetype n = Zeile.size();
    if (n > 11 || n < (zt ? 11 : 10))
        fail(QStringLiteral("Schuelerdatenzeile enthaelt falsche Anzahl Elemente"));

    // A name beginning with "/" would make its line a comment.
    const QString& newName = Zeile.at(0);
    if (!FitsZeile(newName) || newName.startsWith(QLatin1Char('/')))
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Name\" fehlerhaft (1)"));
    name = newName;

    const QString& g = Zeile.at(1);
    if (g.size() != 1)
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)"));
    switch (upperAscii(g.at(0).unicode())) {
    case 'M': geschl = true; break;
    case 'W': geschl = false; break;
    default: fail(QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)"));
    }

    int v = 0;
    if (!StrToIntRange(Zeile.at(2), v, 0, 13))
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"Jahrgangsstufe\" fehlerhaft (3)"));
    jgst = v;

    const QString& a = Zeile.at(3);
    if (!a.isEmpty()) {
        const char16_t c = upperAscii(a.at(0).unicode());
        if (!FitsZeile(a) || !(c == ' ' || (c >= 'A' && c <= 'H')))
            fail(QStringLiteral("Schuelerdatenzeile: Feld \"Abteilung\" enthält ungewöhnlichen Wert \"%1\" (4)").arg(a));
    }
    abt = a;

    const QString& f = Zeile.at(4);
    if (f == QLatin1String("F") || f == QLatin1String("f")) {
        fest = true;
        hand = -1;
    } else if (f == QLatin1String("-")) {
        fest = false;
        hand = -1;
    } else if (StrToIntRange(f, v, 0, 5)) {
        hand = v;
    } else {
        fail(QStringLiteral("Schuelerdatenzeile: Feld \"fest\" fehlerhaft (5)"));
    }

    for (int r = 1; r <= 5; ++r) {
        if (!StrToIntRange(Zeile.at(4 + r), v, 0, 255))
            fail(QStringLiteral("Schuelerdatenzeile: Felder \"Wahlen\" fehlerhaft (6)"));
        wahl[r] = v;
    }

    if (zt) {
        if (!StrToIntRange(Zeile.at(10), v, 0, 255))
            fail(QStringLiteral("Schuelerdatenzeile: Feld \"zuteil\" fehlerhaft (7)"));
        zuteil = v;
    } else {
        zuteil = 0;
        hand = -1;
    }
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

int TSchueler::getPriority() const
{
    if (zuteil == 0)
        return 0;
    for (int r = 5; r >= 1; --r)
        if (wahl[r] == zuteil)
            return r;
    return -1;
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
    const QString K = IntToStrWidth(jgst, 2) + upperAscii(abt);
    const QString G = QString(QLatin1Char(GeschlChar[geschl ? 1 : 0]));
    const QString Z = IntToStrWidth(zuteil, 3);
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

#include "data/UBasics.h"

#include <cstdint>

namespace {

struct TIntParse {
    bool ok = false;
    int value = 0;
    int fault = 1;   // 1-based position of the first character not accepted
};

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

TIntParse parseInteger(const QString& s)
{
    TIntParse r;
    const int n = int(s.size());
    int i = 0;
    while (i < n && s.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && s.at(i) == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i < n && (s.at(i) == QLatin1Char('x') || s.at(i) == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s.at(i) == QLatin1Char('0')
               && (s.at(i + 1) == QLatin1Char('x') || s.at(i + 1) == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }

    const int digitsStart = i;
    if (hex) {
        std::uint32_t pattern = 0;
        int significant = 0;
        for (; i < n; ++i) {
            const int d = hexDigit(s.at(i));
            if (d < 0)
                break;
            if (significant > 0 || d != 0) {
                if (significant == 8)
                    break;   // a ninth significant digit is not accepted
                ++significant;
            }
            pattern = (pattern << 4) | std::uint32_t(d);
        }
        if (i == digitsStart || i < n) {
            r.fault = i + 1;
            return r;
        }
        // The 32-bit pattern, negated in two's complement.
        const std::uint32_t bits = negative ? 0u - pattern : pattern;
        r.value = bits <= 0x7FFFFFFFu ? int(bits) : -int(~bits) - 1;
    } else {
        const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
        std::int64_t value = 0;
        for (; i < n; ++i) {
            const char16_t u = s.at(i).unicode();
            if (u < '0' || u > '9')
                break;
            const std::int64_t next = value * 10 + (u - '0');
            if (next > limit)
                break;   // the digit that leaves the range is not accepted
            value = next;
        }
        if (i == digitsStart || i < n) {
            r.fault = i + 1;
            return r;
        }
        r.value = int(negative ? -value : value);
    }
    r.ok = true;
    r.fault = n + 1;
    return r;
}

} // namespace

bool IsInteger(const QString& text)
{
    return parseInteger(text).ok;
}

bool StrToIntRange(const QString& text, int& value, int lo, int hi)
{
    const TIntParse p = parseInteger(text);
    if (!p.ok)
        return false;
    value = p.value;
    return IsBetween(p.value, lo, hi);
}

bool IsBetween(int value, int lo, int hi)
{
    return lo <= value && value <= hi;
}

QString TrimSpaces(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && text.at(e - 1) == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b).toString();
}

QString NextNumberStr(const QString& text)
{
    const TIntParse p = parseInteger(text);
    if (!p.ok)
        return QStringLiteral("0");
    return QString::number(qint64(p.value) + 1);
}

bool SplitNumber(const QString& text, int& number, QString& rest)
{
    const QString trimmed = TrimSpaces(text);
    const TIntParse p = parseInteger(trimmed);
    if (p.ok) {
        rest.clear();
        number = p.value;
        return true;
    }
    rest = trimmed.mid(p.fault - 1);
    const TIntParse candidate = parseInteger(trimmed.left(p.fault - 1));
    if (!candidate.ok)
        return false;
    number = candidate.value;
    return true;
}

QString KlasseStr(int jgst, const QString& abt)
{
    return IntToStrWidth(jgst, 2) + abt;
}

QString IntToStrWidth(int value, int width)
{
    return QStringLiteral("%1").arg(value, width < 1 ? 1 : width);
}

QChar FirstCharOr(const QString& text, QChar def)
{
    return text.isEmpty() ? def : text.at(0);
}

char16_t UpperAscii(char16_t c)
{
    return (c >= 'a' && c <= 'z') ? char16_t(c - 'a' + 'A') : c;
}

QString UpperAscii(const QString& text)
{
    QString r = text;
    for (QChar& c : r)
        c = QChar(UpperAscii(c.unicode()));
    return r;
}

QString FoldedAbt(const QString& abt)
{
    return abt == QLatin1String(" ") ? QString() : UpperAscii(abt);
}

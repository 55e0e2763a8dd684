#include "data/UFilter.h"

namespace {

// Only a to z are put in upper case; umlauts stay as they are.
QString upperAscii(const QString& text)
{
    QString r = text;
    for (QChar& c : r) {
        const char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z')
            c = QChar(char16_t(u - 'a' + 'A'));
    }
    return r;
}

} // namespace

bool StringMatches(const QString& Text, const QString& Pattern, TStringMatch Mode)
{
    const QString t = upperAscii(Text);
    const QString p = upperAscii(Pattern);
    switch (Mode) {
    case smExact:
        return t == p;
    case smContain:
        return !p.isEmpty() && t.contains(p);
    case smStart: {
        const qsizetype n = std::min(t.size(), p.size());
        return QStringView(t).left(n) == QStringView(p).left(n);
    }
    }
    return false;
}

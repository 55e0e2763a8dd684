#include "data/UFilter.h"

#include "data/UBasics.h"

#include <algorithm>

bool StringMatches(const QString& Text, const QString& Pattern, TStringMatch Mode)
{
    const QString t = UpperAscii(Text);
    const QString p = UpperAscii(Pattern);
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

#include "data/UZeile.h"

#include "platform/UAnsiText.h"

#include <algorithm>

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

} // namespace

bool FitsZeile(const QString& text)
{
    for (QChar c : text) {
        if (c == QLatin1Char(';') || isControl(c) || !Ansi::isEncodable(c))
            return false;
    }
    return true;
}

QString BlankControls(const QString& text)
{
    QString result = text;   // shared until a control character turns up
    for (qsizetype i = 0; i < result.size(); ++i)
        if (isControl(result.at(i)))
            result[i] = QLatin1Char(' ');
    return result;
}

bool IsBlankLine(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == QLatin1Char(' ') || isControl(c); });
}

QString LaterField(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

TZeile::TZeile()
{
    reserve(11);
}

TZeile::TZeile(const QString& st)
{
    reserve(11);
    ReadFromString(st);
}

int TZeile::ReadFromString(const QString& st)
{
    int result = -1;
    const qsizetype n = st.size();
    qsizetype pos = 0;
    for (;;) {
        const qsizetype sep = st.indexOf(QLatin1Char(';'), pos);
        if (sep < 0)
            break;
        append(st.mid(pos, sep - pos));
        result = int(size()) - 1;
        pos = sep + 1;
        while (pos < n && st.at(pos) == QLatin1Char(' '))
            ++pos;
    }
    return result;
}

QString TZeile::AsString() const
{
    qsizetype length = 0;
    for (const QString& f : *this)
        length += f.size() + 2;
    QString line;
    line.reserve(length);
    for (const QString& f : *this) {
        line += f;
        line += QLatin1String("; ");
    }
    return line;
}

QString TZeile::AsString(TFileType) const
{
    return AsString();
}

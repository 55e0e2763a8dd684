#include "print/UStrConv.h"

namespace {

struct TUmlaut {
    char16_t dos;          // the DOS byte as Windows-1252 reads it
    const char16_t* entity;
};

// DOS bytes 132, 148, 129, 225, 142, 153, 154, 130.
constexpr TUmlaut Umlauts[] = {
    {u'\u201E', u"&auml;"}, {u'\u201D', u"&ouml;"}, {u'\u0081', u"&uuml;"},
    {u'\u00E1', u"&szlig;"}, {u'\u017D', u"&Auml;"}, {u'\u2122', u"&Ouml;"},
    {u'\u0161', u"&Uuml;"}, {u'\u201A', u"&eacute;"},
};

const char16_t* EntityOf(QChar c)
{
    for (const TUmlaut& u : Umlauts)
        if (c.unicode() == u.dos)
            return u.entity;
    return nullptr;
}

} // namespace

QString DosUmlautsToHtml(const QString& s)
{
    QString out;
    out.reserve(s.size() + 16);
    for (const QChar c : s) {
        if (const char16_t* entity = EntityOf(c))
            out += QString::fromUtf16(entity);
        else
            out += c;
    }
    return out;
}

QString HtmlEscape(const QString& s)
{
    QString out;
    out.reserve(s.size() + 8);
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        default: out += c;
        }
    }
    return out;
}

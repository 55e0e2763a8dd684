// The three line splitters against plain implementations of their rules,
// written step by step as the rules read; and the properties of the
// fields each one gives.
//
// Input: the import options (see UFuzzImport.h), then the line, one byte
// per character in Windows-1252.

#include "UFuzzImport.h"

#include "data/UBasics.h"

namespace {

QStringList refDataBase(const QString& line, QChar sep)
{
    enum { Between, AfterOpening, InQuoted, AfterClosing, InPlain } state = Between;
    const QChar quote = QLatin1Char('"');
    QStringList fields;
    QString buffer;
    for (QChar c : line) {
        switch (state) {
        case Between:
            if (c == quote) {
                state = AfterOpening;
            } else if (c == sep) {
                fields.append(QString());
            } else if (IsBlank(c)) {
            } else {
                buffer = c;
                state = InPlain;
            }
            break;
        case AfterOpening:
            if (c == quote) {
                fields.append(QString());
                state = AfterClosing;
            } else {
                buffer += c;
                state = InQuoted;
            }
            break;
        case InQuoted:
            if (c == quote) {
                fields.append(buffer);
                buffer.clear();
                state = AfterClosing;
            } else {
                buffer += c;
            }
            break;
        case AfterClosing:
            if (c == sep)
                state = Between;
            break;
        case InPlain:
            if (c == sep) {
                fields.append(buffer);
                buffer.clear();
                state = Between;
            } else {
                buffer += c;
            }
            break;
        }
    }
    if (state == InPlain || state == AfterOpening || state == InQuoted)
        fields.append(buffer);
    return fields;
}

QString trimBlanks(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

QStringList refConventional(const QString& line, const QString& sep)
{
    QStringList fields;
    QString S = trimBlanks(line);
    if (sep.isEmpty() || !S.contains(sep))
        return fields;
    for (;;) {
        const qsizetype at = S.indexOf(sep);
        fields.append(trimBlanks(S.left(at)));
        S = trimBlanks(S.mid(at + sep.size()));
        if (S.contains(sep))
            continue;
        if (!S.isEmpty())
            fields.append(S);
        break;
    }
    return fields;
}

QStringList refPositions(const QString& line, const TPositions& p)
{
    QStringList fields;
    for (int i = 1; i <= 10 && p[i - 1] > 0; ++i) {
        const qint64 start = p[i - 1];
        const qint64 end = (i < 10 && p[i] != 0) ? qint64(p[i]) : qint64(line.size()) + 1;
        QString field;
        for (qint64 col = start; col < end && col <= line.size(); ++col)
            field += line[col - 1];
        fields.append(trimBlanks(field));
    }
    return fields;
}

QString show(const QStringList& list)
{
    return QLatin1Char('[') + list.join(QStringLiteral("|")) + QLatin1Char(']');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    const TImportOptions o = optionsFrom(in);
    const QString line = Ansi::decode(in.rest());

    const QStringList db = SplitDataBase(line, o);
    const QStringList conv = SplitConventional(line, o);
    const QStringList pos = SplitPositions(line, o);

    const QStringList refDb = refDataBase(line, o.imSepChar);
    FUZZ_CHECK_MSG(db == refDb, show(db) + QStringLiteral(" / ") + show(refDb));
    const QStringList refConv = refConventional(line, o.imSepString);
    FUZZ_CHECK_MSG(conv == refConv, show(conv) + QStringLiteral(" / ") + show(refConv));
    const QStringList refPos = refPositions(line, o.imPositionArray);
    FUZZ_CHECK_MSG(pos == refPos, show(pos) + QStringLiteral(" / ") + show(refPos));

    const QStringList chosen = SplitLine(line, o);
    FUZZ_CHECK(chosen == (o.imFormat == imDataBase ? db : o.imFormat == imConventional ? conv : pos));

    // A field of the table conventions never begins or ends with a blank;
    // a separated field never holds the separator.
    for (const QString& f : conv) {
        FUZZ_CHECK(TrimSpaces(f) == f);
        FUZZ_CHECK(!f.contains(o.imSepString.text()));
    }
    for (const QString& f : pos)
        FUZZ_CHECK(TrimSpaces(f) == f);
    int positive = 0;
    while (positive < 10 && o.imPositionArray[positive] > 0)
        ++positive;
    FUZZ_CHECK(pos.size() == positive);
    return 0;
}

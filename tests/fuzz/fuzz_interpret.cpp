// Interpret: every pupil it accepts reads back unchanged from its record
// line, and is built from the fields as the elements name them.
//
// Input: the elements (see UFuzzImport.h), then the fields, separated by
// byte 0x1F, one byte per character in Windows-1252.

#include "UFuzzImport.h"

#include "data/UBasics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    const TElements e = elementsFrom(in);
    const QByteArray rest = in.rest();
    const QStringList fields = rest.isEmpty() ? QStringList() : splitAnsi(rest);

    std::unique_ptr<TSchueler> pupil;
    try {
        pupil = Interpret(fields, e);
    } catch (const EImportError& err) {
        if (err.code() == eNoData)
            return 0;
        // Every other refusal comes after the field count was checked.
        FUZZ_CHECK(fields.size() >= e.highestEl);
        return 0;
    }
    FUZZ_CHECK(pupil);
    FUZZ_CHECK(fields.size() >= e.highestEl);
    const TSchueler& s = *pupil;

    // A new pupil apart from name, gender and class.
    FUZZ_CHECK(s.zuteil == 0 && !s.fest && s.hand == -1 && !s.mark);
    for (int r = 1; r <= 5; ++r)
        FUZZ_CHECK(s.wahl[r] == 0);
    FUZZ_CHECK(!s.name.isEmpty());
    FUZZ_CHECK(s.jgst >= 1 && s.jgst <= 13);

    auto field = [&](qint32 n) { return fields.at(n - 1); };
    if (e.elName != 0) {
        FUZZ_CHECK(s.name == field(e.elName));
    } else {
        // The parts without their blanks; an empty one leaves no blank or
        // comma behind.
        QStringList parts;
        for (qint32 n : {e.elNName, e.elVName})
            if (!TrimSpaces(field(n)).isEmpty())
                parts << TrimSpaces(field(n));
        QString name = parts.join(QLatin1Char(' '));
        const QString further = e.elBName != 0 ? TrimSpaces(field(e.elBName)) : QString();
        if (!further.isEmpty())
            name = name.isEmpty() ? further : name + QStringLiteral(", ") + further;
        FUZZ_CHECK_MSG(s.name == name, s.name + QStringLiteral(" /// ") + name);
    }
    bool letter = false;
    for (QChar c : s.name)
        letter = letter || c.isLetter();
    FUZZ_CHECK_MSG(letter, s.name);
    if (e.elKl != 0) {
        int grade = 0;
        QString abt;
        FUZZ_CHECK(ParseKlasse(field(e.elKl), grade, abt));
        FUZZ_CHECK(s.jgst == grade && s.abt == abt);
    } else {
        FUZZ_CHECK(e.elJgst != 0 && e.elAbt != 0);
        int grade = 0;
        FUZZ_CHECK(StrToIntRange(field(e.elJgst), grade, INT_MIN, INT_MAX) && grade == s.jgst);
        FUZZ_CHECK(TrimSpaces(s.abt) == TrimSpaces(field(e.elAbt)));
    }
    if (e.elGeschl == 0)
        FUZZ_CHECK(!s.geschl);

    checkSchuelerRoundTrip(s);
    return 0;
}

// ParseKlasse: the grade is the leading whole number, the department the
// trimmed rest; a class read and written as grade and department reads
// back the same. And the integer rule every number field is read by,
// against a plain implementation of it.
//
// Input: the class text, one byte per character in Windows-1252.

#include "UFuzzSupport.h"

#include "data/UBasics.h"
#include "import/UImport.h"

namespace {

// Leading blanks, at most one sign, then decimal digits within the 32-bit
// range or a hex prefix ($, x, X, 0x, 0X) with at most eight significant
// hex digits (a 32-bit pattern, negated by a "-"), and nothing behind.
bool refInteger(const QString& s, qint32& value)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        negative = s[i++] == QLatin1Char('-');
    const QString rest = s.mid(i);
    QString digits;
    int base = 10;
    for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
        if (rest.startsWith(QLatin1String(prefix)) && rest.size() > qsizetype(qstrlen(prefix))) {
            digits = rest.mid(qstrlen(prefix));
            base = 16;
            break;
        }
    }
    if (base == 10)
        digits = rest;
    if (digits.isEmpty())
        return false;
    for (QChar c : digits) {
        const bool dec = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool hex = (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (!dec && !(base == 16 && hex))
            return false;
    }
    while (digits.size() > 1 && digits[0] == QLatin1Char('0'))
        digits.remove(0, 1);
    if (base == 16) {
        if (digits.size() > 8)
            return false;
        const quint32 pattern = digits.toUInt(nullptr, 16);
        value = qint32(negative ? 0u - pattern : pattern);
        return true;
    }
    if (digits.size() > 10)
        return false;
    const qint64 v = digits.toLongLong() * (negative ? -1 : 1);
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    value = qint32(v);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = Ansi::decode(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    qint32 expected = 0;
    const bool isInteger = refInteger(text, expected);
    FUZZ_CHECK_MSG(IsInteger(text) == isInteger, text);
    int value = -77;
    FUZZ_CHECK(StrToIntRange(text, value, INT_MIN, INT_MAX) == isInteger);
    FUZZ_CHECK_MSG(value == (isInteger ? expected : -77), text);

    int grade = -77;
    QString department = QStringLiteral("vorher");
    const bool ok = ParseKlasse(text, grade, department);
    FUZZ_CHECK(ok == (grade > 0));
    FUZZ_CHECK(TrimSpaces(department) == department);
    // The department is what stands behind the number.
    FUZZ_CHECK_MSG(TrimSpaces(text).endsWith(department), text + QStringLiteral(" / ") + department);

    // A text that is a whole integer is all grade.
    int whole = 0;
    if (StrToIntRange(text, whole, INT_MIN, INT_MAX))
        FUZZ_CHECK(grade == whole && department.isEmpty());

    if (!ok)
        return 0;
    // Written back as the number and its department: the same class, as
    // long as the department does not go on with digits.
    if (department.isEmpty() || !(department[0] >= QLatin1Char('0') && department[0] <= QLatin1Char('9'))) {
        int grade2 = 0;
        QString department2;
        FUZZ_CHECK(ParseKlasse(QString::number(grade) + department, grade2, department2));
        FUZZ_CHECK(grade2 == grade && department2 == department);
        FUZZ_CHECK(ParseKlasse(KlasseStr(grade, department), grade2, department2));
        FUZZ_CHECK(grade2 == grade && department2 == department);
    }
    return 0;
}

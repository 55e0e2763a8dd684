// ParseKlasse: the grade is the leading whole number, the department the
// trimmed rest; a class read and written as grade and department reads
// back the same.
//
// Input: the class text, one byte per character in Windows-1252.

#include "UFuzzSupport.h"

#include "data/UBasics.h"
#include "import/UImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = Ansi::decode(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

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

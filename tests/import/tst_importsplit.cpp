// Cutting lines into fields by the three conventions.

#include "import/UImport.h"

#include <QtTest>

namespace {

TImportOptions dataBase(QChar sep)
{
    TImportOptions o = DefaultOptions;
    o.imFormat = imDataBase;
    o.imSepChar = sep;
    return o;
}

TImportOptions conventional(const QString& sep)
{
    TImportOptions o = DefaultOptions;
    o.imFormat = imConventional;
    o.imSepString = sep;
    return o;
}

TImportOptions positions(std::initializer_list<qint32> entries)
{
    TImportOptions o = DefaultOptions;
    o.imFormat = imPositions;
    o.imPositionArray.fill(0);
    int i = 0;
    for (qint32 e : entries)
        o.imPositionArray[i++] = e;
    return o;
}

} // namespace

class TestImportSplit : public QObject {
    Q_OBJECT

private slots:
    void dataBaseLines_data();
    void dataBaseLines();
    void dataBaseUsesOnlyTheCharacter();
    void conventionalLines_data();
    void conventionalLines();
    void positionLines_data();
    void positionLines();
    void positionsNeverOverflow_data();
    void positionsNeverOverflow();
    void splitLineChoosesTheConvention();
    void isBlank();
};

void TestImportSplit::dataBaseLines_data()
{
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    const QChar comma(',');
    QTest::newRow("plain") << comma << "Meier,Hans,10a" << QStringList{"Meier", "Hans", "10a"};
    QTest::newRow("separator at the end") << comma << "Meier,Hans,10a," << QStringList{"Meier", "Hans", "10a"};
    QTest::newRow("separator inside quotes") << comma << "\"Meier, Hans\",10a" << QStringList{"Meier, Hans", "10a"};
    QTest::newRow("empty quoted field") << comma << "\"Meier\",\"\",\"10a\"" << QStringList{"Meier", "", "10a"};
    QTest::newRow("two separators") << comma << "Meier,,10a" << QStringList{"Meier", "", "10a"};
    QTest::newRow("separator first") << comma << ",Meier" << QStringList{"", "Meier"};
    QTest::newRow("text after closing quote dropped") << comma << "\"ab\"cd,e" << QStringList{"ab", "e"};
    QTest::newRow("doubled quote is no escape") << comma << "\"a\"\"b\",c" << QStringList{"a", "c"};
    QTest::newRow("quote inside plain field") << comma << "ab \"c,d" << QStringList{"ab \"c", "d"};
    QTest::newRow("blank before skipped, after kept") << comma << " Meier ,10a" << QStringList{"Meier ", "10a"};
    QTest::newRow("vertical tab before skipped") << comma << "\x0bMeier" << QStringList{"Meier"};
    QTest::newRow("tab before kept") << comma << "\tMeier" << QStringList{"\tMeier"};
    QTest::newRow("unclosed quote") << comma << "\"Meier" << QStringList{"Meier"};
    QTest::newRow("lone quote") << comma << "\"" << QStringList{""};
    QTest::newRow("empty line") << comma << "" << QStringList{};
    QTest::newRow("blanks only") << comma << "   " << QStringList{};
    QTest::newRow("lone separator") << comma << "," << QStringList{""};
    QTest::newRow("blank separator") << QChar(' ') << "Meier  10a" << QStringList{"Meier", "", "10a"};
    QTest::newRow("blank separator, leading blank") << QChar(' ') << " Meier" << QStringList{"", "Meier"};
    QTest::newRow("quote as separator") << QChar('"') << "a\"b" << QStringList{"a", "b"};
    QTest::newRow("tab separator") << QChar('\t') << "Meier\tHans\t10a" << QStringList{"Meier", "Hans", "10a"};
}

void TestImportSplit::dataBaseLines()
{
    QFETCH(QChar, sep);
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitDataBase(line, dataBase(sep)), fields);
}

void TestImportSplit::dataBaseUsesOnlyTheCharacter()
{
    TImportOptions o = dataBase(QChar(';'));
    o.imSepString = QStringLiteral(",");
    QCOMPARE(SplitDataBase(u"a,b;c", o), (QStringList{"a,b", "c"}));
}

void TestImportSplit::conventionalLines_data()
{
    QTest::addColumn<QString>("sep");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("blanks around fields") << ";" << "Meier ; Hans;10a" << QStringList{"Meier", "Hans", "10a"};
    QTest::newRow("two separators") << ";" << "Meier;;10a" << QStringList{"Meier", "", "10a"};
    QTest::newRow("blanks between separators") << ";" << "Meier;   ;10a" << QStringList{"Meier", "", "10a"};
    QTest::newRow("separator at the end") << ";" << "Meier;Hans;" << QStringList{"Meier", "Hans"};
    QTest::newRow("separator and blanks at the end") << ";" << "Meier;Hans;   " << QStringList{"Meier", "Hans"};
    QTest::newRow("no separator") << ";" << "Meier" << QStringList{};
    QTest::newRow("separator first") << ";" << ";Meier" << QStringList{"", "Meier"};
    QTest::newRow("lone separator") << ";" << ";" << QStringList{""};
    QTest::newRow("two blanks") << "  " << "Hans Meier   10a" << QStringList{"Hans Meier", "10a"};
    QTest::newRow("two blanks, one per run") << "  " << "a     b  c" << QStringList{"a", "b", "c"};
    QTest::newRow("two blanks at the end do not count") << "  " << "a b   " << QStringList{};
    QTest::newRow("empty separator") << "" << "Meier;Hans" << QStringList{};
    QTest::newRow("case matters") << "X" << "axbXc" << QStringList{"axb", "c"};
    QTest::newRow("long separator") << "<->" << "a<->b <-> c" << QStringList{"a", "b", "c"};
    QTest::newRow("separator longer than line") << "12345678" << "1234" << QStringList{};
    QTest::newRow("last field keeps inner blanks") << ";" << " a ; b  c " << QStringList{"a", "b  c"};
    QTest::newRow("tab stays") << ";" << "\ta;b\t" << QStringList{"\ta", "b\t"};
    QTest::newRow("separator beginning with blank") << " x" << "a  x b" << QStringList{"a", "b"};
}

void TestImportSplit::conventionalLines()
{
    QFETCH(QString, sep);
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitConventional(line, conventional(sep)), fields);
}

void TestImportSplit::positionLines_data()
{
    QTest::addColumn<QList<qint32>>("entries");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    // 35 characters: 25, 6 and 4.
    const QString line35 = QStringLiteral("Meier, Hans              ") + QStringLiteral("10a   ") + QStringLiteral("w  x");
    QCOMPARE(line35.size(), 35);
    QTest::newRow("1,26,32 on 35") << QList<qint32>{1, 26, 32} << line35 << QStringList{"Meier, Hans", "10a", "w  x"};
    QTest::newRow("1,26,32 on 20") << QList<qint32>{1, 26, 32} << "Meier, Hans  10a    " << QStringList{"Meier, Hans  10a", "", ""};
    QTest::newRow("1,0,32") << QList<qint32>{1, 0, 32} << "  Meier   10a " << QStringList{"Meier   10a"};
    QTest::newRow("5,3") << QList<qint32>{5, 3} << "abcdefgh" << QStringList{"", "cdefgh"};
    QTest::newRow("equal entries") << QList<qint32>{2, 2} << "abc" << QStringList{"", "bc"};
    QTest::newRow("negative after a field") << QList<qint32>{1, -4, 3} << "abcdef" << QStringList{""};
    QTest::newRow("first not positive") << QList<qint32>{0, 5} << "abcdef" << QStringList{};
    QTest::newRow("tab counts as one") << QList<qint32>{1, 3} << "a\tb c" << QStringList{"a\t", "b c"};
    QTest::newRow("empty line") << QList<qint32>{1, 26, 32} << "" << QStringList{"", "", ""};
    QTest::newRow("ten entries") << QList<qint32>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << "abcdefghijklm"
                                 << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "jklm"};
}

void TestImportSplit::positionLines()
{
    QFETCH(QList<qint32>, entries);
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    TImportOptions o = positions({});
    for (int i = 0; i < entries.size(); ++i)
        o.imPositionArray[i] = entries[i];
    QCOMPARE(SplitPositions(line, o), fields);
}

void TestImportSplit::positionsNeverOverflow_data()
{
    QTest::addColumn<QList<qint32>>("entries");
    QTest::addColumn<QStringList>("fields");
    const qint32 max = std::numeric_limits<qint32>::max();
    const qint32 min = std::numeric_limits<qint32>::min();
    QTest::newRow("max start") << QList<qint32>{max} << QStringList{""};
    QTest::newRow("max end") << QList<qint32>{2, max} << QStringList{"bc", ""};
    QTest::newRow("min end") << QList<qint32>{1, min} << QStringList{""};
    QTest::newRow("max, max") << QList<qint32>{max, max, max} << QStringList{"", "", ""};
    QTest::newRow("max then 1") << QList<qint32>{max, 1} << QStringList{"", "abc"};
}

void TestImportSplit::positionsNeverOverflow()
{
    QFETCH(QList<qint32>, entries);
    QFETCH(QStringList, fields);
    TImportOptions o = positions({});
    for (int i = 0; i < entries.size(); ++i)
        o.imPositionArray[i] = entries[i];
    QCOMPARE(SplitPositions(u"abc", o), fields);
}

void TestImportSplit::splitLineChoosesTheConvention()
{
    TImportOptions o = DefaultOptions;   // sep char ",", sep string ",", positions 1,26,32
    o.imSepString = QStringLiteral(";");
    const QString line = QStringLiteral("a,b;c");
    o.imFormat = imDataBase;
    QCOMPARE(SplitLine(line, o), (QStringList{"a", "b;c"}));
    o.imFormat = imConventional;
    QCOMPARE(SplitLine(line, o), (QStringList{"a,b", "c"}));
    o.imFormat = imPositions;
    QCOMPARE(SplitLine(line, o), (QStringList{"a,b;c", "", ""}));
}

void TestImportSplit::isBlank()
{
    for (int c = 0; c <= 0xFFFF; ++c)
        QCOMPARE(IsBlank(QChar(char16_t(c))), c == 32 || c == 11);
}

QTEST_GUILESS_MAIN(TestImportSplit)
#include "tst_importsplit.moc"

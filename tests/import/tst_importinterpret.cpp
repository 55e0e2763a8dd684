// Reading fields into pupils, and importing and previewing whole files.

#include "import/UImport.h"

#include "data/UDataFile.h"
#include "data/USchueler.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "tests/support/UScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// "name=1 kl=2 geschl=3 high=3 gm=m gw=w": the elements named, the others
// 0, the words m and w unless given.
TElements elements(const QString& layout)
{
    TElements e = DefaultElements;
    for (const QString& item : layout.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        if (key == QLatin1String("gm"))
            e.elGM = value;
        else if (key == QLatin1String("gw"))
            e.elGW = value;
        else {
            const qint32 n = value.toInt();
            if (key == QLatin1String("name")) e.elName = n;
            else if (key == QLatin1String("vname")) e.elVName = n;
            else if (key == QLatin1String("nname")) e.elNName = n;
            else if (key == QLatin1String("bname")) e.elBName = n;
            else if (key == QLatin1String("geschl")) e.elGeschl = n;
            else if (key == QLatin1String("kl")) e.elKl = n;
            else if (key == QLatin1String("jgst")) e.elJgst = n;
            else if (key == QLatin1String("abt")) e.elAbt = n;
            else if (key == QLatin1String("high")) e.highestEl = n;
            else qFatal("unknown element %s", qPrintable(key));
        }
    }
    return e;
}

TImportOptions semicolonTable(bool ignoreErrors = false)
{
    TImportOptions o = DefaultOptions;
    o.imFormat = imConventional;
    o.imSepString = QStringLiteral(";");
    o.imIgnoreErr = ignoreErrors;
    return o;
}

// Name, class, gender.
TElements nameClassGender()
{
    return elements(QStringLiteral("name=1 kl=2 geschl=3 high=3"));
}

constexpr int kOk = -1;

// A pupil list that releases its pupils when it goes (a list itself never
// does).
class TOwningList : public TSchuelerData {
public:
    ~TOwningList() override { ClearData(); }
};

} // namespace

class TestImportInterpret : public QObject {
    Q_OBJECT

private slots:
    void parseKlasse_data();
    void parseKlasse();
    void interpret_data();
    void interpret();
    void newPupilKeepsItsOtherFields();
    void acceptedPupilSurvivesAnAssignmentFile_data();
    void acceptedPupilSurvivesAnAssignmentFile();

    void foldedNamesAreCounted();
    void badLineAsksWithItsPhysicalNumber();
    void lineEnds_data();
    void lineEnds();
    void ignoredErrorsAreSilent();
    void cancelEmptiesTheList();
    void ignoreKeepsWhatWasRead();
    void emptyFiles_data();
    void emptyFiles();
    void lastLineOfBlanksIsSkipped_data();
    void lastLineOfBlanksIsSkipped();
    void readsWindows1252();
    void importFromFileEmptiesFirst();
    void missingFileRaises();
    void importedFileSurvivesSaveAndOpen();

    void previewShowsElevenLines();
    void previewCountsBlankLines();
    void previewValuesDrift();
    void previewOfMissingFileRaises();

private:
    QString writeFile(const QByteArray& bytes);

    QTemporaryDir FDir;
    int FFiles = 0;
};

QString TestImportInterpret::writeFile(const QByteArray& bytes)
{
    const QString path = FDir.filePath(QStringLiteral("list%1.txt").arg(++FFiles));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestImportInterpret::parseKlasse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("department");

    QTest::newRow("10a") << "10a" << true << 10 << "a";
    QTest::newRow(" 7 b ") << " 7 b " << true << 7 << "b";
    QTest::newRow("10 b") << "10 b" << true << 10 << "b";
    QTest::newRow("12") << "12" << true << 12 << "";
    QTest::newRow("12 and blank") << "12 " << true << 12 << "";
    QTest::newRow("$A") << "$A" << true << 10 << "";
    QTest::newRow("0x10c is a whole number") << "0x10c" << true << 268 << "";
    QTest::newRow("x5") << "x5" << true << 5 << "";
    QTest::newRow("+3c") << "+3c" << true << 3 << "c";
    QTest::newRow("case kept") << "10aB c " << true << 10 << "aB c";
    QTest::newRow("abc") << "abc" << false << 0 << "abc";
    QTest::newRow("0") << "0" << false << 0 << "";
    QTest::newRow("a10") << "a10" << false << 0 << "a10";
    QTest::newRow("0a") << "0a" << false << 0 << "a";
    QTest::newRow("-5a") << "-5a" << false << -5 << "a";
    QTest::newRow("$FFFFFFFF") << "$FFFFFFFF" << false << -1 << "";
    QTest::newRow("empty") << "" << false << 0 << "";
    QTest::newRow("lone prefix") << "$" << false << 0 << "";
    QTest::newRow("prefix without digits") << "0xz" << false << 0 << "z";
    QTest::newRow("largest") << "2147483647" << true << 2147483647 << "";
    QTest::newRow("beyond 32 bits") << "2147483648" << false << 0 << "";
    QTest::newRow("beyond 32 bits, department") << "99999999999a" << false << 0 << "a";
    QTest::newRow("would wrap to 10") << "4294967306a" << false << 0 << "a";
    QTest::newRow("nine hex digits") << "$10000000Ag" << false << 0 << "g";
}

void TestImportInterpret::parseKlasse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, grade);
    QFETCH(QString, department);
    int g = 99;
    QString d = QStringLiteral("unset");
    QCOMPARE(ParseKlasse(text, g, d), ok);
    QCOMPARE(g, grade);
    QCOMPARE(d, department);
}

void TestImportInterpret::interpret_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("code");        // kOk or the error code
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("jgst");
    QTest::addColumn<QString>("abt");
    QTest::addColumn<bool>("male");

    const QString nkg = QStringLiteral("name=1 kl=2 geschl=3 high=3");
    auto ok = [](const char* row, const QString& layout, const QStringList& fields, const QString& name, int jgst,
                 const QString& abt, bool male) {
        QTest::newRow(row) << layout << fields << kOk << QString() << name << jgst << abt << male;
    };
    auto bad = [](const char* row, const QString& layout, const QStringList& fields, int code, const QString& message) {
        QTest::newRow(row) << layout << fields << code << message << QString() << 0 << QString() << false;
    };

    ok("female", nkg, {"Meier Hans", "10a", "w"}, "Meier Hans", 10, "a", false);
    ok("male", nkg, {"Meier Hans", "10a", "M"}, "Meier Hans", 10, "a", true);
    ok("more fields than needed", nkg, {"Meier Hans", "10a", "m", "x", "y"}, "Meier Hans", 10, "a", true);

    // Names
    ok("last, first, further", "nname=1 vname=2 bname=3 kl=4 high=4", {"Berg", "Anna", "von", "7b"}, "Berg Anna, von", 7, "b", false);
    ok("last and first", "nname=2 vname=1 kl=3 high=3", {"Anna", "Berg", "7b"}, "Berg Anna", 7, "b", false);
    ok("full name wins", "name=3 nname=1 vname=2 kl=4 high=4", {"Berg", "Anna", "A. Berg", "7b"}, "A. Berg", 7, "b", false);
    // A name needs a letter.
    bad("name of blanks", nkg, {"  ", "7b", "w"}, eNoName, "Interpret: Kein Name");
    bad("name of a TAB", nkg, {"\t", "7b", "w"}, eNoName, "Interpret: Kein Name");
    bad("name of digits and marks", nkg, {"12 - ?", "7b", "w"}, eNoName, "Interpret: Kein Name");
    ok("one letter is a name", nkg, {" x ", "7b", "w"}, " x ", 7, "b", false);
    // Parts without their blanks; an empty one leaves no blank or comma.
    const QString parts = QStringLiteral("nname=1 vname=2 kl=3 geschl=4 high=4");
    bad("last and first empty", parts, {"", "", "5a", "w"}, eNoName, "Interpret: Kein Name");
    bad("last and first of blanks", parts, {"  ", " ", "5a", "w"}, eNoName, "Interpret: Kein Name");
    ok("last name empty", parts, {"", "Karl", "5a", "m"}, "Karl", 5, "a", true);
    ok("first name empty", parts, {"Lang", "", "5a", "w"}, "Lang", 5, "a", false);
    ok("first name of blanks", parts, {"Lang", "   ", "5a", "w"}, "Lang", 5, "a", false);
    ok("parts with blanks", parts, {" Lang ", " Karl  ", "5a", "m"}, "Lang Karl", 5, "a", true);
    ok("blanks inside a part stay", parts, {"de  la Cruz", "Ana", "5a", "w"}, "de  la Cruz Ana", 5, "a", false);
    const QString further = QStringLiteral("nname=1 vname=2 bname=3 kl=4 high=4");
    ok("further part empty", further, {"Berg", "Anna", "", "7b"}, "Berg Anna", 7, "b", false);
    ok("further part of blanks", further, {"Berg", "Anna", "  ", "7b"}, "Berg Anna", 7, "b", false);
    ok("first name empty, further part", further, {"Berg", "", "von", "7b"}, "Berg, von", 7, "b", false);
    ok("only the further part", further, {"", "", "von", "7b"}, "von", 7, "b", false);
    bad("all parts empty", further, {"", " ", "", "7b"}, eNoName, "Interpret: Kein Name");
    bad("only last name", "nname=1 kl=2 high=2", {"Berg", "7b"}, eNoName, "Interpret: Kein Name");
    bad("only first name", "vname=1 kl=2 high=2", {"Anna", "7b"}, eNoName, "Interpret: Kein Name");
    bad("empty name", nkg, {"", "7b", "w"}, eNoName, "Interpret: Kein Name");
    bad("name with semicolon", nkg, {"Meier;Hans", "7b", "w"}, eNoName, "Interpret: Name ungültig (Meier;Hans)");
    bad("name with LF", nkg, {"Meier\nHans", "7b", "w"}, eNoName, "Interpret: Name ungültig (Meier\nHans)");
    bad("name with CR", nkg, {"Meier\rHans", "7b", "w"}, eNoName, "Interpret: Name ungültig (Meier\rHans)");
    bad("name with TAB", nkg, {"Meier\tHans", "7b", "w"}, eNoName, "Interpret: Name ungültig (Meier\tHans)");
    bad("name with ESC", nkg, {"Meier\x1bHans", "7b", "w"}, eNoName, "Interpret: Name ungültig (Meier\x1bHans)");
    bad("name with DEL", nkg, {"Meier\x7fHans", "7b", "w"}, eNoName, "Interpret: Name ungültig (Meier\x7fHans)");
    bad("name with NUL", nkg, {QString("Mei") + QChar(0) + "er", "7b", "w"}, eNoName,
        QString("Interpret: Name ungültig (Mei") + QChar(0) + "er)");
    // Letters the data files cannot hold are written as their base letters;
    // a name that still cannot be held names the first character.
    ok("letters folded", nkg, {QString::fromUtf8("Şahin Jülide"), "7b", "w"}, QString::fromUtf8("Sahin Jülide"), 7, "b",
       false);
    ok("parts folded", parts, {QString::fromUtf8("Łukaszewicz"), QString::fromUtf8("Małgorzata"), "5a", "w"},
       "Lukaszewicz Malgorzata", 5, "a", false);
    ok("further part folded", further, {"Berg", "Anna", QString::fromUtf8("Đurić"), "7b"}, "Berg Anna, Duric", 7, "b",
       false);
    bad("name outside Windows-1252", nkg, {QString::fromUtf8("Ωmega"), "7b", "w"}, eNoName,
        QString::fromUtf8("Interpret: Name ungültig (Ωmega): Zeichen Ω (U+03A9) kann nicht gespeichert werden"));
    bad("first character named", nkg, {QString::fromUtf8("Şen 李明"), "7b", "w"}, eNoName,
        QString::fromUtf8("Interpret: Name ungültig (Şen 李明): Zeichen 李 (U+674E) kann nicht gespeichert werden"));
    bad("character beyond 16 bits", nkg, {QString::fromUtf8("Anna 😀"), "7b", "w"}, eNoName,
        QString::fromUtf8("Interpret: Name ungültig (Anna 😀): Zeichen 😀 (U+1F600) kann nicht gespeichert werden"));
    bad("no letter beyond 16 bits", nkg, {QString::fromUtf8("😀"), "7b", "w"}, eNoName, "Interpret: Kein Name");
    bad("name starting with slash", nkg, {"/Meier", "7b", "w"}, eNoName, "Interpret: Name ungültig (/Meier)");
    ok("slash later in a name", nkg, {"Meier/Schulz", "7b", "w"}, "Meier/Schulz", 7, "b", false);
    ok("umlauts and euro", nkg, {QString::fromUtf8("Müller € Œ"), "7b", "w"}, QString::fromUtf8("Müller € Œ"), 7, "b", false);

    // Full class
    ok("10 b", nkg, {"X", "10 b", "w"}, "X", 10, "b", false);
    ok("12", nkg, {"X", "12", "w"}, "X", 12, "", false);
    ok("13H", nkg, {"X", "13H", "w"}, "X", 13, "H", false);
    ok("1h and more", nkg, {"X", "1hx y", "w"}, "X", 1, "hx y", false);
    bad("a10", nkg, {"X", "a10", "w"}, eInvKl, "Interpret: Klasse ungültig (a10)");
    bad("0a", nkg, {"X", "0a", "w"}, eInvKl, "Interpret: Klasse ungültig (0a)");
    bad("14a", nkg, {"X", "14a", "w"}, eInvKl, "Interpret: Klasse ungültig (14a)");
    bad("0x10c", nkg, {"X", "0x10c", "w"}, eInvKl, "Interpret: Klasse ungültig (0x10c)");
    bad("10x", nkg, {"X", "10x", "w"}, eInvKl, "Interpret: Klasse ungültig (10x)");
    bad("10i", nkg, {"X", "10i", "w"}, eInvKl, "Interpret: Klasse ungültig (10i)");
    bad("10 umlaut", nkg, {"X", QString::fromUtf8("10ä"), "w"}, eInvKl, QString::fromUtf8("Interpret: Klasse ungültig (10ä)"));
    bad("10 with semicolon", nkg, {"X", "10a;b", "w"}, eInvKl, "Interpret: Klasse ungültig (10a;b)");
    bad("department outside Windows-1252", nkg, {"X", QString::fromUtf8("10aΩ"), "w"}, eInvKl,
        QString::fromUtf8("Interpret: Klasse ungültig (10aΩ)"));
    bad("-5a", nkg, {"X", "-5a", "w"}, eInvKl, "Interpret: Klasse ungültig (-5a)");
    bad("overflow", nkg, {"X", "99999999999a", "w"}, eInvKl, "Interpret: Klasse ungültig (99999999999a)");
    bad("would wrap to 10", nkg, {"X", "4294967306a", "w"}, eInvKl, "Interpret: Klasse ungültig (4294967306a)");
    bad("empty class", nkg, {"X", "", "w"}, eInvKl, "Interpret: Klasse ungültig ()");

    // Grade and department apart
    const QString ja = QStringLiteral("name=1 jgst=2 abt=3 high=3");
    ok("10 and a", ja, {"X", "10", "a"}, "X", 10, "a", false);
    ok("leading blank in grade", ja, {"X", " 7", "c"}, "X", 7, "c", false);
    ok("hex grade", ja, {"X", "$D", "c"}, "X", 13, "c", false);
    ok("empty department", ja, {"X", "5", ""}, "X", 5, "", false);
    ok("department kept as it is", ja, {"X", "5", "bX "}, "X", 5, "bX ", false);
    // Stored as a pupil line gives it back: without leading blanks.
    ok("department of a blank", ja, {"X", "5", " "}, "X", 5, "", false);
    ok("department starting with blank", ja, {"X", "5", "  a"}, "X", 5, "a", false);
    bad("blank before I", ja, {"X", "10", " I"}, eInvKl, "Interpret: Klasse ungültig (I)");
    bad("zehn", ja, {"X", "zehn", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig (zehn)");
    bad("trailing blank", ja, {"X", "10 ", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig (10 )");
    bad("empty grade", ja, {"X", "", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig ()");
    bad("grade 0", ja, {"X", "0", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig (0)");
    bad("grade 14", ja, {"X", "14", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig (14)");
    bad("negative grade", ja, {"X", "-3", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig (-3)");
    bad("grade beyond 32 bits", ja, {"X", "4294967306", "a"}, eInvJgst, "Interpret: Jahrgangsstufe ungültig (4294967306)");
    bad("department I", ja, {"X", "10", "I"}, eInvKl, "Interpret: Klasse ungültig (I)");
    bad("department digit", ja, {"X", "10", "1a"}, eInvKl, "Interpret: Klasse ungültig (1a)");
    bad("department slash", ja, {"X", "10", "/a"}, eInvKl, "Interpret: Klasse ungültig (/a)");
    bad("department with semicolon", ja, {"X", "10", "a;b"}, eInvKl, "Interpret: Klasse ungültig (a;b)");
    bad("department with LF", ja, {"X", "10", "a\n"}, eInvKl, "Interpret: Klasse ungültig (a\n)");
    ok("full class wins", "name=1 kl=2 jgst=3 abt=4 high=4", {"X", "9c", "zehn", "I"}, "X", 9, "c", false);

    // No class
    bad("no class element", "name=1 high=1", {"X"}, eNoKl, "Interpret: Keine Klasse");
    bad("only the grade", "name=1 jgst=2 high=2", {"X", "10"}, eNoKl, "Interpret: Keine Klasse");
    bad("only the department", "name=1 abt=2 high=2", {"X", "a"}, eNoKl, "Interpret: Keine Klasse");

    // Field count
    bad("fewer than highestEl", "name=1 kl=2 high=4", {"X", "10a", "w"}, eNoData, "Interpret: Zu wenige gültige Elemente");
    bad("no fields", nkg, {}, eNoData, "Interpret: Zu wenige gültige Elemente");
    bad("field count before name", "name=1 high=2", {""}, eNoData, "Interpret: Zu wenige gültige Elemente");
    bad("name field beyond the line", "name=5 kl=1", {"10a", "w"}, eNoData, "Interpret: Zu wenige gültige Elemente");
    bad("negative name field", "name=-1 kl=1", {"10a", "w"}, eNoData, "Interpret: Zu wenige gültige Elemente");
    bad("class field beyond the line", "name=1 kl=3", {"X", "10a"}, eNoData, "Interpret: Zu wenige gültige Elemente");
    bad("gender field beyond the line", "name=1 kl=2 geschl=9", {"X", "10a"}, eNoData, "Interpret: Zu wenige gültige Elemente");

    // Gender
    ok("no gender element", "name=1 kl=2 high=2", {"X", "10a"}, "X", 10, "a", false);
    ok("empty gender is female", nkg, {"X", "10a", ""}, "X", 10, "a", false);
    bad("weiblich against w", nkg, {"X", "10a", "weiblich"}, eInvGeschl, "Interpret: Ungültiges Geschlecht (weiblich)");
    bad("x", nkg, {"X", "10a", "x"}, eInvGeschl, "Interpret: Ungültiges Geschlecht (x)");
    bad("m with blank", nkg, {"X", "10a", "m "}, eInvGeschl, "Interpret: Ungültiges Geschlecht (m )");
    const QString words = QString::fromUtf8("name=1 kl=2 geschl=3 high=3 gm=männlich gw=weiblich");
    ok("w", words, {"X", "10a", "w"}, "X", 10, "a", false);
    ok("weib", words, {"X", "10a", "weib"}, "X", 10, "a", false);
    ok("W", words, {"X", "10a", "W"}, "X", 10, "a", false);
    ok("WEIBLICH", words, {"X", "10a", "WEIBLICH"}, "X", 10, "a", false);
    ok("m", words, {"X", "10a", "m"}, "X", 10, "a", true);
    ok("Männ", words, {"X", "10a", QString::fromUtf8("Männ")}, "X", 10, "a", true);
    // Letter case counts for no letter, umlauts included.
    ok("MÄNN", words, {"X", "10a", QString::fromUtf8("MÄNN")}, "X", 10, "a", true);
    ok("MÄNNLICH", words, {"X", "10a", QString::fromUtf8("MÄNNLICH")}, "X", 10, "a", true);
    ok("mÄnnlich", words, {"X", "10a", QString::fromUtf8("mÄnnlich")}, "X", 10, "a", true);
    const QString girl = QString::fromUtf8("name=1 kl=2 geschl=3 high=3 gm=Junge gw=Mädchen");
    ok("MÄDCHEN", girl, {"X", "10a", QString::fromUtf8("MÄDCHEN")}, "X", 10, "a", false);
    ok("JUNGE", girl, {"X", "10a", "JUNGE"}, "X", 10, "a", true);
    bad("longer than a word of seven", girl, {"X", "10a", QString::fromUtf8("MÄDCHENS")}, eInvGeschl,
        QString::fromUtf8("Interpret: Ungültiges Geschlecht (MÄDCHENS)"));
    bad("umlaut against its base letter", words, {"X", "10a", "MANN"}, eInvGeschl,
        "Interpret: Ungültiges Geschlecht (MANN)");
    ok("MÄNNLICHER: a word of eight may be cut", words, {"X", "10a", QString::fromUtf8("MÄNNLICHER")}, "X", 10, "a",
       true);
    bad("longer than a short word", "name=1 kl=2 geschl=3 high=3 gm=mann gw=frau", {"X", "10a", "manns"}, eInvGeschl,
        "Interpret: Ungültiges Geschlecht (manns)");
    // A word of eight characters may be the cut beginning of a longer one.
    ok("longer than a word of eight", words, {"X", "10a", QString::fromUtf8("männlichx")}, "X", 10, "a", true);
    ok("cut word", "name=1 kl=2 geschl=3 high=3 gm=maennlic gw=weiblich", {"X", "10a", "Maennlich"}, "X", 10, "a",
       true);
    bad("beginning differs from a word of eight", "name=1 kl=2 geschl=3 high=3 gm=maennlic gw=weiblich",
        {"X", "10a", "maennchen"}, eInvGeschl, "Interpret: Ungültiges Geschlecht (maennchen)");
    ok("female word first", "name=1 kl=2 geschl=3 high=3 gm=mw gw=m", {"X", "10a", "m"}, "X", 10, "a", false);
    ok("empty female word: empty gender", "name=1 kl=2 geschl=3 high=3 gm=m gw=", {"X", "10a", ""}, "X", 10, "a", false);
    ok("empty female word: m", "name=1 kl=2 geschl=3 high=3 gm=m gw=", {"X", "10a", "M"}, "X", 10, "a", true);

    // Order of the rules
    bad("name before class", nkg, {"", "a10", "x"}, eNoName, "Interpret: Kein Name");
    bad("class before gender", nkg, {"X", "a10", "x"}, eInvKl, "Interpret: Klasse ungültig (a10)");
    bad("no class before gender", "name=1 geschl=2 high=2", {"X", "x"}, eNoKl, "Interpret: Keine Klasse");
}

void TestImportInterpret::interpret()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, fields);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QString, name);
    QFETCH(int, jgst);
    QFETCH(QString, abt);
    QFETCH(bool, male);

    const TElements e = elements(layout);
    if (code != kOk) {
        try {
            Interpret(fields, e);
            QFAIL("no EImportError");
        } catch (const EImportError& err) {
            QCOMPARE(int(err.code()), code);
            QCOMPARE(err.message(), message);
        }
        return;
    }
    std::unique_ptr<TSchueler> p;
    try {
        p = Interpret(fields, e);
    } catch (const EImportError& err) {
        QFAIL(qPrintable(QStringLiteral("refused: ") + err.message()));
    }
    QVERIFY(p);
    QCOMPARE(p->name, name);
    QCOMPARE(p->jgst, jgst);
    QCOMPARE(p->abt, abt);
    QCOMPARE(p->geschl, male);
}

void TestImportInterpret::newPupilKeepsItsOtherFields()
{
    const std::unique_ptr<TSchueler> p = Interpret({"Meier", "10a", "m"}, nameClassGender());
    for (int r = 1; r <= 5; ++r)
        QCOMPARE(p->wahl[r], 0);
    QCOMPARE(p->zuteil, 0);
    QCOMPARE(p->fest, false);
    QCOMPARE(p->mark, false);
    QCOMPARE(p->hand, -1);
}

void TestImportInterpret::acceptedPupilSurvivesAnAssignmentFile_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("fields");
    const QString nkg = QStringLiteral("name=1 kl=2 geschl=3 high=3");
    const QString ja = QStringLiteral("name=1 jgst=2 abt=3 geschl=4 high=4");
    QTest::newRow("plain") << nkg << QStringList{"Meier Hans", "10a", "w"};
    QTest::newRow("grade 13") << nkg << QStringList{"Meier", "13H", "m"};
    QTest::newRow("grade 1, long department") << nkg << QStringList{"Meier", "1hallo welt", "m"};
    QTest::newRow("trailing blanks in name") << nkg << QStringList{"Meier  ", "5", "m"};
    QTest::newRow("apart") << ja << QStringList{"Meier", "13", "Gx ", "m"};
    QTest::newRow("apart, empty department") << ja << QStringList{"Meier", "$C", "", "w"};
    QTest::newRow("every Windows-1252 character but the controls") << nkg << QStringList{[] {
        QString s;
        for (int b = 0x20; b < 256; ++b)
            if (b != ';' && b != 0x7f)
                s += Ansi::decodeByte(uchar(b));
        return s;
    }(), "7b", "w"};
}

void TestImportInterpret::acceptedPupilSurvivesAnAssignmentFile()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, fields);
    const std::unique_ptr<TSchueler> p = Interpret(fields, elements(layout));
    // The line as written to a file and split again.
    const TZeile line(p->ToZeile().AsString());
    TSchueler back(line, true);
    QCOMPARE(back.name, p->name);
    QCOMPARE(back.jgst, p->jgst);
    QCOMPARE(back.abt, p->abt);
    QCOMPARE(back.geschl, p->geschl);
}

void TestImportInterpret::foldedNamesAreCounted()
{
    const QString path = writeFile(QStringLiteral("Şahin Jülide;10a;w\r\nMeier;10a;w\r\nYılmaz Ayşe;7b;m\r\n"
                                                  "李明;5a;m\r\nMüller;6c;m\r\n").toUtf8());
    TScriptedUi ui;
    TOwningList list;
    TImportCounts counts;
    QCOMPARE(ImportFile(path, list, semicolonTable(true), nameClassGender(), &counts), 4);
    QCOMPARE(list.getNr(1)->name, QStringLiteral("Sahin Jülide"));
    QCOMPARE(list.getNr(3)->name, QStringLiteral("Yilmaz Ayse"));
    QCOMPARE(counts.passedOver, 1);
    QCOMPARE(counts.foldedNames, (QSet<const TSchueler*>{list.getNr(1), list.getNr(3)}));
}

void TestImportInterpret::badLineAsksWithItsPhysicalNumber()
{
    const QString path = writeFile("Meier;10a;w\r\n\r\nKaputt\r\nSchulz;7b;m\r\n");
    TScriptedUi ui;
    ui.queueAnswer(TModalResult::mrIgnore);
    TOwningList list;
    QCOMPARE(ImportFile(path, list, semicolonTable(), nameClassGender()), 2);
    QCOMPARE(ui.messages.size(), 1);
    const TMessage& m = ui.messages[0];
    QCOMPARE(m.text, QStringLiteral("Lesefehler in Zeile 3: Interpret: Zu wenige gültige Elemente\r\nKaputt"));
    QCOMPARE(m.caption(), QStringLiteral("Warnung"));
    QCOMPARE(m.buttons, TMsgButtons(mbCancel | mbIgnore));
    QCOMPARE(m.helpContext, 0);
    QCOMPARE(list.Anz(), 2);
    QCOMPARE(list.getNr(1)->name, QStringLiteral("Meier"));
    QCOMPARE(list.getNr(2)->name, QStringLiteral("Schulz"));
    QCOMPARE(list.getNr(2)->geschl, true);
    QCOMPARE(list.getModified(), false);
}

void TestImportInterpret::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("CR LF") << QByteArray("A;1a;w\r\n\r\nB;1a;w\r\nC;x;w\r\n")
                           << "Lesefehler in Zeile 4: Interpret: Klasse ungültig (x)\r\nC;x;w";
    QTest::newRow("CR") << QByteArray("A;1a;w\r\rB;1a;w\rC;x;w") << "Lesefehler in Zeile 4: Interpret: Klasse ungültig (x)\r\nC;x;w";
    QTest::newRow("LF") << QByteArray("A;1a;w\n   \nB;1a;w\nC;x;w\n")
                        << "Lesefehler in Zeile 4: Interpret: Klasse ungültig (x)\r\nC;x;w";
    QTest::newRow("mixed") << QByteArray("A;1a;w\n\r\n\rB;1a;w\r\nC;x;w")
                           << "Lesefehler in Zeile 5: Interpret: Klasse ungültig (x)\r\nC;x;w";
}

void TestImportInterpret::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TScriptedUi ui;
    ui.queueAnswer(TModalResult::mrIgnore);
    TOwningList list;
    QCOMPARE(ImportFile(writeFile(bytes), list, semicolonTable(), nameClassGender()), 2);
    QCOMPARE(ui.texts(), QStringList{message});
}

void TestImportInterpret::ignoredErrorsAreSilent()
{
    QByteArray bytes;
    for (int i = 1; i <= 10; ++i)
        bytes += (i % 5 == 0 || i == 3 || i == 7) ? QByteArray("Kaputt;;w\r\n")
                                                   : QByteArray("Name") + QByteArray::number(i) + ";5c;m\r\n";
    TScriptedUi ui;
    TOwningList list;
    QCOMPARE(ImportFile(writeFile(bytes), list, semicolonTable(true), nameClassGender()), 6);
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(list.Anz(), 6);
    QCOMPARE(list.getNr(6)->name, QStringLiteral("Name9"));
}

void TestImportInterpret::cancelEmptiesTheList()
{
    const QString path = writeFile("A;1a;w\r\nB;x;w\r\nC;2a;w\r\nD;y;w\r\nE;3a;w\r\n");
    TScriptedUi ui;
    ui.queueAnswer(TModalResult::mrIgnore);
    ui.queueAnswer(TModalResult::mrCancel);
    TOwningList list;
    QCOMPARE(ImportFile(path, list, semicolonTable(), nameClassGender()), 0);
    QCOMPARE(list.Anz(), 0);
    QCOMPARE(ui.messages.size(), 2);
    QVERIFY(ui.messages[1].text.startsWith(QStringLiteral("Lesefehler in Zeile 4: ")));
}

void TestImportInterpret::ignoreKeepsWhatWasRead()
{
    // Any answer but "Abbrechen" goes on.
    const QString path = writeFile("A;1a;w\r\nB;x;w\r\nC;2a;w\r\n");
    TScriptedUi ui;
    ui.queueAnswer(TModalResult::mrOk);
    TOwningList list;
    QCOMPARE(ImportFile(path, list, semicolonTable(), nameClassGender()), 2);
    QCOMPARE(list.Anz(), 2);
}

void TestImportInterpret::emptyFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\r");
    QTest::newRow("blank lines") << QByteArray("   \r\n \r\n  ");
}

void TestImportInterpret::emptyFiles()
{
    QFETCH(QByteArray, bytes);
    TScriptedUi ui;
    TOwningList list;
    QCOMPARE(ImportFile(writeFile(bytes), list, semicolonTable(), nameClassGender()), 0);
    QVERIFY(ui.messages.isEmpty());
    QStringList lines, values;
    QCOMPARE(ImportPreview(writeFile(bytes), semicolonTable(), 1, lines, values), 0);
    QVERIFY(lines.isEmpty());
}

void TestImportInterpret::lastLineOfBlanksIsSkipped_data()
{
    // Lines of blanks and control characters: no pupil, no question.
    QTest::addColumn<QByteArray>("tail");
    QTest::newRow("blanks") << QByteArray("   ");
    QTest::newRow("end-of-file byte") << QByteArray("\x1a");
    QTest::newRow("TABs of an empty row, then the end-of-file byte") << QByteArray("\t\t\t\r\n\x1a");
    QTest::newRow("blank and a form feed") << QByteArray(" \x0c \r\n");
}

void TestImportInterpret::lastLineOfBlanksIsSkipped()
{
    QFETCH(QByteArray, tail);
    const QString path = writeFile("A;1a;w\r\nB;2a;w\r\n" + tail);
    TScriptedUi ui;
    TOwningList list;
    QCOMPARE(ImportFile(path, list, semicolonTable(), nameClassGender()), 2);
    QVERIFY(ui.messages.isEmpty());
    QStringList lines, values;
    ImportPreview(path, semicolonTable(), 1, lines, values);
    QCOMPARE(lines, (QStringList{"A;1a;w", "B;2a;w"}));
}

void TestImportInterpret::readsWindows1252()
{
    const QString path = writeFile("M\xfcller \x80;10a;w\r\n\"Gro\xdf\", Anna;7b;m\r\n");
    TOwningList list;
    QCOMPARE(ImportFile(path, list, semicolonTable(), nameClassGender()), 2);
    QCOMPARE(list.getNr(1)->name, QString::fromUtf8("Müller €"));
    QCOMPARE(list.getNr(2)->name, QString::fromUtf8("\"Groß\", Anna"));
}

void TestImportInterpret::importFromFileEmptiesFirst()
{
    TOwningList list;
    list.add(new TSchueler());
    list.add(new TSchueler());
    list.ModSaved(QStringLiteral("old.EIN"));
    list.Sort(sc_N);
    const QString path = writeFile("A;1a;w\r\nB;2a;w\r\n");
    QCOMPARE(list.ImportFromFile(path, semicolonTable(), nameClassGender()), 2);
    QCOMPARE(list.Anz(), 2);
    QCOMPARE(list.getNr(1)->name, QStringLiteral("A"));
    QCOMPARE(list.getFilename(), QString());
    QCOMPARE(list.getSort(), sc_NotSorted);
}

void TestImportInterpret::missingFileRaises()
{
    TScriptedUi ui;
    TOwningList list;
    list.add(new TSchueler());
    const QString path = FDir.filePath(QStringLiteral("missing.txt"));
    QVERIFY_THROWS_EXCEPTION(EInOutError, list.ImportFromFile(path, semicolonTable(), nameClassGender()));
    QCOMPARE(list.Anz(), 0);
    QVERIFY_THROWS_EXCEPTION(EInOutError, ImportFile(FDir.path(), list, semicolonTable(), nameClassGender()));
    try {
        ImportFile(path, list, semicolonTable(), nameClassGender());
    } catch (const EInOutError& e) {
        QCOMPARE(e.message(), QStringLiteral("Fehler beim Öffnen der Datei ") + path);
    }
    QVERIFY(ui.messages.isEmpty());
}

void TestImportInterpret::importedFileSurvivesSaveAndOpen()
{
    // Lines the pupil line would refuse are refused at import already; what
    // is imported comes back from an assignment file unchanged.
    const QString source = writeFile(
        "\"Meier, Hans\",10a,m\r\n"
        "\"Gro\xdf \",13H,w\r\n"
        "Neu,14a,w\r\n"
        "/Kommentar,7b,w\r\n"
        "\"Semi;kolon\",7b,w\r\n"
        "Klein,1Bc,w\r\n"
        "Ende,10x,m\r\n");
    TImportOptions o = DefaultOptions;   // database convention with ","
    o.imIgnoreErr = true;
    TOwningList list;
    QCOMPARE(list.ImportFromFile(source, o, nameClassGender()), 3);

    const QString saved = FDir.filePath(QStringLiteral("saved.EIN"));
    {
        TDataFile out(ft_teil, saved);
        QVERIFY(out.OpenWrite());
        QCOMPARE(out.Write(list), 3);
        out.Close();
    }
    TScriptedUi ui;
    TOwningList back;
    TDataFile in(ft_teil, saved);
    QVERIFY(in.OpenRead());
    QCOMPARE(in.Read(back, false), 3);
    in.Close();
    QVERIFY(ui.messages.isEmpty());
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(back.getNr(i)->name, list.getNr(i)->name);
        QCOMPARE(back.getNr(i)->jgst, list.getNr(i)->jgst);
        QCOMPARE(back.getNr(i)->abt, list.getNr(i)->abt);
        QCOMPARE(back.getNr(i)->geschl, list.getNr(i)->geschl);
    }
    QCOMPARE(back.getNr(2)->name, QString::fromUtf8("Groß "));
    QCOMPARE(back.getNr(3)->abt, QStringLiteral("Bc"));
}

void TestImportInterpret::previewShowsElevenLines()
{
    QByteArray bytes;
    for (int i = 1; i <= 20; ++i)
        bytes += "Name" + QByteArray::number(i) + ";" + QByteArray::number(i % 13 + 1) + "a;w\r\n";
    const QString path = writeFile(bytes);
    QStringList lines{"old"}, values{"old"};
    QCOMPARE(ImportPreview(path, semicolonTable(), 2, lines, values), 3);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.first(), QStringLiteral("Name1;2a;w"));
    QCOMPARE(lines.last(), QStringLiteral("Name11;12a;w"));
    QCOMPARE(values.size(), 11);
    QCOMPARE(values.first(), QStringLiteral("2a"));
}

void TestImportInterpret::previewCountsBlankLines()
{
    // Physical lines 3 and 5 are blank: the lines taken while no more than
    // ten physical lines have been read are 1, 2, 4, 6 to 11.
    QByteArray bytes;
    for (int i = 1; i <= 20; ++i)
        bytes += (i == 3 || i == 5) ? QByteArray("  \r\n") : "L" + QByteArray::number(i) + "\r\n";
    QStringList lines, values;
    QCOMPARE(ImportPreview(writeFile(bytes), DefaultOptions, 1, lines, values), 1);
    QCOMPARE(lines, (QStringList{"L1", "L2", "L4", "L6", "L7", "L8", "L9", "L10", "L11"}));
    QCOMPARE(values, lines);
}

void TestImportInterpret::previewValuesDrift()
{
    const QString path = writeFile("a;b;c\r\nshort;x\r\nno separator\r\nd;e;f;g\r\n");
    QStringList lines, values;
    QCOMPARE(ImportPreview(path, semicolonTable(), 3, lines, values), 4);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(values, (QStringList{"c", "f"}));
    QCOMPARE(ImportPreview(path, semicolonTable(), 0, lines, values), 4);
    QVERIFY(values.isEmpty());
}

void TestImportInterpret::previewOfMissingFileRaises()
{
    QStringList lines{"kept"}, values;
    QVERIFY_THROWS_EXCEPTION(EInOutError,
                             ImportPreview(FDir.filePath(QStringLiteral("none")), DefaultOptions, 1, lines, values));
}

QTEST_GUILESS_MAIN(TestImportInterpret)
#include "tst_importinterpret.moc"

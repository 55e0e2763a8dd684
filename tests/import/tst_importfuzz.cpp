// Random and hostile lines through the three conventions and the
// interpreter: nothing may crash, hang or let through a pupil that an
// assignment file could not carry. Fixed seed, so a failure repeats.

#include "import/UImport.h"

#include "data/USchueler.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "platform/UAnsiText.h"
#include "tests/support/UScriptedUi.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr quint32 kSeed = 20261210;

// Characters that matter to some rule, and a few that matter to none.
const char16_t kAlphabet[] = {u'"', u',', u';', u' ', u'\v', u'\t', u'a', u'H', u'i', u'1', u'0', u'3',
                              u'x', u'$', u'-', u'+', u'/', 0, u'\r', u'\n', 0xE4, 0x20AC, 0x03A9, 0xD800};

class TFuzz {
public:
    explicit TFuzz(quint32 seed) : FRandom(seed) {}

    int upTo(int n) { return int(FRandom.bounded(n + 1)); }            // 0..n
    int between(int lo, int hi) { return lo + int(FRandom.bounded(hi - lo + 1)); }

    QChar someChar()
    {
        switch (upTo(2)) {
        case 0: return Ansi::decodeByte(uchar(upTo(255)));
        case 1: return QChar(kAlphabet[upTo(int(std::size(kAlphabet)) - 1)]);
        default: return QChar(char16_t(upTo(0xFFFF)));
        }
    }

    QString someText(int maxLength)
    {
        QString s;
        const int n = upTo(maxLength);
        for (int i = 0; i < n; ++i)
            s += someChar();
        return s;
    }

    // Mostly small positions, now and then the extremes.
    qint32 somePosition()
    {
        switch (upTo(5)) {
        case 0: return std::numeric_limits<qint32>::max();
        case 1: return std::numeric_limits<qint32>::min();
        case 2: return 0;
        default: return between(-5, 60);
        }
    }

    TImportOptions someOptions()
    {
        TImportOptions o = DefaultOptions;
        o.imFormat = TImportFormat(upTo(2));
        o.imSepChar = someChar();
        o.imSepString = someText(8);
        for (qint32& p : o.imPositionArray)
            p = somePosition();
        o.imIgnoreErr = upTo(1) == 1;
        return o;
    }

    TElements someElements()
    {
        TElements e;
        for (qint32* n : {&e.elName, &e.elVName, &e.elNName, &e.elBName, &e.elGeschl, &e.elKl, &e.elJgst, &e.elAbt})
            *n = upTo(3) == 0 ? 0 : between(-2, 8);
        e.highestEl = between(-1, 8);
        e.elGM = upTo(1) ? QStringLiteral("m") : someText(3);
        e.elGW = upTo(1) ? QStringLiteral("w") : someText(3);
        return e;
    }

private:
    QRandomGenerator FRandom;
};

bool hasOuterBlank(const QString& s)
{
    return !s.isEmpty() && (s.front() == QLatin1Char(' ') || s.back() == QLatin1Char(' '));
}

int positiveRun(const TPositions& p)
{
    int n = 0;
    while (n < 10 && p[n] > 0)
        ++n;
    return n;
}

// What every split must hold, whatever the line.
void checkSplit(const QString& line, const TImportOptions& o, const QStringList& fields)
{
    // The first two cut the line into pieces that do not overlap.
    qsizetype total = 0;
    for (const QString& f : fields)
        total += f.size();
    switch (o.imFormat) {
    case imDataBase:
        QVERIFY(total <= line.size());
        break;
    case imConventional:
        QVERIFY(total <= line.size());
        if (o.imSepString.isEmpty())
            QVERIFY(fields.isEmpty());
        for (const QString& f : fields)
            QVERIFY(!hasOuterBlank(f));
        break;
    case imPositions:
        QCOMPARE(int(fields.size()), positiveRun(o.imPositionArray));
        for (const QString& f : fields) {
            QVERIFY(!hasOuterBlank(f));
            QVERIFY(line.contains(f));
        }
        break;
    }
}

// An accepted pupil is one that an assignment file carries back.
void checkPupil(const TSchueler& p)
{
    QVERIFY(!p.name.isEmpty());
    QVERIFY(FitsZeile(p.name));
    QVERIFY(!p.name.startsWith(QLatin1Char('/')));
    QVERIFY(p.jgst >= 1 && p.jgst <= 13);
    QVERIFY(FitsZeile(p.abt));

    const TZeile line(p.ToZeile().AsString());
    try {
        TSchueler back(line, true);
        QCOMPARE(back.name, p.name);
        QCOMPARE(back.jgst, p.jgst);
        QCOMPARE(back.geschl, p.geschl);
        QCOMPARE(back.abt, p.abt);
    } catch (const ESchFromZeile& e) {
        QFAIL(qPrintable(QStringLiteral("pupil line refused: ") + e.message()));
    }
}

// Split by o, interpret by e; only EImportError may come out.
void feed(const QString& line, const TImportOptions& o, const TElements& e)
{
    const QStringList fields = SplitLine(line, o);
    checkSplit(line, o, fields);
    if (QTest::currentTestFailed())
        return;
    for (const QString& f : fields.mid(0, 20)) {
        int grade = 0;
        QString department;
        const bool ok = ParseKlasse(f, grade, department);
        QCOMPARE(ok, grade > 0);
    }
    try {
        const std::unique_ptr<TSchueler> p = Interpret(fields, e);
        QVERIFY(p);
        checkPupil(*p);
    } catch (const EImportError& err) {
        QVERIFY(err.code() >= eNoData && err.code() <= eInvGeschl);
        QVERIFY(err.message().startsWith(QStringLiteral("Interpret: ")));
    }
}

void feedAllConventions(const QString& line, TImportOptions o, const TElements& e)
{
    for (TImportFormat f : {imDataBase, imConventional, imPositions}) {
        o.imFormat = f;
        feed(line, o, e);
        if (QTest::currentTestFailed())
            return;
    }
}

TElements usualElements()
{
    TElements e = DefaultElements;
    e.elName = 1;
    e.elKl = 2;
    e.elGeschl = 3;
    e.highestEl = 3;
    return e;
}

} // namespace

class TestImportFuzz : public QObject {
    Q_OBJECT

private slots:
    void randomLines();
    void hostileLines_data();
    void hostileLines();
    void everyByte();
    void separatorLongerThanLine();
    void separatorOfBlanks();
    void randomFile();
};

void TestImportFuzz::randomLines()
{
    TFuzz fuzz(kSeed);
    for (int i = 0; i < 20000; ++i) {
        const QString line = fuzz.someText(i % 10 == 0 ? 400 : 40);
        feed(line, fuzz.someOptions(), fuzz.someElements());
        if (QTest::currentTestFailed()) {
            qWarning("round %d", i);
            return;
        }
    }
}

void TestImportFuzz::hostileLines_data()
{
    QTest::addColumn<QString>("line");
    const int mb = 1 << 20;
    QTest::newRow("empty") << QString();
    QTest::newRow("1 MB of commas") << QString(mb, QChar(','));
    QTest::newRow("1 MB of semicolons") << QString(mb, QChar(';'));
    QTest::newRow("1 MB of quotes") << QString(mb, QChar('"'));
    QTest::newRow("1 MB of blanks") << QString(mb, QChar(' '));
    QTest::newRow("1 MB of NUL") << QString(mb, QChar(0));
    QTest::newRow("1 MB name") << QString(mb, QChar('a')) + QStringLiteral(",10a,w;10a;w");
    QTest::newRow("1 MB of digits") << QStringLiteral("X,") + QString(mb, QChar('9')) + QStringLiteral("a,w");
    QString mixed;
    TFuzz fuzz(kSeed + 1);
    while (mixed.size() < mb)
        mixed += fuzz.someChar();
    QTest::newRow("1 MB random") << mixed;
    QTest::newRow("unmatched quote") << QStringLiteral("\"Meier, Hans,10a,w");
    QTest::newRow("quote at the end") << QStringLiteral("Meier,10a,\"");
    QTest::newRow("quotes only") << QStringLiteral("\"\"\"");
    QTest::newRow("NUL inside") << QString::fromUtf8("Mei\0er,10a,w;x", 14);
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral(",10a,w");
}

void TestImportFuzz::hostileLines()
{
    QFETCH(QString, line);
    TImportOptions o = DefaultOptions;
    o.imSepString = QStringLiteral(";");
    feedAllConventions(line, o, usualElements());
    o.imSepChar = QLatin1Char('"');
    o.imSepString = QStringLiteral("\"");
    o.imPositionArray = {1, 2, 3, 4, 5, 6, 7, 8, 9, std::numeric_limits<qint32>::max()};
    feedAllConventions(line, o, usualElements());
}

void TestImportFuzz::everyByte()
{
    QString all;
    for (int b = 0; b < 256; ++b)
        all += Ansi::decodeByte(uchar(b));
    TFuzz fuzz(kSeed + 2);
    for (int b = 0; b < 256; ++b) {
        TImportOptions o = DefaultOptions;
        o.imSepChar = Ansi::decodeByte(uchar(b));
        o.imSepString = QString(Ansi::decodeByte(uchar(b)));
        feedAllConventions(all, o, usualElements());
        feedAllConventions(QString(3, Ansi::decodeByte(uchar(b))), o, fuzz.someElements());
        if (QTest::currentTestFailed())
            return;
    }
}

void TestImportFuzz::separatorLongerThanLine()
{
    TImportOptions o = DefaultOptions;
    o.imFormat = imConventional;
    o.imSepString = QStringLiteral("abcdefgh");
    for (const QString& line : {QString(), QStringLiteral("a"), QStringLiteral("abcdefg"), QStringLiteral("   abcdefg   ")})
        QVERIFY(SplitConventional(line, o).isEmpty());
    QCOMPARE(SplitConventional(u"abcdefgh", o), QStringList{""});
}

void TestImportFuzz::separatorOfBlanks()
{
    TImportOptions o = DefaultOptions;
    o.imFormat = imConventional;
    for (int n = 1; n <= 8; ++n) {
        o.imSepString = QString(n, QChar(' '));
        for (const QString& line : {QString(), QStringLiteral(" "), QString(20, QChar(' ')),
                                    QStringLiteral("a") + QString(n, QChar(' ')) + QStringLiteral("b"),
                                    QString(100, QChar(' ')) + QStringLiteral("a")}) {
            feed(line, o, usualElements());
            if (QTest::currentTestFailed())
                return;
        }
    }
    o.imSepString = QStringLiteral("  ");
    QCOMPARE(SplitConventional(QStringLiteral("a") + QString(9, QChar(' ')) + QStringLiteral("b"), o),
             (QStringList{"a", "b"}));

    // The blank as separator character: each further blank an empty field.
    o.imFormat = imDataBase;
    o.imSepChar = QLatin1Char(' ');
    QCOMPARE(SplitDataBase(QString(4, QChar(' ')), o), (QStringList{"", "", "", ""}));
}

void TestImportFuzz::randomFile()
{
    QTemporaryDir dir;
    TFuzz fuzz(kSeed + 3);
    QByteArray bytes;
    while (bytes.size() < 64 * 1024) {
        const int kind = fuzz.upTo(9);
        if (kind == 0)
            bytes += "\r\n";
        else if (kind == 1)
            bytes += fuzz.upTo(1) ? '\r' : '\n';
        else if (kind == 2)
            bytes += "Meier;10a;w,7b,m\r\n";
        else if (fuzz.upTo(199) == 0)
            bytes += char(fuzz.between(1, 31));    // a NUL, or many controls, make it no text file
        else
            bytes += char(fuzz.between(32, 255));
    }
    const QString path = dir.filePath(QStringLiteral("random.txt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    TScriptedUi ui;
    for (int round = 0; round < 10; ++round) {
        TImportOptions o = fuzz.someOptions();
        o.imIgnoreErr = true;
        TSchuelerData list;
        const int n = list.ImportFromFile(path, o, fuzz.someElements());
        QCOMPARE(n, list.Anz());
        for (int i = 1; i <= list.Anz(); ++i)
            checkPupil(*list.getNr(i));
        list.ClearData();
        QStringList lines, values;
        const int most = ImportPreview(path, o, fuzz.between(1, 5), lines, values);
        QVERIFY(most >= 0);
        QVERIFY(lines.size() <= 11);
        QVERIFY(values.size() <= lines.size());
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(ui.messages.isEmpty());

    // Without ignoring: every bad line asks; the unanswered question cancels.
    TImportOptions o = DefaultOptions;
    TSchuelerData list;
    QCOMPARE(list.ImportFromFile(path, o, usualElements()), 0);
    QCOMPARE(list.Anz(), 0);
    QCOMPARE(ui.unanswered, 1);

    // One NUL byte in the first 64 KiB: refused before any line, by both.
    bytes[60000] = '\0';
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    QVERIFY_THROWS_EXCEPTION(EInOutError, list.ImportFromFile(path, o, usualElements()));
    QStringList lines, values;
    QVERIFY_THROWS_EXCEPTION(EInOutError, ImportPreview(path, o, 1, lines, values));
    QCOMPARE(ui.unanswered, 1);
}

QTEST_GUILESS_MAIN(TestImportFuzz)
#include "tst_importfuzz.moc"

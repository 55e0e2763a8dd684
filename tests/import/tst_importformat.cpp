// The format records and their definition files.

#include "import/UImport.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


namespace {

qint32 int32At(const QByteArray& b, int at)
{
    quint32 u = 0;
    for (int i = 0; i < 4; ++i)
        u |= quint32(quint8(b[at + i])) << (8 * i);
    return qint32(u);
}

void setInt32At(QByteArray& b, int at, qint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((quint32(v) >> (8 * i)) & 0xFF);
}

// Records that differ from the defaults in every field.
TImportOptions otherOptions()
{
    TImportOptions o;
    o.imIgnoreErr = true;
    o.imFormat = imPositions;
    o.imPositionArray = {3, -1, 70000, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), 6, 7, 8, 9, 10};
    o.imSepString = QStringLiteral("ä|€ ;");
    o.imSepChar = QChar(0x20AC);   // beyond one byte: stored as a code unit
    o.imComment = QStringLiteral("Kommentar mit Umlauten: äöüß\r\nzweite Zeile");
    return o;
}

TElements otherElements()
{
    TElements e;
    e.elName = 1;
    e.elVName = 2;
    e.elNName = 3;
    e.elBName = 4;
    e.elGeschl = 5;
    e.elKl = 6;
    e.elJgst = 7;
    e.elAbt = 8;
    e.elGM = QStringLiteral("männlich");
    e.elGW = QStringLiteral("Weib");
    e.highestEl = 9;
    return e;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestImportFormat : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void defaultBytesAtTheirOffsets();
    void roundTrip();
    void shortTextsAreCut();
    void readsOnlyTheFirstBytes();
    void tooShortFileGivesReadError();
    void foreignFilesAreRefused_data();
    void foreignFilesAreRefused();
    void acceptsWhatTheWizardWrites();
    void missingFileIsNotReported();
    void uncreatableFileIsNotReported();
    void writeErrorKeepsTheOldFile();
    void formatFileName_data();
    void formatFileName();

private:
    QTemporaryDir FDir;
};

void TestImportFormat::defaults()
{
    QCOMPARE(DefaultOptions.imIgnoreErr, false);
    QCOMPARE(DefaultOptions.imFormat, imDataBase);
    QCOMPARE(DefaultOptions.imPositionArray, (TPositions{1, 26, 32, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(DefaultOptions.imSepString.text(), QStringLiteral(","));
    QCOMPARE(DefaultOptions.imSepChar, QChar(','));
    QCOMPARE(DefaultOptions.imComment.text(),
             QStringLiteral("Geben Sie hier einen Kommentar zu Ihren Format-Einstellungen ein."));
    const TElements& e = DefaultElements;
    for (qint32 n : {e.elName, e.elVName, e.elNName, e.elBName, e.elGeschl, e.elKl, e.elJgst, e.elAbt})
        QCOMPARE(n, 0);
    QCOMPARE(e.elGM.text(), QStringLiteral("m"));
    QCOMPARE(e.elGW.text(), QStringLiteral("w"));
    QCOMPARE(e.highestEl, 0);
}

void TestImportFormat::defaultBytesAtTheirOffsets()
{
    const QString path = FDir.filePath(QStringLiteral("default.FMT"));
    QVERIFY(SaveFormatFile(path, DefaultOptions, DefaultElements));
    const QByteArray b = readAll(path);
    QCOMPARE(b.size(), 363);
    QCOMPARE(b, FormatToBytes(DefaultOptions, DefaultElements));

    QCOMPARE(int(b[0]), 0);
    QCOMPARE(int(b[1]), 0);
    QCOMPARE(int32At(b, 2), 1);
    QCOMPARE(int32At(b, 6), 26);
    QCOMPARE(int32At(b, 10), 32);
    for (int at = 14; at < 42; at += 4)
        QCOMPARE(int32At(b, at), 0);
    QCOMPARE(int(b[42]), 1);
    QCOMPARE(b[43], ',');
    QCOMPARE(int(b[51]), 44);
    QCOMPARE(int(b[52]), 0);
    QCOMPARE(int(b[53]), 65);
    QCOMPARE(b.mid(54, 65), QByteArray("Geben Sie hier einen Kommentar zu Ihren Format-Einstellungen ein."));
    for (int at = 309; at <= 337; at += 4)
        QCOMPARE(int32At(b, at), 0);
    QCOMPARE(int(b[341]), 1);
    QCOMPARE(b[342], 'm');
    QCOMPARE(int(b[350]), 1);
    QCOMPARE(b[351], 'w');
    QCOMPARE(int32At(b, 359), 0);
}

void TestImportFormat::roundTrip()
{
    const QString path = FDir.filePath(QStringLiteral("other.FMT"));
    const TImportOptions o = otherOptions();
    const TElements e = otherElements();
    QVERIFY(SaveFormatFile(path, o, e));

    const QByteArray b = readAll(path);
    QCOMPARE(int(b[0]), 1);
    QCOMPARE(int(b[1]), 2);
    QCOMPARE(int32At(b, 2 + 4 * 3), std::numeric_limits<qint32>::min());
    QCOMPARE(int(b[42]), 5);
    QCOMPARE(b.mid(43, 5), QByteArray("\xe4|\x80 ;"));
    QCOMPARE(quint8(b[51]), quint8(0xAC));
    QCOMPARE(quint8(b[52]), quint8(0x20));
    QCOMPARE(int32At(b, 309 + 4 * 7), 8);
    QCOMPARE(b.mid(342, 8), QByteArray("m\xe4nnlich"));
    QCOMPARE(int32At(b, 359), 9);

    TScriptedUi ui;
    TImportOptions o2 = DefaultOptions;
    TElements e2 = DefaultElements;
    QVERIFY(LoadFormatFile(path, o2, e2));
    QVERIFY(o2 == o);
    QVERIFY(e2 == e);
    QVERIFY(ui.messages.isEmpty());
}

void TestImportFormat::shortTextsAreCut()
{
    TImportOptions o = DefaultOptions;
    o.imComment = QString(300, QChar('k'));
    o.imSepString = QStringLiteral("123456789");
    TElements e = DefaultElements;
    e.elGM = QStringLiteral("maennlich!");
    e.elGW = QStringLiteral("weiblich12");
    QCOMPARE(o.imComment.length(), 255);
    QCOMPARE(o.imSepString.text(), QStringLiteral("12345678"));
    QCOMPARE(e.elGM.text(), QStringLiteral("maennlic"));
    QCOMPARE(e.elGW.text(), QStringLiteral("weiblich"));

    // A character without a Windows-1252 byte is what the file would hold.
    e.elGM = QString::fromUtf8("Ω1");
    QCOMPARE(e.elGM.text(), QStringLiteral("?1"));

    const QString path = FDir.filePath(QStringLiteral("cut.FMT"));
    QVERIFY(SaveFormatFile(path, o, e));
    const QByteArray b = readAll(path);
    QCOMPARE(int(quint8(b[53])), 255);
    TImportOptions o2;
    TElements e2;
    TScriptedUi ui;
    QVERIFY(LoadFormatFile(path, o2, e2));
    QVERIFY(o2 == o);
    QVERIFY(e2 == e);
}

void TestImportFormat::readsOnlyTheFirstBytes()
{
    const QString path = FDir.filePath(QStringLiteral("long.FMT"));
    QByteArray bytes = FormatToBytes(otherOptions(), otherElements());
    bytes.append(QByteArray(400 - 363, '\xff'));
    writeAll(path, bytes);
    TScriptedUi ui;
    TImportOptions o = DefaultOptions;
    TElements e = DefaultElements;
    QVERIFY(LoadFormatFile(path, o, e));
    QVERIFY(o == otherOptions());
    QVERIFY(e == otherElements());
    QVERIFY(ui.messages.isEmpty());
}

void TestImportFormat::tooShortFileGivesReadError()
{
    const QString path = FDir.filePath(QStringLiteral("short.FMT"));
    writeAll(path, FormatToBytes(otherOptions(), otherElements()).left(362));
    TScriptedUi ui;
    TImportOptions o = otherOptions();
    TElements e = otherElements();
    QVERIFY(!LoadFormatFile(path, o, e));
    QCOMPARE(ui.texts(), QStringList{"Lesefehler"});
    QCOMPARE(ui.messages[0].caption(), QStringLiteral("zuv"));
    QVERIFY(o == DefaultOptions);
    QVERIFY(e == DefaultElements);

    writeAll(path, QByteArray());
    o = otherOptions();
    QVERIFY(!LoadFormatFile(path, o, e));
    QVERIFY(o == DefaultOptions);
}

void TestImportFormat::foreignFilesAreRefused_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");   // 1 for a byte, 4 for an integer
    QTest::addColumn<qint32>("value");

    QTest::newRow("convention 3") << 1 << 1 << 3;
    QTest::newRow("convention 255") << 1 << 1 << 255;
    QTest::newRow("separator text of 9") << 42 << 1 << 9;
    QTest::newRow("male word of 9") << 341 << 1 << 9;
    QTest::newRow("female word of 255") << 350 << 1 << 255;
    QTest::newRow("name field -1") << 309 << 4 << -1;
    QTest::newRow("grade field above highestEl") << 309 + 24 << 4 << 10;
    QTest::newRow("department field min") << 309 + 28 << 4 << std::numeric_limits<qint32>::min();
    QTest::newRow("highestEl below a field") << 359 << 4 << 7;
    QTest::newRow("highestEl negative") << 359 << 4 << -1;
}

void TestImportFormat::foreignFilesAreRefused()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(qint32, value);

    QByteArray bytes = FormatToBytes(otherOptions(), otherElements());
    if (size == 1)
        bytes[offset] = char(value);
    else
        setInt32At(bytes, offset, value);
    const QString path = FDir.filePath(QStringLiteral("foreign.FMT"));
    writeAll(path, bytes);

    TScriptedUi ui;
    TImportOptions o = otherOptions();
    TElements e = otherElements();
    QVERIFY(!LoadFormatFile(path, o, e));
    QCOMPARE(ui.texts(), QStringList{"Lesefehler"});
    QVERIFY(o == DefaultOptions);
    QVERIFY(e == DefaultElements);
}

void TestImportFormat::acceptsWhatTheWizardWrites()
{
    // Any truth byte, the longest texts, field numbers at highestEl.
    QByteArray bytes = FormatToBytes(DefaultOptions, DefaultElements);
    bytes[0] = char(0x7F);
    bytes[42] = char(8);
    bytes[53] = char(255);
    bytes[341] = char(8);
    setInt32At(bytes, 309 + 4, 5);
    setInt32At(bytes, 359, 5);
    TImportOptions o;
    TElements e;
    QVERIFY(FormatFromBytes(bytes, o, e));
    QCOMPARE(o.imIgnoreErr, true);
    QCOMPARE(o.imSepString.length(), 8);
    QCOMPARE(o.imComment.length(), 255);
    QCOMPARE(e.elGM.length(), 8);
    QCOMPARE(e.elVName, 5);
    QCOMPARE(e.highestEl, 5);
}

void TestImportFormat::missingFileIsNotReported()
{
    TScriptedUi ui;
    TImportOptions o = otherOptions();
    TElements e = otherElements();
    QVERIFY(!LoadFormatFile(FDir.filePath(QStringLiteral("none.FMT")), o, e));
    QVERIFY(!LoadFormatFile(FDir.path(), o, e));
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(o == otherOptions());
    QVERIFY(e == otherElements());
}

void TestImportFormat::uncreatableFileIsNotReported()
{
    TScriptedUi ui;
    QVERIFY(!SaveFormatFile(FDir.filePath(QStringLiteral("no/such/dir/x.FMT")), DefaultOptions, DefaultElements));
    QVERIFY(!SaveFormatFile(FDir.path(), DefaultOptions, DefaultElements));
    QVERIFY(ui.messages.isEmpty());
}

void TestImportFormat::writeErrorKeepsTheOldFile()
{
    const QString path = FDir.filePath(QStringLiteral("full.FMT"));
    const QByteArray old = FormatToBytes(otherOptions(), otherElements());
    writeAll(path, old);

    // Files may grow to 100 bytes only: the write fails.
    TScriptedUi ui;
    bool written = true;
    withFileSizeLimit(100, [&] { written = SaveFormatFile(path, DefaultOptions, DefaultElements); });

    QVERIFY(!written);
    QCOMPARE(ui.texts(), QStringList{"Schreibfehler"});
    QCOMPARE(ui.messages[0].caption(), QStringLiteral("zuv"));
    QCOMPARE(readAll(path), old);
}

void TestImportFormat::formatFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("name");
    QTest::newRow("no extension") << "liste" << "liste.FMT";
    QTest::newRow("extension kept") << "liste.dat" << "liste.dat";
    QTest::newRow("fmt kept") << "/a/b/liste.fmt" << "/a/b/liste.fmt";
    QTest::newRow("dot in the folder only") << "/a.b/liste" << "/a.b/liste.FMT";
    QTest::newRow("windows folder") << "C:\\a.b\\liste" << "C:\\a.b\\liste.FMT";
    QTest::newRow("trailing dot") << "liste." << "liste.";
}

void TestImportFormat::formatFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, name);
    QCOMPARE(FormatFileName(chosen), name);
}

QTEST_GUILESS_MAIN(TestImportFormat)
#include "tst_importformat.moc"

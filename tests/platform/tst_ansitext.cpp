#include "platform/UAnsiText.h"
#include "platform/UExceptions.h"
#include "tests/support/UTestFiles.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

class TestAnsiText : public QObject {
    Q_OBJECT

private:
    static QString writeBytes(const QTemporaryDir& dir, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write fixture");
        return path;
    }
    static QStringList readAll(const QString& path, qsizetype chunkSize = 64 * 1024)
    {
        TAnsiLineReader reader(chunkSize);
        if (!reader.open(path))
            return {QStringLiteral("<not opened>")};
        QStringList lines;
        QString line;
        while (reader.readLine(line))
            lines.append(line);
        return lines;
    }
    // The text of the EInOutError that work raises.
    template <typename Work>
    static QString inOutErrorOf(Work work)
    {
        try {
            work();
        } catch (const EInOutError& e) {
            return e.message();
        }
        return QStringLiteral("<nothing raised>");
    }

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Ansi::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Ansi::encode(text), all);
        QVERIFY(Ansi::isEncodable(text));
    }

    void knownCharacters_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("undefined 81") << 0x81 << 0x81;
        QTest::newRow("low quote") << 0x84 << 0x201E;
        QTest::newRow("undefined 8D") << 0x8D << 0x8D;
        QTest::newRow("Z caron") << 0x8E << 0x017D;
        QTest::newRow("undefined 8F 90") << 0x8F << 0x8F;
        QTest::newRow("undefined 90") << 0x90 << 0x90;
        QTest::newRow("trade mark") << 0x99 << 0x2122;
        QTest::newRow("undefined 9D") << 0x9D << 0x9D;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
        QTest::newRow("a umlaut") << 0xE4 << 0xE4;
        QTest::newRow("sharp s") << 0xDF << 0xDF;
    }
    void knownCharacters()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        QCOMPARE(int(Ansi::decodeByte(uchar(byte)).unicode()), unicode);
        QCOMPARE(Ansi::encode(QString(QChar(char16_t(unicode)))), QByteArray(1, char(byte)));
    }

    void charactersOutsideBecomeQuestionMarks()
    {
        const QString text = QStringLiteral("a\u0100b\u4E2D") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("c");
        QCOMPARE(Ansi::encode(text), QByteArray("a?b??c"));
        QVERIFY(!Ansi::isEncodable(text));
        QVERIFY(!Ansi::isEncodable(QChar(0x0100)));
    }

    void foldLetters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        const auto row = [](const char* text, const char* folded) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(folded);
        };
        // Without their marks.
        row("Şahin Jülide", "Sahin Jülide");
        row("Ayşe Çelik", "Ayse Çelik");
        row("Popović Mikołaj", "Popovic Mikolaj");
        row("Dvořák Jiří", "Dvorák Jirí");
        row("İlkay Ağaoğlu", "Ilkay Agaoglu");
        row("Ștefănescu Țurcan", "Stefanescu Turcan");
        row("Kővári Űrsula", "Kovári Ursula");
        row("Nguyễn Thị Ơn", "Nguyen Thi On");
        row("Ųla Ėglė", "Ula Egle");
        // The letters that do not decompose.
        row("Yılmaz", "Yilmaz");
        row("Łukaszewicz Małgorzata", "Lukaszewicz Malgorzata");
        row("Đorđe Đurić", "Dorde Duric");
        row("Ħamrun Ħaġar ħ", "Hamrun Hagar h");
        row("Ŧŧ", "Tt");
        row("Ŀŀ ĸ ſ", "Ll k s");
        row("STRAUẞ", "STRAUß");
        // A letter and a combining mark that the code page has as one
        // letter becomes it; a mark left alone goes.
        row("Mu\u0308ller", "Müller");
        row("S\u0327ahin", "Sahin");
        row("x\u0301y", "xy");
        // What has no base letter in the code page stays.
        row("李明", "李明");
        row("Ωmega Şen", "Ωmega Sen");
        row("Ǆemal", "Ǆemal");
        row("Anna 😀", "Anna 😀");
        row("", "");
    }

    void foldLetters()
    {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(Ansi::foldLetters(text), folded);
    }

    void foldKeepsEveryCharacterWithAByte_data()
    {
        QTest::addColumn<int>("byte");
        for (int b = 0; b < 256; ++b)
            QTest::newRow(qPrintable(QStringLiteral("0x%1").arg(b, 2, 16, QLatin1Char('0')))) << b;
    }

    void foldKeepsEveryCharacterWithAByte()
    {
        QFETCH(int, byte);
        const QChar c = Ansi::decodeByte(uchar(byte));
        QCOMPARE(Ansi::foldLetters(QString(c)), QString(c));
        // Also among letters that are folded.
        QCOMPARE(Ansi::foldLetters(QStringLiteral("Ş") + c + QStringLiteral("ł")), QStringLiteral("S") + c + QStringLiteral("l"));
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed") << QByteArray("a\r\n\nb\r\rc") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("no last end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("nul byte kept") << QByteArray("a\0b\n", 4) << QStringList{QString::fromLatin1("a\0b", 3)};
    }
    void lineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = writeBytes(dir, bytes);
        QCOMPARE(readAll(path), lines);
        // Wherever a read chunk ends, the lines are the same.
        for (qsizetype chunk : {1, 2, 3})
            QCOMPARE(readAll(path, chunk), lines);
    }

    void crLfAcrossChunkBoundary()
    {
        // The reader works in 64 KiB chunks; a CR LF split by the boundary is one line end.
        QByteArray bytes(64 * 1024 - 1, 'x');
        bytes += "\r\nsecond\r\n";
        QTemporaryDir dir;
        const QStringList lines = readAll(writeBytes(dir, bytes));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).size(), 64 * 1024 - 1);
        QCOMPARE(lines.at(1), QStringLiteral("second"));
    }

    void peekTakesNothing()
    {
        QTemporaryDir dir;
        TAnsiLineReader reader;
        QVERIFY(reader.open(writeBytes(dir, QByteArray("first\r\nsecond\r\nthird"))));
        QCOMPARE(reader.peek(3), QByteArray("fir"));
        QString line;
        QVERIFY(reader.readLine(line));
        QCOMPARE(line, QStringLiteral("first"));
        // From where reading stands, what is buffered and what is not.
        QCOMPARE(reader.peek(100), QByteArray("second\r\nthird"));
        QVERIFY(reader.readLine(line));
        QCOMPARE(line, QStringLiteral("second"));
        QVERIFY(reader.readLine(line));
        QCOMPARE(line, QStringLiteral("third"));
        QCOMPARE(reader.peek(10), QByteArray());
    }

    void longLine()
    {
        QByteArray bytes(3 * 1024 * 1024, 'y');
        QTemporaryDir dir;
        const QStringList lines = readAll(writeBytes(dir, bytes));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.at(0).size(), bytes.size());
    }

    void bytesRoundTripThroughFiles()
    {
        QByteArray line;
        for (int b = 0; b < 256; ++b)
            if (b != '\r' && b != '\n')
                line.append(char(b));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        TAnsiFileWriter writer;
        QVERIFY(writer.open(path));
        writer.writeLine(Ansi::decode(line));
        writer.writeLine(QStringLiteral("zwei"));
        writer.commit();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), line + "\r\nzwei\r\n");
        QCOMPARE(readAll(path), (QStringList{Ansi::decode(line), QStringLiteral("zwei")}));
    }

    void readErrorRaises()
    {
        // Opens, but every read fails.
        const QString path = QStringLiteral("/proc/self/mem");
        TAnsiLineReader reader;
        QVERIFY(reader.open(path));
        QString line;
        QCOMPARE(inOutErrorOf([&] { reader.readLine(line); }), QStringLiteral("Fehler beim Lesen der Datei ") + path);
    }

    void foreignFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf16");
        QTest::addColumn<QStringList>("lines");
        const QByteArray bom("\xEF\xBB\xBF");
        const QStringList umlauts{QStringLiteral("Müller"), QStringLiteral("Weiß")};
        QTest::newRow("BOM") << bom + QByteArray("M\xC3\xBCller\r\nWei\xC3\x9F") << false << umlauts;
        QTest::newRow("BOM, ASCII") << bom + QByteArray("Meier\nBerg") << false
                                    << QStringList{QStringLiteral("Meier"), QStringLiteral("Berg")};
        QTest::newRow("BOM alone") << bom << false << QStringList();
        // A line that is no UTF-8 is Windows-1252, after a BOM too.
        QTest::newRow("BOM, a 1252 line") << bom + QByteArray("Wei\xDF") << false << QStringList{QStringLiteral("Weiß")};
        QTest::newRow("UTF-8") << QByteArray("M\xC3\xBCller\rWei\xC3\x9F\n") << false << umlauts;
        // Umlauts written as a letter and a combining diaeresis come in as
        // the one character the data files hold.
        QTest::newRow("UTF-8, combining marks") << QByteArray("Mu\xCC\x88ller\nWei\xC3\x9F") << false << umlauts;
        QTest::newRow("UTF-8, four bytes") << QByteArray("a\xF0\x9F\x98\x80") << false
                                           << QStringList{QStringLiteral("a\U0001F600")};
        QTest::newRow("ASCII") << QByteArray("Meier\r\n") << false << QStringList{QStringLiteral("Meier")};
        QTest::newRow("Windows-1252") << QByteArray("M\xFCller\r\nWei\xDF") << false << umlauts;
        // Lines added in another editor: each line as its bytes say.
        QTest::newRow("UTF-8, then a 1252 line") << QByteArray("M\xC3\xBCller\r\nWei\xDF") << false << umlauts;
        QTest::newRow("1252, then UTF-8 lines")
            << QByteArray("Wei\xDF\nM\xC3\xBCller\nGro\xC3\x9F") << false
            << QStringList{QStringLiteral("Weiß"), QStringLiteral("Müller"), QStringLiteral("Groß")};
        QTest::newRow("UTF-8 and 1252 in one line") << QByteArray("M\xC3\xBCller Wei\xDF") << false
                                                    << QStringList{QStringLiteral("MÃ¼ller Weiß")};
        QTest::newRow("cut off at the end") << QByteArray("M\xC3\xBCller\n\xC3") << false
                                            << QStringList{QStringLiteral("Müller"), QStringLiteral("Ã")};
        QTest::newRow("overlong") << QByteArray("a\xC0\xAF") << false << QStringList{QStringLiteral("aÀ¯")};
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false
                                   << QStringList{QStringLiteral("í\u00A0€")};
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false
                                        << QStringList{QStringLiteral("ô\u0090€€")};
        // UTF-16 after its byte order mark, in either order.
        const QString wide = QStringLiteral("Müller\tJürgen\r\nWeiß\nDvořák\r\U0001F600\r\n");
        const QStringList wideLines{QStringLiteral("Müller\tJürgen"), QStringLiteral("Weiß"), QStringLiteral("Dvořák"),
                                    QStringLiteral("\U0001F600")};
        QByteArray little("\xFF\xFE");
        QByteArray big("\xFE\xFF");
        for (QChar c : wide) {
            little += char(c.unicode() & 0xFF);
            little += char(c.unicode() >> 8);
            big += char(c.unicode() >> 8);
            big += char(c.unicode() & 0xFF);
        }
        QTest::newRow("UTF-16 LE") << little << true << wideLines;
        QTest::newRow("UTF-16 BE") << big << true << wideLines;
        QTest::newRow("UTF-16 LE, BOM alone") << QByteArray("\xFF\xFE") << true << QStringList();
        QTest::newRow("UTF-16 LE, combining marks") << QByteArray("\xFF\xFEu\0\x08\x03", 6) << true
                                                    << QStringList{QStringLiteral("ü")};
        // A surrogate without its partner and an odd last byte: U+FFFD.
        QTest::newRow("UTF-16 LE, lone surrogates")
            << QByteArray("\xFF\xFE\x00\xD8" "a\0\x00\xDC\n\0\x3D\xD8", 12) << true
            << QStringList{QStringLiteral("\uFFFDa\uFFFD"), QStringLiteral("\uFFFD")};
        QTest::newRow("UTF-16 LE, odd last byte") << QByteArray("\xFF\xFE" "a\0b", 5) << true
                                                  << QStringList{QStringLiteral("a\uFFFD")};
    }

    void foreignFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf16);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = writeBytes(dir, bytes);
        // Chunks of one byte: every sequence is cut somewhere.
        for (qsizetype chunk : {qsizetype(1), qsizetype(3), qsizetype(64 * 1024)}) {
            TAnsiLineReader reader(chunk);
            QVERIFY(reader.openForeign(path));
            QCOMPARE(reader.encoding(), utf16 ? TTextEncoding::Utf16 : TTextEncoding::LineByLine);
            QVERIFY(!reader.foreignBinary());
            QStringList got;
            QString line;
            while (reader.readLine(line))
                got.append(line);
            QCOMPARE(got, lines);
        }
        // The program's own files stay Windows-1252, byte for byte.
        QString text = Ansi::decode(bytes);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QStringList own = text.split(QLatin1Char('\n'));
        if (own.last().isEmpty())
            own.removeLast();
        QCOMPARE(readAll(path), own);
    }

    void foreignBinary_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("binary");
        const QByteArray text = QByteArray("Meier;Hans;10a;m\r\n").repeated(1000);   // 18 000 bytes
        QByteArray pdf = "%PDF-1.4\n" + QByteArray("1 0 obj << /Type /Page >> endobj\n").repeated(200);
        pdf.truncate(6180);
        pdf += QByteArray("\0\x01\x02stream", 9);
        QByteArray noise;
        for (int i = 0; i < 20000; ++i)
            noise += char(1 + (i * 7919 + i / 13) % 255);
        QTest::newRow("text") << text << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("NUL at the start") << QByteArray("\0abc", 4) << true;
        QTest::newRow("NUL after 4 KiB") << pdf << true;
        QTest::newRow("NUL within 64 KiB") << text.repeated(3).left(64 * 1024 - 1) + QByteArray(1, '\0') << true;
        QTest::newRow("NUL after 64 KiB") << text.repeated(4).left(64 * 1024) + QByteArray(1, '\0') << false;
        QTest::newRow("bytes without NUL") << noise << true;
        QTest::newRow("TAB, FF and 0x1A") << QByteArray("a\tb\fc\x1A").repeated(100) << false;
        QTest::newRow("one control in a hundred") << QByteArray(99, 'x') + '\x0B' << false;
        QTest::newRow("two in a hundred") << QByteArray(98, 'x') + "\x01\x7F" << true;
        QTest::newRow("controls after 64 KiB") << text.repeated(4).left(64 * 1024) + QByteArray(5000, '\x02') << false;
        QTest::newRow("UTF-8 BOM, then NUL") << QByteArray("\xEF\xBB\xBF\0", 4) << true;
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFEM\0\xFC\0", 6) << false;
        QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0M\0\xFC", 6) << false;
        // After a UTF-16 byte order mark the characters count as the bytes
        // do.
        const auto utf16 = [](const QString& text, bool bigEndian) {
            QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                                   QStringConverter::Flag::WriteBom);
            return QByteArray(encoder(text));
        };
        const QString line = QStringLiteral("Meier;Hans;10a;m\r\n");
        QTest::newRow("UTF-32 LE") << QByteArray("\xFF\xFE\0\0M\0\0\0\xFC\0\0\0", 12) << true;
        QTest::newRow("UTF-32 BE") << QByteArray("\0\0\xFE\xFF\0\0\0M\0\0\0\xFC", 12) << true;
        QTest::newRow("UTF-16 LE, a NUL character") << utf16(line + QChar(0) + line, false) << true;
        QTest::newRow("UTF-16 BE, a NUL character") << utf16(line + QChar(0) + line, true) << true;
        // U+0100 and U+0A00 hold a NUL byte, and are text.
        QTest::newRow("UTF-16 LE, NUL bytes only") << utf16(QString(QChar(0x100)) + QChar(0xA00), false) << false;
        QTest::newRow("UTF-16 LE, one control in a hundred") << utf16(QString(99, 'x') + QChar(0x0B), false) << false;
        QTest::newRow("UTF-16 BE, two in a hundred") << utf16(QString(98, 'x') + QChar(1) + QChar(0x7F), true) << true;
        QTest::newRow("UTF-16 LE, TAB, FF and 0x1A") << utf16(QStringLiteral("a\tb\fc\x1A").repeated(100), false)
                                                    << false;
        QTest::newRow("UTF-16 LE, NUL after 64 KiB")
            << utf16(line.repeated(2000).left(32 * 1024), false) + QByteArray(2, '\0') << false;
        QTest::newRow("UTF-16 LE, NUL within 64 KiB")
            << utf16(line.repeated(2000).left(32 * 1024 - 1), false) + QByteArray(2, '\0') << true;
    }

    void foreignBinary()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, binary);
        QTemporaryDir dir;
        TAnsiLineReader reader;
        QVERIFY(reader.openForeign(writeBytes(dir, bytes)));
        QCOMPARE(reader.foreignBinary(), binary);
        // Looking took nothing: the first line is whole.
        QString line;
        if (bytes.startsWith("Meier")) {
            QVERIFY(reader.readLine(line));
            QCOMPARE(line, QStringLiteral("Meier;Hans;10a;m"));
        }
    }

    void foreignReadErrorRaises()
    {
        const QString path = QStringLiteral("/proc/self/mem");
        TAnsiLineReader reader;
        QCOMPARE(inOutErrorOf([&] { reader.openForeign(path); }), QStringLiteral("Fehler beim Lesen der Datei ") + path);
    }

    void missingFileAndFolderDoNotOpen()
    {
        QTemporaryDir dir;
        TAnsiLineReader reader;
        QVERIFY(!reader.open(dir.filePath(QStringLiteral("missing.txt"))));
        QVERIFY(!reader.open(dir.path()));
        TAnsiFileWriter writer;
        QVERIFY(!writer.open(dir.path()));
        QVERIFY(!writer.open(dir.filePath(QStringLiteral("no/such/folder/x.txt"))));
    }

    void cancelledWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = writeBytes(dir, "old\r\n");
        {
            TAnsiFileWriter writer;
            QVERIFY(writer.open(path));
            writer.writeLine(QStringLiteral("new"));
            // destroyed without commit: an error part way through a save
        }
        QCOMPARE(readAll(path), QStringList{QStringLiteral("old")});
    }

    void failedFlushRaisesAndKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = writeBytes(dir, "old\r\n");
        TAnsiFileWriter writer;
        QVERIFY(writer.open(path));
        for (int i = 0; i < 10000; ++i)
            writer.writeLine(QStringLiteral("Zeile %1 mit etwas Text darin").arg(i));
        // Files may grow to 1000 bytes only: the buffered rest fails.
        QString raised;
        withFileSizeLimit(1000, [&] { raised = inOutErrorOf([&] { writer.commit(); }); });
        QCOMPARE(raised, QStringLiteral("Fehler beim Schreiben der Datei ") + path + becauseOf(EFBIG));
        QCOMPARE(readAll(path), QStringList{QStringLiteral("old")});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("f.txt")});
    }

    void aFullDiskIsNamedAsTheReason_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("all still in the buffer") << 1;
        QTest::newRow("more than the buffer holds") << 10000;
    }
    void aFullDiskIsNamedAsTheReason()
    {
        QFETCH(int, lines);
        QTemporaryDir dir;
        const QString path = writeBytes(dir, "old\r\n");
        TAnsiFileWriter writer;
        QVERIFY(writer.open(path));
        if (fillDiskUnder(dir.path()) == 0)
            QSKIP("the file being written cannot be put on /dev/full");
        for (int i = 0; i < lines; ++i)
            writer.writeLine(QStringLiteral("Zeile %1 mit etwas Text darin").arg(i));
        QCOMPARE(inOutErrorOf([&] { writer.commit(); }),
                 QStringLiteral("Fehler beim Schreiben der Datei ") + path + becauseOf(ENOSPC));
        QCOMPARE(readAll(path), QStringList{QStringLiteral("old")});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("f.txt")});
    }

    void failedCommitRaisesAndKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkdir(sub));
        const QString path = sub + QStringLiteral("/f.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
        old.close();
        TAnsiFileWriter writer;
        QVERIFY(writer.open(path));
        writer.writeLine(QStringLiteral("new"));
        // The folder goes away before the commit: the rename cannot happen.
        QVERIFY(QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        if (QFileInfo(sub).isWritable())
            QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(inOutErrorOf([&] { writer.commit(); }), QStringLiteral("Fehler beim Schreiben der Datei ") + path);
        QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(readAll(path), QStringList{QStringLiteral("old")});
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"

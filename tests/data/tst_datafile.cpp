#include "UDataTestUtil.h"
#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "platform/UAnsiText.h"
#include "platform/UStringGrid.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"

#include <QRandomGenerator>
#include <QtTest>
#include <unistd.h>

namespace {

const QString kSchCount = QStringLiteral("Schuelerdatenzeile enthaelt falsche Anzahl Elemente");
const QString kProCount = QStringLiteral("Projektdatenzeile enthaelt falsche Anzahl Elemente");

// Reads path as kind into list; returns the result of Read.
int readFile(TFileType kind, const QString& path, TData& list, bool concat = false)
{
    TDataFile f(kind, path);
    if (!f.OpenRead())
        return -2;
    const int n = f.Read(list, concat);
    f.Close();
    return n;
}

int writeFile(TFileType kind, const QString& path, const TData& list)
{
    TDataFile f(kind, path);
    if (!f.OpenWrite())
        return -2;
    const int n = f.Write(list);
    f.Close();
    return n;
}

QStringList pupilLines(const TSchuelerData& sd)
{
    QStringList r;
    for (int i = 1; i <= sd.Anz(); ++i)
        r << sd.getNr(i)->ToZeile().AsString();
    return r;
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void modes();
    void projectFile_data();
    void projectFile();
    void lineEnds_data();
    void lineEnds();
    void commentsAndEmptyLines();
    void blankSlashIsARecord();
    void junkLinesAreEmpty_data();
    void junkLinesAreEmpty();
    void badLinesReportedAndSkipped();
    void pupilControlCharactersReadAsBlanks_data();
    void pupilControlCharactersReadAsBlanks();
    void manyBadLinesCapped_data();
    void manyBadLinesCapped();
    void readErrorAfterManyBadLines();
    void atMostMaxProjects_data();
    void atMostMaxProjects();
    void pupilFileAsProjects();
    void pupilFieldCountPerKind_data();
    void pupilFieldCountPerKind();
    void concatReads();
    void withoutConcatEmptiesFirst();
    void roundTrip();
    void everyByteRoundTrips();
    void assignmentFileAsChoicesFile();
    void writesCrLf();
    void writeEmpty();
    void notOpen();
    void missingAndUnopenable();
    void unclosedWriteKeepsOldFile();
    void failedCommitIsReported();
    void nulByteSkipsItsLine_data();
    void nulByteSkipsItsLine();
    void binaryFile();
    void binaryMessageKeepsPercentName();
    void veryLongLine();
    void wrongListKind();
    void readThenCountEint();

private:
    QTemporaryDir FDir;
    QString path(const QString& name) const { return FDir.filePath(name); }
};

void TestDataFile::init()
{
    QVERIFY(FDir.isValid());
}

void TestDataFile::modes()
{
    writeBytes(path("m.PRO"), "1; A; 1; 13; 0; 0; -; -; \r\n");
    TDataFile f(ft_proj, path("m.PRO"));
    QCOMPARE(f.getMode(), fm_closed);
    QCOMPARE(f.getType(), ft_proj);
    QVERIFY(f.OpenRead());
    QCOMPARE(f.getMode(), fm_read);
    f.Close();
    QCOMPARE(f.getMode(), fm_closed);
    QVERIFY(f.OpenWrite());
    QCOMPARE(f.getMode(), fm_write);
    f.Close();
    QCOMPARE(f.getMode(), fm_closed);
}

void TestDataFile::projectFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("names");   // every project of the list
    QTest::addColumn<int>("read");            // the lines read whole
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("numbers by file order")
        << QByteArray("5; Theater; 5; 10; 8; 20; -; -;   0; \r\n9; Chor; 1; 13; 0; 40; w; -;   0; \r\n"
                      "12; Fu\xdf" "ball; 7; 13; 10; 22; m; X;   0; \r\n")
        << QStringList{"Theater", "Chor", QStringLiteral("Fußball")} << 3 << QStringList{};
    QTest::newRow("8 and 9 fields")
        << QByteArray("1; A; 1; 13; 0; 0; -; -; \r\n1; B; 1; 13; 0; 0; -; -; 0; \r\n")
        << QStringList{"A", "B"} << 2 << QStringList{};
    // A bad line keeps its place, so the projects behind it keep their
    // numbers; its number is its line in the file, comments counted.
    QTest::newRow("bad line keeps its place")
        << QByteArray("1; A; 1; 13; 0; 0; -; -; \r\n/ Kommentar\r\n\r\n1; B; 0; 13; 0; 0; -; -; \r\n"
                      "1; C; 1; 13; 0; 0; -; -; \r\n")
        << QStringList{"A", "Zeile 4 nicht lesbar", "C"} << 2
        << QStringList{QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()")};
    QTest::newRow("7 and 10 fields")
        << QByteArray("1; A; 1; 13; 0; 0; -; \r\n1; A; 1; 13; 0; 0; -; -; 0; x; \r\n1; C; 1; 13; 0; 0; -; -; \r\n")
        << QStringList{"Zeile 1 nicht lesbar", "Zeile 2 nicht lesbar", "C"} << 1 << QStringList{kProCount, kProCount};
    QTest::newRow("number with blank before ;")
        << QByteArray("1 ; A; 1; 13; 0; 0; -; -; \r\n1; B; 1; 13; 0; 0; -; -; \r\n")
        << QStringList{"Zeile 1 nicht lesbar", "B"} << 1
        << QStringList{QStringLiteral("Projektdatenzeile: Feld \"Nummer\" fehlerhaft ()")};
    QTest::newRow("control characters in names read as blanks")
        << QByteArray("1; Chor\t1; 1; 13; 0; 0; -; -; \r\n2; \tTheater\x1b; 1; 13; 0; 0; -; -; \r\n"
                      "3; Film\x7f" "AG\x7f; 1; 13; 0; 0; -; -; \r\n")
        << QStringList{"Chor 1", "Theater ", "Film AG "} << 3 << QStringList{};
    // Blanks, control characters and the DOS end-of-file byte make an
    // empty line; it still counts for the numbers of later lines.
    QTest::newRow("end-of-file byte as the last line")
        << QByteArray("1; A; 1; 13; 0; 0; -; -; \r\n2; B; 1; 13; 0; 0; -; -; \r\n\x1a")
        << QStringList{"A", "B"} << 2 << QStringList{};
    QTest::newRow("blank and control lines count for later lines")
        << QByteArray("1; A; 1; 13; 0; 0; -; -; \r\n   \r\n\t\x1b\r\n\x7f \x1a\x1f\r\n"
                      "1; B; 0; 13; 0; 0; -; -; \r\n1; C; 1; 13; 0; 0; -; -; \r\n\x1a\r\n")
        << QStringList{"A", "Zeile 5 nicht lesbar", "C"} << 2
        << QStringList{QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()")};
    // No number depends on a line after the last project.
    QTest::newRow("bad lines after the last project")
        << QByteArray("1; A; 1; 13; 0; 0; -; -; \r\n1; B; 0; 13; 0; 0; -; -; \r\n/ Ende\r\nkaputt\r\n")
        << QStringList{"A"} << 1
        << QStringList{QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()"), kProCount};
    QTest::newRow("pupils read as projects")
        << QByteArray("Anna; w; 7; a; -; 1; 2; 0; 0; 0; 1; \r\nBert; m; 8; b; -; 2; 0; 0; 0; 0; 2; \r\n")
        << QStringList{} << 0
        << QStringList{QStringLiteral("Die Datei p.PRO enthält keine Projektzeile und wurde nicht gelesen.")};
    QTest::newRow("only blank and control lines")
        << QByteArray("   \r\n\t\r\n\x1a") << QStringList{} << 0 << QStringList{};
    QTest::newRow("control character in a number field")
        << QByteArray("1; A; 1; 13; 0; 0; -; -; \r\n2; B; 1\t; 13; 0; 0; -; -; \r\n3; C; 1; 13; 0; 0; -; -; \r\n")
        << QStringList{"A", "Zeile 2 nicht lesbar", "C"} << 2
        << QStringList{QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()")};
}

void TestDataFile::projectFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, names);
    QFETCH(int, read);
    QFETCH(QStringList, messages);
    TScriptedUi ui;
    writeBytes(path("p.PRO"), content);
    TOwnedProjektData pd;
    TDataFile f(ft_proj, path("p.PRO"));
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Read(pd, false), read);
    f.Close();
    QCOMPARE(f.ReadComplete(), messages.isEmpty());
    QCOMPARE(pd.Anz(), int(names.size()));
    for (int k = 1; k <= pd.Anz(); ++k) {
        const TProjekt* p = pd.getNr(k);
        QCOMPARE(p->nr, k);
        QCOMPARE(p->name, names.at(k - 1));
        if (p->name.endsWith(QLatin1String(" nicht lesbar"))) {
            // a new project's defaults, but closed
            QCOMPARE(p->ToZeile().AsString(), QStringLiteral("%1; %2; 1; 13; 0; 1000; -; X;   0; ").arg(k).arg(p->name));
        }
    }
    QCOMPARE(ui.texts(), messages);
    for (const TMessage& m : std::as_const(ui.messages)) {
        QCOMPARE(m.caption(), QStringLiteral("zuv"));
        QCOMPARE(m.buttons, TMsgButtons(mbOK));
    }

    // Written and read again, the list comes back whole.
    QCOMPARE(writeFile(ft_proj, path("again.PRO"), pd), pd.Anz());
    ui.clear();
    TOwnedProjektData back;
    QCOMPARE(readFile(ft_proj, path("again.PRO"), back), pd.Anz());
    QVERIFY(ui.messages.isEmpty());
    for (int k = 1; k <= pd.Anz(); ++k)
        QCOMPARE(back.getNr(k)->ToZeile(), pd.getNr(k)->ToZeile());
}

void TestDataFile::lineEnds_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<bool>("finalEol");
    QTest::newRow("CR LF") << QByteArray("\r\n") << true;
    QTest::newRow("CR") << QByteArray("\r") << true;
    QTest::newRow("LF") << QByteArray("\n") << true;
    QTest::newRow("CR LF, last line open") << QByteArray("\r\n") << false;
    QTest::newRow("LF, last line open") << QByteArray("\n") << false;
}

void TestDataFile::lineEnds()
{
    QFETCH(QByteArray, eol);
    QFETCH(bool, finalEol);
    const QList<QByteArray> lines{"Anna; w; 7; a; -; 1; 2; 0; 0; 0; 1; ", "/ Kommentar", "",
                                  "Bert; m; 8; b; F; 2; 0; 0; 0; 0; 2; ",
                                  "J\xfcrgen; m; 9; c; 3; 1; 2; 3; 0; 0; 3; "};
    QByteArray content = lines.join(eol);
    if (finalEol)
        content += eol;
    writeBytes(path("e.EIN"), content);
    TScriptedUi ui;
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_teil, path("e.EIN"), sd), 3);
    QCOMPARE(ui.messages.size(), 0);
    QCOMPARE(sd.getNr(1)->name, QStringLiteral("Anna"));
    QCOMPARE(sd.getNr(2)->name, QStringLiteral("Bert"));
    QCOMPARE(sd.getNr(3)->name, QStringLiteral("Jürgen"));
    QCOMPARE(sd.getNr(3)->zuteil, 3);
    QCOMPARE(sd.getNr(3)->hand, 3);
}

void TestDataFile::commentsAndEmptyLines()
{
    TScriptedUi ui;
    writeBytes(path("c.PRO"), "/ nur Kommentare\r\n\r\n//\r\n\r\n");
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    QCOMPARE(readFile(ft_proj, path("c.PRO"), pd), 0);
    QCOMPARE(pd.Anz(), 0);
    QCOMPARE(pd.getNr0()->nr, 0);
    QVERIFY(ui.messages.isEmpty());

    writeBytes(path("c.WAH"), "");
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_wahl, path("c.WAH"), sd), 0);
}

void TestDataFile::blankSlashIsARecord()
{
    TScriptedUi ui;
    writeBytes(path("b.WAH"), " / kein Kommentar\r\n   \r\n");
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_wahl, path("b.WAH"), sd), 0);
    QCOMPARE(ui.texts(), QStringList{kSchCount});   // the line of blanks is an empty line
}

void TestDataFile::junkLinesAreEmpty_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("junk");
    const QList<QByteArray> junk{"\x1a", "   ", "\t", "\x7f", " \x1b\x0c\x1a\x7f\x1f "};
    const char* const kinds[] = {"WAH", "PRO", "EIN"};
    for (int kind : {int(ft_wahl), int(ft_proj), int(ft_teil)})
        for (const QByteArray& j : junk)
            QTest::addRow("%s, %s", kinds[kind], j.toHex(' ').constData()) << kind << j;
}

void TestDataFile::junkLinesAreEmpty()
{
    // A line of nothing but blanks, control characters and the DOS
    // end-of-file byte gives no record and no message, among the records
    // and as the last line without a line end; the file reads whole.
    QFETCH(int, kind);
    QFETCH(QByteArray, junk);
    const QByteArray good = kind == ft_proj   ? QByteArray("1; Theater; 5; 10; 8; 20; -; -;   0; ")
                            : kind == ft_wahl ? QByteArray("Anna; w; 7; a; -; 1; 2; 0; 0; 0; ")
                                              : QByteArray("Anna; w; 7; a; -; 1; 2; 0; 0; 0; 1; ");
    writeBytes(path("junk.txt"), good + "\r\n" + junk + "\r\n" + good + "\r\n" + junk);
    TScriptedUi ui;
    TOwnedProjektData pd;
    TOwnedSchuelerData sd;
    TData& list = kind == ft_proj ? static_cast<TData&>(pd) : sd;
    TDataFile f(TFileType(kind), path("junk.txt"));
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Read(list, false), 2);
    f.Close();
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(f.ReadComplete());
    QCOMPARE(list.Anz(), 2);
    QCOMPARE(list.getNr(2)->getName(), kind == ft_proj ? QStringLiteral("Theater") : QStringLiteral("Anna"));
}

void TestDataFile::badLinesReportedAndSkipped()
{
    TScriptedUi ui;
    writeBytes(path("bad.WAH"),
               "Anna; w; 7; a; -; 1; 2; 0; 0; 0; \r\n"
               "Bert; x; 7; a; -; 1; 2; 0; 0; 0; \r\n"
               "Carl; m; 14; a; -; 1; 2; 0; 0; 0; \r\n"
               "Dora; w; 7; I; -; 1; 2; 0; 0; 0; \r\n"
               "Emil; m; 7; a; 9; 1; 2; 0; 0; 0; \r\n"
               "Fritz; m; 7; a; -; 1; 256; 0; 0; 0; \r\n"
               "Gina; w; 7; a; -; 1; 2; 0; 0; 0; \r\n");
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_wahl, path("bad.WAH"), sd), 2);
    QCOMPARE(sd.getNr(1)->name, QStringLiteral("Anna"));
    QCOMPARE(sd.getNr(2)->name, QStringLiteral("Gina"));
    QCOMPARE(ui.texts(),
             (QStringList{QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)"),
                          QStringLiteral("Schuelerdatenzeile: Feld \"Jahrgangsstufe\" fehlerhaft (3)"),
                          QStringLiteral("Schuelerdatenzeile: Feld \"Abteilung\" enthält ungewöhnlichen Wert \"I\" (4)"),
                          QStringLiteral("Schuelerdatenzeile: Feld \"fest\" fehlerhaft (5)"),
                          QStringLiteral("Schuelerdatenzeile: Felder \"Wahlen\" fehlerhaft (6)")}));
    // a bad zuteil in an assignment file
    ui.clear();
    writeBytes(path("bad.EIN"), "Anna; w; 7; a; -; 1; 2; 0; 0; 0; 999; \r\n");
    QCOMPARE(readFile(ft_teil, path("bad.EIN"), sd, true), 0);
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Schuelerdatenzeile: Feld \"zuteil\" fehlerhaft (7)")});
    QCOMPARE(sd.Anz(), 2);
}

void TestDataFile::pupilControlCharactersReadAsBlanks_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");   // empty: the line is refused
    QTest::addColumn<QString>("abt");
    QTest::newRow("tab in the name") << int(ft_teil) << QByteArray("Berg\tAnna; w; 7; a; -; 1; 2; 0; 0; 0; 1; ")
                                     << "Berg Anna" << "a";
    QTest::newRow("leading tab, escape") << int(ft_wahl) << QByteArray("\tAnna\x1b" "B; w; 7; a; -; 1; 2; 0; 0; 0; ")
                                         << " Anna B" << "a";
    QTest::newRow("controls in the department") << int(ft_teil) << QByteArray("Anna; w; 7; \tb\x1f; -; 1; 2; 0; 0; 0; 1; ")
                                                << "Anna" << "b ";
    QTest::newRow("vertical tab at the department's start") << int(ft_teil) << QByteArray("Anna; w; 7; \x0b" "C; -; 1; 2; 0; 0; 0; 1; ")
                                                            << "Anna" << "C";
    QTest::newRow("DEL in the name and the department") << int(ft_wahl) << QByteArray("Anna\x7f" "Berg; w; 7; \x7f" "a; -; 1; 2; 0; 0; 0; ")
                                                        << "Anna Berg" << "a";
    QTest::newRow("tab in the gender") << int(ft_teil) << QByteArray("Anna; w\t; 7; a; -; 1; 2; 0; 0; 0; 1; ")
                                       << "" << "";
}

void TestDataFile::pupilControlCharactersReadAsBlanks()
{
    // Older files may hold control characters in names and departments:
    // they come in as blanks, and the line is kept.
    QFETCH(int, kind);
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QFETCH(QString, abt);
    QByteArray bytes;
    for (int i = 1; i <= 3; ++i)
        bytes += "S" + QByteArray::number(i) + "; m; 8; b; -; 2; 0; 0; 0; 0; 2; \r\n";
    bytes += line + "\r\n";
    writeBytes(path("ctl.txt"), bytes);
    TScriptedUi ui;
    TOwnedSchuelerData sd;
    TDataFile f(TFileType(kind), path("ctl.txt"));
    QVERIFY(f.OpenRead());
    const int n = f.Read(sd, false);
    f.Close();
    if (name.isEmpty()) {
        QCOMPARE(n, 3);
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)")});
        return;
    }
    QCOMPARE(n, 4);
    QVERIFY(ui.messages.isEmpty());
    const TSchueler* s = sd.getNr(4);
    QCOMPARE(s->name, name);
    QCOMPARE(s->abt, abt);
    QCOMPARE(s->wahl[2], 2);

    // Saved, the file reads back whole.
    QCOMPARE(writeFile(ft_teil, path("ctl.EIN"), sd), 4);
    TOwnedSchuelerData back;
    QCOMPARE(readFile(ft_teil, path("ctl.EIN"), back), 4);
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(pupilLines(back), pupilLines(sd));
}

void TestDataFile::manyBadLinesCapped_data()
{
    QTest::addColumn<int>("bad");
    QTest::addColumn<int>("shown");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("ten") << 10 << 10;
    QTest::newRow("eleven") << 11 << 11;
    QTest::newRow("801") << 801 << 11;
}

void TestDataFile::manyBadLinesCapped()
{
    // Ten line messages, then one that counts the rest; the good lines
    // among and after them are read all the same.
    QFETCH(int, bad);
    QFETCH(int, shown);
    QByteArray bytes;
    for (int i = 0; i < bad; ++i) {
        bytes += "Anna; x; 7; a; -; 1; 2; 0; 0; 0; 0; \r\n";
        if (i % 100 == 0)
            bytes += "Bert; m; 7; a; -; 1; 2; 0; 0; 0; 0; \r\n";
    }
    bytes += "Carl; m; 7; a; -; 1; 2; 0; 0; 0; 0; \r\n";
    writeBytes(path("many.EIN"), bytes);
    TScriptedUi ui;
    TOwnedSchuelerData sd;
    TDataFile f(ft_teil, path("many.EIN"));
    QVERIFY(f.OpenRead());
    const int good = 1 + (bad + 99) / 100;
    QCOMPARE(f.Read(sd, false), good);
    f.Close();
    QCOMPARE(f.ReadComplete(), bad == 0);
    QCOMPARE(int(ui.messages.size()), shown);
    if (bad > 10) {
        QCOMPARE(ui.texts().mid(0, 10), QStringList(QList<QString>(10, QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)"))));
        QCOMPARE(ui.lastText(), QStringLiteral("Weitere %1 fehlerhafte Zeilen wurden übersprungen.").arg(bad - 10));
    }
    // A file that is no text refuses itself.
    writeBytes(path("bin.EIN"), QByteArray("\0\1\2", 3));
    TDataFile b(ft_teil, path("bin.EIN"));
    QVERIFY(b.OpenRead());
    b.Read(sd, false);
    b.Close();
    QVERIFY(!b.ReadComplete());
}

void TestDataFile::readErrorAfterManyBadLines()
{
    // The lines passed over silently are counted also when a read error
    // ends the file; the records read before it stay.
    const QString file = path("fails.PRO");
    QByteArray bytes = "1; A; 1; 13; 0; 0; -; -; \r\n";
    for (int i = 0; i < 12; ++i)
        bytes += "kaputt; \r\n";
    // More than the reader takes at once, so that it reads again.
    bytes += "/" + QByteArray(256 * 1024, 'x') + "\r\n";
    writeBytes(file, bytes);
    TScriptedUi ui;
    int replaced = 0;
    ui.onMessage = [&](const TMessage&) {
        if (ui.messages.size() == 10)
            replaced = failReadsOf(file);
    };
    TOwnedProjektData pd;
    TDataFile f(ft_proj, file);
    QVERIFY(f.OpenRead());
    QString error;
    try {
        f.Read(pd, false);
    } catch (const EInOutError& e) {
        error = e.message();
    }
    f.Close();
    QCOMPARE(replaced, 1);
    QCOMPARE(error, QStringLiteral("Fehler beim Lesen der Datei ") + file);
    QCOMPARE(ui.texts(), QList<QString>(10, kProCount) << QStringLiteral("Weitere 2 fehlerhafte Zeilen wurden nicht gelesen."));
    QCOMPARE(pd.Anz(), 1);   // no project read follows the bad lines: they keep no place
    QCOMPARE(pd.getNr(1)->name, QStringLiteral("A"));
}

void TestDataFile::atMostMaxProjects_data()
{
    QTest::addColumn<int>("before");   // readable project lines
    QTest::addColumn<int>("bad");      // then unreadable ones
    QTest::addColumn<int>("after");    // then readable ones again
    QTest::addColumn<int>("read");
    QTest::addColumn<int>("anz");            // projects in the list, stand-ins counted
    QTest::addColumn<int>("firstNotRead");   // 0: every line read
    QTest::newRow("255") << 255 << 0 << 0 << 255 << 255 << 0;
    QTest::newRow("256") << 256 << 0 << 0 << 255 << 255 << 256;
    QTest::newRow("300") << 300 << 0 << 0 << 255 << 255 << 256;
    QTest::newRow("255, then bad lines") << 255 << 3 << 0 << 255 << 255 << 0;
    QTest::newRow("253, a bad line, one more") << 253 << 1 << 1 << 254 << 255 << 0;
    QTest::newRow("250, 4 bad lines, more") << 250 << 4 << 40 << 251 << 255 << 256;
    // A bad line keeps a place only for a project behind it: where that
    // project has none, the bad lines stand for nothing, and the project's
    // line is the first not read.
    QTest::newRow("254, a bad line, one more") << 254 << 1 << 1 << 254 << 254 << 256;
    QTest::newRow("250, 12 bad lines, more") << 250 << 12 << 40 << 250 << 250 << 263;
    QTest::newRow("300 bad lines, then a project") << 0 << 300 << 1 << 0 << 0 << 301;
}

void TestDataFile::atMostMaxProjects()
{
    // Pupils name projects by numbers up to 255: no file gives more, and
    // the lines after the 255th project are reported, not read.
    QFETCH(int, before);
    QFETCH(int, bad);
    QFETCH(int, after);
    QFETCH(int, read);
    QFETCH(int, anz);
    QFETCH(int, firstNotRead);
    QByteArray bytes;
    for (int i = 1; i <= before; ++i)
        bytes += QByteArray::number(i) + "; P" + QByteArray::number(i) + "; 1; 13; 0; 10; -; -;   0; \r\n";
    for (int i = 0; i < bad; ++i)
        bytes += "kaputt; \r\n";
    for (int i = 1; i <= after; ++i)
        bytes += "1; Q" + QByteArray::number(i) + "; 1; 13; 0; 10; -; -;   0; \r\n";
    writeBytes(path("many.PRO"), bytes);
    TScriptedUi ui;
    TOwnedProjektData pd;
    TDataFile f(ft_proj, path("many.PRO"));
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Read(pd, false), read);
    f.Close();
    QCOMPARE(pd.Anz(), anz);
    QCOMPARE(f.StandInLines().size(), anz - read);
    QCOMPARE(f.ReadComplete(), firstNotRead == 0 && bad == 0);
    QStringList expected = QList<QString>(qMin(bad, 10), kProCount);
    if (bad > 10)
        expected << QStringLiteral("Weitere %1 fehlerhafte Zeilen wurden nicht gelesen.").arg(bad - 10);
    if (firstNotRead)
        expected << QStringLiteral("Es sind höchstens 255 Projekte möglich. Die Zeilen ab Zeile %1 der Datei "
                                   "many.PRO wurden nicht gelesen.").arg(firstNotRead);
    QCOMPARE(ui.texts(), expected);
    if (anz > read) {
        QCOMPARE(pd.getNr(before + 1)->name, QStringLiteral("Zeile %1 nicht lesbar").arg(before + 1));
        QCOMPARE(pd.getNr(before + bad + 1)->name, QStringLiteral("Q1"));
    }
}

void TestDataFile::pupilFileAsProjects()
{
    // A file of which no line is a project line is no project file: one
    // message naming it, however many lines it has, and no project.
    QByteArray bytes = "/ Klasse 7a\r\n";
    for (int i = 1; i <= 400; ++i)
        bytes += "Sch\xfcler " + QByteArray::number(i) + "; w; 7; a; -; 1; 2; 0; 0; 0; 1; \r\n";
    bytes += "\x1a";
    writeBytes(path("7a.EIN"), bytes);
    TScriptedUi ui;
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    TDataFile f(ft_proj, path("7a.EIN"));
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Read(pd, false), 0);
    f.Close();
    QCOMPARE(pd.Anz(), 0);
    QVERIFY(!f.ReadComplete());
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Die Datei 7a.EIN enthält keine Projektzeile und wurde nicht gelesen.")});
}

void TestDataFile::pupilFieldCountPerKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("read");
    QTest::addColumn<bool>("complete");   // the line read whole
    const QByteArray ten = "Anna; w; 7; a; 2; 1; 2; 0; 0; 0; ";
    const QByteArray eleven = "Anna; w; 7; a; 2; 1; 2; 0; 0; 0; 2; ";
    const QByteArray elevenUnassigned = "Anna; w; 7; a; -; 1; 2; 0; 0; 0; 0; ";
    const QByteArray twelve = "Anna; w; 7; a; 2; 1; 2; 0; 0; 0; 2; 0; ";
    QTest::newRow("WAH 10") << int(ft_wahl) << ten << true << true;
    QTest::newRow("WAH 11") << int(ft_wahl) << eleven << true << false;
    QTest::newRow("WAH 11 unassigned") << int(ft_wahl) << elevenUnassigned << true << false;
    QTest::newRow("WAH 12") << int(ft_wahl) << twelve << false << false;
    QTest::newRow("EIN 10") << int(ft_teil) << ten << false << false;
    QTest::newRow("EIN 11") << int(ft_teil) << eleven << true << true;
    QTest::newRow("EIN 12") << int(ft_teil) << twelve << false << false;
}

void TestDataFile::pupilFieldCountPerKind()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, line);
    QFETCH(bool, read);
    QFETCH(bool, complete);
    TScriptedUi ui;
    writeBytes(path("k.txt"), line + "\r\n");
    TOwnedSchuelerData sd;
    TDataFile f(TFileType(kind), path("k.txt"));
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Read(sd, false), read ? 1 : 0);
    f.Close();
    QCOMPARE(f.ReadComplete(), complete);
    QCOMPARE(ui.texts(), read ? QStringList{} : QStringList{kSchCount});
    if (read) {
        const TSchueler* s = sd.getNr(1);
        QCOMPARE(s->zuteil, kind == ft_teil ? 2 : 0);
        QCOMPARE(s->hand, kind == ft_teil ? 2 : -1);
    }
}

void TestDataFile::concatReads()
{
    writeBytes(path("a.WAH"), "A1; w; 7; a; -; 1; 0; 0; 0; 0; \r\nA2; w; 7; a; -; 1; 0; 0; 0; 0; \r\n");
    writeBytes(path("b.WAH"), "B1; w; 7; a; -; 1; 0; 0; 0; 0; \r\nB2; w; 7; a; -; 1; 0; 0; 0; 0; \r\n");
    TOwnedSchuelerData sd;
    sd.ModSaved(QStringLiteral("alt"));
    QCOMPARE(readFile(ft_wahl, path("a.WAH"), sd, false), 2);
    QCOMPARE(readFile(ft_wahl, path("b.WAH"), sd, true), 2);
    QCOMPARE(sd.Anz(), 4);
    QStringList names;
    for (int i = 1; i <= 4; ++i)
        names << sd.getNr(i)->name;
    QCOMPARE(names, (QStringList{"A1", "A2", "B1", "B2"}));
}

void TestDataFile::withoutConcatEmptiesFirst()
{
    writeBytes(path("one.PRO"), "1; Neu; 1; 13; 0; 0; -; -; \r\n");
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    pd.add(new TProjekt(2));
    pd.ModSaved(QStringLiteral("alt.PRO"));
    pd.setModified();
    QCOMPARE(readFile(ft_proj, path("one.PRO"), pd), 1);
    QCOMPARE(pd.Anz(), 1);
    QCOMPARE(pd.getNr(1)->name, QStringLiteral("Neu"));
    QVERIFY(!pd.getModified());
    // with concat a project list keeps number = position
    QCOMPARE(readFile(ft_proj, path("one.PRO"), pd, true), 1);
    QCOMPARE(pd.getNr(2)->nr, 2);
}

void TestDataFile::roundTrip()
{
    TOwnedSchuelerData sd;
    auto* a = new TSchueler;
    a->name = QStringLiteral("Müller-Lüdenscheidt, Ä€ ");
    a->geschl = true;
    a->jgst = 13;
    a->abt = QStringLiteral("h");
    a->wahl[1] = 255;
    a->wahl[3] = 17;
    a->zuteil = 17;
    a->hand = 3;
    sd.add(a);
    auto* b = new TSchueler;   // a fixed pupil: its hand index is not written
    b->name = QStringLiteral(" Anna");
    b->abt = QStringLiteral("  Bio");
    b->fest = true;
    b->hand = 2;
    b->wahl[1] = 1;
    sd.add(b);
    auto* c = new TSchueler;   // new: department a single blank
    sd.add(c);
    auto* d = new TSchueler;
    d->name = QStringLiteral("Zoë");
    d->jgst = 0;
    d->abt = QString();
    d->hand = 0;
    sd.add(d);

    QCOMPARE(writeFile(ft_teil, path("r.EIN"), sd), 4);
    TOwnedSchuelerData back;
    TScriptedUi ui;
    QCOMPARE(readFile(ft_teil, path("r.EIN"), back), 4);
    QVERIFY(ui.messages.isEmpty());

    const TSchueler* a2 = back.getNr(1);
    QCOMPARE(a2->name, a->name);
    QCOMPARE(a2->geschl, true);
    QCOMPARE(a2->jgst, 13);
    QCOMPARE(a2->abt, QStringLiteral("h"));
    for (int r = 1; r <= 5; ++r)
        QCOMPARE(a2->wahl[r], a->wahl[r]);
    QCOMPARE(a2->zuteil, 17);
    QCOMPARE(a2->hand, 3);
    QVERIFY(!a2->fest);

    const TSchueler* b2 = back.getNr(2);
    QCOMPARE(b2->name, QStringLiteral(" Anna"));   // the first field keeps its blanks
    QCOMPARE(b2->abt, QStringLiteral("Bio"));      // a later one loses them
    QVERIFY(b2->fest);
    QCOMPARE(b2->hand, -1);

    QCOMPARE(back.getNr(3)->abt, QString());
    QCOMPARE(back.getNr(4)->name, QStringLiteral("Zoë"));
    QCOMPARE(back.getNr(4)->hand, 0);

    // written again, the file is the same
    QCOMPARE(writeFile(ft_teil, path("r2.EIN"), back), 4);
    TOwnedSchuelerData again;
    readFile(ft_teil, path("r2.EIN"), again);
    QCOMPARE(pupilLines(again), pupilLines(back));
}

void TestDataFile::everyByteRoundTrips()
{
    // every byte a name can carry: all but the control characters and ";"
    QByteArray bytes("N");
    for (int b = 0x20; b < 256; ++b)
        if (b != ';' && b != 0x7f)
            bytes.append(char(b));
    TOwnedSchuelerData sd;
    auto* s = new TSchueler;
    s->name = Ansi::decode(bytes);
    s->abt = QStringLiteral("A") + Ansi::decode(bytes);
    sd.add(s);
    QVERIFY(FitsZeile(s->name));
    QCOMPARE(writeFile(ft_teil, path("bytes.EIN"), sd), 1);
    QVERIFY(readBytes(path("bytes.EIN")).startsWith(bytes + "; w; 0; A" + bytes + "; "));
    TOwnedSchuelerData back;
    QCOMPARE(readFile(ft_teil, path("bytes.EIN"), back), 1);
    QCOMPARE(back.getNr(1)->name, s->name);
    QCOMPARE(back.getNr(1)->abt, s->abt);
}

void TestDataFile::assignmentFileAsChoicesFile()
{
    writeBytes(path("x.EIN"), "Anna; w; 7; a; 3; 1; 2; 4; 0; 0; 4; \r\nBert; m; 8; b; F; 2; 0; 0; 0; 0; 2; \r\n");
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_wahl, path("x.EIN"), sd), 2);
    for (int i = 1; i <= 2; ++i) {
        QCOMPARE(sd.getNr(i)->zuteil, 0);
        QCOMPARE(sd.getNr(i)->hand, -1);
    }
    QVERIFY(sd.getNr(2)->fest);
    QCOMPARE(sd.getNr(1)->wahl[3], 4);
}

void TestDataFile::writesCrLf()
{
    TOwnedProjektData pd;
    auto* p = new TProjekt(1);
    p->name = QStringLiteral("Töpfern €");
    pd.add(p);
    pd.add(new TProjekt(2));
    QCOMPARE(writeFile(ft_proj, path("w.PRO"), pd), 2);
    QCOMPARE(readBytes(path("w.PRO")),
             QByteArray("1; T\xf6pfern \x80; 1; 13; 0; 1000; -; -;   0; \r\n2; ; 1; 13; 0; 1000; -; -;   0; \r\n"));
}

void TestDataFile::writeEmpty()
{
    TOwnedSchuelerData sd;
    QCOMPARE(writeFile(ft_teil, path("empty.EIN"), sd), 0);
    QVERIFY(QFile::exists(path("empty.EIN")));
    QCOMPARE(readBytes(path("empty.EIN")), QByteArray());
}

void TestDataFile::notOpen()
{
    writeBytes(path("n.PRO"), "1; A; 1; 13; 0; 0; -; -; \r\n");
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    TDataFile f(ft_proj, path("n.PRO"));
    QCOMPARE(f.Read(pd, false), -1);
    QCOMPARE(pd.Anz(), 1);
    QCOMPARE(f.Write(pd), -1);
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Write(pd), -1);
    f.Close();
}

void TestDataFile::missingAndUnopenable()
{
    TDataFile missing(ft_proj, path("nichtda.PRO"));
    QVERIFY(!missing.OpenRead());
    QCOMPARE(missing.getMode(), fm_closed);

    TDataFile dir(ft_proj, FDir.path());
    QVERIFY(!dir.OpenRead());
    QVERIFY(!dir.OpenWrite());

    TDataFile device(ft_wahl, QStringLiteral("/dev/zero"));   // would never end
    QVERIFY(!device.OpenRead());

    TDataFile noDir(ft_teil, path("gibtsnicht/x.EIN"));
    QVERIFY(!noDir.OpenWrite());
    QCOMPARE(noDir.getMode(), fm_closed);

    writeBytes(path("locked.PRO"), "1; A; 1; 13; 0; 0; -; -; \r\n");
    QFile::setPermissions(path("locked.PRO"), QFileDevice::Permissions());
    if (::geteuid() != 0) {   // root reads every file
        TDataFile locked(ft_proj, path("locked.PRO"));
        QVERIFY(!locked.OpenRead());
    }
}

void TestDataFile::unclosedWriteKeepsOldFile()
{
    writeBytes(path("keep.PRO"), "alt\r\n");
    TOwnedProjektData pd;
    pd.add(new TProjekt(1));
    {
        TDataFile f(ft_proj, path("keep.PRO"));
        QVERIFY(f.OpenWrite());
        QCOMPARE(f.Write(pd), 1);
        QCOMPARE(readBytes(path("keep.PRO")), QByteArray("alt\r\n"));   // nothing replaced before Close
    }
    QCOMPARE(readBytes(path("keep.PRO")), QByteArray("alt\r\n"));
    QCOMPARE(writeFile(ft_proj, path("keep.PRO"), pd), 1);
    QVERIFY(readBytes(path("keep.PRO")).startsWith("1; ; 1; 13"));
}

void TestDataFile::failedCommitIsReported()
{
    QTemporaryDir sub;
    const QString target = sub.filePath(QStringLiteral("gone.EIN"));
    TOwnedSchuelerData sd;
    sd.add(pupil(QStringLiteral("A; m; 7; a; -; 1; 0; 0; 0; 0; 0; ")));
    TDataFile f(ft_teil, target);
    QVERIFY(f.OpenWrite());
    QCOMPARE(f.Write(sd), 1);
    QVERIFY(QDir(sub.path()).removeRecursively());   // the file cannot be put in place
    try {
        f.Close();
        QFAIL("no error raised");
    } catch (const EInOutError& e) {
        QCOMPARE(e.message(), QStringLiteral("Fehler beim Schreiben der Datei ") + target + becauseOf(ENOENT));
    }
    QCOMPARE(f.getMode(), fm_closed);
    QVERIFY(!QFile::exists(target));
}

void TestDataFile::nulByteSkipsItsLine_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("bad");   // the line with the NUL
    QTest::addColumn<int>("standIns");     // projects standing in for it
    QTest::addColumn<bool>("last");        // the line ends the file
    const QByteArray pupil("Anna; w; 7; a; -; 1; 0; 0; 0; 0; 0; ");
    const QByteArray project("1; Theater; 5; 10; 8; 20; -; -;   0; ");
    const auto withNul = [](QByteArray line) {
        line[4] = '\0';
        return line;
    };
    QTest::newRow("pupils") << int(ft_teil) << pupil << withNul(pupil) << 0 << false;
    QTest::newRow("projects") << int(ft_proj) << project << withNul(project) << 1 << false;
    // a comment was no project: nothing keeps its place
    QTest::newRow("a comment among projects") << int(ft_proj) << project << withNul("/ Kommentar") << 0 << false;
    // no project follows: no number depends on the line
    QTest::newRow("the last project line") << int(ft_proj) << project << withNul(project) << 0 << true;
}

void TestDataFile::nulByteSkipsItsLine()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, bad);
    QFETCH(int, standIns);
    QFETCH(bool, last);
    TScriptedUi ui;
    // The NUL lies beyond the first 4 KiB, so the file still counts as text.
    QByteArray bytes;
    for (int i = 0; i < 120; ++i)
        bytes += line + "\r\n";
    bytes += bad + "\r\n";
    if (!last)
        bytes += line + "\r\n";
    QVERIFY(bytes.indexOf('\0') > 4096);
    writeBytes(path("nul.txt"), bytes);
    TOwnedProjektData pd;
    TOwnedSchuelerData sd;
    TData& list = kind == ft_proj ? static_cast<TData&>(pd) : sd;
    const int read = last ? 120 : 121;
    QCOMPARE(readFile(TFileType(kind), path("nul.txt"), list), read);
    // A project line is not skipped: it keeps its place, or no place.
    const QString fate = kind == ft_proj ? QStringLiteral("nicht gelesen") : QStringLiteral("übersprungen");
    QCOMPARE(ui.texts(),
             QStringList{QStringLiteral("Zeile 121 der Datei nul.txt enthält ein Nullbyte und wurde %1.").arg(fate)});
    QCOMPARE(list.Anz(), read + standIns);
    if (standIns > 0) {
        // the project line keeps its place
        QCOMPARE(pd.getNr(121)->name, QStringLiteral("Zeile 121 nicht lesbar"));
        QVERIFY(pd.getNr(121)->gesp);
        QCOMPARE(pd.getNr(122)->nr, 122);
    }
}

void TestDataFile::binaryFile()
{
    QRandomGenerator rng(42);
    QByteArray junk;
    for (int i = 0; i < 300000; ++i)
        junk.append(char(rng.bounded(256)));
    junk[100] = '\0';
    writeBytes(path("junk.PRO"), junk);
    TScriptedUi ui;
    TOwnedProjektData pd;
    const int n = readFile(ft_proj, path("junk.PRO"), pd);
    QCOMPARE(n, 0);
    QCOMPARE(pd.Anz(), 0);
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Die Datei junk.PRO ist keine Textdatei.")});
}

void TestDataFile::binaryMessageKeepsPercentName()
{
    const QString file = path(QStringLiteral("Klasse%2.EIN"));
    writeBytes(file, QByteArray("Be\0rt; m; 7; a; -; 1; 0; 0; 0; 0; 0; \r\n", 39));
    TScriptedUi ui;
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_teil, file, sd), 0);
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Die Datei Klasse%2.EIN ist keine Textdatei.")});
}

void TestDataFile::veryLongLine()
{
    TScriptedUi ui;
    QByteArray line(4 * 1024 * 1024, 'x');
    line += "; ";
    writeBytes(path("long.WAH"), line + "\r\nAnna; w; 7; a; -; 1; 0; 0; 0; 0; \r\n");
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_wahl, path("long.WAH"), sd), 1);
    QCOMPARE(ui.texts(), QStringList{kSchCount});

    // a long name is kept whole
    QByteArray name(100000, 'n');
    writeBytes(path("longname.WAH"), name + "; w; 7; a; -; 1; 0; 0; 0; 0; \r\n");
    QCOMPARE(readFile(ft_wahl, path("longname.WAH"), sd), 1);
    QCOMPARE(sd.getNr(1)->name.size(), 100000);
}

void TestDataFile::wrongListKind()
{
    writeBytes(path("k.PRO"), "1; A; 1; 13; 0; 0; -; -; \r\n");
    TOwnedSchuelerData sd;
    TDataFile f(ft_proj, path("k.PRO"));
    QVERIFY(f.OpenRead());
    QVERIFY_THROWS_EXCEPTION(Exception, f.Read(sd, false));
    f.Close();
}

void TestDataFile::readThenCountEint()
{
    writeBytes(path("c.PRO"), "1; A; 1; 13; 0; 1; -; -; \r\n2; B; 1; 13; 0; 1; -; -; \r\n");
    writeBytes(path("c.EIN"), "S1; w; 7; a; -; 1; 0; 0; 0; 0; 2; \r\nS2; w; 7; a; -; 1; 0; 0; 0; 0; 2; \r\n"
                              "S3; w; 7; a; -; 1; 0; 0; 0; 0; 0; \r\n");
    TOwnedProjektData pd;
    TOwnedSchuelerData sd;
    QCOMPARE(readFile(ft_proj, path("c.PRO"), pd), 2);
    QCOMPARE(readFile(ft_teil, path("c.EIN"), sd), 3);
    CountEint(sd, pd);
    QCOMPARE(pd.getNr0()->Anz(), 1);
    QCOMPARE(pd.getNr(1)->Anz(), 0);
    QCOMPARE(pd.getNr(2)->Anz(), 2);
    TMemoryGrid grid(4, 1);
    pd.toOverview(grid);
    QCOMPARE(grid.cell(3, 3), QStringLiteral("+1"));
    // an emptied choices file: counts go to 0
    writeBytes(path("leer.WAH"), "");
    QCOMPARE(readFile(ft_wahl, path("leer.WAH"), sd), 0);
    CountEint(sd, pd);
    QCOMPARE(pd.getNr(2)->Anz(), 0);
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"

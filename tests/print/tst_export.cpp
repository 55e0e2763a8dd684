#include "data/UData.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include "platform/UAnsiText.h"
#include "platform/URecordingPrinter.h"
#include "tests/support/UScriptedUi.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Esc(QChar(27));
const QString Tab(QChar(9));
const QString Cr(QChar(13));
const QString Ff(QChar(12));

TProjekt* AddProjekt(const QString& name, int jgmin, int jgmax, int tmin, int tmax, bool weib,
                     bool maenn, bool gesp)
{
    auto* p = new TProjekt(ProjektData->Anz() + 1);
    p->name = name;
    p->jgmin = jgmin;
    p->jgmax = jgmax;
    p->teilnmin = tmin;
    p->teilnmax = tmax;
    p->weib = weib;
    p->maenn = maenn;
    p->gesp = gesp;
    ProjektData->add(p);
    return p;
}

TSchueler* AddSchueler(TSchuelerData& list, const QString& name, bool boy, int jgst, const QString& abt,
                       QList<int> wahl, int zuteil)
{
    auto* s = new TSchueler;
    s->name = name;
    s->geschl = boy;
    s->jgst = jgst;
    s->abt = abt;
    for (int r = 1; r <= 5; ++r)
        s->wahl[r] = r <= wahl.size() ? wahl[r - 1] : 0;
    s->zuteil = zuteil;
    list.add(s);
    return s;
}

// The small fixture: three projects (one closed), four pupils (one not
// assigned), Windows and DOS umlauts, markup characters in names.
void FillFixture(TSchuelerData& pupils)
{
    AddProjekt(QStringLiteral("Theater"), 5, 10, 8, 20, true, true, false);
    AddProjekt(QStringLiteral("Töpfern"), 7, 13, 5, 12, true, false, true);
    AddProjekt(QStringLiteral("Schach <&> Go"), 1, 13, 0, 1000, false, true, false);
    AddSchueler(pupils, QStringLiteral("Öztürk, Lena"), false, 5, QStringLiteral("a"), {1, 2}, 1);
    // Read from a DOS text: byte 0x81 is the DOS "ü".
    AddSchueler(pupils, Ansi::decode("M\x81ller, Jan"), true, 5, QStringLiteral("a"), {3, 1}, 3);
    AddSchueler(pupils, QStringLiteral("Tom <&> Jerry"), true, 7, QStringLiteral("b"), {1, 3, 2}, 1);
    AddSchueler(pupils, QStringLiteral("Ärger, Änne"), false, 7, QStringLiteral("b"), {2}, 0);
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Lines(const QByteArray& bytes)
{
    return Ansi::decode(bytes).split(QStringLiteral("\r\n"));
}

// The recording as text: page, x, y, font (H bold heading, S standard), text.
QByteArray RecordingDump(const TRecordingPrinter& rec)
{
    QString out;
    for (const auto& [page, t] : rec.allTexts())
        out += QStringLiteral("%1 %2 %3 %4 %5\r\n")
                   .arg(page).arg(t.x).arg(t.y).arg(QLatin1String(t.font.bold ? "H" : "S"), t.text);
    return Ansi::encode(out);
}

QStringList HeadingLines(const QString& path)
{
    QStringList out;
    for (const QString& l : Lines(ReadBytes(path)))
        if (l.startsWith(QLatin1String("*** ")))
            out.append(l);
    return out;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private:
    TFontSpec heading{QStringLiteral("Arial"), 12, true};
    TFontSpec standard{QStringLiteral("Arial"), 10};
    TSchuelerData pupils;
    QTemporaryDir tmp;

    QString path(const QString& name) const { return tmp.filePath(name); }

private slots:
    void cleanup()
    {
        pupils.ClearData();
        ProjektData->ClearData();
    }

    void writesEveryFormat_data()
    {
        QTest::addColumn<bool>("ofPupils");
        QTest::addColumn<int>("crit");
        QTest::addColumn<int>("ext");
        QTest::addColumn<bool>("voll");
        QTest::addColumn<QString>("expected");
        QTest::newRow("projects space") << false << 0 << int(exSpace) << false << "projekte_space.txt";
        QTest::newRow("projects tab") << false << 0 << int(exTab) << false << "projekte_tab.txt";
        QTest::newRow("projects html") << false << 0 << int(exHtml) << false << "projekte.html";
        QTest::newRow("projects print") << false << 0 << int(exPrint) << false << "projekte_print.txt";
        QTest::newRow("by project space") << true << int(sc_P_N) << int(exSpace) << true
                                          << "schueler_projekt_space.txt";
        QTest::newRow("by project tab") << true << int(sc_P_N) << int(exTab) << true
                                        << "schueler_projekt_tab.txt";
        QTest::newRow("by project html") << true << int(sc_P_N) << int(exHtml) << true
                                         << "schueler_projekt.html";
        QTest::newRow("by project print") << true << int(sc_P_N) << int(exPrint) << true
                                          << "schueler_projekt_print.txt";
        QTest::newRow("by class space") << true << int(sc_Kl_N) << int(exSpace) << false
                                        << "schueler_klasse_space.txt";
        QTest::newRow("by class tab") << true << int(sc_Kl_N) << int(exTab) << false
                                      << "schueler_klasse_tab.txt";
        QTest::newRow("by class html") << true << int(sc_Kl_N) << int(exHtml) << false
                                       << "schueler_klasse.html";
    }
    void writesEveryFormat()
    {
        QFETCH(bool, ofPupils);
        QFETCH(int, crit);
        QFETCH(int, ext);
        QFETCH(bool, voll);
        QFETCH(QString, expected);
        TScriptedUi ui;
        TRecordingPrinter rec;
        FillFixture(pupils);
        if (ofPupils)
            pupils.Sort(TSortCritType(crit));
        TData& data = ofPupils ? static_cast<TData&>(pupils) : static_cast<TData&>(*ProjektData);
        data.SetPrintFonts(&heading, &standard, 1.0, true);

        const QString out = path(expected);
        const int n = data.ExportData(out, TExpFormat(ext), voll);
        QCOMPARE(n, data.Anz());

        QByteArray written;
        if (ext == exPrint) {
            QVERIFY(!QFile::exists(out));   // the name is not used for printing
            QCOMPARE(rec.documentsEnded, 1);
            QCOMPARE(ui.texts(), QStringList{QStringLiteral("Druckauftrag abgesendet.")});
            written = RecordingDump(rec);
        } else {
            QVERIFY(ui.messages.isEmpty());
            written = ReadBytes(out);
        }
        const QByteArray wanted = ReadBytes(QStringLiteral(KESTRIN_EXPECTED_DIR "/") + expected);
        QCOMPARE(Lines(written), Lines(wanted));
        QCOMPARE(written, wanted);
    }

    void emptyContainerWritesTheHeaderAlone_data()
    {
        QTest::addColumn<bool>("ofPupils");
        QTest::addColumn<int>("ext");
        QTest::addColumn<QStringList>("lines");
        const QString text = QStringLiteral("**** zuv Projekttags-Schülereinteilung ****");
        QTest::newRow("projects text") << false << int(exSpace) << QStringList{text, QString()};
        QTest::newRow("pupils tab") << true << int(exTab) << QStringList{text, QString()};
        QTest::newRow("pupils html") << true << int(exHtml) << QStringList{};
    }
    void emptyContainerWritesTheHeaderAlone()
    {
        QFETCH(bool, ofPupils);
        QFETCH(int, ext);
        QFETCH(QStringList, lines);
        pupils.Sort(sc_Kl_N);
        TData& data = ofPupils ? static_cast<TData&>(pupils) : static_cast<TData&>(*ProjektData);
        QCOMPARE(data.ExportData(path("leer"), TExpFormat(ext), false), 0);
        const QStringList got = Lines(ReadBytes(path("leer")));
        if (ext == exHtml) {
            QCOMPARE(got.size(), 10 + 4 + 1);
            QCOMPARE(got[3], QStringLiteral("    <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">"));
            QCOMPARE(got[9], QStringLiteral("<HR>"));
            QCOMPARE(got.mid(10), (QStringList{"</TABLE>", "", "</BODY>", "</HTML>", ""}));
        } else {
            QCOMPARE(got, lines);
        }
    }

    void emptyPrintOutIsOnePageWithTheTitle()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        pupils.Sort(sc_P_N);
        pupils.SetPrintFonts(&heading, &standard, 1.0, false);
        QCOMPARE(pupils.ExportData(QString(), exPrint, true), 0);
        QCOMPARE(rec.pages.size(), 1);
        QCOMPARE(rec.pageTexts(1), QStringList{QStringLiteral("zuv Schülereinteilung")});
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Druckauftrag abgesendet.")});
    }

    void opensCategories_data()
    {
        QTest::addColumn<int>("crit");
        QTest::addColumn<QStringList>("names");   // name/grade/department
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("classes 5a 5a 5b") << int(sc_Kl_N) << QStringList{"A/5/a", "B/5/a", "C/5/b"}
                                          << QStringList{"*** Klasse  5a ***", "*** Klasse  5b ***"};
        // One class, as the sort groups it, under its first pupil's text.
        QTest::newRow("a and A") << int(sc_Kl_N) << QStringList{"Anna/5/a", "Bert/5/A", "Carl/5/a"}
                                 << QStringList{"*** Klasse  5a ***"};
        QTest::newRow("grade 10") << int(sc_Kl_N) << QStringList{"A/10/c", "B/9/c"}
                                  << QStringList{"*** Klasse  9c ***", "*** Klasse 10c ***"};
        QTest::newRow("names") << int(sc_N) << QStringList{"Bert/5/a", "/5/a", "Anton/5/a", "Anna/6/b"}
                               << QStringList{"***  ***", "*** A ***", "*** B ***"};
        QTest::newRow("not sorted") << int(sc_NotSorted) << QStringList{"Zora/5/a", "Anna/6/b"}
                                    << QStringList{"*** Z ***"};
    }
    void opensCategories()
    {
        QFETCH(int, crit);
        QFETCH(QStringList, names);
        QFETCH(QStringList, headings);
        for (const QString& n : names) {
            const QStringList f = n.split(u'/');
            AddSchueler(pupils, f[0], false, f[1].toInt(), f[2], {}, 0);
        }
        if (crit != sc_NotSorted)
            pupils.Sort(TSortCritType(crit));
        QCOMPARE(pupils.ExportData(path("kat.txt"), exSpace, false), names.size());
        QCOMPARE(HeadingLines(path("kat.txt")), headings);
    }

    void projectLineColumns_data()
    {
        QTest::addColumn<bool>("weib");
        QTest::addColumn<bool>("maenn");
        QTest::addColumn<bool>("gesp");
        QTest::addColumn<QString>("tail");   // after the grade range, "|" a separator
        QTest::newRow("both open") << true << true << false << "|||";
        QTest::newRow("both closed") << true << true << true << "||gesperrt";
        QTest::newRow("girls") << true << false << false << "|nur weibl||";
        QTest::newRow("boys closed") << false << true << true << "|nur maennl|gesperrt";
        QTest::newRow("nobody") << false << false << false << "|nur fest||";
    }
    void projectLineColumns()
    {
        QFETCH(bool, weib);
        QFETCH(bool, maenn);
        QFETCH(bool, gesp);
        QFETCH(QString, tail);
        TProjekt* p = AddProjekt(QStringLiteral("X"), 3, 13, 0, 1000, weib, maenn, gesp);
        QString line = p->ToExportZeil(sc_NotSorted, exSpace, true);
        QVERIFY(line.startsWith(QLatin1String("  1  X    0--1000    3-- 13")));
        QCOMPARE(line.mid(27).replace(QLatin1String("  "), QLatin1String("|")), tail);
        // In the print format every separator is a tab token.
        QCOMPARE(p->ToExportZeil(sc_NotSorted, exPrint, false).count(Esc + Tab + Esc),
                 3 + tail.count(u'|'));
    }

    void pupilLinesAndHeadingsForPrint()
    {
        AddProjekt(QStringLiteral("Theater"), 5, 10, 8, 20, true, true, false);
        TSchueler* s = AddSchueler(pupils, QStringLiteral("Eva"), false, 6, QStringLiteral("c"), {1, 0, 12}, 1);
        QCOMPARE(s->ToExportZeil(sc_P_N, exPrint, true),
                 "Eva" + Esc + Tab + Esc + " 6c" + Esc + Tab + Esc + "1" + Esc + Tab + Esc
                     + "  1,   0,  12,   0,   0");
        QCOMPARE(s->ToExportZeil(sc_P_N, exPrint, false), "Eva" + Esc + Tab + Esc + " 6c" + Esc + Tab + Esc + "1");
        const QString body = Esc + Cr + Esc + Esc + "FH" + Esc + "Projekt 1: Theater (8-20 Teiln., Kl 5-10)"
                             + Esc + Cr + Esc + Esc + "FS" + Esc;
        QCOMPARE(s->ExportCatHeading(sc_P_N, exPrint, true), body);
        QCOMPARE(s->ExportCatHeading(sc_P_N, exPrint, false), Esc + Ff + Esc + body);
        QCOMPARE(s->ExportCatHeading(sc_Kl_N, exTab, false), QStringLiteral("\r\n*** Klasse  6c ***\r\n"));
        QCOMPARE(ProjektData->getNr(1)->ExportCatHeading(sc_NotSorted, exPrint, true),
                 Esc + "FH" + Esc + "Nr" + Esc + Tab + Esc + "Name" + Esc + Tab + Esc + "Teilnehmer" + Esc
                     + Tab + Esc + "Klassen" + Esc + Tab + Esc + "mw" + Esc + Tab + Esc + "gesperrt" + Esc
                     + Cr + Esc + Esc + "FS" + Esc + Esc + "T0643607588" + Esc);
    }

    void comparesWithTheCategoryOpener()
    {
        TSchueler a, b;
        a.name = QStringLiteral("Anna");
        b.name = QStringLiteral("anna");
        a.jgst = b.jgst = 5;
        a.abt = QStringLiteral("a");
        b.abt = QStringLiteral("A");
        QVERIFY(!a.ExportCatDiffers(sc_Kl_N, b));   // one class, whatever the case
        QVERIFY(a.ExportCatDiffers(sc_N, b));
        QVERIFY(!a.ExportCatDiffers(sc_P_N, b));
        // a number the project list does not hold is in project 0's category
        b.zuteil = 2;
        QVERIFY(!a.ExportCatDiffers(sc_P_Kl, b));
        AddProjekt(QStringLiteral("Theater"), 5, 10, 8, 20, true, true, false);
        AddProjekt(QStringLiteral("Chor"), 5, 10, 8, 20, true, true, false);
        QVERIFY(a.ExportCatDiffers(sc_P_Kl, b));
        b.abt = QStringLiteral("b");
        QVERIFY(a.ExportCatDiffers(sc_Kl_N, b));
        // a department of one blank is none
        a.abt = QStringLiteral(" ");
        b.abt = QString();
        QVERIFY(!a.ExportCatDiffers(sc_Kl_N, b));
        b.jgst = 6;
        QVERIFY(a.ExportCatDiffers(sc_Kl_N, b));
    }

    void breaksLongListsOverPages()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        AddProjekt(QStringLiteral("Chor"), 1, 13, 0, 1000, true, true, false);
        for (int i = 1; i <= 100; ++i)
            AddSchueler(pupils, QStringLiteral("Kind %1").arg(i, 3, 10, QLatin1Char('0')), false, 5,
                        QStringLiteral("a"), {1}, 1);
        pupils.Sort(sc_P_N);
        pupils.SetPrintFonts(&heading, &standard, 1.0, true);
        pupils.ExportData(QString(), exPrint, false);
        QCOMPARE(rec.pages.size(), 2);
        // Title, empty line, heading, empty line: the first pupil at 383;
        // 68 pupils fill the body of 5984, the 69th opens page 2.
        const QStringList one = rec.pageTexts(1);
        QCOMPARE(one.mid(0, 3), (QStringList{"zuv Schülereinteilung", "Projekt 1: Chor (0-1000 Teiln., Kl 1-13)",
                                             "Kind 001"}));
        QCOMPARE(rec.pages[0].texts[2].y, 413 + 383);
        QCOMPARE(one.filter(QStringLiteral("Kind ")).size(), 68);
        QCOMPARE(one.last(), QStringLiteral("- 1 -"));
        QCOMPARE(rec.pageTexts(2).first(), QStringLiteral("Kind 069"));
        QCOMPARE(rec.pages[1].texts[0].y, 413);
        QCOMPARE(rec.pageTexts(2).last(), QStringLiteral("- 2 -"));
    }

    void staleProjectNumberStandsOnProjectZero()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        FillFixture(pupils);
        AddSchueler(pupils, QStringLiteral("Zoe"), false, 5, QStringLiteral("a"), {9}, 9);   // project gone
        pupils.Sort(sc_P_N);
        pupils.SetPrintFonts(&heading, &standard, 1.0, true);

        // Sorted and headed with the unassigned pupil, its number as it stands.
        QVERIFY(pupils.getNr(1)->zuteil == 9 || pupils.getNr(2)->zuteil == 9);
        QCOMPARE(pupils.ExportData(path("alt.txt"), exSpace, true), 5);
        const QStringList lines = Lines(ReadBytes(path("alt.txt")));
        QCOMPARE(HeadingLines(path("alt.txt")).count(QStringLiteral("*** Nicht/ungültig gewählt ***")), 1);
        QCOMPARE(lines.at(2), QStringLiteral("*** Nicht/ungültig gewählt ***"));
        QVERIFY(lines.mid(4, 2).contains(QStringLiteral("Zoe   5a  9    9,   0,   0,   0,   0")));

        QCOMPARE(pupils.ExportData(QString(), exPrint, true), 5);
        QCOMPARE(rec.documentsEnded, 1);
        QCOMPARE(rec.documentsAborted, 0);
        QVERIFY(rec.pageTexts(1).contains(QStringLiteral("Zoe")));
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Druckauftrag abgesendet.")});
    }

    void fileThatCannotBeCreatedRaises()
    {
        FillFixture(pupils);
        pupils.Sort(sc_N);
        const QString out = path("fehlt/liste.txt");
        QVERIFY_THROWS_EXCEPTION(EInOutError, pupils.ExportData(out, exSpace, false));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(pupils.ExportData(path("da.txt"), exSpace, false), 4);
    }

    void printerThatRefusesRaises_data()
    {
        QTest::addColumn<bool>("atBegin");
        QTest::newRow("begin") << true;
        QTest::newRow("end") << false;
    }
    void printerThatRefusesRaises()
    {
        QFETCH(bool, atBegin);
        TScriptedUi ui;
        TRecordingPrinter rec;
        rec.refuseBegin = atBegin;
        rec.failEnd = !atBegin;
        FillFixture(pupils);
        ProjektData->SetPrintFonts(&heading, &standard, 1.0, true);
        QVERIFY_THROWS_EXCEPTION(EPrinterError, ProjektData->ExportData(QString(), exPrint, false));
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(rec.documentsEnded, 0);
        QVERIFY(!rec.printing());
        rec.refuseBegin = rec.failEnd = false;
        QCOMPARE(ProjektData->ExportData(QString(), exPrint, false), 3);
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Druckauftrag abgesendet.")});
    }

    void missingFontsPrintInTheDefaultFont()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        FillFixture(pupils);
        ProjektData->SetPrintFonts(nullptr, nullptr, 1.0, false);
        ProjektData->ExportData(QString(), exPrint, false);
        QVERIFY(!rec.fontChanges.isEmpty());
        for (const TFontSpec& f : rec.fontChanges)
            QCOMPARE(f, TFontSpec());
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"

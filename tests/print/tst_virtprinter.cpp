#include "print/UVirtPrinter.h"

#include "platform/URecordingPrinter.h"
#include "tests/support/UScriptedUi.h"

#include <QtTest>

#include <memory>

namespace {

const QString Esc(QChar(27));
const QString Tab(QChar(9));
const QString Cr(QChar(13));
const QString Ff(QChar(12));

QString Ctl(const QString& token)
{
    return Esc + token + Esc;
}

// "x,y text" for every text of a page, in drawing order.
QStringList Placed(const TRecordingPrinter& rec, int page)
{
    QStringList out;
    for (const TPrintedText& t : rec.pages.at(page - 1).texts)
        out.append(QStringLiteral("%1,%2 %3").arg(t.x).arg(t.y).arg(t.text));
    return out;
}

} // namespace

class TestVirtPrinter : public QObject {
    Q_OBJECT

private:
    TFontSpec heading{QStringLiteral("Times New Roman"), 14, true};
    TFontSpec standard{QStringLiteral("Arial"), 10};

    std::unique_ptr<TVirtPrinter> job(double spacing = 1.0, bool footer = false)
    {
        return std::make_unique<TVirtPrinter>(&heading, &standard, spacing, footer);
    }

private slots:
    void roundsHalfToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("124.5") << 124.5 << 124;
        QTest::newRow("5983.5") << 5983.5 << 5984;
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("-2.6") << -2.6 << -3;
        QTest::newRow("2.49") << 2.49 << 2;
        QTest::newRow("2.51") << 2.51 << 3;
        QTest::newRow("7") << 7.0 << 7;
    }
    void roundsHalfToEven()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(RoundHalfEven(value), rounded);
    }

    void laysOutTheA4Page()
    {
        TRecordingPrinter rec;
        auto p = job();
        QCOMPARE(rec.title, QStringLiteral("ZUV Projekt/Schülerlisten"));
        QCOMPARE(p->leftMargin(), 413);
        QCOMPARE(p->topMargin(), 413);
        QCOMPARE(p->width(), 4134);
        QCOMPARE(p->height(), 5984);   // 7016 - 1032.5, the half to even
        const int defaults[] = {5, 10, 15, 20, 25, 30, 35, 40, 45, 50,
                                55, 60, 65, 70, 75, 80, 85, 90, 95, 99};
        for (int i = 1; i <= 20; ++i)
            QCOMPARE(p->tab(i), defaults[i - 1]);
        QVERIFY(rec.fontChanges.isEmpty());   // no font until the first "F"
    }

    void printsPlainAndEmptyLines()
    {
        TRecordingPrinter rec;
        auto p = job();
        p->PrintLine(QStringLiteral("Anna Müller"));
        p->PrintLine(QString());
        p->PrintLine(QStringLiteral("x") + Esc);   // ends with an empty control token
        p->PrintLine(QStringLiteral("y"));
        QCOMPARE(Placed(rec, 1), (QStringList{QStringLiteral("413,413 Anna Müller"),
                                              QStringLiteral("413,579 x"),
                                              QStringLiteral("413,662 y")}));
        QCOMPARE(p->posY(), 4 * 83);
    }

    void advancesBySpacingRounded()
    {
        TRecordingPrinter rec;
        auto p = job(1.5);
        p->PrintLine(QStringLiteral("a"));
        QCOMPARE(p->posY(), 124);   // 83 * 1.5 = 124.5
        p->PrintLine(QStringLiteral("b"));
        QCOMPARE(p->posY(), 248);
    }

    void selectsFonts_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("face");
        QTest::newRow("FH") << "FH" << "Times New Roman";
        QTest::newRow("Fh") << "Fh" << "Arial";
        QTest::newRow("F") << "F" << "Arial";
        QTest::newRow("FS") << "FS" << "Arial";
        QTest::newRow("FHx") << "FHx" << "Arial";
    }
    void selectsFonts()
    {
        QFETCH(QString, token);
        QFETCH(QString, face);
        standard.name = QStringLiteral("Courier New");
        TRecordingPrinter rec;
        auto p = job();
        p->PrintLine(Ctl(QStringLiteral("FH")) + Ctl(token) + QStringLiteral("t"));
        QCOMPARE(rec.pages[0].texts.size(), 1);
        const QString expected = face == QLatin1String("Arial") ? QStringLiteral("Courier New") : face;
        QCOMPARE(rec.pages[0].texts[0].font.name, expected);
        standard.name = QStringLiteral("Arial");
    }

    void ignoresUnknownControls()
    {
        TRecordingPrinter rec;
        auto p = job();
        p->PrintLine(QStringLiteral("a") + Ctl(QStringLiteral("H")) + QStringLiteral("b")
                     + Ctl(Tab + Tab) + QStringLiteral("c") + Ctl(QString()) + QStringLiteral("d"));
        QVERIFY(rec.fontChanges.isEmpty());
        QCOMPARE(Placed(rec, 1), (QStringList{QStringLiteral("413,413 a"), QStringLiteral("413,413 b"),
                                              QStringLiteral("413,413 c"), QStringLiteral("413,413 d")}));
    }

    void movesToTabStops()
    {
        TRecordingPrinter rec;
        auto p = job();
        p->PrintLine(QStringLiteral("T") + Ctl(QStringLiteral("T10405060708090")));
        QString line = QStringLiteral("0");
        for (int i = 1; i <= 8; ++i)
            line += Ctl(Tab) + QString::number(i);
        p->PrintLine(line);
        // 413 + percent of 4134, rounded; the eighth tab finds the stop 0.
        QCOMPARE(Placed(rec, 1).mid(1),
                 (QStringList{"413,496 0", "826,496 1", "2067,496 2", "2480,496 3", "2893,496 4",
                              "3307,496 5", "3720,496 6", "4134,496 7", "413,496 8"}));
        // The stops hold on the next line; a new line starts at the margin.
        p->PrintLine(QStringLiteral("a") + Ctl(Tab) + QStringLiteral("b"));
        QCOMPARE(Placed(rec, 1).mid(10), (QStringList{"413,579 a", "826,579 b"}));
    }

    void roundsTabStopsHalfToEven()
    {
        // On the body of 4134 pixels 25 % is 1033.5 and 75 % is 3100.5.
        TRecordingPrinter rec;
        auto p = job();
        QString line = QStringLiteral("0");
        for (int i = 1; i <= 15; ++i)
            line += Ctl(Tab) + QString::number(i);
        p->PrintLine(line);
        const auto texts = rec.pages[0].texts;
        QCOMPARE(texts[5].x, 413 + 1034);
        QCOMPARE(texts[15].x, 413 + 3100);
    }

    void skipsTabPiecesThatAreNoNumber()
    {
        TRecordingPrinter rec;
        auto p = job();
        p->PrintLine(Ctl(QStringLiteral("T5a50")));
        QCOMPARE(p->tab(1), 50);
        for (int i = 2; i <= 20; ++i)
            QCOMPARE(p->tab(i), 0);
        p->PrintLine(Ctl(QStringLiteral("T123")));   // "12" and the last piece "3"
        QCOMPARE(p->tab(1), 12);
        QCOMPARE(p->tab(2), 3);
    }

    void ignoresTabValuesBeyondTwenty()
    {
        TRecordingPrinter rec;
        auto p = job();
        QString values;
        for (int i = 1; i <= 25; ++i)
            values += QStringLiteral("%1").arg(i * 3, 2, 10, QLatin1Char('0'));
        p->PrintLine(Ctl(QStringLiteral("T") + values));
        for (int i = 1; i <= 20; ++i)
            QCOMPARE(p->tab(i), i * 3);
        // The 21st tab of a line stays where the 20th went.
        QString line = QStringLiteral("s");
        for (int i = 1; i <= 21; ++i)
            line += Ctl(Tab) + QString::number(i);
        p->PrintLine(line);
        const auto texts = rec.pages[0].texts;
        QCOMPARE(texts.size(), 22);
        QCOMPARE(texts[20].x, 413 + RoundHalfEven(60 * 4134 / 100.0));
        QCOMPARE(texts[21].x, texts[20].x);
    }

    // The recording printer's widths at 10 points: a letter 41.5 pixels, a
    // blank and the ellipsis 20.75, rounded up for the whole text.
    void cutsTextsThatDoNotFitTheirRoom_data()
    {
        QTest::addColumn<QString>("tabs");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("placed");   // "x text", x from the left margin
        const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz").repeated(5);
        QTest::newRow("fits before the next column") << "10" << "abcdefghi" + Ctl(Tab) + "x"
                                                     << QStringList{"0 abcdefghi", "413 x"};
        QTest::newRow("cut a blank before the next column") << "10" << "abcdefghijklmnop" + Ctl(Tab) + "x"
                                                            << QStringList{"0 abcdefgh\u2026", "413 x"};
        QTest::newRow("no blank before the ellipsis") << "10" << "abcdefgh ijkl" + Ctl(Tab) + "x"
                                                      << QStringList{"0 abcdefgh\u2026", "413 x"};
        QTest::newRow("leading blanks stay") << "10" << "  abcdefghijklmnop" + Ctl(Tab) + "x"
                                             << QStringList{"0   abcdefg\u2026", "413 x"};
        // The body ends 4134 pixels right of the left margin, as far from
        // the right edge of the page as the left margin is from the left.
        QTest::newRow("last text cut at the end of the body") << "" << letters
                                                              << QStringList{"0 " + letters.left(99) + "\u2026"};
        QTest::newRow("text at the last stop cut at the end of the body")
            << "90" << "x" + Ctl(Tab) + "abcdefghijklmnop" << QStringList{"0 x", "3721 abcdefghi\u2026"};
        QTest::newRow("the next text after a font change") << "10" << "abcdefghijklmnop" + Ctl(Tab) + Ctl("FH") + "x"
                                                           << QStringList{"0 abcdefgh\u2026", "413 x"};
        QTest::newRow("empty texts between do not count") << "1020" << "abcdefghijklmnop" + Ctl(Tab) + Ctl(Tab) + "x"
                                                          << QStringList{"0 abcdefghijklmnop", "827 x"};
        QTest::newRow("a line end ends the room") << "10" << "abcdefghijklmnop" + Ctl(Cr) + Ctl(Tab) + "x"
                                                  << QStringList{"0 abcdefghijklmnop", "413 x"};
        QTest::newRow("no room even for the ellipsis") << "0001" << "abc" + Ctl(Tab) + Ctl(Tab) + "x"
                                                       << QStringList{"41 x"};
    }
    void cutsTextsThatDoNotFitTheirRoom()
    {
        QFETCH(QString, tabs);
        QFETCH(QString, line);
        QFETCH(QStringList, placed);
        TRecordingPrinter rec;
        auto p = job();
        if (!tabs.isEmpty())
            p->PrintLine(Ctl("T" + tabs));
        p->PrintLine(line);
        QStringList got;
        for (const TPrintedText& t : rec.pages.at(0).texts)
            got.append(QStringLiteral("%1 %2").arg(t.x - p->leftMargin()).arg(t.text));
        QCOMPARE(got, placed);
    }

    void splitsTextHoldingEsc()
    {
        TRecordingPrinter rec;
        auto p = job();
        p->PrintLine(QStringLiteral("Max") + Esc + QStringLiteral("FH") + Esc + QStringLiteral("Moritz"));
        QCOMPARE(rec.pages[0].texts.size(), 2);
        QCOMPARE(rec.pages[0].texts[1].text, QStringLiteral("Moritz"));
        QCOMPARE(rec.pages[0].texts[1].font.name, QStringLiteral("Times New Roman"));
    }

    void measuresLineEndInActiveFont()
    {
        TRecordingPrinter rec;
        auto p = job();
        // Heading 14 pt = 117 px, standard 10 pt = 83 px at 600 dpi.
        p->PrintLine(Ctl(QStringLiteral("FH")) + QStringLiteral("Titel") + Ctl(Cr)
                     + Ctl(QStringLiteral("FS")));
        QCOMPARE(p->posY(), 117 + 83);
    }

    void breaksPages()
    {
        TRecordingPrinter rec;
        auto p = job(1.0, true);
        // 83 px a line: lines at 0 .. 72*83 = 5976 fit in 5984; the 73rd
        // line end goes past the body and breaks the page.
        for (int i = 1; i <= 80; ++i)
            p->PrintLine(QStringLiteral("Zeile %1").arg(i));
        p->Finish();
        QCOMPARE(rec.pages.size(), 2);
        const QStringList first = Placed(rec, 1);
        QCOMPARE(first.size(), 73 + 1);
        QCOMPARE(first[72], QStringLiteral("413,6389 Zeile 73"));
        QCOMPARE(first.last(), QStringLiteral("2480,6603 - 1 -"));
        QCOMPARE(Placed(rec, 2).first(), QStringLiteral("413,413 Zeile 74"));
        QCOMPARE(Placed(rec, 2).last(), QStringLiteral("2480,6603 - 2 -"));
    }

    void numbersPages_data()
    {
        QTest::addColumn<int>("feeds");
        QTest::addColumn<bool>("footer");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("one page") << 0 << true << QStringList{"- 1 -"};
        QTest::newRow("three pages") << 2 << true << QStringList{"- 1 -", "- 2 -", "- 3 -"};
        QTest::newRow("no numbers") << 2 << false << QStringList{};
    }
    void numbersPages()
    {
        QFETCH(int, feeds);
        QFETCH(bool, footer);
        QFETCH(QStringList, numbers);
        TRecordingPrinter rec;
        auto p = job(1.0, footer);
        for (int i = 0; i < feeds; ++i)
            p->PrintLine(QStringLiteral("Seite") + Ctl(Ff));
        p->Finish();
        QCOMPARE(rec.pages.size(), feeds + 1);
        QStringList found;
        for (const auto& [page, t] : rec.allTexts())
            if (t.text.startsWith(QLatin1String("- ")))
                found.append(t.text);
        QCOMPARE(found, numbers);
    }

    void feedAfterBreakLeavesPageWithNumberOnly()
    {
        TRecordingPrinter rec;
        auto p = job(1.0, true);
        for (int i = 1; i <= 73; ++i)
            p->PrintLine(QStringLiteral("z"));
        QCOMPARE(rec.pages.size(), 2);   // the 73rd line end broke the page
        p->PrintLine(Ctl(Ff) + QStringLiteral("neu"));
        p->Finish();
        QCOMPARE(rec.pages.size(), 3);
        QCOMPARE(rec.pageTexts(2), QStringList{QStringLiteral("- 2 -")});
        QCOMPARE(rec.pageTexts(3), (QStringList{QStringLiteral("neu"), QStringLiteral("- 3 -")}));
    }

    void reportsTheJobAfterEnding()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        {
            auto p = job();
            p->PrintLine(QStringLiteral("a"));
            QVERIFY(ui.messages.isEmpty());
            p->Finish();
        }
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Druckauftrag abgesendet.")});
        QCOMPARE(ui.messages[0].caption(), QStringLiteral("zuv"));
        QCOMPARE(rec.documentsEnded, 1);
        QCOMPARE(rec.documentsAborted, 0);
    }

    void refusedJobRaisesAndReportsNothing()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        rec.refuseBegin = true;
        QVERIFY_THROWS_EXCEPTION(EPrinterError, job());
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(rec.documentsBegun, 0);
        QVERIFY(!rec.printing());
    }

    void noPrinterRaises()
    {
        TScriptedUi ui;
        try {
            job();
            QFAIL("no error");
        } catch (const EPrinterError& e) {
            QCOMPARE(e.message(), QStringLiteral("Es ist kein Drucker installiert."));
        }
        QVERIFY(ui.messages.isEmpty());
    }

    void failedEndIsNotReportedAsPrinted()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        rec.failEnd = true;
        auto p = job();
        p->PrintLine(QStringLiteral("a"));
        QVERIFY_THROWS_EXCEPTION(EPrinterError, p->Finish());
        p.reset();
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(rec.documentsEnded, 0);
        QVERIFY(!rec.printing());
    }

    void unfinishedJobIsAborted()
    {
        TScriptedUi ui;
        TRecordingPrinter rec;
        job()->PrintLine(QStringLiteral("a"));
        QCOMPARE(rec.documentsAborted, 1);
        QCOMPARE(rec.documentsEnded, 0);
        QVERIFY(ui.messages.isEmpty());
    }

    void missingFontsPrintInTheDefaultFont()
    {
        TRecordingPrinter rec;
        TVirtPrinter p(nullptr, nullptr, 1.0, false);
        p.PrintLine(Ctl(QStringLiteral("FH")) + QStringLiteral("a"));
        TFontSpec unknown{QStringLiteral("Keine Schrift"), 0, true};
        QCOMPARE(rec.fontChanges.size(), 1);
        QCOMPARE(rec.fontChanges[0], TFontSpec());
        p.Finish();

        TVirtPrinter q(&unknown, &unknown, 1.0, false);
        q.PrintLine(Ctl(QStringLiteral("FH")) + QStringLiteral("b"));
        QCOMPARE(rec.pages[0].texts[0].font.name, TFontSpec().name);
        QCOMPARE(rec.pages[0].texts[0].font.size, TFontSpec().size);
        QVERIFY(rec.pages[0].texts[0].font.bold);
        q.Finish();
    }
};

QTEST_GUILESS_MAIN(TestVirtPrinter)
#include "tst_virtprinter.moc"

#include "UDataTestUtil.h"
#include "data/UFilter.h"
#include "data/USchuelerData.h"

#include <QtTest>
#include <climits>

namespace {

// Pupils for the selection tests, by name:
//   Meier   girl  7a  choices 3 4 0 0 0  zuteil 3  (priority 1)
//   Me      boy   7A  choices 5 5 0 0 0  zuteil 5  (priority 2)
//   (empty) girl  8   choices 1 2 3 4 5  zuteil 0
//   Mai     boy  12Bio choices 3 1 3 0 0 zuteil 3  fixed (priority 3)
//   MEIER   girl 13b  choices 9 0 0 0 0  zuteil 7  hand 0 (priority -1)
//   Müller  boy   5c  choices 1 2 0 0 0  zuteil 0  fixed, hand 2
void fill(TSchuelerData& sd)
{
    sd.add(pupil(QStringLiteral("Meier; w; 7; a; -; 3; 4; 0; 0; 0; 3; ")));
    sd.add(pupil(QStringLiteral("Me; m; 7; A; -; 5; 5; 0; 0; 0; 5; ")));
    sd.add(pupil(QStringLiteral("; w; 8; ; -; 1; 2; 3; 4; 5; 0; ")));
    sd.add(pupil(QStringLiteral("Mai; m; 12; Bio; F; 3; 1; 3; 0; 0; 3; ")));
    sd.add(pupil(QStringLiteral("MEIER; w; 13; b; 0; 9; 0; 0; 0; 0; 7; ")));
    sd.add(pupil(QStringLiteral("Müller; m; 5; c; F; 1; 2; 0; 0; 0; 0; ")));
    sd.getNr(6)->setHand(2);
}

QStringList names(const TSchuelerData& sd)
{
    QStringList r;
    for (int i = 1; i <= sd.Anz(); ++i)
        r << sd.getNr(i)->name;
    return r;
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT
private slots:
    void stringMatches_data();
    void stringMatches();
    void select_data();
    void select();
    void countOnly();
    void selectionSharesPupils();
    void setBounds();
    void outsideValueMatchesNobody_data();
    void outsideValueMatchesNobody();
    void emptySource();
    void numbersBesideAProjectList_data();
    void numbersBesideAProjectList();
};

void TestFilter::numbersBesideAProjectList_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("raw");   // matches without the project list
    // beside projects 1..5: MEIER's choice 9 and zuteil 7 name none
    QTest::newRow("zuteil 0") << "zuteil0" << QStringList{"", "MEIER", "Müller"} << 2;
    QTest::newRow("priority 0") << "prio0" << QStringList{"", "MEIER", "Müller"} << 2;
    QTest::newRow("any choice 0") << "wahl0" << QStringList{"Meier", "Me", "Mai", "MEIER", "Müller"} << 5;
    QTest::newRow("first choice 0") << "wahl1_0" << QStringList{"MEIER"} << 0;
    QTest::newRow("first choice 9") << "wahl1_9" << QStringList{} << 1;
}

void TestFilter::numbersBesideAProjectList()
{
    QFETCH(QString, what);
    QFETCH(QStringList, expected);
    TOwnedSchuelerData sd;
    fill(sd);
    TOwnedProjektData pd;
    for (int k = 1; k <= 5; ++k)
        pd.add(new TProjekt(k));
    TSearchFilter f;
    f.Projekte = &pd;
    if (what == "zuteil0")
        f.zuteil.include(0);
    else if (what == "prio0")
        f.priority.include(0);
    else if (what == "wahl0")
        f.wahl.include(0);
    else if (what == "wahl1_0")
        f.wahli[1].include(0);
    else
        f.wahli[1].include(9);
    int count = -1;
    const auto list = sd.select(f, false, count);
    QCOMPARE(names(*list), expected);
    // Without the list the numbers count as they stand.
    f.Projekte = nullptr;
    sd.select(f, true, count);
    QTEST(count, "raw");
}

void TestFilter::stringMatches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("match");
    QTest::newRow("start Meier") << "Meier" << "Mei" << int(smStart) << true;
    QTest::newRow("start Me") << "Me" << "Mei" << int(smStart) << true;
    QTest::newRow("start empty name") << "" << "Mei" << int(smStart) << true;
    QTest::newRow("start Mai") << "Mai" << "Mei" << int(smStart) << false;
    QTest::newRow("start empty pattern") << "Mai" << "" << int(smStart) << true;
    QTest::newRow("contain") << "Meier" << "eie" << int(smContain) << true;
    QTest::newRow("contain no") << "Meier" << "xy" << int(smContain) << false;
    QTest::newRow("contain empty pattern") << "Meier" << "" << int(smContain) << false;
    QTest::newRow("exact case") << "MEIER" << "meier" << int(smExact) << true;
    QTest::newRow("exact umlaut case") << QStringLiteral("MÜLLER") << QStringLiteral("müller") << int(smExact) << false;
    QTest::newRow("exact umlaut same") << QStringLiteral("Müller") << QStringLiteral("MüLLER") << int(smExact) << true;
    QTest::newRow("exact empty") << "" << "" << int(smExact) << true;
    QTest::newRow("exact empty pattern") << "A" << "" << int(smExact) << false;
}

void TestFilter::stringMatches()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, mode);
    QTEST(StringMatches(text, pattern, TStringMatch(mode)), "match");
}

void TestFilter::select_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("new filter") << "none" << QStringList{"Meier", "Me", "", "Mai", "MEIER", "Müller"};
    QTest::newRow("negated new filter") << "negate" << QStringList{};
    QTest::newRow("name start") << "nameStart" << QStringList{"Meier", "Me", "", "MEIER"};
    QTest::newRow("name exact") << "nameExact" << QStringList{"Meier", "MEIER"};
    QTest::newRow("girls") << "girls" << QStringList{"Meier", "", "MEIER"};
    QTest::newRow("boys") << "boys" << QStringList{"Me", "Mai", "Müller"};
    QTest::newRow("grades 7 and 13") << "grades" << QStringList{"Meier", "Me", "MEIER"};
    QTest::newRow("department A") << "abtA" << QStringList{"Meier", "Me", ""};
    QTest::newRow("class 7a") << "class" << QStringList{"Meier", "Me"};
    QTest::newRow("class 12BIO") << "classBio" << QStringList{"Mai"};
    // a department of one blank is none
    QTest::newRow("class 8 with a blank") << "class8" << QStringList{""};
    QTest::newRow("priority 1") << "prio1" << QStringList{"Meier"};
    QTest::newRow("priority 0") << "prio0" << QStringList{"", "Müller"};
    QTest::newRow("zuteil 0") << "zuteil0" << QStringList{"", "Müller"};
    QTest::newRow("zuteil 0 negated") << "zuteil0neg" << QStringList{"Meier", "Me", "Mai", "MEIER"};
    QTest::newRow("fixed") << "fest" << QStringList{"Mai", "Müller"};
    QTest::newRow("not fixed") << "nichtfest" << QStringList{"Meier", "Me", ""};
    QTest::newRow("hand") << "hand" << QStringList{"MEIER", "Müller"};
    QTest::newRow("two choices") << "wahlanz2" << QStringList{"Meier", "Me", "Müller"};
    QTest::newRow("any choice 0") << "wahl0" << QStringList{"Meier", "Me", "Mai", "MEIER", "Müller"};
    QTest::newRow("any choice 3") << "wahl3" << QStringList{"Meier", "", "Mai"};
    QTest::newRow("rank 2 is 1 or 2") << "rank2" << QStringList{"", "Mai", "Müller"};
    QTest::newRow("girls with choice 3") << "girlsWahl3" << QStringList{"Meier", ""};
}

void TestFilter::select()
{
    QFETCH(QString, what);
    QFETCH(QStringList, expected);
    TOwnedSchuelerData sd;
    fill(sd);
    TSearchFilter f;
    if (what == "negate")
        f.negateMatch = true;
    else if (what == "nameStart") {
        f.name = QStringLiteral("Mei");
        f.NameMatch = smStart;
    } else if (what == "nameExact")
        f.name = QStringLiteral("meier");
    else if (what == "girls")
        f.geschl = stWeibl;
    else if (what == "boys")
        f.geschl = stMaennl;
    else if (what == "grades")
        f.jgst = {7, 13};
    else if (what == "abtA")
        f.abt.include('A');
    else if (what == "class")
        f.kl << QStringLiteral(" 7a");
    else if (what == "classBio")
        f.kl << QStringLiteral("12BIO");
    else if (what == "class8")
        f.kl << QStringLiteral(" 8 ");
    else if (what == "prio1")
        f.priority.include(1);
    else if (what == "prio0")
        f.priority.include(0);
    else if (what == "zuteil0")
        f.zuteil.include(0);
    else if (what == "zuteil0neg") {
        f.zuteil.include(0);
        f.negateMatch = true;
    } else if (what == "fest")
        f.fest = stFest;
    else if (what == "nichtfest")
        f.fest = stNichtfest;
    else if (what == "hand")
        f.fest = stHand;
    else if (what == "wahlanz2")
        f.wahlanz.include(2);
    else if (what == "wahl0")
        f.wahl.include(0);
    else if (what == "wahl3")
        f.wahl.include(3);
    else if (what == "rank2")
        f.wahli[2] = {1, 2};
    else if (what == "girlsWahl3") {
        f.geschl = stWeibl;
        f.wahl.include(3);
    }
    int count = -1;
    const auto result = sd.select(f, false, count);
    QVERIFY(result);
    QCOMPARE(names(*result), expected);
    QCOMPARE(count, int(expected.size()));
    QCOMPARE(result->getSort(), sc_NotSorted);
    QCOMPARE(result->getFilename(), QString());
    QVERIFY(!result->getModified());
}

void TestFilter::countOnly()
{
    TOwnedSchuelerData sd;
    fill(sd);
    TSearchFilter f;
    f.geschl = stMaennl;
    int count = -1;
    QVERIFY(!sd.select(f, true, count));
    QCOMPARE(count, 3);
}

void TestFilter::selectionSharesPupils()
{
    TOwnedSchuelerData sd;
    fill(sd);
    sd.Sort(sc_N);
    int count = 0;
    {
        auto result = sd.select(TSearchFilter(), false, count);
        QCOMPARE(result->getSort(), sc_NotSorted);
        QCOMPARE(result->getNr(1), sd.getNr(1));
    }
    // the selection is gone, the pupils live on
    QCOMPARE(sd.Anz(), 6);
    QCOMPARE(sd.getNr(6)->name, QStringLiteral("Müller"));
    for (int i = 1; i <= sd.Anz(); ++i)
        QVERIFY(sd.getNr(i)->isSchueler());
}

void TestFilter::setBounds()
{
    TIntSet<16> grades{0, 15, 16, -1, 1000};
    QCOMPARE(grades.count(), 2);
    QVERIFY(grades.contains(15));
    QVERIFY(!grades.contains(16));
    QVERIFY(!grades.contains(-1));
    QVERIFY(!grades.contains(INT_MIN));

    // values outside the sets' ranges reach select without harm
    TOwnedSchuelerData sd;
    auto* s = new TSchueler;
    s->name = QStringLiteral("Rand");
    s->jgst = 99;
    s->abt = QStringLiteral("€x");         // code above 255
    s->zuteil = 4000;
    s->wahl[1] = -7;
    s->wahl[2] = 300;
    sd.add(s);
    auto* t = new TSchueler;
    t->abt = QStringLiteral("ÿ");          // 255, the last member
    t->jgst = 15;
    sd.add(t);

    int count = -1;
    TSearchFilter f;
    f.jgst = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    sd.select(f, true, count);
    QCOMPARE(count, 1);

    TSearchFilter a;
    for (int c = 0; c < 256; ++c)
        a.abt.include(c);
    sd.select(a, true, count);
    QCOMPARE(count, 1);

    TSearchFilter z;
    for (int c = 0; c < 256; ++c)
        z.zuteil.include(c);
    sd.select(z, true, count);
    QCOMPARE(count, 1);

    TSearchFilter w;
    for (int c = 0; c < 256; ++c)
        w.wahli[1].include(c);
    w.wahli[1].exclude(0);
    sd.select(w, true, count);
    QCOMPARE(count, 0);

    TSearchFilter p;
    for (int c = 0; c < 8; ++c)
        p.priority.include(c);
    sd.select(p, true, count);   // priority -1 of "Rand" is in no set
    QCOMPARE(count, 1);
}

void TestFilter::outsideValueMatchesNobody_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("grade 20") << "jgst" << 20 << 0;
    QTest::newRow("grade -1") << "jgst" << -1 << 0;
    // a pupil without a department passes the department criterion
    QTest::newRow("department euro") << "abt" << 0x20AC << 1;
    QTest::newRow("assigned 300") << "zuteil" << 300 << 0;
    QTest::newRow("any choice 300") << "wahl" << 300 << 0;
    QTest::newRow("rank 1 choice 256") << "wahli" << 256 << 0;
    QTest::newRow("priority 8") << "priority" << 8 << 0;
}

void TestFilter::outsideValueMatchesNobody()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(int, expected);
    TOwnedSchuelerData sd;
    fill(sd);
    TSearchFilter f;
    if (field == QLatin1String("jgst"))
        f.jgst.include(value);
    else if (field == QLatin1String("abt"))
        f.abt.include(value);
    else if (field == QLatin1String("zuteil"))
        f.zuteil.include(value);
    else if (field == QLatin1String("wahl"))
        f.wahl.include(value);
    else if (field == QLatin1String("wahli"))
        f.wahli[1].include(value);
    else
        f.priority.include(value);
    int count = -1;
    sd.select(f, true, count);
    QCOMPARE(count, expected);
    f.negateMatch = true;
    sd.select(f, true, count);
    QCOMPARE(count, sd.Anz() - expected);
}

void TestFilter::emptySource()
{
    TOwnedSchuelerData sd;
    int count = -1;
    auto result = sd.select(TSearchFilter(), false, count);
    QCOMPARE(count, 0);
    QVERIFY(result);
    QCOMPARE(result->Anz(), 0);
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"

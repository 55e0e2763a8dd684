#include "UDataTestUtil.h"
#include "data/USchueler.h"

#include <QtTest>

namespace {

const QString kCount = QStringLiteral("Schuelerdatenzeile enthaelt falsche Anzahl Elemente");
const QString kName = QStringLiteral("Schuelerdatenzeile: Feld \"Name\" fehlerhaft (1)");
const QString kGeschl = QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)");
const QString kJgst = QStringLiteral("Schuelerdatenzeile: Feld \"Jahrgangsstufe\" fehlerhaft (3)");
const QString kFest = QStringLiteral("Schuelerdatenzeile: Feld \"fest\" fehlerhaft (5)");
const QString kWahl = QStringLiteral("Schuelerdatenzeile: Felder \"Wahlen\" fehlerhaft (6)");
const QString kZuteil = QStringLiteral("Schuelerdatenzeile: Feld \"zuteil\" fehlerhaft (7)");

QString abtMsg(const QString& value)
{
    return QStringLiteral("Schuelerdatenzeile: Feld \"Abteilung\" enthält ungewöhnlichen Wert \"%1\" (4)").arg(value);
}

QStringList fields(const QString& list)
{
    return list.split(QLatin1Char('|'));
}

// 11 fields; name, gender, grade, department, fest, choices, zuteil
const QString kGood = QStringLiteral("Meier, Anna|w|7|a|-|1|2|3|4|5|2");

QString withField(int pos, const QString& value, const QString& base = kGood)
{
    QStringList f = fields(base);
    f[pos - 1] = value;
    return f.join(QLatin1Char('|'));
}

} // namespace

class TestSchueler : public QObject {
    Q_OBJECT
private slots:
    void empty();
    void fieldCount_data();
    void fieldCount();
    void read_data();
    void read();
    void reject_data();
    void reject();
    void digitClearsFixedFlag();
    void usedRecordParsesAsNew_data();
    void usedRecordParsesAsNew();
    void choicesFileDropsAssignment();
    void failedLineChangesNothing();
    void constructorFailsCleanly();
    void write_data();
    void write();
    void newPupilRoundTrip();
    void priority_data();
    void priority();
    void wahlAnz();
    void hand();
    void moveProjektRefs_data();
    void moveProjektRefs();
    void movedNumbersKeepTheirMeaning_data();
    void movedNumbersKeepTheirMeaning();
    void sortKey_data();
    void sortKey();
};

void TestSchueler::empty()
{
    TSchueler s;
    QCOMPARE(s.name, QString());
    QCOMPARE(s.jgst, 0);
    QCOMPARE(s.abt, QStringLiteral(" "));
    QVERIFY(!s.geschl);
    for (int r = 1; r <= 5; ++r)
        QCOMPARE(s.wahl[r], 0);
    QCOMPARE(s.zuteil, 0);
    QVERIFY(!s.fest && !s.mark);
    QCOMPARE(s.hand, -1);
    QVERIFY(s.isSchueler() && !s.isProjekt());
}

void TestSchueler::fieldCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("zt");
    QTest::addColumn<bool>("ok");
    QTest::newRow("10 choices file") << 10 << false << true;
    QTest::newRow("10 assignment file") << 10 << true << false;
    QTest::newRow("11 choices file") << 11 << false << true;
    QTest::newRow("11 assignment file") << 11 << true << true;
    QTest::newRow("12 choices file") << 12 << false << false;
    QTest::newRow("12 assignment file") << 12 << true << false;
    QTest::newRow("9 choices file") << 9 << false << false;
}

void TestSchueler::fieldCount()
{
    QFETCH(int, count);
    QFETCH(bool, zt);
    QFETCH(bool, ok);
    QStringList f = fields(kGood);
    while (f.size() < count)
        f.append(QStringLiteral("0"));
    while (f.size() > count)
        f.removeLast();
    TSchueler s;
    try {
        s.FromZeileZT(f, zt);
        QVERIFY(ok);
    } catch (const ESchFromZeile& e) {
        QVERIFY(!ok);
        QCOMPARE(e.message(), kCount);
    }
}

void TestSchueler::read_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("geschl");
    QTest::addColumn<int>("jgst");
    QTest::addColumn<QString>("abt");
    QTest::addColumn<bool>("fest");
    QTest::addColumn<int>("hand");
    QTest::addColumn<int>("zuteil");

    QTest::newRow("plain") << kGood << false << 7 << "a" << false << -1 << 2;
    QTest::newRow("capital M") << withField(2, "M") << true << 7 << "a" << false << -1 << 2;
    QTest::newRow("W") << withField(2, "W") << false << 7 << "a" << false << -1 << 2;
    QTest::newRow("grade 0") << withField(3, "0") << false << 0 << "a" << false << -1 << 2;
    QTest::newRow("grade 13 hex") << withField(3, "$D") << false << 13 << "a" << false << -1 << 2;
    QTest::newRow("empty department") << withField(4, "") << false << 7 << "" << false << -1 << 2;
    QTest::newRow("lower b") << withField(4, "b") << false << 7 << "b" << false << -1 << 2;
    QTest::newRow("Bio") << withField(4, "Bio") << false << 7 << "Bio" << false << -1 << 2;
    QTest::newRow("H") << withField(4, "H") << false << 7 << "H" << false << -1 << 2;
    // Leading blanks go, as a data file would drop them.
    QTest::newRow("blank department") << withField(4, " ") << false << 7 << "" << false << -1 << 2;
    QTest::newRow("blanks before department") << withField(4, "  b x") << false << 7 << "b x" << false << -1 << 2;
    QTest::newRow("fixed F") << withField(5, "F") << false << 7 << "a" << true << -1 << 2;
    QTest::newRow("fixed f") << withField(5, "f") << false << 7 << "a" << true << -1 << 2;
    QTest::newRow("hand 3") << withField(5, "3") << false << 7 << "a" << false << 3 << 2;
    QTest::newRow("hand 0") << withField(5, "0") << false << 7 << "a" << false << 0 << 2;
    QTest::newRow("zuteil 255") << withField(11, "255") << false << 7 << "a" << false << -1 << 255;
    QTest::newRow("name with blanks") << withField(1, " Jürgen  ") << false << 7 << "a" << false << -1 << 2;
    QTest::newRow("slash inside name") << withField(1, "A/B") << false << 7 << "a" << false << -1 << 2;
}

void TestSchueler::read()
{
    QFETCH(QString, line);
    const TSchueler s(fields(line), true);
    QCOMPARE(s.name, fields(line).at(0));
    QTEST(s.geschl, "geschl");
    QTEST(s.jgst, "jgst");
    QTEST(s.abt, "abt");
    QTEST(s.fest, "fest");
    QTEST(s.hand, "hand");
    QTEST(s.zuteil, "zuteil");
    QCOMPARE(s.wahl[1], 1);
    QCOMPARE(s.wahl[5], 5);
}

void TestSchueler::reject_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("name ;") << withField(1, "A;B") << kName;
    QTest::newRow("name CR") << withField(1, "A\rB") << kName;
    QTest::newRow("name LF") << withField(1, "A\nB") << kName;
    QTest::newRow("name outside code page") << withField(1, QStringLiteral("Dvořák")) << kName;
    QTest::newRow("name leading slash") << withField(1, "/Meier") << kName;
    QTest::newRow("gender m blank") << withField(2, "m ") << kGeschl;
    QTest::newRow("gender x") << withField(2, "x") << kGeschl;
    QTest::newRow("gender empty") << withField(2, "") << kGeschl;
    QTest::newRow("gender mw") << withField(2, "mw") << kGeschl;
    QTest::newRow("grade 14") << withField(3, "14") << kJgst;
    QTest::newRow("grade -1") << withField(3, "-1") << kJgst;
    QTest::newRow("grade overflow") << withField(3, "99999999999") << kJgst;
    QTest::newRow("department I") << withField(4, "I") << abtMsg("I");
    QTest::newRow("blank before I") << withField(4, " I") << abtMsg(" I");
    QTest::newRow("department digit") << withField(4, "1a") << abtMsg("1a");
    QTest::newRow("department ;") << withField(4, "A;") << abtMsg("A;");
    QTest::newRow("department LF") << withField(4, "A\n") << abtMsg("A\n");
    QTest::newRow("department outside code page") << withField(4, QStringLiteral("AŁ")) << abtMsg(QStringLiteral("AŁ"));
    QTest::newRow("fest 6") << withField(5, "6") << kFest;
    QTest::newRow("fest F1") << withField(5, "F1") << kFest;
    QTest::newRow("fest empty") << withField(5, "") << kFest;
    QTest::newRow("fest -1") << withField(5, "-1") << kFest;
    QTest::newRow("wahl1 256") << withField(6, "256") << kWahl;
    QTest::newRow("wahl5 -1") << withField(10, "-1") << kWahl;
    QTest::newRow("wahl3 text") << withField(8, "x") << kWahl;
    QTest::newRow("wahl hex pattern") << withField(7, "$FFFFFFFF") << kWahl;
    QTest::newRow("zuteil 256") << withField(11, "256") << kZuteil;
    QTest::newRow("zuteil blank") << withField(11, "1 ") << kZuteil;
}

void TestSchueler::reject()
{
    // A refused line leaves the pupil as it was, every field.
    QFETCH(QString, line);
    QFETCH(QString, message);
    TSchueler s(fields(QStringLiteral("Alt|m|12|c|4|9|8|7|6|0|9")), true);
    const QStringList before = s.ToZeile();
    try {
        s.FromZeileZT(fields(line), true);
        QFAIL("no exception");
    } catch (const ESchFromZeile& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(QStringList(s.ToZeile()), before);
    QCOMPARE(s.hand, 4);
    QVERIFY(!s.fest);
}

void TestSchueler::digitClearsFixedFlag()
{
    // A hand index in "fest" means not fixed, also for a fixed pupil.
    TSchueler s;
    s.fest = true;
    s.FromZeileZT(fields(withField(5, "4")), true);
    QVERIFY(!s.fest);
    QCOMPARE(s.hand, 4);
    QCOMPARE(s.ToZeile().at(4), QStringLiteral("4"));
    s.FromZeileZT(fields(withField(5, "-")), true);
    QVERIFY(!s.fest);
    QCOMPARE(s.hand, -1);
}

void TestSchueler::usedRecordParsesAsNew_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("zt");
    for (const char* fest : {"F", "f", "-", "0", "3", "5"}) {
        QTest::addRow("fest %s", fest) << withField(5, QString::fromLatin1(fest)) << true;
        QTest::addRow("fest %s, no project", fest) << withField(5, QString::fromLatin1(fest)) << false;
    }
    QTest::newRow("blank department") << withField(4, "  c") << true;
}

void TestSchueler::usedRecordParsesAsNew()
{
    // Parsing into a record that held other values gives what parsing into
    // a new one gives.
    QFETCH(QString, line);
    QFETCH(bool, zt);
    const TSchueler fresh(fields(line), zt);
    for (const char* before : {"F", "2", "-"}) {
        TSchueler used(fields(withField(4, " h", withField(5, QString::fromLatin1(before)))), true);
        used.zuteil = 9;
        used.FromZeileZT(fields(line), zt);
        QCOMPARE(used.ToZeile(), fresh.ToZeile());
        QCOMPARE(used.fest, fresh.fest);
        QCOMPARE(used.hand, fresh.hand);
        QCOMPARE(used.abt, fresh.abt);
    }
}

void TestSchueler::choicesFileDropsAssignment()
{
    const TSchueler s(fields(withField(5, "3")), false);
    QCOMPARE(s.zuteil, 0);
    QCOMPARE(s.hand, -1);
    QVERIFY(!s.fest);
    QStringList ten = fields(kGood);
    ten.removeLast();
    const TSchueler t(ten, false);
    QCOMPARE(t.zuteil, 0);
    QCOMPARE(t.wahl[5], 5);
}

void TestSchueler::failedLineChangesNothing()
{
    // Refused at a later field, also in a line without the assigned
    // project: the fields before it, the assignment and the placement by
    // hand all stay.
    TSchueler s;
    s.wahl[2] = 77;
    s.zuteil = 5;
    s.setHand(2);
    QVERIFY_THROWS_EXCEPTION(ESchFromZeile, s.FromZeileZT(fields("Neu|m|9|B|-|11|300|13|14|15"), false));
    QCOMPARE(s.name, QString());
    QVERIFY(!s.geschl);
    QCOMPARE(s.jgst, 0);
    QCOMPARE(s.abt, QStringLiteral(" "));
    QCOMPARE(s.wahl[1], 0);
    QCOMPARE(s.wahl[2], 77);
    QCOMPARE(s.zuteil, 5);
    QCOMPARE(s.hand, 2);

    TSchueler t;
    t.fest = true;
    QVERIFY_THROWS_EXCEPTION(ESchFromZeile, t.FromZeileZT(fields("Neu|m|9|I|3|11|3|13|14|15|1"), true));
    QCOMPARE(t.jgst, 0);
    QCOMPARE(t.abt, QStringLiteral(" "));
    QVERIFY(t.fest);
}

void TestSchueler::constructorFailsCleanly()
{
    QVERIFY_THROWS_EXCEPTION(ESchFromZeile, TSchueler(TZeile(QStringLiteral("A; m; 7; a; -; 1; 2; 3; 4; 5; ")), true));
}

void TestSchueler::write_data()
{
    QTest::addColumn<bool>("fest");
    QTest::addColumn<int>("hand");
    QTest::addColumn<QString>("field5");
    QTest::newRow("neither") << false << -1 << "-";
    QTest::newRow("fixed") << true << -1 << "F";
    QTest::newRow("fixed with hand") << true << 2 << "F";
    QTest::newRow("hand 0") << false << 0 << "0";
    QTest::newRow("hand 5") << false << 5 << "5";
}

void TestSchueler::write()
{
    QFETCH(bool, fest);
    QFETCH(int, hand);
    TSchueler s;
    s.name = QStringLiteral("Özil, Mesut");
    s.geschl = true;
    s.jgst = 12;
    s.abt = QStringLiteral("c");
    s.fest = fest;
    s.hand = hand;
    s.wahl[1] = 9;
    s.wahl[3] = 255;
    s.zuteil = 9;
    const TZeile z = s.ToZeile();
    QCOMPARE(z.size(), 11);
    QTEST(z.at(4), "field5");
    QCOMPARE(z.AsString(), QStringLiteral("Özil, Mesut; m; 12; c; %1; 9; 0; 255; 0; 0; 9; ").arg(z.at(4)));
}

void TestSchueler::newPupilRoundTrip()
{
    TSchueler s;
    const TZeile z = s.ToZeile();
    QCOMPARE(QStringList(z), (QStringList{"", "w", "0", " ", "-", "0", "0", "0", "0", "0", "0"}));
    const TSchueler back(TZeile(z.AsString()), true);
    QCOMPARE(back.abt, QString());   // the single blank becomes an empty field
    QCOMPARE(back.name, QString());
    QCOMPARE(back.jgst, 0);
    QCOMPARE(back.hand, -1);
    QVERIFY(!back.geschl && !back.fest);
}

void TestSchueler::priority_data()
{
    QTest::addColumn<int>("zuteil");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<int>("priority");
    QTest::addColumn<int>("inEight");   // the priority beside projects 1..8
    QTest::newRow("unassigned") << 0 << QList<int>{1, 2, 3, 4, 5} << 0 << 0;
    QTest::newRow("highest rank counts") << 9 << QList<int>{9, 4, 9, 0, 0} << 3 << 0;
    QTest::newRow("ranks 1 and 4") << 7 << QList<int>{7, 1, 2, 7, 3} << 4 << 4;
    QTest::newRow("first") << 7 << QList<int>{7, 1, 2, 3, 4} << 1 << 1;
    QTest::newRow("none of the choices") << 5 << QList<int>{1, 2, 3, 4, 0} << -1 << -1;
}

void TestSchueler::priority()
{
    QFETCH(int, zuteil);
    QFETCH(QList<int>, choices);
    TSchueler s;
    for (int r = 1; r <= 5; ++r)
        s.wahl[r] = choices.at(r - 1);
    s.zuteil = zuteil;
    QTEST(s.getPriority(), "priority");
    TOwnedProjektData eight;
    for (int k = 1; k <= 8; ++k)
        eight.add(new TProjekt(k));
    QTEST(s.getPriority(eight), "inEight");
    QCOMPARE(s.getZuteil(eight), zuteil <= 8 ? zuteil : 0);
    QCOMPARE(s.zuteil, zuteil);
}

void TestSchueler::moveProjektRefs_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QList<int>>("before");   // choices 1..5, zuteil, hand
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("fixed");       // a fixed pupil stays fixed
    QTest::newRow("insert at 3") << 3 << 1 << QList<int>{3, 1, 2, 4, 0, 3, 1} << QList<int>{4, 1, 2, 5, 0, 4, 1}
                                 << true << true;
    QTest::newRow("insert at 1") << 1 << 1 << QList<int>{1, 0, 0, 0, 0, 0, -1} << QList<int>{2, 0, 0, 0, 0, 0, -1}
                                 << true << true;
    QTest::newRow("insert after all") << 6 << 1 << QList<int>{3, 1, 2, 5, 0, 5, 4}
                                      << QList<int>{3, 1, 2, 5, 0, 5, 4} << false << true;
    // the deleted project's references become 0, its placement goes, and
    // a pupil fixed to it is fixed no more
    QTest::newRow("delete 3") << 3 << -1 << QList<int>{3, 1, 4, 2, 0, 3, 1} << QList<int>{0, 1, 3, 2, 0, 0, -1}
                              << true << false;
    QTest::newRow("delete 3, placed on another rank") << 3 << -1 << QList<int>{3, 4, 0, 0, 0, 4, 2}
                                                      << QList<int>{0, 3, 0, 0, 0, 3, 2} << true << false;
    QTest::newRow("delete 3, placed into 0") << 3 << -1 << QList<int>{3, 0, 0, 0, 0, 0, 0}
                                             << QList<int>{0, 0, 0, 0, 0, 0, 0} << true << false;
    QTest::newRow("delete 3, chosen second") << 3 << -1 << QList<int>{1, 3, 0, 0, 0, 1, -1}
                                             << QList<int>{1, 0, 0, 0, 0, 1, -1} << true << true;
    QTest::newRow("delete the last") << 6 << -1 << QList<int>{6, 1, 0, 0, 0, 6, -1}
                                     << QList<int>{0, 1, 0, 0, 0, 0, -1} << true << false;
    QTest::newRow("delete before nothing") << 6 << -1 << QList<int>{1, 2, 0, 0, 0, 2, 2}
                                           << QList<int>{1, 2, 0, 0, 0, 2, 2} << false << true;
    // a number beyond the list stays beyond it
    QTest::newRow("beyond, insert") << 2 << 1 << QList<int>{9, 0, 0, 0, 0, 9, -1}
                                    << QList<int>{10, 0, 0, 0, 0, 10, -1} << true << true;
    QTest::newRow("beyond, delete") << 2 << -1 << QList<int>{9, 0, 0, 0, 0, 9, -1}
                                    << QList<int>{8, 0, 0, 0, 0, 8, -1} << true << true;
    // the highest number names no project before an insert, and none after
    QTest::newRow("highest number, insert") << 2 << 1 << QList<int>{255, 2, 0, 0, 0, 255, -1}
                                            << QList<int>{0, 3, 0, 0, 0, 0, -1} << true << true;
    QTest::newRow("highest number, insert before the last") << 254 << 1 << QList<int>{255, 254, 253, 0, 0, 254, -1}
                                                            << QList<int>{0, 255, 253, 0, 0, 255, -1} << true << true;
    QTest::newRow("highest number placed by hand, insert") << 2 << 1 << QList<int>{255, 0, 0, 0, 0, 0, 1}
                                                           << QList<int>{0, 0, 0, 0, 0, 0, 1} << true << true;
    QTest::newRow("highest number, delete it") << 255 << -1 << QList<int>{255, 254, 0, 0, 0, 255, 1}
                                               << QList<int>{0, 254, 0, 0, 0, 0, -1} << true << false;
    QTest::newRow("delete the first") << 1 << -1 << QList<int>{1, 2, 255, 0, 0, 2, 2}
                                      << QList<int>{0, 1, 254, 0, 0, 1, 2} << true << false;
    QTest::newRow("delete the last, beyond it") << 6 << -1 << QList<int>{7, 6, 5, 0, 0, 7, -1}
                                                << QList<int>{6, 0, 5, 0, 0, 6, -1} << true << true;
    QTest::newRow("highest number, delete") << 2 << -1 << QList<int>{255, 0, 0, 0, 0, 255, -1}
                                            << QList<int>{254, 0, 0, 0, 0, 254, -1} << true << true;
}

void TestSchueler::moveProjektRefs()
{
    QFETCH(int, pos);
    QFETCH(int, delta);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    TSchueler s;
    for (int r = 1; r <= 5; ++r)
        s.wahl[r] = before.at(r - 1);
    s.zuteil = before.at(5);
    s.setHand(before.at(6));
    s.fest = true;
    QTEST(s.MoveProjektRefs(pos, delta), "changed");
    QList<int> got;
    for (int r = 1; r <= 5; ++r)
        got << s.wahl[r];
    got << s.zuteil << s.getHand();
    QCOMPARE(got, after);
    QTEST(s.fest, "fixed");
}

void TestSchueler::movedNumbersKeepTheirMeaning_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("anz");   // projects before the insert or delete
    for (const int anz : {1, 2, 100, 253, 254})
        QTest::addRow("insert into %d", anz) << 1 << anz;
    for (const int anz : {1, 2, 100, 254, 255})
        QTest::addRow("delete from %d", anz) << -1 << anz;
}

// At every position: a number that named a project names it after the
// insert or delete (none when it goes), a number that named none names
// none, two numbers never become one project, and every number fits a line.
void TestSchueler::movedNumbersKeepTheirMeaning()
{
    QFETCH(int, delta);
    QFETCH(int, anz);
    const int after = anz + delta;
    for (int pos = 1; pos <= anz; ++pos) {
        QList<int> named(after + 1, -1);   // project after -> the number before
        for (int nr = 0; nr <= TSchueler::MaxNr; ++nr) {
            const int m = TSchueler::MovedNr(nr, pos, delta);
            const QByteArray where = QByteArray::number(nr) + " at " + QByteArray::number(pos);
            QVERIFY2(m >= 0 && m <= TSchueler::MaxNr, where.constData());
            const bool namedBefore = nr >= 1 && nr <= anz && !(delta < 0 && nr == pos);
            if (namedBefore)
                QVERIFY2(m == (nr < pos ? nr : nr + delta), where.constData());
            else
                QVERIFY2(m == 0 || m > after, where.constData());
            if (m >= 1 && m <= after) {
                QVERIFY2(named[m] == -1, where.constData());
                named[m] = nr;
            }
        }
    }
}

void TestSchueler::wahlAnz()
{
    TSchueler s;
    QCOMPARE(s.getWahlAnz(), 0);
    s.wahl[2] = 4;
    s.wahl[4] = 7;
    QCOMPARE(s.getWahlAnz(), 2);
}

void TestSchueler::hand()
{
    TSchueler s;
    s.setHand(3);
    QCOMPARE(s.getHand(), 3);
    s.setHand(6);
    QCOMPARE(s.getHand(), -1);
    s.setHand(2);
    s.setHand(-5);
    QCOMPARE(s.getHand(), -1);
    QVERIFY(!s.isHand());
    s.setHand(0);
    QCOMPARE(s.getHand(), 0);
    QVERIFY(s.isHand());
    s.clearHand();
    QVERIFY(!s.isHand());
}

void TestSchueler::sortKey_data()
{
    QTest::addColumn<int>("krit");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("projects");   // in the program's project list
    // name "Abcdefghijklmnopqrstuvwxyz", grade 7, department "bio", boy,
    // project 12; the class ends in the character 1
    QTest::newRow("N") << int(sc_N) << "Abcdefghijklmnopqrst 7BIO\x01" "m 12" << 12;
    QTest::newRow("not sorted") << int(sc_NotSorted) << "Abcdefghijklmnopqrst 7BIO\x01" "m 12" << 12;
    QTest::newRow("Kl_N") << int(sc_Kl_N) << " 7BIO\x01" "Abcdefghijklmnopqrstm 12" << 12;
    QTest::newRow("P_N") << int(sc_P_N) << " 12Abcdefghijklmnopqrst 7BIO\x01" "m" << 12;
    QTest::newRow("P_Kl") << int(sc_P_Kl) << " 12 7BIO\x01" "Abcdefghijklmnopqrstm" << 12;
    // a project the list does not hold sorts as none
    QTest::newRow("P_N, no project 12") << int(sc_P_N) << "  0Abcdefghijklmnopqrst 7BIO\x01" "m" << 11;
}

void TestSchueler::sortKey()
{
    QFETCH(int, krit);
    QFETCH(int, projects);
    const TGlobalProjects global(projects);
    TSchueler s;
    s.name = QStringLiteral("Abcdefghijklmnopqrstuvwxyz");
    s.jgst = 7;
    s.abt = QStringLiteral("bio");
    s.geschl = true;
    s.zuteil = 12;
    QTEST(s.ToSortZeil(TSortCritType(krit)), "key");
}

QTEST_GUILESS_MAIN(TestSchueler)
#include "tst_schueler.moc"

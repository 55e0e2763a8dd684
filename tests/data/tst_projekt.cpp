#include "data/UProjekt.h"
#include "tests/support/UScriptedUi.h"

#include <QtTest>

namespace {

const QString kCount = QStringLiteral("Projektdatenzeile enthaelt falsche Anzahl Elemente");

QString fieldMsg(const char* field)
{
    return QStringLiteral("Projektdatenzeile: Feld \"%1\" fehlerhaft ()").arg(QString::fromUtf8(field));
}

QStringList fields(const QString& list)
{
    // "|" separated, so that fields may hold blanks and ";" in tests
    return list.split(QLatin1Char('|'));
}

} // namespace

class TestProjekt : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void nullProject();
    void defaultCtorWarns();
    void read_data();
    void read();
    void reject_data();
    void reject();
    void failedLineChangesNothing();
    void constructorFailsCleanly();
    void write_data();
    void write();
    void roundTrip();
    void checkAndSetNr();
    void counts();
    void toString_data();
    void toString();
};

void TestProjekt::defaults()
{
    TProjekt p(4);
    QCOMPARE(p.getNr(), 4);
    QCOMPARE(p.name, QString());
    QCOMPARE(p.jgmin, 1);
    QCOMPARE(p.jgmax, 13);
    QCOMPARE(p.teilnmin, 0);
    QCOMPARE(p.teilnmax, 1000);
    QVERIFY(p.weib && p.maenn && !p.gesp);
    QCOMPARE(p.Anz(), 0);
    QVERIFY(p.isProjekt());
    QVERIFY(!p.isSchueler());
    QCOMPARE(p.ToZeile().AsString(), QStringLiteral("4; ; 1; 13; 0; 1000; -; -;   0; "));
}

void TestProjekt::nullProject()
{
    std::unique_ptr<TProjekt> p(TProjekt::CreateNull());
    QCOMPARE(p->nr, 0);
    QCOMPARE(p->getName(), QStringLiteral("Nicht/ungültig gewählt"));
    QCOMPARE(p->teilnmax, 1000);
    QCOMPARE(p->ToString(), QStringLiteral("Nicht/ungültig gewählt"));
}

void TestProjekt::defaultCtorWarns()
{
    TScriptedUi ui;
    TProjekt p;
    QCOMPARE(p.nr, 1);
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Warnung: leeres Projekt ohne Nummer erzeugt (Default: 1)")});
    QCOMPARE(ui.messages.first().caption(), QStringLiteral("zuv"));
}

void TestProjekt::read_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("nr");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("jgmin");
    QTest::addColumn<int>("jgmax");
    QTest::addColumn<int>("tmin");
    QTest::addColumn<int>("tmax");
    QTest::addColumn<bool>("weib");
    QTest::addColumn<bool>("maenn");
    QTest::addColumn<bool>("gesp");

    QTest::newRow("9 fields") << "3|Theater|5|10|8|20|-|-|  0" << 3 << "Theater" << 5 << 10 << 8 << 20 << true << true << false;
    QTest::newRow("8 fields") << "3|Theater|5|10|8|20|-|-" << 3 << "Theater" << 5 << 10 << 8 << 20 << true << true << false;
    QTest::newRow("ninth ignored") << "3|T|5|10|8|20|-|-|garbage" << 3 << "T" << 5 << 10 << 8 << 20 << true << true << false;
    // The name is stored as a project line gives it back.
    QTest::newRow("blank name") << "1| |1|13|0|0|-|-" << 1 << "" << 1 << 13 << 0 << 0 << true << true << false;
    QTest::newRow("blanks before name") << "1|  Zoo  |1|13|0|0|-|-" << 1 << "Zoo  " << 1 << 13 << 0 << 0 << true << true << false;
    QTest::newRow("blank before grade") << "1|A| 1|13|0|0|-|-" << 1 << "A" << 1 << 13 << 0 << 0 << true << true << false;
    QTest::newRow("13 and 20000") << "1|A|13|13|20000|20000|-|-" << 1 << "A" << 13 << 13 << 20000 << 20000 << true << true << false;
    QTest::newRow("hex") << "$7FFFFFFF|A|x1|0XD|0|$10|-|-" << 2147483647 << "A" << 1 << 13 << 0 << 16 << true << true << false;
    QTest::newRow("girls w") << "1|A|1|13|0|0|w|-" << 1 << "A" << 1 << 13 << 0 << 0 << true << false << false;
    QTest::newRow("girls W") << "1|A|1|13|0|0|W|-" << 1 << "A" << 1 << 13 << 0 << 0 << true << false << false;
    QTest::newRow("girls Wxyz") << "1|A|1|13|0|0|Wxyz|-" << 1 << "A" << 1 << 13 << 0 << 0 << true << false << false;
    QTest::newRow("boys m") << "1|A|1|13|0|0|m|-" << 1 << "A" << 1 << 13 << 0 << 0 << false << true << false;
    QTest::newRow("neither x") << "1|A|1|13|0|0|x|-" << 1 << "A" << 1 << 13 << 0 << 0 << false << false << false;
    QTest::newRow("closed x") << "1|A|1|13|0|0|-|x" << 1 << "A" << 1 << 13 << 0 << 0 << true << true << true;
    QTest::newRow("closed Xyz") << "1|A|1|13|0|0|-|Xyz" << 1 << "A" << 1 << 13 << 0 << 0 << true << true << true;
    QTest::newRow("min above max kept") << "1|A|10|5|30|20|-|-" << 1 << "A" << 10 << 5 << 30 << 20 << true << true << false;
    QTest::newRow("empty name") << "1||1|13|0|0|-|-" << 1 << "" << 1 << 13 << 0 << 0 << true << true << false;
    QTest::newRow("umlaut name") << "1| Löwen |1|13|0|0|-|-" << 1 << "Löwen " << 1 << 13 << 0 << 0 << true << true << false;
}

void TestProjekt::read()
{
    QFETCH(QString, line);
    TProjekt p(fields(line));
    QTEST(p.nr, "nr");
    QTEST(p.name, "name");
    QTEST(p.jgmin, "jgmin");
    QTEST(p.jgmax, "jgmax");
    QTEST(p.teilnmin, "tmin");
    QTEST(p.teilnmax, "tmax");
    QTEST(p.weib, "weib");
    QTEST(p.maenn, "maenn");
    QTEST(p.gesp, "gesp");
    QCOMPARE(p.eintanz, 0);
}

void TestProjekt::reject_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("7 fields") << "1|A|1|13|0|0|-" << kCount;
    QTest::newRow("10 fields") << "1|A|1|13|0|0|-|-|0|x" << kCount;
    QTest::newRow("nr 0") << "0|A|1|13|0|0|-|-" << fieldMsg("Nummer");
    QTest::newRow("nr trailing blank") << "1 |A|1|13|0|0|-|-" << fieldMsg("Nummer");
    QTest::newRow("nr text") << "eins|A|1|13|0|0|-|-" << fieldMsg("Nummer");
    QTest::newRow("nr overflow") << "2147483648|A|1|13|0|0|-|-" << fieldMsg("Nummer");
    QTest::newRow("nr negative") << "-2147483648|A|1|13|0|0|-|-" << fieldMsg("Nummer");
    QTest::newRow("name ;") << "1|A;B|1|13|0|0|-|-" << fieldMsg("Name");
    QTest::newRow("name CR") << "1|A\rB|1|13|0|0|-|-" << fieldMsg("Name");
    QTest::newRow("name LF") << "1|A\nB|1|13|0|0|-|-" << fieldMsg("Name");
    QTest::newRow("name outside code page") << QStringLiteral("1|Łódź|1|13|0|0|-|-") << fieldMsg("Name");
    QTest::newRow("jgmin trailing blank") << "1|A|1 |13|0|0|-|-" << fieldMsg("Mindest-Jahrgangsstufe");
    QTest::newRow("jgmin 0") << "1|A|0|13|0|0|-|-" << fieldMsg("Mindest-Jahrgangsstufe");
    QTest::newRow("jgmin 14") << "1|A|14|13|0|0|-|-" << fieldMsg("Mindest-Jahrgangsstufe");
    QTest::newRow("jgmax 0") << "1|A|1|0|0|0|-|-" << fieldMsg("Höchst-Jahrgangsstufe");
    QTest::newRow("jgmax 14") << "1|A|1|14|0|0|-|-" << fieldMsg("Höchst-Jahrgangsstufe");
    QTest::newRow("tmin -1") << "1|A|1|13|-1|0|-|-" << fieldMsg("Mindesteilnehmerzahl");
    QTest::newRow("tmin hex -1") << "1|A|1|13|$FFFFFFFF|0|-|-" << fieldMsg("Mindesteilnehmerzahl");
    QTest::newRow("tmax 20001") << "1|A|1|13|0|20001|-|-" << fieldMsg("Höchstteilnehmerzahl");
    QTest::newRow("lock empty") << "1|A|1|13|0|0||-" << fieldMsg("Sperrung m/w");
    QTest::newRow("lock f") << "1|A|1|13|0|0|f|-" << fieldMsg("Sperrung m/w");
    QTest::newRow("closed empty") << "1|A|1|13|0|0|-|" << fieldMsg("aufgeloest");
    QTest::newRow("closed nein") << "1|A|1|13|0|0|-|nein" << fieldMsg("aufgeloest");
}

void TestProjekt::reject()
{
    // A refused line leaves the project as it was, every field.
    QFETCH(QString, line);
    QFETCH(QString, message);
    TProjekt p(fields(QStringLiteral("9|Alt|2|3|4|5|m|x")));
    const QStringList before = p.ToZeile();
    try {
        p.FromZeile(fields(line));
        QFAIL("no exception");
    } catch (const EProFromZeile& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(QStringList(p.ToZeile()), before);
}

void TestProjekt::failedLineChangesNothing()
{
    TProjekt p(9);
    p.name = QStringLiteral("alt");
    QVERIFY_THROWS_EXCEPTION(EProFromZeile, p.FromZeile(fields("5|neu|3|99|7|8|w|x")));
    QCOMPARE(p.nr, 9);
    QCOMPARE(p.name, QStringLiteral("alt"));
    QCOMPARE(p.jgmin, 1);
    QCOMPARE(p.jgmax, 13);
    QCOMPARE(p.teilnmin, 0);
    QVERIFY(p.weib && p.maenn);

    TProjekt q(9);
    QVERIFY_THROWS_EXCEPTION(EProFromZeile, q.FromZeile(fields("5|a;b|3|4|7|8|w|x")));
    QCOMPARE(q.nr, 9);
    QCOMPARE(q.name, QString());
}

void TestProjekt::constructorFailsCleanly()
{
    // Under ASan a leak of the half-built project would fail the test.
    QVERIFY_THROWS_EXCEPTION(EProFromZeile, TProjekt(TZeile(QStringLiteral("1; A; 1; 13; 0; 0; -; "))));
}

void TestProjekt::write_data()
{
    QTest::addColumn<bool>("weib");
    QTest::addColumn<bool>("maenn");
    QTest::addColumn<bool>("gesp");
    QTest::addColumn<QString>("lock");
    QTest::addColumn<QString>("closed");
    QTest::newRow("both") << true << true << false << "-" << "-";
    QTest::newRow("boys") << false << true << false << "m" << "-";
    QTest::newRow("girls") << true << false << false << "w" << "-";
    QTest::newRow("neither") << false << false << true << "X" << "X";
}

void TestProjekt::write()
{
    QFETCH(bool, weib);
    QFETCH(bool, maenn);
    QFETCH(bool, gesp);
    TProjekt p(2);
    p.weib = weib;
    p.maenn = maenn;
    p.gesp = gesp;
    const TZeile z = p.ToZeile();
    QCOMPARE(z.size(), 9);
    QTEST(z.at(6), "lock");
    QTEST(z.at(7), "closed");
    QCOMPARE(z.at(8), QStringLiteral("  0"));
    TProjekt back(TZeile(z.AsString()));
    QCOMPARE(back.weib, weib);
    QCOMPARE(back.maenn, maenn);
    QCOMPARE(back.gesp, gesp);
}

void TestProjekt::roundTrip()
{
    TProjekt p(4);
    p.name = QStringLiteral("  Zirkus Öl €  ");
    p.jgmin = 5;
    p.jgmax = 9;
    p.teilnmin = 12;
    p.teilnmax = 20000;
    p.eintanz = 17;
    const TProjekt back(TZeile(p.ToZeile().AsString()));
    QCOMPARE(back.nr, 4);
    QCOMPARE(back.name, QStringLiteral("Zirkus Öl €  "));   // leading blanks go
    QCOMPARE(back.jgmin, 5);
    QCOMPARE(back.jgmax, 9);
    QCOMPARE(back.teilnmin, 12);
    QCOMPARE(back.teilnmax, 20000);
    QCOMPARE(back.eintanz, 0);
}

void TestProjekt::checkAndSetNr()
{
    TProjekt p(3);
    p.CheckAndSetNr(7);
    QCOMPARE(p.getNr(), 7);
    p.setNr(2);
    QCOMPARE(p.getNr(), 2);
}

void TestProjekt::counts()
{
    TProjekt p(1);
    p.IncAnz();
    p.IncAnz();
    QCOMPARE(p.Anz(), 2);
    p.ResetAnz();
    QCOMPARE(p.Anz(), 0);
}

void TestProjekt::toString_data()
{
    // A "%" followed by a digit in the name comes out unchanged.
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Theater");
    QTest::newRow("%3") << QStringLiteral("Rabatt 50%3");
    QTest::newRow("%1") << QStringLiteral("Kunst%1");
    QTest::newRow("%6") << QStringLiteral("A%6B");
    QTest::newRow("plain percent") << QStringLiteral("100% Sport");
}

void TestProjekt::toString()
{
    QFETCH(QString, name);
    TProjekt p(3);
    p.name = name;
    p.teilnmin = 8;
    p.teilnmax = 20;
    p.jgmin = 5;
    p.jgmax = 10;
    QCOMPARE(p.ToString(), QStringLiteral("Projekt 3: ") + name + QStringLiteral(" (8-20 Teiln., Kl 5-10)"));
}

QTEST_GUILESS_MAIN(TestProjekt)
#include "tst_projekt.moc"

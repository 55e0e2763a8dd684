#include "data/UZeile.h"

#include <QtTest>

class TestZeile : public QObject {
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void appendsToExisting();
    void join();
    void roundTrip();
    void textRule_data();
    void textRule();
};

void TestZeile::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("result");

    QTest::newRow("empty") << "" << QStringList() << -1;
    QTest::newRow("no separator") << "abc" << QStringList() << -1;
    QTest::newRow("last field without ;") << "a;b" << QStringList{"a"} << 0;
    QTest::newRow("two ;") << ";;" << QStringList{"", ""} << 1;
    QTest::newRow("first keeps blanks") << " a; b;" << QStringList{" a", "b"} << 1;
    QTest::newRow("blank field empties") << "a;   ;" << QStringList{"a", ""} << 1;
    QTest::newRow("tab stays") << "a;\tb;" << QStringList{"a", "\tb"} << 1;
    QTest::newRow("trailing blanks stay") << "a ; b  ;" << QStringList{"a ", "b  "} << 1;
    QTest::newRow("joined") << "1; x; " << QStringList{"1", "x"} << 1;
}

void TestZeile::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(int, result);
    TZeile z;
    QCOMPARE(z.ReadFromString(text), result);
    QCOMPARE(QStringList(z), fields);
    QCOMPARE(QStringList(TZeile(text)), fields);
}

void TestZeile::appendsToExisting()
{
    TZeile z(QStringLiteral("a; b; "));
    QCOMPARE(z.ReadFromString(QStringLiteral("c; d; ")), 3);
    QCOMPARE(QStringList(z), (QStringList{"a", "b", "c", "d"}));
}

void TestZeile::join()
{
    TZeile z;
    QCOMPARE(z.AsString(), QString());
    z.append(QStringLiteral("1"));
    z.append(QStringLiteral("x"));
    QCOMPARE(z.AsString(), QStringLiteral("1; x; "));
    QCOMPARE(z.AsString(ft_wahl), z.AsString());
    QCOMPARE(z.AsString(ft_proj), z.AsString());
    QCOMPARE(z.AsString(ft_teil), z.AsString());
}

void TestZeile::roundTrip()
{
    TZeile z;
    z << QStringLiteral(" lead") << QString() << QStringLiteral("Müller ") << QStringLiteral(" gone");
    const TZeile back(z.AsString());
    QCOMPARE(QStringList(back), (QStringList{" lead", "", "Müller ", "gone"}));
}

void TestZeile::textRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("plain") << "Meier, Anna" << true;
    QTest::newRow("umlauts and euro") << QStringLiteral("Jürgen Öß €") << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("semicolon") << "a;b" << false;
    QTest::newRow("CR") << "a\rb" << false;
    QTest::newRow("LF") << "a\nb" << false;
    QTest::newRow("NUL") << QString(QChar(0)) << false;
    QTest::newRow("outside code page") << QStringLiteral("Łukasz") << false;
    QTest::newRow("emoji") << QString::fromUtf8("\xf0\x9f\x98\x80") << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("escape") << "a\x1b" "b" << false;
    QTest::newRow("unit separator") << "\x1f" << false;
    QTest::newRow("blank") << " " << true;
    QTest::newRow("DEL") << QStringLiteral("a\x7f" "b") << false;
    QTest::newRow("NBSP") << QStringLiteral("a\u00a0b") << true;
}

void TestZeile::textRule()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(FitsZeile(text), fits);
}

QTEST_GUILESS_MAIN(TestZeile)
#include "tst_zeile.moc"

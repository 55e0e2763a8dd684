#include "data/UBasics.h"
#include "data/UGlobals.h"

#include <QtTest>
#include <climits>

class TestBasics : public QObject {
    Q_OBJECT
private slots:
    void integerRule_data();
    void integerRule();
    void strToIntRange_data();
    void strToIntRange();
    void nextNumberStr_data();
    void nextNumberStr();
    void splitNumber_data();
    void splitNumber();
    void trimSpaces_data();
    void trimSpaces();
    void isBetween();
    void klasseStr_data();
    void klasseStr();
    void intToStrWidth();
    void firstCharOr();
    void tables();
    void rankedRejectsBadRank();
};

void TestBasics::integerRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("leading blanks") << "   13" << true << 13;
    QTest::newRow("plus") << "+5" << true << 5;
    QTest::newRow("minus zero") << "-0" << true << 0;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("trailing blank") << "13 " << false << 0;
    QTest::newRow("blank after sign") << "- 5" << false << 0;
    QTest::newRow("two signs") << "+-5" << false << 0;
    QTest::newRow("point") << "1.0" << false << 0;
    QTest::newRow("tab before") << "\t5" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("lone sign") << "-" << false << 0;
    QTest::newRow("lone dollar") << "$" << false << 0;
    QTest::newRow("lone 0x") << "0x" << false << 0;
    QTest::newRow("lone x") << "x" << false << 0;
    QTest::newRow("dollar") << "$d" << true << 13;
    QTest::newRow("x") << "x0D" << true << 13;
    QTest::newRow("X") << "XfF" << true << 255;
    QTest::newRow("0x") << "0x1f" << true << 31;
    QTest::newRow("0X") << "0XA" << true << 10;
    QTest::newRow("minus hex") << "-$10" << true << -16;
    QTest::newRow("blank plus hex") << "  +$10" << true << 16;
    QTest::newRow("max") << "2147483647" << true << INT_MAX;
    QTest::newRow("min") << "-2147483648" << true << INT_MIN;
    QTest::newRow("max+1") << "2147483648" << false << 0;
    QTest::newRow("min-1") << "-2147483649" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("hex max") << "$7FFFFFFF" << true << INT_MAX;
    QTest::newRow("hex pattern -1") << "$FFFFFFFF" << true << -1;
    QTest::newRow("hex pattern min") << "$80000000" << true << INT_MIN;
    QTest::newRow("minus hex min wraps") << "-$80000000" << true << INT_MIN;
    QTest::newRow("minus hex -1") << "-$FFFFFFFF" << true << 1;
    QTest::newRow("hex nine digits") << "$100000000" << false << 0;
    QTest::newRow("hex leading zeros") << "$000000000001" << true << 1;
    QTest::newRow("hex bad digit") << "$1G" << false << 0;
    QTest::newRow("hex trailing blank") << "$1 " << false << 0;
    QTest::newRow("letters") << "A5" << false << 0;
    QTest::newRow("fullwidth digit") << QString::fromUtf8("\xef\xbc\x95") << false << 0;
}

void TestBasics::integerRule()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    QCOMPARE(IsInteger(text), ok);
    int v = 4711;
    StrToIntRange(text, v, INT_MIN, INT_MAX);
    QCOMPARE(v, ok ? value : 4711);
}

void TestBasics::strToIntRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("value");   // -99: left unchanged

    QTest::newRow("blank 13") << " 13" << 1 << 13 << true << 13;
    QTest::newRow("13 blank") << "13 " << 1 << 13 << false << -99;
    QTest::newRow("14 out of range sets value") << "14" << 1 << 13 << false << 14;
    QTest::newRow("x0D") << "x0D" << 1 << 13 << true << 13;
    QTest::newRow("$d") << "$d" << 1 << 13 << true << 13;
    QTest::newRow("1.0") << "1.0" << 1 << 13 << false << -99;
    QTest::newRow("2147483648 unchanged") << "2147483648" << 0 << INT_MAX << false << -99;
    QTest::newRow("int min") << "-2147483648" << INT_MIN << 0 << true << INT_MIN;
    QTest::newRow("lower edge") << "1" << 1 << 13 << true << 1;
    QTest::newRow("below") << "0" << 1 << 13 << false << 0;
    QTest::newRow("inverted bounds") << "3" << 5 << 1 << false << 3;
}

void TestBasics::strToIntRange()
{
    QFETCH(QString, text);
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(bool, result);
    QFETCH(int, value);
    int v = -99;
    QCOMPARE(StrToIntRange(text, v, lo, hi), result);
    QCOMPARE(v, value);
}

void TestBasics::nextNumberStr_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("next");
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("0") << "0" << "1";
    QTest::newRow("007") << "007" << "8";
    QTest::newRow("$A") << "$A" << "11";
    QTest::newRow("-1") << "-1" << "0";
    QTest::newRow("max does not overflow") << "2147483647" << "2147483648";
    QTest::newRow("hex -1") << "$FFFFFFFF" << "0";
    QTest::newRow("garbage") << "abc" << "0";
}

void TestBasics::nextNumberStr()
{
    QFETCH(QString, text);
    QFETCH(QString, next);
    QCOMPARE(NextNumberStr(text), next);
}

void TestBasics::splitNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("number");   // -99: left unchanged
    QTest::addColumn<QString>("rest");

    QTest::newRow("7a") << " 7a" << true << 7 << "a";
    QTest::newRow("12 b") << "12 b" << true << 12 << " b";
    QTest::newRow("0x1G") << "0x1G" << true << 1 << "G";
    QTest::newRow("A5") << "A5" << false << -99 << "A5";
    QTest::newRow("lone minus") << "-" << false << -99 << "";
    QTest::newRow("whole number") << "  42  " << true << 42 << "";
    QTest::newRow("empty") << "" << false << -99 << "";
    QTest::newRow("number beyond range") << "2147483648" << true << 214748364 << "8";
    QTest::newRow("ninth hex digit") << "$123456789" << true << 0x12345678 << "9";
    QTest::newRow("10b") << "10b" << true << 10 << "b";
}

void TestBasics::splitNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, result);
    QFETCH(int, number);
    QFETCH(QString, rest);
    int n = -99;
    QString r = QStringLiteral("unset");
    QCOMPARE(SplitNumber(text, n, r), result);
    QCOMPARE(n, number);
    QCOMPARE(r, rest);
}

void TestBasics::trimSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("three blanks") << "   " << "";
    QTest::newRow("inner blank stays") << " a b " << "a b";
    QTest::newRow("tabs stay") << "\ta\t" << "\ta\t";
    QTest::newRow("vertical tab stays") << "\x0b" "a " << "\x0b" "a";
    QTest::newRow("no-break space stays") << QString(QChar(0xA0)) + "a" << QString(QChar(0xA0)) + "a";
}

void TestBasics::trimSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimSpaces(text), trimmed);
}

void TestBasics::isBetween()
{
    QVERIFY(IsBetween(5, 1, 5));
    QVERIFY(!IsBetween(0, 1, 5));
    QVERIFY(!IsBetween(3, 5, 1));
    QVERIFY(IsBetween(INT_MIN, INT_MIN, INT_MAX));
}

void TestBasics::klasseStr_data()
{
    QTest::addColumn<int>("jgst");
    QTest::addColumn<QString>("abt");
    QTest::addColumn<QString>("klasse");
    QTest::newRow("7a") << 7 << "a" << " 7a";
    QTest::newRow("12B") << 12 << "B" << "12B";
    QTest::newRow("0 empty") << 0 << "" << " 0";
    QTest::newRow("5 blank") << 5 << " " << " 5 ";
    QTest::newRow("100 not cut") << 100 << "c" << "100c";
    QTest::newRow("case kept") << 9 << "bio" << " 9bio";
}

void TestBasics::klasseStr()
{
    QFETCH(int, jgst);
    QFETCH(QString, abt);
    QFETCH(QString, klasse);
    QCOMPARE(KlasseStr(jgst, abt), klasse);
}

void TestBasics::intToStrWidth()
{
    QCOMPARE(IntToStrWidth(7, 2), QStringLiteral(" 7"));
    QCOMPARE(IntToStrWidth(123, 2), QStringLiteral("123"));
    QCOMPARE(IntToStrWidth(-5, 2), QStringLiteral("-5"));
    QCOMPARE(IntToStrWidth(0, 3), QStringLiteral("  0"));
    QCOMPARE(IntToStrWidth(INT_MIN, 1), QStringLiteral("-2147483648"));
}

void TestBasics::firstCharOr()
{
    QCOMPARE(FirstCharOr(QString(), QLatin1Char('-')), QLatin1Char('-'));
    QCOMPARE(FirstCharOr(QStringLiteral("xyz"), QLatin1Char('-')), QLatin1Char('x'));
}

void TestBasics::tables()
{
    QCOMPARE(QString::fromLatin1(FileTypeName[ft_wahl]), QStringLiteral("Schuelerwahl"));
    QCOMPARE(QString::fromLatin1(FileTypeName[ft_proj]), QStringLiteral("Projekt"));
    QCOMPARE(QString::fromLatin1(FileTypeName[ft_teil]), QStringLiteral("Einteilung"));
    QCOMPARE(QString::fromLatin1(FileTypeExt[ft_wahl]), QStringLiteral("WAH"));
    QCOMPARE(QString::fromLatin1(FileTypeExt[ft_proj]), QStringLiteral("PRO"));
    QCOMPARE(QString::fromLatin1(FileTypeExt[ft_teil]), QStringLiteral("EIN"));
    QCOMPARE(QString::fromLatin1(ExportExt[exSpace]), QStringLiteral("TXT"));
    QCOMPARE(QString::fromLatin1(ExportExt[exTab]), QStringLiteral("TXT"));
    QCOMPARE(QString::fromLatin1(ExportExt[exHtml]), QStringLiteral("HTML"));
    QCOMPARE(GeschlChar[0], 'w');
    QCOMPARE(GeschlChar[1], 'm');
    QCOMPARE(int(sc_P_Kl), 4);
    QCOMPARE(int(exPrint), 3);
}

void TestBasics::rankedRejectsBadRank()
{
    TRanked<int> r;
    r[1] = 3;
    r[5] = 9;
    QCOMPARE(r[1], 3);
    QCOMPARE(r[5], 9);
    QVERIFY_THROWS_EXCEPTION(Exception, r[0]);
    QVERIFY_THROWS_EXCEPTION(Exception, r[6]);
}

QTEST_GUILESS_MAIN(TestBasics)
#include "tst_basics.moc"

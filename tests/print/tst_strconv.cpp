#include "print/UStrConv.h"

#include "platform/UAnsiText.h"

#include <QtTest>

class TestStrConv : public QObject {
    Q_OBJECT

private slots:
    void replacesDosLetters_data()
    {
        QTest::addColumn<QByteArray>("dosBytes");
        QTest::addColumn<QString>("html");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("plain") << QByteArray("Hans") << QStringLiteral("Hans");
        QTest::newRow("ae") << QByteArray("J\x84ger") << QStringLiteral("J&auml;ger");
        QTest::newRow("oe") << QByteArray("K\x94hler") << QStringLiteral("K&ouml;hler");
        QTest::newRow("ue") << QByteArray("M\x81ller") << QStringLiteral("M&uuml;ller");
        QTest::newRow("sz") << QByteArray("Stra\xE1" "e") << QStringLiteral("Stra&szlig;e");
        QTest::newRow("Ae") << QByteArray("\x8Erger") << QStringLiteral("&Auml;rger");
        QTest::newRow("Oe") << QByteArray("\x99l") << QStringLiteral("&Ouml;l");
        QTest::newRow("Ue") << QByteArray("\x9A" "ber") << QStringLiteral("&Uuml;ber");
        QTest::newRow("e acute") << QByteArray("Caf\x82") << QStringLiteral("Caf&eacute;");
        // Windows umlauts and the markup characters pass unchanged.
        QTest::newRow("windows") << QByteArray("\xE4\xF6\xFC\xDF\xC4") << QStringLiteral("äöüßÄ");
        QTest::newRow("markup") << QByteArray("<b>&amp;") << QStringLiteral("<b>&amp;");
        // Real Windows letters that share a DOS byte ("Ž", "á") are rewritten too.
        QTest::newRow("shared") << QByteArray("\x8E\xE1") << QStringLiteral("&Auml;&szlig;");
    }
    void replacesDosLetters()
    {
        QFETCH(QByteArray, dosBytes);
        QFETCH(QString, html);
        QCOMPARE(DosUmlautsToHtml(Ansi::decode(dosBytes)), html);
    }

    void escapesMarkup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("name") << QStringLiteral("Tom <&> Jerry") << QStringLiteral("Tom &lt;&amp;&gt; Jerry");
        QTest::newRow("quote kept") << QStringLiteral("\"a\"") << QStringLiteral("\"a\"");
        QTest::newRow("umlaut kept") << QStringLiteral("Müller") << QStringLiteral("Müller");
    }
    void escapesMarkup()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(HtmlEscape(text), escaped);
    }

    void escapedEntitiesSurviveTheUmlauts()
    {
        const QString name = Ansi::decode(QByteArray("M\x81ller & S\x94hne"));
        QCOMPARE(DosUmlautsToHtml(HtmlEscape(name)), QStringLiteral("M&uuml;ller &amp; S&ouml;hne"));
    }
};

QTEST_GUILESS_MAIN(TestStrConv)
#include "tst_strconv.moc"

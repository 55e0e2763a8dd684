// Texts that carry "%" followed by a digit must come out unchanged.

#include "UDataTestUtil.h"
#include "data/UDataFile.h"
#include "data/UProjekt.h"
#include "tests/support/UScriptedUi.h"

#include <QtTest>

class TestReview : public QObject {
    Q_OBJECT
private slots:
    void projectToStringKeepsName_data();
    void projectToStringKeepsName();
    void nulMessageKeepsFileName();
};

void TestReview::projectToStringKeepsName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("%3") << QStringLiteral("Rabatt 50%3");
    QTest::newRow("%1") << QStringLiteral("Kunst%1");
    QTest::newRow("%6") << QStringLiteral("A%6B");
    QTest::newRow("plain percent") << QStringLiteral("100% Sport");
}

void TestReview::projectToStringKeepsName()
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

void TestReview::nulMessageKeepsFileName()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Klasse%2.EIN"));
    writeBytes(file, QByteArray("Be\0rt; m; 7; a; -; 1; 0; 0; 0; 0; 0; \r\n", 39));
    TScriptedUi ui;
    TOwnedSchuelerData sd;
    TDataFile f(ft_teil, file);
    QVERIFY(f.OpenRead());
    QCOMPARE(f.Read(sd, false), 0);
    f.Close();
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY2(ui.lastText().contains(QStringLiteral("Klasse%2.EIN")), qPrintable(ui.lastText()));
}

QTEST_GUILESS_MAIN(TestReview)
#include "tst_review.moc"

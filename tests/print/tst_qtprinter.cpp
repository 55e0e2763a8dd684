#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UQtPrinter.h"
#include "print/UVirtPrinter.h"

#include "tests/support/UScriptedUi.h"

#include <QDir>
#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Where the PDF goes: KESTRIN_PDF_DIR when set (to look at it), else a
// temporary folder.
QString PdfPath(const QTemporaryDir& tmp, const QString& name)
{
    const QString dir = qEnvironmentVariable("KESTRIN_PDF_DIR");
    return (dir.isEmpty() ? tmp.path() : dir) + QLatin1Char('/') + name;
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT

private slots:
    void printsListsIntoPdfs()
    {
        QTemporaryDir tmp;
        TScriptedUi ui;
        TQtPrinter device;
        IPrinterDevice* previous = SetPrinter(&device);

        const QStringList projects{"Theater", "Töpfern", "Schach <&> Go", "Fußball", "Chor"};
        for (int i = 0; i < projects.size(); ++i) {
            auto* p = new TProjekt(i + 1);
            p->name = projects[i];
            p->jgmin = 5 + i;
            p->teilnmin = 5;
            p->teilnmax = 20 + 5 * i;
            p->weib = i != 3;
            p->gesp = i == 1;
            ProjektData->add(p);
        }
        static const char* const first[] = {"Lena", "Jörg", "Änne", "Max", "Sören", "Paul", "Eva", "Ida"};
        static const char* const last[] = {"Müller", "Schmidt", "Öztürk", "Becker", "Weiß", "Hoffmann", "Kühn"};
        TSchuelerData pupils;
        for (int i = 0; i < 90; ++i) {
            auto* s = new TSchueler;
            s->name = QString::fromUtf8(last[i % 7]) + QStringLiteral(", ") + QString::fromUtf8(first[i % 8]);
            s->geschl = i % 2;
            s->jgst = 5 + i % 8;
            s->abt = QString(QChar(u'a' + i % 3));
            for (int r = 1; r <= 5; ++r)
                s->wahl[r] = 1 + (i + r) % 5;
            s->zuteil = i % 11 == 0 ? 0 : s->wahl[1 + i % 2];
            pupils.add(s);
        }
        pupils.Sort(sc_P_N);

        const TFontSpec heading{QStringLiteral("DejaVu Sans"), 14, true};
        const TFontSpec standard{QStringLiteral("DejaVu Sans"), 10};
        const QString pupilsPdf = PdfPath(tmp, QStringLiteral("schueler.pdf"));
        const QString projectsPdf = PdfPath(tmp, QStringLiteral("projekte.pdf"));
        for (const QString& f : {pupilsPdf, projectsPdf})
            QFile::remove(f);

        device.setPdfFile(pupilsPdf);
        pupils.SetPrintFonts(&heading, &standard, 1.2, true);
        QCOMPARE(pupils.ExportData(QString(), exPrint, true), 90);
        device.setPdfFile(projectsPdf);
        ProjektData->SetPrintFonts(&heading, &standard, 1.2, true);
        QCOMPARE(ProjektData->ExportData(QString(), exPrint, false), 5);

        SetPrinter(previous);
        pupils.ClearData();
        ProjektData->ClearData();
        QCOMPARE(ui.texts(), (QStringList{"Druckauftrag abgesendet.", "Druckauftrag abgesendet."}));
        for (const QString& f : {pupilsPdf, projectsPdf}) {
            QFile pdf(f);
            QVERIFY(pdf.open(QIODevice::ReadOnly));
            QVERIFY(pdf.readAll().startsWith("%PDF"));
        }
    }

    void aDroppedJobLeavesTheOldFileAndTheNextJobPrints()
    {
        QTemporaryDir tmp;
        TQtPrinter device;
        const QString pdf = tmp.filePath(QStringLiteral("liste.pdf"));
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("alt");
        }
        device.setPdfFile(pdf);
        QVERIFY(device.beginDoc(QStringLiteral("Liste")));
        device.textOut(0, 0, QStringLiteral("verworfen"));
        device.newPage();
        device.abortDoc();
        QVERIFY(!device.printing());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("alt"));
        file.close();
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList{"liste.pdf"});

        for (int job = 1; job <= 2; ++job) {
            QVERIFY(device.beginDoc(QStringLiteral("Liste")));
            QCOMPARE(device.pageNumber(), 1);
            device.setFont(TFontSpec());
            device.textOut(0, 0, QStringLiteral("gedruckt"));
            QVERIFY2(device.endDoc(), qPrintable(device.errorText()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            file.close();
            QVERIFY(bytes.startsWith("%PDF"));
            QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        }
    }

    void unknownFaceFallsBack()
    {
        TQtPrinter device;
        device.setFont(TFontSpec{QStringLiteral("Keine solche Schrift"), 0, true});
        QVERIFY(QFontDatabase::hasFamily(device.font().name));
        QCOMPARE(device.font().size, TFontSpec().size);
        QVERIFY(device.font().bold);
    }

    void pdfWithoutFileIsRefused()
    {
        TScriptedUi ui;
        TQtPrinter device;
        IPrinterDevice* previous = SetPrinter(&device);
        device.qprinter().setOutputFileName(QString());
        device.qprinter().setOutputFormat(QPrinter::PdfFormat);
        try {
            TVirtPrinter p(nullptr, nullptr, 1.0, false);
            QFAIL("no error");
        } catch (const EPrinterError& e) {
            QCOMPARE(e.message(), QStringLiteral("Es ist kein Drucker installiert oder ausgewählt."));
        }
        SetPrinter(previous);
        QVERIFY(!device.printing());
        QVERIFY(ui.messages.isEmpty());
    }

    void backToThePrinterForgetsThePdf()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed; the job would be printed");
        QTemporaryDir tmp;
        TQtPrinter device;
        const QString pdf = tmp.filePath(QStringLiteral("alt.pdf"));
        device.setPdfFile(pdf);
        device.setPdfFile(QString());
        QVERIFY(!device.beginDoc(QStringLiteral("Liste")));
        QCOMPARE(device.errorText(), QStringLiteral("Es ist kein Drucker installiert oder ausgewählt."));
        QVERIFY(!QFile::exists(pdf));
    }

    void unwritablePdfIsRefused()
    {
        TScriptedUi ui;
        TQtPrinter device;
        IPrinterDevice* previous = SetPrinter(&device);
        device.setPdfFile(QStringLiteral("/kein/solcher/ordner/liste.pdf"));
        QVERIFY_THROWS_EXCEPTION(EPrinterError, TVirtPrinter(nullptr, nullptr, 1.0, false));
        QVERIFY(!device.printing());
        SetPrinter(previous);
        QVERIFY(ui.messages.isEmpty());
    }
};

QTEST_MAIN(TestQtPrinter)
#include "tst_qtprinter.moc"

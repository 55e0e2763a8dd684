// The print settings dialog offscreen: its controls, the settings it hands
// out, what survives "Abbrechen" and what each showing resets, the printer
// name with and without a printer, and the font and printer setup dialogs
// through the scripted seam.

#include "platform/UHelpContext.h"
#include "platform/UQtPrinter.h"
#include "platform/URecordingPrinter.h"
#include "print/UPrintConfDialog.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"
#include "tests/support/UTextFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class TestPrintConfDialog : public QObject {
    Q_OBJECT

    // Shows the dialog modally, runs inside once it is up, and closes it
    // with the button named; the dialog's result.
    int runDialog(const std::function<void()>& inside, QPushButton* closeWith)
    {
        QTimer::singleShot(0, FDialog.get(), [=] {
            inside();
            QTest::mouseClick(closeWith, Qt::LeftButton);
        });
        return FDialog->exec();
    }

private slots:
    void init()
    {
        FUi = std::make_unique<TScriptedUi>();
        FPrinter = std::make_unique<TRecordingPrinter>();
        FDialog = std::make_unique<TPrintConfDialog>();
    }

    void cleanup()
    {
        FDialog.reset();
        FPrinter.reset();
        FUi.reset();
    }

    void controls()
    {
        QCOMPARE(FDialog->windowTitle(), QStringLiteral("Drucken"));
        // Wider only where a text needs more room at the font in use.
        QVERIFY(FDialog->width() >= 359);
        QCOMPARE(FDialog->height(), 266);
        QCOMPARE(FDialog->minimumSize(), FDialog->maximumSize());
        QCOMPARE(HelpContextOf(FDialog.get()), 106);
        const QList<QPair<const char*, QString>> buttons{
            {"OKButton", "OK"},           {"CancelButton", "Abbrechen"}, {"SetupButton", "Einrichten ..."},
            {"HFontChoose", "Wählen ..."}, {"SFontChoose", "Wählen ..."},
        };
        for (const auto& [name, caption] : buttons) {
            auto* b = FDialog->findChild<QPushButton*>(QString::fromLatin1(name));
            QVERIFY2(b, name);
            QCOMPARE(b->text(), caption);
        }
        QVERIFY(FDialog->OKButton->isDefault());
        QCOMPARE(FDialog->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(), QStringLiteral("Schriftarten"));
        QCOMPARE(FDialog->findChild<QLabel*>(QStringLiteral("HFontLabel"))->text(), QStringLiteral("Überschriften"));
        QCOMPARE(FDialog->findChild<QLabel*>(QStringLiteral("SFontLabel"))->text(), QStringLiteral("sonstiger Text"));
        QCOMPARE(FDialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Zeilenabstand"));
        QCOMPARE(FDialog->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Drucker"));
        QCOMPARE(FDialog->findChild<QCheckBox*>(QStringLiteral("CheckFooter"))->text(), QStringLiteral("Seitenzahlen"));
        QVERIFY(FDialog->findChild<QFrame*>(QStringLiteral("Bevel1")));
        auto* name = FDialog->findChild<QLineEdit*>(QStringLiteral("PrinterName"));
        QVERIFY(name->isReadOnly());
        QCOMPARE(name->text(), QStringLiteral("PrinterName"));
        auto* spacing = FDialog->findChild<QComboBox*>(QStringLiteral("SpacingSelect"));
        QVERIFY(spacing->isEditable());
        QStringList items;
        for (int i = 0; i < spacing->count(); ++i)
            items << spacing->itemText(i);
        QCOMPARE(items, (QStringList{"0.8", "1.0", "1.2", "1.5 (Standard)", "1.7", "2.0"}));
    }

    void textsShowWhole_data()
    {
        TextFit::addFontRows();
    }

    // At the font in use: every caption and spacing item whole, the fields
    // and buttons never smaller than designed, nothing over another, the
    // settings inside their frame and the buttons at the right.
    void textsShowWhole()
    {
        QFETCH(bool, wider);
        const TextFit::TAppFont font(wider);
        // The dialog fits its controls when it is made.
        FDialog = std::make_unique<TPrintConfDialog>();
        runDialog([this] {
            for (QWidget* w : std::initializer_list<QWidget*>{
                     FDialog->OKButton, FDialog->CancelButton, FDialog->SetupButton, FDialog->HFontChoose,
                     FDialog->SFontChoose, FDialog->Label1, FDialog->Label2, FDialog->HFontLabel, FDialog->SFontLabel,
                     FDialog->SpacingSelect, FDialog->CheckFooter}) {
                const QString cut = TextFit::captionCut(w);
                QVERIFY2(cut.isEmpty(), qPrintable(cut));
            }
            for (const QPushButton* b : {FDialog->OKButton, FDialog->CancelButton, FDialog->SetupButton,
                                         FDialog->HFontChoose, FDialog->SFontChoose})
                QVERIFY(b->width() >= 75 && b->height() == 25);
            QVERIFY(FDialog->PrinterName->width() >= 176);
            QVERIFY(FDialog->SpacingSelect->width() >= 111);
            for (const QWidget* parent : std::initializer_list<const QWidget*>{FDialog.get(), FDialog->GroupBox1}) {
                const QStringList found = TextFit::overlaps(parent);
                QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
            }
            for (const QWidget* w : std::initializer_list<const QWidget*>{
                     FDialog->Label2, FDialog->PrinterName, FDialog->SetupButton, FDialog->GroupBox1, FDialog->HFontChoose,
                     FDialog->SFontChoose, FDialog->Label1, FDialog->SpacingSelect, FDialog->CheckFooter})
                QVERIFY2(FDialog->Bevel1->geometry().contains(w->geometry()), qPrintable(w->objectName()));
            const int right = FDialog->width() - 359;
            QCOMPARE(FDialog->Bevel1->geometry().right(), 344 + right);
            QCOMPARE(FDialog->OKButton->geometry().right(), 341 + right);
            for (const QPushButton* b : {FDialog->SetupButton, FDialog->HFontChoose, FDialog->SFontChoose})
                QCOMPARE(b->geometry().right(), 331 + right);
        }, FDialog->OKButton);
    }

    void defaultsOfTheFirstPrintOut()
    {
        QCOMPARE(runDialog([] {}, FDialog->OKButton), int(QDialog::Accepted));
        TFontSpec heading;
        heading.name = QStringLiteral("MS Sans Serif");
        heading.size = 15;
        heading.bold = true;
        TFontSpec standard = heading;
        standard.size = 10;
        standard.bold = false;
        QCOMPARE(*FDialog->getHFont(), heading);
        QCOMPARE(*FDialog->getSFont(), standard);
        QCOMPARE(FDialog->getSpacing(), 1.5);
        QCOMPARE(FDialog->SpacingSelect->currentText(), QStringLiteral("1.5 (Standard)"));
        QVERIFY(!FDialog->getFooter());
        QCOMPARE(FDialog->PrinterName->text(), QStringLiteral("Aufzeichnung"));
        // The samples show the fonts: bold and larger for the headings.
        QVERIFY(FDialog->HFontLabel->font().bold());
        QCOMPARE(FDialog->HFontLabel->font().pointSize(), 15);
        QCOMPARE(FDialog->SFontLabel->font().pointSize(), 10);
    }

    void spacing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("spacing");
        QTest::newRow("0.8") << "0.8" << 0.8;
        QTest::newRow("1.0") << "1.0" << 1.0;
        QTest::newRow("1.2") << "1.2" << 1.2;
        QTest::newRow("standard") << "1.5 (Standard)" << 1.5;
        QTest::newRow("1.7") << "1.7" << 1.7;
        QTest::newRow("2.0") << "2.0" << 2.0;
        QTest::newRow("1 is no item") << "1" << 1.5;
        QTest::newRow("2 is no item") << "2" << 1.5;
        QTest::newRow("not a number") << "abc" << 1.5;
        QTest::newRow("empty") << "" << 1.5;
        QTest::newRow("trailing blank") << "2.0 " << 1.5;
    }

    void spacing()
    {
        QFETCH(QString, typed);
        QFETCH(double, spacing);
        runDialog(
            [&] {
                QLineEdit* edit = FDialog->SpacingSelect->lineEdit();
                edit->selectAll();
                QTest::keyClick(edit, Qt::Key_Delete);
                QTest::keyClicks(edit, typed);
                QTest::keyClick(edit, Qt::Key_Return);
            },
            FDialog->OKButton);
        QCOMPARE(FDialog->getSpacing(), spacing);
        // Typing never adds an item.
        QCOMPARE(FDialog->SpacingSelect->count(), 6);
    }

    void chosenItemGivesItsSpacing()
    {
        runDialog([&] { FDialog->SpacingSelect->setCurrentIndex(0); }, FDialog->OKButton);
        QCOMPARE(FDialog->getSpacing(), 0.8);
    }

    void fontsAndPageNumbersSurviveCancelSpacingResets()
    {
        TFontSpec chosen;
        chosen.name = QStringLiteral("Times New Roman");
        chosen.size = 14;   // a sample that fits its row unscaled
        chosen.italic = true;
        FUi->queueFont(true, chosen);
        const int result = runDialog(
            [&] {
                QTest::mouseClick(FDialog->HFontChoose, Qt::LeftButton);
                FDialog->SpacingSelect->setCurrentIndex(5);
                FDialog->CheckFooter->setChecked(true);
            },
            FDialog->CancelButton);
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(*FDialog->getHFont(), chosen);
        QVERIFY(FDialog->getFooter());
        QCOMPARE(FDialog->HFontLabel->font().pointSize(), 14);
        QVERIFY(FDialog->HFontLabel->font().italic());

        double shownSpacing = 0;
        runDialog([&] { shownSpacing = FDialog->getSpacing(); }, FDialog->OKButton);
        QCOMPARE(shownSpacing, 1.5);
        QCOMPARE(*FDialog->getHFont(), chosen);
        QVERIFY(FDialog->getFooter());
        QCOMPARE(FDialog->HFontLabel->font().pointSize(), 14);
    }

    void cancelledFontDialogKeepsTheFont()
    {
        const TFontSpec before = *FDialog->getSFont();
        FUi->queueFont(false, TFontSpec{QStringLiteral("Courier New"), 30});
        runDialog([&] { QTest::mouseClick(FDialog->SFontChoose, Qt::LeftButton); }, FDialog->OKButton);
        QCOMPARE(*FDialog->getSFont(), before);
        QCOMPARE(FDialog->SFontLabel->font().pointSize(), 10);
        QCOMPARE(FUi->unanswered, 0);
    }

    void standardFontChosen()
    {
        const TFontSpec* handedOut = FDialog->getSFont();
        TFontSpec chosen{QStringLiteral("Courier New"), 12};
        FUi->queueFont(true, chosen);
        runDialog([&] { QTest::mouseClick(FDialog->SFontChoose, Qt::LeftButton); }, FDialog->OKButton);
        QCOMPARE(*FDialog->getSFont(), chosen);
        QCOMPARE(FDialog->SFontLabel->font().pointSize(), 12);
        // The handed-out font is the dialog's own, the same object before
        // and after a choice, and it holds the choice.
        QCOMPARE(FDialog->getSFont(), handedOut);
        QCOMPARE(*handedOut, chosen);
    }

    void samplesStayInTheirRows_data()
    {
        QTest::addColumn<bool>("heading");
        QTest::addColumn<int>("points");
        QTest::newRow("heading at 15 pt") << true << 15;
        QTest::newRow("heading at 28 pt") << true << 28;
        QTest::newRow("heading at 48 pt") << true << 48;
        QTest::newRow("heading at 72 pt") << true << 72;
        QTest::newRow("standard at 10 pt") << false << 10;
        QTest::newRow("standard at 28 pt") << false << 28;
        QTest::newRow("standard at 72 pt") << false << 72;
    }
    void samplesStayInTheirRows()
    {
        QFETCH(bool, heading);
        QFETCH(int, points);
        TFontSpec chosen;
        chosen.size = points;
        chosen.bold = heading;
        FUi->queueFont(true, chosen);
        runDialog([&] { QTest::mouseClick(heading ? FDialog->HFontChoose : FDialog->SFontChoose, Qt::LeftButton); },
                  FDialog->OKButton);
        const QRect group = FDialog->GroupBox1->contentsRect();
        const QLabel* h = FDialog->HFontLabel;
        const QLabel* s = FDialog->SFontLabel;
        // The heading sample ends above the other one, which ends within the group.
        QVERIFY2(h->geometry().bottom() < s->y(), qPrintable(QStringLiteral("%1 >= %2").arg(h->geometry().bottom()).arg(s->y())));
        QVERIFY2(s->geometry().bottom() <= group.bottom(), qPrintable(QStringLiteral("%1 > %2").arg(s->geometry().bottom()).arg(group.bottom())));
        for (const QLabel* label : {h, s}) {
            QVERIFY(label->geometry().right() <= group.right());
            // Whole within its own size: nothing of it is hidden.
            QVERIFY(label->fontMetrics().height() <= label->height());
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        }
        // The sample of the font chosen: its face and style, at most its size.
        const QLabel* sample = heading ? h : s;
        QCOMPARE(sample->font().family(), PrintedQFont(chosen).family());
        QCOMPARE(sample->font().bold(), heading);
        QVERIFY(sample->font().pointSizeF() <= points);
        const QString caption = heading ? QStringLiteral("Überschriften") : QStringLiteral("sonstiger Text");
        const QString text = sample->text();
        QVERIFY2(text == caption || (text.endsWith(QChar(0x2026)) && caption.startsWith(text.chopped(1))), qPrintable(text));
    }

    void samplesAreBlackOnADarkTheme()
    {
        QPalette dark = FDialog->palette();
        dark.setColor(QPalette::Window, Qt::black);
        dark.setColor(QPalette::WindowText, Qt::white);
        FDialog->setPalette(dark);
        runDialog([] {}, FDialog->OKButton);
        QCOMPARE(FDialog->getHFont()->color, 0x000000u);
        QCOMPARE(FDialog->getSFont()->color, 0x000000u);
        QCOMPARE(FDialog->HFontLabel->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(FDialog->SFontLabel->palette().color(QPalette::WindowText), QColor(Qt::black));
    }

    void printerNameFollowsTheSetup()
    {
        FPrinter->installed = QStringList{QStringLiteral("Büro"), QStringLiteral("Lehrerzimmer")};
        FPrinter->selected = 1;
        FUi->queuePrinterSetup(false);
        QString afterCancel;
        runDialog(
            [&] {
                QTest::mouseClick(FDialog->SetupButton, Qt::LeftButton);
                afterCancel = FDialog->PrinterName->text();
            },
            FDialog->OKButton);
        QCOMPARE(afterCancel, QStringLiteral("Lehrerzimmer"));

        FUi->queuePrinterSetup(true, QStringLiteral("/tmp/liste.pdf"));
        QString afterPdf;
        runDialog(
            [&] {
                QTest::mouseClick(FDialog->SetupButton, Qt::LeftButton);
                afterPdf = FDialog->PrinterName->text();
            },
            FDialog->OKButton);
        QCOMPARE(afterPdf, QStringLiteral("/tmp/liste.pdf"));
        QCOMPARE(FPrinter->pdfFile(), QStringLiteral("/tmp/liste.pdf"));
        QCOMPARE(FUi->unanswered, 0);
    }

    void withoutPrinterTheDialogStillOffersTheSetup()
    {
        FPrinter->installed.clear();
        FPrinter->selected = -1;
        QString shown;
        QString afterSetup;
        FUi->queuePrinterSetup(true, QStringLiteral("/tmp/ohne.pdf"));
        const int result = runDialog(
            [&] {
                shown = FDialog->PrinterName->text();
                QVERIFY(FDialog->SetupButton->isEnabled());
                QTest::mouseClick(FDialog->SetupButton, Qt::LeftButton);
                afterSetup = FDialog->PrinterName->text();
            },
            FDialog->OKButton);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(shown, QStringLiteral("(kein Drucker)"));
        QCOMPARE(afterSetup, QStringLiteral("/tmp/ohne.pdf"));
        // Spacing and the rest were set up as on every showing.
        QCOMPARE(FDialog->getSpacing(), 1.5);
    }

    void escapeCancels()
    {
        const int result = runDialog([] {}, FDialog->CancelButton);
        QCOMPARE(result, int(QDialog::Rejected));
        QTimer::singleShot(0, FDialog.get(), [this] { QTest::keyClick(FDialog.get(), Qt::Key_Escape); });
        QCOMPARE(FDialog->exec(), int(QDialog::Rejected));
    }

    void f1ShowsItsHelp()
    {
        runDialog([this] { QTest::keyClick(FDialog.get(), Qt::Key_F1); }, FDialog->OKButton);
        QCOMPARE(FUi->helpContexts, QList<int>{106});
    }

private:
    std::unique_ptr<TScriptedUi> FUi;
    std::unique_ptr<TRecordingPrinter> FPrinter;
    std::unique_ptr<TPrintConfDialog> FDialog;
};

KESTRIN_TEST_MAIN(TestPrintConfDialog)
#include "tst_printconfdialog.moc"

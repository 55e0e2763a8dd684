// The import wizard offscreen: its defaults at every showing, the
// convention, separator and positions, the words for the genders, the
// preview and the element assignment, format files and the class filter.

#include "app/UKlassenSelect.h"
#include "data/UFilter.h"
#include "import/UImport.h"
#include "import/UImportDialog.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Selects the items of a list whose texts are given, and only those.
void selectItems(QListWidget* list, const QStringList& texts)
{
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        if (texts.contains(list->item(i)->text()))
            list->item(i)->setSelected(true);
}

// The rows of a list shown as selected.
QList<int> selectedRows(const QListWidget* list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.append(i);
    return rows;
}

// Types text key by key, also characters beyond ASCII.
void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

}   // namespace

class TestImportDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void defaultsAtEveryShowing();
    void captionNamesTheFile();
    void conventionShowsItsControls();
    void separatorItems_data();
    void separatorItems();
    void typedSeparatorTakenWhenLeft();
    void separatorOfBlanks();
    void typedSeparatorTakenWhenFocusMoves();
    void positions_data();
    void positions();
    void positionsCancelled();
    void wordsCutAndRefused();
    void commentJoinedAndCut();
    void foreignCharactersRefused_data();
    void foreignCharactersRefused();
    void enterAndEscapeKeepTheDialogOpen();
    void closeBoxCancels();
    void browsingFieldsChangesNothing();
    void assigningFields();
    void keysBrowseMeaningsUntilChosen_data();
    void keysBrowseMeaningsUntilChosen();
    void ignoringRaisesHighestEl();
    void fieldCountLimitsTheNumber();
    void previewShowsElevenLines();
    void previewOfMissingFile();
    void failedPreviewAfterAnImportIsEmpty();
    void columnHint();
    void formatFileRoundTrip();
    void formatFileSeparatorsLoadUnchanged();
    void formatFileRefused_data();
    void formatFileRefused();
    void formatFileCancelAndMissing();
    void classFilter();

private:
    // Shows the wizard modally; act runs once it is up, then OK (or Cancel)
    // closes it unless act closed it already.
    int runWizard(const std::function<void()>& act, bool ok = true);
    void showPage(QWidget* page) { FDlg->Pages->setCurrentWidget(page); }
    // Gives the current field the meaning of the list's row, by keyboard.
    void choose(int row);
    QString file(const QString& name) const { return FDir.filePath(name); }
    // A pupil list of the given lines, named in the wizard.
    void mockLines(const QStringList& lines);

    QTemporaryDir FDir;
    std::unique_ptr<TScriptedUi> FUi;
    std::unique_ptr<TImportDialog> FDlg;
    std::unique_ptr<TKlassenSelect> FKlassen;
};

void TestImportDialog::initTestCase()
{
    QVERIFY(FDir.isValid());
    if (!KlassenSelect) {
        FKlassen = std::make_unique<TKlassenSelect>();
        KlassenSelect = FKlassen.get();
    }
}

void TestImportDialog::cleanupTestCase()
{
    if (FKlassen) {
        KlassenSelect = nullptr;
        FKlassen.reset();
    }
}

void TestImportDialog::init()
{
    FUi = std::make_unique<TScriptedUi>();
    FDlg = std::make_unique<TImportDialog>();
    ImportDialog = FDlg.get();
    mockLines({QStringLiteral("Meier;Hans;10a"), QStringLiteral("Berg;Anna;9b")});
}

void TestImportDialog::cleanup()
{
    ImportDialog = nullptr;
    FDlg.reset();
    FUi.reset();
}

int TestImportDialog::runWizard(const std::function<void()>& act, bool ok)
{
    QTimer::singleShot(0, FDlg.get(), [this, act, ok] {
        act();
        if (FDlg->isVisible())
            (ok ? FDlg->OkButton : FDlg->CancelButton)->click();
    });
    return FDlg->exec();
}

void TestImportDialog::choose(int row)
{
    FDlg->AssignBox->setCurrentRow(row);
    QTest::keyClick(FDlg->AssignBox, Qt::Key_Space);
}

void TestImportDialog::mockLines(const QStringList& lines)
{
    writeLines(file(QStringLiteral("liste.txt")), lines);
    FDlg->setMockFileName(file(QStringLiteral("liste.txt")));
}

void TestImportDialog::defaultsAtEveryShowing()
{
    // First showing: change everything.
    writeLines(file(QStringLiteral("three.txt")), {QStringLiteral("a,b,c")});
    FDlg->setMockFileName(file(QStringLiteral("three.txt")));
    runWizard([this] {
        showPage(FDlg->OptionsPage);
        FDlg->FormatButtons->button(imConventional)->click();
        typeText(FDlg->EditM, QStringLiteral("x"));
        FDlg->CheckIgnoreErr->click();
        showPage(FDlg->ElementsPage);
        FDlg->NrSelect->setValue(2);
        choose(2);
        QTimer::singleShot(0, KlassenSelect, [] {
            selectItems(KlassenSelect->ListJgst, {QStringLiteral("10")});
            KlassenSelect->OkBtn->click();
        });
        FDlg->KlSelectBut->click();
        QVERIFY(FDlg->getFilter());
        FUi->queueFiles({file(QStringLiteral("saved"))});
        FDlg->SaveFBut->click();
    });
    QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("saved.FMT"));
    QVERIFY(FDlg->getImportOptions() != DefaultOptions);
    QCOMPARE(FDlg->getImportElements().elVName, 2);
    QVERIFY(FDlg->getFilter());   // kept for the command after the close

    // Second showing: all back to the defaults; the caption stays.
    runWizard([this] {
        QCOMPARE(FDlg->Pages->currentWidget(), FDlg->GeneralPage);
        QVERIFY(FDlg->getImportOptions() == DefaultOptions);
        QVERIFY(FDlg->getImportElements() == DefaultElements);
        QVERIFY(!FDlg->getFilter());
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("keine"));
        QCOMPARE(FDlg->KlLabel->text(), QStringLiteral("Alle Klassen"));
        QCOMPARE(FDlg->CommentBox->toPlainText(),
                 QStringLiteral("Geben Sie hier einen Kommentar zu Ihren Format-Einstellungen ein."));
        QVERIFY(FDlg->FormatButtons->button(imDataBase)->isChecked());
        QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("Komma"));
        QCOMPARE(FDlg->EditM->text(), QStringLiteral("m"));
        QCOMPARE(FDlg->EditW->text(), QStringLiteral("w"));
        QVERIFY(!FDlg->CheckIgnoreErr->isChecked());
        QCOMPARE(FDlg->windowTitle(), QStringLiteral("Schülerkartei importieren aus three.txt"));
    }, false);
}

void TestImportDialog::captionNamesTheFile()
{
    TImportDialog fresh;
    QCOMPARE(fresh.windowTitle(), QStringLiteral("Schülerkartei importieren"));
    fresh.setMockFileName(QStringLiteral("/tmp/dir/Liste.TXT"));
    QCOMPARE(fresh.windowTitle(), QStringLiteral("Schülerkartei importieren aus Liste.TXT"));
    // No button is the default one: Enter never closes the wizard.
    for (QPushButton* b : fresh.findChildren<QPushButton*>()) {
        QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->objectName()));
    }
    const QStringList tabs = {fresh.Pages->tabText(0), fresh.Pages->tabText(1), fresh.Pages->tabText(2)};
    QCOMPARE(tabs, QStringList({QStringLiteral("Allgemein"), QStringLiteral("Optionen"), QStringLiteral("Elemente")}));
    QCOMPARE(fresh.AssignBox->count(), 9);
    QCOMPARE(fresh.SepBox->count(), 5);
}

void TestImportDialog::conventionShowsItsControls()
{
    runWizard([this] {
        showPage(FDlg->OptionsPage);
        QVERIFY(FDlg->SepBox->isVisible());
        QVERIFY(!FDlg->FeldPosLabel->isVisible());
        QCOMPARE(FDlg->FeldtrennzLabel->text(), QStringLiteral("Feldtrennzeichen"));
        FDlg->FormatButtons->button(imPositions)->click();
        QVERIFY(!FDlg->SepBox->isVisible());
        QVERIFY(FDlg->FeldPosLabel->isVisible());
        QVERIFY(FDlg->UpdatePosBut->isVisible());
        QCOMPARE(FDlg->FeldPosLabel->text(), QStringLiteral("1,26,32,0,0,0,0,0,0,0"));
        QCOMPARE(FDlg->FeldtrennzLabel->text(), QStringLiteral("Feldtrennpositionen"));
        FDlg->FormatButtons->button(imConventional)->click();
        QVERIFY(FDlg->SepBox->isVisible());
        QVERIFY(!FDlg->UpdatePosBut->isVisible());
    });
    QCOMPARE(FDlg->getImportOptions().imFormat, imConventional);
    // Separator and positions stay as they were.
    QCOMPARE(FDlg->getImportOptions().imSepString.text(), QStringLiteral(","));
    QCOMPARE(FDlg->getImportOptions().imPositionArray, DefaultOptions.imPositionArray);
}

void TestImportDialog::separatorItems_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("sepString");
    QTest::addColumn<QChar>("sepChar");
    QTest::newRow("Tabstopp") << 0 << QStringLiteral("\t") << QChar(9);
    QTest::newRow("Komma") << 1 << QStringLiteral(",") << QChar(u',');
    QTest::newRow("Semikolon") << 2 << QStringLiteral(";") << QChar(u';');
    QTest::newRow("Strich") << 3 << QStringLiteral("|") << QChar(u'|');
    QTest::newRow("Leerzeichen") << 4 << QStringLiteral("  ") << QChar(u' ');
}

void TestImportDialog::separatorItems()
{
    QFETCH(int, item);
    QFETCH(QString, sepString);
    QFETCH(QChar, sepChar);
    runWizard([&] {
        showPage(FDlg->OptionsPage);
        FDlg->SepBox->setCurrentIndex(item);
        emit FDlg->SepBox->activated(item);
        QCOMPARE(FDlg->SepBox->currentIndex(), item);
    });
    QCOMPARE(FDlg->getImportOptions().imSepString.text(), sepString);
    QCOMPARE(FDlg->getImportOptions().imSepChar, sepChar);
}

void TestImportDialog::typedSeparatorTakenWhenLeft()
{
    runWizard([this] {
        showPage(FDlg->OptionsPage);
        QLineEdit* edit = FDlg->SepBox->lineEdit();
        edit->clear();
        typeText(edit, QStringLiteral(";x"));
        // Not taken on every key: ";" alone would turn into the item.
        QCOMPARE(FDlg->getImportOptions().imSepString.text(), QStringLiteral(","));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(FDlg->isVisible());
        QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("Semikolon (;)"));
        // Leaving the box unchanged takes nothing.
        emit edit->editingFinished();
        // A typed text is cut to eight characters.
        edit->clear();
        typeText(edit, QStringLiteral("abcdefghij"));
        emit edit->editingFinished();
        QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("abcdefgh"));
        QCOMPARE(FDlg->getImportOptions().imSepChar, QChar(u'a'));
        edit->clear();
        typeText(edit, QStringLiteral(";x"));
        emit edit->editingFinished();
    });
    QCOMPARE(FDlg->getImportOptions().imSepString.text(), QStringLiteral(";x"));
    QCOMPARE(FDlg->getImportOptions().imSepChar, QChar(u';'));
}

void TestImportDialog::typedSeparatorTakenWhenFocusMoves()
{
    // The preview of the next page splits by the separator just typed.
    runWizard([this] {
        FDlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FDlg.get()));
        showPage(FDlg->OptionsPage);
        QLineEdit* edit = FDlg->SepBox->lineEdit();
        edit->setFocus();
        QVERIFY(edit->hasFocus());
        edit->selectAll();
        typeText(edit, QStringLiteral(";"));
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("3"));
    });
    QCOMPARE(FDlg->getImportOptions().imSepChar, QChar(u';'));

    // Typed, then OK clicked at once: taken as well.
    const int result = runWizard([this] {
        FDlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FDlg.get()));
        showPage(FDlg->OptionsPage);
        QLineEdit* edit = FDlg->SepBox->lineEdit();
        edit->setFocus();
        edit->selectAll();
        typeText(edit, QStringLiteral("|x"));
        QTest::mouseClick(FDlg->OkButton, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(FDlg->getImportOptions().imSepString.text(), QStringLiteral("|x"));
}

void TestImportDialog::separatorOfBlanks()
{
    // Blanks typed as separator are taken as typed; an empty text gives
    // the character 0 and a separator that never separates.
    runWizard([this] {
        showPage(FDlg->OptionsPage);
        QLineEdit* edit = FDlg->SepBox->lineEdit();
        edit->clear();
        typeText(edit, QStringLiteral("   "));
        emit edit->editingFinished();
        QCOMPARE(FDlg->getImportOptions().imSepString.text(), QStringLiteral("   "));
        QCOMPARE(FDlg->getImportOptions().imSepChar, QChar(u' '));
        edit->clear();
        edit->setModified(true);
        emit edit->editingFinished();
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("1"));
    });
    QCOMPARE(FDlg->getImportOptions().imSepString.text(), QString());
    QCOMPARE(FDlg->getImportOptions().imSepChar, QChar(0));
    QVERIFY(FUi->messages.isEmpty());
}

void TestImportDialog::positions_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const QString preset = QStringLiteral("1,26,32,0,0,0,0,0,0,0");
    QTest::newRow("blank after comma") << true << QStringLiteral("1, 26") << QStringLiteral("1,26,0,0,0,0,0,0,0,0");
    QTest::newRow("hex") << true << QStringLiteral("1,$1A,x20") << QStringLiteral("1,26,32,0,0,0,0,0,0,0");
    QTest::newRow("comma at end") << true << QStringLiteral("5,") << QStringLiteral("5,0,0,0,0,0,0,0,0,0");
    QTest::newRow("twelve") << true << QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12")
                            << QStringLiteral("1,2,3,4,5,6,7,8,9,10");
    QTest::newRow("descending") << true << QStringLiteral("5,3") << QStringLiteral("5,3,0,0,0,0,0,0,0,0");
    QTest::newRow("zero") << true << QStringLiteral("0") << QStringLiteral("0,0,0,0,0,0,0,0,0,0");
    QTest::newRow("empty piece") << false << QStringLiteral("1,,5") << preset;
    QTest::newRow("trailing blank") << false << QStringLiteral("1 ,26") << preset;
    QTest::newRow("letter") << false << QStringLiteral("1,a") << preset;
    QTest::newRow("negative") << false << QStringLiteral("-5") << preset;
    QTest::newRow("int min") << false << QStringLiteral("1,-2147483648") << preset;
    QTest::newRow("hex minus one") << false << QStringLiteral("1,$FFFFFFFF") << preset;
    QTest::newRow("too large") << false << QStringLiteral("99999999999") << preset;
}

void TestImportDialog::positions()
{
    QFETCH(bool, accepted);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    runWizard([&] {
        showPage(FDlg->OptionsPage);
        FDlg->FormatButtons->button(imPositions)->click();
        FUi->queueInput(true, typed);
        FDlg->UpdatePosBut->click();
        QCOMPARE(FDlg->FeldPosLabel->text(), shown);
    });
    QCOMPARE(FUi->inputPrompts, QStringList{QStringLiteral("Positionen, gezählt ab 1, Komma-getrennt:")});
    QStringList stored;
    for (qint32 p : FDlg->getImportOptions().imPositionArray)
        stored << QString::number(p);
    QCOMPARE(stored.join(QLatin1Char(',')), shown);
    if (accepted) {
        QVERIFY(FUi->messages.isEmpty());
    } else {
        QCOMPARE(FUi->texts(), QStringList{QStringLiteral(
            "Die Eingabe war ungültig, bitte wiederholen Sie den Vorgang.\r"
            "Geben Sie eine komma-getrennte Liste von positiven, aufsteigenden\r"
            "Ganzzahlen ein, oder Null für \"Ignorieren\".")});
    }
}

void TestImportDialog::positionsCancelled()
{
    runWizard([&] {
        showPage(FDlg->OptionsPage);
        FDlg->FormatButtons->button(imPositions)->click();
        FUi->queueInput(true, QStringLiteral("4,9"));
        FDlg->UpdatePosBut->click();
        FUi->queueInput(false);
        FDlg->UpdatePosBut->click();
        QCOMPARE(FDlg->FeldPosLabel->text(), QStringLiteral("4,9,0,0,0,0,0,0,0,0"));
    });
    QCOMPARE(FUi->inputPrompts.size(), 2);
    QVERIFY(FUi->messages.isEmpty());
    QCOMPARE(FDlg->getImportOptions().imPositionArray, (TPositions{4, 9, 0, 0, 0, 0, 0, 0, 0, 0}));
}

void TestImportDialog::wordsCutAndRefused()
{
    runWizard([this] {
        showPage(FDlg->OptionsPage);
        FDlg->EditM->clear();
        typeText(FDlg->EditM, QStringLiteral("männlich12"));
        FDlg->EditW->clear();
        typeText(FDlg->EditW, QStringLiteral("weiblich"));
        // A field shows what it keeps.
        QCOMPARE(FDlg->EditM->text(), QStringLiteral("männlich"));
        QCOMPARE(FDlg->EditW->text(), QStringLiteral("weiblich"));
    });
    QCOMPARE(FDlg->getImportElements().elGM.text(), QStringLiteral("männlich"));
    QCOMPARE(FDlg->getImportElements().elGW.text(), QStringLiteral("weiblich"));
    QCOMPARE(FUi->beeps, 0);
}

void TestImportDialog::commentJoinedAndCut()
{
    runWizard([this] {
        FDlg->CommentBox->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
    });
    QCOMPARE(FDlg->getImportOptions().imComment.text(), QStringLiteral("Zeile 1\r\nZeile 2"));
    runWizard([this] {
        FDlg->CommentBox->setPlainText(QString(300, QLatin1Char('k')));
    });
    QCOMPARE(FDlg->getImportOptions().imComment.text(), QString(255, QLatin1Char('k')));
}

void TestImportDialog::foreignCharactersRefused_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("EditM") << QStringLiteral("EditM");
    QTest::newRow("EditW") << QStringLiteral("EditW");
    QTest::newRow("SepBox") << QStringLiteral("SepBox");
    QTest::newRow("CommentBox") << QStringLiteral("CommentBox");
}

void TestImportDialog::foreignCharactersRefused()
{
    // A character without a Windows-1252 byte would be stored as "?".
    QFETCH(QString, control);
    const QString foreign = QStringLiteral("\u0142");   // l with stroke
    runWizard([&] {
        showPage(FDlg->OptionsPage);
        if (control == QLatin1String("EditM")) {
            typeText(FDlg->EditM, QStringLiteral("a") + foreign);
            QCOMPARE(FDlg->EditM->text(), QStringLiteral("ma"));
        } else if (control == QLatin1String("EditW")) {
            typeText(FDlg->EditW, foreign);
            QCOMPARE(FDlg->EditW->text(), QStringLiteral("w"));
        } else if (control == QLatin1String("SepBox")) {
            QLineEdit* edit = FDlg->SepBox->lineEdit();
            edit->clear();
            typeText(edit, foreign);
            emit edit->editingFinished();
            QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("Komma"));
        } else {
            showPage(FDlg->GeneralPage);
            FDlg->CommentBox->insertPlainText(foreign);
            QCOMPARE(FDlg->CommentBox->toPlainText(), DefaultOptions.imComment.text());
        }
    });
    QCOMPARE(FUi->beeps, 1);
    TElements expected = DefaultElements;
    if (control == QLatin1String("EditM"))
        expected.elGM = QStringLiteral("ma");
    QVERIFY(FDlg->getImportElements() == expected);
    QVERIFY(FDlg->getImportOptions() == DefaultOptions);
}

void TestImportDialog::enterAndEscapeKeepTheDialogOpen()
{
    bool open = false;
    const int result = runWizard([&] {
        FDlg->CommentBox->setFocus();
        QTest::keyClick(FDlg->CommentBox, Qt::Key_Return);
        showPage(FDlg->OptionsPage);
        for (QWidget* w : {static_cast<QWidget*>(FDlg->EditM), static_cast<QWidget*>(FDlg->EditW),
                           static_cast<QWidget*>(FDlg->SepBox->lineEdit()),
                           static_cast<QWidget*>(FDlg->CheckIgnoreErr)}) {
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter);
        }
        showPage(FDlg->ElementsPage);
        QTest::keyClick(FDlg->NrSelect, Qt::Key_Return);
        QTest::keyClick(FDlg->AssignEdit, Qt::Key_Return);
        QTest::keyClick(FDlg.get(), Qt::Key_Escape);
        QTest::keyClick(FDlg->EditM, Qt::Key_Escape);
        QTest::keyClick(FDlg.get(), Qt::Key_F1);
        open = FDlg->isVisible();
    }, false);
    QVERIFY(open);
    QCOMPARE(FUi->helpContexts, QList<int>{101});
    QCOMPARE(result, int(QDialog::Rejected));
}

void TestImportDialog::closeBoxCancels()
{
    const int result = runWizard([this] { FDlg->close(); });
    QCOMPARE(result, int(QDialog::Rejected));
}

void TestImportDialog::browsingFieldsChangesNothing()
{
    mockLines({QStringLiteral("a,b,c,d,e"), QStringLiteral("f,g,h,i,j")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("5"));
        for (int nr = 1; nr <= 5; ++nr) {
            FDlg->NrSelect->setValue(nr);
            QCOMPARE(FDlg->ExampleBox->toPlainText(),
                     QString(QChar(u'a' + nr - 1)) + QLatin1Char('\n') + QChar(u'f' + nr - 1));
            QCOMPARE(FDlg->AssignBox->currentRow(), 0);
        }
        showPage(FDlg->OptionsPage);
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->NrSelect->value(), 1);
    });
    QCOMPARE(FDlg->getImportElements().highestEl, 0);
    QVERIFY(FDlg->getImportElements() == DefaultElements);
}

void TestImportDialog::assigningFields()
{
    mockLines({QStringLiteral("Meier,Hans,10a,m")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        FDlg->NrSelect->setValue(3);
        choose(2);   // Vorname
        choose(3);   // Nachname
        // The field keeps both; the list shows the first.
        QCOMPARE(FDlg->AssignBox->currentRow(), 2);
        QCOMPARE(FDlg->AssignEdit->text(), QStringLiteral("Vorname"));
        FDlg->NrSelect->setValue(1);
        QCOMPARE(FDlg->AssignBox->currentRow(), 0);
        choose(1);   // voller Name
        FDlg->NrSelect->setValue(3);
        QCOMPARE(FDlg->AssignBox->currentRow(), 2);
        // A typed meaning changes no element but counts as a choice.
        FDlg->NrSelect->setValue(4);
        typeText(FDlg->AssignEdit, QStringLiteral("x"));
    });
    const TElements e = FDlg->getImportElements();
    QCOMPARE(e.elVName, 3);
    QCOMPARE(e.elNName, 3);
    QCOMPARE(e.elName, 1);
    QCOMPARE(e.highestEl, 4);
    QCOMPARE(e.elGeschl, 0);
}

void TestImportDialog::keysBrowseMeaningsUntilChosen_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Space") << "Space";
    QTest::newRow("Return") << "Return";
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("click") << "click";
}

void TestImportDialog::keysBrowseMeaningsUntilChosen()
{
    // Moving through the meanings chooses none and leaves the highlight on
    // the field's meaning; the row the cursor is on is chosen by Space,
    // Enter or a click, and the highlight goes with it.
    QFETCH(QString, how);
    mockLines({QStringLiteral("Meier,Hans,5a,m"), QStringLiteral("Berg,Anna,6b,w")});
    runWizard([&] {
        showPage(FDlg->ElementsPage);
        FDlg->NrSelect->setValue(3);
        QListWidget* box = FDlg->AssignBox;
        box->setFocus();
        for (int i = 1; i <= 6; ++i) {
            QTest::keyClick(box, Qt::Key_Down);
            QCOMPARE(box->currentRow(), i);
            QCOMPARE(selectedRows(box), QList<int>{0});
            QVERIFY(FDlg->getImportElements() == DefaultElements);
        }
        QCOMPARE(box->currentItem()->text(), QStringLiteral("volle Klasse"));
        QTest::keyClick(box, Qt::Key_Up);
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(FDlg->getImportElements() == DefaultElements);

        if (how == QLatin1String("Space"))
            QTest::keyClick(box, Qt::Key_Space);
        else if (how == QLatin1String("Return"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (how == QLatin1String("Enter"))
            QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier,
                              box->visualItemRect(box->item(6)).center());
        QVERIFY(FDlg->isVisible());
        QCOMPARE(FDlg->getImportElements().elKl, 3);
        QCOMPARE(box->currentRow(), 6);
        QCOMPARE(selectedRows(box), QList<int>{6});
        QCOMPARE(FDlg->AssignEdit->text(), QStringLiteral("volle Klasse"));

        // A later meaning added to the field: the highlight and the cursor
        // go back to the first meaning, which the edit shows.
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(FDlg->getImportElements().elJgst, 3);
        QCOMPARE(box->currentRow(), 6);
        QCOMPARE(selectedRows(box), QList<int>{6});
        // Another field shows its own meaning.
        FDlg->NrSelect->setValue(2);
        QCOMPARE(selectedRows(box), QList<int>{0});
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(selectedRows(box), QList<int>{0});

        FUi->queueFiles({file(QStringLiteral("klasse"))});
        FDlg->SaveFBut->click();
    });
    TElements expected = DefaultElements;
    expected.elKl = 3;
    expected.elJgst = 3;
    expected.highestEl = 3;
    QVERIFY(FDlg->getImportElements() == expected);
    TImportOptions options;
    TElements saved;
    QVERIFY(LoadFormatFile(file(QStringLiteral("klasse.FMT")), options, saved));
    QVERIFY(saved == expected);
    QVERIFY(FUi->messages.isEmpty());
}

void TestImportDialog::ignoringRaisesHighestEl()
{
    mockLines({QStringLiteral("a,b,c,d,e")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        FDlg->NrSelect->setValue(5);
        choose(6);   // volle Klasse
        choose(0);   // (ignorieren) takes nothing away
        QCOMPARE(FDlg->AssignBox->currentRow(), 6);
        FDlg->NrSelect->setValue(4);
        choose(0);
    });
    QCOMPARE(FDlg->getImportElements().elKl, 5);
    QCOMPARE(FDlg->getImportElements().highestEl, 5);
}

void TestImportDialog::fieldCountLimitsTheNumber()
{
    mockLines({QStringLiteral("a,b,c"), QStringLiteral("d,e")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("3"));
        QVERIFY(FDlg->NrSelect->isEnabled());
        QCOMPARE(FDlg->NrSelect->minimum(), 1);
        QCOMPARE(FDlg->NrSelect->maximum(), 3);
        FDlg->NrSelect->setValue(9);
        QCOMPARE(FDlg->NrSelect->value(), 3);
        // Values stand beside their lines only while every line has the field.
        QCOMPARE(FDlg->ExampleBox->toPlainText(), QStringLiteral("c"));
    });
    mockLines({QStringLiteral("einFeld")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("1"));
        QVERIFY(!FDlg->NrSelect->isEnabled());
        QCOMPARE(FDlg->NrSelect->maximum(), 1);
    });
}

void TestImportDialog::previewShowsElevenLines()
{
    QStringList lines;
    for (int i = 1; i <= 20; ++i)
        lines << QStringLiteral("Zeile%1,x").arg(i);
    mockLines(lines);
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->LineBox->document()->blockCount(), 11);
        QCOMPARE(FDlg->LineBox->document()->lastBlock().text(), QStringLiteral("Zeile11,x"));
        QCOMPARE(FDlg->ExampleBox->document()->lastBlock().text(), QStringLiteral("Zeile11"));
    });
}

void TestImportDialog::previewOfMissingFile()
{
    FDlg->setMockFileName(file(QStringLiteral("fehlt.txt")));
    bool open = false;
    runWizard([&] {
        showPage(FDlg->ElementsPage);
        open = FDlg->isVisible();
    });
    QVERIFY(open);
    QCOMPARE(FUi->messages.size(), 1);
    QVERIFY(FUi->lastText().contains(QStringLiteral("fehlt.txt")));
    // A folder is no pupil list either.
    FUi->clear();
    FDlg->setMockFileName(FDir.path());
    runWizard([this] { showPage(FDlg->ElementsPage); });
    QCOMPARE(FUi->messages.size(), 1);
}

void TestImportDialog::failedPreviewAfterAnImportIsEmpty()
{
    // The next showing with a file that is not there shows none of the
    // last file's lines, no field count and no meaning.
    mockLines({QStringLiteral("Meier,Hans,5a,m"), QStringLiteral("Berg,Anna,6b,w")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("4"));
        FDlg->NrSelect->setValue(3);
        choose(6);
    });
    QVERIFY(FUi->messages.isEmpty());

    FDlg->setMockFileName(file(QStringLiteral("fehlt.txt")));
    const auto pageIsEmpty = [this] {
        QCOMPARE(FDlg->LineBox->toPlainText(), QString());
        QCOMPARE(FDlg->ExampleBox->toPlainText(), QString());
        QCOMPARE(FDlg->ElAnz->text(), QStringLiteral("0"));
        QCOMPARE(FDlg->NrSelect->value(), 1);
        QVERIFY(!FDlg->NrSelect->isEnabled());
        QCOMPARE(FDlg->AssignBox->currentRow(), -1);
        QVERIFY(FDlg->AssignBox->selectedItems().isEmpty());
        QCOMPARE(FDlg->AssignEdit->text(), QString());
    };
    runWizard([&] {
        pageIsEmpty();
        showPage(FDlg->ElementsPage);
        QCOMPARE(FUi->messages.size(), 1);
        pageIsEmpty();
    }, false);
    QVERIFY(FDlg->getImportElements() == DefaultElements);
}

void TestImportDialog::columnHint()
{
    mockLines({QStringLiteral("Meier     10a")});
    runWizard([this] {
        showPage(FDlg->ElementsPage);
        QTextCursor c = FDlg->LineBox->textCursor();
        c.setPosition(10);
        FDlg->LineBox->setTextCursor(c);
        QCOMPARE(FDlg->LineBox->toolTip(), QStringLiteral("Cursor steht vor Spalte 11"));
        c.setPosition(0);
        FDlg->LineBox->setTextCursor(c);
        QTest::mouseMove(FDlg->LineBox->viewport(), QPoint(5, 5));
        QCOMPARE(FDlg->LineBox->toolTip(), QStringLiteral("Cursor steht vor Spalte 1"));
    });
}

void TestImportDialog::formatFileRoundTrip()
{
    mockLines({QStringLiteral("Meier;Hans;10a;m")});
    TImportOptions savedOptions;
    TElements savedElements;
    runWizard([&] {
        showPage(FDlg->OptionsPage);
        FDlg->FormatButtons->button(imConventional)->click();
        FDlg->SepBox->setCurrentIndex(2);
        emit FDlg->SepBox->activated(2);
        FDlg->CheckIgnoreErr->click();
        showPage(FDlg->ElementsPage);
        FDlg->NrSelect->setValue(4);
        choose(5);
        showPage(FDlg->GeneralPage);
        FDlg->CommentBox->setPlainText(QStringLiteral("Sekretariat\nStand 2026"));
        FUi->queueFiles({file(QStringLiteral("format.dat"))});
        FDlg->SaveFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("format.dat"));
        savedOptions = FDlg->getImportOptions();
        savedElements = FDlg->getImportElements();
    });
    QCOMPARE(FUi->fileDialogs.last().title, QStringLiteral("Formatdefinition speichern"));
    QCOMPARE(FUi->fileDialogs.last().filter, QStringLiteral("zuv Formatdefinitionen (*.FMT)|*.FMT"));
    QCOMPARE(FUi->fileDialogs.last().helpContext, 0);
    QCOMPARE(QFileInfo(file(QStringLiteral("format.dat"))).size(), qint64(kFormatFileBytes));

    runWizard([&] {
        FUi->queueFiles({file(QStringLiteral("format.dat"))});
        FDlg->OpenFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("format.dat"));
        QVERIFY(FDlg->getImportOptions() == savedOptions);
        QVERIFY(FDlg->getImportElements() == savedElements);
        QVERIFY(FDlg->FormatButtons->button(imConventional)->isChecked());
        QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("Semikolon (;)"));
        QVERIFY(FDlg->CheckIgnoreErr->isChecked());
        QCOMPARE(FDlg->CommentBox->toPlainText(), QStringLiteral("Sekretariat\nStand 2026"));
    });
    QCOMPARE(FUi->fileDialogs.last().title, QStringLiteral("Formatdefinition öffnen"));
    QCOMPARE(FUi->fileDialogs.last().filter, QStringLiteral("zuv Formatdefinitionen|*.FMT"));
    QCOMPARE(FUi->fileDialogs.last().helpContext, 0);
    QVERIFY(FUi->messages.isEmpty());
}

void TestImportDialog::formatFileSeparatorsLoadUnchanged()
{
    // A separator character that no item has, and the two-blank string:
    // shown as "mehrere Leerzeichen", kept as they are.
    TImportOptions o = DefaultOptions;
    o.imFormat = imConventional;
    o.imSepChar = QLatin1Char('x');
    o.imSepString = QStringLiteral("  ");
    TElements e = DefaultElements;
    QFile f(file(QStringLiteral("x.FMT")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(FormatToBytes(o, e));
    f.close();
    runWizard([&] {
        FUi->queueFiles({f.fileName()});
        FDlg->OpenFBut->click();
        QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("mehrere Leerzeichen"));
        showPage(FDlg->OptionsPage);
        emit FDlg->SepBox->lineEdit()->editingFinished();
    });
    QVERIFY(FDlg->getImportOptions() == o);

    // ";x" is kept while "Semikolon (;)" shows.
    o.imSepChar = QLatin1Char(';');
    o.imSepString = QStringLiteral(";x");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(FormatToBytes(o, e));
    f.close();
    runWizard([&] {
        FUi->queueFiles({f.fileName()});
        FDlg->OpenFBut->click();
        QCOMPARE(FDlg->SepBox->currentText(), QStringLiteral("Semikolon (;)"));
    });
    QVERIFY(FDlg->getImportOptions() == o);
}

void TestImportDialog::formatFileRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = FormatToBytes(DefaultOptions, DefaultElements);
    QByteArray badFormat = good;
    badFormat[1] = 3;
    QByteArray longText = good;
    longText[42] = 9;
    QByteArray random(363, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 37 + 11) & 0xFF);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("10 bytes") << good.left(10);
    QTest::newRow("362 bytes") << good.left(362);
    QTest::newRow("convention 3") << badFormat;
    QTest::newRow("text too long") << longText;
    QTest::newRow("random") << random;
}

void TestImportDialog::formatFileRefused()
{
    QFETCH(QByteArray, bytes);
    QFile f(file(QStringLiteral("bad.FMT")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    runWizard([&] {
        showPage(FDlg->OptionsPage);
        FDlg->FormatButtons->button(imPositions)->click();
        typeText(FDlg->EditW, QStringLiteral("eiblich"));
        FUi->queueFiles({f.fileName()});
        FDlg->OpenFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("keine"));
        QVERIFY(FDlg->FormatButtons->button(imDataBase)->isChecked());
        QCOMPARE(FDlg->EditW->text(), QStringLiteral("w"));
        QVERIFY(FDlg->SepBox->isVisible());
    });
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Lesefehler")});
    QVERIFY(FDlg->getImportOptions() == DefaultOptions);
    QVERIFY(FDlg->getImportElements() == DefaultElements);
}

void TestImportDialog::formatFileCancelAndMissing()
{
    runWizard([&] {
        typeText(FDlg->EditW, QStringLiteral("x"));
        FUi->queueFileCancel();
        FDlg->OpenFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("keine"));
        FUi->queueFiles({file(QStringLiteral("nichtda.FMT"))});
        FDlg->OpenFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("keine"));
        QCOMPARE(FDlg->EditW->text(), QStringLiteral("wx"));
        FUi->queueFiles({file(QStringLiteral("ok"))});
        FDlg->SaveFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("ok.FMT"));
        FUi->queueFiles({file(QStringLiteral("nordner/x.FMT"))});
        FDlg->SaveFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("keine"));
        FUi->queueFileCancel();
        FDlg->SaveFBut->click();
        QCOMPARE(FDlg->FilenameLab->text(), QStringLiteral("keine"));
    });
    QVERIFY(FUi->messages.isEmpty());
    QCOMPARE(FDlg->getImportElements().elGW.text(), QStringLiteral("wx"));
}

void TestImportDialog::classFilter()
{
    runWizard([this] {
        // Cancelled: no filter.
        QTimer::singleShot(0, KlassenSelect, [] {
            selectItems(KlassenSelect->ListJgst, {QStringLiteral("5")});
            KlassenSelect->CancelBtn->click();
        });
        FDlg->KlSelectBut->click();
        QVERIFY(!FDlg->getFilter());
        QCOMPARE(FDlg->KlLabel->text(), QStringLiteral("Alle Klassen"));

        QTimer::singleShot(0, KlassenSelect, [] {
            QVERIFY(KlassenSelect->ListAbt->isVisibleTo(KlassenSelect));
            QCOMPARE(KlassenSelect->ListJgst->selectedItems().size(), 0);
            selectItems(KlassenSelect->ListJgst, {QStringLiteral("5"), QStringLiteral("6")});
            selectItems(KlassenSelect->ListAbt, {QStringLiteral("A")});
            KlassenSelect->OkBtn->click();
        });
        FDlg->KlSelectBut->click();
        QVERIFY(FDlg->getFilter());
        QVERIFY(FDlg->getFilter()->jgst.contains(5));
        QVERIFY(FDlg->getFilter()->jgst.contains(6));
        QVERIFY(!FDlg->getFilter()->jgst.contains(7));
        QCOMPARE(FDlg->KlLabel->text(), QStringLiteral("Klassen 5 6 A"));

        // Cancelled again: the earlier choice stays.
        const TSearchFilter* before = FDlg->getFilter();
        QTimer::singleShot(0, KlassenSelect, [] { KlassenSelect->CancelBtn->click(); });
        FDlg->KlSelectBut->click();
        QCOMPARE(FDlg->getFilter(), before);
        QCOMPARE(FDlg->KlLabel->text(), QStringLiteral("Klassen 5 6 A"));

        // Too long for 35 characters: the count.
        QTimer::singleShot(0, KlassenSelect, [] {
            QStringList grades;
            for (int g = 1; g <= 11; ++g)
                grades << QString::number(g);
            selectItems(KlassenSelect->ListJgst, grades);
            selectItems(KlassenSelect->ListAbt, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
            KlassenSelect->OkBtn->click();
        });
        FDlg->KlSelectBut->click();
        QCOMPARE(FDlg->KlLabel->text(), QStringLiteral("33 selektierte Klassen"));
    });
    QVERIFY(FDlg->getFilter());
}

KESTRIN_TEST_MAIN(TestImportDialog)
#include "tst_importdialog.moc"

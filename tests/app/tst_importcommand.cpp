// The import command with the real wizard offscreen and the scripted seam:
// what it replaces, what it keeps when the user or the file says no, the
// class filter, the bad lines, and hand-written registers in every
// convention and encoding imported and saved as an assignment file that
// reads back unchanged.

#include "app/UEditor.h"
#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/UDataFile.h"
#include "data/USchuelerData.h"
#include "import/UImportDialog.h"
#include "platform/UGridWidget.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Gives field nr of the preview the meaning of the assignment list's row.
void assign(int nr, int row)
{
    ImportDialog->NrSelect->setValue(nr);
    ImportDialog->AssignBox->setCurrentRow(row);
    QTest::keyClick(ImportDialog->AssignBox, Qt::Key_Space);
}

// A wizard step: "fehlerhafte Zeilen ignorieren" ticked or left alone.
std::function<void()> ignoringErrors(bool ignore)
{
    return [ignore] {
        ImportDialog->Pages->setCurrentWidget(ImportDialog->OptionsPage);
        if (ignore)
            ImportDialog->CheckIgnoreErr->click();
    };
}

enum { rName = 1, rVName, rNName, rBName, rGeschl, rKl, rJgst, rAbt };

// One pupil as "name|grade|department|m or w".
QString describe(const TSchueler& s)
{
    return QStringLiteral("%1|%2|%3|%4").arg(s.name).arg(s.jgst).arg(s.abt).arg(s.geschl ? 'm' : 'w');
}

QStringList describe(const TSchuelerData& list)
{
    QStringList all;
    for (int i = 1; i <= list.Anz(); ++i)
        all << describe(*list.getNr(i));
    return all;
}

// A seam that looks at the pupil list while each message is open.
class TProbeUi : public TScriptedUi {
public:
    QList<int> pupilsSeen;
    TModalResult messageBox(const TMessage& message) override
    {
        pupilsSeen << SchuelerData->Anz();
        return TScriptedUi::messageBox(message);
    }
};

}   // namespace

class TestImportCommand : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fileDialog();
    void fifteenLines_data();
    void fifteenLines();
    void foldedNamesAreCounted_data();
    void foldedNamesAreCounted();
    void filterKeepingNoneKeepsTheList_data();
    void filterKeepingNoneKeepsTheList();
    void cancellingChangesNothing_data();
    void cancellingChangesNothing();
    void unsavedPupilsAsked();
    void missingFileKeepsThePupils_data();
    void missingFileKeepsThePupils();
    void oneSaveQuestion_data();
    void oneSaveQuestion();
    void noPupilKeepsTheList_data();
    void noPupilKeepsTheList();
    void cancelAtBadLine_data();
    void cancelAtBadLine();
    void readErrorKeepsThePupils();
    void binaryRefused_data();
    void binaryRefused();
    void longLines();
    void genderWordsOfEight();
    void manyBadLines_data();
    void manyBadLines();
    void registers_data();
    void registers();
    void encodings_data();
    void encodings();
    void importedListIsModified_data();
    void importedListIsModified();
    void projectCountsFollowTheNewPupils_data();
    void projectCountsFollowTheNewPupils();

private:
    // Four pupils in the program's list, the pupil editor and one view.
    // Marked modified, with "Nein" queued for the save question.
    void loadOldPupils(bool modified = false);
    // Queues the file dialog's answer and drives the wizard: the
    // elements name, class, gender, then act, then OK or Cancel.
    void runImport(const QString& file, const std::function<void()>& act = {}, bool ok = true);
    void chooseGrades(const QStringList& grades);
    QString file(const QString& name) const { return FDir.filePath(name); }
    QString fifteen();
    TEditor* pupilEditor() const;
    int views() const { return MainFormHandler->GetViewSchEditors(); }
    // The old pupils, their editor and their view are all still there.
    void checkOldPupilsKept(const TSchuelerData* list, const QStringList& pupils, bool modified);

    QTemporaryDir FDir;
    QString FPreview;   // the wizard's values of field 1
    std::unique_ptr<TProbeUi> FUi;
    TAppForms FForms;
};

void TestImportCommand::init()
{
    QVERIFY(FDir.isValid());
    FUi = std::make_unique<TProbeUi>();
    QVERIFY(FForms.start());
    QVERIFY(ImportDialog);
    QVERIFY(KlassenSelect);
}

void TestImportCommand::cleanup()
{
    FForms.stop();
    FUi.reset();
}

void TestImportCommand::loadOldPupils(bool modified)
{
    const QStringList names = {QStringLiteral("Alt Anna"), QStringLiteral("Alt Bernd"), QStringLiteral("Alt Clara"),
                               QStringLiteral("Alt Dieter")};
    for (const QString& n : names) {
        auto* s = new TSchueler;
        s->name = n;
        s->jgst = 6;
        s->abt = QStringLiteral("a");
        SchuelerData->add(s);
    }
    MainForm->ActivateEditor(dtSch);
    FForms.openView();
    if (modified) {
        SchuelerData->setModified();
        FUi->queueAnswer(TModalResult::mrNo);
    }
    MainFormHandler->UpdateAll();
}

TEditor* TestImportCommand::pupilEditor() const
{
    for (TEditor* e : MainForm->editors())
        if (e->Editable() && e->getDataType() == dtSch)
            return e;
    return nullptr;
}

void TestImportCommand::runImport(const QString& name, const std::function<void()>& act, bool ok)
{
    FUi->queueFiles({name});
    QTimer::singleShot(0, ImportDialog, [act, ok] {
        if (!ImportDialog->isVisible())
            return;
        ImportDialog->Pages->setCurrentWidget(ImportDialog->ElementsPage);
        assign(1, rName);
        assign(2, rKl);
        assign(3, rGeschl);
        if (act)
            act();
        if (ImportDialog->isVisible())
            (ok ? ImportDialog->OkButton : ImportDialog->CancelButton)->click();
    });
    MainForm->ImportAct->trigger();
}

void TestImportCommand::chooseGrades(const QStringList& grades)
{
    QTimer::singleShot(0, KlassenSelect, [grades] {
        QListWidget* list = KlassenSelect->ListJgst;
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(grades.contains(list->item(i)->text()));
        KlassenSelect->OkBtn->click();
    });
    ImportDialog->KlSelectBut->click();
}

QString TestImportCommand::fifteen()
{
    QStringList lines;
    for (int i = 1; i <= 15; ++i) {
        const int grade = i <= 6 ? 10 : (i <= 11 ? 7 : 8);
        lines << QStringLiteral("Schüler %1,%2b,%3").arg(i).arg(grade).arg(i % 2 ? 'w' : 'm');
    }
    writeLines(file(QStringLiteral("fuenfzehn.txt")), lines);
    return file(QStringLiteral("fuenfzehn.txt"));
}

void TestImportCommand::fileDialog()
{
    FUi->queueFileCancel();
    MainForm->ImportAct->trigger();
    QCOMPARE(FUi->fileDialogs.size(), 1);
    const TFileDialogSpec& d = FUi->fileDialogs.first();
    QVERIFY(!d.save);
    QVERIFY(!d.multiSelect);
    QCOMPARE(d.title, QStringLiteral("Schülerkartei importieren"));
    QCOMPARE(d.filter, QStringLiteral("Textdateien (*.TXT)|*.txt|Alle Dateien (*.*)|*.*"));
    QCOMPARE(d.filterIndex, 1);
    QCOMPARE(d.helpContext, 101);
}

void TestImportCommand::fifteenLines_data()
{
    QTest::addColumn<QStringList>("grades");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("kept");
    QTest::newRow("no filter") << QStringList() << QStringLiteral("15 von 15 Schülerdatensätzen importiert.") << 15;
    QTest::newRow("keeps 6") << QStringList{QStringLiteral("10")}
                             << QStringLiteral("6 von 15 Schülerdatensätzen importiert.") << 6;
}

void TestImportCommand::fifteenLines()
{
    QFETCH(QStringList, grades);
    QFETCH(QString, message);
    QFETCH(int, kept);
    loadOldPupils();
    QPointer<TEditor> oldEditor = pupilEditor();
    runImport(fifteen(), [&] {
        if (!grades.isEmpty())
            chooseGrades(grades);
    });
    QCOMPARE(FUi->texts(), QStringList{message});
    QCOMPARE(SchuelerData->Anz(), kept);
    // Imported pupils are in no file yet.
    QVERIFY(SchuelerData->getModified());
    QVERIFY(SchuelerData->getFilename().isEmpty());
    QVERIFY(!oldEditor);
    QCOMPARE(views(), 0);
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        QVERIFY(SchuelerData->getNr(i)->name.startsWith(QStringLiteral("Schüler ")));
        QCOMPARE(SchuelerData->getNr(i)->zuteil, 0);
        if (!grades.isEmpty())
            QCOMPARE(SchuelerData->getNr(i)->jgst, 10);
    }
    TEditor* editor = pupilEditor();
    QVERIFY(editor);
    QCOMPARE(editor->getData(), SchuelerData);
    QCOMPARE(editor->grid()->rowCount(), kept + 1);
    QCOMPARE(MainForm->activeEditor(), editor);
    QCOMPARE(MainForm->panelText(1), QStringLiteral("%1 Schüler (*)").arg(kept));
}

void TestImportCommand::foldedNamesAreCounted_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("grades");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("closing");
    const QStringList four{QStringLiteral("Şahin Jülide,10a,w"), QStringLiteral("Yılmaz Ayşe,7b,w"),
                           QStringLiteral("Meier Hans,10a,m"), QStringLiteral("Łukaszewicz Małgorzata,10c,w")};
    const QString sahin = QStringLiteral("Sahin Jülide|10|a|w");
    const QString yilmaz = QStringLiteral("Yilmaz Ayse|7|b|w");
    const QString meier = QStringLiteral("Meier Hans|10|a|m");
    const QString lukas = QStringLiteral("Lukaszewicz Malgorzata|10|c|w");
    const auto imported = [](int k, int n, int folded) {
        QString text = QStringLiteral("%1 von %2 Schülerdatensätzen importiert.").arg(k).arg(n);
        if (folded == 1)
            text += QStringLiteral("\r\n1 Name enthielt Buchstaben, die eine Datendatei nicht speichern kann; er "
                                   "wurde ohne Akzente geschrieben (z. B. Ş als S).");
        else if (folded > 1)
            text += QStringLiteral("\r\n%1 Namen enthielten Buchstaben, die eine Datendatei nicht speichern kann; sie "
                                   "wurden ohne Akzente geschrieben (z. B. Ş als S).")
                        .arg(folded);
        return text;
    };
    QTest::newRow("no filter") << four << QStringList() << QStringList{sahin, yilmaz, meier, lukas} << imported(4, 4, 3);
    // Only the pupils kept count.
    QTest::newRow("grade 10") << four << QStringList{QStringLiteral("10")} << QStringList{sahin, meier, lukas}
                              << imported(3, 4, 2);
    QTest::newRow("grade 7") << four << QStringList{QStringLiteral("7")} << QStringList{yilmaz} << imported(1, 4, 1);
    QTest::newRow("none kept folded") << four.mid(1, 2) << QStringList{QStringLiteral("10")} << QStringList{meier}
                                      << imported(1, 2, 0);
}

void TestImportCommand::foldedNamesAreCounted()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, grades);
    QFETCH(QStringList, expected);
    QFETCH(QString, closing);
    const QString path = file(QStringLiteral("namen.txt"));
    writeFileBytes(path, lines.join(QStringLiteral("\r\n")).toUtf8());
    runImport(path, [&] {
        if (!grades.isEmpty())
            chooseGrades(grades);
    });
    QCOMPARE(FUi->texts(), QStringList{closing});
    QCOMPARE(describe(*SchuelerData), expected);
}

void TestImportCommand::filterKeepingNoneKeepsTheList_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("badLine");
    QTest::newRow("unchanged") << false << false;
    QTest::newRow("changed") << true << false;
    QTest::newRow("a bad line passed over") << false << true;
}

void TestImportCommand::filterKeepingNoneKeepsTheList()
{
    QFETCH(bool, modified);
    QFETCH(bool, badLine);
    // The old pupils come from a file and are in project 1.
    ProjektData->add(new TProjekt(TZeile(QStringLiteral("1; Projekt 1; 5; 10; 2; 20; -; -; 0; "))));
    loadOldPupils();
    const QString saved = file(QStringLiteral("alt.EIN"));
    SchuelerData->ModSaved(saved);
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        SchuelerData->getNr(i)->zuteil = 1;
    if (modified) {
        SchuelerData->setModified();
        FUi->queueAnswer(TModalResult::mrNo);
    }
    MainFormHandler->UpdateAll();
    const TSchuelerData* list = SchuelerData;
    const QStringList old = describe(*SchuelerData);
    QString listFile = fifteen();
    if (badLine) {
        listFile = file(QStringLiteral("mitfehler.txt"));
        writeFileBytes(listFile, fileBytes(fifteen()) + "Kaputt\r\n");
    }
    runImport(listFile, [&] {
        if (badLine)
            ignoringErrors(true)();
        chooseGrades({QStringLiteral("13")});
    });
    QString message = QStringLiteral("Es wurde kein Schüler importiert; die bisherige Liste bleibt erhalten.");
    if (badLine)
        message += QStringLiteral("\r\n1 Zeile wurde übersprungen.");
    QCOMPARE(FUi->lastText(), message);
    QCOMPARE(FUi->unanswered, 0);
    checkOldPupilsKept(list, old, modified);
    QCOMPARE(SchuelerData->getFilename(), saved);
    QCOMPARE(ProjektData->getNr(1)->Anz(), 4);
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        QCOMPARE(SchuelerData->getNr(i)->zuteil, 1);
}

void TestImportCommand::cancellingChangesNothing_data()
{
    QTest::addColumn<bool>("atFileDialog");
    QTest::newRow("file dialog") << true;
    QTest::newRow("wizard") << false;
}

void TestImportCommand::cancellingChangesNothing()
{
    QFETCH(bool, atFileDialog);
    loadOldPupils();
    const TSchuelerData* list = SchuelerData;
    QPointer<TEditor> editor = pupilEditor();
    if (atFileDialog) {
        FUi->queueFileCancel();
        MainForm->ImportAct->trigger();
    } else {
        runImport(fifteen(), {}, false);
    }
    QCOMPARE(SchuelerData, list);
    QCOMPARE(SchuelerData->Anz(), 4);
    QVERIFY(editor);
    QCOMPARE(views(), 1);
    QVERIFY(FUi->messages.isEmpty());
}

void TestImportCommand::unsavedPupilsAsked()
{
    loadOldPupils();
    SchuelerData->setModified();
    FUi->queueAnswer(TModalResult::mrCancel);
    MainForm->ImportAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?")});
    QVERIFY(FUi->fileDialogs.isEmpty());
    QCOMPARE(SchuelerData->Anz(), 4);
}

void TestImportCommand::missingFileKeepsThePupils_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << QStringLiteral("fehlt.txt");
    QTest::newRow("folder") << QString();
}

void TestImportCommand::missingFileKeepsThePupils()
{
    QFETCH(QString, name);
    loadOldPupils();
    const TSchuelerData* list = SchuelerData;
    QPointer<TEditor> editor = pupilEditor();
    const QString path = name.isEmpty() ? FDir.path() : file(name);
    // The wizard is left on its first page: no preview of the missing file.
    FUi->queueFiles({path});
    QTimer::singleShot(0, ImportDialog, [] { ImportDialog->OkButton->click(); });
    MainForm->ImportAct->trigger();
    QCOMPARE(FUi->messages.size(), 1);
    QVERIFY(FUi->lastText().contains(path));
    QCOMPARE(SchuelerData, list);
    QCOMPARE(describe(*SchuelerData).size(), 4);
    QVERIFY(editor);
    QCOMPARE(views(), 1);
}

void TestImportCommand::checkOldPupilsKept(const TSchuelerData* list, const QStringList& pupils, bool modified)
{
    QCOMPARE(SchuelerData, list);
    QCOMPARE(describe(*SchuelerData), pupils);
    QCOMPARE(SchuelerData->getModified(), modified);
    TEditor* editor = pupilEditor();
    QVERIFY(editor);
    QCOMPARE(editor->getData(), SchuelerData);
    QCOMPARE(editor->grid()->rowCount(), pupils.size() + 1);
    QCOMPARE(views(), 1);
    QCOMPARE(MainForm->panelText(1),
             QStringLiteral("%1 Schüler").arg(pupils.size()) + (modified ? QStringLiteral(" (*)") : QString()));
}

void TestImportCommand::oneSaveQuestion_data()
{
    QTest::addColumn<TModalResult>("answer");
    QTest::newRow("Nein") << TModalResult::mrNo;
    QTest::newRow("Ja") << TModalResult::mrYes;
}

void TestImportCommand::oneSaveQuestion()
{
    QFETCH(TModalResult, answer);
    // The old pupils come from a file and were changed since.
    const QString saved = file(QStringLiteral("alt.EIN"));
    writeLines(saved, {QStringLiteral("Alt Anna; w; 6; a; -; 0; 0; 0; 0; 0; 0; ")});
    const QByteArray before = fileBytes(saved);
    loadOldPupils();
    SchuelerData->ModSaved(saved);
    SchuelerData->setModified();
    FUi->queueAnswer(answer);
    runImport(fifteen());
    const QString question = QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?");
    QCOMPARE(FUi->texts().count(question), 1);
    QCOMPARE(FUi->unanswered, 0);
    QCOMPARE(FUi->lastText(), QStringLiteral("15 von 15 Schülerdatensätzen importiert."));
    QCOMPARE(SchuelerData->Anz(), 15);
    QVERIFY(pupilEditor());
    if (answer == TModalResult::mrNo) {
        // Declined: the file stays as it was.
        QCOMPARE(FUi->messages.size(), 2);
        QCOMPARE(fileBytes(saved), before);
    } else {
        QCOMPARE(FUi->messages.size(), 3);
        TSchuelerData back;
        TDataFile data(ft_teil, saved);
        QVERIFY(data.OpenRead());
        QCOMPARE(data.Read(back, false), 4);
        data.Close();
        QCOMPARE(back.getNr(4)->name, QStringLiteral("Alt Dieter"));
        back.ClearData();
    }
}

void TestImportCommand::noPupilKeepsTheList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ignoreErrors");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("questions");   // each answered "&Ignorieren"
    QTest::addColumn<QString>("passed");   // the message's second line
    const QByteArray bad("a,x,w\r\nb,y,m\r\n");
    QTest::newRow("all bad, ignored") << bad << true << false << 0 << QStringLiteral("2 Zeilen wurden übersprungen.");
    QTest::newRow("all bad, changed") << bad << true << true << 0 << QStringLiteral("2 Zeilen wurden übersprungen.");
    QTest::newRow("all bad, asked") << bad << false << false << 2 << QStringLiteral("2 Zeilen wurden übersprungen.");
    QTest::newRow("one bad") << QByteArray("\r\n  \r\na,x,w") << true << false << 0
                             << QStringLiteral("1 Zeile wurde übersprungen.");
    QTest::newRow("empty") << QByteArray() << false << false << 0 << QString();
    QTest::newRow("blank lines") << QByteArray("\r\n   \r\n") << false << true << 0 << QString();
}

void TestImportCommand::noPupilKeepsTheList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ignoreErrors);
    QFETCH(bool, modified);
    QFETCH(int, questions);
    QFETCH(QString, passed);
    loadOldPupils(modified);
    const TSchuelerData* list = SchuelerData;
    const QStringList old = describe(*SchuelerData);
    writeFileBytes(file(QStringLiteral("nichts.txt")), bytes);
    for (int i = 0; i < questions; ++i)
        FUi->queueAnswer(TModalResult::mrIgnore);
    runImport(file(QStringLiteral("nichts.txt")), ignoringErrors(ignoreErrors));
    QCOMPARE(FUi->unanswered, 0);
    QString message = QStringLiteral("Es wurde kein Schüler importiert; die bisherige Liste bleibt erhalten.");
    if (!passed.isEmpty())
        message += QStringLiteral("\r\n") + passed;
    QCOMPARE(FUi->lastText(), message);
    QCOMPARE(FUi->texts().filter(QStringLiteral("Lesefehler in Zeile ")).size(), questions);
    checkOldPupilsKept(list, old, modified);
}

void TestImportCommand::cancelAtBadLine_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("at");   // the bad line answered "Abbrechen", from 1
    QTest::newRow("first, unchanged") << false << 1;
    QTest::newRow("first, changed") << true << 1;
    QTest::newRow("second, changed") << true << 2;
}

void TestImportCommand::cancelAtBadLine()
{
    QFETCH(bool, modified);
    QFETCH(int, at);
    loadOldPupils(modified);
    const TSchuelerData* list = SchuelerData;
    const QStringList old = describe(*SchuelerData);
    writeLines(file(QStringLiteral("gemischt.txt")), {QStringLiteral("Eins,5a,w"), QStringLiteral("Zwei,xx,w"),
                                                      QStringLiteral("Drei,6a,m"), QStringLiteral("Vier,yy,m")});
    for (int i = 1; i < at; ++i)
        FUi->queueAnswer(TModalResult::mrIgnore);
    FUi->queueAnswer(TModalResult::mrCancel);
    runImport(file(QStringLiteral("gemischt.txt")));
    const QStringList questions = FUi->texts().filter(QStringLiteral("Lesefehler in Zeile "));
    QCOMPARE(questions.size(), at);
    QVERIFY(questions.last().startsWith(QStringLiteral("Lesefehler in Zeile %1: ").arg(2 * at)));
    // Nothing after the question: no result, no second save question.
    QCOMPARE(FUi->lastText(), questions.last());
    QCOMPARE(FUi->unanswered, 0);
    // While the question was open the program's list was the old one.
    QCOMPARE(FUi->pupilsSeen.last(), 4);
    checkOldPupilsKept(list, old, modified);
}

void TestImportCommand::readErrorKeepsThePupils()
{
    // Opens, but every read fails.
    const QString name = QStringLiteral("/proc/self/mem");
    loadOldPupils();
    const TSchuelerData* list = SchuelerData;
    const QStringList old = describe(*SchuelerData);
    FUi->queueFiles({name});
    QTimer::singleShot(0, ImportDialog, [] { ImportDialog->OkButton->click(); });
    MainForm->ImportAct->trigger();
    QCOMPARE(FUi->lastText(), QStringLiteral("Fehler beim Lesen der Datei ") + name);
    checkOldPupilsKept(list, old, false);
}

void TestImportCommand::binaryRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ignoreErrors");
    QTest::addColumn<bool>("modified");
    QByteArray binary;
    for (int i = 0; i < 20000; ++i)
        binary += char((i * 7919 + i / 13) & 0xFF);
    // A text header, its first NUL byte well after 4 KiB.
    QByteArray pdf = "%PDF-1.4\n" + QByteArray("1 0 obj << /Type /Page /Parent 2 0 R >> endobj\n").repeated(150);
    pdf.truncate(6180);
    pdf += QByteArray("\0\x01\x02stream\n", 10) + binary;
    QByteArray noise;
    for (int i = 0; i < 20000; ++i)
        noise += char(1 + (i * 7919 + i / 13) % 255);
    QTest::newRow("asking") << binary << false << false;
    QTest::newRow("ignoring") << binary << true << false;
    QTest::newRow("asking, changed") << binary << false << true;
    QTest::newRow("late NUL, asking") << pdf << false << false;
    QTest::newRow("late NUL, ignoring") << pdf << true << true;
    QTest::newRow("no NUL, asking") << noise << false << false;
    QTest::newRow("no NUL, ignoring") << noise << true << false;
    // UTF-32 is no UTF-16: after FF FE its first character is a NUL.
    const auto utf32 = [](const QString& text, bool bigEndian) {
        QStringEncoder encoder(bigEndian ? QStringConverter::Utf32BE : QStringConverter::Utf32LE,
                               QStringConverter::Flag::WriteBom);
        return QByteArray(encoder(text));
    };
    const QString lines = QStringLiteral("Müller Jürgen,10a,m\r\nWeiß Käthe,9b,w\r\n");
    QTest::newRow("UTF-32 LE, asking") << utf32(lines, false) << false << false;
    QTest::newRow("UTF-32 LE, ignoring") << utf32(lines, false) << true << true;
    QTest::newRow("UTF-32 BE, ignoring") << utf32(lines, true) << true << false;
}

void TestImportCommand::binaryRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ignoreErrors);
    QFETCH(bool, modified);
    const QString binaer = file(QStringLiteral("binaer.txt"));
    writeFileBytes(binaer, bytes);
    loadOldPupils(modified);
    const TSchuelerData* list = SchuelerData;
    const QStringList old = describe(*SchuelerData);
    runImport(binaer, ignoringErrors(ignoreErrors));
    // The wizard's preview and then the command refuse it, neither asks
    // about a line.
    QVERIFY(FUi->texts().filter(QStringLiteral("Lesefehler")).isEmpty());
    QCOMPARE(FUi->lastText(), QStringLiteral("Die Datei binaer.txt ist keine Textdatei."));
    checkOldPupilsKept(list, old, modified);
}

void TestImportCommand::longLines()
{
    const QString longLine = QString(1 << 20, QLatin1Char('x'));
    writeLines(file(QStringLiteral("lang.txt")), {longLine + QStringLiteral(",10a,w"), QStringLiteral("Kurz,9b,m")});
    runImport(file(QStringLiteral("lang.txt")), ignoringErrors(true));
    QCOMPARE(FUi->lastText(), QStringLiteral("2 von 2 Schülerdatensätzen importiert."));
    QCOMPARE(SchuelerData->getNr(1)->name, longLine);
    QCOMPARE(SchuelerData->getNr(2)->name, QStringLiteral("Kurz"));
}

void TestImportCommand::genderWordsOfEight()
{
    writeLines(file(QStringLiteral("geschlecht.txt")),
               {QStringLiteral("Becker Björn,7d,maennlich"), QStringLiteral("Weiß Käthe,9b,weiblich"),
                QStringLiteral("Kurz Karl,7a,M")});
    QString shownM;
    QString shownW;
    runImport(file(QStringLiteral("geschlecht.txt")), [&] {
        ImportDialog->Pages->setCurrentWidget(ImportDialog->OptionsPage);
        ImportDialog->EditM->clear();
        typeText(ImportDialog->EditM, QStringLiteral("maennlich"));
        ImportDialog->EditW->clear();
        typeText(ImportDialog->EditW, QStringLiteral("weiblich"));
        shownM = ImportDialog->EditM->text();
        shownW = ImportDialog->EditW->text();
    });
    // What the fields show is what they keep, and what a definition file
    // can hold.
    QCOMPARE(shownM, QStringLiteral("maennlic"));
    QCOMPARE(shownW, QStringLiteral("weiblich"));
    QCOMPARE(ImportDialog->getImportElements().elGM.text(), shownM);
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("3 von 3 Schülerdatensätzen importiert.")});
    QCOMPARE(describe(*SchuelerData), (QStringList{QStringLiteral("Becker Björn|7|d|m"),
                                                   QStringLiteral("Weiß Käthe|9|b|w"),
                                                   QStringLiteral("Kurz Karl|7|a|m")}));
}

void TestImportCommand::manyBadLines_data()
{
    QTest::addColumn<int>("bad");
    QTest::addColumn<bool>("ignoreErrors");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("passed");   // the closing message's second line
    QTest::newRow("one asked") << 1 << false << 1 << QStringLiteral("1 Zeile wurde übersprungen.");
    QTest::newRow("ten asked") << 10 << false << 10 << QStringLiteral("10 Zeilen wurden übersprungen.");
    QTest::newRow("eleven") << 11 << false << 10 << QStringLiteral("11 Zeilen wurden übersprungen.");
    QTest::newRow("many") << 300 << false << 10 << QStringLiteral("300 Zeilen wurden übersprungen.");
    QTest::newRow("many ignored") << 300 << true << 0 << QStringLiteral("300 Zeilen wurden übersprungen.");
    QTest::newRow("header ignored") << 0 << true << 0 << QStringLiteral("1 Zeile wurde übersprungen.");
}

void TestImportCommand::manyBadLines()
{
    QFETCH(int, bad);
    QFETCH(bool, ignoreErrors);
    QFETCH(int, questions);
    QFETCH(QString, passed);
    // A heading, or a wrong separator: lines of one field.
    QStringList lines;
    if (bad == 0)
        lines << QStringLiteral("Name,Klasse,Geschlecht");
    for (int i = 1; i <= qMax(bad, 3); ++i) {
        if (i <= 3)
            lines << QStringLiteral("Gut %1,7a,m").arg(i);
        if (i <= bad)
            lines << QStringLiteral("Schlecht %1;7a;m").arg(i);
    }
    writeLines(file(QStringLiteral("viele.txt")), lines);
    for (int i = 0; i < questions; ++i)
        FUi->queueAnswer(TModalResult::mrIgnore);
    runImport(file(QStringLiteral("viele.txt")), ignoringErrors(ignoreErrors));
    QCOMPARE(FUi->unanswered, 0);
    const QStringList texts = FUi->texts();
    QCOMPARE(texts.filter(QStringLiteral("Lesefehler in Zeile ")).size(), questions);
    QCOMPARE(texts.size(), questions + 1);
    QCOMPARE(texts.last(), QStringLiteral("3 von 3 Schülerdatensätzen importiert.\r\n") + passed);
    QCOMPARE(SchuelerData->Anz(), 3);
}

void TestImportCommand::registers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("fromFmt");   // the layout from a definition file
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("passed");   // the closing message's second line
    const QStringList quoted{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Weiß, Dr. Käthe|9|b|w"),
                             QStringLiteral("Öztürk Özlem|10|c|w"), QStringLiteral("Bär Björn|7||m"),
                             QStringLiteral("Schäfer Anna-Lena|12||w"), QStringLiteral("Groß Sören|8|D|m")};
    QTest::newRow("quoted") << QStringLiteral("schueler_db.txt") << QStringLiteral("db") << false << quoted
                            << QString();
    QTest::newRow("quoted, definition file") << QStringLiteral("schueler_db.txt") << QStringLiteral("db") << true
                                             << quoted << QString();
    QTest::newRow("UTF-8") << QStringLiteral("schueler_db_utf8.txt") << QStringLiteral("db") << false << quoted
                           << QString();
    QTest::newRow("UTF-8 with BOM") << QStringLiteral("schueler_db_utf8bom.txt") << QStringLiteral("db") << false
                                    << quoted << QString();
    // Lines added in another editor, in Windows-1252.
    QTest::newRow("UTF-8 with 1252 lines") << QStringLiteral("schueler_db_mixed.txt") << QStringLiteral("db") << false
                                           << quoted << QString();
    QTest::newRow("UTF-8 with BOM, definition file") << QStringLiteral("schueler_db_utf8bom.txt")
                                                     << QStringLiteral("db") << true << quoted << QString();
    QTest::newRow("tabs") << QStringLiteral("schueler_tab.txt") << QStringLiteral("tab") << false
                          << QStringList{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Weiß Käthe|9|b|w"),
                                         QStringLiteral("Öztürk Özlem|10|c|w"), QStringLiteral("Bär Björn|7|E|m"),
                                         QStringLiteral("Groß Sören|8|d|m")}
                          << QStringLiteral("1 Zeile wurde übersprungen.");
    // A spreadsheet's "Unicode text".
    QTest::newRow("tabs, UTF-16") << QStringLiteral("schueler_tab_utf16.txt") << QStringLiteral("tab") << false
                                  << QStringList{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Weiß Käthe|9|b|w"),
                                                 QStringLiteral("Öztürk Özlem|10|c|w"), QStringLiteral("Bär Björn|7|E|m"),
                                                 QStringLiteral("Groß Sören|8|d|m")}
                                  << QStringLiteral("1 Zeile wurde übersprungen.");
    // Names of a German school that the data files hold only without accents.
    QTest::newRow("tabs, UTF-16, names folded")
        << QStringLiteral("schueler_tab_utf16_names.txt") << QStringLiteral("tab") << false
        << QStringList{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Sahin Jülide|10|a|w"),
                       QStringLiteral("Yilmaz Ayse|7|b|w"), QStringLiteral("Lukaszewicz Malgorzata|8|c|w"),
                       QStringLiteral("Popovic Dorde|9|d|m"), QStringLiteral("Öztürk Özlem|10|c|w")}
        << QStringLiteral("1 Zeile wurde übersprungen.\r\n4 Namen enthielten Buchstaben, die eine Datendatei nicht "
                          "speichern kann; sie wurden ohne Akzente geschrieben (z. B. Ş als S).");
    QTest::newRow("semicolons") << QStringLiteral("schueler_semi.txt") << QStringLiteral("semi") << false
                                << QStringList{QStringLiteral("Müller Jürgen, von|10|a|m"),
                                               QStringLiteral("Weiß Käthe, zu|9|b|w"),
                                               QStringLiteral("Öztürk Özlem, de|10|c|w"),
                                               QStringLiteral("Bär Björn, van der|7|e|m")}
                                << QString();
    QTest::newRow("columns") << QStringLiteral("schueler_fix.txt") << QStringLiteral("fix") << false
                             << QStringList{QStringLiteral("Müller, Jürgen|10|a|m"), QStringLiteral("Weiß, Käthe|9|b|w"),
                                            QStringLiteral("Öztürk, Özlem|10|c|w"), QStringLiteral("Bär, Björn|7||m"),
                                            QStringLiteral("Groß, Sören|8|d|m"),
                                            QStringLiteral("Schäfer, Anna-Lena|12||w")}
                             << QString();
}

void TestImportCommand::registers()
{
    QFETCH(QString, name);
    QFETCH(QString, layout);
    QFETCH(bool, fromFmt);
    QFETCH(QStringList, expected);
    QFETCH(QString, passed);
    const QString path = QStringLiteral(KESTRIN_REGISTERS "/") + name;
    const QString fmt = file(QStringLiteral("db.FMT"));
    if (fromFmt) {
        TElements e = DefaultElements;
        e.elNName = 1;
        e.elVName = 2;
        e.elGeschl = 3;
        e.elKl = 4;
        e.highestEl = 4;
        e.elGM = QStringLiteral("männlich");
        e.elGW = QStringLiteral("weiblich");
        writeFileBytes(fmt, FormatToBytes(DefaultOptions, e));
    }
    FUi->queueFiles({path});
    QTimer::singleShot(0, ImportDialog, [this, layout, fromFmt, fmt] {
        TImportDialog* d = ImportDialog;
        d->Pages->setCurrentWidget(d->OptionsPage);
        auto words = [d](const QString& m, const QString& w) {
            d->EditM->clear();
            typeText(d->EditM, m);
            d->EditW->clear();
            typeText(d->EditW, w);
        };
        auto separator = [d](int item) {
            d->SepBox->setCurrentIndex(item);
            emit d->SepBox->activated(item);
        };
        if (layout == QLatin1String("db") && fromFmt) {
            FUi->queueFiles({fmt});
            d->OpenFBut->click();
        } else if (layout == QLatin1String("db")) {
            words(QStringLiteral("männlich"), QStringLiteral("weiblich"));
            d->Pages->setCurrentWidget(d->ElementsPage);
            assign(1, rNName);
            assign(2, rVName);
            assign(3, rGeschl);
            assign(4, rKl);
        } else if (layout == QLatin1String("tab")) {
            d->FormatButtons->button(imConventional)->click();
            separator(0);
            d->CheckIgnoreErr->click();   // the heading line
            d->Pages->setCurrentWidget(d->ElementsPage);
            assign(1, rNName);
            assign(2, rVName);
            assign(3, rJgst);
            assign(4, rAbt);
            assign(5, rGeschl);
        } else if (layout == QLatin1String("semi")) {
            d->FormatButtons->button(imConventional)->click();
            separator(2);
            d->Pages->setCurrentWidget(d->ElementsPage);
            assign(1, rNName);
            assign(2, rVName);
            assign(3, rBName);
            assign(4, rKl);
            assign(5, rGeschl);
        } else {
            d->FormatButtons->button(imPositions)->click();
            d->Pages->setCurrentWidget(d->ElementsPage);
            assign(1, rName);
            assign(2, rKl);
            assign(3, rGeschl);
        }
        // The preview shows the register's first names as they are.
        d->Pages->setCurrentWidget(d->ElementsPage);
        d->NrSelect->setValue(1);
        FPreview = d->ExampleBox->toPlainText();
        d->OkButton->click();
    });
    MainForm->ImportAct->trigger();
    QString closing = QStringLiteral("%1 von %1 Schülerdatensätzen importiert.").arg(expected.size());
    if (!passed.isEmpty())
        closing += QStringLiteral("\r\n") + passed;
    QCOMPARE(FUi->texts(), QStringList{closing});
    QCOMPARE(describe(*SchuelerData), expected);
    QVERIFY2(FPreview.contains(QStringLiteral("Müller")) && !FPreview.contains(QChar(0xFEFF))
                 && !FPreview.contains(QStringLiteral("Ã")),
             qPrintable(FPreview));

    // Saved as an assignment file, it reads back unchanged.
    FUi->clear();
    const QString saved = file(QStringLiteral("einteilung.EIN"));
    FUi->queueFiles({saved});
    MainForm->SaveAsAct->trigger();
    QVERIFY(QFile::exists(saved));
    TSchuelerData back;
    TDataFile data(ft_teil, saved);
    QVERIFY(data.OpenRead());
    QCOMPARE(data.Read(back, false), expected.size());
    data.Close();
    QCOMPARE(describe(back), expected);
    for (int i = 1; i <= back.Anz(); ++i)
        QCOMPARE(back.getNr(i)->ToZeile().AsString(), SchuelerData->getNr(i)->ToZeile().AsString());
    back.ClearData();
}

void TestImportCommand::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QString>("closing");
    const QByteArray bom("\xEF\xBB\xBF");
    const QString umlauts = QStringLiteral("Müller Jürgen,10a,m\r\nWeiß Käthe,9b,w\r\n");
    const QStringList umlautPupils{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Weiß Käthe|9|b|w")};
    QTest::newRow("UTF-8 with BOM") << bom + umlauts.toUtf8() << umlautPupils << QStringList()
                                    << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    QTest::newRow("UTF-8 with BOM, no umlaut")
        << bom + QByteArray("Meier Hans,10a,w\r\nBerg Anna,7b,m")
        << QStringList{QStringLiteral("Meier Hans|10|a|w"), QStringLiteral("Berg Anna|7|b|m")} << QStringList()
        << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    QTest::newRow("UTF-8") << umlauts.toUtf8() << umlautPupils << QStringList()
                           << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    QTest::newRow("UTF-8, umlaut on the last line only")
        << QStringLiteral("Meier Hans,10a,w\nBerg Anna,7b,m\nGroß Sören,8d,m").toUtf8()
        << QStringList{QStringLiteral("Meier Hans|10|a|w"), QStringLiteral("Berg Anna|7|b|m"),
                       QStringLiteral("Groß Sören|8|d|m")}
        << QStringList() << QStringLiteral("3 von 3 Schülerdatensätzen importiert.");
    // Umlauts written as a letter and a combining mark.
    QTest::newRow("UTF-8, decomposed") << umlauts.normalized(QString::NormalizationForm_D).toUtf8() << umlautPupils
                                       << QStringList() << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    QTest::newRow("Windows-1252") << Ansi::encode(umlauts) << umlautPupils << QStringList()
                                  << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    // Lines added in another editor: each line as its bytes say.
    QTest::newRow("UTF-8, a 1252 line")
        << umlauts.toUtf8() + Ansi::encode(QStringLiteral("Groß Sören,8d,m\r\n"))
        << umlautPupils + QStringList{QStringLiteral("Groß Sören|8|d|m")} << QStringList()
        << QStringLiteral("3 von 3 Schülerdatensätzen importiert.");
    QTest::newRow("UTF-8 with BOM, a 1252 line first")
        << bom + Ansi::encode(QStringLiteral("Groß Sören,8d,m\r\n")) + umlauts.toUtf8()
        << QStringList{QStringLiteral("Groß Sören|8|d|m")} + umlautPupils << QStringList()
        << QStringLiteral("3 von 3 Schülerdatensätzen importiert.");
    // UTF-16 after its byte order mark, in either order.
    const auto utf16 = [](const QString& text, bool bigEndian) {
        QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        for (QChar c : text) {
            const char high = char(c.unicode() >> 8);
            const char low = char(c.unicode() & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    };
    QTest::newRow("UTF-16 LE") << utf16(umlauts, false) << umlautPupils << QStringList()
                               << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    QTest::newRow("UTF-16 BE") << utf16(umlauts, true) << umlautPupils << QStringList()
                               << QStringLiteral("2 von 2 Schülerdatensätzen importiert.");
    // Letters that the data files cannot hold: written as their base
    // letters, the pupil kept.
    const QString czech = QStringLiteral("Dvořák Jiří,7a,m");
    const QString czechPupil = QStringLiteral("Dvorák Jirí|7|a|m");
    const QString oneFolded = QStringLiteral(
        "\r\n1 Name enthielt Buchstaben, die eine Datendatei nicht speichern kann; er wurde ohne Akzente geschrieben "
        "(z. B. Ş als S).");
    QTest::newRow("UTF-8, outside the code page")
        << (QStringLiteral("Müller Jürgen,10a,m\r\n") + czech + QStringLiteral("\r\nWeiß Käthe,9b,w")).toUtf8()
        << QStringList{umlautPupils[0], czechPupil, umlautPupils[1]} << QStringList()
        << QStringLiteral("3 von 3 Schülerdatensätzen importiert.") + oneFolded;
    QTest::newRow("UTF-8 with BOM, outside the code page")
        << bom + (czech + QStringLiteral("\r\n") + umlauts).toUtf8() << QStringList{czechPupil} + umlautPupils
        << QStringList() << QStringLiteral("3 von 3 Schülerdatensätzen importiert.") + oneFolded;
    QTest::newRow("UTF-16 LE, outside the code page")
        << utf16(czech + QStringLiteral("\r\n") + umlauts, false) << QStringList{czechPupil} + umlautPupils
        << QStringList() << QStringLiteral("3 von 3 Schülerdatensätzen importiert.") + oneFolded;
    // What has no base letter in the code page is refused, the character
    // named.
    const QString chinese = QStringLiteral("李明,7a,m");
    QTest::newRow("UTF-8, no base letter")
        << (umlauts + chinese).toUtf8() << umlautPupils
        << QStringList{QStringLiteral("Lesefehler in Zeile 3: Interpret: Name ungültig (李明): Zeichen 李 (U+674E) kann "
                                      "nicht gespeichert werden\r\n")
                       + chinese}
        << QStringLiteral("2 von 2 Schülerdatensätzen importiert.\r\n1 Zeile wurde übersprungen.");
    const QString emoji = QStringLiteral("Anna 😀,7a,w");
    QTest::newRow("UTF-16 BE, no base letter, folded")
        << utf16(umlauts + emoji + QStringLiteral("\r\n") + czech, true)
        << umlautPupils + QStringList{czechPupil}
        << QStringList{QStringLiteral("Lesefehler in Zeile 3: Interpret: Name ungültig (Anna 😀): Zeichen 😀 (U+1F600) "
                                      "kann nicht gespeichert werden\r\n")
                       + emoji}
        << QStringLiteral("3 von 3 Schülerdatensätzen importiert.\r\n1 Zeile wurde übersprungen.") + oneFolded;
}

void TestImportCommand::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, questions);
    QFETCH(QString, closing);
    const QString path = file(QStringLiteral("liste.txt"));
    writeFileBytes(path, bytes);
    for (int i = 0; i < questions.size(); ++i)
        FUi->queueAnswer(TModalResult::mrIgnore);
    QString preview;
    runImport(path, [&preview] {
        ImportDialog->NrSelect->setValue(2);
        ImportDialog->NrSelect->setValue(1);
        preview = ImportDialog->LineBox->toPlainText();
    });
    QCOMPARE(FUi->texts(), questions + QStringList{closing});
    QCOMPARE(describe(*SchuelerData), expected);
    // The preview decodes the file as the import does.
    QVERIFY2(preview.startsWith(expected.first().section(QLatin1Char('|'), 0, 0))
                 || preview.startsWith(QStringLiteral("Dvořák")),
             qPrintable(preview));
}

void TestImportCommand::importedListIsModified_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("quit") << QStringLiteral("quit");
    QTest::newRow("new") << QStringLiteral("new");
    QTest::newRow("open") << QStringLiteral("open");
    QTest::newRow("import") << QStringLiteral("import");
    QTest::newRow("save") << QStringLiteral("save");
}

void TestImportCommand::importedListIsModified()
{
    QFETCH(QString, command);
    runImport(fifteen());
    QCOMPARE(FUi->lastText(), QStringLiteral("15 von 15 Schülerdatensätzen importiert."));
    QCOMPARE(MainForm->panelText(1), QStringLiteral("15 Schüler (*)"));
    FUi->clear();
    if (command == QLatin1String("save")) {
        // No file yet: Ctrl+S asks for a name.
        QCOMPARE(MainForm->SaveAct->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        FUi->queueFileCancel();
        MainForm->SaveAct->trigger();
        QVERIFY(FUi->messages.isEmpty());
        QCOMPARE(FUi->fileDialogs.size(), 1);
        QVERIFY(FUi->fileDialogs.first().save);
    } else {
        FUi->queueAnswer(TModalResult::mrCancel);
        if (command == QLatin1String("quit"))
            MainForm->QuitAct->trigger();
        else if (command == QLatin1String("new"))
            MainForm->NewAct->trigger();
        else if (command == QLatin1String("open"))
            MainForm->OpenEintAct->trigger();
        else
            MainForm->ImportAct->trigger();
        QCOMPARE(FUi->texts(),
                 QStringList{QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?")});
        QVERIFY(FUi->fileDialogs.isEmpty());
        QVERIFY(pupilEditor());
    }
    QCOMPARE(SchuelerData->Anz(), 15);
    QVERIFY(SchuelerData->getModified());
}

void TestImportCommand::projectCountsFollowTheNewPupils_data()
{
    QTest::addColumn<bool>("editorOpen");
    QTest::addColumn<QStringList>("grades");
    QTest::newRow("editor open") << true << QStringList();
    QTest::newRow("no editor") << false << QStringList();
    QTest::newRow("a filter") << false << QStringList{QStringLiteral("10")};
}

void TestImportCommand::projectCountsFollowTheNewPupils()
{
    QFETCH(bool, editorOpen);
    QFETCH(QStringList, grades);
    for (int k = 1; k <= 2; ++k)
        ProjektData->add(new TProjekt(TZeile(QStringLiteral("%1; Projekt %1; 5; 10; 2; 20; -; -; 0; ").arg(k))));
    if (editorOpen) {
        loadOldPupils();
    } else {
        for (int i = 0; i < 4; ++i) {
            auto* s = new TSchueler;
            s->name = QStringLiteral("Alt");
            s->jgst = 6;
            SchuelerData->add(s);
        }
    }
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        SchuelerData->getNr(i)->zuteil = 1;
    MainFormHandler->UpdateAll();
    QCOMPARE(ProjektData->getNr(1)->Anz(), 4);
    runImport(fifteen(), [&] {
        if (!grades.isEmpty())
            chooseGrades(grades);
    });
    QVERIFY(FUi->lastText().endsWith(QStringLiteral(" von 15 Schülerdatensätzen importiert.")));
    // The projects stay; their counts are those of the new, unassigned pupils.
    QCOMPARE(ProjektData->Anz(), 2);
    QCOMPARE(ProjektData->getNr(1)->name, QStringLiteral("Projekt 1"));
    for (int k = 0; k <= 2; ++k) {
        const TProjekt* p = k == 0 ? ProjektData->getNr0() : ProjektData->getNr(k);
        QCOMPARE(p->Anz(), 0);
        QCOMPARE(MainForm->ProjekteGrid->cell(2, k + 1), QStringLiteral("0"));
    }
}

KESTRIN_TEST_MAIN(TestImportCommand)
#include "tst_importcommand.moc"

// The import command with the real wizard offscreen and the scripted seam:
// what it replaces, what it keeps when the user or the file says no, the
// class filter, and hand-written registers in every convention imported
// and saved as an assignment file that reads back unchanged.

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
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
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
    void cancellingChangesNothing_data();
    void cancellingChangesNothing();
    void unsavedPupilsAsked();
    void missingFileKeepsThePupils_data();
    void missingFileKeepsThePupils();
    void refusedCloseChangesNothing();
    void allLinesBadIgnored();
    void cancelAtBadLine();
    void readErrorLeavesAnEmptyList();
    void binaryAndLongLines();
    void registers_data();
    void registers();
    void projectCountsFollowTheNewPupils_data();
    void projectCountsFollowTheNewPupils();

private:
    // Four pupils in the program's list, the pupil editor and one view.
    void loadOldPupils();
    // Queues the file dialog's answer and drives the wizard: the
    // elements name, class, gender, then act, then OK or Cancel.
    void runImport(const QString& file, const std::function<void()>& act = {}, bool ok = true);
    void chooseGrades(const QStringList& grades);
    QString file(const QString& name) const { return FDir.filePath(name); }
    QString fifteen();
    TEditor* pupilEditor() const;
    int views() const { return MainFormHandler->GetViewSchEditors(); }

    QTemporaryDir FDir;
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

void TestImportCommand::loadOldPupils()
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
    QTest::newRow("keeps none") << QStringList{QStringLiteral("13")}
                                << QStringLiteral("0 von 15 Schülerdatensätzen importiert.") << 0;
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
    QVERIFY(!SchuelerData->getModified());
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
    if (kept > 0) {
        QVERIFY(editor);
        QCOMPARE(editor->getData(), SchuelerData);
        QCOMPARE(editor->grid()->rowCount(), kept + 1);
        QCOMPARE(MainForm->activeEditor(), editor);
    } else {
        QVERIFY(!editor);
    }
    QCOMPARE(MainForm->panelText(1), QStringLiteral("%1 Schüler").arg(kept));
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

void TestImportCommand::refusedCloseChangesNothing()
{
    loadOldPupils();
    SchuelerData->setModified();
    QPointer<TEditor> editor = pupilEditor();
    // "Nein" at the command's own question, "Abbrechen" when the editor asks.
    FUi->queueAnswer(TModalResult::mrNo);
    FUi->queueAnswer(TModalResult::mrCancel);
    runImport(fifteen());
    QCOMPARE(FUi->messages.size(), 2);
    QVERIFY(editor);
    QCOMPARE(editor->getData(), SchuelerData);
    QCOMPARE(SchuelerData->Anz(), 4);
    QCOMPARE(SchuelerData->getNr(1)->name, QStringLiteral("Alt Anna"));
    // The views were closed before the editor was asked.
    QCOMPARE(views(), 0);
}

void TestImportCommand::allLinesBadIgnored()
{
    loadOldPupils();
    writeLines(file(QStringLiteral("schlecht.txt")), {QStringLiteral("a,x,w"), QStringLiteral("b,y,m")});
    runImport(file(QStringLiteral("schlecht.txt")), [] {
        ImportDialog->Pages->setCurrentWidget(ImportDialog->OptionsPage);
        ImportDialog->CheckIgnoreErr->click();
    });
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("0 von 0 Schülerdatensätzen importiert.")});
    QCOMPARE(SchuelerData->Anz(), 0);
    QVERIFY(!pupilEditor());
    QCOMPARE(views(), 0);
}

void TestImportCommand::cancelAtBadLine()
{
    loadOldPupils();
    writeLines(file(QStringLiteral("gemischt.txt")),
               {QStringLiteral("Eins,5a,w"), QStringLiteral("Zwei,xx,w"), QStringLiteral("Drei,6a,m")});
    FUi->queueAnswer(TModalResult::mrCancel);
    runImport(file(QStringLiteral("gemischt.txt")));
    QCOMPARE(FUi->messages.size(), 2);
    QVERIFY(FUi->messages[0].text.startsWith(QStringLiteral("Lesefehler in Zeile 2: ")));
    QCOMPARE(FUi->messages[1].text, QStringLiteral("0 von 0 Schülerdatensätzen importiert."));
    // While the question was open the program's list was the new one.
    QCOMPARE(FUi->pupilsSeen.first(), 1);
    QCOMPARE(SchuelerData->Anz(), 0);
    QVERIFY(!pupilEditor());
}

void TestImportCommand::readErrorLeavesAnEmptyList()
{
    // Opens, but every read fails.
    const QString name = QStringLiteral("/proc/self/mem");
    loadOldPupils();
    FUi->queueFiles({name});
    QTimer::singleShot(0, ImportDialog, [] { ImportDialog->OkButton->click(); });
    MainForm->ImportAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Fehler beim Lesen der Datei ") + name});
    QCOMPARE(SchuelerData->Anz(), 0);
    QVERIFY(!pupilEditor());
    QCOMPARE(views(), 0);
    QCOMPARE(MainForm->panelText(1), QStringLiteral("0 Schüler"));
}

void TestImportCommand::binaryAndLongLines()
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 7919) & 0xFF);
    QFile f(file(QStringLiteral("binaer.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(binary);
    f.close();
    runImport(f.fileName(), [] {
        ImportDialog->Pages->setCurrentWidget(ImportDialog->OptionsPage);
        ImportDialog->CheckIgnoreErr->click();
    });
    QVERIFY(FUi->lastText().endsWith(QStringLiteral(" Schülerdatensätzen importiert.")));

    FUi->clear();
    const QString longLine = QString(1 << 20, QLatin1Char('x'));
    writeLines(file(QStringLiteral("lang.txt")), {longLine + QStringLiteral(",10a,w"), QStringLiteral("Kurz,9b,m")});
    runImport(file(QStringLiteral("lang.txt")), [] {
        ImportDialog->Pages->setCurrentWidget(ImportDialog->OptionsPage);
        ImportDialog->CheckIgnoreErr->click();
    });
    QCOMPARE(FUi->lastText(), QStringLiteral("2 von 2 Schülerdatensätzen importiert."));
    QCOMPARE(SchuelerData->getNr(1)->name, longLine);
    QCOMPARE(SchuelerData->getNr(2)->name, QStringLiteral("Kurz"));
}

void TestImportCommand::registers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("quoted") << QStringLiteral("schueler_db.txt")
                            << QStringList{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Weiß, Dr. Käthe|9|b|w"),
                                           QStringLiteral("Öztürk Özlem|10|c|w"), QStringLiteral("Bär Björn|7||m"),
                                           QStringLiteral("Schäfer Anna-Lena|12||w"), QStringLiteral("Groß Sören|8|D|m")};
    QTest::newRow("tabs") << QStringLiteral("schueler_tab.txt")
                          << QStringList{QStringLiteral("Müller Jürgen|10|a|m"), QStringLiteral("Weiß Käthe|9|b|w"),
                                         QStringLiteral("Öztürk Özlem|10|c|w"), QStringLiteral("Bär Björn|7|E|m"),
                                         QStringLiteral("Groß Sören|8|d|m")};
    QTest::newRow("semicolons") << QStringLiteral("schueler_semi.txt")
                                << QStringList{QStringLiteral("Müller Jürgen, von|10|a|m"),
                                               QStringLiteral("Weiß Käthe, zu|9|b|w"),
                                               QStringLiteral("Öztürk Özlem, de|10|c|w"),
                                               QStringLiteral("Bär Björn, van der|7|e|m")};
    QTest::newRow("columns") << QStringLiteral("schueler_fix.txt")
                             << QStringList{QStringLiteral("Müller, Jürgen|10|a|m"), QStringLiteral("Weiß, Käthe|9|b|w"),
                                            QStringLiteral("Öztürk, Özlem|10|c|w"), QStringLiteral("Bär, Björn|7||m"),
                                            QStringLiteral("Groß, Sören|8|d|m"),
                                            QStringLiteral("Schäfer, Anna-Lena|12||w")};
}

void TestImportCommand::registers()
{
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    const QString path = QStringLiteral(KESTRIN_REGISTERS "/") + name;
    FUi->queueFiles({path});
    QTimer::singleShot(0, ImportDialog, [name] {
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
        if (name == QLatin1String("schueler_db.txt")) {
            words(QStringLiteral("männlich"), QStringLiteral("weiblich"));
            d->Pages->setCurrentWidget(d->ElementsPage);
            assign(1, rNName);
            assign(2, rVName);
            assign(3, rGeschl);
            assign(4, rKl);
        } else if (name == QLatin1String("schueler_tab.txt")) {
            d->FormatButtons->button(imConventional)->click();
            separator(0);
            d->CheckIgnoreErr->click();   // the heading line
            d->Pages->setCurrentWidget(d->ElementsPage);
            assign(1, rNName);
            assign(2, rVName);
            assign(3, rJgst);
            assign(4, rAbt);
            assign(5, rGeschl);
        } else if (name == QLatin1String("schueler_semi.txt")) {
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
        d->OkButton->click();
    });
    MainForm->ImportAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("%1 von %1 Schülerdatensätzen importiert.").arg(expected.size())});
    QCOMPARE(describe(*SchuelerData), expected);

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

void TestImportCommand::projectCountsFollowTheNewPupils_data()
{
    QTest::addColumn<bool>("editorOpen");
    QTest::addColumn<QStringList>("grades");
    QTest::newRow("editor open") << true << QStringList();
    QTest::newRow("no editor") << false << QStringList();
    // No pupil left: the counts must not keep the former pupils.
    QTest::newRow("keeps none") << false << QStringList{QStringLiteral("13")};
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

// Editing in the record editors with real key presses on the grid,
// offscreen: cursor moves around the "Projekt" column, storing rows through
// the records' parsers, refused rows, Esc, the status panels, inserting and
// deleting with their questions, movement mode, sorting, and the keys a
// cell editor keeps from the commands.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "assign/USchStatD.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "platform/UGridWidget.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

// Projects "Projekt k", project 3 is "Theater".
void addProjects(int n)
{
    for (int k = 1; k <= n; ++k) {
        const QString name = k == 3 ? QStringLiteral("Theater") : QStringLiteral("Projekt %1").arg(k);
        ProjektData->add(new TProjekt(TZeile(QStringLiteral("%1; %2; 5; 10; 2; 20; -; -; 0; ").arg(k).arg(name))));
    }
}

// Pupil i chooses 3, 1, 2; every pupil is assigned to project 2.
void addPupils(int n)
{
    for (int i = 1; i <= n; ++i)
        SchuelerData->add(new TSchueler(
            TZeile(QStringLiteral("Schüler %1; %2; 7; a; -; 3; 1; 2; 0; 0; 2; ").arg(i).arg(i % 2 ? 'w' : 'm')),
            true));
}

TSchueler* pupil(int i)
{
    return SchuelerData->getNr(i);
}

}   // namespace

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keyMoves_data();
    void keyMoves();
    void currentRowInSight_data();
    void currentRowInSight();
    void tabThenClickOnProjekt_data();
    void tabThenClickOnProjekt();

    void storedRowLosesAssignment();
    void storedRowReadsBackFromItsFile_data();
    void storedRowReadsBackFromItsFile();
    void digitInFestOfAFixedPupil();
    void festDigitIsStoredThenRemoved();
    void refusedRow_data();
    void refusedRow();
    void refusedEditKeepsThePupil_data();
    void refusedEditKeepsThePupil();
    void typedAgainAfterARefusal_data();
    void typedAgainAfterARefusal();
    void refusedProjectRowChangesNothing_data();
    void refusedProjectRowChangesNothing();
    void storedRowKeepsOrLosesTheAssignment_data();
    void storedRowKeepsOrLosesTheAssignment();
    void escapeRestoresTheText();
    void enterStoresWhileEditing();
    void projectRowStored();
    void exitAfterListEmptied();
    void closeWhileEditingStoresFirst();
    void quitWhileEditingStoresFirst();
    void saveWhileEditing();
    void saveForgetsStoredRows_data();
    void saveForgetsStoredRows();
    void openWhileEditingAsksFirst();

    void statusPanels();
    void rowPanelFollowsReloads_data();
    void rowPanelFollowsReloads();

    void insertAndDeleteProjects_data();
    void insertAndDeleteProjects();
    void deleteOnlyProject();
    void pupilsFollowTheirProjects_data();
    void pupilsFollowTheirProjects();
    void renumberingAtTheHighestNumber_data();
    void renumberingAtTheHighestNumber();
    void insertBeyondTheMostProjects_data();
    void insertBeyondTheMostProjects();
    void insertAndDeletePupils();
    void pupilInsertedOrDeletedCounts_data();
    void pupilInsertedOrDeletedCounts();
    void emptyRecordShowsInTheOverviews_data();
    void emptyRecordShowsInTheOverviews();
    void deletePupilClosesViews_data();
    void deletePupilClosesViews();
    void commandsStoreTheOpenEditFirst_data();
    void commandsStoreTheOpenEditFirst();
    void overviewStoresTheOpenEditFirst_data();
    void overviewStoresTheOpenEditFirst();

    void movementMode();
    void sortOrders_data();
    void sortOrders();
    void sortInAView();
    void currentHand();

    void reservedKeysInTheCellEditor();

private:
    void loadSchool(int projects, int pupils);
    TEditor* openEditor(TDataType kind);
    TEditor* openView();
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void typeInCell(const QString& text);
    // Leaves the edited cell: 0 Return, 1 Tab, 2 a click on (col, row),
    // 3 the focus going to the classes overview.
    void leaveCell(int how, int col, int row);
    QPoint at() const { return QPoint(FGrid->col(), FGrid->row()); }
    QLineEdit* cellEditor() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }
    void clickCell(int col, int row);

    std::unique_ptr<TScriptedUi> FUi;
    TEditor* FEditor = nullptr;
    TGridWidget* FGrid = nullptr;
    TAppForms FForms;
};

void TestEditing::init()
{
    FUi = std::make_unique<TScriptedUi>();
    QVERIFY(FForms.start());
}

void TestEditing::cleanup()
{
    FForms.stop();
    FUi.reset();
    FEditor = nullptr;
    FGrid = nullptr;
}

void TestEditing::loadSchool(int projects, int pupils)
{
    addProjects(projects);
    addPupils(pupils);
    MainFormHandler->UpdateAll();
}

TEditor* TestEditing::openEditor(TDataType kind)
{
    MainForm->ActivateEditor(kind);
    FEditor = MainForm->activeEditor();
    if (!FEditor)
        return nullptr;
    FGrid = FEditor->grid();
    FGrid->setFocus(Qt::OtherFocusReason);
    return FEditor;
}

TEditor* TestEditing::openView()
{
    FEditor = FForms.openView();
    FGrid = FEditor->grid();
    FGrid->setFocus(Qt::OtherFocusReason);
    return FEditor;
}

void TestEditing::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Opens the cell editor on the current cell and replaces its text: typed
// when it is plain ASCII, else pasted.
void TestEditing::typeInCell(const QString& text)
{
    if (!FGrid->isEditing())
        press(Qt::Key_F2);
    QLineEdit* editor = cellEditor();
    QVERIFY(editor);
    editor->selectAll();
    press(Qt::Key_Backspace);
    bool ascii = true;
    for (const QChar ch : text)
        ascii = ascii && ch.unicode() >= 0x20 && ch.unicode() < 0x7f;
    if (ascii) {
        QTest::keyClicks(editor, text);
    } else {
        QApplication::clipboard()->setText(text);
        press(Qt::Key_V, Qt::ControlModifier);
    }
}

void TestEditing::leaveCell(int how, int col, int row)
{
    switch (how) {
    case 0: press(Qt::Key_Return); break;
    case 1: press(Qt::Key_Tab); break;
    case 2: clickCell(col, row); break;
    default: MainForm->SchuelerGrid->setFocus(Qt::MouseFocusReason); break;
    }
}

void TestEditing::clickCell(int col, int row)
{
    const QModelIndex index = FGrid->model()->index(row - FGrid->fixedRows(), col);
    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, Qt::NoModifier, FGrid->visualRect(index).center());
}

// ------------------------------------------------------------- cursor moves

void TestEditing::keyMoves_data()
{
    QTest::addColumn<int>("kind");        // 0 pupil editor, 1 project editor, 2 extract view
    QTest::addColumn<bool>("beweg");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<QPoint>("to");

    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    // Five pupils: rows 1 to 5; Wahl5 is column 9, "Projekt" column 10.
    QTest::newRow("Tab in Wahl5") << 0 << false << false << QPoint(9, 2) << Qt::Key_Tab << none << QPoint(0, 3);
    QTest::newRow("Tab in Wahl5, movement mode") << 0 << true << false << QPoint(9, 2) << Qt::Key_Tab << none << QPoint(4, 3);
    QTest::newRow("Tab in Wahl5 of the last row") << 0 << false << false << QPoint(9, 5) << Qt::Key_Tab << none << QPoint(0, 1);
    QTest::newRow("Tab in Wahl5 of the last row, movement mode") << 0 << true << false << QPoint(9, 5) << Qt::Key_Tab << none << QPoint(4, 1);
    QTest::newRow("Tab in Wahl5 while editing") << 0 << false << true << QPoint(9, 2) << Qt::Key_Tab << none << QPoint(0, 3);
    QTest::newRow("Tab in Abt") << 0 << false << false << QPoint(3, 2) << Qt::Key_Tab << none << QPoint(4, 2);
    QTest::newRow("Shift+Tab in Name") << 0 << false << false << QPoint(0, 3) << Qt::Key_Tab << shift << QPoint(9, 2);
    QTest::newRow("Shift+Tab in Name of row 1") << 0 << false << false << QPoint(0, 1) << Qt::Key_Tab << shift << QPoint(9, 5);
    QTest::newRow("Shift+Tab in fest, movement mode") << 0 << true << false << QPoint(4, 3) << Qt::Key_Tab << shift << QPoint(9, 2);
    QTest::newRow("Shift+Tab in Name while editing") << 0 << false << true << QPoint(0, 3) << Qt::Key_Tab << shift << QPoint(9, 2);
    QTest::newRow("End") << 0 << false << false << QPoint(2, 3) << Qt::Key_End << none << QPoint(9, 3);
    QTest::newRow("Ctrl+End") << 0 << false << false << QPoint(2, 3) << Qt::Key_End << ctrl << QPoint(9, 5);
    QTest::newRow("End while editing") << 0 << false << true << QPoint(2, 3) << Qt::Key_End << none << QPoint(2, 3);
    QTest::newRow("Right in Wahl5") << 0 << false << false << QPoint(9, 3) << Qt::Key_Right << none << QPoint(9, 3);
    QTest::newRow("Right in Wahl4") << 0 << false << false << QPoint(8, 3) << Qt::Key_Right << none << QPoint(9, 3);
    QTest::newRow("Right while editing") << 0 << false << true << QPoint(8, 3) << Qt::Key_Right << none << QPoint(8, 3);
    QTest::newRow("Left in Name") << 0 << false << false << QPoint(0, 3) << Qt::Key_Left << none << QPoint(0, 3);
    QTest::newRow("Left in fest, movement mode") << 0 << true << false << QPoint(4, 3) << Qt::Key_Left << none << QPoint(4, 3);
    QTest::newRow("Home") << 0 << false << false << QPoint(6, 3) << Qt::Key_Home << none << QPoint(0, 3);
    QTest::newRow("Home, movement mode") << 0 << true << false << QPoint(6, 3) << Qt::Key_Home << none << QPoint(4, 3);
    QTest::newRow("Ctrl+Home") << 0 << false << false << QPoint(6, 3) << Qt::Key_Home << ctrl << QPoint(0, 1);
    QTest::newRow("Down") << 0 << false << false << QPoint(3, 2) << Qt::Key_Down << none << QPoint(3, 3);
    QTest::newRow("Down in the last row") << 0 << false << false << QPoint(3, 5) << Qt::Key_Down << none << QPoint(3, 5);
    QTest::newRow("Up while editing") << 0 << false << true << QPoint(3, 2) << Qt::Key_Up << none << QPoint(3, 1);
    QTest::newRow("view: Tab in Wahl5") << 2 << false << false << QPoint(9, 2) << Qt::Key_Tab << none << QPoint(0, 3);
    QTest::newRow("view: End") << 2 << false << false << QPoint(1, 4) << Qt::Key_End << none << QPoint(9, 4);
    QTest::newRow("view: Tab in Wahl5, movement mode") << 2 << true << false << QPoint(9, 5) << Qt::Key_Tab << none << QPoint(4, 1);
    // Three projects; "Nr" (column 0) is fixed, "gesp" (column 7) the last.
    QTest::newRow("projects: Tab in gesp") << 1 << false << false << QPoint(7, 2) << Qt::Key_Tab << none << QPoint(1, 3);
    QTest::newRow("projects: Tab in gesp of the last row") << 1 << false << false << QPoint(7, 3) << Qt::Key_Tab << none << QPoint(1, 1);
    QTest::newRow("projects: Shift+Tab in Name") << 1 << false << false << QPoint(1, 2) << Qt::Key_Tab << shift << QPoint(7, 1);
    QTest::newRow("projects: End") << 1 << false << false << QPoint(2, 2) << Qt::Key_End << none << QPoint(7, 2);
    QTest::newRow("projects: Home") << 1 << false << false << QPoint(5, 2) << Qt::Key_Home << none << QPoint(1, 2);
    QTest::newRow("projects: Left in Name") << 1 << false << false << QPoint(1, 2) << Qt::Key_Left << none << QPoint(1, 2);
}

void TestEditing::keyMoves()
{
    QFETCH(int, kind);
    QFETCH(bool, beweg);
    QFETCH(bool, editing);
    QFETCH(QPoint, from);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(QPoint, to);

    loadSchool(3, 5);
    if (kind == 2) {
        openEditor(dtSch);
        openView();
    } else {
        openEditor(kind == 1 ? dtPro : dtSch);
    }
    QVERIFY(FGrid);
    if (beweg) {
        FEditor->ChangeBewegMode();
        QCOMPARE(FGrid->fixedCols(), 4);
    }
    QVERIFY(FGrid->setCurrentCell(from.x(), from.y()));
    if (editing) {
        press(Qt::Key_F2);
        QVERIFY(FGrid->isEditing());
    }
    press(key, mods);
    QCOMPARE(at(), to);
    // The status bar names the row reached, also after a move on from
    // "Projekt".
    QCOMPARE(MainForm->panelText(3), QString::asprintf("Zeile %4d", to.y()));
    // Nothing was refused and nothing changed on the way.
    QCOMPARE(FUi->beeps, 0);
    QVERIFY(!ProjektData->getModified());
}

void TestEditing::currentRowInSight_data()
{
    QTest::addColumn<int>("kind");   // 0 pupil editor, 1 project editor
    QTest::addColumn<int>("count");  // records in the list
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("row");
    for (int kind = 0; kind <= 1; ++kind) {
        const char* editor = kind == 0 ? "pupils" : "projects";
        // The project list takes one project below its most.
        const int n = kind == 0 ? 2000 : 254;
        QTest::addRow("%s: Ctrl+End", editor) << kind << n << "Ctrl+End" << n;
        QTest::addRow("%s: Am Ende einfügen", editor) << kind << n << "InsertEndAct" << n + 1;
        QTest::addRow("%s: Ctrl+End, then Ctrl+Home", editor) << kind << n << "Ctrl+Home" << 1;
        QTest::addRow("%s: Tab from the last row", editor) << kind << n << "Tab" << 1;
    }
}

void TestEditing::currentRowInSight()
{
    // The current cell is always in sight, however it got there.
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(QString, how);
    QFETCH(int, row);
    if (kind == 0)
        loadSchool(3, count);
    else
        loadSchool(count, 0);
    openEditor(kind == 0 ? dtSch : dtPro);
    QCoreApplication::processEvents();
    press(Qt::Key_End, Qt::ControlModifier);
    if (how == QLatin1String("InsertEndAct")) {
        MainForm->InsertEndAct->trigger();
    } else if (how == QLatin1String("Ctrl+Home")) {
        press(Qt::Key_Home, Qt::ControlModifier);
    } else if (how == QLatin1String("Tab")) {
        QVERIFY(FGrid->setCurrentCell(kind == 0 ? 9 : 7, count));
        press(Qt::Key_Tab);
    }
    QCOMPARE(FGrid->row(), row);
    QCOMPARE(MainForm->panelText(3), QString::asprintf("Zeile %4d", row));
    QCoreApplication::processEvents();
    const QRect cell = FGrid->visualRect(FGrid->currentIndex());
    QVERIFY2(FGrid->viewport()->rect().contains(cell),
             qPrintable(QStringLiteral("cell %1,%2 in %3x%4").arg(cell.left()).arg(cell.top())
                            .arg(FGrid->viewport()->width()).arg(FGrid->viewport()->height())));
}

// A click on "Projekt" is taken as the last key pressed. From the last row
// a Tab wraps to row 1, whichever row the cursor was in.
void TestEditing::tabThenClickOnProjekt_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("clickedRow");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("last row, cursor elsewhere") << QPoint(3, 2) << 5 << QPoint(0, 1);
    QTest::newRow("row 2, cursor in the last row") << QPoint(3, 5) << 2 << QPoint(0, 3);
    QTest::newRow("row 3, cursor in row 3") << QPoint(3, 3) << 3 << QPoint(0, 4);
}

void TestEditing::tabThenClickOnProjekt()
{
    QFETCH(QPoint, from);
    QFETCH(int, clickedRow);
    QFETCH(QPoint, to);
    loadSchool(3, 5);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(from.x() - 1, from.y()));
    press(Qt::Key_Tab);
    QCOMPARE(at(), from);
    clickCell(10, clickedRow);
    QCOMPARE(at(), to);
    QCOMPARE(MainForm->panelText(3), QString::asprintf("Zeile %4d", to.y()));
}

// ------------------------------------------------------------------ storing

void TestEditing::storedRowReadsBackFromItsFile_data()
{
    QTest::addColumn<int>("kind");   // 0 pupil editor, 1 project editor
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("department after a blank") << 0 << 3 << " b" << "b";
    QTest::newRow("department of blanks") << 0 << 3 << "  " << "";
    QTest::newRow("project name of a blank") << 1 << 1 << " " << "";
    QTest::newRow("project name after blanks") << 1 << 1 << "  Zoo " << "Zoo ";
}

void TestEditing::storedRowReadsBackFromItsFile()
{
    // What a row stores is what its file gives back: leading blanks of a
    // later field go when the row is stored, not only when it is read.
    QFETCH(int, kind);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    loadSchool(3, 3);
    openEditor(kind == 0 ? dtSch : dtPro);
    QVERIFY(FGrid->setCurrentCell(col, 2));
    typeInCell(typed);
    press(Qt::Key_Return);
    QCOMPARE(FUi->beeps, 0);
    QCOMPARE(FGrid->cell(col, 2), stored);
    TSchPro* record = FEditor->getData()->getNr(2);
    const TZeile line(record->ToZeile().AsString());
    QCOMPARE(line.value(col), stored);
    if (kind == 0) {
        QCOMPARE(pupil(2)->abt, stored);
        QCOMPARE(TSchueler(line, true).abt, stored);
    } else {
        QCOMPARE(ProjektData->getNr(2)->name, stored);
        QCOMPARE(TProjekt(line).name, stored);
    }
}

void TestEditing::digitInFestOfAFixedPupil()
{
    // A hand index typed into "fest" makes the pupil not fixed; the store
    // then drops the hand index itself.
    loadSchool(3, 3);
    pupil(2)->fest = true;
    openEditor(dtSch);
    QCOMPARE(FGrid->cell(4, 2), QStringLiteral("F"));
    QVERIFY(FGrid->setCurrentCell(4, 2));
    typeInCell(QStringLiteral("3"));
    press(Qt::Key_Return);
    QCOMPARE(FUi->beeps, 0);
    QVERIFY(!pupil(2)->fest);
    QCOMPARE(pupil(2)->hand, -1);
    QCOMPARE(FGrid->cell(4, 2), QStringLiteral("-"));
}

void TestEditing::storedRowLosesAssignment()
{
    loadSchool(3, 4);
    pupil(2)->setHand(1);
    openEditor(dtSch);
    QCOMPARE(MainForm->panelText(2), QStringLiteral("4 eingeteilt"));
    QVERIFY(FGrid->setCurrentCell(2, 2));
    typeInCell(QStringLiteral("8"));
    press(Qt::Key_Tab);

    QCOMPARE(at(), QPoint(3, 2));
    QCOMPARE(pupil(2)->jgst, 8);
    QCOMPARE(pupil(2)->zuteil, 0);
    QCOMPARE(pupil(2)->hand, -1);
    QCOMPARE(FGrid->cell(10, 2), QStringLiteral("0"));
    QCOMPARE(FGrid->cell(4, 2), QStringLiteral("-"));
    QVERIFY(SchuelerData->getModified());
    QCOMPARE(MainForm->panelText(1), QStringLiteral("4 Schüler (*)"));
    QCOMPARE(MainForm->panelText(2), QStringLiteral("3 eingeteilt"));
    // The projects overview counts anew.
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QStringLiteral("3"));
    QCOMPARE(FUi->beeps, 0);

    // The backup stays: the next move stores the row again, unchanged now,
    // so the pupil that was placed in between keeps it.
    pupil(2)->zuteil = 1;
    press(Qt::Key_Tab);
    QCOMPARE(pupil(2)->zuteil, 1);
    // Other rows are untouched.
    QCOMPARE(pupil(1)->zuteil, 2);
}

void TestEditing::festDigitIsStoredThenRemoved()
{
    loadSchool(3, 2);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(4, 1));
    typeInCell(QStringLiteral("3"));
    press(Qt::Key_Tab);
    QCOMPARE(FUi->beeps, 0);
    QCOMPARE(at(), QPoint(5, 1));
    QCOMPARE(pupil(1)->hand, -1);
    QCOMPARE(FGrid->cell(4, 1), QStringLiteral("-"));
}

void TestEditing::refusedRow_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("leave");   // 0 Tab, 1 Enter, 2 click on another cell, 3 focus elsewhere
    QTest::newRow("letter in Klasse") << 2 << "x" << 0;
    QTest::newRow("letter in Klasse, Enter") << 2 << "x" << 1;
    QTest::newRow("letter in Klasse, click") << 2 << "x" << 2;
    QTest::newRow("letter in Klasse, focus elsewhere") << 2 << "x" << 3;
    QTest::newRow("grade 14") << 2 << "14" << 0;
    QTest::newRow("grade -1") << 2 << "-1" << 0;
    QTest::newRow("trailing blank in Klasse") << 2 << "7 " << 0;
    QTest::newRow("unknown gender") << 1 << "x" << 0;
    QTest::newRow("empty gender") << 1 << "" << 0;
    QTest::newRow("department I") << 3 << "i" << 0;
    QTest::newRow("fest 6") << 4 << "6" << 0;
    QTest::newRow("choice 256") << 5 << "256" << 0;
    QTest::newRow("letters in a choice") << 7 << "zwei" << 1;
    QTest::newRow("choice beyond int") << 9 << "99999999999" << 0;
    QTest::newRow("semicolon in the name") << 0 << "Mai; er" << 0;
    QTest::newRow("semicolon in the department") << 3 << "a;" << 0;
    QTest::newRow("name outside Windows-1252") << 0 << QString::fromUtf8("Łukasz") << 0;
    QTest::newRow("line break in the name") << 0 << "Max\nMeier" << 0;
    QTest::newRow("carriage return in the department") << 3 << "a\r" << 0;
    QTest::newRow("tab in the name") << 0 << "Anna\tBerg" << 0;
    QTest::newRow("escape in the name") << 0 << "Anna\x1b" "Berg" << 1;
    QTest::newRow("unit separator in the department") << 3 << "a\x1f" << 0;
    QTest::newRow("DEL in the name") << 0 << "Anna\x7f" "Berg" << 0;
    QTest::newRow("name beginning with a slash") << 0 << "/Max" << 0;
}

// A refused row beeps, keeps the cursor (on a move), shows the record
// again and changes nothing else.
void TestEditing::refusedRow()
{
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(int, leave);
    loadSchool(3, 4);
    openEditor(dtSch);
    const QStringList before = FGrid->rowTexts(3);
    const QStringList other = FGrid->rowTexts(2);
    QVERIFY(FGrid->setCurrentCell(col, 3));
    typeInCell(text);
    QCOMPARE(FGrid->cell(col, 3), text);

    leaveCell(leave == 0 ? 1 : leave == 1 ? 0 : leave, col, 1);

    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(FUi->messages.size(), 0);
    if (leave != 3)
        QCOMPARE(at(), QPoint(col, 3));
    QCOMPARE(FGrid->rowTexts(3), before);
    QCOMPARE(FGrid->rowTexts(2), other);
    QCOMPARE(pupil(3)->zuteil, 2);
    QVERIFY(!SchuelerData->getModified());
    QCOMPARE(MainForm->panelText(1), QStringLiteral("4 Schüler"));
    QCOMPARE(MainForm->panelText(2), QStringLiteral("4 eingeteilt"));
    if (FGrid->isEditing())
        QCOMPARE(cellEditor()->text(), before.at(col));

    // The next move stores nothing: the refused row is not tried again.
    if (FGrid->hasFocus() || FGrid->isEditing()) {
        press(Qt::Key_Tab);
        QCOMPARE(FUi->beeps, 1);
        QVERIFY(!SchuelerData->getModified());
        QCOMPARE(FGrid->rowTexts(3), before);
    }
}

void TestEditing::refusedEditKeepsThePupil_data()
{
    QTest::addColumn<int>("leave");    // as leaveCell
    QTest::addColumn<int>("moveOn");   // 0 Down, 1 Tab, 2 click on row 1, 3 focus to the overview
    const char* leaves[] = {"Return", "Tab", "click", "focus elsewhere"};
    const char* moves[] = {"Down", "Tab", "click", "focus elsewhere"};
    for (int l = 0; l < 4; ++l)
        for (int m = 0; m < 4; ++m)
            QTest::addRow("%s, then %s", leaves[l], moves[m]) << l << m;
}

// A letter typed into "Klasse" of an assigned pupil placed by hand is
// refused; moving on afterwards stores nothing: the pupil keeps its project
// and its placement, the list stays unmodified, and saving writes both.
void TestEditing::refusedEditKeepsThePupil()
{
    QFETCH(int, leave);
    QFETCH(int, moveOn);
    loadSchool(3, 4);
    pupil(3)->setHand(3);   // its third choice, project 2
    openEditor(dtSch);
    const QStringList row = FGrid->rowTexts(3);
    QCOMPARE(row.at(4), QStringLiteral("3"));
    QVERIFY(FGrid->setCurrentCell(2, 3));
    typeInCell(QStringLiteral("x"));
    leaveCell(leave, 2, 1);
    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(FGrid->cell(2, 3), QStringLiteral("7"));

    if (!FGrid->hasFocus() && !FGrid->isEditing())
        FGrid->setFocus(Qt::MouseFocusReason);
    switch (moveOn) {
    case 0: press(Qt::Key_Down); break;
    case 1: press(Qt::Key_Tab); break;
    case 2: clickCell(0, 1); break;
    default: MainForm->SchuelerGrid->setFocus(Qt::MouseFocusReason); break;
    }

    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(pupil(3)->zuteil, 2);
    QCOMPARE(pupil(3)->hand, 3);
    QCOMPARE(FGrid->rowTexts(3), row);
    QVERIFY(!SchuelerData->getModified());
    QCOMPARE(MainForm->panelText(1), QStringLiteral("4 Schüler"));
    QCOMPARE(MainForm->panelText(2), QStringLiteral("4 eingeteilt"));
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QStringLiteral("4"));

    QTemporaryDir dir;
    FUi->queueFiles({dir.filePath(QStringLiteral("s"))});
    MainForm->SaveAct->trigger();
    QCOMPARE(FUi->lastText(), QStringLiteral("4 Einteilung-Datensätze nach s.EIN geschrieben"));
    QVERIFY(fileBytes(dir.filePath(QStringLiteral("s.EIN"))).contains("; w; 7; a; 3; 3; 1; 2; 0; 0; 2; \r\n"));
}

void TestEditing::typedAgainAfterARefusal_data()
{
    QTest::addColumn<int>("leave");      // as leaveCell, for the refused "x"
    QTest::addColumn<QString>("typed");  // typed into the cell then; empty: nothing
    QTest::addColumn<int>("end");        // 0 Return, 1 Tab, 2 Esc
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("jgst");
    QTest::newRow("Tab, typed again, Return") << 1 << "8" << 0 << true << 8;
    QTest::newRow("Tab, typed again, Tab") << 1 << "8" << 1 << true << 8;
    QTest::newRow("click, typed again, Return") << 2 << "8" << 0 << true << 8;
    QTest::newRow("Return, typed again, Return") << 0 << "8" << 0 << true << 8;
    // Esc stores the row it restored, as always.
    QTest::newRow("Tab, typed again, Esc") << 1 << "8" << 2 << true << 7;
    QTest::newRow("Tab, then Return") << 1 << "" << 0 << false << 7;
    QTest::newRow("Tab, then Esc") << 1 << "" << 2 << false << 7;
    QTest::newRow("click, then Return") << 2 << "" << 0 << false << 7;
}

// The cell editor of a refused move stays open: what is typed into it then
// is stored as any edit; closed without typing, it stores nothing.
void TestEditing::typedAgainAfterARefusal()
{
    QFETCH(int, leave);
    QFETCH(QString, typed);
    QFETCH(int, end);
    QFETCH(bool, stored);
    QFETCH(int, jgst);
    loadSchool(3, 4);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(2, 3));
    typeInCell(QStringLiteral("x"));
    leaveCell(leave, 2, 1);
    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(at(), QPoint(2, 3));
    QCOMPARE(FGrid->isEditing(), leave != 0);

    if (!typed.isEmpty())
        typeInCell(typed);
    press(end == 0 ? Qt::Key_Return : end == 1 ? Qt::Key_Tab : Qt::Key_Escape);
    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(pupil(3)->jgst, jgst);
    QCOMPARE(FGrid->cell(2, 3), QString::number(jgst));
    QCOMPARE(SchuelerData->getModified(), stored);
    // A new grade may not fit the project: the assignment goes with it.
    QCOMPARE(pupil(3)->zuteil, jgst == 7 ? 2 : 0);
    QCOMPARE(MainForm->panelText(2), QStringLiteral("%1 eingeteilt").arg(jgst == 7 ? 4 : 3));
}

void TestEditing::refusedProjectRowChangesNothing_data()
{
    QTest::addColumn<bool>("changedBehind");   // the project changed after its row was shown
    QTest::newRow("row as shown") << false;
    QTest::newRow("project changed since its row was shown") << true;
}

// A refused project row leaves the project whole, and moving on stores
// nothing.
void TestEditing::refusedProjectRowChangesNothing()
{
    QFETCH(bool, changedBehind);
    loadSchool(3, 0);
    openEditor(dtPro);
    if (changedBehind)
        ProjektData->getNr(2)->name = QStringLiteral("Geändert");
    const QStringList before = ProjektData->getNr(2)->ToZeile();
    QVERIFY(FGrid->setCurrentCell(3, 2));
    typeInCell(QStringLiteral("14"));
    press(Qt::Key_Tab);
    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(at(), QPoint(3, 2));
    QCOMPARE(QStringList(ProjektData->getNr(2)->ToZeile()), before);
    QCOMPARE(FGrid->cell(1, 2), before.at(1));
    QCOMPARE(FGrid->cell(3, 2), QStringLiteral("10"));

    press(Qt::Key_Down);
    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(QStringList(ProjektData->getNr(2)->ToZeile()), before);
    QVERIFY(!ProjektData->getModified());
    QCOMPARE(MainForm->panelText(0), QStringLiteral("3 Projekte"));
}

void TestEditing::storedRowKeepsOrLosesTheAssignment_data()
{
    QTest::addColumn<bool>("fixed");   // pupil 2 is fixed besides its placement by hand
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("kept");
    // Pupil 2: m, 7, a, placed by hand on its third choice; choices 3 1 2;
    // assigned to project 2.
    QTest::newRow("name corrected") << false << 0 << "Neumann, Ümit" << true;
    QTest::newRow("department corrected") << false << 3 << "b" << true;
    QTest::newRow("department emptied") << false << 3 << "" << true;
    QTest::newRow("gender in capitals") << false << 1 << "M" << true;
    QTest::newRow("grade with a leading zero") << false << 2 << "07" << true;
    QTest::newRow("grade after a blank") << false << 2 << " 7" << true;
    QTest::newRow("placement typed again") << false << 4 << "3" << true;
    QTest::newRow("placement with a leading zero") << false << 4 << "03" << true;
    QTest::newRow("choice with a leading zero") << false << 5 << "03" << true;
    QTest::newRow("no choice as 00") << false << 9 << "00" << true;
    QTest::newRow("fixed: f for F") << true << 4 << "f" << true;
    QTest::newRow("fixed: name corrected") << true << 0 << "Neumann" << true;
    QTest::newRow("gender changed") << false << 1 << "w" << false;
    QTest::newRow("grade changed") << false << 2 << "8" << false;
    QTest::newRow("placement changed") << false << 4 << "1" << false;
    QTest::newRow("placement removed") << false << 4 << "-" << false;
    QTest::newRow("made fixed") << false << 4 << "F" << false;
    QTest::newRow("fixed: no more") << true << 4 << "-" << false;
    QTest::newRow("fixed: placement typed") << true << 4 << "3" << false;
    QTest::newRow("first choice changed") << false << 5 << "1" << false;
    QTest::newRow("fifth choice added") << false << 9 << "3" << false;
}

// A stored row that leaves gender, grade, "fest" and the choices meaning
// what they meant keeps the pupil's project and placement by hand; a row
// that changes any of them loses both, and the status bar and the overviews
// show it at once. Either way the list is modified.
void TestEditing::storedRowKeepsOrLosesTheAssignment()
{
    QFETCH(bool, fixed);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(bool, kept);
    loadSchool(3, 4);
    pupil(2)->setHand(3);
    pupil(2)->fest = fixed;
    openEditor(dtSch);
    const QStringList before = FGrid->rowTexts(2);
    QVERIFY(FGrid->setCurrentCell(col, 2));
    typeInCell(typed);
    press(Qt::Key_Return);
    QCOMPARE(FUi->beeps, 0);

    const TSchueler* s = pupil(2);
    QCOMPARE(s->zuteil, kept ? 2 : 0);
    QCOMPARE(s->hand, kept ? 3 : -1);
    QCOMPARE(FGrid->cell(10, 2), kept ? QStringLiteral("2") : QStringLiteral("0"));
    if (kept) {
        QCOMPARE(s->fest, fixed);
        QCOMPARE(FGrid->cell(4, 2), before.at(4));
    }
    QVERIFY(SchuelerData->getModified());
    QCOMPARE(MainForm->panelText(1), QStringLiteral("4 Schüler (*)"));
    const int assigned = kept ? 4 : 3;
    QCOMPARE(MainForm->panelText(2), QStringLiteral("%1 eingeteilt").arg(assigned));
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QString::number(assigned));
    int inClasses = 0;
    for (int r = 1; r < MainForm->SchuelerGrid->rowCount(); ++r)
        inClasses += MainForm->SchuelerGrid->cell(2, r).toInt();
    QCOMPARE(inClasses, assigned);
}

void TestEditing::escapeRestoresTheText()
{
    loadSchool(3, 3);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(0, 2));
    typeInCell(QStringLiteral("Vergessen"));
    press(Qt::Key_Escape);
    QVERIFY(!FGrid->isEditing());
    QCOMPARE(at(), QPoint(0, 2));
    QCOMPARE(FGrid->cell(0, 2), QStringLiteral("Schüler 2"));
    QCOMPARE(pupil(2)->name, QStringLiteral("Schüler 2"));
    // Esc stores the row too; unchanged, it keeps the assignment.
    QCOMPARE(pupil(2)->zuteil, 2);
    QVERIFY(SchuelerData->getModified());
    QCOMPARE(FUi->beeps, 0);

    // A bad text is restored just as well.
    QVERIFY(FGrid->setCurrentCell(2, 2));
    typeInCell(QStringLiteral("x"));
    press(Qt::Key_Escape);
    QCOMPARE(FGrid->cell(2, 2), QStringLiteral("7"));
    QCOMPARE(FUi->beeps, 0);
}

void TestEditing::enterStoresWhileEditing()
{
    loadSchool(3, 3);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(6, 1));
    press(Qt::Key_Return);   // begins editing
    QVERIFY(FGrid->isEditing());
    QCOMPARE(cellEditor()->text(), QStringLiteral("1"));
    cellEditor()->selectAll();
    QTest::keyClicks(cellEditor(), QStringLiteral("3"));
    press(Qt::Key_Return);
    QVERIFY(!FGrid->isEditing());
    QCOMPARE(pupil(1)->wahl[2], 3);
    QCOMPARE(pupil(1)->zuteil, 0);
    QCOMPARE(at(), QPoint(6, 1));
}

void TestEditing::projectRowStored()
{
    loadSchool(4, 0);
    openEditor(dtPro);
    QCOMPARE(at(), QPoint(1, 1));
    QVERIFY(FGrid->setCurrentCell(1, 2));
    typeInCell(QStringLiteral("Töpfern"));
    press(Qt::Key_Tab);
    QCOMPARE(ProjektData->getNr(2)->name, QStringLiteral("Töpfern"));
    QCOMPARE(ProjektData->getNr(2)->getNr(), 2);
    QCOMPARE(MainForm->panelText(0), QStringLiteral("4 Projekte (*)"));

    // A bad grade range is refused.
    QVERIFY(FGrid->setCurrentCell(3, 2));
    typeInCell(QStringLiteral("14"));
    press(Qt::Key_Tab);
    QCOMPARE(FUi->beeps, 1);
    QCOMPARE(at(), QPoint(3, 2));
    QCOMPARE(FGrid->cell(3, 2), QStringLiteral("10"));
    QCOMPARE(ProjektData->getNr(2)->jgmax, 10);
}

// The list emptied or shrunk under an editor with a backup: leaving the grid
// stores nothing and does not fail.
void TestEditing::exitAfterListEmptied()
{
    loadSchool(3, 4);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(0, 4));
    typeInCell(QStringLiteral("Zuletzt"));
    press(Qt::Key_Return);   // stored; the backup names row 4
    QVERIFY(FGrid->hasFocus());

    // Rows removed behind the editor's back (as a reading road does).
    SchuelerData->DeleteEntry(4);
    SchuelerData->DeleteEntry(3);
    MainForm->SchuelerGrid->setFocus(Qt::MouseFocusReason);
    QCOMPARE(SchuelerData->Anz(), 2);
    QCOMPARE(FUi->beeps, 0);

    // Closing the editor empties the list while the grid holds the focus.
    FGrid->setFocus(Qt::MouseFocusReason);
    QVERIFY(FGrid->setCurrentCell(0, 1));
    typeInCell(QStringLiteral("Erste"));
    press(Qt::Key_Return);
    QVERIFY(FGrid->hasFocus());
    FUi->queueAnswer(TModalResult::mrNo);   // do not save
    QPointer<TEditor> guard = FEditor;
    MainFormHandler->UpdateCloseMainSchEditor();
    QVERIFY(guard.isNull());
    QCOMPARE(SchuelerData->Anz(), 0);
    QCOMPARE(FUi->unanswered, 0);
}

// Closing an editor while a cell is being edited stores that cell first,
// so the unsaved-data question knows of it.
void TestEditing::closeWhileEditingStoresFirst()
{
    loadSchool(3, 2);
    openEditor(dtSch);
    QVERIFY(!SchuelerData->getModified());
    QVERIFY(FGrid->setCurrentCell(0, 1));
    typeInCell(QStringLiteral("Getippt"));
    QVERIFY(FGrid->isEditing());
    FUi->queueAnswer(TModalResult::mrCancel);
    FEditor->close();
    QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
    QVERIFY(MainForm->activeEditor());
    QCOMPARE(pupil(1)->name, QStringLiteral("Getippt"));
}

// So does closing the main window.
void TestEditing::quitWhileEditingStoresFirst()
{
    loadSchool(3, 2);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(0, 1));
    typeInCell(QStringLiteral("Getippt"));
    QVERIFY(FGrid->isEditing());
    FUi->queueAnswer(TModalResult::mrCancel);
    QVERIFY(!MainForm->close());
    QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
    QVERIFY(!FGrid->isEditing());
    QCOMPARE(pupil(1)->name, QStringLiteral("Getippt"));
}

// Reading another file while a cell is being edited: the typed text counts
// as a change, so the unsaved-data question comes first.
void TestEditing::openWhileEditingAsksFirst()
{
    loadSchool(3, 2);
    openEditor(dtSch);
    QVERIFY(!SchuelerData->getModified());
    QVERIFY(FGrid->setCurrentCell(0, 1));
    typeInCell(QStringLiteral("Getippt"));
    FUi->queueAnswer(TModalResult::mrCancel);
    MainForm->OpenEintAct->trigger();
    QCOMPARE(FUi->texts(), QStringList{"Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?"});
    QVERIFY(FUi->fileDialogs.isEmpty());
    QCOMPARE(pupil(1)->name, QStringLiteral("Getippt"));
    QCOMPARE(SchuelerData->Anz(), 2);
}

// Saving while a cell is being edited writes what the grid shows.
void TestEditing::saveWhileEditing()
{
    loadSchool(3, 2);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(0, 2));
    typeInCell(QStringLiteral("Getippt"));
    QTemporaryDir dir;
    FUi->queueFiles({dir.filePath(QStringLiteral("s"))});
    QTest::keySequence(QApplication::focusWidget(), MainForm->SaveAct->shortcut());
    QCOMPARE(FUi->texts(), QStringList{"2 Einteilung-Datensätze nach s.EIN geschrieben"});
    QVERIFY(!FGrid->isEditing());
    QVERIFY(!SchuelerData->getModified());
    QFile file(dir.filePath(QStringLiteral("s.EIN")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Getippt; "));
}

// A row stored before a save is not stored again by the next move: the
// saved list stays unmodified and a pupil placed since keeps its project.
void TestEditing::saveForgetsStoredRows_data()
{
    QTest::addColumn<int>("kind");          // 0 pupil editor, 1 project editor
    QTest::addColumn<QString>("command");   // "Ctrl+S", "SaveAsAct" or "ImportAct"
    QTest::addColumn<bool>("named");        // the list has a file name already
    for (int kind = 0; kind <= 1; ++kind) {
        const char* editor = kind == 0 ? "pupils" : "projects";
        QTest::addRow("%s: Ctrl+S", editor) << kind << "Ctrl+S" << true;
        QTest::addRow("%s: Ctrl+S asking a name", editor) << kind << "Ctrl+S" << false;
        QTest::addRow("%s: Speichern unter", editor) << kind << "SaveAsAct" << true;
    }
    // Saved by the question before an import whose file dialog is cancelled.
    QTest::addRow("pupils: saved before an import") << 0 << "ImportAct" << true;
}

void TestEditing::saveForgetsStoredRows()
{
    QFETCH(int, kind);
    QFETCH(QString, command);
    QFETCH(bool, named);
    loadSchool(3, 4);
    openEditor(kind == 0 ? dtSch : dtPro);
    TData* list = FEditor->getData();
    QTemporaryDir dir;
    const QString ext = kind == 0 ? QStringLiteral(".EIN") : QStringLiteral(".PRO");
    if (named)
        list->ModSaved(dir.filePath(QStringLiteral("alt") + ext));
    const int col = kind == 0 ? 0 : 1;
    QVERIFY(FGrid->setCurrentCell(col, 3));
    typeInCell(QStringLiteral("Neu"));
    press(Qt::Key_Return);
    QVERIFY(list->getModified());

    if (!named || command == QLatin1String("SaveAsAct"))
        FUi->queueFiles({dir.filePath(QStringLiteral("neu"))});
    if (command == QLatin1String("Ctrl+S")) {
        QTest::keySequence(QApplication::focusWidget(), MainForm->SaveAct->shortcut());
    } else if (command == QLatin1String("SaveAsAct")) {
        MainForm->SaveAsAct->trigger();
    } else {
        FUi->queueAnswer(TModalResult::mrYes);
        FUi->queueFileCancel();
        MainForm->ImportAct->trigger();
    }
    QCOMPARE(FUi->unanswered, 0);
    QVERIFY(FUi->lastText().endsWith(QStringLiteral(" geschrieben")));
    QVERIFY(!list->getModified());
    const QString panel = kind == 0 ? QStringLiteral("4 Schüler") : QStringLiteral("3 Projekte");
    QCOMPARE(MainForm->panelText(kind == 0 ? 1 : 0), panel);

    // Placed since the save, e.g. by hand.
    pupil(3)->zuteil = 1;
    FGrid->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(at(), QPoint(col, 1));
    press(Qt::Key_Down);
    QCOMPARE(FUi->beeps, 0);
    QVERIFY(!list->getModified());
    QCOMPARE(MainForm->panelText(kind == 0 ? 1 : 0), panel);
    QCOMPARE(pupil(3)->zuteil, 1);
    QCOMPARE(FGrid->cell(col, 3), QStringLiteral("Neu"));

    // Quitting asks nothing.
    FUi->clear();
    QVERIFY(MainForm->close());
    QVERIFY(FUi->messages.isEmpty());
    QCOMPARE(FUi->unanswered, 0);
}

// ------------------------------------------------------------ status panels

void TestEditing::statusPanels()
{
    loadSchool(3, 5);
    pupil(2)->wahl[5] = 7;   // no such project
    openEditor(dtSch);
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    1"));
    QVERIFY(FGrid->setCurrentCell(5, 2));   // Wahl1 holds 3
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    2"));
    QCOMPARE(MainForm->panelText(4), QStringLiteral(" (3=Theater)"));
    QVERIFY(FGrid->setCurrentCell(8, 2));   // 0: the text stays
    QCOMPARE(MainForm->panelText(4), QStringLiteral(" (3=Theater)"));
    QVERIFY(FGrid->setCurrentCell(9, 2));   // 7: beyond the last project
    QCOMPARE(MainForm->panelText(4), QStringLiteral(" (3=Theater)"));
    QVERIFY(FGrid->setCurrentCell(6, 2));
    QCOMPARE(MainForm->panelText(4), QStringLiteral(" (1=Projekt 1)"));
    QVERIFY(FGrid->setCurrentCell(0, 2));
    QCOMPARE(MainForm->panelText(4), QString());

    // After a Tab out of Wahl5 the panels tell the cell reached.
    QVERIFY(FGrid->setCurrentCell(7, 4));
    QCOMPARE(MainForm->panelText(4), QStringLiteral(" (2=Projekt 2)"));
    QVERIFY(FGrid->setCurrentCell(9, 4));
    press(Qt::Key_Tab);
    QCOMPARE(at(), QPoint(0, 5));
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    5"));
    QCOMPARE(MainForm->panelText(4), QString());

    // A refused move still names the target row.
    QVERIFY(FGrid->setCurrentCell(2, 5));
    typeInCell(QStringLiteral("x"));
    press(Qt::Key_Up);
    QCOMPARE(at(), QPoint(2, 5));
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    4"));

    // A click on "Projekt" after a key that does not move on: the cursor
    // stays, the panels tell the clicked cell, its project too.
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    QVERIFY(FGrid->setCurrentCell(1, 2));
    press(Qt::Key_Down);
    QCOMPARE(at(), QPoint(1, 3));
    clickCell(10, 4);
    QCOMPARE(at(), QPoint(1, 3));
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    4"));
    QCOMPARE(MainForm->panelText(4), QStringLiteral(" (2=Projekt 2)"));

    // The project editor never shows a project in panel 4.
    openEditor(dtPro);
    QVERIFY(FGrid->setCurrentCell(2, 3));
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    3"));
    QCOMPARE(MainForm->panelText(4), QString());
}

void TestEditing::rowPanelFollowsReloads_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("files");   // only the first one exists
    QTest::addColumn<bool>("projectsInFront");
    QTest::addColumn<QString>("panel");
    const QStringList failing{"kurz.WAH", "fehlt.WAH"};
    QTest::newRow("assignment file") << "OpenEintAct" << QStringList{"kurz.EIN"} << false << "Zeile    3";
    QTest::newRow("choices, the second unreadable") << "OpenWahlAct" << failing << false << "Zeile    3";
    // An editor reloaded behind the active one leaves the panel to it.
    QTest::newRow("behind the project editor") << "OpenWahlAct" << failing << true << "Zeile    2";
}

// Reading a shorter list takes the cursor up to the new last row, and the
// row panel with it.
void TestEditing::rowPanelFollowsReloads()
{
    QFETCH(QString, command);
    QFETCH(QStringList, files);
    QFETCH(bool, projectsInFront);
    QFETCH(QString, panel);
    loadSchool(3, 12);
    TEditor* pupils = openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(0, 10));
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile   10"));
    if (projectsInFront) {
        openEditor(dtPro);
        QVERIFY(FGrid->setCurrentCell(1, 2));
    }

    QTemporaryDir dir;
    QStringList paths;
    for (const QString& file : files)
        paths << dir.filePath(file);
    const bool choices = command == QLatin1String("OpenWahlAct");
    QStringList lines;
    for (int i = 1; i <= 3; ++i)
        lines << QStringLiteral("Neu %1; w; 7; a; -; 3; 1; 2; 0; 0; ").arg(i) + (choices ? QString() : QStringLiteral("0; "));
    writeLines(paths.first(), lines);
    FUi->queueFiles(paths);
    MainForm->findChild<QAction*>(command)->trigger();

    QCOMPARE(FUi->unanswered, 0);
    QCOMPARE(SchuelerData->Anz(), 3);
    QCOMPARE(pupils->grid()->row(), 3);
    QCOMPARE(MainForm->activeEditor(), FEditor);
    QCOMPARE(MainForm->panelText(3), panel);
}

// ------------------------------------------------------ inserting, deleting

void TestEditing::insertAndDeleteProjects_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");   // TModalResult
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("asked");
    const QStringList all{"Projekt 1", "Projekt 2", "Theater", "Projekt 4", "Projekt 5"};
    QTest::newRow("insert here, yes") << "InsertHereAct" << int(TModalResult::mrYes)
                                      << QStringList{"Projekt 1", "Projekt 2", "", "Theater", "Projekt 4", "Projekt 5"}
                                      << true;
    QTest::newRow("insert here, no") << "InsertHereAct" << int(TModalResult::mrNo) << all << true;
    QTest::newRow("delete, yes") << "DeleteAct" << int(TModalResult::mrYes)
                                 << QStringList{"Projekt 1", "Projekt 2", "Projekt 4", "Projekt 5"} << true;
    QTest::newRow("delete, no") << "DeleteAct" << int(TModalResult::mrNo) << all << true;
    QTest::newRow("insert at the end") << "InsertEndAct" << int(TModalResult::mrNone)
                                       << QStringList{"Projekt 1", "Projekt 2", "Theater", "Projekt 4", "Projekt 5", ""}
                                       << false;
}

void TestEditing::insertAndDeleteProjects()
{
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QFETCH(bool, asked);
    loadSchool(5, 2);
    openEditor(dtPro);
    QVERIFY(FGrid->setCurrentCell(1, 3));
    FUi->clear();
    if (asked)
        FUi->queueAnswer(TModalResult(answer));

    // Through the command's shortcut, as the user gives it.
    QAction* act = MainForm->findChild<QAction*>(command);
    QVERIFY(act && act->isEnabled());
    QTest::keySequence(QApplication::focusWidget(), act->shortcut());

    if (asked) {
        QCOMPARE(FUi->messages.size(), 1);
        const TMessage& m = FUi->messages.first();
        QCOMPARE(m.text, QStringLiteral("Das Einfügen/Löschen eines Projekts an dieser Stelle ändert\r"
                                        " die Nummern der darauffolgenden Projekte. Fortfahren?"));
        QCOMPARE(m.type, TMsgType::mtInformation);
        QCOMPARE(m.buttons, TMsgButtons(mbYes | mbNo));
        QCOMPARE(m.helpContext, 0);
    } else {
        QVERIFY(FUi->messages.isEmpty());
    }
    QCOMPARE(FUi->unanswered, 0);

    QStringList got;
    for (int k = 1; k <= ProjektData->Anz(); ++k) {
        got << ProjektData->getNr(k)->name;
        QCOMPARE(ProjektData->getNr(k)->getNr(), k);
        QCOMPARE(FGrid->cell(0, k), QString::number(k));
        QCOMPARE(FGrid->cell(1, k), names.at(k - 1));
    }
    QCOMPARE(got, names);
    QCOMPARE(FGrid->rowCount(), names.size() + 1);
    const bool changed = names.size() != 5;
    QCOMPARE(ProjektData->getModified(), changed);
    QCOMPARE(MainForm->panelText(0), QString::number(names.size()) + QStringLiteral(" Projekte")
                                         + (changed ? QStringLiteral(" (*)") : QString()));
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), names.size() + 2);
    // The first choice still names Theater, or nothing once it is gone.
    const int theater = names.indexOf(QStringLiteral("Theater")) + 1;
    QCOMPARE(pupil(1)->wahl[1], theater);
    QCOMPARE(SchuelerData->getModified(), theater != 3);
    // Inserting at the end takes the cursor to the new project.
    QCOMPARE(at(), QPoint(1, command == QLatin1String("InsertEndAct") ? 6 : 3));
}

void TestEditing::deleteOnlyProject()
{
    loadSchool(1, 0);
    openEditor(dtPro);
    FUi->clear();
    FUi->queueAnswer(TModalResult::mrYes);
    MainForm->DeleteAct->trigger();
    QCOMPARE(FUi->texts().size(), 2);
    QCOMPARE(FUi->texts().at(1), QStringLiteral("Erzeuge leeren Eintrag."));
    QCOMPARE(ProjektData->Anz(), 1);
    QCOMPARE(ProjektData->getNr(1)->getNr(), 1);
    QCOMPARE(ProjektData->getNr(1)->name, QString());
    QVERIFY(ProjektData->getModified());
}

void TestEditing::pupilsFollowTheirProjects_data()
{
    QTest::addColumn<int>("projects");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("insert");
    QTest::newRow("insert in the middle") << 6 << 3 << true;
    QTest::newRow("insert at the first") << 6 << 1 << true;
    QTest::newRow("delete in the middle") << 6 << 3 << false;
    QTest::newRow("delete the last") << 6 << 6 << false;
    QTest::newRow("delete the only project") << 1 << 1 << false;
    QTest::newRow("delete a fixed pupil's project") << 6 << 4 << false;
}

// Inserting or deleting a project renumbers the later ones; every choice,
// assignment and placement by hand still names the project it named, a
// pupil fixed to the deleted project is fixed no more, and the pupil
// editor, an extract view, the overviews and the status bar show it at once.
void TestEditing::pupilsFollowTheirProjects()
{
    QFETCH(int, projects);
    QFETCH(int, row);
    QFETCH(bool, insert);
    addProjects(projects);
    const QStringList lines = projects == 1
        ? QStringList{"A; w; 7; a; -; 1; 0; 0; 0; 0; 1; ", "B; m; 7; a; 1; 1; 0; 0; 0; 0; 1; ",
                      "C; w; 8; b; F; 1; 0; 0; 0; 0; 1; "}
        : QStringList{"A; w; 7; a; -; 3; 1; 2; 0; 0; 3; ", "B; m; 7; a; 2; 6; 3; 0; 0; 0; 3; ",
                      "C; w; 8; b; -; 6; 5; 4; 3; 2; 6; ", "D; m; 8; b; 1; 6; 0; 0; 0; 0; 6; ",
                      "E; w; 7; a; -; 1; 2; 0; 0; 0; 0; ", "F; m; 7; a; F; 4; 0; 0; 0; 0; 4; "};
    for (const QString& line : lines)
        SchuelerData->add(new TSchueler(TZeile(line), true));
    MainFormHandler->UpdateAll();

    // What each reference names, by project name ("-" for none).
    const auto named = [](const TSchueler* s) {
        QStringList out;
        for (int r = 1; r <= 6; ++r) {
            const int n = r <= 5 ? s->wahl[r] : s->zuteil;
            out << (n == 0 ? QStringLiteral("-") : ProjektData->getNr(n)->name);
        }
        return out;
    };
    const QString gone = insert ? QString() : ProjektData->getNr(row)->name;
    QList<QStringList> expected;
    QList<int> hands;
    QList<bool> fixed;
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        QStringList names = named(pupil(i));
        const int hand = pupil(i)->getHand();
        hands << (hand >= 1 && names.at(hand - 1) == gone ? -1 : hand);
        fixed << (pupil(i)->fest && names.at(0) != gone);
        if (!insert)
            names.replaceInStrings(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(gone) + u'$'),
                                   QStringLiteral("-"));
        expected << names;
    }

    TEditor* sch = openEditor(dtSch);
    TEditor* view = openView();
    openEditor(dtPro);
    QVERIFY(FGrid->setCurrentCell(1, projects == 1 ? 1 : row == 6 ? 1 : row));
    if (row == 6)
        press(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(FGrid->row(), row);
    FUi->clear();
    FUi->queueAnswer(TModalResult::mrYes);
    press(insert ? Qt::Key_Insert : Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(FUi->unanswered, 0);
    QCOMPARE(FUi->texts().size(), projects == 1 ? 2 : 1);

    int assigned = 0;
    QList<int> counts(ProjektData->Anz() + 1, 0);
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        const TSchueler* s = pupil(i);
        QCOMPARE(named(s), expected.at(i - 1));
        QCOMPARE(s->getHand(), hands.at(i - 1));
        QCOMPARE(s->fest, fixed.at(i - 1));
        // Both pupil windows show the new numbers.
        const QStringList fields = s->ToZeile();
        for (TEditor* e : {sch, view})
            for (int c = 4; c <= 10; ++c)
                QCOMPARE(e->grid()->cell(c, i), fields.at(c));
        assigned += s->zuteil != 0;
        ++counts[s->zuteil];
    }
    if (projects == 1) {
        QCOMPARE(ProjektData->Anz(), 1);
        QCOMPARE(assigned, 0);
    }
    QVERIFY(SchuelerData->getModified());
    QCOMPARE(MainForm->panelText(1), QStringLiteral("%1 Schüler (*)").arg(SchuelerData->Anz()));
    QCOMPARE(MainForm->panelText(2), QStringLiteral("%1 eingeteilt").arg(assigned));
    TGridWidget* pg = MainForm->ProjekteGrid;
    QCOMPARE(pg->rowCount(), ProjektData->Anz() + 2);
    QCOMPARE(pg->cell(2, 1), QString::number(assigned == 0 ? 0 : counts[0]));
    for (int k = 1; k <= ProjektData->Anz(); ++k)
        QCOMPARE(pg->cell(2, k + 1), QString::number(counts[k]));
    int overviewAssigned = 0;
    for (int r = 1; r < MainForm->SchuelerGrid->rowCount(); ++r)
        overviewAssigned += MainForm->SchuelerGrid->cell(2, r).toInt();
    QCOMPARE(overviewAssigned, assigned);
}

void TestEditing::renumberingAtTheHighestNumber_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("after");   // pupil A: Wahl1, Wahl2, assignment
    QTest::addColumn<int>("shown");          // the number project 254 has then
    QTest::newRow("insert at row 1") << "InsertHereAct" << 1 << QList<int>{0, 255, 0} << 255;
    QTest::newRow("insert at the last row") << "InsertHereAct" << 254 << QList<int>{0, 255, 0} << 255;
    QTest::newRow("delete at row 1") << "DeleteAct" << 1 << QList<int>{254, 253, 254} << 253;
    QTest::newRow("delete the last") << "DeleteAct" << 254 << QList<int>{254, 0, 254} << 0;
}

// 254 projects; pupil A chose 255, which names no project, and 254, and is
// assigned to 255; pupil B is assigned to 254. A number that named no
// project names none after an insert or a delete, two numbers never become
// one, and the saved list reads back.
void TestEditing::renumberingAtTheHighestNumber()
{
    QFETCH(QString, command);
    QFETCH(int, row);
    QFETCH(QList<int>, after);
    QFETCH(int, shown);
    addProjects(254);
    SchuelerData->add(new TSchueler(TZeile(QStringLiteral("A; w; 7; a; -; 255; 254; 0; 0; 0; 255; ")), true));
    SchuelerData->add(new TSchueler(TZeile(QStringLiteral("B; m; 7; a; -; 254; 0; 0; 0; 0; 254; ")), true));
    MainFormHandler->UpdateAll();
    QCOMPARE(MainForm->panelText(2), QStringLiteral("1 eingeteilt"));
    // A view over project 254's pupils.
    QVERIFY(MainForm->ProjekteGrid->setRow(255));
    MainForm->ProjekteGrid->onDblClick();
    QPointer<TEditor> view = MainForm->activeEditor();
    QVERIFY(view && !view->Editable());
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Projekt 254]"));

    openEditor(dtPro);
    QVERIFY(FGrid->setCurrentCell(1, row));
    FUi->clear();
    FUi->queueAnswer(TModalResult::mrYes);
    QTest::keySequence(QApplication::focusWidget(), MainForm->findChild<QAction*>(command)->shortcut());
    QCOMPARE(FUi->unanswered, 0);
    QCOMPARE(ProjektData->Anz(), command == QLatin1String("DeleteAct") ? 253 : 255);

    const auto numbers = [] { return QList<int>{pupil(1)->wahl[1], pupil(1)->wahl[2], pupil(1)->zuteil}; };
    QCOMPARE(numbers(), after);
    QCOMPARE(pupil(2)->zuteil, shown);
    const int assigned = shown == 0 ? 0 : 1;
    QCOMPARE(MainForm->panelText(2), QStringLiteral("%1 eingeteilt").arg(assigned));
    int counted = 0;
    for (int k = 1; k <= ProjektData->Anz(); ++k)
        counted += MainForm->ProjekteGrid->cell(2, k + 1).toInt();
    QCOMPARE(counted, assigned);
    QVERIFY(view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Projekt %1]").arg(shown));

    openEditor(dtSch);
    QTemporaryDir dir;
    FUi->clear();
    FUi->queueFiles({dir.filePath(QStringLiteral("s"))});
    QTest::keySequence(QApplication::focusWidget(), MainForm->SaveAct->shortcut());
    QCOMPARE(FUi->texts(), QStringList{"2 Einteilung-Datensätze nach s.EIN geschrieben"});
    FUi->clear();
    FUi->queueFiles({dir.filePath(QStringLiteral("s.EIN"))});
    MainForm->OpenEintAct->trigger();
    QCOMPARE(FUi->lastText(), QStringLiteral("2 Einteilung-Datensätze gelesen."));
    QCOMPARE(numbers(), after);
}

void TestEditing::insertBeyondTheMostProjects_data()
{
    QTest::addColumn<int>("projects");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");   // with Ins: here or at the end
    QTest::addColumn<bool>("refused");
    QTest::newRow("here, list full") << 255 << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("at the end, list full") << 255 << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("here, room for one") << 254 << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    QTest::newRow("at the end, room for one") << 254 << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
}

// A list of 255 projects takes no further one: the insert is refused with a
// plain message, nothing changes and the editor goes on.
void TestEditing::insertBeyondTheMostProjects()
{
    QFETCH(int, projects);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(bool, refused);
    addProjects(projects);
    const QString line = QStringLiteral("A; w; 7; a; 1; 255; 254; 1; 0; 0; 255; ");
    SchuelerData->add(new TSchueler(TZeile(line), true));
    MainFormHandler->UpdateAll();
    openEditor(dtPro);
    QVERIFY(FGrid->setCurrentCell(1, projects));
    FUi->clear();
    FUi->queueAnswer(TModalResult::mrYes);
    press(Qt::Key_Insert, mods);

    if (!refused) {
        QCOMPARE(ProjektData->Anz(), 255);
        for (const TMessage& m : std::as_const(FUi->messages))
            QVERIFY(m.type != TMsgType::mtWarning);
        return;
    }
    QCOMPARE(FUi->messages.size(), 1);
    const TMessage& m = FUi->messages.first();
    QCOMPARE(m.text, QStringLiteral("Es sind höchstens 255 Projekte möglich."));
    QCOMPARE(m.type, TMsgType::mtPlain);
    QCOMPARE(m.caption(), QStringLiteral("zuv"));
    QCOMPARE(m.buttons, TMsgButtons(mbOK));
    QCOMPARE(ProjektData->Anz(), 255);
    for (int k = 1; k <= 255; ++k)
        QCOMPARE(ProjektData->getNr(k)->getNr(), k);
    QCOMPARE(QStringList(pupil(1)->ToZeile()), QStringList(TZeile(line)));
    QVERIFY(!ProjektData->getModified());
    QVERIFY(!SchuelerData->getModified());
    QCOMPARE(FGrid->rowCount(), 256);
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 257);

    // The editor goes on: a typed name is stored.
    QCOMPARE(MainForm->activeEditor(), FEditor);
    QVERIFY(FGrid->setCurrentCell(1, 255));
    typeInCell(QStringLiteral("Zirkus"));
    press(Qt::Key_Return);
    QCOMPARE(ProjektData->getNr(255)->name, QStringLiteral("Zirkus"));
    QVERIFY(ProjektData->getModified());
}

void TestEditing::insertAndDeletePupils()
{
    loadSchool(3, 4);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(2, 2));
    FUi->clear();
    press(Qt::Key_Insert, Qt::ShiftModifier);
    QVERIFY(FUi->messages.isEmpty());
    QCOMPARE(SchuelerData->Anz(), 5);
    QCOMPARE(pupil(2)->name, QString());
    QCOMPARE(pupil(3)->name, QStringLiteral("Schüler 2"));
    QCOMPARE(FGrid->rowCount(), 6);
    QCOMPARE(FGrid->cell(0, 3), QStringLiteral("Schüler 2"));
    QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler (*)"));
    QCOMPARE(at(), QPoint(2, 2));

    press(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(SchuelerData->Anz(), 6);
    QCOMPARE(pupil(6)->name, QString());
    // The cursor follows the new pupil, in its column, so typing goes there.
    QCOMPARE(at(), QPoint(2, 6));
    QCOMPARE(MainForm->panelText(3), QStringLiteral("Zeile    6"));

    // Deleting the last row leaves the cursor on the new last row.
    QVERIFY(FGrid->setCurrentCell(2, 6));
    press(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(SchuelerData->Anz(), 5);
    QCOMPARE(at(), QPoint(2, 5));
    QCOMPARE(FGrid->rowCount(), 6);
    QVERIFY(FUi->messages.isEmpty());

    // Deleting in the middle.
    QVERIFY(FGrid->setCurrentCell(2, 2));
    press(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(SchuelerData->Anz(), 4);
    QCOMPARE(pupil(2)->name, QStringLiteral("Schüler 2"));
    QCOMPARE(FGrid->cell(0, 2), QStringLiteral("Schüler 2"));
    QCOMPARE(at(), QPoint(2, 2));
}

void TestEditing::pupilInsertedOrDeletedCounts_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("mods");   // with Ins or Del
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QStringList>("counts");            // project 0, project 2 in the overview
    QTest::newRow("inserted here") << Qt::KeyboardModifiers(Qt::ShiftModifier) << Qt::Key_Insert
                                   << QStringList{"1", "4"};
    QTest::newRow("inserted at the end") << Qt::KeyboardModifiers(Qt::ControlModifier) << Qt::Key_Insert
                                         << QStringList{"1", "4"};
    QTest::newRow("deleted") << Qt::KeyboardModifiers(Qt::ShiftModifier) << Qt::Key_Delete << QStringList{"0", "3"};
}

// The project overview counts the pupils anew when one is inserted (into
// no project) or one of a project is deleted.
void TestEditing::pupilInsertedOrDeletedCounts()
{
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(Qt::Key, key);
    QFETCH(QStringList, counts);
    loadSchool(3, 4);
    openEditor(dtSch);
    TGridWidget* overview = MainForm->ProjekteGrid;
    QCOMPARE((QStringList{overview->cell(2, 1), overview->cell(2, 3)}), (QStringList{"0", "4"}));
    QVERIFY(FGrid->setCurrentCell(2, 2));
    press(key, mods);
    QCOMPARE((QStringList{overview->cell(2, 1), overview->cell(2, 3)}), counts);
}

void TestEditing::emptyRecordShowsInTheOverviews_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("projectRow");   // project 1's row
    QTest::addColumn<QStringList>("classRow");
    // Four pupils of class 7a in project 1 while no project exists: the
    // editor's empty project is project 1.
    QTest::newRow("projects") << int(dtPro) << QStringList{"1", "", "4", "ok"} << QStringList{" 7a", "4", "4", "0"};
    // No pupil: the editor's empty pupil is in class 0 and in no project.
    QTest::newRow("pupils") << int(dtSch) << QStringList{"1", "Projekt 1", "0", ""} << QStringList{" 0 ", "1", "0", "0"};
}

void TestEditing::emptyRecordShowsInTheOverviews()
{
    QFETCH(int, kind);
    QFETCH(QStringList, projectRow);
    QFETCH(QStringList, classRow);
    if (kind == dtPro) {
        addPupils(4);
        for (int i = 1; i <= 4; ++i)
            pupil(i)->zuteil = 1;
    } else {
        addProjects(2);
    }
    MainFormHandler->UpdateAll();
    FUi->clear();
    openEditor(TDataType(kind));
    QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Erzeuge leeren Eintrag.")});
    QCOMPARE(MainForm->ProjekteGrid->rowTexts(2), projectRow);
    QCOMPARE(MainForm->SchuelerGrid->rowTexts(1), classRow);
}

void TestEditing::deletePupilClosesViews_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << int(TModalResult::mrOk);
    QTest::newRow("Abbrechen") << int(TModalResult::mrCancel);
}

void TestEditing::deletePupilClosesViews()
{
    QFETCH(int, answer);
    loadSchool(3, 4);
    TEditor* sch = openEditor(dtSch);
    QPointer<TEditor> v1 = openView();
    QPointer<TEditor> v2 = openView();
    MainForm->activateEditor(sch);
    FEditor = sch;
    FGrid = sch->grid();
    FGrid->setFocus(Qt::OtherFocusReason);
    QVERIFY(FGrid->setCurrentCell(0, 2));
    FUi->clear();
    FUi->queueAnswer(TModalResult(answer));
    press(Qt::Key_Delete, Qt::ShiftModifier);

    QCOMPARE(FUi->messages.size(), 1);
    QCOMPARE(FUi->messages.first().text,
             QStringLiteral("Das Löschen eines Eintrages schließt alle offenen Schülerauszugs-Editoren."));
    QCOMPARE(FUi->messages.first().type, TMsgType::mtInformation);
    QCOMPARE(FUi->messages.first().buttons, TMsgButtons(mbOK | mbCancel));
    const bool ok = answer == int(TModalResult::mrOk);
    QCOMPARE(v1.isNull(), ok);
    QCOMPARE(v2.isNull(), ok);
    QCOMPARE(SchuelerData->Anz(), ok ? 3 : 4);
    QCOMPARE(pupil(2)->name, ok ? QStringLiteral("Schüler 3") : QStringLiteral("Schüler 2"));
    QCOMPARE(SchuelerData->getModified(), ok);
    QCOMPARE(MainForm->activeEditor(), sch);
}

// The four commands do nothing while a cell is being edited, whether their
// key or their menu item gives them.
void TestEditing::commandsStoreTheOpenEditFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("pupils");
    QTest::newRow("insert at the end") << "InsertEndAct" << 5;
    QTest::newRow("sort by name") << "mBSortN" << 4;
    QTest::newRow("save, cancelled") << "SaveAct" << 4;
    QTest::newRow("movement mode") << "BewegModeAct" << 4;
    QTest::newRow("pupil editor") << "ActivateSchAct" << 4;
    QTest::newRow("next window") << "NextWinAct" << 4;
    QTest::newRow("export, cancelled") << "ExportAct" << 4;
}

void TestEditing::commandsStoreTheOpenEditFirst()
{
    // A command started from the menu while a cell is edited stores the
    // typed text first, then runs.
    QFETCH(QString, command);
    QFETCH(int, pupils);
    loadSchool(3, 4);
    openEditor(dtSch);
    // Sorted, so that the export asks for its file.
    MainForm->mBSortN->trigger();
    QVERIFY(FGrid->setCurrentCell(0, 2));
    typeInCell(QStringLiteral("Neuname"));
    QVERIFY(FGrid->isEditing());
    FUi->queueFileCancel();
    MainForm->findChild<QAction*>(command)->trigger();
    QVERIFY(!FGrid->isEditing());
    QCOMPARE(SchuelerData->Anz(), pupils);
    QStringList names;
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        names << SchuelerData->getNr(i)->getName();
    QVERIFY2(names.contains(QStringLiteral("Neuname")), qPrintable(names.join(QLatin1Char(','))));
    QVERIFY(FUi->messages.isEmpty());
}

void TestEditing::overviewStoresTheOpenEditFirst_data()
{
    QTest::addColumn<int>("trigger");
    QTest::newRow("projects overview gets the focus") << 0;
    QTest::newRow("classes overview gets the focus") << 1;
    QTest::newRow("double click into the projects overview") << 2;
    QTest::newRow("statistics button of the classes overview") << 3;
}

void TestEditing::overviewStoresTheOpenEditFirst()
{
    // The overview's grids and buttons are commands like the menu's: what
    // they show or select sees the typed text stored.
    QFETCH(int, trigger);
    loadSchool(3, 4);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(1, 2));
    // Pupil 2 becomes a girl; storing its row also takes it out of project 2.
    typeInCell(QStringLiteral("w"));
    QVERIFY(FGrid->isEditing());
    switch (trigger) {
    case 0: MainForm->ProjekteGrid->onEnter(); break;
    case 1: MainForm->SchuelerGrid->onEnter(); break;
    case 2: {
        // Row 1 is project 0, row 3 project 2, which all four had.
        QVERIFY(MainForm->ProjekteGrid->setRow(3));
        MainForm->ProjekteGrid->onDblClick();
        TEditor* view = MainForm->activeEditor();
        QVERIFY(view && !view->Editable());
        QCOMPARE(view->getData()->Anz(), 3);
        break;
    }
    case 3:
        QVERIFY(MainForm->SchuelerGrid->setRow(1));
        QTimer::singleShot(0, SchStatD, &QDialog::reject);
        MainForm->SchStatBut->click();
        QCOMPARE(SchStatD->Weib->text(), QStringLiteral("3"));
        break;
    }
    QVERIFY(!FGrid->isEditing());
    QVERIFY(!pupil(2)->geschl);
    QCOMPARE(FGrid->cell(1, 2), QStringLiteral("w"));
}

// ---------------------------------------------------- mode, sorting, hand

void TestEditing::movementMode()
{
    loadSchool(3, 4);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(1, 2));
    QVERIFY(MainForm->BewegModeAct->isEnabled());
    press(Qt::Key_B, Qt::ControlModifier);
    QVERIFY(FEditor->getBewegMode());
    QVERIFY(MainForm->BewegModeAct->isChecked());
    QCOMPARE(at(), QPoint(4, 2));
    QCOMPARE(FGrid->fixedCols(), 4);
    // The four columns can be neither selected nor edited.
    QVERIFY(!FGrid->setCurrentCell(2, 2));
    clickCell(0, 3);
    QCOMPARE(at(), QPoint(4, 2));

    QVERIFY(FGrid->setCurrentCell(7, 3));
    press(Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!FEditor->getBewegMode());
    QVERIFY(!MainForm->BewegModeAct->isChecked());
    QCOMPARE(FGrid->fixedCols(), 0);
    QCOMPARE(at(), QPoint(7, 3));

    // A new editor starts with it off; the project editor knows none.
    openEditor(dtPro);
    QVERIFY(!MainForm->BewegModeAct->isEnabled());
    FEditor->ChangeBewegMode();
    QCOMPARE(FGrid->fixedCols(), 1);
}

void TestEditing::sortOrders_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("Name") << "mBSortN" << QStringList{"Anna", "Bert", "Carl", "Dora"};
    QTest::newRow("Klasse, dann Name") << "mBSortKl" << QStringList{"Dora", "Bert", "Carl", "Anna"};
    QTest::newRow("Projekt, dann Name") << "mbSortPN" << QStringList{"Carl", "Anna", "Dora", "Bert"};
    QTest::newRow("Projekt, dann Klasse") << "mBSortPKl" << QStringList{"Carl", "Dora", "Anna", "Bert"};
}

void TestEditing::sortOrders()
{
    QFETCH(QString, item);
    QFETCH(QStringList, names);
    addProjects(3);
    const char* const lines[] = {
        "Carl; m; 8; a; -; 1; 2; 3; 0; 0; 1; ",
        "Anna; w; 8; b; -; 1; 2; 3; 0; 0; 2; ",
        "Dora; w; 5; c; -; 1; 2; 3; 0; 0; 2; ",
        "Bert; m; 7; a; -; 1; 2; 3; 0; 0; 3; ",
    };
    for (const char* line : lines)
        SchuelerData->add(new TSchueler(TZeile(QString::fromUtf8(line)), true));
    MainFormHandler->UpdateAll();
    openEditor(dtSch);
    QAction* a = MainForm->findChild<QAction*>(item);
    QVERIFY(a);
    QVERIFY(MainForm->mmBSort->menuAction()->isEnabled());
    a->trigger();
    QStringList shown;
    for (int r = 1; r <= 4; ++r)
        shown << FGrid->cell(0, r);
    QCOMPARE(shown, names);
    QCOMPARE(pupil(1)->name, names.first());
    QVERIFY(!SchuelerData->getModified());
}

void TestEditing::sortInAView()
{
    addProjects(3);
    for (const char* name : {"Dora", "Carl", "Bert", "Anna"})
        SchuelerData->add(new TSchueler(
            TZeile(QStringLiteral("%1; m; 8; a; -; 1; 2; 3; 0; 0; 1; ").arg(QString::fromLatin1(name))), true));
    MainFormHandler->UpdateAll();
    TEditor* sch = openEditor(dtSch);
    TEditor* view = openView();
    QVERIFY(MainForm->activeEditor() == view);
    MainForm->mBSortN->trigger();
    QCOMPARE(view->grid()->cell(0, 1), QStringLiteral("Anna"));
    QCOMPARE(view->grid()->cell(0, 4), QStringLiteral("Dora"));
    QCOMPARE(pupil(1)->name, QStringLiteral("Dora"));
    QCOMPARE(sch->grid()->cell(0, 1), QStringLiteral("Dora"));

    // A name being typed is stored and sorted in.
    MainForm->activateEditor(sch);
    FEditor = sch;
    FGrid = sch->grid();
    FGrid->setFocus(Qt::OtherFocusReason);
    QVERIFY(FGrid->setCurrentCell(0, 1));
    typeInCell(QStringLiteral("Berta"));
    MainForm->mBSortN->trigger();
    QVERIFY(!FGrid->isEditing());
    QStringList names;
    for (int r = 1; r <= 4; ++r)
        names << FGrid->cell(0, r);
    QCOMPARE(names, QStringList({"Anna", "Bert", "Berta", "Carl"}));
    QCOMPARE(pupil(3)->name, QStringLiteral("Berta"));

    // The project editor sorts nothing.
    openEditor(dtPro);
    MainForm->mBSortN->trigger();
    QCOMPARE(pupil(1)->name, QStringLiteral("Anna"));
}

void TestEditing::currentHand()
{
    loadSchool(3, 3);
    openEditor(dtSch);
    QVERIFY(FGrid->setCurrentCell(0, 2));
    FEditor->setCurrentHand(2);
    QCOMPARE(pupil(2)->hand, 2);
    QCOMPARE(FGrid->cell(4, 2), QStringLiteral("2"));
    QVERIFY(!SchuelerData->getModified());
    FEditor->setCurrentHand(6);
    QCOMPARE(pupil(2)->hand, 2);
    FEditor->setCurrentHand(-1);
    QCOMPARE(pupil(2)->hand, 2);
}

// ------------------------------------------------------------ reserved keys

void TestEditing::reservedKeysInTheCellEditor()
{
    loadSchool(3, 4);
    openEditor(dtSch);
    QVERIFY(MainForm->AutoEinteilAct->isEnabled());
    // Count the assignment command instead of running its dialog.
    disconnect(MainForm->AutoEinteilAct, &QAction::triggered, MainForm, nullptr);
    int assignments = 0;
    connect(MainForm->AutoEinteilAct, &QAction::triggered, this, [&] { ++assignments; });
    int inserts = 0;
    connect(MainForm->InsertHereAct, &QAction::triggered, this, [&] { ++inserts; });

    QVERIFY(FGrid->setCurrentCell(0, 2));
    typeInCell(QStringLiteral("Neu"));
    QLineEdit* editor = cellEditor();
    QVERIFY(editor);
    QApplication::clipboard()->setText(QStringLiteral("PASTE"));

    press(Qt::Key_A, Qt::ControlModifier);          // no select-all, no assignment
    QVERIFY(!editor->hasSelectedText());
    press(Qt::Key_Insert, Qt::ShiftModifier);       // no paste, no insertion
    QCOMPARE(editor->text(), QStringLiteral("Neu"));
    press(Qt::Key_Home, Qt::ShiftModifier);         // select the text
    QCOMPARE(editor->selectedText(), QStringLiteral("Neu"));
    press(Qt::Key_Insert, Qt::ControlModifier);     // no copy
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("PASTE"));
    press(Qt::Key_Delete, Qt::ShiftModifier);       // no cut
    QCOMPARE(editor->text(), QStringLiteral("Neu"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("PASTE"));
    press(Qt::Key_B, Qt::ControlModifier);          // no movement mode

    QCOMPARE(assignments, 0);
    QCOMPARE(inserts, 0);
    QVERIFY(!FEditor->getBewegMode());
    QVERIFY(!MainForm->BewegModeAct->isChecked());
    QCOMPARE(SchuelerData->Anz(), 4);
    QVERIFY(FGrid->isEditing());
    QCOMPARE(FUi->beeps, 0);

    // Outside the cell editor the keys are the commands'.
    press(Qt::Key_Return);
    QVERIFY(!FGrid->isEditing());
    QCOMPARE(pupil(2)->name, QStringLiteral("Neu"));
    press(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(assignments, 1);
    press(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(inserts, 1);
    QCOMPARE(SchuelerData->Anz(), 5);
}

KESTRIN_TEST_MAIN(TestEditing)
#include "tst_editing.moc"

#include "platform/UGridWidget.h"
#include "platform/UQtUi.h"
#include "tests/support/UGridLanding.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
}

// A window with the grid and one other control to take the focus.
struct TFixture {
    QWidget window;
    TGridWidget* grid;
    QLineEdit* other;

    TFixture(int cols, int rows, int fixedCols)
    {
        auto* layout = new QVBoxLayout(&window);
        grid = new TGridWidget;
        other = new QLineEdit;
        other->setObjectName(QStringLiteral("other"));
        layout->addWidget(grid);
        layout->addWidget(other);
        grid->setColCount(cols);
        grid->setRowCount(rows);
        grid->setFixedCols(fixedCols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid->setCell(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
        window.resize(700, 400);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("window not active");
        grid->setFocus(Qt::OtherFocusReason);
    }

    QLineEdit* editor() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }

    void click(int col, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(grid, col, row));
    }
    QPoint current() const { return QPoint(grid->col(), grid->row()); }
};

} // namespace

class TestGridWidget : public QObject {
    Q_OBJECT

private slots:
    void fixedRowIsTheHeader()
    {
        TFixture f(3, 4, 0);
        QCOMPARE(f.grid->model()->rowCount(), 3);
        QVERIFY(f.grid->horizontalHeader()->isVisible());
        QCOMPARE(f.grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("1/0"));
        QVERIFY(!f.grid->setCurrentCell(1, 0));   // the caption row is never current
        f.grid->setCell(2, 0, QStringLiteral("Name"));
        QCOMPARE(f.grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Name"));

        f.grid->setFixedRows(0);
        QCOMPARE(f.grid->model()->rowCount(), 4);
        QVERIFY(f.grid->horizontalHeader()->isHidden());
        QVERIFY(f.grid->setCurrentCell(1, 0));
        QCOMPARE(f.grid->model()->index(0, 2).data().toString(), QStringLiteral("Name"));
    }

    void countsKeepCellsAndObjects()
    {
        TFixture f(3, 4, 1);
        int token = 0;
        f.grid->setObject(2, 3, &token);
        f.grid->setColWidth(1, 77);
        f.grid->setColCount(5);
        f.grid->setRowCount(10);
        QCOMPARE(f.grid->cell(2, 3), QStringLiteral("2/3"));
        QCOMPARE(f.grid->object(2, 3), static_cast<void*>(&token));
        QCOMPARE(f.grid->colWidth(1), 77);
        QCOMPARE(f.grid->cell(4, 9), QString());
        QCOMPARE(f.grid->rowTexts(1), (QStringList{"0/1", "1/1", "2/1", "", ""}));
        f.grid->setColCount(2);
        QCOMPARE(f.grid->rowTexts(3), (QStringList{"0/3", "1/3"}));
        QCOMPARE(f.grid->cell(2, 3), QString());   // outside reads empty
        f.grid->setCell(7, 1, QStringLiteral("x")); // and ignores writes
        QCOMPARE(f.grid->colCount(), 2);
    }

    void shrinkingMovesCurrentWithoutAsking()
    {
        TFixture f(3, 10, 0);
        QVERIFY(f.grid->setCurrentCell(2, 8));
        int asked = 0;
        f.grid->onSelectCell = [&](int, int, bool&) { ++asked; };
        f.grid->setRowCount(4);
        QCOMPARE(f.current(), QPoint(2, 3));
        f.grid->setFixedCols(2);
        QCOMPARE(f.current(), QPoint(2, 3));
        f.grid->setColCount(2);
        f.grid->setFixedCols(1);
        QCOMPARE(f.current(), QPoint(1, 3));
        QCOMPARE(asked, 0);
    }

    void everyMoveOfTheCurrentCellIsTold()
    {
        TFixture f(4, 10, 0);
        QVERIFY(f.grid->setCurrentCell(2, 8));
        QList<QPoint> told;
        f.grid->onCurrentChanged = [&](int c, int r) { told.append(QPoint(c, r)); };
        f.grid->onSelectCell = [&](int c, int, bool& can) { can = c != 3; };
        f.press(Qt::Key_Up);
        f.click(1, 2);
        QVERIFY(f.grid->setCurrentCell(0, 5));
        QVERIFY(f.grid->setCurrentCell(0, 5));    // no move
        QVERIFY(!f.grid->setCurrentCell(3, 5));   // refused
        // The grid's own moves: rows gone, a column frozen.
        f.grid->setRowCount(4);
        f.grid->setFixedCols(1);
        QCOMPARE(told, (QList<QPoint>{{2, 7}, {1, 2}, {0, 5}, {0, 3}, {1, 3}}));
        QCOMPARE(f.current(), QPoint(1, 3));
    }

    void gridWithoutDataRows()
    {
        TFixture f(3, 1, 1);
        int asked = 0;
        f.grid->onSelectCell = [&](int, int, bool&) { ++asked; };
        QCOMPARE(f.grid->model()->rowCount(), 0);
        QCOMPARE(f.current(), QPoint(1, 1));
        f.press(Qt::Key_Down);
        f.press(Qt::Key_Tab);
        f.press(Qt::Key_Return);
        QVERIFY(!f.grid->setCurrentCell(1, 1));
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(asked, 0);
        // Rows arriving later start at the first selectable cell.
        f.grid->setRowCount(3);
        QCOMPARE(f.current(), QPoint(1, 1));
        QCOMPARE(f.grid->currentIndex(), f.grid->model()->index(0, 1));
        QCOMPARE(asked, 0);
    }

    void setRowTextsFillsFromColumnZero()
    {
        TFixture f(4, 3, 0);
        f.grid->setRowTexts(1, {"a", "b"});
        QCOMPARE(f.grid->rowTexts(1), (QStringList{"a", "b", "2/1", "3/1"}));
        f.grid->setRowTexts(2, {"1", "2", "3", "4", "5"});
        QCOMPARE(f.grid->rowTexts(2), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(f.grid->model()->index(1, 3).data().toString(), QStringLiteral("4"));
    }

    void measures()
    {
        TFixture f(3, 3, 0);
        QCOMPARE(f.grid->textWidth(QStringLiteral("Mustermann")),
                 QFontMetrics(f.grid->font()).horizontalAdvance(QStringLiteral("Mustermann")));
        f.grid->setColWidth(0, 123);
        QCOMPARE(f.grid->colWidth(0), 123);
        QCOMPARE(f.grid->columnWidth(0), 123);
        QCOMPARE(f.grid->clientWidth(), f.grid->viewport()->width());
        QCOMPARE(f.grid->gridLineWidth(), 1);
    }

    void vetoByKeyMouseAndCode()
    {
        TFixture f(5, 4, 1);
        QVERIFY(f.grid->setCurrentCell(2, 1));
        QList<QPoint> asked;
        f.grid->onSelectCell = [&](int c, int r, bool& can) {
            asked.append(QPoint(c, r));
            if (c == 3)
                can = false;
        };
        f.press(Qt::Key_Right);
        QCOMPARE(f.current(), QPoint(2, 1));
        f.click(3, 2);
        QCOMPARE(f.current(), QPoint(2, 1));
        QVERIFY(!f.grid->setCurrentCell(3, 3));
        QCOMPARE(f.current(), QPoint(2, 1));
        QCOMPARE(asked, (QList<QPoint>{{3, 1}, {3, 2}, {3, 3}}));

        // Allowed moves by each road.
        f.click(4, 2);
        QCOMPARE(f.current(), QPoint(4, 2));
        f.press(Qt::Key_Up);
        QCOMPARE(f.current(), QPoint(4, 1));
        QVERIFY(f.grid->setCurrentCell(2, 3));
        QCOMPARE(f.current(), QPoint(2, 3));

        // Fixed cells are never selectable and never asked for.
        asked.clear();
        f.click(0, 2);
        QVERIFY(!f.grid->setCurrentCell(0, 1));
        f.press(Qt::Key_Home);
        QCOMPARE(f.current(), QPoint(1, 3));
        QCOMPARE(asked, (QList<QPoint>{{1, 3}}));

        // Moving to the current cell asks nothing.
        asked.clear();
        QVERIFY(f.grid->setCurrentCell(1, 3));
        QVERIFY(asked.isEmpty());
    }

    void reentrantRedirect()
    {
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 1));
        QList<QPoint> asked;
        // The last column is barred: moving there goes to column 0 of the
        // next row instead.
        f.grid->onSelectCell = [&](int c, int r, bool& can) {
            asked.append(QPoint(c, r));
            if (c == 3) {
                f.grid->setCurrentCell(0, r == 3 ? 1 : r + 1);
                can = false;
            }
        };
        f.press(Qt::Key_End);
        QCOMPARE(f.current(), QPoint(0, 2));
        QCOMPARE(asked, (QList<QPoint>{{3, 1}, {0, 2}}));
        f.press(Qt::Key_Right);
        f.press(Qt::Key_Right);
        f.press(Qt::Key_Tab);
        QCOMPARE(f.current(), QPoint(0, 3));
        QVERIFY(!f.grid->setCurrentCell(3, 3));
        QCOMPARE(f.current(), QPoint(0, 1));
        // By mouse: the click lands on the redirected cell, and edits nothing.
        f.click(3, 2);
        QCOMPARE(f.current(), QPoint(0, 3));
        QCOMPARE(f.grid->selectionModel()->selectedIndexes(),
                 QModelIndexList{f.grid->model()->index(2, 0)});
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QVERIFY(!f.grid->isEditing());
    }

    void navigation_data()
    {
        QTest::addColumn<int>("fixedCols");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("to");

        // 4 columns, rows 1..3 below the caption row.
        const int none = Qt::NoModifier;
        const int shift = Qt::ShiftModifier;
        const int ctrl = Qt::ControlModifier;
        for (int fixed : {0, 1}) {
            const int first = fixed;
            const QByteArray p = fixed ? "fixed: " : "free: ";
            auto row = [&](const char* name, bool editing, QPoint from, int key, int mods, QPoint to) {
                QTest::newRow(p + name) << fixed << editing << from << key << mods << to;
            };
            row("tab next column", false, {2, 1}, Qt::Key_Tab, none, {3, 1});
            row("tab after last column", false, {3, 1}, Qt::Key_Tab, none, {first, 2});
            row("tab after last row", false, {3, 3}, Qt::Key_Tab, none, {first, 1});
            row("shift+tab previous column", false, {3, 2}, Qt::Key_Tab, shift, {2, 2});
            row("shift+tab before first column", false, {first, 2}, Qt::Key_Tab, shift, {3, 1});
            row("shift+tab before first row", false, {first, 1}, Qt::Key_Tab, shift, {3, 3});
            row("backtab key", false, {first, 2}, Qt::Key_Backtab, shift, {3, 1});
            row("end", false, {first, 2}, Qt::Key_End, none, {3, 2});
            row("ctrl+end", false, {first, 1}, Qt::Key_End, ctrl, {3, 3});
            row("home", false, {3, 2}, Qt::Key_Home, none, {first, 2});
            row("ctrl+home", false, {3, 3}, Qt::Key_Home, ctrl, {first, 1});
            row("right at last column", false, {3, 2}, Qt::Key_Right, none, {3, 2});
            row("left at first column", false, {first, 2}, Qt::Key_Left, none, {first, 2});
            row("up at first row", false, {2, 1}, Qt::Key_Up, none, {2, 1});
            row("down at last row", false, {2, 3}, Qt::Key_Down, none, {2, 3});
            row("down", false, {2, 1}, Qt::Key_Down, none, {2, 2});
            row("editing: tab", true, {3, 1}, Qt::Key_Tab, none, {first, 2});
            row("editing: shift+tab", true, {first, 1}, Qt::Key_Tab, shift, {3, 3});
            row("editing: end stays", true, {first, 2}, Qt::Key_End, none, {first, 2});
            row("editing: ctrl+end stays", true, {first, 2}, Qt::Key_End, ctrl, {first, 2});
            row("editing: home stays", true, {3, 2}, Qt::Key_Home, none, {3, 2});
            row("editing: left stays", true, {3, 2}, Qt::Key_Left, none, {3, 2});
            row("editing: right stays", true, {2, 2}, Qt::Key_Right, none, {2, 2});
            row("editing: down", true, {2, 2}, Qt::Key_Down, none, {2, 3});
        }
    }

    void navigation()
    {
        QFETCH(int, fixedCols);
        QFETCH(bool, editing);
        QFETCH(QPoint, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QPoint, to);

        TFixture f(4, 4, fixedCols);
        QVERIFY(f.grid->setCurrentCell(from.x(), from.y()));
        QList<QPair<int, int>> keys;
        f.grid->onKeyDown = [&](int& k, Qt::KeyboardModifiers m) {
            if (!isModifierKey(k))
                keys.append({k, int(m)});
        };
        if (editing) {
            f.grid->beginEdit();
            QVERIFY(f.grid->isEditing());
            QVERIFY(f.editor());
        }
        f.press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f.current(), to);
        // Every key reaches the handler first; Shift+Tab as Tab with Shift.
        const int expectedKey = key == Qt::Key_Backtab ? int(Qt::Key_Tab) : key;
        QCOMPARE(keys, (QList<QPair<int, int>>{{expectedKey, modifiers}}));
        if (editing)
            QCOMPARE(f.grid->isEditing(), to == from);
    }

    void keyDownCanSwallow()
    {
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 1));
        f.grid->onKeyDown = [](int& k, Qt::KeyboardModifiers) {
            if (k == Qt::Key_Tab || k == Qt::Key_Return)
                k = 0;
        };
        f.press(Qt::Key_Tab);
        QCOMPARE(f.current(), QPoint(1, 1));
        f.press(Qt::Key_Return);
        QVERIFY(!f.grid->isEditing());
        f.press(Qt::Key_F2);
        QVERIFY(f.grid->isEditing());
        f.press(Qt::Key_Tab);
        QVERIFY(f.grid->isEditing());
        QCOMPARE(f.current(), QPoint(1, 1));
    }

    void enterBeginsAndEndsEditing()
    {
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(2, 1));
        QList<QPoint> asked;
        QStringList edited;
        f.grid->onGetEditText = [&](int c, int r, QString& value) {
            asked.append(QPoint(c, r));
            value = QStringLiteral("stored");
        };
        f.grid->onSetEditText = [&](int, int, const QString& value) { edited.append(value); };
        f.press(Qt::Key_Return);
        QVERIFY(f.grid->isEditing());
        QCOMPARE(asked, (QList<QPoint>{{2, 1}}));
        QVERIFY(f.editor());
        QCOMPARE(f.editor()->text(), QStringLiteral("stored"));
        QCOMPARE(f.grid->cell(2, 1), QStringLiteral("2/1"));   // unchanged until typed
        f.press(Qt::Key_End);
        f.type(QStringLiteral("X"));
        QCOMPARE(f.grid->cell(2, 1), QStringLiteral("storedX"));   // the cell follows the editor
        QCOMPARE(edited, (QStringList{"storedX"}));
        f.press(Qt::Key_Return);
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->cell(2, 1), QStringLiteral("storedX"));
        QCOMPARE(f.current(), QPoint(2, 1));
        QVERIFY(f.grid->hasFocus());
    }

    void typingBeginsEditing()
    {
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 2));
        QList<int> keys;
        f.grid->onKeyDown = [&](int& k, Qt::KeyboardModifiers) {
            if (!isModifierKey(k))
                keys.append(k);
        };
        f.type(QStringLiteral("Neu"));
        QCOMPARE(keys, (QList<int>{Qt::Key_N, Qt::Key_E, Qt::Key_U}));   // each key once
        QVERIFY(f.grid->isEditing());
        QCOMPARE(f.grid->cell(1, 2), QStringLiteral("Neu"));   // the first key replaced the text
        f.press(Qt::Key_Tab);
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.current(), QPoint(2, 2));
        QCOMPARE(f.grid->cell(1, 2), QStringLiteral("Neu"));
    }

    void escapeRestoresTheCell()
    {
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 2));
        f.type(QStringLiteral("weg"));
        QCOMPARE(f.grid->cell(1, 2), QStringLiteral("weg"));
        f.press(Qt::Key_Escape);
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->cell(1, 2), QStringLiteral("1/2"));
        QCOMPARE(f.current(), QPoint(1, 2));
    }

    void escapeKeepsWhatTheHandlerWrote()
    {
        // The editor's Esc handler writes the row itself; the grid keeps it.
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 2));
        f.grid->onKeyDown = [&](int& k, Qt::KeyboardModifiers) {
            if (k == Qt::Key_Escape && f.grid->isEditing())
                f.grid->setRowTexts(2, {"a", "b", "c", "d"});
        };
        f.type(QStringLiteral("weg"));
        f.press(Qt::Key_Escape);
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->rowTexts(2), (QStringList{"a", "b", "c", "d"}));
    }

    void refusedMoveKeepsTheEditorWithTheCellShown()
    {
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 2));
        f.grid->onSelectCell = [&](int, int, bool& can) {
            f.grid->setCell(1, 2, QStringLiteral("alt"));   // the record shown again
            can = false;
        };
        f.type(QStringLiteral("falsch"));
        f.press(Qt::Key_Tab);
        QCOMPARE(f.current(), QPoint(1, 2));
        QVERIFY(f.grid->isEditing());
        QVERIFY(f.editor());
        QCOMPARE(f.editor()->text(), QStringLiteral("alt"));
        f.press(Qt::Key_Escape);
        QCOMPARE(f.grid->cell(1, 2), QStringLiteral("alt"));
    }

    void clickWhileEditing()
    {
        TFixture f(4, 4, 0);   // fewer rows than the grid has room for
        QVERIFY(f.grid->setCurrentCell(1, 1));
        bool refuse = true;
        QList<QPoint> asked;
        f.grid->onSelectCell = [&](int c, int r, bool& can) {
            asked.append(QPoint(c, r));
            can = !refuse;
        };
        f.type(QStringLiteral("neu"));
        QLineEdit* editor = f.editor();
        QVERIFY(editor);
        // Refused: the editor stays open and keeps the focus.
        f.click(2, 3);
        QCOMPARE(f.current(), QPoint(1, 1));
        QVERIFY(f.grid->isEditing());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        // Beside the cells: nothing moves, typing goes on in the editor.
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, f.grid->viewport()->height() - 3));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QVERIFY(f.grid->isEditing());
        // Allowed: the edit ends with its text in the cell.
        refuse = false;
        f.click(2, 3);
        QCOMPARE(f.current(), QPoint(2, 3));
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->cell(1, 1), QStringLiteral("neu"));
        QCOMPARE(asked, (QList<QPoint>{{2, 3}, {2, 3}}));
        QVERIFY(f.grid->hasFocus());
    }

    void rowsRemovedWhileEditing()
    {
        TFixture f(4, 6, 0);
        int exits = 0;
        f.grid->onExit = [&] { ++exits; };
        QVERIFY(f.grid->setCurrentCell(2, 5));
        f.grid->beginEdit();
        f.grid->setRowCount(3);
        QVERIFY(!f.grid->isEditing());
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.current(), QPoint(2, 2));
        QCOMPARE(exits, 0);
    }

    void destroyedWhileEditing()
    {
        auto f = std::make_unique<TFixture>(4, 4, 0);
        int exits = 0;
        f->grid->onExit = [&] { ++exits; };
        f->grid->beginEdit();
        QVERIFY(f->grid->isEditing());
        delete f->grid;
        QCoreApplication::processEvents();
        f->other->setFocus(Qt::TabFocusReason);
        f.reset();
        QCOMPARE(exits, 0);   // no handler runs on a grid going away
    }

    void editingCanBeForbidden()
    {
        TFixture f(4, 4, 0);
        int asked = 0;
        f.grid->onGetEditText = [&](int, int, QString&) { ++asked; };
        f.grid->setEditingAllowed(false);
        QVERIFY(f.grid->setCurrentCell(1, 1));
        f.press(Qt::Key_Return);
        f.type(QStringLiteral("a"));
        f.press(Qt::Key_F2);
        f.grid->beginEdit();
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(f.grid, 1, 1));
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(asked, 0);
        QCOMPARE(f.grid->cell(1, 1), QStringLiteral("1/1"));
        f.grid->setEditingAllowed(true);
        f.grid->beginEdit();
        QVERIFY(f.grid->isEditing());
        f.grid->setEditingAllowed(false);
        QVERIFY(!f.grid->isEditing());
    }

    void fixedCellsAreNeverEdited()
    {
        TFixture f(4, 4, 1);
        QVERIFY(f.grid->setCurrentCell(1, 1));
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(f.grid, 0, 1));
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.current(), QPoint(1, 1));
    }

    void exitOnFocusToAnotherControl()
    {
        TFixture f(4, 4, 0);
        int exits = 0;
        int enters = 0;
        f.grid->onExit = [&] { ++exits; };
        f.grid->onEnter = [&] { ++enters; };
        QVERIFY(f.grid->setCurrentCell(1, 1));

        // Into the own editor and back: no exit.
        f.grid->beginEdit();
        QVERIFY(f.editor());
        QVERIFY(f.editor() != f.other);
        f.press(Qt::Key_Return);
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(exits, 0);
        QCOMPARE(enters, 0);

        // To another control: an exit.
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(exits, 1);
        f.grid->setFocus(Qt::MouseFocusReason);
        QCOMPARE(enters, 1);

        // From the editor to another control: an exit, and the edit ends
        // with its text in the cell.
        f.type(QStringLiteral("abc"));
        QVERIFY(f.grid->isEditing());
        f.other->setFocus(Qt::MouseFocusReason);
        QCOMPARE(exits, 2);
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->cell(1, 1), QStringLiteral("abc"));
    }

    void noExitWhenAWindowOrMenuTakesOver_data()
    {
        QTest::addColumn<bool>("popup");
        QTest::addColumn<bool>("editing");
        QTest::newRow("window") << false << false;
        QTest::newRow("popup") << true << false;
        QTest::newRow("window, editing") << false << true;
        QTest::newRow("popup, editing") << true << true;
    }

    void noExitWhenAWindowOrMenuTakesOver()
    {
        QFETCH(bool, popup);
        QFETCH(bool, editing);
        TFixture f(4, 4, 0);
        int exits = 0;
        int enters = 0;
        f.grid->onExit = [&] { ++exits; };
        f.grid->onEnter = [&] { ++enters; };
        QVERIFY(f.grid->setCurrentCell(1, 1));
        if (editing)
            f.grid->beginEdit();
        QWidget* had = QApplication::focusWidget();
        QMenu menu;
        menu.addAction(QStringLiteral("Eintrag"));
        QWidget second;
        auto* secondEdit = new QLineEdit(&second);
        if (popup) {
            menu.popup(f.window.geometry().center());
            QTRY_VERIFY(QApplication::activePopupWidget());
        } else {
            second.show();
            second.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&second));
            secondEdit->setFocus(Qt::OtherFocusReason);
        }
        QCOMPARE(exits, 0);
        QCOMPARE(f.grid->isEditing(), editing);
        if (popup) {
            menu.close();
        } else {
            second.hide();
            f.window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.window));
        }
        QTRY_COMPARE(QApplication::focusWidget(), had);
        QCOMPARE(enters, 0);
        QCOMPARE(exits, 0);
        QCOMPARE(f.grid->isEditing(), editing);
        // A real move away afterwards still counts.
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(exits, 1);
    }

    void menuBarWhileEditing()
    {
        TFixture f(4, 4, 0);
        auto* bar = new QMenuBar(&f.window);
        static_cast<QVBoxLayout*>(f.window.layout())->setMenuBar(bar);
        bar->show();
        bar->addMenu(QStringLiteral("&Datei"))->addAction(QStringLiteral("&Neu"));
        int exits = 0;
        f.grid->onExit = [&] { ++exits; };
        QVERIFY(f.grid->setCurrentCell(1, 1));
        f.type(QStringLiteral("ab"));
        QLineEdit* editor = f.editor();
        QVERIFY(editor);

        // An accelerator opens the menu; closing it goes back to the editor.
        QTest::keyClick(editor, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(exits, 0);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);   // leaves the menu bar
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QVERIFY(f.grid->isEditing());
        QCOMPARE(exits, 0);

        // Alt alone gives the menu bar the focus; a click on another
        // control from there is an exit.
        QTest::keyClick(editor, Qt::Key_Alt, Qt::AltModifier);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar));
        QCOMPARE(exits, 0);
        QVERIFY(f.grid->isEditing());
        f.other->setFocus(Qt::MouseFocusReason);
        QCOMPARE(exits, 1);
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->cell(1, 1), QStringLiteral("ab"));
    }

    void dialogWhileEditing_data()
    {
        QTest::addColumn<bool>("fileDialog");
        QTest::newRow("message box") << false;
        QTest::newRow("file dialog") << true;
    }

    void dialogWhileEditing()
    {
        // A command (here Ctrl+S) opens a dialog over a cell being edited:
        // no exit; afterwards typing goes on in the same editor.
        QFETCH(bool, fileDialog);
        TFixture f(4, 4, 0);
        int exits = 0;
        f.grid->onExit = [&] { ++exits; };
        auto* save = new QAction(QStringLiteral("Speichern"), &f.window);
        save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
        f.window.addAction(save);
        TQtUi ui;
        bool shown = false;
        connect(save, &QAction::triggered, this, [&] {
            QTimer::singleShot(50, [&] {
                shown = QApplication::activeModalWidget() != nullptr;
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    dialog->reject();
            });
            if (fileDialog)
                ui.fileDialog(TFileDialogSpec{});
            else
                ui.messageBox(TMessage{TMsgType::mtInformation, QStringLiteral("?"), mbOK, 0});
        });
        QVERIFY(f.grid->setCurrentCell(1, 1));
        f.type(QStringLiteral("ab"));
        QLineEdit* editor = f.editor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(shown);
        f.window.activateWindow();   // the window manager's part
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QCOMPARE(exits, 0);
        QVERIFY(f.grid->isEditing());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        f.type(QStringLiteral("c"));
        QCOMPARE(f.grid->cell(1, 1), QStringLiteral("abc"));
    }

    void reservedKeysDoNothingInTheEditor()
    {
        TFixture f(4, 4, 0);
        int triggered = 0;
        auto* selectAll = new QAction(QStringLiteral("Alles"), &f.window);
        selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
        auto* insert = new QAction(QStringLiteral("Einfügen"), &f.window);
        insert->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
        f.window.addAction(selectAll);
        f.window.addAction(insert);
        connect(selectAll, &QAction::triggered, this, [&] { ++triggered; });
        connect(insert, &QAction::triggered, this, [&] { ++triggered; });
        f.grid->setEditorReservedKeys({QKeySequence(Qt::CTRL | Qt::Key_A), QKeySequence(Qt::SHIFT | Qt::Key_Insert),
                                       QKeySequence(Qt::CTRL | Qt::Key_V)});
        QList<QPair<int, int>> keys;
        f.grid->onKeyDown = [&](int& k, Qt::KeyboardModifiers m) {
            if (!isModifierKey(k))
                keys.append({k, int(m)});
        };
        QApplication::clipboard()->setText(QStringLiteral("PASTE"));
        QVERIFY(f.grid->setCurrentCell(1, 1));

        // Not editing: the command's shortcut works.
        f.press(Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(triggered, 1);

        f.grid->beginEdit();
        QLineEdit* editor = f.editor();
        QVERIFY(editor);
        f.press(Qt::Key_End);   // nothing selected
        keys.clear();
        f.press(Qt::Key_A, Qt::ControlModifier);
        f.press(Qt::Key_Insert, Qt::ShiftModifier);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(triggered, 1);
        QCOMPARE(editor->text(), QStringLiteral("1/1"));
        QVERIFY(editor->selectedText().isEmpty());
        QCOMPARE(keys, (QList<QPair<int, int>>{{Qt::Key_A, Qt::ControlModifier},
                                                {Qt::Key_Insert, Qt::ShiftModifier},
                                                {Qt::Key_V, Qt::ControlModifier}}));
        QVERIFY(f.grid->isEditing());
        // Keys not reserved keep the editor's meaning.
        f.press(Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(editor->selectedText(), QStringLiteral("1/1"));
    }

    void rowSelect()
    {
        TFixture f(4, 5, 1);
        f.grid->setEditingAllowed(false);
        f.grid->setRowSelect(true);
        int dbl = 0;
        int asked = 0;
        f.grid->onDblClick = [&] { ++dbl; };
        f.grid->onGetEditText = [&](int, int, QString&) { ++asked; };
        QVERIFY(f.grid->setCurrentCell(1, 2));
        QModelIndexList selected = f.grid->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 3);   // the row's selectable cells
        for (const QModelIndex& i : selected)
            QCOMPARE(i.row(), 1);
        f.press(Qt::Key_Down);
        QCOMPARE(f.grid->row(), 3);
        f.press(Qt::Key_Return);
        f.type(QStringLiteral("x"));
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(asked, 0);
        f.click(2, 4);
        QCOMPARE(f.grid->row(), 4);
        QCOMPARE(f.grid->selectionModel()->selectedRows().size(), 1);
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(f.grid, 2, 1));
        QCOMPARE(dbl, 1);
        QVERIFY(!f.grid->isEditing());
        // Tab leaves the grid in row-select mode.
        f.press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.other));
    }

    void pressOnAFixedCell_data()
    {
        QTest::addColumn<bool>("rowSelect");
        QTest::newRow("row select: the row") << true;
        QTest::newRow("cells: nothing") << false;
    }

    void pressOnAFixedCell()
    {
        // In row-select mode a fixed cell belongs to its row: a press selects
        // the row, a double click acts on it.
        QFETCH(bool, rowSelect);
        TFixture f(4, 6, 1);
        f.grid->setRowSelect(rowSelect);
        int dblRow = -1;
        f.grid->onDblClick = [&] { dblRow = f.grid->row(); };
        QVERIFY(f.grid->setCurrentCell(2, 1));
        auto [pressed, at] = landing(f.grid, 0, 3);
        QVERIFY(pressed && pressed != f.grid->viewport() && f.grid->isAncestorOf(pressed));
        QTest::mouseClick(pressed, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(f.current(), rowSelect ? QPoint(2, 3) : QPoint(2, 1));
        auto [doubled, dAt] = landing(f.grid, 0, 4);
        QTest::mouseClick(doubled, Qt::LeftButton, Qt::NoModifier, dAt);
        QTest::mouseDClick(doubled, Qt::LeftButton, Qt::NoModifier, dAt);
        QCOMPARE(dblRow, rowSelect ? 4 : 1);
        QVERIFY(!f.grid->isEditing());
    }

    void doubleClickBelowTheRows_data()
    {
        QTest::addColumn<int>("col");
        QTest::newRow("fixed column") << 0;
        QTest::newRow("cell column") << 2;
    }

    void doubleClickBelowTheRows()
    {
        // Below the last row there is no row to act on.
        QFETCH(int, col);
        TFixture f(4, 6, 1);
        f.grid->setRowSelect(true);
        int dblRow = -1;
        f.grid->onDblClick = [&] { dblRow = f.grid->row(); };
        QVERIFY(f.grid->setCurrentCell(2, 3));
        auto [below, at] = landing(f.grid, col, 5, QPoint(0, 30));
        QVERIFY(below && f.grid->isAncestorOf(below));
        QTest::mouseClick(below, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(below, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(dblRow, -1);
        QCOMPARE(f.current(), QPoint(2, 3));
        // On the last row it acts.
        auto [last, lastAt] = landing(f.grid, col, 5);
        QTest::mouseClick(last, Qt::LeftButton, Qt::NoModifier, lastAt);
        QTest::mouseDClick(last, Qt::LeftButton, Qt::NoModifier, lastAt);
        QCOMPARE(dblRow, 5);
    }

    void refilledGridKeepsItsTopRow()
    {
        // Emptied and filled again, the grid shows the rows it showed, in
        // its fixed column too.
        TFixture f(4, 60, 1);
        f.grid->setTopRow(30);
        QCOMPARE(f.grid->topRow(), 30);
        f.grid->setRowCount(1);
        f.grid->setRowCount(60);
        f.grid->setTopRow(30);
        QCOMPARE(f.grid->topRow(), 30);
        auto [w, at] = landing(f.grid, 0, 30);
        auto* frozen = qobject_cast<QTableView*>(w->parentWidget());
        QVERIFY(frozen && frozen != f.grid);
        QCOMPARE(frozen->rowAt(at.y()) + f.grid->fixedRows(), 30);
    }

    void frozenColumnsStayVisible()
    {
        TFixture f(12, 5, 2);
        f.window.resize(300, 300);
        QTest::qWait(10);
        for (int c = 0; c < 12; ++c)
            f.grid->setColWidth(c, 80);
        QVERIFY(f.grid->setCurrentCell(11, 1));
        QVERIFY(f.grid->horizontalScrollBar()->value() > 0);
        QVERIFY(f.grid->setCurrentCell(2, 1));
        const QModelIndex index = f.grid->currentIndex();
        QVERIFY(f.grid->visualRect(index).left() >= 160);   // right of the two frozen columns
        QVERIFY(f.grid->visualRect(index).right() <= f.grid->viewport()->width());
    }



    void trailingColsShowWithTheLastEnterable_data()
    {
        QTest::addColumn<int>("trailing");
        QTest::addColumn<int>("colWidth");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("allShow");
        QTest::newRow("Right") << 1 << 80 << "Right" << true;
        QTest::newRow("Tab") << 1 << 80 << "Tab" << true;
        QTest::newRow("by code") << 1 << 80 << "code" << true;
        QTest::newRow("two columns, Right") << 2 << 80 << "Right" << true;
        QTest::newRow("too wide for both") << 1 << 250 << "Right" << false;
    }

    // Columns the veto never lets the cursor enter come into view when it
    // reaches the last column it may enter; the current cell stays in view
    // where not all fit.
    void trailingColsShowWithTheLastEnterable()
    {
        QFETCH(int, trailing);
        QFETCH(int, colWidth);
        QFETCH(QString, how);
        QFETCH(bool, allShow);
        TFixture f(11, 4, 0);
        f.window.resize(360, 300);
        QTest::qWait(10);
        for (int c = 0; c < 11; ++c)
            f.grid->setColWidth(c, colWidth);
        QCoreApplication::processEvents();
        const int last = 10 - trailing;
        f.grid->onSelectCell = [last](int col, int, bool& canSelect) { canSelect = col <= last; };
        f.grid->setTrailingCols(trailing);
        QCOMPARE(f.grid->trailingCols(), trailing);
        QVERIFY(f.grid->setCurrentCell(last - 1, 1));
        if (how == "Right")
            f.press(Qt::Key_Right);
        else if (how == "Tab")
            f.press(Qt::Key_Tab);
        else
            QVERIFY(f.grid->setCurrentCell(last, 1));
        QCOMPARE(f.current(), QPoint(last, 1));
        QCoreApplication::processEvents();
        const QRect vp = f.grid->viewport()->rect();
        const auto cellRect = [&](int col) { return f.grid->visualRect(f.grid->model()->index(0, col)); };
        const auto show = [&](const QRect& r) {
            return QStringLiteral("%1,%2 %3x%4 in %5x%6, scrolled %7")
                .arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height()).arg(vp.width()).arg(vp.height())
                .arg(f.grid->horizontalScrollBar()->value());
        };
        QVERIFY2(vp.contains(cellRect(last)), qPrintable(show(cellRect(last))));
        const QRect lastCol = cellRect(10);
        QVERIFY2(vp.contains(lastCol) == allShow, qPrintable(show(lastCol)));
        // The cursor goes no further.
        f.press(Qt::Key_Right);
        QCOMPARE(f.current(), QPoint(last, 1));
    }

    void currentCellScrolledIntoView_data()
    {
        QTest::addColumn<int>("fixedCols");
        QTest::addColumn<bool>("appendRow");
        QTest::newRow("Ctrl+End") << 0 << false;
        QTest::newRow("Ctrl+End, frozen column") << 1 << false;
        QTest::newRow("row appended, cursor onto it") << 0 << true;
        QTest::newRow("row appended, frozen column") << 1 << true;
    }

    void currentCellScrolledIntoView()
    {
        // However the cursor reaches a row, that row is in sight, also one
        // just appended.
        QFETCH(int, fixedCols);
        QFETCH(bool, appendRow);
        TFixture f(11, 2, fixedCols);
        f.grid->setDefaultRowHeight(24);
        QVERIFY(f.grid->setCurrentCell(fixedCols, 1));
        // The rows arrive after the grid was shown, as in an editor.
        f.grid->setRowCount(20001);
        QCoreApplication::processEvents();
        if (appendRow) {
            f.grid->setRowCount(20002);
            QVERIFY(f.grid->setCurrentCell(fixedCols, 20001));
        } else {
            f.press(Qt::Key_End, Qt::ControlModifier);
            QCOMPARE(f.current(), QPoint(10, 20000));
        }
        QCoreApplication::processEvents();
        const QRect cell = f.grid->visualRect(f.grid->currentIndex());
        QVERIFY2(f.grid->viewport()->rect().contains(cell),
                 qPrintable(QStringLiteral("cell %1,%2 %3x%4, viewport %5x%6")
                                .arg(cell.left()).arg(cell.top()).arg(cell.width()).arg(cell.height())
                                .arg(f.grid->viewport()->width()).arg(f.grid->viewport()->height())
                                + QStringLiteral(" h %1/%2").arg(f.grid->horizontalScrollBar()->value()).arg(f.grid->horizontalScrollBar()->maximum())));
    }

    void editedCellIsFramed_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("typing") << false;
        QTest::newRow("after a refused value") << true;
    }

    void editedCellIsFramed()
    {
        // The cell being edited stands out from the white cells around it.
        QFETCH(bool, refused);
        TFixture f(4, 4, 0);
        QVERIFY(f.grid->setCurrentCell(1, 2));
        f.type(QStringLiteral("falsch"));
        if (refused) {
            f.grid->onSelectCell = [&](int, int, bool& can) { can = false; };
            f.press(Qt::Key_Tab);
        }
        QVERIFY(f.grid->isEditing());
        QLineEdit* editor = f.editor();
        QVERIFY(editor);
        QCoreApplication::processEvents();
        const QImage image = editor->grab().toImage();
        const QColor base = editor->palette().color(QPalette::Base);
        const QColor edge = image.pixelColor(0, image.height() / 2);
        const QColor top = image.pixelColor(image.width() / 2, 0);
        QVERIFY2(edge != base && top != base, qPrintable(edge.name() + QLatin1Char(' ') + top.name()));
    }

    void hundredThousandRows()
    {
        TGridWidget grid;
        grid.resize(800, 600);
        grid.show();
        QElapsedTimer timer;
        timer.start();
        const int n = 100000;
        grid.setColCount(11);
        grid.setRowCount(n + 1);
        QStringList texts;
        for (int c = 0; c < 11; ++c)
            texts.append(QStringLiteral("Feld %1").arg(c));
        for (int r = 1; r <= n; ++r) {
            texts[0] = QString::number(r);
            grid.setRowTexts(r, texts);
        }
        QCoreApplication::processEvents();
        qInfo("filled %d rows of 11 cells in %lld ms", n, timer.elapsed());
        QCOMPARE(grid.rowCount(), n + 1);
        QCOMPARE(grid.cell(0, n), QString::number(n));
        QCOMPARE(grid.model()->rowCount(), n);

        // The same, told to the views at once.
        timer.restart();
        grid.beginUpdate();
        for (int r = 1; r <= n; ++r) {
            texts[0] = QString::number(n - r);
            grid.setRowTexts(r, texts);
        }
        grid.endUpdate();
        QCoreApplication::processEvents();
        qInfo("refilled in one update in %lld ms", timer.elapsed());
        QCOMPARE(grid.model()->index(n - 1, 0).data().toString(), QStringLiteral("0"));

        timer.restart();
        QVERIFY(grid.setCurrentCell(3, n));
        grid.setRowCount(0);
        qInfo("moved to the last row and emptied in %lld ms", timer.elapsed());
        QCOMPARE(grid.model()->rowCount(), 0);
    }
};

KESTRIN_TEST_MAIN(TestGridWidget)
#include "tst_gridwidget.moc"

#pragma once
// The string grid widget: a QTableView over a cell-text model of our own,
// with the events a record editor needs (select veto, edit text, keys before
// the grid's own navigation, focus lost) and a row-select mode for overviews.

#include "platform/UStringGrid.h"

#include <QPointer>
#include <QTableView>
#include <functional>

class QLineEdit;
class TGridModel;
class TGridDelegate;
class TGridSelectionModel;

class TGridWidget : public QTableView, public TStringGrid {
    Q_OBJECT

public:
    explicit TGridWidget(QWidget* parent = nullptr);
    ~TGridWidget() override;

    // TStringGrid
    int colCount() const override;
    void setColCount(int n) override;
    int rowCount() const override;
    void setRowCount(int n) override;
    int fixedRows() const override;          // 0 or 1: row 0 shows as the caption row
    void setFixedRows(int n) override;
    int fixedCols() const override;          // frozen, never selectable left columns
    void setFixedCols(int n) override;
    QString cell(int col, int row) const override;
    void setCell(int col, int row, const QString& text) override;
    void* object(int col, int row) const override;
    void setObject(int col, int row, void* object) override;
    void setRowTexts(int row, const QStringList& texts) override;
    int colWidth(int col) const override;
    void setColWidth(int col, int width) override;
    int clientWidth() const override;
    int gridLineWidth() const override;
    int textWidth(const QString& text) const override;
    // The least width of column col that shows its caption and each of its
    // texts uncut, in the fonts and margins in use.
    int fitWidth(int col) const;

    // Many cell writes at once (filling the grid): the views hear of them
    // at the matching endUpdate(), all together. Pairs nest.
    void beginUpdate();
    void endUpdate();

    // Current cell, in grid coordinates (row 0 is the caption row).
    int col() const;
    int row() const;
    // Moves the current cell through the same veto as the user's moves;
    // false when the veto refused it.
    bool setCurrentCell(int col, int row);
    bool setRow(int row) { return setCurrentCell(col(), row); }
    bool setCol(int col) { return setCurrentCell(col, row()); }
    // The last n columns, which the owner's select veto never lets the
    // cursor enter: they come into view with the column before them
    // whenever the cursor reaches it, as far as the viewport holds both.
    int trailingCols() const { return FTrailingCols; }
    void setTrailingCols(int n);
    // The first row in view below the caption row, in grid coordinates.
    int topRow() const;
    void setTopRow(int row);

    // In-place editing: Enter or F2 opens the editor on the current cell, as
    // does typing a character (which then replaces the text); Enter closes
    // it keeping the text, Esc closes it restoring the cell's former text.
    // Tab, Shift+Tab and the up and down keys move on, closing it; the left
    // and right keys, Home and End move only the text cursor.
    bool editingAllowed() const { return FEditingAllowed; }
    void setEditingAllowed(bool allowed);
    bool isEditing() const;                  // a cell editor is open
    void beginEdit();                        // opens the editor on the current cell
    void endEdit();                          // closes it, keeping the text in the cell

    // Whole-row selection, no editing: the overview grids. A press on any
    // cell of a row, a fixed one too, selects the row; a text cut by its
    // column shows whole in a tool tip.
    void setRowSelect(bool on);
    bool rowSelect() const { return FRowSelect; }

    // Height of every row in pixels.
    int defaultRowHeight() const;
    void setDefaultRowHeight(int height);

    // Events. Each is optional.
    // The grid opens its editor on (col,row) and asks for the text to edit.
    std::function<void(int col, int row, QString& value)> onGetEditText;
    // The edited text changed; the grid keeps it in the cell itself.
    std::function<void(int col, int row, const QString& value)> onSetEditText;
    // The current cell is about to move to (col,row), by key, mouse or code.
    std::function<void(int col, int row, bool& canSelect)> onSelectCell;
    // The current cell moved to (col,row): every move, also those the grid
    // makes itself when rows or columns change. A refused move is none.
    std::function<void(int col, int row)> onCurrentChanged;
    // A key was pressed in the grid or in its cell editor, before the grid's
    // own handling. Setting key to 0 swallows it. key is a Qt::Key; Shift+Tab
    // arrives as Qt::Key_Tab with Qt::ShiftModifier, and the keypad modifier
    // is left out.
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> onKeyDown;
    // The focus went to another control of the program (not into the grid's
    // own cell editor, and not because a dialog, menu or window took over).
    std::function<void()> onExit;
    // Double click on a cell (overview grids).
    std::function<void()> onDblClick;
    // The grid received the focus.
    std::function<void()> onEnter;

    // Keys that the window's commands own while a cell is being edited
    // (for example Ctrl+A, Shift+Ins): the cell editor neither acts on them
    // nor lets them start a command; they still reach onKeyDown.
    void setEditorReservedKeys(const QList<QKeySequence>& keys);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    using QTableView::edit;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    friend class TGridDelegate;
    friend class TGridSelectionModel;

    QModelIndex indexOf(int col, int row) const;
    bool selectable(int col, int row) const;
    bool askSelect(int col, int row);
    void placeCurrent(int col, int row);     // without the veto
    void setCurrentPos(int col, int row);    // FCol, FRow; tells onCurrentChanged
    void structureChanged();
    void layOutNow();                        // the delayed layout, at once
    QPoint target(CursorAction action, Qt::KeyboardModifiers modifiers) const;
    bool moveBy(CursorAction action, Qt::KeyboardModifiers modifiers);
    bool openEditor(QEvent* event);
    void cancelEdit();
    bool isReserved(const QKeyEvent* event) const;
    bool handleEditorEvent(QEvent* event);
    void editorCreated(QLineEdit* editor, const QModelIndex& index);
    void editorReleased(QWidget* editor);
    void editorTextEdited(const QString& text);
    bool insideGrid(const QWidget* w) const;
    void focusGone(Qt::FocusReason reason);
    void focusCame();
    void updateFrozen();

    TGridModel* FModel = nullptr;
    TGridDelegate* FDelegate = nullptr;
    TGridSelectionModel* FSelection = nullptr;
    QTableView* FFrozen = nullptr;                   // overlay showing the fixed left columns
    bool FEditingAllowed = true;
    bool FRowSelect = false;
    int FTrailingCols = 0;
    QList<QKeySequence> FReservedKeys;

    int FCol = 0;                            // current cell, grid coordinates
    int FRow = 0;
    int FScrollSync = 0;                     // > 0: the grid moves the frozen columns
    int FNoVeto = 0;                         // > 0: moves made by the grid's own bookkeeping
    bool FFocusInside = false;
    QMetaObject::Connection FFocusWatch;

    QPointer<QLineEdit> FEditor;             // the open cell editor
    int FEditCol = -1;
    int FEditRow = -1;
    QString FEditOriginal;                   // cell text to restore on Esc
    QString FOpeningText;                    // text the editor opens with
    bool FOpening = false;
    const QKeyEvent* FOpeningKey = nullptr;  // the typed key that opens the editor
};

#include "platform/UGridWidget.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace {

constexpr int kDefaultColWidth = 64;

int normalizedKey(const QKeyEvent* event, Qt::KeyboardModifiers& modifiers)
{
    modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Backtab) {
        modifiers |= Qt::ShiftModifier;
        return Qt::Key_Tab;
    }
    return event->key();
}

} // namespace

// The cells, row-major, in grid coordinates. The Qt rows are the grid rows
// below the fixed row; the fixed row shows as the horizontal header.
class TGridModel : public QAbstractTableModel {
public:
    struct TCell {
        QString text;
        void* object = nullptr;
    };

    using QAbstractTableModel::QAbstractTableModel;
    // The grid brackets its structure changes itself.
    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveColumns;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveColumns;
    using QAbstractTableModel::endRemoveRows;
    using QAbstractTableModel::endResetModel;

    int cols = 0;
    int rows = 0;
    int fixedRows = 1;
    int fixedCols = 0;
    bool editable = true;
    std::vector<TCell> cells;

    bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < cols && row < rows; }
    TCell& at(int col, int row) { return cells[size_t(row) * size_t(cols) + size_t(col)]; }
    const TCell& at(int col, int row) const { return cells[size_t(row) * size_t(cols) + size_t(col)]; }

    QModelIndex indexOf(int col, int row) const
    {
        return inside(col, row) && row >= fixedRows ? index(row - fixedRows, col) : QModelIndex();
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : std::max(rows - fixedRows, 0);
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : cols;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QVariant();
        return at(index.column(), index.row() + fixedRows).text;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && fixedRows > 0
            && inside(section, 0))
            return at(section, 0).text;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        if (index.column() < fixedCols)
            return Qt::ItemIsEnabled;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable)
            f |= Qt::ItemIsEditable;
        return f;
    }

    // Keeps the cells that stay inside; the caller brackets it with the
    // model's begin/end notifications.
    void reshape(int newCols, int newRows)
    {
        if (newCols == cols) {
            cells.resize(size_t(newCols) * size_t(newRows));
        } else {
            std::vector<TCell> next(size_t(newCols) * size_t(newRows));
            const int keepRows = std::min(rows, newRows);
            const int keepCols = std::min(cols, newCols);
            for (int r = 0; r < keepRows; ++r)
                for (int c = 0; c < keepCols; ++c)
                    next[size_t(r) * size_t(newCols) + size_t(c)] = std::move(at(c, r));
            cells = std::move(next);
        }
        cols = newCols;
        rows = newRows;
    }

    int updating = 0;          // > 0: changes are told at the end, at once
    bool changedMeanwhile = false;

    // Tells the views that cells (fromCol..toCol, row) changed.
    void cellsChanged(int fromCol, int toCol, int row)
    {
        if (fromCol > toCol)
            return;
        if (updating > 0) {
            changedMeanwhile = true;
            return;
        }
        if (row < fixedRows)
            emit headerDataChanged(Qt::Horizontal, fromCol, toCol);
        else
            emit dataChanged(index(row - fixedRows, fromCol), index(row - fixedRows, toCol));
    }

    void allChanged()
    {
        allHeadersChanged();
        if (rowCount() > 0 && cols > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, cols - 1));
    }

    void allHeadersChanged()
    {
        if (cols > 0)
            emit headerDataChanged(Qt::Horizontal, 0, cols - 1);
    }
};

// Every change of the current cell passes here: keys, mouse, code. Moves the
// grid makes for its own bookkeeping (rows removed, counts changed) are not
// asked.
class TGridSelectionModel : public QItemSelectionModel {
public:
    TGridSelectionModel(QAbstractItemModel* model, TGridWidget* grid)
        : QItemSelectionModel(model, grid), FGrid(grid) {}

    TGridWidget* FGrid;

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override
    {
        if (!FGrid || FGrid->FNoVeto > 0 || !index.isValid() || index == currentIndex()) {
            QItemSelectionModel::setCurrentIndex(index, command);
            return;
        }
        const QPersistentModelIndex target(index);
        if (!FGrid->askSelect(index.column(), index.row() + FGrid->FModel->fixedRows))
            return;
        if (target.isValid())
            QItemSelectionModel::setCurrentIndex(target, command);
    }
};

// A frameless line editor per cell; fixed columns in the caption colours.
// The grid handles every event of the editor itself.
class TGridDelegate : public QStyledItemDelegate {
public:
    TGridDelegate(TGridWidget* grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    TGridWidget* FGrid;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        // A cell being edited is always framed, also when it keeps its
        // editor after a refused value.
        editor->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid palette(highlight); padding: 0px; }"));
        if (FGrid)
            FGrid->editorCreated(editor, index);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return;
        if (FGrid && FGrid->FOpening) {
            FGrid->FOpening = false;
            line->setText(FGrid->FOpeningText);
            return;
        }
        // Code changed the edited cell: show it, but leave the cursor alone
        // when the text is what the editor already holds.
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text)
            line->setText(text);
    }

    // The editor writes into its cell while the user types.
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (FGrid)
            FGrid->editorReleased(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!FGrid || index.column() >= FGrid->FModel->fixedCols) {
            QStyleOptionViewItem opt(option);
            opt.state &= ~QStyle::State_HasFocus;
            QStyledItemDelegate::paint(painter, opt, index);
            return;
        }
        // Fixed cells: the caption colours, never drawn as selected.
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        opt.backgroundBrush = opt.palette.button();
        opt.palette.setColor(QPalette::Text, opt.palette.color(QPalette::ButtonText));
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }

    // In row-select mode a text cut by its column shows whole in a tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (!FGrid || !FGrid->FRowSelect || event->type() != QEvent::ToolTip || !view)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const bool cut = index.isValid() && sizeHint(option, index).width() > option.rect.width();
        QToolTip::showText(event->globalPos(), cut ? index.data().toString() : QString(), view->viewport(), option.rect);
        event->setAccepted(cut);
        return true;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return FGrid && FGrid->handleEditorEvent(event);
    }
};

// ---------------------------------------------------------------------------

TGridWidget::TGridWidget(QWidget* parent)
    : QTableView(parent)
{
    FModel = new TGridModel(this);
    FDelegate = new TGridDelegate(this);
    setModel(FModel);
    FSelection = new TGridSelectionModel(FModel, this);
    setSelectionModel(FSelection);
    setItemDelegate(FDelegate);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* h = horizontalHeader();
    h->setSectionResizeMode(QHeaderView::Fixed);
    h->setSectionsClickable(false);
    h->setSectionsMovable(false);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    h->setMinimumSectionSize(0);
    h->setDefaultSectionSize(kDefaultColWidth);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QHeaderView* v = verticalHeader();
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->hide();

    FFrozen = new QTableView(this);
    FFrozen->setModel(FModel);
    FFrozen->setSelectionModel(FSelection);
    FFrozen->setItemDelegate(FDelegate);
    FFrozen->setFocusPolicy(Qt::NoFocus);
    FFrozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FFrozen->setSelectionMode(QAbstractItemView::NoSelection);
    FFrozen->setFrameShape(QFrame::NoFrame);
    FFrozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFrozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFrozen->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    FFrozen->setWordWrap(false);
    FFrozen->setCornerButtonEnabled(false);
    FFrozen->verticalHeader()->hide();
    FFrozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* fh = FFrozen->horizontalHeader();
    fh->setSectionResizeMode(QHeaderView::Fixed);
    fh->setSectionsClickable(false);
    fh->setHighlightSections(false);
    fh->setMinimumSectionSize(0);
    fh->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FFrozen->hide();
    // The frozen columns follow the grid's rows. Their view lays itself out
    // on its own, and while hidden not at all: a value it clamps to its own
    // older range must not pull the grid back. Only the user scrolling the
    // visible frozen columns moves the grid.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        ++FScrollSync;
        FFrozen->verticalScrollBar()->setValue(value);
        --FScrollSync;
    });
    connect(FFrozen->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (FScrollSync == 0 && FFrozen->isVisible() && FFrozen->verticalScrollBar()->maximum() == verticalScrollBar()->maximum())
            verticalScrollBar()->setValue(value);
    });
    connect(h, &QHeaderView::sectionResized, this, [this](int, int, int) { updateFrozen(); });
    FFrozen->viewport()->installEventFilter(this);
    // The menu bar keeps the focus it took (see focusGone) when the user
    // clicks another control from there: that is an exit too.
    FFocusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (FFocusInside && now && !insideGrid(now) && now->window() == window()
            && !qobject_cast<QMenuBar*>(now))
            focusGone(Qt::OtherFocusReason);
    });

    setDefaultRowHeight(std::max(24, fontMetrics().height() + 8));
    FModel->fixedRows = 1;
    setColCount(5);
    setRowCount(5);
}

TGridWidget::~TGridWidget()
{
    disconnect(FFocusWatch);
    onGetEditText = nullptr;
    onSetEditText = nullptr;
    onSelectCell = nullptr;
    onCurrentChanged = nullptr;
    onKeyDown = nullptr;
    onExit = nullptr;
    onDblClick = nullptr;
    onEnter = nullptr;
    FDelegate->FGrid = nullptr;
    FSelection->FGrid = nullptr;
    if (FEditor) {
        FEditor->removeEventFilter(FDelegate);
        delete FEditor.data();
    }
}

// --- cells ------------------------------------------------------------------

int TGridWidget::colCount() const
{
    return FModel->cols;
}

int TGridWidget::rowCount() const
{
    return FModel->rows;
}

int TGridWidget::fixedRows() const
{
    return FModel->fixedRows;
}

int TGridWidget::fixedCols() const
{
    return FModel->fixedCols;
}

void TGridWidget::setRowCount(int n)
{
    n = std::max(n, 0);
    if (n == FModel->rows)
        return;
    if (FEditor && FEditRow >= n)
        endEdit();   // before its cell goes, so the focus stays in the grid
    const int fixed = FModel->fixedRows;
    const int oldQt = std::max(FModel->rows - fixed, 0);
    const int newQt = std::max(n - fixed, 0);
    ++FNoVeto;
    if (newQt > oldQt) {
        FModel->beginInsertRows(QModelIndex(), oldQt, newQt - 1);
        FModel->reshape(FModel->cols, n);
        FModel->endInsertRows();
    } else if (newQt < oldQt) {
        FModel->beginRemoveRows(QModelIndex(), newQt, oldQt - 1);
        FModel->reshape(FModel->cols, n);
        FModel->endRemoveRows();
    } else {
        FModel->reshape(FModel->cols, n);
    }
    if (fixed > 0)
        FModel->allHeadersChanged();
    --FNoVeto;
    structureChanged();
}

void TGridWidget::setColCount(int n)
{
    n = std::max(n, 0);
    const int old = FModel->cols;
    if (n == old)
        return;
    if (FEditor && FEditCol >= n)
        endEdit();
    ++FNoVeto;
    if (n > old) {
        FModel->beginInsertColumns(QModelIndex(), old, n - 1);
        FModel->reshape(n, FModel->rows);
        FModel->endInsertColumns();
    } else {
        FModel->beginRemoveColumns(QModelIndex(), n, old - 1);
        FModel->reshape(n, FModel->rows);
        FModel->endRemoveColumns();
    }
    FModel->fixedCols = std::min(FModel->fixedCols, n);
    --FNoVeto;
    structureChanged();
}

void TGridWidget::setFixedRows(int n)
{
    n = std::clamp(n, 0, 1);
    if (n == FModel->fixedRows)
        return;
    endEdit();
    QList<int> widths;
    for (int c = 0; c < FModel->cols; ++c)
        widths.append(colWidth(c));
    ++FNoVeto;
    FModel->beginResetModel();
    FModel->fixedRows = n;
    FModel->endResetModel();
    for (int c = 0; c < widths.size(); ++c)
        horizontalHeader()->resizeSection(c, widths[c]);
    horizontalHeader()->setVisible(n > 0);
    --FNoVeto;
    structureChanged();
}

void TGridWidget::setFixedCols(int n)
{
    n = std::clamp(n, 0, FModel->cols);
    if (n == FModel->fixedCols)
        return;
    FModel->fixedCols = n;
    viewport()->update();
    structureChanged();
}

QString TGridWidget::cell(int col, int row) const
{
    return FModel->inside(col, row) ? FModel->at(col, row).text : QString();
}

void TGridWidget::setCell(int col, int row, const QString& text)
{
    if (!FModel->inside(col, row))
        return;
    FModel->at(col, row).text = text;
    if (FEditor && col == FEditCol && row == FEditRow)
        FEditOriginal = text;
    FModel->cellsChanged(col, col, row);
}

void TGridWidget::beginUpdate()
{
    ++FModel->updating;
}

void TGridWidget::endUpdate()
{
    if (FModel->updating == 0 || --FModel->updating > 0)
        return;
    if (FModel->changedMeanwhile) {
        FModel->changedMeanwhile = false;
        FModel->allChanged();
    }
}

void* TGridWidget::object(int col, int row) const
{
    return FModel->inside(col, row) ? FModel->at(col, row).object : nullptr;
}

void TGridWidget::setObject(int col, int row, void* object)
{
    if (FModel->inside(col, row))
        FModel->at(col, row).object = object;
}

void TGridWidget::setRowTexts(int row, const QStringList& texts)
{
    if (row < 0 || row >= FModel->rows)
        return;
    const int n = std::min<int>(FModel->cols, int(texts.size()));
    for (int c = 0; c < n; ++c)
        FModel->at(c, row).text = texts.at(c);
    if (FEditor && row == FEditRow && FEditCol < n)
        FEditOriginal = texts.at(FEditCol);
    FModel->cellsChanged(0, n - 1, row);
}

int TGridWidget::colWidth(int col) const
{
    return col >= 0 && col < FModel->cols ? horizontalHeader()->sectionSize(col) : 0;
}

void TGridWidget::setColWidth(int col, int width)
{
    if (col >= 0 && col < FModel->cols)
        horizontalHeader()->resizeSection(col, std::max(width, 0));
}

int TGridWidget::clientWidth() const
{
    return viewport()->width();
}

int TGridWidget::gridLineWidth() const
{
    return 1;
}

int TGridWidget::textWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

int TGridWidget::fitWidth(int col) const
{
    if (col < 0 || col >= FModel->cols)
        return 0;
    int width = 0;
    if (FModel->fixedRows > 0)
        width = horizontalHeader()->sectionSizeHint(col);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int rows = FModel->rows - FModel->fixedRows;
    for (int r = 0; r < rows; ++r) {
        const QModelIndex index = FModel->index(r, col);
        width = std::max(width, itemDelegate()->sizeHint(option, index).width());
    }
    return width + (showGrid() ? gridLineWidth() : 0);
}

int TGridWidget::defaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void TGridWidget::setDefaultRowHeight(int height)
{
    height = std::max(height, 1);
    for (QHeaderView* v : {verticalHeader(), FFrozen->verticalHeader()}) {
        v->setMinimumSectionSize(std::min(height, v->minimumSectionSize()));
        v->setDefaultSectionSize(height);
    }
    updateFrozen();
}

// --- current cell -----------------------------------------------------------

int TGridWidget::col() const
{
    return FCol;
}

int TGridWidget::row() const
{
    return FRow;
}

QModelIndex TGridWidget::indexOf(int col, int row) const
{
    return FModel->indexOf(col, row);
}

bool TGridWidget::selectable(int col, int row) const
{
    return FModel->inside(col, row) && col >= FModel->fixedCols && row >= FModel->fixedRows;
}

bool TGridWidget::askSelect(int col, int row)
{
    if (!selectable(col, row))
        return false;
    bool canSelect = true;
    if (onSelectCell)
        onSelectCell(col, row, canSelect);
    // A refused mouse click took the focus from an open editor: give it back.
    if (!canSelect && FEditor && hasFocus())
        FEditor->setFocus(Qt::OtherFocusReason);
    return canSelect;
}

static QItemSelectionModel::SelectionFlags selectFlags(bool rowSelect)
{
    QItemSelectionModel::SelectionFlags f = QItemSelectionModel::ClearAndSelect;
    if (rowSelect)
        f |= QItemSelectionModel::Rows;
    return f;
}

bool TGridWidget::setCurrentCell(int col, int row)
{
    if (!selectable(col, row))
        return false;
    const QModelIndex target = indexOf(col, row);
    if (col == FCol && row == FRow && currentIndex() == target)
        return true;
    FSelection->setCurrentIndex(target, selectFlags(FRowSelect));
    return FCol == col && FRow == row && currentIndex() == target;
}

void TGridWidget::placeCurrent(int col, int row)
{
    setCurrentPos(col, row);
    const QModelIndex target = indexOf(col, row);
    if (!target.isValid() || target == currentIndex())
        return;
    ++FNoVeto;
    FSelection->setCurrentIndex(target, selectFlags(FRowSelect));
    --FNoVeto;
}

// After counts changed: the current cell stays where it was as far as the
// grid still reaches, and never on a fixed cell.
void TGridWidget::structureChanged()
{
    const int c = std::clamp(FCol, FModel->fixedCols, std::max(FModel->fixedCols, FModel->cols - 1));
    const int r = std::clamp(FRow, FModel->fixedRows, std::max(FModel->fixedRows, FModel->rows - 1));
    placeCurrent(c, r);
    if (currentIndex().isValid() && !selectionModel()->isSelected(currentIndex()))
        FSelection->select(currentIndex(), selectFlags(FRowSelect));
    updateFrozen();
}

void TGridWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (current.isValid())
        setCurrentPos(current.column(), current.row() + FModel->fixedRows);
    QTableView::currentChanged(current, previous);
}

// Every change of the current cell ends here.
void TGridWidget::setCurrentPos(int col, int row)
{
    if (col == FCol && row == FRow)
        return;
    FCol = col;
    FRow = row;
    if (onCurrentChanged)
        onCurrentChanged(col, row);
}

void TGridWidget::setSelection(const QRect&, QItemSelectionModel::SelectionFlags)
{
    // The selection is the current cell (or its row), whatever was dragged.
    if (currentIndex().isValid())
        FSelection->select(currentIndex(), selectFlags(FRowSelect));
}

QPoint TGridWidget::target(CursorAction action, Qt::KeyboardModifiers modifiers) const
{
    const int c0 = FModel->fixedCols;
    const int c1 = FModel->cols - 1;
    const int r0 = FModel->fixedRows;
    const int r1 = FModel->rows - 1;
    if (c0 > c1 || r0 > r1)
        return QPoint(-1, -1);
    int c = std::clamp(FCol, c0, c1);
    int r = std::clamp(FRow, r0, r1);
    const bool ctrl = modifiers & Qt::ControlModifier;
    const int page = std::max(1, viewport()->height() / std::max(1, defaultRowHeight()));
    switch (action) {
    case MoveUp: r = std::max(r0, r - 1); break;
    case MoveDown: r = std::min(r1, r + 1); break;
    case MoveLeft:
        if (!FRowSelect)
            c = std::max(c0, c - 1);
        break;
    case MoveRight:
        if (!FRowSelect)
            c = std::min(c1, c + 1);
        break;
    case MovePageUp: r = std::max(r0, r - page); break;
    case MovePageDown: r = std::min(r1, r + page); break;
    case MoveHome:
        if (FRowSelect) {
            r = r0;
        } else {
            c = c0;
            if (ctrl)
                r = r0;
        }
        break;
    case MoveEnd:
        if (FRowSelect) {
            r = r1;
        } else {
            c = c1;
            if (ctrl)
                r = r1;
        }
        break;
    case MoveNext:
        if (c < c1) {
            ++c;
        } else {
            c = c0;
            r = r < r1 ? r + 1 : r0;
        }
        break;
    case MovePrevious:
        if (c > c0) {
            --c;
        } else {
            c = c1;
            r = r > r0 ? r - 1 : r1;
        }
        break;
    }
    return QPoint(c, r);
}

QModelIndex TGridWidget::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QPoint t = target(action, modifiers);
    return indexOf(t.x(), t.y());
}

bool TGridWidget::moveBy(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QPoint t = target(action, modifiers);
    if (t.x() < 0)
        return false;
    return setCurrentCell(t.x(), t.y());
}

void TGridWidget::layOutNow()
{
    // Rows just added are not yet in the scroll range: lay them out first,
    // so that the cursor can reach them.
    executeDelayedItemsLayout();
    // A scroll bar that the new range needs appears through a queued call;
    // the viewport it narrows is the one to scroll in.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

int TGridWidget::topRow() const
{
    return std::max(rowAt(0), 0) + FModel->fixedRows;
}

void TGridWidget::setTopRow(int row)
{
    layOutNow();
    // One scroll step per row.
    verticalScrollBar()->setValue(row - FModel->fixedRows);
}

void TGridWidget::setTrailingCols(int n)
{
    FTrailingCols = std::max(0, n);
}

void TGridWidget::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    layOutNow();
    // The columns the cursor never enters show with the last one it does;
    // the cell itself stays in view when not all of them fit.
    const int last = FModel->cols - 1;
    if (index.isValid() && FTrailingCols > 0 && index.column() == last - FTrailingCols)
        QTableView::scrollTo(index.siblingAtColumn(last), hint);
    QTableView::scrollTo(index, hint);
    // Keep the cell out from under the frozen columns.
    const int fixed = FModel->fixedCols;
    if (!index.isValid() || fixed == 0 || index.column() < fixed)
        return;
    int frozenWidth = 0;
    for (int c = 0; c < fixed; ++c)
        frozenWidth += columnWidth(c);
    const QRect r = visualRect(index);
    if (r.left() < frozenWidth)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozenWidth - r.left()));
}

// --- editing ----------------------------------------------------------------

void TGridWidget::setEditingAllowed(bool allowed)
{
    FEditingAllowed = allowed;
    FModel->editable = FEditingAllowed && !FRowSelect;
    if (!FModel->editable)
        endEdit();
}

void TGridWidget::setRowSelect(bool on)
{
    FRowSelect = on;
    FModel->editable = FEditingAllowed && !FRowSelect;
    if (on)
        endEdit();
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setTabKeyNavigation(!on);
    if (currentIndex().isValid())
        FSelection->select(currentIndex(), selectFlags(FRowSelect));
    viewport()->update();
}

bool TGridWidget::isEditing() const
{
    return !FEditor.isNull();
}

bool TGridWidget::openEditor(QEvent* event)
{
    const QModelIndex index = indexOf(FCol, FRow);
    if (!index.isValid())
        return false;
    return edit(index, event ? QAbstractItemView::AnyKeyPressed : QAbstractItemView::AllEditTriggers, event);
}

void TGridWidget::beginEdit()
{
    openEditor(nullptr);
}

bool TGridWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!index.isValid())
        return false;
    const int c = index.column();
    const int r = index.row() + FModel->fixedRows;
    if (!FEditingAllowed || FRowSelect || !selectable(c, r))
        return false;
    if (isEditing() || trigger == QAbstractItemView::SelectedClicked)
        return QTableView::edit(index, trigger, event);
    if (trigger != QAbstractItemView::AllEditTriggers && !(editTriggers() & trigger))
        return false;
    // Only the current cell opens an editor (a refused click must not edit).
    if (c != FCol || r != FRow)
        return false;
    QString value = cell(c, r);
    if (onGetEditText)
        onGetEditText(c, r, value);
    FOpeningText = value;
    FOpening = true;
    const bool opened = QTableView::edit(index, trigger, event);
    FOpening = false;
    return opened;
}

void TGridWidget::endEdit()
{
    if (QWidget* editor = FEditor.data())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TGridWidget::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // No longer editing before the focus comes back to the grid.
    editorReleased(editor);
    QTableView::closeEditor(editor, hint);
}

void TGridWidget::cancelEdit()
{
    if (!FEditor)
        return;
    const int c = FEditCol;
    const int r = FEditRow;
    const QString original = FEditOriginal;
    endEdit();
    if (FModel->inside(c, r) && FModel->at(c, r).text != original) {
        FModel->at(c, r).text = original;
        FModel->cellsChanged(c, c, r);
    }
}

void TGridWidget::editorCreated(QLineEdit* editor, const QModelIndex& index)
{
    FEditor = editor;
    FEditCol = index.column();
    FEditRow = index.row() + FModel->fixedRows;
    FEditOriginal = cell(FEditCol, FEditRow);
    connect(editor, &QLineEdit::textEdited, this, &TGridWidget::editorTextEdited);
}

void TGridWidget::editorReleased(QWidget* editor)
{
    if (editor != FEditor.data())
        return;
    FEditor = nullptr;
    FEditCol = -1;
    FEditRow = -1;
}

void TGridWidget::editorTextEdited(const QString& text)
{
    const int c = FEditCol;
    const int r = FEditRow;
    if (!FModel->inside(c, r))
        return;
    FModel->at(c, r).text = text;
    FModel->cellsChanged(c, c, r);
    if (onSetEditText)
        onSetEditText(c, r, text);
}

void TGridWidget::setEditorReservedKeys(const QList<QKeySequence>& keys)
{
    FReservedKeys = keys;
}

bool TGridWidget::isReserved(const QKeyEvent* event) const
{
    if (FReservedKeys.isEmpty())
        return false;
    Qt::KeyboardModifiers modifiers;
    const int key = normalizedKey(event, modifiers);
    const QKeyCombination pressed(modifiers, Qt::Key(key));
    for (const QKeySequence& s : FReservedKeys)
        if (s.count() == 1 && s[0] == pressed)
            return true;
    return false;
}

// Everything the cell editor receives passes here first.
bool TGridWidget::handleEditorEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto* k = static_cast<QKeyEvent*>(event);
        if (isReserved(k)) {
            k->accept();   // a key press for us, not a shortcut for a command
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(event);
        Qt::KeyboardModifiers modifiers;
        int key = normalizedKey(k, modifiers);
        const bool reserved = isReserved(k);
        // The key that opened the editor was told in the grid already.
        if (k == FOpeningKey)
            return false;
        if (onKeyDown) {
            onKeyDown(key, modifiers);
            if (key == 0)
                return true;
        }
        if (!isEditing() || reserved)
            return true;
        const bool plain = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        switch (key) {
        case Qt::Key_Tab:
            if (!plain)
                return false;
            moveBy(modifiers & Qt::ShiftModifier ? MovePrevious : MoveNext, modifiers);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            endEdit();
            return true;
        case Qt::Key_Escape:
            cancelEdit();
            return true;
        case Qt::Key_Up: moveBy(MoveUp, modifiers); return true;
        case Qt::Key_Down: moveBy(MoveDown, modifiers); return true;
        case Qt::Key_PageUp: moveBy(MovePageUp, modifiers); return true;
        case Qt::Key_PageDown: moveBy(MovePageDown, modifiers); return true;
        default:
            return false;   // the editor's own: text, cursor left/right, Home, End
        }
    }
    case QEvent::FocusOut:
        if (!insideGrid(QApplication::focusWidget()))
            focusGone(static_cast<QFocusEvent*>(event)->reason());
        return false;
    case QEvent::FocusIn:
        focusCame();
        return false;
    default:
        return false;
    }
}

// --- keys, mouse, focus -----------------------------------------------------

bool TGridWidget::event(QEvent* event)
{
    // Tab and Shift+Tab move between cells (with their modifiers intact);
    // in row-select mode they move the focus on.
    if (event->type() == QEvent::KeyPress && !FRowSelect) {
        auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab)
            && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(k);
            return true;
        }
    }
    return QTableView::event(event);
}

void TGridWidget::keyPressEvent(QKeyEvent* event)
{
    // While a cell is edited, keys belong to its editor (which passed them to
    // onKeyDown already); what the editor leaves goes on to the window.
    if (isEditing()) {
        event->ignore();
        return;
    }
    Qt::KeyboardModifiers modifiers;
    int key = normalizedKey(event, modifiers);
    if (onKeyDown) {
        onKeyDown(key, modifiers);
        if (key == 0) {
            event->accept();
            return;
        }
    }
    event->accept();
    switch (key) {
    case Qt::Key_Up: moveBy(MoveUp, modifiers); return;
    case Qt::Key_Down: moveBy(MoveDown, modifiers); return;
    case Qt::Key_Left: moveBy(MoveLeft, modifiers); return;
    case Qt::Key_Right: moveBy(MoveRight, modifiers); return;
    case Qt::Key_PageUp: moveBy(MovePageUp, modifiers); return;
    case Qt::Key_PageDown: moveBy(MovePageDown, modifiers); return;
    case Qt::Key_Home: moveBy(MoveHome, modifiers); return;
    case Qt::Key_End: moveBy(MoveEnd, modifiers); return;
    case Qt::Key_Tab:
        if (!FRowSelect && !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
            moveBy(modifiers & Qt::ShiftModifier ? MovePrevious : MoveNext, modifiers);
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        openEditor(nullptr);
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()
        && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        // The key goes on into the new editor and replaces its text there.
        const QScopedValueRollback<const QKeyEvent*> opening(FOpeningKey, event);
        if (openEditor(event))
            return;
    }
    event->ignore();
}

void TGridWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    // Beside the cells there is nothing to act on.
    if (event->button() == Qt::LeftButton && onDblClick && indexAt(event->position().toPoint()).isValid())
        onDblClick();
}

bool TGridWidget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == FFrozen->viewport() && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int r = FFrozen->rowAt(mouse->position().toPoint().y());
        // A whole row is the selection: its fixed cells select it as well.
        if (FRowSelect && r >= 0)
            setCurrentCell(std::max(FCol, FModel->fixedCols), r + FModel->fixedRows);
        if (type == QEvent::MouseButtonPress)
            return FRowSelect;
        // Below the rows there is nothing to act on.
        if (mouse->button() == Qt::LeftButton && onDblClick && r >= 0)
            onDblClick();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool TGridWidget::insideGrid(const QWidget* w) const
{
    return w && (w == this || isAncestorOf(w));
}

void TGridWidget::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    focusCame();
    // A click beside the cells while a cell is edited: typing goes on there.
    if (FEditor)
        FEditor->setFocus(Qt::OtherFocusReason);
}

void TGridWidget::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    if (!insideGrid(QApplication::focusWidget()))
        focusGone(event->reason());
}

void TGridWidget::focusCame()
{
    if (FFocusInside)
        return;
    FFocusInside = true;
    if (onEnter)
        onEnter();
}

// A dialog, menu or other window taking over is no exit: the focus comes
// back to where it was. The menu bar takes the focus for its keyboard
// navigation (Alt, or an accelerator that opens a menu).
void TGridWidget::focusGone(Qt::FocusReason reason)
{
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
        || reason == Qt::MenuBarFocusReason)
        return;
    if (!FFocusInside)
        return;
    FFocusInside = false;
    endEdit();
    if (onExit)
        onExit();
}

// --- layout -----------------------------------------------------------------

void TGridWidget::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    updateFrozen();
}

void TGridWidget::updateGeometries()
{
    QTableView::updateGeometries();
    updateFrozen();
}

void TGridWidget::updateFrozen()
{
    if (!FFrozen)
        return;
    const int fixed = FModel->fixedCols;
    if (fixed == 0 || FModel->cols == 0) {
        FFrozen->hide();
        return;
    }
    int width = 0;
    for (int c = 0; c < FModel->cols; ++c) {
        FFrozen->setColumnHidden(c, c >= fixed);
        if (c < fixed) {
            FFrozen->setColumnWidth(c, columnWidth(c));
            width += columnWidth(c);
        }
    }
    QHeaderView* h = horizontalHeader();
    QHeaderView* fh = FFrozen->horizontalHeader();
    fh->setVisible(!h->isHidden());
    const int headerHeight = h->isHidden() ? 0 : h->height();
    fh->setFixedHeight(headerHeight);
    const QRect vp = viewport()->geometry();
    FFrozen->setGeometry(vp.left(), vp.top() - headerHeight, std::min(width, vp.width()), vp.height() + headerHeight);
    FFrozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
    FFrozen->show();
    FFrozen->raise();
}

#pragma once
// Where a press on a grid really lands: the fixed columns lie in an overlay
// over the grid's viewport; and typing into a cell as the user does.

#include "platform/UGridWidget.h"

#include <QApplication>
#include <QLineEdit>
#include <QPoint>
#include <QTest>
#include <QWidget>

#include <utility>

// The centre of a cell, in the viewport's coordinates.
inline QPoint cellCenter(const TGridWidget* grid, int col, int row)
{
    return grid->visualRect(grid->model()->index(row - grid->fixedRows(), col)).center();
}

// The widget that a press at the centre of a cell, or beside it by offset,
// reaches, and the point there; none where that lies outside the viewport.
inline std::pair<QWidget*, QPoint> landing(const TGridWidget* grid, int col, int row, QPoint offset = QPoint())
{
    const QPoint at = cellCenter(grid, col, row) + offset;
    if (!grid->viewport()->rect().contains(at))
        return {nullptr, QPoint()};
    QWidget* window = grid->window();
    const QPoint inWindow = grid->viewport()->mapTo(window, at);
    QWidget* w = window->childAt(inWindow);
    return {w, w ? w->mapFrom(window, inWindow) : QPoint()};
}

// Goes to cell (col, row) of grid, opens its editor with F2 and types text
// over what it held, leaving the edit open: the cell's editor, or none
// where the cell could not be reached or edited.
inline QLineEdit* typeOverCell(TGridWidget* grid, int col, int row, const QString& text)
{
    grid->setFocus(Qt::OtherFocusReason);
    if (!grid->setCurrentCell(col, row))
        return nullptr;
    QTest::keyClick(grid, Qt::Key_F2);
    auto* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!cell)
        return nullptr;
    cell->selectAll();
    QTest::keyClicks(cell, text);
    return cell;
}

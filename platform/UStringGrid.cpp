#include "platform/UStringGrid.h"

#include <algorithm>

QStringList TStringGrid::rowTexts(int row) const
{
    QStringList texts;
    const int n = colCount();
    texts.reserve(n);
    for (int c = 0; c < n; ++c)
        texts.append(cell(c, row));
    return texts;
}

void TStringGrid::setRowTexts(int row, const QStringList& texts)
{
    const int n = std::min<int>(colCount(), int(texts.size()));
    for (int c = 0; c < n; ++c)
        setCell(c, row, texts.at(c));
}

TMemoryGrid::TMemoryGrid(int cols, int rows)
{
    resize(cols, rows);
}

void TMemoryGrid::resize(int cols, int rows)
{
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    std::vector<TCell> cells(size_t(cols) * size_t(rows));
    for (int r = 0; r < std::min(rows, FRows); ++r)
        for (int c = 0; c < std::min(cols, FCols); ++c)
            cells[size_t(r) * cols + c] = std::move(FCells[size_t(r) * FCols + c]);
    FCells = std::move(cells);
    FWidths.resize(size_t(cols), 64);
    FCols = cols;
    FRows = rows;
}

void TMemoryGrid::setColCount(int n)
{
    resize(n, FRows);
}

void TMemoryGrid::setRowCount(int n)
{
    resize(FCols, n);
}

QString TMemoryGrid::cell(int col, int row) const
{
    return inside(col, row) ? FCells[size_t(row) * FCols + col].text : QString();
}

void TMemoryGrid::setCell(int col, int row, const QString& text)
{
    if (inside(col, row))
        FCells[size_t(row) * FCols + col].text = text;
}

void* TMemoryGrid::object(int col, int row) const
{
    return inside(col, row) ? FCells[size_t(row) * FCols + col].object : nullptr;
}

void TMemoryGrid::setObject(int col, int row, void* object)
{
    if (inside(col, row))
        FCells[size_t(row) * FCols + col].object = object;
}

int TMemoryGrid::colWidth(int col) const
{
    return col >= 0 && col < FCols ? FWidths[size_t(col)] : 0;
}

void TMemoryGrid::setColWidth(int col, int width)
{
    if (col >= 0 && col < FCols)
        FWidths[size_t(col)] = width;
}

#pragma once
// The string grid as the data model sees it: text cells by column and row,
// an object per cell, fixed rows, rows read or replaced as lists of texts,
// column widths and a text measure. The widget (UGridWidget) and an
// in-memory table (TMemoryGrid, for temporary grids and tests) implement it.

#include <QString>
#include <QStringList>
#include <vector>

class TStringGrid {
public:
    virtual ~TStringGrid() = default;

    virtual int colCount() const = 0;
    virtual void setColCount(int n) = 0;
    virtual int rowCount() const = 0;
    virtual void setRowCount(int n) = 0;
    virtual int fixedRows() const = 0;
    virtual void setFixedRows(int n) = 0;
    virtual int fixedCols() const = 0;
    virtual void setFixedCols(int n) = 0;

    // Cells outside the grid read as empty and ignore writes.
    virtual QString cell(int col, int row) const = 0;
    virtual void setCell(int col, int row, const QString& text) = 0;
    virtual void* object(int col, int row) const = 0;
    virtual void setObject(int col, int row, void* object) = 0;

    // A whole row; its count is the column count.
    virtual QStringList rowTexts(int row) const;
    // Replaces the row cell by cell from column 0, as far as the row has cells.
    virtual void setRowTexts(int row, const QStringList& texts);

    virtual int colWidth(int col) const = 0;
    virtual void setColWidth(int col, int width) = 0;
    virtual int clientWidth() const = 0;     // pixels
    virtual int gridLineWidth() const = 0;   // pixels
    virtual int textWidth(const QString& text) const = 0;   // in the grid's font
};

// A grid kept in memory only. Text width is counted as 7 pixels a character.
class TMemoryGrid : public TStringGrid {
public:
    explicit TMemoryGrid(int cols = 5, int rows = 5);

    int colCount() const override { return FCols; }
    void setColCount(int n) override;
    int rowCount() const override { return FRows; }
    void setRowCount(int n) override;
    int fixedRows() const override { return FFixedRows; }
    void setFixedRows(int n) override { FFixedRows = n; }
    int fixedCols() const override { return FFixedCols; }
    void setFixedCols(int n) override { FFixedCols = n; }

    QString cell(int col, int row) const override;
    void setCell(int col, int row, const QString& text) override;
    void* object(int col, int row) const override;
    void setObject(int col, int row, void* object) override;

    int colWidth(int col) const override;
    void setColWidth(int col, int width) override;
    int clientWidth() const override { return FClientWidth; }
    void setClientWidth(int w) { FClientWidth = w; }
    int gridLineWidth() const override { return 1; }
    int textWidth(const QString& text) const override { return 7 * int(text.size()); }

private:
    struct TCell {
        QString text;
        void* object = nullptr;
    };
    bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < FCols && row < FRows; }
    void resize(int cols, int rows);

    int FCols = 0;
    int FRows = 0;
    int FFixedRows = 1;
    int FFixedCols = 1;
    int FClientWidth = 192;
    std::vector<TCell> FCells;   // row-major
    std::vector<int> FWidths;
};

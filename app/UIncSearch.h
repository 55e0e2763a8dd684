#pragma once
// The incremental search: a small modeless window that moves the current
// row of an editor's grid to the next row holding the typed text.

#include "platform/UGridWidget.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

class TIncSearch : public QDialog {
    Q_OBJECT

public:
    explicit TIncSearch(QWidget* parent = nullptr);

    // The grid to search in; not owned. A grid that goes away is forgotten.
    void SetGrid(TGridWidget* AGrid);
    TGridWidget* grid() const { return MyGrid; }
    // Forgets AGrid when it is the grid being searched, and hides.
    void GridClosed(TGridWidget* AGrid);

    // Searches from row start on (rows below 1 count as 1), asking to go on
    // at row 1 when the end is reached.
    void SearchFrom(int start);
    // The wrap-around question; true for "&Ja". "Abbrechen" also hides.
    bool AskRestartSearch();

    void EnterChange();
    void NextClick();
    void OkButtonClick();

    QLabel* Label1 = nullptr;
    QLineEdit* Enter = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* Next = nullptr;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormShow();
    // Right of the grid's cells in view, or right of its names, or left of
    // it; below its caption row and first rows; inside the main window and
    // the screen.
    void placeBeside(const TGridWidget& grid);
    // Runs a search as a command of the main window, when there is one.
    void runSearch(int start);

    QPointer<TGridWidget> MyGrid;
};

// Created once at start-up.
extern TIncSearch* IncSearch;

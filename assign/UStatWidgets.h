#pragma once
// What the project and the pupil statistics build alike: their window, the
// heading font, labels, figures, buttons and the read-only table of counts.

#include <QString>

#include <initializer_list>

class QDialog;
class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TGridWidget;

// Name, caption and help context of a statistics window with a fixed border.
void SetupStatDialog(QDialog* dialog, const char* name, const QString& caption, int helpContext);
// Arial bold, 15 pixels high: the number and name of a project, the classes.
QFont StatHeadingFont();
// A label showing text as it is ("&" included).
QLabel* MakeStatLabel(QWidget* parent, const char* name, const QString& text = QString());
// A figure in a box, width pixels wide: text to read that cannot be changed
// and takes no focus.
QLineEdit* MakeStatFigure(QWidget* parent, const char* name, int width);
// A button that Enter does not press unless it is made the default.
QPushButton* MakeStatButton(QWidget* parent, const char* name, const QString& text);

// A table of counts: cols by rows, the caption row and fixedCols fixed
// columns, no editing, no focus, no selection and no scroll bars.
void SetupCountGrid(TGridWidget* grid, int cols, int rows, int fixedCols);
// At least minWidth, and wide enough for each of texts in the grid's font.
int CountColWidth(const TGridWidget* grid, int minWidth, std::initializer_list<QString> texts);
// Makes the grid as large as its caption row, its rows and its columns, so
// every cell shows whole. Called after the column widths are set.
void FitCountGrid(TGridWidget* grid);

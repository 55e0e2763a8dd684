#include "assign/UStatWidgets.h"

#include "platform/UGridWidget.h"
#include "platform/UHelpContext.h"

#include <QDialog>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void SetupStatDialog(QDialog* dialog, const char* name, const QString& caption, int helpContext)
{
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(caption);
    SetHelpContext(dialog, helpContext);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
}

QFont StatHeadingFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    return font;
}

QLabel* MakeStatLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* MakeStatFigure(QWidget* parent, const char* name, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setFixedWidth(width);
    return edit;
}

QPushButton* MakeStatButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setMinimumSize(75, 25);
    return button;
}

void SetupCountGrid(TGridWidget* grid, int cols, int rows, int fixedCols)
{
    grid->setColCount(cols);
    grid->setRowCount(rows);
    grid->setFixedRows(1);
    grid->setFixedCols(fixedCols);
    grid->setEditingAllowed(false);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int CountColWidth(const TGridWidget* grid, int minWidth, std::initializer_list<QString> texts)
{
    const int pad = 2 * grid->textWidth(QStringLiteral("0"));
    int width = minWidth;
    for (const QString& text : texts)
        width = qMax(width, grid->textWidth(text) + pad);
    return width;
}

void FitCountGrid(TGridWidget* grid)
{
    // The caption row is the grid's header; the rows below it show whole.
    grid->setFixedHeight(2 * grid->frameWidth() + grid->horizontalHeader()->sizeHint().height()
                         + (grid->rowCount() - 1) * grid->defaultRowHeight());
    int width = 2 * grid->frameWidth();
    for (int c = 0; c < grid->colCount(); ++c)
        width += grid->colWidth(c);
    grid->setFixedWidth(width);
}

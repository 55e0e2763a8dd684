#include "app/UIncSearch.h"

#include "app/main.h"
#include "data/UBasics.h"
#include "platform/UFitText.h"
#include "platform/UGridWidget.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

TIncSearch* IncSearch = nullptr;

namespace {

// Whether the upper-case needle occurs in text with a to z folded to upper
// case (and nothing else folded).
bool containsFolded(QStringView text, QStringView needle)
{
    const qsizetype n = needle.size();
    if (n == 0 || n > text.size())
        return false;
    const char16_t first = needle[0].unicode();
    const qsizetype last = text.size() - n;
    for (qsizetype i = 0; i <= last; ++i) {
        if (UpperAscii(text[i].unicode()) != first)
            continue;
        qsizetype k = 1;
        while (k < n && UpperAscii(text[i + k].unicode()) == needle[k].unicode())
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

// The row's text is its cells, each followed by CR LF; a needle without a
// line break can only occur inside one cell.
bool rowContains(const TGridWidget& grid, int row, const QString& needle)
{
    const int cols = grid.colCount();
    if (!needle.contains(QLatin1Char('\r')) && !needle.contains(QLatin1Char('\n'))) {
        for (int c = 0; c < cols; ++c)
            if (containsFolded(grid.cell(c, row), needle))
                return true;
        return false;
    }
    QString text;
    for (int c = 0; c < cols; ++c)
        text += grid.cell(c, row) + QStringLiteral("\r\n");
    return containsFolded(text, needle);
}

// The column captioned "Name", else the first one.
int nameColumn(const TGridWidget& grid)
{
    for (int c = 0; c < grid.colCount(); ++c)
        if (grid.cell(c, 0) == QLatin1String("Name"))
            return c;
    return 0;
}

// The rows below the caption row that the window leaves in view, and the
// room it keeps from them and from the names.
constexpr int KeptRows = 3;
constexpr int Gap = 8;

// The search text is not selected when the edit gets the focus.
class TSearchEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        deselect();
    }
};

} // namespace

TIncSearch::TIncSearch(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IncSearch"));
    setWindowTitle(QStringLiteral("Inkrementelle Suche ..."));
    SetHelpContext(this, 116);
    setModal(false);
    setFixedSize(216, 90);

    Label1 = new QLabel(QStringLiteral("Suche"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 16);
    Label1->adjustSize();
    // The room up to the edit.
    Label1->resize(50, Label1->height());
    Enter = new TSearchEdit(this);
    Enter->setObjectName(QStringLiteral("Enter"));
    Enter->setGeometry(72, 8, 129, 25);
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(144, 48, 59, 25);
    OkButton->setAutoDefault(false);
    Next = new QPushButton(QStringLiteral("Nächster"), this);
    Next->setObjectName(QStringLiteral("Next"));
    Next->setGeometry(72, 48, 57, 25);
    // Enter presses "Nächster"; Esc ends the dialog like "OK".
    Next->setDefault(true);
    // Captions wider than designed push the controls right of them; the
    // edit and the window grow by the wider row, "OK" stays at the right.
    const int dx = std::max(FitRow({{Label1}, {Enter, Next}}), FitRow({{Next}, {OkButton}}));
    GrowRight(dx, {this, Enter});
    FitRowFromRight({OkButton}, dx);
    setTabOrder(Enter, OkButton);
    setTabOrder(OkButton, Next);

    connect(Enter, &QLineEdit::textChanged, this, &TIncSearch::EnterChange);
    connect(Next, &QPushButton::clicked, this, &TIncSearch::NextClick);
    connect(OkButton, &QPushButton::clicked, this, &TIncSearch::OkButtonClick);
}

void TIncSearch::SetGrid(TGridWidget* AGrid)
{
    MyGrid = AGrid;
}

void TIncSearch::GridClosed(TGridWidget* AGrid)
{
    if (!AGrid || MyGrid != AGrid)
        return;
    MyGrid = nullptr;
    hide();
}

void TIncSearch::setVisible(bool visible)
{
    // Without a grid the window does not stay up.
    if (visible && !MyGrid) {
        QDialog::setVisible(false);
        return;
    }
    QDialog::setVisible(visible);
}

void TIncSearch::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TIncSearch::FormShow()
{
    placeBeside(*MyGrid);
    Enter->clear();
    Enter->setFocus();
}

void TIncSearch::placeBeside(const TGridWidget& grid)
{
    // The grid's viewport on the screen, and where the names and the last
    // column end in it.
    const QWidget* view = grid.viewport();
    const QRect shown(view->mapToGlobal(QPoint(0, 0)), view->size());
    auto endOf = [&](int col) {
        return shown.left() + std::clamp(grid.columnViewportPosition(col) + grid.columnWidth(col), 0, shown.width());
    };
    QRect bounds = grid.screen()->availableGeometry();
    if (const QWidget* main = grid.window())
        bounds &= main->geometry();
    const QSize size = frameGeometry().size();
    // Right of the cells in view; else right of the names; else left of
    // the grid; at the right edge when none of them has room.
    int left = bounds.right() + 1 - size.width();
    for (const int x : {endOf(grid.colCount() - 1) + Gap, endOf(nameColumn(grid)) + Gap,
                        shown.left() - Gap - size.width()}) {
        if (x >= bounds.left() && x + size.width() <= bounds.right() + 1) {
            left = x;
            break;
        }
    }
    int top = shown.top() + std::min(KeptRows * grid.defaultRowHeight(), shown.height()) + Gap;
    left = std::max(left, bounds.left());
    top = std::clamp(top, bounds.top(), std::max(bounds.top(), bounds.bottom() + 1 - size.height()));
    move(left, top);
}

void TIncSearch::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        hide();
}

void TIncSearch::runSearch(int start)
{
    // An open cell edit is stored before the cursor moves.
    if (MainForm)
        MainForm->runCommand([this, start] { SearchFrom(start); });
    else
        SearchFrom(start);
}

void TIncSearch::EnterChange()
{
    if (!MyGrid) {
        if (!Enter->text().isEmpty())
            hide();
        return;
    }
    runSearch(MyGrid->row());
}

void TIncSearch::NextClick()
{
    if (!MyGrid) {
        hide();
        return;
    }
    runSearch(MyGrid->row() + 1);
    Enter->setFocus();
}

void TIncSearch::OkButtonClick()
{
    hide();
}

void TIncSearch::SearchFrom(int start)
{
    if (Enter->text().isEmpty())
        return;
    if (!MyGrid) {
        hide();
        return;
    }
    const QString needle = UpperAscii(Enter->text());
    int row = std::max(start, 1);
    for (;;) {
        // The question may let the grid go; it is looked up afresh each time.
        TGridWidget* grid = MyGrid;
        if (!grid)
            return;
        const int last = grid->rowCount() - 1;
        if (row > last) {
            if (!AskRestartSearch() || !MyGrid || MyGrid->rowCount() < 2)
                return;
            row = 1;
            continue;
        }
        if (rowContains(*grid, row, needle)) {
            if (grid->row() != row)
                grid->setRow(row);
            return;
        }
        ++row;
    }
}

bool TIncSearch::AskRestartSearch()
{
    // The question belongs to the main window: this window goes first.
    hide();
    if (MainForm) {
        // The message box takes the active window as its parent.
        MainForm->activateWindow();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
        QApplication::setActiveWindow(MainForm);
#endif
    }
    const TModalResult answer = MessageDlg(QStringLiteral("Suchtext nicht gefunden. Suche am Anfang fortsetzen?"),
                                           TMsgType::mtInformation, mbYes | mbNo | mbCancel);
    return answer == TModalResult::mrYes;
}

#include "assign/UDebugWin.h"

#include "data/UBasics.h"
#include "platform/UExceptions.h"
#include "platform/UWindowFrame.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <climits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

TDebugWin* DebugWin = nullptr;

namespace {

// The outer frame, on the screen.
const QRect DesignedFrame(5, 420, 1015, 317);

QLineEdit* makeWatch(QWidget* parent, const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedSize(121, 21);
    return edit;
}

} // namespace

TDebugWin::TDebugWin(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("DebugWin"));
    setWindowTitle(QStringLiteral("DebugWin"));
    SetFrameGeometry(this, DesignedFrame);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    Watch1 = makeWatch(Panel1, "Watch1", QStringLiteral("Watch1"));
    Watch2 = makeWatch(Panel1, "Watch2", QStringLiteral("0"));
    Watch3 = makeWatch(Panel1, "Watch3", QStringLiteral("0"));
    auto* watches = new QHBoxLayout(Panel1);
    watches->setContentsMargins(16, 8, 16, 8);
    watches->setSpacing(31);
    watches->addWidget(Watch1);
    watches->addWidget(Watch2);
    watches->addWidget(Watch3);
    watches->addStretch(1);

    Outputs = new QPlainTextEdit(this);
    Outputs->setObjectName(QStringLiteral("Outputs"));
    QStringList lines{QStringLiteral("*** Debug-Ausgaben ***")};
    for (int i = 0; i < 19; ++i)
        lines << QStringLiteral("*");
    Outputs->setPlainText(lines.join(QLatin1Char('\n')));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel1);
    column->addWidget(Outputs, 1);
}

void TDebugWin::showEvent(QShowEvent* event)
{
    // Again now that the frame is known; later showings leave the window
    // where the user put it.
    if (!event->spontaneous() && !FPlaced) {
        FPlaced = true;
        SetFrameGeometry(this, DesignedFrame);
    }
    QWidget::showEvent(event);
}

void TDebugWin::Msg(const QString& st)
{
    Outputs->appendPlainText(st);
    // The newest line in view.
    QScrollBar* bar = Outputs->verticalScrollBar();
    bar->setValue(bar->maximum());
}

QLineEdit* TDebugWin::watchField(int i) const
{
    switch (i) {
    case 1: return Watch1;
    case 2: return Watch2;
    case 3: return Watch3;
    default: return nullptr;
    }
}

void TDebugWin::Watch(int i, const QString& st)
{
    if (QLineEdit* edit = watchField(i)) {
        edit->setText(st);
        edit->repaint();
    }
}

void TDebugWin::incWatch(int i)
{
    QLineEdit* edit = watchField(i);
    if (!edit)
        return;
    int value = 0;
    if (!IsInteger(edit->text()))
        throw Exception(QStringLiteral("\"%1\" ist kein gültiger ganzzahliger Wert.").arg(edit->text()));
    StrToIntRange(edit->text(), value, INT_MIN, INT_MAX);
    if (value == INT_MAX)
        throw Exception(QStringLiteral("\"%1\" kann nicht mehr erhöht werden.").arg(edit->text()));
    edit->setText(QString::number(value + 1));
    edit->repaint();
}

void TDebugWin::showUp()
{
    show();
    raise();
    activateWindow();
}

TMemoryTotals MemoryTotals()
{
    TMemoryTotals t;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    t.allocated = quint64(info.uordblks) + quint64(info.hblkhd);
    t.free = quint64(info.fordblks);
#endif
    return t;
}

QString MemoryTotalsLine(const TMemoryTotals& totals)
{
    return QStringLiteral("TotalAllocated = ") + QString::number(totals.allocated) + QStringLiteral("; TotalFree=")
           + QString::number(totals.free);
}

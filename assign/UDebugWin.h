#pragma once
// The debug message window: three watch fields and a memo that only ever
// grows. Modeless and on top of the program's other windows; reached only
// through the hidden debug menu.

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

class TDebugWin : public QWidget {
    Q_OBJECT

public:
    explicit TDebugWin(QWidget* parent = nullptr);

    // Appends st as a new last line of the memo.
    void Msg(const QString& st);
    // Sets watch field i (1..3) to st and repaints it; another i does nothing.
    void Watch(int i, const QString& st);
    // Adds 1 to the number in watch field i (1..3); a text that is no
    // integer text, or a number at the top of the range, raises an Exception.
    void incWatch(int i);
    // Shows the window and brings it to the front.
    void showUp();

    QWidget* Panel1 = nullptr;
    QLineEdit* Watch1 = nullptr;
    QLineEdit* Watch2 = nullptr;
    QLineEdit* Watch3 = nullptr;
    QPlainTextEdit* Outputs = nullptr;

protected:
    // The first showing puts the window's frame at its designed place.
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* watchField(int i) const;

    bool FPlaced = false;
};

// The memory manager's totals: bytes allocated by the program and free
// bytes it holds; 0 where the platform does not tell.
struct TMemoryTotals {
    quint64 allocated = 0;
    quint64 free = 0;
};
TMemoryTotals MemoryTotals();
// "TotalAllocated = <a>; TotalFree=<f>"
QString MemoryTotalsLine(const TMemoryTotals& totals);

// The program's debug window, created at start-up.
extern TDebugWin* DebugWin;

#pragma once
// The class selection dialog: either the classes of a class overview in one
// list, or the grades 1 to 13 and the departments A to H in two lists. The
// marks become a pupil filter and a short text naming the selection.

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class TSearchFilter;
class TStringGrid;

class TKlassenSelect : public QDialog {
    Q_OBJECT

public:
    explicit TKlassenSelect(QWidget* parent = nullptr);

    // Chooses the mode and fills the lists, every mark cleared. With a grid
    // the classes of its column 0 from row 1 on (one-list mode); nullptr:
    // grades and departments (two-list mode). No reference to the grid is kept.
    void setKlassen(const TStringGrid* OverViewGrid);
    // A new filter for the marked items; the caller owns it.
    TSearchFilter* getFilter() const;
    // "Klassen" and the marked items, "Alle Klassen" when everything is
    // marked, or the number of selected classes when longer than maxlength.
    QString getString(int maxlength) const;
    bool twoLists() const { return TwoLists; }

    QListWidget* ListAbt = nullptr;
    QListWidget* ListJgst = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* SelectAll = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    // Neither Enter nor Esc closes the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OkBtnClick();
    void SelectAllClick();
    void CancelBtnClick();
    TSearchFilter* getKlassenFilter() const;
    TSearchFilter* getJgstAbtFilter() const;

    bool TwoLists = true;
};

// The program's class selection, created at start-up.
extern TKlassenSelect* KlassenSelect;

#pragma once
// Stand-in for the class selection dialog (two-list mode only).

#include <QDialog>

class QListWidget;
class QPushButton;
class TSearchFilter;
class TStringGrid;

class TKlassenSelect : public QDialog {
    Q_OBJECT

public:
    explicit TKlassenSelect(QWidget* parent = nullptr);

    void setKlassen(const TStringGrid* OverViewGrid);
    TSearchFilter* getFilter() const;
    QString getString(int maxlength) const;

    QListWidget* ListJgst = nullptr;
    QListWidget* ListAbt = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* SelectAll = nullptr;
    QPushButton* CancelBtn = nullptr;
};

extern TKlassenSelect* KlassenSelect;

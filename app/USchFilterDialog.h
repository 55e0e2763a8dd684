#pragma once
// The pupil filter dialog: names, gender, classes, fixed state and one of
// the choice criteria; getFilter turns its settings into a pupil filter.

#include "data/UFilter.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class TEditor;
class TStringGrid;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

class TSchFilterDialog : public QDialog {
    Q_OBJECT

public:
    explicit TSchFilterDialog(QWidget* parent = nullptr);
    ~TSchFilterDialog() override;

    // The filter the controls describe; the caller owns it.
    std::unique_ptr<TSearchFilter> getFilter() const;

    // Event handlers.
    void ComboMatchChange();
    void MultiFuncComboChange();
    void SelClassButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboMatch = nullptr;
    QLineEdit* EditName = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ComboGeschl = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* SelClassButton = nullptr;
    QLabel* KlNameString = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* ComboFest = nullptr;
    QComboBox* MultiFuncCombo = nullptr;
    QListWidget* MultiFuncList = nullptr;
    QCheckBox* InvertCheck = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* OKButton = nullptr;

    // True when the filter starts from the class selection's filter.
    bool KlassenButPressed = false;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
};

// Created once at start-up.
extern TSchFilterDialog* SchFilterDialog;

// The read-only views over a selection of SchuelerData; each returns the
// new view, or nullptr when none opens.
// The pupils the filter dialog describes (nullptr when it is cancelled).
TEditor* OpenAuszugView();
// The pupils assigned to the project in row `row` of the projects overview
// (row 1 the pseudo-project 0); none opens for a project without pupils.
TEditor* OpenProjektView(int row);
// The pupils of the class in row `row` of the class overview.
TEditor* OpenKlassenView(const TStringGrid& overview, int row);
// The filter for the class text of an overview row: a whole number is the
// class text itself; otherwise the grade before the last character and the
// department letter. A grade outside 0..15 or a department character above
// 255 gives a filter that matches nobody. nullptr: the text names no class.
std::unique_ptr<TSearchFilter> KlassenFilter(const QString& klasse);

#pragma once
// Placing one pupil by hand: on one of its five choices, into project 0,
// or lifting the placement. The dialog changes only the pupil; the command
// that shows it refreshes the views.

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TProjektData;
class TSchueler;
class TSchuelerData;

class THandDialog : public QDialog {
    Q_OBJECT

public:
    explicit THandDialog(QWidget* parent = nullptr);

    // Prepares the dialog for pupil S, whose choices are looked up in Pro.
    // The pupil's hand is -1 until the dialog closes: then it holds the
    // chosen value (OK) or its old value (any other way). An error inside
    // restores the hand before it leaves.
    void setData(TSchueler* S, TProjektData* Pro);
    // The pupil being placed; none once the dialog has closed.
    TSchueler* pupil() const { return S; }

    // Closing with OK gives the pupil the chosen placement, any other way
    // restores its hand; every way drops the pupil.
    void done(int r) override;

    QLabel* SchuelerName = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QGroupBox* GroupBox = nullptr;
    QRadioButton* OptAufheb = nullptr;
    QRadioButton* OptNull = nullptr;
    QRadioButton* Opt[6] = {};   // Opt[1]..Opt[5]

private:
    int getOption() const;
    void setOption(int value);
    void prepareRank(int r);
    void OKButtonClick();
    void CancelButtonClick();

    QButtonGroup* FGroup = nullptr;
    TSchueler* S = nullptr;
    TProjektData* Pro = nullptr;
    int handbackup = -1;
};

// The command that lifts every placement by hand, without its refreshes:
// tells when no pupil is placed by hand, else asks and, on OK, lifts them
// all (each pupil keeps its assigned project) and marks Sch modified.
// True when it lifted them.
bool DelHandEint(TSchuelerData& Sch);

// The program's manual placement dialog, created at start-up.
extern THandDialog* HandDialog;

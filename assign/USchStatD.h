#pragma once
// The statistics of a selection of pupils: their numbers, their choices
// and how they are assigned, with the share of each rank among the pupils
// with valid choices. Other classes can be chosen inside. Reads data only.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TGridWidget;
class TProjektData;
class TSchuelerData;
class TSearchFilter;

class TSchStatD : public QDialog {
    Q_OBJECT

public:
    explicit TSchStatD(QWidget* parent = nullptr);

    // Fills the dialog for the pupils of Sch that F selects (F stays the
    // caller's); ClassNameString names the selection. The class choice uses
    // Sch and Pro until the dialog closes.
    void UpdateData(TSchuelerData* Sch, TProjektData* Pro, const TSearchFilter& F, const QString& ClassNameString);
    // Fills the dialog for the pupils of the class KlasseText of the class
    // overview: its grade, and its department's first letter in either case
    // or no department. False, changing nothing, when the text begins with
    // no grade.
    bool UpdateKlasse(TSchuelerData* Sch, TProjektData* Pro, const QString& KlasseText);

    TGridWidget* Grid = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* NichtGew = nullptr;
    QLineEdit* Unvollst = nullptr;
    QLineEdit* Ungueltig = nullptr;
    QLineEdit* Gueltig = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* SchAnz = nullptr;
    QLineEdit* Maenn = nullptr;
    QLineEdit* Weib = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Klassennamen = nullptr;
    QPushButton* Waehle = nullptr;
    QPushButton* OkBtn = nullptr;

private:
    void WaehleClick();
    void OkBtnClick();

    TSchuelerData* currentSch = nullptr;
    TProjektData* currentPro = nullptr;
};

// count * 100 / V rounded to the nearest integer, an exact half to the even
// neighbour; 0 when V is 0. Integer arithmetic only.
int SharePercent(int count, int V);

// The number of pupils of L none of whose choices is eligible: not 0, a
// project of Pro (1..Pro.Anz()) and admitted by the eligibility rule. 0
// without projects or pupils.
int CountUngueltig(const TSchuelerData& L, const TProjektData& Pro);

// The program's pupil statistics, created at start-up.
extern TSchStatD* SchStatD;

#pragma once
// The statistics of one project: its data, how often the pupils chose it
// at each rank and how many it holds by the rank of their choice, with
// browsing to the previous and the next project. Reads data only.

#include <QDialog>
#include <QSlider>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TGridWidget;
class TProjektData;
class TSchuelerData;

// A disabled track bar that also shows a selected range (the minimum to
// the maximum number of participants).
class TTrackBar : public QSlider {
public:
    explicit TTrackBar(QWidget* parent = nullptr);
    // Both ends clamped to the bar's range.
    void setSelection(int start, int end);
    int selStart() const { return FSelStart; }
    int selEnd() const { return FSelEnd; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FSelStart = 0;
    int FSelEnd = 0;
};

class TProStatD : public QDialog {
    Q_OBJECT

public:
    explicit TProStatD(QWidget* parent = nullptr);

    // Fills the dialog for the project numbered PrNr (1..Pro.Anz(); another
    // number raises the project list's lookup error). The counts of the
    // projects are recounted from the pupils first. The browsing buttons use
    // Pro and Sch until the dialog closes.
    void UpdateData(TProjektData* Pro, TSchuelerData* Sch, int PrNr);
    int getCurrentNr() const { return currentNr; }

    QLabel* Name = nullptr;
    QLabel* Nr = nullptr;
    TGridWidget* Grid = nullptr;
    QPushButton* Zurueck = nullptr;
    QPushButton* Vor = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    TTrackBar* TrackBar = nullptr;
    QLabel* TeilnMin = nullptr;
    QLabel* TeilnMax = nullptr;
    QLabel* TeilnAnz = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* WeiblMaennl = nullptr;
    QLineEdit* JgMin = nullptr;
    QLineEdit* JgMax = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QFrame* Bevel2 = nullptr;
    QPushButton* OkBtn = nullptr;
    QLabel* ZuWenig = nullptr;
    QLabel* Gestrichen = nullptr;

private:
    void ZurueckClick();
    void VorClick();
    void OkBtnClick();

    int currentNr = 0;
    TProjektData* currentPro = nullptr;
    TSchuelerData* currentSch = nullptr;
};

// The program's project statistics, created at start-up.
extern TProStatD* ProStatD;

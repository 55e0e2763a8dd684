#pragma once
// The automatic assignment dialog: the size of the data, the depth of
// choices, the engine's options, and the run with its progress bar, status
// line and result message.

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TEintDialog : public QDialog {
    Q_OBJECT

public:
    explicit TEintDialog(QWidget* parent = nullptr);
    ~TEintDialog() override;

    // The chosen depth of choices, 1..5; 5 when nothing is selected.
    int getMaxDepth() const;

public slots:
    // One run over SchuelerData and ProjektData with the chosen depth, its
    // result message, then the dialog closes. An error ends the run: the
    // engine instance is freed, the cursor restored, the error shown as the
    // program's error display shows it, and the dialog closes; the pupils
    // keep their assignments. The error is handled here, so that it never
    // unwinds through the toolkit's event code.
    void StartClick();
    void AbbrechenClick();
    void OptionsButClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class TBarProgress;

    void FormCreate();
    void FormShow();
    void setStatus(const QString& text);   // and repaint it at once

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QGroupBox* GroupBox3;
    QLabel* SchAnzLabel;
    QLabel* Label4;
    QLabel* ProPlLabel1;
    QLabel* Label3;
    QLabel* ProPlLabel2;
    QLabel* Label5;
    QLabel* Label2;
    QLabel* ImplementIDString;
    QLabel* Label1;
    QComboBox* TiefeSelect;
    QPushButton* OptionsBut;
    QProgressBar* ProgressBar;
    QLineEdit* Schrittbeschreibung;
    QPushButton* Abbrechen;
    QPushButton* Start;
};

// The result message of a run: "95 von 100 Schülern in 1.2 Sekunden
// eingeteilt" for 95 of 100 pupils in 1234 ms; the tenths are cut.
QString EintResultText(int eintAnz, int anz, qint64 ms);

// The program's one assignment dialog, created at start-up.
extern TEintDialog* EintDialog;

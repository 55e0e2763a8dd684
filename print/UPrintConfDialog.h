#pragma once
// The print settings dialog "Drucken": the printer and its setup, the
// heading and standard fonts with their samples, the line spacing and the
// page numbers. One instance lives as long as the program; the fonts and
// the page-number box keep what was chosen last, the spacing returns to 1.5
// at each showing.

#include "platform/UFontSpec.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TPrintConfDialog : public QDialog {
    Q_OBJECT

public:
    explicit TPrintConfDialog(QWidget* parent = nullptr);
    ~TPrintConfDialog() override;

    // The fonts belong to the dialog and live as long as it does.
    const TFontSpec* getHFont() const { return &HFont; }
    const TFontSpec* getSFont() const { return &SFont; }
    // By the item chosen: 0.8, 1.0, 1.2, 1.5, 1.7, 2.0; a typed text that is
    // none of the items gives 1.5.
    double getSpacing() const;
    bool getFooter() const;

    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* SetupButton = nullptr;
    QPushButton* HFontChoose = nullptr;
    QPushButton* SFontChoose = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* HFontLabel = nullptr;
    QLabel* SFontLabel = nullptr;
    QFrame* Bevel1 = nullptr;
    QComboBox* SpacingSelect = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* PrinterName = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* CheckFooter = nullptr;

public slots:
    void SetupButtonClick();
    void HFontChooseClick();
    void SFontChooseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    // The printer now selected: its name, the PDF file printed into, or
    // that there is no printer.
    void ShowPrinterName();
    // The caption in the face as it gets printed, within its row of the
    // group box.
    void ShowSample(QLabel* label, const QString& caption, const TFontSpec& font);
    // The font dialog on font, starting from the face that gets printed.
    static bool ChooseFont(TFontSpec& font);

    TFontSpec HFont;   // the heading font of the heading font dialog
    TFontSpec SFont;   // the standard font of the standard font dialog
};

// The print settings dialog, created at start-up.
extern TPrintConfDialog* PrintConfDialog;

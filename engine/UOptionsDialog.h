#pragma once
// The options dialog. "Variation" chooses the order of the second and third
// pass; "Einteilung optimieren" is kept but changes no run. Both states
// last for the life of the library; the dialog itself is made when first
// shown, which needs a QApplication.

class TOptionsWindow;

class TOptionsDialog {
public:
    TOptionsDialog() = default;
    ~TOptionsDialog();
    TOptionsDialog(const TOptionsDialog&) = delete;
    TOptionsDialog& operator=(const TOptionsDialog&) = delete;

    // Shows the dialog modally until "OK" or the close box ends it; false,
    // showing nothing, when there is no QApplication.
    bool Execute();
    // Whether "Variation" is ticked.
    bool getVariation() const { return FVariation; }

    // Frees the dialog, keeping its states.
    void FreeWindow();

private:
    bool FVariation = false;
    bool FVerify = true;
    TOptionsWindow* FWindow = nullptr;
};

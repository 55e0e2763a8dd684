#pragma once
// The one seam through which the program asks the user anything: message
// boxes, file, font, printer and input dialogs, help and the beep.
// QtCore only; the widget implementation lives in UQtUi, tests install a
// scripted one.

#include "platform/UFontSpec.h"

#include <QString>
#include <QStringList>

// The kind of a message box decides its caption.
enum class TMsgType {
    mtPlain,          // "zuv" (the application title)
    mtInformation,    // "Informationen"
    mtConfirmation,   // "Bestätigen"
    mtWarning,        // "Warnung"
};

// Buttons, combined as flags. Texts: "&Ja", "&Nein", "OK", "Abbrechen",
// "&Ignorieren", "&Hilfe".
enum TMsgButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbIgnore = 1u << 4,
    mbHelp = 1u << 5,
};
using TMsgButtons = unsigned;

enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo, mrIgnore };

struct TMessage {
    TMsgType type = TMsgType::mtPlain;
    QString text;
    TMsgButtons buttons = mbOK;
    int helpContext = 0;

    QString caption() const;
};

// A file dialog. The filter is "Name|pattern|Name|pattern...", patterns
// separated by ";" and matched without regard to letter case; filterIndex
// counts the filter pairs from 1.
struct TFileDialogSpec {
    bool save = false;
    bool multiSelect = false;
    QString title;
    QString filter;
    int filterIndex = 1;
    QString initialDir;
    QString fileName;
    int helpContext = 0;   // F1 in the dialog; 0 for none
};

struct TFileDialogResult {
    bool accepted = false;
    QStringList files;
    int filterIndex = 1;
};

class IUi {
public:
    virtual ~IUi() = default;

    virtual TModalResult messageBox(const TMessage& message) = 0;
    virtual TFileDialogResult fileDialog(const TFileDialogSpec& request) = 0;
    // A one-line input box; false when cancelled, value unchanged then.
    virtual bool inputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    // The font dialog, starting from font; false when cancelled.
    virtual bool fontDialog(TFontSpec& font) = 0;
    // The printer setup dialog; false when cancelled.
    virtual bool printerSetup() = 0;
    virtual void beep() = 0;
    virtual void showHelp(int context) = 0;
};

// The installed seam; there always is one (a silent default until the
// program or a test installs its own).
IUi& Ui();
// Installs ui (not owned) and returns the one it replaces; nullptr restores
// the silent default.
IUi* SetUi(IUi* ui);

// A plain message box: caption "zuv", one "OK" button.
void ShowMessage(const QString& text);
// A message box of a kind with buttons and an optional help context.
TModalResult MessageDlg(const QString& text, TMsgType type, TMsgButtons buttons, int helpContext = 0);

// How many bad lines of one file are shown one by one; the rest are only
// counted.
inline constexpr int kShownBadLines = 10;

// The messages of one pass over the lines of a file: the first Limit are
// shown one by one; the rest are only counted, and finish() reports their
// number in one more message. While held, the messages wait until
// release() shows them or discard() drops them and the count.
class TLineMessages {
public:
    explicit TLineMessages(int Limit = kShownBadLines) : FLimit(Limit) {}

    void show(const QString& text);
    void hold() { FHeld = true; }
    void release();
    void discard();
    // "Weitere N fehlerhafte Zeilen wurden <fate>." (fate e.g.
    // "übersprungen") when lines were passed over silently; nothing
    // otherwise. Releases what is held first.
    void finish(const QString& fate);

private:
    int FLimit;
    int FShown = 0;
    int FSkipped = 0;
    bool FHeld = false;
    QStringList FWaiting;
};

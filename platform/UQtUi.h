#pragma once
// The seam's Qt side: Qt's own message boxes and dialogs with German
// buttons, the help file, the beep. The program installs one at start-up
// (SetUi); tests install a scripted seam instead.

#include "platform/UUi.h"

#include <QString>
#include <QStringList>
#include <functional>

class QFont;
class QWidget;

class TQtUi : public IUi {
public:
    TModalResult messageBox(const TMessage& message) override;
    TFileDialogResult fileDialog(const TFileDialogSpec& request) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool fontDialog(TFontSpec& font) override;
    bool printerSetup() override;
    void beep() override;
    void showHelp(int context) override;

    // The printer setup dialog belongs to the printer; whoever owns it sets
    // this. Without one, printerSetup() answers false.
    static std::function<bool()> printerSetupHook;

    // The folder of the last file chosen in a file dialog; a dialog whose
    // request names no folder starts there (empty: the working folder).
    QString lastFolder;

    // Folder searched for the help file; empty: the program's folder.
    QString helpDir;
    // The installed help file ("zuvhelp.chm", or an .html or .pdf help of
    // that base name), empty when there is none.
    QString helpFile() const;

    // "Name|pattern;pattern|Name|pattern" as Qt name filters, one a pair:
    // "Name (pattern pattern)". "*.*" becomes "*" (every file).
    static QStringList nameFilters(const QString& filter);

    // TFontSpec and QFont; the colour, which a QFont lacks, comes from base.
    static QFont toQFont(const TFontSpec& font);
    static TFontSpec fromQFont(const QFont& font, const TFontSpec& base);

    // The window a dialog belongs to: the modal dialog on top, or the
    // active window.
    static QWidget* dialogParent();
};

#include "platform/UUi.h"

#include <utility>

namespace {

// Answers every question with its first button and shows nothing: the
// state before the program installs its windows.
class TSilentUi final : public IUi {
public:
    TModalResult messageBox(const TMessage& m) override
    {
        if (m.buttons & mbOK)
            return TModalResult::mrOk;
        if (m.buttons & mbYes)
            return TModalResult::mrYes;
        return TModalResult::mrCancel;
    }
    TFileDialogResult fileDialog(const TFileDialogSpec&) override { return {}; }
    bool inputQuery(const QString&, const QString&, QString&) override { return false; }
    bool fontDialog(TFontSpec&) override { return false; }
    bool printerSetup() override { return false; }
    void beep() override {}
    void showHelp(int) override {}
};

TSilentUi gSilent;
IUi* gUi = &gSilent;

} // namespace

QString TMessage::caption() const
{
    switch (type) {
    case TMsgType::mtInformation: return QStringLiteral("Informationen");
    case TMsgType::mtConfirmation: return QStringLiteral("Bestätigen");
    case TMsgType::mtWarning: return QStringLiteral("Warnung");
    case TMsgType::mtPlain: break;
    }
    return QStringLiteral("zuv");
}

IUi& Ui()
{
    return *gUi;
}

IUi* SetUi(IUi* ui)
{
    IUi* old = gUi == &gSilent ? nullptr : gUi;
    gUi = ui ? ui : &gSilent;
    return old;
}

void ShowMessage(const QString& text)
{
    Ui().messageBox(TMessage{TMsgType::mtPlain, text, mbOK, 0});
}

TModalResult MessageDlg(const QString& text, TMsgType type, TMsgButtons buttons, int helpContext)
{
    return Ui().messageBox(TMessage{type, text, buttons, helpContext});
}

void TLineMessages::show(const QString& text)
{
    if (FShown < FLimit) {
        ++FShown;
        if (FHeld)
            FWaiting << text;
        else
            ShowMessage(text);
    } else {
        ++FSkipped;
    }
}

void TLineMessages::release()
{
    FHeld = false;
    const QStringList waiting = std::exchange(FWaiting, {});
    for (const QString& text : waiting)
        ShowMessage(text);
}

void TLineMessages::discard()
{
    FHeld = false;
    FWaiting.clear();
    FSkipped = 0;
}

void TLineMessages::finish(const QString& fate)
{
    release();
    if (FSkipped > 0)
        ShowMessage(QStringLiteral("Weitere %1 fehlerhafte Zeilen wurden %2.").arg(FSkipped).arg(fate));
    FSkipped = 0;
}

#include "tests/support/UScriptedUi.h"

#include "platform/UPrinterDevice.h"

TScriptedUi::TScriptedUi()
{
    FPrevious = SetUi(this);
}

TScriptedUi::~TScriptedUi()
{
    SetUi(FPrevious);
}

void TScriptedUi::queueFiles(const QStringList& files, int filterIndex)
{
    FFiles.enqueue(TFileDialogResult{true, files, filterIndex});
}

void TScriptedUi::queueFileCancel()
{
    FFiles.enqueue(TFileDialogResult{});
}

void TScriptedUi::queueInput(bool accepted, const QString& value)
{
    FInputs.enqueue({accepted, value});
}

void TScriptedUi::queueFont(bool accepted, const TFontSpec& font)
{
    FFonts.enqueue({accepted, font});
}

QStringList TScriptedUi::texts() const
{
    QStringList all;
    for (const TMessage& m : messages)
        all.append(m.text);
    return all;
}

QString TScriptedUi::lastText() const
{
    return messages.isEmpty() ? QString() : messages.last().text;
}

void TScriptedUi::clear()
{
    messages.clear();
    fileDialogs.clear();
    inputPrompts.clear();
    helpContexts.clear();
    fontStarts.clear();
    beeps = 0;
    unanswered = 0;
}

TModalResult TScriptedUi::messageBox(const TMessage& message)
{
    messages.append(message);
    if (onMessage)
        onMessage(message);
    if (message.buttons == mbOK)
        return FAnswers.isEmpty() ? TModalResult::mrOk : FAnswers.dequeue();
    if (!FAnswers.isEmpty())
        return FAnswers.dequeue();
    ++unanswered;
    return (message.buttons & mbCancel) ? TModalResult::mrCancel : TModalResult::mrNone;
}

TFileDialogResult TScriptedUi::fileDialog(const TFileDialogSpec& request)
{
    fileDialogs.append(request);
    if (FFiles.isEmpty()) {
        ++unanswered;
        return {};
    }
    return FFiles.dequeue();
}

bool TScriptedUi::inputQuery(const QString&, const QString& prompt, QString& value)
{
    inputPrompts.append(prompt);
    if (FInputs.isEmpty()) {
        ++unanswered;
        return false;
    }
    const auto [ok, text] = FInputs.dequeue();
    if (ok)
        value = text;
    return ok;
}

bool TScriptedUi::fontDialog(TFontSpec& font)
{
    fontStarts.append(font);
    if (FFonts.isEmpty()) {
        ++unanswered;
        return false;
    }
    const auto [ok, chosen] = FFonts.dequeue();
    if (ok)
        font = chosen;
    return ok;
}

bool TScriptedUi::printerSetup()
{
    if (FPrinterSetups.isEmpty()) {
        ++unanswered;
        return false;
    }
    const auto [ok, pdfFile] = FPrinterSetups.dequeue();
    if (ok && !pdfFile.isEmpty())
        Printer().setPdfFile(pdfFile);
    return ok;
}

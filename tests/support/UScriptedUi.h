#pragma once
// A scripted seam for tests: records everything shown and hands out queued
// answers. A question without a queued answer is recorded as unanswered and
// gets "Abbrechen" (or the only button it has).

#include "platform/UUi.h"

#include <QList>
#include <QQueue>
#include <functional>

class TScriptedUi : public IUi {
public:
    TScriptedUi();             // installs itself
    ~TScriptedUi() override;   // restores the seam it replaced

    // Answers, taken in order.
    void queueAnswer(TModalResult answer) { FAnswers.enqueue(answer); }
    void queueFiles(const QStringList& files, int filterIndex = 1);
    void queueFileCancel();
    void queueInput(bool accepted, const QString& value = QString());
    void queueFont(bool accepted, const TFontSpec& font = TFontSpec());
    // A setup answered with pdfFile prints into that file from then on, as
    // choosing a PDF file in the printer setup does.
    void queuePrinterSetup(bool accepted, const QString& pdfFile = QString())
    {
        FPrinterSetups.enqueue({accepted, pdfFile});
    }

    // What was shown.
    QList<TMessage> messages;
    QList<TFileDialogSpec> fileDialogs;
    QStringList inputPrompts;
    QList<int> helpContexts;
    QList<TFontSpec> fontStarts;   // the font each font dialog started from
    int beeps = 0;
    int unanswered = 0;        // questions that found no queued answer
    // Runs as each message is shown, once it is recorded.
    std::function<void(const TMessage&)> onMessage;

    QStringList texts() const;             // every message text, in order
    QString lastText() const;
    void clear();

    TModalResult messageBox(const TMessage& message) override;
    TFileDialogResult fileDialog(const TFileDialogSpec& request) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool fontDialog(TFontSpec& font) override;
    bool printerSetup() override;
    void beep() override { ++beeps; }
    void showHelp(int context) override { helpContexts.append(context); }

private:
    IUi* FPrevious = nullptr;
    QQueue<TModalResult> FAnswers;
    QQueue<TFileDialogResult> FFiles;
    QQueue<QPair<bool, QString>> FInputs;
    QQueue<QPair<bool, TFontSpec>> FFonts;
    QQueue<QPair<bool, QString>> FPrinterSetups;
};

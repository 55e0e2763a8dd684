#pragma once
// The seam for the benchmarks: nothing is shown. Every message is recorded
// and answered (OK where offered, else Yes, else Cancel, unless `answer`
// says otherwise); every file dialog chooses `file` with filter position
// `filter`; the printer setup runs `printerSetupDone` when set; the rest is
// cancelled.

#include "platform/UUi.h"

#include <QStringList>

#include <functional>

class TBenchUi : public IUi {
public:
    QString file;
    int filter = 1;
    QStringList shown;
    int beeps = 0;
    std::function<TModalResult(const TMessage&)> answer;
    std::function<bool()> printerSetupDone;

    TModalResult messageBox(const TMessage& m) override
    {
        shown << m.text;
        if (answer)
            return answer(m);
        if (m.buttons & mbOK)
            return TModalResult::mrOk;
        return m.buttons & mbYes ? TModalResult::mrYes : TModalResult::mrCancel;
    }
    TFileDialogResult fileDialog(const TFileDialogSpec&) override
    {
        if (file.isEmpty())
            return {};
        return {true, {file}, filter};
    }
    bool inputQuery(const QString&, const QString&, QString&) override { return false; }
    bool fontDialog(TFontSpec&) override { return false; }
    bool printerSetup() override { return printerSetupDone && printerSetupDone(); }
    void beep() override { ++beeps; }
    void showHelp(int) override {}
};

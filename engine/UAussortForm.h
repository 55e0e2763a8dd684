#pragma once
// The progress window of the redistribution passes: the source and
// destination lists of the current pass and the log of every run. Lines
// are kept in models, with or without a window; the window, which nothing
// shows, is made when a QApplication exists and displays those models.

#include "engine/UEintOrigMain.h"

#include <QStringListModel>

class QWidget;

class TAussortForm final : public TAussortSink {
public:
    TAussortForm() = default;
    ~TAussortForm() override;
    TAussortForm(const TAussortForm&) = delete;
    TAussortForm& operator=(const TAussortForm&) = delete;

    // Replaces both lists with a line "Projekt nr (count/min-max)" per node.
    void ShowLists(const TProNodeList& from, const TProNodeList& to) override;
    // Appends to the log, which is never emptied.
    void Log(const std::string& line) override;

    // Frees the window, keeping the lines; it is made again when needed.
    void FreeWindow();

private:
    void ensureWindow();

    QStringListModel FromLines;
    QStringListModel ToLines;
    QStringListModel LogLines;
    QWidget* FWindow = nullptr;
};

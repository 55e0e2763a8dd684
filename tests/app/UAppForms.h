#pragma once
// Shared by the main window tests: the program's windows for one test
// function, and read-only pupil views over lists of their own.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QApplication>
#include <QTest>

class TAppForms {
public:
    // Creates the windows in their start-up order and shows the main window;
    // false when it did not become active.
    bool start()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        CreateForms();
        MainForm->show();
        MainForm->activateWindow();
        return QTest::qWaitForWindowActive(MainForm);
    }

    // Destroys the windows (the views with their lists) and empties both
    // data sets.
    void stop()
    {
        DestroyForms();
        SchuelerData->ClearData();
        ProjektData->ClearData();
    }

    // A read-only view over a pupil list of its own, as the extracts make them.
    TEditor* openView()
    {
        return new TEditor(MainForm, MainFormHandler, std::make_unique<TSchuelerData>(SchuelerData),
                           QStringLiteral("Auszug"));
    }
};

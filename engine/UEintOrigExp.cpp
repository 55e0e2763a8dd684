#include "engine/UEintOrigExp.h"

#include "engine/UAussortForm.h"
#include "engine/UEintOrigMain.h"
#include "engine/UOptionsDialog.h"

#include <QApplication>

namespace {

TEintOrigMain* EintOrigMain = nullptr;
bool Variation = false;
TAussortForm* AussortForm = nullptr;
TOptionsDialog* OptionsDialog = nullptr;
bool WindowsHooked = false;

// Made on first use, so that no Qt object exists before the client's main.
TAussortForm& aussortForm()
{
    if (!AussortForm)
        AussortForm = new TAussortForm;
    return *AussortForm;
}

TOptionsDialog& optionsDialog()
{
    if (!OptionsDialog)
        OptionsDialog = new TOptionsDialog;
    return *OptionsDialog;
}

// The windows (not their contents), the options dialog first.
void FreeWindows()
{
    if (OptionsDialog)
        OptionsDialog->FreeWindow();
    if (AussortForm)
        AussortForm->FreeWindow();
    WindowsHooked = false;
}

// Windows are made only while a QApplication exists and must go before it:
// its destructor runs FreeWindows.
void hookWindowsToApplication()
{
    if (!WindowsHooked && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qAddPostRoutine(FreeWindows);
        WindowsHooked = true;
    }
}

__attribute__((constructor)) void LibraryLoaded()
{
    SeedFromClock();
    Variation = false;
}

__attribute__((destructor)) void FreeForms()
{
    if (WindowsHooked)
        qRemovePostRoutine(FreeWindows);
    delete OptionsDialog;
    OptionsDialog = nullptr;
    delete AussortForm;
    AussortForm = nullptr;
    delete EintOrigMain;
    EintOrigMain = nullptr;
}

} // namespace

extern "C" {

void Create(void)
{
    Destroy();
    EintOrigMain = new TEintOrigMain;
}

void Destroy(void)
{
    delete EintOrigMain;
    EintOrigMain = nullptr;
}

void SetOptions(void)
{
    hookWindowsToApplication();
    if (optionsDialog().Execute())
        Variation = optionsDialog().getVariation();
}

int32_t AddProNode(int32_t nr, int32_t min, int32_t max, intptr_t tag)
{
    return EintOrigMain ? EintOrigMain->AddProNode(nr, min, max, tag) : 0;
}

void AddSchNode(int32_t nr, intptr_t tag)
{
    if (EintOrigMain)
        EintOrigMain->AddSchNode(nr, tag);
}

void AddTransition(int32_t projectNr, int32_t pupilNr, int32_t rank)
{
    if (EintOrigMain)
        EintOrigMain->AddTransition(projectNr, pupilNr, rank);
}

int32_t SolveIt(TProgressStepProc step)
{
    if (!EintOrigMain)
        return 0;
    hookWindowsToApplication();
    return EintOrigMain->SolveIt(step, Variation, aussortForm());
}

intptr_t GetSchMatching(int32_t pupilNr)
{
    if (!EintOrigMain)
        return 0;
    const TProNode* project = EintOrigMain->getMatching(pupilNr);
    return project ? project->tag : 0;
}

int32_t GetImplId(void)
{
    return 11;
}

} // extern "C"

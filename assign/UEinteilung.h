#pragma once
// One automatic assignment run through the engine library: feed it the
// projects, the pupils and every admissible choice, solve, read the result
// back into the pupils. QtCore only.

#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QString>

#include <functional>

// What a run advances while the engine works: the assignment dialog's
// progress bar, or a test's stand-in.
class TEintProgress {
public:
    virtual ~TEintProgress() = default;
    virtual void setMinMax(int min, int max) = 0;
    virtual void setStep(int step) = 0;
    virtual void setPosition(int position) = 0;
    virtual void StepIt() = 0;   // position += step
};

// The progress bar of the run inside SolveIt; none otherwise.
extern TEintProgress* EintProgress;
// The engine's callback: advances EintProgress by its step.
extern "C" void EintProgressStep();

class TEinteilung {
public:
    // Creates the engine instance and hands it every project (1..Anz of
    // Pro), every pupil (1..Anz of Sch) and, for ranks 1..maxdepth, every
    // choice that names an existing project the pupil may join. Sch and Pro
    // are not owned and must outlive the run. Only one run may exist at a
    // time: the engine holds one instance.
    TEinteilung(TSchuelerData& Sch, TProjektData& Pro, int maxdepth);
    // Frees the engine instance.
    ~TEinteilung();
    TEinteilung(const TEinteilung&) = delete;
    TEinteilung& operator=(const TEinteilung&) = delete;

    // Runs the engine; Progress is set to 0..100, step 1, position 0, and
    // stands at 90 afterwards.
    void SolveIt(TEintProgress& Progress);
    // Replaces every pupil's assignment by the engine's result and recounts
    // the projects. The result is fetched completely first, so an error
    // leaves every pupil as it was. Marks the pupil list modified when an
    // assignment changed.
    void ReadBack();
    // Every pupil unassigned, every count 0.
    void Clear();

private:
    // Owns the library's one engine instance: Create now, Destroy when
    // the run goes, also when its constructor fails half way.
    class TEngineInstance {
    public:
        TEngineInstance();
        ~TEngineInstance();
        TEngineInstance(const TEngineInstance&) = delete;
        TEngineInstance& operator=(const TEngineInstance&) = delete;
    };

    void AddProNodes(TProjektData& Pro);
    void AddSchNodes(TSchuelerData& Sch);
    void AddTransitions(TSchuelerData& Sch, TProjektData& Pro, int maxdepth);

    TSchuelerData& Sch;
    TProjektData& Pro;
    TEngineInstance FEngine;
};

// Shows the engine library's options dialog.
void SetEintOptions();
// "orvan32.dll  (0.11)": the library's name and its implementation id.
QString getImplIdString();

// The command "Einteilung löschen" without its refreshes: asks for
// confirmation and, on OK, removes every assignment (the pupil list is
// marked modified when a pupil had one). True when it removed them.
bool DeleteAllEint(TSchuelerData& Sch, TProjektData& Pro);

// The consistency check of the present assignment: recounts the projects,
// writes "VERIFY" to Msg, then one line for each pupil who sits on a
// worse-ranked choice although a better-ranked one that admits it has a
// free place. True when it found none.
bool VerifyEinteilung(TSchuelerData& Sch, TProjektData& Pro, const std::function<void(const QString&)>& Msg);

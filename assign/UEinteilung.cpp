#include "assign/UEinteilung.h"

#include "assign/UEintImp.h"
#include "data/UBasics.h"
#include "data/UEinteilungBasics.h"
#include "platform/UExceptions.h"
#include "platform/UUi.h"

#include <vector>

TEintProgress* EintProgress = nullptr;

extern "C" void EintProgressStep()
{
    if (EintProgress)
        EintProgress->StepIt();
}

namespace {

bool gEngineInUse = false;

// A node's tag is the record itself; a project tag comes back as the same
// TProjekt pointer it went out as.
intptr_t tagOf(const TProjekt* p)
{
    return reinterpret_cast<intptr_t>(p);
}

intptr_t tagOf(const TSchueler* s)
{
    return reinterpret_cast<intptr_t>(s);
}

const TProjekt* projektOf(intptr_t tag)
{
    return reinterpret_cast<const TProjekt*>(tag);
}

// EintProgress names the bar only while the engine runs, also when the run
// ends in an error.
class TProgressScope {
public:
    explicit TProgressScope(TEintProgress& Progress) { EintProgress = &Progress; }
    ~TProgressScope() { EintProgress = nullptr; }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;
};

} // namespace

TEinteilung::TEngineInstance::TEngineInstance()
{
    if (gEngineInUse)
        throw Exception(QStringLiteral("Es läuft bereits eine Einteilung."));
    ::Create();
    gEngineInUse = true;
}

TEinteilung::TEngineInstance::~TEngineInstance()
{
    ::Destroy();
    gEngineInUse = false;
}

TEinteilung::TEinteilung(TSchuelerData& Sch, TProjektData& Pro, int maxdepth)
    : Sch(Sch), Pro(Pro)
{
    AddProNodes(Pro);
    AddSchNodes(Sch);
    AddTransitions(Sch, Pro, maxdepth);
}

TEinteilung::~TEinteilung() = default;

void TEinteilung::AddProNodes(TProjektData& Pro)
{
    for (int i = 1; i <= Pro.Anz(); ++i) {
        TProjekt* p = Pro.getNr(i);
        AddProNode(i, p->teilnmin, p->teilnmax, tagOf(p));
    }
}

void TEinteilung::AddSchNodes(TSchuelerData& Sch)
{
    for (int i = 1; i <= Sch.Anz(); ++i)
        AddSchNode(i, tagOf(Sch.getNr(i)));
}

void TEinteilung::AddTransitions(TSchuelerData& Sch, TProjektData& Pro, int maxdepth)
{
    for (int i = 1; i <= Sch.Anz(); ++i) {
        const TSchueler* s = Sch.getNr(i);
        for (int r = 1; r <= maxdepth; ++r) {
            // A choice naming no project is no choice: the engine never sees it.
            const int w = Pro.ValidNr(s->wahl[r]);
            if (w != 0 && isEintPossible(*s, *Pro.getNr(w)))
                AddTransition(w, i, r);
        }
    }
}

void TEinteilung::SolveIt(TEintProgress& Progress)
{
    Progress.setMinMax(0, 100);
    Progress.setStep(1);
    Progress.setPosition(0);
    TProgressScope scope(Progress);
    ::SolveIt(EintProgressStep);
}

void TEinteilung::ReadBack()
{
    const int n = Sch.Anz();
    std::vector<int> result(std::size_t(n), 0);
    bool changed = false;
    for (int i = 1; i <= n; ++i) {
        const TProjekt* p = projektOf(GetSchMatching(i));
        result[std::size_t(i - 1)] = p ? p->nr : 0;
        changed = changed || result[std::size_t(i - 1)] != Sch.getNr(i)->zuteil;
    }

    Clear();
    for (int i = 1; i <= n; ++i)
        Sch.getNr(i)->zuteil = result[std::size_t(i - 1)];
    CountEint(Sch, Pro);
    if (changed)
        Sch.setModified();
}

void TEinteilung::Clear()
{
    ClearEint(Sch, Pro);
}

void SetEintOptions()
{
    SetOptions();
}

QString getImplIdString()
{
    const int id = GetImplId();
    return QStringLiteral("orvan32.dll  (%1.%2)").arg(id / 100).arg(id % 100);
}

bool DeleteAllEint(TSchuelerData& Sch, TProjektData& Pro)
{
    const TModalResult answer =
        MessageDlg(QStringLiteral("Sollen alle Schüler aus ihren Projekten ausgeteilt werden?"),
                   TMsgType::mtConfirmation, mbOK | mbCancel);
    if (answer != TModalResult::mrOk)
        return false;
    const bool hadEint = Sch.getEintAnz() > 0;
    ClearEint(Sch, Pro);
    if (hadEint)
        Sch.setModified();
    return true;
}

bool VerifyEinteilung(TSchuelerData& Sch, TProjektData& Pro, const std::function<void(const QString&)>& Msg)
{
    Msg(QStringLiteral("VERIFY"));
    // The counts may be stale after an edited or deleted pupil.
    CountEint(Sch, Pro);
    bool ok = true;
    for (int i = 1; i <= Sch.Anz(); ++i) {
        const TSchueler* S = Sch.getNr(i);
        const int p = S->getPriority(Pro);
        for (int r = 1; r < p; ++r) {
            const int w = Pro.ValidNr(S->wahl[r]);
            if (w == 0)
                continue;
            const TProjekt* q = Pro.getNr(w);
            if (q->Anz() < q->teilnmax && isEintPossible(*S, *q)) {
                Msg(QStringLiteral("Inkonsistenz bei Schüler %1 Wahl %2").arg(i).arg(r));
                ok = false;
            }
        }
    }
    return ok;
}

#include "data/UEinteilungBasics.h"

bool isEintPossible(const TSchueler& S, const TProjekt& P)
{
    bool result = P.jgmin <= S.jgst && S.jgst <= P.jgmax && (S.geschl ? P.maenn : P.weib);
    if (S.hand >= 1 && S.hand <= 5)
        result = S.wahl[S.hand] == P.nr;
    if (S.fest)
        result = S.wahl[1] == P.nr;
    if (P.gesp)
        result = false;
    return result;
}

void ClearEint(TSchuelerData& Sch, TProjektData& Pro)
{
    for (int i = 1; i <= Sch.Anz(); ++i)
        Sch.getNr(i)->zuteil = 0;
    Pro.getNr0()->ResetAnz();
    for (int i = 1; i <= Pro.Anz(); ++i)
        Pro.getNr(i)->ResetAnz();
}

void CountEint(TSchuelerData& Sch, TProjektData& Pro)
{
    const int projects = Pro.Anz();
    if (projects == 0)
        return;
    TProjekt* null = Pro.getNr0();
    null->ResetAnz();
    for (int i = 1; i <= projects; ++i)
        Pro.getNr(i)->ResetAnz();

    const int pupils = Sch.Anz();
    // A number naming no project counts on project 0.
    for (int i = 1; i <= pupils; ++i)
        Pro.getNrOr0(Sch.getNr(i)->zuteil)->IncAnz();
    if (null->Anz() == pupils)
        null->ResetAnz();
}

#pragma once
// Small project and pupil lists for the assignment tests.

#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QString>
#include <initializer_list>

namespace EintTest {

// Appends project Pro.Anz()+1 with the given bounds (grades 1-13, both
// genders).
inline TProjekt* addProjekt(TProjektData& Pro, int min, int max, bool gesp = false)
{
    auto* p = new TProjekt(Pro.Anz() + 1);
    p->name = QStringLiteral("Projekt %1").arg(p->nr);
    p->teilnmin = min;
    p->teilnmax = max;
    p->gesp = gesp;
    Pro.add(p);
    return p;
}

// Appends a girl of grade 7 with up to five choices.
inline TSchueler* addSchueler(TSchuelerData& Sch, std::initializer_list<int> wahl, int hand = -1,
                              bool fest = false)
{
    auto* s = new TSchueler;
    s->name = QStringLiteral("Schüler %1").arg(Sch.Anz() + 1);
    s->jgst = 7;
    s->abt = QStringLiteral("a");
    int r = 1;
    for (int w : wahl)
        s->wahl[r++] = w;
    s->hand = hand;
    s->fest = fest;
    Sch.add(s);
    return s;
}

// The worked example: projects 1 and 2 with 2..3 places, five pupils who
// all chose 1 first and 2 second.
inline void fillWorkedExample(TSchuelerData& Sch, TProjektData& Pro)
{
    addProjekt(Pro, 2, 3);
    addProjekt(Pro, 2, 3);
    for (int i = 0; i < 5; ++i)
        addSchueler(Sch, {1, 2});
}

// Every pupil's zuteil, in list order.
inline QList<int> zuteile(const TSchuelerData& Sch)
{
    QList<int> all;
    for (int i = 1; i <= Sch.Anz(); ++i)
        all.append(Sch.getNr(i)->zuteil);
    return all;
}

inline QList<int> counts(const TProjektData& Pro)
{
    QList<int> all;
    for (int i = 0; i <= Pro.Anz(); ++i)
        all.append(i == 0 ? Pro.getNr0()->eintanz : Pro.getNr(i)->eintanz);
    return all;
}

} // namespace EintTest

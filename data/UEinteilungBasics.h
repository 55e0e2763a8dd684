#pragma once
// Whether a pupil may join a project; clearing and recounting assignments.

#include "data/UProjekt.h"
#include "data/UProjektData.h"
#include "data/USchueler.h"
#include "data/USchuelerData.h"

// Grade range and gender; for a hand index 1..5 instead the choice of that
// rank; for a fixed pupil instead the first choice; a closed project admits
// nobody.
bool isEintPossible(const TSchueler& S, const TProjekt& P);

// Every pupil unassigned (hand index and fixed flag remain), every count 0.
void ClearEint(TSchuelerData& Sch, TProjektData& Pro);

// Recounts every project's eintanz, project 0 included, from the pupils'
// zuteil. With no pupils every count becomes 0; with no projects besides 0
// nothing changes. A zuteil naming no project counts on project 0. When no
// pupil is assigned to a project, project 0 shows 0.
void CountEint(TSchuelerData& Sch, TProjektData& Pro);

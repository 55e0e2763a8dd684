#pragma once
// A synthetic school for benchmarks: projects with grade ranges, bounds and
// gender locks; pupils with umlauts in their names and five choices skewed
// towards a few popular projects. The same seed gives the same school.

#include <QString>
#include <QtGlobal>

class TProjektData;
class TSchuelerData;

struct TSchoolSpec {
    int pupils = 100000;
    int projects = 255;        // at most 255: the most a pupil line can name
    quint32 seed = 20261210;
    bool assigned = true;      // each pupil on its first admissible choice
};

// Empties both lists and fills them with the school.
void GenerateSchool(const TSchoolSpec& school, TProjektData& Pro, TSchuelerData& Sch);

// Writes the school as a project file and an assignment file (through
// TDataFile); false when a file cannot be created.
bool WriteSchoolFiles(const TSchoolSpec& school, const QString& proFile, const QString& einFile);

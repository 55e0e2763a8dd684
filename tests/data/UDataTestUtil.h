#pragma once
// Containers that release their records when they go, for tests only: the
// real containers never do (a pupil selection shares its pupils).

#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TOwnedProjektData : public TProjektData {
public:
    ~TOwnedProjektData() override
    {
        ClearData();
        delete getNr0();
    }
};

class TOwnedSchuelerData : public TSchuelerData {
public:
    ~TOwnedSchuelerData() override { ClearData(); }
};

// The program's project list holds projects 1..n while this lives.
class TGlobalProjects {
public:
    explicit TGlobalProjects(int n)
    {
        for (int k = 1; k <= n; ++k)
            ProjektData->add(new TProjekt(k));
    }
    ~TGlobalProjects() { ProjektData->ClearData(); }
    TGlobalProjects(const TGlobalProjects&) = delete;
    TGlobalProjects& operator=(const TGlobalProjects&) = delete;
};

// A pupil from the text of an assignment line.
inline TSchueler* pupil(const QString& line)
{
    return new TSchueler(TZeile(line), true);
}

inline TProjekt* project(const QString& line)
{
    return new TProjekt(TZeile(line));
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

#pragma once
// The project list: the pseudo-project 0 at position 0, project k at
// position k (k = 1..Anz()).

#include "data/UData.h"
#include "data/UProjekt.h"
#include "data/USchueler.h"

class TProjektData : public TData {
public:
    TProjektData();             // holds a new pseudo-project
    ~TProjektData() override;   // releases no record

    // The most projects the list takes: pupils name them by numbers up to
    // TSchueler::MaxNr.
    static constexpr int MaxAnz = TSchueler::MaxNr;
    // "Es sind höchstens 255 Projekte möglich."
    static QString MaxAnzText();

    // Releases every project, the pseudo-project too, and appends a new
    // pseudo-project; a reference to the old one is invalid afterwards.
    void ClearData() override;
    // Project i, 1 to Anz(); otherwise raises Exception
    // "UProjektData.getNr: ungueltige Projektnummer: <i>".
    TProjekt* getNr(int i) const override;
    TProjekt* getNr0() const;   // the pseudo-project
    // nr when it names a project (1..Anz()), else 0: a pupil's choice or
    // assignment that names no project stands for none.
    int ValidNr(int nr) const { return nr >= 1 && nr <= Anz() ? nr : 0; }
    // The project a pupil's number names; the pseudo-project for 0 and for
    // a number that names no project.
    TProjekt* getNrOr0(int nr) const;
    int Anz() const override { return count() - 1; }
    // Index 1..Anz()+1; the projects from Index on move up and keep their
    // numbers.
    void InsertEmpty(int Index, TStringGrid& WriteTo) override;
    // Index 1..Anz(); the later projects move down and keep their numbers.
    void DeleteEntry(int Index) override;
    QStringList getRecCaptions() const override;
    QStringList getRecCaptionWidthExample() const override;
    int getRecCount() const override { return 8; }
    TDataType getDataType() const override { return dtPro; }

    // Rows: heading row 0 (left alone), the pseudo-project in row 1,
    // project k in row k+1: nr, name, count, fill state; the project is the
    // object of column 0. One fixed row.
    void toOverview(TStringGrid& Grid) const;
    // Sums of teilnmin and teilnmax over projects 1..Anz() (64-bit safe:
    // a sum beyond the int range is clamped).
    void getSpaceMinMax(int& min, int& max) const;
};

// The program's project list; exists from start-up to exit and is never
// replaced.
extern TProjektData* ProjektData;

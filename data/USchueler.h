#pragma once
// A pupil and its pupil line (11 fields with the assigned project, 10
// without).

#include "data/UGlobals.h"
#include "data/USchPro.h"
#include "platform/UExceptions.h"

#include <QString>

class TProjektData;

// A bad pupil line; the message names the field.
class ESchFromZeile : public Exception {
public:
    using Exception::Exception;
};

class TSchueler : public TSchPro {
public:
    // An empty pupil: no name, grade 0, department " ", girl, no choices,
    // unassigned, not fixed, no hand index.
    TSchueler();
    // All fields 0/empty/false, then FromZeileZT(Zeile, zt); raises
    // ESchFromZeile.
    TSchueler(const TStrings& Zeile, bool zt);

    // The highest project number a pupil line holds.
    static constexpr int MaxNr = 255;

    // Whether a pupil line can carry the name and read it back.
    static bool IsValidName(const QString& name);
    // Whether the department is one a pupil line takes: empty, or
    // beginning with a blank or A to H in either case.
    static bool IsValidAbt(const QString& abt);

    QString getName() const override { return name; }
    bool isSchueler() const override { return true; }
    bool isProjekt() const override { return false; }
    void FromZeile(const TStrings& Zeile) override { FromZeileZT(Zeile, true); }
    // The line with the assigned project (11 fields).
    TZeile ToZeile() const override { return ToZeileZT(true); }
    // Name, class, assigned project and, with voll, the five choices; in
    // HTML name and class are escaped. Ignores krit.
    QString ToExportZeil(TSortCritType krit, TExpFormat ext, bool voll) const override;
    // The heading of this pupil's category under krit. Under sc_P_N and
    // sc_P_Kl the assigned project of the program's project list, the
    // pseudo-project for a number it does not hold.
    QString ExportCatHeading(TSortCritType krit, TExpFormat ext, bool first) const override;
    // True when this pupil and CmpSchueler fall into different categories
    // under krit: the class as the sort groups it (FoldedAbt), the assigned
    // project as getZuteil gives it, or the first letter of the name.
    bool ExportCatDiffers(TSortCritType krit, const TSchueler& CmpSchueler) const;

    // zt: the line carries the assigned project. Without it zuteil becomes 0
    // and the hand index is cleared after reading. A name or department
    // holding ";", a control character or a character outside Windows-1252
    // is refused. A refused line changes no field.
    void FromZeileZT(const TStrings& Zeile, bool zt);
    // An edited row of the pupil editor: read as FromZeileZT(Zeile, false),
    // but a row whose gender, grade, "fest" field and five choices mean
    // what they meant keeps the assigned project and the hand index.
    void FromEditedZeile(const TStrings& Zeile);
    // A line of a data file: as FromZeileZT, but a control character in the
    // name or the department is taken as a blank.
    void FromFileZeileZT(const TStrings& Zeile, bool zt);

    // Rank of the assigned project among the choices (highest rank when it
    // stands at several), 0 when unassigned, -1 when none of the choices.
    int getPriority() const;
    // The assigned project as Pro holds it: zuteil, or 0 when Pro has no
    // such project; the priority of that assignment.
    int getZuteil(const TProjektData& Pro) const;
    int getPriority(const TProjektData& Pro) const;
    // The projects from number pos on were renumbered by delta (+1: a
    // project was inserted at pos; -1: project pos goes). Every choice and
    // the assignment follow their project; one naming the project that goes
    // becomes 0, a placement by hand on its rank is removed, and a pupil
    // fixed to it is fixed no more. Numbers naming no project stay beyond
    // the list; MaxNr becomes 0 on an insert. True when anything changed.
    bool MoveProjektRefs(int pos, int delta);
    // Where project number nr stands after that renumbering.
    static int MovedNr(int nr, int pos, int delta);
    int getWahlAnz() const;                       // ranks with a choice
    // The sort key; the assigned project as the program's project list
    // holds it (getZuteil).
    QString ToSortZeil(TSortCritType krit) const;
    void setHand(int i);                          // 0..5 stored, else -1
    void clearHand() { hand = -1; }
    bool isHand() const { return hand != -1; }
    int getHand() const { return hand; }

    QString name;
    int jgst = 0;
    QString abt;
    bool geschl = false;      // true for a boy
    TRanked<int> wahl;        // wahl[1]..wahl[5]; 0 = no choice
    int zuteil = 0;           // assigned project; 0 = none
    bool fest = false;
    bool mark = false;        // unused
    int hand = -1;            // -1 none; 0 into project 0; 1..5 on that rank

private:
    // The fields of the line, in line order, into this pupil; raises at the
    // first bad one. zuteil only with zt.
    void ReadFields(const TStrings& Zeile, bool zt);
    TZeile ToZeileZT(bool zt) const;
    int PriorityOf(int z) const;
    QString ExportCatText(TSortCritType krit) const;   // the category's text
};

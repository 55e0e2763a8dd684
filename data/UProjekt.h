#pragma once
// A project of the project day and its project line (9 fields written, 8 or
// 9 read).

#include "data/UGlobals.h"
#include "data/USchPro.h"
#include "platform/UExceptions.h"

#include <QString>

// A bad project line; the message names the field.
class EProFromZeile : public Exception {
public:
    using Exception::Exception;
};

class TProjekt : public TSchPro {
public:
    // The defaults: no name, grades 1-13, 0-1000 participants, both
    // genders, open.
    explicit TProjekt(int nr);
    // All fields 0/empty/false, then FromZeile; raises EProFromZeile.
    explicit TProjekt(const TStrings& Zeile);
    // Shows a warning and builds project 1. Nothing in the system uses it.
    TProjekt();
    // The pseudo-project 0 "Nicht/ungültig gewählt"; the caller owns it.
    static TProjekt* CreateNull();
    // Stands in the list for the project line at line lineNo of a file
    // that could not be read, so that the projects behind it keep their
    // numbers: the defaults, but closed and named "Zeile 7 nicht lesbar".
    // The caller owns it and gives it its number.
    static TProjekt* CreateUnreadable(int lineNo);
    // "Zeile <line> nicht lesbar", the name of such a project.
    static QString UnreadableName(const QString& line);

    QString getName() const override { return name; }
    bool isSchueler() const override { return false; }
    bool isProjekt() const override { return true; }
    // A name holding ";", a control character or a character outside
    // Windows-1252 is refused. A refused line changes no field.
    void FromZeile(const TStrings& Zeile) override;
    // A line of a data file: as FromZeile, but a control character in the
    // name is taken as a blank.
    void FromFileZeile(const TStrings& Zeile);
    TZeile ToZeile() const override;
    // Ignores krit and voll; in HTML the name is escaped.
    QString ToExportZeil(TSortCritType krit, TExpFormat ext, bool voll) const override;
    // The column headings; ignores krit and first.
    QString ExportCatHeading(TSortCritType krit, TExpFormat ext, bool first) const override;

    int getNr() const { return nr; }
    void setNr(int Nr) { nr = Nr; }
    void CheckAndSetNr(int Nr) { nr = Nr; }
    int Anz() const { return eintanz; }
    void ResetAnz() { eintanz = 0; }
    void IncAnz() { ++eintanz; }
    // "Projekt 3: Theater (8-20 Teiln., Kl 5-10)"; the name alone for 0.
    QString ToString() const;

    int nr = 0;
    QString name;
    int jgmin = 0;
    int jgmax = 0;
    int teilnmin = 0;
    int teilnmax = 0;
    int eintanz = 0;   // pupils assigned now; kept by CountEint
    bool weib = false;
    bool maenn = false;
    bool gesp = false;
};

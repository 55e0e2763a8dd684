#pragma once
// Abstract base of the two record kinds, TProjekt and TSchueler.

#include "data/UGlobals.h"
#include "data/UZeile.h"

#include <QString>

class TSchPro {
public:
    virtual ~TSchPro() = default;

    virtual QString getName() const = 0;
    virtual bool isSchueler() const = 0;
    virtual bool isProjekt() const = 0;
    // Fills the record from field texts; raises the kind's exception
    // (EProFromZeile, ESchFromZeile) at the first field it cannot accept.
    virtual void FromZeile(const TStrings& Zeile) = 0;
    // A new record line with the record's fields.
    virtual TZeile ToZeile() const = 0;
    // One export line of the record in format ext; voll adds a pupil's
    // five choices.
    virtual QString ToExportZeil(TSortCritType krit, TExpFormat ext, bool voll) const = 0;
    // The category heading before the record in an export; first is true
    // for the first heading of an export.
    virtual QString ExportCatHeading(TSortCritType krit, TExpFormat ext, bool first) const = 0;

protected:
    // The column separator of export format ext.
    static QString ExportSeparator(TExpFormat ext)
    {
        switch (ext) {
        case exSpace: return QStringLiteral("  ");
        case exTab: return QStringLiteral("\t");
        case exHtml: return QStringLiteral("</TD> <TD>");
        case exPrint: break;
        }
        return QStringLiteral("\x1B\t\x1B");   // a tab control token
    }

    TSchPro() = default;
    TSchPro(const TSchPro&) = default;
    TSchPro& operator=(const TSchPro&) = default;
};

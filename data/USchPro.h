#pragma once
// Abstract base of the two record kinds, TProjekt and TSchueler.

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

protected:
    TSchPro() = default;
    TSchPro(const TSchPro&) = default;
    TSchPro& operator=(const TSchPro&) = default;
};

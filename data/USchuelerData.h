#pragma once
// The pupil list: pupils numbered 1..Anz() in list order, with the
// criterion it was last sorted by.

#include "data/UData.h"
#include "data/UFilter.h"
#include "data/UGlobals.h"
#include "data/USchueler.h"

#include <memory>

class TProjektData;
struct TImportOptions;
struct TElements;
struct TImportCounts;

class TSchuelerData : public TData {
public:
    TSchuelerData();
    // The same pupil records as CopyFrom (not owned: never ClearData or
    // DeleteEntry it while CopyFrom holds them), the same order and
    // SortedBy; no file name, not modified.
    explicit TSchuelerData(const TSchuelerData* CopyFrom);
    ~TSchuelerData() override;   // releases no pupil

    // Releases every pupil; not sorted, no file name, not modified.
    void ClearData() override;
    // Pupil i, 1 to Anz(); otherwise raises Exception
    // "USchuelerData.getNr: ungueltige Schuelernummer".
    TSchueler* getNr(int i) const override;
    int Anz() const override { return count(); }
    // Index 1..Anz()+1; writes the new pupil's 11 fields into row Index;
    // not sorted afterwards. The modified flag is left to the caller.
    void InsertEmpty(int Index, TStringGrid& WriteTo) override;
    // Index > Anz() does nothing.
    void DeleteEntry(int Index) override;
    QStringList getRecCaptions() const override;
    QStringList getRecCaptionWidthExample() const override;
    int getRecCount() const override { return 11; }
    TDataType getDataType() const override { return dtSch; }

    // Pupils whose zuteil is not 0, whether it names a project or not.
    int getEintAnz() const;
    // Pupils assigned to a project of Pro.
    int getEintAnz(const TProjektData& Pro) const;
    // The class overview: row 0 keeps the caller's four headings; rows 1..n
    // class text, pupils, assigned (to a project of Pro), first choice;
    // classes merged without regard to case. One fixed row when n >= 1,
    // none otherwise.
    void toOverview(TStringGrid& Grid, const TProjektData& Pro) const;
    // Sorts by the keys of TSchueler::ToSortZeil (by character code, not
    // stable).
    void Sort(TSortCritType Crit);
    TSortCritType getSort() const { return SortedBy; }
    // Clears every pupil's hand index; assignments and fixed flags remain.
    void clearHand();
    // Every pupil's references follow a renumbering of the projects
    // (TSchueler::MoveProjektRefs); true when any changed.
    bool MoveProjektRefs(int pos, int delta);

    // MCount := number of pupils matching Filter. Unless countOnly, also a
    // new list of those pupils (the caller owns the list, not the pupils;
    // see the copying constructor); nullptr when countOnly.
    std::unique_ptr<TSchuelerData> select(const TSearchFilter& Filter, bool countOnly, int& MCount) const;

    // Empties the list, then reads the pupil-list file FName into it (see
    // import/UImport.h); the number of pupils read. Defined by the import.
    int ImportFromFile(const QString& FName, const TImportOptions& Options, const TElements& Elements,
                       TImportCounts* Counts = nullptr);

private:
    TSortCritType SortedBy = sc_NotSorted;
};

// The program's pupil list; exists from start-up to exit. The import
// replaces it by a new list (the old one emptied with ClearData first).
extern TSchuelerData* SchuelerData;

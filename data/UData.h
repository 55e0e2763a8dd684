#pragma once
// The abstract record container: an ordered list of records with a
// modified flag and a file name. Destroying a container never releases its
// records; only ClearData and DeleteEntry do.

#include "data/USchPro.h"
#include "platform/UFontSpec.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <memory>

class TAnsiFileWriter;
class TStringGrid;
class TVirtPrinter;

// Where the lines of a running export go.
enum TExportState { toNIL, toPrinter, toFile };

struct TExporting {
    TExportState State = toNIL;
    std::unique_ptr<TVirtPrinter> EPrinter;   // while State is toPrinter
    std::unique_ptr<TAnsiFileWriter> EFile;   // while State is toFile
};

// The kind of a data set or editor.
enum TDataType { dtUnknown, dtSch, dtPro };

// A set of data kinds.
class TDataTypeSet {
public:
    TDataTypeSet() = default;
    TDataTypeSet(std::initializer_list<TDataType> types)
    {
        for (TDataType t : types)
            include(t);
    }
    void include(TDataType t) { FBits |= 1u << unsigned(t); }
    void exclude(TDataType t) { FBits &= ~(1u << unsigned(t)); }
    bool contains(TDataType t) const { return FBits & (1u << unsigned(t)); }
    bool isEmpty() const { return FBits == 0; }
    bool operator==(const TDataTypeSet& o) const { return FBits == o.FBits; }

private:
    unsigned FBits = 0;
};

class TData {
public:
    TData();
    virtual ~TData();   // releases no record
    TData(const TData&) = delete;
    TData& operator=(const TData&) = delete;

    // The list itself, positions 0 to count()-1. A position outside raises
    // Exception. None of these releases a record.
    int count() const { return int(FItems.size()); }
    TSchPro* items(int pos) const;
    int add(TSchPro* record);              // appends; returns its position
    void insert(int pos, TSchPro* record); // pos 0..count()
    void removeAt(int pos);                // does not release the record
    TSchPro* last() const;
    void clearList();                      // does not release the records
    void reserve(int n) { FItems.reserve(n); }

    // Releases every record and empties the container, the file name and
    // the modified flag.
    virtual void ClearData() = 0;
    // The record with number i, 1 to Anz(); any other number raises.
    virtual TSchPro* getNr(int i) const = 0;
    virtual int Anz() const = 0;
    // A new empty record gets number Index; its line goes into row Index
    // of WriteTo.
    virtual void InsertEmpty(int Index, TStringGrid& WriteTo) = 0;
    // Removes record Index and releases it.
    virtual void DeleteEntry(int Index) = 0;
    virtual QStringList getRecCaptions() const = 0;
    virtual QStringList getRecCaptionWidthExample() const = 0;
    virtual int getRecCount() const = 0;
    virtual TDataType getDataType() const = 0;

    bool getModified() const { return datamodified; }
    void setModified() { datamodified = true; }
    void ModSaved(const QString& fn);   // file name := fn, not modified
    QString getFilename() const { return filename; }

    // The print settings of a print export; the fonts stay the caller's and
    // must outlive it (a missing font prints in the default font).
    void SetPrintFonts(const TFontSpec* Heading, const TFontSpec* Standard, double Spacing, bool Footer);
    // Writes every record in format ext into the file Name (not used for
    // exPrint, which prints on Printer()), with the format's header and the
    // category headings; voll adds the pupils' choices. Returns Anz().
    // Raises EInOutError or EPrinterError when the file or the job cannot be
    // begun or finished, and the records' errors; nothing partial is kept.
    int ExportData(const QString& Name, TExpFormat ext, bool voll);

protected:
    QList<TSchPro*> FItems;
    bool datamodified = false;
    QString filename;

    const TFontSpec* HeadingFont = nullptr;
    const TFontSpec* StandardFont = nullptr;
    double FontSpacing = 0;
    bool FontFooter = false;
    TExporting Exporting;

private:
    void StartPrintExport();
    void StartFileExport(const QString& Name);
    void ExportLine(const QString& s);
    void EndPrintExport();
    void EndFileExport();
    void CancelExport();   // drops a running export, keeping nothing of it
};

#pragma once
// One command sequence of the sequence test: the steps that drive the main
// window as a user does, answering every question through the scripted
// seam, and the checks after each step, which compare the program with the
// test's own model of it (USeqModel.h). The steps are in USeqSteps.cpp,
// the checks in USeqChecks.cpp.

#include "tests/app/USeqModel.h"
#include "tests/support/UScriptedUi.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <random>

class TData;
class TEditor;
class TRecordingPrinter;

// The answers of one step, and the messages it may show.
struct TPolicy {
    TModalResult save = TModalResult::mrNo;      // "... Sollen sie gespeichert werden?"
    TModalResult yesNo = TModalResult::mrYes;    // the renumbering, deleting and placement questions
    TModalResult badLine = TModalResult::mrIgnore;
    TModalResult voll = TModalResult::mrNo;      // "Schülerwahlen mit angeben?"
    QStringList allowed;                         // patterns of the messages the step may show
    QStringList required;                        // patterns of messages it must show
    QStringList files;                           // the open or export dialog's answer; none cancels it
    QString saveAs;                              // the save dialog's answer, without extension
    int filterIndex = 1;
};

// The scripted seam answering by the running step's policy.
class TSeqUi : public TScriptedUi {
public:
    TPolicy policy;
    TModalResult messageBox(const TMessage& m) override;
    TFileDialogResult fileDialog(const TFileDialogSpec& request) override;
};

// A printed or exported line: a category heading, or a record's fields.
struct TOutLine {
    bool heading = false;
    QStringList fields;   // the heading's text alone for a heading
    int page = 0;
};

// The headings and records of an export file, and of a print-out: texts
// of one height on one page, each field in the column of its position.
QList<TOutLine> readExport(const QString& path, int format);
QList<TOutLine> readPrint(const TRecordingPrinter& printer);

class TSeqRun {
public:
    TSeqRun(const QString& dir, TSeqUi& ui, TRecordingPrinter& printer);

    // Runs the fixed steps, or from the seed the two opening steps, steps/2
    // to steps random ones and "quit"; false at the first failing check.
    bool run(const QStringList& fixed, int seed, int steps);
    const QStringList& log() const { return FLog; }
    const QString& failure() const { return FFailure; }

private:
    // The school every sequence starts from, and the files with bad lines.
    void writeSchool();
    void writeJunk();
    QString path(const QString& name) const;

    // Makes the next step at random from the state reached.
    QString nextStep();
    // Runs one step; false (with FFailure) when a check failed.
    bool runStep(const QString& step);

    // The steps.
    void open(const QStringList& a);
    void type(const QStringList& a);
    void move(const QStringList& a);
    void insertOrDelete(const QStringList& a);
    void newData(const QStringList& a);
    void sort(const QString& by);
    void automatic(int depth);
    void hand(int row, const QString& option);
    // "Einteilung löschen", or with hands "Manuelle Einteilungen löschen".
    void clearAll(bool hands);
    void extract(int geschl, bool invert);
    void overviewView(const QStringList& a);
    void closeView();
    void projectStat(const QStringList& a);
    void pupilStat(const QStringList& a);
    void import(const QStringList& a);
    void save(bool newName, const QString& name);
    void print(bool pdf);
    void exportTo(int filter);
    void quit(const QStringList& a);

    // The editor of a kind brought to the front through its command.
    TEditor* activated(TDataType kind);
    // The model's view of an open view.
    MView* viewOf(const TEditor* editor);
    // After sorting: the list's new order, checked to be sorted.
    void adoptOrder(const TEditor* editor);

    // The checks.
    bool fail(const QString& what);
    // The command is enabled exactly when the model says it must be.
    bool checkEnabled(const char* action, bool enabled);
    // Binds the model's new records to the program's at their places.
    void bindRecords();
    bool checkLists();
    bool checkEditors();
    bool checkCounts();
    bool checkOutput(const TData& data, const QList<TOutLine>& out, bool pageBreaks);
    bool checkAssignment(int depth);
    bool checkSaved(const QString& file);
    bool checkHandDialog(int row);
    bool checkProjectStat(int nr);
    bool checkPupilStat(const QList<TRecId>& pupils, const QString& heading);

    QString FDir;
    TSeqUi& FUi;
    TRecordingPrinter& FPrinter;
    TSeqModel FModel;
    std::mt19937 FRandom;
    QStringList FLog;
    QString FFailure;
    bool FOk = true;
    bool FQuit = false;          // the main window closed
    int FExports = 0;
    QStringList FSaved;          // files written by the sequence
};

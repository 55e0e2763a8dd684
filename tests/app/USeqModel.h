#pragma once
// The sequence test's own account of what the program must hold: both
// lists, the open editors and views, and the files the sequence knows, with
// what each step does to them. Small rules of the test's own; the one rule
// it has to restate, who may join a project, stands here once (admits).

#include "data/UData.h"
#include "data/UGlobals.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// A record of the program, known by its address only: the model follows
// the program's records through sorting and views by it.
using TRecId = const void*;

struct MProjekt {
    QString name;
    int jgmin = 1;
    int jgmax = 13;
    int min = 0;
    int max = 1000;
    bool weib = true;
    bool maenn = true;
    bool gesp = false;
};

struct MSchueler {
    QString name;
    bool boy = false;
    int jgst = 0;
    QString abt = QStringLiteral(" ");
    bool fest = false;
    int hand = -1;     // -1 none, 0 into project 0, 1..5 on that rank
    int wahl[6] = {};  // ranks 1..5; 0 = no choice
    int zuteil = 0;
    int wahlAnz() const;
};

template <typename R>
struct MEntry {
    TRecId id = nullptr;   // none until the program's new record is met
    R r;
};

struct MListState {
    bool modified = false;
    QString file;   // full path; empty when the list has none
};

// A read-only pupil view: its own list of pupils of the pupil list, or one
// empty pupil of its own when the selection found nobody.
struct MView {
    TRecId editor = nullptr;
    QString caption;
    int projekt = -1;           // a project's view follows its number
    QList<TRecId> pupils;
    bool ownEmpty = false;
    TRecId ownId = nullptr;     // that empty pupil, once met
    TSortCritType sortedBy = sc_NotSorted;
};

// What reading a file gives: its records as they come back, the messages
// its bad lines show, and whether the list may take the file's name.
struct MFile {
    TDataType kind = dtUnknown;
    QList<MProjekt> projects;
    QList<MSchueler> pupils;
    bool choices = false;     // lines of ten fields: read as choices whole
    bool whole = true;        // every line was read
    bool noProject = false;   // no line of it is a project line: not read
    QStringList messages;     // shown while it is read
};

enum class TAnswer { Yes, No, Cancel };

// The cells of a record's editor row; a line of a data file is these
// fields (a project's with "  0" after them), each followed by "; ".
QStringList rowOf(const MProjekt& p, int nr);
QStringList rowOf(const MSchueler& s);
QString fileLine(const QStringList& fields);
// A pupil as a data file gives it back: the department without leading
// blanks, no hand index beside "F".
MSchueler asStored(MSchueler s);
// Class text as the overviews show it: the grade in two places, then the
// department as stored.
QString klasseText(const MSchueler& s);
// The department, a to z in upper case and a single blank as none.
QString foldedAbt(const QString& abt);
// A class text's class: the grade, then the department folded. Two pupils
// are of one class when these agree.
QString klassenKey(const QString& klasseText);

class TSeqModel {
public:
    QList<MEntry<MProjekt>> projects;
    QList<MEntry<MSchueler>> pupils;
    MListState pro;
    MListState sch;
    TSortCritType sortedBy = sc_NotSorted;
    bool proEditor = false;   // the editable editors
    bool schEditor = false;
    QList<MView> views;
    QMap<QString, MFile> files;   // by name without folder
    QStringList questions;        // save questions the step must ask, in order

    // The save question's text for a kind.
    static QString saveQuestion(TDataType kind);

    MListState& state(TDataType kind) { return kind == dtPro ? pro : sch; }
    int projectCount() const { return int(projects.size()); }
    int pupilCount() const { return int(pupils.size()); }
    const MSchueler* pupil(TRecId id) const;
    // The number a pupil's number names: itself for a project, else 0.
    int valid(int nr) const { return nr >= 1 && nr <= projectCount() ? nr : 0; }

    // The eligibility rule: grade range and gender; a pupil placed by hand
    // on a rank is bound to that choice, a fixed one to its first; a closed
    // project takes nobody.
    bool admits(const MSchueler& s, int nr) const;
    // Ranks up to depth whose choice names a project that admits the pupil.
    QList<int> admissible(const MSchueler& s, int depth) const;
    // The rank at which the choices name the (valid) assigned project, the
    // highest of several; 0 unassigned, -1 none of the choices.
    int priority(const MSchueler& s) const;
    int assigned() const;   // pupils on a project
    // Pupils on project k (0: those on none; 0 too when nobody is on one).
    int onProject(int k) const;

    // The save question for kind, answered: false stops the road. "Ja"
    // saves the list, under askedName when it has no name of its own.
    bool askToSave(TDataType kind, TAnswer answer, const QString& askedName);
    // Writes a list into the file path, which becomes its file; a view's
    // pupils leave the pupil list as it was.
    void saveProjects(const QString& path);
    void savePupils(const QString& path);
    void saveView(const QString& path, const MView& v);
    QList<MSchueler> viewRecords(const MView& v) const;

    // Reading files into a list, as the open commands do.
    void openProjects(const QString& path);
    void openPupils(const QStringList& paths, bool asChoices);
    // An imported register replaces the pupils: in no file yet.
    void replacePupils(const QList<MSchueler>& list);
    // "&Neu": false when a question stopped it.
    bool newData(TAnswer answer, const QString& askedName);

    // A typed cell stored with its row: the field takes the text's meaning.
    // A pupil keeps its project and placement unless gender, grade, the
    // "fest" field or a choice changed.
    void storeTyped(TDataType kind, int row, int col, const QString& text);
    void insertPupil(int pos);
    void deletePupil(int pos);
    void insertProject(int pos);
    void deleteProject(int pos);
    // An editable editor over an empty list shows one new empty record.
    void fillEmptyEditors();

    // Placement by hand: -1 lifts it, 0 into project 0, 1..5 on that rank.
    void place(int row, int hand);
    bool clearAssignments();   // true when a pupil was assigned
    bool clearHands();         // true when a pupil was placed by hand

    // The pupils of the list that pass, in its order.
    QList<TRecId> select(const std::function<bool(const MSchueler&)>& pass) const;
    // A pupil of the class chosen by grades and department letters (none
    // chosen: any); a pupil without department passes every letter.
    static bool inClasses(const MSchueler& s, const QList<int>& grades, const QString& letters);

private:
    void writePupils(const QString& path, const QList<MSchueler>& list);
    // The projects from pos on renumbered by delta; every pupil's numbers
    // and the project views follow.
    void moveRefs(int pos, int delta);
};

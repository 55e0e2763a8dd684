#pragma once
// One data file (PRO, WAH or EIN): open, read or write a whole container,
// close. One object per open-use-close sequence.

#include "data/UData.h"
#include "data/UGlobals.h"
#include "platform/UAnsiText.h"

#include <QList>
#include <QString>

class TDataFile {
public:
    TDataFile(TFileType Ftype, const QString& Name);
    ~TDataFile();   // an unclosed write is dropped: the old file stays

    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    // False when the file cannot be opened or is no plain file (a device,
    // a pipe); nothing is raised.
    bool OpenRead();
    // False when the file cannot be created; nothing is raised. The old
    // file is replaced only by a successful Close.
    bool OpenWrite();
    // After writing: replaces the file; a failed write raises EInOutError
    // with the platform's text and leaves the old file untouched.
    void Close();

    // Reads every record line into DataBase (the project list for
    // ft_proj, a pupil list, normally SchuelerData, for ft_wahl and
    // ft_teil) and returns the number of records read; -1 when not open
    // for reading. Without concat DataBase is emptied first. A line of
    // nothing but blanks and control characters is an empty line. A
    // control character in a name or department is read as a blank. A bad
    // line shows its message through the seam and is skipped; after ten
    // such messages the rest are counted into one. A bad project line
    // followed by a project keeps its place all the same: a closed project
    // named "Zeile N nicht lesbar", N its line in the file, stands for it
    // and is not counted. A project file gives at most
    // TProjektData::MaxAnz projects: from the first project without a
    // place on, the lines are reported and not read, and the bad lines
    // before it keep no place. A file with record lines of which none is a
    // project is no project file: one message, no per-line messages. A
    // line holding a NUL byte is a bad line; a file holding one in its
    // first 4 KiB is no text file: one message, nothing read. A read error
    // raises EInOutError, once the count of the lines passed over is shown.
    int Read(TData& DataBase, bool concat);
    // The lines of the last Read for which a project stands, in file order.
    const QList<int>& StandInLines() const { return FStandInLines; }
    // Whether the last Read refused the file whole, having said so: no
    // text, or record lines of which not one is a project line.
    bool RefusedWhole() const { return FRefusedWhole; }
    // True when the last Read took every record line of the file whole: no
    // line and not the file itself was refused, and, for choices, no line
    // had more than ten fields. Such a line is an assignment line, and a
    // choices read drops its eleventh field, whatever it holds ("0" too),
    // and the hand index in its fifth. Only such a file may give the list
    // its name.
    bool ReadComplete() const { return FRefused == 0 && !FDroppedAssignment; }
    // One line per record; the number written, -1 when not open for
    // writing.
    int Write(const TData& DataBase);

    TFileMode getMode() const { return FMode; }
    TFileType getType() const { return FType; }
    QString getName() const { return Name; }

private:
    TFileMode FMode = fm_closed;
    int FRefused = 0;
    QList<int> FStandInLines;
    bool FRefusedWhole = false;
    bool FDroppedAssignment = false;
    TFileType FType;
    QString Name;
    TAnsiLineReader FReader;
    TAnsiFileWriter FWriter;
};

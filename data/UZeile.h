#pragma once
// A record line: the ordered field texts of one project or pupil.
// Split from a text line at every ";" (blanks after a ";" dropped, text
// after the last ";" ignored, no quoting); joined with "; " after every
// field.

#include "data/UGlobals.h"

#include <QString>
#include <QStringList>

// The general list of field texts a record is filled from: a record line or
// a row of the editor's grid.
using TStrings = QStringList;

// Whether a text field can travel in a record line, a data file and every
// export: no ";", no control character (below 0x20: CR, LF, NUL, TAB, ESC
// among them; and DEL), and every character in Windows-1252. The record
// parsers refuse every name and department typed or imported that does
// not fit.
bool FitsZeile(const QString& text);
// A text field of a data file as the record parsers take it: every control
// character turned into a blank, so that older files holding one still
// read whole.
QString BlankControls(const QString& text);
// Whether a line of a data file holds nothing but blanks and control
// characters (the DOS end-of-file byte 0x1A among them): such a line is an
// empty line, the empty text too.
bool IsBlankLine(const QString& line);
// A text field after the first as a record line gives it back: without its
// leading blanks. The record parsers store names and departments in this
// form, so that a record reads back from its file as it was stored.
QString LaterField(const QString& text);

class TZeile : public QStringList {
public:
    TZeile();
    explicit TZeile(const QString& st);   // empty, then ReadFromString(st)

    // Appends the fields of st after those already held; returns the
    // position of the last field appended, -1 when st holds no ";".
    int ReadFromString(const QString& st);

    // Every field followed by "; "; the file kind does not change the form.
    QString AsString() const;
    QString AsString(TFileType FormatAs) const;
};

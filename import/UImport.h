#pragma once
// Import of pupil lists from foreign text files: the two format records and
// their definition files, the three ways of cutting a line into fields, and
// the reading of those fields into pupils.

#include "platform/UExceptions.h"

#include <QByteArray>
#include <QChar>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>

class TSchueler;
class TSchuelerData;

// ---------------------------------------------------------------------------
// Format records

// How a line is cut into fields.
enum TImportFormat : std::uint8_t {
    imDataBase,       // separator character, fields optionally in double quotes
    imConventional,   // separator text
    imPositions,      // fixed start columns
};

// The text cut to its first capacity characters, each mapped through the
// Windows-1252 table ("?" for a character without a byte).
QString FitShortText(const QString& text, int capacity);

// A text of at most N characters, each with a Windows-1252 byte: what a
// definition file can hold. Assigning a longer text keeps its first N.
template <int N>
class TShortText {
public:
    static constexpr int Capacity = N;

    TShortText() = default;
    TShortText(const QString& text) : FText(fit(text)) {}
    TShortText(const char* text) : FText(fit(QString::fromUtf8(text))) {}

    const QString& text() const { return FText; }
    operator const QString&() const { return FText; }
    bool isEmpty() const { return FText.isEmpty(); }
    int length() const { return int(FText.size()); }

private:
    static QString fit(const QString& text) { return FitShortText(text, N); }
    QString FText;
};

// Start columns, counted from 1, of fields 1 to 10 (field i at index i - 1).
// The fields end at the first entry that is not positive.
using TPositions = std::array<qint32, 10>;

struct TImportOptions {
    bool imIgnoreErr = false;           // skip bad lines without asking
    TImportFormat imFormat = imDataBase;
    TPositions imPositionArray{};       // for imPositions
    TShortText<8> imSepString;          // for imConventional
    QChar imSepChar;                    // for imDataBase
    TShortText<255> imComment;

    bool operator==(const TImportOptions& o) const;
    bool operator!=(const TImportOptions& o) const { return !(*this == o); }
};

// Which field (numbered from 1, 0 = absent) holds which part of a pupil.
struct TElements {
    qint32 elName = 0;      // the full name
    qint32 elVName = 0;     // first name
    qint32 elNName = 0;     // last name
    qint32 elBName = 0;     // a further name part, after last and first name
    qint32 elGeschl = 0;    // gender
    qint32 elKl = 0;        // the full class, grade followed by department
    qint32 elJgst = 0;      // the grade alone
    qint32 elAbt = 0;       // the department alone
    TShortText<8> elGM;     // the word for male
    TShortText<8> elGW;     // the word for female
    qint32 highestEl = 0;   // a line needs at least this many fields

    bool operator==(const TElements& o) const;
    bool operator!=(const TElements& o) const { return !(*this == o); }
};

extern const TImportOptions DefaultOptions;
extern const TElements DefaultElements;

// ---------------------------------------------------------------------------
// Format definition files: the options record (309 bytes), then the
// elements record (54 bytes), nothing else.

inline constexpr int kOptionsBytes = 309;
inline constexpr int kElementsBytes = 54;
inline constexpr int kFormatFileBytes = kOptionsBytes + kElementsBytes;

// The 363 bytes of a definition file.
QByteArray FormatToBytes(const TImportOptions& Options, const TElements& Elements);
// Reads the first 363 bytes. False (records unchanged) when there are fewer
// or they are not a definition of ours: a convention other than the three,
// a text longer than its field, a field number below 0 or above highestEl.
bool FormatFromBytes(const QByteArray& bytes, TImportOptions& Options, TElements& Elements);

// False without a message when the file cannot be opened; records
// unchanged then. A short or foreign file shows "Lesefehler", puts the
// defaults into both records and gives false.
bool LoadFormatFile(const QString& FName, TImportOptions& Options, TElements& Elements);
// False without a message when the file cannot be created. A failed write
// shows "Schreibfehler", gives false and leaves an existing file as it was.
bool SaveFormatFile(const QString& FName, const TImportOptions& Options, const TElements& Elements);
// The name to save under: ".FMT" appended when the last path component
// has no ".".
QString FormatFileName(const QString& chosen);

// ---------------------------------------------------------------------------
// Line splitting. A line comes without its line end.

QStringList SplitLine(QStringView line, const TImportOptions& Options);
QStringList SplitDataBase(QStringView line, const TImportOptions& Options);
QStringList SplitConventional(QStringView line, const TImportOptions& Options);
QStringList SplitPositions(QStringView line, const TImportOptions& Options);

// The blank and the vertical tab (11); not the TAB.
inline bool IsBlank(QChar c) { return c.unicode() == 32 || c.unicode() == 11; }

// ---------------------------------------------------------------------------
// Interpreting lines

enum TImportErrorCode {
    eNoData,      // too few fields
    eNoName,      // no usable name
    eInvKl,       // class or department not readable
    eInvJgst,     // grade not a whole number from 1 to 13
    eNoKl,        // no class
    eInvGeschl,   // gender not recognised
};

// A line that cannot become a pupil.
class EImportError : public Exception {
public:
    EImportError(const QString& message, TImportErrorCode code)
        : Exception(message), FCode(code) {}

    TImportErrorCode code() const { return FCode; }

private:
    TImportErrorCode FCode;
};

// Reads a full class such as "10a": a leading whole number is the grade,
// the rest without blanks the department. True when the grade is above 0;
// a number beyond the 32-bit range gives false.
bool ParseKlasse(const QString& text, int& grade, QString& department);

// A new pupil from the fields of one line; raises EImportError. Letters of
// the name that a data file cannot hold are written as their base letters
// (Ansi::foldLetters); nameFolded, when given, tells whether there were any.
std::unique_ptr<TSchueler> Interpret(const QStringList& Fields, const TElements& Elements,
                                     bool* nameFolded = nullptr);

// What the import of one file came to.
struct TImportCounts {
    int imported = 0;         // pupils appended
    int passedOver = 0;       // lines that are not blank and became no pupil
    bool cancelled = false;   // "Abbrechen" at a bad line
    // The pupils appended whose names were written with base letters.
    QSet<const TSchueler*> foldedNames;
};

// Appends a pupil for every line of the file that is not blank and returns
// their number. A bad line is skipped silently with imIgnoreErr, otherwise
// the user chooses between "Abbrechen" (the list is emptied, result 0) and
// "&Ignorieren"; after kShownBadLines questions the further bad lines are
// passed over without one. Counts, when given, receives the tally. A file
// that cannot be opened or read raises EInOutError; so does one that is no
// text file, before any of its lines is read.
int ImportFile(const QString& FName, TSchuelerData& List, const TImportOptions& Options,
               const TElements& Elements, TImportCounts* Counts = nullptr);

// The first lines of the file (up to eleven that are not blank) into Lines,
// field Nr of each that has one into Values; returns the highest field
// count seen. Decodes and refuses files as ImportFile does, raising
// EInOutError like it.
int ImportPreview(const QString& FName, const TImportOptions& Options, int Nr,
                  QStringList& Lines, QStringList& Values);

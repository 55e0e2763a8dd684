#pragma once
// Text files in the Windows-1252 code page: our own table, lines ending at
// CR LF, lone CR or lone LF when read, CR LF when written. Files from other
// programs may also be read as UTF-8, line by line, or as UTF-16.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

namespace Ansi {

// Every byte 0x00..0xFF decodes to one character and encodes back to itself;
// the five bytes the code page leaves undefined stand for U+0081, U+008D,
// U+008F, U+0090 and U+009D.
QString decode(const QByteArray& bytes);
QChar decodeByte(unsigned char byte);

// A character without a byte in the code page becomes "?".
QByteArray encode(const QString& text);

// True when every character of the text has a byte of its own.
bool isEncodable(const QString& text);
bool isEncodable(QChar c);

// The text with each letter that has no byte written as its base letter:
// the letter without its marks, or for the few letters that do not
// decompose (ı, ł, đ, ħ, ŧ and the like) the letter of a small table. A
// letter and marks the code page holds as one letter become that letter.
// Every character with a byte stays; so does one without a base letter
// that has one (isEncodable tells).
QString foldLetters(const QString& text);

// "Die Datei NAME ist keine Textdatei.", the name without its folder.
QString notTextMessage(const QString& fileName);

} // namespace Ansi

// How the lines of a file are decoded.
enum class TTextEncoding {
    Windows1252,   // every line: the program's own files
    LineByLine,    // each line UTF-8 or Windows-1252, as its bytes say
    Utf16,         // after its byte order mark, in either byte order
};

class TAnsiLineReader {
public:
    // Reads the file chunkSize bytes at a time (at least 1).
    explicit TAnsiLineReader(qsizetype chunkSize = 64 * 1024) : FChunk(qMax<qsizetype>(1, chunkSize)) {}
    TAnsiLineReader(const TAnsiLineReader&) = delete;
    TAnsiLineReader& operator=(const TAnsiLineReader&) = delete;

    bool open(const QString& fileName);   // false when the file cannot be opened
    // Opens a file that another program wrote. After a UTF-16 byte order
    // mark (either byte order) the file is UTF-16. Otherwise each line is
    // UTF-8 when it is valid UTF-8 and holds at least one multi-byte
    // sequence, Windows-1252 when not; a UTF-8 byte order mark at the start
    // is passed over. A read error raises EInOutError as readLine does.
    bool openForeign(const QString& fileName);
    void close();
    bool isOpen() const { return FFile.isOpen(); }
    TTextEncoding encoding() const { return FEncoding; }

    // Next line without its end; false at the end of the file.
    // A read error raises EInOutError "Fehler beim Lesen der Datei " and
    // the file's name as opened.
    bool readLine(QString& line);
    // Up to maxBytes of the file from where reading stands, without taking
    // them; not for a UTF-16 file, whose lines are buffered as UTF-8.
    QByteArray peek(qint64 maxBytes);
    // A NUL byte among the next 4096 bytes: some other kind of file, no
    // text.
    bool looksBinary();
    // After openForeign: the file is no text. Its first 64 KiB (after a
    // byte order mark) hold a NUL byte, or more than one byte in a hundred
    // is a control character other than TAB, LF, FF, CR and 0x1A. In a
    // UTF-16 file its characters count so instead of its bytes.
    bool foreignBinary() const { return FForeignBinary; }

private:
    bool fill();
    [[noreturn]] void readFailed() const;
    QString decodeLine(qsizetype from, qsizetype length) const;
    // The next chunk as the buffer holds it; end when the file had no more.
    QByteArray readChunk(bool& end);

    qsizetype FChunk;
    QFile FFile;
    QByteArray FBuffer;
    qsizetype FPos = 0;
    bool FEof = false;
    TTextEncoding FEncoding = TTextEncoding::Windows1252;
    bool FForeignBinary = false;
    // UTF-16 comes into the buffer as UTF-8: a byte and a high surrogate
    // that a chunk's end cut off wait for the next chunk.
    bool FBigEndian = false;
    QByteArray FOddByte;
    char16_t FHighSurrogate = 0;
};

// The messages of a file that cannot be created and of one that could not
// be written whole, naming the file; each ends in the reason the system
// gave, when there is one.
QString FileCreateError(const QString& fileName, const QString& reason = QString());
QString FileWriteError(const QString& fileName, const QString& reason = QString());

// Why writing into file failed, as the system says: a write that failed
// into the buffer learns it only when the buffer is written out again.
QString WriteFailureReason(QFileDevice& file);

// Replaces the target of file with what was written into it, only when all
// of it reached the disk: a buffered write that fails on flush (a full disk)
// counts too. False when that failed; then the old file stays as it was,
// nothing written is left behind and reason (when given) holds why.
bool CommitSaveFile(QSaveFile& file, QString* reason = nullptr);

// Writes a text file that replaces the old one only when everything was
// written: until commit() the old file stays as it was.
class TAnsiFileWriter {
public:
    TAnsiFileWriter() = default;
    TAnsiFileWriter(const TAnsiFileWriter&) = delete;
    TAnsiFileWriter& operator=(const TAnsiFileWriter&) = delete;
    ~TAnsiFileWriter();

    // False when the file cannot be created; reason (when given) then holds
    // why, as the system says.
    bool open(const QString& fileName, QString* reason = nullptr);
    bool isOpen() const { return FFile && FFile->isOpen(); }

    void writeLine(const QString& line);  // the line and CR LF
    void write(const QString& text);      // the text as it stands

    // Replaces the target file; a failed write or commit raises EInOutError
    // "Fehler beim Schreiben der Datei ", the file's name as opened and the
    // system's reason, and leaves the old file untouched.
    void commit();
    // Drops everything written; the old file stays.
    void cancel();

private:
    QSaveFile* FFile = nullptr;
};

#pragma once
// Shared by the fuzz targets: a check that aborts (so the fuzzer reports
// it), a reader over the input bytes, a private folder for files, a seam
// that counts messages, and record comparisons.

#include "data/UProjekt.h"
#include "data/USchueler.h"
#include "data/UZeile.h"
#include "platform/UAnsiText.h"
#include "platform/UStringGrid.h"
#include "platform/UUi.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fuzzFail(const char* what, const char* file, int line, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::abort();
}

#define FUZZ_CHECK(cond) ((cond) ? void(0) : fuzzFail(#cond, __FILE__, __LINE__, QString()))
#define FUZZ_CHECK_MSG(cond, detail) ((cond) ? void(0) : fuzzFail(#cond, __FILE__, __LINE__, (detail)))

// Reads the input from the front; past the end every byte is 0.
class TFuzzInput {
public:
    TFuzzInput(const std::uint8_t* data, std::size_t size)
        : FData(reinterpret_cast<const char*>(data)), FSize(qsizetype(size)) {}

    bool atEnd() const { return FPos >= FSize; }
    std::uint8_t byte() { return FPos < FSize ? std::uint8_t(FData[FPos++]) : 0; }
    std::int32_t int32()
    {
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= std::uint32_t(byte()) << (8 * i);
        return std::int32_t(u);
    }
    // A number below mod mostly, now and then an odd one.
    std::int32_t smallInt(int mod)
    {
        const std::uint8_t b = byte();
        if (b < 0xF0)
            return b % mod;
        switch (b) {
        case 0xF0: return INT32_MIN;
        case 0xF1: return INT32_MAX;
        case 0xF2: return int32();
        default: return -std::int32_t(b - 0xF2);
        }
    }
    // n bytes (fewer at the end).
    QByteArray take(qsizetype n)
    {
        n = qBound<qsizetype>(0, n, FSize - FPos);
        QByteArray b(FData + FPos, n);
        FPos += n;
        return b;
    }
    // The bytes up to the next sep (taken, not returned) or the end.
    QByteArray until(char sep)
    {
        qsizetype end = FPos;
        while (end < FSize && FData[end] != sep)
            ++end;
        QByteArray b(FData + FPos, end - FPos);
        FPos = end < FSize ? end + 1 : end;
        return b;
    }
    QByteArray rest() { return take(FSize - FPos); }

private:
    const char* FData;
    qsizetype FSize;
    qsizetype FPos = 0;
};

// Field and cell texts in an input are separated by this byte.
inline constexpr char kFieldSep = '\x1F';

inline QStringList splitAnsi(const QByteArray& bytes, char sep = kFieldSep)
{
    QStringList list;
    for (const QByteArray& part : bytes.split(sep))
        list.append(Ansi::decode(part));
    return list;
}

// A folder of this process for the files a target reads and writes.
inline QString fuzzPath(const QString& name)
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isDir() ? QStringLiteral("/dev/shm/kestrin-fuzz-XXXXXX")
                                                                       : QDir::tempPath() + QStringLiteral("/kestrin-fuzz-XXXXXX"));
    if (!dir.isValid())
        fuzzFail("temporary folder", __FILE__, __LINE__, dir.errorString());
    return dir.filePath(name);
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// Records every message and answers with a chosen button.
class TFuzzUi final : public IUi {
public:
    TFuzzUi() : FPrevious(SetUi(this)) {}
    ~TFuzzUi() override { SetUi(FPrevious); }

    QList<TMessage> messages;
    TModalResult answer = TModalResult::mrIgnore;   // for questions without "OK"

    TModalResult messageBox(const TMessage& m) override
    {
        messages.append(m);
        return (m.buttons & mbOK) ? TModalResult::mrOk : answer;
    }
    TFileDialogResult fileDialog(const TFileDialogSpec&) override { return {}; }
    bool inputQuery(const QString&, const QString&, QString&) override { return false; }
    bool fontDialog(TFontSpec&) override { return false; }
    bool printerSetup() override { return false; }
    void beep() override {}
    void showHelp(int) override {}

private:
    IUi* FPrevious;
};

// ---------------------------------------------------------------------------
// Records

inline QString describe(const TProjekt& p)
{
    return QStringLiteral("nr=%1 name=[%2] jg=%3-%4 teiln=%5-%6 w=%7 m=%8 gesp=%9")
        .arg(p.nr).arg(p.name).arg(p.jgmin).arg(p.jgmax).arg(p.teilnmin).arg(p.teilnmax)
        .arg(p.weib).arg(p.maenn).arg(p.gesp);
}

inline QString describe(const TSchueler& s)
{
    return QStringLiteral("name=[%1] jgst=%2 abt=[%3] m=%4 wahl=%5,%6,%7,%8,%9")
               .arg(s.name).arg(s.jgst).arg(s.abt).arg(s.geschl)
               .arg(s.wahl[1]).arg(s.wahl[2]).arg(s.wahl[3]).arg(s.wahl[4]).arg(s.wahl[5])
        + QStringLiteral(" zuteil=%1 fest=%2 hand=%3 mark=%4").arg(s.zuteil).arg(s.fest).arg(s.hand).arg(s.mark);
}

// The fields a project line carries (eintanz is kept by the counting).
inline bool sameRecord(const TProjekt& a, const TProjekt& b)
{
    return a.nr == b.nr && a.name == b.name && a.jgmin == b.jgmin && a.jgmax == b.jgmax
        && a.teilnmin == b.teilnmin && a.teilnmax == b.teilnmax && a.weib == b.weib
        && a.maenn == b.maenn && a.gesp == b.gesp;
}

inline bool sameRecord(const TSchueler& a, const TSchueler& b)
{
    for (int r = 1; r <= 5; ++r)
        if (a.wahl[r] != b.wahl[r])
            return false;
    return a.name == b.name && a.jgst == b.jgst && a.abt == b.abt && a.geschl == b.geschl
        && a.zuteil == b.zuteil && a.fest == b.fest && a.mark == b.mark && a.hand == b.hand;
}

template <typename R>
QString describePair(const R& a, const R& b)
{
    return describe(a) + QStringLiteral("\n  ") + describe(b);
}

// The text line a record is written as must come back as one record line:
// every character has a byte, no line end, not a comment or empty line.
inline void checkFileLine(const QString& line)
{
    FUZZ_CHECK_MSG(Ansi::isEncodable(line), line);
    FUZZ_CHECK_MSG(Ansi::decode(Ansi::encode(line)) == line, line);
    FUZZ_CHECK_MSG(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')), line);
    FUZZ_CHECK_MSG(!line.isEmpty() && !line.startsWith(QLatin1Char('/')), line);
}

// A pupil written as its record line (with the assigned project) and read
// back from that text gives the same pupil; so does writing it again.
inline void checkSchuelerRoundTrip(const TSchueler& s)
{
    const QString line = s.ToZeile().AsString();
    checkFileLine(line);
    const TZeile z(line);
    try {
        const TSchueler back(z, true);
        FUZZ_CHECK_MSG(sameRecord(s, back), line + QStringLiteral("\n  ") + describePair(s, back));
        FUZZ_CHECK_MSG(back.ToZeile().AsString() == line, line);
    } catch (const ESchFromZeile& e) {
        fuzzFail("written pupil line reads back", __FILE__, __LINE__, line + QStringLiteral("\n  ") + e.message());
    }
}

inline void checkProjektRoundTrip(const TProjekt& p)
{
    const QString line = p.ToZeile().AsString();
    checkFileLine(line);
    const TZeile z(line);
    try {
        const TProjekt back(z);
        FUZZ_CHECK_MSG(sameRecord(p, back), line + QStringLiteral("\n  ") + describePair(p, back));
        FUZZ_CHECK_MSG(back.ToZeile().AsString() == line, line);
    } catch (const EProFromZeile& e) {
        fuzzFail("written project line reads back", __FILE__, __LINE__, line + QStringLiteral("\n  ") + e.message());
    }
}

// The cells of an editor row of cols columns, as the grid hands them to a
// record: the fields of bytes split at kFieldSep.
inline TStrings gridCells(const QByteArray& bytes, int cols)
{
    TMemoryGrid grid(cols, 2);
    const QList<QByteArray> parts = bytes.split(kFieldSep);
    for (int c = 0; c < cols && c < parts.size(); ++c)
        grid.setCell(c, 1, QString::fromUtf8(parts[c]));
    return grid.rowTexts(1);
}

// The lines of a text file: ends at CR LF, lone CR or lone LF; the last
// line needs no end.
inline QList<QByteArray> fileLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

// The lines of a text: ends at CR LF, lone CR or lone LF; the last line
// needs no end.
inline QStringList textLines(const QString& text)
{
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = joined.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A line in UTF-8 as the reader gives it: without a byte order mark at its
// start, composed (NFC).
inline QString utf8Line(const QString& line)
{
    return (line.startsWith(QChar(0xFEFF)) ? line.mid(1) : line).normalized(QString::NormalizationForm_C);
}

// The lines of a file from another program, decoded by hand. After a
// UTF-16 byte order mark the rest is UTF-16 (a surrogate without its
// partner and an odd last byte U+FFFD), each line taken as UTF-8. Otherwise
// a UTF-8 byte order mark at the start goes, and each line is UTF-8 when
// its bytes are valid UTF-8 (they survive a round trip through Qt's codec)
// and hold one above 127, Windows-1252 when not.
inline QStringList foreignLines(const QByteArray& bytes)
{
    const bool little = bytes.startsWith("\xFF\xFE");
    if (little || bytes.startsWith("\xFE\xFF")) {
        QString text;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const quint8 a = quint8(bytes[i]);
            const quint8 b = quint8(bytes[i + 1]);
            text += QChar(char16_t(little ? a | b << 8 : a << 8 | b));
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
        if (bytes.size() % 2)
            text += QChar(QChar::ReplacementCharacter);
        QStringList lines;
        for (const QString& l : textLines(text))
            lines.append(utf8Line(l));
        return lines;
    }
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray body = bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes;
    QStringList lines;
    for (const QByteArray& l : fileLines(body)) {
        bool high = false;
        for (char c : l)
            high = high || quint8(c) > 127;
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const QString text = decoder(l);
        lines.append(high && text.toUtf8() == l ? utf8Line(text) : Ansi::decode(l));
    }
    return lines;
}

// No text, as a register: a NUL in the first 64 KiB (after a byte order
// mark), or more than one in a hundred of them a control character other
// than TAB, LF, FF, CR and 0x1A; bytes, or after a UTF-16 byte order mark
// the characters of those 64 KiB.
inline bool foreignBinary(const QByteArray& bytes)
{
    const bool little = bytes.startsWith("\xFF\xFE");
    QList<char16_t> sample;
    if (little || bytes.startsWith("\xFE\xFF")) {
        const QByteArray body = bytes.mid(2, 64 * 1024);
        for (qsizetype i = 0; i + 1 < body.size(); i += 2) {
            const quint8 a = quint8(body[i]);
            const quint8 b = quint8(body[i + 1]);
            sample.append(char16_t(little ? a | b << 8 : a << 8 | b));
        }
    } else {
        const QByteArray bom("\xEF\xBB\xBF");
        for (char c : (bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes).left(64 * 1024))
            sample.append(quint8(c));
    }
    if (sample.contains(0))
        return true;
    qsizetype controls = 0;
    for (char16_t c : sample)
        controls += (c < 32 && c != '\t' && c != '\n' && c != '\f' && c != '\r' && c != 0x1A) || c == 0x7F;
    return controls * 100 > sample.size();
}

// The fields of a record from the fuzz input: the cells of an editor row
// of cols columns, or one line of a data file. False for a line the file
// reader skips (empty, a comment).
inline bool recordFields(QByteArray lineBytes, bool fromGrid, int cols, TStrings& fields)
{
    if (fromGrid) {
        fields = gridCells(lineBytes, cols);
        FUZZ_CHECK(fields.size() == cols);
        return true;
    }
    // The reader ends a line at CR or LF and skips comments and empty lines.
    const qsizetype cr = lineBytes.indexOf('\r');
    if (cr >= 0)
        lineBytes.truncate(cr);
    const QString line = Ansi::decode(lineBytes);
    if (line.isEmpty() || line.startsWith(QLatin1Char('/')))
        return false;
    fields = TZeile(line);
    return true;
}

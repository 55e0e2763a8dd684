#include "platform/UAnsiText.h"

#include "platform/UExceptions.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Characters of the bytes 0x80..0x9F; the undefined bytes map to themselves.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

// Follows a byte stream: whether it is valid UTF-8 (no overlong form, no
// surrogate, nothing above U+10FFFF, no sequence cut off at the end) and
// whether it holds a multi-byte sequence.
class TUtf8Scan {
public:
    void feed(const QByteArray& bytes)
    {
        for (char ch : bytes) {
            if (FBad)
                return;
            const quint8 b = quint8(ch);
            if (FNeed > 0) {
                if (b < FLow || b > FHigh) {
                    FBad = true;
                    return;
                }
                FLow = 0x80;
                FHigh = 0xBF;
                --FNeed;
                continue;
            }
            if (b < 0x80)
                continue;
            FMultiByte = true;
            if (b >= 0xC2 && b <= 0xDF) {
                FNeed = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                FNeed = 2;
                FLow = b == 0xE0 ? 0xA0 : 0x80;
                FHigh = b == 0xED ? 0x9F : 0xBF;
            } else if (b >= 0xF0 && b <= 0xF4) {
                FNeed = 3;
                FLow = b == 0xF0 ? 0x90 : 0x80;
                FHigh = b == 0xF4 ? 0x8F : 0xBF;
            } else {
                FBad = true;
            }
        }
    }

    bool isUtf8() const { return !FBad && FNeed == 0 && FMultiByte; }

private:
    int FNeed = 0;          // continuation bytes still to come
    quint8 FLow = 0x80;     // range of the next continuation byte
    quint8 FHigh = 0xBF;
    bool FMultiByte = false;
    bool FBad = false;
};

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
const QByteArray kUtf16BeBom("\xFE\xFF");

// How much of a foreign file is looked at to tell text from other data.
constexpr qint64 kTextSample = 64 * 1024;

// No text: a NUL, or more than one character in a hundred a control
// character that text does not hold. Bytes count as the characters of the
// same codes.
bool looksBinarySample(QStringView sample)
{
    qsizetype controls = 0;
    for (QChar ch : sample) {
        const char16_t c = ch.unicode();
        if (c == 0)
            return true;
        const bool textControl = c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == 0x1A;
        if ((c < 0x20 && !textControl) || c == 0x7F)
            ++controls;
    }
    return controls * 100 > sample.size();
}

bool looksBinarySample(const QByteArray& sample)
{
    return looksBinarySample(QString::fromLatin1(sample));
}

// Letters whose mark is part of the letter, so that decomposing leaves
// them whole, and their base letters.
constexpr struct {
    char16_t letter;
    char16_t base;
} kUndecomposed[] = {
    {0x0110, 'D'}, {0x0111, 'd'},   // Đ đ
    {0x0126, 'H'}, {0x0127, 'h'},   // Ħ ħ
    {0x0131, 'i'},                  // ı
    {0x0138, 'k'},                  // ĸ
    {0x013F, 'L'}, {0x0140, 'l'},   // Ŀ ŀ
    {0x0141, 'L'}, {0x0142, 'l'},   // Ł ł
    {0x0166, 'T'}, {0x0167, 't'},   // Ŧ ŧ
    {0x017F, 's'},                  // ſ
    {0x1E9E, 0x00DF},               // ẞ ß
};

// The character c (one, perhaps as a surrogate pair) without its marks,
// when the code page holds what is left; c itself when not.
QString baseLetter(const QString& c)
{
    for (const auto& u : kUndecomposed)
        if (c.size() == 1 && c.at(0).unicode() == u.letter)
            return QString(QChar(u.base));
    QString base;
    for (QChar d : c.normalized(QString::NormalizationForm_D))
        if (!d.isMark())
            base += d;
    return Ansi::isEncodable(base) ? base : c;
}

bool isUtf8Line(const QByteArray& line)
{
    TUtf8Scan scan;
    scan.feed(line);
    return scan.isUtf8();
}

} // namespace

namespace Ansi {

QChar decodeByte(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? QChar(kHigh[byte - 0x80]) : QChar(char16_t(byte));
}

QString decode(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes)
        *out++ = decodeByte(static_cast<unsigned char>(b));
    return text;
}

QByteArray encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;   // one character outside the code page, one "?"
        const int b = byteOf(c.unicode());
        bytes.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return bytes;
}

bool isEncodable(QChar c)
{
    return byteOf(c.unicode()) >= 0;
}

bool isEncodable(const QString& text)
{
    for (QChar c : text)
        if (!isEncodable(c))
            return false;
    return true;
}

QString foldLetters(const QString& text)
{
    if (isEncodable(text))
        return text;
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QString folded;
    folded.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const bool pair = composed.at(i).isHighSurrogate() && i + 1 < composed.size() && composed.at(i + 1).isLowSurrogate();
        const QString c = composed.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        folded += isEncodable(c) ? c : baseLetter(c);
    }
    return folded;
}

QString notTextMessage(const QString& fileName)
{
    return QStringLiteral("Die Datei %1 ist keine Textdatei.").arg(QFileInfo(fileName).fileName());
}

} // namespace Ansi

bool TAnsiLineReader::open(const QString& fileName)
{
    close();
    if (QFileInfo(fileName).isDir())
        return false;
    FFile.setFileName(fileName);
    return FFile.open(QIODevice::ReadOnly);
}

bool TAnsiLineReader::openForeign(const QString& fileName)
{
    if (!open(fileName))
        return false;
    const QByteArray head = FFile.peek(kUtf8Bom.size());
    if (FFile.error() != QFileDevice::NoError)
        readFailed();
    const bool utf16 = head.startsWith(kUtf16LeBom) || head.startsWith(kUtf16BeBom);
    FEncoding = utf16 ? TTextEncoding::Utf16 : TTextEncoding::LineByLine;
    FBigEndian = head.startsWith(kUtf16BeBom);
    const qint64 bom = utf16 ? kUtf16LeBom.size() : head == kUtf8Bom ? kUtf8Bom.size() : 0;
    if (bom > 0 && !FFile.seek(bom))
        readFailed();
    QByteArray sample = FFile.peek(kTextSample);
    if (FFile.error() != QFileDevice::NoError)
        readFailed();
    if (!utf16) {
        FForeignBinary = looksBinarySample(sample);
        return true;
    }
    // UTF-32 begins as UTF-16 does and then gives NUL characters.
    sample.truncate(sample.size() & ~qsizetype(1));
    QStringDecoder decoder(FBigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    FForeignBinary = looksBinarySample(QString(decoder(sample)));
    return true;
}

void TAnsiLineReader::close()
{
    if (FFile.isOpen())
        FFile.close();
    FBuffer.clear();
    FPos = 0;
    FEof = false;
    FEncoding = TTextEncoding::Windows1252;
    FForeignBinary = false;
    FBigEndian = false;
    FOddByte.clear();
    FHighSurrogate = 0;
}

void TAnsiLineReader::readFailed() const
{
    // The platform's text is English and names no file.
    throw EInOutError(QStringLiteral("Fehler beim Lesen der Datei ") + FFile.fileName());
}

QString TAnsiLineReader::decodeLine(qsizetype from, qsizetype length) const
{
    const QByteArray bytes = FBuffer.mid(from, length);
    if (FEncoding == TTextEncoding::Windows1252 || !isUtf8Line(bytes))
        return Ansi::decode(bytes);
    // Composed, so that a letter with a combining mark is the one character
    // the code page has for it. A byte order mark at the line's start (of a
    // file added to the end of another) goes.
    return QString::fromUtf8(bytes).normalized(QString::NormalizationForm_C);
}

QByteArray TAnsiLineReader::readChunk(bool& end)
{
    QByteArray chunk = FFile.read(FChunk);
    if (chunk.isEmpty() && FFile.error() != QFileDevice::NoError)
        readFailed();
    end = chunk.isEmpty();
    if (FEncoding != TTextEncoding::Utf16)
        return chunk;
    // UTF-16 as UTF-8; a surrogate without its partner, and a last byte
    // without its pair, become U+FFFD.
    const QByteArray bytes = FOddByte + chunk;
    QString text;
    text.reserve(bytes.size() / 2 + 2);
    qsizetype i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char16_t first = quint8(bytes[i]);
        const char16_t second = quint8(bytes[i + 1]);
        const char16_t unit = FBigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
        if (FHighSurrogate) {
            if (QChar::isLowSurrogate(unit)) {
                text += QChar(FHighSurrogate);
                text += QChar(unit);
                FHighSurrogate = 0;
                continue;
            }
            text += QChar(QChar::ReplacementCharacter);
            FHighSurrogate = 0;
        }
        if (QChar::isHighSurrogate(unit))
            FHighSurrogate = unit;
        else
            text += QChar::isLowSurrogate(unit) ? QChar(QChar::ReplacementCharacter) : QChar(unit);
    }
    FOddByte = bytes.mid(i);
    if (end) {
        if (FHighSurrogate)
            text += QChar(QChar::ReplacementCharacter);
        if (!FOddByte.isEmpty())
            text += QChar(QChar::ReplacementCharacter);
        FHighSurrogate = 0;
        FOddByte.clear();
    }
    return text.toUtf8();
}

bool TAnsiLineReader::fill()
{
    if (FEof)
        return false;
    bool end = false;
    const QByteArray chunk = readChunk(end);
    // A UTF-16 file may give one last character at its end, and a chunk of
    // it none.
    FEof = end;
    if (!chunk.isEmpty()) {
        FBuffer.remove(0, FPos);
        FPos = 0;
        FBuffer.append(chunk);
    }
    return !end || !chunk.isEmpty();
}

bool TAnsiLineReader::readLine(QString& line)
{
    if (!FFile.isOpen())
        return false;
    qsizetype scan = FPos;
    for (;;) {
        for (; scan < FBuffer.size(); ++scan) {
            const char c = FBuffer.at(scan);
            if (c != '\n' && c != '\r')
                continue;
            if (c == '\r' && scan + 1 == FBuffer.size()) {
                // CR at the end of the buffer: the LF may follow in the next
                // chunk, or later when a chunk gave no whole character.
                const qsizetype rel = scan - FPos;
                while (scan + 1 == FBuffer.size() && fill())
                    scan = FPos + rel;
            }
            line = decodeLine(FPos, scan - FPos);
            qsizetype next = scan + 1;
            if (c == '\r' && next < FBuffer.size() && FBuffer.at(next) == '\n')
                ++next;
            FPos = next;
            return true;
        }
        const qsizetype rel = scan - FPos;
        if (!fill())
            break;
        scan = FPos + rel;
    }
    if (FPos >= FBuffer.size())
        return false;
    line = decodeLine(FPos, FBuffer.size() - FPos);
    FPos = FBuffer.size();
    return true;
}

QByteArray TAnsiLineReader::peek(qint64 maxBytes)
{
    const QByteArray buffered = FBuffer.mid(FPos, maxBytes);
    if (!FFile.isOpen() || buffered.size() >= maxBytes)
        return buffered;
    return buffered + FFile.peek(maxBytes - buffered.size());
}

bool TAnsiLineReader::looksBinary()
{
    return peek(4096).contains('\0');
}

QString FileCreateError(const QString& fileName, const QString& reason)
{
    const QString message = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden").arg(fileName);
    return reason.isEmpty() ? message + QLatin1Char('.') : message + QStringLiteral(": ") + reason;
}

QString FileWriteError(const QString& fileName, const QString& reason)
{
    const QString message = QStringLiteral("Fehler beim Schreiben der Datei ") + fileName;
    return reason.isEmpty() ? message : message + QStringLiteral(": ") + reason;
}

QString WriteFailureReason(QFileDevice& file)
{
    file.flush();
    return file.errorString();
}

bool CommitSaveFile(QSaveFile& file, QString* reason)
{
    // commit() alone does not notice a buffered write that fails on flush:
    // flush first, so a short file never replaces the old one.
    const bool written = file.flush() && file.error() == QFileDevice::NoError;
    const qint64 size = file.size();
    if (!written || !file.commit()) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    // The target is there, whole.
    const QFileInfo target(file.fileName());
    return target.exists() && target.size() == size;
}

TAnsiFileWriter::~TAnsiFileWriter()
{
    cancel();
}

bool TAnsiFileWriter::open(const QString& fileName, QString* reason)
{
    cancel();
    // QSaveFile refuses a folder itself, saying so.
    FFile = new QSaveFile(fileName);
    if (!FFile->open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = FFile->errorString();
        delete FFile;
        FFile = nullptr;
        return false;
    }
    return true;
}

void TAnsiFileWriter::write(const QString& text)
{
    if (!isOpen())
        throw EInOutError(QStringLiteral("Datei nicht zum Schreiben geöffnet"));
    FFile->write(Ansi::encode(text));
}

void TAnsiFileWriter::writeLine(const QString& line)
{
    write(line);
    FFile->write("\r\n", 2);
}

void TAnsiFileWriter::commit()
{
    if (!FFile)
        return;
    QString reason;
    const bool ok = CommitSaveFile(*FFile, &reason);
    const QString name = FFile->fileName();
    delete FFile;
    FFile = nullptr;
    if (!ok)
        throw EInOutError(FileWriteError(name, reason));
}

void TAnsiFileWriter::cancel()
{
    if (!FFile)
        return;
    FFile->cancelWriting();
    delete FFile;   // an uncommitted QSaveFile leaves the old file alone
    FFile = nullptr;
}

#include "platform/UAnsiText.h"

#include "platform/UExceptions.h"

#include <QFileInfo>

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

} // namespace Ansi

bool TAnsiLineReader::open(const QString& fileName)
{
    close();
    if (QFileInfo(fileName).isDir())
        return false;
    FFile.setFileName(fileName);
    return FFile.open(QIODevice::ReadOnly);
}

void TAnsiLineReader::close()
{
    if (FFile.isOpen())
        FFile.close();
    FBuffer.clear();
    FPos = 0;
    FEof = false;
}

bool TAnsiLineReader::fill()
{
    if (FEof)
        return false;
    const QByteArray chunk = FFile.read(FChunk);
    if (chunk.isEmpty()) {
        // The platform's text is English and names no file.
        if (FFile.error() != QFileDevice::NoError)
            throw EInOutError(QStringLiteral("Fehler beim Lesen der Datei ") + FFile.fileName());
        FEof = true;
        return false;
    }
    FBuffer.remove(0, FPos);
    FPos = 0;
    FBuffer.append(chunk);
    return true;
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
            if (c == '\r' && scan + 1 == FBuffer.size() && !FEof) {
                // CR at the end of the buffer: the LF may follow in the next chunk.
                const qsizetype rel = scan - FPos;
                if (fill())
                    scan = FPos + rel;
            }
            line = Ansi::decode(FBuffer.mid(FPos, scan - FPos));
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
    line = Ansi::decode(FBuffer.mid(FPos));
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

QString FileCreateError(const QString& fileName)
{
    return QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden.").arg(fileName);
}

QString FileWriteError(const QString& fileName)
{
    return QStringLiteral("Fehler beim Schreiben der Datei ") + fileName;
}

bool CommitSaveFile(QSaveFile& file)
{
    // commit() alone does not notice a buffered write that fails on flush:
    // flush first, so a short file never replaces the old one.
    const bool written = file.flush() && file.error() == QFileDevice::NoError;
    const qint64 size = file.size();
    if (!written || !file.commit()) {
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

bool TAnsiFileWriter::open(const QString& fileName)
{
    cancel();
    if (QFileInfo(fileName).isDir())
        return false;
    FFile = new QSaveFile(fileName);
    if (!FFile->open(QIODevice::WriteOnly)) {
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
    const bool ok = CommitSaveFile(*FFile);
    const QString name = FFile->fileName();
    delete FFile;
    FFile = nullptr;
    if (!ok)
        throw EInOutError(FileWriteError(name));
}

void TAnsiFileWriter::cancel()
{
    if (!FFile)
        return;
    FFile->cancelWriting();
    delete FFile;   // an uncommitted QSaveFile leaves the old file alone
    FFile = nullptr;
}

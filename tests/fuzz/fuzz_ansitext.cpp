// The Windows-1252 codec and the text files: every byte decodes to one
// character and encodes back to itself; an encodable text round-trips; the
// line reader gives the lines of a file wherever its read chunks end, and
// the writer's file reads back as the lines written; a file from another
// program is read line by line as UTF-8 where its bytes say so, or as
// UTF-16 after its byte order mark, and is told from data that is no text.
//
// Input: the reader's chunk size in bytes (0: the usual 64 KiB), a byte
// saying how much to peek, then the data.

#include "UFuzzSupport.h"

namespace {

QStringList readAll(const QString& path, qsizetype chunk, qsizetype peekBytes, const QByteArray& file)
{
    TAnsiLineReader defaultReader;
    TAnsiLineReader smallReader(chunk);
    TAnsiLineReader& reader = chunk == 0 ? defaultReader : smallReader;
    FUZZ_CHECK(reader.open(path));
    FUZZ_CHECK(reader.peek(peekBytes) == file.left(peekBytes));
    QStringList lines;
    QString line;
    while (reader.readLine(line))
        lines.append(line);
    FUZZ_CHECK(!reader.readLine(line));
    reader.close();
    return lines;
}

QStringList decodeAll(const QList<QByteArray>& lines)
{
    QStringList out;
    for (const QByteArray& l : lines)
        out.append(Ansi::decode(l));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    int chunk = in.byte();
    const int into = in.byte();
    const QByteArray bytes = in.rest();
    // At most some 256 chunks, so a long input stays quick.
    if (chunk != 0)
        chunk = qMax<int>(chunk, int(bytes.size() / 256) + 1);

    // The codec.
    const QString text = Ansi::decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(Ansi::isEncodable(text));
    FUZZ_CHECK(Ansi::encode(text) == bytes);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        FUZZ_CHECK(text[i] == Ansi::decodeByte(quint8(bytes[i])));

    // The same bytes as UTF-16: one byte per character, "?" for each
    // character (or surrogate pair) without one.
    QString wide;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        wide += QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8)));
    const QByteArray wideBytes = Ansi::encode(wide);
    FUZZ_CHECK(wideBytes.size() <= wide.size());
    if (Ansi::isEncodable(wide))
        FUZZ_CHECK(Ansi::decode(wideBytes) == wide && wideBytes.size() == wide.size());
    else
        FUZZ_CHECK(wideBytes.contains('?'));

    // The line reader, its chunks ending inside the data (0: the usual
    // chunk, the whole data in one).
    const QString path = fuzzPath(QStringLiteral("lines.txt"));
    writeBytes(path, bytes);
    const QStringList lines = readAll(path, chunk, 1 + into, bytes);
    FUZZ_CHECK(lines == decodeAll(fileLines(bytes)));

    // The same file as another program's: each line UTF-8 or Windows-1252
    // by its bytes, or UTF-16, wherever the chunks end.
    {
        TAnsiLineReader foreign(chunk == 0 ? 64 * 1024 : chunk);
        FUZZ_CHECK(foreign.openForeign(path));
        FUZZ_CHECK(foreign.foreignBinary() == foreignBinary(bytes));
        QStringList got;
        QString line;
        while (foreign.readLine(line))
            got.append(line);
        FUZZ_CHECK(got == foreignLines(bytes));
    }

    // The writer: every line with CR LF; read back, the same lines.
    {
        TAnsiFileWriter writer;
        FUZZ_CHECK(writer.open(path));
        for (const QString& l : lines)
            writer.writeLine(l);
        writer.commit();
    }
    QByteArray joined;
    for (const QString& l : lines)
        joined += Ansi::encode(l) + "\r\n";
    FUZZ_CHECK(readBytes(path) == joined);
    FUZZ_CHECK(readAll(path, 1 + into % 7, 16, joined) == lines);
    return 0;
}

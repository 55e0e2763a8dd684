// Format definition files: the byte reader and the file reader agree; an
// accepted format is written and read back equal, through bytes and
// through a file, and its bytes keep every meaningful byte of the input.
//
// Input: the file's bytes.

#include "UFuzzSupport.h"

#include "import/UImport.h"

namespace {

qint32 int32At(const QByteArray& b, int at)
{
    quint32 u = 0;
    for (int i = 0; i < 4; ++i)
        u |= quint32(quint8(b[at + i])) << (8 * i);
    return qint32(u);
}

// The bytes that carry meaning: every byte but the unused ones behind the
// text of a short text; the truth value as 0 or not.
void checkMeaningfulBytes(const QByteArray& in, const QByteArray& out)
{
    FUZZ_CHECK(out.size() == kFormatFileBytes);
    FUZZ_CHECK((in[0] != 0) == (out[0] != 0) && quint8(out[0]) <= 1);
    FUZZ_CHECK(in.mid(1, 41) == out.mid(1, 41));
    for (const auto& [at, cap] : {std::pair{42, 8}, std::pair{53, 255}, std::pair{341, 8}, std::pair{350, 8}}) {
        const int len = quint8(in[at]);
        FUZZ_CHECK(len <= cap);
        FUZZ_CHECK(in.mid(at, 1 + len) == out.mid(at, 1 + len));
    }
    FUZZ_CHECK(in.mid(51, 2) == out.mid(51, 2));
    FUZZ_CHECK(in.mid(309, 32) == out.mid(309, 32));
    FUZZ_CHECK(int32At(in, 359) == int32At(out, 359));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzPath(QStringLiteral("format.FMT"));
    writeBytes(path, bytes);

    // Records that were in use before: a refused file must not leave them
    // half changed.
    TImportOptions o1 = DefaultOptions;
    TElements e1 = DefaultElements;
    o1.imComment = QStringLiteral("vorher");
    e1.elName = 4;
    const TImportOptions before = o1;
    const TElements beforeEl = e1;
    const bool fromBytes = FormatFromBytes(bytes, o1, e1);
    if (!fromBytes)
        FUZZ_CHECK(o1 == before && e1 == beforeEl);

    TImportOptions o2 = before;
    TElements e2 = beforeEl;
    TFuzzUi ui;
    const bool fromFile = LoadFormatFile(path, o2, e2);
    FUZZ_CHECK(fromBytes == fromFile);
    if (!fromFile) {
        FUZZ_CHECK(ui.messages.size() == 1 && ui.messages.first().text == QStringLiteral("Lesefehler"));
        FUZZ_CHECK(o2 == DefaultOptions && e2 == DefaultElements);
        return 0;
    }
    FUZZ_CHECK(ui.messages.isEmpty());
    FUZZ_CHECK(o1 == o2 && e1 == e2);
    FUZZ_CHECK(bytes.size() >= kFormatFileBytes);

    // What the import relies on.
    FUZZ_CHECK(o1.imFormat <= imPositions);
    for (qint32 n : {e1.elName, e1.elVName, e1.elNName, e1.elBName, e1.elGeschl, e1.elKl, e1.elJgst, e1.elAbt})
        FUZZ_CHECK(n >= 0 && n <= e1.highestEl);

    const QByteArray out = FormatToBytes(o1, e1);
    checkMeaningfulBytes(bytes, out);
    TImportOptions o3;
    TElements e3;
    FUZZ_CHECK(FormatFromBytes(out, o3, e3));
    FUZZ_CHECK(o3 == o1 && e3 == e1);
    FUZZ_CHECK(FormatToBytes(o3, e3) == out);

    const QString savedPath = fuzzPath(QStringLiteral("saved.FMT"));
    FUZZ_CHECK(SaveFormatFile(savedPath, o1, e1));
    FUZZ_CHECK(readBytes(savedPath) == out);
    TImportOptions o4;
    TElements e4;
    FUZZ_CHECK(LoadFormatFile(savedPath, o4, e4));
    FUZZ_CHECK(o4 == o1 && e4 == e1);
    FUZZ_CHECK(ui.messages.isEmpty());
    return 0;
}

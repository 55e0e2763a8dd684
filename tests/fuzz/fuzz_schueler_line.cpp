// Pupil lines, from the bytes of a data file line (with or without the
// assigned project) or from the cells of an editor row: an accepted line is
// written and read back as the same pupil, parsing into a used pupil gives
// what parsing into a new one gives, and a refused line leaves the used one
// as it was. A file line takes a control character in the name or the
// department as a blank, a row refuses it.
//
// Input: a flag byte (bit 0: grid cells; bit 1: the file line carries the
// assigned project), the line up to "\n", then an optional assignment line
// the used pupil was read from before. Cells are separated by byte 0x1F
// and are UTF-8, as typed.

#include "UFuzzSupport.h"

namespace {

constexpr int kGridCols = 11;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    const std::uint8_t flags = in.byte();
    const bool fromGrid = flags & 1;
    // The editor stores a row without the assigned project.
    const bool zt = !fromGrid && (flags & 2);
    const QByteArray lineBytes = in.until('\n');
    const QByteArray usedBytes = in.rest();

    TStrings fields;
    if (!recordFields(lineBytes, fromGrid, kGridCols, fields))
        return 0;

    TSchueler used;
    if (!usedBytes.isEmpty()) {
        try {
            used.FromFileZeileZT(TZeile(Ansi::decode(usedBytes)), true);
        } catch (const ESchFromZeile&) {
            // a half-read pupil is a used one too
        }
    }

    QString freshError, usedError;
    std::unique_ptr<TSchueler> fresh;
    try {
        if (fromGrid) {
            fresh = std::make_unique<TSchueler>(fields, zt);
        } else {
            auto s = std::make_unique<TSchueler>();
            s->FromFileZeileZT(fields, zt);
            fresh = std::move(s);
        }
    } catch (const ESchFromZeile& e) {
        freshError = e.message();
    }
    const TSchueler usedBefore = used;
    try {
        if (fromGrid)
            used.FromZeileZT(fields, zt);
        else
            used.FromFileZeileZT(fields, zt);
    } catch (const ESchFromZeile& e) {
        usedError = e.message();
        // A refused line changes nothing.
        FUZZ_CHECK_MSG(sameRecord(usedBefore, used), describePair(usedBefore, used));
    }
    FUZZ_CHECK_MSG(freshError == usedError, freshError + QStringLiteral(" / ") + usedError);
    if (!fresh)
        return 0;

    FUZZ_CHECK(fields.size() == 11 || (!zt && fields.size() == 10));
    FUZZ_CHECK(fresh->jgst >= 0 && fresh->jgst <= 13 && fresh->zuteil >= 0 && fresh->zuteil <= 255);
    FUZZ_CHECK(fresh->hand >= -1 && fresh->hand <= 5);
    FUZZ_CHECK(TSchueler::IsValidName(fresh->name) && TSchueler::IsValidAbt(fresh->abt));
    if (!zt)
        FUZZ_CHECK(fresh->zuteil == 0 && fresh->hand == -1);
    FUZZ_CHECK_MSG(sameRecord(*fresh, used), describePair(*fresh, used));
    checkSchuelerRoundTrip(*fresh);
    checkSchuelerRoundTrip(used);
    return 0;
}

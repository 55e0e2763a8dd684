// Project lines, from the bytes of a data file line or from the cells of an
// editor row: an accepted line is written and read back as the same
// project, parsing into a used project gives what parsing into a new one
// gives, and a refused line leaves the used one as it was. A file line
// takes a control character in the name as a blank, a row refuses it.
//
// Input: a flag byte (bit 0: grid cells), the line up to "\n", then an
// optional line the used project was read from before. Cells are
// separated by byte 0x1F and are UTF-8, as typed.

#include "UFuzzSupport.h"

namespace {

constexpr int kGridCols = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    const bool fromGrid = in.byte() & 1;
    const QByteArray lineBytes = in.until('\n');
    const QByteArray usedBytes = in.rest();

    TStrings fields;
    if (!recordFields(lineBytes, fromGrid, kGridCols, fields))
        return 0;

    TProjekt used(1);
    if (!usedBytes.isEmpty()) {
        try {
            used.FromFileZeile(TZeile(Ansi::decode(usedBytes)));
        } catch (const EProFromZeile&) {
            // a half-read project is a used one too
        }
    }

    QString freshError, usedError;
    std::unique_ptr<TProjekt> fresh;
    try {
        if (fromGrid) {
            fresh = std::make_unique<TProjekt>(fields);
        } else {
            auto p = std::make_unique<TProjekt>(0);
            p->FromFileZeile(fields);
            fresh = std::move(p);
        }
    } catch (const EProFromZeile& e) {
        freshError = e.message();
    }
    const TProjekt usedBefore = used;
    try {
        if (fromGrid)
            used.FromZeile(fields);
        else
            used.FromFileZeile(fields);
    } catch (const EProFromZeile& e) {
        usedError = e.message();
        // A refused line changes nothing.
        FUZZ_CHECK_MSG(sameRecord(usedBefore, used), describePair(usedBefore, used));
    }
    FUZZ_CHECK_MSG(freshError == usedError, freshError + QStringLiteral(" / ") + usedError);
    if (!fresh)
        return 0;

    FUZZ_CHECK(fields.size() == 8 || fields.size() == 9);
    FUZZ_CHECK(FitsZeile(fresh->name));
    FUZZ_CHECK(fresh->nr >= 1 && fresh->jgmin >= 1 && fresh->jgmax <= 13 && fresh->teilnmin >= 0
               && fresh->teilnmax <= 20000);
    FUZZ_CHECK_MSG(sameRecord(*fresh, used), describePair(*fresh, used));
    checkProjektRoundTrip(*fresh);
    checkProjektRoundTrip(used);
    return 0;
}

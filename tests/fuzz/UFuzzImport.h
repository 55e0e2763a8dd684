#pragma once
// Import options and elements taken from the front of a fuzz input.

#include "UFuzzSupport.h"

#include "import/UImport.h"

#include <algorithm>

// A flag byte (bits 0-1 convention, bit 2 skip bad lines), the separator
// character (0xFF: a UTF-16 code unit in the next two bytes), the separator
// text (a length byte, then its bytes) and ten start columns.
inline TImportOptions optionsFrom(TFuzzInput& in)
{
    TImportOptions o = DefaultOptions;
    const std::uint8_t flags = in.byte();
    o.imFormat = TImportFormat((flags & 3) % 3);
    o.imIgnoreErr = flags & 4;
    const std::uint8_t c = in.byte();
    if (c == 0xFF) {
        const std::uint8_t lo = in.byte();
        const std::uint8_t hi = in.byte();
        o.imSepChar = QChar(char16_t(lo | (hi << 8)));
    } else {
        o.imSepChar = Ansi::decodeByte(c);
    }
    o.imSepString = Ansi::decode(in.take(in.byte() % 10));
    for (qint32& p : o.imPositionArray)
        p = in.smallInt(64);
    return o;
}

// Eight field numbers, highestEl (their maximum unless the byte says
// otherwise), then the male and the female word (a length byte, then its
// bytes).
inline TElements elementsFrom(TFuzzInput& in)
{
    TElements e;
    qint32* numbers[] = {&e.elName, &e.elVName, &e.elNName, &e.elBName, &e.elGeschl, &e.elKl, &e.elJgst, &e.elAbt};
    qint32 highest = 0;
    for (qint32* n : numbers) {
        *n = in.smallInt(6);
        highest = std::max(highest, *n);
    }
    const std::uint8_t h = in.byte();
    e.highestEl = h < 0xE0 ? highest + (highest < INT32_MAX ? h % 2 : 0) : in.smallInt(8);
    e.elGM = Ansi::decode(in.take(in.byte() % 10));
    e.elGW = Ansi::decode(in.take(in.byte() % 10));
    return e;
}

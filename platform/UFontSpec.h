#pragma once
// A font as the program keeps it: what a font dialog chooses and what the
// printer draws with. No widget or painter types, so every layer may hold one.

#include <QString>
#include <QtGlobal>

struct TFontSpec {
    QString name = QStringLiteral("Arial");
    int size = 10;              // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint32 color = 0x000000;   // 0xRRGGBB

    bool operator==(const TFontSpec& o) const
    {
        return name == o.name && size == o.size && bold == o.bold && italic == o.italic
            && underline == o.underline && strikeOut == o.strikeOut && color == o.color;
    }
    bool operator!=(const TFontSpec& o) const { return !(*this == o); }
};

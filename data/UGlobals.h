#pragma once
// Enumerations and constant tables shared by the data files, the pupil
// order and the export.

#include "platform/UExceptions.h"

#include <QString>
#include <array>
#include <cstddef>

// Kind of a data file: pupils with choices, projects, pupils with choices and
// assigned project.
enum TFileType { ft_wahl, ft_proj, ft_teil };

// State of a data file object.
enum TFileMode { fm_closed, fm_read, fm_write };

// Order of the pupil list and category of a pupil export.
enum TSortCritType { sc_NotSorted, sc_N, sc_Kl_N, sc_P_N, sc_P_Kl };

// Export format.
enum TExpFormat { exSpace, exTab, exHtml, exPrint };

// Display name and extension (without the point) of each data file kind.
inline constexpr const char* FileTypeName[3] = {"Schuelerwahl", "Projekt", "Einteilung"};
inline constexpr const char* FileTypeExt[3] = {"WAH", "PRO", "EIN"};
// Extension of an export file; exPrint has none.
inline constexpr const char* ExportExt[3] = {"TXT", "TXT", "HTML"};
// Gender letter by the pupil's flag: false (girl) "w", true (boy) "m".
inline constexpr char GeschlChar[2] = {'w', 'm'};

// The five ranks of choice, addressed 1 to 5. Any other rank is a
// programming error and raises Exception.
template <typename T>
class TRanked {
public:
    static constexpr int Count = 5;

    T& operator[](int rank) { return FItems[index(rank)]; }
    const T& operator[](int rank) const { return FItems[index(rank)]; }

private:
    static std::size_t index(int rank)
    {
        if (rank < 1 || rank > Count)
            throw Exception(QStringLiteral("Wahl-Rang außerhalb 1 bis 5: %1").arg(rank));
        return std::size_t(rank - 1);
    }

    std::array<T, Count> FItems{};
};

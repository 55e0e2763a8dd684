#pragma once
// The criteria of a pupil selection and the name match.

#include "data/UGlobals.h"

#include <QString>
#include <QStringList>
#include <bitset>
#include <initializer_list>

class TProjektData;

enum TStringMatch { smExact, smContain, smStart };
enum TGeschlMatch { stGeschlNull, stWeibl, stMaennl };
enum TFestMatch { stFestNull, stNichtfest, stFest, stHand };

// A set of the integers 0 to N-1. A value outside that range is never a
// member, but including one still makes the set non-empty: a criterion
// asked for an impossible value matches nobody instead of falling inactive.
template <int N>
class TIntSet {
public:
    static constexpr int Size = N;

    TIntSet() = default;
    TIntSet(std::initializer_list<int> values)
    {
        for (int v : values)
            include(v);
    }
    static bool inRange(int v) { return v >= 0 && v < N; }
    void include(int v)
    {
        if (inRange(v))
            FBits.set(std::size_t(v));
        else
            FOutside = true;
    }
    void exclude(int v)
    {
        if (inRange(v))
            FBits.reset(std::size_t(v));
    }
    bool contains(int v) const { return inRange(v) && FBits.test(std::size_t(v)); }
    bool isEmpty() const { return FBits.none() && !FOutside; }
    int count() const { return int(FBits.count()); }
    void clear()
    {
        FBits.reset();
        FOutside = false;
    }
    bool operator==(const TIntSet& o) const { return FBits == o.FBits && FOutside == o.FOutside; }

private:
    std::bitset<N> FBits;
    bool FOutside = false;
};

// A new filter has every criterion inactive and selects every pupil. The
// creator owns it; select only reads it. A criterion is active while its
// field differs from the new filter's value.
class TSearchFilter {
public:
    TSearchFilter() = default;

    QString name;                     // pattern; inactive when empty
    TStringMatch NameMatch = smExact;
    TGeschlMatch geschl = stGeschlNull;
    TIntSet<16> jgst;                 // grades
    TIntSet<256> abt;                 // upper-case first character codes of the department
    QStringList kl;                   // class texts, compared without regard to case
    TFestMatch fest = stFestNull;
    TRanked<TIntSet<256>> wahli;      // per rank 1..5
    TIntSet<256> wahl;                // a choice at any rank
    TIntSet<8> wahlanz;               // number of choices
    TIntSet<8> priority;              // rank of the assigned project
    TIntSet<256> zuteil;              // assigned project (0 = none)
    bool negateMatch = false;
    // When set, the choice, zuteil and priority criteria take a number
    // naming none of its projects as none (0).
    const TProjektData* Projekte = nullptr;
};

// Whether the pupil name Text matches Pattern; only a-z are folded to
// upper case. smStart: the shorter of the two is the beginning of the other.
bool StringMatches(const QString& Text, const QString& Pattern, TStringMatch Mode);

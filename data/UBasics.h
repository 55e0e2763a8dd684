#pragma once
// Text and number functions without state. None raises an exception; an
// invalid text is reported by the result.
//
// A blank is U+0020 alone. An integer text is: leading blanks, at most one
// sign, then decimal digits within the signed 32-bit range or a hex prefix
// ($, x, X, 0x, 0X) with at most eight significant hex digits (a 32-bit
// pattern), and nothing behind.

#include <QChar>
#include <QString>
#include <QStringView>

bool IsInteger(const QString& text);

// True when text is an integer text within lo..hi (both included). value
// receives the number whenever text is an integer text, also out of range;
// it is left alone otherwise.
bool StrToIntRange(const QString& text, int& value, int lo, int hi);

bool IsBetween(int value, int lo, int hi);

// Without leading and trailing blanks (TABs stay).
QString TrimSpaces(QStringView text);

// The decimal text of the value plus 1 ("007" gives "8"), "0" for no
// integer text. "2147483647" gives "2147483648".
QString NextNumberStr(const QString& text);

// Takes a number from the beginning of the trimmed text; rest receives what
// follows it (always set). number is left alone when the result is false.
bool SplitNumber(const QString& text, int& number, QString& rest);

// The class text: the grade right-aligned in two characters, then the
// department unchanged ("%2d%s").
QString KlasseStr(int jgst, const QString& abt);

// The value right-aligned in at least width characters ("%<width>d").
QString IntToStrWidth(int value, int width);

QChar FirstCharOr(const QString& text, QChar def);

// a to z in upper case; every other character, umlauts included, unchanged.
char16_t UpperAscii(char16_t c);
QString UpperAscii(const QString& text);

// A department as classes are told apart and sorted: a to z in upper case,
// a single blank as none.
QString FoldedAbt(const QString& abt);

#pragma once
// Controls placed at designed pixel positions that must show their texts
// whole at whatever font the machine has. The designed size of a control
// is its least size; it grows as far as its text needs at the font in use,
// pushes its neighbours out of the way, and the container grows by what
// its rows need. The designed geometry is the one a control has when it is
// first fitted; every fitting starts from it again.

#include <QStringList>

#include <initializer_list>

class QWidget;

// Neighbours that grow into the gap between them keep the designed gap, but
// never more than this.
constexpr int FitGap = 6;

// The width the control needs to show its text whole at its font, with the
// margins the style keeps around it: a label's text, a button's caption,
// every item of a combo box. A line edit's text is data and scrolls; it
// counts only with the texts given to SetFitTexts. 0 for any other control.
int CaptionWidth(const QWidget* control);

// The texts a label or line edit will show in turn, besides the one it has:
// it is fitted to the widest of them.
void SetFitTexts(QWidget* control, const QStringList& texts);

// A column of a row: controls that share their designed left edge, such as
// the captions or the fields of rows below each other.
using TFitColumn = std::initializer_list<QWidget*>;

// Fits a row, left to right: every control is at least as wide as designed
// and as wide as its text needs; a column into which the one before it grew
// moves right and keeps the gap. The first column stays where it stands.
// Returns how far the row now reaches beyond its designed right end, 0 when
// it does not.
int FitRow(std::initializer_list<TFitColumn> row);

// Fits buttons at the right end of a row, from right to left: the first
// ends dx further right than designed, each grows to the left as far as its
// caption needs, and the ones after it move left where they must and keep
// the gap. Returns where the row begins now.
int FitRowFromRight(std::initializer_list<QWidget*> rightToLeft, int dx = 0);

// Widens the controls, windows among them, by dx beyond their designed
// width: a control keeps its left edge and ends dx further right than
// designed; a window of fixed size keeps that size fixed.
void GrowRight(int dx, std::initializer_list<QWidget*> controls);

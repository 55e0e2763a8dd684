#pragma once
// Placing a window by its outer frame.

#include <QRect>

class QWidget;

// Moves and sizes the window so that its frame covers outer, as far as the
// window system has told the frame yet (call it when the window is shown).
void SetFrameGeometry(QWidget* window, const QRect& outer);

#include "platform/UWindowFrame.h"

#include <QWidget>

void SetFrameGeometry(QWidget* window, const QRect& outer)
{
    const QSize frame = window->frameGeometry().size() - window->size();
    window->move(outer.topLeft());
    window->resize(outer.size() - frame);
}

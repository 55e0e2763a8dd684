#include "platform/UHelpContext.h"

#include <QWidget>

namespace {

const char* const HelpContextProperty = "helpContext";

}   // namespace

void SetHelpContext(QObject* object, int context)
{
    object->setProperty(HelpContextProperty, context);
}

int HelpContextOf(const QObject* object)
{
    return object->property(HelpContextProperty).toInt();
}

int HelpContextAt(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (const int context = HelpContextOf(widget))
            return context;
        if (widget->isWindow())
            break;
    }
    return 0;
}

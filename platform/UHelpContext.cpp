#include "platform/UHelpContext.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace {

const char* const HelpContextProperty = "helpContext";

// A menu item's context, or that of the submenu it opens.
int itemContext(const QAction* item)
{
    if (const int context = HelpContextOf(item))
        return context;
    const QMenu* submenu = item->menu();
    return submenu ? HelpContextOf(submenu) : 0;
}

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
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        const QAction* item = menu->activeAction();
        const int context = item ? itemContext(item) : 0;
        return context ? context : HelpContextOf(menu);
    }
    for (; widget; widget = widget->parentWidget()) {
        if (const int context = HelpContextOf(widget))
            return context;
        if (widget->isWindow())
            break;
    }
    return 0;
}

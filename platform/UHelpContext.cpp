#include "platform/UHelpContext.h"

#include "platform/UUi.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

const char* const HelpContextProperty = "helpContext";

// The context of the widget or of the nearest parent in its window.
int nearestHelpContext(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (const int context = HelpContextOf(widget))
            return context;
        if (widget->isWindow())
            break;
    }
    return 0;
}

class THelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Taken before the shortcuts see it: the help command's F1 neither
            // shows the help a second time nor reaches into a window without
            // a context.
            event->accept();
            return true;
        }
        const int context = nearestHelpContext(widget);
        if (context == 0)
            return false;
        Ui().showHelp(context);
        event->accept();
        return true;
    }
};

void installHelpKey()
{
    static QPointer<QObject> filter;
    QCoreApplication* app = QCoreApplication::instance();
    if (filter || !app)
        return;
    filter = new THelpKeyFilter(app);
    app->installEventFilter(filter);
}

}   // namespace

void SetHelpContext(QObject* object, int context)
{
    object->setProperty(HelpContextProperty, context);
    installHelpKey();
}

int HelpContextOf(const QObject* object)
{
    return object->property(HelpContextProperty).toInt();
}

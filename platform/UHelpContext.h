#pragma once
// Help context numbers travel with windows, widgets and actions. F1 shows
// the help at the context nearest to the widget that has the key, looking
// no further than its own window; in a window that carries none F1 does
// nothing. The application object handles the key (UApplication).

class QObject;
class QWidget;

// Gives the object its help context.
void SetHelpContext(QObject* object, int context);
// The object's own help context, 0 when it carries none.
int HelpContextOf(const QObject* object);
// The context F1 shows for the widget that has the key: in an open menu
// that of its highlighted item (of the submenu the item opens), else the
// menu's own; elsewhere the widget's or that of the nearest parent in its
// window. 0 when there is none.
int HelpContextAt(const QWidget* widget);

#pragma once
// Help context numbers travel with windows, widgets and actions. F1 shows
// the help at the context nearest to the widget that has the key, looking
// no further than its own window; in a window that carries none F1 does
// nothing.

class QObject;

// Gives the object its help context; the first call installs the F1
// handling of the application.
void SetHelpContext(QObject* object, int context);
// The object's own help context, 0 when it carries none.
int HelpContextOf(const QObject* object);

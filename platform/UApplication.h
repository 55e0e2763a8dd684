#pragma once
// The application object: title "zuv", Qt's own texts in German, the keys
// every window handles alike (a button's accelerator clicks it at once, F1
// shows the help nearest to the key), and the one general error display
// for exceptions that escape an event handler.

#include <QApplication>
#include <QTranslator>

#include <functional>

class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    // Delivers the event; an exception that escapes its handler is shown
    // with its message (ShowMessage) and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    // The message shown for the exception in flight (call inside a catch).
    static QString currentExceptionMessage();
    // The general error display: runs work; an exception that escapes it is
    // shown with its message once it is gone. False after an exception.
    static bool runShowingErrors(const std::function<void()>& work);

private:
    QTranslator FQtTexts;
};

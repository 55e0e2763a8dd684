#pragma once
// The application object: title "zuv", Qt's own texts in German, buttons
// that take their accelerator key at once, and the one general error
// display for exceptions that escape an event handler.

#include <QApplication>
#include <QTranslator>

#include <functional>

class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    // Delivers the event; an exception that escapes its handler is shown
    // with its message (ShowMessage) and the program goes on. A button's
    // accelerator clicks it at once (Qt would press it and click 100 ms
    // later, after a key typed straight after it).
    bool notify(QObject* receiver, QEvent* event) override;

    // The message shown for the exception in flight (call inside a catch).
    static QString currentExceptionMessage();
    // The general error display: runs work; an exception that escapes it is
    // shown with its message once it is gone. False after an exception.
    static bool runShowingErrors(const std::function<void()>& work);

private:
    QTranslator FQtTexts;
};

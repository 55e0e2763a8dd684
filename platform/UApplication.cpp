#include "platform/UApplication.h"

#include "platform/UExceptions.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QShortcutEvent>

#include <exception>

namespace {

// The keys every window of the program handles alike.
class TApplicationKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Shortcut:
            return clickAccelerator(watched, static_cast<QShortcutEvent*>(event));
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            return helpKey(watched, static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }

private:
    // Clicks the button whose own accelerator the event carries; a checkable
    // button takes the focus too. Qt would press it and click 100 ms later,
    // after a key typed straight after it. An accelerator that several
    // buttons share (it only moves the focus) and a button held down are
    // left to Qt.
    static bool clickAccelerator(QObject* receiver, const QShortcutEvent* shortcut)
    {
        auto* button = qobject_cast<QAbstractButton*>(receiver);
        if (!button || shortcut->isAmbiguous() || shortcut->key() != button->shortcut() || button->isDown())
            return false;
        if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus))
            button->setFocus(Qt::ShortcutFocusReason);
        button->click();
        return true;
    }

    // F1 shows the help nearest to the widget that has the key, and nothing
    // where there is none. In an open menu it is as if the help had been
    // chosen there: the menus close first.
    static bool helpKey(QObject* watched, QKeyEvent* key)
    {
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (key->type() == QEvent::ShortcutOverride) {
            // Taken before the shortcuts see it: the help command's F1
            // neither shows the help a second time nor reaches into a window
            // without a context.
            key->accept();
            return true;
        }
        const int context = HelpContextAt(widget);
        if (context == 0) {
            // An open menu keeps the key: it would hand it on to the menu
            // bar, and so to the help of the window.
            if (qobject_cast<QMenu*>(widget)) {
                key->accept();
                return true;
            }
            return false;
        }
        while (QWidget* popup = QApplication::activePopupWidget())
            if (!popup->close())
                break;
        key->accept();
        Ui().showHelp(context);
        return true;
    }
};

} // namespace

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // The title is the caption of plain message boxes. No display name: Qt
    // would append it to every window title.
    setApplicationName(QStringLiteral("zuv"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (FQtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&FQtTexts);
    installEventFilter(new TApplicationKeys(this));
}

QString TApplication::currentExceptionMessage()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unbekannter Fehler.");
    }
}

bool TApplication::runShowingErrors(const std::function<void()>& work)
{
    QString message;
    try {
        work();
        return true;
    } catch (...) {
        message = currentExceptionMessage();
    }
    // Shown once the exception is gone: the box runs an event loop of its own.
    ShowMessage(message);
    return false;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    runShowingErrors([&] { result = QApplication::notify(receiver, event); });
    return result;
}

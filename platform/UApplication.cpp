#include "platform/UApplication.h"

#include "platform/UExceptions.h"
#include "platform/UUi.h"

#include <QAbstractButton>
#include <QLibraryInfo>
#include <QLocale>
#include <QShortcutEvent>

#include <exception>

namespace {

// Clicks the button whose own accelerator the event carries; a checkable
// button takes the focus too. An accelerator that several buttons share
// (it only moves the focus) and a button held down are left to Qt.
bool clickAccelerator(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::Shortcut)
        return false;
    auto* button = qobject_cast<QAbstractButton*>(receiver);
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    if (!button || shortcut->isAmbiguous() || shortcut->key() != button->shortcut() || button->isDown())
        return false;
    if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus))
        button->setFocus(Qt::ShortcutFocusReason);
    button->click();
    return true;
}

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
    runShowingErrors([&] { result = clickAccelerator(receiver, event) || QApplication::notify(receiver, event); });
    return result;
}

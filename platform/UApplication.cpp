#include "platform/UApplication.h"

#include "platform/UExceptions.h"
#include "platform/UUi.h"

#include <QLibraryInfo>
#include <QLocale>

#include <exception>

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
    runShowingErrors([&] { result = QApplication::notify(receiver, event); });
    return result;
}

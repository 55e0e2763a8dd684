// The engine's windows across the life of the application object: runs
// before any QApplication keep their log as data, the window is made with
// the first QApplication and freed before it goes, and a later
// QApplication gets a new window that still shows every line.
#include "engine/orvan32.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

int Failures = 0;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++Failures;
    }
}

void runWithoutProjects()
{
    Create();
    SolveIt(nullptr);
    Destroy();
}

QWidget* progressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("AussortForm"))
            return w;
    return nullptr;
}

int logLines(QWidget* form)
{
    auto* box = form->findChild<QAbstractItemView*>(QStringLiteral("LogBox"));
    return box ? box->model()->rowCount() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    runWithoutProjects();  // no application object yet: three log lines kept as data

    QPointer<QWidget> first;
    {
        QApplication app(argc, argv);
        check(!progressWindow(), "no window before it is needed");
        runWithoutProjects();
        first = progressWindow();
        check(first, "window made by the first run under a QApplication");
        check(first && logLines(first) == 6, "window shows the lines of both runs");
        // The options dialog, made and closed once.
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        SetOptions();
    }
    check(first.isNull(), "window freed before the application object went");

    {
        QApplication app(argc, argv);
        runWithoutProjects();
        QWidget* second = progressWindow();
        check(second, "a new window under the next QApplication");
        check(second && logLines(second) == 9, "the new window shows every line");
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        SetOptions();
    }
    runWithoutProjects();  // and again without one
    check(GetImplId() == 11, "library still answers");

    if (Failures == 0)
        std::printf("ok\n");
    return Failures == 0 ? 0 : 1;
}

// Loading and unloading liborvan32.so at run time, under one QApplication:
// unloading frees both windows and unhooks them from the application
// object, and a second load starts from the state of a first one.
#include "engine/orvan32.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <dlfcn.h>

namespace {

class TLoadedEngine {
public:
    TLoadedEngine() : FHandle(dlopen(ORVAN32_FILE, RTLD_NOW | RTLD_LOCAL)) {}
    ~TLoadedEngine() { unload(); }
    TLoadedEngine(const TLoadedEngine&) = delete;
    TLoadedEngine& operator=(const TLoadedEngine&) = delete;

    bool loaded() const { return FHandle != nullptr; }
    void unload()
    {
        if (FHandle)
            dlclose(FHandle);
        FHandle = nullptr;
    }

    template <typename F>
    F bind(const char* name) const
    {
        return reinterpret_cast<F>(dlsym(FHandle, name));
    }

private:
    void* FHandle;
};

bool libraryInProcess()
{
    void* handle = dlopen(ORVAN32_FILE, RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

QWidget* topLevel(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name))
            return w;
    return nullptr;
}

QStringList logLines()
{
    QWidget* form = topLevel("AussortForm");
    auto* box = form ? form->findChild<QAbstractItemView*>(QStringLiteral("LogBox")) : nullptr;
    QStringList lines;
    for (int row = 0; box && row < box->model()->rowCount(); ++row)
        lines.append(box->model()->index(row, 0).data().toString());
    return lines;
}

// Runs the worked example (two projects of 2..3, five pupils choosing 1
// then 2) through a loaded library.
void runWorkedExample(const TLoadedEngine& engine)
{
    engine.bind<void (*)()>("Create")();
    const auto addProNode = engine.bind<int32_t (*)(int32_t, int32_t, int32_t, intptr_t)>("AddProNode");
    addProNode(1, 2, 3, 1);
    addProNode(2, 2, 3, 2);
    const auto addSchNode = engine.bind<void (*)(int32_t, intptr_t)>("AddSchNode");
    const auto addTransition = engine.bind<void (*)(int32_t, int32_t, int32_t)>("AddTransition");
    for (int s = 1; s <= 5; ++s)
        addSchNode(s, 0);
    for (int s = 1; s <= 5; ++s) {
        addTransition(1, s, 1);
        addTransition(2, s, 2);
    }
    engine.bind<int32_t (*)(TProgressStepProc)>("SolveIt")(nullptr);
    engine.bind<void (*)()>("Destroy")();
}

// Shows the options dialog; answers whether "Variation" was ticked when it
// came up, and ticks it before pressing "OK" when `tick` is set.
bool showOptions(const TLoadedEngine& engine, bool tick)
{
    bool ticked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* variation = dialog->findChild<QCheckBox*>(QStringLiteral("CheckVariation"));
        ticked = variation->isChecked();
        if (tick)
            variation->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    engine.bind<void (*)()>("SetOptions")();
    return ticked;
}

const QStringList PlainLog{QStringLiteral("Aussort von Liste Groesse 1 nach 1"),
                           QStringLiteral("Von Projekt 1 nach 2: 2 Schüler"),
                           QStringLiteral("Aussort von Liste Groesse 2 nach 0"),
                           QStringLiteral("Aussort von Liste Groesse 0 nach 2")};

} // namespace

class TestEngineUnload : public QObject {
    Q_OBJECT

private slots:
    void unloadFreesBothWindows()
    {
        TLoadedEngine engine;
        QVERIFY2(engine.loaded(), dlerror());
        runWorkedExample(engine);
        QVERIFY(!showOptions(engine, true));
        QVERIFY(topLevel("AussortForm"));
        QVERIFY(topLevel("OptionsDialog"));
        QCOMPARE(logLines(), PlainLog);

        engine.unload();
        QVERIFY(!libraryInProcess());
        QVERIFY(!topLevel("AussortForm"));
        QVERIFY(!topLevel("OptionsDialog"));
    }

    // Variation, the dialog's states and the log live from load to unload.
    void secondLoadStartsAfresh()
    {
        TLoadedEngine engine;
        QVERIFY2(engine.loaded(), dlerror());
        QVERIFY(!showOptions(engine, false));
        runWorkedExample(engine);
        QCOMPARE(logLines(), PlainLog);
    }
    // The application object goes after these tests: with the windows'
    // hook still installed it would call into the unloaded library.
};

QTEST_MAIN(TestEngineUnload)
#include "tst_engineunload.moc"

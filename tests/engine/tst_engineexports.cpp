// The nine functions of the built liborvan32.so, with its two windows made
// offscreen and looked at through their object names.
#include "engine/orvan32.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <stdexcept>

namespace {

constexpr intptr_t Tag1 = 0x1001;
constexpr intptr_t Tag2 = 0x1002;

int Steps = 0;
void countStep() { ++Steps; }

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

QStringList boxLines(const char* box)
{
    QWidget* form = topLevel(QStringLiteral("AussortForm"));
    auto* view = form ? form->findChild<QAbstractItemView*>(QLatin1String(box)) : nullptr;
    if (!view)
        return {QStringLiteral("<no %1>").arg(QLatin1String(box))};
    QStringList lines;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        lines.append(view->model()->index(row, 0).data().toString());
    return lines;
}

int logRows()
{
    return topLevel(QStringLiteral("AussortForm")) ? int(boxLines("LogBox").size()) : 0;
}

// Two projects (min 2, max 3); five pupils choose project 1, then 2.
void createWorkedExample()
{
    Create();
    AddProNode(1, 2, 3, Tag1);
    AddProNode(2, 2, 3, Tag2);
    for (int s = 1; s <= 5; ++s)
        AddSchNode(s, 0);
    for (int s = 1; s <= 5; ++s) {
        AddTransition(1, s, 1);
        AddTransition(2, s, 2);
    }
}

QList<intptr_t> matchings(int pupils)
{
    QList<intptr_t> tags;
    for (int s = 1; s <= pupils; ++s)
        tags.append(GetSchMatching(s));
    return tags;
}

const QList<intptr_t> WorkedResult{Tag2, Tag2, Tag1, Tag1, Tag1};

QString message(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::out_of_range& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no error>");
}

// Runs SetOptions and lets `answer` work the dialog once it is up; closes
// it with the close box if the answer did not.
bool answerOptions(const std::function<void(QDialog&)>& answer)
{
    bool answered = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog && dialog->objectName() == QLatin1String("OptionsDialog")) {
            answered = true;
            answer(*dialog);
        }
        if (modal && modal->isVisible())
            modal->close();
    });
    SetOptions();
    return answered;
}

QCheckBox* checkBox(QDialog& dialog, const char* name)
{
    return dialog.findChild<QCheckBox*>(QLatin1String(name));
}

void pressOk(QDialog& dialog)
{
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
}

const QString Over = QStringLiteral("Aussort von Liste Groesse 1 nach 1");
const QString Moved = QStringLiteral("Von Projekt 1 nach 2: 2 Schüler");
const QString Surplus = QStringLiteral("Aussort von Liste Groesse 2 nach 0");
const QString Free = QStringLiteral("Aussort von Liste Groesse 0 nach 2");
const QString P1 = QStringLiteral("Projekt 1 (3/2-3)");
const QString P2 = QStringLiteral("Projekt 2 (2/2-3)");

} // namespace

class TestEngineExports : public QObject {
    Q_OBJECT

private:
    // Runs the worked example and checks result, log and the last lists.
    void checkWorkedRun(bool variation)
    {
        createWorkedExample();
        const int before = logRows();
        Steps = 0;
        QCOMPARE(SolveIt(countStep), 0);
        QCOMPARE(Steps, 90);
        QCOMPARE(matchings(5), WorkedResult);
        QCOMPARE(boxLines("LogBox").mid(before),
                 variation ? QStringList({Over, Moved, Free, Surplus})
                           : QStringList({Over, Moved, Surplus, Free}));
        QCOMPARE(boxLines("FromListBox"), variation ? QStringList({P1, P2}) : QStringList());
        QCOMPARE(boxLines("ToListBox"), variation ? QStringList() : QStringList({P2, P1}));
        Destroy();
    }

private slots:
    void withoutInstance()
    {
        QCOMPARE(GetImplId(), 11);
        QCOMPARE(AddProNode(1, 0, 1, Tag1), 0);
        AddSchNode(1, 0);
        AddTransition(99, 99, 9);  // no instance: nothing to check against
        Steps = 0;
        QCOMPARE(SolveIt(countStep), 0);
        QCOMPARE(Steps, 0);
        QCOMPARE(GetSchMatching(1), intptr_t(0));
        Destroy();
        QCOMPARE(GetImplId(), 11);
        QVERIFY(!topLevel(QStringLiteral("AussortForm")));  // made when first needed
    }

    void workedExample()
    {
        checkWorkedRun(false);
        QWidget* form = topLevel(QStringLiteral("AussortForm"));
        QVERIFY(form);
        QVERIFY(!form->isVisible());
        QCOMPARE(GetImplId(), 11);
    }

    void progressWindowTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("from label") << "FromListLabel" << "aus Projekt";
        QTest::newRow("arrow") << "Label3" << "=>";
        QTest::newRow("to label") << "ToListLabel" << "nach Projekt";
        QTest::newRow("ok") << "OkBut" << "OK";
    }
    void progressWindowTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QWidget* form = topLevel(QStringLiteral("AussortForm"));
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Fortgang der Umverteilung ..."));
        QWidget* control = form->findChild<QWidget*>(name);
        QVERIFY(control);
        if (auto* label = qobject_cast<QLabel*>(control))
            QCOMPARE(label->text(), text);
        else
            QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
    }

    void addProNodeAnswersIndexes()
    {
        Create();
        QCOMPARE(AddProNode(1, 0, 1, Tag1), 0);
        QCOMPARE(AddProNode(2, 0, 1, Tag2), 1);
        QCOMPARE(AddProNode(3, 0, 1, 0), 2);
        Destroy();
        Create();
        QCOMPARE(AddProNode(1, 0, 1, Tag1), 0);
        Destroy();
    }

    void createReplacesTheInstance()
    {
        createWorkedExample();
        Create();
        QCOMPARE(AddProNode(1, 0, 1, Tag1), 0);
        QCOMPARE(message([] { GetSchMatching(1); }),
                 QStringLiteral("List index out of bounds (0)"));
        Destroy();
    }

    void badNumbers_data()
    {
        QTest::addColumn<int>("projectNr");
        QTest::addColumn<int>("pupilNr");
        QTest::addColumn<int>("rank");
        QTest::addColumn<QString>("error");
        QTest::newRow("project 0") << 0 << 1 << 1 << "List index out of bounds (-1)";
        QTest::newRow("project behind the last") << 3 << 1 << 1 << "List index out of bounds (2)";
        QTest::newRow("pupil 0") << 1 << 0 << 1 << "List index out of bounds (-1)";
        QTest::newRow("pupil behind the last") << 1 << 6 << 1 << "List index out of bounds (5)";
        QTest::newRow("rank 0") << 2 << 1 << 0 << "List index out of bounds (0)";
        QTest::newRow("rank 6") << 2 << 1 << 6 << "List index out of bounds (6)";
        QTest::newRow("negative rank") << 2 << 1 << -3 << "List index out of bounds (-3)";
        QTest::newRow("project checked first") << 9 << 9 << 9 << "List index out of bounds (8)";
        QTest::newRow("then the pupil") << 2 << 9 << 9 << "List index out of bounds (8)";
    }
    void badNumbers()
    {
        QFETCH(int, projectNr);
        QFETCH(int, pupilNr);
        QFETCH(int, rank);
        QFETCH(QString, error);
        createWorkedExample();
        QCOMPARE(message([&] { AddTransition(projectNr, pupilNr, rank); }), error);
        // Nothing changed: the run gives the worked result.
        QCOMPARE(SolveIt(nullptr), 0);
        QCOMPARE(matchings(5), WorkedResult);
        QCOMPARE(message([] { GetSchMatching(0); }),
                 QStringLiteral("List index out of bounds (-1)"));
        QCOMPARE(message([] { GetSchMatching(6); }),
                 QStringLiteral("List index out of bounds (5)"));
        Destroy();
    }

    void engineWithoutProjects()
    {
        Create();
        AddSchNode(1, 0);
        const int before = logRows();
        Steps = 0;
        QCOMPARE(SolveIt(countStep), 0);
        QCOMPARE(Steps, 90);
        QCOMPARE(GetSchMatching(1), intptr_t(0));
        const QString none = QStringLiteral("Aussort von Liste Groesse 0 nach 0");
        QCOMPARE(boxLines("LogBox").mid(before), QStringList({none, none, none}));
        QCOMPARE(boxLines("FromListBox"), QStringList());
        QCOMPARE(boxLines("ToListBox"), QStringList());
        Destroy();
    }

    void pupilWithoutChoicesStaysUnassigned()
    {
        Create();
        AddProNode(1, 0, 5, Tag1);
        for (int s = 1; s <= 3; ++s)
            AddSchNode(s, 0);
        AddTransition(1, 1, 1);
        AddTransition(1, 3, 4);  // a gap before rank 4
        QCOMPARE(SolveIt(nullptr), 0);
        QCOMPARE(matchings(3), QList<intptr_t>({Tag1, 0, Tag1}));
        Destroy();
    }

    // The only pupil chooses project 3 (no places), 1, -, 2: the over-full to
    // free-places pass moves it to project 2, the first free project in that
    // list, on rank 4; the improvement then brings it to project 1 on rank 2.
    void solveItAnswersTheImprovementCount()
    {
        Create();
        AddProNode(1, 0, 2, Tag1);
        AddProNode(2, 0, 3, Tag2);
        AddProNode(3, 0, 0, 0x1003);
        AddSchNode(1, 0);
        AddTransition(3, 1, 1);
        AddTransition(1, 1, 2);
        AddTransition(2, 1, 4);
        const int before = logRows();
        QCOMPARE(SolveIt(nullptr), 1);
        QCOMPARE(GetSchMatching(1), Tag1);
        QVERIFY(boxLines("LogBox").mid(before).contains(
            QStringLiteral("Von Projekt 3 nach 2: 1 Schüler")));
        Destroy();
    }

    void optionsDialog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("label") << "Label1" << "Algorithmus:";
        QTest::newRow("variation") << "CheckVariation" << "Variation (Projekt-Füllen bevorzugen)";
        QTest::newRow("verify") << "CheckVerify" << "Einteilung optimieren";
        QTest::newRow("ok") << "Button1" << "OK";
    }
    void optionsDialog()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QString shown;
        QVERIFY(answerOptions([&](QDialog& dialog) {
            if (auto* label = dialog.findChild<QLabel*>(name))
                shown = label->text();
            else if (auto* button = dialog.findChild<QAbstractButton*>(name))
                shown = button->text();
            pressOk(dialog);
        }));
        QCOMPARE(shown, text);
    }

    void optionsDialogAtFirstShowing()
    {
        bool variation = true, verify = false, isDefault = false, modal = false;
        QString title, algorithm;
        int items = 0;
        QVERIFY(answerOptions([&](QDialog& dialog) {
            title = dialog.windowTitle();
            modal = dialog.windowModality() == Qt::ApplicationModal;
            auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
            items = combo->count();
            algorithm = combo->currentText();
            variation = checkBox(dialog, "CheckVariation")->isChecked();
            verify = checkBox(dialog, "CheckVerify")->isChecked();
            isDefault = dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->isDefault();
            pressOk(dialog);
        }));
        QCOMPARE(title, QStringLiteral("Einteilungs-Optionen"));
        QVERIFY(modal);
        QCOMPARE(items, 1);
        QCOMPARE(algorithm, QStringLiteral("Original zuv Algorithmus"));
        QVERIFY(!variation);
        QVERIFY(verify);
        QVERIFY(isDefault);
        checkWorkedRun(false);  // OK alone leaves the plain pass order
    }

    void closeBoxSetsVariation()
    {
        createWorkedExample();  // with an instance this time
        QVERIFY(answerOptions([](QDialog& dialog) {
            checkBox(dialog, "CheckVariation")->click();
            checkBox(dialog, "CheckVerify")->click();
            dialog.close();
        }));
        Destroy();
        checkWorkedRun(true);
    }

    void optionsKeptBetweenShowings()
    {
        bool variation = false, verify = true;
        QVERIFY(answerOptions([&](QDialog& dialog) {
            variation = checkBox(dialog, "CheckVariation")->isChecked();
            verify = checkBox(dialog, "CheckVerify")->isChecked();
            pressOk(dialog);
        }));
        QVERIFY(variation);
        QVERIFY(!verify);
        // Variation outlives the instance; the unticked optimisation
        // changes nothing: the improvement still runs.
        checkWorkedRun(true);
        solveItAnswersTheImprovementCount();
    }

    void untickingVariation()
    {
        QVERIFY(answerOptions([](QDialog& dialog) {
            checkBox(dialog, "CheckVariation")->click();
            pressOk(dialog);
        }));
        checkWorkedRun(false);
    }

    void logCollectsEveryRun()
    {
        const int before = logRows();
        Create();
        SolveIt(nullptr);
        Destroy();
        checkWorkedRun(false);
        const QString none = QStringLiteral("Aussort von Liste Groesse 0 nach 0");
        QCOMPARE(boxLines("LogBox").mid(before),
                 QStringList({none, none, none, Over, Moved, Surplus, Free}));
    }
};

QTEST_MAIN(TestEngineExports)
#include "tst_engineexports.moc"

#include "engine/UEintOrigMain.h"
#include "tests/engine/UEngineInstance.h"
#include "tests/engine/URescanEngine.h"

#include <QtTest>

namespace {

QStringList toQt(const std::vector<std::string>& lines)
{
    QStringList out;
    for (const std::string& line : lines)
        out.append(QString::fromStdString(line));
    return out;
}

// Projects 1 and 2 with min 2, max 3; five pupils choose 1 then 2.
TEngineInstance workedInstance()
{
    TEngineInstance instance;
    instance.projects = {{1, 2, 3}, {2, 2, 3}};
    instance.choices.assign(5, {0, 1, 2, 0, 0, 0});
    return instance;
}

class TNullSink final : public TAussortSink {
public:
    void ShowLists(const TProNodeList&, const TProNodeList&) override {}
    void Log(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

bool* FlipVariation = nullptr;
int FlipAt = 0;
int Steps = 0;
void stepAndFlip()
{
    if (++Steps == FlipAt)
        *FlipVariation = !*FlipVariation;
}

} // namespace

class TestEngineRun : public QObject {
    Q_OBJECT

private slots:
    void workedExample_data()
    {
        QTest::addColumn<bool>("variation");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("lastLists");
        const QString p1 = QStringLiteral("Projekt 1 (3/2-3)");
        const QString p2 = QStringLiteral("Projekt 2 (2/2-3)");
        const QString over = QStringLiteral("Aussort von Liste Groesse 1 nach 1");
        const QString moved = QStringLiteral("Von Projekt 1 nach 2: 2 Schüler");
        const QString surplus = QStringLiteral("Aussort von Liste Groesse 2 nach 0");
        const QString free = QStringLiteral("Aussort von Liste Groesse 0 nach 2");
        QTest::newRow("plain") << false << QStringList{over, moved, surplus, free}
                               << QStringList{QStringLiteral("=>"), p2, p1};
        QTest::newRow("variation") << true << QStringList{over, moved, free, surplus}
                                   << QStringList{p1, p2, QStringLiteral("=>")};
    }
    void workedExample()
    {
        QFETCH(bool, variation);
        QFETCH(QStringList, log);
        QFETCH(QStringList, lastLists);
        const TRunResult result = EngineRun(workedInstance(), variation);
        QCOMPARE(result.ranks, std::vector<int>({2, 2, 1, 1, 1}));
        QCOMPARE(result.counts, std::vector<std::int32_t>({3, 2}));
        QCOMPARE(result.improved, 0);
        QCOMPARE(result.steps, 90);
        QCOMPARE(toQt(result.log), log);
        // The first pass shows over-full project 1 and under-full project 2.
        QCOMPARE(toQt(result.lists).mid(0, 3),
                 QStringList({QStringLiteral("Projekt 1 (5/2-3)"), QStringLiteral("=>"),
                              QStringLiteral("Projekt 2 (0/2-3)")}));
        QCOMPARE(toQt(result.lists).mid(result.lists.size() - 3), lastLists);
    }

    // The engine and the straightforward rescan agree on every pupil's
    // rank, every count, the improvement count, the lists and the log.
    void agreesWithRescan_data()
    {
        QTest::addColumn<int>("instances");
        QTest::addColumn<int>("maxProjects");
        QTest::addColumn<int>("maxPupils");
        QTest::newRow("tiny") << 300 << 4 << 12;
        QTest::newRow("small") << 300 << 10 << 60;
        QTest::newRow("medium") << 60 << 30 << 400;
    }
    void agreesWithRescan()
    {
        QFETCH(int, instances);
        QFETCH(int, maxProjects);
        QFETCH(int, maxPupils);
        std::mt19937 rng(std::uint32_t(maxProjects * 1000 + maxPupils));
        int improving = 0;
        for (int i = 0; i < instances; ++i) {
            const TEngineInstance instance = RandomInstance(rng, maxProjects, maxPupils);
            for (bool variation : {false, true}) {
                const TRunResult expected = RescanRun(instance, variation);
                const TRunResult actual = EngineRun(instance, variation, std::uint32_t(i));
                const std::string difference = actual.differenceTo(expected);
                if (!difference.empty())
                    QFAIL(qPrintable(QStringLiteral("instance %1 (variation %2): %3")
                                         .arg(i)
                                         .arg(variation)
                                         .arg(QString::fromStdString(difference))));
                improving += expected.improved > 0;
            }
        }
        QVERIFY(improving > 0);  // the improvement sweep is exercised too
    }

    void schoolAgreesWithRescan_data()
    {
        QTest::addColumn<int>("projects");
        QTest::addColumn<int>("pupils");
        QTest::newRow("class year") << 12 << 300;
        QTest::newRow("school") << 40 << 2000;
        QTest::newRow("many small projects") << 255 << 1500;
    }
    void schoolAgreesWithRescan()
    {
        QFETCH(int, projects);
        QFETCH(int, pupils);
        const TEngineInstance instance = SchoolInstance(projects, pupils, 7);
        for (bool variation : {false, true}) {
            const TRunResult expected = RescanRun(instance, variation);
            const TRunResult actual = EngineRun(instance, variation);
            QCOMPARE(QString::fromStdString(actual.differenceTo(expected)), QString());
            QVERIFY(expected.log.size() > 3);  // something moved
        }
    }

    void secondRunGivesTheSameResult()
    {
        const TEngineInstance instance = SchoolInstance(20, 500, 3);
        TEintOrigMain engine;
        std::mt19937 rng(5);
        FillEngine(engine, instance, rng);
        TNullSink sink;
        const bool variation = false;
        const std::int32_t improved = engine.SolveIt(nullptr, variation, sink);
        const TRunResult first = ReadResult(engine);
        const std::vector<std::string> firstLog = sink.lines;
        sink.lines.clear();
        QCOMPARE(engine.SolveIt(nullptr, variation, sink), improved);
        QCOMPARE(ReadResult(engine).differenceTo(first), std::string());
        QCOMPARE(toQt(sink.lines), toQt(firstLog));
    }

    // The option is read at the start of every pass: flipping it during the
    // callbacks of pass 2 changes pass 3 only.
    void variationIsReadAtEachPass()
    {
        TEintOrigMain engine;
        std::mt19937 rng(1);
        FillEngine(engine, workedInstance(), rng);
        TNullSink sink;
        bool variation = false;
        FlipVariation = &variation;
        FlipAt = 31;
        Steps = 0;
        engine.SolveIt(stepAndFlip, variation, sink);
        const QString surplus = QStringLiteral("Aussort von Liste Groesse 2 nach 0");
        QCOMPARE(toQt(sink.lines),
                 QStringList({QStringLiteral("Aussort von Liste Groesse 1 nach 1"),
                              QStringLiteral("Von Projekt 1 nach 2: 2 Schüler"), surplus,
                              surplus}));
        QCOMPARE(Steps, 90);
    }

    void edgeCases_data()
    {
        QTest::addColumn<QList<QList<int>>>("projects");  // min, max
        QTest::addColumn<QList<QList<int>>>("choices");   // per pupil, ranks 1..5
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<QStringList>("log");
        const QString none = QStringLiteral("Aussort von Liste Groesse 0 nach 0");
        QTest::newRow("no projects, no pupils")
            << QList<QList<int>>{} << QList<QList<int>>{} << QList<int>{}
            << QStringList{none, none, none};
        QTest::newRow("projects without pupils")
            << QList<QList<int>>{{2, 4}, {0, 3}, {1, 1}} << QList<QList<int>>{} << QList<int>{}
            << QStringList{QStringLiteral("Aussort von Liste Groesse 0 nach 2"),
                           QStringLiteral("Aussort von Liste Groesse 1 nach 2"),
                           QStringLiteral("Aussort von Liste Groesse 0 nach 1")};
        QTest::newRow("pupil without choices")
            << QList<QList<int>>{{0, 1}} << QList<QList<int>>{{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}}
            << QList<int>{0, 1}
            << QStringList{none, QStringLiteral("Aussort von Liste Groesse 1 nach 0"),
                           QStringLiteral("Aussort von Liste Groesse 0 nach 1")};
        // Bound pupils name one project at every rank: assigned, never moved.
        QTest::newRow("all choices one project")
            << QList<QList<int>>{{0, 1}, {3, 5}}
            << QList<QList<int>>{{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 0, 0, 0, 0}}
            << QList<int>{1, 1, 1}
            << QStringList{QStringLiteral("Aussort von Liste Groesse 1 nach 1"),
                           QStringLiteral("Aussort von Liste Groesse 0 nach 1"),
                           QStringLiteral("Aussort von Liste Groesse 1 nach 0")};
        // Within bounds after the initial assignment: the passes move nobody,
        // and neither does the improvement, as every pupil already has its
        // first present choice.
        QTest::newRow("within bounds from the start")
            << QList<QList<int>>{{0, 2}, {1, 1}, {0, 5}}
            << QList<QList<int>>{{2, 0, 0, 0, 0}, {0, 0, 3, 0, 0}, {3, 0, 0, 0, 0},
                                 {0, 1, 0, 0, 0}}
            << QList<int>{1, 3, 1, 2}
            << QStringList{QStringLiteral("Aussort von Liste Groesse 0 nach 0"),
                           QStringLiteral("Aussort von Liste Groesse 3 nach 0"),
                           QStringLiteral("Aussort von Liste Groesse 0 nach 3")};
    }
    void edgeCases()
    {
        QFETCH(QList<QList<int>>, projects);
        QFETCH(QList<QList<int>>, choices);
        QFETCH(QList<int>, ranks);
        QFETCH(QStringList, log);
        TEngineInstance instance;
        for (const QList<int>& p : projects)
            instance.projects.push_back({std::int32_t(instance.projects.size() + 1), p[0], p[1]});
        for (const QList<int>& c : choices)
            instance.choices.push_back({0, c[0], c[1], c[2], c[3], c[4]});
        const TRunResult result = EngineRun(instance, false);
        QCOMPARE(result.steps, 90);
        QCOMPARE(QList<int>(result.ranks.begin(), result.ranks.end()), ranks);
        QCOMPARE(toQt(result.log), log);
        QCOMPARE(QString::fromStdString(result.differenceTo(RescanRun(instance, false))), QString());
    }
};

QTEST_APPLESS_MAIN(TestEngineRun)
#include "tst_enginerun.moc"

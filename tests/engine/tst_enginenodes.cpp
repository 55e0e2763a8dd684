#include "engine/UEintOrigMain.h"

#include <QtTest>

#include <chrono>
#include <random>
#include <stdexcept>

Q_DECLARE_METATYPE(TListKind)
Q_DECLARE_METATYPE(TAussortKind)

class TestEngineNodes : public QObject {
    Q_OBJECT

private slots:
    void listKinds_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("count");
        QTest::addColumn<TListKind>("kind");
        QTest::addColumn<bool>("belongs");
        QTest::addColumn<qint64>("key");
        QTest::newRow("over full") << 2 << 3 << 5 << lkOverfull << true << qint64(2);
        QTest::newRow("at max not over") << 2 << 3 << 3 << lkOverfull << false << qint64(0);
        QTest::newRow("under full") << 2 << 3 << 0 << lkUnderfull << true << qint64(2);
        QTest::newRow("at min not under") << 2 << 3 << 2 << lkUnderfull << false << qint64(0);
        QTest::newRow("surplus") << 2 << 5 << 4 << lkSurplus << true << qint64(2);
        QTest::newRow("free") << 2 << 5 << 4 << lkFree << true << qint64(1);
        QTest::newRow("count=min=max surplus") << 4 << 4 << 4 << lkSurplus << true << qint64(0);
        QTest::newRow("count=min=max free") << 4 << 4 << 4 << lkFree << true << qint64(0);
        QTest::newRow("count=min=max not over") << 4 << 4 << 4 << lkOverfull << false << qint64(0);
        QTest::newRow("count=min=max not under") << 4 << 4 << 4 << lkUnderfull << false << qint64(0);
        QTest::newRow("min>max over") << 10 << 5 << 7 << lkOverfull << true << qint64(2);
        QTest::newRow("min>max under") << 10 << 5 << 7 << lkUnderfull << true << qint64(3);
        QTest::newRow("min>max no surplus") << 10 << 5 << 7 << lkSurplus << false << qint64(-3);
        QTest::newRow("min>max no free") << 10 << 5 << 7 << lkFree << false << qint64(-2);
        QTest::newRow("extreme bounds do not overflow")
            << std::numeric_limits<int>::max() << std::numeric_limits<int>::min() << 0
            << lkOverfull << true << qint64(2147483648LL);
    }
    void listKinds()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, count);
        QFETCH(TListKind, kind);
        QFETCH(bool, belongs);
        QFETCH(qint64, key);
        TProNode node(1, 0, min, max, 0);
        node.count = count;
        QCOMPARE(node.belongsTo(kind), belongs);
        QCOMPARE(qint64(node.getValue(kind)), key);
    }

    void assignAndUnassign()
    {
        TProNode a(1, 0, 0, 9, 0), b(2, 0, 0, 9, 1);
        TSchNode s(1, 0);
        s.choice[1] = &a;
        s.choice[3] = &b;

        QVERIFY(!s.assignTo(2));  // no choice of rank 2
        QCOMPARE(int(s.cur), 0);
        QVERIFY(s.current() == nullptr);

        QVERIFY(s.assignTo(3));
        QCOMPARE(int(s.cur), 3);
        QVERIFY(s.current() == &b);
        QCOMPARE(b.count, 1);

        s.unassign();
        QCOMPARE(int(s.cur), 0);
        QCOMPARE(b.count, 0);
        s.unassign();  // unassigned: no count changes
        QCOMPARE(a.count, 0);
        QCOMPARE(b.count, 0);

        QVERIFY(s.assignTo(1));
        QVERIFY(s.assignTo(0));  // unassigned, and the count stays as it was
        QCOMPARE(int(s.cur), 0);
        QCOMPARE(a.count, 1);
    }

    void passKinds_data()
    {
        QTest::addColumn<bool>("variation");
        QTest::addColumn<int>("pass");
        QTest::addColumn<TAussortKind>("kind");
        QTest::addColumn<TListKind>("from");
        QTest::addColumn<TListKind>("to");
        QTest::newRow("1") << false << 1 << akOverToUnder << lkOverfull << lkUnderfull;
        QTest::newRow("2") << false << 2 << akSurplusToUnder << lkSurplus << lkUnderfull;
        QTest::newRow("3") << false << 3 << akOverToFree << lkOverfull << lkFree;
        QTest::newRow("other") << false << 4 << akOverToUnder << lkOverfull << lkUnderfull;
        QTest::newRow("variation 1") << true << 1 << akOverToUnder << lkOverfull << lkUnderfull;
        QTest::newRow("variation 2") << true << 2 << akOverToFree << lkOverfull << lkFree;
        QTest::newRow("variation 3") << true << 3 << akSurplusToUnder << lkSurplus << lkUnderfull;
        QTest::newRow("variation other") << true << 0 << akOverToUnder << lkOverfull << lkUnderfull;
    }
    void passKinds()
    {
        QFETCH(bool, variation);
        QFETCH(int, pass);
        QFETCH(TAussortKind, kind);
        QFETCH(TListKind, from);
        QFETCH(TListKind, to);
        const TAussort aussort(variation, pass);
        QCOMPARE(aussort.Kind, kind);
        QCOMPARE(aussort.FromList(), from);
        QCOMPARE(aussort.ToList(), to);
    }

    void kindListsSortDescendingAndKeepOrderOfEqualKeys()
    {
        TEintOrigMain engine;
        // Free places: 1, 3, 1, 3, 0 (min 0, nobody assigned).
        for (int max : {1, 3, 1, 3, 0})
            engine.AddProNode(engine.proCount() + 1, 0, max, 0);
        engine.AddProNode(6, 2, 5, 0);  // under-full
        engine.BuildLists();
        auto numbers = [&](TListKind kind) {
            QList<int> nrs;
            for (const TProNode* node : engine.kindList(kind))
                nrs.append(node->nr);
            return nrs;
        };
        QCOMPARE(numbers(lkFree), QList<int>({2, 4, 1, 3, 5}));
        QCOMPARE(numbers(lkSurplus), QList<int>({1, 2, 3, 4, 5}));
        QCOMPARE(numbers(lkUnderfull), QList<int>({6}));
        QCOMPARE(numbers(lkOverfull), QList<int>());
    }

    void randomGenerator()
    {
        RandomSeed = 0;
        QCOMPARE(RandomBelow(10), 0u);
        QCOMPARE(RandomSeed, 1u);
        QCOMPARE(RandomBelow(1000000), 31379u);
        QCOMPARE(RandomBelow(7), 6u);
        QCOMPARE(RandomBelow(0), 0u);  // still advances
        QCOMPARE(RandomSeed, 870078620u);
        QCOMPARE(RandomBelow(4294967295u), 1172187916u);
    }

    void seedIsTheUtcTimeOfDay()
    {
        using namespace std::chrono;
        const auto before = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
        SeedFromClock();
        const auto after = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
        const qint64 day = 86400000;
        QVERIFY(RandomSeed < day);
        const qint64 lo = before.count() % day, hi = after.count() % day;
        if (lo <= hi)  // unless midnight passed in between
            QVERIFY(RandomSeed >= lo && RandomSeed <= hi);
    }

    void firstThreePupilNodes()
    {
        for (std::uint32_t seed = 0; seed < 200; ++seed) {
            RandomSeed = seed * 2654435761u;
            TEintOrigMain engine;
            engine.AddSchNode(1, 0);
            QCOMPARE(engine.schNode(0).nr, 1);
            engine.AddSchNode(2, 0);
            QCOMPARE(engine.schNode(0).nr, 2);
            QCOMPARE(engine.schNode(1).nr, 1);
            engine.AddSchNode(3, 0);
            QVERIFY(engine.schNode(2).nr != 3);  // never behind the last
            QCOMPARE(engine.schCount(), 3);
        }
    }

    // Placing many nodes at once must give the order of inserting one at a
    // time, however additions and reads interleave.
    void placementMatchesInsertingOneByOne_data()
    {
        QTest::addColumn<int>("nodes");
        QTest::addColumn<int>("readEvery");
        QTest::newRow("all at once") << 5000 << 0;
        QTest::newRow("small batches") << 300 << 5;
        QTest::newRow("batches around the threshold") << 2000 << 17;
        QTest::newRow("reads after every node") << 200 << 1;
        QTest::newRow("mixed") << 3000 << 333;
    }
    void placementMatchesInsertingOneByOne()
    {
        QFETCH(int, nodes);
        QFETCH(int, readEvery);
        RandomSeed = 4711;
        TEintOrigMain engine;
        std::vector<int> expected;
        for (int i = 1; i <= nodes; ++i) {
            // Draw the engine's index ahead, then let the engine draw it again.
            const std::uint32_t seed = RandomSeed;
            const std::uint32_t index = RandomBelow(std::uint32_t(expected.size()));
            RandomSeed = seed;
            expected.insert(expected.begin() + index, i);
            engine.AddSchNode(i, 0);
            if (readEvery && i % readEvery == 0)
                QCOMPARE(engine.schNode(i / 2).nr, expected[std::size_t(i / 2)]);
        }
        for (int i = 0; i < nodes; ++i)
            QCOMPARE(engine.schNode(i).nr, expected[std::size_t(i)]);
    }

    void positionErrors()
    {
        TEintOrigMain engine;
        engine.AddProNode(1, 0, 1, 0);
        engine.AddSchNode(1, 0);
        try {
            engine.schNode(1);
            QFAIL("no error");
        } catch (const std::out_of_range& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("List index out of bounds (1)"));
        }
        try {
            engine.getMatching(std::numeric_limits<std::int32_t>::min());
            QFAIL("no error");
        } catch (const std::out_of_range& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("List index out of bounds (-2147483649)"));
        }
    }
};

QTEST_APPLESS_MAIN(TestEngineNodes)
#include "tst_enginenodes.moc"

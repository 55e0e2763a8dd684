// The main window's commands one after another in random sequences, from a
// small school the test writes itself, every question answered through the
// scripted seam. The test keeps a model of its own of both lists, the open
// editors and the files (USeqModel.h); after every step each record, each
// row of every editor and view, the status bar and both overviews are
// compared with it, and so are what was printed, exported and saved, the
// automatic run's result and the dialogs that show the lists (USeqRun.h).
//
// KESTRIN_SEQ_SEEDS=N and KESTRIN_SEQ_STEPS=M ask for N seeds (from
// KESTRIN_SEQ_FIRST on) of M/2 to M steps; KESTRIN_SEQ_REPLAY=file replays
// the steps of a file, one a line, as a failing sequence prints them.

#include "tests/app/UAppForms.h"
#include "tests/app/USeqRun.h"
#include "platform/URecordingPrinter.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString env(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

}   // namespace

class TestSequences : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sequences_data();
    void sequences();
    void replay();

private:
    // Runs the steps of a fixed list, or those of a seed.
    void runSteps(const QStringList& fixed, int seed, int steps);

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TSeqUi> FUi;
    std::unique_ptr<TRecordingPrinter> FPrinter;
    TAppForms FForms;
};

void TestSequences::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FUi = std::make_unique<TSeqUi>();
    FPrinter = std::make_unique<TRecordingPrinter>();
    QVERIFY(FForms.start());
}

void TestSequences::cleanup()
{
    // Nothing is asked on the way out.
    FUi->policy = TPolicy();
    FForms.stop();
    FPrinter.reset();
    FUi.reset();
    FDir.reset();
}

void TestSequences::runSteps(const QStringList& fixed, int seed, int steps)
{
    TSeqRun run(FDir->path(), *FUi, *FPrinter);
    QElapsedTimer clock;
    clock.start();
    const bool ok = run.run(fixed, seed, steps);
    qInfo().noquote() << QStringLiteral("seed %1: %2 steps in %3 ms").arg(seed).arg(run.log().size()).arg(clock.elapsed());
    if (!ok)
        qWarning().noquote() << "Sequence" << seed << "failed at step" << run.log().size() << ":" << run.failure()
                             << "\nSteps:\n" + run.log().join(QLatin1Char('\n'));
    QVERIFY2(ok, qPrintable(QStringLiteral("step %1 \"%2\": %3").arg(run.log().size()).arg(run.log().value(run.log().size() - 1), run.failure())));
}

void TestSequences::sequences_data()
{
    QTest::addColumn<int>("seed");
    const int seeds = env("KESTRIN_SEQ_SEEDS").isEmpty() ? 60 : env("KESTRIN_SEQ_SEEDS").toInt();
    const int first = env("KESTRIN_SEQ_FIRST").toInt();
    for (int s = first; s < first + seeds; ++s)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(s))) << s;
}

void TestSequences::sequences()
{
    QFETCH(int, seed);
    runSteps({}, seed, env("KESTRIN_SEQ_STEPS").isEmpty() ? 60 : env("KESTRIN_SEQ_STEPS").toInt());
}

void TestSequences::replay()
{
    const QString file = env("KESTRIN_SEQ_REPLAY");
    if (file.isEmpty())
        QSKIP("KESTRIN_SEQ_REPLAY names no file of steps");
    runSteps(QString::fromUtf8(fileBytes(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts), 0, 0);
}

KESTRIN_TEST_MAIN(TestSequences)
#include "tst_sequences.moc"

// Imports a synthetic pupil register of 100,000 lines in each of the three
// line conventions into a pupil list and prints the times.

#include "import/UImport.h"

#include "data/USchuelerData.h"
#include "platform/UAnsiText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kLines = 100000;
constexpr int kRuns = 3;

const char* const kLast[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner",
                             "Becker", "Schulz", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter",
                             "Klein", "Wolf", "Schröder", "Neumann", "Schwarz", "Zimmermann"};
const char* const kFirst[] = {"Anna", "Ben", "Clara", "David", "Emma", "Felix", "Greta", "Hannes",
                              "Ida", "Jonas", "Käthe", "Lukas", "Mia", "Noah", "Öztürk", "Paul"};

struct TRegister {
    const char* label;
    TImportOptions options;
    TElements elements;
    QString (*line)(const QString& last, const QString& first, int grade, char dept, bool male);
};

QString dataBaseLine(const QString& last, const QString& first, int grade, char dept, bool male)
{
    return QStringLiteral("\"%1, %2\",%3%4,%5").arg(last, first).arg(grade).arg(QLatin1Char(dept))
        .arg(male ? QLatin1Char('m') : QLatin1Char('w'));
}

QString conventionalLine(const QString& last, const QString& first, int grade, char dept, bool male)
{
    return QStringLiteral("%1 ; %2 ; %3 ; %4 ; %5").arg(last, first).arg(grade).arg(QLatin1Char(dept))
        .arg(male ? QStringLiteral("männlich") : QStringLiteral("weiblich"));
}

QString positionsLine(const QString& last, const QString& first, int grade, char dept, bool male)
{
    return (last + QStringLiteral(", ") + first).leftJustified(25, QLatin1Char(' '))
        + QStringLiteral("%1%2").arg(grade, 2).arg(QLatin1Char(dept)).leftJustified(6, QLatin1Char(' '))
        + (male ? QStringLiteral("m") : QStringLiteral("w"));
}

QList<TRegister> registers()
{
    TRegister db{"database", DefaultOptions, DefaultElements, dataBaseLine};
    db.elements.elName = 1;
    db.elements.elKl = 2;
    db.elements.elGeschl = 3;
    db.elements.highestEl = 3;

    TRegister conv{"separated", DefaultOptions, DefaultElements, conventionalLine};
    conv.options.imFormat = imConventional;
    conv.options.imSepString = QStringLiteral(";");
    conv.elements.elNName = 1;
    conv.elements.elVName = 2;
    conv.elements.elJgst = 3;
    conv.elements.elAbt = 4;
    conv.elements.elGeschl = 5;
    conv.elements.elGM = QStringLiteral("männlich");
    conv.elements.elGW = QStringLiteral("weiblich");
    conv.elements.highestEl = 5;

    TRegister pos{"fixed positions", DefaultOptions, DefaultElements, positionsLine};
    pos.options.imFormat = imPositions;   // 1, 26, 32
    pos.elements.elName = 1;
    pos.elements.elKl = 2;
    pos.elements.elGeschl = 3;
    pos.elements.highestEl = 3;
    // Every line refused (grade 14 and more), the errors ignored.
    TRegister bad{"refused, ignored", DefaultOptions, db.elements, [](const QString& last, const QString& first,
                                                                      int grade, char dept, bool male) {
                      return dataBaseLine(last, first, grade + 9, dept, male);
                  }};
    bad.options.imIgnoreErr = true;
    return {db, conv, pos, bad};
}

bool writeRegister(const QString& path, const TRegister& r)
{
    QRandomGenerator random(7);
    QByteArray bytes;
    bytes.reserve(kLines * 40);
    for (int i = 0; i < kLines; ++i) {
        const QString last = QString::fromUtf8(kLast[random.bounded(int(std::size(kLast)))]);
        const QString first = QString::fromUtf8(kFirst[random.bounded(int(std::size(kFirst)))]);
        const int grade = 5 + random.bounded(9);
        const char dept = char('a' + random.bounded(5));
        bytes += Ansi::encode(r.line(last, first, grade, dept, random.bounded(2) == 1));
        bytes += "\r\n";
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("import of a pupil register, %d lines, best of %d runs\n", kLines, kRuns);
    int status = 0;
    for (const TRegister& r : registers()) {
        const QString path = dir.filePath(QString::fromLatin1(r.label) + QStringLiteral(".txt"));
        if (!writeRegister(path, r)) {
            std::printf("cannot write %s\n", qPrintable(path));
            return 1;
        }
        qint64 best = -1;
        int pupils = 0;
        for (int run = 0; run < kRuns; ++run) {
            TSchuelerData list;
            QElapsedTimer timer;
            timer.start();
            pupils = list.ImportFromFile(path, r.options, r.elements);
            const qint64 ms = timer.elapsed();
            list.ClearData();
            if (best < 0 || ms < best)
                best = ms;
        }
        std::printf("  %-16s %7d pupils  %5lld ms  (%.1f MB)\n", r.label, pupils, static_cast<long long>(best),
                    QFileInfo(path).size() / 1e6);
        const int expected = r.options.imIgnoreErr ? 0 : kLines;
        if (pupils != expected)
            status = 1;
    }
    return status;
}

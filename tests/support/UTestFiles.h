#pragma once
// Small file helpers shared by the tests.

#include "platform/UAnsiText.h"

#include <QFile>
#include <QStringList>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

// A data file as the program writes them: Windows-1252, CR LF.
inline void writeLines(const QString& path, const QStringList& lines)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    for (const QString& line : lines)
        f.write(Ansi::encode(line) + "\r\n");
}

// Runs work while files of this process may grow to maxBytes only, so that a
// write beyond fails as on a full disk (EFBIG, the signal ignored).
template <typename Work>
void withFileSizeLimit(rlim_t maxBytes, Work work)
{
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        QFAIL("getrlimit failed");
    rlimit small = saved;
    small.rlim_cur = maxBytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        QFAIL("setrlimit failed");
    work();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
}

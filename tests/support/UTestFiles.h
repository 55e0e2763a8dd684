#pragma once
// Small file helpers shared by the tests.

#include "platform/UAnsiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

// A data file as the program writes them: Windows-1252, CR LF.
inline void writeLines(const QString& path, const QStringList& lines)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    for (const QString& line : lines)
        f.write(Ansi::encode(line) + "\r\n");
}

inline void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(), qPrintable(path));
}

// The file's bytes; "<missing>" when it cannot be read, so that no file
// differs from an empty one.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
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

// From now on every read through the descriptors this process holds open on
// path fails, as on a failing disk: each becomes a descriptor of
// /proc/self/mem, whose reads at the start fail. Returns how many it
// replaced.
inline int failReadsOf(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const int failing = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    if (target.isEmpty() || failing < 0)
        return 0;
    int replaced = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const int fd = entry.toInt();
        if (fd != failing && QFile::symLinkTarget(fds.filePath(entry)) == target && ::dup2(failing, fd) == fd)
            ++replaced;
    }
    ::close(failing);
    return replaced;
}

// From now on every write through the descriptors this process holds open
// on files in folder dir fails as on a full disk (ENOSPC): each becomes a
// descriptor of /dev/full. Returns how many it replaced.
inline int fillDiskUnder(const QString& dir)
{
    const QString folder = QFileInfo(dir).canonicalFilePath() + QLatin1Char('/');
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (folder.size() < 2 || full < 0)
        return 0;
    int replaced = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const int fd = entry.toInt();
        if (fd != full && QFile::symLinkTarget(fds.filePath(entry)).startsWith(folder) && ::dup2(full, fd) == fd)
            ++replaced;
    }
    ::close(full);
    return replaced;
}

// How a message ends that names the reason the system gives for errorCode
// (ENOSPC for a full disk, EFBIG for a file beyond the size limit).
inline QString becauseOf(int errorCode)
{
    return QStringLiteral(": ") + qt_error_string(errorCode);
}

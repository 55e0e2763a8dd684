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

// Makes every descriptor this process holds open on a file that matches
// (by its full path) one of device, opened with flags. Returns how many it
// replaced.
template <typename Match>
int replaceDescriptors(const char* device, int flags, Match matches)
{
    const int replacement = ::open(device, flags | O_CLOEXEC);
    if (replacement < 0)
        return 0;
    int replaced = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const int fd = entry.toInt();
        if (fd != replacement && matches(QFile::symLinkTarget(fds.filePath(entry))) && ::dup2(replacement, fd) == fd)
            ++replaced;
    }
    ::close(replacement);
    return replaced;
}

// From now on every read through the descriptors this process holds open on
// path fails, as on a failing disk: each becomes a descriptor of
// /proc/self/mem, whose reads at the start fail. Returns how many it
// replaced.
inline int failReadsOf(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return 0;
    return replaceDescriptors("/proc/self/mem", O_RDONLY, [&](const QString& file) { return file == target; });
}

// From now on every write through the descriptors this process holds open
// on files in folder dir fails as on a full disk (ENOSPC): each becomes a
// descriptor of /dev/full. Returns how many it replaced.
inline int fillDiskUnder(const QString& dir)
{
    const QString folder = QFileInfo(dir).canonicalFilePath() + QLatin1Char('/');
    if (folder.size() < 2)
        return 0;
    return replaceDescriptors("/dev/full", O_WRONLY, [&](const QString& file) { return file.startsWith(folder); });
}

// How a message ends that names the reason the system gives for errorCode
// (ENOSPC for a full disk, EFBIG for a file beyond the size limit).
inline QString becauseOf(int errorCode)
{
    return QStringLiteral(": ") + qt_error_string(errorCode);
}

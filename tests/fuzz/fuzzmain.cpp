// Runs a fuzz target once over every file named, or over every file of the
// folders named: the regression run of its seed corpus, and the way to
// replay a crash without the fuzzer.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            const QDir dir(arg);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                files.append(dir.filePath(name));
        } else {
            files.append(arg);
        }
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: %s FILE|FOLDER... (no input found)\n", argv[0]);
        return 2;
    }
    for (const QString& name : files) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 2;
        }
        const QByteArray bytes = f.readAll();
        std::fprintf(stderr, "%s (%lld bytes)\n", qPrintable(name), static_cast<long long>(bytes.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
    std::fprintf(stderr, "%lld inputs passed\n", static_cast<long long>(files.size()));
    return 0;
}

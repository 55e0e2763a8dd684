// Whole data files of the three kinds: read, write, read again gives the
// same records without a refused line, and the second write gives the same
// bytes. The records read are exactly those of the lines that parse on
// their own; a project line that does not keeps its place when a project
// follows.
//
// Input: a byte choosing the kind (WAH, PRO, EIN by its value modulo 3;
// bit 7: a choices file is also read twice into one list), then the file's
// bytes.

#include "UFuzzSupport.h"

#include "data/UDataFile.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <memory>

namespace {

// The records of the lines that parse on their own, in file order, and for
// each project line that does not, when a project follows, the project
// standing in its place; never more than 255 projects, the lines from the
// first project without a place on not read, nor the bad lines before it.
// A line of blanks and control characters is empty. unread: the number of
// stand-ins; bad: whether any record line was bad; project: whether any
// line was a project line.
QList<std::shared_ptr<TSchPro>> expectedRecords(const QByteArray& bytes, TFileType kind, int& unread, bool& bad,
                                                bool& project)
{
    QList<std::shared_ptr<TSchPro>> records;
    unread = 0;
    bad = false;
    project = false;
    if (bytes.left(4096).contains('\0'))
        return records;   // no text file: nothing is read
    QList<int> pending;   // bad project lines since the last project
    const auto blank = [](const QString& line) {
        for (QChar c : line)
            if (c != QLatin1Char(' ') && c.unicode() >= 0x20 && c.unicode() != 0x7f)
                return false;
        return true;
    };
    int lineNo = 0;
    for (const QByteArray& raw : fileLines(bytes)) {
        ++lineNo;
        const QString line = Ansi::decode(raw);
        if (line.startsWith(QLatin1Char('/')))
            continue;
        if (line.contains(QChar(u'\0'))) {
            bad = true;
            pending.append(lineNo);
            continue;
        }
        if (blank(line))
            continue;
        try {
            if (kind == ft_proj) {
                auto p = std::make_shared<TProjekt>(0);
                p->FromFileZeile(TZeile(line));
                project = true;
                if (records.size() + pending.size() >= 255)
                    break;
                for (int at : std::as_const(pending)) {
                    auto s = std::shared_ptr<TProjekt>(TProjekt::CreateUnreadable(at));
                    s->CheckAndSetNr(int(records.size()) + 1);
                    records.append(s);
                    ++unread;
                }
                pending.clear();
                p->CheckAndSetNr(int(records.size()) + 1);
                records.append(p);
            } else {
                auto s = std::make_shared<TSchueler>();
                s->FromFileZeileZT(TZeile(line), kind == ft_teil);
                records.append(s);
            }
        } catch (const EProFromZeile&) {
            bad = true;
            pending.append(lineNo);
        } catch (const ESchFromZeile&) {
            bad = true;
        }
    }
    return records;
}

bool sameRecord(const TSchPro* a, const TSchPro* b)
{
    if (a->isProjekt() != b->isProjekt())
        return false;
    if (a->isProjekt())
        return ::sameRecord(*static_cast<const TProjekt*>(a), *static_cast<const TProjekt*>(b));
    return ::sameRecord(*static_cast<const TSchueler*>(a), *static_cast<const TSchueler*>(b));
}

QString describe(const TSchPro* r)
{
    return r->isProjekt() ? ::describe(*static_cast<const TProjekt*>(r))
                          : ::describe(*static_cast<const TSchueler*>(r));
}

int readFile(TFileType kind, const QString& path, TData& into, bool concat = false)
{
    TDataFile f(kind, path);
    FUZZ_CHECK(f.OpenRead());
    const int n = f.Read(into, concat);
    f.Close();
    return n;
}

QByteArray writeFile(TFileType kind, const QString& path, const TData& from)
{
    TDataFile f(kind, path);
    FUZZ_CHECK(f.OpenWrite());
    FUZZ_CHECK(f.Write(from) == from.Anz());
    f.Close();
    return readBytes(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TProjektData* projekte[2] = {new TProjektData, new TProjektData};
    static TSchuelerData* schueler[2] = {new TSchuelerData, new TSchuelerData};

    TFuzzInput in(data, size);
    const std::uint8_t kindByte = in.byte();
    const TFileType kind = TFileType(kindByte % 3);
    const QByteArray bytes = in.rest();
    TData& first = kind == ft_proj ? static_cast<TData&>(*projekte[0]) : *schueler[0];
    TData& second = kind == ft_proj ? static_cast<TData&>(*projekte[1]) : *schueler[1];

    const QString original = fuzzPath(QStringLiteral("original"));
    const QString written = fuzzPath(QStringLiteral("written"));
    writeBytes(original, bytes);

    TFuzzUi ui;
    const int n = readFile(kind, original, first);
    int unread = 0;
    bool bad = false;
    bool project = false;
    const QList<std::shared_ptr<TSchPro>> expected = expectedRecords(bytes, kind, unread, bad, project);
    // A file with bad lines and not one project line says so once.
    if (kind == ft_proj && bad && !project)
        FUZZ_CHECK_MSG(ui.messages.size() == 1, QString::number(ui.messages.size()));
    FUZZ_CHECK_MSG(n == expected.size() - unread,
                   QStringLiteral("%1 read, %2 expected").arg(n).arg(expected.size() - unread));
    FUZZ_CHECK(first.Anz() == expected.size());
    for (int i = 1; i <= first.Anz(); ++i)
        FUZZ_CHECK_MSG(sameRecord(first.getNr(i), expected[i - 1].get()),
                       describe(first.getNr(i)) + QStringLiteral("\n  ") + describe(expected[i - 1].get()));

    if (kind == ft_wahl && (kindByte & 0x80)) {
        // Several choices files into one list: the second after the first.
        FUZZ_CHECK(readFile(kind, original, second) == n);
        FUZZ_CHECK(readFile(kind, original, second, true) == n);
        FUZZ_CHECK(second.Anz() == 2 * n);
        for (int i = 1; i <= 2 * n; ++i)
            FUZZ_CHECK(sameRecord(second.getNr(i), expected[(i - 1) % n].get()));
        second.ClearData();
    }

    // Written, every record reads whole, those standing in for a bad line
    // too.
    const int all = first.Anz();
    const QByteArray out = writeFile(kind, written, first);
    FUZZ_CHECK(out.count("\r\n") == all && (all == 0 || out.endsWith("\r\n")));

    ui.messages.clear();
    const int n2 = readFile(kind, written, second);
    FUZZ_CHECK_MSG(ui.messages.isEmpty(), ui.messages.first().text);
    FUZZ_CHECK(n2 == all);
    for (int i = 1; i <= all; ++i)
        FUZZ_CHECK_MSG(sameRecord(first.getNr(i), second.getNr(i)),
                       describe(first.getNr(i)) + QStringLiteral("\n  ") + describe(second.getNr(i)));
    const QByteArray again = writeFile(kind, written, second);
    FUZZ_CHECK(again == out);

    first.ClearData();
    second.ClearData();
    return 0;
}

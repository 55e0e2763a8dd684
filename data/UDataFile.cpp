#include "data/UDataFile.h"

#include "data/UProjekt.h"
#include "data/USchueler.h"
#include "data/UZeile.h"
#include "platform/UExceptions.h"
#include "platform/UUi.h"

#include <QFileInfo>
#include <exception>
#include <memory>

TDataFile::TDataFile(TFileType Ftype, const QString& FileName)
    : FType(Ftype), Name(FileName)
{
}

TDataFile::~TDataFile() = default;

bool TDataFile::OpenRead()
{
    // Only a plain file: a device or a pipe might never end.
    if (FMode != fm_closed || !QFileInfo(Name).isFile() || !FReader.open(Name))
        return false;
    FMode = fm_read;
    return true;
}

bool TDataFile::OpenWrite()
{
    if (FMode != fm_closed || !FWriter.open(Name))
        return false;
    FMode = fm_write;
    return true;
}

void TDataFile::Close()
{
    const TFileMode mode = FMode;
    FMode = fm_closed;
    if (mode == fm_read)
        FReader.close();
    else if (mode == fm_write)
        FWriter.commit();
}

int TDataFile::Read(TData& DataBase, bool concat)
{
    if (FMode != fm_read)
        return -1;
    const TDataType wanted = FType == ft_proj ? dtPro : dtSch;
    if (DataBase.getDataType() != wanted)
        throw Exception(QStringLiteral("TDataFile.Read: Datei und Liste passen nicht zusammen"));
    if (!concat)
        DataBase.ClearData();

    int n = 0;
    FRefused = 0;
    FDroppedAssignment = false;
    if (FReader.looksBinary()) {
        ++FRefused;
        ShowMessage(Ansi::notTextMessage(Name));
        return n;
    }
    // A file of the wrong kind refuses every line: a few messages, then
    // one that counts the rest.
    TLineMessages messages;
    int lineNo = 0;
    QString line;
    // A read error ends the lines; those passed over until then are still
    // counted before it goes on.
    std::exception_ptr readError;
    const auto nextLine = [&] {
        try {
            return FReader.readLine(line);
        } catch (const EInOutError&) {
            readError = std::current_exception();
            return false;
        }
    };
    const auto addProjekt = [&DataBase](std::unique_ptr<TProjekt> p) {
        TProjekt* added = p.get();
        DataBase.add(p.release());
        // Numbered by position, so a project's number is its place in the
        // list.
        added->CheckAndSetNr(DataBase.Anz());
    };
    // A project line that cannot be read keeps its place, so that the
    // pupils' choices and assignments still name the projects they named.
    const auto standIn = [&] {
        if (FType == ft_proj)
            addProjekt(std::unique_ptr<TProjekt>(TProjekt::CreateUnreadable(lineNo)));
    };
    while (nextLine()) {
        ++lineNo;
        if (line.contains(QChar(u'\0'))) {
            // A stray NUL in a text file spoils that line only.
            ++FRefused;
            messages.show(QStringLiteral("Zeile %1 der Datei %2 enthält ein Nullbyte und wurde übersprungen.")
                              .arg(QString::number(lineNo), QFileInfo(Name).fileName()));
            if (!line.startsWith(QLatin1Char('/')))
                standIn();
            continue;
        }
        if (line.isEmpty() || line.at(0) == QLatin1Char('/'))
            continue;
        const TZeile zeile(line);
        try {
            if (FType == ft_proj) {
                auto p = std::make_unique<TProjekt>(0);
                p->FromFileZeile(zeile);
                addProjekt(std::move(p));
            } else {
                auto s = std::make_unique<TSchueler>();
                s->FromFileZeileZT(zeile, FType == ft_teil);
                DataBase.add(s.release());
                // A choices line has ten fields; an eleventh, the assigned
                // project, is not kept.
                if (FType == ft_wahl && zeile.size() > 10)
                    FDroppedAssignment = true;
            }
            ++n;
        } catch (const EProFromZeile& e) {
            ++FRefused;
            messages.show(e.message());
            standIn();
        } catch (const ESchFromZeile& e) {
            ++FRefused;
            messages.show(e.message());
        }
    }
    messages.finish();
    if (readError)
        std::rethrow_exception(readError);
    return n;
}

int TDataFile::Write(const TData& DataBase)
{
    if (FMode != fm_write)
        return -1;
    const int n = DataBase.Anz();
    for (int i = 1; i <= n; ++i)
        FWriter.writeLine(DataBase.getNr(i)->ToZeile().AsString());
    return n;
}

#include "data/UDataFile.h"

#include "data/UProjekt.h"
#include "data/UProjektData.h"
#include "data/USchueler.h"
#include "data/UZeile.h"
#include "platform/UExceptions.h"
#include "platform/UUi.h"

#include <QFileInfo>
#include <exception>
#include <memory>
#include <utility>

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
    FStandInLines.clear();
    FRefusedWhole = false;
    FDroppedAssignment = false;
    if (FReader.looksBinary()) {
        ++FRefused;
        FRefusedWhole = true;
        ShowMessage(Ansi::notTextMessage(Name));
        return n;
    }
    const bool projects = FType == ft_proj;
    const QString fileName = QFileInfo(Name).fileName();
    // A bad project line is not skipped: it keeps its place, or none.
    const QString fate = projects ? QStringLiteral("nicht gelesen") : QStringLiteral("übersprungen");
    // A file of the wrong kind refuses every line: a few messages, then
    // one that counts the rest. Until a project is read, the bad lines of
    // a project file may be those of another kind of file: their messages
    // wait.
    TLineMessages messages;
    if (projects)
        messages.hold();
    int lineNo = 0;
    // The project lines since the last project read that could not be
    // read: each keeps its place once a project follows, so that the
    // pupils' choices and assignments still name the projects they named.
    // No number depends on those after the last project.
    QList<int> unread;
    // The line of the first project without a place; 0 when none.
    int cut = 0;
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
    const auto refuse = [&](const QString& message, bool record) {
        ++FRefused;
        messages.show(message);
        if (projects && record)
            unread.append(lineNo);
    };
    while (nextLine()) {
        ++lineNo;
        if (line.contains(QChar(u'\0'))) {
            // A stray NUL in a text file spoils that line only.
            refuse(QStringLiteral("Zeile %1 der Datei %2 enthält ein Nullbyte und wurde %3.")
                       .arg(QString::number(lineNo), fileName, fate),
                   !line.startsWith(QLatin1Char('/')));
            continue;
        }
        if (IsBlankLine(line) || line.at(0) == QLatin1Char('/'))
            continue;
        const TZeile zeile(line);
        try {
            if (projects) {
                auto p = std::make_unique<TProjekt>(0);
                p->FromFileZeile(zeile);
                // Pupils name projects by numbers up to MaxAnz: from the
                // project without a place on, the lines are not read, and
                // the unread lines before it stand for nothing.
                if (DataBase.Anz() + unread.size() >= TProjektData::MaxAnz) {
                    cut = lineNo;
                    ++FRefused;
                    break;
                }
                for (const int unreadLine : std::as_const(unread))
                    addProjekt(std::unique_ptr<TProjekt>(TProjekt::CreateUnreadable(unreadLine)));
                FStandInLines += unread;
                unread.clear();
                addProjekt(std::move(p));
                messages.release();
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
            refuse(e.message(), true);
        } catch (const ESchFromZeile& e) {
            refuse(e.message(), true);
        }
    }
    FRefusedWhole = projects && n == 0 && cut == 0 && !unread.isEmpty() && !readError;
    if (FRefusedWhole) {
        // Not one line was a project: the file is of another kind, and the
        // reasons of its lines tell nothing.
        messages.discard();
        ShowMessage(QStringLiteral("Die Datei %1 enthält keine Projektzeile und wurde nicht gelesen.").arg(fileName));
    } else {
        messages.finish(fate);
    }
    if (cut > 0)
        ShowMessage(TProjektData::MaxAnzText()
                    + QStringLiteral(" Die Zeilen ab Zeile %1 der Datei %2 wurden nicht gelesen.").arg(QString::number(cut), fileName));
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

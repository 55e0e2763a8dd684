#include "tests/app/USeqModel.h"

#include <QFileInfo>

namespace {

QString withoutLeadingBlanks(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}

QChar upperAscii(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
}

// The "fest" field's meaning: "F" fixed, "-" not, a digit a placement.
QString festField(const MSchueler& s)
{
    if (s.fest)
        return QStringLiteral("F");
    return s.hand >= 0 && s.hand <= 5 ? QString::number(s.hand) : QStringLiteral("-");
}

}   // namespace

int MSchueler::wahlAnz() const
{
    int n = 0;
    for (int r = 1; r <= 5; ++r)
        n += wahl[r] != 0;
    return n;
}

QStringList rowOf(const MProjekt& p, int nr)
{
    const QString geschl = p.weib && p.maenn ? QStringLiteral("-")
                           : p.maenn         ? QStringLiteral("m")
                           : p.weib          ? QStringLiteral("w")
                                             : QStringLiteral("X");
    return {QString::number(nr), p.name,
            QString::number(p.jgmin), QString::number(p.jgmax),
            QString::number(p.min), QString::number(p.max),
            geschl, p.gesp ? QStringLiteral("X") : QStringLiteral("-")};
}

QStringList rowOf(const MSchueler& s)
{
    QStringList row = {s.name, s.boy ? QStringLiteral("m") : QStringLiteral("w"), QString::number(s.jgst), s.abt,
                       festField(s)};
    for (int r = 1; r <= 5; ++r)
        row << QString::number(s.wahl[r]);
    return row << QString::number(s.zuteil);
}

QString fileLine(const QStringList& fields)
{
    QString line;
    for (const QString& f : fields)
        line += f + QStringLiteral("; ");
    return line;
}

MSchueler asStored(MSchueler s)
{
    s.abt = withoutLeadingBlanks(s.abt);
    if (s.fest)
        s.hand = -1;
    return s;
}

QString klasseText(const MSchueler& s)
{
    return QString::asprintf("%2d", s.jgst) + s.abt;
}

QString klassenKey(const QString& klasseText)
{
    return klasseText.left(2) + foldedAbt(klasseText.mid(2));
}

QString foldedAbt(const QString& abt)
{
    if (abt == QLatin1String(" "))
        return QString();
    QString folded = abt;
    for (QChar& c : folded)
        c = upperAscii(c);
    return folded;
}

// ------------------------------------------------------------------ lists

QString TSeqModel::saveQuestion(TDataType kind)
{
    return kind == dtPro ? QStringLiteral("Die Projektdaten wurden geändert. Sollen sie gespeichert werden?")
                         : QStringLiteral("Die Schülerdaten wurden geändert. Sollen sie gespeichert werden?");
}

const MSchueler* TSeqModel::pupil(TRecId id) const
{
    for (const auto& e : pupils)
        if (e.id == id)
            return &e.r;
    return nullptr;
}

bool TSeqModel::admits(const MSchueler& s, int nr) const
{
    const MProjekt& p = projects.at(nr - 1).r;
    bool ok = s.jgst >= p.jgmin && s.jgst <= p.jgmax && (s.boy ? p.maenn : p.weib);
    if (s.hand >= 1 && s.hand <= 5)
        ok = s.wahl[s.hand] == nr;
    if (s.fest)
        ok = s.wahl[1] == nr;
    return ok && !p.gesp;
}

QList<int> TSeqModel::admissible(const MSchueler& s, int depth) const
{
    QList<int> ranks;
    for (int r = 1; r <= depth; ++r)
        if (valid(s.wahl[r]) && admits(s, s.wahl[r]))
            ranks << r;
    return ranks;
}

int TSeqModel::priority(const MSchueler& s) const
{
    const int z = valid(s.zuteil);
    if (z == 0)
        return 0;
    for (int r = 5; r >= 1; --r)
        if (s.wahl[r] == z)
            return r;
    return -1;
}

int TSeqModel::assigned() const
{
    int n = 0;
    for (const auto& e : pupils)
        n += valid(e.r.zuteil) != 0;
    return n;
}

int TSeqModel::onProject(int k) const
{
    int n = 0;
    for (const auto& e : pupils)
        n += valid(e.r.zuteil) == k;
    return k == 0 && n == pupilCount() ? 0 : n;
}

// ------------------------------------------------------------------ files

bool TSeqModel::askToSave(TDataType kind, TAnswer answer, const QString& askedName)
{
    MListState& list = state(kind);
    if (!list.modified)
        return true;
    questions << saveQuestion(kind);
    if (answer == TAnswer::Cancel)
        return false;
    if (answer == TAnswer::Yes) {
        const QString path = list.file.isEmpty() ? askedName + (kind == dtPro ? ".PRO" : ".EIN") : list.file;
        if (kind == dtPro)
            saveProjects(path);
        else
            savePupils(path);
    }
    return true;
}

void TSeqModel::saveProjects(const QString& path)
{
    MFile f;
    f.kind = dtPro;
    for (const auto& e : projects) {
        MProjekt p = e.r;
        p.name = withoutLeadingBlanks(p.name);
        f.projects << p;
    }
    files[QFileInfo(path).fileName()] = f;
    pro = {false, path};
}

void TSeqModel::savePupils(const QString& path)
{
    QList<MSchueler> list;
    for (const auto& e : pupils)
        list << e.r;
    writePupils(path, list);
    sch = {false, path};
}

void TSeqModel::saveView(const QString& path, const MView& v)
{
    writePupils(path, viewRecords(v));
}

void TSeqModel::writePupils(const QString& path, const QList<MSchueler>& list)
{
    MFile f;
    f.kind = dtSch;
    for (const MSchueler& s : list)
        f.pupils << asStored(s);
    files[QFileInfo(path).fileName()] = f;
}

QList<MSchueler> TSeqModel::viewRecords(const MView& v) const
{
    QList<MSchueler> list;
    if (v.ownEmpty)
        list << MSchueler();
    for (TRecId id : v.pupils)
        list << *pupil(id);
    return list;
}

void TSeqModel::openProjects(const QString& path)
{
    const MFile& f = files[QFileInfo(path).fileName()];
    projects.clear();
    for (const MProjekt& p : f.projects)
        projects << MEntry<MProjekt>{nullptr, p};
    pro = {false, f.whole ? path : QString()};
    // A file of no project line brings up no editor.
    proEditor = proEditor || !f.noProject;
}

void TSeqModel::openPupils(const QStringList& paths, bool asChoices)
{
    views.clear();
    pupils.clear();
    bool whole = paths.size() == 1;
    for (const QString& path : paths) {
        const MFile& f = files[QFileInfo(path).fileName()];
        whole = whole && f.whole && (!asChoices || f.choices);
        for (MSchueler s : f.pupils) {
            if (asChoices) {
                s.zuteil = 0;
                s.hand = -1;
            }
            pupils << MEntry<MSchueler>{nullptr, s};
        }
    }
    sch = {false, whole ? paths.first() : QString()};
    sortedBy = sc_NotSorted;
    schEditor = true;
}

void TSeqModel::replacePupils(const QList<MSchueler>& list)
{
    views.clear();
    pupils.clear();
    for (const MSchueler& s : list)
        pupils << MEntry<MSchueler>{nullptr, s};
    sch = {true, QString()};
    sortedBy = sc_NotSorted;
    schEditor = true;
}

bool TSeqModel::newData(TAnswer answer, const QString& askedName)
{
    views.clear();
    if (schEditor || !pupils.isEmpty()) {
        if (!askToSave(dtSch, answer, askedName))
            return false;
        pupils.clear();
        sch = {};
        sortedBy = sc_NotSorted;
        schEditor = false;
    }
    if (proEditor || !projects.isEmpty()) {
        if (!askToSave(dtPro, answer, askedName))
            return false;
        projects.clear();
        pro = {};
        proEditor = false;
    }
    return true;
}

// ---------------------------------------------------------------- editing

void TSeqModel::storeTyped(TDataType kind, int row, int col, const QString& text)
{
    if (kind == dtPro) {
        MProjekt& p = projects[row - 1].r;
        const QChar first = text.isEmpty() ? QChar() : upperAscii(text.at(0));
        switch (col) {
        case 1: p.name = withoutLeadingBlanks(text); break;
        case 2: p.jgmin = text.toInt(); break;
        case 3: p.jgmax = text.toInt(); break;
        case 4: p.min = text.toInt(); break;
        case 5: p.max = text.toInt(); break;
        case 6:
            p.weib = first == QLatin1Char('-') || first == QLatin1Char('W');
            p.maenn = first == QLatin1Char('-') || first == QLatin1Char('M');
            break;
        case 7: p.gesp = first == QLatin1Char('X'); break;
        default: break;
        }
        pro.modified = true;
        return;
    }
    MSchueler& s = pupils[row - 1].r;
    const MSchueler before = s;
    bool festChanged = false;
    switch (col) {
    case 0: s.name = text; break;
    case 1: s.boy = text.compare(QLatin1String("m"), Qt::CaseInsensitive) == 0; break;
    case 2: s.jgst = text.toInt(); break;
    case 3: s.abt = text; break;
    case 4: {
        const QString field = text == QLatin1String("f") ? QStringLiteral("F") : text;
        festChanged = field != festField(s);
        if (festChanged) {
            s.fest = field == QLatin1String("F");
            s.hand = -1;   // a row cannot place by hand
        }
        break;
    }
    default: s.wahl[col - 4] = text.toInt(); break;
    }
    // The department as a line gives it back.
    s.abt = withoutLeadingBlanks(s.abt);
    bool same = s.boy == before.boy && s.jgst == before.jgst && !festChanged;
    for (int r = 1; r <= 5; ++r)
        same = same && s.wahl[r] == before.wahl[r];
    if (!same) {
        s.zuteil = 0;
        s.hand = -1;
    }
    sch.modified = true;
}

void TSeqModel::insertPupil(int pos)
{
    pupils.insert(pos - 1, MEntry<MSchueler>());
    sortedBy = sc_NotSorted;
    sch.modified = true;
}

void TSeqModel::deletePupil(int pos)
{
    views.clear();
    pupils.removeAt(pos - 1);
    sch.modified = true;
}

void TSeqModel::insertProject(int pos)
{
    // Appending renumbers nothing.
    if (pos <= projectCount())
        moveRefs(pos, +1);
    projects.insert(pos - 1, MEntry<MProjekt>());
    pro.modified = true;
}

void TSeqModel::deleteProject(int pos)
{
    moveRefs(pos, -1);
    projects.removeAt(pos - 1);
    pro.modified = true;
}

void TSeqModel::moveRefs(int pos, int delta)
{
    // A number follows its project; the deleted project's becomes 0, and so
    // does one that would pass the highest number a line holds.
    const auto moved = [pos, delta](int n) {
        if (n < pos)
            return n;
        if (delta < 0 && n == pos)
            return 0;
        return n + delta > 255 ? 0 : n + delta;
    };
    for (auto& e : pupils) {
        MSchueler& s = e.r;
        const MSchueler before = s;
        if (delta < 0 && s.hand >= 1 && s.hand <= 5 && s.wahl[s.hand] == pos)
            s.hand = -1;
        if (delta < 0 && s.fest && s.wahl[1] == pos)
            s.fest = false;
        for (int r = 1; r <= 5; ++r)
            s.wahl[r] = moved(s.wahl[r]);
        s.zuteil = moved(s.zuteil);
        if (rowOf(s) != rowOf(before) || s.hand != before.hand)
            sch.modified = true;
    }
    for (MView& v : views)
        if (v.projekt >= 0) {
            v.projekt = moved(v.projekt);
            v.caption = QStringLiteral("Projekt %1").arg(v.projekt);
        }
}

void TSeqModel::fillEmptyEditors()
{
    if (proEditor && projects.isEmpty())
        projects << MEntry<MProjekt>();
    if (schEditor && pupils.isEmpty()) {
        pupils << MEntry<MSchueler>();
        sortedBy = sc_NotSorted;
    }
}

// ------------------------------------------------------------ assignments

void TSeqModel::place(int row, int hand)
{
    MSchueler& s = pupils[row - 1].r;
    const MSchueler before = s;
    s.hand = hand;
    if (hand == 0)
        s.zuteil = 0;
    else if (hand >= 1)
        s.zuteil = s.wahl[hand];
    if (s.hand != before.hand || s.zuteil != before.zuteil)
        sch.modified = true;
}

bool TSeqModel::clearAssignments()
{
    bool any = false;
    for (auto& e : pupils) {
        any = any || e.r.zuteil != 0;
        e.r.zuteil = 0;
    }
    if (any)
        sch.modified = true;
    return any;
}

bool TSeqModel::clearHands()
{
    bool any = false;
    for (auto& e : pupils) {
        any = any || e.r.hand != -1;
        e.r.hand = -1;
    }
    if (any)
        sch.modified = true;
    return any;
}

QList<TRecId> TSeqModel::select(const std::function<bool(const MSchueler&)>& pass) const
{
    QList<TRecId> ids;
    for (const auto& e : pupils)
        if (pass(e.r))
            ids << e.id;
    return ids;
}

bool TSeqModel::inClasses(const MSchueler& s, const QList<int>& grades, const QString& letters)
{
    return (grades.isEmpty() || grades.contains(s.jgst))
           && (letters.isEmpty() || s.abt.isEmpty() || letters.contains(upperAscii(s.abt.at(0))));
}

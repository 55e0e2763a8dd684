// The checks after each step: every record against the model field for
// field, every row of every open editor and view, the status bar and both
// overviews, what was printed, exported and saved, the automatic run's
// result and the dialogs that show the lists.

#include "tests/app/USeqRun.h"

#include "app/UEditor.h"
#include "app/main.h"
#include "assign/UHandDialog.h"
#include "assign/UProStatD.h"
#include "assign/USchStatD.h"
#include "data/UDataFile.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UAnsiText.h"
#include "platform/UGridWidget.h"
#include "platform/URecordingPrinter.h"
#include "tests/support/UTestFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <memory>
#include <cmath>

namespace {

const QString Unassigned = QStringLiteral("Nicht/ungültig gewählt");

// A program's record as the model writes it down.
MProjekt modelOf(const TProjekt& p)
{
    MProjekt m;
    m.name = p.name;
    m.jgmin = p.jgmin;
    m.jgmax = p.jgmax;
    m.min = p.teilnmin;
    m.max = p.teilnmax;
    m.weib = p.weib;
    m.maenn = p.maenn;
    m.gesp = p.gesp;
    return m;
}

MSchueler modelOf(const TSchueler& s)
{
    MSchueler m;
    m.name = s.name;
    m.boy = s.geschl;
    m.jgst = s.jgst;
    m.abt = s.abt;
    m.fest = s.fest;
    m.hand = s.hand;
    for (int r = 1; r <= 5; ++r)
        m.wahl[r] = s.wahl[r];
    m.zuteil = s.zuteil;
    return m;
}

// The fields of a record, named.
QStringList fieldsOf(const MProjekt& p, int nr)
{
    return {"nr " + QString::number(nr), "name " + p.name, "jgmin " + QString::number(p.jgmin),
            "jgmax " + QString::number(p.jgmax), "teilnmin " + QString::number(p.min),
            "teilnmax " + QString::number(p.max), "weib " + QString::number(p.weib),
            "maenn " + QString::number(p.maenn), "gesp " + QString::number(p.gesp)};
}

QStringList fieldsOf(const TProjekt& p)
{
    return fieldsOf(modelOf(p), p.nr);
}

QStringList fieldsOf(const MSchueler& s)
{
    QStringList f = {"name " + s.name, "geschl " + QString::number(s.boy), "jgst " + QString::number(s.jgst),
                     "abt \"" + s.abt + '"', "fest " + QString::number(s.fest), "hand " + QString::number(s.hand)};
    for (int r = 1; r <= 5; ++r)
        f << QStringLiteral("wahl%1 %2").arg(r).arg(s.wahl[r]);
    return f << "zuteil " + QString::number(s.zuteil);
}

QStringList fieldsOf(const TSchueler& s)
{
    return fieldsOf(modelOf(s));
}

// The fields that differ: "zuteil 0 (the model: zuteil 4)".
QString differences(const QStringList& program, const QStringList& model)
{
    QStringList d;
    for (qsizetype i = 0; i < std::max(program.size(), model.size()); ++i)
        if (program.value(i) != model.value(i))
            d << QStringLiteral("%1 (the model: %2)").arg(program.value(i), model.value(i));
    return d.join(QStringLiteral(", "));
}

QString editorCaption(TDataType kind, const QString& addition)
{
    const QString caption = kind == dtSch ? QStringLiteral("Schüler-Editor") : QStringLiteral("Projekt-Editor");
    return addition.isEmpty() ? caption : caption + QStringLiteral(" [") + addition + QLatin1Char(']');
}

// The text of a statistics field, whatever kind of widget shows it.
QString shown(const QWidget* w)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    return QStringLiteral("<%1>").arg(w ? w->metaObject()->className() : "none");
}

// A share in percent: rounded to the nearest, an exact half to the even.
QString share(int count, int of)
{
    if (of == 0)
        return QStringLiteral("0%");
    return QString::number(std::nearbyint(count * 100.0 / of)) + QLatin1Char('%');
}

// The key the sort criterion orders by, as it is built from its parts:
// the name's first 20 characters; the class, its department folded and
// ended by a character below any a name holds, so that each class keeps
// together; the gender letter; the assigned project in three places.
QString sortKey(const MSchueler& s, int zuteil, TSortCritType crit)
{
    const QString N = s.name.left(20);
    const QString K = klassenKey(klasseText(s)) + QChar(1);
    const QString G = s.boy ? QStringLiteral("m") : QStringLiteral("w");
    const QString Z = QString::asprintf("%3d", zuteil);
    switch (crit) {
    case sc_Kl_N: return K + N + G + Z;
    case sc_P_N: return Z + N + K + G;
    case sc_P_Kl: return Z + K + N + G;
    default: return N + K + G + Z;
    }
}

QString fromHtml(QString s)
{
    static const QList<QPair<QString, QString>> entities = {
        {"&auml;", "ä"}, {"&ouml;", "ö"}, {"&uuml;", "ü"}, {"&Auml;", "Ä"}, {"&Ouml;", "Ö"}, {"&Uuml;", "Ü"},
        {"&szlig;", "ß"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [entity, text] : entities)
        s.replace(entity, text);
    return s;
}

// The class of an exported class text ("5a", "10"), departments folded:
// the category a pupil belongs to by class.
QString classKey(const QString& klasse)
{
    const QString t = klasse.trimmed();
    qsizetype digits = 0;
    while (digits < t.size() && t.at(digits).isDigit())
        ++digits;
    return t.left(digits) + QLatin1Char('|') + foldedAbt(t.mid(digits));
}

}   // namespace

// ------------------------------------------------------------ output

QList<TOutLine> readExport(const QString& path, int format)
{
    QList<TOutLine> out;
    const QStringList lines = Ansi::decode(fileBytes(path)).split(QStringLiteral("\r\n"));
    static const QRegularExpression heading(QStringLiteral("^\\*\\*\\* (.*) \\*\\*\\*$"));
    static const QRegularExpression htmlHeading(QStringLiteral("<H3>(.*)</H3>"));
    static const QRegularExpression blanks(QStringLiteral("  +"));
    for (const QString& line : lines) {
        TOutLine l;
        if (format == exHtml) {
            if (const auto m = htmlHeading.match(line); m.hasMatch()) {
                l.heading = true;
                l.fields << fromHtml(m.captured(1));
            } else if (line.startsWith(QLatin1String("<TR> <TD>"))) {
                QString row = line.mid(9);
                row.chop(QStringLiteral("</TD> </TR>").size());
                for (const QString& f : row.split(QStringLiteral("</TD> <TD>")))
                    l.fields << fromHtml(f).trimmed();
            } else {
                continue;
            }
        } else if (const auto m = heading.match(line); m.hasMatch()) {
            l.heading = true;
            l.fields << m.captured(1);
        } else if (line.isEmpty() || line.startsWith(QLatin1String("**** "))) {
            continue;
        } else {
            for (const QString& f : format == exTab ? line.split(QLatin1Char('\t')) : line.split(blanks))
                l.fields << f.trimmed();
        }
        out << l;
    }
    return out;
}

QList<TOutLine> readPrint(const TRecordingPrinter& printer)
{
    const auto texts = printer.allTexts();
    QList<int> columns;
    for (const auto& [page, t] : texts)
        columns << t.x;
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    QList<TOutLine> out;
    for (qsizetype i = 0; i < texts.size();) {
        TOutLine l;
        l.page = texts[i].first;
        const int y = texts[i].second.y;
        qsizetype n = 0;
        for (; i < texts.size() && texts[i].first == l.page && texts[i].second.y == y; ++i, ++n) {
            const auto column = columns.indexOf(texts[i].second.x);
            if (l.fields.size() <= column)
                l.fields.resize(column + 1);
            l.fields[column] = texts[i].second.text.trimmed();
        }
        // A line of one text is a heading, the document's title first.
        l.heading = n == 1;
        if (l.heading)
            l.fields = QStringList{texts[i - 1].second.text};
        out << l;
    }
    if (!out.isEmpty() && out.first().heading)
        out.removeFirst();
    return out;
}

// ------------------------------------------------------------ the checks

bool TSeqRun::fail(const QString& what)
{
    if (FOk)
        FFailure = what;
    FOk = false;
    return false;
}

bool TSeqRun::checkEnabled(const char* action, bool enabled)
{
    const QAction* a = MainForm->findChild<QAction*>(QString::fromLatin1(action));
    if (a->isEnabled() != enabled)
        return fail(QStringLiteral("\"%1\" is %2abled").arg(a->text().remove(QLatin1Char('&')), enabled ? "dis" : "en"));
    return true;
}

void TSeqRun::bindRecords()
{
    QSet<TRecId> known;
    for (const auto& e : FModel.projects)
        known << e.id;
    for (int i = 0; i < FModel.projectCount() && i < ProjektData->Anz(); ++i)
        if (!FModel.projects[i].id && !known.contains(ProjektData->getNr(i + 1)))
            FModel.projects[i].id = ProjektData->getNr(i + 1);
    known.clear();
    for (const auto& e : FModel.pupils)
        known << e.id;
    for (int i = 0; i < FModel.pupilCount() && i < SchuelerData->Anz(); ++i)
        if (!FModel.pupils[i].id && !known.contains(SchuelerData->getNr(i + 1)))
            FModel.pupils[i].id = SchuelerData->getNr(i + 1);

    // New views are the program's views the model does not know yet, in
    // the order they opened.
    QList<TEditor*> programViews;
    for (TEditor* e : MainForm->editors())
        if (!e->Editable() && !viewOf(e))
            programViews << e;
    for (MView& v : FModel.views) {
        if (!v.editor && !programViews.isEmpty())
            v.editor = programViews.takeFirst();
        if (v.ownEmpty && !v.ownId && v.editor) {
            const TData* list = static_cast<const TEditor*>(v.editor)->getData();
            if (list && list->Anz() >= 1)
                v.ownId = list->getNr(1);
        }
    }
}

bool TSeqRun::checkLists()
{
    if (ProjektData->Anz() != FModel.projectCount())
        return fail(QStringLiteral("the project list holds %1 projects, the model %2")
                        .arg(ProjektData->Anz()).arg(FModel.projectCount()));
    for (int i = 1; i <= ProjektData->Anz(); ++i) {
        const TProjekt* p = ProjektData->getNr(i);
        const auto& m = FModel.projects[i - 1];
        if (p != m.id)
            return fail(QStringLiteral("project %1 is another record than the model's").arg(i));
        if (fieldsOf(*p) != fieldsOf(m.r, i))
            return fail(QStringLiteral("project %1: %2").arg(i).arg(differences(fieldsOf(*p), fieldsOf(m.r, i))));
    }
    if (SchuelerData->Anz() != FModel.pupilCount())
        return fail(QStringLiteral("the pupil list holds %1 pupils, the model %2")
                        .arg(SchuelerData->Anz()).arg(FModel.pupilCount()));
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        const TSchueler* s = SchuelerData->getNr(i);
        const auto& m = FModel.pupils[i - 1];
        if (s != m.id)
            return fail(QStringLiteral("pupil %1 (%2) is another record than the model's (%3)").arg(i).arg(s->name, m.r.name));
        if (fieldsOf(*s) != fieldsOf(m.r))
            return fail(QStringLiteral("pupil %1 (%2): %3").arg(i).arg(m.r.name, differences(fieldsOf(*s), fieldsOf(m.r))));
    }
    for (TDataType kind : {dtPro, dtSch}) {
        const TData& list = kind == dtPro ? static_cast<const TData&>(*ProjektData) : *SchuelerData;
        const MListState& m = FModel.state(kind);
        const char* what = kind == dtPro ? "projects" : "pupils";
        if (list.getModified() != m.modified)
            return fail(QStringLiteral("the %1 are %2 modified").arg(what, m.modified ? "not" : "marked"));
        if (list.getFilename() != m.file)
            return fail(QStringLiteral("the %1 have the file name \"%2\", the model \"%3\"").arg(what, list.getFilename(), m.file));
    }
    if (SchuelerData->getSort() != FModel.sortedBy)
        return fail(QStringLiteral("the pupils are sorted by %1, the model says %2").arg(SchuelerData->getSort()).arg(FModel.sortedBy));
    return true;
}

bool TSeqRun::checkEditors()
{
    int pro = 0;
    int sch = 0;
    int views = 0;
    for (TEditor* e : MainForm->editors()) {
        QList<QStringList> rows;
        QList<TRecId> ids;
        QString caption;
        if (e->Editable() && e->getDataType() == dtPro) {
            ++pro;
            caption = editorCaption(dtPro, QFileInfo(FModel.pro.file).fileName());
            for (int i = 0; i < FModel.projectCount(); ++i) {
                rows << rowOf(FModel.projects[i].r, i + 1);
                ids << FModel.projects[i].id;
            }
        } else if (e->Editable()) {
            ++sch;
            caption = editorCaption(dtSch, QFileInfo(FModel.sch.file).fileName());
            for (const auto& p : FModel.pupils) {
                rows << rowOf(p.r);
                ids << p.id;
            }
        } else {
            ++views;
            const MView* v = viewOf(e);
            if (!v)
                return fail(QStringLiteral("the view \"%1\" should not be open").arg(e->windowTitle()));
            caption = editorCaption(dtSch, v->caption);
            for (const MSchueler& s : FModel.viewRecords(*v))
                rows << rowOf(s);
            if (v->ownEmpty)
                ids << v->ownId;
            ids << v->pupils;
            if (static_cast<const TSchuelerData*>(e->getData())->getSort() != v->sortedBy)
                return fail(QStringLiteral("the view \"%1\" is sorted otherwise").arg(caption));
        }
        if (e->windowTitle() != caption)
            return fail(QStringLiteral("an editor is captioned \"%1\" instead of \"%2\"").arg(e->windowTitle(), caption));
        const TData* list = e->getData();
        const TGridWidget* grid = e->grid();
        if (list->Anz() != rows.size() || grid->rowCount() != rows.size() + 1)
            return fail(QStringLiteral("\"%1\" holds %2 records in %3 rows for the model's %4")
                            .arg(caption).arg(list->Anz()).arg(grid->rowCount() - 1).arg(rows.size()));
        for (int i = 1; i <= list->Anz(); ++i) {
            if (list->getNr(i) != ids[i - 1])
                return fail(QStringLiteral("row %1 of \"%2\" shows another record than the model's").arg(i).arg(caption));
            if (grid->rowTexts(i) != rows[i - 1])
                return fail(QStringLiteral("row %1 of \"%2\" shows %3, the model %4")
                                .arg(i).arg(caption, grid->rowTexts(i).join('|'), rows[i - 1].join('|')));
        }
    }
    if (pro != int(FModel.proEditor) || sch != int(FModel.schEditor) || views != FModel.views.size())
        return fail(QStringLiteral("%1 project editors, %2 pupil editors and %3 views are open, the model %4, %5, %6")
                        .arg(pro).arg(sch).arg(views).arg(int(FModel.proEditor)).arg(int(FModel.schEditor)).arg(FModel.views.size()));
    return true;
}

bool TSeqRun::checkCounts()
{
    const auto mark = [](const MListState& s) { return s.modified ? QStringLiteral(" (*)") : QString(); };
    const QStringList panels = {QStringLiteral("%1 Projekte").arg(FModel.projectCount()) + mark(FModel.pro),
                                QStringLiteral("%1 Schüler").arg(FModel.pupilCount()) + mark(FModel.sch),
                                QStringLiteral("%1 eingeteilt").arg(FModel.assigned())};
    for (int i = 0; i < 3; ++i)
        if (MainForm->panelText(i) != panels[i])
            return fail(QStringLiteral("status bar panel %1 shows \"%2\", the model \"%3\"").arg(i).arg(MainForm->panelText(i), panels[i]));

    // Projects: number, name, pupils and the fill state against the bounds.
    QList<QStringList> want;
    for (int k = 0; FModel.projectCount() > 0 && k <= FModel.projectCount(); ++k) {
        const int n = FModel.onProject(k);
        QString state;
        if (k > 0 && n > 0) {
            const MProjekt& p = FModel.projects[k - 1].r;
            state = n > p.max ? QStringLiteral("+%1").arg(n - p.max) : n < p.min ? QStringLiteral("-%1").arg(p.min - n) : QStringLiteral("ok");
        }
        want << QStringList{QString::number(k), k == 0 ? Unassigned : FModel.projects[k - 1].r.name, QString::number(n), state};
    }
    const TGridWidget* pg = MainForm->ProjekteGrid;
    if (pg->rowCount() != want.size() + 1)
        return fail(QStringLiteral("the project overview has %1 rows for %2 projects").arg(pg->rowCount() - 1).arg(FModel.projectCount()));
    for (int r = 1; r < pg->rowCount(); ++r)
        if (pg->rowTexts(r) != want[r - 1])
            return fail(QStringLiteral("project overview row %1 shows %2, the model %3").arg(r).arg(pg->rowTexts(r).join('|'), want[r - 1].join('|')));

    // Classes: one row per class, departments folded; pupils, assigned, on
    // their first choice.
    QMap<QString, QStringList> classes;
    for (const auto& e : FModel.pupils) {
        const QString text = klasseText(e.r);
        QStringList& row = classes[klassenKey(text).toCaseFolded()];
        if (row.isEmpty())
            row = {text, "0", "0", "0"};
        row[1] = QString::number(row[1].toInt() + 1);
        row[2] = QString::number(row[2].toInt() + (FModel.valid(e.r.zuteil) != 0));
        row[3] = QString::number(row[3].toInt() + (FModel.priority(e.r) == 1));
    }
    const TGridWidget* sg = MainForm->SchuelerGrid;
    const QList<QStringList> rows = classes.values();
    if (sg->rowCount() != rows.size() + 1)
        return fail(QStringLiteral("the class overview has %1 rows for %2 classes").arg(sg->rowCount() - 1).arg(rows.size()));
    // The text is that of a pupil of the class; which one, the last
    // refresh decides (sorting refreshes only the editors).
    for (int r = 1; r < sg->rowCount(); ++r)
        if (sg->rowTexts(r).mid(1) != rows[r - 1].mid(1) || klassenKey(sg->cell(0, r)) != klassenKey(rows[r - 1][0]))
            return fail(QStringLiteral("class overview row %1 shows %2, the model %3").arg(r).arg(sg->rowTexts(r).join('|'), rows[r - 1].join('|')));
    return true;
}

void TSeqRun::adoptOrder(const TEditor* editor)
{
    if (!editor || editor->getDataType() != dtSch)
        return;
    MView* v = viewOf(editor);
    const TSortCritType crit = v ? v->sortedBy : FModel.sortedBy;
    if (crit == sc_NotSorted)
        return;
    const TData* list = editor->getData();
    QList<TRecId> order;
    for (int i = 1; i <= list->Anz(); ++i)
        order << list->getNr(i);
    QList<TRecId> before = v ? v->pupils : FModel.select([](const MSchueler&) { return true; });
    if (v && v->ownEmpty)
        before.prepend(v->ownId);
    QList<TRecId> a = order;
    QList<TRecId> b = before;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (a != b) {
        fail(QStringLiteral("sorting changed which pupils the list holds"));
        return;
    }
    if (v) {
        if (!v->ownEmpty)
            v->pupils = order;
    } else {
        QList<MEntry<MSchueler>> sorted;
        for (TRecId id : order)
            sorted << MEntry<MSchueler>{id, *FModel.pupil(id)};
        FModel.pupils = sorted;
    }
    QString last;
    for (TRecId id : order) {
        const MSchueler s = v && v->ownEmpty ? MSchueler() : *FModel.pupil(id);
        const QString key = sortKey(s, FModel.valid(s.zuteil), crit);
        if (key < last) {
            fail(QStringLiteral("\"%1\" sorts after \"%2\" but stands behind it").arg(last, key));
            return;
        }
        last = key;
    }
}

bool TSeqRun::checkOutput(const TData& data, const QList<TOutLine>& out, bool pageBreaks)
{
    // Every record once, in the list's order.
    QStringList got;
    QStringList want;
    const bool pupils = data.getDataType() == dtSch;
    for (const TOutLine& l : out)
        if (l.heading || l.fields.size() < 3) {
            continue;
        } else if (pupils) {
            got << l.fields.mid(0, 3).join(QLatin1Char('|'));
        } else {
            // Blanks before the number; between blanks an empty name is
            // none, the participants follow at once (a maximum below 100
            // parted from them by its blanks).
            const QStringList f = l.fields.value(0).isEmpty() ? l.fields.mid(1) : l.fields;
            static const QRegularExpression bounds(QStringLiteral("^\\d+--( *\\d+)?$"));
            if (f[0].toInt() > 0)
                got << f[0] + QLatin1Char('|') + (bounds.match(f[1]).hasMatch() ? QString() : f[1]);
        }
    for (int i = 1; i <= data.Anz(); ++i) {
        if (pupils) {
            const auto* s = static_cast<const TSchueler*>(data.getNr(i));
            const QString klasse = QString::asprintf("%2d", s->jgst) + s->abt;
            want << QStringList{s->name.trimmed(), klasse.trimmed(), QString::number(s->zuteil)}.join(QLatin1Char('|'));
        } else {
            const auto* p = static_cast<const TProjekt*>(data.getNr(i));
            want << QString::number(p->nr) + QLatin1Char('|') + p->name.trimmed();
        }
    }
    if (got != want)
        return fail(QStringLiteral("printed or exported records:\n  %1\nthe list holds:\n  %2")
                        .arg(got.join(QStringLiteral("\n  ")), want.join(QStringLiteral("\n  "))));
    if (!pupils)
        return true;

    // Every pupil under the heading of its category, each category once: a
    // class once whatever the letter case of its departments, under the
    // class text of its first pupil.
    const TSortCritType sort = static_cast<const TSchuelerData&>(data).getSort();
    QString heading;
    int lastPage = 0;
    bool first = false;
    QStringList categories;
    for (const TOutLine& l : out) {
        if (l.heading) {
            heading = l.fields.value(0).simplified();
            const QString category = sort == sc_Kl_N ? classKey(heading.mid(7)) : l.fields.value(0);
            if (categories.contains(category))
                return fail(QStringLiteral("the category \"%1\" shows twice").arg(heading));
            if (pageBreaks && !categories.isEmpty() && l.page <= lastPage)
                return fail(QStringLiteral("the category \"%1\" starts on the page of the one before").arg(heading));
            categories << category;
            first = true;
            continue;
        }
        if (l.fields.size() < 3)
            continue;
        lastPage = l.page;
        const QString klasse = l.fields[1];
        const int z = l.fields[2].toInt();
        bool under = false;
        switch (sort) {
        case sc_Kl_N:
            under = classKey(klasse) == classKey(heading.mid(7)) && (!first || heading == QStringLiteral("Klasse ") + klasse);
            break;
        case sc_P_N:
        case sc_P_Kl:
            under = z >= 1 && z <= ProjektData->Anz()
                        ? heading.startsWith(QStringLiteral("Projekt %1: %2 (").arg(z).arg(ProjektData->getNr(z)->name).simplified())
                        : heading == Unassigned;
            break;
        default:
            under = heading == l.fields[0].left(1);
            break;
        }
        if (!under)
            return fail(QStringLiteral("\"%1\" stands under \"%2\"").arg(l.fields.join('|'), heading));
        first = false;
    }
    return true;
}

bool TSeqRun::checkAssignment(int depth)
{
    // The run's result, before the model takes it: every pupil with an
    // admissible choice within the depth is on one of them, every other
    // pupil on none.
    QList<int> count(FModel.projectCount() + 1);
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        ++count[FModel.valid(SchuelerData->getNr(i)->zuteil)];
    bool ordered = true;
    for (const auto& e : FModel.projects)
        ordered = ordered && e.r.min <= e.r.max;
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        const MSchueler& s = FModel.pupils[i - 1].r;
        const int z = SchuelerData->getNr(i)->zuteil;
        const QList<int> ranks = FModel.admissible(s, depth);
        bool onChoice = false;
        for (int r : ranks)
            onChoice = onChoice || s.wahl[r] == z;
        if (ranks.isEmpty() ? z != 0 : !onChoice) {
            QStringList admissible;
            for (int r : ranks)
                admissible << QString::number(s.wahl[r]);
            return fail(QStringLiteral("pupil %1 (%2) was assigned to project %3, its admissible choices within depth %4 being %5")
                            .arg(i).arg(s.name).arg(z).arg(depth).arg(admissible.join(',')));
        }
    }
    if (!ordered)
        return true;
    // What the passes promise: a project is over its maximum only while
    // none of its pupils has an admissible choice in a project below its
    // minimum, nor one below its maximum unless the last pass took a pupil
    // from there to a better choice of it.
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        const int p = SchuelerData->getNr(i)->zuteil;
        if (p == 0 || count[p] <= FModel.projects[p - 1].r.max)
            continue;
        const MSchueler& s = FModel.pupils[i - 1].r;
        for (int r : FModel.admissible(s, depth)) {
            const int q = s.wahl[r];
            const MProjekt& Q = FModel.projects[q - 1].r;
            if (q == p || count[q] >= Q.max)
                continue;
            bool improved = false;
            for (int j = 1; j <= SchuelerData->Anz() && !improved && count[q] >= Q.min; ++j) {
                const MSchueler& t = FModel.pupils[j - 1].r;
                const int now = SchuelerData->getNr(j)->zuteil;
                const QList<int> tr = FModel.admissible(t, depth);
                for (int k : tr)
                    for (int l : tr)
                        improved = improved || (k < l && t.wahl[k] == now && now != q && t.wahl[l] == q);
            }
            if (!improved)
                return fail(QStringLiteral("project %1 holds %2 of at most %3, while pupil %4 (%5) could join project %6 (%7 of %8 to %9)")
                                .arg(p).arg(count[p]).arg(FModel.projects[p - 1].r.max).arg(i).arg(s.name).arg(q)
                                .arg(count[q]).arg(Q.min).arg(Q.max));
        }
    }
    return true;
}

bool TSeqRun::checkSaved(const QString& file)
{
    const MFile& m = FModel.files[QFileInfo(file).fileName()];
    std::unique_ptr<TData> fresh;
    if (m.kind == dtPro)
        fresh = std::make_unique<TProjektData>();
    else
        fresh = std::make_unique<TSchuelerData>();
    TDataFile f(m.kind == dtPro ? ft_proj : ft_teil, file);
    if (!f.OpenRead())
        return fail(QStringLiteral("the saved file %1 does not open").arg(file));
    f.Read(*fresh, false);
    f.Close();
    QStringList got;
    QStringList want;
    for (int i = 1; i <= fresh->Anz(); ++i)
        got << (m.kind == dtPro ? fieldsOf(*static_cast<const TProjekt*>(fresh->getNr(i)))
                                : fieldsOf(*static_cast<const TSchueler*>(fresh->getNr(i)))).join('|');
    for (int i = 0; i < m.projects.size(); ++i)
        want << fieldsOf(m.projects[i], i + 1).join('|');
    for (const MSchueler& s : m.pupils)
        want << fieldsOf(s).join('|');
    // A project list's pseudo-project goes with it too.
    fresh->ClearData();
    for (int i = 0; i < fresh->count(); ++i)
        delete fresh->items(i);
    fresh->clearList();
    if (got != want)
        return fail(QStringLiteral("the saved file reads back as\n  %1\ninstead of\n  %2")
                        .arg(got.join(QStringLiteral("\n  ")), want.join(QStringLiteral("\n  "))));
    return true;
}

bool TSeqRun::checkHandDialog(int row)
{
    // The pupil is judged without its placement while the dialog shows.
    MSchueler s = FModel.pupils[row - 1].r;
    const int hand = s.hand;
    s.hand = -1;
    if (HandDialog->SchuelerName->text() != s.name)
        return fail(QStringLiteral("the placement dialog names \"%1\"").arg(HandDialog->SchuelerName->text()));
    const QRadioButton* checked = hand == -1 ? HandDialog->OptAufheb : hand == 0 ? HandDialog->OptNull : HandDialog->Opt[hand];
    if (!checked->isChecked())
        return fail(QStringLiteral("the placement dialog does not show the placement %1").arg(hand));
    if (!HandDialog->OptAufheb->isEnabled() || !HandDialog->OptNull->isEnabled())
        return fail(QStringLiteral("the placement dialog cannot lift the placement"));
    for (int r = 1; r <= 5; ++r) {
        const int w = s.wahl[r];
        QString text = QStringLiteral("&%1.: keine Wahl").arg(r);
        bool enabled = false;
        if (w != 0 && !FModel.valid(w)) {
            text = QStringLiteral("&%1.: unmöglich").arg(r);
        } else if (w != 0) {
            text = QStringLiteral("&%1.: (%2) ").arg(r).arg(w) + QString(FModel.projects[w - 1].r.name).replace("&", "&&");
            enabled = FModel.admits(s, w);
        }
        const QRadioButton* b = HandDialog->Opt[r];
        if (b->text() != text || b->isEnabled() != enabled)
            return fail(QStringLiteral("the placement dialog offers \"%1\" %2abled, the model \"%3\" %4abled")
                            .arg(b->text(), b->isEnabled() ? "en" : "dis", text, enabled ? "en" : "dis"));
    }
    return true;
}

bool TSeqRun::checkProjectStat(int nr)
{
    const MProjekt& p = FModel.projects[nr - 1].r;
    int A = 0, F1 = 0, E = 0, F3 = 0;
    int W[6] = {};
    int EW[6] = {};
    for (const auto& e : FModel.pupils) {
        const MSchueler& s = e.r;
        bool chose = false;
        for (int k = 1; k <= 5; ++k)
            if (s.wahl[k] == nr) {
                chose = true;
                ++W[k];
            }
        A += chose;
        F1 += chose && s.fest && s.wahl[1] == nr;
        if (FModel.valid(s.zuteil) == nr) {
            ++E;
            const int pr = FModel.priority(s);
            F3 += pr == 1 && s.fest;
            if (pr >= 1)
                ++EW[pr];
        }
    }
    const QString admitted = p.weib && p.maenn ? QString()
                             : p.weib          ? QStringLiteral("nur weiblichen Teilnehmern offen")
                             : p.maenn         ? QStringLiteral("nur männlichen Teilnehmern offen")
                                               : QStringLiteral("nur fest eingeteilten Schülern offen");
    const QList<std::pair<const QWidget*, QString>> fields = {
        {ProStatD->Nr, QString::number(nr)},
        {ProStatD->Name, p.name},
        {ProStatD->JgMin, QString::number(p.jgmin)},
        {ProStatD->JgMax, QString::number(p.jgmax)},
        {ProStatD->WeiblMaennl, admitted},
        {ProStatD->Gestrichen, p.gesp ? QStringLiteral("Projekt gestrichen") : QStringLiteral("Projekt offen")},
        {ProStatD->TeilnMin, QString::number(p.min)},
        {ProStatD->TeilnMax, QString::number(p.max)},
        {ProStatD->TeilnAnz, QString::number(E)},
        {ProStatD->ZuWenig, p.min > A && FModel.pupilCount() > 0 ? QStringLiteral("Zu wenig Nachfrage!") : QString()}};
    for (const auto& [w, text] : fields)
        if (shown(w) != text)
            return fail(QStringLiteral("the statistics of project %1 show \"%2\" in %3, the model \"%4\"").arg(nr).arg(shown(w), w->objectName(), text));
    QList<QStringList> grid = {
        {QString(), "Gesamt", "Fest", "1.-Wahl", "2.-Wahl", "3.-Wahl", "4.-Wahl", "5.-Wahl"},
        {"Wahlen", QString::number(A), QString::number(F1)},
        {"Davon ungültig", "", "", "", "", "", "", ""},
        {"Eingeteilt", QString::number(E), QString::number(F3)}};
    for (int k = 1; k <= 5; ++k) {
        grid[1] << QString::number(W[k]);
        grid[3] << QString::number(EW[k]);
    }
    for (int r = 0; r < 4; ++r)
        for (int c = r == 0 ? 1 : 0; c < 8; ++c)
            if (ProStatD->Grid->cell(c, r) != grid[r][c])
                return fail(QStringLiteral("the statistics of project %1 show \"%2\" in cell %3,%4, the model \"%5\"")
                                .arg(nr).arg(ProStatD->Grid->cell(c, r)).arg(c).arg(r).arg(grid[r][c]));
    const TTrackBar* bar = ProStatD->TrackBar;
    if (bar->selStart() != std::clamp(p.min, 0, 100) || bar->selEnd() != std::clamp(p.max, 0, 100) || bar->value() != std::clamp(E, 0, 100))
        return fail(QStringLiteral("the track bar of project %1 shows %2 in %3 to %4").arg(nr).arg(bar->value()).arg(bar->selStart()).arg(bar->selEnd()));
    return true;
}

bool TSeqRun::checkPupilStat(const QList<TRecId>& pupils, const QString& heading)
{
    int boys = 0, girls = 0, none = 0, incomplete = 0, invalid = 0, U = 0;
    int counts[6] = {};   // fixed, then ranks 1..5
    for (TRecId id : pupils) {
        const MSchueler& s = *FModel.pupil(id);
        boys += s.boy;
        girls += !s.boy;
        none += s.wahlAnz() == 0;
        incomplete += !s.fest && s.hand == -1 && s.wahlAnz() >= 1 && s.wahlAnz() <= 4;
        invalid += FModel.projectCount() > 0 && FModel.admissible(s, 5).isEmpty();
        const int p = FModel.priority(s);
        U += p == 0;
        if (p >= 1)
            ++counts[p];
        counts[0] += s.fest;
    }
    const int n = int(pupils.size());
    const int V = n - invalid;
    const QList<std::pair<const QWidget*, QString>> fields = {
        {SchStatD->Klassennamen, heading},
        {SchStatD->SchAnz, QString::number(n)},
        {SchStatD->Maenn, QString::number(boys)},
        {SchStatD->Weib, QString::number(girls)},
        {SchStatD->NichtGew, QString::number(none)},
        {SchStatD->Unvollst, QString::number(incomplete)},
        {SchStatD->Ungueltig, QString::number(invalid)},
        {SchStatD->Gueltig, QString::number(V)}};
    for (const auto& [w, text] : fields)
        if (shown(w) != text)
            return fail(QStringLiteral("the pupil statistics of \"%1\" show \"%2\" in %3, the model \"%4\"").arg(heading, shown(w), w->objectName(), text));
    QList<QStringList> grid = {{"Nicht eint.", "Fest", "1.-Wahl", "2.-Wahl", "3.-Wahl", "4.-Wahl", "5.-Wahl"},
                               {QString::number(U)},
                               {QString()}};
    for (int c = 0; c <= 5; ++c) {
        grid[1] << QString::number(counts[c]);
        grid[2] << share(counts[c], V);
    }
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 7; ++c)
            if (SchStatD->Grid->cell(c, r) != grid[r][c])
                return fail(QStringLiteral("the pupil statistics of \"%1\" show \"%2\" in cell %3,%4, the model \"%5\"")
                                .arg(heading, SchStatD->Grid->cell(c, r)).arg(c).arg(r).arg(grid[r][c]));
    return true;
}

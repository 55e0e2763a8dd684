// The main window's commands one after another in random sequences, from a
// small school the test writes itself, every question answered through the
// scripted seam. After every step the test recounts the lists itself and
// checks the status bar, the overviews, what was printed or exported, the
// assignment, what was saved and the modified mark, and that no message
// showed that the step did not expect.
//
// KESTRIN_SEQ_SEEDS=N and KESTRIN_SEQ_STEPS=M ask for N seeds (from
// KESTRIN_SEQ_FIRST on) of M/2 to M steps; KESTRIN_SEQ_REPLAY=file replays
// the steps of a file, one a line, as a failing sequence prints them.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "app/main.h"
#include "assign/UEintDialog.h"
#include "assign/UHandDialog.h"
#include "data/UDataFile.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "import/UImportDialog.h"
#include "platform/UAnsiText.h"
#include "platform/UGridWidget.h"
#include "platform/UQtPrinter.h"
#include "platform/URecordingPrinter.h"
#include "print/UPrintConfDialog.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStringConverter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

namespace {

QString env(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

const QString Unassigned = QStringLiteral("Nicht/ungültig gewählt");

// One line of a record as its data file holds it; a department of one
// blank (an empty pupil's) reads back as none.
QString lineOf(const TSchPro* record)
{
    QStringList fields = record->ToZeile();
    for (QString& f : fields)
        f = f.trimmed();
    return fields.join(QLatin1Char(';'));
}

// The records of a list; the pupils' order does not count. The one empty
// record an editor makes for an empty list is none.
QStringList recordsOf(const TData& list)
{
    QStringList lines;
    if (list.Anz() == 1) {
        const TSchueler pupil;
        const TProjekt project(1);
        if (lineOf(list.getNr(1)) == lineOf(list.getDataType() == dtSch ? static_cast<const TSchPro*>(&pupil) : &project))
            return lines;
    }
    for (int i = 1; i <= list.Anz(); ++i)
        lines << lineOf(list.getNr(i));
    if (list.getDataType() == dtSch)
        lines.sort();
    return lines;
}

// Releases a list of the test's own, a project list's pseudo-project too.
void release(TData& list)
{
    list.ClearData();
    for (int i = 0; i < list.count(); ++i)
        delete list.items(i);
    list.clearList();
}

QString classOf(const TSchueler& s)
{
    return (QString::number(s.jgst) + s.abt).trimmed();
}

// The eligibility rule: grade and gender, then a placement on a rank or
// the fixed flag decides instead; a closed project takes nobody.
bool admits(const TProjekt& p, const TSchueler& s)
{
    bool ok = s.jgst >= p.jgmin && s.jgst <= p.jgmax && (s.geschl ? p.maenn : p.weib);
    if (s.hand >= 1 && s.hand <= 5)
        ok = s.wahl[s.hand] == p.nr;
    if (s.fest)
        ok = s.wahl[1] == p.nr;
    return ok && !p.gesp;
}

// A printed or exported line: a category heading, or a record's fields.
struct TOutLine {
    bool heading = false;
    QStringList fields;   // the heading's text alone for a heading
    int page = 0;
};

QString fromHtml(QString s)
{
    static const QList<QPair<QString, QString>> entities = {
        {"&auml;", "ä"}, {"&ouml;", "ö"}, {"&uuml;", "ü"}, {"&Auml;", "Ä"}, {"&Ouml;", "Ö"}, {"&Uuml;", "Ü"},
        {"&szlig;", "ß"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [entity, text] : entities)
        s.replace(entity, text);
    return s;
}

// The headings and records of an export file.
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

// The printed lines: texts of one height on one page, each field in the
// column of its position; a line of one text is a heading, the document's
// title first.
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
        l.heading = n == 1;
        if (l.heading)
            l.fields = QStringList{texts[i - 1].second.text};
        out << l;
    }
    if (!out.isEmpty() && out.first().heading)
        out.removeFirst();   // the title
    return out;
}

// The answers of one step, and the messages it may show.
struct TPolicy {
    TModalResult save = TModalResult::mrNo;      // "... Sollen sie gespeichert werden?"
    TModalResult yesNo = TModalResult::mrYes;    // the project renumbering and placement questions
    TModalResult badLine = TModalResult::mrIgnore;
    TModalResult voll = TModalResult::mrNo;      // "Schülerwahlen mit angeben?"
    QStringList allowed;                         // patterns of the messages the step may show
    QStringList files;                           // the file dialog's answer; none cancels it
    int filterIndex = 1;
};

// The scripted seam answering by the running step's policy.
class TSeqUi : public TScriptedUi {
public:
    TPolicy policy;
    TModalResult messageBox(const TMessage& m) override
    {
        messages.append(m);
        if (m.buttons == mbOK)
            return TModalResult::mrOk;
        if (m.text.contains(QLatin1String("Sollen sie gespeichert werden?")))
            return policy.save;
        if (m.text.startsWith(QLatin1String("Lesefehler in Zeile ")))
            return policy.badLine;
        if (m.text == QLatin1String("Schülerwahlen mit angeben?"))
            return policy.voll;
        if (m.buttons & mbYes)
            return policy.yesNo;
        if (m.buttons & mbOK)
            return policy.yesNo == TModalResult::mrYes ? TModalResult::mrOk : TModalResult::mrCancel;
        ++unanswered;
        return TModalResult::mrCancel;
    }
    TFileDialogResult fileDialog(const TFileDialogSpec& request) override
    {
        fileDialogs.append(request);
        const TFileDialogResult result{!policy.files.isEmpty(), policy.files, policy.filterIndex};
        policy.files.clear();
        return result;
    }
};

QAction* action(const char* name)
{
    return MainForm->findChild<QAction*>(QString::fromLatin1(name));
}

// Starts a command as the user does: through the event loop, so that an
// error reaches the program's error display. False when it is disabled.
bool command(const char* name)
{
    QAction* a = action(name);
    if (!a || !a->isEnabled())
        return false;
    QMetaObject::invokeMethod(a, &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(a, QEvent::MetaCall);
    return true;
}

TEditor* editorOf(TDataType kind)
{
    for (TEditor* e : MainForm->editors())
        if (e->Editable() && e->getDataType() == kind)
            return e;
    return nullptr;
}

// The editor of the step's word "pro" or "sch", activated through its
// command; none where it is not open.
TEditor* activatedEditor(const QString& word)
{
    const TDataType kind = word == QLatin1String("pro") ? dtPro : dtSch;
    command(kind == dtPro ? "ActivateProAct" : "ActivateSchAct");
    return editorOf(kind);
}

TEditor* lastView()
{
    const QList<TEditor*> all = MainForm->editors();
    for (auto i = all.size(); i-- > 0;)
        if (!all[i]->Editable())
            return all[i];
    return nullptr;
}

}   // namespace

class TestSequences : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sequences_data();
    void sequences();
    void replay();

private:
    // The school every sequence starts from, in the files it opens.
    void writeSchool();
    QString path(const QString& name) const { return FDir->filePath(name); }

    // Makes the next step at random from the state reached.
    QString nextStep();
    // Runs one step; false (with FFailure) when a check failed.
    bool runStep(const QString& step);
    bool runSequence(const QStringList& fixed, int seed, int steps);

    // The steps.
    void open(const QStringList& a);
    void type(const QStringList& a);
    void insertOrDelete(const QStringList& a);
    void sort(const QString& by);
    void automatic(int depth);
    void hand(int row, const QString& option);
    void extract(int geschl, bool invert);
    void import(const QStringList& a);
    void save(bool newName, const QString& name);
    void print(bool pdf);
    void exportTo(int filter);

    // The checks.
    bool fail(const QString& what);
    bool checkCounts();
    bool checkOutput(const TData& data, const QList<TOutLine>& out, bool pageBreaks);
    bool checkAssignment(int depth);
    bool checkSaved(const TData& list, TFileType type);
    bool checkMarks();

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TSeqUi> FUi;
    std::unique_ptr<TRecordingPrinter> FPrinter;
    TAppForms FForms;
    std::mt19937 FRandom;
    QStringList FLog;
    QString FFailure;
    bool FOk = true;
    int FExports = 0;
    QStringList FSaved;        // files written by the sequence
    QStringList FBaseline[3];  // by TDataType: the records of the list's file
    bool FJustStored[3] = {};  // the step opened or saved the list
    int FDepth = 0;            // an automatic run happened at this depth
    QStringList FImported;     // the names the last import must bring
};

void TestSequences::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FUi = std::make_unique<TSeqUi>();
    FPrinter = std::make_unique<TRecordingPrinter>();
    QVERIFY(FForms.start());
}

void TestSequences::cleanup()
{
    // Nothing is asked on the way out.
    FUi->policy = TPolicy();
    FForms.stop();
    FPrinter.reset();
    FUi.reset();
    FDir.reset();
}

// ------------------------------------------------------------- the school

void TestSequences::writeSchool()
{
    TProjektData projects;
    struct P {
        const char* name;
        int jgmin, jgmax, min, max;
        const char* geschl;
        bool gesp;
    };
    const P school[] = {{"Theater", 5, 10, 3, 8, "-", false},     {"Chor", 5, 7, 2, 6, "-", false},
                        {"Töpfern", 6, 10, 2, 5, "-", false},     {"Fußball", 7, 10, 2, 6, "m", false},
                        {"Schach", 5, 10, 0, 4, "-", true},       {"Gärtnern", 5, 8, 2, 7, "-", false},
                        {"Film & Ton", 8, 10, 2, 6, "-", false},  {"Zirkus", 5, 6, 3, 9, "-", false}};
    int nr = 0;
    for (const P& p : school) {
        auto* r = new TProjekt(++nr);
        r->name = QString::fromUtf8(p.name);
        r->jgmin = p.jgmin;
        r->jgmax = p.jgmax;
        r->teilnmin = p.min;
        r->teilnmax = p.max;
        r->weib = QLatin1String(p.geschl) != QLatin1String("m");
        r->maenn = true;
        r->gesp = p.gesp;
        projects.add(r);
    }
    TSchuelerData pupils;
    const QStringList first = {"Anna", "Ben", "Clara", "Dörte", "Emil", "Fiona", "Götz", "Hanna"};
    const QStringList last = {"Müller", "Öztürk", "Weiß", "Bauer", "Schäfer"};
    std::mt19937 random(28);
    for (int i = 0; i < 40; ++i) {
        auto* s = new TSchueler;
        s->name = last[i % 5] + QStringLiteral(", ") + first[i % 8] + QLatin1Char(' ') + QString::number(i + 1);
        s->geschl = i % 2;
        s->jgst = 5 + i % 6;
        s->abt = QString(QLatin1Char("abc"[i % 3]));
        std::vector<int> order = {1, 2, 3, 4, 5, 6, 7, 8};
        std::shuffle(order.begin(), order.end(), random);
        for (int r = 1; r <= 5; ++r)
            s->wahl[r] = order[r - 1];
        s->zuteil = i % 3 == 0 ? s->wahl[1] : 0;
        pupils.add(s);
    }
    pupils.getNr(1)->fest = true;           // fixed on its first choice
    pupils.getNr(2)->wahl = TRanked<int>(); // naming no project
    pupils.getNr(2)->zuteil = 0;
    pupils.getNr(3)->zuteil = 12;           // an assignment naming no project
    pupils.getNr(4)->wahl[1] = 12;
    for (auto [type, name, list] : {std::tuple{ft_proj, "schule.PRO", static_cast<TData*>(&projects)},
                                    std::tuple{ft_teil, "schule.EIN", static_cast<TData*>(&pupils)},
                                    std::tuple{ft_wahl, "schule.WAH", static_cast<TData*>(&pupils)}}) {
        TDataFile f(type, path(QString::fromLatin1(name)));
        QVERIFY(f.OpenWrite());
        f.Write(*list);
        f.Close();
    }
    // A second choices file of the first ten pupils.
    TSchuelerData part(&pupils);
    while (part.count() > 10)
        part.removeAt(part.count() - 1);
    TDataFile f(ft_wahl, path(QStringLiteral("teil.WAH")));
    QVERIFY(f.OpenWrite());
    f.Write(part);
    f.Close();
    release(projects);
    pupils.ClearData();
}

// ------------------------------------------------------------- the steps

QString TestSequences::nextStep()
{
    auto pick = [this](int n) { return int(FRandom() % unsigned(std::max(n, 1))); };
    auto one = [&](const QStringList& from) { return from[pick(int(from.size()))]; };
    const QString saveAnswer = pick(6) == 0 ? QStringLiteral("abbrechen") : QStringLiteral("nein");
    const QString yesNo = pick(3) == 0 ? QStringLiteral("nein") : QStringLiteral("ja");
    const int pupils = SchuelerData->Anz();
    const int projects = ProjektData->Anz();
    switch (pick(22)) {
    case 0:
        return QStringLiteral("open pro %1 ").arg(saveAnswer)
            + one(QStringList{"schule.PRO"} + FSaved.filter(QStringLiteral(".PRO")));
    case 1:
        return QStringLiteral("open ein %1 ").arg(saveAnswer)
            + one(QStringList{"schule.EIN"} + FSaved.filter(QStringLiteral(".EIN")));
    case 2:
        return QStringLiteral("open wah %1 ").arg(saveAnswer)
            + one({"schule.WAH", "schule.WAH,teil.WAH", "schule.EIN"});
    case 3:
    case 4:
    case 5: {
        const bool pro = pick(3) == 0;
        const int rows = pro ? projects : pupils;
        if (rows == 0)
            return QStringLiteral("activate %1").arg(pro ? "pro" : "sch");
        static const QList<QStringList> sch = {
            {"Neu, Jörg", "Ärger, Ute", "Weiß, Ben", "Semi;kolon"}, {"w", "m", "x"}, {"5", "7", "10", "0", "x"},
            {"a", "b", "c", "Z"}, {"-", "F", "2", "x"}, {"0", "1", "3", "8", "12", "x"},
            {"0", "2", "5", "7", "300"}, {"0", "4", "6"}, {"0", "1"}, {"0", "3"}, {"0", "2", "12"}};
        static const QList<QStringList> pr = {
            {}, {"Werken", "Kunst & Form", "Semi;kolon"}, {"5", "8", "13", "0"}, {"6", "10", "14", "x"},
            {"0", "3", "x"}, {"4", "25", "-1"}, {"-", "w", "m", "q"}, {"-", "X", "y"}};
        const int col = pro ? 1 + pick(7) : pick(11);
        return QStringLiteral("type %1 %2 %3 %4 %5")
            .arg(pro ? "pro" : "sch")
            .arg(1 + pick(rows))
            .arg(col)
            .arg(pick(2) ? "tab" : "enter")
            .arg(one((pro ? pr : sch)[col]));
    }
    case 6: {
        const bool pro = pick(2) == 0;
        const int rows = pro ? projects : pupils;
        const QString what = one({"here", "end", "delete"});
        if (rows == 0 && what == QLatin1String("delete"))
            return QStringLiteral("new %1").arg(saveAnswer);
        return QStringLiteral("edit %1 %2 %3 %4").arg(pro ? "pro" : "sch", what).arg(1 + pick(rows)).arg(yesNo);
    }
    case 7:
        return pick(4) == 0 ? QStringLiteral("new %1").arg(saveAnswer) : QStringLiteral("activate next");
    case 8:
    case 9:
        return QStringLiteral("sort ") + one({"N", "Kl", "PN", "PKl"});
    case 10:
        return QStringLiteral("auto %1").arg(1 + pick(5));
    case 11:
        return pupils == 0 ? QStringLiteral("deleint %1").arg(yesNo)
                           : QStringLiteral("hand %1 %2").arg(1 + pick(pupils)).arg(one({"weg", "null", "1", "2", "3", "4", "5"}));
    case 12:
        return QStringLiteral("%1 %2").arg(pick(2) ? "deleint" : "delhand", yesNo);
    case 13:
        return QStringLiteral("extract %1 %2").arg(pick(3)).arg(pick(4) == 0);
    case 14:
        return QStringLiteral("closeview");
    case 15:
        return QStringLiteral("import %1 %2 %3 %4")
            .arg(one(QStringList{"ansi", "utf8", "utf8bom", "utf16"}))
            .arg(pick(3))
            .arg(pick(3) == 0 ? "abbrechen" : "ignorieren")
            .arg(saveAnswer);
    case 16:
        return pick(2) ? QStringLiteral("save") : QStringLiteral("saveas gesichert%1").arg(pick(3));
    case 17:
        return QStringLiteral("activate ") + one({"pro", "sch"});
    case 18:
    case 19:
        return QStringLiteral("print %1").arg(pick(2) ? "ja" : "nein")
            + (pick(40) == 0 ? QStringLiteral(" pdf") : QString());
    default:
        return QStringLiteral("export %1 %2").arg(1 + pick(3)).arg(pick(2) ? "ja" : "nein");
    }
}

void TestSequences::open(const QStringList& a)
{
    const QStringList files = a.value(3).split(QLatin1Char(','));
    QStringList paths;
    for (const QString& f : files)
        paths << path(f);
    FUi->policy.files = paths;
    FUi->policy.filterIndex = a[1] == QLatin1String("wah") ? 2 : 1;
    const TDataType kind = a[1] == QLatin1String("pro") ? dtPro : dtSch;
    const int before = int(FUi->messages.size());
    command(a[1] == QLatin1String("pro") ? "OpenProAct" : a[1] == QLatin1String("ein") ? "OpenEintAct" : "OpenWahlAct");
    FJustStored[kind] = FUi->texts().mid(before).filter(QStringLiteral(" gelesen.")).size() == 1;
}

void TestSequences::type(const QStringList& a)
{
    TEditor* editor = activatedEditor(a[1]);
    if (!editor)
        return;
    TGridWidget* grid = editor->grid();
    grid->setFocus(Qt::OtherFocusReason);
    if (!grid->setCurrentCell(a[3].toInt(), a[2].toInt()) || grid->col() != a[3].toInt())
        return;
    QTest::keyClick(grid, Qt::Key_F2);
    auto* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!cell)
        return;
    cell->selectAll();
    QTest::keyClick(cell, Qt::Key_Backspace);
    const QString text = a.mid(5).join(QLatin1Char(' '));
    QApplication::clipboard()->setText(text);
    if (!text.isEmpty())
        QTest::keyClick(cell, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), a[4] == QLatin1String("tab") ? Qt::Key_Tab : Qt::Key_Return);
}

void TestSequences::insertOrDelete(const QStringList& a)
{
    TEditor* editor = activatedEditor(a[1]);
    if (!editor)
        return;
    editor->grid()->setFocus(Qt::OtherFocusReason);
    editor->grid()->setRow(std::min(a[3].toInt(), editor->grid()->rowCount() - 1));
    command(a[2] == QLatin1String("here") ? "InsertHereAct" : a[2] == QLatin1String("end") ? "InsertEndAct" : "DeleteAct");
}

void TestSequences::sort(const QString& by)
{
    TEditor* active = MainForm->activeEditor();
    if (!active || active->getDataType() != dtSch)
        command("ActivateSchAct");
    command(by == QLatin1String("N") ? "mBSortN" : by == QLatin1String("Kl") ? "mBSortKl" : by == QLatin1String("PN") ? "mbSortPN" : "mBSortPKl");
}

void TestSequences::automatic(int depth)
{
    QTimer::singleShot(0, EintDialog, [depth] {
        if (!EintDialog->isVisible())
            return;
        EintDialog->findChild<QComboBox*>(QStringLiteral("TiefeSelect"))->setCurrentIndex(depth - 1);
        EintDialog->findChild<QPushButton*>(QStringLiteral("Start"))->click();
    });
    if (command("AutoEinteilAct"))
        FDepth = depth;
}

void TestSequences::hand(int row, const QString& option)
{
    command("ActivateSchAct");
    TEditor* editor = editorOf(dtSch);
    if (!editor)
        return;
    editor->grid()->setFocus(Qt::OtherFocusReason);
    editor->grid()->setRow(row);
    QTimer::singleShot(0, HandDialog, [option] {
        if (!HandDialog->isVisible())
            return;
        QRadioButton* b = option == QLatin1String("weg")    ? HandDialog->OptAufheb
                          : option == QLatin1String("null") ? HandDialog->OptNull
                                                            : HandDialog->Opt[option.toInt()];
        if (b->isEnabled()) {
            b->click();
            HandDialog->OKButton->click();
        } else {
            HandDialog->CancelButton->click();
        }
    });
    command("HandEintAct");
}

void TestSequences::extract(int geschl, bool invert)
{
    if (!MainForm->AuszugAct->isEnabled())
        command("ActivateSchAct");
    QTimer::singleShot(0, SchFilterDialog, [geschl, invert] {
        if (!SchFilterDialog->isVisible())
            return;
        SchFilterDialog->ComboGeschl->setCurrentIndex(geschl);
        SchFilterDialog->InvertCheck->setChecked(invert);
        SchFilterDialog->OKButton->click();
    });
    command("AuszugAct");
    SchFilterDialog->ComboGeschl->setCurrentIndex(0);
    SchFilterDialog->InvertCheck->setChecked(false);
}

void TestSequences::import(const QStringList& a)
{
    // Good lines with umlauts, bad ones (one field) among them.
    QStringList lines;
    FImported.clear();
    const int bad = a[2].toInt();
    for (int i = 1; i <= 12; ++i) {
        const QString name = QStringLiteral("Jürgen Weiß %1").arg(i);
        lines << QStringLiteral("%1,%2%3,%4").arg(name).arg(5 + i % 6).arg(QLatin1Char("abc"[i % 3])).arg(i % 2 ? 'm' : 'w');
        FImported << name;
        if (i <= bad)
            lines << QStringLiteral("Schlecht %1;7a;m").arg(i);
    }
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QByteArray bytes;
    if (a[1] == QLatin1String("ansi"))
        bytes = Ansi::encode(text);
    else if (a[1] == QLatin1String("utf16"))
        bytes = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(text);
    else
        bytes = (a[1] == QLatin1String("utf8bom") ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
    const QString file = path(QStringLiteral("kartei.txt"));
    writeFileBytes(file, bytes);
    FUi->policy.files = {file};
    QTimer::singleShot(0, ImportDialog, [] {
        if (!ImportDialog->isVisible())
            return;
        ImportDialog->Pages->setCurrentWidget(ImportDialog->ElementsPage);
        for (auto [nr, row] : {std::pair{1, 1}, std::pair{2, 6}, std::pair{3, 5}}) {
            ImportDialog->NrSelect->setValue(nr);
            ImportDialog->AssignBox->setCurrentRow(row);
            QTest::keyClick(ImportDialog->AssignBox, Qt::Key_Space);
        }
        ImportDialog->OkButton->click();
    });
    command("ImportAct");
}

void TestSequences::save(bool newName, const QString& name)
{
    TEditor* editor = MainForm->activeEditor();
    if (!editor)
        return;
    TData* list = editor->getData();
    const bool pupils = editor->getDataType() == dtSch;
    FUi->policy.files = {path(name + QLatin1String(pupils ? ".EIN" : ".PRO"))};
    command(newName ? "SaveAsAct" : "SaveAct");
    if (FUi->texts().filter(QStringLiteral(" geschrieben")).isEmpty())
        return;
    FSaved << QFileInfo(list->getFilename()).fileName();
    FSaved.removeDuplicates();
    if (!checkSaved(*list, pupils ? ft_teil : ft_proj))
        return;
    if (editor->Editable()) {
        FBaseline[editor->getDataType()] = recordsOf(*list);
        FJustStored[editor->getDataType()] = true;
    }
}

void TestSequences::print(bool pdf)
{
    TEditor* editor = MainForm->activeEditor();
    if (!editor)
        return;
    TData* data = editor->getData();
    const int begun = FPrinter->documentsBegun;
    IPrinterDevice* recording = nullptr;
    const QString file = path(QStringLiteral("druck.pdf"));
    if (pdf) {
        QFile::remove(file);
        recording = SetPrinter(&QtPrinter());
        FUi->queuePrinterSetup(true, file);
    }
    QTimer::singleShot(0, PrintConfDialog, [pdf] {
        if (!PrintConfDialog->isVisible())
            return;
        if (pdf)
            PrintConfDialog->SetupButton->click();
        PrintConfDialog->CheckFooter->setChecked(false);
        PrintConfDialog->OKButton->click();
    });
    command("PrintAct");
    if (pdf) {
        QtPrinter().setPdfFile(QString());
        SetPrinter(recording);
        if (FUi->texts().contains(QStringLiteral("Druckauftrag abgesendet.")) && !fileBytes(file).startsWith("%PDF"))
            fail(QStringLiteral("the PDF file was not written"));
        return;
    }
    if (FPrinter->documentsBegun != begun)
        checkOutput(*data, readPrint(*FPrinter), true);
}

void TestSequences::exportTo(int filter)
{
    TEditor* editor = MainForm->activeEditor();
    if (!editor)
        return;
    const QString file = path(QStringLiteral("export%1").arg(++FExports));
    FUi->policy.files = {file};
    FUi->policy.filterIndex = filter;
    command("ExportAct");
    if (FUi->texts().filter(QStringLiteral(" exportiert.")).isEmpty())
        return;
    checkOutput(*editor->getData(), readExport(file + (filter == 3 ? ".HTML" : ".TXT"), filter - 1), false);
}

// ------------------------------------------------------------- the checks

bool TestSequences::fail(const QString& what)
{
    if (FOk)
        FFailure = what;
    FOk = false;
    return false;
}

bool TestSequences::checkCounts()
{
    const int projects = ProjektData->Anz();
    const int pupils = SchuelerData->Anz();
    QList<int> perProject(projects + 1);
    QMap<QString, QList<int>> perClass;   // pupils, assigned, first choice
    for (int i = 1; i <= pupils; ++i) {
        const TSchueler* s = SchuelerData->getNr(i);
        const int z = s->zuteil >= 1 && s->zuteil <= projects ? s->zuteil : 0;
        ++perProject[z];
        QList<int>& c = perClass[(QString::number(s->jgst) + s->abt).toUpper()];
        c.resize(3);
        ++c[0];
        c[1] += z != 0;
        // First choice: the assigned project stands at rank 1 and at no later one.
        bool later = false;
        for (int r = 2; r <= 5; ++r)
            later = later || s->wahl[r] == z;
        c[2] += z != 0 && s->wahl[1] == z && !later;
    }
    const auto mark = [](const TData& d) { return d.getModified() ? QStringLiteral(" (*)") : QString(); };
    const QStringList panels = {QStringLiteral("%1 Projekte").arg(projects) + mark(*ProjektData),
                                QStringLiteral("%1 Schüler").arg(pupils) + mark(*SchuelerData),
                                QStringLiteral("%1 eingeteilt").arg(pupils - perProject[0])};
    for (int i = 0; i < 3; ++i)
        if (MainForm->panelText(i) != panels[i])
            return fail(QStringLiteral("status bar panel %1 shows \"%2\", the lists make \"%3\"")
                            .arg(i).arg(MainForm->panelText(i), panels[i]));

    // Project 0 counts the unassigned pupils unless nobody is assigned.
    if (perProject[0] == pupils)
        perProject[0] = 0;
    const TGridWidget* pg = MainForm->ProjekteGrid;
    if (projects > 0 && pg->rowCount() != projects + 2)
        return fail(QStringLiteral("the project overview has %1 rows for %2 projects").arg(pg->rowCount()).arg(projects));
    for (int k = 0; projects > 0 && k <= projects; ++k) {
        const QString name = k == 0 ? Unassigned : ProjektData->getNr(k)->name;
        const QStringList want = {QString::number(k), name, QString::number(perProject[k])};
        if (pg->rowTexts(k + 1).mid(0, 3) != want)
            return fail(QStringLiteral("project overview row %1 shows %2, the lists make %3")
                            .arg(k + 1).arg(pg->rowTexts(k + 1).join('|'), want.join('|')));
    }
    const TGridWidget* sg = MainForm->SchuelerGrid;
    QMap<QString, QList<int>> shown;
    for (int r = 1; r < sg->rowCount(); ++r) {
        const QStringList row = sg->rowTexts(r);
        shown[row[0].trimmed().toUpper()] = {row[1].toInt(), row[2].toInt(), row[3].toInt()};
    }
    QMap<QString, QList<int>> want;
    for (auto it = perClass.cbegin(); it != perClass.cend(); ++it)
        want[it.key().trimmed()] = it.value();
    if (pupils > 0 && shown != want) {
        const auto describe = [](const QMap<QString, QList<int>>& classes) {
            QStringList out;
            for (auto it = classes.cbegin(); it != classes.cend(); ++it)
                out << QStringLiteral("%1:%2/%3/%4").arg(it.key()).arg(it.value()[0]).arg(it.value()[1]).arg(it.value()[2]);
            return out.join(QLatin1Char(' '));
        };
        return fail(QStringLiteral("the class overview shows %1, the list makes %2").arg(describe(shown), describe(want)));
    }
    return true;
}

bool TestSequences::checkOutput(const TData& data, const QList<TOutLine>& out, bool pageBreaks)
{
    // Every record exactly once.
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
            // none, the participants follow at once.
            const QStringList f = l.fields.value(0).isEmpty() ? l.fields.mid(1) : l.fields;
            static const QRegularExpression bounds(QStringLiteral("^\\d+-- *\\d+$"));
            if (f[0].toInt() > 0)
                got << f[0] + QLatin1Char('|') + (bounds.match(f[1]).hasMatch() ? QString() : f[1]);
        }
    for (int i = 1; i <= data.Anz(); ++i) {
        if (pupils) {
            const auto* s = static_cast<const TSchueler*>(data.getNr(i));
            want << QStringList{s->name.trimmed(), classOf(*s), QString::number(s->zuteil)}.join(QLatin1Char('|'));
        } else {
            const auto* p = static_cast<const TProjekt*>(data.getNr(i));
            want << QString::number(p->nr) + QLatin1Char('|') + p->name.trimmed();
        }
    }
    got.sort();
    want.sort();
    if (got != want)
        return fail(QStringLiteral("printed or exported records:\n  %1\nthe list holds:\n  %2")
                        .arg(got.join(QStringLiteral("\n  ")), want.join(QStringLiteral("\n  "))));
    if (!pupils)
        return true;

    // Every pupil under the heading of its category, the categories in the
    // chosen order, each once.
    const TSortCritType sort = static_cast<const TSchuelerData&>(data).getSort();
    QString heading;
    int lastPage = 0;
    bool seen = false;
    QString lastKey;
    QStringList headings;
    for (const TOutLine& l : out) {
        if (l.heading) {
            // Headings are told apart by their exact text: a department of
            // one blank is another one than none.
            heading = l.fields.value(0).simplified();
            if (headings.contains(l.fields.value(0)))
                return fail(QStringLiteral("the heading \"%1\" shows twice").arg(heading));
            if (pageBreaks && !headings.isEmpty() && l.page <= lastPage)
                return fail(QStringLiteral("the category \"%1\" starts on the page of the one before").arg(heading));
            headings << l.fields.value(0);
            seen = false;
            continue;
        }
        if (l.fields.size() < 3)
            continue;
        lastPage = l.page;
        const QString name = l.fields[0];
        const QString klasse = l.fields[1];
        const int z = l.fields[2].toInt();
        QString expected;
        QString key;
        const bool valid = z >= 1 && z <= ProjektData->Anz();
        switch (sort) {
        case sc_Kl_N: {
            expected = QStringLiteral("Klasse ") + klasse;
            const int digits = int(klasse.indexOf(QRegularExpression(QStringLiteral("[^0-9]"))));
            key = QStringLiteral("%1").arg(klasse.left(digits < 0 ? klasse.size() : digits).toInt(), 3)
                + klasse.mid(digits < 0 ? klasse.size() : digits).toUpper();
            break;
        }
        case sc_P_N:
        case sc_P_Kl:
            expected = valid ? QStringLiteral("Projekt %1: %2 (").arg(z).arg(ProjektData->getNr(z)->name) : Unassigned;
            key = QStringLiteral("%1").arg(valid ? z : 0, 3);
            break;
        default:
            expected = name.left(1);
            key = expected;
            break;
        }
        if (!heading.startsWith(expected.simplified()) || (expected == Unassigned && heading != Unassigned))
            return fail(QStringLiteral("\"%1\" stands under \"%2\"").arg(l.fields.join('|'), heading));
        if (!seen && !lastKey.isNull() && key < lastKey)
            return fail(QStringLiteral("the category \"%1\" follows one that sorts after it").arg(heading));
        if (!seen)
            lastKey = key;
        seen = true;
    }
    return true;
}

bool TestSequences::checkAssignment(int depth)
{
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        const TSchueler* s = SchuelerData->getNr(i);
        if (s->zuteil == 0)
            continue;
        if (s->zuteil > ProjektData->Anz())
            return fail(QStringLiteral("pupil %1 was assigned to project %2, which does not exist").arg(i).arg(s->zuteil));
        bool chosen = false;
        for (int r = 1; r <= depth; ++r)
            chosen = chosen || s->wahl[r] == s->zuteil;
        if (!chosen || !admits(*ProjektData->getNr(s->zuteil), *s))
            return fail(QStringLiteral("pupil %1 (%2) was assigned to project %3, not an admissible choice within depth %4")
                            .arg(i).arg(lineOf(s)).arg(s->zuteil).arg(depth));
    }
    return true;
}

bool TestSequences::checkSaved(const TData& list, TFileType type)
{
    std::unique_ptr<TData> fresh;
    if (type == ft_proj)
        fresh = std::make_unique<TProjektData>();
    else
        fresh = std::make_unique<TSchuelerData>();
    TDataFile f(type, list.getFilename());
    if (!f.OpenRead())
        return fail(QStringLiteral("the saved file %1 does not open").arg(list.getFilename()));
    f.Read(*fresh, false);
    f.Close();
    QStringList a;
    QStringList b;
    for (int i = 1; i <= list.Anz(); ++i)
        a << lineOf(list.getNr(i));
    for (int i = 1; i <= fresh->Anz(); ++i)
        b << lineOf(fresh->getNr(i));
    release(*fresh);
    if (a != b)
        return fail(QStringLiteral("the saved list reads back as\n  %1\ninstead of\n  %2")
                        .arg(b.join(QStringLiteral("\n  ")), a.join(QStringLiteral("\n  "))));
    return true;
}

bool TestSequences::checkMarks()
{
    for (TDataType kind : {dtPro, dtSch}) {
        const TData& list = kind == dtPro ? static_cast<TData&>(*ProjektData) : *SchuelerData;
        // A list without records and without a file has nothing to lose.
        if (list.Anz() == 0 && list.getFilename().isEmpty() && !list.getModified())
            FBaseline[kind].clear();
        const bool marked = MainForm->panelText(kind == dtPro ? 0 : 1).endsWith(QLatin1String(" (*)"));
        if (FJustStored[kind]) {
            FBaseline[kind] = recordsOf(list);
            if (marked)
                return fail(QStringLiteral("\" (*)\" shows right after the list was opened or saved"));
        } else if (!marked && recordsOf(list) != FBaseline[kind]) {
            return fail(QStringLiteral("the %1 differ from their file, but no \" (*)\" shows")
                            .arg(kind == dtPro ? "projects" : "pupils"));
        }
    }
    return true;
}

// ------------------------------------------------------------- the runs

bool TestSequences::runStep(const QString& step)
{
    FLog << step;
    const QStringList a = step.split(QLatin1Char(' '));
    const QString verb = a[0];
    TPolicy policy;
    auto answer = [](const QString& s) {
        return s == QLatin1String("ja")          ? TModalResult::mrYes
               : s == QLatin1String("abbrechen") ? TModalResult::mrCancel
               : s == QLatin1String("ignorieren") ? TModalResult::mrIgnore
                                                  : TModalResult::mrNo;
    };
    const QString saveQuestion = QStringLiteral("^Die (Projekt|Schüler)daten wurden geändert\\. Sollen sie gespeichert werden\\?$");
    policy.allowed << QStringLiteral("^Erzeuge leeren Eintrag\\.$");
    if (verb == QLatin1String("open") || verb == QLatin1String("new") || verb == QLatin1String("import")) {
        policy.save = answer(a.value(verb == QLatin1String("import") ? 4 : a.size() > 2 ? 2 : 1));
        policy.allowed << saveQuestion << QStringLiteral("^\\d+ (Projekt|Einteilung|Schuelerwahl)-Datensätze (aus \\d+ Dateien )?gelesen\\.$");
    }
    if (verb == QLatin1String("edit") || verb == QLatin1String("delhand") || verb == QLatin1String("deleint")) {
        policy.yesNo = answer(a.value(verb == QLatin1String("edit") ? 4 : 1));
        policy.allowed << QStringLiteral("^Das Einfügen/Löschen eines Projekts an dieser Stelle ändert\r die Nummern")
                       << QStringLiteral("^Das Löschen eines Eintrages schließt alle offenen Schülerauszugs-Editoren\\.$")
                       << QStringLiteral("manuell eingeteilt")
                       << QStringLiteral("^Sollen alle Schüler aus ihren Projekten ausgeteilt werden\\?$");
    }
    if (verb == QLatin1String("auto"))
        policy.allowed << QStringLiteral("^\\d+ von \\d+ Schülern in \\d+\\.\\d Sekunden eingeteilt$");
    if (verb == QLatin1String("import")) {
        policy.badLine = answer(a[3]);
        policy.allowed << QStringLiteral("^Lesefehler in Zeile \\d+: ")
                       << QStringLiteral("^\\d+ von \\d+ Schülerdatensätzen importiert\\.");
    }
    if (verb.startsWith(QLatin1String("save")))
        policy.allowed << QStringLiteral("^\\d+ (Projekt|Einteilung)-Datensätze nach .* geschrieben$");
    if (verb == QLatin1String("print") || verb == QLatin1String("export")) {
        policy.voll = answer(a[verb == QLatin1String("print") ? 1 : 2]);
        policy.allowed << QStringLiteral("^Schülerwahlen mit angeben\\?$") << QStringLiteral("^Druckauftrag abgesendet\\.$")
                       << QStringLiteral("^\\d+ Datensätze nach export\\d+\\.(TXT|HTML) exportiert\\.$");
        // Only sorted pupils are printed or exported.
        const TEditor* e = MainForm->activeEditor();
        if (e && e->getDataType() == dtSch && static_cast<const TSchuelerData*>(e->getData())->getSort() == sc_NotSorted)
            policy.allowed << QStringLiteral("^Es können nur sortierte Schülerdaten (gedruckt|exportiert) werden\\.");
    }
    FUi->policy = policy;
    FUi->clear();
    FJustStored[dtPro] = FJustStored[dtSch] = false;
    FDepth = 0;

    if (verb == QLatin1String("open"))
        open(a);
    else if (verb == QLatin1String("type"))
        type(a);
    else if (verb == QLatin1String("edit"))
        insertOrDelete(a);
    else if (verb == QLatin1String("new"))
        command("NewAct");
    else if (verb == QLatin1String("activate"))
        command(a[1] == QLatin1String("pro") ? "ActivateProAct" : a[1] == QLatin1String("sch") ? "ActivateSchAct" : "NextWinAct");
    else if (verb == QLatin1String("sort"))
        sort(a[1]);
    else if (verb == QLatin1String("auto"))
        automatic(a[1].toInt());
    else if (verb == QLatin1String("hand"))
        hand(a[1].toInt(), a[2]);
    else if (verb == QLatin1String("deleint"))
        command("DelEintAct");
    else if (verb == QLatin1String("delhand"))
        command("DelHandEintAct");
    else if (verb == QLatin1String("extract"))
        extract(a[1].toInt(), a[2] == QLatin1String("1"));
    else if (verb == QLatin1String("closeview")) {
        if (TEditor* v = lastView()) {
            v->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    } else if (verb == QLatin1String("import"))
        import(a);
    else if (verb == QLatin1String("save"))
        save(false, QStringLiteral("gesichert"));
    else if (verb == QLatin1String("saveas"))
        save(true, a[1]);
    else if (verb == QLatin1String("print"))
        print(a.value(2) == QLatin1String("pdf"));
    else if (verb == QLatin1String("export"))
        exportTo(a[1].toInt());
    else
        return fail(QStringLiteral("unknown step"));
    QCoreApplication::processEvents();

    if (!FOk)
        return false;
    for (const TMessage& m : FUi->messages) {
        bool ok = false;
        for (const QString& pattern : FUi->policy.allowed)
            ok = ok || QRegularExpression(pattern).match(m.text).hasMatch();
        if (!ok)
            return fail(QStringLiteral("the message \"%1\" showed").arg(m.text));
    }
    if (FUi->unanswered)
        return fail(QStringLiteral("a question found no answer"));
    if (QWidget* modal = QApplication::activeModalWidget())
        return fail(QStringLiteral("the dialog %1 stayed open").arg(modal->objectName()));
    if (verb == QLatin1String("import") && FUi->lastText().contains(QLatin1String(" importiert."))) {
        QStringList names;
        for (int i = 1; i <= SchuelerData->Anz(); ++i)
            names << SchuelerData->getNr(i)->name;
        if (names != FImported)
            return fail(QStringLiteral("the import brought %1").arg(names.join('|')));
        FBaseline[dtSch].clear();
    }
    if (FDepth > 0 && FUi->lastText().endsWith(QLatin1String(" eingeteilt")) && !checkAssignment(FDepth))
        return false;
    return checkCounts() && checkMarks();
}

bool TestSequences::runSequence(const QStringList& fixed, int seed, int steps)
{
    FRandom.seed(unsigned(seed));
    FLog.clear();
    FOk = true;
    FSaved.clear();
    for (QStringList& b : FBaseline)
        b.clear();
    writeSchool();
    const int total = fixed.isEmpty() ? steps / 2 + int(FRandom() % unsigned(steps / 2 + 1)) : int(fixed.size());
    QStringList start = {QStringLiteral("open pro nein schule.PRO"), QStringLiteral("open ein nein schule.EIN")};
    for (int i = 0; i < total + (fixed.isEmpty() ? 2 : 0); ++i) {
        const QString step = !fixed.isEmpty() ? fixed[i] : i < 2 ? start[i] : nextStep();
        if (!runStep(step)) {
            qWarning().noquote() << "Sequence" << seed << "failed at step" << FLog.size() << ":" << FFailure
                                 << "\nSteps:\n" + FLog.join(QLatin1Char('\n'));
            return false;
        }
    }
    return true;
}

void TestSequences::sequences_data()
{
    QTest::addColumn<int>("seed");
    const int seeds = env("KESTRIN_SEQ_SEEDS").isEmpty() ? 60 : env("KESTRIN_SEQ_SEEDS").toInt();
    const int first = env("KESTRIN_SEQ_FIRST").toInt();
    for (int s = first; s < first + seeds; ++s)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(s))) << s;
}

void TestSequences::sequences()
{
    QFETCH(int, seed);
    const int steps = env("KESTRIN_SEQ_STEPS").isEmpty() ? 60 : env("KESTRIN_SEQ_STEPS").toInt();
    QElapsedTimer clock;
    clock.start();
    const bool ok = runSequence({}, seed, steps);
    qInfo().noquote() << QStringLiteral("seed %1: %2 steps in %3 ms").arg(seed).arg(FLog.size()).arg(clock.elapsed());
    QVERIFY2(ok, qPrintable(QStringLiteral("step %1 \"%2\": %3").arg(FLog.size()).arg(FLog.last(), FFailure)));
}

void TestSequences::replay()
{
    const QString file = env("KESTRIN_SEQ_REPLAY");
    if (file.isEmpty())
        QSKIP("KESTRIN_SEQ_REPLAY names no file of steps");
    QStringList steps = QString::fromUtf8(fileBytes(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const bool ok = runSequence(steps, 0, 0);
    QVERIFY2(ok, qPrintable(QStringLiteral("step %1 \"%2\": %3").arg(FLog.size()).arg(FLog.last(), FFailure)));
}

KESTRIN_TEST_MAIN(TestSequences)
#include "tst_sequences.moc"

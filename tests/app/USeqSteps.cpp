// The steps of a command sequence, each as a user does it, and what each
// must do to the test's model.

#include "tests/app/USeqRun.h"

#include "app/UEditor.h"
#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "app/main.h"
#include "assign/UEintDialog.h"
#include "assign/UHandDialog.h"
#include "assign/UProStatD.h"
#include "assign/USchStatD.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "import/UImportDialog.h"
#include "platform/UAnsiText.h"
#include "platform/UGridWidget.h"
#include "platform/UQtPrinter.h"
#include "platform/URecordingPrinter.h"
#include "print/UPrintConfDialog.h"
#include "tests/support/UTestFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStringConverter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>

namespace {

// ------------------------------------------------------------ the texts
// The messages of the program that the steps expect, in one place.

const QString ReadCount = QStringLiteral("^\\d+ (Projekt|Einteilung|Schuelerwahl)-Datensätze (aus \\d+ Dateien )?gelesen\\.");
const QString Written = QStringLiteral("^\\d+ (Projekt|Einteilung)-Datensätze nach .* geschrieben$");
const QString EmptyRecord = QStringLiteral("^Erzeuge leeren Eintrag\\.$");
const QString Renumber = QStringLiteral("^Das Einfügen/Löschen eines Projekts an dieser Stelle ändert\r die Nummern");
const QString DeleteCloses = QStringLiteral("^Das Löschen eines Eintrages schließt alle offenen Schülerauszugs-Editoren\\.$");
const QString ByHand = QStringLiteral("manuell eingeteilt");
const QString ClearAll = QStringLiteral("^Sollen alle Schüler aus ihren Projekten ausgeteilt werden\\?$");
const QString AutoDone = QStringLiteral("^\\d+ von \\d+ Schülern in \\d+\\.\\d Sekunden eingeteilt$");
const QString BadRegisterLine = QStringLiteral("^Lesefehler in Zeile \\d+: ");
const QString Imported = QStringLiteral("^%1 von %2 Schülerdatensätzen importiert\\.");
const QString NoneImported = QStringLiteral("^Es wurde kein Schüler importiert; die bisherige Liste bleibt erhalten\\.");
const QString WithChoices = QStringLiteral("^Schülerwahlen mit angeben\\?$");
const QString PrintSent = QStringLiteral("^Druckauftrag abgesendet\\.$");
const QString Exported = QStringLiteral("^\\d+ Datensätze nach export\\d+\\.(TXT|HTML) exportiert\\.$");
const QString OnlySorted = QStringLiteral("^Es können nur sortierte Schülerdaten (gedruckt|exportiert) werden\\.");

// The messages a data file with bad lines shows, besides its count: one
// for each line that cannot be read.
const QString ProjectFields = QStringLiteral("Projektdatenzeile enthaelt falsche Anzahl Elemente");
const QString ProjectGrade = QStringLiteral("Projektdatenzeile: Feld \"Mindest-Jahrgangsstufe\" fehlerhaft ()");
const QString PupilFields = QStringLiteral("Schuelerdatenzeile enthaelt falsche Anzahl Elemente");
const QString PupilGender = QStringLiteral("Schuelerdatenzeile: Feld \"Geschlecht\" fehlerhaft (2)");
const QString JunkRead = QStringLiteral("2 Projekt-Datensätze gelesen.\r\n"
                                        "1 Zeile steht als gesperrtes Projekt \"Zeile 6 nicht lesbar\" in der Liste.");
const QString NoProjectLine = QStringLiteral("Die Datei leer.PRO enthält keine Projektzeile und wurde nicht gelesen.");

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

// A tool button under an overview, pressed the same way.
void press(const char* name)
{
    auto* button = MainForm->findChild<QToolButton*>(QString::fromLatin1(name));
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(button, QEvent::MetaCall);
}

TEditor* editorOf(TDataType kind)
{
    for (TEditor* e : MainForm->editors())
        if (e->Editable() && e->getDataType() == kind)
            return e;
    return nullptr;
}

TEditor* lastView()
{
    const QList<TEditor*> all = MainForm->editors();
    for (auto i = all.size(); i-- > 0;)
        if (!all[i]->Editable())
            return all[i];
    return nullptr;
}

TAnswer answerOf(const QString& word)
{
    return word == QLatin1String("ja") ? TAnswer::Yes : word == QLatin1String("abbrechen") ? TAnswer::Cancel : TAnswer::No;
}

TModalResult resultOf(const QString& word)
{
    return word == QLatin1String("ja")           ? TModalResult::mrYes
           : word == QLatin1String("abbrechen")  ? TModalResult::mrCancel
           : word == QLatin1String("ignorieren") ? TModalResult::mrIgnore
                                                 : TModalResult::mrNo;
}

TDataType kindOf(const QString& word)
{
    return word == QLatin1String("pro") ? dtPro : dtSch;
}

// What the steps type into a cell, by column: texts the row takes, and
// texts it refuses.
struct TCellTexts {
    QStringList stored;
    QStringList refused;
};

const QList<TCellTexts>& pupilTexts()
{
    static const QList<TCellTexts> texts = {
        {{"Neu, Jörg", "Ärger, Ute", "Weiß, Ben"}, {"Semi;kolon"}},
        {{"w", "m", "M"}, {"x"}},
        {{"5", "7", "10", "0"}, {"x", "14"}},
        {{"a", "b", "c", "A", "B"}, {"Z"}},
        {{"-", "F", "f", "2"}, {"x", "6"}},
        {{"0", "1", "3", "8", "12"}, {"x"}},
        {{"0", "2", "5", "7", "255"}, {"300"}},
        {{"0", "4", "6"}, {"-1"}},
        {{"0", "1"}, {"x"}},
        {{"0", "3"}, {"y"}},
    };
    return texts;
}

const QList<TCellTexts>& projectTexts()
{
    static const QList<TCellTexts> texts = {
        {},
        {{"Werken", "Kunst & Form"}, {"Semi;kolon"}},
        {{"5", "8", "13"}, {"0"}},
        {{"6", "10"}, {"14", "x"}},
        {{"0", "3"}, {"x"}},
        {{"4", "25"}, {"-1"}},
        {{"-", "w", "m", "M", "X"}, {"q"}},
        {{"-", "X", "x"}, {"y"}},
    };
    return texts;
}

// A register line and the pupil it must give; none for a bad line.
struct TRegisterLine {
    QString text;
    bool good = false;
    MSchueler pupil;
};

}   // namespace

// ------------------------------------------------------------ the seam

TModalResult TSeqUi::messageBox(const TMessage& m)
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

TFileDialogResult TSeqUi::fileDialog(const TFileDialogSpec& request)
{
    fileDialogs.append(request);
    // A data file is saved under the step's name; an export file's name
    // comes as the open dialogs' do.
    if (request.save && !policy.saveAs.isEmpty())
        return {true, {policy.saveAs}, 1};
    const TFileDialogResult result{!policy.files.isEmpty(), policy.files, policy.filterIndex};
    policy.files.clear();
    return result;
}

// ------------------------------------------------------------ the school

TSeqRun::TSeqRun(const QString& dir, TSeqUi& ui, TRecordingPrinter& printer)
    : FDir(dir), FUi(ui), FPrinter(printer)
{
}

QString TSeqRun::path(const QString& name) const
{
    return QDir(FDir).filePath(name);
}

void TSeqRun::writeSchool()
{
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
    MFile projects;
    projects.kind = dtPro;
    QStringList lines;
    for (const P& p : school) {
        MProjekt r;
        r.name = QString::fromUtf8(p.name);
        r.jgmin = p.jgmin;
        r.jgmax = p.jgmax;
        r.min = p.min;
        r.max = p.max;
        r.weib = QLatin1String(p.geschl) != QLatin1String("m");
        r.gesp = p.gesp;
        projects.projects << r;
        lines << fileLine(rowOf(r, int(projects.projects.size())) << QStringLiteral("  0"));
    }
    writeLines(path(QStringLiteral("schule.PRO")), lines);
    FModel.files[QStringLiteral("schule.PRO")] = projects;

    const QStringList first = {"Anna", "Ben", "Clara", "Dörte", "Emil", "Fiona", "Götz", "Hanna"};
    const QStringList last = {"Müller", "Öztürk", "Weiß", "Bauer", "Schäfer"};
    std::mt19937 random(28);
    QList<MSchueler> pupils;
    for (int i = 0; i < 40; ++i) {
        MSchueler s;
        s.name = last[i % 5] + QStringLiteral(", ") + first[i % 8] + QLatin1Char(' ') + QString::number(i + 1);
        s.boy = i % 2;
        s.jgst = 5 + i % 6;
        s.abt = QString(QLatin1Char("abc"[i % 3]));
        std::vector<int> order = {1, 2, 3, 4, 5, 6, 7, 8};
        std::shuffle(order.begin(), order.end(), random);
        for (int r = 1; r <= 5; ++r)
            s.wahl[r] = order[size_t(r - 1)];
        s.zuteil = i % 3 == 0 ? s.wahl[1] : 0;
        pupils << s;
    }
    pupils[0].fest = true;             // fixed on its first choice
    pupils[1] = [s = pupils[1]]() mutable {   // naming no project
        for (int r = 1; r <= 5; ++r)
            s.wahl[r] = 0;
        s.zuteil = 0;
        return s;
    }();
    pupils[2].zuteil = 12;             // an assignment naming no project
    pupils[3].wahl[1] = 12;            // a choice naming none
    pupils[4].hand = 2;                // placed by hand on its second choice
    pupils[4].zuteil = pupils[4].wahl[2];
    pupils[5].wahl[5] = 255;       // the highest number a line holds
    pupils[6].abt = QStringLiteral("A");   // one class with pupils[0]

    MFile assigned;
    assigned.kind = dtSch;
    MFile choices = assigned;
    choices.choices = true;
    MFile part = choices;
    QStringList einLines;
    QStringList wahLines;
    for (const MSchueler& s : pupils) {
        assigned.pupils << asStored(s);
        einLines << fileLine(rowOf(s));
        MSchueler c = asStored(s);
        c.zuteil = 0;
        c.hand = -1;
        choices.pupils << c;
        wahLines << fileLine(rowOf(s).mid(0, 10));
        if (part.pupils.size() < 10)
            part.pupils << c;
    }
    writeLines(path(QStringLiteral("schule.EIN")), einLines);
    writeLines(path(QStringLiteral("schule.WAH")), wahLines);
    writeLines(path(QStringLiteral("teil.WAH")), wahLines.mid(0, 10));
    FModel.files[QStringLiteral("schule.EIN")] = assigned;
    FModel.files[QStringLiteral("schule.WAH")] = choices;
    FModel.files[QStringLiteral("teil.WAH")] = part;
    writeJunk();
}

void TSeqRun::writeJunk()
{
    // Projects among comments, empty lines, lines of blanks, control
    // characters and the end-of-file byte, and lines that cannot be read:
    // one before the last readable project, which stands as a closed
    // project, and one after it, which leaves no trace.
    const MProjekt werkstatt{QStringLiteral("Werkstatt"), 5, 10, 2, 6};
    const MProjekt unreadable{QStringLiteral("Zeile 6 nicht lesbar"), 1, 13, 0, 1000, true, true, true};
    const MProjekt malen{QStringLiteral("Mal en und Basteln"), 5, 10, 1, 8};
    const QByteArray pro = "/ Projekte mit schlechten Zeilen\r\n"
                           + Ansi::encode(fileLine(rowOf(werkstatt, 1) << QStringLiteral("  0"))) + "\r\n"
                           "\r\n"
                           "   \r\n"
                           "\x1A\r\n"
                           "3; Kaputt; x; 10; 0; 5; -; -;   0; \r\n"
                           "4; Mal\x7F" "en\x01und Basteln; 5; 10; 1; 8; -; -;   0; \r\n"
                           "5; Zu viele; Felder; 1; 2; 3; 4; 5; 6; 7; 8; \r\n"
                           " \t\x1A \r\n";
    writeFileBytes(path(QStringLiteral("junk.PRO")), pro);
    MFile junkPro;
    junkPro.kind = dtPro;
    junkPro.projects = {werkstatt, unreadable, malen};
    junkPro.whole = false;
    junkPro.messages = {ProjectGrade, ProjectFields, JunkRead};
    FModel.files[QStringLiteral("junk.PRO")] = junkPro;

    // A pupil file opened as projects: no line of it is a project line.
    QFile::copy(path(QStringLiteral("schule.EIN")), path(QStringLiteral("leer.PRO")));
    MFile none;
    none.kind = dtPro;
    none.whole = false;
    none.noProject = true;
    none.messages = {NoProjectLine};
    FModel.files[QStringLiteral("leer.PRO")] = none;

    // Pupils the same way.
    MSchueler tom;
    tom.name = QStringLiteral("Gr n er, Tom");
    tom.boy = true;
    tom.jgst = 7;
    tom.abt = QStringLiteral("b");
    tom.wahl[1] = 2;
    tom.wahl[2] = 6;
    MSchueler ida;
    ida.name = QStringLiteral("Ida Öz");
    ida.jgst = 9;
    ida.abt = QStringLiteral("c");
    ida.wahl[1] = 7;
    ida.zuteil = 7;
    const QByteArray ein = Ansi::encode(fileLine(rowOf(ida))) + "\r\n"
                           "   \r\n"
                           "Gr\x7Fn\x02" "er, Tom; m; 7; b; -; 2; 6; 0; 0; 0; 0; \r\n"
                           "X; q; 5; a; -; 1; 2; 3; 4; 5; 0; \r\n"
                           "\x1A\r\n"
                           "Zehn Felder; w; 5; a; -; 1; 2; 3; 4; 5; \r\n";
    writeFileBytes(path(QStringLiteral("junk.EIN")), ein);
    MFile junkEin;
    junkEin.kind = dtSch;
    junkEin.pupils = {ida, tom};
    junkEin.whole = false;
    junkEin.messages = {PupilGender, PupilFields};
    FModel.files[QStringLiteral("junk.EIN")] = junkEin;
}

// ------------------------------------------------------------ the steps

QString TSeqRun::nextStep()
{
    auto pick = [this](int n) { return int(FRandom() % unsigned(std::max(n, 1))); };
    auto one = [&](const QStringList& from) { return from[pick(int(from.size()))]; };
    const int answer = pick(6);
    const QString saveAnswer = answer == 0 ? QStringLiteral("abbrechen") : answer == 1 ? QStringLiteral("ja") : QStringLiteral("nein");
    const QString yesNo = pick(3) == 0 ? QStringLiteral("nein") : QStringLiteral("ja");
    const int pupils = SchuelerData->Anz();
    const int projects = ProjektData->Anz();

    // A cursor move right after a typed row, refused or stored.
    if (!FLog.isEmpty() && FLog.last().startsWith(QLatin1String("type ")) && pick(2) == 0)
        return QStringLiteral("move %1 %2").arg(FLog.last().section(QLatin1Char(' '), 1, 1), one({"down", "up", "tab", "right"}));

    // A print-out or an export after the assignments changed, as a school
    // prints its lists once it has placed its pupils.
    static const QRegularExpression placing(QStringLiteral("^(auto|hand|deleint|delhand|edit pro) "));
    if (!FLog.isEmpty() && placing.match(FLog.last()).hasMatch() && pick(3) == 0)
        return pick(2) ? QStringLiteral("print nein") : QStringLiteral("export %1 nein").arg(1 + pick(3));

    switch (pick(29)) {
    case 0:
        return QStringLiteral("open pro %1 ").arg(saveAnswer)
               + one(QStringList{"schule.PRO"} + FSaved.filter(QStringLiteral(".PRO")) + QStringList{"junk.PRO", "leer.PRO"});
    case 1:
        return QStringLiteral("open ein %1 ").arg(saveAnswer)
               + one(QStringList{"schule.EIN"} + FSaved.filter(QStringLiteral(".EIN")) + QStringList{"junk.EIN"});
    case 2:
        return QStringLiteral("open wah %1 ").arg(saveAnswer) + one({"schule.WAH", "schule.WAH,teil.WAH", "schule.EIN"});
    case 3:
    case 4:
    case 5: {
        const bool pro = pick(3) == 0;
        const int rows = pro ? projects : pupils;
        if (rows == 0)
            return QStringLiteral("activate %1").arg(pro ? "pro" : "sch");
        const int col = pro ? 1 + pick(7) : pick(10);
        const TCellTexts& texts = (pro ? projectTexts() : pupilTexts())[col];
        const QStringList from = texts.stored + texts.refused;
        return QStringLiteral("type %1 %2 %3 %4 %5")
            .arg(pro ? "pro" : "sch")
            .arg(1 + pick(rows))
            .arg(col)
            .arg(pick(2) ? "tab" : "enter")
            .arg(one(from));
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
    case 15: {
        const QString layout = pick(2) ? QStringLiteral("voll") : QStringLiteral("teile");
        return QStringLiteral("import %1 %2 %3 %4 %5 %6")
            .arg(one(layout == QLatin1String("teile") ? QStringList{"utf8", "utf8bom", "utf16", "mixed"}
                                                      : QStringList{"ansi", "utf8", "utf8bom", "utf16", "mixed"}))
            .arg(pick(3))
            .arg(pick(3) == 0 ? "abbrechen" : "ignorieren")
            .arg(saveAnswer, layout, one({"-", "-", "5,9", "7", "13"}));
    }
    case 16:
        return pick(2) ? QStringLiteral("save") : QStringLiteral("saveas gesichert%1").arg(pick(3));
    case 17:
        return QStringLiteral("activate ") + one({"pro", "sch"});
    case 18:
    case 19:
        return QStringLiteral("print %1").arg(pick(2) ? "ja" : "nein") + (pick(40) == 0 ? QStringLiteral(" pdf") : QString());
    case 20:
    case 21:
        return QStringLiteral("export %1 %2").arg(1 + pick(3)).arg(pick(2) ? "ja" : "nein");
    case 22:
    case 23: {
        QString clicks;
        for (int n = pick(4); n > 0; --n)
            clicks += pick(2) ? QLatin1Char('>') : QLatin1Char('<');
        return QStringLiteral("stat pro %1 %2").arg(pick(2) ? QStringLiteral("act") : QString::number(pick(projects + 2)), clicks);
    }
    case 24: {
        const QString which = pick(2) ? QStringLiteral("all") : QString::number(pick(10));
        return QStringLiteral("stat sch ") + which + (pick(2) ? QString() : QLatin1Char(' ') + one({"5,7:", "6:A", ":BC", "10:A"}));
    }
    case 25:
    case 26:
        return QStringLiteral("view %1 %2").arg(pick(2) ? "pro" : "kl").arg(pick(10));
    case 27:
        // A project inserted or deleted where pupils chose the ones after.
        return QStringLiteral("edit pro %1 %2 ja").arg(pick(2) ? "here" : "delete").arg(1 + pick(projects));
    default:
        // Refused while there is something to save; with nothing to save
        // the window would close.
        return FModel.pro.modified || FModel.sch.modified ? QStringLiteral("quit abbrechen") : QStringLiteral("activate next");
    }
}

TEditor* TSeqRun::activated(TDataType kind)
{
    command(kind == dtPro ? "ActivateProAct" : "ActivateSchAct");
    (kind == dtPro ? FModel.proEditor : FModel.schEditor) = true;
    FModel.fillEmptyEditors();
    bindRecords();
    return editorOf(kind);
}

MView* TSeqRun::viewOf(const TEditor* editor)
{
    for (MView& v : FModel.views)
        if (v.editor == editor)
            return &v;
    return nullptr;
}

void TSeqRun::open(const QStringList& a)
{
    const QStringList files = a.value(3).split(QLatin1Char(','));
    QStringList paths;
    for (const QString& f : files)
        paths << path(f);
    FUi.policy.files = paths;
    FUi.policy.filterIndex = a[1] == QLatin1String("wah") ? 2 : 1;
    const TDataType kind = kindOf(a[1]);
    const bool goesOn = FModel.askToSave(kind, answerOf(a[2]), path(QStringLiteral("frage")));
    command(kind == dtPro ? "OpenProAct" : a[1] == QLatin1String("ein") ? "OpenEintAct" : "OpenWahlAct");
    if (!goesOn)
        return;
    for (const QString& f : files)
        for (const QString& m : FModel.files[f].messages)
            FUi.policy.required << QRegularExpression::escape(m);
    if (kind == dtPro)
        FModel.openProjects(paths.first());
    else
        FModel.openPupils(paths, a[1] == QLatin1String("wah"));
}

void TSeqRun::type(const QStringList& a)
{
    const TDataType kind = kindOf(a[1]);
    TEditor* editor = activated(kind);
    const int row = a[2].toInt();
    const int col = a[3].toInt();
    if (!editor || row > editor->getData()->Anz())
        return;
    TGridWidget* grid = editor->grid();
    grid->setFocus(Qt::OtherFocusReason);
    if (!grid->setCurrentCell(col, row) || grid->col() != col) {
        fail(QStringLiteral("the cell cannot be reached"));
        return;
    }
    QTest::keyClick(grid, Qt::Key_F2);
    auto* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!cell) {
        fail(QStringLiteral("the cell does not open for editing"));
        return;
    }
    cell->selectAll();
    QTest::keyClick(cell, Qt::Key_Backspace);
    const QString text = a.mid(5).join(QLatin1Char(' '));
    QApplication::clipboard()->setText(text);
    if (!text.isEmpty())
        QTest::keyClick(cell, Qt::Key_V, Qt::ControlModifier);
    const int beeps = FUi.beeps;
    QTest::keyClick(QApplication::focusWidget(), a[4] == QLatin1String("tab") ? Qt::Key_Tab : Qt::Key_Return);
    const bool stored = (kind == dtPro ? projectTexts() : pupilTexts())[col].stored.contains(text);
    if (stored)
        FModel.storeTyped(kind, row, col, text);
    if (stored != (FUi.beeps == beeps))
        fail(stored ? QStringLiteral("a row the record takes beeped") : QStringLiteral("a refused row did not beep"));
}

void TSeqRun::move(const QStringList& a)
{
    // The row typed last, refused or stored, is not changed by moving on.
    TEditor* editor = activated(kindOf(a[1]));
    if (!editor)
        return;
    static const QMap<QString, Qt::Key> keys = {
        {"down", Qt::Key_Down}, {"up", Qt::Key_Up}, {"tab", Qt::Key_Tab}, {"right", Qt::Key_Right}};
    QTest::keyClick(editor->grid(), keys.value(a[2], Qt::Key_Down));
}

void TSeqRun::insertOrDelete(const QStringList& a)
{
    const TDataType kind = kindOf(a[1]);
    TEditor* editor = activated(kind);
    if (!editor)
        return;
    TGridWidget* grid = editor->grid();
    grid->setFocus(Qt::OtherFocusReason);
    grid->setRow(std::min(a[3].toInt(), grid->rowCount() - 1));
    const int pos = grid->row();
    const int count = editor->getData()->Anz();
    const bool yes = a[4] == QLatin1String("ja");
    const bool viewsOpen = !FModel.views.isEmpty();
    const QString what = a[2];
    command(what == QLatin1String("here") ? "InsertHereAct" : what == QLatin1String("end") ? "InsertEndAct" : "DeleteAct");
    if (kind == dtSch) {
        if (what == QLatin1String("here"))
            FModel.insertPupil(pos);
        else if (what == QLatin1String("end"))
            FModel.insertPupil(count + 1);
        else if (yes || !viewsOpen)
            FModel.deletePupil(pos);
    } else if (what == QLatin1String("end")) {
        FModel.insertProject(count + 1);
    } else if (yes) {
        if (what == QLatin1String("here"))
            FModel.insertProject(pos);
        else
            FModel.deleteProject(pos);
    }
}

void TSeqRun::newData(const QStringList& a)
{
    FModel.newData(answerOf(a.value(1)), path(QStringLiteral("frage")));
    command("NewAct");
}

void TSeqRun::sort(const QString& by)
{
    TEditor* active = MainForm->activeEditor();
    if (!active || active->getDataType() != dtSch)
        activated(dtSch);
    active = MainForm->activeEditor();
    const TSortCritType crit = by == QLatin1String("N") ? sc_N : by == QLatin1String("Kl") ? sc_Kl_N : by == QLatin1String("PN") ? sc_P_N : sc_P_Kl;
    command(crit == sc_N ? "mBSortN" : crit == sc_Kl_N ? "mBSortKl" : crit == sc_P_N ? "mbSortPN" : "mBSortPKl");
    if (MView* v = viewOf(active))
        v->sortedBy = crit;
    else
        FModel.sortedBy = crit;
    adoptOrder(active);
}

void TSeqRun::automatic(int depth)
{
    const bool enabled = FModel.projectCount() > 0 && FModel.pupilCount() > 0;
    if (!checkEnabled("AutoEinteilAct", enabled))
        return;
    QTimer::singleShot(0, EintDialog, [depth] {
        if (!EintDialog->isVisible())
            return;
        EintDialog->findChild<QComboBox*>(QStringLiteral("TiefeSelect"))->setCurrentIndex(depth - 1);
        EintDialog->findChild<QPushButton*>(QStringLiteral("Start"))->click();
    });
    command("AutoEinteilAct");
    if (!enabled || !FUi.lastText().endsWith(QLatin1String(" eingeteilt")) || !checkAssignment(depth))
        return;
    // The model takes the run's result.
    for (int i = 1; i <= SchuelerData->Anz(); ++i) {
        MSchueler& s = FModel.pupils[i - 1].r;
        if (s.zuteil != SchuelerData->getNr(i)->zuteil)
            FModel.sch.modified = true;
        s.zuteil = SchuelerData->getNr(i)->zuteil;
    }
}

void TSeqRun::hand(int row, const QString& option)
{
    TEditor* editor = activated(dtSch);
    if (!editor)
        return;
    editor->grid()->setFocus(Qt::OtherFocusReason);
    editor->grid()->setRow(std::min(row, editor->getData()->Anz()));
    const int at = editor->grid()->row();
    const int value = option == QLatin1String("weg") ? -1 : option == QLatin1String("null") ? 0 : option.toInt();
    const auto placed = std::make_shared<bool>(false);
    QTimer::singleShot(0, HandDialog, [this, value, placed, at] {
        if (!HandDialog->isVisible())
            return;
        checkHandDialog(at);
        QRadioButton* b = value == -1 ? HandDialog->OptAufheb : value == 0 ? HandDialog->OptNull : HandDialog->Opt[value];
        *placed = b->isEnabled();
        if (*placed) {
            b->click();
            HandDialog->OKButton->click();
        } else {
            HandDialog->CancelButton->click();
        }
    });
    command("HandEintAct");
    if (*placed)
        FModel.place(at, value);
}

void TSeqRun::clearAll(bool hands)
{
    const char* name = hands ? "DelHandEintAct" : "DelEintAct";
    if (!checkEnabled(name, FModel.projectCount() > 0 && FModel.pupilCount() > 0) || !command(name))
        return;
    if (FUi.policy.yesNo != TModalResult::mrYes)
        return;
    if (hands)
        FModel.clearHands();
    else
        FModel.clearAssignments();
}

void TSeqRun::extract(int geschl, bool invert)
{
    if (!MainForm->AuszugAct->isEnabled())
        activated(dtSch);
    QTimer::singleShot(0, SchFilterDialog, [geschl, invert] {
        if (!SchFilterDialog->isVisible())
            return;
        SchFilterDialog->ComboGeschl->setCurrentIndex(geschl);
        SchFilterDialog->InvertCheck->setChecked(invert);
        SchFilterDialog->OKButton->click();
    });
    const int before = int(MainForm->editors().size());
    command("AuszugAct");
    SchFilterDialog->ComboGeschl->setCurrentIndex(0);
    SchFilterDialog->InvertCheck->setChecked(false);
    if (MainForm->editors().size() == before)
        return;
    MView v;
    v.caption = QStringLiteral("Auszug");
    v.pupils = FModel.select([=](const MSchueler& s) {
        const bool match = geschl == 0 || (geschl == 1 ? !s.boy : s.boy);
        return match != invert;
    });
    v.ownEmpty = v.pupils.isEmpty();
    FModel.views << v;
}

void TSeqRun::overviewView(const QStringList& a)
{
    const bool pro = a[1] == QLatin1String("pro");
    TGridWidget* grid = pro ? MainForm->ProjekteGrid : MainForm->SchuelerGrid;
    grid->setRow(std::min(a[2].toInt(), grid->rowCount() - 1));
    const int row = grid->row();
    const QString text = grid->cell(0, row);
    press(pro ? "ProShowBut" : "SchShowBut");
    MView v;
    if (pro) {
        // Row k + 1 is project k; project 0 holds the pupils on none.
        if (FModel.projectCount() == 0 || row < 1)
            return;
        v.projekt = row - 1;
        v.caption = QStringLiteral("Projekt %1").arg(v.projekt);
        v.pupils = FModel.select([&](const MSchueler& s) { return FModel.valid(s.zuteil) == v.projekt; });
        if (v.pupils.isEmpty())
            return;
    } else {
        if (FModel.pupilCount() == 0 || row < 1)
            return;
        // A class without department letter is its class text; else its
        // grade and its last letter.
        static const QRegularExpression whole(QStringLiteral("^ *[+-]?\\d+$"));
        v.caption = QStringLiteral("Klasse ") + text;
        if (whole.match(text).hasMatch())
            v.pupils = FModel.select([&](const MSchueler& s) { return klassenKey(klasseText(s)) == klassenKey(text); });
        else
            v.pupils = FModel.select([&](const MSchueler& s) {
                return TSeqModel::inClasses(s, {text.chopped(1).toInt()}, text.right(1).toUpper());
            });
        v.ownEmpty = v.pupils.isEmpty();
    }
    FModel.views << v;
}

void TSeqRun::closeView()
{
    TEditor* v = lastView();
    if (!v)
        return;
    v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FModel.views.removeIf([v](const MView& m) { return m.editor == v; });
}

void TSeqRun::projectStat(const QStringList& a)
{
    struct TShow {
        int nr = 1;
        bool shown = false;
    };
    const auto show = std::make_shared<TShow>();
    const int count = FModel.projectCount();
    QTimer::singleShot(0, ProStatD, [this, show, count, clicks = a.value(3)] {
        if (!ProStatD->isVisible())
            return;
        show->shown = true;
        checkProjectStat(show->nr);
        // "<<" and ">>" stop at the first and the last project.
        for (QChar c : clicks) {
            (c == QLatin1Char('<') ? ProStatD->Zurueck : ProStatD->Vor)->click();
            show->nr = std::clamp(show->nr + (c == QLatin1Char('<') ? -1 : 1), 1, count);
            checkProjectStat(show->nr);
        }
        ProStatD->OkBtn->click();
    });
    bool expected = count > 0;
    if (a[2] == QLatin1String("act")) {
        checkEnabled("ProStatAct", expected);
        command("ProStatAct");
    } else {
        // Row k + 1 of the overview is project k; project 0 has none.
        TGridWidget* grid = MainForm->ProjekteGrid;
        grid->setRow(std::min(a[2].toInt(), grid->rowCount() - 1));
        show->nr = grid->row() - 1;
        expected = expected && show->nr >= 1;
        press("ProStatBut");
    }
    if (show->shown != expected)
        fail(expected ? QStringLiteral("the project statistics did not show") : QStringLiteral("the project statistics showed"));
}

void TSeqRun::pupilStat(const QStringList& a)
{
    struct TShow {
        QList<TRecId> pupils;
        QString heading;
        bool shown = false;
    };
    const auto show = std::make_shared<TShow>();
    QTimer::singleShot(0, SchStatD, [this, show, choice = a.value(3)] {
        if (!SchStatD->isVisible())
            return;
        show->shown = true;
        checkPupilStat(show->pupils, show->heading);
        if (!choice.isEmpty()) {
            // Grades and departments chosen inside: "5,7:A".
            QList<int> grades;
            for (const QString& g : choice.section(QLatin1Char(':'), 0, 0).split(QLatin1Char(','), Qt::SkipEmptyParts))
                grades << g.toInt();
            std::sort(grades.begin(), grades.end());
            const QString letters = choice.section(QLatin1Char(':'), 1);
            QTimer::singleShot(0, KlassenSelect, [grades, letters] {
                for (int i = 0; i < KlassenSelect->ListJgst->count(); ++i)
                    KlassenSelect->ListJgst->item(i)->setSelected(grades.contains(KlassenSelect->ListJgst->item(i)->text().toInt()));
                for (int i = 0; i < KlassenSelect->ListAbt->count(); ++i)
                    KlassenSelect->ListAbt->item(i)->setSelected(letters.contains(KlassenSelect->ListAbt->item(i)->text()));
                KlassenSelect->OkBtn->click();
            });
            SchStatD->Waehle->click();
            QString heading = QStringLiteral("Klassen");
            for (int g : grades)
                heading += QLatin1Char(' ') + QString::number(g);
            for (QChar l : letters)
                heading += QLatin1Char(' ') + l;
            checkPupilStat(FModel.select([&](const MSchueler& s) { return TSeqModel::inClasses(s, grades, letters); }), heading);
        }
        SchStatD->OkBtn->click();
    });
    bool expected = FModel.pupilCount() > 0;
    if (a[2] == QLatin1String("all")) {
        show->pupils = FModel.select([](const MSchueler&) { return true; });
        show->heading = QStringLiteral("Alle Klassen");
        checkEnabled("SchStatAct", expected);
        command("SchStatAct");
    } else {
        // The class of the overview row: its grade, and its department's
        // first letter or no department.
        TGridWidget* grid = MainForm->SchuelerGrid;
        grid->setRow(std::min(a[2].toInt(), grid->rowCount() - 1));
        const int row = grid->row();
        const QString text = grid->cell(0, row).trimmed();
        static const QRegularExpression number(QStringLiteral("^(\\d+)(.*)$"));
        const auto m = number.match(text);
        expected = expected && row >= 1 && m.hasMatch();
        const int grade = m.captured(1).toInt();
        const QString rest = m.captured(2);
        show->heading = QStringLiteral("Klassen %1 ").arg(grade) + rest;
        const QString letter = rest.isEmpty() ? QStringLiteral(" ") : rest.left(1).toUpper();
        show->pupils = FModel.select([&](const MSchueler& s) { return TSeqModel::inClasses(s, {grade}, letter); });
        press("SchStatBut");
    }
    if (show->shown != expected)
        fail(expected ? QStringLiteral("the pupil statistics did not show") : QStringLiteral("the pupil statistics showed"));
}

namespace {

// The lines of a register and the pupils they must give: full names, or
// last and first name apart, some parts empty and some letters beyond
// Windows-1252, which come as their base letters; bad lines among them.
QList<TRegisterLine> registerLines(bool parts, int bad)
{
    QList<TRegisterLine> lines;
    static const QList<QStringList> names = {
        {"Şahin", "Ayşe", "Sahin Ayse"},          {"Łukaszewicz", "Małgorzata", "Lukaszewicz Malgorzata"},
        {"", "Karl", "Karl"},                     {"Lang", "", "Lang"},
        {"Popović", "Đorđe", "Popovic Dorde"},    {"Yılmaz", "Emre", "Yilmaz Emre"},
        {"Weiß", "Jürgen", "Weiß Jürgen"},        {"Öztürk", "Ümit", "Öztürk Ümit"}};
    const int count = parts ? int(names.size()) : 12;
    for (int i = 1; i <= count; ++i) {
        TRegisterLine l;
        l.good = true;
        l.pupil.boy = i % 2;
        l.pupil.jgst = 5 + i % 6;
        l.pupil.abt = QString(QLatin1Char("abc"[i % 3]));
        const QString klasse = QString::number(l.pupil.jgst) + l.pupil.abt + QLatin1Char(',') + QLatin1Char(l.pupil.boy ? 'm' : 'w');
        if (parts) {
            const QStringList& n = names[i - 1];
            l.pupil.name = n[2];
            l.text = n[0] + QLatin1Char(',') + n[1] + QLatin1Char(',') + klasse;
        } else {
            l.pupil.name = QStringLiteral("Jürgen Weiß %1").arg(i);
            l.text = l.pupil.name + QLatin1Char(',') + klasse;
        }
        lines << l;
        if (i <= bad)
            lines << TRegisterLine{parts ? QStringLiteral(",,6b,w") : QStringLiteral("Schlecht %1;7a;m").arg(i), false, {}};
    }
    return lines;
}

QByteArray encodeRegister(const QList<TRegisterLine>& lines, const QString& encoding)
{
    QString text;
    QByteArray mixed;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].text + QStringLiteral("\r\n");
        text += line;
        // Line by line: UTF-8 and Windows-1252 by turns, as far as the
        // code page holds the line.
        mixed += i % 2 == 0 && Ansi::isEncodable(line) ? Ansi::encode(line) : line.toUtf8();
    }
    if (encoding == QLatin1String("ansi"))
        return Ansi::encode(text);
    if (encoding == QLatin1String("utf16"))
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(text);
    if (encoding == QLatin1String("mixed"))
        return mixed;
    return (encoding == QLatin1String("utf8bom") ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
}

}   // namespace

void TSeqRun::import(const QStringList& a)
{
    const int bad = a[2].toInt();
    const bool parts = a.value(5) == QLatin1String("teile");
    const QList<TRegisterLine> lines = registerLines(parts, bad);
    const QString file = path(QStringLiteral("kartei.txt"));
    writeFileBytes(file, encodeRegister(lines, a[1]));
    FUi.policy.files = {file};
    QList<int> grades;
    for (const QString& g : a.value(6).split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (g != QLatin1String("-"))
            grades << g.toInt();
    QTimer::singleShot(0, ImportDialog, [parts, grades] {
        if (!ImportDialog->isVisible())
            return;
        ImportDialog->Pages->setCurrentWidget(ImportDialog->ElementsPage);
        // Fields to meanings: full name or last and first name, class, gender.
        const QList<std::pair<int, int>> meanings = parts ? QList<std::pair<int, int>>{{1, 3}, {2, 2}, {3, 6}, {4, 5}}
                                                          : QList<std::pair<int, int>>{{1, 1}, {2, 6}, {3, 5}};
        for (auto [nr, row] : meanings) {
            ImportDialog->NrSelect->setValue(nr);
            ImportDialog->AssignBox->setCurrentRow(row);
            QTest::keyClick(ImportDialog->AssignBox, Qt::Key_Space);
        }
        if (!grades.isEmpty()) {
            QTimer::singleShot(0, KlassenSelect, [grades] {
                for (int i = 0; i < KlassenSelect->ListJgst->count(); ++i)
                    KlassenSelect->ListJgst->item(i)->setSelected(grades.contains(KlassenSelect->ListJgst->item(i)->text().toInt()));
                KlassenSelect->OkBtn->click();
            });
            ImportDialog->KlSelectBut->click();
        }
        ImportDialog->OkButton->click();
    });
    const bool goesOn = FModel.askToSave(dtSch, answerOf(a[4]), path(QStringLiteral("frage")));
    command("ImportAct");
    // "Abbrechen" at a bad line, a register without a pupil and a class
    // filter that keeps none leave the old list.
    if (!goesOn || (bad > 0 && a[3] == QLatin1String("abbrechen")))
        return;
    QList<MSchueler> read;
    for (const TRegisterLine& l : lines)
        if (l.good)
            read << l.pupil;
    if (read.isEmpty())
        return;
    QList<MSchueler> kept;
    for (const MSchueler& s : read)
        if (TSeqModel::inClasses(s, grades, QString()))
            kept << s;
    if (kept.isEmpty())
        return;
    FUi.policy.required << Imported.arg(kept.size()).arg(read.size());
    FModel.replacePupils(kept);
}

void TSeqRun::save(bool newName, const QString& name)
{
    TEditor* editor = MainForm->activeEditor();
    if (!editor)
        return;
    const bool pupils = editor->getDataType() == dtSch;
    const QString asked = path(name) + (pupils ? ".EIN" : ".PRO");
    FUi.policy.saveAs = path(name);
    FUi.policy.required << Written;
    command(newName ? "SaveAsAct" : "SaveAct");
    QString written = asked;
    if (!editor->Editable()) {
        FModel.saveView(asked, *viewOf(editor));
    } else {
        const QString own = FModel.state(editor->getDataType()).file;
        if (!newName && !own.isEmpty())
            written = own;
        if (pupils)
            FModel.savePupils(written);
        else
            FModel.saveProjects(written);
    }
    FSaved << QFileInfo(written).fileName();
    FSaved.removeDuplicates();
    checkSaved(written);
}

void TSeqRun::print(bool pdf)
{
    TEditor* editor = MainForm->activeEditor();
    if (!editor)
        return;
    TData* data = editor->getData();
    const int begun = FPrinter.documentsBegun;
    IPrinterDevice* recording = nullptr;
    const QString file = path(QStringLiteral("druck.pdf"));
    if (pdf) {
        QFile::remove(file);
        recording = SetPrinter(&QtPrinter());
        FUi.queuePrinterSetup(true, file);
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
        if (FUi.texts().contains(QStringLiteral("Druckauftrag abgesendet.")) && !fileBytes(file).startsWith("%PDF"))
            fail(QStringLiteral("the PDF file was not written"));
    } else if (FPrinter.documentsBegun != begun) {
        checkOutput(*data, readPrint(FPrinter), true);
    }
    if (FUi.texts().contains(QStringLiteral("Druckauftrag abgesendet.")))
        adoptOrder(editor);
}

void TSeqRun::exportTo(int filter)
{
    TEditor* editor = MainForm->activeEditor();
    if (!editor)
        return;
    const QString file = path(QStringLiteral("export%1").arg(++FExports));
    FUi.policy.files = {file};
    FUi.policy.filterIndex = filter;
    command("ExportAct");
    if (FUi.texts().filter(QStringLiteral(" exportiert.")).isEmpty())
        return;
    adoptOrder(editor);
    checkOutput(*editor->getData(), readExport(file + (filter == 3 ? ".HTML" : ".TXT"), filter - 1), false);
}

void TSeqRun::quit(const QStringList& a)
{
    const TAnswer answer = answerOf(a.value(1));
    const bool closes = FModel.askToSave(dtPro, answer, path(QStringLiteral("frage")))
                        && FModel.askToSave(dtSch, answer, path(QStringLiteral("frage")));
    QMetaObject::invokeMethod(MainForm, &QWidget::close, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(MainForm, QEvent::MetaCall);
    if (MainForm->isVisible() == closes)
        fail(closes ? QStringLiteral("the main window stayed open") : QStringLiteral("the main window closed"));
    FQuit = closes;
}

// ------------------------------------------------------------ the runs

bool TSeqRun::runStep(const QString& step)
{
    FLog << step;
    const QStringList a = step.split(QLatin1Char(' '));
    const QString verb = a[0];
    TPolicy policy;
    policy.allowed << EmptyRecord;
    QString saveAnswer;
    if (verb == QLatin1String("open") || verb == QLatin1String("new") || verb == QLatin1String("quit"))
        saveAnswer = a.value(verb == QLatin1String("open") ? 2 : 1);
    if (verb == QLatin1String("import"))
        saveAnswer = a.value(4);
    if (!saveAnswer.isEmpty()) {
        policy.save = resultOf(saveAnswer);
        policy.saveAs = path(QStringLiteral("frage"));
        policy.allowed << QRegularExpression::escape(TSeqModel::saveQuestion(dtPro))
                       << QRegularExpression::escape(TSeqModel::saveQuestion(dtSch)) << Written << ReadCount;
    }
    if (verb == QLatin1String("edit") || verb == QLatin1String("delhand") || verb == QLatin1String("deleint")) {
        policy.yesNo = resultOf(a.value(verb == QLatin1String("edit") ? 4 : 1));
        policy.allowed << Renumber << DeleteCloses << ByHand << ClearAll;
    }
    if (verb == QLatin1String("auto"))
        policy.allowed << AutoDone;
    if (verb == QLatin1String("import")) {
        policy.badLine = resultOf(a[3]);
        policy.allowed << BadRegisterLine << Imported.arg("\\d+", "\\d+") << NoneImported;
    }
    if (verb.startsWith(QLatin1String("save")))
        policy.allowed << Written;
    if (verb == QLatin1String("print") || verb == QLatin1String("export")) {
        policy.voll = resultOf(a[verb == QLatin1String("print") ? 1 : 2]);
        policy.allowed << WithChoices << PrintSent << Exported;
        // Only sorted pupils are printed or exported.
        const TEditor* e = MainForm->activeEditor();
        if (e && e->getDataType() == dtSch && static_cast<const TSchuelerData*>(e->getData())->getSort() == sc_NotSorted)
            policy.allowed << OnlySorted;
    }
    // The main window is the active one again once a dialog has closed.
    QApplication::setActiveWindow(MainForm);
    FUi.policy = policy;
    FUi.clear();
    FModel.questions.clear();

    if (verb == QLatin1String("open"))
        open(a);
    else if (verb == QLatin1String("type"))
        type(a);
    else if (verb == QLatin1String("move"))
        move(a);
    else if (verb == QLatin1String("edit"))
        insertOrDelete(a);
    else if (verb == QLatin1String("new"))
        newData(a);
    else if (verb == QLatin1String("activate") && a[1] == QLatin1String("next"))
        command("NextWinAct");
    else if (verb == QLatin1String("activate"))
        activated(kindOf(a[1]));
    else if (verb == QLatin1String("sort"))
        sort(a[1]);
    else if (verb == QLatin1String("auto"))
        automatic(a[1].toInt());
    else if (verb == QLatin1String("hand"))
        hand(a[1].toInt(), a[2]);
    else if (verb == QLatin1String("deleint") || verb == QLatin1String("delhand"))
        clearAll(verb == QLatin1String("delhand"));
    else if (verb == QLatin1String("extract"))
        extract(a[1].toInt(), a[2] == QLatin1String("1"));
    else if (verb == QLatin1String("closeview"))
        closeView();
    else if (verb == QLatin1String("view"))
        overviewView(a);
    else if (verb == QLatin1String("stat") && a[1] == QLatin1String("pro"))
        projectStat(a);
    else if (verb == QLatin1String("stat"))
        pupilStat(a);
    else if (verb == QLatin1String("import"))
        import(a);
    else if (verb == QLatin1String("save"))
        save(false, QStringLiteral("gesichert"));
    else if (verb == QLatin1String("saveas"))
        save(true, a[1]);
    else if (verb == QLatin1String("print"))
        print(a.value(2) == QLatin1String("pdf"));
    else if (verb == QLatin1String("export"))
        exportTo(a[1].toInt());
    else if (verb == QLatin1String("quit"))
        quit(a);
    else
        return fail(QStringLiteral("unknown step"));
    QCoreApplication::processEvents();
    if (!FOk)
        return false;

    for (const TMessage& m : FUi.messages) {
        bool ok = false;
        for (const QString& pattern : FUi.policy.allowed + FUi.policy.required)
            ok = ok || QRegularExpression(pattern).match(m.text).hasMatch();
        if (!ok)
            return fail(QStringLiteral("the message \"%1\" showed").arg(m.text));
    }
    for (const QString& pattern : FUi.policy.required)
        if (FUi.texts().filter(QRegularExpression(pattern)).isEmpty())
            return fail(QStringLiteral("no message matched \"%1\"").arg(pattern));
    if (FUi.unanswered)
        return fail(QStringLiteral("a question found no answer"));
    if (QWidget* modal = QApplication::activeModalWidget())
        return fail(QStringLiteral("the dialog %1 stayed open").arg(modal->objectName()));
    const QStringList asked = FUi.texts().filter(QStringLiteral("Sollen sie gespeichert werden?"));
    if (asked != FModel.questions)
        return fail(QStringLiteral("the step asked\n  %1\ninstead of\n  %2")
                        .arg(asked.join(QStringLiteral("\n  ")), FModel.questions.join(QStringLiteral("\n  "))));
    FModel.fillEmptyEditors();
    bindRecords();
    return checkLists() && checkEditors() && checkCounts();
}

bool TSeqRun::run(const QStringList& fixed, int seed, int steps)
{
    FRandom.seed(unsigned(seed));
    writeSchool();
    const bool random = fixed.isEmpty();
    const int total = random ? steps / 2 + int(FRandom() % unsigned(steps / 2 + 1)) : int(fixed.size());
    const QStringList start = {QStringLiteral("open pro nein schule.PRO"), QStringLiteral("open ein nein schule.EIN")};
    for (int i = 0; i < total + (random ? 3 : 0) && !FQuit; ++i) {
        QString step;
        if (!random)
            step = fixed[i];
        else if (i < 2)
            step = start[i];
        else if (i == total + 2)
            step = QStringLiteral("quit ") + QStringList{"ja", "nein", "abbrechen"}[int(FRandom() % 3)];
        else
            step = nextStep();
        if (!runStep(step))
            return false;
    }
    return true;
}

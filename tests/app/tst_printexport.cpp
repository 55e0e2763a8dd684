// The print and export commands in the main window, offscreen, with the
// scripted seam and the recording printer: the sort test, the list put in
// its order first, the choices question, the export file dialog with its
// name rules and memory, the result message, and every failure reaching
// the error display with the old file kept and no success text.

#include "app/UEditor.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "app/main.h"
#include "assign/UEintDialog.h"
#include "assign/UHandDialog.h"
#include "data/UBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"
#include "platform/UQtPrinter.h"
#include "platform/UQtUi.h"
#include "platform/URecordingPrinter.h"
#include "print/UPrintConfDialog.h"
#include "tests/support/UGridLanding.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(TModalResult)
Q_DECLARE_METATYPE(TExpFormat)

namespace {

const QString Question = QStringLiteral("Schülerwahlen mit angeben?");
const QString Sent = QStringLiteral("Druckauftrag abgesendet.");

void addProjekt(const QString& name)
{
    auto* p = new TProjekt(ProjektData->Anz() + 1);
    p->name = name;
    p->jgmin = 5;
    p->jgmax = 10;
    p->teilnmin = 2;
    p->teilnmax = 20;
    p->weib = true;
    p->maenn = true;
    ProjektData->add(p);
}

void addSchueler(TSchuelerData& list, const QString& name, int jgst, const QString& abt, int zuteil)
{
    auto* s = new TSchueler;
    s->name = name;
    s->jgst = jgst;
    s->abt = abt;
    s->wahl[1] = zuteil == 0 ? 3 : zuteil;
    s->wahl[2] = 2;
    s->zuteil = zuteil;
    list.add(s);
}

// Three projects and five pupils, two of them unassigned or elsewhere.
void fillSchool()
{
    addProjekt(QStringLiteral("Theater"));
    addProjekt(QStringLiteral("Chor"));
    addProjekt(QStringLiteral("Töpfern"));
    addSchueler(*SchuelerData, QStringLiteral("Müller, Jörg"), 5, QStringLiteral("a"), 1);
    addSchueler(*SchuelerData, QStringLiteral("Öztürk, Ayşe"), 6, QStringLiteral("b"), 2);
    addSchueler(*SchuelerData, QStringLiteral("Schäfer, Lukas"), 7, QStringLiteral("a"), 0);
    addSchueler(*SchuelerData, QStringLiteral("Weiß, Anna"), 5, QStringLiteral("a"), 1);
    addSchueler(*SchuelerData, QStringLiteral("Bauer, Ute"), 6, QStringLiteral("b"), 3);
}

QAction* action(const char* name)
{
    return MainForm->findChild<QAction*>(QString::fromLatin1(name));
}

// Runs a command as the user starts it: through the event loop, so that an
// error reaches the program's error display.
void command(const char* name)
{
    QAction* a = action(name);
    QVERIFY2(a && a->isEnabled(), name);
    QMetaObject::invokeMethod(a, &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(a, QEvent::MetaCall);
}

// Closes the print settings dialog with OK (or Abbrechen) once it is up,
// after inside has set it.
void answerPrintDialog(bool ok, const std::function<void()>& inside = {})
{
    QTimer::singleShot(0, PrintConfDialog, [=] {
        if (inside)
            inside();
        QTest::mouseClick(ok ? PrintConfDialog->OKButton : PrintConfDialog->CancelButton, Qt::LeftButton);
    });
}

// A school of 40 projects and 800 pupils: ten unassigned, 160 in project 1
// (more than a page holds), the rest spread over the others. Every name
// ends in a token of its own ("S0001"), the surnames carry umlauts.
void fillLargeSchool()
{
    ProjektData->ClearData();
    SchuelerData->ClearData();
    for (int p = 1; p <= 40; ++p)
        addProjekt(QStringLiteral("Töpfern und Gärtnern %1").arg(p));
    const QStringList surnames{QStringLiteral("Müller"), QStringLiteral("Öztürk"), QStringLiteral("Weiß"),
                               QStringLiteral("Übel"), QStringLiteral("Ährlich")};
    for (int i = 1; i <= 800; ++i) {
        const int zuteil = i <= 10 ? 0 : i <= 170 ? 1 : 2 + i % 39;
        addSchueler(*SchuelerData,
                    QStringLiteral("%1, Jörg S%2").arg(surnames[i % 5]).arg(i, 4, 10, QLatin1Char('0')),
                    5 + i % 6, QStringLiteral("abc").mid(i % 3, 1), zuteil);
    }
}

// The output of one of the PDF tools, a null string when it is missing or
// fails.
QString pdfTool(const QString& tool, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return QString();
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The top edge (in points) of the word on the page of a "pdftotext -bbox"
// page, -1 when it is not there.
double wordTop(const QString& bbox, const QString& word)
{
    const QRegularExpression re(QStringLiteral("yMin=\"([0-9.]+)\"[^>]*>%1</word>")
                                    .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch m = re.match(bbox);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// The names of the faces a PDF embeds, as "pdffonts" lists them, without
// the prefix of a subset ("ABCDEF+").
QStringList embeddedFaces(const QString& pdffonts)
{
    QStringList faces;
    const QStringList lines = pdffonts.split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size(); ++i) {   // after the caption and its rule
        const QString name = lines[i].section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (!name.isEmpty())
            faces.append(name.mid(name.indexOf(QLatin1Char('+')) + 1));
    }
    return faces;
}

// The PostScript name (name 6 of the face's name table), under which a PDF
// embeds the face. A face without that table (a Type 1 face) gives its
// family without blanks, which starts the name it is embedded under.
QString postScriptName(const QRawFont& face)
{
    if (face.fontTable("name").isEmpty())
        return face.familyName().section(QLatin1Char('['), 0, 0).remove(QLatin1Char(' '));   // no "[foundry]"
    const QByteArray table = face.fontTable("name");
    auto word = [&](qsizetype at) {
        return at + 2 <= table.size() ? int(uchar(table[at])) << 8 | uchar(table[at + 1]) : -1;
    };
    const int count = word(2);
    const int strings = word(4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * i;
        const int platform = word(record);
        const int length = word(record + 8);
        const int offset = word(record + 10);
        if (word(record + 6) != 6 || length <= 0 || offset < 0)
            continue;
        const QByteArray bytes = table.mid(strings + offset, length);
        if (platform == 1)   // Macintosh, one byte a character
            return QString::fromLatin1(bytes);
        QString name;   // Unicode or Windows: UTF-16, high byte first
        for (qsizetype c = 0; c + 1 < bytes.size(); c += 2)
            name.append(QChar(char16_t(uchar(bytes[c]) << 8 | uchar(bytes[c + 1]))));
        return name;
    }
    return QString();
}

// Whether a PDF's embedded faces hold the face named name: that name
// itself, or a style of a family named without its style.
bool embeds(const QStringList& faces, const QString& name)
{
    return !name.isEmpty()
        && std::any_of(faces.begin(), faces.end(), [&](const QString& face) {
               return face == name || face.startsWith(name + QLatin1Char('-'));
           });
}

// The face the Qt printer draws with when it is asked for font, as this
// machine resolves it: the name a PDF embeds it under.
QString printedFace(const TFontSpec& font)
{
    TQtPrinter printer;
    printer.setFont(font);
    const TFontSpec used = printer.font();
    QFont f(used.name);
    f.setPointSize(used.size);
    f.setBold(used.bold);
    f.setItalic(used.italic);
    return postScriptName(QRawFont::fromFont(f));
}


const QString LongName = QStringLiteral("Müller-Lüdenscheidt-Wolkenstein, Anna-Katharina Sophie Marie");
const QChar Ellipsis(0x2026);

// A pupil of 60 characters' name in class 8d and a project whose heading
// line is longer than a page is wide.
void addLongTexts()
{
    addProjekt(QStringLiteral("Töpfern und Gärtnern im Schulgarten hinter der großen Turnhalle"));
    addSchueler(*SchuelerData, LongName, 8, QStringLiteral("d"), ProjektData->Anz());
}

// The heading font at points, chosen in the print dialog.
TFontSpec headingAt(int points)
{
    TFontSpec font;
    font.name = QStringLiteral("Arial");
    font.size = points;
    font.bold = true;
    return font;
}

// Every text the recording printer drew ends before the next text of its
// line begins and within the right margin, as wide as the left one (where
// the leftmost text begins), measured as that printer measures; cut
// collects the texts that end in "…".
void checkTextsKeepToTheirRoom(const TRecordingPrinter& printer, QStringList& cut)
{
    QMap<QPair<int, int>, QList<TPrintedText>> lines;
    int leftMargin = TRecordingPrinter::PageWidthPx;
    for (const auto& [page, t] : printer.allTexts()) {
        lines[{page, t.y}].append(t);
        leftMargin = std::min(leftMargin, t.x);
    }
    for (QList<TPrintedText>& line : lines) {
        std::sort(line.begin(), line.end(), [](const TPrintedText& a, const TPrintedText& b) { return a.x < b.x; });
        for (qsizetype i = 0; i < line.size(); ++i) {
            const TPrintedText& t = line[i];
            const int end = t.x + TRecordingPrinter::textWidth(t.text, t.font);
            QVERIFY2(end <= TRecordingPrinter::PageWidthPx - leftMargin, qPrintable(t.text));
            if (i + 1 < line.size())
                QVERIFY2(end <= line[i + 1].x, qPrintable(t.text + QLatin1String(" | ") + line[i + 1].text));
            if (t.text.endsWith(Ellipsis))
                cut.append(t.text);
        }
    }
}

// A word of a "pdftotext -bbox" page, in points.
struct TPdfWord {
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    QString text;
};

// The words of every page of a "pdftotext -bbox" output, page by page.
QList<QList<TPdfWord>> pdfWords(const QString& bbox)
{
    QList<QList<TPdfWord>> pages;
    const QRegularExpression re(QStringLiteral(
        "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    for (const QRegularExpressionMatch& m : re.globalMatch(bbox)) {
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            pages.append(QList<TPdfWord>());
            continue;
        }
        if (!pages.isEmpty())
            pages.last().append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                 m.captured(4)});
    }
    return pages;
}

// The surname of a pupil of the school, which the data files' code page
// holds whole.
QString surname(const QString& name)
{
    return name.section(QLatin1Char(','), 0, 0);
}

// The names of list in its order.
QStringList namesOf(const TData& list)
{
    QStringList names;
    for (int i = 1; i <= list.Anz(); ++i)
        names.append(static_cast<const TSchueler*>(list.getNr(i))->name);
    return names;
}

// The names an editor's grid shows, top to bottom.
QStringList namesShown(const TEditor& editor)
{
    QStringList names;
    for (int row = 1; row < editor.grid()->rowCount(); ++row)
        names.append(editor.grid()->cell(0, row));
    return names;
}

// The pupils of list by project, then name: the order print and export are
// to show, found without the program's sort.
QList<const TSchueler*> byProject(const TData& list)
{
    QList<const TSchueler*> pupils;
    for (int i = 1; i <= list.Anz(); ++i)
        pupils.append(static_cast<const TSchueler*>(list.getNr(i)));
    std::sort(pupils.begin(), pupils.end(), [](const TSchueler* a, const TSchueler* b) {
        const int pa = a->getZuteil(*ProjektData);
        const int pb = b->getZuteil(*ProjektData);
        return pa != pb ? pa < pb : a->name < b->name;
    });
    return pupils;
}

// Those pupils in categories: "heading: surname surname", each project
// once, in ascending numbers.
QStringList categoriesByProject(const TData& list)
{
    QStringList categories;
    int project = -1;
    for (const TSchueler* s : byProject(list)) {
        if (s->getZuteil(*ProjektData) != project) {
            project = s->getZuteil(*ProjektData);
            categories.append(ProjektData->getNrOr0(project)->ToString() + QLatin1Char(':'));
        }
        categories.last() += QLatin1Char(' ') + surname(s->name);
    }
    return categories;
}

// What a text export shows in the same form: each "*** heading ***" with
// the pupils' lines below it.
QStringList categoriesExported(const QByteArray& bytes, const QStringList& names)
{
    const QRegularExpression heading(QStringLiteral("^\\*\\*\\* (.*) \\*\\*\\*$"));
    QStringList categories;
    for (const QString& line : Ansi::decode(bytes).split(QStringLiteral("\r\n"))) {
        const QRegularExpressionMatch m = heading.match(line);
        if (m.hasMatch()) {
            categories.append(m.captured(1) + QLatin1Char(':'));
            continue;
        }
        for (const QString& name : names)
            if (!categories.isEmpty() && line.startsWith(surname(name) + QLatin1Char(',')))
                categories.last() += QLatin1Char(' ') + surname(name);
    }
    return categories;
}

// What a print-out shows in the same form: every category starts a page.
QStringList categoriesPrinted(const TRecordingPrinter& printer, const QStringList& names)
{
    QStringList headings{ProjektData->getNr0()->ToString()};
    for (int p = 1; p <= ProjektData->Anz(); ++p)
        headings.append(ProjektData->getNr(p)->ToString());
    QStringList categories;
    for (int page = 1; page <= int(printer.pages.size()); ++page) {
        for (const QString& text : printer.pageTexts(page)) {
            if (headings.contains(text))
                categories.append(text + QLatin1Char(':'));
            else if (names.contains(text) && !categories.isEmpty())
                categories.last() += QLatin1Char(' ') + surname(text);
        }
    }
    return categories;
}


// The texts of each column (texts[c] starting at columns[c]) that, drawn in
// face at points on the recording printer's page as a printer at its
// resolution measures them, do not end a blank before the next column, or
// the last before the right margin (columns holds one more entry: where the
// right margin begins).
QStringList tooWide(const QString& face, int points, bool bold, const QList<int>& columns,
                    const QList<QStringList>& texts)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter device(&buffer);
    device.setResolution(TRecordingPrinter::Dpi);
    QFont font(face);
    font.setPointSize(points);
    font.setBold(bold);
    const QFontMetricsF metrics(font, &device);
    QStringList wide;
    for (qsizetype c = 0; c < texts.size(); ++c)
        for (const QString& t : texts[c]) {
            const bool last = c + 1 == texts.size();
            const double end = columns[c] + metrics.horizontalAdvance(t) + (last ? 0 : metrics.horizontalAdvance(u' '));
            if (end > columns[c + 1])
                wide << QStringLiteral("%1 ends at %2, the next column begins at %3").arg(t).arg(end).arg(columns[c + 1]);
        }
    return wide;
}

} // namespace

class TestPrintExport : public QObject {
    Q_OBJECT

    QString path(const QString& name) const { return FDir->filePath(name); }

    // What the container export writes for data itself.
    QByteArray reference(TData& data, TExpFormat format, bool voll)
    {
        const QString file = path(QStringLiteral("reference.out"));
        data.ExportData(file, format, voll);
        const QByteArray bytes = fileBytes(file);
        QFile::remove(file);
        return bytes;
    }

    TEditor* openPupils(TSortCritType sort = sc_P_N)
    {
        if (sort != sc_NotSorted)
            SchuelerData->Sort(sort);
        MainForm->ActivateEditor(dtSch);
        return MainForm->activeEditor();
    }

    // Prints the pupils sorted by project (or the projects) through the real
    // Qt printer into pdf: the printer setup chooses the file, configure
    // sets more in the print dialog, page numbers are on and the choices go
    // along. With fileSizeLimit, files may grow to that many bytes only, as
    // on a full disk. Returns the file's bytes.
    QByteArray printIntoPdf(const QString& pdf, bool pupils, const std::function<void()>& configure = {},
                            rlim_t fileSizeLimit = 0)
    {
        IPrinterDevice* recording = SetPrinter(&QtPrinter());
        if (pupils)
            openPupils(sc_P_N);
        else
            MainForm->ActivateEditor(dtPro);
        FUi->queuePrinterSetup(true, pdf);
        answerPrintDialog(true, [configure] {
            QTest::mouseClick(PrintConfDialog->SetupButton, Qt::LeftButton);
            if (configure)
                configure();
            PrintConfDialog->CheckFooter->setChecked(true);
        });
        if (pupils)
            FUi->queueAnswer(TModalResult::mrYes);
        if (fileSizeLimit > 0)
            withFileSizeLimit(fileSizeLimit, [] { command("PrintAct"); });
        else
            command("PrintAct");
        QtPrinter().setPdfFile(QString());
        SetPrinter(recording);
        return fileBytes(pdf);
    }

    QByteArray printPupilsIntoPdf(const QString& pdf, const std::function<void()>& configure = {})
    {
        return printIntoPdf(pdf, true, configure);
    }

private slots:
    void init()
    {
        FUi = std::make_unique<TScriptedUi>();
        FPrinter = std::make_unique<TRecordingPrinter>();
        FDir = std::make_unique<QTemporaryDir>();
        QApplication::setQuitOnLastWindowClosed(false);
        CreateForms();
        MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(MainForm));
        fillSchool();
    }

    void cleanup()
    {
        DestroyForms();
        QCOMPARE(PrintConfDialog, nullptr);
        qDeleteAll(FViews);
        FViews.clear();
        SchuelerData->ClearData();
        ProjektData->ClearData();
        FDir.reset();
        FPrinter.reset();
        FUi.reset();
    }

    void withoutEditorNothingHappens()
    {
        QVERIFY(!action("PrintAct")->isEnabled());
        QVERIFY(!action("ExportAct")->isEnabled());
        MainForm->PrintActExecute();
        MainForm->ExportActExecute();
        QVERIFY(FUi->messages.isEmpty());
        QVERIFY(FUi->fileDialogs.isEmpty());
        QCOMPARE(FPrinter->documentsBegun, 0);
    }

    void unsortedPupilsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("act");
        QTest::addColumn<QString>("text");
        QTest::newRow("print") << QByteArray("PrintAct")
                               << QStringLiteral("Es können nur sortierte Schülerdaten gedruckt werden. \r"
                                                 "Bitte wählen Sie \"Bearbeiten-Sortieren\", und drucken Sie dann.");
        QTest::newRow("export") << QByteArray("ExportAct")
                                << QStringLiteral("Es können nur sortierte Schülerdaten exportiert werden. \r"
                                                  "Bitte wählen Sie \"Bearbeiten-Sortieren\", und exportieren Sie dann.");
    }

    void unsortedPupilsAreRefused()
    {
        QFETCH(QByteArray, act);
        QFETCH(QString, text);
        openPupils(sc_NotSorted);
        QCOMPARE(SchuelerData->getSort(), sc_NotSorted);
        command(act.constData());
        QCOMPARE(FUi->texts(), QStringList{text});
        QCOMPARE(FUi->messages[0].type, TMsgType::mtPlain);
        QVERIFY(FUi->fileDialogs.isEmpty());
        QCOMPARE(FPrinter->documentsBegun, 0);
    }

    void everySortCriterionLetsPupilsThrough_data()
    {
        QTest::addColumn<TSortCritType>("sort");
        QTest::newRow("name") << sc_N;
        QTest::newRow("class") << sc_Kl_N;
        QTest::newRow("project") << sc_P_N;
        QTest::newRow("project, class") << sc_P_Kl;
    }

    void everySortCriterionLetsPupilsThrough()
    {
        QFETCH(TSortCritType, sort);
        openPupils(sort);
        FUi->queueFiles({path(QStringLiteral("liste"))}, 1);
        FUi->queueAnswer(TModalResult::mrYes);
        command("ExportAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, "5 Datensätze nach liste.TXT exportiert."}));
        QCOMPARE(fileBytes(path(QStringLiteral("liste.TXT"))), reference(*SchuelerData, exSpace, true));
    }

    void anExtractIsJudgedByItsOwnSort()
    {
        openPupils(sc_NotSorted);
        auto* unsorted = new TSchuelerData(SchuelerData);
        auto* list = new TSchuelerData(SchuelerData);
        FViews << unsorted << list;
        list->Sort(sc_Kl_N);
        new TEditor(MainForm, MainFormHandler, list, false, QStringLiteral("Auszug"));
        QCOMPARE(MainForm->activeEditor()->getData(), list);
        FUi->queueFiles({path(QStringLiteral("auszug.txt"))}, 2);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, "5 Datensätze nach auszug.txt exportiert."}));
        QCOMPARE(fileBytes(path(QStringLiteral("auszug.txt"))), reference(*list, exTab, false));

        // The other way round: the pupil list is sorted, the extract is not.
        FUi->clear();
        SchuelerData->Sort(sc_N);
        QCOMPARE(unsorted->getSort(), sc_NotSorted);
        new TEditor(MainForm, MainFormHandler, unsorted, false, QStringLiteral("Auszug 2"));
        QCOMPARE(MainForm->activeEditor()->getData(), unsorted);
        command("ExportAct");
        QCOMPARE(FUi->texts().size(), 1);
        QVERIFY(FUi->lastText().startsWith(QStringLiteral("Es können nur sortierte Schülerdaten exportiert")));
        QVERIFY(FUi->fileDialogs.isEmpty());
    }

    void exportNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<TExpFormat>("format");
        QTest::newRow("folder with a point, blanks") << "a.b/liste" << 1 << "a.b/liste.TXT" << exSpace;
        QTest::newRow("folder with a point, TABs") << "a.b/liste" << 2 << "a.b/liste.TXT" << exTab;
        QTest::newRow("HTML") << "liste" << 3 << "liste.HTML" << exHtml;
        QTest::newRow("own extension csv") << "liste.csv" << 1 << "liste.csv" << exSpace;
        QTest::newRow("html name, blanks") << "liste.html" << 1 << "liste.html" << exSpace;
        QTest::newRow("final point") << "liste." << 2 << "liste." << exTab;
        QTest::newRow("unknown filter: the last one") << "liste" << 9 << "liste.HTML" << exHtml;
        QTest::newRow("umlaut name") << "Schüler" << 1 << "Schüler.TXT" << exSpace;
    }

    void exportNames()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(TExpFormat, format);
        QVERIFY(QDir(FDir->path()).mkpath(QStringLiteral("a.b")));
        openPupils();
        FUi->queueFiles({path(typed)}, filter);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->texts(),
                 (QStringList{Question, QStringLiteral("5 Datensätze nach %1 exportiert.")
                                            .arg(written.mid(written.lastIndexOf(QLatin1Char('/')) + 1))}));
        QCOMPARE(fileBytes(path(written)), reference(*SchuelerData, format, false));
        // Nothing else was written beside it.
        const QDir folder(QFileInfo(path(written)).absolutePath());
        QCOMPARE(folder.entryList(QDir::Files), QStringList{QFileInfo(path(written)).fileName()});
    }

    void theExportDialog()
    {
        openPupils();
        FUi->queueFiles({path(QStringLiteral("erste"))}, 2);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        FUi->queueFileCancel();
        command("ExportAct");
        QCOMPARE(FUi->fileDialogs.size(), 2);
        const TFileDialogSpec first = FUi->fileDialogs[0];
        QVERIFY(first.save);
        QVERIFY(!first.multiSelect);
        QCOMPARE(first.title, QStringLiteral("Exportieren"));
        QCOMPARE(first.filter, QStringLiteral("Text mit Leerzeichen (*.TXT)|*.txt|Text mit TAB-Stops (*.TXT)|*.txt|"
                                              "Hypertext-Dokument (*.HTML)|*.html"));
        QCOMPARE(first.filterIndex, 3);
        QCOMPARE(first.fileName, QString());
        QCOMPARE(first.initialDir, QString());
        QCOMPARE(first.helpContext, 104);
        // The second showing starts where the first one ended.
        const TFileDialogSpec second = FUi->fileDialogs[1];
        QCOMPARE(second.filterIndex, 2);
        QCOMPARE(second.fileName, path(QStringLiteral("erste")));
        // Cancelled: no question, no message.
        QCOMPARE(FUi->texts(), (QStringList{Question, "5 Datensätze nach erste.TXT exportiert."}));
    }

    void escOnTheQuestionExportsWithoutChoices_data()
    {
        QTest::addColumn<TModalResult>("answer");
        QTest::addColumn<bool>("voll");
        QTest::newRow("yes") << TModalResult::mrYes << true;
        QTest::newRow("no") << TModalResult::mrNo << false;
        QTest::newRow("esc") << TModalResult::mrCancel << false;
        QTest::newRow("closed") << TModalResult::mrNone << false;
    }

    void escOnTheQuestionExportsWithoutChoices()
    {
        QFETCH(TModalResult, answer);
        QFETCH(bool, voll);
        openPupils();
        FUi->queueFiles({path(QStringLiteral("liste.txt"))}, 1);
        FUi->queueAnswer(answer);
        command("ExportAct");
        QCOMPARE(FUi->messages.size(), 2);
        const TMessage question = FUi->messages[0];
        QCOMPARE(question.text, Question);
        QCOMPARE(question.type, TMsgType::mtInformation);
        QCOMPARE(question.caption(), QStringLiteral("Informationen"));
        QCOMPARE(question.buttons, TMsgButtons(mbYes | mbNo));
        QCOMPARE(question.helpContext, 0);
        QCOMPARE(FUi->lastText(), QStringLiteral("5 Datensätze nach liste.txt exportiert."));
        QCOMPARE(fileBytes(path(QStringLiteral("liste.txt"))), reference(*SchuelerData, exSpace, voll));
    }

    void projectsGetNoQuestion()
    {
        MainForm->ActivateEditor(dtPro);
        FUi->queueFiles({path(QStringLiteral("projekte"))}, 3);
        command("ExportAct");
        QCOMPARE(FUi->texts(), QStringList{"3 Datensätze nach projekte.HTML exportiert."});
        QCOMPARE(fileBytes(path(QStringLiteral("projekte.HTML"))), reference(*ProjektData, exHtml, false));
    }

    void theHtmlExportDeclaresItsCharacterSet()
    {
        openPupils();
        FUi->queueFiles({path(QStringLiteral("liste"))}, 3);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->lastText(), QStringLiteral("5 Datensätze nach liste.HTML exportiert."));
        const QByteArray bytes = fileBytes(path(QStringLiteral("liste.HTML")));
        const qsizetype head = bytes.indexOf("<HEAD>");
        const qsizetype meta = bytes.indexOf("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">");
        QVERIFY(head >= 0);
        QVERIFY2(meta > head && meta < bytes.indexOf("</HEAD>"), bytes.left(400).constData());
        // And the bytes are that character set: "ü" is one byte, 0xFC.
        QVERIFY(bytes.contains("M\xfcller, J\xf6rg"));
    }

    void anExistingFileIsReplacedWithoutQuestion()
    {
        openPupils();
        writeLines(path(QStringLiteral("liste.TXT")), {QStringLiteral("alt")});
        FUi->queueFiles({path(QStringLiteral("liste"))}, 1);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, "5 Datensätze nach liste.TXT exportiert."}));
        QCOMPARE(fileBytes(path(QStringLiteral("liste.TXT"))), reference(*SchuelerData, exSpace, false));
    }

    void anEmptiedListExportsWhatTheEditorHolds()
    {
        // An editor over an empty list holds one new empty record.
        ProjektData->ClearData();
        MainForm->ActivateEditor(dtPro);
        QCOMPARE(ProjektData->Anz(), 1);
        FUi->clear();
        FUi->queueFiles({path(QStringLiteral("leer"))}, 1);
        command("ExportAct");
        QCOMPARE(FUi->texts(), QStringList{"1 Datensätze nach leer.TXT exportiert."});
        const QByteArray bytes = fileBytes(path(QStringLiteral("leer.TXT")));
        QVERIFY(bytes.startsWith("**** zuv Projekttags-Sch\xfclereinteilung ****\r\n"
                                 "Nr/Name/Teilnehmer/Klassen/mw/gesperrt\r\n"));
        QCOMPARE(bytes, reference(*ProjektData, exSpace, false));
    }

    // A pupil file opened beside a project file that lacks some of its
    // projects: the numbers stay as read, and those pupils are counted,
    // printed and exported on project 0 with the unassigned ones.
    void staleProjectNumbersStandOnProjectZero_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("print") << "print";
        QTest::newRow("text export") << "text";
        QTest::newRow("HTML export") << "html";
    }

    void staleProjectNumbersStandOnProjectZero()
    {
        QFETCH(QString, how);
        const QString pro = path(QStringLiteral("zwei.PRO"));
        const QString ein = path(QStringLiteral("klasse.EIN"));
        writeLines(pro, {QStringLiteral("1; Theater; 5; 10; 1; 20; -; -; 0; "),
                         QStringLiteral("2; Chor; 5; 10; 1; 20; -; -; 0; ")});
        writeLines(ein, {QStringLiteral("Adam, Ben; m; 7; a; -; 1; 2; 0; 0; 0; 1; "),
                         QStringLiteral("Berg, Clara; w; 7; a; -; 3; 1; 0; 0; 0; 3; "),
                         QStringLiteral("Cohn, Dana; w; 8; b; -; 2; 0; 0; 0; 0; 0; "),
                         QStringLiteral("Dorn, Emil; m; 8; b; -; 6; 2; 0; 0; 0; 6; "),
                         QStringLiteral("Eck, Fritz; m; 7; a; -; 2; 1; 0; 0; 0; 2; ")});
        SchuelerData->ClearData();
        ProjektData->ClearData();
        FUi->queueFiles({pro}, 1);
        command("OpenProAct");
        FUi->queueFiles({ein}, 1);
        command("OpenEintAct");
        QCOMPARE(FUi->lastText(), QStringLiteral("5 Einteilung-Datensätze gelesen."));
        FUi->clear();
        QCOMPARE(ProjektData->Anz(), 2);
        QCOMPARE(SchuelerData->Anz(), 5);
        // Read as they stand.
        QCOMPARE(SchuelerData->getNr(2)->zuteil, 3);
        QCOMPARE(SchuelerData->getNr(4)->zuteil, 6);
        QCOMPARE(SchuelerData->getNr(4)->wahl[1], 6);
        QVERIFY(!SchuelerData->getModified());
        // Every pupil is counted once: three on project 0.
        QCOMPARE(MainForm->panelText(2), QStringLiteral("2 eingeteilt"));
        TGridWidget* pg = MainForm->ProjekteGrid;
        QCOMPARE(pg->rowCount(), 4);
        QCOMPARE(pg->cell(2, 1), QStringLiteral("3"));
        QCOMPARE(pg->cell(2, 2), QStringLiteral("1"));
        QCOMPARE(pg->cell(2, 3), QStringLiteral("1"));
        TGridWidget* sg = MainForm->SchuelerGrid;
        QCOMPARE(sg->rowTexts(1), (QStringList{" 7a", "3", "2", "2"}));
        QCOMPARE(sg->rowTexts(2), (QStringList{" 8b", "2", "0", "0"}));

        const QStringList zero{QStringLiteral("Berg, Clara"), QStringLiteral("Cohn, Dana"),
                               QStringLiteral("Dorn, Emil")};
        openPupils(sc_P_N);
        if (how == QLatin1String("print")) {
            answerPrintDialog(true);
            FUi->queueAnswer(TModalResult::mrNo);
            command("PrintAct");
            QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
            QCOMPARE(FPrinter->documentsEnded, 1);
            // One page per category, project 0 first and once.
            QCOMPARE(FPrinter->pages.size(), 3);
            const QStringList first = FPrinter->pageTexts(1);
            QVERIFY(first.contains(QStringLiteral("Nicht/ungültig gewählt")));
            for (const QString& name : zero)
                QVERIFY2(first.contains(name), qPrintable(name));
            QVERIFY(!first.contains(QStringLiteral("Adam, Ben")));
            QVERIFY(FPrinter->pageTexts(2).contains(QStringLiteral("Adam, Ben")));
            QVERIFY(FPrinter->pageTexts(3).contains(QStringLiteral("Eck, Fritz")));
            return;
        }
        const bool html = how == QLatin1String("html");
        const QString file = path(html ? QStringLiteral("liste.HTML") : QStringLiteral("liste.TXT"));
        writeLines(file, {QStringLiteral("alt")});
        FUi->queueFiles({file}, html ? 3 : 1);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, QStringLiteral("5 Datensätze nach %1 exportiert.")
                                                          .arg(QFileInfo(file).fileName())}));
        const QStringList lines = Ansi::decode(fileBytes(file)).split(QStringLiteral("\r\n"));
        const QString heading = html ? QStringLiteral("<H3>Nicht/ungültig gewählt</H3>")
                                     : QStringLiteral("*** Nicht/ungültig gewählt ***");
        QCOMPARE(lines.count(heading), 1);
        const qsizetype at = lines.indexOf(heading);
        // The pupils of project 0 follow their heading, before project 1's
        // (the list matches whole lines).
        const qsizetype next = html ? lines.indexOf(QRegularExpression(QStringLiteral("<H3>Projekt 1: .*")))
                                    : lines.indexOf(QRegularExpression(QStringLiteral("\\*\\*\\* Projekt 1: .*")));
        QVERIFY(at >= 0 && next > at);
        for (const QString& name : zero) {
            const qsizetype row = lines.indexOf(QRegularExpression(QLatin1String("(<TR> <TD>)?")
                                                                   + QRegularExpression::escape(name) + ".*"));
            QVERIFY2(row > at && row < next, qPrintable(name));
        }
    }

    // Sorted by project, then name, the list keeps its order while the
    // assignments change; print and export bring it into order again, so
    // that every project comes once and in order, and the editors show it.
    void changedAssignmentsComeInOrder_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("view");
        QTest::addColumn<bool>("print");
        const struct {
            const char* change;
            bool view;
        } changes[] = {{"automatic run", false}, {"placed by hand", false}, {"row edited", false},
                       {"project deleted", false}, {"automatic run", true}, {"placed by hand", true},
                       {"project deleted", true}};
        for (const auto& c : changes)
            for (const bool print : {true, false})
                QTest::addRow("%s%s, %s", c.change, c.view ? " in an extract" : "", print ? "print" : "export")
                    << QString::fromLatin1(c.change) << c.view << print;
    }

    void changedAssignmentsComeInOrder()
    {
        QFETCH(QString, change);
        QFETCH(bool, view);
        QFETCH(bool, print);
        TEditor* editor = openPupils(sc_NotSorted);
        if (view) {
            // Every pupil: the filter dialog as it stands.
            QTimer::singleShot(0, SchFilterDialog, [] { SchFilterDialog->OKButton->click(); });
            command("AuszugAct");
            editor = MainForm->activeEditor();
            QVERIFY(editor && !editor->Editable());
        }
        command("mbSortPN");
        auto* list = static_cast<TSchuelerData*>(editor->getData());
        QCOMPARE(list->getSort(), sc_P_N);
        const QStringList names = namesOf(*list);
        const auto rowOf = [&](const QString& name) { return int(namesShown(*editor).indexOf(name)) + 1; };
        const auto pupil = [](const QString& name) {
            return SchuelerData->getNr(int(namesOf(*SchuelerData).indexOf(name)) + 1);
        };

        if (change == QLatin1String("automatic run")) {
            QTimer::singleShot(0, EintDialog, [] {
                QTest::mouseClick(EintDialog->findChild<QPushButton*>(QStringLiteral("Start")), Qt::LeftButton);
            });
            command("AutoEinteilAct");
            QCOMPARE(SchuelerData->getEintAnz(), 5);
        } else if (change == QLatin1String("placed by hand")) {
            QVERIFY(editor->grid()->setCurrentCell(0, rowOf(QStringLiteral("Müller, Jörg"))));
            QTimer::singleShot(0, HandDialog, [] {
                HandDialog->findChild<QRadioButton*>(QStringLiteral("Opt2"))->click();
                HandDialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            });
            command("HandEintAct");
            QCOMPARE(pupil(QStringLiteral("Müller, Jörg"))->zuteil, 2);
        } else if (change == QLatin1String("row edited")) {
            // Storing a row takes the pupil out of its project.
            QLineEdit* cell = typeOverCell(editor->grid(), 2, rowOf(QStringLiteral("Weiß, Anna")), QStringLiteral("6"));
            QVERIFY(cell);
            QTest::keyClick(cell, Qt::Key_Return);
            QCOMPARE(pupil(QStringLiteral("Weiß, Anna"))->jgst, 6);
            QCOMPARE(pupil(QStringLiteral("Weiß, Anna"))->zuteil, 0);
        } else {
            // Chor goes: its pupil to project 0, Töpfern's become project 2.
            MainForm->ActivateEditor(dtPro);
            QVERIFY(MainForm->activeEditor()->grid()->setCurrentCell(1, 2));
            FUi->queueAnswer(TModalResult::mrYes);
            command("DeleteAct");
            QCOMPARE(ProjektData->Anz(), 2);
            MainForm->activateEditor(editor);
        }
        QCOMPARE(MainForm->activeEditor(), editor);
        const QStringList expected = categoriesByProject(*list);
        QStringList inOrder;
        for (const TSchueler* s : byProject(*list))
            inOrder.append(s->name);
        // The change left the list out of order.
        QVERIFY(namesOf(*list) != inOrder);
        // As if saved now: sorting is no change to save.
        SchuelerData->ModSaved(SchuelerData->getFilename());
        MainFormHandler->UpdateStatusBar();
        FUi->clear();

        FUi->queueAnswer(TModalResult::mrNo);
        if (print) {
            answerPrintDialog(true);
            command("PrintAct");
            QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
            QCOMPARE(categoriesPrinted(*FPrinter, names), expected);
            QCOMPARE(int(FPrinter->pages.size()), int(expected.size()));
        } else {
            FUi->queueFiles({path(QStringLiteral("liste"))}, 1);
            command("ExportAct");
            QCOMPARE(FUi->texts(), (QStringList{Question, "5 Datensätze nach liste.TXT exportiert."}));
            QCOMPARE(categoriesExported(fileBytes(path(QStringLiteral("liste.TXT"))), names), expected);
        }
        // The list stands in that order now, still by project, then name,
        // and the editor shows it; nothing counts as changed.
        QCOMPARE(list->getSort(), sc_P_N);
        QCOMPARE(namesOf(*list), inOrder);
        QCOMPARE(namesShown(*editor), inOrder);
        QVERIFY(!SchuelerData->getModified());
        QCOMPARE(MainForm->panelText(1), QStringLiteral("5 Schüler"));
    }

    // Sorted "Klasse, dann Name", a class is one category whatever the case
    // of its department, and a department of one blank is none: each class
    // once, under the class text of its first pupil, in print on a page of
    // its own; the class overview counts each class in one row.
    void aClassComesOnceWhateverTheCaseOfItsDepartment_data()
    {
        QTest::addColumn<int>("filter");   // of the export dialog; 0 prints
        QTest::newRow("text with blanks") << 1;
        QTest::newRow("text with TABs") << 2;
        QTest::newRow("HTML") << 3;
        QTest::newRow("print") << 0;
    }

    void aClassComesOnceWhateverTheCaseOfItsDepartment()
    {
        QFETCH(int, filter);
        SchuelerData->ClearData();
        const QList<QPair<QString, QString>> pupils{
            {"Zoe", "a"}, {"Bauer", "A"}, {"Özil", "a"}, {"Anton", ""}, {"Berta", " "}, {"Clara", ""}, {"Adam", "A"}};
        QStringList names;
        for (const auto& [name, abt] : pupils) {
            addSchueler(*SchuelerData, name, 5, abt, 1);
            names << name;
        }
        addSchueler(*SchuelerData, QStringLiteral("Emil"), 6, QStringLiteral("b"), 1);
        names << QStringLiteral("Emil");
        MainFormHandler->UpdateAll();   // as after reading the list
        MainForm->ActivateEditor(dtSch);
        command("mBSortKl");
        QCOMPARE(SchuelerData->getSort(), sc_Kl_N);

        QStringList overview;
        const TGridWidget* grid = MainForm->SchuelerGrid;
        for (int r = 1; r < grid->rowCount(); ++r)
            overview << UpperAscii(grid->rowTexts(r).value(0).trimmed()) + QLatin1Char(' ') + grid->rowTexts(r).value(1);
        QCOMPARE(overview, (QStringList{"5 3", "5A 4", "6B 1"}));

        // Headings ("#" and their text) and names in the order shown.
        QStringList shown;
        QList<int> pages;   // of the headings, in print
        FUi->queueAnswer(TModalResult::mrNo);
        if (filter == 0) {
            answerPrintDialog(true);
            command("PrintAct");
            QCOMPARE(FUi->lastText(), Sent);
            for (int page = 1; page <= int(FPrinter->pages.size()); ++page)
                for (const QString& t : FPrinter->pageTexts(page)) {
                    if (t.startsWith(QLatin1String("Klasse "))) {
                        shown << QLatin1Char('#') + t;
                        pages << page;
                    } else if (names.contains(t)) {
                        shown << t;
                    }
                }
        } else {
            FUi->queueFiles({path(QStringLiteral("klassen"))}, filter);
            command("ExportAct");
            const QString file = path(filter == 3 ? QStringLiteral("klassen.HTML") : QStringLiteral("klassen.TXT"));
            QCOMPARE(FUi->lastText(), QStringLiteral("8 Datensätze nach %1 exportiert.").arg(QFileInfo(file).fileName()));
            const QRegularExpression heading(filter == 3 ? QStringLiteral("^<H3>(.*)</H3>$")
                                                         : QStringLiteral("^\\*\\*\\* (.*) \\*\\*\\*$"));
            const QRegularExpression name(filter == 3 ? QStringLiteral("^<TR> <TD>(.*?)</TD>")
                                                      : QStringLiteral("^(.*?)(  |\t)"));
            for (const QString& line : Ansi::decode(fileBytes(file)).split(QStringLiteral("\r\n"))) {
                if (const QRegularExpressionMatch m = heading.match(line); m.hasMatch())
                    shown << QLatin1Char('#') + m.captured(1);
                else if (const QRegularExpressionMatch n = name.match(line); n.hasMatch() && names.contains(n.captured(1)))
                    shown << n.captured(1);
            }
        }
        QCOMPARE(shown, (QStringList{"#Klasse  5", "Anton", "Berta", "Clara", "#Klasse  5A", "Adam", "Bauer", "Zoe",
                                     "Özil", "#Klasse  6b", "Emil"}));
        if (filter == 0)
            QCOMPARE(pages, (QList<int>{1, 2, 3}));
    }

    // Each says why, as the system does; a folder of the name is refused
    // by the file itself.
    void unwritableTargets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");    // the name with its extension
        QTest::addColumn<int>("errorCode");   // 0: a reason of the file's own
        QTest::newRow("missing folder") << "fehlt/liste" << "fehlt/liste.TXT" << ENOENT;
        QTest::newRow("under a file") << "datei.txt/liste" << "datei.txt/liste.TXT" << ENOTDIR;
        QTest::newRow("name of a folder") << "ordner.x" << "ordner.x" << 0;
        QTest::newRow("read-only folder") << "nurlesen/liste" << "nurlesen/liste.TXT" << EACCES;
    }

    void unwritableTargets()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(int, errorCode);
        QDir dir(FDir->path());
        QVERIFY(dir.mkpath(QStringLiteral("ordner.x")));
        QVERIFY(dir.mkpath(QStringLiteral("nurlesen")));
        writeLines(path(QStringLiteral("datei.txt")), {QStringLiteral("alt")});
        QFile::setPermissions(path(QStringLiteral("nurlesen")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (name.startsWith(QLatin1String("nurlesen"))) {
            QFile probe(path(QStringLiteral("nurlesen/probe")));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QSKIP("running with the right to write everywhere");
            }
        }
        openPupils();
        FUi->queueFiles({path(name)}, 1);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->texts().size(), 2);
        const QString start = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden").arg(path(file));
        if (errorCode != 0)
            QCOMPARE(FUi->lastText(), start + becauseOf(errorCode));
        else
            QVERIFY2(FUi->lastText().startsWith(start + QStringLiteral(": "))
                         && FUi->lastText().size() > start.size() + 2,
                     qPrintable(FUi->lastText()));
        QVERIFY(QFileInfo(path(QStringLiteral("ordner.x"))).isDir());
        QVERIFY(!QFile::exists(path(QStringLiteral("nurlesen/liste.TXT"))));
        QCOMPARE(fileBytes(path(QStringLiteral("datei.txt"))), QByteArray("alt\r\n"));

        // The next export works.
        FUi->clear();
        FUi->queueFiles({path(QStringLiteral("liste"))}, 1);
        FUi->queueAnswer(TModalResult::mrNo);
        command("ExportAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, "5 Datensätze nach liste.TXT exportiert."}));
    }

    void aFullDiskKeepsTheOldFile()
    {
        for (int i = 0; i < 400; ++i)
            addSchueler(*SchuelerData, QStringLiteral("Schüler Nummer %1 mit langem Namen").arg(i), 8,
                        QStringLiteral("c"), 2);
        openPupils();
        const QString file = path(QStringLiteral("gross.TXT"));
        writeLines(file, {QStringLiteral("alt")});
        FUi->queueFiles({file}, 1);
        FUi->queueAnswer(TModalResult::mrYes);
        withFileSizeLimit(4096, [] { command("ExportAct"); });
        QCOMPARE(FUi->texts().size(), 2);
        QCOMPARE(FUi->lastText(), QStringLiteral("Fehler beim Schreiben der Datei ") + file + becauseOf(EFBIG));
        QCOMPARE(fileBytes(file), QByteArray("alt\r\n"));
        QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"gross.TXT"});
    }

    // ------------------------------------------------------------ printing

    void printPupils()
    {
        openPupils(sc_P_N);
        answerPrintDialog(true, [] {
            PrintConfDialog->SpacingSelect->setCurrentIndex(5);   // 2.0
            PrintConfDialog->CheckFooter->setChecked(true);
        });
        FUi->queueAnswer(TModalResult::mrYes);
        command("PrintAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
        QCOMPARE(FPrinter->documentsEnded, 1);
        QCOMPARE(FPrinter->title, QStringLiteral("ZUV Projekt/Schülerlisten"));
        // One page per project category: unassigned, Theater, Chor, Töpfern.
        QCOMPARE(FPrinter->pages.size(), 4);
        const QStringList first = FPrinter->pageTexts(1);
        QCOMPARE(first.first(), QStringLiteral("zuv Schülereinteilung"));
        QVERIFY(first.contains(QStringLiteral("Schäfer, Lukas")));
        QVERIFY(first.contains(QStringLiteral("- 1 -")));
        QVERIFY(FPrinter->pageTexts(4).contains(QStringLiteral("- 4 -")));
        // With the choices: five numbers in the last column.
        QVERIFY(first.contains(QStringLiteral("  3,   2,   0,   0,   0")));
        // The dialog's fonts, black, and the spacing 2.0 between two pupils.
        bool heading = false;
        bool standard = false;
        for (const TFontSpec& f : FPrinter->fontChanges) {
            heading |= f.size == 15 && f.bold;
            standard |= f.size == 10 && !f.bold;
            QCOMPARE(f.color, 0x000000u);
        }
        QVERIFY(heading && standard);
        int yMueller = -1;
        int yWeiss = -1;
        for (const auto& [page, t] : FPrinter->allTexts()) {
            if (t.text == QStringLiteral("Müller, Jörg"))
                yMueller = t.y;
            if (t.text == QStringLiteral("Weiß, Anna"))
                yWeiss = t.y;
        }
        QCOMPARE(yWeiss - yMueller, 166);   // 10 points at 600 dpi: 83 pixels, twice
    }

    void printProjectsWithoutQuestion()
    {
        MainForm->ActivateEditor(dtPro);
        answerPrintDialog(true);
        command("PrintAct");
        QCOMPARE(FUi->texts(), QStringList{Sent});
        QCOMPARE(FPrinter->pages.size(), 1);
        const QStringList texts = FPrinter->pageTexts(1);
        QCOMPARE(texts.first(), QStringLiteral("zuv Projekte"));
        QVERIFY(texts.contains(QStringLiteral("Töpfern")));
        QVERIFY(!texts.contains(QStringLiteral("- 1 -")));
    }

    void cancelledPrintDialogPrintsNothing()
    {
        openPupils();
        answerPrintDialog(false);
        command("PrintAct");
        QVERIFY(FUi->messages.isEmpty());
        QCOMPARE(FPrinter->documentsBegun, 0);
    }

    void aFailedPrintIsNeverReportedAsSent_data()
    {
        QTest::addColumn<bool>("refuseBegin");
        QTest::addColumn<bool>("failEnd");
        QTest::addColumn<QString>("error");
        QTest::newRow("begin refused") << true << false << "Der Drucker hat den Druckauftrag abgelehnt.";
        QTest::newRow("end failed") << false << true << "Der Druckauftrag konnte nicht abgeschlossen werden.";
    }

    void aFailedPrintIsNeverReportedAsSent()
    {
        QFETCH(bool, refuseBegin);
        QFETCH(bool, failEnd);
        QFETCH(QString, error);
        openPupils(sc_P_N);
        FPrinter->refuseBegin = refuseBegin;
        FPrinter->failEnd = failEnd;
        answerPrintDialog(true);
        FUi->queueAnswer(TModalResult::mrNo);
        command("PrintAct");
        QCOMPARE(FUi->texts().size(), 2);
        QCOMPARE(FUi->texts()[0], Question);
        QCOMPARE(FUi->lastText(), error);
        QVERIFY(!FUi->texts().contains(Sent));
        QVERIFY(!FPrinter->printing());
        QCOMPARE(FPrinter->documentsEnded, 0);
        QCOMPARE(FPrinter->documentsAborted, 0);

        // The next print works.
        FUi->clear();
        FPrinter->refuseBegin = false;
        FPrinter->failEnd = false;
        answerPrintDialog(true);
        FUi->queueAnswer(TModalResult::mrNo);
        command("PrintAct");
        QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
        QCOMPARE(FPrinter->documentsEnded, 1);
    }

    void noPrinterIsReported()
    {
        FPrinter->installed.clear();
        FPrinter->selected = -1;
        MainForm->ActivateEditor(dtPro);
        QString shown;
        answerPrintDialog(true, [&] { shown = PrintConfDialog->PrinterName->text(); });
        command("PrintAct");
        QCOMPARE(shown, QStringLiteral("(kein Drucker)"));
        QCOMPARE(FUi->texts(), QStringList{"Es ist kein Drucker installiert oder ausgewählt."});
        QCOMPARE(FPrinter->documentsBegun, 0);

        // A PDF file chosen in the printer setup prints.
        FUi->clear();
        FUi->queuePrinterSetup(true, path(QStringLiteral("liste.pdf")));
        answerPrintDialog(true, [] { QTest::mouseClick(PrintConfDialog->SetupButton, Qt::LeftButton); });
        command("PrintAct");
        QCOMPARE(FUi->texts(), QStringList{Sent});
        QCOMPARE(FPrinter->documentsEnded, 1);
    }

    void theQtPrinterWithoutPrinterIsReported()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed; the job would be printed");
        IPrinterDevice* recording = SetPrinter(&QtPrinter());
        QtPrinter().setPdfFile(QString());
        MainForm->ActivateEditor(dtPro);
        QString shown;
        answerPrintDialog(true, [&] { shown = PrintConfDialog->PrinterName->text(); });
        command("PrintAct");
        SetPrinter(recording);
        QCOMPARE(shown, QStringLiteral("(kein Drucker)"));
        QCOMPARE(FUi->texts(), QStringList{"Es ist kein Drucker installiert oder ausgewählt."});
    }

    void aFontThatDoesNotExistPrintsInTheDefaultFace()
    {
        TFontSpec missing;
        missing.name = QStringLiteral("Keine solche Schrift");
        missing.size = 12;
        FUi->queueFont(true, missing);
        MainForm->ActivateEditor(dtPro);
        answerPrintDialog(true, [] { QTest::mouseClick(PrintConfDialog->SFontChoose, Qt::LeftButton); });
        command("PrintAct");
        QCOMPARE(FUi->texts(), QStringList{Sent});
        QCOMPARE(PrintConfDialog->getSFont()->name, missing.name);
        const TFontSpec used = FPrinter->fontChanges.last();
        QCOMPARE(used.name, TFontSpec().name);
        QCOMPARE(used.size, 12);
    }

    void printsIntoAPdfFileThroughTheQtPrinter()
    {
        const QByteArray bytes = printPupilsIntoPdf(path(QStringLiteral("schüler.pdf")));
        QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 4);
    }

    void aFullDiskFailsThePrintKeepsTheOldFileAndTheNextPrintWorks()
    {
        fillLargeSchool();
        const QString pdf = path(QStringLiteral("schule.pdf"));
        writeLines(pdf, {QStringLiteral("alt")});
        printIntoPdf(pdf, true, {}, 8192);
        QCOMPARE(FUi->texts(),
                 (QStringList{Question, QStringLiteral("Fehler beim Schreiben der Datei ") + pdf + becauseOf(EFBIG)}));
        QCOMPARE(fileBytes(pdf), QByteArray("alt\r\n"));
        QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"schule.pdf"});

        // Printed again with room on the disk: the whole school, complete.
        FUi->clear();
        const QByteArray bytes = printIntoPdf(pdf, true);
        QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        QVERIFY2(bytes.count("/Type /Page") - bytes.count("/Type /Pages") > 41, bytes.left(100).constData());
        QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"schule.pdf"});
        const QString text = pdfTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        if (!text.isNull())
            QVERIFY(text.contains(QStringLiteral("S0800")));
    }

    // A short print stays in the file's buffer until the file is put in
    // place: the disk found full only then is reported with its reason too.
    void aFullDiskAtTheEndOfAShortPrintNamesTheReason()
    {
        const QString pdf = path(QStringLiteral("liste.pdf"));
        writeLines(pdf, {QStringLiteral("alt")});
        printIntoPdf(pdf, false, {}, 100);
        QCOMPARE(FUi->texts(), QStringList{QStringLiteral("Fehler beim Schreiben der Datei ") + pdf + becauseOf(EFBIG)});
        QCOMPARE(fileBytes(pdf), QByteArray("alt\r\n"));
        QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"liste.pdf"});
    }

    void aPrintIntoAFileThatCannotBeCreatedNamesTheFileAndWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("errorCode");
        QTest::newRow("missing folder") << "fehlt/liste.pdf" << ENOENT;
        QTest::newRow("under a file") << "datei.txt/liste.pdf" << ENOTDIR;
    }

    void aPrintIntoAFileThatCannotBeCreatedNamesTheFileAndWhy()
    {
        QFETCH(QString, name);
        QFETCH(int, errorCode);
        writeLines(path(QStringLiteral("datei.txt")), {QStringLiteral("alt")});
        const QString pdf = path(name);
        printIntoPdf(pdf, false);
        QCOMPARE(FUi->texts(),
                 QStringList{QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden").arg(pdf) + becauseOf(errorCode)});
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(fileBytes(path(QStringLiteral("datei.txt"))), QByteArray("alt\r\n"));

        FUi->clear();
        const QByteArray bytes = printIntoPdf(path(QStringLiteral("liste.pdf")), false);
        QCOMPARE(FUi->texts(), QStringList{Sent});
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
    }

    // The project list at the fonts the program starts with: every heading
    // and every value whole, whatever the project admits.
    void theProjectListPrintsWholeAtTheStartingFonts_data()
    {
        QTest::addColumn<bool>("girls");
        QTest::addColumn<bool>("boys");
        QTest::addColumn<QString>("admitted");
        QTest::newRow("boys only") << false << true << "nur maennl";
        QTest::newRow("girls only") << true << false << "nur weibl";
        QTest::newRow("neither") << false << false << "nur fest";
    }
    void theProjectListPrintsWholeAtTheStartingFonts()
    {
        QFETCH(bool, girls);
        QFETCH(bool, boys);
        QFETCH(QString, admitted);
        addProjekt(QStringLiteral("Fußball"));
        TProjekt* p = ProjektData->getNr(ProjektData->Anz());
        p->weib = girls;
        p->maenn = boys;
        p->gesp = true;
        p->jgmin = 10;
        p->jgmax = 13;
        p->teilnmax = 1000;
        MainForm->ActivateEditor(dtPro);
        answerPrintDialog(true);
        command("PrintAct");
        QCOMPARE(FUi->texts(), QStringList{Sent});
        QStringList cut;
        checkTextsKeepToTheirRoom(*FPrinter, cut);
        QCOMPARE(cut, QStringList());
        const QStringList texts = FPrinter->pageTexts(1);
        for (const QString& t : {QStringLiteral("Nr"), QStringLiteral("Name"), QStringLiteral("Teilnehmer"),
                                 QStringLiteral("Klassen"), QStringLiteral("mw"), QStringLiteral("gesperrt"),
                                 QStringLiteral("Fußball"), QStringLiteral("  2--1000"), QStringLiteral(" 10-- 13"),
                                 admitted})
            QVERIFY2(texts.contains(t), qPrintable(t + QLatin1String(" not in ") + texts.join(u'|')));
    }

    // The project columns at the starting fonts on A4, in each of the usual
    // faces measured at the printer's resolution: every heading whole, a
    // blank before the next one; every value of a row of the widest values
    // whole, and names of 30 characters, each starting under its heading.
    void theProjectColumnsHoldTheirTextsInTheUsualFaces_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("Liberation Sans") << "Liberation Sans";
        QTest::newRow("DejaVu Sans") << "DejaVu Sans";
    }

    void theProjectColumnsHoldTheirTextsInTheUsualFaces()
    {
        QFETCH(QString, face);
        if (!QFontDatabase::hasFamily(face))
            QSKIP("the face is not installed");
        // Names of 30 characters, the last the widest of them.
        const QStringList names{"Theater-AG der Unterstufe 5-7", "Fotografie und Bildbearbeitung",
                                "Töpfern und Gärtnern im Garten", "Kochen und Backen mit Freunden",
                                "Mädchenfußball Wettkampfgruppe", "Programmieren mit dem Computer"};
        ProjektData->ClearData();
        for (const QString& name : names) {
            addProjekt(name);
            TProjekt* p = static_cast<TProjekt*>(ProjektData->getNr(ProjektData->Anz()));
            p->teilnmin = p->teilnmax = 1000;
            p->jgmin = p->jgmax = 13;
            p->weib = false;
            p->gesp = true;
        }
        MainForm->ActivateEditor(dtPro);
        answerPrintDialog(true);
        command("PrintAct");
        QCOMPARE(FUi->texts(), QStringList{Sent});

        // The columns as the program prints them: where the headings and
        // the values of the last row start.
        const QStringList headings{"Nr", "Name", "Teilnehmer", "Klassen", "mw", "gesperrt"};
        const QList<QPair<int, TPrintedText>> all = FPrinter->allTexts();
        QList<int> headingColumns;
        for (const QString& heading : headings)
            for (const auto& [page, t] : all)
                if (t.text == heading && t.font.bold)
                    headingColumns << t.x;
        QCOMPARE(headingColumns.size(), headings.size());
        int lastRow = -1;
        for (const auto& [page, t] : all)
            if (t.text.startsWith(u"Programmieren"))
                lastRow = t.y;
        QList<int> valueColumns;
        for (const auto& [page, t] : all)
            if (t.y == lastRow)
                valueColumns << t.x;
        QCOMPARE(valueColumns.size(), headings.size());
        const int rightMargin = TRecordingPrinter::PageWidthPx - headingColumns.first();
        headingColumns << rightMargin;
        valueColumns << rightMargin;
        for (int c = 0; c < headings.size(); ++c)
            QVERIFY2(valueColumns[c] >= headingColumns[c] && valueColumns[c] < headingColumns[c + 1],
                     qPrintable(headings[c]));

        const QList<QStringList> values{{"255"}, names, {"1000--1000"}, {" 13-- 13"}, {"nur maennl"}, {"gesperrt"}};
        QList<QStringList> heads;
        for (const QString& h : headings)
            heads << QStringList{h};
        const QStringList wide = tooWide(face, PrintConfDialog->getHFont()->size, true, headingColumns, heads)
                                 + tooWide(face, PrintConfDialog->getSFont()->size, false, valueColumns, values);
        QVERIFY2(wide.isEmpty(), qPrintable(wide.join(u'\n')));
    }

    // The pupil columns as well: a long name, a class with a department of
    // letters, the highest project number and the five choices.
    void thePupilColumnsHoldTheirTextsInTheUsualFaces_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("Liberation Sans") << "Liberation Sans";
        QTest::newRow("DejaVu Sans") << "DejaVu Sans";
    }

    void thePupilColumnsHoldTheirTextsInTheUsualFaces()
    {
        QFETCH(QString, face);
        if (!QFontDatabase::hasFamily(face))
            QSKIP("the face is not installed");
        SchuelerData->ClearData();
        const QString name = QStringLiteral("Müller-Lüdenscheidt, Anna-Katharina");
        addSchueler(*SchuelerData, name, 13, QStringLiteral("BIO"), 255);
        TSchueler* s = SchuelerData->getNr(1);
        for (int r = 1; r <= 5; ++r)
            s->wahl[r] = 255;
        openPupils(sc_Kl_N);
        answerPrintDialog(true);
        FUi->queueAnswer(TModalResult::mrYes);
        command("PrintAct");
        QCOMPARE(FUi->lastText(), Sent);
        const QStringList texts{name, "13BIO", "255", "255, 255, 255, 255, 255"};
        QList<int> columns;
        for (const QString& text : texts)
            for (const auto& [page, t] : FPrinter->allTexts())
                if (t.text == text)
                    columns << t.x;
        QCOMPARE(columns.size(), texts.size());
        columns << TRecordingPrinter::PageWidthPx - columns.first();
        QList<QStringList> perColumn;
        for (const QString& text : texts)
            perColumn << QStringList{text};
        const QStringList wide = tooWide(face, PrintConfDialog->getSFont()->size, false, columns, perColumn);
        QVERIFY2(wide.isEmpty(), qPrintable(wide.join(u'\n')));
    }

    // A PDF is laid out on the whole sheet, as every printer is: its
    // margins are the page printer's, a twelfth of the sheet's width.
    void aPdfHasTheMarginsOfTheSheet()
    {
        const QString pdf = path(QStringLiteral("projekte.pdf"));
        printIntoPdf(pdf, false);
        QCOMPARE(FUi->texts(), QStringList{Sent});
        const QString bbox = pdfTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        if (bbox.isNull())
            QSKIP("pdftotext is not installed");
        const QList<TPdfWord> words = pdfWords(bbox).value(0);
        QVERIFY(!words.isEmpty());
        const double margin = QtPrinter().qprinter().pageLayout().fullRect(QPageLayout::Point).width() / 12;
        double left = words.first().xMin;
        for (const TPdfWord& w : words)
            left = std::min(left, w.xMin);
        QVERIFY2(qAbs(left - margin) < 1, qPrintable(QStringLiteral("%1 instead of %2").arg(left).arg(margin)));
    }

    void printedTextsKeepToTheirRoom_data()
    {
        QTest::addColumn<bool>("pupils");
        QTest::addColumn<int>("headingSize");
        QTest::addColumn<QStringList>("cutStarts");   // texts too long for their room
        QTest::addColumn<QStringList>("whole");       // texts that fit
        QTest::newRow("pupils, heading at 20 pt")
            << true << 20 << QStringList{"Müller-Lüdenscheidt", "Projekt 4: Töpfern und Gärtnern im Schulgarten"}
            << QStringList{" 8d", "4", "zuv Schülereinteilung", "Schäfer, Lukas"};
        QTest::newRow("projects, heading at 15 pt")
            << false << 15 << QStringList{"Töpfern und Gärtnern im"}
            << QStringList{"Nr", "Name", "Teilnehmer", "Klassen", "mw", "gesperrt", "Töpfern"};
        QTest::newRow("projects, heading at 20 pt")
            << false << 20 << QStringList{"Te", "Kl", "ge", "Töpfern und Gärtnern im"}
            << QStringList{"Nr", "Name", "mw", "Töpfern"};
    }

    void printedTextsKeepToTheirRoom()
    {
        QFETCH(bool, pupils);
        QFETCH(int, headingSize);
        QFETCH(QStringList, cutStarts);
        QFETCH(QStringList, whole);
        addLongTexts();
        if (pupils)
            openPupils(sc_P_N);
        else
            MainForm->ActivateEditor(dtPro);
        FUi->queueFont(true, headingAt(headingSize));
        answerPrintDialog(true, [] { QTest::mouseClick(PrintConfDialog->HFontChoose, Qt::LeftButton); });
        if (pupils)
            FUi->queueAnswer(TModalResult::mrYes);
        command("PrintAct");
        QCOMPARE(FUi->lastText(), Sent);
        QStringList cut;
        checkTextsKeepToTheirRoom(*FPrinter, cut);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(cut.size(), cutStarts.size());
        for (const QString& start : cutStarts) {
            const auto found = std::find_if(cut.begin(), cut.end(), [&](const QString& t) { return t.startsWith(start); });
            QVERIFY2(found != cut.end(), qPrintable(start + QLatin1String(" not cut in ") + cut.join(u'|')));
        }
        // A text cut is the start of what was to be printed.
        for (const QString& t : cut) {
            const QString kept = t.chopped(1);
            const TProjekt* project = ProjektData->getNr(ProjektData->Anz());
            const bool ofName = LongName.startsWith(kept) || project->name.startsWith(kept);
            const bool ofHeading = QStringLiteral("Teilnehmer").startsWith(kept) || QStringLiteral("Klassen").startsWith(kept)
                                   || QStringLiteral("gesperrt").startsWith(kept) || project->ToString().startsWith(kept);
            QVERIFY2(ofName || ofHeading, qPrintable(t));
        }
        QStringList drawn;
        for (const auto& [page, t] : FPrinter->allTexts())
            drawn.append(t.text);
        for (const QString& t : whole)
            QVERIFY2(drawn.contains(t), qPrintable(t));
    }

    void printedPdfWordsDoNotOverlap_data()
    {
        QTest::addColumn<bool>("pupils");
        QTest::addColumn<int>("headingSize");
        QTest::newRow("pupils, heading at 20 pt") << true << 20;
        QTest::newRow("projects, heading at 15 pt") << false << 15;
        QTest::newRow("projects, heading at 20 pt") << false << 20;
    }

    void printedPdfWordsDoNotOverlap()
    {
        QFETCH(bool, pupils);
        QFETCH(int, headingSize);
        addLongTexts();
        const QString pdf = path(QStringLiteral("lang.pdf"));
        TFontSpec heading = *PrintConfDialog->getHFont();
        heading.size = headingSize;
        FUi->queueFont(true, heading);
        printIntoPdf(pdf, pupils, [] { QTest::mouseClick(PrintConfDialog->HFontChoose, Qt::LeftButton); });
        QCOMPARE(FUi->lastText(), Sent);
        const QString bbox = pdfTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        if (bbox.isNull())
            QSKIP("pdftotext is not installed");
        const double pageWidth = QtPrinter().qprinter().pageLayout().fullRect(QPageLayout::Point).width();
        int cut = 0;
        bool sawLongName = !pupils;
        for (const QList<TPdfWord>& page : pdfWords(bbox)) {
            // Words on one line, left to right, each ends before the next begins.
            QMap<int, QList<TPdfWord>> lines;
            for (const TPdfWord& w : page)
                lines[qRound(w.yMin * 10)].append(w);
            for (QList<TPdfWord>& line : lines) {
                std::sort(line.begin(), line.end(), [](const TPdfWord& a, const TPdfWord& b) { return a.xMin < b.xMin; });
                for (qsizetype i = 0; i < line.size(); ++i) {
                    QVERIFY2(line[i].xMax <= pageWidth, qPrintable(line[i].text));
                    if (i + 1 < line.size())
                        QVERIFY2(line[i].xMax <= line[i + 1].xMin,
                                 qPrintable(line[i].text + QLatin1String(" | ") + line[i + 1].text));
                    cut += line[i].text.endsWith(Ellipsis);
                    sawLongName |= line[i].text.startsWith(QStringLiteral("Müller-Lüdenscheidt"));
                }
            }
        }
        QVERIFY(sawLongName);
        QVERIFY(cut > 0);
    }

    void theSamplesShowTheFacesThatGetPrinted_data()
    {
        QTest::addColumn<QString>("face");   // empty: the fonts the program starts with
        QTest::newRow("first fonts") << QString();
        QTest::newRow("Courier New") << "Courier New";
        QTest::newRow("Times New Roman") << "Times New Roman";
        QTest::newRow("no such face") << "Keine solche Schrift";
        QTest::newRow("the machine's serif face") << QFontInfo(QFont(QStringLiteral("serif"))).family();
    }

    void theSamplesShowTheFacesThatGetPrinted()
    {
        QFETCH(QString, face);
        if (!face.isEmpty()) {
            TFontSpec heading = headingAt(15);
            heading.name = face;
            TFontSpec standard;
            standard.name = face;
            FUi->queueFont(true, heading);
            FUi->queueFont(true, standard);
        }
        // Each dialog started again: it starts from the face of its sample.
        FUi->queueFont(false);
        FUi->queueFont(false);
        QStringList samples;
        QStringList starts;
        const QString pdf = path(QStringLiteral("schrift.pdf"));
        printIntoPdf(pdf, false, [&] {
            if (!face.isEmpty()) {
                QTest::mouseClick(PrintConfDialog->HFontChoose, Qt::LeftButton);
                QTest::mouseClick(PrintConfDialog->SFontChoose, Qt::LeftButton);
            }
            FUi->fontStarts.clear();
            QTest::mouseClick(PrintConfDialog->HFontChoose, Qt::LeftButton);
            QTest::mouseClick(PrintConfDialog->SFontChoose, Qt::LeftButton);
            for (const QLabel* label : {PrintConfDialog->HFontLabel, PrintConfDialog->SFontLabel})
                samples.append(postScriptName(QRawFont::fromFont(label->font())));
            for (const TFontSpec& start : FUi->fontStarts)
                starts.append(postScriptName(QRawFont::fromFont(TQtUi::toQFont(start))));
        });
        QCOMPARE(FUi->lastText(), Sent);
        QCOMPARE(starts, samples);
        const QString fonts = pdfTool(QStringLiteral("pdffonts"), {pdf});
        if (fonts.isNull())
            QSKIP("pdffonts is not installed");
        const QStringList faces = embeddedFaces(fonts);
        for (const QString& sample : samples)
            QVERIFY2(embeds(faces, sample), qPrintable(sample + QLatin1String(" not in\n") + fonts));
    }

    void theHeadingSampleStaysInItsGroup_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("15 pt") << 15;
        QTest::newRow("20 pt") << 20;
        QTest::newRow("36 pt") << 36;
    }

    void theHeadingSampleStaysInItsGroup()
    {
        QFETCH(int, points);
        MainForm->ActivateEditor(dtPro);
        FUi->queueFont(true, headingAt(points));
        QRect label;
        QRect group;
        QString text;
        int needed = 0;
        answerPrintDialog(false, [&] {
            QTest::mouseClick(PrintConfDialog->HFontChoose, Qt::LeftButton);
            const QLabel* sample = PrintConfDialog->HFontLabel;
            label = sample->geometry();
            group = PrintConfDialog->GroupBox1->contentsRect();
            text = sample->text();
            needed = sample->fontMetrics().horizontalAdvance(text);
        });
        command("PrintAct");
        QVERIFY2(label.right() <= group.right(), qPrintable(QStringLiteral("%1 > %2").arg(label.right()).arg(group.right())));
        QVERIFY(needed <= label.width());
        const QString caption = QStringLiteral("Überschriften");
        QVERIFY2(text == caption || (text.endsWith(Ellipsis) && caption.startsWith(text.chopped(1))), qPrintable(text));
    }

    void aLargeSchoolPrintedIntoAPdf()
    {
        fillLargeSchool();
        const QString pdf = path(QStringLiteral("schule.pdf"));
        // The machine's own serif face for the headings: installed wherever
        // the test runs, and another face than the standard font's wherever
        // the machine has a serif one.
        TFontSpec heading;
        heading.name = QFontInfo(QFont(QStringLiteral("serif"))).family();
        heading.size = 16;
        heading.bold = true;
        FUi->queueFont(true, heading);
        const QByteArray bytes = printPupilsIntoPdf(pdf, [] {
            QTest::mouseClick(PrintConfDialog->HFontChoose, Qt::LeftButton);
            PrintConfDialog->SpacingSelect->setCurrentIndex(5);   // 2.0
        });
        QCOMPARE(FUi->texts(), (QStringList{Question, Sent}));
        QVERIFY(bytes.startsWith("%PDF"));
        // 41 categories, each on pages of its own, project 1 on more than one.
        const int pages = int(bytes.count("/Type /Page") - bytes.count("/Type /Pages"));
        QVERIFY2(pages > 41, qPrintable(QString::number(pages)));

        const QString text = pdfTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (text.isNull())
            QSKIP("pdftotext is not installed; the pages were counted only");
        QStringList pageTexts = text.split(QLatin1Char('\f'));
        if (pageTexts.last().trimmed().isEmpty())
            pageTexts.removeLast();
        QCOMPARE(pageTexts.size(), pages);
        for (int i = 0; i < pages; ++i)
            QVERIFY2(pageTexts[i].contains(QRegularExpression(QStringLiteral("-\\s*%1\\s*-\\s*$").arg(i + 1))),
                     qPrintable(pageTexts[i]));
        const QStringList firstLines = pageTexts[0].trimmed().split(QLatin1Char('\n'));
        QCOMPARE(firstLines[0].trimmed(), QStringLiteral("zuv Schülereinteilung"));
        QVERIFY(pageTexts[0].contains(QStringLiteral("Nicht/ungültig gewählt")));
        QVERIFY(pageTexts[1].contains(QStringLiteral("Töpfern und Gärtnern 1")));
        QVERIFY(pageTexts.last().contains(QStringLiteral("Töpfern und Gärtnern")));
        // Every pupil once, in columns: name, class, project, the five choices.
        for (int i = 1; i <= 800; ++i)
            QCOMPARE(text.count(QStringLiteral("S%1").arg(i, 4, 10, QLatin1Char('0'))), 1);
        const QRegularExpression line(QStringLiteral("Weiß, Jörg S0012 +5a +1 +1, *2, *0, *0, *0"));
        QVERIFY2(line.match(text).hasMatch(), qPrintable(pageTexts[1]));

        // The fonts chosen: the heading font and the standard font (in the
        // printer's default face where the machine lacks its own), each
        // embedded as the face that Qt resolves for it on this machine.
        QCOMPARE(PrintConfDialog->getHFont()->name, heading.name);
        const QString fonts = pdfTool(QStringLiteral("pdffonts"), {pdf});
        const QStringList faces = embeddedFaces(fonts);
        for (const TFontSpec* font : {PrintConfDialog->getHFont(), PrintConfDialog->getSFont()}) {
            const QString face = printedFace(*font);
            QVERIFY2(!face.isEmpty(), qPrintable(font->name));
            QVERIFY2(embeds(faces, face), qPrintable(face + QLatin1String(" not in\n") + fonts));
        }
        // The spacing: two pupils one line apart stand 2 x 83 pixels at
        // 600 dpi apart, 19.92 points.
        const QString bbox = pdfTool(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("2"),
                                      QStringLiteral("-l"), QStringLiteral("2"), pdf, QStringLiteral("-")});
        const double top15 = wordTop(bbox, QStringLiteral("S0015"));
        const double top20 = wordTop(bbox, QStringLiteral("S0020"));
        QVERIFY(top15 > 0 && top20 > 0);
        QVERIFY2(qAbs(top20 - top15 - 166 * 72.0 / 600) < 0.05, qPrintable(QString::number(top20 - top15)));
    }

private:
    std::unique_ptr<TScriptedUi> FUi;
    std::unique_ptr<TRecordingPrinter> FPrinter;
    std::unique_ptr<QTemporaryDir> FDir;
    QList<TSchuelerData*> FViews;
};

KESTRIN_TEST_MAIN(TestPrintExport)
#include "tst_printexport.moc"

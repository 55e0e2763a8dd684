// The incremental search window over a pupil editor's grid, offscreen,
// with the scripted seam answering the wrap-around question.

#include "app/UEditor.h"
#include "app/UIncSearch.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"
#include "tests/support/UTextFit.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

namespace {

const QString Question = QStringLiteral("Suchtext nicht gefunden. Suche am Anfang fortsetzen?");

// Also notes the window that a message box would take as its parent.
class TParentUi : public TScriptedUi {
public:
    QList<QWidget*> parents;
    TModalResult messageBox(const TMessage& message) override
    {
        parents.append(QApplication::activeWindow());
        return TScriptedUi::messageBox(message);
    }
};

}   // namespace

class TestIncSearch : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void textsShowWhole_data();
    void textsShowWhole();
    void noGridNoWindow();
    void opensBesideTheNames_data();
    void opensBesideTheNames();
    void letterByLetter();
    void nextAndWrap_data();
    void nextAndWrap();
    void questionOnEveryPass();
    void questionBelongsToMainWindow();
    void umlautsAreNotFolded();
    void headingNeverFound();
    void emptyTextDoesNothing();
    void startBelowFirstRow();
    void escHides();
    void hidesWhenAnotherWindowIsActive();
    void tabKeepsTextUnselected();
    void storesOpenEditFirst();
    void editorClosedUnderSearch();

private:
    // Opens the pupil editor over the given names and starts the search.
    void searchIn(const QStringList& pupils);
    // Letter by letter; keys for ASCII, the edit's input for the rest.
    void type(const QString& text)
    {
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(IncSearch->Enter, c.toLatin1());
            else
                IncSearch->Enter->insert(QString(c));
        }
    }
    int row() const { return FGrid ? FGrid->row() : -1; }

    std::unique_ptr<TScriptedUi> FUi;
    TAppForms FForms;
    QPointer<TEditor> FEditor;
    QPointer<TGridWidget> FGrid;
};

void TestIncSearch::init()
{
    FUi = std::make_unique<TScriptedUi>();
    QVERIFY(FForms.start());
}

void TestIncSearch::cleanup()
{
    FForms.stop();
    FUi.reset();
}

void TestIncSearch::searchIn(const QStringList& pupils)
{
    for (const QString& name : pupils) {
        auto* s = new TSchueler;
        s->name = name;
        s->jgst = 7;
        s->abt = QStringLiteral("a");
        SchuelerData->add(s);
    }
    MainForm->ActivateSchActExecute();
    FEditor = MainForm->activeEditor();
    QVERIFY(FEditor);
    FGrid = FEditor->grid();
    QVERIFY(MainForm->SearchAct->isEnabled());
    MainForm->SearchAct->trigger();
    QVERIFY(IncSearch->isVisible());
    QCOMPARE(IncSearch->grid(), FGrid.data());
}

void TestIncSearch::window()
{
    TIncSearch* w = IncSearch;
    QVERIFY(w && !w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Inkrementelle Suche ..."));
    // Wider only where a caption needs more room at the font in use.
    QVERIFY(w->width() >= 216);
    QCOMPARE(w->height(), 90);
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->Label1->text(), QStringLiteral("Suche"));
    QCOMPARE(w->OkButton->text(), QStringLiteral("OK"));
    QCOMPARE(w->Next->text(), QStringLiteral("Nächster"));
    QVERIFY(w->Next->isDefault());
    QVERIFY(w->Enter->width() >= 129);
    QCOMPARE(w->Enter->x() + w->Enter->width(), w->width() - 15);
    QVERIFY(!w->isModal());
}

void TestIncSearch::textsShowWhole_data()
{
    TextFit::addFontRows();
}

void TestIncSearch::textsShowWhole()
{
    QFETCH(bool, wider);
    // The windows fit their controls when they are made.
    FForms.stop();
    const TextFit::TAppFont font(wider);
    QVERIFY(FForms.start());
    searchIn({"Bauer"});
    QVERIFY(QTest::qWaitForWindowExposed(IncSearch));
    for (QWidget* w : std::initializer_list<QWidget*>{IncSearch->Label1, IncSearch->Next, IncSearch->OkButton}) {
        const QString cut = TextFit::captionCut(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
    }
    const QStringList found = TextFit::overlaps(IncSearch);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
    // "Nächster" below the edit, "OK" at the right.
    QCOMPARE(IncSearch->Next->x(), IncSearch->Enter->x());
    QCOMPARE(IncSearch->OkButton->x() + IncSearch->OkButton->width(), IncSearch->width() - 13);
}

void TestIncSearch::opensBesideTheNames_data()
{
    // An editor as it opens, or one of the given width at the right edge
    // of the client area.
    QTest::addColumn<bool>("projects");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("overview");
    QTest::newRow("pupils, as opened") << false << 0 << true;
    QTest::newRow("pupils at the right edge") << false << 420 << true;
    QTest::newRow("pupils at the right edge, no overview") << false << 420 << false;
    QTest::newRow("wide pupils at the right edge, no overview") << false << 600 << false;
    QTest::newRow("projects, as opened") << true << 0 << true;
    QTest::newRow("projects at the right edge, no overview") << true << 420 << false;
}

void TestIncSearch::opensBesideTheNames()
{
    // The window leaves the caption row, the first rows and the names in
    // view, and stays inside the main window and the screen.
    QFETCH(bool, projects);
    QFETCH(int, width);
    QFETCH(bool, overview);
    for (int i = 1; i <= 40; ++i) {
        if (projects) {
            auto* p = new TProjekt(i);
            p->name = QStringLiteral("Projekt %1").arg(i);
            ProjektData->add(p);
        } else {
            auto* s = new TSchueler;
            s->name = QStringLiteral("Schüler %1").arg(i);
            SchuelerData->add(s);
        }
    }
    if (!overview)
        MainForm->ShowOverviewAct->trigger();
    if (projects)
        MainForm->ActivateProActExecute();
    else
        MainForm->ActivateSchActExecute();
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor);
    if (width > 0) {
        // The client area takes its size from the window's layout first.
        QApplication::processEvents();
        const int areaWidth = MainForm->clientArea()->viewport()->width();
        editor->setGeometry(areaWidth - width, 20, width, 300);
        QApplication::processEvents();
        QCOMPARE(editor->geometry().right(), MainForm->clientArea()->viewport()->width() - 1);
    }
    FGrid = editor->grid();
    FGrid->setTopRow(5);
    MainForm->SearchAct->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(IncSearch));

    const QRect window = IncSearch->frameGeometry();
    QVERIFY(MainForm->geometry().contains(window));
    QVERIFY(MainForm->screen()->availableGeometry().contains(window));
    const QWidget* view = FGrid->viewport();
    const QRect shown(view->mapToGlobal(QPoint(0, 0)), view->size());
    const QWidget* header = FGrid->horizontalHeader();
    QVERIFY2(!window.intersects(QRect(header->mapToGlobal(QPoint(0, 0)), header->size())), "caption row");
    const int nameCol = projects ? 1 : 0;
    for (int row = FGrid->topRow(); row < FGrid->rowCount(); ++row) {
        for (int col = 0; col < FGrid->colCount(); ++col) {
            if (col != nameCol && row >= FGrid->topRow() + 3)
                continue;
            const QRect cell = FGrid->visualRect(FGrid->model()->index(row - 1, col));
            const QRect global = QRect(view->mapToGlobal(cell.topLeft()), cell.size()) & shown;
            QVERIFY2(!window.intersects(global), qPrintable(QStringLiteral("cell %1,%2").arg(col).arg(row)));
        }
    }
}

void TestIncSearch::noGridNoWindow()
{
    IncSearch->show();
    QVERIFY(!IncSearch->isVisible());
}

void TestIncSearch::letterByLetter()
{
    searchIn({"Bauer", "Meier", "Mertens", "Maier"});
    FGrid->setCurrentCell(2, 1);
    QVERIFY(IncSearch->Enter->text().isEmpty());
    type(QStringLiteral("m"));
    QCOMPARE(row(), 2);
    type(QStringLiteral("e"));
    QCOMPARE(row(), 2);
    type(QStringLiteral("r"));
    QCOMPARE(row(), 3);
    // The column stays where the user was.
    QCOMPARE(FGrid->col(), 2);
    QVERIFY(FUi->messages.isEmpty());
}

void TestIncSearch::nextAndWrap_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowAfter");
    QTest::addColumn<bool>("visible");
    QTest::newRow("Ja: from the top") << int(TModalResult::mrYes) << 1 << false;
    QTest::newRow("Nein: stays") << int(TModalResult::mrNo) << 3 << false;
    QTest::newRow("Abbrechen: stays, hidden") << int(TModalResult::mrCancel) << 3 << false;
}

void TestIncSearch::nextAndWrap()
{
    QFETCH(int, answer);
    QFETCH(int, rowAfter);
    QFETCH(bool, visible);
    searchIn({"Anna", "Bernd", "Hanna", "Otto"});
    type(QStringLiteral("anna"));
    QCOMPARE(row(), 1);
    QTest::keyClick(IncSearch->Enter, Qt::Key_Return);   // "Nächster"
    QCOMPARE(row(), 3);
    FUi->queueAnswer(TModalResult(answer));
    IncSearch->Next->click();
    QCOMPARE(FUi->texts(), QStringList({Question}));
    QCOMPARE(FUi->messages.first().type, TMsgType::mtInformation);
    QCOMPARE(FUi->messages.first().buttons, TMsgButtons(mbYes | mbNo | mbCancel));
    QCOMPARE(FUi->messages.first().helpContext, 0);
    QCOMPARE(row(), rowAfter);
    QCOMPARE(IncSearch->isVisible(), visible);
}

void TestIncSearch::questionOnEveryPass()
{
    searchIn({"Anna", "Bernd"});
    FUi->queueAnswer(TModalResult::mrYes);
    FUi->queueAnswer(TModalResult::mrYes);
    FUi->queueAnswer(TModalResult::mrNo);
    type(QStringLiteral("x"));
    QCOMPARE(FUi->texts(), QStringList({Question, Question, Question}));
    QCOMPARE(row(), 1);
}

void TestIncSearch::questionBelongsToMainWindow()
{
    searchIn({"Anna", "Bernd"});
    IncSearch->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(IncSearch));
    TParentUi ui;
    ui.queueAnswer(TModalResult::mrNo);
    type(QStringLiteral("x"));
    QCOMPARE(ui.texts(), QStringList({Question}));
    QCOMPARE(ui.parents, QList<QWidget*>({MainForm}));
    QVERIFY(!IncSearch->isVisible());
}

void TestIncSearch::umlautsAreNotFolded()
{
    searchIn({"ÜBEL", "übel", "Jürgen"});
    FGrid->setRow(3);
    FUi->queueAnswer(TModalResult::mrYes);
    type(QStringLiteral("üb"));
    QCOMPARE(row(), 2);
    QCOMPARE(FUi->texts(), QStringList({Question}));
    // The upper-case umlaut finds only its own row, after the question.
    MainForm->SearchAct->trigger();
    FUi->clear();
    FUi->queueAnswer(TModalResult::mrYes);
    type(QStringLiteral("Ü"));
    QCOMPARE(row(), 1);
    QCOMPARE(FUi->texts(), QStringList({Question}));
}

void TestIncSearch::headingNeverFound()
{
    searchIn({"Anna", "Bernd"});
    FUi->queueAnswer(TModalResult::mrYes);
    FUi->queueAnswer(TModalResult::mrNo);
    IncSearch->Enter->setText(QStringLiteral("Wahl1"));
    QCOMPARE(row(), 1);
    QCOMPARE(FUi->texts().size(), 2);
}

void TestIncSearch::emptyTextDoesNothing()
{
    searchIn({"Anna", "Bernd"});
    FGrid->setRow(2);
    IncSearch->Next->click();
    IncSearch->SearchFrom(100);
    QCOMPARE(row(), 2);
    QVERIFY(FUi->messages.isEmpty());
}

void TestIncSearch::startBelowFirstRow()
{
    searchIn({"Anna", "Bernd"});
    IncSearch->Enter->blockSignals(true);
    IncSearch->Enter->setText(QStringLiteral("anna"));
    IncSearch->Enter->blockSignals(false);
    FGrid->setRow(2);
    IncSearch->SearchFrom(-5);
    QCOMPARE(row(), 1);
    IncSearch->SearchFrom(0);
    QCOMPARE(row(), 1);
    QVERIFY(FUi->messages.isEmpty());
}

void TestIncSearch::escHides()
{
    searchIn({"Anna"});
    QTest::keyClick(IncSearch->Enter, Qt::Key_Escape);
    QVERIFY(!IncSearch->isVisible());
    MainForm->SearchAct->trigger();
    QVERIFY(IncSearch->isVisible());
    IncSearch->OkButton->click();
    QVERIFY(!IncSearch->isVisible());
}

void TestIncSearch::tabKeepsTextUnselected()
{
    searchIn({"Anna", "Bernd"});
    type(QStringLiteral("bern"));
    // The focus coming by Tab selects nothing.
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(IncSearch->Enter, &focus);
    QVERIFY(!IncSearch->Enter->hasSelectedText());
    QCOMPARE(IncSearch->Enter->text(), QStringLiteral("bern"));
}

void TestIncSearch::hidesWhenAnotherWindowIsActive()
{
    searchIn({"Anna"});
    IncSearch->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(IncSearch));
    MainForm->activateWindow();
    QTRY_VERIFY(!IncSearch->isVisible());
}

void TestIncSearch::storesOpenEditFirst()
{
    searchIn({"Anna", "Bernd"});
    IncSearch->hide();
    FGrid->setCurrentCell(0, 1);
    FGrid->setFocus();
    FGrid->beginEdit();
    QVERIFY(FGrid->isEditing());
    FGrid->setCell(0, 1, QStringLiteral("Zora"));
    MainForm->SearchAct->trigger();
    type(QStringLiteral("bernd"));
    QCOMPARE(row(), 2);
    QCOMPARE(SchuelerData->getNr(1)->getName(), QStringLiteral("Zora"));
}

void TestIncSearch::editorClosedUnderSearch()
{
    searchIn({"Anna", "Bernd"});
    type(QStringLiteral("b"));
    QCOMPARE(row(), 2);
    FEditor->close();
    QVERIFY(!IncSearch->isVisible());
    // Typing on after the editor went does nothing.
    IncSearch->show();
    QVERIFY(!IncSearch->isVisible());
    type(QStringLiteral("e"));
    IncSearch->Next->click();
    QVERIFY(!IncSearch->isVisible());
    QTRY_VERIFY(!FEditor);
    type(QStringLiteral("r"));
    IncSearch->SearchFrom(1);
    QVERIFY(FUi->messages.isEmpty());
    QCOMPARE(SchuelerData->Anz(), 0);
}

KESTRIN_TEST_MAIN(TestIncSearch)
#include "tst_incsearch.moc"

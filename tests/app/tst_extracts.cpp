// The pupil views: the filter dialog, the views over a filter, a project
// or a class, and who owns what when views close.

#include "app/UEditor.h"
#include "app/UIncSearch.h"
#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/USchFilterDialog.h"
#include "app/main.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"
#include "tests/app/UAppForms.h"
#include "tests/support/UGridLanding.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"
#include "tests/support/UTextFit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A pupil as the tests need it; zuteil 0 and no choices unless given.
TSchueler* pupil(const QString& name, int jgst, const QString& abt, QList<int> wahl = {}, int zuteil = 0,
                 bool boy = false)
{
    auto* s = new TSchueler;
    s->name = name;
    s->jgst = jgst;
    s->abt = abt;
    s->geschl = boy;
    for (int r = 1; r <= 5; ++r)
        s->wahl[r] = wahl.value(r - 1);
    s->zuteil = zuteil;
    SchuelerData->add(s);
    return s;
}

void projects(int n)
{
    for (int k = 1; k <= n; ++k) {
        auto* p = new TProjekt(k);
        p->name = QStringLiteral("P%1").arg(k);
        ProjektData->add(p);
    }
}

QStringList names(const TData* list)
{
    QStringList result;
    for (int i = 1; i <= list->Anz(); ++i)
        result << list->getNr(i)->getName();
    return result;
}

QStringList names(const std::unique_ptr<TSchuelerData>& list)
{
    return names(list.get());
}

// A double click as the window system delivers it.
void doubleClick(QWidget* w, QPoint pos)
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, pos);
}

int countOf(const TSearchFilter& f)
{
    int n = 0;
    SchuelerData->select(f, true, n);
    return n;
}

}   // namespace

class TestExtracts : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogAtCreation();
    void memosAtDialogFont();
    void textsShowWhole_data();
    void textsShowWhole();
    void inactiveFilter_data();
    void inactiveFilter();
    void nameCriterion_data();
    void nameCriterion();
    void secondPriorityLines();
    void priorityLines();
    void projectLinesAreNotRebuilt();
    void projectLineBeyondSet();
    void classChoiceHoldsOnce();
    void enterPressesNothing();

    void auszugRoad();
    void auszugCancelled();
    void projectRoad_data();
    void projectRoad();
    void projectNumberBeyondSet();
    void classRoad_data();
    void classRoad();
    void classRoadButtons();
    void overviewRowByMouse_data();
    void overviewRowByMouse();
    void overviewDoubleClickBelowTheRows_data();
    void overviewDoubleClickBelowTheRows();
    void overviewKeepsTheProjectThroughTheEditor_data();
    void overviewKeepsTheProjectThroughTheEditor();
    void projectViewFollowsItsNumber_data();
    void projectViewFollowsItsNumber();
    void storedRowShowsInTheViews();

    void emptyViewFreesItsPupil();
    void deletePupilClosesViews();
    void closePupilEditorUnderViews();

private:
    void fillClasses();
    // Runs the filter dialog modally; act runs once it is up.
    int execDialog(const std::function<void()>& act);
    TEditor* onlyView() const;
    // Runs command on row of the project editor, the renumbering question
    // answered "&Ja".
    void renumberInProjectEditor(const QString& command, int row);

    std::unique_ptr<TScriptedUi> FUi;
    TAppForms FForms;
};

void TestExtracts::init()
{
    FUi = std::make_unique<TScriptedUi>();
    QVERIFY(FForms.start());
}

void TestExtracts::cleanup()
{
    FForms.stop();
    FUi.reset();
}

int TestExtracts::execDialog(const std::function<void()>& act)
{
    QTimer::singleShot(0, SchFilterDialog, act);
    return SchFilterDialog->exec();
}

TEditor* TestExtracts::onlyView() const
{
    TEditor* found = nullptr;
    for (TEditor* e : MainForm->editors())
        if (!e->Editable()) {
            if (found)
                return nullptr;
            found = e;
        }
    return found;
}

void TestExtracts::renumberInProjectEditor(const QString& command, int row)
{
    MainForm->ActivateProAct->trigger();
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor && editor->Editable() && editor->getDataType() == dtPro);
    QVERIFY(editor->grid()->setRow(row));
    FUi->queueAnswer(TModalResult::mrYes);   // the numbers of the projects after it change
    MainForm->findChild<QAction*>(command)->trigger();
}

void TestExtracts::fillClasses()
{
    pupil(QStringLiteral("A"), 5, QStringLiteral("a"));
    pupil(QStringLiteral("B"), 5, QStringLiteral("A"));
    pupil(QStringLiteral("C"), 10, QString());
    pupil(QStringLiteral("D"), 1, QStringLiteral("0"));
    pupil(QStringLiteral("E"), 6, QString());
    pupil(QStringLiteral("F"), 20, QStringLiteral("a"));
    pupil(QStringLiteral("G"), 4, QStringLiteral("a"));
    pupil(QStringLiteral("H"), 7, QStringLiteral("€"));
    pupil(QStringLiteral("I"), 10, QStringLiteral("ab"));
    pupil(QStringLiteral("J"), 0, QStringLiteral("a"));
    MainFormHandler->UpdateAll();
}

// ---------------------------------------------------------------- dialog

void TestExtracts::dialogAtCreation()
{
    TSchFilterDialog* d = SchFilterDialog;
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("Schülerdaten-Auszug definieren"));
    QCOMPARE(d->PageControl1->currentIndex(), 0);
    QCOMPARE(d->PageControl1->tabText(0), QStringLiteral("Schülerdaten ..."));
    QCOMPARE(d->PageControl1->tabText(1), QStringLiteral("Schülerwahlen ..."));
    for (QComboBox* c : {d->ComboMatch, d->ComboGeschl, d->ComboFest, d->MultiFuncCombo})
        QCOMPARE(c->currentText(), QStringLiteral("(inaktiv)"));
    QCOMPARE(d->ComboMatch->count(), 4);
    QCOMPARE(d->ComboMatch->itemText(3), QStringLiteral("beginnt mit"));
    QCOMPARE(d->ComboFest->itemText(3), QStringLiteral("manuell eingeteilt"));
    QCOMPARE(d->MultiFuncCombo->count(), 10);
    QCOMPARE(d->MultiFuncCombo->itemText(9), QStringLiteral("wie viele Prioritäten angegeben"));
    QVERIFY(!d->EditName->isEnabled());
    QVERIFY(!d->MultiFuncList->isEnabled());
    QCOMPARE(d->MultiFuncList->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(d->KlNameString->text(), QStringLiteral("(keine Klassen ausgewählt)"));
    QCOMPARE(d->SelClassButton->text(), QStringLiteral("Klassen wählen ..."));
    QCOMPARE(d->InvertCheck->text(), QStringLiteral("Auswahl negieren"));
    QVERIFY(!d->InvertCheck->isChecked());
    QVERIFY(d->Memo1->toPlainText().startsWith(QStringLiteral("Geben Sie die Kriterien an, die erfüllt sein müssen, damit ein \n")));
    QCOMPARE(d->Memo2->toPlainText().split(QLatin1Char('\n')).size(), 5);
    QVERIFY(d->Memo2->toPlainText().startsWith(QStringLiteral("Geben Sie die Kriterien an, die erfüllt sein müssen, damit ein \n")));
    for (const char* name : {"TabSheet1", "Memo1", "Bevel1", "TabSheet2", "Memo2", "Bevel2"})
        QVERIFY2(d->findChild<QWidget*>(QString::fromLatin1(name)), name);

    d->ComboMatch->setCurrentIndex(2);
    QVERIFY(d->EditName->isEnabled());
    d->ComboMatch->setCurrentIndex(0);
    QVERIFY(!d->EditName->isEnabled());
    d->MultiFuncCombo->setCurrentIndex(9);
    QVERIFY(d->MultiFuncList->isEnabled());
    QCOMPARE(d->MultiFuncList->count(), 6);
    QCOMPARE(d->MultiFuncList->item(0)->text(), QStringLiteral("0 Alternativen gewählt"));
    d->MultiFuncCombo->setCurrentIndex(0);
    QVERIFY(!d->MultiFuncList->isEnabled());
    QCOMPARE(d->MultiFuncList->count(), 0);
}

void TestExtracts::memosAtDialogFont()
{
    for (const QPlainTextEdit* memo : {SchFilterDialog->Memo1, SchFilterDialog->Memo2})
        QCOMPARE(memo->font().pointSizeF(), SchFilterDialog->font().pointSizeF());
    QCOMPARE(SchFilterDialog->font().pointSize(), 8);
}

namespace {

// False when the widget or one of its parents up to the window reaches
// beyond its parent and is cut off.
bool insideItsWindow(const QWidget* w)
{
    for (; !w->isWindow(); w = w->parentWidget())
        if (!w->parentWidget()->rect().contains(w->geometry()))
            return false;
    return true;
}

}   // namespace

void TestExtracts::textsShowWhole_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("classes");
    QTest::addColumn<bool>("wider");
    // As long as the class selection makes it.
    const QString longClasses = QStringLiteral("Klassen 10 11 12 13 A B C D E F G H I J K");
    for (bool wider : {false, true}) {
        const char* font = wider ? ", wider font" : "";
        QTest::addRow("Schülerdaten ...%s", font) << 0 << QString() << wider;
        QTest::addRow("long class text%s", font) << 0 << longClasses << wider;
        QTest::addRow("Schülerwahlen ...%s", font) << 1 << QString() << wider;
    }
}

void TestExtracts::textsShowWhole()
{
    QFETCH(int, page);
    QFETCH(QString, classes);
    QFETCH(bool, wider);
    // The windows lay out their controls at the font they are made with.
    FForms.stop();
    const TextFit::TAppFont font(wider);
    QVERIFY(FForms.start());
    TSchFilterDialog* d = SchFilterDialog;
    d->PageControl1->setCurrentIndex(page);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    if (!classes.isEmpty())
        d->KlNameString->setText(classes);
    QCoreApplication::processEvents();

    // A fixed border, never smaller than designed.
    QCOMPARE(d->minimumSize(), d->maximumSize());
    QVERIFY(d->width() >= 319 && d->height() >= 354);

    QWidget* sheet = d->PageControl1->widget(page);
    QList<QWidget*> texts;
    for (QLabel* label : sheet->findChildren<QLabel*>())
        texts << label;
    for (QAbstractButton* button : sheet->findChildren<QAbstractButton*>())
        texts << button;
    for (QComboBox* combo : sheet->findChildren<QComboBox*>())
        texts << combo;
    texts << d->InvertCheck << d->CancelButton << d->OKButton;
    for (QWidget* w : std::as_const(texts)) {
        const QByteArray name = w->objectName().toLatin1();
        QVERIFY2(w->isVisible(), name);
        const QString cut = TextFit::captionCut(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        QVERIFY2(insideItsWindow(w), name);
    }

    // Every line of the notes whole, none wrapped, the last one inside.
    auto* memo = sheet->findChild<QPlainTextEdit*>();
    auto* bevel = sheet->findChild<QFrame*>(QStringLiteral("Bevel") + QString::number(page + 1));
    QVERIFY(memo && bevel);
    QVERIFY(insideItsWindow(memo));
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next())
        QVERIFY2(b.layout()->lineCount() == 1, qPrintable(b.text()));
    QTextCursor end(memo->document());
    end.movePosition(QTextCursor::End);
    QVERIFY(memo->cursorRect(end).bottom() <= memo->viewport()->rect().bottom());
    // The frame of the criteria lies below the notes.
    QVERIFY(bevel->geometry().top() > memo->geometry().bottom());
    d->hide();
}

void TestExtracts::inactiveFilter_data()
{
    QTest::addColumn<bool>("negate");
    QTest::addColumn<int>("expected");
    QTest::newRow("all") << false << 3;
    QTest::newRow("negated: none") << true << 0;
}

void TestExtracts::inactiveFilter()
{
    QFETCH(bool, negate);
    QFETCH(int, expected);
    pupil(QStringLiteral("Anna"), 7, QStringLiteral("a"));
    pupil(QStringLiteral("Bernd"), 8, QStringLiteral("b"), {1}, 1, true);
    pupil(QString(), 0, QString());
    SchFilterDialog->InvertCheck->setChecked(negate);
    // A name typed while the match is inactive counts for nothing.
    SchFilterDialog->EditName->setText(QStringLiteral("Zz"));
    const std::unique_ptr<TSearchFilter> f = SchFilterDialog->getFilter();
    QVERIFY(f->name.isEmpty());
    QCOMPARE(f->negateMatch, negate);
    QCOMPARE(countOf(*f), expected);
}

void TestExtracts::nameCriterion_data()
{
    QTest::addColumn<int>("match");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QString longText(5000, QLatin1Char('x'));
    QTest::newRow("ist") << 1 << "meier" << QStringList{"MEIER"};
    QTest::newRow("enthält") << 2 << "ei" << QStringList{"MEIER", "Leiß*"};
    QTest::newRow("beginnt mit") << 3 << "Me" << QStringList{"MEIER", "Me"};
    QTest::newRow("star is a plain character") << 2 << "*" << QStringList{"Leiß*"};
    QTest::newRow("percent too") << 2 << "%" << QStringList{};
    QTest::newRow("umlaut not folded") << 2 << "ü" << QStringList{"Müller"};
    QTest::newRow("upper umlaut") << 2 << "Ü" << QStringList{"ÜBEL"};
    QTest::newRow("very long") << 2 << longText << QStringList{};
    QTest::newRow("empty text: no criterion") << 1 << "" << QStringList{"MEIER", "Leiß*", "Müller", "ÜBEL", "Me"};
}

void TestExtracts::nameCriterion()
{
    QFETCH(int, match);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    for (const char* n : {"MEIER", "Leiß*", "Müller", "ÜBEL", "Me"})
        pupil(QString::fromUtf8(n), 7, QStringLiteral("a"));
    SchFilterDialog->ComboMatch->setCurrentIndex(match);
    SchFilterDialog->EditName->setText(text);
    const std::unique_ptr<TSearchFilter> f = SchFilterDialog->getFilter();
    int n = 0;
    QCOMPARE(names(SchuelerData->select(*f, false, n)), expected);
}

void TestExtracts::secondPriorityLines()
{
    projects(4);
    pupil(QStringLiteral("one"), 7, QStringLiteral("a"), {2, 1});
    pupil(QStringLiteral("three"), 7, QStringLiteral("a"), {1, 3});
    pupil(QStringLiteral("first only"), 7, QStringLiteral("a"), {1, 2});
    pupil(QStringLiteral("four"), 7, QStringLiteral("a"), {3, 4, 1});
    TSchFilterDialog* d = SchFilterDialog;
    d->MultiFuncCombo->setCurrentIndex(3);
    QCOMPARE(d->MultiFuncList->count(), 5);
    QCOMPARE(d->MultiFuncList->item(0)->text(), QStringLiteral("0 Nicht/ungültig gewählt"));
    QCOMPARE(d->MultiFuncList->item(3)->text(), QStringLiteral("3 P3"));
    d->MultiFuncList->item(1)->setSelected(true);
    d->MultiFuncList->item(3)->setSelected(true);
    const std::unique_ptr<TSearchFilter> f = d->getFilter();
    QCOMPARE(f->wahli[2].count(), 2);
    QVERIFY(f->wahl.isEmpty() && f->wahli[1].isEmpty());
    int n = 0;
    QCOMPARE(names(SchuelerData->select(*f, false, n)), QStringList({"one", "three"}));
}

void TestExtracts::priorityLines()
{
    projects(3);
    pupil(QStringLiteral("none"), 7, QStringLiteral("a"), {1, 2});
    pupil(QStringLiteral("first"), 7, QStringLiteral("a"), {1, 2}, 1);
    pupil(QStringLiteral("elsewhere"), 7, QStringLiteral("a"), {1, 2}, 3);
    TSchFilterDialog* d = SchFilterDialog;
    d->MultiFuncCombo->setCurrentIndex(8);
    QCOMPARE(d->MultiFuncList->count(), 6);
    QCOMPARE(d->MultiFuncList->item(0)->text(), QStringLiteral("nicht eingeteilt/ungültig"));
    QCOMPARE(d->MultiFuncList->item(2)->text(), QStringLiteral("in 2. Priorität eingeteilt"));
    d->MultiFuncList->item(0)->setSelected(true);
    int n = 0;
    QCOMPARE(names(SchuelerData->select(*d->getFilter(), false, n)), QStringList({"none"}));
    // A pupil placed outside its choices answers none of the six lines.
    d->MultiFuncList->selectAll();
    QCOMPARE(names(SchuelerData->select(*d->getFilter(), false, n)), QStringList({"none", "first"}));
}

void TestExtracts::projectLinesAreNotRebuilt()
{
    projects(2);
    TSchFilterDialog* d = SchFilterDialog;
    d->MultiFuncCombo->setCurrentIndex(7);
    d->MultiFuncList->item(2)->setSelected(true);
    projects(1);
    execDialog([d] { d->CancelButton->click(); });
    QCOMPARE(d->MultiFuncList->count(), 3);
    QVERIFY(d->MultiFuncList->item(2)->isSelected());
    QCOMPARE(d->MultiFuncCombo->currentIndex(), 7);
}

void TestExtracts::projectLineBeyondSet()
{
    // Line 300 stands for a project the sets cannot hold: it selects nobody,
    // never everybody.
    projects(300);
    pupil(QStringLiteral("in 300"), 7, QStringLiteral("a"), {300}, 300);
    pupil(QStringLiteral("in 44"), 7, QStringLiteral("a"), {44}, 44);
    TSchFilterDialog* d = SchFilterDialog;
    d->MultiFuncCombo->setCurrentIndex(7);
    QCOMPARE(d->MultiFuncList->count(), 301);
    d->MultiFuncList->item(300)->setSelected(true);
    QCOMPARE(countOf(*d->getFilter()), 0);
    d->MultiFuncList->item(44)->setSelected(true);
    int n = 0;
    QCOMPARE(names(SchuelerData->select(*d->getFilter(), false, n)), QStringList({"in 44"}));
}

void TestExtracts::classChoiceHoldsOnce()
{
    fillClasses();
    TSchFilterDialog* d = SchFilterDialog;
    const int result = execDialog([d] {
        QTimer::singleShot(0, KlassenSelect, [] {
            QListWidget* list = KlassenSelect->ListJgst;
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setSelected(list->item(i)->text() == QStringLiteral(" 5a"));
            KlassenSelect->OkBtn->click();
        });
        d->SelClassButton->click();
        QVERIFY(d->KlassenButPressed);
        QCOMPARE(d->KlNameString->text(), QStringLiteral("Klassen  5a"));
        d->OKButton->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    int n = 0;
    QCOMPARE(names(SchuelerData->select(*d->getFilter(), false, n)), QStringList({"A", "B"}));

    // The next showing forgets the choice.
    execDialog([d] {
        QCOMPARE(d->KlNameString->text(), QStringLiteral("(keine Klassen ausgewählt)"));
        QVERIFY(!d->KlassenButPressed);
        d->OKButton->click();
    });
    QVERIFY(d->getFilter()->kl.isEmpty());

    // Cancelling the class selection says so.
    execDialog([d] {
        QTimer::singleShot(0, KlassenSelect, [] { KlassenSelect->CancelBtn->click(); });
        d->SelClassButton->click();
        QCOMPARE(d->KlNameString->text(), QStringLiteral("(keine Klassen gewählt)"));
        QVERIFY(!d->KlassenButPressed);
        d->CancelButton->click();
    });
}

void TestExtracts::enterPressesNothing()
{
    TSchFilterDialog* d = SchFilterDialog;
    bool stillOpen = false;
    int classDialogs = 0;
    QMetaObject::Connection c = connect(d->SelClassButton, &QPushButton::clicked, [&] { ++classDialogs; });
    const int result = execDialog([&] {
        d->ComboMatch->setCurrentIndex(1);
        d->EditName->setFocus();
        QTest::keyClick(d->EditName, Qt::Key_Return);
        QTest::keyClick(d->EditName, Qt::Key_Enter);
        stillOpen = d->isVisible();
        d->CancelButton->click();
    });
    disconnect(c);
    d->ComboMatch->setCurrentIndex(0);
    QVERIFY(stillOpen);
    QCOMPARE(classDialogs, 0);
    QCOMPARE(result, int(QDialog::Rejected));
}

// ----------------------------------------------------------------- roads

void TestExtracts::auszugRoad()
{
    pupil(QStringLiteral("Anna"), 7, QStringLiteral("a"));
    pupil(QStringLiteral("Bernd"), 8, QStringLiteral("b"), {}, 0, true);
    FForms.openView();
    QVERIFY(MainForm->AuszugAct->isEnabled());
    TSchFilterDialog* d = SchFilterDialog;
    QTimer::singleShot(0, d, [d] {
        d->ComboGeschl->setCurrentIndex(2);
        d->OKButton->click();
    });
    MainForm->AuszugAct->trigger();
    d->ComboGeschl->setCurrentIndex(0);
    TEditor* view = MainForm->activeEditor();
    QVERIFY(view && !view->Editable());
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Auszug]"));
    QCOMPARE(names(view->getData()), QStringList({"Bernd"}));
    // The entries are the pupils themselves.
    QCOMPARE(view->getData()->getNr(1), SchuelerData->getNr(2));

    // Nobody matches: the view opens all the same, with its own empty pupil.
    QTimer::singleShot(0, d, [d] {
        d->InvertCheck->setChecked(true);
        d->OKButton->click();
    });
    MainForm->AuszugAct->trigger();
    d->InvertCheck->setChecked(false);
    view = MainForm->activeEditor();
    QCOMPARE(FUi->lastText(), QStringLiteral("Erzeuge leeren Eintrag."));
    QCOMPARE(view->getData()->Anz(), 1);
    QCOMPARE(SchuelerData->Anz(), 2);
}

// The view opened by the test, for TAppForms-free access.
void TestExtracts::auszugCancelled()
{
    pupil(QStringLiteral("Anna"), 7, QStringLiteral("a"));
    FForms.openView();
    const int before = int(MainForm->editors().size());
    QTimer::singleShot(0, SchFilterDialog, [] { SchFilterDialog->CancelButton->click(); });
    MainForm->AuszugAct->trigger();
    QCOMPARE(int(MainForm->editors().size()), before);
}

void TestExtracts::projectRoad_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("project 0: the unassigned") << 1 << "Projekt 0" << QStringList{"free", "other free"};
    QTest::newRow("project 2") << 3 << "Projekt 2" << QStringList{"in two"};
    QTest::newRow("project 1 has nobody") << 2 << QString() << QStringList();
}

void TestExtracts::projectRoad()
{
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QStringList, expected);
    projects(2);
    pupil(QStringLiteral("free"), 7, QStringLiteral("a"));
    pupil(QStringLiteral("in two"), 7, QStringLiteral("a"), {2}, 2);
    pupil(QStringLiteral("other free"), 7, QStringLiteral("a"));
    MainFormHandler->UpdateAll();
    QCOMPARE(MainForm->ProjekteGrid->rowCount(), 4);
    MainForm->ProjekteGrid->setRow(row);
    // The grid's own double click, as the user gives it.
    MainForm->ProjekteGrid->onDblClick();
    TEditor* view = onlyView();
    if (caption.isEmpty()) {
        QVERIFY(MainForm->editors().isEmpty());
        QVERIFY(FUi->messages.isEmpty());
        return;
    }
    QVERIFY(view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [%1]").arg(caption));
    QCOMPARE(names(view->getData()), expected);

    // The button does the same.
    auto* button = MainForm->findChild<QAbstractButton*>(QStringLiteral("ProShowBut"));
    QVERIFY(button && button->isEnabled());
    button->click();
    QCOMPARE(MainForm->editors().size(), 2);
}

void TestExtracts::projectNumberBeyondSet()
{
    // 300 projects: row 301 is project 300, which a set of 0..255 cannot hold.
    projects(300);
    pupil(QStringLiteral("in 300"), 7, QStringLiteral("a"), {300}, 300);
    pupil(QStringLiteral("in 44"), 7, QStringLiteral("a"), {44}, 44);
    pupil(QStringLiteral("free"), 7, QStringLiteral("a"));
    QVERIFY(!OpenProjektView(0));
    QVERIFY(!OpenProjektView(301));
    QVERIFY(!OpenProjektView(1000));
    QVERIFY(MainForm->editors().isEmpty());
    TEditor* view = OpenProjektView(45);
    QVERIFY(view);
    QCOMPARE(names(view->getData()), QStringList({"in 44"}));
}

void TestExtracts::classRoad_data()
{
    QTest::addColumn<QString>("klasse");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow(" 5a") << " 5a" << true << QStringList{"A", "B"};
    QTest::newRow("10 without department") << "10" << true << QStringList{"C"};
    QTest::newRow(" 6 without department") << " 6" << true << QStringList{"E"};
    QTest::newRow("grade 1 department 0") << " 10" << true << QStringList{"D"};
    QTest::newRow("grade 0") << " 0a" << true << QStringList{"J"};
    QTest::newRow("grade 20: nobody") << "20a" << true << QStringList{};
    QTest::newRow("euro department: nobody") << " 7€" << true << QStringList{};
    QTest::newRow("two letters: no class") << "10ab" << false << QStringList{};
}

void TestExtracts::classRoad()
{
    QFETCH(QString, klasse);
    QFETCH(bool, opens);
    QFETCH(QStringList, expected);
    fillClasses();
    TGridWidget* grid = MainForm->SchuelerGrid;
    int row = -1;
    for (int r = 1; r < grid->rowCount(); ++r)
        if (grid->cell(0, r) == klasse)
            row = r;
    QVERIFY2(row > 0, qPrintable(klasse));
    grid->setRow(row);
    grid->onDblClick();
    TEditor* view = onlyView();
    if (!opens) {
        QVERIFY(!view);
        return;
    }
    QVERIFY(view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Klasse %1]").arg(klasse));
    if (expected.isEmpty()) {
        // An empty view: only its own empty pupil.
        QCOMPARE(FUi->lastText(), QStringLiteral("Erzeuge leeren Eintrag."));
        QCOMPARE(view->getData()->Anz(), 1);
        QCOMPARE(view->getData()->getNr(1)->getName(), QString());
        QCOMPARE(SchuelerData->Anz(), 10);
    } else {
        QCOMPARE(names(view->getData()), expected);
    }
}

void TestExtracts::classRoadButtons()
{
    // Nothing at all: no pupils, or the heading row.
    auto* button = MainForm->findChild<QAbstractButton*>(QStringLiteral("SchShowBut"));
    QVERIFY(button && button->isEnabled());
    button->click();
    QVERIFY(MainForm->editors().isEmpty());
    fillClasses();
    MainForm->SchuelerGrid->setRow(1);
    button->click();
    TEditor* view = onlyView();
    QVERIFY(view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Klasse  0a]"));
    QVERIFY(!OpenKlassenView(*MainForm->SchuelerGrid, 0));
}

void TestExtracts::overviewRowByMouse_data()
{
    QTest::addColumn<int>("page");        // 0 projects, 1 classes
    QTest::addColumn<int>("selected");    // the row first clicked, in its second column
    QTest::addColumn<bool>("viaEditor");  // the pupil editor has the focus in between
    QTest::addColumn<int>("row");         // the row double-clicked, -1: the button instead
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("caption");
    QTest::newRow("class text of the selected row after the editor") << 1 << 3 << true << 3 << 0 << "Klasse  7a";
    QTest::newRow("another class text, grid focused") << 1 << 3 << false << 5 << 0 << "Klasse  9a";
    QTest::newRow("another row's count, grid focused") << 1 << 3 << false << 6 << 2 << "Klasse 10a";
    QTest::newRow("class button after the editor") << 1 << 3 << true << -1 << 0 << "Klasse  7a";
    QTest::newRow("project number of the selected row after the editor") << 0 << 4 << true << 4 << 0 << "Projekt 3";
    QTest::newRow("another project number, grid focused") << 0 << 4 << false << 7 << 0 << "Projekt 6";
    QTest::newRow("project button after the editor") << 0 << 4 << true << -1 << 0 << "Projekt 3";
    QTest::newRow("last project, scrolled down, after the editor") << 0 << 41 << true << 41 << 0 << "Projekt 40";
    QTest::newRow("project above, scrolled down, grid focused") << 0 << 41 << false << 39 << 0 << "Projekt 38";
    QTest::newRow("last project after the editor, the selected one scrolled away") << 0 << 4 << true << 41 << 0 << "Projekt 40";
}

void TestExtracts::overviewRowByMouse()
{
    QFETCH(int, page);
    QFETCH(int, selected);
    QFETCH(bool, viaEditor);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, caption);
    // 40 projects with a pupil each, in the classes  5a to 12a.
    projects(40);
    for (int k = 1; k <= 40; ++k)
        pupil(QStringLiteral("S%1").arg(k), 5 + k % 8, QStringLiteral("a"), {k}, k);
    MainFormHandler->UpdateAll();
    MainForm->Uebersicht->setCurrentIndex(page);
    TGridWidget* grid = page == 0 ? MainForm->ProjekteGrid : MainForm->SchuelerGrid;
    QTRY_VERIFY(grid->isVisible());
    if (selected >= grid->rowCount() - 3)
        grid->scrollToBottom();
    QCoreApplication::processEvents();

    auto [first, firstPos] = landing(grid, 1, selected);
    QVERIFY(first);
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, firstPos);
    QCOMPARE(grid->row(), selected);
    if (viaEditor) {
        MainForm->ActivateSchActExecute();
        TEditor* editor = MainForm->activeEditor();
        QVERIFY(editor && editor->Editable());
        TGridWidget* editorGrid = editor->grid();
        QTest::mouseClick(editorGrid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          editorGrid->visualRect(editorGrid->model()->index(0, 1)).center());
        QTRY_VERIFY(editorGrid->isAncestorOf(QApplication::focusWidget()) || editorGrid->hasFocus());
    }
    const int before = int(MainForm->editors().size());
    if (row < 0) {
        grid->setFocus(Qt::TabFocusReason);
        QVERIFY(grid->hasFocus());
        auto* button = MainForm->findChild<QAbstractButton*>(page == 0 ? QStringLiteral("ProShowBut")
                                                                       : QStringLiteral("SchShowBut"));
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        // The user scrolls the row into view, as far as it is not.
        grid->scrollTo(grid->model()->index(row - grid->fixedRows(), col));
        auto [target, pos] = landing(grid, col, row);
        QVERIFY(target && grid->isAncestorOf(target));
        // The fixed column is the overlay's, not the grid's viewport.
        QCOMPARE(target == grid->viewport(), col > 0);
        doubleClick(target, pos);
    }
    QCOMPARE(int(MainForm->editors().size()), before + 1);
    TEditor* view = MainForm->activeEditor();
    QVERIFY(view && !view->Editable());
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [%1]").arg(caption));
}

void TestExtracts::overviewDoubleClickBelowTheRows_data()
{
    QTest::addColumn<int>("page");   // 0 projects, 1 classes
    QTest::addColumn<int>("col");
    QTest::newRow("below the class texts") << 1 << 0;
    QTest::newRow("below the class counts") << 1 << 1;
    QTest::newRow("below the project numbers") << 0 << 0;
    QTest::newRow("below the project names") << 0 << 1;
}

void TestExtracts::overviewDoubleClickBelowTheRows()
{
    // With no row under the pointer a double click opens nothing.
    QFETCH(int, page);
    QFETCH(int, col);
    projects(4);
    for (int k = 1; k <= 4; ++k)
        pupil(QStringLiteral("S%1").arg(k), 4 + k, QStringLiteral("a"), {k}, k);
    MainFormHandler->UpdateAll();
    MainForm->Uebersicht->setCurrentIndex(page);
    TGridWidget* grid = page == 0 ? MainForm->ProjekteGrid : MainForm->SchuelerGrid;
    QTRY_VERIFY(grid->isVisible());
    auto [first, firstPos] = landing(grid, 1, 3);
    QVERIFY(first);
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, firstPos);
    QCOMPARE(grid->row(), 3);

    auto [below, pos] = landing(grid, col, grid->rowCount() - 1, QPoint(0, 30));
    QVERIFY(below && grid->isAncestorOf(below));
    const int before = int(MainForm->editors().size());
    doubleClick(below, pos);
    QCOMPARE(int(MainForm->editors().size()), before);
    QCOMPARE(grid->row(), 3);
}

void TestExtracts::overviewKeepsTheProjectThroughTheEditor_data()
{
    QTest::addColumn<QString>("command");   // run in the project editor on its row
    QTest::addColumn<int>("editorRow");
    QTest::addColumn<int>("row");           // where P4 (or what took its row) stands then
    QTest::addColumn<QString>("caption");
    QTest::newRow("first project deleted") << "DeleteAct" << 1 << 4 << "Projekt 3";
    QTest::newRow("project inserted before it") << "InsertHereAct" << 2 << 6 << "Projekt 5";
    QTest::newRow("project inserted after it") << "InsertHereAct" << 5 << 5 << "Projekt 4";
    QTest::newRow("the project itself deleted") << "DeleteAct" << 4 << 5 << "Projekt 4";
}

void TestExtracts::overviewKeepsTheProjectThroughTheEditor()
{
    // The overview keeps its selection on the project chosen, whatever
    // number the project editor gives it.
    QFETCH(QString, command);
    QFETCH(int, editorRow);
    QFETCH(int, row);
    QFETCH(QString, caption);
    projects(5);
    for (int k = 1; k <= 5; ++k)
        pupil(QStringLiteral("S%1").arg(k), 7, QStringLiteral("a"), {k}, k);
    MainFormHandler->UpdateAll();
    TGridWidget* grid = MainForm->ProjekteGrid;
    QTRY_VERIFY(grid->isVisible());
    auto [p4, p4Pos] = landing(grid, 1, 5);
    QVERIFY(p4);
    QTest::mouseClick(p4, Qt::LeftButton, Qt::NoModifier, p4Pos);
    QCOMPARE(grid->cell(1, grid->row()), QStringLiteral("P4"));

    renumberInProjectEditor(command, editorRow);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(FUi->messages.size(), 1);

    QCOMPARE(grid->row(), row);
    QVERIFY(grid->selectionModel()->isRowSelected(row - grid->fixedRows()));
    QTest::mouseClick(MainForm->findChild<QAbstractButton*>(QStringLiteral("ProShowBut")), Qt::LeftButton);
    TEditor* view = MainForm->activeEditor();
    QVERIFY(view && !view->Editable());
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [%1]").arg(caption));
}

void TestExtracts::projectViewFollowsItsNumber_data()
{
    QTest::addColumn<int>("shown");          // the project the view shows
    QTest::addColumn<QString>("command");    // run in the project editor on its row
    QTest::addColumn<int>("editorRow");
    QTest::addColumn<int>("number");         // the project's number then
    QTest::newRow("inserted before it") << 3 << "InsertHereAct" << 2 << 4;
    QTest::newRow("inserted at its row") << 3 << "InsertHereAct" << 3 << 4;
    QTest::newRow("inserted after it") << 3 << "InsertHereAct" << 4 << 3;
    QTest::newRow("appended") << 3 << "InsertEndAct" << 1 << 3;
    QTest::newRow("deleted before it") << 3 << "DeleteAct" << 1 << 2;
    QTest::newRow("deleted after it") << 3 << "DeleteAct" << 5 << 3;
    QTest::newRow("itself deleted: its pupils are unassigned") << 3 << "DeleteAct" << 3 << 0;
    QTest::newRow("the unassigned") << 0 << "DeleteAct" << 1 << 0;
}

// A view over a project's pupils is named after the project's number and
// follows it through the project editor, as its pupils do.
void TestExtracts::projectViewFollowsItsNumber()
{
    QFETCH(int, shown);
    QFETCH(QString, command);
    QFETCH(int, editorRow);
    QFETCH(int, number);
    projects(5);
    for (int k = 0; k <= 5; ++k)
        pupil(QStringLiteral("S%1").arg(k), 7, QStringLiteral("a"), {k}, k);
    MainFormHandler->UpdateAll();
    MainForm->ProjekteGrid->setRow(shown + 1);
    MainForm->ProjekteGrid->onDblClick();
    TEditor* view = onlyView();
    QVERIFY(view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Projekt %1]").arg(shown));

    renumberInProjectEditor(command, editorRow);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(onlyView(), view);

    QCOMPARE(view->windowTitle(), QStringLiteral("Schüler-Editor [Projekt %1]").arg(number));
    // Its pupils are those of that number.
    QCOMPARE(names(view->getData()), QStringList{QStringLiteral("S%1").arg(shown)});
    QCOMPARE(view->grid()->cell(10, 1), QString::number(number));
}

// A row stored in the pupil editor shows at once in an open view and in
// both overviews.
void TestExtracts::storedRowShowsInTheViews()
{
    projects(2);
    pupil(QStringLiteral("Anna"), 7, QStringLiteral("a"), {2}, 2);
    pupil(QStringLiteral("Bert"), 7, QStringLiteral("a"), {2}, 2);
    MainFormHandler->UpdateAll();
    MainForm->ProjekteGrid->setRow(3);
    MainForm->ProjekteGrid->onDblClick();
    TEditor* view = onlyView();
    QVERIFY(view);
    QCOMPARE(view->grid()->cell(0, 1), QStringLiteral("Anna"));
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QStringLiteral("2"));

    MainForm->ActivateSchActExecute();
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor && editor->Editable());
    TGridWidget* grid = editor->grid();
    QLineEdit* cell = typeOverCell(grid, 0, 1, QStringLiteral("Anne"));
    QVERIFY(cell);
    QTest::keyClick(cell, Qt::Key_Tab);
    QCOMPARE(SchuelerData->getNr(1)->name, QStringLiteral("Anne"));

    QCOMPARE(view->grid()->cell(0, 1), QStringLiteral("Anne"));
    // A corrected name keeps the assignment: the counts stay.
    QCOMPARE(view->grid()->cell(10, 1), QStringLiteral("2"));
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QStringLiteral("2"));
    QCOMPARE(MainForm->SchuelerGrid->cell(2, 1), QStringLiteral("2"));

    cell = typeOverCell(grid, 5, 1, QStringLiteral("1"));
    QVERIFY(cell);
    QTest::keyClick(cell, Qt::Key_Tab);
    QCOMPARE(view->grid()->cell(5, 1), QStringLiteral("1"));
    QCOMPARE(view->grid()->cell(10, 1), QStringLiteral("0"));
    // A changed choice loses it: project 2 and the class count one.
    QCOMPARE(MainForm->ProjekteGrid->cell(2, 3), QStringLiteral("1"));
    QCOMPARE(MainForm->SchuelerGrid->cell(0, 1), QStringLiteral(" 7a"));
    QCOMPARE(MainForm->SchuelerGrid->cell(2, 1), QStringLiteral("1"));
    // The editor keeps its cursor.
    QCOMPARE(MainForm->activeEditor(), editor);
    QCOMPARE(grid->col(), 6);
    QCOMPARE(grid->row(), 1);
}

// ------------------------------------------------------------- ownership

void TestExtracts::emptyViewFreesItsPupil()
{
    fillClasses();
    QList<TSchPro*> before;
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        before << SchuelerData->getNr(i);
    std::unique_ptr<TSearchFilter> nobody = KlassenFilter(QStringLiteral("20a"));
    QCOMPARE(countOf(*nobody), 0);
    QPointer<TEditor> view = OpenKlassenView(*MainForm->SchuelerGrid, MainForm->SchuelerGrid->rowCount() - 1);
    QVERIFY(view);
    QCOMPARE(view->getData()->Anz(), 1);
    TSchPro* phantom = view->getData()->getNr(1);
    QVERIFY(!before.contains(phantom));
    view->close();
    // The list goes at once, not with the window.
    QVERIFY(view->isClosed());
    QVERIFY(!view->getData());
    QCOMPARE(SchuelerData->Anz(), before.size());
    for (int i = 1; i <= SchuelerData->Anz(); ++i)
        QCOMPARE(SchuelerData->getNr(i), before[i - 1]);
    QTRY_VERIFY(!view);
}

void TestExtracts::deletePupilClosesViews()
{
    fillClasses();
    MainForm->ActivateSchActExecute();
    TEditor* editor = MainForm->activeEditor();
    QVERIFY(editor && editor->Editable());
    QPointer<TEditor> all = FForms.openView();
    QPointer<TEditor> klasse = OpenKlassenView(*MainForm->SchuelerGrid, 1);
    QVERIFY(all && klasse);
    MainForm->activateEditor(editor);
    editor->grid()->setRow(1);
    FUi->queueAnswer(TModalResult::mrOk);
    MainForm->DeleteAct->trigger();
    QVERIFY(!all || all->isClosed());
    QVERIFY(!klasse || klasse->isClosed());
    QCOMPARE(SchuelerData->Anz(), 9);
    QCOMPARE(MainFormHandler->GetViewSchEditors(), 0);
}

void TestExtracts::closePupilEditorUnderViews()
{
    fillClasses();
    MainForm->ActivateSchActExecute();
    QPointer<TEditor> editor = MainForm->activeEditor();
    QPointer<TEditor> view = OpenKlassenView(*MainForm->SchuelerGrid, 2);
    QVERIFY(view);
    // The search runs in the view.
    MainForm->SearchAct->trigger();
    QVERIFY(!IncSearch->isVisible());   // not for a read-only view
    IncSearch->SetGrid(view->grid());
    IncSearch->show();
    QVERIFY(IncSearch->isVisible());
    editor->close();
    QVERIFY(!view || view->isClosed());
    QVERIFY(!IncSearch->isVisible());
    IncSearch->Enter->setText(QStringLiteral("A"));
    QVERIFY(!IncSearch->isVisible());
    QCOMPARE(SchuelerData->Anz(), 0);
    QTRY_VERIFY(!view && !editor);
}

KESTRIN_TEST_MAIN(TestExtracts)
#include "tst_extracts.moc"

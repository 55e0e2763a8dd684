// The class selection dialog offscreen: both modes, its texts, its filters
// and the ways it closes.

#include "app/UKlassenSelect.h"
#include "data/UFilter.h"
#include "platform/UStringGrid.h"
#include "tests/data/UDataTestUtil.h"
#include "tests/support/UTestMain.h"

#include <QtTest>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <memory>

namespace {

// Marks the rows of list (by row number, in the order given).
void mark(QListWidget* list, std::initializer_list<int> rows)
{
    for (int r : rows)
        list->item(r)->setSelected(true);
}

void markRange(QListWidget* list, int from, int to)
{
    for (int r = from; r <= to; ++r)
        list->item(r)->setSelected(true);
}

// A class overview with the given class texts in column 0 from row 1 on.
TMemoryGrid overview(const QStringList& classes)
{
    TMemoryGrid grid(4, int(classes.size()) + 1);
    grid.setCell(0, 0, QStringLiteral("Klasse"));
    for (int i = 0; i < classes.size(); ++i)
        grid.setCell(0, i + 1, classes[i]);
    return grid;
}

int execWith(QDialog& dlg, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dlg, act);
    return dlg.exec();
}

int countSelected(const TSchuelerData& sd, const TSearchFilter& f)
{
    int n = -1;
    sd.select(f, true, n);
    return n;
}

} // namespace

class TestKlassenSelect : public QObject {
    Q_OBJECT

private slots:
    void init() { dlg = new TKlassenSelect; }
    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
    }

    void startsWithTwoLists()
    {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Klassen auswählen"));
        QVERIFY(dlg->twoLists());
        QCOMPARE(dlg->ListJgst->count(), 13);
        QCOMPARE(dlg->ListJgst->item(0)->text(), QStringLiteral("1"));
        QCOMPARE(dlg->ListJgst->item(12)->text(), QStringLiteral("13"));
        QCOMPARE(dlg->ListAbt->count(), 8);
        QCOMPARE(dlg->ListAbt->item(7)->text(), QStringLiteral("H"));
        QCOMPARE(dlg->OkBtn->text(), QStringLiteral("OK"));
        QCOMPARE(dlg->SelectAll->text(), QStringLiteral("Alle wählen"));
        QCOMPARE(dlg->CancelBtn->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(dlg->ListJgst->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(dlg->getString(40), QStringLiteral("Klassen"));
    }

    void twoListStrings_data()
    {
        QTest::addColumn<int>("lastGrade");     // grades 1..lastGrade marked, 0 none
        QTest::addColumn<QString>("departments");
        QTest::addColumn<int>("maxlength");
        QTest::addColumn<QString>("text");
        QTest::newRow("11 grades A B at 35") << 11 << "AB" << 35
                                           << "Klassen 1 2 3 4 5 6 7 8 9 10 11 A B";
        QTest::newRow("11 grades A B at 30") << 11 << "AB" << 30 << "22 selektierte Klassen";
        // an unmarked list counts as all of its items
        QTest::newRow("11 grades only at 20") << 11 << "" << 20 << "88 selektierte Klassen";
        QTest::newRow("departments only at 10") << 0 << "ABC" << 10 << "39 selektierte Klassen";
        QTest::newRow("nothing") << 0 << "" << 7 << "Klassen";
        QTest::newRow("nothing at 6") << 0 << "" << 6 << "104 selektierte Klassen";
    }

    void twoListStrings()
    {
        QFETCH(int, lastGrade);
        QFETCH(QString, departments);
        QFETCH(int, maxlength);
        QFETCH(QString, text);
        dlg->setKlassen(nullptr);
        if (lastGrade > 0)
            markRange(dlg->ListJgst, 0, lastGrade - 1);
        for (QChar c : departments)
            mark(dlg->ListAbt, {c.unicode() - 'A'});
        QCOMPARE(dlg->getString(maxlength), text);
    }

    void oneListStrings()
    {
        const QStringList nine{QStringLiteral(" 5a"), QStringLiteral(" 5b"), QStringLiteral(" 6a"),
                               QStringLiteral(" 6b"), QStringLiteral(" 7a"), QStringLiteral(" 7b"),
                               QStringLiteral(" 8a"), QStringLiteral(" 8b"), QStringLiteral(" 9a"),
                               QStringLiteral(" 9b")};
        TMemoryGrid grid = overview(nine);
        dlg->setKlassen(&grid);
        QVERIFY(!dlg->twoLists());
        QVERIFY(dlg->ListAbt->isHidden());
        QCOMPARE(dlg->ListJgst->count(), 10);
        QCOMPARE(dlg->ListJgst->item(0)->text(), QStringLiteral(" 5a"));
        markRange(dlg->ListJgst, 0, 7);
        QCOMPARE(dlg->getString(40), QStringLiteral("Klassen  5a  5b  6a  6b  7a  7b  8a  8b"));
        QCOMPARE(dlg->getString(40).size(), 39);
        mark(dlg->ListJgst, {8});
        QCOMPARE(dlg->getString(40), QStringLiteral("9 selektierte Klassen"));
        mark(dlg->ListJgst, {9});
        QCOMPARE(dlg->getString(40), QStringLiteral("Alle Klassen"));

        // the filter names the marked classes, and a new mode clears the marks
        std::unique_ptr<TSearchFilter> f(dlg->getFilter());
        QCOMPARE(f->kl, nine);
        QVERIFY(f->jgst.isEmpty() && f->abt.isEmpty());

        TMemoryGrid empty = overview({});
        dlg->setKlassen(&empty);
        QCOMPARE(dlg->ListJgst->count(), 0);
        QCOMPARE(dlg->getString(40), QStringLiteral("Alle Klassen"));
        std::unique_ptr<TSearchFilter> none(dlg->getFilter());
        QVERIFY(none->kl.isEmpty());

        dlg->setKlassen(nullptr);
        QVERIFY(dlg->twoLists());
        QVERIFY(!dlg->ListAbt->isHidden());
        QCOMPARE(dlg->ListJgst->count(), 13);
        QVERIFY(dlg->ListJgst->selectedItems().isEmpty());
    }

    void clickOrderGivesRowOrder()
    {
        TMemoryGrid grid = overview({QStringLiteral(" 5a"), QStringLiteral(" 6a"), QStringLiteral(" 7a")});
        dlg->setKlassen(&grid);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        QListWidget* list = dlg->ListJgst;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(2)).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(list->selectedItems().size(), 2);
        QCOMPARE(dlg->getString(40), QStringLiteral("Klassen  5a  7a"));
        std::unique_ptr<TSearchFilter> f(dlg->getFilter());
        QCOMPARE(f->kl, (QStringList{QStringLiteral(" 5a"), QStringLiteral(" 7a")}));
    }

    void enterAndEscKeepItOpen()
    {
        dlg->setKlassen(nullptr);
        const int result = execWith(*dlg, [this] {
            QTest::keyClick(dlg->ListJgst, Qt::Key_Return);
            QTest::keyClick(dlg->ListJgst, Qt::Key_Escape);
            QTest::keyClick(dlg, Qt::Key_Enter);
            QTest::keyClick(dlg, Qt::Key_Escape);
            dlg->OkBtn->setFocus();
            QTest::keyClick(dlg->OkBtn, Qt::Key_Return);
            stillOpen = dlg->isVisible();
            dlg->CancelBtn->click();
        });
        QVERIFY(stillOpen);
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void closeBoxMeansCancelAndKeepsMarks()
    {
        dlg->setKlassen(nullptr);
        const int result = execWith(*dlg, [this] {
            mark(dlg->ListJgst, {4});
            dlg->close();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(dlg->getString(40), QStringLiteral("Klassen 5"));
        QCOMPARE(execWith(*dlg, [this] { dlg->OkBtn->click(); }), int(QDialog::Accepted));
        QCOMPARE(dlg->getString(40), QStringLiteral("Klassen 5"));
    }

    void selectAllTwoLists()
    {
        dlg->setKlassen(nullptr);
        QCOMPARE(execWith(*dlg, [this] { dlg->SelectAll->click(); }), int(QDialog::Accepted));
        QCOMPARE(dlg->getString(12), QStringLiteral("Alle Klassen"));

        TOwnedSchuelerData sd;
        sd.add(pupil(QStringLiteral("Null; w; 0; a; -; 0; 0; 0; 0; 0; 0; ")));
        sd.add(pupil(QStringLiteral("Klein; w; 7; c; -; 0; 0; 0; 0; 0; 0; ")));
        sd.add(pupil(QStringLiteral("Ohne; m; 13; ; -; 0; 0; 0; 0; 0; 0; ")));
        sd.add(pupil(QStringLiteral("Jot; m; 9; A; -; 0; 0; 0; 0; 0; 0; ")));
        sd.getNr(4)->abt = QStringLiteral("J");
        sd.add(pupil(QStringLiteral("Gross; m; 13; A; -; 0; 0; 0; 0; 0; 0; ")));
        sd.getNr(5)->jgst = 14;
        std::unique_ptr<TSearchFilter> f(dlg->getFilter());
        QVERIFY(f->kl.isEmpty());
        QCOMPARE(f->jgst.count(), 13);
        QCOMPARE(f->abt.count(), 8);
        // grade 0 and 14 and department J are not selected
        QCOMPARE(countSelected(sd, *f), 2);
    }

    void selectAllOneList()
    {
        TMemoryGrid grid = overview({QStringLiteral(" 5a"), QStringLiteral("12Bio")});
        dlg->setKlassen(&grid);
        QCOMPARE(execWith(*dlg, [this] { dlg->SelectAll->click(); }), int(QDialog::Accepted));
        QCOMPARE(dlg->getString(12), QStringLiteral("Alle Klassen"));
        QCOMPARE(dlg->ListAbt->selectedItems().size(), 8);   // hidden, marked all the same
    }

    void twoListFilter()
    {
        dlg->setKlassen(nullptr);
        mark(dlg->ListJgst, {4});      // 5
        mark(dlg->ListAbt, {0, 2});    // A, C
        std::unique_ptr<TSearchFilter> f(dlg->getFilter());
        QVERIFY(f->jgst.contains(5));
        QCOMPARE(f->jgst.count(), 1);
        QVERIFY(f->abt.contains('A') && f->abt.contains('C'));
        QCOMPARE(f->abt.count(), 2);

        TOwnedSchuelerData sd;
        sd.add(pupil(QStringLiteral("A1; w; 5; a; -; 0; 0; 0; 0; 0; 0; ")));
        sd.add(pupil(QStringLiteral("B1; w; 5; b; -; 0; 0; 0; 0; 0; 0; ")));
        sd.add(pupil(QStringLiteral("C1; w; 5; Chem; -; 0; 0; 0; 0; 0; 0; ")));
        sd.add(pupil(QStringLiteral("A6; w; 6; a; -; 0; 0; 0; 0; 0; 0; ")));
        QCOMPARE(countSelected(sd, *f), 2);

        dlg->setKlassen(nullptr);
        std::unique_ptr<TSearchFilter> all(dlg->getFilter());
        QCOMPARE(countSelected(sd, *all), 4);
    }

private:
    TKlassenSelect* dlg = nullptr;
    bool stillOpen = false;
};

KESTRIN_TEST_MAIN(TestKlassenSelect)
#include "tst_klassenselect.moc"

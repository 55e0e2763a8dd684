// The automatic assignment dialog offscreen, over the real engine library.

#include "assign/UEintDialog.h"
#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "platform/UStringGrid.h"
#include "tests/assign/UEintTestData.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestFiles.h"
#include "tests/support/UTestMain.h"
#include "tests/support/UTextFit.h"

#include <QtTest>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <stdexcept>

using namespace EintTest;

namespace {

template <typename T>
T* child(QWidget& parent, const char* name)
{
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Runs the dialog modally and lets click act on it once it is up.
int execWith(TEintDialog& dlg, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dlg, act);
    return dlg.exec();
}

} // namespace

class TestEintDialog : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dlg = new TEintDialog;
    }

    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
        SchuelerData->ClearData();
        ProjektData->ClearData();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("GroupBox2") << "GroupBox2" << "Projektplätze" << QRect(8, 8, 321, 73);
        QTest::newRow("GroupBox1") << "GroupBox1" << "Optionen ..." << QRect(8, 88, 321, 121);
        QTest::newRow("GroupBox3") << "GroupBox3" << "Fortschritt" << QRect(8, 216, 321, 81);
        QTest::newRow("Abbrechen") << "Abbrechen" << "Abbrechen" << QRect(168, 312, 75, 25);
        QTest::newRow("Start") << "Start" << "Start" << QRect(256, 312, 75, 25);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QWidget* w = dlg->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), dlg);
        // As designed where the texts fit; where a font needs more room the
        // window grows, and the groups and buttons grow and move with its
        // right edge, never smaller than designed.
        const QRect r = w->geometry();
        if (dlg->width() == 339) {
            QCOMPARE(r, geometry);
        } else {
            QCOMPARE(r.top(), geometry.top());
            QCOMPARE(r.height(), geometry.height());
            QVERIFY(r.left() >= geometry.left());
            QVERIFY(r.width() >= geometry.width());
            QVERIFY(dlg->width() - r.right() <= 339 - geometry.right());
        }
        if (auto* g = qobject_cast<QGroupBox*>(w))
            QCOMPARE(g->title(), text);
        else
            QCOMPARE(qobject_cast<QPushButton*>(w)->text(), text);
    }

    void designTimeTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("text");
        QTest::newRow("SchAnzLabel") << "SchAnzLabel" << "GroupBox2" << "0000";
        QTest::newRow("Label4") << "Label4" << "GroupBox2" << "Schüler";
        QTest::newRow("ProPlLabel1") << "ProPlLabel1" << "GroupBox2" << "0000";
        QTest::newRow("Label3") << "Label3" << "GroupBox2" << "Projektplätze min.";
        QTest::newRow("ProPlLabel2") << "ProPlLabel2" << "GroupBox2" << "0000";
        QTest::newRow("Label5") << "Label5" << "GroupBox2" << "Projektplätze max.";
        QTest::newRow("Label2") << "Label2" << "GroupBox1" << "Einteilungsalgorithmus:";
        QTest::newRow("ImplementIDString") << "ImplementIDString" << "GroupBox1" << "unbekannt";
        QTest::newRow("Label1") << "Label1" << "GroupBox1" << "Max. Einteilungstiefe";
    }

    void designTimeTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, group);
        QFETCH(QString, text);
        auto* label = dlg->findChild<QLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->parentWidget()->objectName(), group);
        QCOMPARE(label->text(), text);
    }

    void window()
    {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Automatische Schülereinteilung"));
        QVERIFY(dlg->width() >= 339);
        QCOMPARE(dlg->height(), 351);
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        auto* tiefe = child<QComboBox>(*dlg, "TiefeSelect");
        QVERIFY(!tiefe->isEditable());
        QCOMPARE(tiefe->parentWidget()->objectName(), QStringLiteral("GroupBox1"));
        QStringList items;
        for (int i = 0; i < tiefe->count(); ++i)
            items.append(tiefe->itemText(i));
        QCOMPARE(items, (QStringList{"nur Erstwahlen", "Erst- und Zweitwahlen", "Erst- bis Drittwahlen",
                                     "Erst- bis Viertwahlen", "Erst- bis Fünftwahlen"}));
        QCOMPARE(tiefe->currentIndex(), 4);
        QCOMPARE(dlg->getMaxDepth(), 5);
        QCOMPARE(child<QPushButton>(*dlg, "OptionsBut")->text(), QStringLiteral("Optionen ..."));
        QVERIFY(child<QPushButton>(*dlg, "Start")->isDefault());
        QVERIFY(!child<QPushButton>(*dlg, "Abbrechen")->isDefault());
        QCOMPARE(child<QProgressBar>(*dlg, "ProgressBar")->parentWidget()->objectName(),
                 QStringLiteral("GroupBox3"));
        auto* status = child<QLineEdit>(*dlg, "Schrittbeschreibung");
        QVERIFY(status->isReadOnly());
        QVERIFY(!status->hasFrame());

        // Tab order: the options group, then "Abbrechen", then "Start".
        QStringList order;
        QWidget* w = tiefe;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != tiefe);
        QCOMPARE(order, (QStringList{"TiefeSelect", "OptionsBut", "Abbrechen", "Start"}));
    }

    void textsShowWhole_data()
    {
        TextFit::addFontRows();
    }

    // At the font in use: every caption, item and status text whole, and
    // no control over another or beyond its group.
    void textsShowWhole()
    {
        QFETCH(bool, wider);
        const TextFit::TAppFont font(wider);
        // The dialog fits its controls when it is made.
        delete dlg;
        dlg = new TEintDialog;
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        for (const char* name : {"SchAnzLabel", "Label4", "ProPlLabel1", "Label3", "ProPlLabel2", "Label5", "Label2",
                                 "ImplementIDString", "Label1", "TiefeSelect", "OptionsBut", "Abbrechen", "Start"}) {
            const QString cut = TextFit::captionCut(child<QWidget>(*dlg, name));
            QVERIFY2(cut.isEmpty(), qPrintable(cut));
        }
        auto* status = child<QLineEdit>(*dlg, "Schrittbeschreibung");
        for (const char* text : {"Start drücken, um die Einteilung zu beginnen", "Initialisierung ...",
                                 "Einteilung läuft ...", "Fertigstellen ...", "Einteilung beendet"}) {
            const QString cut = TextFit::lineCut(status, QString::fromUtf8(text));
            QVERIFY2(cut.isEmpty(), qPrintable(cut));
        }
        for (const char* parent : {"GroupBox1", "GroupBox2", "GroupBox3"}) {
            const QStringList found = TextFit::overlaps(child<QWidget>(*dlg, parent));
            QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
        }
        const QStringList found = TextFit::overlaps(dlg);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
    }

    void workedExampleFromFiles()
    {
        QTemporaryDir dir;
        const QString pro = dir.filePath(QStringLiteral("tag.PRO"));
        const QString ein = dir.filePath(QStringLiteral("tag.EIN"));
        writeLines(pro, {"1; Theater; 1; 13; 2; 3; -; -;   0; ", "2; Chor; 1; 13; 2; 3; -; -;   0; "});
        writeLines(ein, {"Anna; w; 7; a; -; 1; 2; 0; 0; 0; 0; ", "Ben; m; 7; a; -; 1; 2; 0; 0; 0; 0; ",
                         "Cem; m; 8; b; -; 1; 2; 0; 0; 0; 0; ", "Dana; w; 8; b; -; 1; 2; 0; 0; 0; 0; ",
                         "Eva; w; 9; c; -; 1; 2; 0; 0; 0; 0; "});
        TScriptedUi ui;
        {
            TDataFile f(ft_proj, pro);
            QVERIFY(f.OpenRead());
            QCOMPARE(f.Read(*ProjektData, false), 2);
        }
        {
            TDataFile f(ft_teil, ein);
            QVERIFY(f.OpenRead());
            QCOMPARE(f.Read(*SchuelerData, false), 5);
        }
        CountEint(*SchuelerData, *ProjektData);
        SchuelerData->ModSaved(ein);
        QVERIFY(ui.messages.isEmpty());

        const int result = execWith(*dlg, [this] {
            QCOMPARE(child<QLabel>(*dlg, "SchAnzLabel")->text(), QStringLiteral("5"));
            QCOMPARE(child<QLabel>(*dlg, "ProPlLabel1")->text(), QStringLiteral("4"));
            QCOMPARE(child<QLabel>(*dlg, "ProPlLabel2")->text(), QStringLiteral("6"));
            QCOMPARE(child<QLabel>(*dlg, "ImplementIDString")->text(), QStringLiteral("orvan32.dll  (0.11)"));
            QCOMPARE(child<QLineEdit>(*dlg, "Schrittbeschreibung")->text(),
                     QStringLiteral("Start drücken, um die Einteilung zu beginnen"));
            QTest::mouseClick(child<QPushButton>(*dlg, "Start"), Qt::LeftButton);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(!dlg->isVisible());

        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].caption(), QStringLiteral("zuv"));
        QCOMPARE(ui.messages[0].buttons, TMsgButtons(mbOK));
        QVERIFY2(QRegularExpression(QStringLiteral("^5 von 5 Schülern in \\d+\\.\\d Sekunden eingeteilt$"))
                     .match(ui.messages[0].text).hasMatch(),
                 qPrintable(ui.messages[0].text));

        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));
        QVERIFY(SchuelerData->getModified());
        QCOMPARE(child<QProgressBar>(*dlg, "ProgressBar")->value(), 90);
        QCOMPARE(child<QLineEdit>(*dlg, "Schrittbeschreibung")->text(), QStringLiteral("Einteilung beendet"));

        TMemoryGrid proGrid(4, 1);
        ProjektData->toOverview(proGrid);
        QCOMPARE(proGrid.rowCount(), 4);
        QCOMPARE(proGrid.rowTexts(1), (QStringList{"0", "Nicht/ungültig gewählt", "0", ""}));
        QCOMPARE(proGrid.rowTexts(2), (QStringList{"1", "Theater", "3", "ok"}));
        QCOMPARE(proGrid.rowTexts(3), (QStringList{"2", "Chor", "2", "ok"}));
        TMemoryGrid klGrid(4, 1);
        SchuelerData->toOverview(klGrid, *ProjektData);
        QCOMPARE(klGrid.rowTexts(1), (QStringList{" 7a", "2", "2", "0"}));
        QCOMPARE(klGrid.rowTexts(2), (QStringList{" 8b", "2", "2", "2"}));
        QCOMPARE(klGrid.rowTexts(3), (QStringList{" 9c", "1", "1", "1"}));
    }

    void duringTheRun()
    {
        fillWorkedExample(*SchuelerData, *ProjektData);
        auto* bar = child<QProgressBar>(*dlg, "ProgressBar");
        auto* status = child<QLineEdit>(*dlg, "Schrittbeschreibung");
        TScriptedUi ui;
        dlg->show();
        QCOMPARE(bar->value(), 0);
        QStringList seenStatus;
        bool busy = true;
        int values = 0;
        connect(bar, &QProgressBar::valueChanged, this, [&](int) {
            ++values;
            const QCursor* c = QGuiApplication::overrideCursor();
            busy = busy && c && c->shape() == Qt::WaitCursor;
            if (seenStatus.isEmpty() || seenStatus.last() != status->text())
                seenStatus.append(status->text());
        });
        dlg->StartClick();
        QVERIFY(busy);
        QCOMPARE(seenStatus, QStringList{"Einteilung läuft ..."});
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 90);
        QCOMPARE(values, 90);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
    }

    void depthOne()
    {
        fillWorkedExample(*SchuelerData, *ProjektData);
        TScriptedUi ui;
        execWith(*dlg, [this] {
            child<QComboBox>(*dlg, "TiefeSelect")->setCurrentIndex(0);
            QCOMPARE(dlg->getMaxDepth(), 1);
            QTest::mouseClick(child<QPushButton>(*dlg, "Start"), Qt::LeftButton);
        });
        QCOMPARE(zuteile(*SchuelerData), (QList<int>(5, 1)));
        QVERIFY(ui.lastText().startsWith(QStringLiteral("5 von 5 Schülern in ")));
    }

    void handBeyondDepthAndClosedProject()
    {
        fillWorkedExample(*SchuelerData, *ProjektData);
        addProjekt(*ProjektData, 0, 9, true);            // project 3, closed
        addSchueler(*SchuelerData, {3, 1, 1, 2}, 4);      // hand on rank 4
        addSchueler(*SchuelerData, {3, 3, 3});            // only the closed one
        addSchueler(*SchuelerData, {3, 2}, -1, true);     // fixed on the closed one
        TScriptedUi ui;
        execWith(*dlg, [this] {
            child<QComboBox>(*dlg, "TiefeSelect")->setCurrentIndex(2);
            QTest::mouseClick(child<QPushButton>(*dlg, "Start"), Qt::LeftButton);
        });
        const QList<int> z = zuteile(*SchuelerData);
        QCOMPARE(z.mid(5), (QList<int>{0, 0, 0}));
        QCOMPARE(ProjektData->getNr(3)->eintanz, 0);
        QVERIFY(ui.lastText().startsWith(QStringLiteral("5 von 8 Schülern in ")));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Abbrechen") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }

    void cancelChangesNothing()
    {
        QFETCH(int, how);
        fillWorkedExample(*SchuelerData, *ProjektData);
        SchuelerData->getNr(3)->zuteil = 2;
        const QList<int> before = zuteile(*SchuelerData);
        TScriptedUi ui;
        const int result = execWith(*dlg, [this, how] {
            if (how == 0)
                QTest::mouseClick(child<QPushButton>(*dlg, "Abbrechen"), Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(dlg, Qt::Key_Escape);
            else
                dlg->close();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(zuteile(*SchuelerData), before);
        QVERIFY(!SchuelerData->getModified());
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(child<QProgressBar>(*dlg, "ProgressBar")->value(), 0);
    }

    void everyShowingStartsAfresh()
    {
        fillWorkedExample(*SchuelerData, *ProjektData);
        TScriptedUi ui;
        execWith(*dlg, [this] {
            child<QComboBox>(*dlg, "TiefeSelect")->setCurrentIndex(1);
            QTest::mouseClick(child<QPushButton>(*dlg, "Start"), Qt::LeftButton);
        });
        QCOMPARE(child<QProgressBar>(*dlg, "ProgressBar")->value(), 90);
        addSchueler(*SchuelerData, {1});
        addProjekt(*ProjektData, 1, 4);

        execWith(*dlg, [this] {
            QCOMPARE(child<QProgressBar>(*dlg, "ProgressBar")->value(), 0);
            QCOMPARE(child<QComboBox>(*dlg, "TiefeSelect")->currentIndex(), 4);
            QCOMPARE(child<QLabel>(*dlg, "SchAnzLabel")->text(), QStringLiteral("6"));
            QCOMPARE(child<QLabel>(*dlg, "ProPlLabel1")->text(), QStringLiteral("5"));
            QCOMPARE(child<QLabel>(*dlg, "ProPlLabel2")->text(), QStringLiteral("10"));
            QCOMPARE(child<QLineEdit>(*dlg, "Schrittbeschreibung")->text(),
                     QStringLiteral("Start drücken, um die Einteilung zu beginnen"));
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
    }

    void errorEscapingRunKeepsPupils()
    {
        fillWorkedExample(*SchuelerData, *ProjektData);
        const QList<int> before{1, 0, 2, 2, 0};
        for (int i = 1; i <= 5; ++i)
            SchuelerData->getNr(i)->zuteil = before[i - 1];
        CountEint(*SchuelerData, *ProjektData);
        auto* bar = child<QProgressBar>(*dlg, "ProgressBar");
        connect(bar, &QProgressBar::valueChanged, this, [](int value) {
            if (value == 45)
                throw std::runtime_error("engine failed");
        });
        // The message comes with the normal cursor and before the dialog
        // closes.
        struct TWatchingUi : TScriptedUi {
            TModalResult messageBox(const TMessage& m) override
            {
                busy = QGuiApplication::overrideCursor() != nullptr;
                dialogUp = EintDialogUnderTest->isVisible();
                return TScriptedUi::messageBox(m);
            }
            QWidget* EintDialogUnderTest = nullptr;
            bool busy = true;
            bool dialogUp = false;
        } ui;
        ui.EintDialogUnderTest = dlg;
        const int result = execWith(*dlg, [this] {
            QTest::mouseClick(child<QPushButton>(*dlg, "Start"), Qt::LeftButton);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(ui.texts(), QStringList{"engine failed"});
        QVERIFY(!ui.busy);
        QVERIFY(ui.dialogUp);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(zuteile(*SchuelerData), before);
        QCOMPARE(counts(*ProjektData), (QList<int>{2, 1, 2}));
        QVERIFY(!SchuelerData->getModified());

        // The engine instance went with the run: the next run works.
        disconnect(bar, nullptr, this, nullptr);
        execWith(*dlg, [this] { QTest::mouseClick(child<QPushButton>(*dlg, "Start"), Qt::LeftButton); });
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));
    }

    void everyShowingStartsOnStart_data()
    {
        QTest::addColumn<QString>("leftOn");
        QTest::newRow("first showing") << QString();
        QTest::newRow("Abbrechen had the focus") << "Abbrechen";
        QTest::newRow("Optionen had the focus") << "OptionsBut";
        QTest::newRow("the depth list had the focus") << "TiefeSelect";
    }

    // Wherever the focus was left, the dialog comes up with it on "Start",
    // so Enter starts the run.
    void everyShowingStartsOnStart()
    {
        QFETCH(QString, leftOn);
        fillWorkedExample(*SchuelerData, *ProjektData);
        TScriptedUi ui;
        QWidget* start = child<QPushButton>(*dlg, "Start");
        if (!leftOn.isEmpty()) {
            QWidget* left = nullptr;
            execWith(*dlg, [&] {
                dlg->findChild<QWidget*>(leftOn)->setFocus(Qt::TabFocusReason);
                left = dlg->focusWidget();
                dlg->reject();
            });
            QCOMPARE(left->objectName(), leftOn);
        }
        QWidget* focused = nullptr;
        const int result = execWith(*dlg, [&] {
            focused = dlg->focusWidget();
            QTest::keyClick(focused ? focused : dlg, Qt::Key_Return);
        });
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), start->objectName());
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));
    }

    void enterStarts()
    {
        fillWorkedExample(*SchuelerData, *ProjektData);
        TScriptedUi ui;
        const int result = execWith(*dlg, [this] { // Enter in the depth list starts as well.
            QTest::keyClick(child<QComboBox>(*dlg, "TiefeSelect"), Qt::Key_Return); });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(zuteile(*SchuelerData), (QList<int>{2, 2, 1, 1, 1}));
    }

    void helpKey()
    {
        TScriptedUi ui;
        execWith(*dlg, [this] {
            QTest::keyClick(dlg, Qt::Key_F1);
            dlg->reject();
        });
        QCOMPARE(ui.helpContexts, QList<int>{120});
    }

    void resultText_data()
    {
        QTest::addColumn<int>("eint");
        QTest::addColumn<int>("anz");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("example") << 95 << 100 << qint64(1234) << "95 von 100 Schülern in 1.2 Sekunden eingeteilt";
        QTest::newRow("under 100 ms") << 5 << 5 << qint64(99) << "5 von 5 Schülern in 0.0 Sekunden eingeteilt";
        QTest::newRow("tenths cut") << 0 << 0 << qint64(1999) << "0 von 0 Schülern in 1.9 Sekunden eingeteilt";
        QTest::newRow("a minute") << 99881 << 100000 << qint64(61050)
                                  << "99881 von 100000 Schülern in 61.0 Sekunden eingeteilt";
    }

    void resultText()
    {
        QFETCH(int, eint);
        QFETCH(int, anz);
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(EintResultText(eint, anz, ms), text);
    }

    void optionsButtonShowsEngineOptions()
    {
        bool sawModal = false;
        execWith(*dlg, [this, &sawModal] {
            QTimer::singleShot(0, [this, &sawModal] {
                QWidget* modal = QApplication::activeModalWidget();
                sawModal = modal && modal != dlg;
                if (modal)
                    modal->close();
                QTimer::singleShot(0, dlg, &QDialog::reject);
            });
            QTest::mouseClick(child<QPushButton>(*dlg, "OptionsBut"), Qt::LeftButton);
        });
        QVERIFY(sawModal);
    }

private:
    TEintDialog* dlg = nullptr;
};

KESTRIN_TEST_MAIN(TestEintDialog)
#include "tst_eintdialog.moc"

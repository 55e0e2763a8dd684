// The project and the pupil statistics offscreen: their counts, texts and
// shares, browsing, and the class choice inside the pupil statistics.

#include "app/UKlassenSelect.h"
#include "assign/UProStatD.h"
#include "assign/USchStatD.h"
#include "data/UFilter.h"
#include "platform/UGridWidget.h"
#include "tests/assign/UEintTestData.h"
#include "tests/data/UDataTestUtil.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"

#include <QtTest>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

using namespace EintTest;

class TestStatDialogs : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ui = std::make_unique<TScriptedUi>();
        pro_ = new TProStatD;
        sch_ = new TSchStatD;
        KlassenSelect = new TKlassenSelect;
    }

    void cleanup()
    {
        delete pro_;
        delete sch_;
        delete KlassenSelect;
        KlassenSelect = nullptr;
        sch.ClearData();
        pro.ClearData();
        ui.reset();
    }

    // ------------------------------------------------ project statistics

    void projectTexts()
    {
        TProjekt* p = addProjekt(pro, 2, 8);
        p->name = QStringLiteral("Rock & Pop");
        p->jgmin = 5;
        p->jgmax = 10;
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->windowTitle(), QStringLiteral("Projekt-Statistik"));
        QCOMPARE(pro_->Nr->text(), QStringLiteral("1"));
        QCOMPARE(pro_->Name->text(), QStringLiteral("Rock & Pop"));
        QCOMPARE(pro_->JgMin->text(), QStringLiteral("5"));
        QCOMPARE(pro_->JgMax->text(), QStringLiteral("10"));
        QCOMPARE(pro_->Gestrichen->text(), QStringLiteral("Projekt offen"));
        QCOMPARE(pro_->WeiblMaennl->text(), QString());
        QCOMPARE(pro_->Grid->rowTexts(0),
                 (QStringList{"", "Gesamt", "Fest", "1.-Wahl", "2.-Wahl", "3.-Wahl", "4.-Wahl", "5.-Wahl"}));
        QCOMPARE(pro_->Grid->cell(0, 1), QStringLiteral("Wahlen"));
        QCOMPARE(pro_->Grid->cell(0, 2), QStringLiteral("Davon ungültig"));
        QCOMPARE(pro_->Grid->cell(0, 3), QStringLiteral("Eingeteilt"));
        QCOMPARE(pro_->Grid->rowTexts(2), (QStringList{"Davon ungültig", "", "", "", "", "", "", ""}));
        // no pupils: no warning
        QCOMPARE(pro_->ZuWenig->text(), QString());
    }

    void admission_data()
    {
        QTest::addColumn<bool>("weib");
        QTest::addColumn<bool>("maenn");
        QTest::addColumn<bool>("gesp");
        QTest::addColumn<QString>("text");
        QTest::newRow("both") << true << true << false << "";
        QTest::newRow("girls") << true << false << false << "nur weiblichen Teilnehmern offen";
        QTest::newRow("boys") << false << true << false << "nur männlichen Teilnehmern offen";
        QTest::newRow("neither, closed") << false << false << true << "nur fest eingeteilten Schülern offen";
    }

    void admission()
    {
        QFETCH(bool, weib);
        QFETCH(bool, maenn);
        QFETCH(bool, gesp);
        QFETCH(QString, text);
        TProjekt* p = addProjekt(pro, 0, 5, gesp);
        p->weib = weib;
        p->maenn = maenn;
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->WeiblMaennl->text(), text);
        QCOMPARE(pro_->Gestrichen->text(), gesp ? QStringLiteral("Projekt gestrichen") : QStringLiteral("Projekt offen"));
    }

    void countsByRank()
    {
        addProjekt(pro, 0, 10);
        addProjekt(pro, 5, 10);
        TSchueler* a = addSchueler(sch, {1, 2, 1});      // ranks 1 and 3, sits in it
        a->zuteil = 1;
        TSchueler* b = addSchueler(sch, {1, 2}, -1, true);   // fixed, in its first choice
        b->zuteil = 1;
        addSchueler(sch, {2, 1});                         // rank 2, not assigned
        TSchueler* d = addSchueler(sch, {2, 3});          // in project 1 without choosing it
        d->zuteil = 1;
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->Grid->rowTexts(1), (QStringList{"Wahlen", "3", "1", "2", "1", "1", "0", "0"}));
        QCOMPARE(pro_->Grid->rowTexts(3), (QStringList{"Eingeteilt", "3", "1", "1", "0", "1", "0", "0"}));
        QCOMPARE(pro_->TeilnAnz->text(), QStringLiteral("3"));
        QCOMPARE(pro_->TrackBar->value(), 3);
        QCOMPARE(pro_->ZuWenig->text(), QString());

        // project 2: chosen by 3, minimum 5
        pro_->UpdateData(&pro, &sch, 2);
        QCOMPARE(pro_->ZuWenig->text(), QStringLiteral("Zu wenig Nachfrage!"));
    }

    void onePupilAtTwoRanks()
    {
        addProjekt(pro, 0, 10);
        TSchueler* a = addSchueler(sch, {1, 0, 1});
        a->zuteil = 1;
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->Grid->rowTexts(1), (QStringList{"Wahlen", "1", "0", "1", "0", "1", "0", "0"}));
        QCOMPARE(pro_->Grid->rowTexts(3), (QStringList{"Eingeteilt", "1", "0", "0", "0", "1", "0", "0"}));
    }

    void staleCountsAreRecounted()
    {
        addProjekt(pro, 0, 10);
        TSchueler* a = addSchueler(sch, {1});
        a->zuteil = 1;
        addSchueler(sch, {1});
        pro.getNr(1)->eintanz = 7;   // left over from an earlier state
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->TeilnAnz->text(), pro_->Grid->cell(1, 3));
        QCOMPARE(pro_->TeilnAnz->text(), QStringLiteral("1"));
    }

    void projectAbove255GivesZeros()
    {
        TProjekt* p = addProjekt(pro, 3, 10);
        p->nr = 300;
        TSchueler* a = addSchueler(sch, {300, 44});
        a->zuteil = 300;
        addSchueler(sch, {44});
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->Nr->text(), QStringLiteral("300"));
        QCOMPARE(pro_->Grid->rowTexts(1), (QStringList{"Wahlen", "0", "0", "0", "0", "0", "0", "0"}));
        QCOMPARE(pro_->Grid->rowTexts(3), (QStringList{"Eingeteilt", "0", "0", "0", "0", "0", "0", "0"}));
    }

    void trackBarRange()
    {
        addProjekt(pro, 120, 150);
        addProjekt(pro, 10, 30);
        pro_->UpdateData(&pro, &sch, 1);
        QCOMPARE(pro_->TrackBar->selStart(), 100);
        QCOMPARE(pro_->TrackBar->selEnd(), 100);
        QCOMPARE(pro_->TeilnMin->text(), QStringLiteral("120"));
        QCOMPARE(pro_->TeilnMax->text(), QStringLiteral("150"));
        QVERIFY(!pro_->TrackBar->isEnabled());
        pro_->UpdateData(&pro, &sch, 2);
        QCOMPARE(pro_->TrackBar->selStart(), 10);
        QCOMPARE(pro_->TrackBar->selEnd(), 30);
    }

    void browsing()
    {
        for (int i = 0; i < 3; ++i)
            addProjekt(pro, 0, 5);
        pro_->UpdateData(&pro, &sch, 1);
        pro_->Zurueck->click();
        QCOMPARE(pro_->getCurrentNr(), 1);
        QCOMPARE(pro_->Nr->text(), QStringLiteral("1"));
        pro_->Vor->click();
        pro_->Vor->click();
        pro_->Vor->click();
        QCOMPARE(pro_->getCurrentNr(), 3);
        QCOMPARE(pro_->Nr->text(), QStringLiteral("3"));
        pro_->Zurueck->click();
        QCOMPARE(pro_->Nr->text(), QStringLiteral("2"));
    }

    // -------------------------------------------------- pupil statistics

    void sharePercent_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("V");
        QTest::addColumn<int>("share");
        QTest::newRow("1 of 8") << 1 << 8 << 12;
        QTest::newRow("3 of 8") << 3 << 8 << 38;
        QTest::newRow("5 of 8") << 5 << 8 << 62;
        QTest::newRow("1 of 200") << 1 << 200 << 0;
        QTest::newRow("3 of 200") << 3 << 200 << 2;
        QTest::newRow("1 of 3") << 1 << 3 << 33;
        QTest::newRow("2 of 3") << 2 << 3 << 67;
        QTest::newRow("V 0") << 4 << 0 << 0;
        QTest::newRow("more than V, half to even") << 9 << 8 << 112;
        QTest::newRow("large") << 2000000 << 2000000 << 100;
    }

    void sharePercent()
    {
        QFETCH(int, count);
        QFETCH(int, V);
        QFETCH(int, share);
        QCOMPARE(SharePercent(count, V), share);
    }

    void pupilCounts()
    {
        addProjekt(pro, 0, 10);
        addProjekt(pro, 0, 10, true);   // closed
        // nine pupils with valid choices, one of them in its first choice
        TSchueler* first = addSchueler(sch, {1, 2});
        first->zuteil = 1;
        for (int i = 0; i < 7; ++i)
            addSchueler(sch, {1, 2, 1, 1, 1});
        TSchueler* boy = addSchueler(sch, {2});      // only a closed choice: invalid
        boy->geschl = true;
        addSchueler(sch, {0, 1});                    // first empty, second made
        sch.getNr(10)->geschl = true;
        addSchueler(sch, {0, 0, 0, 0, 0});           // no choice: invalid
        const TSearchFilter all;
        sch_->UpdateData(&sch, &pro, all, QStringLiteral("Alle Klassen"));
        QCOMPARE(sch_->Klassennamen->text(), QStringLiteral("Alle Klassen"));
        QCOMPARE(sch_->SchAnz->text(), QStringLiteral("11"));
        QCOMPARE(sch_->Maenn->text(), QStringLiteral("2"));
        QCOMPARE(sch_->Weib->text(), QStringLiteral("9"));
        QCOMPARE(sch_->NichtGew->text(), QStringLiteral("1"));
        QCOMPARE(sch_->Unvollst->text(), QStringLiteral("3"));
        QCOMPARE(sch_->Ungueltig->text(), QStringLiteral("2"));
        QCOMPARE(sch_->Gueltig->text(), QStringLiteral("9"));
        QCOMPARE(sch_->Grid->rowTexts(0), (QStringList{"Nicht eint.", "Fest", "1.-Wahl", "2.-Wahl", "3.-Wahl",
                                                       "4.-Wahl", "5.-Wahl"}));
        QCOMPARE(sch_->Grid->rowTexts(1), (QStringList{"10", "0", "1", "0", "0", "0", "0"}));
    }

    void sharesOfEightValid()
    {
        addProjekt(pro, 0, 10);
        for (int i = 0; i < 8; ++i)
            addSchueler(sch, {1});
        addSchueler(sch, {});   // invalid, not part of V
        sch.getNr(1)->zuteil = 1;
        const TSearchFilter all;
        sch_->UpdateData(&sch, &pro, all, QStringLiteral("Alle Klassen"));
        QCOMPARE(sch_->Gueltig->text(), QStringLiteral("8"));
        QCOMPARE(sch_->Grid->rowTexts(2), (QStringList{"", "0%", "12%", "0%", "0%", "0%", "0%"}));
        sch.getNr(2)->zuteil = 1;
        sch.getNr(3)->zuteil = 1;
        sch.getNr(3)->fest = true;
        sch_->UpdateData(&sch, &pro, all, QStringLiteral("Alle Klassen"));
        QCOMPARE(sch_->Grid->rowTexts(1), (QStringList{"6", "1", "3", "0", "0", "0", "0"}));
        QCOMPARE(sch_->Grid->rowTexts(2), (QStringList{"", "12%", "38%", "0%", "0%", "0%", "0%"}));
    }

    void fixedAndHandAreNotIncomplete()
    {
        addSchueler(sch, {1, 2}, -1, true);
        addSchueler(sch, {1, 2}, 2);
        addSchueler(sch, {1, 2});
        const TSearchFilter all;
        sch_->UpdateData(&sch, &pro, all, QStringLiteral("x"));
        QCOMPARE(sch_->Unvollst->text(), QStringLiteral("1"));
        // without projects nobody is invalid
        QCOMPARE(sch_->Ungueltig->text(), QStringLiteral("0"));
        QCOMPARE(sch_->Gueltig->text(), QStringLiteral("3"));
        QCOMPARE(sch_->Grid->cell(1, 1), QStringLiteral("1"));
        QCOMPARE(sch_->Grid->cell(1, 2), QStringLiteral("33%"));
    }

    void emptySelection()
    {
        addProjekt(pro, 0, 10);
        addSchueler(sch, {1});
        TSearchFilter grade20;
        grade20.jgst.include(20);
        sch_->UpdateData(&sch, &pro, grade20, QStringLiteral("Klassen 20 "));
        for (QLineEdit* e : {sch_->SchAnz, sch_->Maenn, sch_->Weib, sch_->NichtGew, sch_->Unvollst,
                             sch_->Ungueltig, sch_->Gueltig})
            QCOMPARE(e->text(), QStringLiteral("0"));
        QCOMPARE(sch_->Grid->rowTexts(1), (QStringList{"0", "0", "0", "0", "0", "0", "0"}));
        QCOMPARE(sch_->Grid->rowTexts(2), (QStringList{"", "0%", "0%", "0%", "0%", "0%", "0%"}));
    }

    void countsReadLikeProjectData_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"SchAnz", "Maenn", "Weib", "Gueltig", "Unvollst", "Ungueltig", "NichtGew"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void countsReadLikeProjectData()
    {
        // The counts show as the project statistics show the grade range:
        // enabled text that cannot be changed and takes no focus.
        QFETCH(QString, name);
        const auto* count = sch_->findChild<QLineEdit*>(name);
        QVERIFY(count);
        const QLineEdit* grade = pro_->JgMin;
        QVERIFY(grade->isEnabled() && grade->isReadOnly());
        QCOMPARE(count->isEnabled(), grade->isEnabled());
        QCOMPARE(count->isReadOnly(), grade->isReadOnly());
        QCOMPARE(count->focusPolicy(), grade->focusPolicy());
    }

    void chooseBeforeAnyUpdate()
    {
        QTimer::singleShot(0, KlassenSelect, [] { KlassenSelect->OkBtn->click(); });
        sch_->Waehle->click();
        QCOMPARE(ui->texts(), QStringList{"Fehler in TSchStatD.WaehleClick. Anzeige nicht moeglich."});
    }

    void chooseClasses()
    {
        addProjekt(pro, 0, 10);
        addSchueler(sch, {1});
        addSchueler(sch, {1});
        sch.getNr(2)->jgst = 9;
        const TSearchFilter all;
        sch_->UpdateData(&sch, &pro, all, QStringLiteral("Alle Klassen"));

        // Cancel leaves the dialog as it was
        QTimer::singleShot(0, KlassenSelect, [] {
            KlassenSelect->ListJgst->item(8)->setSelected(true);
            KlassenSelect->CancelBtn->click();
        });
        sch_->Waehle->click();
        QCOMPARE(sch_->Klassennamen->text(), QStringLiteral("Alle Klassen"));
        QCOMPARE(sch_->SchAnz->text(), QStringLiteral("2"));

        // the selection starts empty again; grade 9 chosen
        QTimer::singleShot(0, KlassenSelect, [] {
            QVERIFY(KlassenSelect->ListJgst->selectedItems().isEmpty());
            KlassenSelect->ListJgst->item(8)->setSelected(true);
            KlassenSelect->OkBtn->click();
        });
        sch_->Waehle->click();
        QCOMPARE(sch_->Klassennamen->text(), QStringLiteral("Klassen 9"));
        QCOMPARE(sch_->SchAnz->text(), QStringLiteral("1"));

        // nothing chosen: every pupil, heading "Klassen"
        QTimer::singleShot(0, KlassenSelect, [] { KlassenSelect->OkBtn->click(); });
        sch_->Waehle->click();
        QCOMPARE(sch_->Klassennamen->text(), QStringLiteral("Klassen"));
        QCOMPARE(sch_->SchAnz->text(), QStringLiteral("2"));
        QVERIFY(ui->messages.isEmpty());
    }

    void closedDialogsKeepNoLists()
    {
        // The lists may go once the dialogs have closed.
        auto P = std::make_unique<TOwnedProjektData>();
        auto S = std::make_unique<TOwnedSchuelerData>();
        addProjekt(*P, 0, 5);
        addProjekt(*P, 0, 5);
        addSchueler(*S, {1});
        pro_->UpdateData(P.get(), S.get(), 1);
        QTimer::singleShot(0, pro_, [this] { pro_->OkBtn->click(); });
        QCOMPARE(pro_->exec(), int(QDialog::Accepted));
        const TSearchFilter all;
        sch_->UpdateData(S.get(), P.get(), all, QStringLiteral("Alle Klassen"));
        QTimer::singleShot(0, sch_, [this] { sch_->OkBtn->click(); });
        QCOMPARE(sch_->exec(), int(QDialog::Accepted));
        P.reset();
        S.reset();

        pro_->Vor->click();
        pro_->Zurueck->click();
        QCOMPARE(pro_->getCurrentNr(), 1);
        QTimer::singleShot(0, KlassenSelect, [] { KlassenSelect->OkBtn->click(); });
        sch_->Waehle->click();
        QCOMPARE(ui->texts(), QStringList{"Fehler in TSchStatD.WaehleClick. Anzeige nicht moeglich."});
        QCOMPARE(sch_->SchAnz->text(), QStringLiteral("1"));
    }

private:
    std::unique_ptr<TScriptedUi> ui;
    TProStatD* pro_ = nullptr;
    TSchStatD* sch_ = nullptr;
    TOwnedProjektData pro;
    TOwnedSchuelerData sch;
};

KESTRIN_TEST_MAIN(TestStatDialogs)
#include "tst_statdialogs.moc"

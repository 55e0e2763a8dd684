#include "platform/UQtPrinter.h"
#include "platform/UQtUi.h"
#include "tests/support/UTestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Runs action on the next modal dialog of class T once it is shown. Should
// that dialog not appear within 20 s, whatever modal window is up is
// rejected, so the test fails instead of hanging.
template <class T = QDialog>
void whenModal(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, ticks] {
        QWidget* modal = QApplication::activeModalWidget();
        if (++*ticks > 2000) {
            timer->stop();
            timer->deleteLater();
            qWarning("whenModal: the expected dialog did not appear");
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        if (!qobject_cast<T*>(modal) || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
        // A dialog the action did not close is rejected after 20 s.
        QTimer::singleShot(20000, modal, [modal] {
            if (modal->isVisible()) {
                qWarning("whenModal: the dialog stayed open");
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            }
        });
    });
    timer->start();
}

QStringList buttonTexts(const QMessageBox* box)
{
    QStringList texts;
    for (const QAbstractButton* b : box->buttons())
        texts.append(b->text());
    texts.sort();
    return texts;
}

QAbstractButton* buttonWithText(const QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

// Records help requests instead of opening anything.
class TRecordingQtUi : public TQtUi {
public:
    QList<int> helps;
    void showHelp(int context) override { helps.append(context); }
};

// Types the keys one after the other, without a pause, where the keyboard
// focus is at each of them (nowhere once the box is gone).
void typeKeys(std::initializer_list<Qt::Key> keys)
{
    for (Qt::Key key : keys)
        if (QWidget* w = QApplication::focusWidget())
            QTest::keyClick(w, key);
}

// The file names the dialog lists in its folder, and whether each is enabled.
QStringList listedFiles(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("<no list>")};
    QAbstractItemModel* model = view->model();
    const QModelIndex root = view->rootIndex();
    QStringList names;
    for (int r = 0; r < model->rowCount(root); ++r) {
        const QModelIndex i = model->index(r, 0, root);
        if (model->flags(i) & Qt::ItemIsEnabled)
            names.append(i.data().toString());
    }
    names.sort();
    return names;
}

} // namespace

class TestQtUi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);   // the dialogs' remembered state stays apart
    }

    void cleanup()
    {
        SetUi(nullptr);
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one") << "Projektdateien (*.PRO)|*.pro" << QStringList{"Projektdateien (*.PRO) (*.pro)"};
        QTest::newRow("two pairs")
            << "Textdateien (*.TXT)|*.txt|Alle Dateien (*.*)|*.*"
            << QStringList{"Textdateien (*.TXT) (*.txt)", "Alle Dateien (*.*) (*)"};
        QTest::newRow("several patterns") << "Schüler|*.wah;*.ein" << QStringList{"Schüler (*.wah *.ein)"};
        QTest::newRow("blanks around patterns") << "A| *.a ; *.b |B|*.c" << QStringList{"A (*.a *.b)", "B (*.c)"};
        QTest::newRow("name without pattern") << "A|*.a|B" << QStringList{"A (*.a)"};
        QTest::newRow("empty pattern") << "A|" << QStringList{"A (*)"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(TQtUi::nameFilters(filter), expected);
    }

    void messageBoxButtons_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("click");
        QTest::addColumn<int>("result");
        const auto Q = QMessageBox::Question;
        QTest::newRow("plain") << int(TMsgType::mtPlain) << unsigned(mbOK) << "zuv" << int(QMessageBox::NoIcon)
                               << QStringList{"OK"} << "OK" << int(TModalResult::mrOk);
        QTest::newRow("yes no cancel: yes")
            << int(TMsgType::mtInformation) << unsigned(mbYes | mbNo | mbCancel) << "Informationen"
            << int(QMessageBox::Information) << QStringList{"&Ja", "&Nein", "Abbrechen"} << "&Ja"
            << int(TModalResult::mrYes);
        QTest::newRow("yes no cancel: no")
            << int(TMsgType::mtInformation) << unsigned(mbYes | mbNo | mbCancel) << "Informationen"
            << int(QMessageBox::Information) << QStringList{"&Ja", "&Nein", "Abbrechen"} << "&Nein"
            << int(TModalResult::mrNo);
        QTest::newRow("yes no cancel: cancel")
            << int(TMsgType::mtInformation) << unsigned(mbYes | mbNo | mbCancel) << "Informationen"
            << int(QMessageBox::Information) << QStringList{"&Ja", "&Nein", "Abbrechen"} << "Abbrechen"
            << int(TModalResult::mrCancel);
        QTest::newRow("ok cancel help: ok")
            << int(TMsgType::mtConfirmation) << unsigned(mbOK | mbCancel | mbHelp) << "Bestätigen" << int(Q)
            << QStringList{"&Hilfe", "Abbrechen", "OK"} << "OK" << int(TModalResult::mrOk);
        QTest::newRow("warning ignore")
            << int(TMsgType::mtWarning) << unsigned(mbOK | mbIgnore) << "Warnung" << int(QMessageBox::Warning)
            << QStringList{"&Ignorieren", "OK"} << "&Ignorieren" << int(TModalResult::mrIgnore);
        QTest::newRow("escape cancels") << int(TMsgType::mtInformation) << unsigned(mbOK | mbCancel)
                                        << "Informationen" << int(QMessageBox::Information)
                                        << QStringList{"Abbrechen", "OK"} << "<Esc>" << int(TModalResult::mrCancel);
    }

    void messageBoxButtons()
    {
        QFETCH(int, type);
        QFETCH(unsigned, buttons);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(QStringList, texts);
        QFETCH(QString, click);
        QFETCH(int, result);

        TQtUi ui;
        QString seenCaption;
        QString seenText;
        int seenIcon = -1;
        QStringList seenButtons;
        whenModal<QMessageBox>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            seenCaption = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            seenButtons = buttonTexts(box);
            if (click == QLatin1String("<Esc>"))
                QTest::keyClick(box, Qt::Key_Escape);
            else if (QAbstractButton* b = buttonWithText(box, click))
                b->click();
            else
                box->reject();
        });
        const TModalResult answer = ui.messageBox(TMessage{TMsgType(type), QStringLiteral("Frage?"), buttons, 7});
        QCOMPARE(seenCaption, caption);
        QCOMPARE(seenText, QStringLiteral("Frage?"));
        QCOMPARE(seenIcon, icon);
        QCOMPARE(seenButtons, texts);
        QCOMPARE(int(answer), result);
    }

    void longLineEndsWithEllipsis_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("elided");
        QString letters;
        for (int i = 0; i < 400; ++i)
            letters += i % 2 ? QStringLiteral("ä") : QStringLiteral("W");
        QTest::newRow("no place to wrap") << letters << true;
        QTest::newRow("combining marks") << QStringLiteral("u\u0308").repeated(400) << true;
        QTest::newRow("outside the basic plane") << QStringLiteral("\U0001D400").repeated(400) << true;
        QTest::newRow("words") << QStringLiteral("Becker Björn 7d maennlich ").repeated(40) << false;
        QTest::newRow("short") << QStringLiteral("Becker;Björn;7d;maennlich") << false;
    }

    void longLineEndsWithEllipsis()
    {
        QFETCH(QString, line);
        QFETCH(bool, elided);
        const QString first = QStringLiteral("Lesefehler in Zeile 3: Interpret: Ungültiges Geschlecht (x)");
        TQtUi ui;
        QString seen;
        int room = 0;
        int width = 0;
        whenModal<QMessageBox>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            seen = box->text();
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            room = label->contentsRect().width();
            width = label->fontMetrics().horizontalAdvance(seen.section(QStringLiteral("\r\n"), 1));
            buttonWithText(box, QStringLiteral("&Ignorieren"))->click();
        });
        QCOMPARE(ui.messageBox(TMessage{TMsgType::mtWarning, first + QStringLiteral("\r\n") + line, mbCancel | mbIgnore, 0}),
                 TModalResult::mrIgnore);
        QCOMPARE(seen.section(QStringLiteral("\r\n"), 0, 0), first);
        const QString shown = seen.section(QStringLiteral("\r\n"), 1);
        if (!elided) {
            QCOMPARE(shown, line);
            return;
        }
        // Whole characters that fit, then the ellipsis.
        QVERIFY2(shown.endsWith(QStringLiteral("…")), qPrintable(shown));
        const QString kept = shown.chopped(1);
        QVERIFY(!kept.isEmpty());
        QVERIFY(line.startsWith(kept));
        QVERIFY(!kept.back().isHighSurrogate());
        QVERIFY(line.at(kept.size()).isLetter() || line.at(kept.size()).isHighSurrogate());
        QVERIFY2(width <= room, qPrintable(QStringLiteral("%1 > %2").arg(width).arg(room)));
    }

    void defaultButtonIsTheFirst()
    {
        TQtUi ui;
        QString seenDefault;
        whenModal<QMessageBox>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            seenDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(ui.messageBox(TMessage{TMsgType::mtInformation, QStringLiteral("?"), mbYes | mbNo, 0}),
                 TModalResult::mrYes);
        QCOMPARE(seenDefault, QStringLiteral("&Ja"));
    }

    void helpKeepsTheBoxOpen()
    {
        TRecordingQtUi ui;
        bool stillOpen = false;
        whenModal<QMessageBox>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            buttonWithText(box, QStringLiteral("&Hilfe"))->click();
            QTimer::singleShot(20, box, [&, box] {
                stillOpen = box->isVisible();
                buttonWithText(box, QStringLiteral("Abbrechen"))->click();
            });
        });
        const TModalResult answer =
            ui.messageBox(TMessage{TMsgType::mtConfirmation, QStringLiteral("Alle?"), mbOK | mbCancel | mbHelp, 123});
        QVERIFY(stillOpen);
        QCOMPARE(ui.helps, QList<int>{123});
        QCOMPARE(answer, TModalResult::mrCancel);
    }

    void typedLetterClicksAtOnce_data()
    {
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<int>("letter");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<int>>("helps");
        QTest::newRow("n in a yes/no box") << unsigned(mbYes | mbNo) << int(Qt::Key_N) << int(TModalResult::mrNo)
                                           << QList<int>{};
        QTest::newRow("i in a warning") << unsigned(mbOK | mbIgnore) << int(Qt::Key_I) << int(TModalResult::mrIgnore)
                                        << QList<int>{};
        // Help keeps the box open: Enter then takes the default button.
        QTest::newRow("h in a confirmation") << unsigned(mbOK | mbCancel | mbHelp) << int(Qt::Key_H)
                                             << int(TModalResult::mrOk) << QList<int>{123};
    }

    void typedLetterClicksAtOnce()
    {
        // The letter and then Enter, typed without a pause: the letter's
        // button holds.
        QFETCH(unsigned, buttons);
        QFETCH(int, letter);
        QFETCH(int, result);
        QFETCH(QList<int>, helps);
        TRecordingQtUi ui;
        bool active = false;
        whenModal<QMessageBox>([&](QWidget* w) {
            active = QTest::qWaitForWindowActive(w);
            typeKeys({Qt::Key(letter), Qt::Key_Return});
            if (w->isVisible())
                QTest::keyClick(w, Qt::Key_Escape);
        });
        const TModalResult answer =
            ui.messageBox(TMessage{TMsgType::mtConfirmation, QStringLiteral("Alle?"), buttons, 123});
        QVERIFY(active);
        QCOMPARE(int(answer), result);
        QCOMPARE(ui.helps, helps);
    }

    void f1InABoxShowsItsHelp_data()
    {
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<int>("context");
        QTest::newRow("with a help button") << unsigned(mbOK | mbCancel | mbHelp) << 123;
        QTest::newRow("without a help button") << unsigned(mbYes | mbNo) << 7;
        QTest::newRow("without a context") << unsigned(mbOK) << 0;
    }

    void f1InABoxShowsItsHelp()
    {
        QFETCH(unsigned, buttons);
        QFETCH(int, context);
        TRecordingQtUi ui;
        SetUi(&ui);
        bool stillOpen = false;
        whenModal<QMessageBox>([&](QWidget* w) {
            if (QTest::qWaitForWindowActive(w))
                typeKeys({Qt::Key_F1});
            stillOpen = w->isVisible();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        ui.messageBox(TMessage{TMsgType::mtConfirmation, QStringLiteral("Alle?"), buttons, context});
        QVERIFY(stillOpen);
        QCOMPARE(ui.helps, context ? QList<int>{context} : QList<int>{});
    }

    void f1InAFileDialogShowsItsHelp_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("context");
        QTest::newRow("open") << false << 102;
        QTest::newRow("save") << true << 103;
        QTest::newRow("without a context") << false << 0;
    }

    void f1InAFileDialogShowsItsHelp()
    {
        QFETCH(bool, save);
        QFETCH(int, context);
        QTemporaryDir dir;
        TRecordingQtUi ui;
        SetUi(&ui);
        bool stillOpen = false;
        QString focused;
        whenModal<QFileDialog>([&](QWidget* w) {
            if (QTest::qWaitForWindowActive(w)) {
                focused = QApplication::focusWidget()->objectName();
                typeKeys({Qt::Key_F1});
            }
            stillOpen = w->isVisible();
            qobject_cast<QDialog*>(w)->reject();
        });
        TFileDialogSpec request;
        request.save = save;
        request.filter = QStringLiteral("A|*.a");
        request.initialDir = dir.path();
        request.helpContext = context;
        QVERIFY(!ui.fileDialog(request).accepted);
        QCOMPARE(focused, QStringLiteral("fileNameEdit"));
        QVERIFY(stillOpen);
        QCOMPARE(ui.helps, context ? QList<int>{context} : QList<int>{});
    }

    void helpWithoutAHelpFile()
    {
        QTemporaryDir dir;
        TQtUi ui;
        ui.helpDir = dir.path();
        QCOMPARE(ui.helpFile(), QString());
        QString seen;
        QString seenCaption;
        whenModal<QMessageBox>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            seen = box->text();
            seenCaption = box->windowTitle();
            box->accept();
        });
        ui.showHelp(1);
        QCOMPARE(seen, QStringLiteral("Es ist keine Hilfedatei installiert."));
        QCOMPARE(seenCaption, QStringLiteral("zuv"));

        QFile html(dir.filePath(QStringLiteral("zuvhelp.html")));
        QVERIFY(html.open(QIODevice::WriteOnly));
        html.close();
        QCOMPARE(ui.helpFile(), QFileInfo(html).absoluteFilePath());
    }

    void openDialogMatchesWithoutCase()
    {
        QTemporaryDir dir;
        for (const char* name : {"A.PRO", "b.pro", "c.Pro", "d.txt"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        TQtUi ui;
        QStringList listed;
        QString title;
        whenModal<QFileDialog>([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            title = dialog->windowTitle();
            // The folder is read in the background.
            for (int i = 0; i < 200 && listedFiles(dialog).size() < 3; ++i)
                QTest::qWait(10);
            listed = listedFiles(dialog);
            // As typed: selectFile() leaves a focused name field alone.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("A.PRO"));
            static_cast<QDialog*>(dialog)->accept();
        });
        TFileDialogSpec request;
        request.title = QStringLiteral("Projektdatei öffnen");
        request.filter = QStringLiteral("Projektdateien (*.PRO)|*.pro|Alle Dateien (*.*)|*.*");
        request.initialDir = dir.path();
        const TFileDialogResult r = ui.fileDialog(request);
        QCOMPARE(title, request.title);
        QCOMPARE(listed, (QStringList{"A.PRO", "b.pro", "c.Pro"}));
        QVERIFY(r.accepted);
        QCOMPARE(r.files, QStringList{dir.filePath(QStringLiteral("A.PRO"))});
        QCOMPARE(r.filterIndex, 1);
    }

    void openDialogAcceptsMissingFiles_data()
    {
        QTest::addColumn<bool>("multi");
        QTest::newRow("one file") << false;
        QTest::newRow("several files") << true;
    }

    void openDialogAcceptsMissingFiles()
    {
        QFETCH(bool, multi);
        QTemporaryDir dir;
        TQtUi ui;
        bool enabled = false;
        whenModal<QFileDialog>([&](QWidget* w) {
            // Typed, then the open button clicked, as a user does.
            auto* edit = w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTest::keyClicks(edit, QStringLiteral("fehlt.wah"));
            QTest::qWait(50);   // the folder is read meanwhile
            QPushButton* open = w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
            enabled = open->isEnabled();
            open->click();
            QTimer::singleShot(50, w, [w] {
                if (w->isVisible())
                    static_cast<QDialog*>(w)->reject();
            });
        });
        TFileDialogSpec request;
        request.multiSelect = multi;
        request.filter = QStringLiteral("Wahldateien|*.wah");
        request.initialDir = dir.path();
        const TFileDialogResult r = ui.fileDialog(request);
        QVERIFY(enabled);
        QVERIFY(r.accepted);
        QCOMPARE(r.files, QStringList{dir.filePath(QStringLiteral("fehlt.wah"))});
    }


    void openSeveralFiles()
    {
        QTemporaryDir dir;
        for (const char* name : {"a.wah", "b.wah"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        TQtUi ui;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        whenModal<QFileDialog>([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            mode = dialog->fileMode();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("\"a.wah\" \"b.wah\""));
            static_cast<QDialog*>(dialog)->accept();
        });
        TFileDialogSpec request;
        request.multiSelect = true;
        request.filter = QStringLiteral("Wahldateien|*.wah");
        request.initialDir = dir.path();
        const TFileDialogResult r = ui.fileDialog(request);
        QCOMPARE(mode, QFileDialog::ExistingFiles);
        QVERIFY(r.accepted);
        QStringList files = r.files;
        files.sort();
        QCOMPARE(files, (QStringList{dir.filePath("a.wah"), dir.filePath("b.wah")}));
    }

    void saveDialogDoesNotAskBeforeOverwriting()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("alt.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TQtUi ui;
        bool save = false;
        QString selectedFilter;
        int modalsAfterAccept = -1;
        whenModal<QFileDialog>([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            save = dialog->acceptMode() == QFileDialog::AcceptSave;
            selectedFilter = dialog->selectedNameFilter();
            dialog->selectNameFilter(TQtUi::nameFilters(QStringLiteral("A|*.txt|B|*.txt|C|*.html")).at(1));
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("alt.txt"));
            static_cast<QDialog*>(dialog)->accept();
            modalsAfterAccept = QApplication::activeModalWidget() ? 1 : 0;
        });
        TFileDialogSpec request;
        request.save = true;
        request.filter = QStringLiteral("A|*.txt|B|*.txt|C|*.html");
        request.filterIndex = 3;
        request.initialDir = dir.path();
        const TFileDialogResult r = ui.fileDialog(request);
        QVERIFY(save);
        QVERIFY(selectedFilter.startsWith(QStringLiteral("C")));
        QCOMPARE(modalsAfterAccept, 0);   // no question about the existing file
        QVERIFY(r.accepted);
        QCOMPARE(r.files, QStringList{dir.filePath(QStringLiteral("alt.txt"))});
        QCOMPARE(r.filterIndex, 2);
    }

    void dialogsStartInTheLastFolder()
    {
        // Each dialog without a folder of its own starts where the last
        // file was chosen; a cancelled one changes nothing.
        QTemporaryDir first;
        QTemporaryDir second;
        TQtUi ui;
        QStringList started;
        auto choose = [&](const QString& name) {
            whenModal<QFileDialog>([&started, name](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                started.append(dialog->directory().absolutePath());
                if (name.isEmpty()) {
                    dialog->reject();
                    return;
                }
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
                static_cast<QDialog*>(dialog)->accept();
            });
        };
        TFileDialogSpec request;
        request.save = true;
        request.filter = QStringLiteral("A|*.a");
        choose(first.filePath(QStringLiteral("x.a")));
        QVERIFY(ui.fileDialog(request).accepted);

        request.save = false;
        choose(QString());
        QVERIFY(!ui.fileDialog(request).accepted);
        QCOMPARE(started.last(), QDir(first.path()).absolutePath());

        choose(second.filePath(QStringLiteral("y.a")));
        QVERIFY(ui.fileDialog(request).accepted);
        QCOMPARE(started.last(), QDir(first.path()).absolutePath());

        choose(QString());
        ui.fileDialog(request);
        QCOMPARE(started.last(), QDir(second.path()).absolutePath());

        // A request that names a folder starts there.
        request.initialDir = first.path();
        choose(QString());
        ui.fileDialog(request);
        QCOMPARE(started.last(), QDir(first.path()).absolutePath());
        QCOMPARE(ui.lastFolder, QDir(second.path()).absolutePath());
    }

    void cancelledDialogKeepsTheFilterIndex()
    {
        TQtUi ui;
        whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        TFileDialogSpec request;
        request.filter = QStringLiteral("A|*.a|B|*.b");
        request.filterIndex = 2;
        const TFileDialogResult r = ui.fileDialog(request);
        QVERIFY(!r.accepted);
        QVERIFY(r.files.isEmpty());
        QCOMPARE(r.filterIndex, 2);
    }

    void inputQuery()
    {
        TQtUi ui;
        QString prompt;
        whenModal<QInputDialog>([&](QWidget* w) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            prompt = dialog->labelText();
            QCOMPARE(dialog->textValue(), QStringLiteral("alt"));
            dialog->setTextValue(QStringLiteral("neu"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QString value = QStringLiteral("alt");
        QVERIFY(ui.inputQuery(QStringLiteral("Suche"), QStringLiteral("Name:"), value));
        QCOMPARE(value, QStringLiteral("neu"));
        QCOMPARE(prompt, QStringLiteral("Name:"));

        whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QVERIFY(!ui.inputQuery(QStringLiteral("Suche"), QStringLiteral("Name:"), value));
        QCOMPARE(value, QStringLiteral("neu"));
    }

    void fontDialogKeepsAnUnchangedFont_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("regular") << false << false;
        QTest::newRow("bold") << true << false;
        QTest::newRow("italic") << false << true;
        QTest::newRow("bold italic") << true << true;
    }

    void fontDialogKeepsAnUnchangedFont()
    {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        TQtUi ui;
        whenModal([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        TFontSpec font;
        font.name = QFontInfo(QApplication::font()).family();   // one that is installed
        font.size = 11;
        font.bold = bold;
        font.italic = italic;
        font.underline = true;
        font.color = 0x112233;
        const TFontSpec before = font;
        QVERIFY(ui.fontDialog(font));
        QCOMPARE(font, before);
    }

    void fontDialogTakesTheChoice()
    {
        TQtUi ui;
        TFontSpec chosen;
        chosen.name = QFontInfo(QApplication::font()).family();
        chosen.size = 14;
        chosen.bold = true;
        whenModal<QFontDialog>([&](QWidget* w) {
            qobject_cast<QFontDialog*>(w)->setCurrentFont(TQtUi::toQFont(chosen));
            static_cast<QDialog*>(w)->accept();
        });
        TFontSpec font;
        font.name = chosen.name;
        font.color = 0x112233;
        QVERIFY(ui.fontDialog(font));
        QVERIFY(font.bold);
        QVERIFY(!font.italic);
        QCOMPARE(font.size, 14);
        QCOMPARE(font.color, quint32(0x112233));

        whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        const TFontSpec before = font;
        QVERIFY(!ui.fontDialog(font));
        QCOMPARE(font, before);
    }

    void printerSetupGoesThroughTheHook()
    {
        TQtUi ui;
        TQtUi::printerSetupHook = nullptr;
        QVERIFY(!ui.printerSetup());
        int calls = 0;
        TQtUi::printerSetupHook = [&] { ++calls; return true; };
        QVERIFY(ui.printerSetup());
        QCOMPARE(calls, 1);
        TQtUi::printerSetupHook = nullptr;
    }
    void fileDialogShowsItsColumnsUncut()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("Projekttag.PRO")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("1; Theater; 5; 10; 8; 20; -; F; \r\n");   // a text file: a long type text
        f.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Ordner")));
        // Without the widths a former dialog left behind.
        QSettings(QSettings::UserScope, QStringLiteral("QtProject")).remove(QStringLiteral("FileDialog"));
        TQtUi ui;
        QStringList cut;
        int rows = 0;
        whenModal<QFileDialog>([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            dialog->setViewMode(QFileDialog::Detail);
            QAbstractItemModel* model = details->model();
            for (int i = 0; i < 200 && model->rowCount(details->rootIndex()) < 2; ++i)
                QTest::qWait(10);
            QTest::qWait(20);
            rows = model->rowCount(details->rootIndex());
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < model->columnCount(details->rootIndex()); ++c) {
                    const QModelIndex i = model->index(r, c, details->rootIndex());
                    if (details->visualRect(i).width() < details->sizeHintForIndex(i).width())
                        cut.append(i.data().toString());
                }
            static_cast<QDialog*>(dialog)->reject();
        });
        TFileDialogSpec request;
        request.initialDir = dir.path();
        ui.fileDialog(request);
        QCOMPARE(rows, 2);
        QCOMPARE(cut, QStringList());
    }

    void installedPrinterSetupIsThePrintDialog()
    {
        // The program's printer setup: Qt's print dialog over the window
        // that asks.
        QWidget window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        InstallQtPrinter();
        TQtUi ui;
        QString title;
        QString okText;
        QWidget* parent = nullptr;
        whenModal<QPrintDialog>([&](QWidget* w) {
            title = w->windowTitle();
            parent = w->parentWidget();
            if (auto* buttons = w->findChild<QDialogButtonBox*>())
                okText = buttons->button(QDialogButtonBox::Ok)->text();
            qobject_cast<QDialog*>(w)->reject();
        });
        QVERIFY(!ui.printerSetup());
        QCOMPARE(title, QStringLiteral("Druckereinrichtung"));
        QCOMPARE(okText, QStringLiteral("OK"));   // it prints nothing
        QCOMPARE(parent, &window);
        TQtUi::printerSetupHook = nullptr;
        SetPrinter(nullptr);
    }
};

KESTRIN_TEST_MAIN(TestQtUi)
#include "tst_qtui.moc"

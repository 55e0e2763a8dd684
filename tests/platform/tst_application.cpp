#include "platform/UApplication.h"
#include "platform/UExceptions.h"
#include "platform/UHelpContext.h"
#include "tests/support/UScriptedUi.h"
#include "tests/support/UTestMain.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <stdexcept>

namespace {

// Throws from its event handler what the test put in.
class TThrower : public QObject {
public:
    std::function<void()> raise;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User && raise)
            raise();
        return QObject::event(e);
    }
};

// Records the accelerators that reach the buttons.
class TShortcutRecorder : public QObject {
public:
    QStringList seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut && qobject_cast<QAbstractButton*>(watched))
            seen << watched->objectName();
        return false;
    }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void title()
    {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("zuv"));
    }

    void escapedExceptionIsShown_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("Exception") << 0 << QStringLiteral("Datei Ä.PRO kann nicht geöffnet werden.");
        QTest::newRow("derived") << 1 << QStringLiteral("Schreibfehler");
        QTest::newRow("std::exception") << 2 << QStringLiteral("kaputt");
        QTest::newRow("anything") << 3 << QStringLiteral("Unbekannter Fehler.");
    }

    void escapedExceptionIsShown()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        TScriptedUi ui;
        TThrower thrower;
        thrower.raise = [&] {
            switch (kind) {
            case 0: throw Exception(message);
            case 1: throw EInOutError(message);
            case 2: throw std::runtime_error(message.toStdString());
            default: throw 42;
            }
        };
        QEvent e(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&thrower, &e));
        QCOMPARE(ui.texts(), QStringList{message});
        QCOMPARE(ui.messages.first().caption(), QStringLiteral("zuv"));
    }

    void theProgramGoesOn()
    {
        // Exceptions escaping handlers inside the running event loop: each
        // is shown, and the events after them are handled as usual.
        TScriptedUi ui;
        TThrower thrower;
        thrower.raise = [] { throw Exception(QStringLiteral("Erstes Ereignis")); };
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTimer::singleShot(0, this, [] { throw std::runtime_error("im Takt"); });
        bool later = false;
        QTimer::singleShot(5, this, [&] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(ui.texts(), (QStringList{"Erstes Ereignis", "im Takt"}));
    }

    void acceleratorThenEnter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("clicks");
        QTest::newRow("check box") << int(Qt::Key_S) << QStringList{"CheckPages checked", "OKButton"};
        QTest::newRow("radio button") << int(Qt::Key_L) << QStringList{"OptLeft checked", "OKButton"};
        QTest::newRow("push button") << int(Qt::Key_W) << QStringList{"NextBut", "OKButton"};
    }

    void acceleratorThenEnter()
    {
        // Typed without a pause: the button's click comes before Enter's.
        QFETCH(int, key);
        QFETCH(QStringList, clicks);
        QDialog dlg;
        auto* layout = new QVBoxLayout(&dlg);
        auto* ok = new QPushButton(QStringLiteral("OK"));
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
        const QList<QAbstractButton*> buttons{new QCheckBox(QStringLiteral("&Seitenzahlen")),
                                              new QRadioButton(QStringLiteral("&Links")),
                                              new QPushButton(QStringLiteral("&Weiter")), ok};
        const QStringList names{"CheckPages", "OptLeft", "NextBut", "OKButton"};
        QStringList clicked;
        for (int i = 0; i < buttons.size(); ++i) {
            QAbstractButton* b = buttons[i];
            b->setObjectName(names[i]);
            layout->addWidget(b);
            connect(b, &QAbstractButton::clicked, &dlg, [&clicked, b] {
                clicked << b->objectName() + (b->isChecked() ? QStringLiteral(" checked") : QString());
            });
        }

        bool active = false;
        QTimer::singleShot(0, &dlg, [&] {
            active = QTest::qWaitForWindowActive(&dlg);
            if (active) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            if (dlg.isVisible())
                dlg.reject();
        });
        const int result = dlg.exec();
        QVERIFY(active);
        QCOMPARE(clicked, clicks);
        QCOMPARE(result, int(QDialog::Accepted));
    }

    void laterFiltersSeeTheAccelerator()
    {
        // A filter installed after start-up sees the key first; the click
        // still comes at once.
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* next = new QPushButton(QStringLiteral("&Weiter"));
        next->setObjectName(QStringLiteral("NextBut"));
        layout->addWidget(next);
        layout->addWidget(new QLineEdit);
        int clicks = 0;
        connect(next, &QPushButton::clicked, &window, [&clicks] { ++clicks; });
        TShortcutRecorder recorder;
        qApp->installEventFilter(&recorder);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
        QCOMPARE(clicks, 1);
        qApp->removeEventFilter(&recorder);
        QCOMPARE(recorder.seen, QStringList{"NextBut"});
    }

    void f1ShowsTheNearestHelp_data()
    {
        QTest::addColumn<int>("windowContext");
        QTest::addColumn<int>("fieldContext");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("the window's") << 5 << 0 << QList<int>{5};
        QTest::newRow("the field's own") << 5 << 8 << QList<int>{8};
        QTest::newRow("none") << 0 << 0 << QList<int>{};
    }

    void f1ShowsTheNearestHelp()
    {
        QFETCH(int, windowContext);
        QFETCH(int, fieldContext);
        QFETCH(QList<int>, shown);
        TScriptedUi ui;
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* field = new QLineEdit;
        layout->addWidget(field);
        SetHelpContext(&window, windowContext);
        SetHelpContext(field, fieldContext);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QTest::keyClick(field, Qt::Key_F1);
        QCOMPARE(ui.helpContexts, shown);
    }
};

KESTRIN_TEST_MAIN(TestApplication)

#include "tst_application.moc"

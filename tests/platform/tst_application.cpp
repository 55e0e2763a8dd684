#include "platform/UApplication.h"
#include "platform/UExceptions.h"
#include "tests/support/UScriptedUi.h"

#include <QTimer>
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
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"

#include "app/ReelcraftApplication.h"
#include "platform/EError.h"

#include "TestEnvironment.h"

#include <QTest>
#include <QTimer>

class ThrowingObject : public QObject
{
public:
    enum Kind { Reelcraft, Standard };
    Kind kind = Reelcraft;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User) {
            if (kind == Reelcraft)
                throw EFileError(QStringLiteral("Cannot open file C:\\x.rcf"));
            throw std::runtime_error("plain failure");
        }
        return QObject::event(event);
    }
};

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void uncaughtErrorIsShownAndProgramGoesOn_data();
    void uncaughtErrorIsShownAndProgramGoesOn();
    void titleIsJavaReelcraft();
};

void TestApplication::uncaughtErrorIsShownAndProgramGoesOn_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("reelcraft error") << int(ThrowingObject::Reelcraft)
                                     << QStringLiteral("Cannot open file C:\\x.rcf");
    QTest::newRow("standard error") << int(ThrowingObject::Standard) << QStringLiteral("plain failure");
}

void TestApplication::uncaughtErrorIsShownAndProgramGoesOn()
{
    QFETCH(int, kind);
    QFETCH(QString, shown);
    auto *app = qobject_cast<ReelcraftApplication *>(QCoreApplication::instance());
    QVERIFY(app);
    QStringList seen;
    app->setErrorSink([&seen](const QString &message) { seen.append(message); });

    ThrowingObject thrower;
    thrower.kind = ThrowingObject::Kind(kind);
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    bool ranAfter = false;
    QTimer::singleShot(0, [&ranAfter] { ranAfter = true; });
    QTRY_VERIFY(ranAfter);
    QCOMPARE(seen, QStringList{shown});
    app->setErrorSink({});
}

void TestApplication::titleIsJavaReelcraft()
{
    QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("Java Reelcraft"));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    ReelcraftApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"

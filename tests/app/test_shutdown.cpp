#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

// The program itself, ended by a terminate signal: it closes its window the normal way, so
// the shutdown clean-up runs and the exit status is 0.
class TestShutdown : public QObject
{
    Q_OBJECT
private slots:
    void terminateSignalRunsTheCleanUp_data();
    void terminateSignalRunsTheCleanUp();
};

void TestShutdown::terminateSignalRunsTheCleanUp_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestShutdown::terminateSignalRunsTheCleanUp()
{
    QFETCH(int, signalNumber);
    const QString root = TestEnvironment::instance().freshFolder(QStringLiteral("shutdown"));
    const QString temp = root + QStringLiteral("/tmp");
    QDir().mkpath(temp + QStringLiteral("/inner"));
    const QStringList removed = {QStringLiteral("~sj1.htm"), QStringLiteral("~sjpreview.htm")};
    const QStringList kept = {QStringLiteral("sj1.htm"), QStringLiteral("~sj1.html.bak"), QStringLiteral("other.txt"),
                              QStringLiteral("inner/~sj2.htm")};
    for (const QString &name : removed + kept) {
        QFile file(temp + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TMPDIR"), temp);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(REELCRAFT_PROGRAM), {});
    QVERIFY(program.waitForStarted());
    // Start-up writes "Picture Extension": once the settings file exists the window is up.
    const QString settings = root + QStringLiteral("/config/Tarnwick/registry.json");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(settings), 30000);
    QTest::qWait(300);
    ::kill(pid_t(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    for (const QString &name : removed)
        QVERIFY2(!QFile::exists(temp + QLatin1Char('/') + name), qPrintable(name));
    for (const QString &name : kept)
        QVERIFY2(QFile::exists(temp + QLatin1Char('/') + name), qPrintable(name));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestShutdown test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shutdown.moc"

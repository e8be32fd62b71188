#include "output/StagedFolderWrite.h"

#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Each entry of a folder with what it is: "name" for a file with its bytes, "name/" for a
// folder, "name -> target" for a link; temporary files show up like any other file.
QStringList entriesOf(const QString &folder)
{
    QStringList entries;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                   QDir::Name)) {
        if (info.isSymLink())
            entries.append(info.fileName() + QStringLiteral(" -> ") + info.symLinkTarget());
        else if (info.isDir())
            entries.append(info.fileName() + QLatin1Char('/'));
        else if (info.isFile())
            entries.append(info.fileName() + QLatin1Char('=') + QString::fromUtf8(readAll(info.filePath())));
        else
            entries.append(info.fileName() + QStringLiteral(" (other)"));
    }
    return entries;
}

} // namespace

class TestStagedFolderWrite : public QObject
{
    Q_OBJECT
private slots:
    void injectedFailures_data();
    void injectedFailures();
    void terminateSignalRemovesTemporaries();
};

// What is in the site folder before the write, the write (a.gif, b.gif and c.js, in that
// order), and what must be there after it. "%o" stands for a folder outside the site.
void TestStagedFolderWrite::injectedFailures_data()
{
    QTest::addColumn<QString>("setup");      // how the site is prepared
    QTest::addColumn<bool>("ends");          // "commit" or "discard"
    QTest::addColumn<bool>("committed");
    QTest::addColumn<QString>("problem");    // the start of the reason; empty when committed
    QTest::addColumn<QStringList>("after");  // the site's entries afterwards

    const QStringList fresh{QStringLiteral("a.gif=new a"), QStringLiteral("b.gif=new b"), QStringLiteral("c.js=new c")};
    const QStringList old{QStringLiteral("a.gif=old a")};
    QTest::newRow("empty folder") << QString() << true << true << QString() << fresh;
    QTest::newRow("older files replaced") << QStringLiteral("a.gif=old a") << true << true << QString() << fresh;
    QTest::newRow("a folder where the last file must go")
        << QStringLiteral("a.gif=old a;c.js/") << true << false << QStringLiteral("cannot write \"%s/c.js\": a folder is in the way")
        << QStringList{QStringLiteral("a.gif=old a"), QStringLiteral("c.js/")};
    QTest::newRow("a FIFO where a file must go")
        << QStringLiteral("a.gif=old a;b.gif|") << true << false
        << QStringLiteral("cannot write \"%s/b.gif\": something that is no file is in the way")
        << QStringList{QStringLiteral("a.gif=old a"), QStringLiteral("b.gif (other)")};
    QTest::newRow("a file where the folder must go")
        << QStringLiteral("!") << true << false << QStringLiteral("cannot open the folder \"%s\"") << QStringList();
    QTest::newRow("cancelled") << QStringLiteral("a.gif=old a") << false << false << QString() << old;
    // A link is replaced by the file; what it pointed to stays as it was.
    QTest::newRow("link to a file outside")
        << QStringLiteral("a.gif>%o/secret") << true << true << QString() << fresh;
    QTest::newRow("link to a folder outside") << QStringLiteral("b.gif>%o") << true << true << QString() << fresh;
    QTest::newRow("dangling link") << QStringLiteral("c.js>%o/gone") << true << true << QString() << fresh;
}

void TestStagedFolderWrite::injectedFailures()
{
    QFETCH(QString, setup);
    QFETCH(bool, ends);
    QFETCH(bool, committed);
    QFETCH(QString, problem);
    QFETCH(QStringList, after);

    const QString root = TestEnvironment::instance().freshFolder(QStringLiteral("staged"));
    const QString outside = root + QStringLiteral("/outside");
    writeAll(outside + QStringLiteral("/secret"), "secret");
    QString site = root + QStringLiteral("/site");
    QVERIFY(QDir().mkpath(site));
    for (const QString &item : setup.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString path = site + QLatin1Char('/') + item;
        if (item == u"!") {
            QVERIFY(QDir(site).removeRecursively());
            writeAll(site, "a file");
        } else if (item.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(path));
        } else if (item.endsWith(u'|')) {
            path.chop(1);
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        } else if (item.contains(u'>')) {
            const QStringList link = item.split(QLatin1Char('>'));
            QVERIFY(QFile::link(QString(link.at(1)).replace(QStringLiteral("%o"), outside), site + QLatin1Char('/') + link.at(0)));
        } else {
            const QStringList file = item.split(QLatin1Char('='));
            writeAll(site + QLatin1Char('/') + file.at(0), file.at(1).toUtf8());
        }
    }

    QString reason;
    {
        StagedFolderWrite write(site);
        const bool opened = QFileInfo(site).isDir();
        QCOMPARE(write.stageBytes(QStringLiteral("a.gif"), "new a", &reason), opened);
        QCOMPARE(write.stageWritten(QStringLiteral("b.gif"), [](QIODevice &out, QString *) { return out.write("new b") == 5; },
                                    &reason),
                 opened);
        writeAll(root + QStringLiteral("/c-source"), "new c");
        QCOMPARE(write.stageCopy(root + QStringLiteral("/c-source"), QStringLiteral("c.js"), &reason), opened);
        if (opened)
            QCOMPARE(write.stagedNames(), (QStringList{QStringLiteral("a.gif"), QStringLiteral("b.gif"), QStringLiteral("c.js")}));
        if (ends && opened)
            QCOMPARE(write.commit(&reason), committed);
        else if (opened)
            write.discard();
    }
    if (!problem.isEmpty())
        QVERIFY2(reason.startsWith(QString(problem).replace(QStringLiteral("%s"), site)), qPrintable(reason));
    if (QFileInfo(site).isDir())
        QCOMPARE(entriesOf(site), after);
    else
        QCOMPARE(readAll(site), QByteArray("a file"));
    QCOMPARE(entriesOf(outside), (QStringList{QStringLiteral("secret=secret")}));
}

// A run ended by SIGTERM while files are staged leaves none of them behind.
void TestStagedFolderWrite::terminateSignalRemovesTemporaries()
{
    const QString site = TestEnvironment::instance().freshFolder(QStringLiteral("signalled"));
    writeAll(site + QStringLiteral("/a.gif"), "old a");
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        StagedFolderWrite write(site);
        QString reason;
        RemoveStagedFilesOnTerminateSignals();
        if (write.stageBytes(QStringLiteral("a.gif"), "new a", &reason) && write.stageBytes(QStringLiteral("b.gif"), "b", &reason)
            && QDir(site).entryList(QDir::Files | QDir::Hidden).size() == 3)
            ::raise(SIGTERM);
        ::_exit(3);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGTERM);
    QCOMPARE(entriesOf(site), QStringList{QStringLiteral("a.gif=old a")});
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestStagedFolderWrite test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_staged_folder_write.moc"

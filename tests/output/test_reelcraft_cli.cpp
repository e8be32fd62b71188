#include "controls/RecentFileList.h"
#include "document/AnimationDocument.h"
#include "document/SettingsKey.h"
#include "output/ProjectFiles.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include "TestFiles.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

ProgramRun runCli(const QStringList &arguments, const QString &workingFolder = QString())
{
    return runProgram(QStringLiteral(REELCRAFT_CLI_PATH), arguments, workingFolder);
}


} // namespace

class TestReelcraftCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tagPrintsTheProjectFileExactly();
    void forms_data();
    void forms();
    void relativeReferencesResolveAgainstTheFile();
    void unreadableFileIsStatusOne();
    void usage_data();
    void usage();
    void help();

private:
    QString m_folder;
    QString m_project;
};

void TestReelcraftCli::initTestCase()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("cli"));
    QDir().mkpath(m_folder + QStringLiteral("/pics"));
    for (const char *name : {"pics/a.gif", "pics/b, c.gif"})
        writeAll(m_folder + QLatin1Char('/') + QLatin1String(name), "GIF89a");

    // Save a document, open it as the program would, and save it again.
    Registry registry(m_folder + QStringLiteral("/registry.json"), m_folder + QStringLiteral("/machine.json"));
    RegistryKey key(registry);
    key.openKey(SettingsKey, true);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_folder + QStringLiteral("/pics/a.gif"), QStringLiteral("Caf\u00e9 & \"Bar\""));
    document.appendFrame(m_folder + QStringLiteral("/pics/b, c.gif"), QStringLiteral("<two>"));
    document.setText(TextSetting::BetweenFrames, QStringLiteral("750"));
    document.setText(TextSetting::Repeat, QStringLiteral("2"));
    document.BackgroundColour().SetText(QStringLiteral("102030"));
    document.setText(TextSetting::Soundtrack, QStringLiteral("/music/theme.au"));
    m_project = m_folder + QStringLiteral("/show.rcf");
    ProjectFiles files(document, prompts, key);
    prompts.answers.enqueue(m_project);
    files.mnuFileSaveAsClick();

    AnimationDocument reopened(prompts);
    ProjectFiles again(reopened, prompts, key);
    again.OpenProject(m_project);
    QCOMPARE(reopened.frameCount(), 2);
    again.mnuFileSaveClick();
    QCOMPARE(prompts.messages(), QStringList({m_project + QStringLiteral(" saved."), m_project + QStringLiteral(" saved.")}));
}

void TestReelcraftCli::tagPrintsTheProjectFileExactly()
{
    const QByteArray saved = readAll(m_project);
    // After an open the caption font is at its reset values, and they are written.
    QVERIFY(saved.contains("<param name=\"fontname\" value=\"Helvetica\">\r\n"
                           "<param name=\"fontsize\" value=\"16\">\r\n"
                           "<param name=\"fontstyle\" value=\"0\">\r\n"));
    QVERIFY(saved.endsWith("</applet>"));

    const ProgramRun run = runCli({QStringLiteral("tag"), m_project});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, saved);
    QCOMPARE(run.err, QByteArray());

    const ProgramRun explicitUrl = runCli({QStringLiteral("tag"), QStringLiteral("--form=url"), m_project});
    QCOMPARE(explicitUrl.out, saved);

    // --player adds the web player's line; the project file itself never holds it.
    QVERIFY(!saved.contains("<script"));
    const ProgramRun player = runCli({QStringLiteral("tag"), m_project, QStringLiteral("--player")});
    QCOMPARE(player.out, saved + "\r\n<script src=\"quilanim.js\"></script>");
}

void TestReelcraftCli::forms_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("imageList");
    QTest::newRow("filename") << QStringList{QStringLiteral("--form"), QStringLiteral("filename")}
                              << QStringLiteral("a.gif,b%2C c.gif");
    QTest::newRow("folder") << QStringList{QStringLiteral("--form"), QStringLiteral("folder"), QStringLiteral("--base"),
                                           QStringLiteral("images/")}
                            << QStringLiteral("images/a.gif,images/b%2C c.gif");
    QTest::newRow("folder without base") << QStringList{QStringLiteral("--form"), QStringLiteral("folder")}
                                         << QStringLiteral("a.gif,b%2C c.gif");
    QTest::newRow("relative") << QStringList{QStringLiteral("--base"), QStringLiteral("%1/site/page.htm"),
                                             QStringLiteral("--form"), QStringLiteral("relative")}
                              << QStringLiteral("../pics/a.gif,../pics/b%2C c.gif");
    QTest::newRow("relative without base") << QStringList{QStringLiteral("--form"), QStringLiteral("relative")}
                                           << QStringLiteral("file://%1/pics/a.gif,file://%1/pics/b%2C c.gif");
}

void TestReelcraftCli::forms()
{
    QFETCH(QStringList, options);
    QFETCH(QString, imageList);
    for (QString &option : options)
        option.replace(QLatin1String("%1"), m_folder);
    imageList.replace(QLatin1String("%1"), m_folder);
    const ProgramRun run = runCli(QStringList{QStringLiteral("tag"), m_project} + options);
    QCOMPARE(run.status, 0);
    const QList<QByteArray> lines = run.out.split('\n');
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.at(1), (QStringLiteral("<param name=\"imagelist\" value=\"") + imageList + QStringLiteral("\">\r")).toUtf8());
    // Everything but the image list is the project file's, except that a page names the
    // soundtrack by the name it has beside the page where the project keeps its location.
    QByteArray rest = run.out;
    QByteArray saved = readAll(m_project);
    QVERIFY(saved.contains("<param name=\"soundtrack\" value=\"file:///music/theme.au\">"));
    saved.replace("value=\"file:///music/theme.au\"", "value=\"theme.au\"");
    QCOMPARE(rest.mid(rest.indexOf("<param name=\"captionlist\"")), saved.mid(saved.indexOf("<param name=\"captionlist\"")));
}

void TestReelcraftCli::relativeReferencesResolveAgainstTheFile()
{
    const QString page = m_folder + QStringLiteral("/page.htm");
    writeAll(page, "<html><applet code=quilanim width=10 height=20>"
                     "<param name=imagelist value=\"pics/a.gif,missing.gif,../cli/pics/a.gif\">"
                     "<param name=background value=\"pics/b, c.gif\"></applet></html>");
    // Named from the folder above, as "cli/page.htm".
    const ProgramRun run = runCli({QStringLiteral("tag"), QStringLiteral("cli/page.htm")},
                                  TestEnvironment::instance().root());
    QCOMPARE(run.status, 0);
    const QString url = QStringLiteral("file://") + m_folder + QStringLiteral("/pics/a.gif");
    QVERIFY2(run.out.contains((QStringLiteral("value=\"") + url + QLatin1Char(',') + url + QStringLiteral("\">")).toUtf8()),
             run.out.constData());
    QVERIFY(run.out.startsWith("<applet code=\"quilanim\" width=10 height=20>\r\n"));
    QVERIFY2(run.out.contains((QStringLiteral("<param name=\"background\" value=\"file://") + m_folder
                               + QStringLiteral("/pics/b%2C c.gif\">")).toUtf8()),
             run.out.constData());
}

void TestReelcraftCli::unreadableFileIsStatusOne()
{
    const QString missing = m_folder + QStringLiteral("/no such.rcf");
    ProgramRun run = runCli({QStringLiteral("tag"), missing});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(missing.toUtf8()), run.err.constData());

    // A folder opens but cannot be read as a file.
    run = runCli({QStringLiteral("tag"), m_folder});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());

    // A file without an applet element holds no animation.
    const QString notes = m_folder + QStringLiteral("/notes.rcf");
    writeAll(notes, "<param name=\"pause\" value=\"5\"> no element here");
    run = runCli({QStringLiteral("tag"), notes});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains((notes + QStringLiteral(" holds no Java animation")).toUtf8()), run.err.constData());
}

void TestReelcraftCli::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList() << QStringLiteral("no command given");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("paint")} << QStringLiteral("unknown command \"paint\"");
    QTest::newRow("tag without file") << QStringList{QStringLiteral("tag")} << QStringLiteral("tag needs a FILE");
    QTest::newRow("two files") << QStringList{QStringLiteral("tag"), QStringLiteral("a"), QStringLiteral("b")}
                               << QStringLiteral("one too many");
    QTest::newRow("unknown form") << QStringList{QStringLiteral("tag"), QStringLiteral("a"), QStringLiteral("--form"),
                                                 QStringLiteral("html")}
                                  << QStringLiteral("unknown form \"html\"");
    QTest::newRow("missing value") << QStringList{QStringLiteral("tag"), QStringLiteral("a"), QStringLiteral("--base")}
                                   << QStringLiteral("--base needs a value");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("tag"), QStringLiteral("a"), QStringLiteral("--all")}
                                    << QStringLiteral("unknown option \"--all\"");
}

void TestReelcraftCli::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const ProgramRun run = runCli(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QVERIFY(run.err.contains("Usage: reelcraft-cli tag FILE"));
}

void TestReelcraftCli::help()
{
    const ProgramRun run = runCli({QStringLiteral("--help")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.startsWith(
        "Usage: reelcraft-cli tag FILE [--form url|filename|folder|relative] [--base TEXT] [--player]\n"
        "       reelcraft-cli copy FILE DIR [--all] [--player]\n"));
    QCOMPARE(run.err, QByteArray());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestReelcraftCli test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_reelcraft_cli.moc"

#include "output/ClassFiles.h"
#include "platform/AppFolders.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The class files as the build compiled them, before they were embedded.
QByteArray builtClass(const QString &fileName)
{
    return readAll(QStringLiteral(REELCRAFT_APPLET_CLASSES_DIR "/") + fileName);
}

void removeClassesFolder()
{
    const QString classes = ProgramFolder() + QStringLiteral("/classes");
    QFile::remove(classes);
    QDir(classes).removeRecursively();
}

} // namespace

class TestClassFiles : public QObject
{
    Q_OBJECT
private slots:
    void embeddedClassesAreTheBuiltOnes_data();
    void embeddedClassesAreTheBuiltOnes();
    void extractWritesOnlyMissingFiles_data();
    void extractWritesOnlyMissingFiles();
    void extractFailureIsShown();
    void webPlayerFollowsItsVersionLine_data();
    void webPlayerFollowsItsVersionLine();
};

void TestClassFiles::embeddedClassesAreTheBuiltOnes_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("quilanim") << QStringLiteral(":/quilanim") << QStringLiteral("quilanim.class");
    QTest::newRow("wraplabel") << QStringLiteral(":/wraplabel") << QStringLiteral("WrappingLabel.class");
}

void TestClassFiles::embeddedClassesAreTheBuiltOnes()
{
    QFETCH(QString, resource);
    QFETCH(QString, fileName);
    const QByteArray built = builtClass(fileName);
    QVERIFY(built.startsWith("\xCA\xFE\xBA\xBE"));
    QCOMPARE(readAll(resource), built);

    int count = 0;
    const AppletClassFile *files = AppletClassFiles(&count);
    QCOMPARE(count, 2);
    QCOMPARE(files[0].resourceName, QStringLiteral("quilanim"));
    QCOMPARE(files[0].fileName, QStringLiteral("quilanim.class"));
    QCOMPARE(files[1].resourceName, QStringLiteral("wraplabel"));
    QCOMPARE(files[1].fileName, QStringLiteral("WrappingLabel.class"));
}

void TestClassFiles::extractWritesOnlyMissingFiles_data()
{
    QTest::addColumn<bool>("folderPresent");
    QTest::addColumn<bool>("quilanimPresent");
    QTest::addColumn<bool>("wraplabelPresent");
    QTest::newRow("no classes folder") << false << false << false;
    QTest::newRow("empty classes folder") << true << false << false;
    QTest::newRow("quilanim present") << true << true << false;
    QTest::newRow("wraplabel present") << true << false << true;
    QTest::newRow("both present") << true << true << true;
}

void TestClassFiles::extractWritesOnlyMissingFiles()
{
    QFETCH(bool, folderPresent);
    QFETCH(bool, quilanimPresent);
    QFETCH(bool, wraplabelPresent);
    removeClassesFolder();
    const QString folder = ClassFilesFolder();
    QCOMPARE(folder, ProgramFolder() + QStringLiteral("/classes/"));
    const QString quilanim = folder + QStringLiteral("quilanim.class");
    const QString wraplabel = folder + QStringLiteral("WrappingLabel.class");
    const QByteArray mine = "a class file put here by hand";
    if (folderPresent)
        QVERIFY(QDir().mkpath(folder));
    if (quilanimPresent)
        writeAll(quilanim, mine);
    if (wraplabelPresent)
        writeAll(wraplabel, mine);

    PromptsDouble prompts;
    QVERIFY(ExtractClassFiles(prompts));
    QCOMPARE(prompts.texts(), QStringList());
    QCOMPARE(readAll(quilanim), quilanimPresent ? mine : builtClass(QStringLiteral("quilanim.class")));
    QCOMPARE(readAll(wraplabel), wraplabelPresent ? mine : builtClass(QStringLiteral("WrappingLabel.class")));
    // The web player is kept beside the class files.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                          QStringLiteral("quilanim.js")}));

    // A second start writes nothing.
    const QDateTime written = QFileInfo(quilanim).lastModified();
    QVERIFY(ExtractClassFiles(prompts));
    QCOMPARE(prompts.texts(), QStringList());
    QCOMPARE(QFileInfo(quilanim).lastModified(), written);
}

void TestClassFiles::extractFailureIsShown()
{
    // "classes" is a regular file, so no folder can be made there (root included).
    removeClassesFolder();
    const QString classes = ProgramFolder() + QStringLiteral("/classes");
    writeAll(classes, "not a folder");

    // Every file is still tried after one fails, and each failure is reported.
    PromptsDouble prompts;
    QVERIFY(!ExtractClassFiles(prompts));
    const QStringList texts = prompts.texts();
    QCOMPARE(texts.size(), 3);
    const QStringList expected{QStringLiteral("quilanim to ") + classes + QStringLiteral("/quilanim.class"),
                               QStringLiteral("wraplabel to ") + classes + QStringLiteral("/WrappingLabel.class"),
                               QStringLiteral("quilanim.js to ") + classes + QStringLiteral("/quilanim.js")};
    for (int i = 0; i < 3; ++i) {
        const QString start = QStringLiteral("An error occurred while trying to extract ") + expected.at(i)
            + QStringLiteral(".\r\n\r\n");
        QVERIFY2(texts.at(i).startsWith(start), qPrintable(texts.at(i)));
        QVERIFY(texts.at(i).size() > start.size());
    }
    QCOMPARE(readAll(classes), QByteArray("not a folder"));
    QVERIFY(QFileInfo(classes).isFile());
    removeClassesFolder();
}

void TestClassFiles::webPlayerFollowsItsVersionLine_data()
{
    QTest::addColumn<QByteArray>("onDisk");
    QTest::addColumn<bool>("replaced");
    const QByteArray embedded = readAll(QStringLiteral(":/quilanim.js"));
    const QByteArray versionLine = embedded.left(embedded.indexOf('\n') + 1);
    QTest::newRow("same version, edited by hand") << versionLine + "// my own changes\n" << false;
    QTest::newRow("older version") << QByteArray("/* quilanim.js 0.9 */\nold();\n") << true;
    QTest::newRow("no line break") << QByteArray("/* quilanim.js 0.9 */") << true;
    QTest::newRow("empty") << QByteArray() << true;
}

void TestClassFiles::webPlayerFollowsItsVersionLine()
{
    QFETCH(QByteArray, onDisk);
    QFETCH(bool, replaced);
    const QByteArray embedded = readAll(QStringLiteral(":/quilanim.js"));
    QVERIFY(embedded.startsWith("/* quilanim.js "));
    removeClassesFolder();
    QVERIFY(QDir().mkpath(ClassFilesFolder()));
    const QString script = ClassFilesFolder() + QStringLiteral("quilanim.js");
    writeAll(script, onDisk);

    PromptsDouble prompts;
    QVERIFY(ExtractClassFiles(prompts));
    QCOMPARE(prompts.texts(), QStringList());
    QCOMPARE(readAll(script), replaced ? embedded : onDisk);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestClassFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_classfiles.moc"

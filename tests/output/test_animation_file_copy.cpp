#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"
#include "output/AnimationFileCopy.h"
#include "output/ClassFiles.h"
#include "platform/AppFolders.h"
#include "platform/EError.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include "TestFiles.h"
#include "../imaging/TestPictures.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestAnimationFileCopy : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void countsAndFiles_data();
    void countsAndFiles();
    void copiesReplaceOlderFiles_data();
    void copiesReplaceOlderFiles();
    void copyingOntoItselfKeepsTheFile();
    void missingFolderIsCreated_data();
    void missingFolderIsCreated();
    void folderThatCannotBeMadeThrows_data();
    void folderThatCannotBeMadeThrows();
    void missingClassFilesAreSkippedAndNotCounted();
    void fileInFolder_data();
    void fileInFolder();

private:
    QString m_sources;
};

void TestAnimationFileCopy::initTestCase()
{
    PromptsDouble prompts;
    QVERIFY(ExtractClassFiles(prompts));
    m_sources = TestEnvironment::instance().freshFolder(QStringLiteral("sources"));
    writeAll(m_sources + QStringLiteral("/a/x.gif"), TestPictures::gifOfSize(QSize(10, 10)));
    writeAll(m_sources + QStringLiteral("/b/y.jpg"), TestPictures::jpegOfSize(QSize(12, 12)));
    writeAll(m_sources + QStringLiteral("/c/z.gif"), TestPictures::gifOfSize(QSize(14, 14)));
    writeAll(m_sources + QStringLiteral("/c/x.gif"), TestPictures::gifOfSize(QSize(16, 16)));
    writeAll(m_sources + QStringLiteral("/music/theme.au"), ".snd theme");
    writeAll(m_sources + QStringLiteral("/art/sky.jpg"), TestPictures::jpegOfSize(QSize(20, 20)));
}

void TestAnimationFileCopy::countsAndFiles_data()
{
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<QString>("soundtrack");
    QTest::addColumn<QString>("background");
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("files");

    const QStringList classes{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class")};
    const QStringList two{QStringLiteral("a/x.gif"), QStringLiteral("b/y.jpg")};
    const QStringList three{QStringLiteral("a/x.gif"), QStringLiteral("b/y.jpg"), QStringLiteral("c/z.gif")};

    QTest::newRow("class files only, whatever the frames")
        << three << QStringLiteral("music/theme.au") << QStringLiteral("art/sky.jpg") << false << 2 << classes;
    QTest::newRow("two frames unticked") << two << QString() << QString() << false << 2 << classes;
    QTest::newRow("two frames, no sound or background")
        << two << QString() << QString() << true << 4
        << QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                       QStringLiteral("x.gif"), QStringLiteral("y.jpg")};
    QTest::newRow("three frames and a soundtrack")
        << three << QStringLiteral("music/theme.au") << QString() << true << 6
        << QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                       QStringLiteral("theme.au"), QStringLiteral("x.gif"), QStringLiteral("y.jpg"),
                       QStringLiteral("z.gif")};
    QTest::newRow("sound and background")
        << QStringList{QStringLiteral("a/x.gif")} << QStringLiteral("music/theme.au") << QStringLiteral("art/sky.jpg")
        << true << 5
        << QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                       QStringLiteral("sky.jpg"), QStringLiteral("theme.au"), QStringLiteral("x.gif")};
    // A soundtrack or background whose file is not there is neither copied nor counted.
    QTest::newRow("named sound and background missing")
        << QStringList{QStringLiteral("a/x.gif")} << QStringLiteral("music/gone.au") << QStringLiteral("art")
        << true << 3
        << QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                       QStringLiteral("x.gif")};
    // A frame picture that vanished is skipped and not counted.
    QTest::newRow("vanished frame picture")
        << QStringList{QStringLiteral("a/x.gif"), QStringLiteral("a/gone.gif")} << QString() << QString() << true << 3
        << QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                       QStringLiteral("x.gif")};
    QTest::newRow("no frames at all") << QStringList() << QString() << QString() << true << 2 << classes;
    // Two pictures of one name both arrive; a picture shown twice is written once.
    QTest::newRow("same name from two folders")
        << QStringList{QStringLiteral("a/x.gif"), QStringLiteral("c/x.gif"), QStringLiteral("a/x.gif")}
        << QStringLiteral("c/x.gif") << QString() << true << 4
        << QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                       QStringLiteral("x-2.gif"), QStringLiteral("x.gif")};
}

void TestAnimationFileCopy::countsAndFiles()
{
    QFETCH(QStringList, pictures);
    QFETCH(QString, soundtrack);
    QFETCH(QString, background);
    QFETCH(bool, all);
    QFETCH(int, count);
    QFETCH(QStringList, files);

    PromptsDouble prompts;
    AnimationDocument document(prompts);
    for (const QString &picture : pictures)
        document.appendFrame(m_sources + QLatin1Char('/') + picture, QString());
    if (!soundtrack.isEmpty())
        document.setText(TextSetting::Soundtrack, m_sources + QLatin1Char('/') + soundtrack);
    if (!background.isEmpty())
        document.setText(TextSetting::BackImage, m_sources + QLatin1Char('/') + background);

    const QString target = TestEnvironment::instance().freshFolder(QStringLiteral("target"));
    QCOMPARE(CopyAnimationFiles(document, target, all), count);
    QCOMPARE(filesIn(target), files);
    // Each copy holds its own picture, under the name the element gives it.
    const QStringList names = AssignSharedFolderNames(document).frames;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const QString copy = target + QLatin1Char('/') + names.at(i);
        if (QFileInfo::exists(copy))
            QCOMPARE(readAll(copy), readAll(m_sources + QLatin1Char('/') + pictures.at(i)));
    }
    QCOMPARE(readAll(target + QStringLiteral("/quilanim.class")), readAll(ClassFilesFolder() + QStringLiteral("quilanim.class")));
    QCOMPARE(readAll(target + QStringLiteral("/WrappingLabel.class")),
             readAll(ClassFilesFolder() + QStringLiteral("WrappingLabel.class")));
    QVERIFY(prompts.shown.isEmpty());
}

void TestAnimationFileCopy::copiesReplaceOlderFiles_data()
{
    QTest::addColumn<QByteArray>("older");
    QTest::newRow("longer older copy") << QByteArray("an older and much longer picture than the new one");
    QTest::newRow("empty older copy") << QByteArray();
}

void TestAnimationFileCopy::copiesReplaceOlderFiles()
{
    QFETCH(QByteArray, older);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    const QString target = TestEnvironment::instance().freshFolder(QStringLiteral("replace"));
    writeAll(target + QStringLiteral("/x.gif"), older);
    writeAll(target + QStringLiteral("/quilanim.class"), older);

    QCOMPARE(CopyAnimationFiles(document, target, true), 3);
    QCOMPARE(readAll(target + QStringLiteral("/x.gif")), readAll(m_sources + QStringLiteral("/a/x.gif")));
    QCOMPARE(readAll(target + QStringLiteral("/quilanim.class")), readAll(ClassFilesFolder() + QStringLiteral("quilanim.class")));
    // No temporary file is left beside the copies.
    QCOMPARE(filesIn(target), (QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                                           QStringLiteral("x.gif")}));
}

void TestAnimationFileCopy::copyingOntoItselfKeepsTheFile()
{
    // Copying into the folder the pictures already lie in.
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString picture = m_sources + QStringLiteral("/a/x.gif");
    const QByteArray before = readAll(picture);
    document.appendFrame(picture, QString());
    QCOMPARE(CopyAnimationFiles(document, m_sources + QStringLiteral("/a/"), true), 3);
    QCOMPARE(readAll(picture), before);
    QVERIFY(QFile::remove(m_sources + QStringLiteral("/a/quilanim.class")));
    QVERIFY(QFile::remove(m_sources + QStringLiteral("/a/WrappingLabel.class")));
}

void TestAnimationFileCopy::missingFolderIsCreated_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("count");
    QTest::newRow("all files") << true << 3;
    // Also for the class files alone: otherwise "2 files copied" would name files never written.
    QTest::newRow("class files only") << false << 2;
}

void TestAnimationFileCopy::missingFolderIsCreated()
{
    QFETCH(bool, all);
    QFETCH(int, count);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    const QString target = TestEnvironment::instance().freshFolder(QStringLiteral("create"))
        + QStringLiteral("/deep/er/site/");
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(CopyAnimationFiles(document, target, all), count);
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(filesIn(target).size(), count);
}

void TestAnimationFileCopy::folderThatCannotBeMadeThrows_data()
{
    QTest::addColumn<QString>("below");
    QTest::addColumn<bool>("all");
    QTest::newRow("the folder is a file") << QString() << true;
    QTest::newRow("the folder is a file, class files only") << QString() << false;
    QTest::newRow("a parent is a file") << QStringLiteral("/sub") << true;
}

void TestAnimationFileCopy::folderThatCannotBeMadeThrows()
{
    QFETCH(QString, below);
    QFETCH(bool, all);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    const QString file = TestEnvironment::instance().freshFolder(QStringLiteral("blocked")) + QStringLiteral("/site");
    writeAll(file, "a regular file where the folder should be");
    const QString target = file + below;
    try {
        CopyAnimationFiles(document, target, all);
        QFAIL("no error for a folder that cannot be made");
    } catch (const EFileError &error) {
        QCOMPARE(error.message(), QStringLiteral("The folder ") + target + QStringLiteral(" could not be created."));
    }
    QCOMPARE(readAll(file), QByteArray("a regular file where the folder should be"));
}

void TestAnimationFileCopy::missingClassFilesAreSkippedAndNotCounted()
{
    const QString classes = ProgramFolder() + QStringLiteral("/classes");
    QVERIFY(QDir(classes).removeRecursively());
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString target = TestEnvironment::instance().freshFolder(QStringLiteral("noclasses"));
    QCOMPARE(CopyAnimationFiles(document, target, false), 0);
    QVERIFY(filesIn(target).isEmpty());
    QVERIFY(ExtractClassFiles(prompts));
}

void TestAnimationFileCopy::fileInFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << QStringLiteral("/site/img") << QStringLiteral("/site/img/x.gif");
    QTest::newRow("trailing separator") << QStringLiteral("/site/img/") << QStringLiteral("/site/img/x.gif");
    QTest::newRow("relative") << QStringLiteral("out") << QStringLiteral("out/x.gif");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/x.gif");
    // A backslash is an ordinary character of a POSIX folder name.
    QTest::newRow("backslash in a name") << QStringLiteral("/site/a\\b") << QStringLiteral("/site/a\\b/x.gif");
}

void TestAnimationFileCopy::fileInFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(FileInFolder(folder, QStringLiteral("x.gif")), path);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestAnimationFileCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_animation_file_copy.moc"

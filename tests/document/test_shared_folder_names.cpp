#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;

// The names files take side by side in one folder.
class TestSharedFolderNames : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
};

void TestSharedFolderNames::names_data()
{
    // Paths and names; "%t" stands for a folder holding real files (t/a.jpg and t/b/a.jpg).
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("soundtrack");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QStringList>("expected"); // frame names, then soundtrack, then background

    QTest::newRow("no clash: the file names")
        << QStringList{u"/p/a.jpg"_s, u"/p/b.gif"_s} << u"/m/tune.au"_s << u"C:\\art\\sky.jpg"_s
        << QStringList{u"a.jpg"_s, u"b.gif"_s, u"tune.au"_s, u"sky.jpg"_s};
    QTest::newRow("later files of a taken name get the first free number")
        << QStringList{u"/p/a.jpg"_s, u"/q/a.jpg"_s, u"/r/a.jpg"_s, u"/s/a-2.jpg"_s} << u""_s << u""_s
        << QStringList{u"a.jpg"_s, u"a-2.jpg"_s, u"a-3.jpg"_s, u"a-2-2.jpg"_s, u""_s, u""_s};
    QTest::newRow("one file keeps its first name, also as background")
        << QStringList{u"/p/a.jpg"_s, u"/q/a.jpg"_s, u"/p/a.jpg"_s} << u""_s << u"/q/a.jpg"_s
        << QStringList{u"a.jpg"_s, u"a-2.jpg"_s, u"a.jpg"_s, u""_s, u"a-2.jpg"_s};
    QTest::newRow("soundtrack before background")
        << QStringList{u"/p/x.gif"_s} << u"/m/x.gif"_s << u"/n/x.gif"_s << QStringList{u"x.gif"_s, u"x-2.gif"_s, u"x-3.gif"_s};
    QTest::newRow("the program's own files are taken")
        << QStringList{u"/p/quilanim.class"_s, u"/p/WrappingLabel.class"_s} << u"/m/quilanim.js"_s << u""_s
        << QStringList{u"quilanim-2.class"_s, u"WrappingLabel-2.class"_s, u"quilanim-2.js"_s, u""_s};
    QTest::newRow("names without an extension, or starting with a dot")
        << QStringList{u"/p/README"_s, u"/q/README"_s, u"/p/.hidden"_s, u"/q/.hidden"_s, u"/p/a.tar.gz"_s, u"/q/a.tar.gz"_s} << u""_s
        << u""_s << QStringList{u"README"_s, u"README-2"_s, u".hidden"_s, u".hidden-2"_s, u"a.tar.gz"_s, u"a.tar-2.gz"_s, u""_s, u""_s};
    QTest::newRow("names differing in case are different files")
        << QStringList{u"/p/A.jpg"_s, u"/q/a.jpg"_s} << u""_s << u""_s << QStringList{u"A.jpg"_s, u"a.jpg"_s, u""_s, u""_s};
    QTest::newRow("a folder names no file") << QStringList{u"/p/"_s} << u"/m/"_s << u""_s << QStringList{u""_s, u""_s, u""_s};
    QTest::newRow("two paths to one file are one file")
        << QStringList{u"%t/a.jpg"_s, u"%t/b/a.jpg"_s, u"%t/b/../a.jpg"_s} << u""_s << u""_s
        << QStringList{u"a.jpg"_s, u"a-2.jpg"_s, u"a.jpg"_s, u""_s, u""_s};
}

void TestSharedFolderNames::names()
{
    QFETCH(QStringList, frames);
    QFETCH(QString, soundtrack);
    QFETCH(QString, background);
    QFETCH(QStringList, expected);
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("shared-names"));
    writeAll(folder + QStringLiteral("/a.jpg"), "one");
    writeAll(folder + QStringLiteral("/b/a.jpg"), "two");

    PromptsDouble prompts;
    AnimationDocument document(prompts);
    for (QString path : frames)
        document.appendFrame(path.replace(QLatin1String("%t"), folder), QString());
    document.setText(TextSetting::Soundtrack, soundtrack);
    document.setText(TextSetting::BackImage, background);

    const SharedFolderNames names = AssignSharedFolderNames(document);
    QCOMPARE(names.frames + QStringList({names.soundtrack, names.background}), expected);
    // The names depend on the document alone: a file in the way changes nothing.
    writeAll(folder + QStringLiteral("/a-2.jpg"), "in the way");
    const SharedFolderNames again = AssignSharedFolderNames(document);
    QCOMPARE(again.frames + QStringList({again.soundtrack, again.background}), expected);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestSharedFolderNames test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shared_folder_names.moc"

#include "controls/RecentFileList.h"
#include "document/AnimationDocument.h"
#include "document/SettingsKey.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagWriter.h"
#include "output/ProjectFiles.h"
#include "platform/EError.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <memory>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
}

// One main window's worth of project-file state: document, prompts, settings key, recent files.
struct Session
{
    explicit Session(const QString &folder)
        : registry(folder + QStringLiteral("/registry.json"), folder + QStringLiteral("/machine.json")),
          key(registry), document(prompts)
    {
        key.openKey(SettingsKey, true);
        ProjectFileHooks hooks;
        hooks.addRecentFile = [this](const QString &path) { recent.add(path); };
        hooks.addFrame = [this](const QString &path, const QString &caption) {
            // The busy cursor shows while a file is read.
            const QCursor *cursor = QGuiApplication::overrideCursor();
            busyWhileAdding = busyWhileAdding && cursor && cursor->shape() == Qt::WaitCursor;
            document.appendFrame(path, caption);
        };
        hooks.layoutFrames = [this] { ++layouts; };
        files = std::make_unique<ProjectFiles>(document, prompts, key, hooks);
    }

    PromptsDouble prompts;
    Registry registry;
    RegistryKey key;
    AnimationDocument document;
    RecentFileList recent;
    std::unique_ptr<ProjectFiles> files;
    bool busyWhileAdding = true;
    int layouts = 0;
};

} // namespace

class TestProjectFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveAfterStartupAsksForAName();
    void saveAsCancelledChangesNothing();
    void saveAgainWritesWithoutAsking();
    void openRestoresTheDocument();
    void openDialog();
    void openingTwiceKeepsOneRecentEntry();
    void deletedRecentFileLeavesTheDocument();
    void fileWithoutElementIsRefused_data();
    void fileWithoutElementIsRefused();
    void relativeReferencesResolveAgainstTheFile();
    void openedPageIsNotReplacedBySave();
    void pageChosenInSaveAsIsWritten();
    void nameWithBracketIsKeptWhole();
    void failedSaveAsKeepsTheOldFile();
    void afterDeleteAllSaveAsksAgain();
    void holdsOnlyAnAppletElement_data();
    void holdsOnlyAnAppletElement();

private:
    QString m_folder;
    std::unique_ptr<Session> m_session;
    QStringList m_pictures;
};

void TestProjectFiles::init()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("project"));
    m_session = std::make_unique<Session>(m_folder);
    m_pictures.clear();
    for (const char *name : {"a.gif", "b.gif"}) {
        m_pictures << m_folder + QLatin1Char('/') + QLatin1String(name);
        writeBytes(m_pictures.last(), "GIF89a");
    }
}

void TestProjectFiles::cleanup()
{
    m_session.reset();
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestProjectFiles::saveAfterStartupAsksForAName()
{
    Session &s = *m_session;
    s.document.appendFrame(m_pictures.at(0), QStringLiteral("One"));
    s.document.appendFrame(m_pictures.at(1), QStringLiteral("Two"));
    s.key.writeString(OpenFileDirectoryValue, m_folder + QStringLiteral("/"));
    const QString target = m_folder + QStringLiteral("/anim/demo.rcf");
    QDir().mkpath(m_folder + QStringLiteral("/anim"));
    s.prompts.answers.enqueue(target);

    s.files->mnuFileSaveClick();

    QCOMPARE(s.prompts.shown.size(), 2);
    const PromptsDouble::Shown &dialog = s.prompts.shown.at(0);
    QCOMPARE(dialog.what, QStringLiteral("saveFile"));
    QCOMPARE(dialog.dialog.folder, m_folder + QStringLiteral("/"));
    QCOMPARE(dialog.dialog.filter, QStringLiteral("Java Reelcraft Save Files (*.rcf)"));
    QCOMPARE(dialog.dialog.defaultSuffix, QStringLiteral("rcf"));
    QCOMPARE(s.prompts.shown.at(1).text, target + QStringLiteral(" saved."));
    QCOMPARE(s.document.Caption(), QStringLiteral("Reelcraft - [") + target + QStringLiteral("]"));
    QCOMPARE(s.document.CurrentFileName(), target);
    QCOMPARE(readBytes(target), ProjectFiles::ProjectFileText(s.document).toUtf8());
    QVERIFY(readBytes(target).startsWith("<applet code=\"quilanim\" width=600 height=200>\r\n"
                                         "<param name=\"imagelist\" value=\"file://"));
    QCOMPARE(s.recent.paths(), QStringList{target});
    QCOMPARE(s.key.readString(OpenFileDirectoryValue), m_folder + QStringLiteral("/anim/"));
}

void TestProjectFiles::saveAsCancelledChangesNothing()
{
    Session &s = *m_session;
    s.document.SetCurrentFileName(m_folder + QStringLiteral("/kept.rcf"));
    s.key.writeString(OpenFileDirectoryValue, QStringLiteral("/somewhere/"));
    s.files->mnuFileSaveAsClick(); // the double cancels
    QCOMPARE(s.prompts.unanswered, 1);
    // kept.rcf does not exist, so the dialog starts in the stored folder.
    QCOMPARE(s.prompts.shown.at(0).dialog.folder, QStringLiteral("/somewhere/"));
    QCOMPARE(s.document.CurrentFileName(), m_folder + QStringLiteral("/kept.rcf"));
    QCOMPARE(s.key.readString(OpenFileDirectoryValue), QStringLiteral("/somewhere/"));
    QVERIFY(!QFile::exists(m_folder + QStringLiteral("/kept.rcf")));
    QVERIFY(s.recent.isEmpty());
}

void TestProjectFiles::saveAgainWritesWithoutAsking()
{
    Session &s = *m_session;
    const QString target = m_folder + QStringLiteral("/again.rcf");
    s.prompts.answers.enqueue(target);
    s.files->mnuFileSaveAsClick();
    s.document.appendFrame(m_pictures.at(0), QStringLiteral("Added"));
    s.prompts.clear();

    s.files->mnuFileSaveClick();
    QCOMPARE(s.prompts.texts(), QStringList{target + QStringLiteral(" saved.")});
    QCOMPARE(readBytes(target), ProjectFiles::ProjectFileText(s.document).toUtf8());

    // Save As starts in the folder of the existing file, without a trailing "/".
    s.files->mnuFileSaveAsClick();
    QCOMPARE(s.prompts.shown.last().dialog.folder, m_folder);
}

void TestProjectFiles::openRestoresTheDocument()
{
    Session &s = *m_session;
    AnimationDocument &d = s.document;
    d.appendFrame(m_pictures.at(0), QStringLiteral("One"));
    d.appendFrame(m_pictures.at(1), QStringLiteral("Two"));
    d.setText(TextSetting::BetweenFrames, QStringLiteral("250"));
    d.setText(TextSetting::Delay, QStringLiteral("900"));
    d.setText(TextSetting::Repeat, QStringLiteral("3"));
    d.setSelectedIndex(ListSetting::Edge, DisappearOffEdge);
    // A moving show: its captions and their font are kept all the same.
    d.setSelectedIndex(ListSetting::HorizDirection, 1);
    d.setText(TextSetting::HorizSpeed, QStringLiteral("4"));
    d.setSelectedIndex(ListSetting::FontName, 2);
    d.setText(TextSetting::FontSize, QStringLiteral("30"));
    d.setSelectedIndex(ListSetting::FontStyle, 3);
    d.BackgroundColour().SetText(QStringLiteral("336699"));
    d.setText(TextSetting::BackImage, QStringLiteral("/art/sky.jpg"));
    const QString tune = m_folder + QStringLiteral("/sound/tune, 100%.au");
    d.setText(TextSetting::Soundtrack, tune);
    const QString target = m_folder + QStringLiteral("/full.rcf");
    s.prompts.answers.enqueue(target);
    s.files->mnuFileSaveAsClick();

    Session other(TestEnvironment::instance().freshFolder(QStringLiteral("project-other")));
    other.files->OpenProject(target);
    const AnimationDocument &o = other.document;
    QCOMPARE(o.frameCount(), 2);
    QCOMPARE(o.frame(0).PicturePath, m_pictures.at(0));
    QCOMPARE(o.frame(1).CaptionText, QStringLiteral("Two"));
    QCOMPARE(o.text(TextSetting::HorizSpeed), QStringLiteral("4"));
    QCOMPARE(o.text(TextSetting::BetweenFrames), QStringLiteral("250"));
    QCOMPARE(o.text(TextSetting::Delay), QStringLiteral("900"));
    QCOMPARE(o.text(TextSetting::Repeat), QStringLiteral("3"));
    QCOMPARE(o.selectedIndex(ListSetting::Edge), int(DisappearOffEdge));
    QCOMPARE(o.BackgroundColour().HtmlColour(), QStringLiteral("336699"));
    // The caption font comes back, and the background image and soundtrack with their
    // folders, whether their files exist or not.
    QCOMPARE(o.selectedItemText(ListSetting::FontName), QStringLiteral("Courier"));
    QCOMPARE(o.text(TextSetting::FontSize), QStringLiteral("30"));
    QCOMPARE(o.selectedItemText(ListSetting::FontStyle), QStringLiteral("Bold + Italic"));
    QCOMPARE(o.text(TextSetting::BackImage), QStringLiteral("/art/sky.jpg"));
    QCOMPARE(o.text(TextSetting::Soundtrack), tune);
    QCOMPARE(ProjectFiles::ProjectFileText(o), ProjectFiles::ProjectFileText(d));
    QCOMPARE(o.Caption(), QStringLiteral("Reelcraft - [") + target + QStringLiteral("]"));
    QCOMPARE(other.recent.paths(), QStringList{target});
    QCOMPARE(other.key.readString(OpenFileDirectoryValue), m_folder + QStringLiteral("/"));
    QVERIFY(other.busyWhileAdding);
    QCOMPARE(other.layouts, 1);
    QVERIFY(other.prompts.shown.isEmpty());
}

void TestProjectFiles::openDialog()
{
    Session &s = *m_session;
    s.key.writeString(OpenFileDirectoryValue, m_folder + QStringLiteral("/"));
    s.files->mnuFileOpenClick(); // cancelled
    QCOMPARE(s.prompts.shown.size(), 1);
    const Prompts::FileDialog &dialog = s.prompts.shown.at(0).dialog;
    QCOMPARE(s.prompts.shown.at(0).what, QStringLiteral("openFile"));
    QCOMPARE(dialog.folder, m_folder + QStringLiteral("/"));
    QCOMPARE(dialog.filter,
             QStringLiteral("Java Reelcraft File (*.rcf);;HTML Files (*.htm *.html);;All Files (*)"));
    QCOMPARE(dialog.filterIndex, 0);
    QVERIFY(s.recent.isEmpty());
    QCOMPARE(s.document.Caption(), AnimationDocument::StartupCaption);

    const QString file = m_folder + QStringLiteral("/chosen.rcf");
    writeBytes(file, "<applet code=\"quilanim\"><param name=\"pause\" value=\"42\"></applet>");
    s.prompts.answers.enqueue(file);
    s.files->mnuFileOpenClick();
    QCOMPARE(s.document.CurrentFileName(), file);
    QCOMPARE(s.document.text(TextSetting::BetweenFrames), QStringLiteral("42"));
}

void TestProjectFiles::openingTwiceKeepsOneRecentEntry()
{
    Session &s = *m_session;
    const QString first = m_folder + QStringLiteral("/one.rcf");
    const QString second = m_folder + QStringLiteral("/two.rcf");
    writeBytes(first, "<applet code=\"quilanim\" width=1 height=2></applet>");
    writeBytes(second, "<applet code=\"quilanim\" width=3 height=4></applet>");
    s.files->OpenProject(first);
    s.files->OpenProject(second);
    s.files->OpenProject(first);
    QCOMPARE(s.recent.paths(), QStringList({first, second}));
    QCOMPARE(s.document.text(TextSetting::JavaWidth), QStringLiteral("1"));
}

void TestProjectFiles::deletedRecentFileLeavesTheDocument()
{
    Session &s = *m_session;
    const QString gone = m_folder + QStringLiteral("/sub/gone.rcf");
    const QString other = m_folder + QStringLiteral("/other.rcf");
    s.recent.add(gone);
    s.recent.add(other);
    s.document.appendFrame(m_pictures.at(0), QStringLiteral("stays"));
    s.document.SetCurrentFileName(other);
    const AnimationSettings before = s.document.settings();

    bool thrown = false;
    try {
        s.files->OpenProject(gone);
    } catch (const EFileError &error) {
        thrown = true;
        QVERIFY(error.message().contains(gone));
    }
    QVERIFY(thrown);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(s.document.frameCount(), 1);
    QCOMPARE(s.document.settings(), before);
    QCOMPARE(s.document.CurrentFileName(), other);
    // The entry stays, now at the top, and its folder is the stored one.
    QCOMPARE(s.recent.paths(), QStringList({gone, other}));
    QCOMPARE(s.key.readString(OpenFileDirectoryValue), m_folder + QStringLiteral("/sub/"));
}

void TestProjectFiles::fileWithoutElementIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text file") << QByteArray("just some notes");
    QTest::newRow("random bytes") << QByteArray("\x89\x00<\xff\xfe>\x1b<appletx>\x00\x7f", 14);
    QTest::newRow("page without an element") << QByteArray("<html><param name=\"pause\" value=\"0\"><applets></html>");
    QTest::newRow("empty file") << QByteArray();
}

void TestProjectFiles::fileWithoutElementIsRefused()
{
    QFETCH(QByteArray, bytes);
    Session &s = *m_session;
    const QString kept = m_folder + QStringLiteral("/kept.rcf");
    writeBytes(kept, "<applet code=\"quilanim\" width=1 height=2></applet>");
    s.files->OpenProject(kept);
    s.document.appendFrame(m_pictures.at(0), QStringLiteral("work"));
    const AnimationSettings before = s.document.settings();

    const QString file = m_folder + QStringLiteral("/other.rcf");
    writeBytes(file, bytes);
    s.files->OpenProject(file);
    QCOMPARE(s.prompts.messages(), QStringList{NoAnimationMessage(file)});
    QCOMPARE(s.document.frameCount(), 1);
    QCOMPARE(s.document.settings(), before);
    QCOMPARE(s.document.CurrentFileName(), kept);
    QCOMPARE(s.recent.paths(), QStringList{kept});
}

void TestProjectFiles::relativeReferencesResolveAgainstTheFile()
{
    // site/page.html lists img/a.gif and is opened from another folder.
    const QString site = m_folder + QStringLiteral("/site");
    QDir().mkpath(site + QStringLiteral("/img"));
    writeBytes(site + QStringLiteral("/page.html"), "<applet code=\"quilanim\" width=9 height=9>"
                                                    "<param name=\"imagelist\" value=\"img/a.gif\"></applet>");
    writeBytes(site + QStringLiteral("/img/a.gif"), "GIF89a");
    const QString before = QDir::currentPath();
    QDir::setCurrent(TestEnvironment::instance().freshFolder(QStringLiteral("project-elsewhere")));
    m_session->files->OpenProject(QStringLiteral("../project/site/page.html"));
    QDir::setCurrent(before);
    QCOMPARE(m_session->document.frameCount(), 1);
    QCOMPARE(m_session->document.frame(0).PicturePath, site + QStringLiteral("/img/a.gif"));
}

void TestProjectFiles::openedPageIsNotReplacedBySave()
{
    Session &s = *m_session;
    const QString page = m_folder + QStringLiteral("/index.html");
    const QByteArray pageBytes = "<html><body><h1>Holiday</h1>\r\n"
                                 "<applet code=\"quilanim\" width=320 height=240>\r\n"
                                 "<param name=\"imagelist\" value=\"file://"
        + m_pictures.at(0).toUtf8() + "\">\r\n</applet>\r\n<p>More text</p></body></html>";
    writeBytes(page, pageBytes);
    s.files->OpenProject(page);
    QCOMPARE(s.document.frameCount(), 1);
    QCOMPARE(s.document.CurrentFileName(), page);

    const QString project = m_folder + QStringLiteral("/holiday.rcf");
    s.prompts.answers.enqueue(project);
    s.files->mnuFileSaveClick();

    QCOMPARE(readBytes(page), pageBytes);
    QCOMPARE(s.prompts.shown.size(), 3);
    QCOMPARE(s.prompts.shown.at(0).text, ProjectFiles::NotAProjectFileMessage(page));
    QVERIFY(s.prompts.shown.at(0).text.startsWith(page + QStringLiteral(" holds more than an animation")));
    QCOMPARE(s.prompts.shown.at(1).what, QStringLiteral("saveFile"));
    QCOMPARE(s.prompts.shown.at(1).dialog.folder, m_folder); // the page's folder
    QCOMPARE(s.prompts.shown.at(2).text, project + QStringLiteral(" saved."));
    QCOMPARE(readBytes(project), ProjectFiles::ProjectFileText(s.document).toUtf8());
    QCOMPARE(s.document.CurrentFileName(), project);
    QCOMPARE(s.recent.paths(), QStringList({project, page}));

    // Cancelling the Save As that follows writes nothing anywhere.
    s.files->OpenProject(page);
    s.prompts.clear();
    s.files->mnuFileSaveClick();
    QCOMPARE(s.prompts.shown.size(), 2);
    QCOMPARE(readBytes(page), pageBytes);
    QCOMPARE(s.document.CurrentFileName(), page);
}

void TestProjectFiles::pageChosenInSaveAsIsWritten()
{
    Session &s = *m_session;
    const QString page = m_folder + QStringLiteral("/page.htm");
    writeBytes(page, "<html><p>old page</p></html>");
    s.document.appendFrame(m_pictures.at(1), QStringLiteral("B"));
    // The user picked the page and confirmed replacing it in the dialog.
    s.prompts.answers.enqueue(page);
    s.files->mnuFileSaveAsClick();
    QCOMPARE(readBytes(page), ProjectFiles::ProjectFileText(s.document).toUtf8());
    QCOMPARE(s.prompts.messages(), QStringList{page + QStringLiteral(" saved.")});

    // Now it holds only the element, so Save replaces it without asking.
    s.prompts.clear();
    s.document.setText(TextSetting::Repeat, QStringLiteral("2"));
    s.files->mnuFileSaveClick();
    QCOMPARE(s.prompts.texts(), QStringList{page + QStringLiteral(" saved.")});
    QVERIFY(readBytes(page).contains("<param name=\"repeat\" value=\"2\">"));
}

void TestProjectFiles::nameWithBracketIsKeptWhole()
{
    Session &s = *m_session;
    const QString odd = m_folder + QStringLiteral("/odd]name [v2].rcf");
    s.prompts.answers.enqueue(odd);
    s.files->mnuFileSaveAsClick();
    QCOMPARE(s.document.CurrentFileName(), odd);
    QCOMPARE(s.document.Caption(), QStringLiteral("Reelcraft - [") + odd + QStringLiteral("]"));
    QVERIFY(QFile::exists(odd));

    s.document.appendFrame(m_pictures.at(0), QStringLiteral("x"));
    s.prompts.clear();
    s.files->mnuFileSaveClick();
    QCOMPARE(s.prompts.texts(), QStringList{odd + QStringLiteral(" saved.")});
    QCOMPARE(readBytes(odd), ProjectFiles::ProjectFileText(s.document).toUtf8());
    QCOMPARE(QDir(m_folder).entryList({QStringLiteral("odd*")}, QDir::Files), QStringList{QStringLiteral("odd]name [v2].rcf")});

    Session other(TestEnvironment::instance().freshFolder(QStringLiteral("project-bracket")));
    other.files->OpenProject(odd);
    QCOMPARE(other.document.CurrentFileName(), odd);
    QCOMPARE(other.document.frameCount(), 1);
}

void TestProjectFiles::failedSaveAsKeepsTheOldFile()
{
    Session &s = *m_session;
    const QString old = m_folder + QStringLiteral("/old.rcf");
    s.document.appendFrame(m_pictures.at(0), QStringLiteral("first"));
    s.prompts.answers.enqueue(old);
    s.files->mnuFileSaveAsClick();
    const QByteArray oldBytes = readBytes(old);
    QVERIFY(!oldBytes.isEmpty());
    s.recent.clear();
    s.prompts.clear();

    // A folder path that names a regular file fails for every user, root too.
    const QString notAFolder = m_folder + QStringLiteral("/plain-file");
    writeBytes(notAFolder, "x");
    const QString impossible = notAFolder + QStringLiteral("/new.rcf");
    s.document.appendFrame(m_pictures.at(1), QStringLiteral("second"));
    s.prompts.answers.enqueue(impossible);
    bool thrown = false;
    try {
        s.files->mnuFileSaveAsClick();
    } catch (const EFileError &error) {
        thrown = true;
        QVERIFY(error.message().contains(impossible));
    }
    QVERIFY(thrown);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(readBytes(old), oldBytes);
    QCOMPARE(readBytes(notAFolder), QByteArray("x"));
    QVERIFY(s.prompts.messages().isEmpty()); // no " saved."
    QVERIFY(s.recent.isEmpty());
    // Nothing was written under the new name, so the document still names the old file.
    QCOMPARE(s.document.CurrentFileName(), old);

    // The same for a document that had no name: it goes back to its caption.
    s.document.SetCaption(AnimationDocument::DeleteAllCaption);
    s.prompts.answers.enqueue(impossible);
    QVERIFY_THROWS_EXCEPTION(EFileError, s.files->mnuFileSaveAsClick());
    QCOMPARE(s.document.Caption(), AnimationDocument::DeleteAllCaption);
    QVERIFY(s.document.CurrentFileName().isEmpty());
}

void TestProjectFiles::afterDeleteAllSaveAsksAgain()
{
    Session &s = *m_session;
    const QString target = m_folder + QStringLiteral("/named.rcf");
    s.prompts.answers.enqueue(target);
    s.files->mnuFileSaveAsClick();
    s.document.clearFrames();
    s.document.SetCaption(AnimationDocument::DeleteAllCaption);
    s.prompts.clear();
    s.files->mnuFileSaveClick();
    QCOMPARE(s.prompts.shown.size(), 1);
    QCOMPARE(s.prompts.shown.at(0).what, QStringLiteral("saveFile"));
    QCOMPARE(s.prompts.unanswered, 1);
}

void TestProjectFiles::holdsOnlyAnAppletElement_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("onlyElement");
    QTest::newRow("written element") << QStringLiteral("<applet code=\"quilanim\" width=1 height=2>\r\n</applet>") << true;
    QTest::newRow("blanks around, upper case") << QStringLiteral("\r\n  <APPLET width=1>\n</APPLET>\r\n") << true;
    QTest::newRow("nothing") << QStringLiteral(" \r\n") << true;
    QTest::newRow("page") << QStringLiteral("<html><applet width=1></applet></html>") << false;
    QTest::newRow("text after") << QStringLiteral("<applet width=1></applet> notes") << false;
    QTest::newRow("two elements") << QStringLiteral("<applet width=1></applet><applet width=2></applet>") << false;
    QTest::newRow("unclosed") << QStringLiteral("<applet width=1>") << false;
    QTest::newRow("other tag") << QStringLiteral("<applets></applet>") << false;
    QTest::newRow("plain text") << QStringLiteral("hello") << false;
}

void TestProjectFiles::holdsOnlyAnAppletElement()
{
    QFETCH(QString, text);
    QFETCH(bool, onlyElement);
    QCOMPARE(ProjectFiles::HoldsOnlyAnAppletElement(text), onlyElement);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestProjectFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_project_files.moc"

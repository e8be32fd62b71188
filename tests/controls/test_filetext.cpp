#include "controls/FileText.h"
#include "platform/EError.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

QByteArray resourceBytes()
{
    QFile file(u":/sample.bin"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lowers the largest file this process may write, so a write fails even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit lowered = m_previous;
        lowered.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace

class TestFileText : public QObject
{
    Q_OBJECT
private slots:
    void readDecodes_data();
    void readDecodes();
    void writeIsUtf8ByteForByte();
    void readMissingFileThrows();
    void readErrorAfterOpenIsShown();
    void writeReplacesOldContent();
    void writeIntoFolderThatIsAFileThrows();
    void failedWriteKeepsOldFile();
    void extractResource();
    void extractResourceFailures();
    void deleteFilesInFolderOnly();
    void deleteFilesWithSubfolders();
    void deleteFilesWithoutFolderLeavesSubfolders();
};

void TestFileText::readDecodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9") << u"café"_s;
    QTest::newRow("Windows-1252") << QByteArray("caf\xe9") << u"café"_s;
    QTest::newRow("Windows-1252 punctuation") << QByteArray("\x80 \x93q\x94 \x85") << u"€ “q” …"_s;
    QTest::newRow("undefined Windows-1252 byte") << QByteArray("a\x81z") << u"a\u0081z"_s;
    QTest::newRow("byte-order mark dropped") << QByteArray("\xef\xbb\xbf" "abc") << u"abc"_s;
    QTest::newRow("UTF-8 cut short at the end") << QByteArray("abc\xc3") << u"abcÃ"_s;
    QTest::newRow("line ends kept") << QByteArray("a\r\nb\nc\r") << u"a\r\nb\nc\r"_s;
    QTest::newRow("zero bytes kept") << QByteArray("a\0b", 3) << QString(u"a\0b"_s);
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestFileText::readDecodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = TestEnvironment::instance().freshFolder(u"read"_s) + u"/in.rcf"_s;
    writeBytes(path, bytes);
    PromptsDouble prompts;
    QCOMPARE(ReadFileText(path, prompts), text);
    QCOMPARE(prompts.shown.size(), 0);
}

void TestFileText::writeIsUtf8ByteForByte()
{
    const QString path = TestEnvironment::instance().freshFolder(u"write"_s) + u"/out.rcf"_s;
    const QString text = u"<applet code=\"quilanim\">\r\n<param name=\"x\" value=\"Café €\">\r\n</applet>"_s;
    WriteFileText(path, text);
    QCOMPARE(readBytes(path), text.toUtf8());
    PromptsDouble prompts;
    QCOMPARE(ReadFileText(path, prompts), text);
}

void TestFileText::readMissingFileThrows()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"missing"_s);
    PromptsDouble prompts;
    for (const QString &path : {folder + u"/none.rcf"_s, folder}) {
        try {
            ReadFileText(path, prompts);
            QFAIL(qPrintable(u"no error for "_s + path));
        } catch (const EFileError &error) {
            QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        }
    }
    QCOMPARE(prompts.shown.size(), 0);
}

void TestFileText::readErrorAfterOpenIsShown()
{
    // Reading this process's memory file from offset 0 opens fine and then fails.
    const QString path = u"/proc/self/mem"_s;
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        QSKIP("/proc/self/mem cannot be opened here");
    probe.close();

    PromptsDouble prompts;
    QCOMPARE(ReadFileText(path, prompts), QString());
    QCOMPARE(prompts.messages().size(), 1);
    const QString shown = prompts.messages().constFirst();
    const QString start = u"An error occurred while reading /proc/self/mem\r\n\r\n"_s;
    QVERIFY2(shown.startsWith(start), qPrintable(shown));
    QVERIFY2(shown.size() > start.size(), "the error text follows");
}

void TestFileText::writeReplacesOldContent()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"replace"_s);
    const QString path = folder + u"/out.rcf"_s;
    writeBytes(path, QByteArray(5000, 'x'));
    WriteFileText(path, u"short"_s);
    QCOMPARE(readBytes(path), QByteArray("short"));
    WriteFileText(path, QString());
    QCOMPARE(readBytes(path), QByteArray());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"out.rcf"_s});
}

void TestFileText::writeIntoFolderThatIsAFileThrows()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"blocked"_s);
    const QString blocker = folder + u"/notafolder"_s;
    writeBytes(blocker, "keep me");
    const QString path = blocker + u"/out.rcf"_s;
    try {
        WriteFileText(path, u"text"_s);
        QFAIL("no error");
    } catch (const EFileError &error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
    QCOMPARE(readBytes(blocker), QByteArray("keep me"));
}

void TestFileText::failedWriteKeepsOldFile()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"full"_s);
    const QString path = folder + u"/project.rcf"_s;
    const QByteArray old("the old project");
    writeBytes(path, old);

    bool threw = false;
    {
        FileSizeLimit limit(64);
        if (!limit.active())
            QSKIP("the file size limit cannot be set");
        try {
            WriteFileText(path, QString(100000, QLatin1Char('n')));
        } catch (const EFileError &error) {
            threw = error.message().contains(path);
        }
    }
    QVERIFY(threw);
    QCOMPARE(readBytes(path), old);
    // The half-written temporary file is gone as well.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"project.rcf"_s});
}

void TestFileText::extractResource()
{
    const QByteArray expected = resourceBytes();
    QVERIFY(!expected.isEmpty());
    const QString folder = TestEnvironment::instance().freshFolder(u"extract"_s);
    PromptsDouble prompts;

    const QString nested = folder + u"/a/b/sample.bin"_s;
    QVERIFY(ExtractResourceToFile(nested, u"sample.bin"_s, prompts));
    QCOMPARE(readBytes(nested), expected);

    const QString existing = folder + u"/existing.bin"_s;
    writeBytes(existing, QByteArray(10000, 'o'));
    QVERIFY(ExtractResourceToFile(existing, u":/sample.bin"_s, prompts));
    QCOMPARE(readBytes(existing), expected);
    QCOMPARE(prompts.shown.size(), 0);
}

void TestFileText::extractResourceFailures()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"extractfail"_s);
    PromptsDouble prompts;

    const QString target = folder + u"/x.bin"_s;
    QVERIFY(!ExtractResourceToFile(target, u"NOSUCH"_s, prompts));
    QVERIFY(!QFile::exists(target));

    const QString blocker = folder + u"/plain"_s;
    writeBytes(blocker, "plain file");
    const QString blocked = blocker + u"/sub/x.bin"_s;
    QVERIFY(!ExtractResourceToFile(blocked, u"sample.bin"_s, prompts));

    const QStringList shown = prompts.messages();
    QCOMPARE(shown.size(), 2);
    const QString first = u"An error occurred while trying to extract NOSUCH to "_s + target + u".\r\n\r\n"_s;
    const QString second = u"An error occurred while trying to extract sample.bin to "_s + blocked + u".\r\n\r\n"_s;
    QVERIFY2(shown.at(0).startsWith(first) && shown.at(0).size() > first.size(), qPrintable(shown.at(0)));
    QVERIFY2(shown.at(1).startsWith(second) && shown.at(1).size() > second.size(), qPrintable(shown.at(1)));
    QCOMPARE(readBytes(blocker), QByteArray("plain file"));
}

void TestFileText::deleteFilesInFolderOnly()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"delete"_s);
    QDir().mkpath(folder + u"/sub"_s);
    for (const QString &name : {u"~sj1.htm"_s, u"~sjabc.htm"_s, u"~sj.htm"_s, u"~SJ2.htm"_s, u"keep.htm"_s,
                                u"~sj3.html"_s, u"x~sj4.htm"_s, u"sub/~sj5.htm"_s})
        writeBytes(folder + u'/' + name, "x");
    QVERIFY(QDir(folder).mkdir(u"~sjdir.htm"_s)); // a folder is not a file

    QVERIFY(DeleteFiles(folder + u"/~sj*.htm"_s, false));
    QDir dir(folder);
    QStringList left = dir.entryList(QDir::Files);
    left.sort();
    QCOMPARE(left, (QStringList{u"keep.htm"_s, u"x~sj4.htm"_s, u"~SJ2.htm"_s, u"~sj3.html"_s}));
    QVERIFY(QFile::exists(folder + u"/sub/~sj5.htm"_s));
    QVERIFY(dir.exists(u"~sjdir.htm"_s));

    // Nothing matches any more: still done.
    QVERIFY(DeleteFiles(folder + u"/~sj*.htm"_s, false));
}

void TestFileText::deleteFilesWithSubfolders()
{
    const QString root = TestEnvironment::instance().freshFolder(u"deletetree"_s);
    const QString folder = root + u"/work"_s;
    const QString outside = root + u"/outside"_s;
    QDir().mkpath(folder + u"/a/b/c"_s);
    QDir().mkpath(folder + u"/a-b"_s);
    QDir().mkpath(folder + u"/.hidden"_s);
    QDir().mkpath(outside);
    for (const QString &name : {u"~sj1.htm"_s, u"keep.txt"_s, u"a/one.txt"_s, u"a/b/two.txt"_s,
                                u"a/b/c/three.htm"_s, u"a-b/four"_s, u".hidden/.five"_s})
        writeBytes(folder + u'/' + name, "x");
    writeBytes(outside + u"/precious.txt"_s, "keep");
    QVERIFY(QFile::link(outside, folder + u"/a/b/link"_s));

    QVERIFY(DeleteFiles(folder + u"/~sj*.htm"_s, true));
    // Matching files of the folder go, every subfolder goes with all it held; links go
    // without touching what they point at.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{u"keep.txt"_s});
    QCOMPARE(readBytes(outside + u"/precious.txt"_s), QByteArray("keep"));
}

void TestFileText::deleteFilesWithoutFolderLeavesSubfolders()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"deletehere"_s);
    QDir().mkpath(folder + u"/sub"_s);
    writeBytes(folder + u"/a.tmp"_s, "x");
    writeBytes(folder + u"/sub/b.tmp"_s, "x");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder));
    const bool done = DeleteFiles(u"*.tmp"_s, true);
    QDir::setCurrent(previous);
    QVERIFY(done);
    QVERIFY(!QFile::exists(folder + u"/a.tmp"_s));
    QVERIFY(QFile::exists(folder + u"/sub/b.tmp"_s));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestFileText test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_filetext.moc"

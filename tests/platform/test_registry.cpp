#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using Root = Registry::Root;

namespace {

const Root User = Root::CurrentUser;
const Root Machine = Root::LocalMachine;

// Collects the settings store's warnings, so a test can count them.
QStringList g_warnings;
QtMessageHandler g_previousHandler = nullptr;

void recordWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("The settings file "))) {
        g_warnings.append(message);
        return;
    }
    g_previousHandler(type, context, message);
}

class WarningRecorder
{
public:
    WarningRecorder()
    {
        g_warnings.clear();
        g_previousHandler = qInstallMessageHandler(recordWarning);
    }
    ~WarningRecorder() { qInstallMessageHandler(g_previousHandler); }
};

// A settings file path in a new empty folder for each case.
QString freshFile()
{
    static int counter = 0;
    return TestEnvironment::instance().freshFolder(QStringLiteral("case-%1").arg(++counter))
        + QStringLiteral("/registry.json");
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList damagedCopies(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
}

// A hand-written file in the store's format, nested `levels` keys deep.
QByteArray nestedKeys(int levels)
{
    QByteArray text;
    for (int i = 0; i < levels; ++i)
        text += "{\"keys\": {\"k\": ";
    text += "{}";
    for (int i = 0; i < levels; ++i)
        text += "}}";
    return text;
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT
private slots:
    void namesRoundTrip_data();
    void namesRoundTrip();
    void valueNamesIgnoreCaseAndKeepFirstCase_data();
    void valueNamesIgnoreCaseAndKeepFirstCase();
    void keyNamesIgnoreCaseAndKeepFirstCase_data();
    void keyNamesIgnoreCaseAndKeepFirstCase();
    void valuesListInCreationOrder();
    void subkeyListing_data();
    void subkeyListing();
    void deleteKeyRemovesEverythingBelow_data();
    void deleteKeyRemovesEverythingBelow();
    void openKey_data();
    void openKey();
    void registryKeyActsOnOpenKey();
    void localMachineIsReadOnly_data();
    void localMachineIsReadOnly();
    void readsFollowOtherWriters();
    void twoProcessesLoseNoValue();
    void damagedFileIsKeptAside_data();
    void damagedFileIsKeptAside();
    void unwritableLocation_data();
    void unwritableLocation();
    void keyDepthStaysReadable();
};

void TestRegistry::namesRoundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("plainInFile");

    const QString recent = QStringLiteral("Software\\Tarnwick\\Quillon\\Reelcraft\\Recent Files");
    QTest::newRow("slash") << recent << u"/home/anna/My Pictures/show.rcf"_s << QString() << true;
    QTest::newRow("backslash") << recent << u"C:\\Shows\\Summer\\a.rcf"_s << QString() << false;
    QTest::newRow("bracket and equals") << recent << u"/shows/[best]=a]=b.rcf"_s << u"x=y]"_s << true;
    QTest::newRow("spaces") << recent << u"  two  spaces  "_s << u" v "_s << true;
    QTest::newRow("non-ASCII") << recent << u"/home/jürgen/Bilder/Ñandú €.rcf"_s << u"Grüße"_s << true;
    QTest::newRow("outside the BMP") << recent << u"/film/🎞 reel.rcf"_s << u"🎬"_s << true;
    QTest::newRow("quotes and controls") << recent << u"say \"hi\"\tthen\nnext"_s << u"a\r\nb\u0001"_s
                                         << false;
    QTest::newRow("lone surrogate") << recent << (u"x"_s + QChar(0xD800) + u"y"_s) << (QString(QChar(0xDC00)))
                                    << false;
    QTest::newRow("looks like the format") << recent << u"\"values\": [[\""_s << u"{}"_s << false;
    QTest::newRow("unnamed value") << u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE"_s
                                   << QString() << u"/opt/ie/iexplore"_s << true;
    QTest::newRow("slash in a key name") << u"Software\\Tarnwick\\a/b c"_s << u"n"_s << u"v"_s << true;
    QTest::newRow("non-ASCII key names") << u"Software\\Größe\\Ünter Ordner"_s << u"Höhe"_s << u"12"_s << true;
}

void TestRegistry::namesRoundTrip()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, plainInFile);
    const QString path = freshFile();
    {
        Registry writer(path, QString());
        QVERIFY(writer.writeString(User, key, name, value));
        QCOMPARE(writer.readString(User, key, name, u"default"_s), value);
    }
    Registry reader(path, QString());
    QVERIFY(reader.valueExists(User, key, name));
    QCOMPARE(reader.readString(User, key, name, u"default"_s), value);
    QCOMPARE(reader.valueNames(User, key), QStringList{name});

    // Each segment is one key, with "/" kept inside names.
    const QStringList segments = key.split(QLatin1Char('\\'));
    for (qsizetype i = 0; i < segments.size(); ++i)
        QCOMPARE(reader.subkeyNames(User, segments.mid(0, i).join(QLatin1Char('\\'))), QStringList{segments.at(i)});

    const QByteArray file = contents(path);
    QVERIFY(QJsonDocument::fromJson(file).isObject());
    if (plainInFile)
        QVERIFY2(file.contains(name.toUtf8()), file.constData());
}

void TestRegistry::valueNamesIgnoreCaseAndKeepFirstCase_data()
{
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("readName");
    QTest::addColumn<QString>("secondName");
    QTest::newRow("ASCII") << u"Open Directory"_s << u"open directory"_s << u"OPEN DIRECTORY"_s;
    QTest::newRow("mixed") << u"Last File"_s << u"Last file"_s << u"lAST fILE"_s;
    QTest::newRow("Latin-1 letters") << u"Äpfel Öl"_s << u"äpfel öl"_s << u"ÄPFEL ÖL"_s;
    QTest::newRow("Cyrillic") << u"Папка"_s << u"папка"_s << u"ПАПКА"_s;
    QTest::newRow("paths") << u"/Home/A.rcf"_s << u"/home/a.rcf"_s << u"/HOME/A.RCF"_s;
}

void TestRegistry::valueNamesIgnoreCaseAndKeepFirstCase()
{
    QFETCH(QString, firstName);
    QFETCH(QString, readName);
    QFETCH(QString, secondName);
    const QString path = freshFile();
    const QString key = u"Software\\Tarnwick\\Quillon\\Reelcraft"_s;
    Registry registry(path, QString());
    QVERIFY(registry.writeString(User, key, firstName, u"/first/"_s));
    QVERIFY(registry.valueExists(User, key, readName));
    QCOMPARE(registry.readString(User, key, readName), u"/first/"_s);
    QCOMPARE(registry.valueNames(User, key), QStringList{firstName});

    QVERIFY(registry.writeString(User, key, secondName, u"/second/"_s));
    Registry again(path, QString());
    QCOMPARE(again.valueNames(User, key), QStringList{firstName});
    QCOMPARE(again.readString(User, key, firstName), u"/second/"_s);
    QCOMPARE(again.readString(User, key.toUpper(), readName), u"/second/"_s);

    QVERIFY(again.deleteValue(User, key, secondName));
    QVERIFY(!again.valueExists(User, key, firstName));
}

void TestRegistry::keyNamesIgnoreCaseAndKeepFirstCase_data()
{
    QTest::addColumn<QString>("created");
    QTest::addColumn<QString>("writtenUnder");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("expectedChild");
    QTest::newRow("ASCII") << u"Software\\Tarnwick\\Color Picker"_s << u"SOFTWARE\\tarnwick\\color PICKER"_s
                           << u"software\\TARNWICK"_s << u"Color Picker"_s;
    QTest::newRow("non-ASCII") << u"Software\\Größe"_s << u"software\\GRÖßE"_s << u"Software"_s << u"Größe"_s;
}

void TestRegistry::keyNamesIgnoreCaseAndKeepFirstCase()
{
    QFETCH(QString, created);
    QFETCH(QString, writtenUnder);
    QFETCH(QString, parent);
    QFETCH(QString, expectedChild);
    const QString path = freshFile();
    Registry registry(path, QString());
    QVERIFY(registry.createKey(User, created));
    QVERIFY(registry.keyExists(User, writtenUnder));
    QVERIFY(registry.writeString(User, writtenUnder, u"Name"_s, u"v"_s));
    QVERIFY(registry.createKey(User, writtenUnder + u"\\Child"_s));

    Registry again(path, QString());
    QCOMPARE(again.subkeyNames(User, parent), QStringList{expectedChild});
    QCOMPARE(again.readString(User, created, u"NAME"_s), u"v"_s);
    QCOMPARE(again.subkeyNames(User, created), QStringList{u"Child"_s});
}

void TestRegistry::valuesListInCreationOrder()
{
    // The recent-file list is read back in the order its values were written.
    const QString path = freshFile();
    const QString key = u"Recent Files"_s;
    Registry registry(path, QString());
    for (const QString &name : {u"/z.rcf"_s, u"/a.rcf"_s, u"/m.rcf"_s, u"/b.rcf"_s})
        QVERIFY(registry.writeString(User, key, name, QString()));
    QVERIFY(registry.writeString(User, key, u"/A.RCF"_s, u"changed"_s));  // keeps its place
    QVERIFY(registry.deleteValue(User, key, u"/z.rcf"_s));
    QVERIFY(!registry.deleteValue(User, key, u"/z.rcf"_s));
    QVERIFY(!registry.deleteValue(User, u"No Such Key"_s, u"/a.rcf"_s));
    QVERIFY(registry.writeString(User, key, u"/z.rcf"_s, QString()));  // comes back last

    const QStringList expected{u"/a.rcf"_s, u"/m.rcf"_s, u"/b.rcf"_s, u"/z.rcf"_s};
    QCOMPARE(registry.valueNames(User, key), expected);
    Registry again(path, QString());
    QCOMPARE(again.valueNames(User, key), expected);
    QCOMPARE(again.readString(User, key, u"/a.rcf"_s), u"changed"_s);
}

void TestRegistry::subkeyListing_data()
{
    QTest::addColumn<QStringList>("created");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QStringList>("expected");
    const QStringList browsers{u"Root\\Netscape"_s, u"Root\\chromium"_s, u"Root\\Internet Explorer"_s,
                               u"Root\\Firefox\\Profiles"_s};
    const QStringList sorted{u"chromium"_s, u"Firefox"_s, u"Internet Explorer"_s, u"Netscape"_s};
    QTest::newRow("sorted without regard to case, direct children only") << browsers << u"Root"_s << sorted;
    QTest::newRow("leading backslash") << browsers << u"\\Root"_s << sorted;
    QTest::newRow("doubled and trailing backslashes") << browsers << u"\\\\Root\\\\"_s << sorted;
    QTest::newRow("other case") << browsers << u"ROOT"_s << sorted;
    QTest::newRow("deeper") << browsers << u"Root\\Firefox"_s << QStringList{u"Profiles"_s};
    QTest::newRow("no subkeys") << browsers << u"Root\\Netscape"_s << QStringList();
    QTest::newRow("missing key") << browsers << u"Root\\Opera"_s << QStringList();
    QTest::newRow("the root") << browsers << QString() << QStringList{u"Root"_s};
    QTest::newRow("slash stays in a name") << QStringList{u"Root\\a/b\\c"_s} << u"Root"_s << QStringList{u"a/b"_s};
}

void TestRegistry::subkeyListing()
{
    QFETCH(QStringList, created);
    QFETCH(QString, listed);
    QFETCH(QStringList, expected);
    const QString path = freshFile();
    {
        Registry registry(path, QString());
        for (const QString &key : created)
            QVERIFY(registry.createKey(User, key));
        QCOMPARE(registry.subkeyNames(User, listed), expected);
    }
    Registry again(path, QString());
    QCOMPARE(again.subkeyNames(User, listed), expected);
}

void TestRegistry::deleteKeyRemovesEverythingBelow_data()
{
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QStringList>("gone");
    const QStringList all{u"A"_s, u"A\\B"_s, u"A\\B\\C"_s, u"A\\B\\D"_s, u"A\\E"_s, u"AB"_s};
    const QStringList below{u"A\\B"_s, u"A\\B\\C"_s, u"A\\B\\D"_s};
    const QStringList kept{u"A"_s, u"A\\E"_s, u"AB"_s};
    QTest::newRow("key with subkeys") << u"A\\B"_s << true << kept << below;
    QTest::newRow("other case") << u"a\\b"_s << true << kept << below;
    QTest::newRow("leading backslash") << u"\\A\\B"_s << true << kept << below;
    QTest::newRow("missing key") << u"A\\X"_s << false << all << QStringList();
    QTest::newRow("missing parent") << u"X\\B"_s << false << all << QStringList();
    QTest::newRow("the root is refused") << u"\\"_s << false << all << QStringList();
}

void TestRegistry::deleteKeyRemovesEverythingBelow()
{
    QFETCH(QString, deleted);
    QFETCH(bool, result);
    QFETCH(QStringList, remaining);
    QFETCH(QStringList, gone);
    const QString path = freshFile();
    {
        Registry registry(path, QString());
        for (const QString &key : {u"A\\B\\C"_s, u"A\\B\\D"_s, u"A\\E"_s, u"AB"_s, u"A"_s, u"A\\B"_s})
            QVERIFY(registry.writeString(User, key, u"v"_s, key));
        QCOMPARE(registry.deleteKey(User, deleted), result);
    }
    Registry again(path, QString());
    for (const QString &key : remaining)
        QCOMPARE(again.readString(User, key, u"v"_s), key);
    for (const QString &key : gone)
        QVERIFY2(!again.keyExists(User, key), qPrintable(key));
    if (result) {
        // Made again, the key is empty: nothing of the old one comes back.
        QVERIFY(again.createKey(User, deleted));
        QVERIFY(again.subkeyNames(User, deleted).isEmpty());
        QVERIFY(again.valueNames(User, deleted).isEmpty());
    }
}

void TestRegistry::openKey_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("canCreate");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("current");
    QTest::newRow("absolute from the root") << QString() << u"\\Software\\Tarnwick"_s << false << true
                                            << u"Software\\Tarnwick"_s;
    QTest::newRow("relative to the open key") << u"Software"_s << u"Tarnwick\\Browsers"_s << true << true
                                              << u"Software\\Tarnwick\\Browsers"_s;
    QTest::newRow("absolute ignores the open key") << u"Software\\Tarnwick"_s << u"\\Other"_s << true << true
                                                   << u"Other"_s;
    QTest::newRow("relative with no open key") << QString() << u"Software"_s << false << true << u"Software"_s;
    QTest::newRow("missing without create keeps the key") << u"Software"_s << u"Missing"_s << false << false
                                                          << u"Software"_s;
    QTest::newRow("missing absolute without create") << u"Software\\Tarnwick"_s << u"\\Missing\\Deeper"_s
                                                     << false << false << u"Software\\Tarnwick"_s;
    QTest::newRow("existing in another case") << u"Software"_s << u"TARNWICK"_s << false << true
                                              << u"Software\\TARNWICK"_s;
}

void TestRegistry::openKey()
{
    QFETCH(QString, start);
    QFETCH(QString, path);
    QFETCH(bool, canCreate);
    QFETCH(bool, result);
    QFETCH(QString, current);
    const QString file = freshFile();
    Registry registry(file, QString());
    QVERIFY(registry.writeString(User, u"Software\\Tarnwick"_s, u"Existing"_s, u"yes"_s));
    RegistryKey key(registry);
    QVERIFY(key.openKey(u"\\"_s + start, false));
    QCOMPARE(key.openKey(path, canCreate), result);
    QCOMPARE(key.currentPath(), current);
    QVERIFY(key.writeString(u"Probe"_s, u"here"_s));
    QCOMPARE(Registry(file, QString()).readString(User, current, u"Probe"_s), u"here"_s);
    QVERIFY(!registry.keyExists(User, u"Missing"_s));
}

void TestRegistry::registryKeyActsOnOpenKey()
{
    const QString file = freshFile();
    Registry registry(file, QString());
    RegistryKey key(registry);
    QVERIFY(key.openKey(u"Software\\Tarnwick\\Quillon\\Reelcraft"_s, true));
    QCOMPARE(key.absolutePath(u"Form Positions"_s), u"Software\\Tarnwick\\Quillon\\Reelcraft\\Form Positions"_s);
    QCOMPARE(key.absolutePath(u"\\Software\\Tarnwick\\Browsers"_s), u"Software\\Tarnwick\\Browsers"_s);

    QVERIFY(key.writeString(u"Open Directory"_s, u"/home/anna/"_s));
    QVERIFY(key.valueExists(u"open directory"_s));
    QCOMPARE(key.readString(u"OPEN DIRECTORY"_s), u"/home/anna/"_s);
    QCOMPARE(key.readString(u"Missing"_s, u"fallback"_s), u"fallback"_s);
    QVERIFY(registry.createKey(User, u"Software\\Tarnwick\\Quillon\\Reelcraft\\Recent Files\\Old"_s));
    QVERIFY(registry.createKey(User, u"Software\\Tarnwick\\Quillon\\Reelcraft\\Form Positions"_s));
    QCOMPARE(key.subkeyNames(), (QStringList{u"Form Positions"_s, u"Recent Files"_s}));
    QCOMPARE(key.valueNames(), QStringList{u"Open Directory"_s});

    QVERIFY(key.keyExists(u"recent files\\old"_s));
    QVERIFY(key.keyExists(u"\\Software\\Tarnwick"_s));
    QVERIFY(!key.keyExists(u"\\Recent Files"_s));
    QVERIFY(!key.deleteKey(u"\\Recent Files"_s));
    QVERIFY(key.deleteKey(u"Recent Files"_s));
    QVERIFY(!key.keyExists(u"Recent Files\\Old"_s));
    QVERIFY(key.deleteValue(u"Open Directory"_s));
    QVERIFY(!key.valueExists(u"Open Directory"_s));

    key.closeKey();
    QCOMPARE(key.currentPath(), QString());
    QCOMPARE(key.subkeyNames(), QStringList{u"Software"_s});
    QVERIFY(key.deleteKey(u"Software\\Tarnwick\\Quillon"_s));
    QCOMPARE(Registry(file, QString()).subkeyNames(User, u"Software\\Tarnwick"_s), QStringList());
}

void TestRegistry::localMachineIsReadOnly_data()
{
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("warnings");
    QTest::newRow("values are read") << QByteArray(R"({"keys": {"Software": {"keys": {"Netscape": {
        "values": [["", "/opt/netscape/netscape"], ["Path", "/opt"]]}}}}})")
                                     << u"/opt/netscape/netscape"_s << 0;
    QTest::newRow("missing file reads as empty") << QByteArray() << u"none"_s << 0;
    QTest::newRow("damaged file is ignored and left in place") << QByteArray("\x01\x02 not json") << u"none"_s << 1;
}

void TestRegistry::localMachineIsReadOnly()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(int, warnings);
    const QString machineFile = freshFile();
    if (!content.isNull())
        QVERIFY(writeFile(machineFile, content));
    qputenv("REELCRAFT_MACHINE_REGISTRY", QFile::encodeName(machineFile));
    WarningRecorder recorder;
    Registry registry;
    qunsetenv("REELCRAFT_MACHINE_REGISTRY");

    QCOMPARE(registry.fileName(Machine), machineFile);
    QCOMPARE(registry.fileName(User), TestEnvironment::instance().configHome() + u"/Tarnwick/registry.json"_s);
    const QString key = u"SOFTWARE\\netscape"_s;
    for (int i = 0; i < 3; ++i)
        QCOMPARE(registry.readString(Machine, key, QString(), u"none"_s), expected);
    QCOMPARE(registry.keyExists(Machine, key), expected != u"none"_s);
    QCOMPARE(g_warnings.size(), warnings);

    QVERIFY(!registry.writeString(Machine, key, u"Path"_s, u"/elsewhere"_s));
    QVERIFY(!registry.createKey(Machine, u"Software\\New"_s));
    QVERIFY(!registry.deleteValue(Machine, key, u"Path"_s));
    QVERIFY(!registry.deleteKey(Machine, key));
    QCOMPARE(registry.readString(Machine, key, QString(), u"none"_s), expected);
    QCOMPARE(contents(machineFile), content);
    QCOMPARE(QFileInfo::exists(machineFile), !content.isNull());
    QVERIFY(damagedCopies(machineFile).isEmpty());
    QCOMPARE(g_warnings.size(), warnings);
    // The user's root is a different tree.
    QVERIFY(!registry.keyExists(User, key));
}

void TestRegistry::readsFollowOtherWriters()
{
    const QString path = freshFile();
    Registry first(path, QString());
    Registry second(path, QString());
    QVERIFY(first.writeString(User, u"A"_s, u"x"_s, u"1"_s));
    QCOMPARE(second.readString(User, u"A"_s, u"x"_s), u"1"_s);

    // Each caches what it read; a write by the other is still seen, and a write on a
    // stale cache keeps the other's values.
    QVERIFY(second.writeString(User, u"A"_s, u"x"_s, u"2"_s));
    QCOMPARE(first.readString(User, u"A"_s, u"x"_s), u"2"_s);
    QVERIFY(second.writeString(User, u"B"_s, u"y"_s, u"3"_s));
    QVERIFY(first.writeString(User, u"C"_s, u"z"_s, u"4"_s));
    QVERIFY(first.deleteValue(User, u"A"_s, u"x"_s));
    Registry third(path, QString());
    QCOMPARE(third.readString(User, u"B"_s, u"y"_s), u"3"_s);
    QCOMPARE(third.readString(User, u"C"_s, u"z"_s), u"4"_s);
    QVERIFY(!third.valueExists(User, u"A"_s, u"x"_s));

    // A file replaced by someone else entirely.
    QVERIFY(writeFile(path + u".new"_s, R"({"keys": {"D": {"values": [["w", "edited by hand"]]}}})"));
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::rename(path + u".new"_s, path));
    QCOMPARE(first.readString(User, u"D"_s, u"w"_s), u"edited by hand"_s);
    QVERIFY(!first.keyExists(User, u"B"_s));
}

void TestRegistry::twoProcessesLoseNoValue()
{
    const QString path = freshFile();
    const int count = 200;
    QProcess one, two;
    one.start(QStringLiteral(REGISTRY_WRITER_PATH), {path, u"one"_s, QString::number(count)});
    two.start(QStringLiteral(REGISTRY_WRITER_PATH), {path, u"two"_s, QString::number(count)});
    QVERIFY(one.waitForStarted());
    QVERIFY(two.waitForStarted());
    // Both wait for this line, so their writes overlap.
    one.write("go\n");
    two.write("go\n");
    QVERIFY(one.waitForBytesWritten());
    QVERIFY(two.waitForBytesWritten());
    QVERIFY(one.waitForFinished(180000));
    QVERIFY(two.waitForFinished(180000));
    QCOMPARE(one.exitStatus(), QProcess::NormalExit);
    QCOMPARE(two.exitStatus(), QProcess::NormalExit);
    QCOMPARE(one.exitCode(), 0);
    QCOMPARE(two.exitCode(), 0);

    Registry registry(path, QString());
    const QString key = u"Concurrent\\Shared"_s;
    QCOMPARE(registry.valueNames(User, key).size(), 2 * count);
    for (int n = 0; n < count; ++n) {
        QCOMPARE(registry.readString(User, key, u"one "_s + QString::number(n)), QString::number(n));
        QCOMPARE(registry.readString(User, key, u"two "_s + QString::number(n)), QString::number(n));
    }
}

void TestRegistry::damagedFileIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("writeFirst");
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 37) & 0xff));
    QTest::newRow("binary junk") << junk << false;
    QTest::newRow("NUL bytes") << QByteArray(64, '\0') << true;
    QTest::newRow("empty file") << QByteArray("") << false;
    QTest::newRow("cut short") << QByteArray(R"({"values": [["a", "b"])") << true;
    QTest::newRow("top level is a list") << QByteArray(R"([["a", "b"]])") << false;
    QTest::newRow("value is a number") << QByteArray(R"({"values": [["Width", 300]]})") << true;
    QTest::newRow("value without data") << QByteArray(R"({"values": [["Width"]]})") << false;
    QTest::newRow("values is an object") << QByteArray(R"({"values": {"Width": "300"}})") << false;
    QTest::newRow("keys is a list") << QByteArray(R"({"keys": ["Software"]})") << true;
    QTest::newRow("key is a text") << QByteArray(R"({"keys": {"Software": "x"}})") << false;
    QTest::newRow("unknown member") << QByteArray(R"({"value": []})") << false;
    QTest::newRow("key names clash without case") << QByteArray(R"({"keys": {"Tarnwick": {}, "TARNWICK": {}}})")
                                                   << false;
    QTest::newRow("value names clash without case") << QByteArray(R"({"values": [["a", "1"], ["A", "2"]]})")
                                                     << true;
    QTest::newRow("backslash in a key name") << QByteArray(R"({"keys": {"a\\b": {}}})") << false;
    QTest::newRow("invalid UTF-8") << QByteArray("{\"values\": [[\"\xff\xfe\", \"\"]]}") << false;
    QTest::newRow("nested too deep for the parser") << nestedKeys(600) << false;
    QTest::newRow("deep lists") << QByteArray(200000, '[') << true;
}

void TestRegistry::damagedFileIsKeptAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, writeFirst);
    const QString path = freshFile();
    QVERIFY(writeFile(path, content));
    WarningRecorder recorder;
    Registry registry(path, QString());
    if (writeFirst) {
        QVERIFY(registry.writeString(User, u"Software"_s, u"After"_s, u"fresh"_s));
    } else {
        QCOMPARE(registry.readString(User, u"Width"_s, QString(), u"default"_s), u"default"_s);
        QVERIFY(registry.subkeyNames(User, QString()).isEmpty());
        QVERIFY(registry.valueNames(User, QString()).isEmpty());
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(registry.writeString(User, u"Software"_s, u"After"_s, u"fresh"_s));
    }
    QCOMPARE(registry.readString(User, u"Software"_s, u"After"_s), u"fresh"_s);
    QCOMPARE(registry.subkeyNames(User, QString()), QStringList{u"Software"_s});

    const QStringList copies = damagedCopies(path);
    QCOMPARE(copies.size(), 1);
    const QString keptAs = QFileInfo(path).dir().filePath(copies.first());
    QCOMPARE(contents(keptAs), content);
    QCOMPARE(g_warnings.size(), 1);
    QVERIFY2(g_warnings.first().contains(keptAs), qPrintable(g_warnings.first()));

    Registry again(path, QString());
    QCOMPARE(again.readString(User, u"Software"_s, u"After"_s), u"fresh"_s);
    QCOMPARE(g_warnings.size(), 1);
}

void TestRegistry::unwritableLocation_data()
{
    QTest::addColumn<QString>("made");      // what stands in the way: "file", "folder" or "fifo"
    QTest::addColumn<QString>("blocker");   // its path, relative to the case folder
    QTest::addColumn<QString>("settings");  // the settings file, relative to the case folder
    QTest::newRow("folder is a regular file") << u"file"_s << u"config"_s << u"config/registry.json"_s;
    QTest::newRow("a parent folder is a regular file") << u"file"_s << u"config"_s
                                                       << u"config/Tarnwick/registry.json"_s;
    QTest::newRow("settings file is a folder") << u"folder"_s << u"registry.json"_s << u"registry.json"_s;
    QTest::newRow("settings file is a FIFO") << u"fifo"_s << u"registry.json"_s << u"registry.json"_s;
}

void TestRegistry::unwritableLocation()
{
    QFETCH(QString, made);
    QFETCH(QString, blocker);
    QFETCH(QString, settings);
    const QString folder = QFileInfo(freshFile()).absolutePath();
    const QString blockerPath = folder + QLatin1Char('/') + blocker;
    if (made == u"file"_s)
        QVERIFY(writeFile(blockerPath, "not a folder"));
    else if (made == u"folder"_s)
        QVERIFY(QDir().mkpath(blockerPath));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(blockerPath).constData(), 0600), 0);
    Registry registry(folder + QLatin1Char('/') + settings, QString());
    QVERIFY(!registry.writeString(User, u"Software\\Tarnwick"_s, u"Open Directory"_s, u"/home/"_s));
    QVERIFY(!registry.createKey(User, u"Software"_s));
    QVERIFY(!registry.deleteKey(User, u"Software"_s));
    QVERIFY(!registry.deleteValue(User, QString(), u"x"_s));
    QCOMPARE(registry.readString(User, u"Software\\Tarnwick"_s, u"Open Directory"_s, u"none"_s), u"none"_s);
    QVERIFY(registry.subkeyNames(User, QString()).isEmpty());
    RegistryKey key(registry);
    QVERIFY(!key.openKey(u"Software"_s, true));
    QVERIFY(!key.writeString(u"x"_s, u"y"_s));
    // Whatever stands in the way is left as it was.
    const QFileInfo after(blockerPath);
    QCOMPARE(after.isFile(), made == u"file"_s);
    QCOMPARE(after.isDir(), made == u"folder"_s);
    if (made == u"file"_s)
        QCOMPARE(contents(blockerPath), QByteArray("not a folder"));
}

void TestRegistry::keyDepthStaysReadable()
{
    // Keys deep enough that the file could no longer be parsed are refused.
    const QString path = freshFile();
    Registry registry(path, QString());
    QStringList deep(256, u"k"_s);
    QVERIFY(registry.writeString(User, deep.join(QLatin1Char('\\')), u"n"_s, u"deepest"_s));
    deep.append(u"k"_s);
    QVERIFY(!registry.writeString(User, deep.join(QLatin1Char('\\')), u"n"_s, u"too deep"_s));
    QVERIFY(!registry.createKey(User, deep.join(QLatin1Char('\\'))));
    deep.removeLast();
    QCOMPARE(Registry(path, QString()).readString(User, deep.join(QLatin1Char('\\')), u"n"_s), u"deepest"_s);

    // A hand-written file as deep as the parser allows reads too.
    QVERIFY(writeFile(path, nestedKeys(500)));
    WarningRecorder recorder;
    Registry handWritten(path, QString());
    QVERIFY(handWritten.keyExists(User, QStringList(500, u"k"_s).join(QLatin1Char('\\'))));
    QVERIFY(g_warnings.isEmpty());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestRegistry test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_registry.moc"

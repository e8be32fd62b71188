#include "integration/BrowserList.h"
#include "integration/DBusHostLink.h"
#include "integration/HostSession.h"
#include "platform/EError.h"

#include "PrivateSessionBus.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "SubstituteEditor.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString NoLink = u"No link with Quillon exists - the text cannot be sent out to Quillon."_s;
const QString NoDocument = u"There is no open document in Quillon. A new document will be created."_s;
const QString NotRunning = u"Cannot build that browser list unless Quillon is running."_s;
const QString Probe = u"WM_ISQUILLONRUNNING()"_s;

#define REQUIRE_EDITOR(editor) QVERIFY2((editor).isReady(), qPrintable((editor).problem()))

// Prompts that look at the editor at the moment a message is shown.
class WatchingPrompts : public PromptsDouble
{
public:
    std::function<void()> onMessage;
    void message(const QString &text, Kind kind) override
    {
        PromptsDouble::message(text, kind);
        if (onMessage)
            onMessage();
    }
};

// "method(in signature)->(out signature)" for every method of the interface in an
// introspection text.
QStringList methodSignatures(const QString &xml, const QString &interfaceName)
{
    QStringList methods;
    QXmlStreamReader reader(xml);
    bool inInterface = false;
    QString method;
    QString in;
    QString out;
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.name().toString();
        if (reader.isStartElement() && name == "interface"_L1) {
            inInterface = reader.attributes().value("name"_L1) == interfaceName;
        } else if (reader.isEndElement() && name == "interface"_L1) {
            inInterface = false;
        } else if (inInterface && reader.isStartElement() && name == "method"_L1) {
            method = reader.attributes().value("name"_L1).toString();
            in.clear();
            out.clear();
        } else if (inInterface && reader.isStartElement() && name == "arg"_L1) {
            const QString type = reader.attributes().value("type"_L1).toString();
            (reader.attributes().value("direction"_L1) == "out"_L1 ? out : in) += type;
        } else if (inInterface && reader.isEndElement() && name == "method"_L1) {
            methods.append(method + '('_L1 + in + ")->("_L1 + out + ')'_L1);
        }
    }
    methods.sort();
    return methods;
}

} // namespace

class TestDBusHostLink : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void noEditorRunning();
    void noSessionBus();
    void probeAnswer_data();
    void probeAnswer();
    void probeNeverAnswered();
    void sendTextToHost_data();
    void sendTextToHost();
    void newDocumentAfterTheMessage();
    void getHostText_data();
    void getHostText();
    void getHostDocumentName_data();
    void getHostDocumentName();
    void vanishedEditor_data();
    void vanishedEditor();
    void hostBrowserMenu_data();
    void hostBrowserMenu();
    void interfaceMatchesItsDescription();
};

void TestDBusHostLink::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no session bus");
    QVERIFY2(QFile::exists(SubstituteEditor::program()), qPrintable(SubstituteEditor::program()));
}

void TestDBusHostLink::noEditorRunning()
{
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    QElapsedTimer clock;
    clock.start();
    session.ConnectHost();
    // Nobody owns the name: the bus says so at once, without the probe's time-out.
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!session.HostLinked());
    QVERIFY(!link.hasObject());
    QCOMPARE(session.GetHostText(HostSession::AtCursor), QString());
    QCOMPARE(session.GetHostDocumentName(), QString());
    QVERIFY(!session.SendTextToHost(u"<applet>"_s, HostSession::AtCursor, true));
    QCOMPARE(prompts.messages(), QStringList{NoLink});
    QVERIFY_THROWS_EXCEPTION(EHostError, link.isopendoc());
    QVERIFY_THROWS_EXCEPTION(EHostError, link.createObject());
    QVERIFY_THROWS_EXCEPTION(EHostError, link.BrowserList());
}

void TestDBusHostLink::noSessionBus()
{
    const QDBusConnection nowhere = QDBusConnection::connectToBus(u"unix:path=/nonexistent/reelcraft-bus"_s,
                                                                  u"reelcraft-nowhere"_s);
    QVERIFY(!nowhere.isConnected());
    SubstituteEditor editor; // on the real session bus; this link cannot see it
    REQUIRE_EDITOR(editor);
    DBusHostLink link(nowhere);
    QVERIFY(!link.probe(HostSession::ProbeTimeoutMs));
    QVERIFY_THROWS_EXCEPTION(EHostError, link.createObject());
    QVERIFY_THROWS_EXCEPTION(EHostError, link.BrowserList());
    QCOMPARE(editor.calls(), QStringList());
    QDBusConnection::disconnectFromBus(u"reelcraft-nowhere"_s);
}

void TestDBusHostLink::probeAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("linked");
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("above 1") << u"1148"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("negative") << u"-1"_s << false;
}

void TestDBusHostLink::probeAnswer()
{
    QFETCH(QString, answer);
    QFETCH(bool, linked);
    SubstituteEditor editor({u"--probe-answer"_s, answer, u"--text"_s, u"abc"_s});
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    session.ConnectHost();
    QCOMPARE(session.HostLinked(), linked);
    QCOMPARE(link.hasObject(), linked);
    // Finding (or not finding) the editor asks it nothing but the probe.
    QCOMPARE(editor.calls(), QStringList{Probe});
    QVERIFY(prompts.shown.isEmpty());
}

void TestDBusHostLink::probeNeverAnswered()
{
    SubstituteEditor editor({u"--silent-probe"_s, u"--browser"_s, u"Lynx=text"_s});
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    QElapsedTimer clock;
    clock.start();
    session.ConnectHost();
    const qint64 waited = clock.elapsed();
    QVERIFY(!session.HostLinked());
    QVERIFY(!link.hasObject());
    QVERIFY2(waited >= 1900, qPrintable(QString::number(waited)));
    QVERIFY2(waited <= 15000, qPrintable(QString::number(waited)));
    // The editor goes on serving while its probe answer is still outstanding.
    QCOMPARE(link.BrowserList(), u"Lynx=text"_s);
    QCOMPARE(editor.calls(), (QStringList{Probe, u"BrowserList()"_s}));
}

void TestDBusHostLink::sendTextToHost_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("select");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QStringList>("messages");

    const QStringList hello{u"--text"_s, u"Hello world"_s, u"--selection"_s, u"6,0"_s};
    QTest::newRow("insert selects the inserted text")
        << hello << u"big "_s << 1 << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor(big )"_s, u"setselection(6, 4)"_s}
        << u"Hello big world"_s << 6 << 4 << QStringList();
    QTest::newRow("insert without selecting leaves the caret at its start")
        << hello << u"big "_s << 1 << false
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor(big )"_s, u"setselection(6, 0)"_s}
        << u"Hello big world"_s << 6 << 0 << QStringList();
    QTest::newRow("empty text still sets the selection")
        << hello << QString() << 1 << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor()"_s, u"setselection(6, 0)"_s}
        << u"Hello world"_s << 6 << 0 << QStringList();
    QTest::newRow("insert over a selection")
        << QStringList{u"--text"_s, u"Hello world"_s, u"--selection"_s, u"6,5"_s} << u"there"_s << 1 << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor(there)"_s, u"setselection(6, 5)"_s}
        << u"Hello there"_s << 6 << 5 << QStringList();
    QTest::newRow("whole document")
        << hello << u"<p>"_s << 0 << true
        << QStringList{u"isopendoc()"_s, u"replacealltext(<p>)"_s, u"setselection(0, 3)"_s}
        << u"<p>"_s << 0 << 3 << QStringList();
    QTest::newRow("another mode sends no text")
        << hello << u"<p>"_s << 2 << true
        << QStringList{u"isopendoc()"_s, u"setselection(0, 3)"_s}
        << u"Hello world"_s << 0 << 3 << QStringList();
    QTest::newRow("no document: a new one is made")
        << QStringList{u"--no-document"_s} << u"abc"_s << 1 << true
        << QStringList{u"isopendoc()"_s, u"QL_CREATENEWDOC()"_s, u"getselstart()"_s, u"puttextatcursor(abc)"_s,
                       u"setselection(0, 3)"_s}
        << u"abc"_s << 0 << 3 << QStringList{NoDocument};
    QTest::newRow("an answer other than false counts as open")
        << (hello + QStringList{u"--opendoc-answer"_s, u"no"_s}) << u"x"_s << 1 << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor(x)"_s, u"setselection(6, 1)"_s}
        << u"Hello xworld"_s << 6 << 1 << QStringList();
    QTest::newRow("text outside Latin-1")
        << hello << u"\u00e9\u20ac "_s << 1 << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor(\u00e9\u20ac )"_s, u"setselection(6, 3)"_s}
        << u"Hello \u00e9\u20ac world"_s << 6 << 3 << QStringList();
}

void TestDBusHostLink::sendTextToHost()
{
    QFETCH(QStringList, options);
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(bool, select);
    QFETCH(QStringList, calls);
    QFETCH(QString, result);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QStringList, messages);

    SubstituteEditor editor(options);
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    session.ConnectHost();
    QVERIFY(session.HostLinked());

    QVERIFY(session.SendTextToHost(text, mode, select));
    QCOMPARE(editor.calls(), QStringList{Probe} + calls);
    QCOMPARE(editor.text(), result);
    QCOMPARE(editor.selectionStart(), selectionStart);
    QCOMPARE(editor.selectionLength(), selectionLength);
    QCOMPARE(prompts.messages(), messages);
    for (const PromptsDouble::Shown &shown : std::as_const(prompts.shown))
        QCOMPARE(shown.kind, Prompts::Kind::Error);
}

void TestDBusHostLink::newDocumentAfterTheMessage()
{
    SubstituteEditor editor({u"--no-document"_s});
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    WatchingPrompts prompts;
    QStringList callsAtMessage;
    bool openAtMessage = true;
    prompts.onMessage = [&] {
        callsAtMessage = editor.calls();
        openAtMessage = editor.isOpen();
    };
    HostSession session(link, prompts);
    session.ConnectHost();
    QVERIFY(session.SendTextToHost(u"<applet>"_s, HostSession::AtCursor, true));
    QCOMPARE(callsAtMessage, (QStringList{Probe, u"isopendoc()"_s}));
    QVERIFY(!openAtMessage);
    QVERIFY(editor.isOpen());
    QCOMPARE(editor.text(), u"<applet>"_s);
}

void TestDBusHostLink::getHostText_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("calls");

    const QStringList doc{u"--text"_s, u"<p><applet></applet></p>"_s, u"--selection"_s, u"3,17"_s};
    const auto answering = [&doc](const QString &answer) {
        return doc + QStringList{u"--opendoc-answer"_s, answer};
    };
    QTest::newRow("selection") << doc << 1 << u"<applet></applet>"_s
                               << QStringList{u"isopendoc()"_s, u"getseltext()"_s};
    QTest::newRow("whole document") << doc << 0 << u"<p><applet></applet></p>"_s
                                    << QStringList{u"isopendoc()"_s, u"getalltext()"_s};
    QTest::newRow("another mode") << doc << 3 << QString() << QStringList{u"isopendoc()"_s};
    QTest::newRow("no document") << QStringList{u"--no-document"_s} << 1 << QString()
                                 << QStringList{u"isopendoc()"_s};
    QTest::newRow("answer TRUE") << answering(u"TRUE"_s) << 1 << QString() << QStringList{u"isopendoc()"_s};
    QTest::newRow("answer yes") << answering(u"yes"_s) << 1 << QString() << QStringList{u"isopendoc()"_s};
    QTest::newRow("answer empty") << answering(QString()) << 0 << QString() << QStringList{u"isopendoc()"_s};
    QTest::newRow("answer with a blank") << answering(u"true "_s) << 1 << QString()
                                         << QStringList{u"isopendoc()"_s};
}

void TestDBusHostLink::getHostText()
{
    QFETCH(QStringList, options);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(QStringList, calls);

    SubstituteEditor editor(options);
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    session.ConnectHost();
    QCOMPARE(session.GetHostText(mode), text);
    QCOMPARE(editor.calls(), QStringList{Probe} + calls);
    QVERIFY(prompts.shown.isEmpty());
}

void TestDBusHostLink::getHostDocumentName_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("name");
    QTest::newRow("saved document") << QStringList{u"--document"_s, u"/site/pages/index.htm"_s}
                                    << u"/site/pages/index.htm"_s;
    QTest::newRow("never saved") << QStringList{u"--text"_s, u"x"_s} << QString();
    QTest::newRow("no document") << QStringList{u"--no-document"_s} << QString();
}

void TestDBusHostLink::getHostDocumentName()
{
    QFETCH(QStringList, options);
    QFETCH(QString, name);
    SubstituteEditor editor(options);
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    session.ConnectHost();
    QCOMPARE(session.GetHostDocumentName(), name);
    QCOMPARE(editor.calls(), (QStringList{Probe, u"currentdocname()"_s}));
}

void TestDBusHostLink::vanishedEditor_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("GetHostText") << 0;
    QTest::newRow("SendTextToHost") << 1;
    QTest::newRow("GetHostDocumentName") << 2;
}

void TestDBusHostLink::vanishedEditor()
{
    QFETCH(int, command);
    auto editor = std::make_unique<SubstituteEditor>(QStringList{u"--text"_s, u"abc"_s});
    REQUIRE_EDITOR(*editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    session.ConnectHost();
    QVERIFY(session.HostLinked());
    editor->kill();

    const auto run = [&] {
        switch (command) {
        case 0:
            session.GetHostText(HostSession::AtCursor);
            break;
        case 1:
            session.SendTextToHost(u"<applet>"_s, HostSession::AtCursor, true);
            break;
        default:
            session.GetHostDocumentName();
            break;
        }
    };
    QVERIFY_THROWS_EXCEPTION(EHostError, run());
    QVERIFY(prompts.shown.isEmpty());

    // Another editor that starts later is not the object of start-up: calls still fail,
    // while the probe and a fresh object for the browser list reach the new one.
    editor = std::make_unique<SubstituteEditor>(QStringList{u"--browser"_s, u"Lynx=text"_s});
    REQUIRE_EDITOR(*editor);
    QVERIFY_THROWS_EXCEPTION(EHostError, run());
    QVERIFY(session.IsHostRunning());
    QCOMPARE(link.BrowserList(), u"Lynx=text"_s);
    QCOMPARE(editor->calls(), (QStringList{Probe, u"BrowserList()"_s}));
}

void TestDBusHostLink::hostBrowserMenu_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("keepRunning");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("hints");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("entries with and without =")
        << QStringList{u"--browser"_s, u"Firefox=/usr/bin/firefox"_s, u"--browser"_s, u"Lynx"_s,
                       u"--browser"_s, u"=odd"_s}
        << true << QStringList{u"Firefox"_s, u"Lynx"_s, u"=odd"_s}
        << QStringList{u"/usr/bin/firefox"_s, QString(), u"odd"_s} << QStringList();
    QTest::newRow("empty entry in the middle, separator at the end")
        << QStringList{u"--browser"_s, u"A=1"_s, u"--browser"_s, QString(), u"--browser"_s, u"B=2"_s,
                       u"--browser"_s, QString()}
        << true << QStringList{u"A"_s, QString(), u"B"_s} << QStringList{u"1"_s, QString(), u"2"_s} << QStringList();
    QTest::newRow("no browsers") << QStringList() << true << QStringList() << QStringList() << QStringList();
    QTest::newRow("list fails") << QStringList{u"--browser-list-fails"_s} << true
                                << QStringList{BrowserList::HostListError} << QStringList{QString()}
                                << QStringList();
    QTest::newRow("editor gone") << QStringList() << false << QStringList() << QStringList()
                                 << QStringList{NotRunning};
}

void TestDBusHostLink::hostBrowserMenu()
{
    QFETCH(QStringList, options);
    QFETCH(bool, keepRunning);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, hints);
    QFETCH(QStringList, messages);

    SubstituteEditor editor(options);
    REQUIRE_EDITOR(editor);
    DBusHostLink link;
    PromptsDouble prompts;
    HostSession session(link, prompts);
    session.ConnectHost();
    QVERIFY(session.HostLinked());
    if (!keepRunning)
        editor.kill();

    Registry registry(TestEnvironment::instance().freshFolder(u"menu"_s) + u"/registry.json"_s, QString());
    ProcessLauncherDouble launcher;
    BrowserList list({registry, prompts, launcher, session});
    list.SetRegPath(BrowserList::DefaultRegPath);
    const std::optional<QList<BrowserMenuEntry>> entries = list.BrowserMenuEntries(true);
    QCOMPARE(prompts.messages(), messages);
    QCOMPARE(session.HostLinked(), keepRunning);
    QCOMPARE(entries.has_value(), keepRunning);
    if (!entries)
        return;
    QStringList gotCaptions;
    QStringList gotHints;
    for (const BrowserMenuEntry &entry : *entries) {
        QCOMPARE(entry.kind, BrowserMenuEntry::Kind::Browser);
        gotCaptions.append(entry.caption);
        gotHints.append(entry.hint);
    }
    QCOMPARE(gotCaptions, captions);
    QCOMPARE(gotHints, hints);
}

void TestDBusHostLink::interfaceMatchesItsDescription()
{
    QFile file(QString::fromUtf8(REELCRAFT_INTERFACE_XML));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList described = methodSignatures(QString::fromUtf8(file.readAll()), DBusHostLink::InterfaceName);
    QCOMPARE(described.size(), 11);
    QVERIFY(described.contains(u"WM_ISQUILLONRUNNING()->(i)"_s));
    QVERIFY(described.contains(u"setselection(ii)->()"_s));

    SubstituteEditor editor;
    REQUIRE_EDITOR(editor);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        DBusHostLink::ServiceName, DBusHostLink::ObjectPath, u"org.freedesktop.DBus.Introspectable"_s,
        u"Introspect"_s));
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(methodSignatures(reply.arguments().constFirst().toString(), DBusHostLink::InterfaceName), described);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    PrivateSessionBus bus;
    TestDBusHostLink test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_dbus_hostlink.moc"

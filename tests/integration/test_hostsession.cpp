#include "integration/HostSession.h"
#include "platform/EError.h"

#include "HostLinkDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString NoLink = u"No link with Quillon exists - the text cannot be sent out to Quillon."_s;
const QString NoDocument = u"There is no open document in Quillon. A new document will be created."_s;

} // namespace

class TestHostSession : public QObject
{
    Q_OBJECT
private slots:
    void connectHost_data();
    void connectHost();
    void probeAgainClearsTheFlag();
    void sendTextToHost_data();
    void sendTextToHost();
    void getHostText_data();
    void getHostText();
    void getHostDocumentName_data();
    void getHostDocumentName();
    void noHostRunningCallsNoMethod();
    void vanishedEditorErrorPropagates_data();
    void vanishedEditorErrorPropagates();
};

void TestHostSession::connectHost_data()
{
    QTest::addColumn<bool>("probeResult");
    QTest::addColumn<bool>("createThrows");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("hasObject");
    QTest::addColumn<QStringList>("transcript");
    QTest::newRow("editor running") << true << false << true << true
                                    << QStringList{u"probe(2000)"_s, u"createObject()"_s};
    QTest::newRow("no editor") << false << false << false << false << QStringList{u"probe(2000)"_s};
    QTest::newRow("object cannot be made") << true << true << true << false
                                           << QStringList{u"probe(2000)"_s, u"createObject()"_s};
}

void TestHostSession::connectHost()
{
    QFETCH(bool, probeResult);
    QFETCH(bool, createThrows);
    QFETCH(bool, linked);
    QFETCH(bool, hasObject);
    QFETCH(QStringList, transcript);
    HostLinkDouble host;
    host.probeResult = probeResult;
    host.createObjectThrows = createThrows;
    PromptsDouble prompts;
    HostSession session(host, prompts);

    if (createThrows)
        QVERIFY_THROWS_EXCEPTION(EHostError, session.ConnectHost());
    else
        session.ConnectHost();
    QCOMPARE(session.HostLinked(), linked);
    QCOMPARE(host.hasObject(), hasObject);
    QCOMPARE(host.transcript(), transcript);
    QVERIFY(prompts.shown.isEmpty());
}

void TestHostSession::probeAgainClearsTheFlag()
{
    HostLinkDouble host;
    PromptsDouble prompts;
    HostSession session(host, prompts);
    session.ConnectHost();
    QVERIFY(session.HostLinked());

    // The editor has closed: the browser menu's probe turns the flag off, the object stays.
    host.probeResult = false;
    QVERIFY(!session.IsHostRunning());
    QVERIFY(!session.HostLinked());
    QVERIFY(host.hasObject());

    host.probeResult = true;
    QVERIFY(session.IsHostRunning());
    QVERIFY(session.HostLinked());
    QCOMPARE(host.methods(), (QStringList{u"probe"_s, u"createObject"_s, u"probe"_s, u"probe"_s}));
}

void TestHostSession::sendTextToHost_data()
{
    QTest::addColumn<bool>("hasObject");
    QTest::addColumn<QString>("openDoc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("transcript");
    QTest::addColumn<QStringList>("messages");

    const QString tag = u"<applet code=\"quilanim.class\">"_s; // 30 characters
    QTest::newRow("at the caret, selected")
        << true << u"true"_s << tag << 1 << true << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor("_s + tag + u')',
                       u"setselection(12, 30)"_s}
        << QStringList{};
    QTest::newRow("at the caret, not selected")
        << true << u"true"_s << tag << 1 << false << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor("_s + tag + u')',
                       u"setselection(12, 0)"_s}
        << QStringList{};
    QTest::newRow("empty text at the caret still sets the selection")
        << true << u"true"_s << QString() << 1 << true << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor()"_s, u"setselection(12, 0)"_s}
        << QStringList{};
    QTest::newRow("whole document replaces and selects from 0")
        << true << u"true"_s << tag << 0 << true << true
        << QStringList{u"isopendoc()"_s, u"replacealltext("_s + tag + u')', u"setselection(0, 30)"_s}
        << QStringList{};
    QTest::newRow("whole document, not selected")
        << true << u"true"_s << u"abc"_s << 0 << false << true
        << QStringList{u"isopendoc()"_s, u"replacealltext(abc)"_s, u"setselection(0, 0)"_s}
        << QStringList{};
    QTest::newRow("no document: a new one is made")
        << true << u"false"_s << u"abc"_s << 1 << true << true
        << QStringList{u"isopendoc()"_s, u"QL_CREATENEWDOC()"_s, u"getselstart()"_s,
                       u"puttextatcursor(abc)"_s, u"setselection(12, 3)"_s}
        << QStringList{NoDocument};
    QTest::newRow("FALSE in capitals counts as open")
        << true << u"FALSE"_s << u"abc"_s << 1 << true << true
        << QStringList{u"isopendoc()"_s, u"getselstart()"_s, u"puttextatcursor(abc)"_s, u"setselection(12, 3)"_s}
        << QStringList{};
    QTest::newRow("an empty answer counts as open")
        << true << QString() << u"abc"_s << 0 << true << true
        << QStringList{u"isopendoc()"_s, u"replacealltext(abc)"_s, u"setselection(0, 3)"_s}
        << QStringList{};
    QTest::newRow("an unknown mode sends nothing")
        << true << u"true"_s << u"abc"_s << 2 << true << true
        << QStringList{u"isopendoc()"_s, u"setselection(0, 3)"_s}
        << QStringList{};
    QTest::newRow("no host object")
        << false << u"true"_s << u"abc"_s << 1 << true << false << QStringList{} << QStringList{NoLink};
}

void TestHostSession::sendTextToHost()
{
    QFETCH(bool, hasObject);
    QFETCH(QString, openDoc);
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(bool, select);
    QFETCH(bool, result);
    QFETCH(QStringList, transcript);
    QFETCH(QStringList, messages);
    HostLinkDouble host;
    host.objectCreated = hasObject;
    host.openDocAnswer = openDoc;
    host.selectionStart = 12;
    PromptsDouble prompts;
    HostSession session(host, prompts);

    QCOMPARE(session.SendTextToHost(text, mode, select), result);
    QCOMPARE(host.transcript(), transcript);
    QCOMPARE(prompts.messages(), messages);
    for (const PromptsDouble::Shown &shown : std::as_const(prompts.shown))
        QCOMPARE(shown.kind, shown.text == NoDocument ? Prompts::Kind::Error : Prompts::Kind::Plain);
}

void TestHostSession::getHostText_data()
{
    QTest::addColumn<bool>("hasObject");
    QTest::addColumn<QString>("openDoc");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("transcript");
    QTest::newRow("selection") << true << u"true"_s << 1 << u"<applet>sel</applet>"_s
                               << QStringList{u"isopendoc()"_s, u"getseltext()"_s};
    QTest::newRow("whole document") << true << u"true"_s << 0 << u"<html>all</html>"_s
                                    << QStringList{u"isopendoc()"_s, u"getalltext()"_s};
    QTest::newRow("no document") << true << u"false"_s << 1 << QString() << QStringList{u"isopendoc()"_s};
    QTest::newRow("TRUE in capitals is no document") << true << u"TRUE"_s << 1 << QString()
                                                     << QStringList{u"isopendoc()"_s};
    QTest::newRow("another answer is no document") << true << u"yes"_s << 0 << QString()
                                                   << QStringList{u"isopendoc()"_s};
    QTest::newRow("an unknown mode") << true << u"true"_s << 2 << QString() << QStringList{u"isopendoc()"_s};
    QTest::newRow("no host object") << false << u"true"_s << 1 << QString() << QStringList{};
}

void TestHostSession::getHostText()
{
    QFETCH(bool, hasObject);
    QFETCH(QString, openDoc);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(QStringList, transcript);
    HostLinkDouble host;
    host.objectCreated = hasObject;
    host.openDocAnswer = openDoc;
    host.selectedText = u"<applet>sel</applet>"_s;
    host.allText = u"<html>all</html>"_s;
    PromptsDouble prompts;
    HostSession session(host, prompts);

    QCOMPARE(session.GetHostText(mode), text);
    QCOMPARE(host.transcript(), transcript);
    QVERIFY(prompts.shown.isEmpty());
}

void TestHostSession::getHostDocumentName_data()
{
    QTest::addColumn<bool>("hasObject");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("calls");
    QTest::newRow("saved document") << true << u"/home/ann/site/index.htm"_s << u"/home/ann/site/index.htm"_s << 1;
    QTest::newRow("windows path") << true << u"C:\\site\\page.htm"_s << u"C:\\site\\page.htm"_s << 1;
    QTest::newRow("error means none") << true << u"error"_s << QString() << 1;
    QTest::newRow("empty answer") << true << QString() << QString() << 1;
    QTest::newRow("no host object") << false << u"/x.htm"_s << QString() << 0;
}

void TestHostSession::getHostDocumentName()
{
    QFETCH(bool, hasObject);
    QFETCH(QString, answer);
    QFETCH(QString, name);
    QFETCH(int, calls);
    HostLinkDouble host;
    host.objectCreated = hasObject;
    host.documentName = answer;
    PromptsDouble prompts;
    HostSession session(host, prompts);
    QCOMPARE(session.GetHostDocumentName(), name);
    QCOMPARE(host.calls.size(), calls);
    if (calls)
        QCOMPARE(host.methods(), QStringList{u"currentdocname"_s});
}

void TestHostSession::noHostRunningCallsNoMethod()
{
    HostLinkDouble host;
    host.probeResult = false;
    PromptsDouble prompts;
    HostSession session(host, prompts);
    session.ConnectHost();
    QVERIFY(!session.HostLinked());
    QVERIFY(!host.hasObject());

    // Callers that go on without testing HostLinked still reach no host method.
    QVERIFY(!session.SendTextToHost(u"<applet>"_s, 1, true));
    QCOMPARE(session.GetHostText(1), QString());
    QCOMPARE(session.GetHostDocumentName(), QString());
    QCOMPARE(host.transcript(), QStringList{u"probe(2000)"_s});
    QCOMPARE(prompts.messages(), QStringList{NoLink});
}

void TestHostSession::vanishedEditorErrorPropagates_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("send") << u"send"_s;
    QTest::newRow("read selection") << u"text"_s;
    QTest::newRow("document name") << u"name"_s;
    QTest::newRow("create object") << u"create"_s;
}

void TestHostSession::vanishedEditorErrorPropagates()
{
    QFETCH(QString, operation);
    HostLinkDouble host;
    PromptsDouble prompts;
    HostSession session(host, prompts);
    if (operation == u"create"_s) {
        host.vanished = true;
        // The probe itself never throws: it finds nothing, so nothing is created.
        session.ConnectHost();
        QVERIFY(!session.HostLinked());
        QCOMPARE(host.methods(), QStringList{u"probe"_s});
        QVERIFY_THROWS_EXCEPTION(EHostError, host.createObject());
        return;
    }

    session.ConnectHost();
    QVERIFY(session.HostLinked());
    host.vanished = true;
    host.clearCalls();
    if (operation == u"send"_s)
        QVERIFY_THROWS_EXCEPTION(EHostError, session.SendTextToHost(u"<applet>"_s, 1, true));
    else if (operation == u"text"_s)
        QVERIFY_THROWS_EXCEPTION(EHostError, session.GetHostText(1));
    else
        QVERIFY_THROWS_EXCEPTION(EHostError, session.GetHostDocumentName());
    // The first failing call ends the operation: nothing after it is tried.
    QCOMPARE(host.calls.size(), 1);
    QVERIFY(prompts.shown.isEmpty());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestHostSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hostsession.moc"

#include "mail/EmailComposer.h"
#include "mail/MailMessageText.h"
#include "mail/MailServers.h"
#include "mail/SmtpDialogue.h"
#include "platform/Registry.h"

#include "MailTransportDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

EmailTexts productTexts()
{
    return EmailTexts{u"Java Reelcraft"_s, u"https://dl.example/rc/"_s, u"a Java-based slideshow creation tool."_s,
                      u"Long words."_s};
}

QString lf(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s);
}

} // namespace

// The message composition, the DNS and mail server lists and the text of the sent message.
class TestMailLogic : public QObject
{
    Q_OBJECT
private slots:
    void composeMessage_data();
    void composeMessage();
    void mailServerEntries();
    void mailHostNames_data();
    void mailHostNames();
    void findMailServers_data();
    void findMailServers();
    void ehloName_data();
    void ehloName();
    void smtpReplies_data();
    void smtpReplies();
    void dataBlock();
    void dnsServerOrder();
    void messageText_data();
    void messageText();
};

void TestMailLogic::composeMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("expected");

    const QString plainHead = QStringLiteral(
        "Hello Bob, \r\n%1 wanted to let you know about Java Reelcraft, a Java-based slideshow creation tool.  It's "
        "available for downloading from Tarnwick Software's Web Site.\r\n\r\nJust point your Web Browser to "
        "https://dl.example/rc/\r\n");
    const QString plainTail = u"\r\nWhat is Java Reelcraft?\r\n\r\nLong words.\r\n\r\n"_s;
    const QString htmlHead = QStringLiteral(
        "<HTML>\r\n<BODY>\r\n\r\n<P>Hello Bob, <BR>%1 wanted to let you know about Java Reelcraft, a Java-based "
        "slideshow creation tool.  It's available for downloading from Tarnwick Software's Web Site.<BR>\r\n\r\n"
        "<P><A HREF=\"https://dl.example/rc/\">Click here to download Java Reelcraft</A><BR>\r\n"
        "or point your Web Browser to https://dl.example/rc/<BR>\r\n");
    const QString htmlTail =
        QStringLiteral("\r\n<P><H2>What is Java Reelcraft?</H2>\r\n\r\nLong words.\r\n\r\n</BODY>\r\n</HTML>");

    QTest::newRow("plain, no message") << u"Ann"_s << QString() << false << plainHead.arg(u"Ann"_s) + plainTail;
    QTest::newRow("plain, message with LF") << u"Ann"_s << u"Hi\nthere"_s << false
                                            << plainHead.arg(u"Ann"_s)
            + u"\r\nAnn also wanted to send you a special message: \r\n\r\nHi\r\nthere\r\n"_s + plainTail;
    QTest::newRow("plain, no name") << QString() << QString() << false << plainHead.arg(u"A friend"_s) + plainTail;
    QTest::newRow("html, no message") << u"Ann"_s << QString() << true << htmlHead.arg(u"Ann"_s) + htmlTail;
    QTest::newRow("html, message, no name") << QString() << u"Hi"_s << true
                                            << htmlHead.arg(u"A friend"_s)
            + QStringLiteral("\r\n<P>A friend also wanted to send you a special message: <BR>\r\n\r\n<PRE>\r\nHi\r\n"
                             "</PRE>\r\n")
            + htmlTail;
    QTest::newRow("html, typed markup is text")
        << u"Ann <Tester>"_s << u"<script>alert(\"&\")</script>"_s << true
        << htmlHead.arg(u"Ann &lt;Tester&gt;"_s)
            + QStringLiteral("\r\n<P>Ann &lt;Tester&gt; also wanted to send you a special message: <BR>\r\n\r\n<PRE>\r\n"
                             "&lt;script&gt;alert(&quot;&amp;&quot;)&lt;/script&gt;\r\n</PRE>\r\n")
            + htmlTail;
    QTest::newRow("plain keeps typed markup") << u"Ann <T>"_s << QString() << false
                                              << plainHead.arg(u"Ann <T>"_s) + plainTail;
}

void TestMailLogic::composeMessage()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(bool, html);
    QFETCH(QString, expected);
    QCOMPARE(ComposeMessage(productTexts(), EmailEntries{name, u"Bob"_s, message, html}), expected);
}

void TestMailLogic::mailServerEntries()
{
    const QList<MxRecord> records{
        {20, u"c.test"_s}, {5, u"b.test"_s}, {10, u"a.test"_s}, {5, u"a.test"_s}, {10000, u"z.test"_s}};
    const QStringList entries = MailServerEntries(records);
    QCOMPARE(entries,
             QStringList({u"   5|a.test"_s, u"   5|b.test"_s, u"  10|a.test"_s, u"  20|c.test"_s, u"10000|z.test"_s}));
    QCOMPARE(EntryHost(entries.first()), u"a.test"_s);
    QList<MxRecord> many;
    for (int n = 12; n > 0; --n)
        many << MxRecord{n, u"mx%1.test"_s.arg(n)};
    QCOMPARE(MailServerEntries(many).size(), MaxMailServers);
    QCOMPARE(MailServerEntries(many).last(), u"  10|mx10.test"_s);
    QCOMPARE(MailDomain(u"a@b@c.test"_s), u"b@c.test"_s);
    QCOMPARE(MailDomain(u"example.test"_s), u"example.test"_s); // no "@": all of it
}

void TestMailLogic::mailHostNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("host");
    QTest::newRow("plain") << u"mx-1.Example.test"_s << true;
    QTest::newRow("one label") << u"localhost"_s << true;
    QTest::newRow("path") << u"127.0.0.3/x"_s << false;
    QTest::newRow("address") << u"127.0.0.3"_s << false;
    QTest::newRow("underscore") << u"under_score.test"_s << false;
    QTest::newRow("empty label") << u"a..test"_s << false;
    QTest::newRow("root") << u"."_s << false;
    QTest::newRow("hyphen at end") << u"a-.test"_s << false;
    QTest::newRow("label of 64") << QString(64, QLatin1Char('a')) + u".test"_s << false;
    QTest::newRow("blank") << u"mx .test"_s << false;
    QTest::newRow("not ASCII") << u"m\u00e4il.test"_s << false;
}

void TestMailLogic::mailHostNames()
{
    QFETCH(QString, name);
    QFETCH(bool, host);
    QCOMPARE(IsMailHostName(name), host);
    QCOMPARE(MailServerEntries({MxRecord{7, name}}).size(), host ? 1 : 0);
}

void TestMailLogic::findMailServers_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("secondHasRecords");
    QTest::addColumn<bool>("firstSaysNone");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("dnsServer");
    QTest::addColumn<bool>("implicit");

    const QStringList mx{u"   5|mx.a.test"_s};
    QTest::newRow("records at the second server") << u"ann@a.test"_s << true << true << mx << u"d2"_s << false;
    QTest::newRow("no MX: the domain itself") << u"ann@a.test"_s << false << true
                                             << QStringList{u"   0|a.test"_s} << u"d1"_s << true;
    QTest::newRow("no answers") << u"ann@a.test"_s << false << false << QStringList() << QString() << false;
    QTest::newRow("no MX, no host name") << u"ann@[127.0.0.1]"_s << false << true << QStringList() << QString()
                                        << false;
}

void TestMailLogic::findMailServers()
{
    QFETCH(QString, sender);
    QFETCH(bool, secondHasRecords);
    QFETCH(bool, firstSaysNone);
    QFETCH(QStringList, entries);
    QFETCH(QString, dnsServer);
    QFETCH(bool, implicit);
    MailTransportDouble network;
    if (secondHasRecords)
        network.records.insert(u"d2"_s, {MxRecord{5, u"mx.a.test"_s}});
    if (firstSaysNone)
        network.answersNoRecords << u"d1"_s;
    QStringList status;
    const CancelFlag cancel{false};
    const MailServerSearch found = FindMailServers(
        sender, {u"d1"_s, u"d2"_s}, network, [&](const QString &text) { status << text; }, cancel);
    QCOMPARE(found.entries, entries);
    QCOMPARE(found.dnsServer, dnsServer);
    QCOMPARE(found.implicit, implicit);
    QCOMPARE(status.mid(0, 2), QStringList({u"1/2 d1"_s, u"2/2 d2"_s}));
    QCOMPARE(status.contains(u"DNS OK!"_s), secondHasRecords);
}

void TestMailLogic::ehloName_data()
{
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("greeting");
    QTest::newRow("qualified") << u"pc.example.org"_s << u"192.0.2.1"_s << u"pc.example.org"_s;
    QTest::newRow("trailing dot") << u"pc.example.org."_s << u"192.0.2.1"_s << u"pc.example.org"_s;
    QTest::newRow("no dot") << u"reelcraft"_s << u"192.0.2.1"_s << u"[192.0.2.1]"_s;
    QTest::newRow("not a host name") << u"my_pc.lan"_s << u"10.0.0.7"_s << u"[10.0.0.7]"_s;
    QTest::newRow("IPv6") << QString() << u"2001:db8::1"_s << u"[IPv6:2001:db8::1]"_s;
    QTest::newRow("IPv6 with zone") << u"localhost"_s << u"fe80::1%eth0"_s << u"[IPv6:fe80::1]"_s;
}

void TestMailLogic::ehloName()
{
    QFETCH(QString, hostName);
    QFETCH(QString, local);
    QFETCH(QString, greeting);
    QCOMPARE(EhloName(hostName, local), greeting);
}

void TestMailLogic::smtpReplies_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<int>("code"); // -1: not whole yet
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("left");
    QTest::newRow("one line") << QByteArray("250 OK\r\n354 go\r\n") << 250 << QByteArray("250 OK")
                              << QByteArray("354 go\r\n");
    QTest::newRow("continued") << QByteArray("250-a\r\n250-b\r\n250 c\r\n") << 250 << QByteArray("250 c")
                               << QByteArray();
    QTest::newRow("bare code, LF only") << QByteArray("221\n") << 221 << QByteArray("221") << QByteArray();
    QTest::newRow("half a reply") << QByteArray("250-a\r\n250 c") << -1 << QByteArray()
                                  << QByteArray("250-a\r\n250 c");
    QTest::newRow("not SMTP") << QByteArray("HTTP/1.1 400\r\n") << 0 << QByteArray("HTTP/1.1 400") << QByteArray();
}

void TestMailLogic::smtpReplies()
{
    QFETCH(QByteArray, received);
    QFETCH(int, code);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, left);
    const std::optional<SmtpReply> reply = TakeSmtpReply(received);
    QCOMPARE(reply ? reply->code : -1, code);
    QCOMPARE(reply ? reply->text : QByteArray(), text);
    QCOMPARE(received, left);
}

void TestMailLogic::dataBlock()
{
    QCOMPARE(SmtpDataBlock("A: b\r\n\r\n.\r\n..x\r\nend"), QByteArray("A: b\r\n\r\n..\r\n...x\r\nend\r\n.\r\n"));
    QCOMPARE(SmtpDataBlock("x\r\n"), QByteArray("x\r\n.\r\n"));
}

void TestMailLogic::dnsServerOrder()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"dns"_s);
    const QString resolv = folder + u"/resolv.conf"_s;
    writeAll(resolv,
             "# comment\nsearch example.test\nnameserver 10.0.0.1\n  nameserver\t127.0.0.1:5353 # local\n"
             "nameserverx 9.9.9.9\nnameserver\n");
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(resolv));

    // The machine root is read-only; it is written as another store's user root first.
    const QString machineFile = folder + u"/machine.json"_s;
    {
        Registry writer(machineFile, folder + u"/none.json"_s);
        const QString tcpip = u"\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\"_s;
        const QString mstcp = u"\\SYSTEM\\CurrentControlSet\\Services\\VxD\\MSTCP\\"_s;
        using Root = Registry::Root;
        QVERIFY(writer.writeString(Root::CurrentUser, tcpip, u"NameServer"_s, u"1.1.1.1 2.2.2.2"_s));
        QVERIFY(writer.writeString(Root::CurrentUser, tcpip, u"DhcpNameServer"_s, u"3.3.3.3  "_s));
        QVERIFY(writer.writeString(Root::CurrentUser, mstcp, u"NameServer"_s, u"4.4.4.4,1.1.1.1"_s));
        QVERIFY(writer.writeString(Root::CurrentUser, mstcp, u"EnableDNS"_s, u"1"_s));
    }
    Registry registry(folder + u"/user.json"_s, machineFile);
    QCOMPARE(LocalDnsServers(registry),
             QStringList({u"10.0.0.1"_s, u"127.0.0.1:5353"_s, u"1.1.1.1"_s, u"2.2.2.2"_s, u"3.3.3.3"_s, QString(),
                          u"4.4.4.4"_s, u"1.1.1.1"_s}));
    // A missing resolv.conf and missing keys add nothing.
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(folder + u"/missing"_s));
    QVERIFY(LocalDnsServers(Registry(folder + u"/u.json"_s, folder + u"/m.json"_s)).isEmpty());
    qunsetenv("REELCRAFT_RESOLV_CONF");
}

void TestMailLogic::messageText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("encoding");

    QTest::newRow("ascii, LF body") << u"Ann"_s << u"Hi"_s << u"a\n.\r\nb"_s << QByteArray("Ann <ann@a.test>")
                                    << QByteArray("7bit");
    QTest::newRow("specials quoted") << u"Ann \"A\" Lee, Jr."_s << u"Hi"_s << u"x"_s
                                     << QByteArray("\"Ann \\\"A\\\" Lee, Jr.\" <ann@a.test>") << QByteArray("7bit");
    QTest::newRow("long line") << QString() << u"Hi"_s << QString(1200, QLatin1Char('w')) << QByteArray("<ann@a.test>")
                               << QByteArray("quoted-printable");
    QTest::newRow("not ascii") << u"Zo\u00eb"_s << QString(40, QChar(0x00fc)) + u"\U0001F600"_s
                               << u"Gr\u00fc\u00dfe =\r\n"_s << QByteArray("=?UTF-8?B?Wm/Dqw==?= <ann@a.test>")
                               << QByteArray("quoted-printable");
}

void TestMailLogic::messageText()
{
    QFETCH(QString, name);
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, encoding);

    const OutgoingMail mail{u"ann@a.test"_s, name, u"bob@b.test"_s, subject, body, false};
    const QByteArray text =
        MailMessageText(mail, QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9), Qt::UTC), u"<id@a.test>"_s);
    const qsizetype split = text.indexOf("\r\n\r\n");
    QVERIFY(text.startsWith("Date: 05 Mar 2024 07:08:09 +0000\r\nMessage-ID: <id@a.test>\r\nFrom: " + from
                            + "\r\nTo: <bob@b.test>\r\nSubject: "));
    QVERIFY(text.left(split).endsWith("\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n"
                                      "Content-Transfer-Encoding: "
                                      + encoding));
    // Lines end in CR LF and stay short; long words of the subject fold onto lines of their own.
    for (const QByteArray &line : text.split('\n')) {
        QVERIFY(line.endsWith('\r') || line == text.split('\n').last());
        QVERIFY(line.size() <= (encoding == "7bit" ? 999 : 78));
    }
    if (encoding == "7bit")
        QCOMPARE(text.mid(split + 4), lf(body).replace(QLatin1Char('\n'), u"\r\n"_s).toUtf8());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestMailLogic test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mail_logic.moc"


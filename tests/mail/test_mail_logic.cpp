#include "mail/EmailComposer.h"
#include "mail/MailMessageText.h"
#include "mail/MailServers.h"
#include "platform/Registry.h"

#include "MailTransportDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTest>

namespace {

EmailTexts productTexts()
{
    return EmailTexts{QStringLiteral("Java Reelcraft"), QStringLiteral("https://dl.example/rc/"),
                      QStringLiteral("a Java-based slideshow creation tool."), QStringLiteral("Long words.")};
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
    void mailDomain_data();
    void mailDomain();
    void dnsServerOrder();
    void findMailServersStopsAtFirstAnswer();
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
    const QString plainTail = QStringLiteral("\r\nWhat is Java Reelcraft?\r\n\r\nLong words.\r\n\r\n");
    const QString htmlHead = QStringLiteral(
        "<HTML>\r\n<BODY>\r\n\r\n<P>Hello Bob, <BR>%1 wanted to let you know about Java Reelcraft, a Java-based "
        "slideshow creation tool.  It's available for downloading from Tarnwick Software's Web Site.<BR>\r\n\r\n"
        "<P><A HREF=\"https://dl.example/rc/\">Click here to download Java Reelcraft</A><BR>\r\n"
        "or point your Web Browser to https://dl.example/rc/<BR>\r\n");
    const QString htmlTail = QStringLiteral(
        "\r\n<P><H2>What is Java Reelcraft?</H2>\r\n\r\nLong words.\r\n\r\n</BODY>\r\n</HTML>");

    QTest::newRow("plain, no message") << QStringLiteral("Ann") << QString() << false
                                       << plainHead.arg(QStringLiteral("Ann")) + plainTail;
    QTest::newRow("plain, message with LF") << QStringLiteral("Ann") << QStringLiteral("Hi\nthere") << false
                                            << plainHead.arg(QStringLiteral("Ann"))
            + QStringLiteral("\r\nAnn also wanted to send you a special message: \r\n\r\nHi\r\nthere\r\n") + plainTail;
    QTest::newRow("plain, no name") << QString() << QString() << false
                                    << plainHead.arg(QStringLiteral("A friend")) + plainTail;
    QTest::newRow("html, no message") << QStringLiteral("Ann") << QString() << true
                                      << htmlHead.arg(QStringLiteral("Ann")) + htmlTail;
    QTest::newRow("html, message, no name") << QString() << QStringLiteral("Hi") << true
                                            << htmlHead.arg(QStringLiteral("A friend"))
            + QStringLiteral("\r\n<P>A friend also wanted to send you a special message: <BR>\r\n\r\n<PRE>\r\nHi\r\n"
                             "</PRE>\r\n")
            + htmlTail;
}

void TestMailLogic::composeMessage()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(bool, html);
    QFETCH(QString, expected);
    QCOMPARE(ComposeMessage(productTexts(), EmailEntries{name, QStringLiteral("Bob"), message, html}), expected);
}

void TestMailLogic::mailServerEntries()
{
    const QList<MxRecord> records{{20, QStringLiteral("c.test")}, {5, QStringLiteral("b.test")},
                                  {10, QStringLiteral("a.test")}, {5, QStringLiteral("a.test")},
                                  {10000, QStringLiteral("z.test")}};
    const QStringList entries = MailServerEntries(records);
    QCOMPARE(entries, QStringList({QStringLiteral("   5|a.test"), QStringLiteral("   5|b.test"),
                                   QStringLiteral("  10|a.test"), QStringLiteral("  20|c.test"),
                                   QStringLiteral("10000|z.test")}));
    QCOMPARE(EntryHost(entries.first()), QStringLiteral("a.test"));
}

void TestMailLogic::mailDomain_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("domain");
    QTest::newRow("plain") << QStringLiteral("ann@example.test") << QStringLiteral("example.test");
    QTest::newRow("no @") << QStringLiteral("example.test") << QStringLiteral("example.test");
    QTest::newRow("two @") << QStringLiteral("a@b@c.test") << QStringLiteral("b@c.test");
    QTest::newRow("empty") << QString() << QString();
}

void TestMailLogic::mailDomain()
{
    QFETCH(QString, address);
    QFETCH(QString, domain);
    QCOMPARE(MailDomain(address), domain);
}

void TestMailLogic::dnsServerOrder()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("dns"));
    const QString resolv = folder + QStringLiteral("/resolv.conf");
    writeAll(resolv, "# comment\nsearch example.test\nnameserver 10.0.0.1\n  nameserver\t127.0.0.1:5353 # local\n"
                     "nameserverx 9.9.9.9\nnameserver\n");
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(resolv));
    qputenv("REELCRAFT_DNSIP_URL", "http://dnsip.test/list");

    // The machine root is read-only; it is written as another store's user root first.
    const QString machineFile = folder + QStringLiteral("/machine.json");
    {
        Registry writer(machineFile, folder + QStringLiteral("/none.json"));
        const QString tcpip = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\");
        const QString mstcp = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\VxD\\MSTCP\\");
        using Root = Registry::Root;
        QVERIFY(writer.writeString(Root::CurrentUser, tcpip, QStringLiteral("NameServer"), QStringLiteral("1.1.1.1 2.2.2.2")));
        QVERIFY(writer.writeString(Root::CurrentUser, tcpip, QStringLiteral("DhcpNameServer"), QStringLiteral("3.3.3.3  ")));
        QVERIFY(writer.writeString(Root::CurrentUser, mstcp, QStringLiteral("NameServer"), QStringLiteral("4.4.4.4,1.1.1.1")));
        QVERIFY(writer.writeString(Root::CurrentUser, mstcp, QStringLiteral("EnableDNS"), QStringLiteral("1")));
    }
    Registry registry(folder + QStringLiteral("/user.json"), machineFile);
    MailTransportDouble transport;
    transport.document = "5.5.5.5,6.6.6.6\r\n7.7.7.7\n";
    const CancelFlag cancel{false};

    const QStringList local = LocalDnsServers(registry);
    QCOMPARE(local, QStringList({QStringLiteral("10.0.0.1"), QStringLiteral("127.0.0.1:5353"),
                                 QStringLiteral("1.1.1.1"), QStringLiteral("2.2.2.2"), QStringLiteral("3.3.3.3"),
                                 QString(), QStringLiteral("4.4.4.4"), QStringLiteral("1.1.1.1")}));
    QCOMPARE(FindDnsServers(local, transport, cancel), local);
    QVERIFY(transport.calls().isEmpty());

    // Nothing on the computer: the fallback document, split at "," and line breaks.
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(folder + QStringLiteral("/missing")));
    Registry empty(folder + QStringLiteral("/user.json"), folder + QStringLiteral("/none.json"));
    QVERIFY(LocalDnsServers(empty).isEmpty());
    QCOMPARE(FindDnsServers(LocalDnsServers(empty), transport, cancel),
             QStringList({QStringLiteral("5.5.5.5"), QStringLiteral("6.6.6.6"), QStringLiteral("7.7.7.7")}));
    QCOMPARE(transport.calls(), QStringList({QStringLiteral("fetch http://dnsip.test/list")}));
    qunsetenv("REELCRAFT_RESOLV_CONF");
    qunsetenv("REELCRAFT_DNSIP_URL");
}

void TestMailLogic::findMailServersStopsAtFirstAnswer()
{
    MailTransportDouble transport;
    transport.records.insert(QStringLiteral("s2"), {{20, QStringLiteral("x.test")}, {5, QStringLiteral("y.test")}});
    transport.records.insert(QStringLiteral("s3"), {{1, QStringLiteral("never.test")}});
    QStringList status;
    const CancelFlag cancel{false};
    const MailServerSearch search = FindMailServers(QStringLiteral("ann@dom.test"),
                                                    {QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("s3")},
                                                    transport, [&](const QString &text) { status << text; }, cancel);
    QCOMPARE(search.entries, QStringList({QStringLiteral("   5|y.test"), QStringLiteral("  20|x.test")}));
    QCOMPARE(search.dnsServer, QStringLiteral("s2"));
    QCOMPARE(status, QStringList({QStringLiteral("1/3 s1"), QStringLiteral("2/3 s2"), QStringLiteral("DNS OK!")}));
    QCOMPARE(transport.calls(), QStringList({QStringLiteral("mx s1 dom.test 10"), QStringLiteral("mx s2 dom.test 10")}));
}

void TestMailLogic::messageText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QByteArray>("fromLine");
    QTest::addColumn<QByteArray>("encoding");

    QTest::newRow("ascii") << QStringLiteral("Ann") << QStringLiteral("Hi") << QStringLiteral("a\r\n.\r\nb\r\n")
                           << QByteArray("From: Ann <ann@a.test>") << QByteArray("7bit");
    QTest::newRow("no name, LF body") << QString() << QStringLiteral("Hi") << QStringLiteral("a\nb")
                                      << QByteArray("From: <ann@a.test>") << QByteArray("7bit");
    QTest::newRow("specials quoted") << QStringLiteral("Ann \"A\" Lee, Jr.") << QStringLiteral("Hi")
                                     << QStringLiteral("x")
                                     << QByteArray("From: \"Ann \\\"A\\\" Lee, Jr.\" <ann@a.test>") << QByteArray("7bit");
    QTest::newRow("CR LF removed") << QStringLiteral("Eve\r\nBcc: x@y.test") << QStringLiteral("S\r\nX-Evil: 1")
                                   << QStringLiteral("x") << QByteArray("From: \"EveBcc: x@y.test\" <ann@a.test>")
                                   << QByteArray("7bit");
    QTest::newRow("not ascii") << QStringLiteral("Zo\u00eb") << QString(40, QChar(0x00fc)) + QStringLiteral("\U0001F600")
                               << QStringLiteral("Gr\u00fc\u00dfe =\r\n") + QString(200, QLatin1Char('w'))
                               << QByteArray("From: =?UTF-8?B?Wm/Dqw==?= <ann@a.test>")
                               << QByteArray("quoted-printable");
}

void TestMailLogic::messageText()
{
    QFETCH(QString, name);
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(QByteArray, fromLine);
    QFETCH(QByteArray, encoding);

    const OutgoingMail mail{QStringLiteral("ann@a.test"), name, QStringLiteral("bob@b.test\r\n"), subject, body, false};
    const QByteArray text = MailMessageText(mail, QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9), Qt::UTC),
                                            QStringLiteral("<id@a.test>"));
    const int split = int(text.indexOf("\r\n\r\n"));
    QVERIFY(split > 0);
    QList<QByteArray> headers = text.left(split + 2).split('\n');
    headers.removeLast(); // after the last CR LF
    QList<QByteArray> names;
    for (const QByteArray &line : headers) {
        QVERIFY2(line.endsWith('\r'), line.constData()); // no bare LF anywhere
        QVERIFY2(line.size() <= 999, line.constData());
        if (!line.startsWith(' '))
            names << line.left(line.indexOf(':'));
        else
            QVERIFY(line.trimmed().startsWith("=?UTF-8?B?")); // folded encoded-words only
    }
    QCOMPARE(names, QList<QByteArray>({"Date", "Message-ID", "From", "To", "Subject", "MIME-Version", "Content-Type",
                                       "Content-Transfer-Encoding"}));
    QVERIFY(headers.contains("Date: 05 Mar 2024 07:08:09 +0000\r"));
    QVERIFY(headers.contains(fromLine + '\r'));
    QVERIFY(headers.contains("To: <bob@b.test>\r"));
    QVERIFY(headers.contains("Content-Type: text/plain; charset=UTF-8\r"));
    QVERIFY(headers.contains("Content-Transfer-Encoding: " + encoding + '\r'));
    const QByteArray sentBody = text.mid(split + 4);
    for (const QByteArray &line : sentBody.split('\n'))
        QVERIFY(encoding == "7bit" || line.size() <= 77);
    if (encoding == "7bit")
        QCOMPARE(sentBody, QString(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                               .replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toUtf8());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestMailLogic test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mail_logic.moc"

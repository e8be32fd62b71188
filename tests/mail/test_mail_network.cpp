#include "mail/MailSendJob.h"
#include "mail/NetMailTransport.h"
#include "mail/TfrmEmail.h"
#include "platform/Registry.h"

#include "MailNetFixture.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString lf(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s);
}

// Every text the status line paints, with the time since the watch began.
class StatusWatch : public QObject
{
public:
    explicit StatusWatch(QLabel *label)
        : m_label(label)
    {
        label->installEventFilter(this);
        clock.start();
    }
    QStringList texts;
    QList<qint64> times;
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != m_label->text())) {
            texts << m_label->text();
            times << clock.elapsed();
        }
        return false;
    }

private:
    QLabel *m_label;
};

} // namespace

// The dialog over the real network: dnsmasq for DNS and aiosmtpd for SMTP, on 127.0.0.0/8.
// dnsmasq names three mail servers for example.test, preferences 20, 5 and 10, odd names
// beside a real one for odd.test, none for plain.test (which has an address) and
// nothing.test (which has none).
class TestMailNetwork : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sendsBothForms_data();
    void sendsBothForms();
    void serverOrder_data();
    void serverOrder();
    void sentBeforeGoodbye();
    void fallbackDocumentNamesDnsServer();
    void silentDnsServerThenNoMailServer();
    void cancelReturnsAtOnce_data();
    void cancelReturnsAtOnce();

private:
    // Modes of the servers of preference 5, 10 and 20.
    bool startServers(const QStringList &modes);
    void useDnsServers(const QStringList &servers);
    static QStringList workers()
    {
        return QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
    QStringList m_threads; // before the send
    void send(const QString &product = u"Java Reelcraft"_s, const QString &from = u"ann@example.test"_s,
              bool html = false);

    PromptsDouble m_prompts;
    std::unique_ptr<Registry> m_registry;
    NetMailTransport m_transport;
    std::unique_ptr<DnsmasqServer> m_dns;
    std::unique_ptr<SmtpServers> m_smtp;
    std::unique_ptr<TfrmEmail> m_dialog;
    std::unique_ptr<StatusWatch> m_status;
    QStringList m_failures;
    QString m_folder;
    QString m_name;
    QString m_message;
};

void TestMailNetwork::initTestCase()
{
    // Whatever the DNS answers name, nothing can leave this machine.
    for (const QNetworkInterface &face : QNetworkInterface::allInterfaces())
        QVERIFY2(face.flags().testFlag(QNetworkInterface::IsLoopBack), qPrintable(face.name()));
}

void TestMailNetwork::init()
{
    m_folder = TestEnvironment::instance().freshFolder(u"net"_s);
    m_registry = std::make_unique<Registry>(m_folder + u"/user.json"_s, m_folder + u"/machine.json"_s);
    m_prompts.clear();
    m_failures.clear();
    m_name.clear();
    m_message.clear();
}

void TestMailNetwork::cleanup()
{
    m_status.reset();
    m_dialog.reset();
    m_smtp.reset();
    m_dns.reset();
}

bool TestMailNetwork::startServers(const QStringList &modes)
{
    m_dns = std::make_unique<DnsmasqServer>();
    m_smtp = std::make_unique<SmtpServers>();
    QDir().mkpath(m_folder + u"/received"_s);
    if (!m_dns->start({u"--mx-host=example.test,mx20.example.test,20"_s, u"--mx-host=example.test,mx5.example.test,5"_s,
                       u"--mx-host=example.test,mx10.example.test,10"_s, u"--host-record=mx5.example.test,127.0.0.2"_s,
                       u"--host-record=mx10.example.test,127.0.0.3"_s, u"--host-record=mx20.example.test,127.0.0.4"_s,
                       // Names no program should look up or connect to, then a real one.
                       u"--mx-host=odd.test,127.0.0.3/x,1"_s, u"--mx-host=odd.test,under_score.test,2"_s,
                       u"--host-record=under_score.test,127.0.0.4"_s, u"--mx-host=odd.test,mx10.example.test,3"_s,
                       // A domain without MX records, at an address of its own.
                       u"--host-record=plain.test,127.0.0.5"_s, u"--txt-record=nothing.test,no mail"_s,
                       u"--local=/test/"_s})
        || !m_smtp->start(m_folder + u"/received"_s,
                          {u"127.0.0.2=five:"_s + modes.at(0), u"127.0.0.3=ten:"_s + modes.at(1),
                           u"127.0.0.4=twenty:"_s + modes.at(2), u"127.0.0.5=own:accept"_s}))
        return false;
    useDnsServers({m_dns->address()});
    qputenv("REELCRAFT_SMTP_PORT", QByteArray::number(m_smtp->port));
    return true;
}

void TestMailNetwork::useDnsServers(const QStringList &servers)
{
    writeAll(m_folder + u"/resolv.conf"_s,
             servers.isEmpty() ? QByteArray() : "nameserver " + servers.join(u"\nnameserver "_s).toLatin1());
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(m_folder + u"/resolv.conf"_s));
}

// Fills in the dialog, presses Send and waits until the send has ended.
void TestMailNetwork::send(const QString &product, const QString &from, bool html)
{
    m_dialog = std::make_unique<TfrmEmail>(MailServices{m_prompts, *m_registry, m_transport});
    m_dialog->SetTexts(
        EmailTexts{product, u"https://dl.example/rc/"_s, u"a slideshow tool."_s, u"Slideshows for pages."_s});
    m_dialog->SetFailureBox([this](QWidget *, const QString &text) {
        m_failures << text;
        return true; // "To Clipboard"
    });
    m_dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    m_dialog->txtName->setText(m_name);
    m_dialog->txtYourEmail->setText(from);
    m_dialog->txtFriendsName->setText(u"Bob"_s);
    m_dialog->txtAddress->setText(u"bob@friend.test"_s);
    m_dialog->memText->setPlainText(m_message);
    m_dialog->chkHTML->setChecked(html);
    m_status = std::make_unique<StatusWatch>(m_dialog->lblStatus);
    m_threads = workers();
    QTest::mouseClick(m_dialog->butSend, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!m_dialog->Sending(), 40000);
}

void TestMailNetwork::sendsBothForms_data()
{
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("encoding");

    const QString address = u" <ann@example.test>"_s;
    const QString product = u"Java Reelcraft"_s;
    const QString subject = u"Java Reelcraft is available for you."_s;
    QTest::newRow("plain") << false << product << u"Ann Example"_s << u"Line one\n.\nLine 3"_s
                           << u"Ann Example"_s + address << subject << u"7bit"_s;
    QTest::newRow("html, not ASCII") << true << product << u"Zo\u00eb Br\u00f6nte"_s << u"Gr\u00fc\u00dfe\n."_s
                                     << u"Zo\u00eb Br\u00f6nte"_s + address << subject << u"quoted-printable"_s;
    QTest::newRow("no name") << false << product << QString() << QString() << u"ann@example.test"_s << subject
                             << u"7bit"_s;
    QTest::newRow("CR LF in name and subject")
        << false << u"Reel\r\nX-Injected: subject"_s << u"Eve\r\nBcc: victim@example.test"_s << QString()
        << u"\"EveBcc: victim@example.test\""_s + address << u"ReelX-Injected: subject is available for you."_s
        << u"7bit"_s;
}

void TestMailNetwork::sendsBothForms()
{
    QFETCH(bool, html);
    QFETCH(QString, product);
    QFETCH(QString, from);
    QFETCH(QString, subject);
    QFETCH(QString, encoding);
    QFETCH(QString, name);
    QFETCH(QString, message);
    m_name = name;
    m_message = message;
    QVERIFY(startServers({u"accept"_s, u"accept"_s, u"accept"_s}));
    send(product, u"ann@example.test"_s, html);
    QTRY_VERIFY_WITH_TIMEOUT(workers() == m_threads, 5000);

    QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::SuccessText()});
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_status->texts,
             QStringList({u"Building DNS list"_s, u"1/1 "_s + m_dns->address(), u"DNS OK!"_s,
                          u"Sending through mx5.example.test"_s, QString()}));
    QCOMPARE(m_smtp->messages().size(), 1);
    const QJsonObject mail = m_smtp->messages().first();
    QCOMPARE(mail.value(u"server"_s).toString(), u"five"_s);
    QCOMPARE(mail.value(u"mail_from"_s).toString(), u"ann@example.test"_s);
    QCOMPARE(mail.value(u"rcpt_tos"_s).toArray(), QJsonArray{u"bob@friend.test"_s});
    // Encrypted by STARTTLS though the certificate is self-signed; greeted with a full name or
    // the address literal of the local end.
    QVERIFY(mail.value(u"tls"_s).toBool());
    const QString host = QSysInfo::machineHostName();
    QCOMPARE(mail.value(u"ehlo"_s).toString(),
             host.contains(QLatin1Char('.')) ? host : u"["_s + mail.value(u"peer"_s).toString() + u"]"_s);
    // No typed text adds a header.
    QCOMPARE(mail.value(u"header_names"_s).toArray().toVariantList(),
             QVariantList({u"Date"_s, u"Message-ID"_s, u"From"_s, u"To"_s, u"Subject"_s, u"MIME-Version"_s,
                           u"Content-Type"_s, u"Content-Transfer-Encoding"_s}));
    const QJsonObject headers = mail.value(u"headers"_s).toObject();
    QCOMPARE(headers.value(u"From"_s).toString(), from);
    QCOMPARE(headers.value(u"To"_s).toString(), u"bob@friend.test"_s);
    QCOMPARE(headers.value(u"Subject"_s).toString(), subject);
    QCOMPARE(headers.value(u"Content-Transfer-Encoding"_s).toString(), encoding);
    QVERIFY(headers.value(u"Message-ID"_s).toString().endsWith(u"@example.test>"_s));
    QCOMPARE(mail.value(u"content_type"_s).toString(), html ? u"text/html"_s : u"text/plain"_s);
    QCOMPARE(mail.value(u"charset"_s).toString(), u"utf-8"_s);
    // The body as composed; the transfer ends the HTML's last line.
    QCOMPARE(lf(mail.value(u"body"_s).toString()), lf(m_dialog->ComposeMessage()) + (html ? u"\n"_s : QString()));
    QVERIFY(!m_smtp->raw(1).contains("\n\n")); // every line ends in CR LF
}

void TestMailNetwork::serverOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("modes"); // of the servers of preference 5, 10 and 20
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("takenBy");
    QTest::addColumn<QString>("failure");

    const QStringList all{u"five"_s, u"ten"_s, u"twenty"_s};
    QTest::newRow("third takes it") << u"ann@example.test"_s << QStringList{u"refuse"_s, u"refuse"_s, u"accept"_s}
                                    << all << u"twenty"_s << QString();
    QTest::newRow("all refuse") << u"ann@example.test"_s << QStringList{u"refuse"_s, u"refuse"_s, u"refuse"_s} << all
                                << QString()
                                << u"The mail server mx20.example.test refused the message: 554 5.7.1 Refused by twenty"_s;
    QTest::newRow("failed handshake: next host")
        << u"ann@example.test"_s << QStringList{u"badtls"_s, u"accept"_s, u"accept"_s} << QStringList{u"ten"_s}
        << u"ten"_s << QString();
    QTest::newRow("no STARTTLS offered") << u"ann@example.test"_s << QStringList{u"plain"_s, u"accept"_s, u"accept"_s}
                                         << QStringList{u"five"_s} << u"five"_s << QString();
    QTest::newRow("no answer to the message: next host")
        << u"ann@example.test"_s << QStringList{u"datastall"_s, u"accept"_s, u"accept"_s}
        << QStringList{u"five"_s, u"five DATA"_s, u"ten"_s} << u"ten"_s << QString();
    QTest::newRow("MX names that are no host names are skipped")
        << u"ann@odd.test"_s << QStringList{u"accept"_s, u"accept"_s, u"accept"_s} << QStringList{u"ten"_s}
        << u"ten"_s << QString();
    QTest::newRow("no MX: the domain's own address") << u"ann@plain.test"_s
                                                     << QStringList{u"accept"_s, u"accept"_s, u"accept"_s}
                                                     << QStringList{u"own"_s} << u"own"_s << QString();
    QTest::newRow("no MX and no address") << u"ann@nothing.test"_s
                                          << QStringList{u"accept"_s, u"accept"_s, u"accept"_s} << QStringList()
                                          << QString() << MailSendJob::DnsNotFoundText();
}

void TestMailNetwork::serverOrder()
{
    QFETCH(QString, from);
    QFETCH(QStringList, modes);
    QFETCH(QStringList, log);
    QFETCH(QString, takenBy);
    QFETCH(QString, failure);
    QVERIFY(startServers(modes));
    qputenv("REELCRAFT_SMTP_REPLY_TIMEOUT", "1");
    send(u"Java Reelcraft"_s, from);
    qunsetenv("REELCRAFT_SMTP_REPLY_TIMEOUT");

    QCOMPARE(m_smtp->log(), log);
    QStringList takers;
    for (const QJsonObject &mail : m_smtp->messages())
        takers << mail.value(u"server"_s).toString();
    QCOMPARE(takers, takenBy.isEmpty() ? QStringList() : QStringList{takenBy});
    if (!takenBy.isEmpty()) {
        QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::SuccessText()});
        QVERIFY(m_failures.isEmpty());
        return;
    }
    const QString hint = u"\r\n"_s + MailSendJob::ClipboardHintText();
    QCOMPARE(m_failures, QStringList{failure == MailSendJob::DnsNotFoundText() ? failure : failure + hint});
    QVERIFY(m_dialog->isVisible()); // back to editing
    QVERIFY(m_dialog->butSend->isEnabled());
}

// "Sent" comes with the server's answer to the message; the goodbye that follows is given
// two seconds at most, off the window's thread.
void TestMailNetwork::sentBeforeGoodbye()
{
    QVERIFY(startServers({u"quitstall"_s, u"accept"_s, u"accept"_s}));
    send();
    QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::SuccessText()});
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    const qint64 sent = m_status->clock.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(m_smtp->log(), QStringList({u"five"_s, u"five QUIT"_s}), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(workers() == m_threads, 6000);
    const qint64 ended = m_status->clock.elapsed();
    QVERIFY2(ended - sent >= 1000, qPrintable(QString::number(ended - sent)));
}

void TestMailNetwork::fallbackDocumentNamesDnsServer()
{
    QVERIFY(startServers({u"accept"_s, u"accept"_s, u"accept"_s}));
    useDnsServers({}); // the computer names none: the fallback document does
    QTcpServer web;
    QVERIFY(web.listen(QHostAddress(u"127.0.0.1"_s)));
    QByteArray request;
    connect(&web, &QTcpServer::newConnection, &web, [&] {
        QTcpSocket *client = web.nextPendingConnection();
        connect(client, &QTcpSocket::readyRead, client, [&, client] {
            request += client->readAll();
            const QByteArray body = "\r\n" + m_dns->address().toLatin1() + "\r\n";
            if (request.contains("\r\n\r\n"))
                client->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
                              + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        });
    });
    qputenv("no_proxy", "127.0.0.1"); // a proxy of the machine never sees the test's server
    qputenv("REELCRAFT_DNSIP_URL", "http://127.0.0.1:" + QByteArray::number(web.serverPort()) + "/dnsip/dnsip.dat");
    send();
    qunsetenv("REELCRAFT_DNSIP_URL");

    QVERIFY(request.startsWith("GET /dnsip/dnsip.dat HTTP/1.1\r\n"));
    QVERIFY(request.contains("\r\nUser-Agent: Tarnwick Software Email-A-Friend\r\n"));
    // The document's empty first line is a server too, asked first.
    QCOMPARE(m_status->texts.mid(1, 3), QStringList({u"1/2 "_s, u"2/2 "_s + m_dns->address(), u"DNS OK!"_s}));
    QCOMPARE(m_smtp->messages().size(), 1);
}

void TestMailNetwork::silentDnsServerThenNoMailServer()
{
    SilentDnsServer silent;
    QVERIFY(startServers({u"accept"_s, u"accept"_s, u"accept"_s}));
    const QStringList servers{silent.address(), m_dns->address()}; // dnsmasq knows no mail server of nomail.test
    useDnsServers(servers);
    m_message = u"See <b>this</b>"_s;
    send(u"Java Reelcraft"_s, u"ann@nomail.test"_s, true);

    QCOMPARE(m_status->texts,
             QStringList({u"Building DNS list"_s, u"1/2 "_s + servers.at(0), u"2/2 "_s + servers.at(1), QString()}));
    const qint64 waited = m_status->times.at(2) - m_status->times.at(1); // the silent server's ten seconds
    QVERIFY2(waited >= 9500 && waited < 20000, qPrintable(QString::number(waited)));
    QCOMPARE(m_failures, QStringList{MailSendJob::DnsNotFoundText()});
    // "To Clipboard": the HTML text with its tags, and the message about it.
    const QString clipboard = QGuiApplication::clipboard()->text();
    QCOMPARE(clipboard, m_dialog->ComposeMessage());
    QVERIFY(clipboard.startsWith(u"<HTML>\r\n<BODY>"_s));
    QVERIFY(clipboard.contains(u"<PRE>\r\nSee &lt;b&gt;this&lt;/b&gt;\r\n</PRE>"_s));
    QCOMPARE(m_prompts.messages(), QStringList{m_dialog->ClipboardText()});
    QVERIFY(m_smtp->log().isEmpty());
}

void TestMailNetwork::cancelReturnsAtOnce_data()
{
    QTest::addColumn<QString>("mode"); // of the server of preference 5
    QTest::addColumn<QStringList>("reached");
    QTest::newRow("DNS server silent") << QString() << QStringList();
    QTest::newRow("answer to RCPT held") << u"slow"_s << QStringList{u"five"_s};
    QTest::newRow("answer to the message held") << u"datastall"_s << QStringList{u"five"_s, u"five DATA"_s};
}

void TestMailNetwork::cancelReturnsAtOnce()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, reached);
    SilentDnsServer silent;
    QVERIFY(startServers({mode.isEmpty() ? u"accept"_s : mode, u"accept"_s, u"accept"_s}));
    if (mode.isEmpty())
        useDnsServers({silent.address()});
    m_dialog = std::make_unique<TfrmEmail>(MailServices{m_prompts, *m_registry, m_transport});
    m_dialog->SetTexts(EmailTexts{u"P"_s, u"U"_s, u"D1"_s, u"D2"_s});
    m_dialog->open();
    m_dialog->txtYourEmail->setText(u"ann@example.test"_s);
    m_dialog->txtAddress->setText(u"bob@friend.test"_s);
    m_threads = workers();
    QTest::mouseClick(m_dialog->butSend, Qt::LeftButton);
    // In the server's hands: it holds back its answer.
    QTRY_COMPARE_WITH_TIMEOUT(m_smtp->log(), reached, 15000);
    QTest::qWait(300);
    QVERIFY(m_dialog->Sending());

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(m_dialog->butCancel, Qt::LeftButton);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QVERIFY(!m_dialog->isVisible() && !m_dialog->Sending());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The worker ends on its own soon after, and nothing follows.
    QTRY_VERIFY_WITH_TIMEOUT(workers() == m_threads, 2000);
    QTest::qWait(200);
    QVERIFY(m_prompts.shown.isEmpty());
    QCOMPARE(m_smtp->log(), reached);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestMailNetwork test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mail_network.moc"


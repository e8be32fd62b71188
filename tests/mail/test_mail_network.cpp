#include "mail/EmailComposer.h"
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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

const QStringList ExampleRecords{
    QStringLiteral("--mx-host=example.test,mx20.example.test,20"),
    QStringLiteral("--mx-host=example.test,mx5.example.test,5"),
    QStringLiteral("--mx-host=example.test,mx10.example.test,10"),
    QStringLiteral("--host-record=mx5.example.test,127.0.0.2"),
    QStringLiteral("--host-record=mx10.example.test,127.0.0.3"),
    QStringLiteral("--host-record=mx20.example.test,127.0.0.4"),
};

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

QString lf(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Notes every text the status line paints, with the time since the send began.
class StatusWatch : public QObject
{
public:
    explicit StatusWatch(QLabel *label) : m_label(label) { label->installEventFilter(this); }
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

// The dialog over the real network: dnsmasq for DNS, aiosmtpd for SMTP, on 127.0.0.0/8.
class TestMailNetwork : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sendsBothForms_data();
    void sendsBothForms();
    void preferenceOrder_data();
    void preferenceOrder();
    void headersCannotBeAdded();
    void silentDnsServerThenNoMailServer();
    void cancelDuringSlowServer();

private:
    // dnsmasq with the example domain, the SMTP servers with modes for five, ten, twenty.
    bool startServers(const QStringList &modes);
    void useDnsServers(const QStringList &servers);
    void makeDialog(const EmailTexts &texts = testTexts());
    static EmailTexts testTexts()
    {
        return EmailTexts{QStringLiteral("Java Reelcraft"), QStringLiteral("https://dl.example/rc/"),
                          QStringLiteral("a slideshow tool."), QStringLiteral("Slideshows for pages.")};
    }
    void fillAndSend(const QString &from, bool html);

    PromptsDouble m_prompts;
    std::unique_ptr<Registry> m_registry;
    NetMailTransport m_transport;
    std::unique_ptr<DnsmasqServer> m_dns;
    std::unique_ptr<SmtpServers> m_smtp;
    std::unique_ptr<TfrmEmail> m_dialog;
    std::unique_ptr<StatusWatch> m_status;
    QStringList m_failures;
    bool m_toClipboard = false;
    QString m_folder;
};

void TestMailNetwork::init()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("net"));
    m_registry = std::make_unique<Registry>(m_folder + QStringLiteral("/user.json"),
                                            m_folder + QStringLiteral("/machine.json"));
    m_prompts.clear();
    m_failures.clear();
    m_toClipboard = false;
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
    if (!m_dns->start(ExampleRecords))
        return false;
    m_smtp = std::make_unique<SmtpServers>();
    const QString mails = m_folder + QStringLiteral("/received");
    QDir().mkpath(mails);
    if (!m_smtp->start(mails, {QStringLiteral("127.0.0.2=five:") + modes.at(0), QStringLiteral("127.0.0.3=ten:") + modes.at(1),
                               QStringLiteral("127.0.0.4=twenty:") + modes.at(2)}))
        return false;
    useDnsServers({m_dns->address()});
    qputenv("REELCRAFT_SMTP_PORT", QByteArray::number(m_smtp->port()));
    return true;
}

void TestMailNetwork::useDnsServers(const QStringList &servers)
{
    QByteArray resolv;
    for (const QString &server : servers)
        resolv += "nameserver " + server.toLatin1() + '\n';
    writeAll(m_folder + QStringLiteral("/resolv.conf"), resolv);
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(m_folder + QStringLiteral("/resolv.conf")));
}

void TestMailNetwork::makeDialog(const EmailTexts &texts)
{
    m_dialog = std::make_unique<TfrmEmail>(MailServices{m_prompts, *m_registry, m_transport});
    m_dialog->SetTexts(texts);
    m_dialog->SetFailureBox([this](QWidget *, const QString &text) {
        m_failures << text;
        return m_toClipboard;
    });
    m_dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    m_status = std::make_unique<StatusWatch>(m_dialog->lblStatus);
}

void TestMailNetwork::fillAndSend(const QString &from, bool html)
{
    m_dialog->txtYourEmail->setText(from);
    m_dialog->txtFriendsName->setText(QStringLiteral("Bob"));
    m_dialog->txtAddress->setText(QStringLiteral("bob@friend.test"));
    m_dialog->chkHTML->setChecked(html);
    m_status->clock.start();
    QTest::mouseClick(m_dialog->butSend, Qt::LeftButton);
    QVERIFY(m_dialog->Sending());
    QTRY_VERIFY_WITH_TIMEOUT(!m_dialog->Sending(), 40000);
}

void TestMailNetwork::sendsBothForms_data()
{
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("encoding");

    QTest::newRow("plain") << false << QStringLiteral("Ann Example") << QStringLiteral("Line one\n.\nLine three")
                           << QStringLiteral("7bit");
    QTest::newRow("html") << true << QStringLiteral("Zo\u00eb Br\u00f6nte") << QStringLiteral("Gr\u00fc\u00dfe\n.")
                          << QStringLiteral("quoted-printable");
}

void TestMailNetwork::sendsBothForms()
{
    QFETCH(bool, html);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, encoding);
    QVERIFY(startServers({QStringLiteral("accept"), QStringLiteral("accept"), QStringLiteral("accept")}));
    makeDialog();
    m_dialog->txtName->setText(name);
    m_dialog->memText->setPlainText(message);
    fillAndSend(QStringLiteral("ann@example.test"), html);

    QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::SuccessText()});
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_failures.isEmpty());
    QCOMPARE(m_status->texts, QStringList({QStringLiteral("Building DNS list"), QStringLiteral("1/1 ") + m_dns->address(),
                                           QStringLiteral("DNS OK!"), QStringLiteral("Sending through mx5.example.test"),
                                           QString()}));

    const QList<QJsonObject> received = m_smtp->messages();
    QCOMPARE(received.size(), 1);
    const QJsonObject mail = received.first();
    QCOMPARE(mail.value(QStringLiteral("server")).toString(), QStringLiteral("five"));
    QCOMPARE(mail.value(QStringLiteral("mail_from")).toString(), QStringLiteral("ann@example.test"));
    QCOMPARE(mail.value(QStringLiteral("rcpt_tos")).toArray(), QJsonArray{QStringLiteral("bob@friend.test")});
    const QJsonObject headers = mail.value(QStringLiteral("headers")).toObject();
    QCOMPARE(headers.value(QStringLiteral("From")).toString(), name + QStringLiteral(" <ann@example.test>"));
    QCOMPARE(headers.value(QStringLiteral("To")).toString(), QStringLiteral("bob@friend.test"));
    QCOMPARE(headers.value(QStringLiteral("Subject")).toString(), QStringLiteral("Java Reelcraft is available for you."));
    QCOMPARE(headers.value(QStringLiteral("MIME-Version")).toString(), QStringLiteral("1.0"));
    QCOMPARE(headers.value(QStringLiteral("Content-Transfer-Encoding")).toString(), encoding);
    QVERIFY(headers.contains(QStringLiteral("Date")));
    QVERIFY(headers.value(QStringLiteral("Message-ID")).toString().endsWith(QStringLiteral("@example.test>")));
    QCOMPARE(mail.value(QStringLiteral("content_type")).toString(), html ? QStringLiteral("text/html") : QStringLiteral("text/plain"));
    QCOMPARE(mail.value(QStringLiteral("charset")).toString(), QStringLiteral("utf-8"));
    // The body as composed; the transfer adds a line end after the HTML's last line.
    const QString composed = ComposeMessage(m_dialog->Texts(), EmailEntries{name, QStringLiteral("Bob"), message, html});
    QCOMPARE(lf(mail.value(QStringLiteral("body")).toString()), lf(composed) + (html ? QStringLiteral("\n") : QString()));
    QVERIFY(!m_smtp->raw(1).contains("\n\n")); // every line ends in CR LF
}

void TestMailNetwork::preferenceOrder_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("sent");
    QTest::newRow("third takes it") << QStringLiteral("accept") << true;
    QTest::newRow("all refuse") << QStringLiteral("refuse") << false;
}

void TestMailNetwork::preferenceOrder()
{
    QFETCH(QString, last);
    QFETCH(bool, sent);
    QVERIFY(startServers({QStringLiteral("refuse"), QStringLiteral("refuse"), last}));
    makeDialog();
    fillAndSend(QStringLiteral("ann@example.test"), false);

    QCOMPARE(m_smtp->log(), QStringList({QStringLiteral("five"), QStringLiteral("ten"), QStringLiteral("twenty")}));
    QCOMPARE(int(m_smtp->messages().size()), sent ? 1 : 0);
    if (sent) {
        QCOMPARE(m_smtp->messages().first().value(QStringLiteral("server")).toString(), QStringLiteral("twenty"));
        QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::SuccessText()});
        return;
    }
    QCOMPARE(m_failures, QStringList{QStringLiteral("The mail server mx20.example.test refused the message: "
                                                    "554 5.7.1 Refused by twenty\r\n")
                                     + MailSendJob::ClipboardHintText()});
    QVERIFY(m_prompts.messages().isEmpty());
    QVERIFY(m_dialog->isVisible()); // back to editing
    QVERIFY(m_dialog->butSend->isEnabled());
}

void TestMailNetwork::headersCannotBeAdded()
{
    QVERIFY(startServers({QStringLiteral("accept"), QStringLiteral("accept"), QStringLiteral("accept")}));
    EmailTexts texts = testTexts();
    texts.ProductName = QStringLiteral("Reel\r\nX-Injected: subject");
    makeDialog(texts);
    m_dialog->txtName->setText(QStringLiteral("Eve\r\nBcc: victim@example.test\nX-Injected: name"));
    fillAndSend(QStringLiteral("ann@example.test"), false);

    QCOMPARE(m_smtp->messages().size(), 1);
    const QJsonObject mail = m_smtp->messages().first();
    QCOMPARE(mail.value(QStringLiteral("rcpt_tos")).toArray(), QJsonArray{QStringLiteral("bob@friend.test")});
    QStringList names;
    for (const QJsonValue &value : mail.value(QStringLiteral("header_names")).toArray())
        names << value.toString();
    QCOMPARE(names, QStringList({QStringLiteral("Date"), QStringLiteral("Message-ID"), QStringLiteral("From"),
                                 QStringLiteral("To"), QStringLiteral("Subject"), QStringLiteral("MIME-Version"),
                                 QStringLiteral("Content-Type"), QStringLiteral("Content-Transfer-Encoding")}));
    const QJsonObject headers = mail.value(QStringLiteral("headers")).toObject();
    QCOMPARE(headers.value(QStringLiteral("Subject")).toString(),
             QStringLiteral("ReelX-Injected: subject is available for you."));
    QCOMPARE(headers.value(QStringLiteral("From")).toString(),
             QStringLiteral("\"EveBcc: victim@example.testX-Injected: name\" <ann@example.test>"));
}

void TestMailNetwork::silentDnsServerThenNoMailServer()
{
    SilentDnsServer silent;
    QVERIFY(startServers({QStringLiteral("accept"), QStringLiteral("accept"), QStringLiteral("accept")}));
    // The second server is dnsmasq; it knows no mail server for the sender's domain.
    const QStringList servers{silent.address(), m_dns->address()};
    useDnsServers(servers);
    makeDialog();
    m_toClipboard = true;
    m_dialog->memText->setPlainText(QStringLiteral("See <b>this</b>"));
    fillAndSend(QStringLiteral("ann@nomail.test"), true);

    QCOMPARE(m_status->texts, QStringList({QStringLiteral("Building DNS list"), QStringLiteral("1/2 ") + servers.at(0),
                                           QStringLiteral("2/2 ") + servers.at(1), QString()}));
    // The next server is asked after the silent one's ten seconds.
    const qint64 waited = m_status->times.at(2) - m_status->times.at(1);
    QVERIFY2(waited >= 9500 && waited < 20000, qPrintable(QString::number(waited)));
    QCOMPARE(m_failures, QStringList{MailSendJob::DnsNotFoundText()});
    // "To Clipboard": the HTML text with its tags, and the message about it.
    QCOMPARE(QGuiApplication::clipboard()->text(), m_dialog->ComposeMessage());
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("<HTML>\r\n<BODY>")));
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("<PRE>\r\nSee <b>this</b>\r\n</PRE>")));
    QCOMPARE(m_prompts.messages(), QStringList{m_dialog->ClipboardText()});
    QVERIFY(m_smtp->log().isEmpty());
}

void TestMailNetwork::cancelDuringSlowServer()
{
    QVERIFY(startServers({QStringLiteral("slow"), QStringLiteral("accept"), QStringLiteral("accept")}));
    makeDialog();
    const int threadsBefore = threadCount();
    m_dialog->txtYourEmail->setText(QStringLiteral("ann@example.test"));
    m_dialog->txtAddress->setText(QStringLiteral("bob@friend.test"));
    QTest::mouseClick(m_dialog->butSend, Qt::LeftButton);
    // In the slow server's hands: it took MAIL and holds back its answer to RCPT.
    QTRY_COMPARE_WITH_TIMEOUT(m_smtp->log(), QStringList{QStringLiteral("five")}, 15000);
    QTest::qWait(200);
    QVERIFY(m_dialog->Sending());

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(m_dialog->butCancel, Qt::LeftButton);
    const qint64 took = clock.elapsed();
    QVERIFY2(took < 1000, qPrintable(QString::number(took)));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QVERIFY(!m_dialog->Sending());
    QCOMPARE(threadCount(), threadsBefore);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QTest::qWait(300); // nothing more arrives afterwards
    QVERIFY(m_prompts.shown.isEmpty());
    QVERIFY(m_failures.isEmpty());
    QCOMPARE(m_smtp->log(), QStringList{QStringLiteral("five")});
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestMailNetwork test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mail_network.moc"

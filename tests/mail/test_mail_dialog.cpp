#include "controls/TfrmSplash.h"
#include "mail/MailSendJob.h"
#include "mail/TfrmEmail.h"
#include "mail/TfrmSendFailure.h"
#include "platform/Registry.h"

#include "MailTransportDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

EmailTexts testTexts()
{
    return EmailTexts{QStringLiteral("Java Reelcraft"), QStringLiteral("https://dl.example/rc/"),
                      QStringLiteral("a slideshow tool."), QStringLiteral("Slideshows for pages.")};
}

} // namespace

// The tell-a-friend dialog over a scripted network, its failure box and the About hook.
class TestMailDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void textsAfterShowing();
    void tabOrder();
    void sendEnabledWhileAddressTyped_data();
    void sendEnabledWhileAddressTyped();
    void missingTextIsReported_data();
    void missingTextIsReported();
    void sendSteps_data();
    void sendSteps();
    void failureBox_data();
    void failureBox();
    void cancelStopsWorker();
    void aboutAnimationOpensDialog();
    void saveScreenshots();

private:
    void makeDialog(const EmailTexts &texts = testTexts());

    PromptsDouble m_prompts;
    std::unique_ptr<Registry> m_registry;
    std::unique_ptr<MailTransportDouble> m_network;
    std::unique_ptr<TfrmEmail> m_dialog;
    QStringList m_failures;
    bool m_toClipboard = false;
};

void TestMailDialog::init()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("dialog"));
    m_registry = std::make_unique<Registry>(folder + QStringLiteral("/user.json"), folder + QStringLiteral("/machine.json"));
    writeAll(folder + QStringLiteral("/resolv.conf"), "nameserver 192.0.2.1\nnameserver 192.0.2.2\n");
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(folder + QStringLiteral("/resolv.conf")));
    m_prompts.clear();
    m_network = std::make_unique<MailTransportDouble>();
    m_failures.clear();
    m_toClipboard = false;
}

void TestMailDialog::cleanup()
{
    m_dialog.reset();
}

void TestMailDialog::makeDialog(const EmailTexts &texts)
{
    m_dialog = std::make_unique<TfrmEmail>(MailServices{m_prompts, *m_registry, *m_network});
    m_dialog->SetTexts(texts);
    m_dialog->SetFailureBox([this](QWidget *, const QString &text) {
        m_failures << text;
        return m_toClipboard;
    });
    m_dialog->show();
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestMailDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("txtName") << QStringLiteral("txtName") << QRect(7, 107, 383, 22) << QString();
    QTest::newRow("txtYourEmail") << QStringLiteral("txtYourEmail") << QRect(7, 148, 383, 21) << QString();
    QTest::newRow("txtFriendsName") << QStringLiteral("txtFriendsName") << QRect(7, 191, 383, 21) << QString();
    QTest::newRow("txtAddress") << QStringLiteral("txtAddress") << QRect(7, 233, 383, 22) << QString();
    QTest::newRow("memText") << QStringLiteral("memText") << QRect(4, 307, 391, 79) << QString();
    QTest::newRow("Bevel1") << QStringLiteral("Bevel1") << QRect(1, 393, 397, 3) << QString();
    QTest::newRow("chkHTML") << QStringLiteral("chkHTML") << QRect(6, 400, -1, 17) << QStringLiteral("Send Email as HTML");
    QTest::newRow("butSend") << QStringLiteral("butSend") << QRect(229, 403, 75, 25) << QStringLiteral("&Send");
    QTest::newRow("butCancel") << QStringLiteral("butCancel") << QRect(319, 403, 75, 25) << QStringLiteral("&Cancel");
    QTest::newRow("Label3") << QStringLiteral("Label3") << QRect(7, 91, -1, -1) << QStringLiteral("Your Name:");
    QTest::newRow("Label4") << QStringLiteral("Label4") << QRect(7, 135, -1, -1) << QStringLiteral("Your Email Address:");
    QTest::newRow("Label6") << QStringLiteral("Label6") << QRect(7, 178, -1, -1) << QStringLiteral("Your Friends Name:");
    QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(7, 220, -1, -1) << QStringLiteral("Friend's Email Address:");
}

void TestMailDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    makeDialog();
    QCOMPARE(m_dialog->size(), QSize(TfrmEmail::ClientWidth, TfrmEmail::ClientHeight));
    const std::map<QString, QWidget *> widgets{
        {QStringLiteral("txtName"), m_dialog->txtName}, {QStringLiteral("txtYourEmail"), m_dialog->txtYourEmail},
        {QStringLiteral("txtFriendsName"), m_dialog->txtFriendsName}, {QStringLiteral("txtAddress"), m_dialog->txtAddress},
        {QStringLiteral("memText"), m_dialog->memText}, {QStringLiteral("Bevel1"), m_dialog->Bevel1},
        {QStringLiteral("chkHTML"), m_dialog->chkHTML}, {QStringLiteral("butSend"), m_dialog->butSend},
        {QStringLiteral("butCancel"), m_dialog->butCancel}, {QStringLiteral("Label3"), m_dialog->Label3},
        {QStringLiteral("Label4"), m_dialog->Label4}, {QStringLiteral("Label6"), m_dialog->Label6},
        {QStringLiteral("Label1"), m_dialog->Label1}};
    QWidget *widget = widgets.at(name);
    if (geometry.width() > 0)
        QCOMPARE(widget->geometry(), geometry);
    else
        QCOMPARE(widget->pos(), geometry.topLeft());
    // Every text fits its control; the check box may grow for it, not into Send.
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), text);
        QVERIFY(label->sizeHint().width() <= label->width());
    } else if (auto *check = qobject_cast<QCheckBox *>(widget)) {
        QCOMPARE(check->text(), text);
        QVERIFY(check->sizeHint().width() <= check->width());
        QVERIFY(check->width() >= 118 && check->geometry().right() < m_dialog->butSend->x());
    } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), text);
        QVERIFY(button->fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&'))) + 10 <= button->width());
    }
}

void TestMailDialog::textsAfterShowing()
{
    EmailTexts texts = testTexts();
    texts.ProductName = QStringLiteral("Reel & Co");
    makeDialog(texts);
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Email Reel & Co to a Friend"));
    QCOMPARE(m_dialog->lblHeading->text(), QStringLiteral("Think your friends would like Reel & Co too? "));
    QCOMPARE(m_dialog->lblHeading2->text(),
             QStringLiteral("Simply fill in the form below and press Send. Reel & Co will send an email to your friend "
                            "which contains an HTML link to download Reel & Co. This makes it easy for your friend to "
                            "download and use Reel & Co."));
    QCOMPARE(m_dialog->lblHeading3->text(),
             QStringLiteral("You can also add a personalized message to your friend about how cool Reel & Co is."));
    QCOMPARE(m_dialog->Subject(), QStringLiteral("Reel & Co is available for you."));
    QVERIFY(m_prompts.shown.isEmpty());
    QVERIFY(!m_dialog->butSend->isEnabled());
    QVERIFY(!m_dialog->chkHTML->isChecked());
    QVERIFY(m_dialog->butCancel->isDefault());
    QVERIFY(m_dialog->lblStatus->text().isEmpty());
    // The headings' wrapped lines fit their labels.
    for (QLabel *label : {m_dialog->lblHeading2, m_dialog->lblHeading3})
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
}

void TestMailDialog::tabOrder()
{
    makeDialog();
    m_dialog->txtAddress->setText(QStringLiteral("x")); // Send takes focus only when enabled
    QCOMPARE(QApplication::focusWidget(), m_dialog->txtAddress);
    const QList<QWidget *> expected{m_dialog->memText, m_dialog->butSend, m_dialog->butCancel, m_dialog->txtName,
                                    m_dialog->chkHTML, m_dialog->txtYourEmail, m_dialog->txtFriendsName,
                                    m_dialog->txtAddress};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestMailDialog::sendEnabledWhileAddressTyped_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("name") << 0 << false;
    QTest::newRow("own address") << 1 << false;
    QTest::newRow("friend's name") << 2 << false;
    QTest::newRow("friend's address") << 3 << true;
}

void TestMailDialog::sendEnabledWhileAddressTyped()
{
    QFETCH(int, edit);
    QFETCH(bool, enabled);
    makeDialog();
    QLineEdit *edits[] = {m_dialog->txtName, m_dialog->txtYourEmail, m_dialog->txtFriendsName, m_dialog->txtAddress};
    QTest::keyClicks(edits[edit], QStringLiteral("a@b"));
    QCOMPARE(m_dialog->butSend->isEnabled(), enabled);
    edits[edit]->clear();
    QVERIFY(!m_dialog->butSend->isEnabled());
}

void TestMailDialog::missingTextIsReported_data()
{
    QTest::addColumn<int>("empty");
    for (int field = 0; field < 4; ++field)
        QTest::addRow("field %d", field) << field;
}

void TestMailDialog::missingTextIsReported()
{
    QFETCH(int, empty);
    EmailTexts texts = testTexts();
    QString *fields[] = {&texts.ProductName, &texts.DownloadAddress, &texts.ShortDescription, &texts.LongDescription};
    fields[empty]->clear();
    makeDialog(texts);
    QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::MissingTextsText()});
    QVERIFY(m_dialog->isVisible()); // and carries on
}

void TestMailDialog::sendSteps_data()
{
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("failure");

    const QString hint = QStringLiteral("\r\n") + MailSendJob::ClipboardHintText();
    const QString mx1 = QStringLiteral("mx 192.0.2.1 dom.test 10");
    const QString mx2 = QStringLiteral("mx 192.0.2.2 dom.test 10");
    auto send = [](const char *host) { return QStringLiteral("send %1 via 192.0.2.2 7").arg(QLatin1String(host)); };

    QTest::newRow("network unusable") << false << QStringList() << QStringList() << MailSendJob::WinsockErrorText();
    QTest::newRow("first server sends") << true << QStringList() << QStringList{mx1, mx2, send("a.test")} << QString();
    QTest::newRow("third server sends") << true << QStringList{QStringLiteral("a.test"), QStringLiteral("b.test")}
                                        << QStringList{mx1, mx2, send("a.test"), send("b.test"), send("c.test")}
                                        << QString();
    QTest::newRow("all fail") << true
                              << QStringList{QStringLiteral("a.test"), QStringLiteral("b.test"), QStringLiteral("c.test")}
                              << QStringList{mx1, mx2, send("a.test"), send("b.test"), send("c.test")}
                              << QStringLiteral("error at c.test") + hint;
}

void TestMailDialog::sendSteps()
{
    QFETCH(bool, loads);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, calls);
    QFETCH(QString, failure);
    m_network->loads = loads;
    m_network->records.insert(QStringLiteral("192.0.2.2"), {{20, QStringLiteral("c.test")}, {5, QStringLiteral("a.test")},
                                                              {10, QStringLiteral("b.test")}});
    for (const QString &host : failing)
        m_network->failures.insert(host, QStringLiteral("error at ") + host);
    makeDialog();
    m_dialog->txtYourEmail->setText(QStringLiteral("ann@dom.test"));
    m_dialog->txtAddress->setText(QStringLiteral("bob@friend.test"));
    m_dialog->butSend->click();
    QTRY_VERIFY(!m_dialog->Sending());

    QCOMPARE(m_network->calls(), calls);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(m_dialog->lblStatus->text().isEmpty());
    if (failure.isEmpty()) {
        QVERIFY(m_failures.isEmpty());
        QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::SuccessText()});
        QCOMPARE(m_prompts.shown.first().kind, Prompts::Kind::Information);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(!m_dialog->isVisible());
        const OutgoingMail mail = m_network->sent().first();
        QCOMPARE(mail.fromAddress, QStringLiteral("ann@dom.test"));
        QVERIFY(mail.fromName.isEmpty()); // as typed, though the message says "A friend"
        QVERIFY(mail.body.contains(QStringLiteral("\r\nA friend wanted to let you know about ")));
        QCOMPARE(mail.toAddress, QStringLiteral("bob@friend.test"));
        QCOMPARE(mail.subject, QStringLiteral("Java Reelcraft is available for you."));
        return;
    }
    QCOMPARE(m_failures, QStringList{failure});
    QVERIFY(m_prompts.shown.isEmpty()); // "&Close": back to the dialog with its entries
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->txtAddress->text(), QStringLiteral("bob@friend.test"));
    QVERIFY(m_dialog->butSend->isEnabled());
}

void TestMailDialog::failureBox_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");
    QTest::newRow("To Clipboard") << QStringLiteral("clipboard") << int(QDialog::Accepted);
    QTest::newRow("Close") << QStringLiteral("close") << int(QDialog::Rejected);
    QTest::newRow("Enter") << QStringLiteral("enter") << int(QDialog::Rejected);
    QTest::newRow("Escape") << QStringLiteral("escape") << int(QDialog::Rejected);
}

void TestMailDialog::failureBox()
{
    QFETCH(QString, action);
    QFETCH(int, result);
    TfrmSendFailure box(QStringLiteral("first line\r\n") + MailSendJob::ClipboardHintText());
    box.open();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), QStringLiteral("An error has occurred"));
    QCOMPARE(box.lblError->text(), QStringLiteral("first line\n") + MailSendJob::ClipboardHintText());
    QVERIFY(box.lblError->heightForWidth(box.lblError->width()) <= box.lblError->height());
    QCOMPARE(box.butClipboard->text(), QStringLiteral("To Clipboard"));
    QCOMPARE(box.butClose->text(), QStringLiteral("&Close"));
    QCOMPARE(box.width(), 374);
    QCOMPARE(box.butClose->geometry().bottom() + 4, box.height() - 1);
    QVERIFY(box.butClose->isDefault());
    QCOMPARE(QApplication::focusWidget(), box.butClipboard);
    if (action == QLatin1String("clipboard"))
        box.butClipboard->click();
    else if (action == QLatin1String("close"))
        box.butClose->click();
    else
        QTest::keyClick(&box, action == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Escape);
    QCOMPARE(box.result(), result);
    QVERIFY(!box.isVisible());

    // The dialog's answer to "To Clipboard": the plain text on the clipboard, and a message.
    if (result == QDialog::Accepted) {
        m_toClipboard = true;
        makeDialog();
        m_dialog->txtFriendsName->setText(QStringLiteral("Bob"));
        m_dialog->txtAddress->setText(QStringLiteral("bob@friend.test"));
        m_dialog->butSend->click();
        QTRY_VERIFY(!m_dialog->Sending());
        QCOMPARE(m_failures, QStringList{MailSendJob::DnsNotFoundText()});
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("Hello Bob, \r\nA friend wanted")));
        QCOMPARE(m_prompts.messages(),
                 QStringList{QStringLiteral("The message about Java Reelcraft has been placed in the clipboard.  You can "
                                            "now paste it into your regular email software and send it to your friend.")});
    }
}

void TestMailDialog::cancelStopsWorker()
{
    m_network->records.insert(QStringLiteral("192.0.2.1"), {{5, QStringLiteral("slow.test")}});
    m_network->failures.insert(QStringLiteral("slow.test"), QStringLiteral("block"));
    makeDialog();
    m_dialog->txtAddress->setText(QStringLiteral("bob@friend.test"));
    m_dialog->butSend->click();
    QTRY_COMPARE(m_network->calls().size(), 2);
    QVERIFY(m_dialog->Sending());
    QVERIFY(!m_dialog->butSend->isEnabled());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(m_dialog->txtAddress, Qt::Key_Return); // the default button is Cancel
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!m_dialog->Sending());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QTest::qWait(50);
    QVERIFY(m_prompts.shown.isEmpty() && m_failures.isEmpty());
}

void TestMailDialog::aboutAnimationOpensDialog()
{
    const MailServices services{m_prompts, *m_registry, *m_network};
    QPointer<TfrmEmail> opened;
    QString openedOver;
    bool aboutOpenAfter = false;
    TfrmSplash::ShowAbout(
        nullptr,
        [&](TfrmSplash &about) {
            QTimer::singleShot(50, &about, [&] {
                QTest::mouseClick(about.aniEmailAFriend, Qt::LeftButton, {}, QPoint(40, 14));
            });
            // Once the dialog runs over the About box, close it; the About box stays.
            auto *poll = new QTimer(&about);
            connect(poll, &QTimer::timeout, &about, [&, poll] {
                if (auto *dialog = qobject_cast<TfrmEmail *>(QApplication::activeModalWidget())) {
                    opened = dialog;
                    openedOver = QString::fromLatin1(dialog->parentWidget()->metaObject()->className());
                    QCOMPARE(dialog->windowTitle(), QStringLiteral("Email Java Reelcraft to a Friend"));
                    QCOMPARE(dialog->Texts().LongDescription, TfrmSplash::LongDescription());
                    dialog->butCancel->click();
                } else if (opened.isNull() && !openedOver.isEmpty()) {
                    poll->stop();
                    aboutOpenAfter = about.isVisible();
                    QTest::keyClick(&about, Qt::Key_Escape);
                }
            });
            poll->start(20);
        },
        &services);
    QCOMPARE(openedOver, QStringLiteral("TfrmSplash"));
    QVERIFY(aboutOpenAfter);
    QVERIFY(m_prompts.shown.isEmpty());
}

void TestMailDialog::saveScreenshots()
{
    const QString folder = qEnvironmentVariable("REELCRAFT_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("REELCRAFT_SHOT_DIR not set");
    makeDialog();
    m_dialog->txtName->setText(QStringLiteral("Ann Example"));
    m_dialog->txtYourEmail->setText(QStringLiteral("ann@example.com"));
    m_dialog->txtFriendsName->setText(QStringLiteral("Bob"));
    m_dialog->txtAddress->setText(QStringLiteral("bob@example.org"));
    m_dialog->memText->setPlainText(QStringLiteral("Have a look at this one!"));
    m_dialog->ShowStatus(QStringLiteral("Sending through mail.example.com"));
    QVERIFY(m_dialog->grab().save(folder + QStringLiteral("/email.png")));
    TfrmSendFailure box(QStringLiteral("The mail server mx20.example.test refused the message: 554 5.7.1 Refused by "
                                       "twenty\r\n")
                        + MailSendJob::ClipboardHintText());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.grab().save(folder + QStringLiteral("/failure.png")));
    TfrmSendFailure dns(MailSendJob::DnsNotFoundText());
    dns.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dns));
    QVERIFY(dns.grab().save(folder + QStringLiteral("/failure-dns.png")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestMailDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mail_dialog.moc"

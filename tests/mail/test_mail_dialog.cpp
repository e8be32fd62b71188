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
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

// The tell-a-friend dialog over a scripted network, its failure box and the About hook.
// Sending over real servers is test_mail_network.
class TestMailDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void controls();
    void textsAfterShowing();
    void tabOrder();
    void sendEnabledWhileAddressTyped();
    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
    void missingTextIsReported_data();
    void missingTextIsReported();
    void networkUnusable();
    void failureBox_data();
    void failureBox();
    void aboutAnimationOpensDialog();
    void saveScreenshots();

private:
    void makeDialog(const QString &product = u"Java Reelcraft"_s, int emptyText = -1);

    PromptsDouble m_prompts;
    std::unique_ptr<Registry> m_registry;
    std::unique_ptr<MailTransportDouble> m_network;
    std::unique_ptr<TfrmEmail> m_dialog;
    QStringList m_failures;
    bool m_toClipboard = false;
};

void TestMailDialog::init()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"dialog"_s);
    m_registry = std::make_unique<Registry>(folder + u"/user.json"_s, folder + u"/machine.json"_s);
    writeAll(folder + u"/resolv.conf"_s, "nameserver 192.0.2.1\nnameserver 192.0.2.2\n");
    qputenv("REELCRAFT_RESOLV_CONF", QFile::encodeName(folder + u"/resolv.conf"_s));
    m_prompts.clear();
    m_network = std::make_unique<MailTransportDouble>();
    m_failures.clear();
    m_dialog.reset();
}

void TestMailDialog::makeDialog(const QString &product, int emptyText)
{
    EmailTexts texts{product, u"https://dl.example/rc/"_s, u"a slideshow tool."_s, u"Slideshows for pages."_s};
    QString *fields[] = {&texts.ProductName, &texts.DownloadAddress, &texts.ShortDescription, &texts.LongDescription};
    if (emptyText >= 0)
        fields[emptyText]->clear();
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

void TestMailDialog::controls()
{
    makeDialog();
    const TfrmEmail &d = *m_dialog;
    QCOMPARE(d.size(), QSize(399, 434));
    const QList<std::pair<QWidget *, QRect>> placed{
        {d.txtName, {7, 107, 383, 22}},    {d.txtYourEmail, {7, 148, 383, 21}}, {d.txtFriendsName, {7, 191, 383, 21}},
        {d.txtAddress, {7, 233, 383, 22}}, {d.memText, {4, 307, 391, 79}},      {d.Bevel1, {1, 393, 397, 3}},
        {d.butSend, {229, 403, 75, 25}},   {d.butCancel, {319, 403, 75, 25}},   {d.lblHeading, {8, 5, 378, 14}},
        {d.lblHeading2, {8, 24, 379, 61}}, {d.lblHeading3, {8, 272, 383, 31}}};
    for (const auto &[widget, geometry] : placed)
        QCOMPARE(widget->geometry(), geometry);
    const QList<std::tuple<QLabel *, QPoint, QString>> labels{{d.Label3, {7, 91}, u"Your Name:"_s},
                                                              {d.Label4, {7, 135}, u"Your Email Address:"_s},
                                                              {d.Label6, {7, 178}, u"Your Friends Name:"_s},
                                                              {d.Label1, {7, 220}, u"Friend's Email Address:"_s}};
    for (const auto &[label, at, text] : labels) {
        QCOMPARE(label->pos(), at);
        QCOMPARE(label->text(), text);
        QVERIFY(label->sizeHint().width() <= label->width());
    }
    // Texts fit: the check box grows for its text if need be, short of Send.
    QCOMPARE(d.chkHTML->text(), u"Send Email as HTML"_s);
    QCOMPARE(d.chkHTML->pos(), QPoint(6, 400));
    QVERIFY(d.chkHTML->sizeHint().width() <= d.chkHTML->width() && d.chkHTML->width() >= 118);
    QVERIFY(d.chkHTML->geometry().right() < d.butSend->x());
    QCOMPARE(d.butSend->text(), u"&Send"_s);
    QCOMPARE(d.butCancel->text(), u"&Cancel"_s);
    for (QLabel *label : {d.lblHeading2, d.lblHeading3})
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
    QVERIFY(d.butCancel->isDefault() && !d.butSend->isEnabled() && !d.chkHTML->isChecked());
    QCOMPARE(d.memText->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestMailDialog::textsAfterShowing()
{
    makeDialog(u"Reel & Co"_s);
    QCOMPARE(m_dialog->windowTitle(), u"Email Reel & Co to a Friend"_s);
    QCOMPARE(m_dialog->lblHeading->text(), u"Think your friends would like Reel & Co too? "_s);
    QCOMPARE(m_dialog->lblHeading2->text(),
             QStringLiteral("Simply fill in the form below and press Send. Reel & Co will send an email to your friend "
                            "which contains an HTML link to download Reel & Co. This makes it easy for your friend to "
                            "download and use Reel & Co."));
    QCOMPARE(m_dialog->lblHeading3->text(),
             u"You can also add a personalized message to your friend about how cool Reel & Co is."_s);
    QCOMPARE(m_dialog->Subject(), u"Reel & Co is available for you."_s);
    QVERIFY(m_prompts.shown.isEmpty());
}

void TestMailDialog::tabOrder()
{
    makeDialog();
    m_dialog->txtAddress->setText(u"x"_s); // Send takes focus only when enabled
    QCOMPARE(QApplication::focusWidget(), m_dialog->txtAddress);
    for (QWidget *next :
         {static_cast<QWidget *>(m_dialog->memText), static_cast<QWidget *>(m_dialog->butSend),
          static_cast<QWidget *>(m_dialog->butCancel), static_cast<QWidget *>(m_dialog->txtName),
          static_cast<QWidget *>(m_dialog->chkHTML), static_cast<QWidget *>(m_dialog->txtYourEmail),
          static_cast<QWidget *>(m_dialog->txtFriendsName), static_cast<QWidget *>(m_dialog->txtAddress)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestMailDialog::sendEnabledWhileAddressTyped()
{
    makeDialog();
    for (QLineEdit *edit : {m_dialog->txtName, m_dialog->txtYourEmail, m_dialog->txtFriendsName})
        QTest::keyClicks(edit, u"a@b"_s);
    QVERIFY(!m_dialog->butSend->isEnabled());
    QTest::keyClicks(m_dialog->txtAddress, u"b"_s);
    QVERIFY(m_dialog->butSend->isEnabled());
    QTest::keyClick(m_dialog->txtAddress, Qt::Key_Backspace);
    QVERIFY(!m_dialog->butSend->isEnabled());
}

void TestMailDialog::enterPressesFocusedButton_data()
{
    QTest::addColumn<int>("tabs"); // from the friend's address
    QTest::addColumn<bool>("sends");
    QTest::newRow("address edit: Cancel") << 0 << false;
    QTest::newRow("Send") << 2 << true;
    QTest::newRow("Cancel") << 3 << false;
    QTest::newRow("name edit: Cancel") << 4 << false;
}

void TestMailDialog::enterPressesFocusedButton()
{
    QFETCH(int, tabs);
    QFETCH(bool, sends);
    makeDialog();
    QTest::keyClicks(QApplication::focusWidget(), u"bob@friend.test"_s);
    for (int n = 0; n < tabs; ++n)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    if (sends) {
        QTRY_COMPARE(m_failures, QStringList{MailSendJob::DnsNotFoundText()});
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->txtAddress->text(), u"bob@friend.test"_s);
    } else {
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible() && m_failures.isEmpty());
    }
}

void TestMailDialog::missingTextIsReported_data()
{
    QTest::addColumn<int>("empty");
    for (int field = 0; field < 4; ++field)
        QTest::addRow("text %d", field) << field;
}

void TestMailDialog::missingTextIsReported()
{
    QFETCH(int, empty);
    makeDialog(u"P"_s, empty);
    QCOMPARE(m_prompts.messages(), QStringList{TfrmEmail::MissingTextsText()});
    QVERIFY(m_dialog->isVisible()); // and carries on
}

void TestMailDialog::networkUnusable()
{
    m_network->loads = false;
    makeDialog();
    m_dialog->txtAddress->setText(u"bob@friend.test"_s);
    m_dialog->butSend->click();
    QVERIFY(!m_dialog->Sending());
    QCOMPARE(m_failures, QStringList{MailSendJob::WinsockErrorText()});
    QVERIFY(m_network->calls.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(m_dialog->isVisible() && m_prompts.shown.isEmpty()); // "&Close": back to the dialog
    QCOMPARE(m_dialog->txtAddress->text(), u"bob@friend.test"_s);
}

void TestMailDialog::failureBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closeFocused");
    QTest::addColumn<int>("result");
    QTest::newRow("To Clipboard") << 0 << false << int(QDialog::Accepted);
    QTest::newRow("Close") << 1 << false << int(QDialog::Rejected);
    QTest::newRow("Enter on To Clipboard") << int(Qt::Key_Return) << false << int(QDialog::Accepted);
    QTest::newRow("Enter on Close") << int(Qt::Key_Enter) << true << int(QDialog::Rejected);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false << int(QDialog::Rejected);
}

void TestMailDialog::failureBox()
{
    QFETCH(int, key);
    QFETCH(bool, closeFocused);
    QFETCH(int, result);
    TfrmSendFailure box(u"first line\r\n"_s + MailSendJob::ClipboardHintText());
    box.open();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), u"An error has occurred"_s);
    QCOMPARE(box.lblError->text(), u"first line\n"_s + MailSendJob::ClipboardHintText());
    QVERIFY(box.lblError->heightForWidth(box.lblError->width()) <= box.lblError->height()); // it grew to fit
    QCOMPARE(box.butClipboard->text(), u"To Clipboard"_s);
    QCOMPARE(box.butClose->text(), u"&Close"_s);
    QCOMPARE(box.width(), 374);
    QCOMPARE(box.height() - box.butClose->geometry().bottom(), 101 - 97 + 1);
    QVERIFY(box.butClipboard->isDefault()); // focused, it answers Enter in place of Close
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QCOMPARE(QApplication::focusWidget(), box.butClipboard);
    if (closeFocused)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    if (key == 0)
        box.butClipboard->click();
    else if (key == 1)
        box.butClose->click();
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(box.result(), result);
    QVERIFY(!box.isVisible());
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
            QTimer::singleShot(50, &about,
                               [&] { QTest::mouseClick(about.aniEmailAFriend, Qt::LeftButton, {}, QPoint(40, 14)); });
            // Once the dialog runs over the About box, close it; then the About box.
            auto *poll = new QTimer(&about);
            connect(poll, &QTimer::timeout, &about, [&, poll] {
                if (auto *dialog = qobject_cast<TfrmEmail *>(QApplication::activeModalWidget())) {
                    opened = dialog;
                    openedOver = QString::fromLatin1(dialog->parentWidget()->metaObject()->className());
                    QCOMPARE(dialog->windowTitle(), u"Email Java Reelcraft to a Friend"_s);
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
    QCOMPARE(openedOver, u"TfrmSplash"_s);
    QVERIFY(aboutOpenAfter);
    QVERIFY(m_prompts.shown.isEmpty());
}

void TestMailDialog::saveScreenshots()
{
    const QString folder = qEnvironmentVariable("REELCRAFT_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("REELCRAFT_SHOT_DIR not set");
    makeDialog();
    m_dialog->txtAddress->setText(u"bob@example.org"_s);
    m_dialog->ShowStatus(u"Sending through mail.example.com"_s);
    QVERIFY(m_dialog->grab().save(folder + u"/email.png"_s));
    TfrmSendFailure box(u"The mail server mx20.example.test refused the message: 554 Refused\r\n"_s
                        + MailSendJob::ClipboardHintText());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box) && box.grab().save(folder + u"/failure.png"_s));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestMailDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mail_dialog.moc"


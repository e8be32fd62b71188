#include "mail/TfrmEmail.h"

#include "controls/BusyCursor.h"
#include "mail/MailSendJob.h"
#include "mail/MailServers.h"
#include "mail/TfrmSendFailure.h"
#include "platform/Prompts.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral("Email apptitle to a Friend");
const QString Heading = QStringLiteral("Think your friends would like apptitle too? ");
const QString Heading2 = QStringLiteral(
    "Simply fill in the form below and press Send. apptitle will send an email to your friend which contains an "
    "HTML link to download apptitle. This makes it easy for your friend to download and use apptitle.");
const QString Heading3 =
    QStringLiteral("You can also add a personalized message to your friend about how cool apptitle is.");

QLabel *makeLabel(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit *makeEdit(QWidget *parent, const QRect &geometry)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

} // namespace

TfrmEmail::TfrmEmail(const MailServices &services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_services(services),
      m_failureBox(&TfrmSendFailure::Ask)
{
    setWindowTitle(Caption);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    setFont(font);
    setFixedSize(ClientWidth, ClientHeight);

    lblHeading = new QLabel(Heading, this);
    lblHeading->setGeometry(8, 5, 378, 14);
    lblHeading2 = new QLabel(Heading2, this);
    lblHeading2->setGeometry(8, 24, 379, 61);
    lblHeading2->setWordWrap(true);
    lblHeading2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label3 = makeLabel(this, QStringLiteral("Your Name:"), 7, 91);
    txtName = makeEdit(this, QRect(7, 107, 383, 22));
    Label4 = makeLabel(this, QStringLiteral("Your Email Address:"), 7, 135);
    txtYourEmail = makeEdit(this, QRect(7, 148, 383, 21));
    Label6 = makeLabel(this, QStringLiteral("Your Friends Name:"), 7, 178);
    txtFriendsName = makeEdit(this, QRect(7, 191, 383, 21));
    Label1 = makeLabel(this, QStringLiteral("Friend's Email Address:"), 7, 220);
    txtAddress = makeEdit(this, QRect(7, 233, 383, 22));

    lblHeading3 = new QLabel(Heading3, this);
    lblHeading3->setGeometry(8, 272, 383, 31);
    lblHeading3->setWordWrap(true);
    lblHeading3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    memText = new QPlainTextEdit(this);
    memText->setGeometry(4, 307, 391, 79);
    memText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memText->setTabChangesFocus(true);

    Bevel1 = new QFrame(this);
    Bevel1->setGeometry(1, 393, 397, 3);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    chkHTML = new QCheckBox(QStringLiteral("Send Email as HTML"), this);
    // Wider than its usual 118 pixels when the platform's font needs it, short of Send.
    chkHTML->setGeometry(6, 400, std::clamp(chkHTML->sizeHint().width(), 118, 218), 17);
    butSend = new QPushButton(QStringLiteral("&Send"), this);
    butSend->setGeometry(229, 403, 75, 25);
    // Enter presses Send while it has the focus, Cancel (the default) elsewhere.
    butSend->setAutoDefault(true);
    butSend->setEnabled(false);
    butCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    butCancel->setGeometry(319, 403, 75, 25);
    butCancel->setDefault(true);

    // The status line runs under the check box up to the buttons.
    lblStatus = new QLabel(this);
    lblStatus->setGeometry(7, 418, 218, 14);

    // Tab order: the friend's address first, then message, Send, Cancel, name, HTML, own
    // address and the friend's name.
    QWidget::setTabOrder(txtAddress, memText);
    QWidget::setTabOrder(memText, butSend);
    QWidget::setTabOrder(butSend, butCancel);
    QWidget::setTabOrder(butCancel, txtName);
    QWidget::setTabOrder(txtName, chkHTML);
    QWidget::setTabOrder(chkHTML, txtYourEmail);
    QWidget::setTabOrder(txtYourEmail, txtFriendsName);
    txtAddress->setFocus();

    for (QLineEdit *edit : {txtName, txtYourEmail, txtFriendsName, txtAddress})
        connect(edit, &QLineEdit::textChanged, this, &TfrmEmail::updateSend);
    connect(butSend, &QPushButton::clicked, this, &TfrmEmail::butSendClick);
    connect(butCancel, &QPushButton::clicked, this, &TfrmEmail::butCancelClick);

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(ClientWidth / 2, ClientHeight / 2));
}

TfrmEmail::~TfrmEmail()
{
    stopSending();
}

int TfrmEmail::Run(QWidget *parent, const MailServices &services, const EmailTexts &texts)
{
    TfrmEmail dialog(services, parent);
    dialog.SetTexts(texts);
    return dialog.exec();
}

void TfrmEmail::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TfrmEmail::FormShow()
{
    if (!m_texts.complete())
        m_services.prompts.message(MissingTextsText(), Prompts::Kind::Error);
    setWindowTitle(WithProductName(Caption, m_texts));
    lblHeading->setText(WithProductName(Heading, m_texts));
    lblHeading2->setText(WithProductName(Heading2, m_texts));
    lblHeading3->setText(WithProductName(Heading3, m_texts));
    m_subject = MessageSubject(m_texts);
}

void TfrmEmail::updateSend()
{
    // Not while a send is under way: one message per click.
    butSend->setEnabled(!txtAddress->text().isEmpty() && !m_job);
}

void TfrmEmail::ShowStatus(const QString &text)
{
    lblStatus->setText(text);
    lblStatus->repaint();
}

QString TfrmEmail::ComposeMessage() const
{
    return ::ComposeMessage(m_texts, EmailEntries{txtName->text(), txtFriendsName->text(), memText->toPlainText(),
                                                  chkHTML->isChecked()});
}

QString TfrmEmail::ClipboardText() const
{
    return QStringLiteral("The message about ") + m_texts.ProductName
        + QStringLiteral(" has been placed in the clipboard.  You can now paste it into your regular email software "
                         "and send it to your friend.");
}

void TfrmEmail::butSendClick()
{
    if (m_job || txtAddress->text().isEmpty())
        return;
    if (!m_services.transport.load()) {
        showFailure(MailSendJob::WinsockErrorText());
        return;
    }
    SetBusyCursor(true);
    ShowStatus(QStringLiteral("Building DNS list"));

    OutgoingMail mail;
    mail.fromAddress = txtYourEmail->text();
    mail.fromName = txtName->text();
    mail.toAddress = txtAddress->text();
    mail.subject = m_subject;
    mail.body = ComposeMessage();
    mail.html = chkHTML->isChecked();

    m_job = std::make_unique<MailSendJob>(m_services.transport, LocalDnsServers(m_services.registry), mail);
    const int number = ++m_jobNumber;
    // Signals queued before a cancel may still arrive; they count only for the running job.
    connect(m_job.get(), &MailSendJob::status, this, [this, number](const QString &text) {
        if (m_job && m_jobNumber == number)
            ShowStatus(text);
    });
    connect(m_job.get(), &MailSendJob::finished, this, [this, number](bool sent, const QString &errorText) {
        if (m_job && m_jobNumber == number)
            sendFinished(sent, errorText);
    });
    updateSend();
    m_job->start();
}

void TfrmEmail::stopSending()
{
    if (!m_job)
        return;
    // Stops the work unless the message is sent, and never waits for it.
    m_job.reset();
    ShowStatus(QString());
    SetBusyCursor(false);
}

void TfrmEmail::sendFinished(bool sent, const QString &errorText)
{
    stopSending();
    updateSend();
    if (sent) {
        m_services.prompts.message(SuccessText(), Prompts::Kind::Information);
        accept();
        return;
    }
    showFailure(errorText);
}

void TfrmEmail::showFailure(const QString &errorText)
{
    if (!m_failureBox(this, errorText))
        return;
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(ComposeMessage());
    m_services.prompts.message(ClipboardText(), Prompts::Kind::Information);
}

void TfrmEmail::butCancelClick()
{
    reject();
}

void TfrmEmail::reject()
{
    stopSending();
    QDialog::reject();
}

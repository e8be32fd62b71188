#pragma once

#include "mail/EmailComposer.h"
#include "mail/MailServices.h"

#include <QDialog>

#include <functional>
#include <memory>

class MailSendJob;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The tell-a-friend dialog: the user names a friend and sends them a message that
// recommends the product and links to its download page. The mail goes through a mail
// server of the sender's own domain, found by asking the computer's DNS servers; the
// network work runs on a worker, so the dialog stays responsive and Cancel stops it at
// once. When sending fails the message can go to the clipboard instead.
class TfrmEmail : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 399;
    static constexpr int ClientHeight = 434;

    explicit TfrmEmail(const MailServices &services, QWidget *parent = nullptr);
    ~TfrmEmail() override;

    // The four texts about the product; set before the dialog is shown.
    void SetTexts(const EmailTexts &texts) { m_texts = texts; }
    const EmailTexts &Texts() const { return m_texts; }
    QString Subject() const { return m_subject; }

    // The failure box: true when the user chose "To Clipboard". TfrmSendFailure::Ask unless
    // replaced (tests answer without a modal box).
    using FailureBox = std::function<bool(QWidget *parent, const QString &errorText)>;
    void SetFailureBox(FailureBox box) { m_failureBox = std::move(box); }

    // The dialog with the texts, shown modally over parent until closed.
    static int Run(QWidget *parent, const MailServices &services, const EmailTexts &texts);

    QLabel *lblHeading = nullptr;
    QLabel *lblHeading2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtName = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtYourEmail = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *txtFriendsName = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtAddress = nullptr;
    QLabel *lblHeading3 = nullptr;
    QPlainTextEdit *memText = nullptr;
    QFrame *Bevel1 = nullptr;
    QCheckBox *chkHTML = nullptr;
    QPushButton *butSend = nullptr;
    QPushButton *butCancel = nullptr;
    QLabel *lblStatus = nullptr;

    void ShowStatus(const QString &text);
    // The message as the user's entries make it now.
    QString ComposeMessage() const;
    bool Sending() const { return m_job != nullptr; }

    void butSendClick();
    void butCancelClick();

    static QString SuccessText() { return QStringLiteral("The email was successfully sent."); }
    static QString MissingTextsText()
    {
        return QStringLiteral("Internal Error: All the customization fields must be supplied by the programmer !");
    }
    QString ClipboardText() const;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void updateSend();
    void sendFinished(bool sent, const QString &errorText);
    void stopSending();
    void showFailure(const QString &errorText);

    MailServices m_services;
    EmailTexts m_texts;
    QString m_subject;
    bool m_shownOnce = false;
    FailureBox m_failureBox;
    std::unique_ptr<MailSendJob> m_job;
    int m_jobNumber = 0;
};

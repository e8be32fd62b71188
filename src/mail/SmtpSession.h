#pragma once

#include "mail/MailTransport.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <optional>

// One message through one mail server. The connection is made here, to the addresses
// given (the system resolver is never asked); libcurl then greets the server and turns
// on TLS when the server offers STARTTLS (encrypted without verifying the certificate,
// as between mail servers); the envelope, the message and the goodbye follow over that
// connection. Every wait is bounded and checks cancel every 50 ms.
namespace SmtpSession {

struct Request
{
    QString host;
    int port = 25;
    QStringList addresses;
    QString from;       // envelope sender
    QString to;         // the one recipient
    QByteArray message; // headers and body, lines ending in CR LF
    int connectMs = 7000; // for all the addresses together
    int replyMs = 60000;  // for each reply of the server
    int quitMs = 2000;    // for the answer to QUIT, once the message is taken
};

// No value on success, else a message naming the server and what went wrong (the server's
// own reply when it refused). accepted is called on the reply to the message's final ".",
// before the goodbye.
std::optional<QString> send(const Request &request, const CancelFlag &cancel, const std::function<void()> &accepted);

} // namespace SmtpSession

#pragma once

#include "mail/MailTransport.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// Transfers with libcurl, each bounded by a time-out and stopped within 50 ms once cancel
// is set.
namespace CurlTransfer {

// Readies libcurl once for the whole program; false when it cannot be used.
bool initialise();

// The document at an http or https address; empty on any failure or an answer over 64 KiB.
QByteArray fetch(const QString &url, const QString &userAgent, int timeoutMs, const CancelFlag &cancel);

struct SmtpSend
{
    QString host;
    int port = 25;
    QStringList addresses; // where host is; the system resolver is never asked
    QString from;          // envelope sender
    QString to;            // the one recipient
    QByteArray message;    // headers and body, lines ending in CR LF
    int timeoutMs = 7000;
};

// Sends by SMTP, with STARTTLS when the server offers it. No value on success, else a
// message naming the server and what went wrong (the server's own reply when it refused).
std::optional<QString> send(const SmtpSend &mail, const CancelFlag &cancel);

} // namespace CurlTransfer

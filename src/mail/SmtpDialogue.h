#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The texts of an SMTP conversation, apart from any connection.

// One reply: its three-digit code (0 when the server sent something else) and its last line.
struct SmtpReply
{
    int code = 0;
    QByteArray text;
};

// The first whole reply at the front of buffer, taken out of it; none while a line of it
// is still missing. Continuation lines ("250-...") belong to the reply.
std::optional<SmtpReply> TakeSmtpReply(QByteArray &buffer);

// The message as it follows DATA: lines ending in CR LF, a line that begins with "." given
// a second one, and the closing "." line.
QByteArray SmtpDataBlock(const QByteArray &message);

// The name to greet a server with: hostName when it is a fully qualified host name (a
// trailing dot dropped), else the address literal of the local address ("[192.0.2.1]",
// "[IPv6:2001:db8::1]").
QString EhloName(const QString &hostName, const QString &localAddress);

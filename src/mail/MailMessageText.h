#pragma once

#include "mail/MailTransport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The header value as it goes into the message and the SMTP envelope: every CR and LF
// removed, so no typed text can add a header or a command, then cut to limit characters
// (no cut when limit is negative).
QString HeaderValue(const QString &text, int limit = -1);

// The whole message as sent: MIME headers (Date, Message-ID, From, To, Subject, MIME-Version,
// Content-Type with charset UTF-8, Content-Transfer-Encoding), an empty line, and the body.
// Header texts that are not ASCII become encoded-words; a body that is not plain short ASCII
// lines is sent quoted-printable. Lines end in CR LF.
QByteArray MailMessageText(const OutgoingMail &mail, const QDateTime &date, const QString &messageId);

// A new message id "<unique@domain>" for a message from address.
QString NewMessageId(const QString &fromAddress);

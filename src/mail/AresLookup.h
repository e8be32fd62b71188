#pragma once

#include "mail/MailTransport.h"

#include <QStringList>

// DNS look-ups at one chosen server with c-ares, each bounded by a time-out and stopped
// within 50 ms once cancel is set. Failures give empty results.
namespace AresLookup {

// Readies c-ares once for the whole program; false when it cannot be used.
bool initialise();

// The MX records of domain, in the server's order.
MxLookup mailExchangers(const QString &server, const QString &domain, int timeoutMs,
                               const CancelFlag &cancel);
// The IPv4 and IPv6 addresses of host as text, IPv4 first.
QStringList addresses(const QString &server, const QString &host, int timeoutMs, const CancelFlag &cancel);

} // namespace AresLookup

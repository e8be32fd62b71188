#pragma once

#include "mail/MailTransport.h"

#include <QByteArray>

// HTTP transfers with libcurl, each bounded by a time-out and stopped within 50 ms once cancel
// is set.
namespace CurlTransfer {

// Readies libcurl once for the whole program; false when it cannot be used.
bool initialise();

// The document at an http or https address; empty on any failure or an answer over 64 KiB.
QByteArray fetch(const QString &url, const QString &userAgent, int timeoutMs, const CancelFlag &cancel);

} // namespace CurlTransfer

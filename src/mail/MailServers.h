#pragma once

#include "mail/MailTransport.h"

#include <QStringList>

#include <functional>

class Registry;

// Finding the DNS servers to ask and the mail servers of the sender's domain.

// The nameserver entries of a resolv.conf file, in order; empty when it cannot be read.
QStringList ResolvConfServers(const QString &path);
// $REELCRAFT_RESOLV_CONF, else /etc/resolv.conf.
QString ResolvConfPath();
// The name servers kept in the settings store's machine root: the TCP/IP parameters'
// NameServer and DhcpNameServer (split at blanks), then the older MSTCP NameServer (split
// at ",") when its EnableDNS is "1". A key that is missing adds nothing.
QStringList RegistryDnsServers(const Registry &registry);
// The computer's own list: resolv.conf first, then the settings store. Duplicates stay.
QStringList LocalDnsServers(const Registry &registry);

// The address of the fallback document that lists DNS servers: $REELCRAFT_DNSIP_URL, else
// the address the program was built with.
QString DnsFallbackUrl();
// The pieces of the fallback document, split at "," and at line breaks.
QStringList DnsServersFromDocument(const QByteArray &document);
// local when it holds any server; otherwise what the fallback document lists (empty when it
// cannot be fetched).
QStringList FindDnsServers(const QStringList &local, MailTransport &transport, const CancelFlag &cancel);

// The domain part of a mail address: the text after its first "@", the whole text without one.
QString MailDomain(const QString &address);
// True when name can only be a host name: labels of letters, digits and "-" (1 to 63
// characters each, 253 in all) joined by ".", the last not all digits. Nothing else may
// reach a look-up or a connection.
bool IsMailHostName(const QString &name);
// "%4d|host" for each record naming a host, sorted as text, so lower preferences come
// first; at most the first MaxMailServers.
QStringList MailServerEntries(const QList<MxRecord> &records);
// The host of an entry: the text after its "|".
QString EntryHost(const QString &entry);

// The mail servers of the sender's domain, asked at one DNS server after the other until
// one answers with records. status hears "i/n server" before each server and "DNS OK!" on
// the first answer.
// A domain that a server says has no MX records takes its own mail (one entry for the
// domain itself, implicit set) when no server names a mail exchanger.
struct MailServerSearch
{
    QStringList entries;
    QString dnsServer; // the server that answered
    bool implicit = false;
};
MailServerSearch FindMailServers(const QString &senderAddress, const QStringList &dnsServers,
                                 MailTransport &transport, const std::function<void(const QString &)> &status,
                                 const CancelFlag &cancel);

// Seconds a DNS server has to answer, and a mail server to take the message.
constexpr int DnsTimeoutSeconds = 10;
constexpr int SmtpTimeoutSeconds = 7;
// Mail servers tried for one message.
constexpr int MaxMailServers = 10;

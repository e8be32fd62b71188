#include "mail/MailServers.h"

#include "controls/TextUtils.h"
#include "platform/Registry.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

#ifndef REELCRAFT_DNSIP_URL
#define REELCRAFT_DNSIP_URL "http://www.tarnwick.example/dnsip/dnsip.dat"
#endif

namespace {

const QString TcpipKey = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\");
const QString MstcpKey = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\VxD\\MSTCP\\");

} // namespace

QStringList ResolvConfServers(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList servers;
    static const QRegularExpression blanks(QStringLiteral("[ \t]+"));
    // Far more than any resolv.conf holds; a huge file is not read whole.
    const QString text = QString::fromUtf8(file.read(1 << 20));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList words = line.trimmed().split(blanks, Qt::SkipEmptyParts);
        if (words.size() >= 2 && words.at(0) == QLatin1String("nameserver"))
            servers << words.at(1);
    }
    return servers;
}

QString ResolvConfPath()
{
    const QString path = qEnvironmentVariable("REELCRAFT_RESOLV_CONF");
    return path.isEmpty() ? QStringLiteral("/etc/resolv.conf") : path;
}

QStringList RegistryDnsServers(const Registry &registry)
{
    using Root = Registry::Root;
    QStringList servers;
    if (registry.keyExists(Root::LocalMachine, TcpipKey)) {
        servers << SplitText(registry.readString(Root::LocalMachine, TcpipKey, QStringLiteral("NameServer")),
                             QStringLiteral(" "));
        servers << SplitText(registry.readString(Root::LocalMachine, TcpipKey, QStringLiteral("DhcpNameServer")),
                             QStringLiteral(" "));
    }
    if (registry.keyExists(Root::LocalMachine, MstcpKey)
        && registry.readString(Root::LocalMachine, MstcpKey, QStringLiteral("EnableDNS"), QStringLiteral("0"))
            == QLatin1String("1")) {
        servers << SplitText(registry.readString(Root::LocalMachine, MstcpKey, QStringLiteral("NameServer")),
                             QStringLiteral(","));
    }
    return servers;
}

QStringList LocalDnsServers(const Registry &registry)
{
    return ResolvConfServers(ResolvConfPath()) + RegistryDnsServers(registry);
}

QString DnsFallbackUrl()
{
    const QString url = qEnvironmentVariable("REELCRAFT_DNSIP_URL");
    return url.isEmpty() ? QStringLiteral(REELCRAFT_DNSIP_URL) : url;
}

QStringList DnsServersFromDocument(const QByteArray &document)
{
    QString text = QString::fromLatin1(document);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(","));
    text.replace(QLatin1Char('\r'), QLatin1Char(','));
    text.replace(QLatin1Char('\n'), QLatin1Char(','));
    return SplitText(text, QStringLiteral(","));
}

QStringList FindDnsServers(const QStringList &local, MailTransport &transport, const CancelFlag &cancel)
{
    if (!local.isEmpty())
        return local;
    return DnsServersFromDocument(transport.fetchDocument(DnsFallbackUrl(), cancel));
}

QString MailDomain(const QString &address)
{
    const int at = address.indexOf(QLatin1Char('@'));
    return at < 0 ? address : address.mid(at + 1);
}

bool IsMailHostName(const QString &name)
{
    static const QRegularExpression label(QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (name.isEmpty() || name.size() > 253)
        return false;
    const QStringList labels = name.split(QLatin1Char('.'));
    for (const QString &part : labels)
        if (!label.match(part).hasMatch())
            return false;
    return !digits.match(labels.last()).hasMatch();
}

QStringList MailServerEntries(const QList<MxRecord> &records)
{
    QStringList entries;
    for (const MxRecord &record : records)
        if (IsMailHostName(record.host))
            entries << QString::asprintf("%4d|", record.preference) + record.host;
    std::sort(entries.begin(), entries.end());
    return entries.mid(0, MaxMailServers);
}

QString EntryHost(const QString &entry)
{
    return entry.mid(entry.indexOf(QLatin1Char('|')) + 1);
}

MailServerSearch FindMailServers(const QString &senderAddress, const QStringList &dnsServers,
                                 MailTransport &transport, const std::function<void(const QString &)> &status,
                                 const CancelFlag &cancel)
{
    const QString domain = MailDomain(senderAddress);
    const int count = int(dnsServers.size());
    QString saysNoRecords;
    for (int i = 0; i < count && !cancel; ++i) {
        const QString &server = dnsServers.at(i);
        status(QString::number(i + 1) + QLatin1Char('/') + QString::number(count) + QLatin1Char(' ') + server);
        const MxLookup found = transport.resolveMx(server, domain, DnsTimeoutSeconds, cancel);
        if (cancel)
            return {};
        if (!found.records.isEmpty()) {
            status(QStringLiteral("DNS OK!"));
            return {MailServerEntries(found.records), server};
        }
        if (found.noRecords && saysNoRecords.isNull())
            saysNoRecords = server;
    }
    // Without MX records the domain's own addresses take its mail.
    if (!saysNoRecords.isNull() && IsMailHostName(domain))
        return {MailServerEntries({MxRecord{0, domain}}), saysNoRecords, true};
    return {};
}

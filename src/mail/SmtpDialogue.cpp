#include "mail/SmtpDialogue.h"

#include "mail/MailServers.h"

std::optional<SmtpReply> TakeSmtpReply(QByteArray &buffer)
{
    qsizetype start = 0;
    while (true) {
        const qsizetype end = buffer.indexOf('\n', start);
        if (end < 0)
            return std::nullopt;
        const QByteArray line = buffer.mid(start, end - start).trimmed();
        start = end + 1;
        const bool coded = line.size() >= 3 && std::isdigit(uchar(line.at(0))) && std::isdigit(uchar(line.at(1)))
            && std::isdigit(uchar(line.at(2)));
        if (coded && line.size() > 3 && line.at(3) == '-')
            continue;
        buffer.remove(0, start);
        return SmtpReply{coded ? line.left(3).toInt() : 0, line};
    }
}

QByteArray SmtpDataBlock(const QByteArray &message)
{
    QByteArray text = message;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    if (!text.endsWith('\n'))
        text += '\n';
    QByteArray block;
    block.reserve(text.size() + text.size() / 16 + 8);
    for (const QByteArray &line : text.left(text.size() - 1).split('\n')) {
        if (line.startsWith('.'))
            block += '.';
        block += line + "\r\n";
    }
    return block + ".\r\n";
}

QString EhloName(const QString &hostName, const QString &localAddress)
{
    QString name = hostName;
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    if (name.contains(QLatin1Char('.')) && IsMailHostName(name))
        return name;
    const QString address = localAddress.section(QLatin1Char('%'), 0, 0); // without an IPv6 zone
    return address.contains(QLatin1Char(':')) ? QStringLiteral("[IPv6:") + address + QLatin1Char(']')
                                              : QLatin1Char('[') + address + QLatin1Char(']');
}

#include "MailTransportDouble.h"

#include <QThread>

QStringList MailTransportDouble::calls() const
{
    QMutexLocker lock(&m_mutex);
    return m_calls;
}

QList<OutgoingMail> MailTransportDouble::sent() const
{
    QMutexLocker lock(&m_mutex);
    return m_sent;
}

QByteArray MailTransportDouble::fetchDocument(const QString &url, const CancelFlag &)
{
    QMutexLocker lock(&m_mutex);
    m_calls << QStringLiteral("fetch ") + url;
    return document;
}

QList<MxRecord> MailTransportDouble::resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                                               const CancelFlag &)
{
    QMutexLocker lock(&m_mutex);
    m_calls << QStringLiteral("mx %1 %2 %3").arg(dnsServer, domain).arg(timeoutSeconds);
    return records.value(dnsServer);
}

std::optional<QString> MailTransportDouble::send(const SmtpTarget &target, const OutgoingMail &mail,
                                                 const CancelFlag &cancel)
{
    QString failure;
    {
        QMutexLocker lock(&m_mutex);
        m_calls << QStringLiteral("send %1 via %2 %3").arg(target.host, target.dnsServer).arg(target.timeoutSeconds);
        failure = failures.value(target.host);
    }
    if (failure == QLatin1String("block")) {
        while (!cancel)
            QThread::msleep(5);
        return QString();
    }
    if (!failure.isEmpty())
        return failure;
    QMutexLocker lock(&m_mutex);
    m_sent << mail;
    return std::nullopt;
}

#include "MailNetFixture.h"

#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QTest>

namespace {

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    return probe.localPort();
}

} // namespace

DnsmasqServer::~DnsmasqServer()
{
    stop(m_process);
}

bool DnsmasqServer::start(const QStringList &records)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        m_port = freeUdpPort();
        QStringList arguments{QStringLiteral("--no-daemon"), QStringLiteral("--log-facility=-"),
                              QStringLiteral("--conf-file=/dev/null"), QStringLiteral("--no-resolv"),
                              QStringLiteral("--no-hosts"), QStringLiteral("--listen-address=127.0.0.1"),
                              QStringLiteral("--bind-interfaces"), QStringLiteral("--port=%1").arg(m_port)};
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral("dnsmasq"), arguments + records);
        if (!m_process.waitForStarted(5000))
            return false;
        // It reports "started" once it listens, or ends when the port was taken meanwhile.
        QByteArray output;
        QElapsedTimer waited;
        waited.start();
        while (!output.contains("started,") && m_process.state() == QProcess::Running && waited.elapsed() < 5000) {
            m_process.waitForReadyRead(100);
            output += m_process.readAll();
        }
        if (output.contains("started,") && m_process.state() == QProcess::Running)
            return true;
        stop(m_process);
        qWarning("dnsmasq did not start: %s", output.constData());
    }
    return false;
}

SilentDnsServer::SilentDnsServer()
{
    m_socket.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] {
        while (m_socket.hasPendingDatagrams())
            m_socket.receiveDatagram();
    });
}

SmtpServers::~SmtpServers()
{
    stop(m_process);
}

bool SmtpServers::start(const QString &folder, const QStringList &specs)
{
    m_folder = folder;
    m_process.start(QStringLiteral(REELCRAFT_PYTHON), QStringList{QStringLiteral(REELCRAFT_SMTP_SCRIPT), folder} + specs);
    if (!m_process.waitForStarted(5000))
        return false;
    QByteArray output;
    QElapsedTimer waited;
    waited.start();
    while (!output.contains('\n') && m_process.state() == QProcess::Running && waited.elapsed() < 15000) {
        m_process.waitForReadyRead(100);
        output += m_process.readAllStandardOutput();
    }
    if (!output.startsWith("PORT ")) {
        qWarning("SMTP servers did not start: %s %s", output.constData(), m_process.readAllStandardError().constData());
        return false;
    }
    m_port = output.mid(5).trimmed().toInt();
    return m_port > 0;
}

QStringList SmtpServers::log() const
{
    return QString::fromUtf8(readAll(m_folder + QStringLiteral("/log"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QJsonObject> SmtpServers::messages() const
{
    QList<QJsonObject> found;
    for (int n = 1; QFile::exists(m_folder + QStringLiteral("/%1.json").arg(n)); ++n)
        found << QJsonDocument::fromJson(readAll(m_folder + QStringLiteral("/%1.json").arg(n))).object();
    return found;
}

QByteArray SmtpServers::raw(int number) const
{
    return readAll(m_folder + QStringLiteral("/%1.eml").arg(number));
}

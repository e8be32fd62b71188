#include "MailNetFixture.h"

#include "TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkDatagram>

using namespace Qt::StringLiterals;

LocalServer::~LocalServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool LocalServer::run(const QString &program, const QStringList &arguments, const QByteArray &ready)
{
    m_output.clear();
    m_process.start(program, arguments);
    QElapsedTimer waited;
    waited.start();
    while (!m_output.contains(ready) && waited.elapsed() < 15000) {
        const bool more = m_process.waitForReadyRead(100);
        m_output += m_process.readAll();
        if (!more && m_process.state() != QProcess::Running)
            break;
    }
    if (!m_output.contains(ready))
        qWarning("%s did not start: %s", qPrintable(program), m_output.constData());
    return m_output.contains(ready) && m_process.state() == QProcess::Running;
}

bool DnsmasqServer::start(const QStringList &records)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    for (int attempt = 0; attempt < 10; ++attempt) {
        QUdpSocket probe; // a free port, unless another program takes it meanwhile
        probe.bind(QHostAddress(u"127.0.0.1"_s), 0);
        port = probe.localPort();
        probe.close();
        const QStringList arguments{u"--no-daemon"_s,       u"--log-facility=-"_s,   u"--conf-file=/dev/null"_s,
                                    u"--no-resolv"_s,       u"--no-hosts"_s,         u"--listen-address=127.0.0.1"_s,
                                    u"--bind-interfaces"_s, u"--port=%1"_s.arg(port)};
        if (run(u"dnsmasq"_s, arguments + records, "started,"))
            return true;
        m_process.waitForFinished(3000);
    }
    return false;
}

bool SmtpServers::start(const QString &folder, const QStringList &specs)
{
    m_folder = folder;
    if (!run(QStringLiteral(REELCRAFT_PYTHON), QStringList{QStringLiteral(REELCRAFT_SMTP_SCRIPT), folder} + specs,
             "\n"))
        return false;
    port = m_output.mid(5).trimmed().toInt();
    return m_output.startsWith("PORT ") && port > 0;
}

QStringList SmtpServers::log() const
{
    return QString::fromUtf8(readAll(m_folder + u"/log"_s)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QJsonObject> SmtpServers::messages() const
{
    QList<QJsonObject> found;
    for (int n = 1; QFile::exists(m_folder + u"/%1.json"_s.arg(n)); ++n)
        found << QJsonDocument::fromJson(readAll(m_folder + u"/%1.json"_s.arg(n))).object();
    return found;
}

QByteArray SmtpServers::raw(int number) const
{
    return readAll(m_folder + u"/%1.eml"_s.arg(number));
}

SilentDnsServer::SilentDnsServer()
{
    m_socket.bind(QHostAddress(u"127.0.0.1"_s), 0);
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] {
        while (m_socket.hasPendingDatagrams())
            m_socket.receiveDatagram();
    });
}

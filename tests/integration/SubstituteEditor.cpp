#include "SubstituteEditor.h"

#include <QDBusConnection>
#include <QDBusMessage>

SubstituteEditor::SubstituteEditor(const QStringList &options)
{
    m_process.setProgram(program());
    m_process.setArguments(QStringList{QStringLiteral("--headless")} + options);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000)) {
        m_problem = QStringLiteral("cannot start ") + program() + QStringLiteral(": ") + m_process.errorString();
        return;
    }
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running && m_process.waitForReadyRead(20000)) {
    }
    m_ready = m_process.readLine().trimmed() == "ready";
    if (!m_ready)
        m_problem = QStringLiteral("the editor did not get ready (exit code %1)").arg(m_process.exitCode());
}

SubstituteEditor::~SubstituteEditor()
{
    kill();
}

QString SubstituteEditor::program()
{
    return QString::fromUtf8(REELCRAFT_HOST_EDITOR);
}

void SubstituteEditor::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
    m_ready = false;
}

QVariant SubstituteEditor::debug(const QString &method) const
{
    const QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("Quillon4.Plugin"), QStringLiteral("/debug"), QStringLiteral("Quillon4.Debug"), method);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst();
}

bool SubstituteEditor::isOpen() const
{
    return debug(QStringLiteral("debug_isopen")).toBool();
}

QString SubstituteEditor::text() const
{
    return debug(QStringLiteral("debug_text")).toString();
}

int SubstituteEditor::selectionStart() const
{
    return debug(QStringLiteral("debug_selstart")).toInt();
}

int SubstituteEditor::selectionLength() const
{
    return debug(QStringLiteral("debug_sellength")).toInt();
}

QStringList SubstituteEditor::calls() const
{
    return debug(QStringLiteral("debug_calls")).toStringList();
}

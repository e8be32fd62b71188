#include "integration/DBusHostLink.h"

#include "platform/EError.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

const QString DBusHostLink::ServiceName = QStringLiteral("Quillon4.Plugin");
const QString DBusHostLink::ObjectPath = QStringLiteral("/");
const QString DBusHostLink::InterfaceName = QStringLiteral("Quillon4.Plugin");
const QString DBusHostLink::ProbeMethod = QStringLiteral("WM_ISQUILLONRUNNING");

DBusHostLink::DBusHostLink() : m_bus(QDBusConnection::sessionBus()) {}

DBusHostLink::DBusHostLink(const QDBusConnection &connection) : m_bus(connection) {}

bool DBusHostLink::probe(int timeoutMs)
{
    // No bus, nobody owning the name, an error or no answer in time: simply not found.
    if (!m_bus.isConnected())
        return false;
    QDBusMessage message = QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, ProbeMethod);
    // Looking for a running editor must not start one.
    message.setAutoStartService(false);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String("i"))
        return false;
    return reply.arguments().constFirst().toInt() > 0;
}

void DBusHostLink::createObject()
{
    m_owner = currentOwner();
}

QString DBusHostLink::currentOwner() const
{
    const QString failure = QStringLiteral("Cannot create the automation object ") + ServiceName;
    if (!m_bus.isConnected())
        throw EHostError(failure + QStringLiteral(": there is no session bus."));
    const QDBusReply<QString> owner = m_bus.interface()->serviceOwner(ServiceName);
    if (!owner.isValid() || owner.value().isEmpty())
        throw EHostError(failure + QStringLiteral(": ") + owner.error().message());
    return owner.value();
}

QDBusMessage DBusHostLink::call(const QString &owner, const QString &method, const QVariantList &arguments,
                                const char *replySignature) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(owner, ObjectPath, InterfaceName, method);
    message.setArguments(arguments);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block);
    if (reply.type() != QDBusMessage::ReplyMessage)
        throw EHostError(QStringLiteral("The call \"") + method + QStringLiteral("\" to Quillon failed: ")
                         + reply.errorMessage());
    if (reply.signature() != QLatin1String(replySignature))
        throw EHostError(QStringLiteral("Quillon answered the call \"") + method
                         + QStringLiteral("\" with an unexpected value."));
    return reply;
}

QDBusMessage DBusHostLink::callObject(const QString &method, const QVariantList &arguments,
                                      const char *replySignature) const
{
    if (m_owner.isEmpty())
        throw EHostError(QStringLiteral("No link with Quillon exists - the call \"") + method
                         + QStringLiteral("\" cannot be made."));
    return call(m_owner, method, arguments, replySignature);
}

QString DBusHostLink::callForText(const QString &method) const
{
    return callObject(method, {}, "s").arguments().constFirst().toString();
}

QString DBusHostLink::isopendoc()
{
    return callForText(QStringLiteral("isopendoc"));
}

void DBusHostLink::QL_CREATENEWDOC()
{
    callObject(QStringLiteral("QL_CREATENEWDOC"), {}, "");
}

int DBusHostLink::getselstart()
{
    return callObject(QStringLiteral("getselstart"), {}, "i").arguments().constFirst().toInt();
}

void DBusHostLink::puttextatcursor(const QString &text)
{
    callObject(QStringLiteral("puttextatcursor"), {text}, "");
}

void DBusHostLink::replacealltext(const QString &text)
{
    callObject(QStringLiteral("replacealltext"), {text}, "");
}

void DBusHostLink::setselection(int start, int length)
{
    callObject(QStringLiteral("setselection"), {start, length}, "");
}

QString DBusHostLink::getseltext()
{
    return callForText(QStringLiteral("getseltext"));
}

QString DBusHostLink::getalltext()
{
    return callForText(QStringLiteral("getalltext"));
}

QString DBusHostLink::currentdocname()
{
    return callForText(QStringLiteral("currentdocname"));
}

QString DBusHostLink::BrowserList()
{
    // A fresh object: whichever editor owns the name now, not the one of start-up.
    return call(currentOwner(), QStringLiteral("BrowserList"), {}, "s").arguments().constFirst().toString();
}

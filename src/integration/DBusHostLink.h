#pragma once

#include "platform/HostLink.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

class QDBusMessage;

// The host editor on the D-Bus session bus: bus name "Quillon4.Plugin", object "/",
// interface "Quillon4.Plugin" (src/integration/Quillon4.Plugin.xml). The automation object
// is the editor process that owns the name when createObject runs: calls go to that
// owner's unique bus name, so an editor that closes later makes every call fail with
// EHostError, even when another copy has started since.
class DBusHostLink : public HostLink
{
public:
    static const QString ServiceName;
    static const QString ObjectPath;
    static const QString InterfaceName;
    static const QString ProbeMethod;

    // The session bus.
    DBusHostLink();
    explicit DBusHostLink(const QDBusConnection &connection);

    bool probe(int timeoutMs) override;
    void createObject() override;
    bool hasObject() const override { return !m_owner.isEmpty(); }

    QString isopendoc() override;
    void QL_CREATENEWDOC() override;
    int getselstart() override;
    void puttextatcursor(const QString &text) override;
    void replacealltext(const QString &text) override;
    void setselection(int start, int length) override;
    QString getseltext() override;
    QString getalltext() override;
    QString currentdocname() override;
    QString BrowserList() override;

private:
    // The unique bus name of the editor that owns ServiceName now; throws EHostError.
    QString currentOwner() const;
    // Calls method on the editor with the unique name owner; a failed call throws
    // EHostError. The reply must carry exactly the arguments of replySignature.
    QDBusMessage call(const QString &owner, const QString &method, const QVariantList &arguments,
                      const char *replySignature) const;
    QDBusMessage callObject(const QString &method, const QVariantList &arguments,
                            const char *replySignature) const;
    QString callForText(const QString &method) const;

    QDBusConnection m_bus;
    QString m_owner; // the automation object: empty until createObject
};

#pragma once

#include <QObject>
#include <QStringList>

class EditorDocument;
class PluginService;

// "Quillon4.Debug" at the object path "/debug": reads the editor's state back for tests
// and for a look by hand (dbus-send or busctl). Its calls are not recorded.
class DebugService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quillon4.Debug")
public:
    DebugService(const EditorDocument &document, const PluginService &plugin, QObject *parent = nullptr);

public slots:
    Q_SCRIPTABLE bool debug_isopen() const;
    Q_SCRIPTABLE QString debug_text() const;
    Q_SCRIPTABLE int debug_selstart() const;
    Q_SCRIPTABLE int debug_sellength() const;
    Q_SCRIPTABLE QString debug_path() const;
    // Every call of the automation interface so far, "method(arg, arg)", in order.
    Q_SCRIPTABLE QStringList debug_calls() const;

private:
    const EditorDocument &m_document;
    const PluginService &m_plugin;
};

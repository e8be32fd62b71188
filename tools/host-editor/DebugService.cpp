#include "DebugService.h"

#include "EditorDocument.h"
#include "PluginService.h"

DebugService::DebugService(const EditorDocument &document, const PluginService &plugin, QObject *parent)
    : QObject(parent), m_document(document), m_plugin(plugin)
{
}

bool DebugService::debug_isopen() const
{
    return m_document.isOpen();
}

QString DebugService::debug_text() const
{
    return m_document.text();
}

int DebugService::debug_selstart() const
{
    return m_document.selectionStart();
}

int DebugService::debug_sellength() const
{
    return m_document.selectionLength();
}

QString DebugService::debug_path() const
{
    return m_document.path();
}

QStringList DebugService::debug_calls() const
{
    return m_plugin.calls();
}

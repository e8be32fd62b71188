#include "PluginService.h"

#include "EditorDocument.h"

#include <QDBusConnection>

PluginService::PluginService(EditorDocument &document, const Options &options, QObject *parent)
    : QObject(parent), m_document(document), m_options(options)
{
}

void PluginService::record(const QString &method, const QStringList &arguments)
{
    m_calls.append(method + QLatin1Char('(') + arguments.join(QLatin1String(", ")) + QLatin1Char(')'));
}

bool PluginService::needDocument()
{
    if (m_document.isOpen())
        return true;
    sendErrorReply(QStringLiteral("Quillon4.Error.NoDocument"), QStringLiteral("There is no open document."));
    return false;
}

int PluginService::WM_ISQUILLONRUNNING()
{
    record(QStringLiteral("WM_ISQUILLONRUNNING"));
    if (m_options.silentProbe) {
        // Taken but never answered: the caller waits for its time-out while this editor
        // goes on serving every other call.
        setDelayedReply(true);
        return 0;
    }
    return m_options.probeAnswer;
}

QString PluginService::isopendoc()
{
    record(QStringLiteral("isopendoc"));
    if (m_options.fixedOpenDocAnswer)
        return m_options.openDocAnswer;
    return m_document.isOpen() ? QStringLiteral("true") : QStringLiteral("false");
}

void PluginService::QL_CREATENEWDOC()
{
    record(QStringLiteral("QL_CREATENEWDOC"));
    m_document.createNew();
}

int PluginService::getselstart()
{
    record(QStringLiteral("getselstart"));
    return needDocument() ? m_document.selectionStart() : 0;
}

void PluginService::puttextatcursor(const QString &text)
{
    record(QStringLiteral("puttextatcursor"), {text});
    if (needDocument())
        m_document.insertAtCaret(text);
}

void PluginService::replacealltext(const QString &text)
{
    record(QStringLiteral("replacealltext"), {text});
    if (needDocument())
        m_document.replaceAll(text);
}

void PluginService::setselection(int start, int length)
{
    record(QStringLiteral("setselection"), {QString::number(start), QString::number(length)});
    if (needDocument())
        m_document.select(start, length);
}

QString PluginService::getseltext()
{
    record(QStringLiteral("getseltext"));
    return m_document.isOpen() ? m_document.selectedText() : QString();
}

QString PluginService::getalltext()
{
    record(QStringLiteral("getalltext"));
    return m_document.isOpen() ? m_document.text() : QString();
}

QString PluginService::currentdocname()
{
    record(QStringLiteral("currentdocname"));
    if (!m_document.isOpen() || m_document.path().isEmpty())
        return QStringLiteral("error");
    return m_document.path();
}

QString PluginService::BrowserList()
{
    record(QStringLiteral("BrowserList"));
    if (m_options.browserListFails) {
        sendErrorReply(QStringLiteral("Quillon4.Error.BrowserList"),
                       QStringLiteral("The browser list cannot be read."));
        return {};
    }
    return m_options.browserList;
}

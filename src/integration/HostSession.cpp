#include "integration/HostSession.h"

#include "platform/HostLink.h"
#include "platform/Prompts.h"

HostSession::HostSession(HostLink &link, Prompts &prompts) : m_link(link), m_prompts(prompts) {}

bool HostSession::IsHostRunning()
{
    m_hostLinked = false;
    m_hostLinked = m_link.probe(ProbeTimeoutMs);
    return m_hostLinked;
}

void HostSession::ConnectHost()
{
    if (IsHostRunning())
        m_link.createObject();
}

bool HostSession::SendTextToHost(const QString &text, int mode, bool select)
{
    if (!m_link.hasObject()) {
        m_prompts.message(QStringLiteral(
            "No link with Quillon exists - the text cannot be sent out to Quillon."));
        return false;
    }
    // Only a plain "false" means no document; any other answer is taken as an open one.
    if (m_link.isopendoc() == QLatin1String("false")) {
        m_prompts.message(QStringLiteral(
                              "There is no open document in Quillon. A new document will be created."),
                          Prompts::Kind::Error);
        m_link.QL_CREATENEWDOC();
    }

    int start = 0;
    if (mode == AtCursor) {
        start = m_link.getselstart();
        m_link.puttextatcursor(text);
    } else if (mode == WholeDocument) {
        m_link.replacealltext(text);
    }
    m_link.setselection(start, select ? int(text.size()) : 0);
    return true;
}

QString HostSession::GetHostText(int mode)
{
    if (!m_link.hasObject() || m_link.isopendoc() != QLatin1String("true"))
        return {};
    if (mode == AtCursor)
        return m_link.getseltext();
    if (mode == WholeDocument)
        return m_link.getalltext();
    return {};
}

QString HostSession::GetHostDocumentName()
{
    // Without an automation object there is no document to name; asking would only fail.
    if (!m_link.hasObject())
        return {};
    const QString name = m_link.currentdocname();
    return name == QLatin1String("error") ? QString() : name;
}

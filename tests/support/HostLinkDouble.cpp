#include "HostLinkDouble.h"

#include "platform/EError.h"

void HostLinkDouble::record(const QString &method, const QVariantList &arguments)
{
    calls.append({method, arguments});
    if (vanished)
        throw EHostError(QStringLiteral("The Quillon editor no longer answers (") + method + QLatin1Char(')'));
}

bool HostLinkDouble::probe(int timeoutMs)
{
    calls.append({QStringLiteral("probe"), {timeoutMs}});
    return probeResult && !vanished;
}

void HostLinkDouble::createObject()
{
    record(QStringLiteral("createObject"));
    if (createObjectThrows)
        throw EHostError(QStringLiteral("Cannot create the automation object Quillon4.Plugin"));
    objectCreated = true;
}

QString HostLinkDouble::isopendoc()
{
    record(QStringLiteral("isopendoc"));
    return openDocAnswer;
}

void HostLinkDouble::QL_CREATENEWDOC()
{
    record(QStringLiteral("QL_CREATENEWDOC"));
}

int HostLinkDouble::getselstart()
{
    record(QStringLiteral("getselstart"));
    return selectionStart;
}

void HostLinkDouble::puttextatcursor(const QString &text)
{
    record(QStringLiteral("puttextatcursor"), {text});
}

void HostLinkDouble::replacealltext(const QString &text)
{
    record(QStringLiteral("replacealltext"), {text});
}

void HostLinkDouble::setselection(int start, int length)
{
    record(QStringLiteral("setselection"), {start, length});
}

QString HostLinkDouble::getseltext()
{
    record(QStringLiteral("getseltext"));
    return selectedText;
}

QString HostLinkDouble::getalltext()
{
    record(QStringLiteral("getalltext"));
    return allText;
}

QString HostLinkDouble::currentdocname()
{
    record(QStringLiteral("currentdocname"));
    return documentName;
}

QString HostLinkDouble::BrowserList()
{
    record(QStringLiteral("BrowserList"));
    return browserList;
}

QStringList HostLinkDouble::methods() const
{
    QStringList names;
    for (const Call &call : calls)
        names.append(call.method);
    return names;
}

QStringList HostLinkDouble::transcript() const
{
    QStringList lines;
    for (const Call &call : calls) {
        QStringList arguments;
        for (const QVariant &argument : call.arguments)
            arguments.append(argument.toString());
        lines.append(call.method + QLatin1Char('(') + arguments.join(QLatin1String(", ")) + QLatin1Char(')'));
    }
    return lines;
}

#include "mail/EmailComposer.h"

#include "controls/TextUtils.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

// A typed multi-line text uses LF alone (or CR alone when pasted from elsewhere); the
// message's lines end in CR LF.
QString withCrLf(QString text)
{
    text.replace(CrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), CrLf);
    return text;
}

QString composeHtml(const EmailTexts &t, const QString &s, const QString &f, const QString &m)
{
    QString body = QStringLiteral("<HTML>\r\n<BODY>\r\n\r\n<P>Hello ") + f + QStringLiteral(", <BR>") + s
        + QStringLiteral(" wanted to let you know about ") + t.ProductName + QStringLiteral(", ")
        + t.ShortDescription + QStringLiteral("  It's ")
        + QStringLiteral("available for downloading from Tarnwick Software's Web Site.<BR>\r\n\r\n")
        + QStringLiteral("<P><A HREF=\"") + t.DownloadAddress + QStringLiteral("\">")
        + QStringLiteral("Click here to download ") + t.ProductName + QStringLiteral("</A><BR>\r\n")
        + QStringLiteral("or point your Web Browser ") + QStringLiteral("to ") + t.DownloadAddress
        + QStringLiteral("<BR>\r\n");
    if (!m.isEmpty())
        body += QStringLiteral("\r\n<P>") + s + QStringLiteral(" also wanted to send you a special message: <BR>\r\n")
            + CrLf + QStringLiteral("<PRE>\r\n") + m + QStringLiteral("\r\n</PRE>\r\n");
    body += QStringLiteral("\r\n<P><H2>What is ") + t.ProductName + QStringLiteral("?</H2>\r\n\r\n")
        + t.LongDescription + QStringLiteral("\r\n\r\n</BODY>\r\n</HTML>");
    return body;
}

QString composePlain(const EmailTexts &t, const QString &s, const QString &f, const QString &m)
{
    QString body = QStringLiteral("Hello ") + f + QStringLiteral(", \r\n") + s
        + QStringLiteral(" wanted to let you know about ") + t.ProductName + QStringLiteral(", ")
        + t.ShortDescription + QStringLiteral("  It's ")
        + QStringLiteral("available for downloading from Tarnwick Software's Web Site.\r\n\r\n")
        + QStringLiteral("Just point your Web Browser to ") + t.DownloadAddress + CrLf;
    if (!m.isEmpty())
        body += CrLf + s + QStringLiteral(" also wanted to send you a special message: ") + CrLf + CrLf + m + CrLf;
    body += CrLf + QStringLiteral("What is ") + t.ProductName + QStringLiteral("?") + CrLf + CrLf
        + t.LongDescription + CrLf + CrLf;
    return body;
}

} // namespace

bool EmailTexts::complete() const
{
    return !ProductName.isEmpty() && !DownloadAddress.isEmpty() && !ShortDescription.isEmpty()
        && !LongDescription.isEmpty();
}

QString ComposeMessage(const EmailTexts &texts, const EmailEntries &entries)
{
    const QString sender = entries.senderName.isEmpty() ? QStringLiteral("A friend") : entries.senderName;
    const QString message = withCrLf(entries.message);
    if (!entries.html)
        return composePlain(texts, sender, entries.friendsName, message);
    // What the user typed arrives as text, never as markup of the page.
    return composeHtml(texts, sender.toHtmlEscaped(), entries.friendsName.toHtmlEscaped(), message.toHtmlEscaped());
}

QString MessageSubject(const EmailTexts &texts)
{
    return texts.ProductName + QStringLiteral(" is available for you.");
}

QString WithProductName(const QString &text, const EmailTexts &texts)
{
    return ReplaceText(text, QStringLiteral("apptitle"), texts.ProductName, false);
}

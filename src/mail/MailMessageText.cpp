#include "mail/MailMessageText.h"

#include "mail/MailServers.h"

#include <QUuid>

namespace {

constexpr int MaxHeaderText = 255;
// Keeps each encoded-word at 64 characters (39 bytes give 52 of base64), so even the
// first one, after "Subject: ", stays within a line of 78.
constexpr int EncodedWordBytes = 39;
// Lines of a 7bit body stay well under the limit of 998.
constexpr int MaxPlainLine = 998;
constexpr int QuotedPrintableLine = 76;

bool isAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 126 || (c.unicode() < 32 && c != QLatin1Char('\t')))
            return false;
    return true;
}

// One or more encoded-words, each a whole number of characters, folded onto lines of
// their own.
QByteArray encodedWords(const QString &text)
{
    QByteArray out;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const QByteArray bytes = text.mid(i, pair ? 2 : 1).toUtf8();
        if (pair)
            ++i;
        if (chunk.size() + bytes.size() > EncodedWordBytes)
            flush();
        chunk += bytes;
    }
    flush();
    return out;
}

QByteArray headerText(const QString &text)
{
    return isAscii(text) ? text.toLatin1() : encodedWords(text);
}

// A display name: ASCII names with special characters become a quoted string.
QByteArray displayName(const QString &name)
{
    if (!isAscii(name))
        return encodedWords(name);
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    bool plain = true;
    for (const QChar c : name)
        plain = plain && !specials.contains(c);
    if (plain)
        return name.toLatin1();
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return '"' + quoted.toLatin1() + '"';
}

QByteArray quotedPrintable(const QByteArray &body)
{
    QByteArray out;
    const QList<QByteArray> lines = body.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QByteArray line = lines.at(n);
        if (line.endsWith('\r'))
            line.chop(1);
        QByteArray encoded;
        int column = 0;
        for (int i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line.at(i));
            const bool last = i + 1 == line.size();
            const bool literal = (byte >= 33 && byte <= 126 && byte != '=')
                || ((byte == ' ' || byte == '\t') && !last);
            const QByteArray piece = literal ? QByteArray(1, char(byte))
                                             : '=' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
            if (column + piece.size() > QuotedPrintableLine - 1) {
                encoded += "=\r\n";
                column = 0;
            }
            encoded += piece;
            column += int(piece.size());
        }
        out += encoded;
        if (n + 1 < lines.size())
            out += "\r\n";
    }
    return out;
}

// Every line break as CR LF.
QByteArray crLfLines(const QString &body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toUtf8();
}

bool needsEncoding(const QString &body)
{
    if (!isAscii(QString(body).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'))))
        return true;
    for (const QString &line : QString(body).remove(QLatin1Char('\r')).split(QLatin1Char('\n')))
        if (line.size() > MaxPlainLine)
            return true;
    return false;
}

} // namespace

QString HeaderValue(const QString &text, int limit)
{
    QString value = text;
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    return limit < 0 ? value : value.left(limit);
}

QByteArray MailMessageText(const OutgoingMail &mail, const QDateTime &date, const QString &messageId)
{
    const QString fromAddress = HeaderValue(mail.fromAddress, MaxHeaderText);
    const QString fromName = HeaderValue(mail.fromName, MaxHeaderText);
    const QString toAddress = HeaderValue(mail.toAddress);
    const QString subject = HeaderValue(mail.subject, MaxHeaderText);

    QByteArray text;
    text += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    text += "Message-ID: " + HeaderValue(messageId).toUtf8() + "\r\n";
    text += "From: ";
    if (!fromName.isEmpty())
        text += displayName(fromName) + ' ';
    text += '<' + fromAddress.toUtf8() + ">\r\n";
    text += "To: <" + toAddress.toUtf8() + ">\r\n";
    text += "Subject: " + headerText(subject) + "\r\n";
    text += "MIME-Version: 1.0\r\n";
    text += QByteArray("Content-Type: ") + (mail.html ? "text/html" : "text/plain") + "; charset=UTF-8\r\n";
    const bool encode = needsEncoding(mail.body);
    text += QByteArray("Content-Transfer-Encoding: ") + (encode ? "quoted-printable" : "7bit") + "\r\n";
    text += "\r\n";
    const QByteArray body = crLfLines(mail.body);
    text += encode ? quotedPrintable(body) : body;
    return text;
}

QString NewMessageId(const QString &fromAddress)
{
    QString domain = HeaderValue(MailDomain(fromAddress));
    domain.remove(QLatin1Char('<')).remove(QLatin1Char('>')).remove(QLatin1Char(' '));
    if (domain.isEmpty() || !fromAddress.contains(QLatin1Char('@')))
        domain = QStringLiteral("reelcraft.invalid");
    return QLatin1Char('<') + QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') + domain
        + QLatin1Char('>');
}

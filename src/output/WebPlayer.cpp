#include "output/WebPlayer.h"

#include <QFile>

QString WebPlayerScriptLine()
{
    return QStringLiteral("<script src=\"") + WebPlayerFileName + QStringLiteral("\"></script>");
}

QString WithWebPlayer(const QString &element)
{
    return element + QStringLiteral("\r\n") + WebPlayerScriptLine();
}

QByteArray EmbeddedWebPlayer()
{
    QFile resource(QStringLiteral(":/quilanim.js"));
    if (!resource.open(QIODevice::ReadOnly))
        return QByteArray();
    return resource.readAll();
}

QByteArray FirstLine(const QByteArray &text)
{
    const qsizetype end = text.indexOf('\n');
    QByteArray line = end < 0 ? text : text.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

#pragma once

// Small helpers shared by the tag reader tests.

#include "document/AnimationDocument.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>

namespace TagTestSupport {

inline void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("GIF89a");
}

inline QString lines(const QStringList &lines)
{
    return lines.join(QLatin1String("\r\n"));
}

inline QString param(const QString &name, const QString &value)
{
    return QStringLiteral("<param name=\"%1\" value=\"%2\">").arg(name, value);
}

inline QStringList paths(const AnimationDocument &document)
{
    QStringList result;
    for (const AnimationFrame &frame : document.Frames())
        result.append(frame.PicturePath);
    return result;
}

inline QStringList captions(const AnimationDocument &document)
{
    QStringList result;
    for (const AnimationFrame &frame : document.Frames())
        result.append(frame.CaptionText);
    return result;
}

// Runs in folder and goes back afterwards.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &folder) : m_old(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(m_old); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_old;
};

} // namespace TagTestSupport

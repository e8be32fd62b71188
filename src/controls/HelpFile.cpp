#include "controls/HelpFile.h"

#include "controls/FileText.h"
#include "platform/AppFolders.h"

#include <QFile>
#include <QRegularExpression>

HelpFile HelpFile::parse(const QString &page)
{
    static const QRegularExpression sectionPattern(
        QStringLiteral(R"re(<section\s+class="(topic|popup)"\s+id="(topic|popup)-(\d+)"\s*>(.*?)</section>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression headingPattern(
        QStringLiteral(R"re(<h[1-6][^>]*>(.*?)</h[1-6]>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);

    HelpFile file;
    for (auto it = sectionPattern.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        // The class and the id must agree; a section that says two things is skipped.
        if (match.captured(1).compare(match.captured(2), Qt::CaseInsensitive) != 0)
            continue;
        bool ok = false;
        const int number = match.captured(3).toInt(&ok);
        if (!ok)
            continue;
        Section section;
        section.html = match.captured(4).trimmed();
        const QRegularExpressionMatch heading = headingPattern.match(section.html);
        if (heading.hasMatch())
            section.title = plainText(heading.captured(1));
        const bool popup = match.captured(1).compare(QLatin1String("popup"), Qt::CaseInsensitive) == 0;
        (popup ? file.m_popups : file.m_topics).insert(number, section);
    }
    return file;
}

QString HelpFile::embeddedPage()
{
    QFile resource{QLatin1String(EmbeddedHelpResource)};
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(resource.readAll());
}

HelpFile HelpFile::embedded()
{
    return parse(embeddedPage());
}

bool HelpFile::contains(Kind kind, int number) const
{
    return (kind == Kind::Topic ? m_topics : m_popups).contains(number);
}

HelpFile::Section HelpFile::section(Kind kind, int number) const
{
    return (kind == Kind::Topic ? m_topics : m_popups).value(number);
}

QList<int> HelpFile::numbers(Kind kind) const
{
    return (kind == Kind::Topic ? m_topics : m_popups).keys();
}

QString HelpFile::plainText(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QString text = html;
    text.replace(tag, QStringLiteral(" "));
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text.replace(blanks, QStringLiteral(" ")).trimmed();
}

int HelpFile::wordCount(const QString &html)
{
    static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]+"));
    int count = 0;
    for (auto it = word.globalMatch(plainText(html)); it.hasNext(); it.next())
        ++count;
    return count;
}

QString HelpFilePath()
{
    return ProgramFolder() + QStringLiteral("/help/reelcraft.html");
}

QString InstallHelpFile(Prompts &prompts)
{
    const QString path = HelpFilePath();
    QFile resource{QLatin1String(EmbeddedHelpResource)};
    QFile installed(path);
    bool current = false;
    if (resource.open(QIODevice::ReadOnly) && installed.open(QIODevice::ReadOnly))
        current = installed.size() == resource.size() && installed.readAll() == resource.readAll();
    if (!current)
        ExtractResourceToFile(path, QLatin1String(EmbeddedHelpResource), prompts);
    return path;
}

#include "document/SharedFolderNames.h"

#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

class NameAssigner
{
public:
    explicit NameAssigner(const QString &pageName)
    {
        for (const QString &name : ReservedFolderNames())
            m_taken.insert(name);
        if (!pageName.isEmpty())
            m_taken.insert(pageName);
    }

    // Gives the file at path its own name ahead of the walk when it lies in folder (a
    // canonical path) and the name is free.
    void claimWhenIn(const QString &folder, const QString &path, const QString &name)
    {
        const QString key = identity(path);
        if (name.isEmpty() || folder.isEmpty() || m_names.contains(key) || m_taken.contains(name)
            || QFileInfo(key).path() != folder)
            return;
        m_taken.insert(name);
        m_names.insert(key, name);
    }

    // The name for the file at path whose own file name part is name.
    QString assign(const QString &path, const QString &name)
    {
        if (name.isEmpty())
            return name;
        const QString key = identity(path);
        const auto seen = m_names.constFind(key);
        if (seen != m_names.constEnd())
            return seen.value();
        const QString free = freeName(name);
        m_taken.insert(free);
        m_names.insert(key, free);
        return free;
    }

private:
    // The same file reached by two texts (a link, "..") is one file.
    static QString identity(const QString &path)
    {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? path : canonical;
    }

    QString freeName(const QString &name) const
    {
        if (!m_taken.contains(name))
            return name;
        // The extension starts at the last "." that is not the name's first character, so
        // ".htaccess" has none and "a.tar.gz" keeps ".gz".
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString stem = dot > 0 ? name.left(dot) : name;
        const QString extension = dot > 0 ? name.mid(dot) : QString();
        for (int n = 2;; ++n) {
            const QString candidate = stem + QLatin1Char('-') + QString::number(n) + extension;
            if (!m_taken.contains(candidate))
                return candidate;
        }
    }

    QSet<QString> m_taken;
    QHash<QString, QString> m_names; // file identity -> its name
};

} // namespace

const QStringList &ReservedFolderNames()
{
    static const QStringList names{QStringLiteral("quilanim.class"), QStringLiteral("WrappingLabel.class"),
                                   QStringLiteral("quilanim.js")};
    return names;
}

QString BareFileName(const QString &path)
{
    QString name = ExtractFileName(path);
    while (IsWindowsFormPath(name)) {
        const QString shorter = ExtractFileName(name);
        if (shorter == name)
            break;
        name = shorter;
    }
    return name;
}

SharedFolderNames AssignSharedFolderNames(const AnimationDocument &document, const QString &pagePath)
{
    NameAssigner assigner(pagePath.isEmpty() ? QString() : QFileInfo(pagePath).fileName());
    const QString soundtrack = document.text(TextSetting::Soundtrack);
    const QString background = document.text(TextSetting::BackImage);
    if (!pagePath.isEmpty()) {
        const QString folder = QFileInfo(QFileInfo(pagePath).absolutePath()).canonicalFilePath();
        for (const AnimationFrame &frame : document.Frames())
            assigner.claimWhenIn(folder, frame.PicturePath, ExtractFileName(frame.PicturePath));
        assigner.claimWhenIn(folder, soundtrack, BareFileName(soundtrack));
        assigner.claimWhenIn(folder, background, BareFileName(background));
    }
    SharedFolderNames names;
    names.frames.reserve(document.frameCount());
    for (const AnimationFrame &frame : document.Frames())
        names.frames.append(assigner.assign(frame.PicturePath, ExtractFileName(frame.PicturePath)));
    names.soundtrack = assigner.assign(soundtrack, BareFileName(soundtrack));
    names.background = assigner.assign(background, BareFileName(background));
    return names;
}

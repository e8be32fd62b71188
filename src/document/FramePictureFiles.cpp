#include "document/FramePictureFiles.h"

#include <QFileInfo>

bool IsFramePictureFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(u"gif", Qt::CaseInsensitive) == 0
        || suffix.compare(u"jpg", Qt::CaseInsensitive) == 0
        || suffix.compare(u"jpeg", Qt::CaseInsensitive) == 0;
}

QStringList FramePictureFilesFromUrls(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && IsFramePictureFile(path))
            files.append(path);
    }
    return files;
}

QString FolderWithSeparator(const QString &filePath)
{
    const qsizetype slash = filePath.lastIndexOf(u'/');
    return slash < 0 ? QString() : filePath.left(slash + 1);
}

#include "output/PreviewPage.h"

#include "controls/BusyCursor.h"
#include "output/AnimationFileCopy.h"
#include "output/AppletTagWriter.h"
#include "output/StagedFolderWrite.h"
#include "output/WebPlayer.h"
#include "platform/AppFolders.h"
#include "platform/EError.h"

#include <QDir>
#include <QFileInfo>

QString PreviewFolder()
{
    return ProgramFolder() + QStringLiteral("/preview");
}

namespace {

QString PreviewPageName()
{
    return QStringLiteral("~jvprev.htm");
}

} // namespace

QString PreviewPagePath()
{
    return PreviewFolder() + QLatin1Char('/') + PreviewPageName();
}

QString PreviewListing(const QString &element)
{
    QString listing;
    listing.reserve(element.size() + element.size() / 4);
    for (const QChar c : element) {
        if (c == u'&')
            listing += QLatin1String("&amp;");
        else if (c == u'<')
            listing += QLatin1String("&lt;");
        else if (c == u'>')
            listing += QLatin1String("&gt;");
        else
            listing += c;
    }
    return listing;
}

QString PreviewPageText(const AnimationDocument &document)
{
    const QLatin1String crlf("\r\n");
    // The preview always plays: the element is followed by the web player's script line.
    const QString path = PreviewPagePath();
    const QString element = WithWebPlayer(WriteAppletTag(
        document, BuildImageList(document, ImageListForm::FileNameOnly, QString(), path), ImageListForm::FileNameOnly, path));
    QString page;
    page += QLatin1String("<html>\r\n<head><title>Reelcraft Preview</title></head>\r\n");
    page += QLatin1String("<body>") + crlf;
    page += element;
    page += crlf + QLatin1String("<hr>") + crlf;
    page += QLatin1String("<pre>") + crlf;
    page += PreviewListing(element) + crlf;
    page += QLatin1String("</pre>");
    page += QLatin1String("</body>") + crlf;
    page += QLatin1String("</html>");
    return page;
}

QString WritePreviewPage(const AnimationDocument &document, QStringList *notCopied, const CopyProgress &progress)
{
    const QString text = PreviewPageText(document);
    const QString folder = PreviewFolder();
    EnsureFolder(folder);

    BusyCursor busy;
    StagedFolderWrite write(folder);
    QString problem;
    if (!write.stageBytes(PreviewPageName(), text.toUtf8(), &problem))
        throw EFileError(problem);
    StageAnimationFiles(write, document, true, true, notCopied, PreviewPagePath(), progress);
    if (!write.commit(&problem))
        throw EFileError(problem);
    return PreviewPagePath();
}

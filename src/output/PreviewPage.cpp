#include "output/PreviewPage.h"

#include "controls/BusyCursor.h"
#include "controls/FileText.h"
#include "output/AnimationFileCopy.h"
#include "output/AppletTagWriter.h"
#include "output/WebPlayer.h"
#include "platform/AppFolders.h"
#include "platform/EError.h"

#include <QDir>
#include <QFileInfo>

QString PreviewFolder()
{
    return ProgramFolder() + QStringLiteral("/preview");
}

QString PreviewPagePath()
{
    return PreviewFolder() + QStringLiteral("/~jvprev.htm");
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
    const QString element =
        WithWebPlayer(WriteAppletTag(document, BuildImageList(document, ImageListForm::FileNameOnly)));
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

QString WritePreviewPage(const AnimationDocument &document)
{
    const QString text = PreviewPageText(document);
    const QString folder = PreviewFolder();
    if (!QFileInfo(folder).isDir() && (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()))
        throw EFileError(QStringLiteral("The folder ") + folder + QStringLiteral(" could not be created."));
    const QString page = PreviewPagePath();
    WriteFileText(page, text);

    BusyCursor busy;
    CopyAnimationFiles(document, folder, true, true);
    return page;
}

#include "output/ShowPage.h"

#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"
#include "output/AppletTagText.h"

#include <QFileInfo>

QString ShowPageText(const QString &title, const QString &elementText)
{
    return QStringLiteral("<!DOCTYPE html>\r\n"
                          "<html lang=\"en\">\r\n"
                          "<head>\r\n"
                          "<meta charset=\"utf-8\">\r\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
                          "<title>%1</title>\r\n"
                          "</head>\r\n"
                          "<body>\r\n"
                          "%2\r\n"
                          "</body>\r\n"
                          "</html>\r\n")
        .arg(EscapeAttributeValue(title), elementText);
}

QString ShowPageTitle(const AnimationDocument &document)
{
    // Project names may be in Windows form ("C:\shows\trip.rcf") as well as POSIX form.
    const QString name = QFileInfo(ExtractFileName(document.CurrentFileName())).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Slideshow") : name;
}

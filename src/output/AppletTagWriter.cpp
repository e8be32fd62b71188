#include "output/AppletTagWriter.h"

#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"
#include "output/AppletTagText.h"

namespace {

const QLatin1String kLineBreak("\r\n");

QString imageListEntry(const QString &picturePath, const QString &sharedName, ImageListForm form,
                       const QString &folderOrDocumentName)
{
    switch (form) {
    case ImageListForm::FileNameOnly:
        return sharedName;
    case ImageListForm::InFolder:
        return JoinPath(folderOrDocumentName, sharedName);
    case ImageListForm::RelativeToDocument:
        if (folderOrDocumentName.isEmpty())
            return PathToFileURL(picturePath);
        return MakeRelativePath(folderOrDocumentName, picturePath).replace(QLatin1Char('\\'), QLatin1Char('/'));
    case ImageListForm::FileUrl:
        return PathToFileURL(picturePath);
    }
    return PathToFileURL(picturePath);
}

// Whether the form puts the pictures side by side in one folder under their shared names.
bool usesSharedFolder(ImageListForm form)
{
    return form == ImageListForm::FileNameOnly || form == ImageListForm::InFolder;
}

// The value of the "background" or "soundtrack" line for the file at path; empty for no line.
// Project files keep the whole location; the page forms give the name the file has beside
// the page.
QString fileParameterValue(const QString &path, const QString &sharedName, ImageListForm form)
{
    const QString bareName = BareFileName(path);
    if (bareName.isEmpty())
        return QString();
    if (form == ImageListForm::FileUrl)
        return EscapePictureReference(PathToFileURL(path));
    return EscapePageReference(usesSharedFolder(form) ? sharedName : bareName);
}

qint64 speedValue(const QString &text)
{
    return ParseIntegerText(text).value_or(0);
}

// One component of the move value from a direction list and its speed text.
QString moveComponent(int selectedItem, const QString &speed)
{
    switch (selectedItem) {
    case 1:
        return speed;
    case 2:
        return QLatin1Char('-') + speed;
    default:
        return QStringLiteral("0");
    }
}

void appendParameter(QString &out, QLatin1String name, const QString &value)
{
    out += QLatin1String("<param name=\"");
    out += name;
    out += QLatin1String("\" value=\"");
    AppendEscapedAttributeValue(out, value, ValueQuoting::Quoted);
    out += QLatin1String("\">");
    out += kLineBreak;
}

QString captionList(const AnimationDocument &document)
{
    QString list;
    const FrameList &frames = document.Frames();
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (i > 0)
            list += QLatin1Char('|');
        list += frames.at(i).CaptionText;
    }
    return list;
}

bool holdsMoreThanSeparators(const QString &list)
{
    for (const QChar c : list) {
        if (c != u'|')
            return true;
    }
    return false;
}

} // namespace

QString BuildImageList(const AnimationDocument &document, ImageListForm form,
                       const QString &folderOrDocumentName, const QString &pagePath)
{
    QString list;
    const FrameList &frames = document.Frames();
    const QStringList sharedNames =
        usesSharedFolder(form) ? AssignSharedFolderNames(document, pagePath).frames : QStringList();
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (i > 0)
            list += QLatin1Char(',');
        const QString sharedName = usesSharedFolder(form) ? sharedNames.at(i) : QString();
        const QString entry = imageListEntry(frames.at(i).PicturePath, sharedName, form, folderOrDocumentName);
        list += form == ImageListForm::FileUrl ? EscapePictureReference(entry) : EscapePageReference(entry);
    }
    return list;
}

bool CaptionsAreWritten(const AnimationDocument &document, ImageListForm form)
{
    // A moving show plays without captions, but its project file keeps them for later.
    if (form != ImageListForm::FileUrl
        && (speedValue(document.text(TextSetting::HorizSpeed)) != 0
            || speedValue(document.text(TextSetting::VerticalSpeed)) != 0))
        return false;
    for (const AnimationFrame &frame : document.Frames()) {
        if (holdsMoreThanSeparators(frame.CaptionText))
            return true;
    }
    return false;
}

QString WriteAppletTag(const AnimationDocument &document, const QString &imageList, ImageListForm form,
                       const QString &pagePath)
{
    const AnimationSettings &settings = document.settings();
    QString out;
    // The image list and the captions make up nearly all of the text.
    qsizetype captionsSize = 0;
    for (const AnimationFrame &frame : document.Frames())
        captionsSize += frame.CaptionText.size() + 1;
    out.reserve((imageList.size() + captionsSize) * 9 / 8 + 1024);

    out += QLatin1String("<applet code=\"quilanim\" width=");
    AppendEscapedAttributeValue(out, settings.JavaWidth, ValueQuoting::Unquoted);
    out += QLatin1String(" height=");
    AppendEscapedAttributeValue(out, settings.JavaHeight, ValueQuoting::Unquoted);
    out += QLatin1Char('>');
    out += kLineBreak;

    appendParameter(out, QLatin1String("imagelist"), imageList);

    if (CaptionsAreWritten(document, form)) {
        appendParameter(out, QLatin1String("captionlist"), captionList(document));
        if (settings.FontName != NoSelectedItem)
            appendParameter(out, QLatin1String("fontname"), document.selectedItemText(ListSetting::FontName));
        if (!settings.FontSize.isEmpty())
            appendParameter(out, QLatin1String("fontsize"), settings.FontSize);
        if (settings.FontStyle != NoSelectedItem)
            appendParameter(out, QLatin1String("fontstyle"), QString::number(settings.FontStyle));
    }

    appendParameter(out, QLatin1String("move"),
                    moveComponent(settings.HorizDirection, settings.HorizSpeed) + QLatin1Char(',')
                        + moveComponent(settings.VertDirection, settings.VerticalSpeed));
    appendParameter(out, QLatin1String("pause"), settings.BetweenFrames);
    appendParameter(out, QLatin1String("enddelay"), settings.Delay);
    appendParameter(out, QLatin1String("bounce"),
                    settings.Edge == BounceOffEdge ? QStringLiteral("true") : QStringLiteral("false"));
    // Only when on, so a show without it is the element it always was.
    if (settings.ScaleToFit)
        appendParameter(out, QLatin1String("scale"), QStringLiteral("fit"));
    if (!settings.Repeat.isEmpty())
        appendParameter(out, QLatin1String("repeat"), settings.Repeat);
    // Any colour the field holds valid, typed in either mode, as "#RRGGBB"; nothing else.
    const QString colour = document.BackgroundColour().HtmlColour();
    if (!colour.isEmpty())
        appendParameter(out, QLatin1String("bg"), QLatin1Char('#') + colour);

    // A path without a name part (a folder) gives no line, since an empty value names no file.
    const SharedFolderNames sharedNames =
        usesSharedFolder(form) ? AssignSharedFolderNames(document, pagePath) : SharedFolderNames();
    const QString background = fileParameterValue(settings.BackImage, sharedNames.background, form);
    if (!background.isEmpty())
        appendParameter(out, QLatin1String("background"), background);
    const QString soundtrack = fileParameterValue(settings.Soundtrack, sharedNames.soundtrack, form);
    if (!soundtrack.isEmpty())
        appendParameter(out, QLatin1String("soundtrack"), soundtrack);

    out += QLatin1String("</applet>");
    return out;
}

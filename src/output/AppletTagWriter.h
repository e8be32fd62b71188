#pragma once

#include <QString>

class AnimationDocument;

// How the pictures of the image list are referred to.
enum class ImageListForm {
    FileNameOnly,       // the file name part only: the pictures lie beside the page
    InFolder,           // the file name joined to a folder text (JoinPath)
    RelativeToDocument, // the path from the host document's folder, with "/" separators
    FileUrl,            // the file URL of the full path (project files)
};

// The value of the "imagelist" parameter: one entry per frame in play order, joined by ","
// without blanks; empty without frames. folderOrDocumentName is the folder text for InFolder
// and the host document name for RelativeToDocument (empty: the FileUrl entry); the other
// forms ignore it. Each entry writes "%" as "%25" and "," as "%2C", so no file name splits
// the list.
QString BuildImageList(const AnimationDocument &document, ImageListForm form,
                       const QString &folderOrDocumentName = QString());

// The applet element for the document around an image list made by BuildImageList: the
// applet line, the parameter lines and "</applet>", with CR LF between lines and nothing
// after the last. Every value is escaped (EscapeAttributeValue), so the element is ASCII and
// no setting, caption or file name can end a value early. Writing the same document twice
// gives the same text.
QString WriteAppletTag(const AnimationDocument &document, const QString &imageList);

// Whether the element carries captions: both speeds are 0 (an empty text or one that is no
// integer counts as 0) and at least one caption holds something other than "|".
bool CaptionsAreWritten(const AnimationDocument &document);

// The name that the "background" and "soundtrack" parameters give for a file path: its file
// name part, taken again while that part itself still reads as a path with a drive (a POSIX
// name like "x:y" in "/art/x:y"), so reading the element back and writing it again gives the
// same name.
QString BareFileName(const QString &path);

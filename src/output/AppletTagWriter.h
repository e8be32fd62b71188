#pragma once

#include "document/SharedFolderNames.h"

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
// forms ignore it. FileNameOnly and InFolder name each picture by AssignSharedFolderNames,
// so two pictures of one name in different folders stay apart (pagePath: the page the files
// lie beside, when known). Each entry writes "%" as "%25" and "," as
// "%2C", so no file name splits the list; the page forms (all but FileUrl) also escape what a
// browser would misread (EscapePageReference).
QString BuildImageList(const AnimationDocument &document, ImageListForm form,
                       const QString &folderOrDocumentName = QString(), const QString &pagePath = QString());

// The applet element for the document around an image list made by BuildImageList in form:
// the applet line, the parameter lines and "</applet>", with CR LF between lines and nothing
// after the last. The "background" and "soundtrack" lines follow the form: the file URL of
// the whole path for FileUrl (project files keep where the files are), the shared-folder
// name for FileNameOnly and InFolder, the file name for RelativeToDocument; "%" and "," are
// escaped as in the image list. "bg" is written for any colour the field holds valid, in
// either mode. Every value is escaped (EscapeAttributeValue), so the element is ASCII and
// no setting, caption or file name can end a value early. Writing the same document twice
// gives the same text.
QString WriteAppletTag(const AnimationDocument &document, const QString &imageList,
                       ImageListForm form = ImageListForm::FileNameOnly, const QString &pagePath = QString());

// Whether the element carries captions: at least one caption holds something other than
// "|", and, except in the FileUrl form of project files, both speeds are 0 (an empty text
// or one that is no integer counts as 0).
bool CaptionsAreWritten(const AnimationDocument &document, ImageListForm form = ImageListForm::FileNameOnly);

#pragma once

#include "output/AnimationFileCopy.h"

#include <QString>
#include <QStringList>

class AnimationDocument;

// The preview page: the applet element with bare file names and the web player's script
// line, followed by their own source as readable text, in the program's "preview" folder
// with every file they need beside it, so any browser plays the animation from there.

// ProgramFolder() + "/preview", without a trailing separator.
QString PreviewFolder();
// PreviewFolder() + "/~jvprev.htm"; every preview writes over it.
QString PreviewPagePath();

// The element's source as page text: "&", "<" and ">" become "&amp;", "&lt;" and "&gt;",
// so the listing shows exactly the characters of the element (whose values hold character
// references of their own).
QString PreviewListing(const QString &element);

// The whole page for the document, CR LF between lines and no line break after "</html>".
QString PreviewPageText(const AnimationDocument &document);

// Writes the page (creating the folder when missing) with every frame picture, the
// soundtrack, the background image, both class files and the web player beside it, all in
// one staged write (CopyAnimationFiles). Returns the page's path for the browser. A folder
// that cannot be made or a file that cannot be put in place throws EFileError, and the folder
// is as it was; a file that would not play is left out and named in *notCopied. progress
// hears how far the light copies are; its false throws ECancelled with nothing written.
QString WritePreviewPage(const AnimationDocument &document, QStringList *notCopied = nullptr,
                         const CopyProgress &progress = CopyProgress());

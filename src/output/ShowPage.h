#pragma once

#include <QString>

class AnimationDocument;

// The page of our own that plays a show: what "make" writes for OUT and what the compile
// dialog writes beside the copied files.

// The file the compile dialog writes beside the files.
inline constexpr QLatin1String ShowPageFileName{"index.html"};

// The page around the element text (with or without the web player's line): doctype,
// language, UTF-8 charset, a viewport that fits phones, the title (escaped), and the element
// alone in the body. Lines end in CR LF, as the element's do.
QString ShowPageText(const QString &title, const QString &elementText);

// The compile dialog's title: the project's file name without its folder and extension, or
// "Slideshow" for a document without a file name.
QString ShowPageTitle(const AnimationDocument &document);

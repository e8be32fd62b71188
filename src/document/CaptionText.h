#pragma once

#include <QString>

// The caption of a frame is one line. The caption box shows what was typed or pasted; what is
// stored is that text with every line break (a carriage return and line feed pair, or either
// alone) turned into one blank.
QString CaptionFromBoxText(const QString &boxText);

// "|" separates the captions of the applet's caption list, so a caption never holds one: the
// caption box refuses it when typed and turns it into "/" when pasted or dropped.
inline constexpr QChar CaptionSeparator{u'|'};
inline constexpr QChar CaptionSeparatorReplacement{u'/'};
QString WithoutCaptionSeparators(const QString &text);

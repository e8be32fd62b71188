#pragma once

#include <QString>

#include <functional>

class QFontMetrics;

// The width of a text in pixels, as the control that shows it would draw it.
using TextWidthMeasure = std::function<int(const QString &)>;

// Shortens text (a path) to width pixels by putting dots in its middle: each pass keeps the
// characters left of the middle minus one more, then k dots (k = 1, 2, ...), then the rest
// from the middle plus k, cut from the text of the pass before. It stops when the text
// fits; when a pass leaves the width as it was, or nothing of the path is left to cut, it
// stops with the text of the pass before, cut at its end to the longest start that fits
// (possibly empty). So it always ends, and for a width of 0 or more the result fits.
QString ElideText(const QString &text, int width, const TextWidthMeasure &measure);
QString ElideText(const QString &text, int width, const QFontMetrics &metrics);

#include "controls/ElideText.h"

#include <QFontMetrics>

namespace {

// The longest start of text that fits, for a stop that left it too wide.
QString fittingStart(const QString &text, int width, const TextWidthMeasure &measure)
{
    for (qsizetype length = text.size(); length > 0; --length) {
        const QString start = text.left(length);
        if (measure(start) <= width)
            return start;
    }
    return QString();
}

} // namespace

QString ElideText(const QString &text, int width, const TextWidthMeasure &measure)
{
    const qsizetype middle = text.size() / 2;
    QString current = text; // t: the text of the latest pass
    QString shown = text;   // r: the text to show
    int previousWidth = -1;
    // Each pass either fits, stops, or puts one more dot in; after length + 2 passes no
    // character of the path can be left, so this bound is never the one that ends a
    // well-behaved measure.
    for (qsizetype k = 1; k <= text.size() + 2; ++k) {
        if (measure(current) <= width)
            return shown;
        const qsizetype headLength = qMax<qsizetype>(0, middle - k);
        const qsizetype tailStart = middle + k - 1; // position middle + k counted from 1
        const QString head = current.left(headLength);
        const QString tail = tailStart < current.size() ? current.mid(tailStart) : QString();
        if (head.isEmpty() && tail.isEmpty())
            break; // only dots would be left
        current = head + QString(k, QLatin1Char('.')) + tail;
        const int currentWidth = measure(current);
        if (currentWidth == previousWidth)
            break;
        previousWidth = currentWidth;
        shown = current;
    }
    return fittingStart(shown, width, measure);
}

QString ElideText(const QString &text, int width, const QFontMetrics &metrics)
{
    return ElideText(text, width, [&metrics](const QString &part) { return metrics.horizontalAdvance(part); });
}

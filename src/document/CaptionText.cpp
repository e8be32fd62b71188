#include "document/CaptionText.h"

QString CaptionFromBoxText(const QString &boxText)
{
    QString caption;
    caption.reserve(boxText.size());
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        const QChar ch = boxText.at(i);
        if (ch == u'\r' && i + 1 < boxText.size() && boxText.at(i + 1) == u'\n') {
            caption.append(u' ');
            ++i;
        } else if (ch == u'\r' || ch == u'\n' || ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator) {
            caption.append(u' ');
        } else {
            caption.append(ch);
        }
    }
    return caption;
}

QString WithoutCaptionSeparators(const QString &text)
{
    QString result = text;
    result.replace(CaptionSeparator, CaptionSeparatorReplacement);
    return result;
}

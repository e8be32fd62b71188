#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Small text helpers shared by the tag reader, the project files, the colour fields and the
// dialogs. Positions handed in or out are counted from 1, with 0 meaning "not found".

// The value of attribute name in an HTML tag text: the text after the first "name=" (found
// without regard to case). A value starting with a double quote runs to the next double
// quote; an unquoted one ends at a blank, tab, CR, LF or double quote. ">" always ends a
// value without belonging to it. The value comes back without blanks and surrounding
// quotes; empty when the attribute is missing.
QString GetAttributeValue(const QString &tag, const QString &name);

// Every segment from opening to the next closing after it, both included, in order of the
// text. With positions each entry is followed by "," and the offset of the segment in text,
// counted from 0. An opening without a closing after it ends the list. Matching is exact.
QStringList ExtractTags(const QString &text, const QString &opening, const QString &closing,
                        bool withPositions = false);

// The pieces between separators. Two separators in a row, or one at the start, give an empty
// piece; a separator at the end gives none; an empty text gives no pieces at all.
QStringList SplitText(const QString &text, const QString &separator);

// The position (from 1) of part in text without regard to case, searching from position
// from; 0 when absent or part is empty. Parts of 9 or more characters are searched with a
// Boyer-Moore-Horspool skip table.
int FindText(const QString &part, const QString &text, int from = 1);

// Every occurrence of oldText replaced by newText from left to right; the text inserted is
// never searched again (replacing "a" with "aa" doubles each "a" once).
QString ReplaceText(const QString &text, const QString &oldText, const QString &newText,
                    bool caseSensitive);

// The text before the first separator. When the separator is missing or stands first:
// the whole text if wholeIfMissing, else empty.
QString TextBefore(const QString &text, const QString &separator, bool wholeIfMissing);
// The text after the first separator. When it is missing: the whole text if wholeIfMissing,
// else empty.
QString TextAfter(const QString &text, const QString &separator, bool wholeIfMissing);
// TextAfter start, then TextBefore end, each empty when its separator is missing.
QString TextBetween(const QString &text, const QString &start, const QString &end);

// Adds a double quote at the start and at the end where one is missing.
QString QuoteText(const QString &text);
// Trims blanks, then removes one double quote at the start and one at the end.
QString Unquote(const QString &text);
// Removes every character up to and including the blank (control characters too) from
// both ends; other white space such as a no-break space is kept.
QString TrimBlanks(const QString &text);

// Light masking for edits that hide their text. "ENC" writes the UTF-8 bytes of text, each
// combined with a repeating 19-character key, as decimal numbers joined by "," (a text of
// one byte gets a trailing ","). "DEC" undoes it; a text without "," or one that is not
// such a list of numbers comes back unchanged. Any other mode returns text unchanged.
QString ScrambleText(const QString &text, const QString &mode);

// Decimal integer text (blanks around it allowed, optional sign) or defaultValue when the
// text is no integer or does not fit in an int.
int TextToInt(const QString &text, int defaultValue);
// "true" or "false".
QString BoolToText(bool value);
// True for "yes", "true" and "1", compared without regard to case.
bool TextToBool(const QString &text);
// Whether the variant holds a value of an integer type (not a bool, not a number in text).
bool VariantIsInteger(const QVariant &value);

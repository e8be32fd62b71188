#pragma once

#include <QString>

#include <optional>

// The text forms of values inside the applet element. The writer escapes every value so the
// element is plain printable ASCII that no value can cut short, and the reader undoes it.

// How a value stands in its tag: between double quotes (parameter values) or bare (the
// applet's width and height).
enum class ValueQuoting { Quoted, Unquoted };

// The value as it goes into the element: "&", double quote, "<" and ">" become "&amp;",
// "&quot;", "&lt;" and "&gt;"; every character outside printable ASCII (controls, DEL and
// everything above 127) becomes a decimal character reference of its code point (a lone
// surrogate, which names no character, becomes U+FFFD). A bare value also writes blanks as
// "&#32;" and "=" as "&#61;": a blank would end it, and "=" could make it look like the
// start of the attribute that follows.
QString EscapeAttributeValue(const QString &value, ValueQuoting quoting = ValueQuoting::Quoted);
// The same, appended to out (no copy of a long value on the way).
void AppendEscapedAttributeValue(QString &out, QStringView value, ValueQuoting quoting = ValueQuoting::Quoted);

// Decodes the character references of a value read from a tag: "&amp;", "&quot;", "&lt;",
// "&gt;", "&apos;" and numeric ones ("&#65;", "&#x41;"), each ending with ";". A "&" that
// starts none of these, or a number that names no character (a surrogate, above U+10FFFF),
// stays as it is, so text written without escaping reads as before.
QString DecodeCharacterReferences(const QString &value);

// One picture reference of the image list: "%" becomes "%25" and "," becomes "%2C", so the
// reference never splits the list; browsers and the applet resolve both to the same file.
QString EscapePictureReference(const QString &reference);
// The same for a reference a browser fetches from the page (the page forms): besides, "#" as
// "%23", "?" as "%3F", every control character as "%XX" and a blank at either end of the
// reference or of its file name part as "%20". A browser would otherwise take the rest of the
// name for a fragment or a query, drop tabs and line breaks, or trim the blanks.
QString EscapePageReference(const QString &reference);
// The reverse of both for one entry after the list is split: "%2C" gives ",", "%25" "%",
// "%23" "#", "%3F" "?", "%00" to "%1F" and "%7F" their control characters, and "%20" a blank
// at either end of the entry or of its name part (hexadecimal digits in either case); any
// other "%" stays, so "a%20b.gif" in a page written by hand still names that file.
QString DecodePictureReference(const QString &entry);

// A decimal integer with an optional sign and blanks around it, when it fits in 64 bits.
std::optional<qint64> ParseIntegerText(const QString &text);

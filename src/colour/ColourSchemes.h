#pragma once

#include "colour/ColourText.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class RegistryKey;

// The custom colour schemes of the colour picker: named sets of 16 swatches kept below the
// picker's key. "[Default]" lives in "Custom Colours" itself, every other scheme in a
// sub-key of it; each swatch is a string value "0" to "15" holding a colour value as a
// decimal integer. The registry key given in is only used for its registry; every function
// works on absolute paths and leaves that key where it is.

inline constexpr int SwatchCount = 16;
inline constexpr ColourValue SwatchWhite = 0xFFFFFFu;

QString DefaultSchemeName();
QString LastSchemeValueName();
// "Custom Colours" for "[Default]", otherwise "Custom Colours\<name>", below the picker's key.
QString SchemeKeyPath(const QString &scheme);

// "[Default]" and the name of every stored scheme, sorted without regard to case. The
// "Custom Colours" key is created when missing.
QStringList SchemeNames(const RegistryKey &registry);

// A swatch value read back: decimal, or hexadecimal after "0x"/"0X", within 32 bits;
// white for anything else (missing or unreadable).
ColourValue SwatchValue(const QString &text);

// The swatches of a scheme as the picker shows them: with m values stored under the scheme
// key, swatches 0 to m-1 are read by their names "0", "1", ... (white when missing) and
// given a colour; the others stay white without one (no value).
QList<std::optional<ColourValue>> LoadSchemeColours(const RegistryKey &registry, const QString &scheme);
// Writes "0" to "n-1" for the colours given, creating the scheme key when missing.
bool SaveSchemeColours(const RegistryKey &registry, const QString &scheme, const QList<ColourValue> &colours);
// Removes a named scheme with all its values; "[Default]" is never removed.
bool DeleteScheme(const RegistryKey &registry, const QString &scheme);

// The hint of a swatch: "#RRGGBB", CR LF, "r,g,b".
QString SwatchHint(ColourValue colour);

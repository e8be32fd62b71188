#include "colour/PaletteFiles.h"

#include "controls/FileText.h"
#include "controls/TextUtils.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

// The most a GIF header with a full colour table or a Photoshop table can need.
constexpr qint64 GifBytesNeeded = 13 + 3 * 256;
constexpr qint64 ActBytesNeeded = 3 * 256;
// A ".pal" file is read whole, up to a size far beyond any real palette, so a huge file
// chosen by mistake cannot exhaust memory; a JASC palette needs only its first 259 lines.
constexpr qint64 PalBytesRead = 16 * 1024 * 1024;

quint8 byteAt(const QByteArray &bytes, qsizetype index)
{
    return quint8(bytes.at(index));
}

PaletteEntry entryFrom(const QByteArray &bytes, qsizetype offset)
{
    return PaletteEntry{byteAt(bytes, offset), byteAt(bytes, offset + 1), byteAt(bytes, offset + 2), 0};
}

QString damaged(const QString &path, const QString &what)
{
    return QStringLiteral("The palette file ") + path + QStringLiteral(" is damaged: ") + what;
}

// A JASC channel: the piece as a decimal integer keeping its low 8 bits; 0 when the piece
// is not a number.
quint8 jascChannel(const QString &piece)
{
    const std::optional<qint64> value = ParseColourInteger(piece);
    return value ? quint8(*value & 0xFF) : 0;
}

QString extensionOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

} // namespace

QString GifPaletteMessage()
{
    return QStringLiteral("An error occurred while reading this file.  It is either not a valid GIF file "
                          "or it has no Global Palette.");
}

PaletteRead ReadGifPalette(const QByteArray &bytes)
{
    PaletteRead result;
    // The packed fields sit at offset 10; the table starts after the 13-byte header.
    if (bytes.size() < 13 || !bytes.startsWith("GIF") || (byteAt(bytes, 10) & 0x80) == 0) {
        result.message = GifPaletteMessage();
        return result;
    }
    const int entries = 1 << ((byteAt(bytes, 10) & 0x07) + 1);
    // A table cut short by the end of the file leaves the rest black.
    for (int i = 0; i < entries && 13 + 3 * qsizetype(i) + 2 < bytes.size(); ++i)
        result.palette[size_t(i)] = entryFrom(bytes, 13 + 3 * qsizetype(i));
    result.show = true;
    result.count = PaletteSize;
    return result;
}

PaletteRead ReadJascPalette(const QString &text, const QString &path)
{
    PaletteRead result;
    const QStringList lines = SplitText(text, QStringLiteral("\r\n"));
    if (lines.size() < 3) {
        result.message = damaged(path, QStringLiteral("it has no line with the number of colours "
                                                      "(lines must end with CR LF)."));
        return result;
    }
    const std::optional<qint64> declared = ParseColourInteger(lines.at(2).trimmed());
    const int count = int(std::clamp<qint64>(declared.value_or(0), 0, PaletteSize));
    for (int i = 0; i < count; ++i) {
        const qsizetype lineIndex = 3 + qsizetype(i);
        if (lineIndex >= lines.size()) {
            result.message = damaged(path, QStringLiteral("it names %1 colours but holds only %2.")
                                               .arg(count).arg(i));
            return result;
        }
        const QStringList pieces = SplitText(lines.at(lineIndex), QStringLiteral(" "));
        if (pieces.size() < 3) {
            result.message = damaged(path, QStringLiteral("line %1 does not hold a red, green and blue value.")
                                               .arg(lineIndex + 1));
            return result;
        }
        result.palette[size_t(i)] = PaletteEntry{jascChannel(pieces.at(0)), jascChannel(pieces.at(1)),
                                                 jascChannel(pieces.at(2)), 0};
    }
    result.show = true;
    result.count = count;
    return result;
}

PaletteRead ReadRiffPalette(const QByteArray &bytes, const QString &path)
{
    PaletteRead result;
    result.show = true;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "PAL ")
        return result;
    if (bytes.size() < 24) {
        result.message = QStringLiteral("The palette file ") + path
            + QStringLiteral(" ends before its list of colours; the palette is shown black.");
        return result;
    }
    const int declared = byteAt(bytes, 22) | (byteAt(bytes, 23) << 8);
    const int wanted = std::min(declared, PaletteSize);
    const int present = int(std::min<qsizetype>((bytes.size() - 24) / 4, PaletteSize));
    const int count = std::min(wanted, present);
    for (int i = 0; i < count; ++i)
        result.palette[size_t(i)] = entryFrom(bytes, 24 + 4 * qsizetype(i));
    result.count = count;
    if (count < wanted)
        result.message = QStringLiteral("The palette file ") + path
            + QStringLiteral(" ends after %1 of its %2 colours; the rest are shown black.").arg(count).arg(wanted);
    return result;
}

PaletteRead ReadActPalette(const QByteArray &bytes)
{
    PaletteRead result;
    for (int i = 0; i < PaletteSize && 3 * qsizetype(i) + 2 < bytes.size(); ++i)
        result.palette[size_t(i)] = entryFrom(bytes, 3 * qsizetype(i));
    result.show = true;
    result.count = PaletteSize;
    return result;
}

PaletteRead ReadPaletteBytes(const QByteArray &bytes, const QString &path)
{
    const QString extension = extensionOf(path);
    if (extension == QLatin1String(".gif"))
        return ReadGifPalette(bytes);
    if (extension == QLatin1String(".act"))
        return ReadActPalette(bytes);
    if (extension == QLatin1String(".pal")) {
        // Only a JASC file is text; a RIFF file is read from its raw bytes.
        if (bytes.startsWith("JASC-PAL") || bytes.startsWith("\xEF\xBB\xBFJASC-PAL"))
            return ReadJascPalette(DecodeFileText(bytes), path);
        return ReadRiffPalette(bytes, path);
    }
    PaletteRead nothing;
    nothing.show = true;
    return nothing;
}

PaletteRead ReadPaletteFile(const QString &path)
{
    const QString extension = extensionOf(path);
    // No reader knows the file: nothing is read, not even opened.
    if (extension != QLatin1String(".gif") && extension != QLatin1String(".pal") && extension != QLatin1String(".act"))
        return ReadPaletteBytes(QByteArray(), path);
    // Only a regular file: a FIFO would keep the reader waiting for ever.
    RegularFile file;
    PaletteRead failed;
    QString problem;
    if (!file.open(path, &problem)) {
        failed.message = QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ") + file.reason();
        return failed;
    }
    // GIF and Photoshop tables sit at the start of their files.
    const QByteArray bytes = extension == QLatin1String(".gif") ? file.readUpTo(GifBytesNeeded)
        : extension == QLatin1String(".act")                      ? file.readUpTo(ActBytesNeeded)
                                                                  : file.readUpTo(PalBytesRead);
    return ReadPaletteBytes(bytes, path);
}

PaletteRead LoadPaletteBytes(const QByteArray &bytes, const QString &path, bool byLuminance)
{
    PaletteRead result = ReadPaletteBytes(bytes, path);
    if (result.show && byLuminance)
        SortByLuminance(result.palette, result.count);
    return result;
}

PaletteRead LoadPalette(const QString &path, bool byLuminance)
{
    PaletteRead result = ReadPaletteFile(path);
    if (result.show && byLuminance)
        SortByLuminance(result.palette, result.count);
    return result;
}

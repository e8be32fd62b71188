#include "colour/ColourCommands.h"

#include "colour/ColourSearch.h"
#include "colour/PaletteFiles.h"
#include "colour/PaletteSources.h"
#include "controls/TextUtils.h"
#include "output/cli/ConsoleText.h"
#include "output/cli/ReelcraftCli.h"

#include <QFile>
#include <QImageWriter>

#include <optional>

namespace ReelcraftCli {

namespace {

int fail(std::FILE *err, int status, const QString &text)
{
    ReportProblem(err, text);
    return status;
}

int usage(std::FILE *err, const QString &text)
{
    return fail(err, UsageFailure, text + QStringLiteral(" (see reelcraft-cli --help)"));
}

// The palette options after the file: "--sort luminance" or "--sort=luminance".
std::optional<bool> parseSort(QStringList &arguments, QString *problem)
{
    bool byLuminance = false;
    for (qsizetype i = 0; i < arguments.size();) {
        QString value;
        if (arguments.at(i) == QLatin1String("--sort")) {
            if (i + 1 >= arguments.size()) {
                *problem = QStringLiteral("--sort needs a value");
                return std::nullopt;
            }
            value = arguments.at(i + 1);
            arguments.remove(i, 2);
        } else if (arguments.at(i).startsWith(QLatin1String("--sort="))) {
            value = arguments.at(i).mid(7);
            arguments.remove(i);
        } else {
            ++i;
            continue;
        }
        if (value != QLatin1String("luminance")) {
            *problem = QStringLiteral("unknown order \"%1\" (use luminance)").arg(value);
            return std::nullopt;
        }
        byLuminance = true;
    }
    return byLuminance;
}

// The palette as the picker's grid shows it; the bare name "websafe.pal" is the built-in one.
PaletteRead loadNamedPalette(const QString &file, bool byLuminance)
{
    if (file == BuiltInPaletteName()) {
        QFile resource(QStringLiteral(":/") + BuiltInPaletteResource());
        const QByteArray bytes = resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
        return LoadPaletteBytes(bytes, file, byLuminance);
    }
    return LoadPalette(file, byLuminance);
}

// Loads for a command; a message the picker would show goes to standard error.
std::optional<Palette> paletteFor(const QString &file, bool byLuminance, std::FILE *err)
{
    const PaletteRead read = loadNamedPalette(file, byLuminance);
    if (!read.message.isEmpty())
        ReportProblem(err, read.message);
    if (!read.show)
        return std::nullopt;
    return read.palette;
}

bool savePicture(const QImage &picture, const QString &path, std::FILE *err)
{
    QImageWriter writer(path, "png");
    if (writer.write(picture))
        return true;
    ReportProblem(err, QStringLiteral("cannot write \"%1\": %2").arg(path, writer.errorString()));
    return false;
}

std::optional<ColourValue> parseColour(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char(','));
    if (pieces.size() != 3)
        return std::nullopt;
    int channels[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const std::optional<qint64> value = ParseColourInteger(pieces.at(i));
        if (!value || *value < 0 || *value > 255)
            return std::nullopt;
        channels[i] = int(*value);
    }
    return ColourFromRgb(channels[0], channels[1], channels[2]);
}

} // namespace

int RunPalette(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QStringList rest = arguments;
    QString problem;
    const std::optional<bool> byLuminance = parseSort(rest, &problem);
    if (!byLuminance)
        return usage(err, problem);
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--")))
        return usage(err, QStringLiteral("palette needs one FILE"));
    const std::optional<Palette> palette = paletteFor(rest.first(), *byLuminance, err);
    if (!palette)
        return FileFailure;
    QString text;
    for (const PaletteEntry &entry : *palette)
        text += ColourToDecimal(EntryColour(entry)) + QLatin1Char('\n');
    WriteText(out, text);
    return std::ferror(out) ? FileFailure : Done;
}

int RunSpectrum(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    Q_UNUSED(out);
    if (arguments.isEmpty() || arguments.size() > 2)
        return usage(err, QStringLiteral("spectrum needs SPECTRUM.png and may take GREYS.png"));
    if (!savePicture(BuildSpectrum(), arguments.at(0), err))
        return FileFailure;
    if (arguments.size() == 2 && !savePicture(BuildGreyStrip(), arguments.at(1), err))
        return FileFailure;
    return Done;
}

int RunNearest(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QStringList rest = arguments;
    QString problem;
    const std::optional<bool> byLuminance = parseSort(rest, &problem);
    if (!byLuminance)
        return usage(err, problem);
    if (rest.size() != 2)
        return usage(err, QStringLiteral("nearest needs R,G,B and a PALETTE or --spectrum"));
    const std::optional<ColourValue> colour = parseColour(rest.at(0));
    if (!colour)
        return usage(err, QStringLiteral("\"%1\" is not R,G,B with numbers from 0 to 255").arg(rest.at(0)));

    if (rest.at(1) == QLatin1String("--spectrum")) {
        const QImage spectrum = BuildSpectrum();
        const QPoint at = FindInSpectrum(spectrum, *colour, std::nullopt).value_or(QPoint(0, 0));
        WriteText(out, QStringLiteral("%1,%2 %3\n").arg(at.x()).arg(at.y())
                           .arg(ColourToDecimal(ReadPixel(spectrum, at.x(), at.y()))));
        return Done;
    }
    if (rest.at(1).startsWith(QLatin1String("--")))
        return usage(err, QStringLiteral("unknown option \"%1\"").arg(rest.at(1)));
    const std::optional<Palette> palette = paletteFor(rest.at(1), *byLuminance, err);
    if (!palette)
        return FileFailure;
    PaletteCells cells{};
    for (int i = 0; i < PaletteSize; ++i)
        cells[size_t(i % 16)][size_t(i / 16)] = EntryColour((*palette)[size_t(i)]);
    const QPoint cell = NearestCell(cells, *colour);
    WriteText(out, QStringLiteral("%1,%2 %3\n").arg(cell.x()).arg(cell.y())
                       .arg(ColourToDecimal(cells[size_t(cell.x())][size_t(cell.y())])));
    return Done;
}

} // namespace ReelcraftCli

// libFuzzer target: any text goes through the applet tag reader into a real document, the
// document is written back with the writer, and that element is read and written again.
// The second element must equal the first, and the document read from it must hold the
// same frames and settings (the caption font is never read; the background picture and
// soundtrack lose their folders by design).

#include "controls/FileText.h"
#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagWriter.h"
#include "platform/Prompts.h"

#include <QByteArray>
#include <QDir>
#include <QtGlobal>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The colour field may report a bad colour; nobody answers here.
class SilentPrompts : public Prompts
{
public:
    void message(const QString &, Kind) override {}
    bool confirm(const QString &) override { return false; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    QStringList openFiles(const FileDialog &) override { return {}; }
    std::optional<QString> openFile(const FileDialog &) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialog &) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
};

[[noreturn]] void fail(const char *what, const QString &first, const QString &second)
{
    std::fprintf(stderr, "invariant broken: %s\n--- first\n%s\n--- second\n%s\n", what,
                 first.toUtf8().constData(), second.toUtf8().constData());
    std::abort();
}

// Whether a soundtrack or background path could name a file at all. A Windows-form path
// holds ":" and "|" only in its drive; the project form turns every "|" of a file URL into
// ":" on the way back, as the file URL rules say, so "C:a|b" cannot come back unchanged,
// and no such file can exist.
// Windows forbids '"' in names too, and the file URL rules take a quote off either end.
bool couldNameAFile(const QString &path)
{
    if (!IsWindowsFormPath(path))
        return true;
    const QString rest = path.mid(2);
    return !rest.contains(QLatin1Char('|')) && !rest.contains(QLatin1Char(':')) && !rest.contains(QLatin1Char('"'));
}

QStringList framePaths(const AnimationDocument &document)
{
    QStringList paths;
    for (const AnimationFrame &frame : document.Frames())
        paths.append(frame.PicturePath);
    return paths;
}

QStringList frameCaptions(const AnimationDocument &document)
{
    QStringList captions;
    for (const AnimationFrame &frame : document.Frames())
        captions.append(frame.CaptionText);
    return captions;
}

// Printable ASCII lines, each one whole tag: nothing a value holds can end its tag early.
void checkElementShape(const QString &element)
{
    if (!element.startsWith(QLatin1String("<applet code=\"quilanim\" width="))
        || !element.endsWith(QLatin1String("\r\n</applet>")))
        fail("element frame", element, QString());
    for (const QString &line : element.split(QLatin1String("\r\n"))) {
        for (const QChar c : line) {
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
                fail("character outside printable ASCII", element, line);
        }
        if (!line.startsWith(QLatin1Char('<')) || !line.endsWith(QLatin1Char('>'))
            || line.count(QLatin1Char('<')) != 1 || line.count(QLatin1Char('>')) != 1)
            fail("line is not one tag", element, line);
    }
}

// The settings an element carries back: the file names are compared on their own, and the
// caption font is written only with captions.
AnimationSettings carriedSettings(AnimationSettings settings, bool withCaptions)
{
    settings.BackImage.clear();
    settings.Soundtrack.clear();
    if (!withCaptions) {
        settings.FontName = settings.FontStyle = NoSelectedItem;
        settings.FontSize.clear();
    }
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Qt's warnings about odd file names (a NUL in a path) would only flood the output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // An empty current folder: relative references find no file, so what is read depends
    // on the input alone.
    static QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "cannot make an empty current folder\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = DecodeFileText(bytes);

    // Half of the inputs are read beside a page in a folder that does not exist, so "../"
    // steps and relative names are resolved against a real path.
    AppletTagReaderOptions options;
    if (size > 0 && (data[0] & 1) != 0)
        options.baseDocumentName = QStringLiteral("/reelcraft-fuzz-site/pages/page.htm");

    SilentPrompts prompts;
    AnimationDocument first(prompts);
    // As opening a file does: an empty text reads nothing, so it would keep the start-up
    // values, which no element can bring back.
    first.ResetDocument();
    ReadAppletTag(first, text, options);
    // The project-file form: the one that must read back exactly.
    const QString written = WriteAppletTag(first, BuildImageList(first, ImageListForm::FileUrl), ImageListForm::FileUrl);
    checkElementShape(written);

    AnimationDocument second(prompts);
    ReadAppletTag(second, written, options);
    const QString again = WriteAppletTag(second, BuildImageList(second, ImageListForm::FileUrl), ImageListForm::FileUrl);
    const bool namesFiles = couldNameAFile(first.text(TextSetting::Soundtrack))
        && couldNameAFile(first.text(TextSetting::BackImage));
    if (namesFiles && again != written)
        fail("second element differs from the first", written, again);

    if (framePaths(second) != framePaths(first))
        fail("frames", framePaths(first).join(QLatin1Char('\n')), framePaths(second).join(QLatin1Char('\n')));
    if (CaptionsAreWritten(first, ImageListForm::FileUrl) && frameCaptions(second) != frameCaptions(first))
        fail("captions", frameCaptions(first).join(QLatin1Char('|')), frameCaptions(second).join(QLatin1Char('|')));
    if (namesFiles && carriedSettings(second.settings(), CaptionsAreWritten(first, ImageListForm::FileUrl))
                          != carriedSettings(first.settings(), CaptionsAreWritten(first, ImageListForm::FileUrl)))
        fail("settings", written, again);
    const HtmlColourField &colourBefore = first.BackgroundColour();
    const HtmlColourField &colourAfter = second.BackgroundColour();
    if (colourAfter.IsHtmlColour() != colourBefore.IsHtmlColour()
        || (colourBefore.IsHtmlColour() && colourAfter.HtmlColour() != colourBefore.HtmlColour()))
        fail("background colour", colourBefore.Text(), colourAfter.Text());

    // The other picture forms must cope with whatever was read.
    BuildImageList(first, ImageListForm::FileNameOnly);
    BuildImageList(first, ImageListForm::InFolder, QStringLiteral("images"));
    BuildImageList(first, ImageListForm::RelativeToDocument, QStringLiteral("/reelcraft-fuzz-site/index.htm"));
    return 0;
}

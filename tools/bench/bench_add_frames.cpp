// Adds every picture of a folder as frames and reports the time per frame and the peak memory.
//
//   bench_add_frames [--strip | --decoder | --baseline] [--limit N] FOLDER
//
// --strip (the default) goes the way of the add command: TFrameStrip::addPictureFiles on a
//   shown window, which decodes on worker threads and appends the frames to the document in
//   order, thumbnails, layout and progress box included.
// --decoder drives BatchDecoder alone and appends each picture to an AnimationDocument.
// --baseline is a plain single-threaded loop that decodes each file with
//   QImageReader::setScaledSize at the size a frame keeps, for comparison.
// Run it on the offscreen platform (QT_QPA_PLATFORM=offscreen); make pictures with
// make-photos.sh.

#include "document/AnimationDocument.h"
#include "document/SettingsKey.h"
#include "document/TFrameStrip.h"
#include "imaging/BatchDecoder.h"
#include "imaging/ImageDecoder.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <cstdio>

namespace {

// No boxes in a benchmark: failures are counted and printed at the end.
class CountingPrompts : public Prompts
{
public:
    int messages = 0;
    void message(const QString &text, Kind) override
    {
        ++messages;
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool confirm(const QString &) override { return false; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    QStringList openFiles(const FileDialog &) override { return {}; }
    std::optional<QString> openFile(const FileDialog &) override { return {}; }
    std::optional<QString> saveFile(const FileDialog &) override { return {}; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return {}; }
};

// Peak resident memory of this process in kB, from /proc/self/status.
long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    // Files in /proc report no size, so read to the end rather than asking atEnd().
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The plain loop: one file after the other on this thread.
int decodeBaseline(const QStringList &files, QList<QImage> &kept)
{
    int failed = 0;
    const QSize bound(ImageDecoder::DefaultKeptSide, ImageDecoder::DefaultKeptSide);
    for (const QString &file : files) {
        QImageReader reader(file);
        const QSize size = reader.size();
        reader.setScaledSize(ImageDecoder::keptSizeFor(size, bound));
        QImage image;
        if (!reader.read(&image))
            ++failed;
        kept.append(image);
    }
    return failed;
}

// The add command's way: worker threads decode, the document takes each frame in order.
int addThroughBatch(const QStringList &files, AnimationDocument &document, Prompts &prompts)
{
    BatchDecoder batch;
    QEventLoop loop;
    int failed = 0;
    QObject::connect(&batch, &BatchDecoder::pictureDecoded, &document,
                     [&](int index, const DecodedPicture &picture) {
                         if (!picture.ok())
                             ++failed;
                         ImageDecoder::report(picture, prompts);
                         document.appendFrame(files.at(index), QString(), picture.fullSize, picture.picture);
                     });
    QObject::connect(&batch, &BatchDecoder::finished, &loop, &QEventLoop::quit);
    batch.start(files);
    loop.exec();
    return failed;
}

// The add command's way, on a window with the strip, its settings in a throw-away registry.
int addThroughStrip(const QStringList &files, AnimationDocument &document, Prompts &prompts)
{
    const QTemporaryDir settings;
    Registry registry(settings.filePath(QStringLiteral("user.json")), settings.filePath(QStringLiteral("machine.json")));
    RegistryKey key(registry);
    key.openKey(SettingsKey, true);
    QWidget window;
    window.resize(640, 420);
    auto *strip = new TFrameStrip(document, prompts, key, FrameStripControls{}, &window);
    window.show();
    QEventLoop loop;
    QObject::connect(strip, &TFrameStrip::addingFinished, &loop, &QEventLoop::quit);
    strip->addPictureFiles(files);
    // Up to FrameAddBatch::ProgressThreshold files are added before addPictureFiles returns.
    if (document.frameCount() < files.size())
        loop.exec();
    int failed = 0;
    for (const AnimationFrame &frame : document.Frames())
        failed += frame.PictureSize.isEmpty() ? 1 : 0;
    return failed;
}

int usage()
{
    std::fprintf(stderr, "usage: bench_add_frames [--strip | --decoder | --baseline] [--limit N] FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    enum class Mode { Strip, Decoder, Baseline } mode = Mode::Strip;
    int limit = -1;
    QString folder;
    while (!arguments.isEmpty()) {
        const QString argument = arguments.takeFirst();
        if (argument == u"--strip")
            mode = Mode::Strip;
        else if (argument == u"--decoder")
            mode = Mode::Decoder;
        else if (argument == u"--baseline")
            mode = Mode::Baseline;
        else if (argument == u"--limit" && !arguments.isEmpty())
            limit = arguments.takeFirst().toInt();
        else if (!argument.startsWith(u"--") && folder.isEmpty())
            folder = argument;
        else
            return usage();
    }
    if (folder.isEmpty())
        return usage();

    const QDir dir(folder);
    QStringList files;
    const QStringList names = dir.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.JPG"),
                                             QStringLiteral("*.jpeg"), QStringLiteral("*.gif"),
                                             QStringLiteral("*.GIF")},
                                            QDir::Files, QDir::Name);
    for (const QString &name : names)
        files.append(dir.filePath(name));
    if (limit >= 0)
        files = files.mid(0, limit);
    if (files.isEmpty()) {
        std::fprintf(stderr, "bench_add_frames: no pictures in %s\n", qPrintable(folder));
        return 1;
    }

    CountingPrompts prompts;
    AnimationDocument document(prompts);
    QList<QImage> baselineImages;
    QElapsedTimer timer;
    timer.start();
    int failed = 0;
    const char *what = "";
    switch (mode) {
    case Mode::Strip:
        what = "strip (TFrameStrip::addPictureFiles)";
        failed = addThroughStrip(files, document, prompts);
        break;
    case Mode::Decoder:
        what = "decoder (BatchDecoder into the document)";
        failed = addThroughBatch(files, document, prompts);
        break;
    case Mode::Baseline:
        what = "baseline (single-threaded QImageReader loop)";
        failed = decodeBaseline(files, baselineImages);
        break;
    }
    const double elapsedMs = double(timer.nsecsElapsed()) / 1e6;

    const int frames = mode == Mode::Baseline ? int(baselineImages.size()) : document.frameCount();
    QTextStream out(stdout);
    out << what << ": " << frames << " pictures, " << failed << " failed, " << Qt::fixed << qSetRealNumberPrecision(1)
        << elapsedMs << " ms, " << qSetRealNumberPrecision(2) << elapsedMs / frames << " ms per frame, peak memory "
        << peakMemoryKb() / 1024 << " MB\n";
    return frames == int(files.size()) ? 0 : 1;
}

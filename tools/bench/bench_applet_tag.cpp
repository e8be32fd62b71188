// Times the applet tag reader on large pages and the reader and writer on long image lists,
// and checks that ten times the input costs at most fifteen times the time.
//
//   bench_applet_tag [--quick]
//
// --quick uses a tenth of the sizes (for a fast look). Exit status 1 when a ratio is above 15.

#include "document/AnimationDocument.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagWriter.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

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

constexpr int kPictureFiles = 1000;
constexpr double kLargestRatio = 15.0;

// The best of five runs, in milliseconds: the machine may be busy with other work.
double bestOf(const std::function<void()> &run)
{
    double best = 1e300;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// An HTML page of about the given size: paragraphs with links, images and entities, and one
// applet element in the middle.
QString page(qsizetype bytes, const QString &element)
{
    const QString filler = QStringLiteral(
        "<p class=\"text\">Holiday pictures from the coast &amp; the hills, "
        "<a href=\"gallery/page.htm\" title=\"More\">more</a> and "
        "<img src=\"pics/small.gif\" width=16 height=16 alt=\"icon\"> text.</p>\r\n");
    QString text;
    text.reserve(bytes + element.size() + filler.size());
    text += QStringLiteral("<html><head><title>Bench</title></head><body>\r\n");
    while (text.size() < bytes / 2)
        text += filler;
    text += element;
    while (text.size() < bytes)
        text += filler;
    text += QStringLiteral("</body></html>");
    return text;
}

QStringList makePictures(const QString &folder)
{
    QStringList files;
    for (int i = 0; i < kPictureFiles; ++i) {
        const QString path = folder + QStringLiteral("/picture %1, copy.gif").arg(i);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("GIF89a");
        files << path;
    }
    return files;
}

QString elementWithFrames(SilentPrompts &prompts, const QStringList &pictures, int frames)
{
    AnimationDocument document(prompts);
    document.ResetDocument();
    for (int i = 0; i < frames; ++i)
        document.appendFrame(pictures.at(i % pictures.size()), QStringLiteral("Caption & %1").arg(i));
    return WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl));
}

struct Pair
{
    const char *what;
    QString small;
    QString large;
    double smallMs = 0;
    double largeMs = 0;
};

bool report(const Pair &pair)
{
    const double ratio = pair.smallMs > 0 ? pair.largeMs / pair.smallMs : 0;
    const bool ok = ratio <= kLargestRatio;
    std::printf("%-34s %-14s %10.1f ms   %-14s %10.1f ms   ratio %5.2f  %s\n", pair.what,
                qPrintable(pair.small), pair.smallMs, qPrintable(pair.large), pair.largeMs, ratio,
                ok ? "ok" : "TOO SLOW");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    const qsizetype scale = quick ? 10 : 1;

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 2;
    }
    SilentPrompts prompts;
    const QStringList pictures = makePictures(folder.path());
    const QString smallElement = elementWithFrames(prompts, pictures, 20);

    bool ok = true;

    // Reading whole pages.
    {
        const qsizetype small = 5 * 1000 * 1000 / scale;
        const qsizetype large = 50 * 1000 * 1000 / scale;
        const QString smallPage = page(small, smallElement);
        const QString largePage = page(large, smallElement);
        Pair pair{"read page", QStringLiteral("%1 MB").arg(double(small) / 1e6),
                  QStringLiteral("%1 MB").arg(double(large) / 1e6)};
        AnimationDocument document(prompts);
        pair.smallMs = bestOf([&] { ReadAppletTag(document, smallPage); });
        const int smallFrames = document.frameCount();
        pair.largeMs = bestOf([&] { ReadAppletTag(document, largePage); });
        if (smallFrames != 20 || document.frameCount() != 20) {
            std::fprintf(stderr, "the pages did not read back their 20 frames\n");
            return 2;
        }
        ok = report(pair) && ok;
    }

    // Long image lists, read and written.
    {
        const int small = int(10000 / scale);
        const int large = int(100000 / scale);
        const QString smallList = elementWithFrames(prompts, pictures, small);
        const QString largeList = elementWithFrames(prompts, pictures, large);
        Pair read{"read image list", QStringLiteral("%1 entries").arg(small), QStringLiteral("%1 entries").arg(large)};
        AnimationDocument document(prompts);
        read.smallMs = bestOf([&] { ReadAppletTag(document, smallList); });
        const int smallFrames = document.frameCount();
        read.largeMs = bestOf([&] { ReadAppletTag(document, largeList); });
        if (smallFrames != small || document.frameCount() != large) {
            std::fprintf(stderr, "the image lists did not read back all their frames\n");
            return 2;
        }
        ok = report(read) && ok;

        Pair write{"write image list", read.small, read.large};
        AnimationDocument smallDocument(prompts);
        ReadAppletTag(smallDocument, smallList);
        write.smallMs = bestOf([&] {
            WriteAppletTag(smallDocument, BuildImageList(smallDocument, ImageListForm::FileUrl));
        });
        write.largeMs = bestOf([&] {
            WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl));
        });
        ok = report(write) && ok;
    }
    return ok ? 0 : 1;
}

#pragma once

#include "document/AnimationDocument.h"
#include "document/SettingsKey.h"
#include "document/TCaptionEdit.h"
#include "document/TFrame.h"
#include "document/TFrameStrip.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

#include <memory>

// A main window stand-in holding the strip and the controls it drives, shown on the
// offscreen screen so that real mouse and keyboard events reach them.
struct FrameStripFixture
{
    PromptsDouble prompts;
    Registry registry;
    RegistryKey key{registry};
    AnimationDocument document{prompts};
    QWidget window;
    QLabel *lblFilename = nullptr;
    QLabel *lblSize = nullptr;
    TCaptionEdit *txtCaption = nullptr;
    QCheckBox *chkExchange = nullptr;
    TFrameStrip *strip = nullptr;

    FrameStripFixture()
    {
        window.resize(640, 420);
        lblFilename = new QLabel(&window);
        lblFilename->setGeometry(60, 120, 231, 16);
        lblSize = new QLabel(QStringLiteral("Image Size : "), &window);
        lblSize->setGeometry(296, 120, 116, 16);
        chkExchange = new QCheckBox(QStringLiteral("Exchange frames when dragging"), &window);
        chkExchange->setGeometry(5, 140, 250, 20);
        txtCaption = new TCaptionEdit(&window);
        txtCaption->setGeometry(5, 170, 400, 60);
        key.openKey(SettingsKey, true);
        strip = new TFrameStrip(document, prompts, key, {lblFilename, lblSize, txtCaption, chkExchange}, &window);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }
    bool exposed = false;

    // A frame with a solid picture of the given size, without a file behind it.
    int addFrame(const QString &path, QSize size = QSize(100, 80), const QString &caption = QString())
    {
        QImage picture(size.boundedTo(QSize(130, 130)), QImage::Format_RGB32);
        picture.fill(QColor(40, 120, 200));
        return document.appendFrame(path, caption, size, picture);
    }
    void addFrames(int count)
    {
        for (int i = 0; i < count; ++i)
            addFrame(QStringLiteral("/pics/frame%1.gif").arg(i), QSize(100 + i, 50 + i),
                     QStringLiteral("caption %1").arg(i));
    }

    QStringList paths() const
    {
        QStringList result;
        for (const AnimationFrame &frame : document.Frames())
            result << frame.PicturePath;
        return result;
    }
    // The paths in the strip's thumbnail order.
    QStringList thumbnailPaths() const
    {
        QStringList result;
        for (const TFrame *thumb : strip->thumbnails())
            result << thumb->PicturePath();
        return result;
    }
    QList<int> selected() const { return document.selectedIndexes(); }

    // Where a thumbnail's middle is in the strip's visible area.
    QPoint centreOf(int index) const
    {
        const TFrame *thumb = strip->thumbnail(index);
        return thumb->mapTo(strip->viewport(), thumb->rect().center());
    }

    void click(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(strip->thumbnail(index), Qt::LeftButton, modifiers, QPoint(30, 30));
    }
};

// Picture files for the tests, made once in a folder of the test's own.
namespace TestPictures {

inline QString folder()
{
    static const QString path = TestEnvironment::instance().freshFolder(QStringLiteral("pictures"));
    return path;
}

inline QString jpeg(const QString &name, QSize size, QColor colour = QColor(200, 60, 30))
{
    const QString path = folder() + u'/' + name;
    if (!QFile::exists(path)) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path, "JPEG");
    }
    return path;
}

// A GIF written by hand (Qt reads GIF but cannot write it): two colours, every pixel colour 1,
// LZW codes of 3 bits with a clear code after every second pixel so the code width never grows.
inline QString gif(const QString &name, QSize size)
{
    const QString path = folder() + u'/' + name;
    if (QFile::exists(path))
        return path;
    QByteArray bytes("GIF89a");
    auto put16 = [&bytes](int value) {
        bytes.append(char(value & 0xFF));
        bytes.append(char((value >> 8) & 0xFF));
    };
    put16(size.width());
    put16(size.height());
    bytes.append(char(0x80)); // global colour table of 2 entries
    bytes.append(char(0));
    bytes.append(char(0));
    bytes.append(QByteArray::fromHex("ffffff10a040"));
    bytes.append(char(0x2C));
    put16(0);
    put16(0);
    put16(size.width());
    put16(size.height());
    bytes.append(char(0));
    bytes.append(char(2)); // minimum code size

    QByteArray data;
    quint32 buffer = 0;
    int bits = 0;
    auto code = [&](int value) {
        buffer |= quint32(value) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(buffer & 0xFF));
            buffer >>= 8;
            bits -= 8;
        }
    };
    const int pixels = size.width() * size.height();
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            code(4); // clear
        code(1);
    }
    code(5); // end
    if (bits > 0)
        data.append(char(buffer & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        bytes.append(char(block.size()));
        bytes.append(block);
    }
    bytes.append(char(0));
    bytes.append(char(0x3B));

    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A file named like a JPEG that is not one, long enough not to be refused for its size.
inline QString damaged(const QString &name)
{
    const QString path = folder() + u'/' + name;
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write(QByteArray(400, 'x'));
    return path;
}

} // namespace TestPictures

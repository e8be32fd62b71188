// Draws the frames of the About box's e-mail animation (86 x 29, on white) as PNG files
// frame-00.png, frame-01.png, ... into the folder given as the only argument. The
// reelcraft_emailavi target joins them into emailavi.gif with ImageMagick.
//
// The envelope's flap opens, a letter with a heart rises out of it and sinks back, and
// the flap closes again; "E-mail" / "a friend" stands beside it.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

constexpr int Width = 86;
constexpr int Height = 29;
constexpr int FrameCount = 24;

const QColor Navy(0x14, 0x23, 0x5a);
const QColor Paper(0xff, 0xfb, 0xee);
const QColor Red(0xc8, 0x2a, 0x32);

// 0 closed .. 1 fully open, and how far the letter stands out, for each frame.
struct Pose
{
    double flap;
    double letter;
    double heart;
};

Pose poseOf(int frame)
{
    const auto ease = [](double t) { return 0.5 - 0.5 * std::cos(t * M_PI); };
    if (frame < 3)
        return {0, 0, 1};
    if (frame < 7)
        return {ease((frame - 2) / 4.0), 0, 1};
    if (frame < 11)
        return {1, ease((frame - 6) / 4.0), 1};
    if (frame < 15)
        return {1, 1, 1.0 + 0.25 * std::sin((frame - 10) * M_PI / 2)};
    if (frame < 19)
        return {1, 1 - ease((frame - 14) / 4.0), 1};
    if (frame < 23)
        return {1 - ease((frame - 18) / 4.0), 0, 1};
    return {0, 0, 1};
}

void drawHeart(QPainter &p, QPointF centre, double size)
{
    QPainterPath heart;
    const double s = size;
    heart.moveTo(centre.x(), centre.y() + s * 0.55);
    heart.cubicTo(centre.x() - s * 1.1, centre.y() - s * 0.15, centre.x() - s * 0.45, centre.y() - s * 0.9,
                  centre.x(), centre.y() - s * 0.3);
    heart.cubicTo(centre.x() + s * 0.45, centre.y() - s * 0.9, centre.x() + s * 1.1, centre.y() - s * 0.15,
                  centre.x(), centre.y() + s * 0.55);
    p.fillPath(heart, Red);
}

QImage drawFrame(int frame)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const Pose pose = poseOf(frame);
    const QRectF body(3.5, 11.5, 28, 16); // the envelope
    const double flapTipClosed = body.top() + 9;
    const double flapTipOpen = body.top() - 9;
    const double tip = flapTipClosed + (flapTipOpen - flapTipClosed) * pose.flap;
    const QPen outline(Navy, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // The open flap lies behind the letter.
    QPolygonF flap({body.topLeft(), body.topRight(), QPointF(body.center().x(), tip)});
    if (tip < body.top()) {
        p.setPen(outline);
        p.setBrush(Paper.darker(104));
        p.drawPolygon(flap);
    }

    // Back of the envelope, then the letter, then the front pocket over it.
    p.setPen(outline);
    p.setBrush(Paper.darker(108));
    p.drawRect(body);

    const double letterTop = body.top() + 3 - 10 * pose.letter;
    const QRectF letter(body.left() + 4, letterTop, body.width() - 8, body.bottom() - letterTop - 2);
    p.setBrush(Qt::white);
    p.drawRect(letter);
    if (pose.letter > 0.3)
        drawHeart(p, QPointF(letter.center().x(), letterTop + 4.5), 3.2 * pose.heart);

    // The front pocket, with a shallow notch where the letter comes out.
    QPolygonF pocket({body.topLeft() + QPointF(0, 6), QPointF(body.center().x(), body.top() + 10),
                      body.topRight() + QPointF(0, 6), body.bottomRight(), body.bottomLeft()});
    p.setBrush(Paper);
    p.drawPolygon(pocket);

    if (tip >= body.top()) {
        // Closed, or nearly: the flap over the pocket and the folds meeting under it.
        p.drawLine(body.bottomLeft(), QPointF(body.left() + 11, body.top() + 8));
        p.drawLine(body.bottomRight(), QPointF(body.right() - 11, body.top() + 8));
        p.setBrush(Paper.darker(102));
        p.drawPolygon(flap);
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Navy);
    p.drawText(QRectF(37, 2, 49, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("E-mail"));
    p.setPen(Red);
    p.drawText(QRectF(37, 14, 49, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("a friend"));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_emailavi FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    for (int frame = 0; frame < FrameCount; ++frame) {
        const QString name = folder + QStringLiteral("/frame-%1.png").arg(frame, 2, 10, QLatin1Char('0'));
        if (!drawFrame(frame).save(name)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}

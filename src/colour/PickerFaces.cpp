#include "colour/PickerFaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

QIcon spectrumFace()
{
    QPixmap face(16, 16);
    QPainter painter(&face);
    QLinearGradient hues(0, 0, 0, 16);
    const QColor stops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, QColor(128, 0, 128), Qt::red};
    for (int i = 0; i < 7; ++i)
        hues.setColorAt(i / 6.0, stops[i]);
    painter.fillRect(face.rect(), hues);
    QLinearGradient shade(0, 0, 16, 0);
    shade.setColorAt(0, QColor(0, 0, 0, 200));
    shade.setColorAt(0.5, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(255, 255, 255, 220));
    painter.fillRect(face.rect(), shade);
    painter.setPen(Qt::black);
    painter.drawRect(face.rect().adjusted(0, 0, -1, -1));
    return QIcon(face);
}

QIcon findFace()
{
    QPixmap face(16, 16);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    const QColor cells[] = {Qt::red, Qt::yellow, Qt::blue, Qt::green};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(1 + (i % 2) * 5, 1 + (i / 2) * 5, 4, 4, cells[i]);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawEllipse(QRectF(7, 7, 6, 6));
    painter.drawLine(QPointF(12.5, 12.5), QPointF(15, 15));
    return QIcon(face);
}

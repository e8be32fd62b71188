#include "document/FitGeometry.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

// The picture geometry against the table of cases the web player's tests read too, so the
// box Fit and "make" choose is the one the player draws in.

namespace {

QJsonObject table()
{
    QFile file(QStringLiteral(REELCRAFT_FIT_GEOMETRY_TABLE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QSize size(const QJsonValue &pair)
{
    const QJsonArray a = pair.toArray();
    return QSize(a.at(0).toInt(-1), a.at(1).toInt(-1));
}

QList<QSize> sizes(const QJsonValue &pairs)
{
    QList<QSize> list;
    for (const QJsonValue &pair : pairs.toArray())
        list.append(size(pair));
    return list;
}

// A missing or null font size is absent: the player's 12.
int fontSize(const QJsonObject &row)
{
    const QJsonValue value = row.value(QLatin1String("fontSize"));
    return value.isDouble() ? FitGeometry::PlayerFontSize(QString::number(value.toInt()))
                            : FitGeometry::PlayerFontSize(QString());
}

} // namespace

class TestFitGeometry : public QObject
{
    Q_OBJECT
private slots:
    void tableIsThere();
    void layout_data();
    void layout();
    void defaultBox_data();
    void defaultBox();
    void fittedSizeKeepsProportionsWithinTheArea();
};

void TestFitGeometry::tableIsThere()
{
    const QJsonObject all = table();
    QVERIFY2(all.value(QLatin1String("layout")).toArray().size() >= 10, REELCRAFT_FIT_GEOMETRY_TABLE);
    QVERIFY(all.value(QLatin1String("defaultBox")).toArray().size() >= 5);
}

void TestFitGeometry::layout_data()
{
    QTest::addColumn<QJsonObject>("row");
    for (const QJsonValue &row : table().value(QLatin1String("layout")).toArray())
        QTest::newRow(qPrintable(row.toObject().value(QLatin1String("name")).toString())) << row.toObject();
}

void TestFitGeometry::layout()
{
    QFETCH(QJsonObject, row);
    FitGeometry::Show show;
    show.box = size(row.value(QLatin1String("box")));
    show.scale = row.value(QLatin1String("scale")).toBool();
    show.captions = row.value(QLatin1String("captions")).toBool();
    show.fontSize = fontSize(row);
    const QSize move = size(row.value(QLatin1String("move")));
    show.move = QPoint(move.width(), move.height());
    show.sizes = sizes(row.value(QLatin1String("sizes")));

    const int band = FitGeometry::CaptionBand(show.scale, show.captions, show.fontSize);
    QCOMPARE(band, row.value(QLatin1String("band")).toInt(-1));
    QCOMPARE(FitGeometry::PictureArea(show.box, band), size(row.value(QLatin1String("area"))));
    QList<QRect> expected;
    for (const QJsonValue &drawn : row.value(QLatin1String("drawn")).toArray()) {
        const QJsonArray r = drawn.toArray();
        expected.append(QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt()));
    }
    QCOMPARE(FitGeometry::StartRectangles(show), expected);
    QCOMPARE(FitGeometry::ShowRange(show), size(row.value(QLatin1String("range"))));
}

void TestFitGeometry::defaultBox_data()
{
    QTest::addColumn<QJsonObject>("row");
    for (const QJsonValue &row : table().value(QLatin1String("defaultBox")).toArray())
        QTest::newRow(qPrintable(row.toObject().value(QLatin1String("name")).toString())) << row.toObject();
}

void TestFitGeometry::defaultBox()
{
    QFETCH(QJsonObject, row);
    QCOMPARE(FitGeometry::DefaultBox(sizes(row.value(QLatin1String("sizes"))), row.value(QLatin1String("scale")).toBool(),
                                     row.value(QLatin1String("captions")).toBool(), fontSize(row)),
             size(row.value(QLatin1String("box"))));
}

void TestFitGeometry::fittedSizeKeepsProportionsWithinTheArea()
{
    // Never enlarged; a picture larger than the area fills it on one axis, stays inside on the
    // other, and keeps its proportions to within rounding (or the one-pixel least size).
    QRandomGenerator random(421);
    for (int i = 0; i < 20000; ++i) {
        // One draw a statement: the order of a call's arguments differs between compilers.
        const int naturalWidth = 1 + int(random.bounded(20000));
        const int naturalHeight = 1 + int(random.bounded(20000));
        const int areaWidth = 1 + int(random.bounded(2000));
        const QSize area(areaWidth, 1 + int(random.bounded(2000)));
        const QSize natural(naturalWidth, naturalHeight);
        const QSize fitted = FitGeometry::FittedSize(natural, area);
        const QByteArray context = QStringLiteral("%1x%2 in %3x%4").arg(natural.width()).arg(natural.height())
                                       .arg(area.width()).arg(area.height()).toUtf8();
        if (natural.width() <= area.width() && natural.height() <= area.height()) {
            QVERIFY2(fitted == natural, context.constData());
            continue;
        }
        QVERIFY2(fitted.width() >= 1 && fitted.height() >= 1 && fitted.width() <= area.width()
                     && fitted.height() <= area.height(), context.constData());
        QVERIFY2(fitted.width() == area.width() || fitted.height() == area.height(), context.constData());
        const double error = std::abs(double(fitted.width()) * natural.height() - double(fitted.height()) * natural.width());
        // The axis that limits is rounded exactly; the other is off by at most half a pixel.
        const bool widthLimits = qint64(natural.width()) * area.height() >= qint64(natural.height()) * area.width();
        const int limit = widthLimits ? natural.width() : natural.height();
        QVERIFY2(error <= (std::min(fitted.width(), fitted.height()) == 1 ? 1.0 : 0.5) * limit, context.constData());
    }
}

QTEST_GUILESS_MAIN(TestFitGeometry)

#include "test_fit_geometry.moc"

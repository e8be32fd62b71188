#include "platform/PortalScreen.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
constexpr int CallTimeoutMs = 10000;

int channel(double value)
{
    return int(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

} // namespace

// Receives the one Response of a request.
class PortalResponse : public QObject
{
    Q_OBJECT
public:
    bool answered = false;
    uint code = 2;
    QVariantMap results;

public slots:
    void response(uint responseCode, const QVariantMap &answer)
    {
        if (answered)
            return;
        answered = true;
        code = responseCode;
        results = answer;
        emit done();
    }

signals:
    void done();
};

namespace {

// Sends one request and waits for its Response; false when there is none.
bool runRequest(const QString &method, QVariantMap options, int timeoutMs, PortalResponse &response)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // The handle path is known before the call, so the answer cannot slip past us.
    const QString token = QStringLiteral("reelcraft%1").arg(QRandomGenerator::global()->generate());
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    QString handle = PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    const auto listen = [&](const QString &path, bool on) {
        if (on)
            bus.connect(QString(), path, RequestInterface, QStringLiteral("Response"), &response,
                        SLOT(response(uint, QVariantMap)));
        else
            bus.disconnect(QString(), path, RequestInterface, QStringLiteral("Response"), &response,
                           SLOT(response(uint, QVariantMap)));
    };
    listen(handle, true);
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, ScreenshotInterface, method);
    call << QString() << options;
    const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        listen(handle, false);
        return false;
    }
    // Older portals choose a handle of their own.
    const QString returned = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    if (!returned.isEmpty() && returned != handle) {
        listen(handle, false);
        handle = returned;
        listen(handle, true);
    }
    if (!response.answered) {
        QEventLoop loop;
        QObject::connect(&response, &PortalResponse::done, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    listen(handle, false);
    if (!response.answered)
        bus.call(QDBusMessage::createMethodCall(PortalService, handle, RequestInterface, QStringLiteral("Close")),
                 QDBus::NoBlock);
    return response.answered;
}

ScreenReading::Status statusOf(const PortalResponse &response)
{
    if (response.code == 0)
        return ScreenReading::Status::Done;
    return response.code == 1 ? ScreenReading::Status::Cancelled : ScreenReading::Status::Unavailable;
}

} // namespace

ScreenReading PortalScreen::pickColour(int timeoutMs)
{
    PortalResponse response;
    ScreenReading reading;
    if (!runRequest(QStringLiteral("PickColor"), {}, timeoutMs, response))
        return reading;
    reading.status = statusOf(response);
    if (reading.status != ScreenReading::Status::Done)
        return reading;
    // "color" is a structure of three doubles from 0 to 1.
    const QVariant value = response.results.value(QStringLiteral("color"));
    if (!value.canConvert<QDBusArgument>()) {
        reading.status = ScreenReading::Status::Unavailable;
        return reading;
    }
    const QDBusArgument argument = value.value<QDBusArgument>();
    double red = 0, green = 0, blue = 0;
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    reading.colour = QColor(channel(red), channel(green), channel(blue));
    return reading;
}

ScreenReading PortalScreen::screenshot(int timeoutMs)
{
    PortalResponse response;
    ScreenReading reading;
    QVariantMap options;
    options.insert(QStringLiteral("interactive"), false);
    if (!runRequest(QStringLiteral("Screenshot"), options, timeoutMs, response))
        return reading;
    reading.status = statusOf(response);
    if (reading.status != ScreenReading::Status::Done)
        return reading;
    const QUrl uri(response.results.value(QStringLiteral("uri")).toString());
    const QString file = uri.isLocalFile() ? uri.toLocalFile() : QString();
    if (!file.isEmpty()) {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        reading.picture = reader.read().convertToFormat(QImage::Format_RGB32);
        // The portal leaves the picture behind for us; nobody else needs it.
        QFile::remove(file);
    }
    if (reading.picture.isNull())
        reading.status = ScreenReading::Status::Unavailable;
    return reading;
}

#include "PortalScreen.moc"

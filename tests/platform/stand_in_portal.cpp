// A stand-in for the desktop portal's screenshot interface, for tests on a private session
// bus. It owns org.freedesktop.portal.Desktop and answers each request through
// org.freedesktop.portal.Request.Response on the request's handle path:
//   --color R,G,B    PickColor answers these channels (0 to 1)
//   --picture FILE   Screenshot answers with the URI of a fresh copy of FILE
//   --response N     answer with response code N instead of 0 (1: the user cancelled)
// It prints "ready" once it owns the name.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>

#include <cstdio>

struct PortalColour
{
    double red = 0, green = 0, blue = 0;
};
Q_DECLARE_METATYPE(PortalColour)

QDBusArgument &operator<<(QDBusArgument &argument, const PortalColour &colour)
{
    argument.beginStructure();
    argument << colour.red << colour.green << colour.blue;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalColour &colour)
{
    argument.beginStructure();
    argument >> colour.red >> colour.green >> colour.blue;
    argument.endStructure();
    return argument;
}

class StandInPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    PortalColour colour;
    QString picture;
    uint response = 0;

public slots:
    QDBusObjectPath PickColor(const QString &, const QVariantMap &options)
    {
        QVariantMap results;
        results.insert(QStringLiteral("color"), QVariant::fromValue(colour));
        return answer(options, results);
    }

    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options)
    {
        QVariantMap results;
        QTemporaryFile copy(QStringLiteral("%1/portal-shot-XXXXXX.png").arg(QDir::tempPath()));
        QFile source(picture);
        if (copy.open() && source.open(QIODevice::ReadOnly)) {
            copy.write(source.readAll());
            copy.setAutoRemove(false);
            results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(copy.fileName()).toString());
        }
        return answer(options, results);
    }

private:
    QDBusObjectPath answer(const QVariantMap &options, const QVariantMap &results)
    {
        QString sender = message().service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/')
            + options.value(QStringLiteral("handle_token")).toString();
        const uint code = response;
        // The answer follows the call's reply, as a real portal's does.
        QTimer::singleShot(20, this, [handle, code, results] {
            QDBusMessage signal = QDBusMessage::createSignal(handle, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            signal << code << results;
            QDBusConnection::sessionBus().send(signal);
        });
        return QDBusObjectPath(handle);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<PortalColour>();
    StandInPortal portal;
    const QStringList arguments = app.arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString &value = arguments.at(i + 1);
        if (arguments.at(i) == QLatin1String("--color")) {
            const QStringList parts = value.split(QLatin1Char(','));
            portal.colour = {parts.value(0).toDouble(), parts.value(1).toDouble(), parts.value(2).toDouble()};
        } else if (arguments.at(i) == QLatin1String("--picture")) {
            portal.picture = value;
        } else if (arguments.at(i) == QLatin1String("--response")) {
            portal.response = value.toUInt();
        }
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "stand_in_portal: cannot own the portal's name\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "stand_in_portal.moc"

#include "app/ReelcraftApplication.h"

#include "platform/EError.h"

#include <QMessageBox>

ReelcraftApplication::ReelcraftApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Java Reelcraft"));
    setApplicationDisplayName(QStringLiteral("Java Reelcraft"));
    setOrganizationName(QStringLiteral("Tarnwick"));
    setApplicationVersion(QStringLiteral("1.7"));
}

bool ReelcraftApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EError &error) {
        showError(error.message());
    } catch (const std::exception &error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void ReelcraftApplication::showError(const QString &message)
{
    if (m_errorSink) {
        m_errorSink(message);
        return;
    }
    QMessageBox::critical(activeWindow(), applicationDisplayName(), message);
}

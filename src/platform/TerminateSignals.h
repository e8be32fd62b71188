#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the UI thread, so the program can
// close its main window the normal way and run its shutdown clean-up. The signal handler
// only writes one byte into a socket pair; everything else happens in the event loop.
class TerminateSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminateSignals(QObject *parent = nullptr);
    ~TerminateSignals() override;

    // False when the socket pair or the handlers could not be set up.
    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void terminateRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

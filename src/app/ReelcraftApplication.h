#pragma once

#include <QApplication>

#include <functional>

// The application object. Its notify() is the one place where an error that no command
// caught ends up: the error's message is shown in a box and the program goes on.
class ReelcraftApplication : public QApplication
{
    Q_OBJECT
public:
    using ErrorSink = std::function<void(const QString &message)>;

    ReelcraftApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Where caught errors are shown; a message box by default. Tests replace it.
    void setErrorSink(ErrorSink sink) { m_errorSink = std::move(sink); }
    void showError(const QString &message);

private:
    ErrorSink m_errorSink;
};

#pragma once

#include <QString>
#include <exception>

// Base of the errors that end a command and reach the application's top-level handler,
// which shows message() in a box and lets the program go on.
class EError : public std::exception
{
public:
    explicit EError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A file that cannot be opened, read or written.
class EFileError : public EError
{
public:
    using EError::EError;
};

// A failed call to the host editor (it has closed, or it answered with an error).
class EHostError : public EError
{
public:
    using EError::EError;
};

// The user cancelled a long command; what it had begun is undone.
class ECancelled : public EError
{
public:
    using EError::EError;
};

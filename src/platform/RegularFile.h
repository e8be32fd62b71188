#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/stat.h>

// A named file opened for reading only when it is a regular file. Opening a FIFO the plain way
// blocks until a writer comes, and a device can be read for ever; both are refused at once
// instead, as is a folder.
class RegularFile
{
public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    // False with a reason ("cannot read "PATH": it is a folder") when path cannot be opened or
    // is no regular file.
    bool open(const QString &path, QString *problem);
    // Why open() failed, as a sentence ("It is a folder", "No such file or directory").
    const QString &reason() const { return m_reason; }
    // The open file's status (device, inode, size).
    const struct stat &status() const { return m_status; }
    // The rest of the file; no value with a reason on a read error or when it holds more
    // than limit bytes (a negative limit: no limit).
    std::optional<QByteArray> readAll(QString *problem, qint64 limit = -1);
    // At most size bytes from where the file stands; fewer at its end or on a read error.
    QByteArray readUpTo(qint64 size);

private:
    int m_fd = -1;
    QString m_path;
    QString m_reason;
    struct stat m_status = {};
};

// The whole of the regular file at path (see RegularFile).
std::optional<QByteArray> ReadRegularFile(const QString &path, QString *problem, qint64 limit = -1);

// The reason a file named by the user cannot be read as a regular file; empty when it can be.
QString RegularFileProblem(const QString &path);

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small file chores the tests share.

// The whole file; empty when it cannot be read.
QByteArray readAll(const QString &path);
// Writes the bytes, creating the folder; a failure fails the running test.
void writeAll(const QString &path, const QByteArray &bytes);
// The names of the files (hidden ones too) directly in a folder, sorted.
QStringList filesIn(const QString &folder);

// What a program run by a test printed and how it ended; status -1 when it crashed or
// did not end within a minute.
struct ProgramRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};
ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const QString &workingFolder = QString());

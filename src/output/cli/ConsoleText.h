#pragma once

#include <QString>

#include <cstdio>

// What the command-line tool writes to its streams: UTF-8, flushed at once, so results on
// standard output and messages on standard error keep their order.
namespace ReelcraftCli {

void WriteText(std::FILE *stream, const QString &text);

// "reelcraft-cli: " and the text, on a line of its own.
void ReportProblem(std::FILE *err, const QString &text);

// Reports the problem, then the usage text; answers the usage exit status.
int UsageFailureWith(std::FILE *err, const QString &problem);

} // namespace ReelcraftCli

#pragma once

#include <QString>

#include <cstdio>
#include <functional>

namespace ReelcraftCli {

// "Adding pictures: N of M" (or another label) rewritten in place on a terminal, for work of
// more than eight steps; nothing at all when the stream is not a terminal, so logs and
// pipes get only the messages.
class ProgressLine
{
public:
    ProgressLine(std::FILE *err, int total, QString label = QStringLiteral("Adding pictures"));
    void show(int done);
    // A copy's progress report that shows its steps here and never cancels.
    std::function<bool(int done, int total)> reporter();
    // Clears the line so a message can follow.
    void clear();

private:
    std::FILE *m_err;
    int m_total;
    bool m_shown;
    QString m_label;
};

} // namespace ReelcraftCli

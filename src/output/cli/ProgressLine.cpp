#include "output/cli/ProgressLine.h"

#include "output/cli/ConsoleText.h"

#include <unistd.h>

namespace ReelcraftCli {

ProgressLine::ProgressLine(std::FILE *err, int total, QString label)
    : m_err(err), m_total(total), m_shown(total > 8 && isatty(fileno(err)) == 1), m_label(std::move(label))
{
}

void ProgressLine::show(int done)
{
    if (m_shown)
        WriteText(m_err, QStringLiteral("\r%1: %2 of %3").arg(m_label).arg(done).arg(m_total));
}

std::function<bool(int, int)> ProgressLine::reporter()
{
    return [this](int done, int) {
        show(done);
        return true;
    };
}

void ProgressLine::clear()
{
    if (m_shown)
        WriteText(m_err, QStringLiteral("\r\x1b[K"));
}

} // namespace ReelcraftCli

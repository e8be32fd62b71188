#include "output/cli/ConsoleText.h"

#include "output/cli/HelpText.h"
#include "output/cli/ReelcraftCli.h"

namespace ReelcraftCli {

void WriteText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void ReportProblem(std::FILE *err, const QString &text)
{
    WriteText(err, QStringLiteral("reelcraft-cli: ") + text + QLatin1Char('\n'));
}

int UsageFailureWith(std::FILE *err, const QString &problem)
{
    ReportProblem(err, problem);
    WriteText(err, UsageText());
    return UsageFailure;
}

} // namespace ReelcraftCli

#include "PromptsDouble.h"

QVariant PromptsDouble::next()
{
    if (answers.isEmpty()) {
        ++unanswered;
        return {};
    }
    return answers.dequeue();
}

std::optional<QString> PromptsDouble::nextText()
{
    const QVariant answer = next();
    if (!answer.isValid())
        return std::nullopt;
    return answer.toString();
}

void PromptsDouble::message(const QString &text, Kind kind)
{
    shown.append({QStringLiteral("message"), text, kind, {}});
}

bool PromptsDouble::confirm(const QString &text)
{
    shown.append({QStringLiteral("confirm"), text, Kind::Plain, {}});
    return next().toBool();
}

std::optional<QString> PromptsDouble::input(const QString &title, const QString &prompt,
                                            const QString &defaultText)
{
    FileDialog details;
    details.title = title;
    details.fileName = defaultText;
    shown.append({QStringLiteral("input"), prompt, Kind::Plain, details});
    return nextText();
}

QStringList PromptsDouble::openFiles(const FileDialog &dialog)
{
    shown.append({QStringLiteral("openFiles"), dialog.title, Kind::Plain, dialog});
    const QVariant answer = next();
    if (answer.typeId() == QMetaType::QStringList)
        return answer.toStringList();
    if (answer.isValid() && !answer.toString().isEmpty())
        return {answer.toString()};
    return {};
}

std::optional<QString> PromptsDouble::openFile(const FileDialog &dialog)
{
    shown.append({QStringLiteral("openFile"), dialog.title, Kind::Plain, dialog});
    return nextText();
}

std::optional<QString> PromptsDouble::saveFile(const FileDialog &dialog)
{
    shown.append({QStringLiteral("saveFile"), dialog.title, Kind::Plain, dialog});
    return nextText();
}

std::optional<QString> PromptsDouble::chooseFolder(const QString &title, const QString &startFolder)
{
    FileDialog details;
    details.title = title;
    details.folder = startFolder;
    shown.append({QStringLiteral("folder"), title, Kind::Plain, details});
    return nextText();
}

QStringList PromptsDouble::texts() const
{
    QStringList result;
    for (const Shown &entry : shown)
        result.append(entry.text);
    return result;
}

QStringList PromptsDouble::messages() const
{
    QStringList result;
    for (const Shown &entry : shown)
        if (entry.what == QLatin1String("message"))
            result.append(entry.text);
    return result;
}

void PromptsDouble::clear()
{
    shown.clear();
    answers.clear();
    unanswered = 0;
}

#include "output/ClassFiles.h"

#include "controls/FileText.h"
#include "output/WebPlayer.h"
#include "platform/AppFolders.h"

#include <QFile>
#include <QFileInfo>

#include <iterator>

namespace {

const AppletClassFile classFiles[] = {
    {QStringLiteral("quilanim"), QStringLiteral("quilanim.class")},
    {QStringLiteral("wraplabel"), QStringLiteral("WrappingLabel.class")},
};

} // namespace

const AppletClassFile *AppletClassFiles(int *count)
{
    if (count)
        *count = int(std::size(classFiles));
    return classFiles;
}

QString ClassFilesFolder()
{
    return ProgramFolder() + QStringLiteral("/classes/");
}

namespace {

// Whether the script at path is missing or of another version than the program's.
bool webPlayerOutdated(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    return FirstLine(file.readLine()) != FirstLine(EmbeddedWebPlayer());
}

} // namespace

bool ExtractClassFiles(Prompts &prompts)
{
    const QString folder = ClassFilesFolder();
    bool allInPlace = true;
    for (const AppletClassFile &file : classFiles) {
        const QString target = folder + file.fileName;
        if (!QFileInfo::exists(target) && !ExtractResourceToFile(target, file.resourceName, prompts))
            allInPlace = false;
    }
    const QString player = folder + WebPlayerFileName;
    if (webPlayerOutdated(player) && !ExtractResourceToFile(player, WebPlayerFileName, prompts))
        allInPlace = false;
    return allInPlace;
}

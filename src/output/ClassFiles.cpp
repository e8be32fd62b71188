#include "output/ClassFiles.h"

#include "controls/FileText.h"
#include "platform/AppFolders.h"

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

bool ExtractClassFiles(Prompts &prompts)
{
    const QString folder = ClassFilesFolder();
    for (const AppletClassFile &file : classFiles) {
        const QString target = folder + file.fileName;
        if (QFileInfo::exists(target))
            continue;
        if (!ExtractResourceToFile(target, file.resourceName, prompts))
            return false;
    }
    return true;
}

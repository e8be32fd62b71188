#include "output/ProjectFiles.h"

#include "controls/BusyCursor.h"
#include "controls/FileText.h"
#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"
#include "document/SettingsKey.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagWriter.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QLatin1String kAppletStart("<applet");
const QLatin1String kAppletEnd("</applet>");

// A file larger than this is no project file of ours; it is not read to find out.
constexpr qint64 kLargestElementFile = qint64(256) * 1024 * 1024;

// Occurrences of "<applet" followed by a blank or ">" (not "<applets"), without regard to case.
int appletStarts(const QString &text)
{
    int count = 0;
    for (qsizetype at = text.indexOf(kAppletStart, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(kAppletStart, at + 1, Qt::CaseInsensitive)) {
        const qsizetype next = at + kAppletStart.size();
        if (next >= text.size() || text.at(next).isSpace() || text.at(next) == u'>')
            ++count;
    }
    return count;
}

} // namespace

ProjectFiles::ProjectFiles(AnimationDocument &document, Prompts &prompts, RegistryKey &settingsKey,
                           ProjectFileHooks hooks)
    : m_document(document), m_prompts(prompts), m_settingsKey(settingsKey), m_hooks(std::move(hooks))
{
}

QString ProjectFiles::OpenDialogFilter()
{
    return QStringLiteral("Java Reelcraft File (*.rcf);;HTML Files (*.htm *.html);;All Files (*)");
}

QString ProjectFiles::SaveDialogFilter()
{
    return QStringLiteral("Java Reelcraft Save Files (*.rcf)");
}

QString ProjectFiles::SavedMessage(const QString &fileName)
{
    return fileName + QStringLiteral(" saved.");
}

QString ProjectFiles::NotAProjectFileMessage(const QString &fileName)
{
    return fileName
        + QStringLiteral(" holds more than an animation, and saving would replace all of its other "
                         "content.\r\n\r\nPlease choose a name for the project file.");
}

QString ProjectFiles::ProjectFileText(const AnimationDocument &document)
{
    return WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl), ImageListForm::FileUrl);
}

QString ProjectFiles::FolderOf(const QString &fileName)
{
    const QString folder = ExtractFileFolder(fileName);
    if (!folder.isEmpty())
        return folder;
    return QDir::currentPath() + QLatin1Char('/');
}

bool ProjectFiles::HoldsOnlyAnAppletElement(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return true;
    return trimmed.startsWith(kAppletStart, Qt::CaseInsensitive)
        && trimmed.endsWith(kAppletEnd, Qt::CaseInsensitive)
        && appletStarts(trimmed) == 1
        && trimmed.count(kAppletEnd, Qt::CaseInsensitive) == 1;
}

bool ProjectFiles::mayReplace(const QString &fileName) const
{
    QFile file(fileName);
    if (!file.exists())
        return true;
    if (file.size() > kLargestElementFile)
        return false;
    // A file that cannot be read is left to the write, which reports it.
    if (!file.open(QIODevice::ReadOnly))
        return true;
    return HoldsOnlyAnAppletElement(DecodeFileText(file.readAll()));
}

void ProjectFiles::OpenProject(const QString &fileName)
{
    QString text;
    {
        BusyCursor busy;
        m_settingsKey.writeString(OpenFileDirectoryValue, FolderOf(fileName));
        try {
            text = ReadFileText(fileName, m_prompts);
        } catch (...) {
            // The entry of a file that cannot be opened moves to the top of the recent
            // files, so the user sees which one failed.
            if (m_hooks.addRecentFile)
                m_hooks.addRecentFile(fileName);
            throw;
        }
    }

    // A file without an animation (a text file, random bytes, a page without an element)
    // would only wipe the work that is open: it is refused and everything stays as it was.
    if (!HoldsAppletElement(text)) {
        // An empty text from a file that has content means a read error, which has been
        // shown already.
        if (!text.isEmpty() || QFileInfo(fileName).size() == 0)
            m_prompts.message(NoAnimationMessage(fileName), Prompts::Kind::Warning);
        return;
    }

    BusyCursor busy;
    if (m_hooks.addRecentFile)
        m_hooks.addRecentFile(fileName);
    m_document.ResetDocument();

    AppletTagReaderOptions options;
    // Relative references name files beside the file that holds them.
    options.baseDocumentName = FileReadingBase(fileName);
    options.addFrame = m_hooks.addFrame;
    options.layoutFrames = m_hooks.layoutFrames;
    ReadAppletTag(m_document, text, options);

    m_document.SetCurrentFileName(fileName);
}

void ProjectFiles::mnuFileOpenClick()
{
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Open");
    dialog.folder = m_settingsKey.readString(OpenFileDirectoryValue);
    dialog.filter = OpenDialogFilter();
    dialog.filterIndex = 0;
    const std::optional<QString> chosen = m_prompts.openFile(dialog);
    if (chosen && !chosen->isEmpty())
        OpenProject(*chosen);
}

void ProjectFiles::mnuFileSaveClick()
{
    save(ExistingFile::Check);
}

void ProjectFiles::save(ExistingFile existing)
{
    const QString text = ProjectFileText(m_document);
    const QString fileName = m_document.CurrentFileName();
    if (fileName.isEmpty()) {
        mnuFileSaveAsClick();
        return;
    }
    if (existing == ExistingFile::Check) {
        bool replace = false;
        {
            BusyCursor busy;
            replace = mayReplace(fileName);
        }
        if (!replace) {
            m_prompts.message(NotAProjectFileMessage(fileName), Prompts::Kind::Warning);
            mnuFileSaveAsClick();
            return;
        }
    }
    {
        BusyCursor busy;
        WriteFileText(fileName, text);
        if (m_hooks.addRecentFile)
            m_hooks.addRecentFile(fileName);
    }
    m_prompts.message(SavedMessage(fileName));
}

void ProjectFiles::mnuFileSaveAsClick()
{
    const QString current = m_document.CurrentFileName();
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Save As");
    if (!current.isEmpty() && QFileInfo(current).isFile()) {
        QString folder = FolderOf(current);
        if (folder.size() > 1)
            folder.chop(1);
        dialog.folder = folder;
    } else {
        dialog.folder = m_settingsKey.readString(OpenFileDirectoryValue);
    }
    dialog.filter = SaveDialogFilter();
    dialog.filterIndex = 0;
    dialog.defaultSuffix = QStringLiteral("rcf");

    const std::optional<QString> chosen = m_prompts.saveFile(dialog);
    if (!chosen || chosen->isEmpty())
        return;

    m_settingsKey.writeString(OpenFileDirectoryValue, FolderOf(*chosen));
    const QString previousCaption = m_document.Caption();
    m_document.SetCurrentFileName(*chosen);
    try {
        save(ExistingFile::Replace);
    } catch (...) {
        // Nothing was written under the new name, so the document keeps the name it had.
        if (current.isEmpty())
            m_document.SetCaption(previousCaption);
        else
            m_document.SetCurrentFileName(current);
        throw;
    }
}

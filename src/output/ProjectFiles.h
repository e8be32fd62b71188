#pragma once

#include <QString>

#include <functional>

class AnimationDocument;
class Prompts;
class RegistryKey;

// What the project-file commands hand to the rest of the program.
struct ProjectFileHooks
{
    // The recent-file list: a file was opened or saved (or an open was tried).
    std::function<void(const QString &path)> addRecentFile;
    // Adding the frames of an opened file and laying the strip out afterwards; when missing
    // the frames go into the document without decoded pictures.
    std::function<void(const QString &picturePath, const QString &captionText)> addFrame;
    std::function<void()> layoutFrames;
};

// The File menu's Open, Save and Save As and the opening of a project by name. A project
// file is the applet element written with file URLs (WriteAppletTag over the FileUrl image
// list); opening reads any text with the applet tag reader, so a page holding an element
// opens too. The document's file name is its CurrentFileName, shown in the caption.
//
// Errors that end a command (a file that cannot be opened or written) are thrown as
// EFileError for the application's handler; the busy cursor is gone by then.
class ProjectFiles
{
public:
    ProjectFiles(AnimationDocument &document, Prompts &prompts, RegistryKey &settingsKey,
                 ProjectFileHooks hooks = ProjectFileHooks());

    // Stores the file's folder as "Open File Directory" and reads the file. A file holding
    // an applet element joins the recent files, replaces the document (relative references
    // resolve against the file's own folder) and names it. A file without one is refused
    // with NoAnimationMessage: document, caption and recent files stay as they were. A file
    // that cannot be opened throws and leaves the document as it was; its name still moves
    // to the top of the recent files.
    void OpenProject(const QString &fileName);

    // Asks for a project or page to open, starting in "Open File Directory".
    void mnuFileOpenClick();
    // Writes the project file under CurrentFileName, or runs Save As when there is none.
    // An existing file holding more than one applet element (a page that was opened) is
    // never replaced: the user is told and Save As runs instead.
    void mnuFileSaveClick();
    // Asks for a file name (the dialog asks before replacing a file), names the document
    // after it and writes it. When the write fails the document keeps its earlier name.
    void mnuFileSaveAsClick();

    // The element text a project file holds for the document.
    static QString ProjectFileText(const AnimationDocument &document);
    // Whether text, trimmed, is exactly one applet element (or nothing at all), so that
    // writing a project file over it loses nothing.
    static bool HoldsOnlyAnAppletElement(const QString &text);
    // The folder part of a file name with a trailing "/" (the current folder for a bare name).
    static QString FolderOf(const QString &fileName);

    static QString OpenDialogFilter();
    static QString SaveDialogFilter();
    static QString SavedMessage(const QString &fileName);
    static QString NotAProjectFileMessage(const QString &fileName);

private:
    enum class ExistingFile { Check, Replace };
    void save(ExistingFile existing);
    bool mayReplace(const QString &fileName) const;

    AnimationDocument &m_document;
    Prompts &m_prompts;
    RegistryKey &m_settingsKey;
    ProjectFileHooks m_hooks;
};

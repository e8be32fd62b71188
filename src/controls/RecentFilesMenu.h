#pragma once

#include "controls/RecentFileList.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QObject;
class Prompts;
class RegistryKey;

// The recent-file entries of a File menu. The menu's frame is: the commands before the
// list, a hidden separator, the recent-file items, a second hidden separator, and one last
// command. Items go in directly after the first separator, with the caption "&" + place +
// " " + path; both separators show once the list holds an entry.
//
// Captions escape "&" as "&&" so the path shows literally; the handler and the saved list
// always get the path itself (the item's data), never the caption text.
class RecentFilesMenu
{
public:
    using ClickHandler = std::function<void(const QString &path)>;

    explicit RecentFilesMenu(Prompts &prompts);

    // Remembers the menu, the handler and its owner (the handler is no longer called once
    // the owner is gone). Uses the menu's first two separators as the frame, adding the
    // missing ones before its last command.
    void InitializeRecentFiles(QMenu *menu, ClickHandler handler, QObject *owner);
    // Adds the names stored under "Recent Files" from the last to the first.
    void LoadRecentFiles(const RegistryKey &key);
    void AddRecentFile(const QString &path);
    // Rewrites "Recent Files" from the list, top to bottom; false when a write fails.
    bool SaveRecentFiles(RegistryKey &key);

    bool isInitialized() const { return m_initialized; }
    const RecentFileList &list() const { return m_list; }
    // The recent-file items, top to bottom.
    QList<QAction *> items() const;
    QAction *firstSeparator() const { return m_firstSeparator; }
    QAction *secondSeparator() const { return m_secondSeparator; }

    // The path an item stands for.
    static QString pathOfItem(const QAction *item);
    static QString captionFor(int place, const QString &path);

private:
    bool checkInitialized();
    void findFrame();
    QAction *createItem();
    void updateItems();

    Prompts &m_prompts;
    bool m_initialized = false;
    QPointer<QMenu> m_menu;
    ClickHandler m_handler;
    QPointer<QObject> m_owner;
    bool m_hasOwner = false;
    QPointer<QAction> m_firstSeparator;
    QPointer<QAction> m_secondSeparator;
    QList<QPointer<QAction>> m_items;
    RecentFileList m_list;
};

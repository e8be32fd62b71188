#include "controls/RecentFilesMenu.h"

#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QAction>
#include <QMenu>

namespace {

QAction *actionAfter(const QMenu *menu, const QAction *action)
{
    const QList<QAction *> actions = menu->actions();
    const qsizetype index = actions.indexOf(const_cast<QAction *>(action));
    if (index < 0 || index + 1 >= actions.size())
        return nullptr;
    return actions.at(index + 1);
}

} // namespace

RecentFilesMenu::RecentFilesMenu(Prompts &prompts) : m_prompts(prompts) {}

QString RecentFilesMenu::captionFor(int place, const QString &path)
{
    QString shown = path;
    // "&" would underline the next letter and vanish; a tab would start the shortcut column.
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    for (const QChar breaking : {QLatin1Char('\t'), QLatin1Char('\r'), QLatin1Char('\n')})
        shown.replace(breaking, QLatin1Char(' '));
    return QLatin1Char('&') + QString::number(place) + QLatin1Char(' ') + shown;
}

QString RecentFilesMenu::pathOfItem(const QAction *item)
{
    return item ? item->data().toString() : QString();
}

QList<QAction *> RecentFilesMenu::items() const
{
    QList<QAction *> live;
    for (const QPointer<QAction> &item : m_items) {
        if (item)
            live.append(item);
    }
    return live;
}

bool RecentFilesMenu::checkInitialized()
{
    if (m_initialized)
        return true;
    m_prompts.message(QStringLiteral(
        "Internal Error : Programmer has not called InitializeRecentFiles routine !"));
    return false;
}

void RecentFilesMenu::InitializeRecentFiles(QMenu *menu, ClickHandler handler, QObject *owner)
{
    for (const QPointer<QAction> &item : std::as_const(m_items))
        delete item.data();
    m_items.clear();

    m_menu = menu;
    m_handler = std::move(handler);
    m_owner = owner;
    m_hasOwner = owner != nullptr;
    m_initialized = menu != nullptr;
    if (!m_initialized)
        return;

    findFrame();
    // Entries listed before a re-initialisation get items in the new menu.
    for (int i = 0; i < m_list.count(); ++i)
        m_items.prepend(createItem());
    updateItems();
}

void RecentFilesMenu::findFrame()
{
    m_firstSeparator = nullptr;
    m_secondSeparator = nullptr;
    const QList<QAction *> actions = m_menu->actions();
    for (QAction *action : actions) {
        if (!action->isSeparator())
            continue;
        if (!m_firstSeparator) {
            m_firstSeparator = action;
        } else {
            m_secondSeparator = action;
            break;
        }
    }
    // A menu without the frame gets it: before its last command, or directly after the
    // one separator it has.
    if (!m_firstSeparator)
        m_firstSeparator = m_menu->insertSeparator(actions.isEmpty() ? nullptr : actions.last());
    if (!m_secondSeparator)
        m_secondSeparator = m_menu->insertSeparator(actionAfter(m_menu, m_firstSeparator));
}

QAction *RecentFilesMenu::createItem()
{
    auto *item = new QAction(m_menu);
    // An owner that is already gone gets no more calls; without an owner the item is the
    // connection's context.
    if (!m_hasOwner || m_owner) {
        QObject *context = m_hasOwner ? m_owner.data() : item;
        QObject::connect(item, &QAction::triggered, context, [handler = m_handler, item] {
            if (handler)
                handler(pathOfItem(item));
        });
    }
    m_menu->insertAction(actionAfter(m_menu, m_firstSeparator), item);
    return item;
}

void RecentFilesMenu::LoadRecentFiles(const RegistryKey &key)
{
    if (!checkInitialized())
        return;
    const QStringList names = RecentFileList::readStored(key);
    for (int i = int(names.size()) - 1; i >= 0; --i)
        AddRecentFile(names.at(i));
}

void RecentFilesMenu::AddRecentFile(const QString &path)
{
    if (!checkInitialized())
        return;
    const RecentFileList::Change change = m_list.add(path);
    if (change.droppedLast && !m_items.isEmpty())
        delete m_items.takeLast().data();
    if (change.inserted && m_menu)
        m_items.prepend(createItem());
    // A moved entry keeps its item; renumbering every caption puts the menu in order.
    updateItems();
}

bool RecentFilesMenu::SaveRecentFiles(RegistryKey &key)
{
    if (!checkInitialized())
        return false;
    // The names come from the list, not from the captions, whose "&" are doubled.
    return m_list.save(key);
}

void RecentFilesMenu::updateItems()
{
    if (!m_menu)
        return;
    const QStringList &paths = m_list.paths();
    const QList<QAction *> live = items();
    for (int i = 0; i < live.size() && i < paths.size(); ++i) {
        live.at(i)->setText(captionFor(i + 1, paths.at(i)));
        live.at(i)->setData(paths.at(i));
        live.at(i)->setVisible(true);
    }
    for (const QPointer<QAction> &separator : {m_firstSeparator, m_secondSeparator}) {
        if (separator)
            separator->setVisible(!m_list.isEmpty());
    }
}

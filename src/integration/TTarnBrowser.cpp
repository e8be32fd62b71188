#include "integration/TTarnBrowser.h"

#include "integration/TfrmEdit.h"

#include <QAction>
#include <QMenu>

TTarnBrowser::TTarnBrowser(const BrowserServices &services, QWidget *owner)
    : QObject(owner), BrowserList(services), m_owner(owner)
{
}

TTarnBrowser::~TTarnBrowser() = default;

QMenu *TTarnBrowser::BuildBrowserMenu(bool fromHost, BrowserAction action)
{
    const std::optional<QList<BrowserMenuEntry>> entries = BrowserMenuEntries(fromHost);
    if (!entries)
        return nullptr;
    if (!m_menu) {
        m_menu = new QMenu(m_owner);
        m_menu->setToolTipsVisible(true);
    }
    const QList<QAction *> old = m_menu->actions();
    for (auto it = old.crbegin(); it != old.crend(); ++it) {
        m_menu->removeAction(*it);
        delete *it;
    }

    for (const BrowserMenuEntry &entry : *entries) {
        switch (entry.kind) {
        case BrowserMenuEntry::Kind::Separator:
            m_menu->addSeparator();
            break;
        case BrowserMenuEntry::Kind::EditBrowsers:
            connect(m_menu->addAction(entry.caption), &QAction::triggered, this, &TTarnBrowser::EditBrowsers);
            break;
        case BrowserMenuEntry::Kind::Browser: {
            QAction *item = m_menu->addAction(entry.caption);
            item->setToolTip(entry.hint);
            item->setStatusTip(entry.hint);
            const QString browser = entry.caption;
            connect(item, &QAction::triggered, this, [action, browser] {
                if (action)
                    action(browser);
            });
            break;
        }
        }
    }
    return m_menu;
}

QMenu *TTarnBrowser::PopupMenu() const
{
    return m_menu;
}

void TTarnBrowser::EditBrowsers()
{
    TfrmEdit dialog(services(), Key(), m_owner);
    dialog.exec();
}

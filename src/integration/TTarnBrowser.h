#pragma once

#include "integration/BrowserList.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QMenu;
class QWidget;

// The browser list component of the main window: the list's logic plus its pop-up menu,
// which belongs to the component's owner window.
class TTarnBrowser : public QObject, public BrowserList
{
    Q_OBJECT
public:
    // Called with the caption of the clicked browser item.
    using BrowserAction = std::function<void(const QString &browser)>;

    TTarnBrowser(const BrowserServices &services, QWidget *owner);
    ~TTarnBrowser() override;

    // The pop-up menu of browsers, rebuilt from the list (or the host's list when
    // fromHost); each browser item calls action. Null, after a message, when the host is
    // wanted but no longer runs. The menu is the component's; the caller pops it up.
    QMenu *BuildBrowserMenu(bool fromHost, BrowserAction action);
    QMenu *PopupMenu() const;

    // Opens the browser editor dialog modally on the list's key.
    void EditBrowsers();

private:
    QWidget *m_owner;
    QPointer<QMenu> m_menu;
};

#pragma once

#include "platform/RegistryKey.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class HostSession;
class ProcessLauncher;
class Prompts;
class Registry;

// What the browser list works through.
struct BrowserServices
{
    Registry &registry;
    Prompts &prompts;
    ProcessLauncher &launcher;
    HostSession &host;
};

// One item of the browser pop-up menu.
struct BrowserMenuEntry
{
    enum class Kind { Browser, Separator, EditBrowsers };
    Kind kind = Kind::Browser;
    QString caption;
    QString hint;
    bool operator==(const BrowserMenuEntry &other) const
    {
        return kind == other.kind && caption == other.caption && hint == other.hint;
    }
};

// A browser this platform finds on PATH by itself, as AutoFind does for Netscape and
// Internet Explorer through their registry entries.
struct PlatformBrowser
{
    QString subkey;   // the entry's name in the list
    QString ddeName;  // also the Service a find sets
    QStringList programs; // tried on PATH in this order
};

// The browser list in the registry below RegPath (one subkey per browser with "EXE Name",
// "DDE Name" and "Created"), finding browsers by itself, the entries of the browser menu
// and opening a page in the current browser (Service). There is no DDE on this platform:
// asking a running browser to show a page answers nothing, so a page always goes to the
// browser's program, started with the page as its one argument.
class BrowserList
{
public:
    static const QString DefaultRegPath; // "\Software\Tarnwick\Browsers"
    static const QString HostListError;  // the entry shown when the host's list fails

    explicit BrowserList(const BrowserServices &services);
    virtual ~BrowserList();
    BrowserList(const BrowserList &) = delete;
    BrowserList &operator=(const BrowserList &) = delete;

    const BrowserServices &services() const { return m_services; }

    // Run AutoFind (not forced) in Loaded.
    bool FindBrowsersOnCreate = true;

    QString RegPath() const { return m_regPath; }
    // Adds a missing leading "\"; opens the key, creating it when missing.
    void SetRegPath(const QString &path);
    // The open key of RegPath; TfrmEdit works on it.
    RegistryKey &Key() { return m_key; }

    QString Service() const { return m_service; }
    // Stores the name and loads DdeName from the browser's entry.
    void SetService(const QString &name);
    QString DdeName() const { return m_ddeName; }

    QString Version() const { return QStringLiteral("1.06"); }
    void SetVersion(const QString &) {}

    // Once the owner has set the properties: opens RegPath (or tells that it is missing)
    // and runs AutoFind when FindBrowsersOnCreate.
    void Loaded();

    // The platform's browsers, then Netscape, then Internet Explorer: each when forced or
    // when its entry has no "DDE Name".
    void AutoFind(bool force);
    static const QList<PlatformBrowser> &PlatformBrowsers();
    void FindPlatformBrowser(const PlatformBrowser &browser);
    void FindNetscape();
    void FindInternetExplorer();

    // From host: the entries of the host's "BrowserList"; otherwise the names of the
    // browsers in the registry.
    void FillBrowserList(QStringList &list, bool fromHost);
    // The items of the browser menu; nothing (after a message) when the host is wanted but
    // no longer runs.
    std::optional<QList<BrowserMenuEntry>> BrowserMenuEntries(bool fromHost);
    // A host list entry "name=detail" as a menu item.
    static BrowserMenuEntry HostMenuEntry(const QString &entry);
    // The host's answer split at the character 30.
    static QStringList SplitHostList(const QString &answer);

    // Shows url in the browser Service, finding one first when Service is empty.
    bool OpenURL(const QString &url);
    // Starts the program of the browser Service with url; false when there is none or it
    // cannot be started (with a message for a failed start).
    bool RunBrowserExe(const QString &url);

    // The text of an entry's value; empty without RegPath or entry.
    QString BrowserValue(const QString &browser, const QString &name) const;

private:
    void setBrowserValue(const QString &browser, const QString &name, const QString &value);
    QString browserKeyPath(const QString &browser) const;
    // The entry a browser name refers to: the entry of that name, else the entry whose
    // "DDE Name" is the name (finds set Service to a DDE name), else the name itself.
    QString entryFor(const QString &name) const;
    // Steps 3 to 5 of every find: the question before replacing a different program,
    // writing the entry, and the Service.
    void recordFound(const QString &subkey, const QString &ddeName, const QString &program);
    // Every finder, the platform's first, as OpenURL and RunBrowserExe run them.
    void findAll();
    void showURL(const QString &url, bool &result);

    BrowserServices m_services;
    RegistryKey m_key;
    QString m_regPath;
    QString m_service;
    QString m_ddeName;
};

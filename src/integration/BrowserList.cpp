#include "integration/BrowserList.h"

#include "controls/ConfirmYesNo.h"
#include "controls/PathUtils.h"
#include "controls/TextUtils.h"
#include "integration/HostSession.h"
#include "platform/EError.h"
#include "platform/HostLink.h"
#include "platform/ProcessLauncher.h"
#include "platform/Prompts.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString ExeName = QStringLiteral("EXE Name");
const QString DdeNameValue = QStringLiteral("DDE Name");
const QString Created = QStringLiteral("Created");
const QString DefaultDdeName = QStringLiteral("Default DDE Name");

const QString NetscapeEntry = QStringLiteral("Netscape");
const QString NetscapeDde = QStringLiteral("NETSCAPE");
const QString NetscapeKey = QStringLiteral("\\Software\\Netscape\\Netscape Navigator\\Main");
const QString NetscapeProgram = QStringLiteral("netscape.exe");

const QString ExplorerEntry = QStringLiteral("Internet Explorer");
const QString ExplorerDde = QStringLiteral("IEXPLORE");
const QString ExplorerKey = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE");

// The separator of the host's browser list.
const QChar HostListSeparator(0x1E);

bool fileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString launchFailureMessage(const ProcessLauncher::Result &result, const QString &program)
{
    switch (result.failure) {
    case ProcessLauncher::Failure::NoResources:
        return QStringLiteral("Not enough system resources to run ") + program;
    case ProcessLauncher::Failure::FileNotFound:
        return QStringLiteral("File not found: ") + program;
    case ProcessLauncher::Failure::PathNotFound:
        return QStringLiteral("Path not found for program ") + program;
    case ProcessLauncher::Failure::NotExecutable:
        return QStringLiteral("The file ") + program + QStringLiteral(" cannot be executed.");
    case ProcessLauncher::Failure::None:
    case ProcessLauncher::Failure::Other:
        break;
    }
    return QStringLiteral("An unknown error (") + QString::number(result.systemError)
        + QStringLiteral(" prevented the program \"") + program + QStringLiteral("\" from being run.");
}

} // namespace

const QString BrowserList::DefaultRegPath = QStringLiteral("\\Software\\Tarnwick\\Browsers");
const QString BrowserList::HostListError = QStringLiteral("Cannot build list of Quillon browsers !");

BrowserList::BrowserList(const BrowserServices &services) : m_services(services), m_key(services.registry) {}

BrowserList::~BrowserList() = default;

void BrowserList::SetRegPath(const QString &path)
{
    QString value = path;
    if (!value.startsWith(QLatin1Char('\\')))
        value.prepend(QLatin1Char('\\'));
    m_key.closeKey();
    m_key.openKey(value, true);
    m_regPath = value;
}

void BrowserList::SetService(const QString &name)
{
    m_service = name;
    m_ddeName = BrowserValue(entryFor(name), DdeNameValue);
}

void BrowserList::Loaded()
{
    if (!m_regPath.isEmpty())
        m_key.openKey(m_regPath, true);
    else
        m_services.prompts.message(QStringLiteral("Internal Error !  Browser Object must have a RegPath !"));
    if (FindBrowsersOnCreate)
        AutoFind(false);
}

QString BrowserList::browserKeyPath(const QString &browser) const
{
    // Joined by hand rather than through RegistryKey::absolutePath, so that a name that
    // starts with "\" still names an entry below RegPath.
    return m_key.currentPath() + QLatin1Char('\\') + browser;
}

QString BrowserList::BrowserValue(const QString &browser, const QString &name) const
{
    if (m_regPath.isEmpty() || m_key.currentPath().isEmpty())
        return {};
    return m_services.registry.readString(Registry::Root::CurrentUser, browserKeyPath(browser), name);
}

void BrowserList::setBrowserValue(const QString &browser, const QString &name, const QString &value)
{
    if (m_regPath.isEmpty() || m_key.currentPath().isEmpty())
        return;
    m_services.registry.writeString(Registry::Root::CurrentUser, browserKeyPath(browser), name, value);
}

QString BrowserList::entryFor(const QString &name) const
{
    if (m_regPath.isEmpty() || m_key.currentPath().isEmpty()
        || m_services.registry.keyExists(Registry::Root::CurrentUser, browserKeyPath(name)))
        return name;
    for (const QString &entry : m_key.subkeyNames())
        if (BrowserValue(entry, DdeNameValue).compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

const QList<PlatformBrowser> &BrowserList::PlatformBrowsers()
{
    static const QList<PlatformBrowser> browsers{
        {QStringLiteral("Firefox"), QStringLiteral("FIREFOX"),
         {QStringLiteral("firefox"), QStringLiteral("firefox-esr")}},
        {QStringLiteral("Chromium"), QStringLiteral("CHROMIUM"),
         {QStringLiteral("chromium"), QStringLiteral("chromium-browser")}},
        {QStringLiteral("Google Chrome"), QStringLiteral("GOOGLE CHROME"),
         {QStringLiteral("google-chrome"), QStringLiteral("google-chrome-stable")}},
    };
    return browsers;
}

void BrowserList::AutoFind(bool force)
{
    for (const PlatformBrowser &browser : PlatformBrowsers())
        if (force || BrowserValue(browser.subkey, DdeNameValue).isEmpty())
            FindPlatformBrowser(browser);
    if (force || BrowserValue(NetscapeEntry, DdeNameValue).isEmpty())
        FindNetscape();
    if (force || BrowserValue(ExplorerEntry, DdeNameValue).isEmpty())
        FindInternetExplorer();
}

void BrowserList::findAll()
{
    for (const PlatformBrowser &browser : PlatformBrowsers())
        FindPlatformBrowser(browser);
    FindInternetExplorer();
    FindNetscape();
}

void BrowserList::recordFound(const QString &subkey, const QString &ddeName, const QString &program)
{
    const QString stored = BrowserValue(subkey, ExeName);
    bool replace = true;
    if (!stored.isEmpty() && !SamePath(stored, program))
        replace = ConfirmYesNo(m_services.prompts,
                               QStringLiteral("AutoFind has located a registered browser that you have not "
                                              "included in your list.\r\n\r\nWould you like to replace the "
                                              "reference to ")
                                   + stored + QStringLiteral(" with ") + program + QStringLiteral(" ?"));
    if (replace) {
        setBrowserValue(subkey, DdeNameValue, ddeName);
        setBrowserValue(subkey, ExeName, program);
        setBrowserValue(subkey, Created, QStringLiteral("Automatically"));
        if (!m_regPath.isEmpty() && !m_key.currentPath().isEmpty())
            m_key.writeString(DefaultDdeName, ddeName);
    }
    SetService(ddeName);
}

void BrowserList::FindPlatformBrowser(const PlatformBrowser &browser)
{
    for (const QString &name : browser.programs) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty()) {
            recordFound(browser.subkey, browser.ddeName, program);
            return;
        }
    }
}

void BrowserList::FindNetscape()
{
    RegistryKey main(m_services.registry, Registry::Root::CurrentUser);
    if (!main.openKey(NetscapeKey, false))
        return;
    const QString folder = main.readString(QStringLiteral("Install Directory"));
    QString program;
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        const QString direct = JoinPath(folder, NetscapeProgram);
        const QString inProgram = JoinPath(JoinPath(folder, QStringLiteral("Program")), NetscapeProgram);
        if (fileExists(direct))
            program = direct;
        else if (fileExists(inProgram))
            program = inProgram;
    }
    if (!program.isEmpty())
        recordFound(NetscapeEntry, NetscapeDde, program);
}

void BrowserList::FindInternetExplorer()
{
    RegistryKey appPath(m_services.registry, Registry::Root::LocalMachine);
    if (!appPath.openKey(ExplorerKey, false))
        return;
    const QString program = appPath.readString(QString());
    if (fileExists(program))
        recordFound(ExplorerEntry, ExplorerDde, program);
}

QStringList BrowserList::SplitHostList(const QString &answer)
{
    QStringList list;
    QString rest = answer;
    while (!rest.isEmpty()) {
        const qsizetype separator = rest.indexOf(HostListSeparator);
        if (separator < 0) {
            list.append(rest);
            break;
        }
        list.append(rest.left(separator));
        rest = rest.mid(separator + 1);
    }
    return list;
}

void BrowserList::FillBrowserList(QStringList &list, bool fromHost)
{
    if (fromHost) {
        list.clear();
        try {
            list = SplitHostList(m_services.host.link().BrowserList());
        } catch (const EError &) {
            // Shown as a menu item, so the user sees why the list is missing.
            list = QStringList{HostListError};
        }
        return;
    }
    list = m_key.currentPath().isEmpty() ? QStringList() : m_key.subkeyNames();
}

BrowserMenuEntry BrowserList::HostMenuEntry(const QString &entry)
{
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    BrowserMenuEntry item;
    item.caption = equals > 0 ? entry.left(equals) : entry;
    item.hint = equals >= 0 ? entry.mid(equals + 1) : QString();
    return item;
}

std::optional<QList<BrowserMenuEntry>> BrowserList::BrowserMenuEntries(bool fromHost)
{
    if (fromHost && !m_services.host.IsHostRunning()) {
        m_services.prompts.message(QStringLiteral("Cannot build that browser list unless Quillon is running."));
        return std::nullopt;
    }
    QStringList names;
    FillBrowserList(names, fromHost);
    QList<BrowserMenuEntry> entries;
    for (const QString &name : names) {
        if (fromHost) {
            entries.append(HostMenuEntry(name));
        } else {
            BrowserMenuEntry item;
            item.caption = name;
            entries.append(item);
        }
    }
    if (!fromHost) {
        entries.append({BrowserMenuEntry::Kind::Separator, QStringLiteral("-"), QString()});
        entries.append({BrowserMenuEntry::Kind::EditBrowsers, QStringLiteral("&Edit Browsers"), QString()});
    }
    return entries;
}

bool BrowserList::OpenURL(const QString &url)
{
    bool result = true;
    if (m_service.isEmpty()) {
        findAll();
        // Set directly: the DDE name stays the one the last find loaded.
        m_service = m_key.currentPath().isEmpty() ? ExplorerDde : m_key.readString(DefaultDdeName, ExplorerDde);
    }
    try {
        showURL(url, result);
    } catch (const EError &) {
        QString blanksEncoded = url;
        blanksEncoded.replace(QLatin1Char(' '), QLatin1String("%20"));
        showURL(blanksEncoded, result);
    }
    return result;
}

void BrowserList::showURL(const QString &url, bool &result)
{
    const QString quoted = QuoteText(url);
    const QString unquoted = quoted.mid(1, quoted.size() - 2);
    // A running browser would be asked over DDE to show quoted + ",,0xFFFFFFFF,3" and then
    // to come to the front. No browser here takes DDE requests: the request answers
    // nothing, so the page goes to the browser's program.
    if (!RunBrowserExe(unquoted))
        result = false;
}

bool BrowserList::RunBrowserExe(const QString &url)
{
    QString program = BrowserValue(entryFor(m_service), ExeName);
    if (program.isEmpty()) {
        findAll();
        program = BrowserValue(entryFor(m_service), ExeName);
    }
    if (program.isEmpty()) {
        Prompts::FileDialog dialog;
        dialog.title = QStringLiteral("Please indicate where the browser called \"") + m_service
            + QStringLiteral("\" is located.");
        // Programs here have no extension to filter on.
        dialog.filter = QStringLiteral("All Files (*)");
        if (const std::optional<QString> chosen = m_services.prompts.openFile(dialog); chosen && !chosen->isEmpty()) {
            program = *chosen;
            const QString entry = entryFor(m_service);
            setBrowserValue(entry, ExeName, program);
            setBrowserValue(entry, DdeNameValue, m_service);
        }
    }
    if (!fileExists(program))
        return false;

    const QStringList arguments = url.isEmpty() ? QStringList() : QStringList{url};
    // A browser that ends at once with an error showed nothing (Chromium run as root
    // without its sandbox switch, say): say so, since the preview would just not appear.
    Prompts &prompts = m_services.prompts;
    const QString name = m_service;
    const ProcessLauncher::Result started =
        m_services.launcher.start(program, arguments, [&prompts, name](int exitStatus) {
            prompts.message(QStringLiteral("The browser ") + name + QStringLiteral(" ended at once (exit status ")
                            + QString::number(exitStatus) + QStringLiteral(")."));
        });
    if (started.started())
        return true;
    m_services.prompts.message(launchFailureMessage(started, program));
    return false;
}

// A substitute for the host HTML editor Quillon: owns the bus name "Quillon4.Plugin" on
// the session bus, keeps one text document with a caret, a selection and a path, answers
// the running probe and serves the automation interface of
// src/integration/Quillon4.Plugin.xml. Prints "ready" on standard output once it owns the
// name. "Quillon4.Debug" at "/debug" reads its state back.

#include "DebugService.h"
#include "EditorDocument.h"
#include "EditorWindow.h"
#include "PluginService.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool wantsHeadless(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--headless") == 0)
            return true;
    return false;
}

void fail(const QString &text)
{
    std::fprintf(stderr, "reelcraft-host-editor: %s\n", qPrintable(text));
    std::exit(2);
}

} // namespace

int main(int argc, char **argv)
{
    // Headless runs need no display, so they make no widgets at all.
    std::unique_ptr<QCoreApplication> app(wantsHeadless(argc, argv) ? new QCoreApplication(argc, argv)
                                                                    : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("reelcraft-host-editor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A substitute host editor for Java Reelcraft."));
    parser.addHelpOption();
    const QCommandLineOption headless(QStringLiteral("headless"), QStringLiteral("Show no window."));
    const QCommandLineOption noDocument(QStringLiteral("no-document"), QStringLiteral("Start with no open document."));
    const QCommandLineOption text(QStringLiteral("text"), QStringLiteral("The document's text."), QStringLiteral("text"));
    const QCommandLineOption selection(QStringLiteral("selection"),
                                       QStringLiteral("The selection, start and length counted from 0."),
                                       QStringLiteral("start,length"));
    const QCommandLineOption document(QStringLiteral("document"), QStringLiteral("The document's full path."),
                                      QStringLiteral("path"));
    const QCommandLineOption browser(QStringLiteral("browser"),
                                     QStringLiteral("An entry of the browser list, \"name=detail\"; repeat it for more."),
                                     QStringLiteral("entry"));
    const QCommandLineOption browserListFails(QStringLiteral("browser-list-fails"),
                                              QStringLiteral("Answer BrowserList with an error."));
    const QCommandLineOption openDocAnswer(QStringLiteral("opendoc-answer"),
                                           QStringLiteral("Answer isopendoc with this text."), QStringLiteral("text"));
    const QCommandLineOption probeAnswer(QStringLiteral("probe-answer"),
                                         QStringLiteral("The running probe's answer (default 1)."), QStringLiteral("n"));
    const QCommandLineOption silentProbe(QStringLiteral("silent-probe"),
                                         QStringLiteral("Never answer the running probe."));
    parser.addOptions({headless, noDocument, text, selection, document, browser, browserListFails, openDocAnswer,
                       probeAnswer, silentProbe});
    parser.process(*app);

    EditorDocument editorDocument;
    if (!parser.isSet(noDocument))
        editorDocument.open(parser.value(text), parser.value(document));
    if (parser.isSet(selection)) {
        const QStringList parts = parser.value(selection).split(QLatin1Char(','));
        bool startOk = false;
        bool lengthOk = false;
        const int start = parts.value(0).toInt(&startOk);
        const int length = parts.value(1).toInt(&lengthOk);
        if (parts.size() != 2 || !startOk || !lengthOk)
            fail(QStringLiteral("--selection needs start,length"));
        editorDocument.select(start, length);
    }

    PluginService::Options options;
    if (parser.isSet(probeAnswer)) {
        bool ok = false;
        options.probeAnswer = parser.value(probeAnswer).toInt(&ok);
        if (!ok)
            fail(QStringLiteral("--probe-answer needs a number"));
    }
    options.silentProbe = parser.isSet(silentProbe);
    options.fixedOpenDocAnswer = parser.isSet(openDocAnswer);
    options.openDocAnswer = parser.value(openDocAnswer);
    options.browserList = parser.values(browser).join(QChar(0x1E));
    options.browserListFails = parser.isSet(browserListFails);

    PluginService plugin(editorDocument, options);
    DebugService debug(editorDocument, plugin);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        fail(QStringLiteral("no session bus: ") + bus.lastError().message());
    if (!bus.registerObject(QStringLiteral("/"), &plugin, QDBusConnection::ExportScriptableSlots)
        || !bus.registerObject(QStringLiteral("/debug"), &debug, QDBusConnection::ExportScriptableSlots))
        fail(QStringLiteral("cannot register the objects"));
    if (!bus.registerService(QStringLiteral("Quillon4.Plugin")))
        fail(QStringLiteral("cannot own the name Quillon4.Plugin: ") + bus.lastError().message());

    std::unique_ptr<EditorWindow> window;
    if (!parser.isSet(headless)) {
        window = std::make_unique<EditorWindow>(editorDocument);
        window->show();
    }

    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return app->exec();
}

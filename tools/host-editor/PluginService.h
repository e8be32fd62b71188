#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>

class EditorDocument;

// The automation interface "Quillon4.Plugin" at the object path "/", as
// src/integration/Quillon4.Plugin.xml describes it, over the editor's one document.
// Every call is recorded in calls() ("method(arg, arg)") so a test can read it back.
class PluginService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quillon4.Plugin")
public:
    struct Options
    {
        int probeAnswer = 1;
        bool silentProbe = false;   // the probe is taken but never answered
        bool fixedOpenDocAnswer = false; // answer isopendoc with openDocAnswer
        QString openDocAnswer;
        QString browserList;        // entries separated by the character 30
        bool browserListFails = false;
    };

    PluginService(EditorDocument &document, const Options &options, QObject *parent = nullptr);

    const QStringList &calls() const { return m_calls; }

public slots:
    Q_SCRIPTABLE int WM_ISQUILLONRUNNING();
    Q_SCRIPTABLE QString isopendoc();
    Q_SCRIPTABLE void QL_CREATENEWDOC();
    Q_SCRIPTABLE int getselstart();
    Q_SCRIPTABLE void puttextatcursor(const QString &text);
    Q_SCRIPTABLE void replacealltext(const QString &text);
    Q_SCRIPTABLE void setselection(int start, int length);
    Q_SCRIPTABLE QString getseltext();
    Q_SCRIPTABLE QString getalltext();
    Q_SCRIPTABLE QString currentdocname();
    Q_SCRIPTABLE QString BrowserList();

private:
    void record(const QString &method, const QStringList &arguments = {});
    // Answers the call with an error when no document is open; true when one is.
    bool needDocument();

    EditorDocument &m_document;
    Options m_options;
    QStringList m_calls;
};

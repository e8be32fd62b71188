#pragma once

#include <QString>

class HostLink;
class Prompts;

// The program's link with the host HTML editor Quillon over its automation object.
// HostLinked is the found flag of the latest probe; callers test it, not the object, to
// choose between host and stand-alone behaviour. A failed call on an editor that has
// vanished throws EHostError, which is not caught here: the command that made it ends.
class HostSession
{
public:
    // The modes of SendTextToHost and GetHostText.
    static constexpr int WholeDocument = 0;
    static constexpr int AtCursor = 1; // the caret for sending, the selection for reading
    static constexpr int ProbeTimeoutMs = 2000;

    HostSession(HostLink &link, Prompts &prompts);

    bool HostLinked() const { return m_hostLinked; }
    HostLink &link() const { return m_link; }

    // Clears HostLinked, then sets it when an editor answers the probe.
    bool IsHostRunning();
    // The program goes on without the host (its automation object could not be made):
    // HostLinked becomes false until the next probe.
    void DropLink() { m_hostLinked = false; }
    // Probes once and, with an editor found, creates the automation object (a failure
    // throws and is left to the caller's caller).
    void ConnectHost();
    // Mode 1 inserts at the caret, mode 0 replaces the whole document; select leaves the
    // new text selected. False, after a message, when there is no automation object.
    bool SendTextToHost(const QString &text, int mode, bool select);
    // Mode 1 the selected text, mode 0 the whole document; empty unless a document is open.
    QString GetHostText(int mode);
    // The path of the editor's current document; empty when it has none.
    QString GetHostDocumentName();

private:
    HostLink &m_link;
    Prompts &m_prompts;
    bool m_hostLinked = false;
};

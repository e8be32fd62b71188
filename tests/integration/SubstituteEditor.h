#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>

// Runs the substitute host editor (tools/host-editor) headless on the session bus for one
// test case and reads its state back through its "Quillon4.Debug" interface.
class SubstituteEditor
{
public:
    // Starts the editor with these options and waits until it owns its bus name.
    explicit SubstituteEditor(const QStringList &options = {});
    ~SubstituteEditor();
    SubstituteEditor(const SubstituteEditor &) = delete;
    SubstituteEditor &operator=(const SubstituteEditor &) = delete;

    static QString program();

    bool isReady() const { return m_ready; }
    // What went wrong when it is not ready.
    QString problem() const { return m_problem; }
    // Ends the editor at once, as a crash or a closed editor would.
    void kill();

    bool isOpen() const;
    QString text() const;
    int selectionStart() const;
    int selectionLength() const;
    // The calls of the automation interface so far, "method(arg, arg)".
    QStringList calls() const;

private:
    QVariant debug(const QString &method) const;

    QProcess m_process;
    bool m_ready = false;
    QString m_problem;
};

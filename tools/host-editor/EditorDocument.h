#pragma once

#include <QObject>
#include <QString>

// The one document of the substitute editor: its text, the selection (the caret is the
// selection's start) and its path. Positions count UTF-16 code units from 0.
class EditorDocument : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool isOpen() const { return m_open; }
    const QString &text() const { return m_text; }
    int selectionStart() const { return m_selectionStart; }
    int selectionLength() const { return m_selectionLength; }
    QString selectedText() const { return m_text.mid(m_selectionStart, m_selectionLength); }
    // The full path, empty for a document that was never saved.
    const QString &path() const { return m_path; }

    // Opens a document with text and path; the caret at the start.
    void open(const QString &text, const QString &path);
    void close();
    // A new empty document without a path.
    void createNew();
    // Replaces the selection with text (a caret without selection just inserts) and puts
    // the caret after it.
    void insertAtCaret(const QString &text);
    void replaceAll(const QString &text);
    // Clamped to the text.
    void select(int start, int length);

signals:
    void changed();

private:
    bool m_open = false;
    QString m_text;
    int m_selectionStart = 0;
    int m_selectionLength = 0;
    QString m_path;
};

#include "EditorDocument.h"

#include <algorithm>

void EditorDocument::open(const QString &text, const QString &path)
{
    m_open = true;
    m_text = text;
    m_path = path;
    m_selectionStart = 0;
    m_selectionLength = 0;
    emit changed();
}

void EditorDocument::close()
{
    m_open = false;
    m_text.clear();
    m_path.clear();
    m_selectionStart = 0;
    m_selectionLength = 0;
    emit changed();
}

void EditorDocument::createNew()
{
    open(QString(), QString());
}

void EditorDocument::insertAtCaret(const QString &text)
{
    m_text.replace(m_selectionStart, m_selectionLength, text);
    m_selectionStart += int(text.size());
    m_selectionLength = 0;
    emit changed();
}

void EditorDocument::replaceAll(const QString &text)
{
    m_text = text;
    m_selectionStart = 0;
    m_selectionLength = 0;
    emit changed();
}

void EditorDocument::select(int start, int length)
{
    const int size = int(m_text.size());
    m_selectionStart = std::clamp(start, 0, size);
    m_selectionLength = std::clamp(length, 0, size - m_selectionStart);
    emit changed();
}

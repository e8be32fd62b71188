#pragma once

#include "platform/Prompts.h"

class QWidget;

// Prompts shown as real Qt message boxes and dialogs, owned by a parent window.
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &text, Kind kind) override;
    bool confirm(const QString &text) override;
    std::optional<QString> input(const QString &title, const QString &prompt,
                                 const QString &defaultText) override;
    QStringList openFiles(const FileDialog &dialog) override;
    std::optional<QString> openFile(const FileDialog &dialog) override;
    std::optional<QString> saveFile(const FileDialog &dialog) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) override;

private:
    QWidget *m_parent;
};

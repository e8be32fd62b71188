#include "platform/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

const QString kTitle = QStringLiteral("Java Reelcraft");

void prepare(QFileDialog &box, const Prompts::FileDialog &dialog)
{
    box.setWindowTitle(dialog.title);
    if (!dialog.folder.isEmpty())
        box.setDirectory(dialog.folder);
    const QStringList filters = dialog.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    box.setNameFilters(filters);
    if (dialog.filterIndex >= 0 && dialog.filterIndex < filters.size())
        box.selectNameFilter(filters.at(dialog.filterIndex));
    if (!dialog.fileName.isEmpty())
        box.selectFile(dialog.fileName);
    if (!dialog.defaultSuffix.isEmpty())
        box.setDefaultSuffix(dialog.defaultSuffix);
    // Cameras write ".JPG": name filters match whatever the case, as long as the
    // dialog's filter does not ask for QDir::CaseSensitive.
    box.setFilter(box.filter() & ~QDir::CaseSensitive);
}

} // namespace

void QtPrompts::message(const QString &text, Kind kind)
{
    switch (kind) {
    case Kind::Error:
        QMessageBox::critical(m_parent, kTitle, text);
        break;
    case Kind::Warning:
        QMessageBox::warning(m_parent, kTitle, text);
        break;
    case Kind::Information:
        QMessageBox::information(m_parent, kTitle, text);
        break;
    case Kind::Plain: {
        QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, m_parent);
        box.exec();
        break;
    }
    }
}

bool QtPrompts::confirm(const QString &text)
{
    return QMessageBox::question(m_parent, kTitle, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes)
        == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::input(const QString &title, const QString &prompt,
                                        const QString &defaultText)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal,
                                                 defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QStringList QtPrompts::openFiles(const FileDialog &dialog)
{
    QFileDialog box(m_parent);
    prepare(box, dialog);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode(QFileDialog::ExistingFiles);
    if (box.exec() != QDialog::Accepted)
        return {};
    return box.selectedFiles();
}

std::optional<QString> QtPrompts::openFile(const FileDialog &dialog)
{
    QFileDialog box(m_parent);
    prepare(box, dialog);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode(QFileDialog::ExistingFile);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().constFirst();
}

std::optional<QString> QtPrompts::saveFile(const FileDialog &dialog)
{
    QFileDialog box(m_parent);
    prepare(box, dialog);
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().constFirst();
}

std::optional<QString> QtPrompts::chooseFolder(const QString &title, const QString &startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(m_parent, title, startFolder);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

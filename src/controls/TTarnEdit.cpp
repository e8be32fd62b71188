#include "controls/TTarnEdit.h"

#include "controls/PathUtils.h"
#include "controls/TextUtils.h"
#include "controls/WidgetHelpers.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QToolButton>

TTarnEdit::TTarnEdit(QWidget *parent, Prompts *prompts, Registry *registry)
    : QLineEdit(parent), m_prompts(prompts), m_registry(registry)
{
    connect(this, &QLineEdit::textEdited, this, &TTarnEdit::textChangedByUser);
}

TTarnEdit::~TTarnEdit()
{
    delete m_browseButton;
}

void TTarnEdit::SetRegPath(const QString &path)
{
    m_regPath = path.isEmpty() || path.startsWith(QLatin1Char('\\')) ? path : QLatin1Char('\\') + path;
}

void TTarnEdit::SetFileBrowser(bool on)
{
    if (on == FileBrowser())
        return;
    if (!on) {
        delete m_browseButton;
        return;
    }
    m_browseButton = new QToolButton(parentWidget());
    m_browseButton->setAutoRaise(true);
    m_browseButton->setFocusPolicy(Qt::NoFocus);
    connect(m_browseButton, &QToolButton::clicked, this, &TTarnEdit::BrowseForFile);
    SetFileGlyph(m_glyph);
    placeBrowseButton();
}

void TTarnEdit::SetFileGlyph(TTarnGlyph glyph)
{
    m_glyph = glyph;
    if (m_browseButton)
        LoadGlyph(m_browseButton, glyph == tgOpen ? QStringLiteral("OPENFILE") : QStringLiteral("SAVEFILE"));
}

void TTarnEdit::placeBrowseButton()
{
    // Against the edit's right edge, same top and height, on the edit's parent.
    if (!m_browseButton)
        return;
    m_browseButton->setGeometry(x() + width(), y(), 24, height());
    m_browseButton->setEnabled(isEnabled());
    m_browseButton->setVisible(parentWidget() && isVisibleTo(parentWidget()));
}

bool TTarnEdit::event(QEvent *event)
{
    const bool handled = QLineEdit::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        placeBrowseButton();
        break;
    default:
        break;
    }
    return handled;
}

void TTarnEdit::keyPressEvent(QKeyEvent *event)
{
    const QChar character = TarnKeyCharacter(event);
    if (character.isNull() || character == TarnKeys::CarriageReturn) {
        // Keys that type nothing (arrows, Delete, Home ...) are the edit's own business.
        if (character == TarnKeys::CarriageReturn && RegStore && (Options & teOnCarriageReturn))
            WriteToRegistry();
        QLineEdit::keyPressEvent(event);
        return;
    }
    emit keyPressed(character);
    const TarnEditFilter::Outcome outcome =
        Filter.filter(character, text(), cursorPosition(), selectionStart(), int(selectedText().size()));
    if (!outcome.accepted) {
        event->accept();
        return;
    }
    if (RegStore && (Options & teOnCarriageReturn))
        WriteToRegistry();
    if (outcome.clearFirst) {
        clear();
    }
    QLineEdit::keyPressEvent(event);
}

void TTarnEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    const QString adjusted = Filter.textOnExit(text());
    if (adjusted != text()) {
        setText(adjusted);
        emit textEdited(adjusted);
    }
    if (RegStore && (Options & teOnExit))
        WriteToRegistry();
    emit exited();
}

void TTarnEdit::textChangedByUser()
{
    if (RegStore && (Options & teOnChange))
        WriteToRegistry();
}

void TTarnEdit::ReadFromRegistry()
{
    if (!RegStore || m_regPath.isEmpty() || !m_registry)
        return;
    RegistryKey key(*m_registry);
    if (!key.openKey(m_regPath, true))
        return;
    QString value = key.readString(RegValue);
    if (value.isEmpty())
        return;
    if (echoMode() != QLineEdit::Normal)
        value = ScrambleText(value, QStringLiteral("DEC"));
    setText(value);
}

void TTarnEdit::WriteToRegistry()
{
    if (m_regPath.isEmpty()) {
        if (m_prompts)
            m_prompts->message(QStringLiteral("TTarnEdit Internal Error : WriteToRegistry called while sRegPath was blank !"));
        return;
    }
    if (!m_registry)
        return;
    RegistryKey key(*m_registry);
    if (!key.openKey(m_regPath, true))
        return;
    const QString value = echoMode() != QLineEdit::Normal ? ScrambleText(text(), QStringLiteral("ENC")) : text();
    key.writeString(RegValue, value);
}

void TTarnEdit::BrowseForFile()
{
    if (!m_prompts)
        return;
    Prompts::FileDialog dialog;
    dialog.filter = QtFileFilter(FileFilter);
    dialog.defaultSuffix = FileDefaultExt;

    bool folderFromRegistry = false;
    const QString currentFolder = ExtractFileFolder(text());
    if (!currentFolder.isEmpty() && QFileInfo(currentFolder).isDir()) {
        dialog.folder = currentFolder;
    } else if (!FileBrowserInitDirRegPath.isEmpty() && !FileBrowserInitDirRegValue.isEmpty() && m_registry) {
        RegistryKey key(*m_registry);
        if (key.openKey(FileBrowserInitDirRegPath, true)) {
            dialog.folder = key.readString(FileBrowserInitDirRegValue);
            folderFromRegistry = true;
        }
    }

    const std::optional<QString> chosen = m_glyph == tgOpen ? m_prompts->openFile(dialog) : m_prompts->saveFile(dialog);
    if (!chosen)
        return;
    const QString path = QDir::toNativeSeparators(*chosen);
    setText(path);
    emit textEdited(path);
    if (folderFromRegistry) {
        RegistryKey key(*m_registry);
        if (key.openKey(FileBrowserInitDirRegPath, true))
            key.writeString(FileBrowserInitDirRegValue, ExtractFileFolder(path));
    }
}

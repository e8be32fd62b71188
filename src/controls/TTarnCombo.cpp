#include "controls/TTarnCombo.h"

#include "controls/TarnKeyFilter.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

TTarnCombo::TTarnCombo(QWidget *parent, Prompts *prompts, Registry *registry)
    : QComboBox(parent), m_prompts(prompts), m_registry(registry)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The combo keeps its own list; Qt's completer would fill the box behind its back.
    setCompleter(nullptr);
    // Keys reach the combo itself: the line edit's focus proxy is the combo, which hands
    // keys and focus changes on to the line edit directly, past its event filters. The
    // line edit is watched too, for keys sent to it alone.
    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!m_list.MoveSelectedToTop)
            return;
        const int at = m_list.Pick(index);
        syncFromList(at);
    });
}

void TTarnCombo::SetRegPath(const QString &path)
{
    m_regPath = path.isEmpty() || path.startsWith(QLatin1Char('\\')) ? path : QLatin1Char('\\') + path;
}

QStringList TTarnCombo::Items() const
{
    return m_list.Items;
}

void TTarnCombo::SetItems(const QStringList &items)
{
    m_list.Items = items;
    syncFromList(-1);
}

void TTarnCombo::syncFromList(int select)
{
    // Rebuilding the items must not change the text the user sees unless a pick asked so.
    const QString text = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(m_list.Items);
    if (select >= 0 && select < count()) {
        setCurrentIndex(select);
    } else {
        setCurrentIndex(-1);
        setEditText(text);
    }
}

void TTarnCombo::AddItem(const QString &text)
{
    if (m_list.AddItem(text) >= 0)
        syncFromList(-1);
}

void TTarnCombo::TrimToMaxItems()
{
    const int before = int(m_list.Items.size());
    m_list.TrimToMaxItems();
    if (m_list.Items.size() != before)
        syncFromList(-1);
}

void TTarnCombo::ReadFromRegistry()
{
    if (!RegStore || !m_registry || m_regPath.isEmpty())
        return;
    RegistryKey key(*m_registry);
    if (!key.openKey(m_regPath, true))
        return;
    m_list.Items = TarnComboList::FromCommaText(key.readString(RegValue));
    m_list.TrimToMaxItems();
    syncFromList(m_list.Items.isEmpty() ? -1 : 0);
}

void TTarnCombo::WriteToRegistry()
{
    if (m_regPath.isEmpty() || RegValue.isEmpty()) {
        if (m_prompts)
            m_prompts->message(QStringLiteral("Internal TarnCombo Error : You have called WriteToRegistry while the "
                                              "RegPath or RegValue properties are blank."));
        return;
    }
    if (!m_registry)
        return;
    RegistryKey key(*m_registry);
    if (key.openKey(m_regPath, true))
        key.writeString(RegValue, TarnComboList::CommaText(m_list.Items));
}

void TTarnCombo::showPopup()
{
    emit popupAboutToShow();
    QComboBox::showPopup();
}

bool TTarnCombo::handleKey(QKeyEvent *event)
{
    bool handled = false;
    emit keyDown(event, handled);
    if (handled)
        return true;
    const QChar character = TarnKeyCharacter(event);
    if (character == TarnKeys::CarriageReturn) {
        // Enter is always swallowed.
        if (Options & tcAddOnCR) {
            const QString text = currentText();
            AddItem(text);
            TrimToMaxItems();
            if (m_list.MoveSelectedToTop) {
                const int at = m_list.Items.indexOf(text);
                syncFromList(at);
            }
        }
        if (RegStore && (Options & tcWriteOnCR))
            WriteToRegistry();
        return true;
    }
    if (character.isNull() || character == TarnKeys::CtrlC || character == TarnKeys::CtrlV
        || character == TarnKeys::CtrlX)
        return false;
    if (!TarnComboAccepts(character, AllowChars, BlockChars))
        return true;
    if (m_maxLength > 0 && character != TarnKeys::Backspace
        && lineEdit()->text().size() - lineEdit()->selectedText().size() >= m_maxLength)
        return true;
    emit keyPressed(character);
    return false;
}

bool TTarnCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() || watched == this) {
        if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
            return true;
        if (event->type() == QEvent::FocusOut && watched == this) {
            emit exited();
            if (Options & tcAddOnExit)
                AddItem(currentText());
            if (RegStore && (Options & tcWriteOnExit))
                WriteToRegistry();
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TTarnCombo::focusOutEvent(QFocusEvent *event)
{
    // When focus leaves, Qt's combo selects the item that matches the text and reports it
    // as activated, as if it had been picked from the list. Leaving is no pick: the owner
    // (the colour field reads an index into its own list) must not hear of it.
    const QSignalBlocker blocker(this);
    QComboBox::focusOutEvent(event);
}

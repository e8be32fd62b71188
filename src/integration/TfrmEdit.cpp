#include "integration/TfrmEdit.h"

#include "controls/ConfirmYesNo.h"
#include "controls/PathUtils.h"
#include "controls/WidgetHelpers.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const QString ExeName = QStringLiteral("EXE Name");
const QString DdeName = QStringLiteral("DDE Name");

QPushButton *makeButton(QWidget *parent, const QString &text, int left, int top)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(left, top, 163, 24);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmEdit::TfrmEdit(const BrowserServices &services, RegistryKey &key, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(services),
      m_key(key)
{
    setWindowTitle(QStringLiteral("Edit Browsers"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    setFont(font);
    setFixedSize(316, 236);

    lstBrowsers = new QListWidget(this);
    lstBrowsers->setGeometry(8, 8, 129, 220);
    lstBrowsers->setSelectionMode(QAbstractItemView::SingleSelection);

    Label1 = new QLabel(QStringLiteral("Location Of Browser Program"), this);
    Label1->setGeometry(145, 8, 163, 16);
    txtExe = new QLineEdit(this);
    txtExe->setGeometry(145, 25, 139, 22);
    btnBrowseEXE = new QToolButton(this);
    btnBrowseEXE->setGeometry(286, 25, 22, 22);
    btnBrowseEXE->setIconSize(QSize(16, 16));
    btnBrowseEXE->setToolTip(QStringLiteral("Browse for the browser's program"));
    LoadGlyph(btnBrowseEXE, QStringLiteral("OPENFILE"));

    Label2 = new QLabel(QStringLiteral("DDE Name (e.g NETSCAPE or IEXPLORE)"), this);
    Label2->setGeometry(145, 55, 163, 30);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    txtDDE = new QLineEdit(this);
    txtDDE->setGeometry(145, 86, 163, 22);

    btnAdd = makeButton(this, QStringLiteral("&Add Browser"), 145, 120);
    btnDelete = makeButton(this, QStringLiteral("&Delete Browser"), 145, 148);
    btnAutoFind = makeButton(this, QStringLiteral("Auto &Find"), 145, 176);
    btnClose = makeButton(this, QStringLiteral("Close"), 145, 204);

    enableFields(false);

    connect(lstBrowsers, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstBrowsersClick();
    });
    connect(txtExe, &QLineEdit::editingFinished, this, &TfrmEdit::txtExeExit);
    connect(txtDDE, &QLineEdit::editingFinished, this, &TfrmEdit::txtDDEExit);
    connect(btnBrowseEXE, &QToolButton::clicked, this, &TfrmEdit::btnBrowseEXEClick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmEdit::btnAddClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmEdit::btnDeleteClick);
    connect(btnAutoFind, &QPushButton::clicked, this, &TfrmEdit::btnAutoFindClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmEdit::btnCloseClick);
}

TfrmEdit::~TfrmEdit() = default;

void TfrmEdit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmEdit::done(int result)
{
    // A field still being typed in when the dialog closes keeps what was typed, as leaving
    // it would have.
    if (txtExe->isModified())
        txtExeExit();
    if (txtDDE->isModified())
        txtDDEExit();
    QDialog::done(result);
}

void TfrmEdit::FormShow()
{
    fillList();
    ClearSelection();
}

void TfrmEdit::fillList()
{
    const QSignalBlocker blocker(lstBrowsers);
    lstBrowsers->clear();
    lstBrowsers->addItems(m_key.subkeyNames());
}

void TfrmEdit::enableFields(bool on)
{
    txtExe->setEnabled(on);
    txtDDE->setEnabled(on);
    btnDelete->setEnabled(on);
}

QString TfrmEdit::browserValue(const QString &name) const
{
    return m_key.registry().readString(m_key.root(), m_key.currentPath() + QLatin1Char('\\') + m_selected, name);
}

void TfrmEdit::writeBrowserValue(const QString &name, const QString &value)
{
    if (m_selected.isEmpty())
        return;
    m_key.registry().writeString(m_key.root(), m_key.currentPath() + QLatin1Char('\\') + m_selected, name, value);
}

void TfrmEdit::lstBrowsersClick()
{
    const QListWidgetItem *item = lstBrowsers->currentItem();
    if (!item)
        return;
    m_selected = item->text();
    enableFields(true);
    txtExe->setText(browserValue(ExeName));
    txtDDE->setText(browserValue(DdeName));
}

void TfrmEdit::ClearSelection()
{
    m_selected.clear();
    txtExe->clear();
    txtDDE->clear();
    {
        const QSignalBlocker blocker(lstBrowsers);
        lstBrowsers->setCurrentRow(-1);
        lstBrowsers->clearSelection();
    }
    enableFields(false);
}

void TfrmEdit::txtExeExit()
{
    writeBrowserValue(ExeName, txtExe->text());
    txtExe->setModified(false);
}

void TfrmEdit::txtDDEExit()
{
    writeBrowserValue(DdeName, txtDDE->text());
    txtDDE->setModified(false);
}

void TfrmEdit::btnBrowseEXEClick()
{
    if (m_selected.isEmpty())
        return;
    Prompts::FileDialog dlg;
    dlg.title = QStringLiteral("Open");
    if (!txtExe->text().isEmpty())
        dlg.folder = ExtractFileFolder(txtExe->text());
    // Programs here have no extension to filter on.
    dlg.filter = QStringLiteral("All Files (*)");
    const std::optional<QString> chosen = m_services.prompts.openFile(dlg);
    if (!chosen || chosen->isEmpty())
        return;
    txtExe->setText(*chosen);
    // The chosen file counts as typed: it is written when the field is left.
    txtExe->setModified(true);
    txtExe->setFocus();
}

void TfrmEdit::btnAddClick()
{
    const std::optional<QString> answer = m_services.prompts.input(
        QStringLiteral("Please enter a descriptive name for the browser (e.g. Netscape, Internet Explorer)"),
        QStringLiteral("Browser Name"), QString());
    if (!answer || answer->isEmpty())
        return;
    const QString name = *answer;
    for (int row = 0; row < lstBrowsers->count(); ++row) {
        if (lstBrowsers->item(row)->text().compare(name, Qt::CaseInsensitive) == 0) {
            m_services.prompts.message(
                QStringLiteral("That name has already been used.  Please choose another name."));
            return;
        }
    }
    m_key.registry().writeString(m_key.root(), m_key.currentPath() + QLatin1Char('\\') + name,
                                 QStringLiteral("Created"), QStringLiteral("Manually"));
    {
        const QSignalBlocker blocker(lstBrowsers);
        lstBrowsers->addItem(name);
    }
    ClearSelection();
    lstBrowsers->setCurrentRow(lstBrowsers->count() - 1);
    enableFields(true);
    txtExe->setFocus();
}

void TfrmEdit::btnDeleteClick()
{
    if (m_selected.isEmpty())
        return;
    if (!ConfirmYesNo(m_services.prompts,
                      QStringLiteral("Are you sure you wish to remove ") + m_selected + QStringLiteral(" from the list ?")))
        return;
    m_key.registry().deleteKey(m_key.root(), m_key.currentPath() + QLatin1Char('\\') + m_selected);
    {
        const QSignalBlocker blocker(lstBrowsers);
        delete lstBrowsers->takeItem(lstBrowsers->currentRow());
    }
    ClearSelection();
}

void TfrmEdit::btnAutoFindClick()
{
    if (!m_key.currentPath().isEmpty()) {
        // A list of its own on the same key, as a second component would be.
        BrowserList finder(m_services);
        finder.SetRegPath(m_key.currentPath());
        finder.AutoFind(true);
    }
    fillList();
    ClearSelection();
}

void TfrmEdit::btnCloseClick()
{
    accept();
}

#include "output/compile/TfrmCompile.h"

#include "controls/BusyCursor.h"
#include "controls/ConfirmYesNo.h"
#include "controls/PathUtils.h"
#include "controls/ProgressBox.h"
#include "controls/WidgetHelpers.h"
#include "document/AnimationDocument.h"
#include "document/SettingsKey.h"
#include "integration/HostSession.h"
#include "output/AnimationFileCopy.h"
#include "output/ShowPage.h"
#include "output/StagedFolderWrite.h"
#include "output/WebPlayer.h"
#include "platform/AppFolders.h"
#include "platform/EError.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTextDocument>
#include <QToolButton>

#include <memory>
#include <utility>

namespace {

const QLatin1String GroupTitle("In Which Remote Directory Will Your Animation Images Be Stored ?");
const QLatin1String CopyClassFilesHeading("Copy Class Files To");
const QLatin1String CopyAllFilesHeading("Copy All Files To");
const QLatin1String FolderPickerTitle("Browse for Folder");

// Font sizes tried from the main window's size down until every fixed text fits.
constexpr qreal FontSizes[] = {8.0, 7.5, 7.0, 6.5, 6.0};
// Room beside the browse button's text, for its frame.
constexpr int BrowseTextMargin = 6;

QToolButton *glyphButton(QWidget *parent, const QRect &geometry, const QString &glyph, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setGeometry(geometry);
    button->setIconSize(QSize(geometry.width() - 10, geometry.height() - 10));
    button->setToolTip(hint);
    LoadGlyph(button, glyph);
    return button;
}

bool fitsWidth(const QWidget *widget)
{
    return widget->sizeHint().width() <= widget->width();
}

} // namespace

TfrmCompile::TfrmCompile(AnimationDocument &document, HostSession &host, Prompts &prompts, Registry &registry,
                         QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_document(document),
      m_host(host),
      m_prompts(prompts),
      m_registry(registry)
{
    setWindowTitle(QStringLiteral("Compile Java Animation"));
    setFixedSize(ClientWidth, ClientHeight);
    buildControls();
    fitFont();
    connectHandlers();
    FormCreate();
}

TfrmCompile::~TfrmCompile()
{
    FormDestroy();
}

void TfrmCompile::buildControls()
{
    GroupBox1 = new QGroupBox(GroupTitle, this);
    GroupBox1->setGeometry(6, 4, 352, 114);

    rbSameDir = new QRadioButton(QStringLiteral("Same directory as my HTML page."), GroupBox1);
    rbSameDir->setGeometry(10, 20, 336, 19);
    rbOtherDir = new QRadioButton(QStringLiteral("A different directory (please specify)"), GroupBox1);
    rbOtherDir->setGeometry(10, 41, 336, 19);
    txtDir = new QLineEdit(GroupBox1);
    txtDir->setGeometry(28, 62, 316, 21);
    txtDir->hide();
    rbRelative = new QRadioButton(QStringLiteral("A relative directory that matches the structure on my computer."),
                                  GroupBox1);
    rbRelative->setGeometry(10, 88, 336, 19);

    txtHTML = new QPlainTextEdit(this);
    txtHTML->setGeometry(6, 124, 352, 84);
    txtHTML->setReadOnly(true);
    txtHTML->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHTML->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    chkWebPlayer = new QCheckBox(QStringLiteral("Also play in browsers without Java"), this);
    chkWebPlayer->setGeometry(6, 212, 352, 19);
    chkWebPlayer->setToolTip(QStringLiteral("Adds a script line after the applet so the animation also plays in "
                                            "browsers without Java; the copy then includes quilanim.js."));

    // The send button waits for an element to send.
    btnOut = glyphButton(this, QRect(6, 238, 40, 40), QStringLiteral("compile"),
                         QStringLiteral("Send the HTML to Quillon"));
    btnOut->setEnabled(false);

    chkCopyAllFiles = new QCheckBox(QStringLiteral("Copy all files for this animation"), this);
    chkCopyAllFiles->setGeometry(56, 236, 250, 19);
    chkCopyAllFiles->setToolTip(QStringLiteral("Copy all your images, soundtracks and Java Classes.  "
                                               "If unselected then only the class files are copied."));
    lblCopyHeading = new QLabel(CopyClassFilesHeading, this);
    lblCopyHeading->setGeometry(56, 258, 250, 15);
    txtCopyDir = new QLineEdit(this);
    txtCopyDir->setGeometry(56, 275, 228, 21);
    btnBrowseDir = new QToolButton(this);
    btnBrowseDir->setGeometry(286, 275, 22, 21);
    btnBrowseDir->setText(QStringLiteral("..."));
    btnCopyFiles = glyphButton(this, QRect(318, 262, 40, 40), QStringLiteral("copyimage"),
                               QStringLiteral("Copy image,sound and class files to a single directory"));
    // A page needs the pictures beside it, so it goes with "Copy all files" only.
    chkWritePage = new QCheckBox(QStringLiteral("Also write a page"), this);
    chkWritePage->setGeometry(56, 302, 250, 19);
    chkWritePage->setToolTip(QStringLiteral("Also writes index.html beside the copied files: a page that plays "
                                            "the animation and fits phone screens."));
    chkWritePage->setEnabled(false);

    // Names for accessibility tools and test reports.
    const std::pair<QWidget *, const char *> names[] = {
        {GroupBox1, "GroupBox1"},   {rbSameDir, "rbSameDir"},       {rbOtherDir, "rbOtherDir"},
        {rbRelative, "rbRelative"}, {txtDir, "txtDir"},             {txtHTML, "txtHTML"},
        {chkWebPlayer, "chkWebPlayer"},
        {btnOut, "btnOut"},         {chkCopyAllFiles, "chkCopyAllFiles"}, {lblCopyHeading, "lblCopyHeading"},
        {chkWritePage, "chkWritePage"},
        {txtCopyDir, "txtCopyDir"}, {btnBrowseDir, "btnBrowseDir"}, {btnCopyFiles, "btnCopyFiles"},
    };
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));
}

void TfrmCompile::connectHandlers()
{
    connect(rbSameDir, &QRadioButton::clicked, this, &TfrmCompile::rbSameDirClick);
    connect(rbOtherDir, &QRadioButton::clicked, this, &TfrmCompile::rbOtherDirClick);
    connect(rbRelative, &QRadioButton::clicked, this, &TfrmCompile::rbRelativeClick);
    connect(txtDir, &QLineEdit::textChanged, this, &TfrmCompile::txtDirChange);
    connect(txtHTML, &QPlainTextEdit::textChanged, this, &TfrmCompile::txtHTMLChange);
    connect(btnOut, &QToolButton::clicked, this, &TfrmCompile::btnOutClick);
    connect(btnBrowseDir, &QToolButton::clicked, this, &TfrmCompile::btnBrowseDirClick);
    connect(chkCopyAllFiles, &QCheckBox::clicked, this, &TfrmCompile::chkCopyAllFilesClick);
    connect(chkWebPlayer, &QCheckBox::clicked, this, &TfrmCompile::chkWebPlayerClick);
    connect(btnCopyFiles, &QToolButton::clicked, this, &TfrmCompile::btnCopyFilesClick);
}

void TfrmCompile::fitFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const qreal size : FontSizes) {
        font.setPointSizeF(size);
        setFont(font);
        if (textsFit())
            return;
    }
}

bool TfrmCompile::textsFit() const
{
    // Without a layout the group box asks only for the room its style gives the title.
    if (GroupBox1->minimumSizeHint().width() > GroupBox1->width())
        return false;
    // The browse button's text needs to be readable, not its full padding.
    if (QFontMetrics(btnBrowseDir->font()).horizontalAdvance(btnBrowseDir->text()) + BrowseTextMargin
        > btnBrowseDir->width())
        return false;
    // The heading is measured with its longer text, which it shows once the box is ticked.
    QLabel heading(CopyAllFilesHeading);
    heading.setFont(lblCopyHeading->font());
    if (heading.sizeHint().width() > lblCopyHeading->width())
        return false;
    for (const QWidget *widget :
         {static_cast<const QWidget *>(rbSameDir), static_cast<const QWidget *>(rbOtherDir),
          static_cast<const QWidget *>(rbRelative), static_cast<const QWidget *>(chkCopyAllFiles),
          static_cast<const QWidget *>(chkWebPlayer), static_cast<const QWidget *>(chkWritePage),
          static_cast<const QWidget *>(lblCopyHeading)}) {
        if (!fitsWidth(widget))
            return false;
    }
    return true;
}

void TfrmCompile::FormCreate()
{
    // On unless the user switched it off: pages should play in today's browsers.
    chkWebPlayer->setChecked(m_registry.readString(Registry::Root::CurrentUser, SettingsKey, WebPlayerValue)
                             != QLatin1String("false"));
    // Off unless the user asked for it before.
    chkWritePage->setChecked(m_registry.readString(Registry::Root::CurrentUser, SettingsKey, WritePageValue)
                             == QLatin1String("true"));
    rbSameDir->setChecked(true);
    rbSameDirClick();

    QString copyFolder = m_registry.readString(Registry::Root::CurrentUser, SettingsKey, CopyFilesToValue);
    if (m_host.HostLinked()) {
        const QString documentName = m_host.GetHostDocumentName();
        if (!documentName.isEmpty())
            copyFolder = ExtractFileFolder(documentName);
    } else {
        rbRelative->setEnabled(false);
        btnOut->setToolTip(QStringLiteral("Send the HTML to clipboard"));
    }
    txtCopyDir->setText(copyFolder);
}

void TfrmCompile::FormDestroy()
{
    // A failed settings write must not escape a destructor; the value is simply not kept.
    try {
        m_registry.writeString(Registry::Root::CurrentUser, SettingsKey, CopyFilesToValue, txtCopyDir->text());
        m_registry.writeString(Registry::Root::CurrentUser, SettingsKey, WebPlayerValue,
                               chkWebPlayer->isChecked() ? QStringLiteral("true") : QStringLiteral("false"));
        m_registry.writeString(Registry::Root::CurrentUser, SettingsKey, WritePageValue,
                               chkWritePage->isChecked() ? QStringLiteral("true") : QStringLiteral("false"));
    } catch (...) {
    }
}

void TfrmCompile::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        if (const QScreen *shown = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(shown->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

void TfrmCompile::regenerate(ImageListForm form, const QString &folderOrDocumentName)
{
    m_element = WriteAppletTag(m_document, BuildImageList(m_document, form, folderOrDocumentName), form);
    showHtml();
}

QString TfrmCompile::html() const
{
    return chkWebPlayer->isChecked() ? WithWebPlayer(m_element) : m_element;
}

void TfrmCompile::showHtml()
{
    // The box shows one line per element line; the CR LF text itself is what goes out.
    QString shown = html();
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    txtHTML->setPlainText(shown);
}

void TfrmCompile::rbSameDirClick()
{
    txtDir->hide();
    regenerate(ImageListForm::FileNameOnly);
}

void TfrmCompile::rbOtherDirClick()
{
    txtDir->show();
    if (!txtDir->text().isEmpty())
        regenerate(ImageListForm::InFolder, txtDir->text());
    txtDir->setFocus();
}

void TfrmCompile::txtDirChange()
{
    regenerate(ImageListForm::InFolder, txtDir->text());
}

void TfrmCompile::rbRelativeClick()
{
    txtDir->hide();
    // HostSession already turns the editor's "error" answer into an empty name.
    const QString documentName = m_host.GetHostDocumentName();
    if (documentName.isEmpty())
        m_prompts.message(QStringLiteral("For a proper set of relative directories to be worked out you must have a "
                                         "saved document open in Quillon4.  In the meantime the Java Reelcraft will "
                                         "display absolute references to your graphics."),
                          Prompts::Kind::Information);
    regenerate(ImageListForm::RelativeToDocument, documentName);
}

void TfrmCompile::txtHTMLChange()
{
    if (!txtHTML->document()->isEmpty())
        btnOut->setEnabled(true);
}

void TfrmCompile::btnOutClick()
{
    const QString text = html();
    if (!m_host.HostLinked()) {
        QGuiApplication::clipboard()->setText(text);
        m_prompts.message(QStringLiteral("The Java animation code has been copied to the clipboard."));
        return;
    }
    if (m_host.SendTextToHost(text, HostSession::AtCursor, true))
        m_prompts.message(QStringLiteral("Java animation code copied to Quillon."));
    else
        m_prompts.message(QStringLiteral("There is no open document in Quillon for the Reelcraft to write to.  "
                                         "Please create or open a document before compiling again."),
                          Prompts::Kind::Error);
}

void TfrmCompile::btnBrowseDirClick()
{
    // A folder written without a trailing separator starts the picker at its parent.
    QString start = ExtractFileFolder(txtCopyDir->text());
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = ProgramFolder();
    const std::optional<QString> chosen = m_prompts.chooseFolder(FolderPickerTitle, start);
    if (!chosen || chosen->isEmpty())
        return;
    // Folder values end with a separator, so the next browse starts inside this folder.
    QString folder = *chosen;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    txtCopyDir->setText(folder);
}

void TfrmCompile::chkCopyAllFilesClick()
{
    lblCopyHeading->setText(chkCopyAllFiles->isChecked() ? CopyAllFilesHeading : CopyClassFilesHeading);
    chkWritePage->setEnabled(chkCopyAllFiles->isChecked());
}

bool TfrmCompile::writesPage() const
{
    return chkCopyAllFiles->isChecked() && chkWritePage->isChecked();
}

QString TfrmCompile::pageText(const QString &pagePath) const
{
    // The page lies beside the files, so it names them by their bare names, whatever path
    // choice the element shown above uses.
    const QString element = WriteAppletTag(
        m_document, BuildImageList(m_document, ImageListForm::FileNameOnly, QString(), pagePath),
        ImageListForm::FileNameOnly, pagePath);
    return ShowPageText(ShowPageTitle(m_document), chkWebPlayer->isChecked() ? WithWebPlayer(element) : element);
}

int TfrmCompile::copyWithPage(const QString &folder, QStringList *notCopied, const CopyProgress &progress) const
{
    // The page and the files it needs arrive together, or the folder stays as it was.
    EnsureFolder(folder);
    const QString pagePath = FileInFolder(folder, ShowPageFileName);
    StagedFolderWrite write(folder);
    const int count =
        StageAnimationFiles(write, m_document, true, chkWebPlayer->isChecked(), notCopied, pagePath, progress);
    QString problem;
    if (!write.stageBytes(ShowPageFileName, pageText(pagePath).toUtf8(), &problem) || !write.commit(&problem))
        throw EFileError(problem);
    return count;
}

void TfrmCompile::chkWebPlayerClick()
{
    showHtml();
}

void TfrmCompile::btnCopyFilesClick()
{
    if (txtCopyDir->text().isEmpty()) {
        m_prompts.message(QStringLiteral("Please indicate where you want to copy the files to."));
        txtCopyDir->setFocus();
        return;
    }

    QString target = txtCopyDir->text();
    if (!QFileInfo(target).isDir()) {
        if (ConfirmYesNo(m_prompts, QStringLiteral("The directory ") + target
                                        + QStringLiteral(" does not exist.  Create it now ?"))) {
            if (!QDir().mkpath(target) || !QFileInfo(target).isDir())
                throw EFileError(QStringLiteral("The directory ") + target
                                 + QStringLiteral(" could not be created."));
        } else {
            target = ProgramFolder() + QStringLiteral("/AnimFiles");
        }
    }

    if (!ConfirmYesNo(m_prompts, QStringLiteral("This procedure will copy the files you are using into ") + target
                                     + QStringLiteral(".  Would you like to proceed with this operation ?")))
        return;
    // A page of the user's own is never replaced unasked; No ends the command unchanged.
    const bool page = writesPage();
    if (page && QFileInfo::exists(FileInFolder(target, ShowPageFileName))
        && !ConfirmYesNo(m_prompts, target + QStringLiteral(" already holds index.html. Replace it?")))
        return;

    QString report;
    Prompts::Kind kind = Prompts::Kind::Plain;
    try {
        BusyCursor busy;
        QStringList notCopied;
        // Light copies of many photos take a while: a progress box, with Cancel.
        ProgressBox progressBox(this, QStringLiteral("Copying pictures"));
        const CopyProgress progress = progressBox.reporter();
        const int count = page ? copyWithPage(target, &notCopied, progress)
                               : CopyAnimationFiles(m_document, target, chkCopyAllFiles->isChecked(),
                                                    chkWebPlayer->isChecked(), &notCopied, QString(), progress);
        report = QString::number(count) + QStringLiteral(" files copied to ") + target + QLatin1Char('.');
        if (!notCopied.isEmpty())
            report += QStringLiteral("\r\n\r\n") + notCopied.join(QStringLiteral("\r\n"));
        if (page)
            report += QStringLiteral("\r\n\r\nOpen the page ") + FileInFolder(target, ShowPageFileName)
                + QStringLiteral(" to see the show.");
    } catch (const ECancelled &cancelled) {
        report = cancelled.message();
    } catch (const EError &error) {
        report = QStringLiteral("An error occurred while copying your files.\r\n\r\n") + error.message();
        kind = Prompts::Kind::Error;
    } catch (const std::exception &error) {
        report = QStringLiteral("An error occurred while copying your files.\r\n\r\n")
            + QString::fromLocal8Bit(error.what());
        kind = Prompts::Kind::Error;
    }
    m_prompts.message(report, kind);
}

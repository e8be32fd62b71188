#include "app/TfrmReelcraft.h"

#include "app/ReelcraftApplication.h"

#include "colour/TTarnColourPicker.h"
#include "platform/QtScreenSource.h"
#include "controls/TTarnEdit.h"
#include "controls/WidgetHelpers.h"
#include "controls/BusyCursor.h"
#include "controls/ProgressBox.h"
#include "controls/FileText.h"
#include "controls/HelpFile.h"
#include "controls/TWhatsThis.h"
#include "controls/TfrmSplash.h"
#include "document/SettingsKey.h"
#include "document/TCaptionEdit.h"
#include "document/TFrameStrip.h"
#include "mail/MailServices.h"
#include "mail/NetMailTransport.h"
#include "output/AppletTagReader.h"
#include "integration/TTarnBrowser.h"
#include "output/ClassFiles.h"
#include "output/PreviewPage.h"
#include "output/compile/CompileCommand.h"
#include "output/ProjectFiles.h"
#include "platform/AppFolders.h"
#include "platform/HelpViewer.h"
#include "platform/EError.h"
#include "platform/HostLink.h"
#include "platform/Prompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 417;
constexpr int ClientHeight = 327;
constexpr int FieldHeight = 20;
constexpr int RowPitch = 22;
constexpr int ComboHeight = 22;

// Help numbers shown by What's-This help; read from the "helpTag" property of a control.
const char *const HelpTagProperty = "helpTag";
// Help contexts of the F1 key on the settings fields.
const char *const HelpContextProperty = "helpContext";

QToolButton *makeSpeedButton(QWidget *parent, int left, int top, int width, int height,
                             const QString &glyph, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setGeometry(left, top, width, height);
    button->setAutoRaise(true);
    button->setIconSize(QSize(width - 8, height - 8));
    button->setToolTip(hint);
    LoadGlyph(button, glyph);
    return button;
}

} // namespace

TfrmReelcraft::TfrmReelcraft(AppServices services, QWidget *parent)
    : TGradientForm(parent),
      m_services(services),
      m_document(services.prompts),
      m_host(services.host, services.prompts),
      m_settingsKey(services.registry),
      m_recentFiles(services.prompts)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    setFont(font);
    setProperty(HelpTagProperty, -21);

    auto *client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    buildToolbar(client);
    buildStripDetails(client);

    pgReelcraft = new QTabWidget(client);
    pgReelcraft->setGeometry(5, 141, 407, 186);
    tbGeneral = new QWidget;
    tbBehaviour = new QWidget;
    tbCaptions = new QWidget;
    pgReelcraft->addTab(tbGeneral, QStringLiteral("Options"));
    pgReelcraft->addTab(tbBehaviour, QStringLiteral("Behaviour"));
    pgReelcraft->addTab(tbCaptions, QStringLiteral("Captions"));
    buildOptionsPage();
    buildBehaviourPage();
    buildCaptionsPage();
    buildStrip(client);
    buildMenus();

    // The window has a fixed single border: its size follows the client area and the menu.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(&m_document, &AnimationDocument::textSettingChanged, this, &TfrmReelcraft::showTextSetting);
    connect(&m_document, &AnimationDocument::listSettingChanged, this, &TfrmReelcraft::showListSetting);
    connect(&m_document, &AnimationDocument::scaleToFitChanged, chkScale, &QCheckBox::setChecked);
    connect(&m_document, &AnimationDocument::captionChanged, this, &TfrmReelcraft::SetCaption);
    connect(&m_document, &AnimationDocument::documentReset, this, [this] {
        const QSignalBlocker blocker(txtCaption);
        txtCaption->clear();
    });

    sb = new TTarnBrowser(BrowserServices{services.registry, services.prompts, services.launcher, m_host}, this);
    sb->SetRegPath(BrowserList::DefaultRegPath);

    ProjectFileHooks hooks;
    hooks.addRecentFile = [this](const QString &path) { m_recentFiles.AddRecentFile(path); };
    hooks.addFrame = [this](const QString &path, const QString &caption) { scrFrames->AddFrame(path, caption); };
    hooks.layoutFrames = [this] { scrFrames->LayoutFrames(); };
    m_projectFiles = std::make_unique<ProjectFiles>(m_document, m_services.prompts, m_settingsKey, hooks);

    FormCreate();
}

TfrmReelcraft::~TfrmReelcraft()
{
    FormDestroy();
}

void TfrmReelcraft::FormCreate()
{
    // 1. What's-This help for every control that carries a help number.
    ct = new TWhatsThis(this, m_services.help);
    m_initialised = false;
    // 2. to 4. Probe for the host editor; the splash shows only without one, and with one
    // the automation object is made for the program's lifetime.
    if (!m_host.IsHostRunning())
        TfrmSplash::ShowStartupSplash(m_services.splashWait);
    else
        createHostObject();
    // 5.
    m_initialised = true;
    // 6. The program's own help file, written when missing or out of date.
    InstallHelpFile(m_services.prompts);
    // 7. Terminate requests are signals, wired by the program's entry.
    // 8.
    ExtractClassFiles(m_services.prompts);
    // 9.
    m_recentFiles.InitializeRecentFiles(
        mnuFile, [this](const QString &path) { m_projectFiles->OpenProject(path); }, this);
    // 10. The direction lists start at their first entries (the document's start-up values;
    // the document's colour field already has its warnings off).
    showAllSettings();
    // 11. The toolbar glyphs were loaded with the buttons.
    // 12.
    m_settingsKey.openKey(QStringLiteral("\\") + SettingsKey, true);
    m_settingsKey.writeString(PictureExtensionValue, PictureExtension);
    m_recentFiles.LoadRecentFiles(m_settingsKey);
    // The browser list finds this machine's browsers the first time it is used.
    sb->Loaded();
    // 13.
    m_document.SetCaption(AnimationDocument::StartupCaption);
    SetCaption(m_document.Caption());

    // Controls with a help number of their own, and the labels, buttons and boxes that show
    // the window's topic: a right press on any of them offers What's-This help. Edit fields
    // and lists keep their own right-button menus.
    for (QWidget *control : findChildren<QWidget *>())
        if (control->property(HelpTagProperty).isValid() || qobject_cast<QLabel *>(control)
            || qobject_cast<QAbstractButton *>(control) || qobject_cast<QGroupBox *>(control))
            ct->Attach(control);
    ct->Attach(this);
    ct->EnableHelpKey(this);
}

void TfrmReelcraft::createHostObject()
{
    try {
        m_host.link().createObject();
    } catch (const EError &error) {
        // An editor that answers the probe but gives no automation object must not end the
        // program: the error is shown as any command's is and the program works on its own.
        m_host.DropLink();
        if (auto *application = qobject_cast<ReelcraftApplication *>(QCoreApplication::instance()))
            application->showError(error.message());
        else
            m_services.prompts.message(error.message(), Prompts::Kind::Error);
    }
}

void TfrmReelcraft::showEvent(QShowEvent *event)
{
    TGradientForm::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // The window opens in the middle of the screen it is shown on.
    if (const QScreen *shown = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown->availableGeometry().center());
        move(frame.topLeft());
    }
    // Let the window appear first; reading the host's selection may show messages.
    QMetaObject::invokeMethod(this, &TfrmReelcraft::FormShow, Qt::QueuedConnection);
}

void TfrmReelcraft::FormShow()
{
    // An applet element selected in the host editor opens for editing.
    if (!m_host.HostLinked())
        return;
    AppletTagReaderOptions options;
    options.baseDocumentName = ReaderBaseDocumentName(&m_host);
    options.addFrame = [this](const QString &path, const QString &caption) { scrFrames->AddFrame(path, caption); };
    options.layoutFrames = [this] { scrFrames->LayoutFrames(); };
    ReadAppletTag(m_document, m_host.GetHostText(HostSession::AtCursor), options);
}

void TfrmReelcraft::FormDestroy()
{
    if (!m_initialised)
        return;
    m_initialised = false;
    {
        const BusyCursor busy;
        DeleteFiles(GetTempFolder() + QStringLiteral("~sj*.htm"), false);
    }
    m_recentFiles.SaveRecentFiles(m_settingsKey);
    m_settingsKey.closeKey();
}

void TfrmReelcraft::buildToolbar(QWidget *client)
{
    btnAdd = makeSpeedButton(client, 6, 2, 35, 35, QStringLiteral("add"),
                             QStringLiteral("Add one or more frames to your animation"));
    btnAdd->setProperty(HelpTagProperty, 6);
    btnDelete = makeSpeedButton(client, 41, 2, 35, 35, QStringLiteral("delete"),
                                QStringLiteral("Delete the highlighted frame(s) from the animation"));
    btnDeleteAll = makeSpeedButton(client, 76, 2, 35, 35, QStringLiteral("deleteall"),
                                   QStringLiteral("Remove all frames from the animation"));
    btnPreview = makeSpeedButton(client, 119, 2, 35, 35, QStringLiteral("preview"),
                                 QStringLiteral("Choose a browser in which to preview the animation."));
    btnPreview->setProperty(HelpTagProperty, 1);
    btnCompile = makeSpeedButton(client, 154, 2, 35, 35, QStringLiteral("compile"),
                                 QStringLiteral("Write the animation out to your current document"));
    btnCompile->setProperty(HelpTagProperty, 3);
    btnExit = makeSpeedButton(client, 200, 2, 33, 34, QStringLiteral("exit"),
                              QStringLiteral("Exit from the Reelcraft"));
    connect(btnExit, &QToolButton::clicked, this, &TfrmReelcraft::btnExitClick);
    connect(btnCompile, &QToolButton::clicked, this, &TfrmReelcraft::btnCompileClick);
    connect(btnPreview, &QToolButton::clicked, this, &TfrmReelcraft::btnPreviewClick);
}

void TfrmReelcraft::buildStripDetails(QWidget *client)
{
    // The size label gets room for "Image Size : 4000 by 3000"; the file name label, whose
    // text is shortened to its width anyway, gives up what that takes.
    Label14 = new QLabel(QStringLiteral("Filename : "), client);
    Label14->setGeometry(5, 125, 60, 16);
    lblFilename = new QLabel(client);
    lblFilename->setGeometry(65, 125, 194, 16);
    lblSize = new QLabel(QStringLiteral("Image Size : "), client);
    lblSize->setGeometry(261, 125, 151, 16);
}

void TfrmReelcraft::buildStrip(QWidget *client)
{
    scrFrames = new TFrameStrip(m_document, m_services.prompts, m_settingsKey,
                                FrameStripControls{lblFilename, lblSize, txtCaption, chkExchange}, client);
    scrFrames->setProperty(HelpTagProperty, 18);
    connect(btnAdd, &QToolButton::clicked, scrFrames, &TFrameStrip::btnAddClick);
    connect(btnDelete, &QToolButton::clicked, scrFrames, &TFrameStrip::btnDeleteClick);
    connect(btnDeleteAll, &QToolButton::clicked, scrFrames, &TFrameStrip::btnDeleteAllClick);
    connect(btnFit, &QToolButton::clicked, scrFrames, &TFrameStrip::btnFitClick);
}

QLabel *TfrmReelcraft::addLabel(QWidget *page, const QString &text, int left, int top, int helpTag)
{
    auto *label = new QLabel(text, page);
    label->move(left, top + 2);
    label->adjustSize();
    if (helpTag != 0)
        label->setProperty(HelpTagProperty, helpTag);
    return label;
}

QLabel *TfrmReelcraft::addExplanation(QWidget *page, const QString &text, const QRect &geometry)
{
    auto *explanation = new QLabel(text, page);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explanation->setGeometry(geometry);
    return explanation;
}

TTarnEdit *TfrmReelcraft::addTextField(QWidget *page, TextSetting setting, int left, int top, int width)
{
    auto *edit = new TTarnEdit(page, &m_services.prompts, &m_services.registry);
    edit->setGeometry(left, top, width, FieldHeight);
    const bool isFile = setting == TextSetting::Soundtrack || setting == TextSetting::BackImage;
    if (!isFile) {
        // Every other field is a number typed as digits; none stores itself in the registry.
        edit->Filter.NumericOnly = true;
        edit->Filter.Max = AnimationSettings::maximum(setting);
    }
    if (const int context = AnimationSettings::helpContext(setting))
        edit->setProperty(HelpContextProperty, context);
    m_textFields.insert(setting, edit);
    // textEdited comes only from the user, so showing the document never echoes back.
    connect(edit, &QLineEdit::textEdited, this,
            [this, setting](const QString &text) { m_document.setText(setting, text); });
    return edit;
}

QComboBox *TfrmReelcraft::addListField(QWidget *page, ListSetting setting, int left, int top, int width)
{
    auto *combo = new QComboBox(page);
    combo->setGeometry(left, top, width, ComboHeight);
    combo->addItems(AnimationSettings::items(setting));
    if (const int context = AnimationSettings::helpContext(setting))
        combo->setProperty(HelpContextProperty, context);
    m_listFields.insert(setting, combo);
    connect(combo, &QComboBox::activated, this,
            [this, setting](int index) { m_document.setSelectedIndex(setting, index); });
    return combo;
}

void TfrmReelcraft::buildOptionsPage()
{
    // One column of labels at the left and one of fields at FieldLeft, seven rows.
    QWidget *page = tbGeneral;
    constexpr int FieldLeft = 146;
    const auto row = [](int index) { return 3 + index * RowPitch; };

    addLabel(page, QStringLiteral("Applet Width"), 6, row(0));
    txtJavaWidth = addTextField(page, TextSetting::JavaWidth, FieldLeft, row(0), 48);
    addLabel(page, QStringLiteral("Applet Height"), 206, row(0));
    txtJavaHeight = addTextField(page, TextSetting::JavaHeight, 290, row(0), 48);
    btnFit = makeSpeedButton(page, 354, 2, 42, 41, QStringLiteral("stretch"), QString());
    btnFit->setAutoRaise(false);

    addLabel(page, QStringLiteral("Time Between Frames"), 6, row(1), 19);
    txtBetweenFrames = addTextField(page, TextSetting::BetweenFrames, FieldLeft, row(1), 60);
    addLabel(page, QStringLiteral("millisec"), FieldLeft + 64, row(1));
    addLabel(page, QStringLiteral("Delay Before Restarting"), 6, row(2), 9);
    txtDelay = addTextField(page, TextSetting::Delay, FieldLeft, row(2), 60);
    addLabel(page, QStringLiteral("millisec"), FieldLeft + 64, row(2));
    addLabel(page, QStringLiteral("# of Times to Repeat"), 6, row(3));
    txtRepeat = addTextField(page, TextSetting::Repeat, FieldLeft, row(3), 60);
    txtRepeat->setToolTip(QStringLiteral("Leave blank for infinite loop"));

    addLabel(page, QStringLiteral("Background Color"), 262, row(2));
    scpBGColour = new TTarnColourPicker(m_document.BackgroundColour(), page);
    scpBGColour->setGeometry(262, row(3) - 3, 108, 27);
    scpBGColour->setProperty(HelpContextProperty, AnimationSettings::backgroundColourHelpContext());
    if (!m_services.screen) {
        m_ownScreen = std::make_unique<QtScreenSource>();
        m_services.screen = m_ownScreen.get();
    }
    scpBGColour->SetPickerServices({m_services.prompts, m_services.registry, *m_services.screen});

    chkExchange = new QCheckBox(QStringLiteral("Exchange frames when dragging"), page);
    chkExchange->setGeometry(6, row(4), 220, FieldHeight);
    chkExchange->setToolTip(QStringLiteral("Swap the frames when you drag one frame onto another."));

    // Kept in the document only (project files and pages carry it); the What's-This text
    // says what it does and that the Java applet ignores it.
    chkScale = new QCheckBox(QStringLiteral("Scale pictures to fit"), page);
    chkScale->setGeometry(262, row(4), 136, FieldHeight);
    chkScale->setProperty(HelpTagProperty, 27);
    chkScale->setToolTip(QStringLiteral("Fit every picture into the applet area in browsers."));
    connect(chkScale, &QCheckBox::clicked, &m_document, &AnimationDocument::setScaleToFit);

    addLabel(page, QStringLiteral("Soundtrack"), 6, row(5));
    txtSoundtrack = addTextField(page, TextSetting::Soundtrack, FieldLeft, row(5), 226);
    txtSoundtrack->FileFilter = QStringLiteral("AU Files|*.au");
    txtSoundtrack->SetFileBrowser(true);
    addLabel(page, QStringLiteral("Background Image"), 6, row(6));
    txtBackImage = addTextField(page, TextSetting::BackImage, FieldLeft, row(6), 226);
    txtBackImage->FileFilter = QStringLiteral("*.GIF,*.JPG|*.gif;*.jpg");
    txtBackImage->SetFileBrowser(true);
}

void TfrmReelcraft::buildBehaviourPage()
{
    QWidget *page = tbBehaviour;
    addLabel(page, QStringLiteral("Behaviour At Edge"), 6, 6, 13);
    cmbEdge = addListField(page, ListSetting::Edge, 118, 6, 164);
    addLabel(page, QStringLiteral("Horizontal Direction"), 6, 34, 14);
    cmbHorizDirection = addListField(page, ListSetting::HorizDirection, 118, 34, 164);
    addLabel(page, QStringLiteral("Horiz. Speed"), 287, 34, 15);
    txtHorizSpeed = addTextField(page, TextSetting::HorizSpeed, 368, 35, 30);
    addLabel(page, QStringLiteral("Vertical Direction"), 6, 62, 14);
    cmbVertDirection = addListField(page, ListSetting::VertDirection, 118, 62, 164);
    addLabel(page, QStringLiteral("Vertical Speed"), 287, 62, 15);
    txtVerticalSpeed = addTextField(page, TextSetting::VerticalSpeed, 368, 63, 30);

    addExplanation(page,
                   QStringLiteral("The behaviour of the animated frames can be changed to allow movement in "
                                  "different directions.  You can also choose for the animation to either "
                                  "bounce off the inside of its display area or to wrap around."),
                   QRect(6, 94, 390, 52));
}

void TfrmReelcraft::buildCaptionsPage()
{
    QWidget *page = tbCaptions;
    grpCaption = new QGroupBox(QStringLiteral("Caption For Selected Frame"), page);
    grpCaption->setGeometry(4, 2, 393, 58);
    txtCaption = new TCaptionEdit(grpCaption);
    txtCaption->setGeometry(8, 18, 377, 32);
    txtCaption->setTabChangesFocus(true);

    auto *fontGroup = new QGroupBox(QStringLiteral("Font For All Captions"), page);
    fontGroup->setGeometry(4, 62, 393, 48);
    addLabel(fontGroup, QStringLiteral("Name"), 8, 19);
    cmbFontName = addListField(fontGroup, ListSetting::FontName, 40, 19, 110);
    addLabel(fontGroup, QStringLiteral("Size"), 160, 19);
    txtFontSize = addTextField(fontGroup, TextSetting::FontSize, 186, 19, 34);
    spnFontSizeUp = new QToolButton(fontGroup);
    spnFontSizeUp->setArrowType(Qt::UpArrow);
    spnFontSizeUp->setGeometry(221, 19, 16, 11);
    spnFontSizeDown = new QToolButton(fontGroup);
    spnFontSizeDown->setArrowType(Qt::DownArrow);
    spnFontSizeDown->setGeometry(221, 30, 16, 11);
    connect(spnFontSizeUp, &QToolButton::clicked, this, &TfrmReelcraft::spnFontSizeUpClick);
    connect(spnFontSizeDown, &QToolButton::clicked, this, &TfrmReelcraft::spnFontSizeDownClick);
    addLabel(fontGroup, QStringLiteral("Style"), 248, 19);
    cmbFontStyle = addListField(fontGroup, ListSetting::FontStyle, 280, 19, 105);

    addExplanation(page,
                   QStringLiteral("The Reelcraft will display the caption below, or to the right of the "
                                  "image.  This choice depends on which gives more room for the text to be "
                                  "shown."),
                   QRect(6, 114, 390, 36));
}

void TfrmReelcraft::buildMenus()
{
    QMenuBar *bar = menuBar();
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFileOpen = mnuFile->addAction(QStringLiteral("&Open"));
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSave = mnuFile->addAction(QStringLiteral("&Save"));
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = mnuFile->addAction(QStringLiteral("Save &As"));
    N4 = mnuFile->addSeparator();
    N4->setVisible(false);
    N5 = mnuFile->addSeparator();
    N5->setVisible(false);
    Exit1 = mnuFile->addAction(QStringLiteral("E&xit"));
    // Both Exit items show Ctrl+Q; one binding serves both, since Qt fires neither of two
    // actions that share a shortcut.
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(Exit1, &QAction::triggered, this, &TfrmReelcraft::Exit1Click);
    connect(mnuFileOpen, &QAction::triggered, this, &TfrmReelcraft::mnuFileOpenClick);
    connect(mnuFileSave, &QAction::triggered, this, &TfrmReelcraft::mnuFileSaveClick);
    connect(mnuFileSaveAs, &QAction::triggered, this, &TfrmReelcraft::mnuFileSaveAsClick);

    mnuCommand = bar->addMenu(QStringLiteral("&Command"));
    mnuCommandAdd = mnuCommand->addAction(QStringLiteral("&Add"));
    mnuCommandAdd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    Delete1 = mnuCommand->addAction(QStringLiteral("&Delete"));
    Delete1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    DeleteAll1 = mnuCommand->addAction(QStringLiteral("D&elete All"));
    connect(mnuCommandAdd, &QAction::triggered, scrFrames, &TFrameStrip::btnAddClick);
    connect(Delete1, &QAction::triggered, scrFrames, &TFrameStrip::btnDeleteClick);
    connect(DeleteAll1, &QAction::triggered, scrFrames, &TFrameStrip::btnDeleteAllClick);
    mnuCommand->addSeparator();
    Preview1 = mnuCommand->addAction(QStringLiteral("&Preview"));
    Preview1->setShortcut(QKeySequence(Qt::Key_F9));
    Compile1 = mnuCommand->addAction(QStringLiteral("&Compile"));
    Compile1->setShortcut(QKeySequence(Qt::Key_F5));
    connect(Compile1, &QAction::triggered, this, &TfrmReelcraft::btnCompileClick);
    mnuCommand->addSeparator();
    mnuCommandExit = mnuCommand->addAction(QStringLiteral("E&xit") + QLatin1Char('\t')
                                           + QKeySequence(Qt::CTRL | Qt::Key_Q).toString(QKeySequence::NativeText));
    connect(mnuCommandExit, &QAction::triggered, this, &TfrmReelcraft::btnExitClick);

    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelpContents = mnuHelp->addAction(QStringLiteral("&Contents"));
    mnuHelp->addSeparator();
    mnuHelpAbout = mnuHelp->addAction(QStringLiteral("&About"));

    connect(mnuHelpContents, &QAction::triggered, this, &TfrmReelcraft::mnuHelpContentsClick);
    connect(mnuHelpAbout, &QAction::triggered, this, &TfrmReelcraft::mnuHelpAboutClick);
    connect(Preview1, &QAction::triggered, this, &TfrmReelcraft::btnPreviewClick);
}

void TfrmReelcraft::showTextSetting(TextSetting setting)
{
    QLineEdit *edit = field(setting);
    const QString text = m_document.text(setting);
    if (edit && edit->text() != text)
        edit->setText(text);
}

void TfrmReelcraft::showListSetting(ListSetting setting)
{
    QComboBox *combo = field(setting);
    const int index = m_document.selectedIndex(setting);
    if (combo && combo->currentIndex() != index)
        combo->setCurrentIndex(index);
}

void TfrmReelcraft::showAllSettings()
{
    for (TextSetting setting : AnimationSettings::allTextSettings())
        showTextSetting(setting);
    for (ListSetting setting : AnimationSettings::allListSettings())
        showListSetting(setting);
    chkScale->setChecked(m_document.ScaleToFit());
}

void TfrmReelcraft::mnuFileOpenClick()
{
    m_projectFiles->mnuFileOpenClick();
}

void TfrmReelcraft::mnuFileSaveClick()
{
    m_projectFiles->mnuFileSaveClick();
}

void TfrmReelcraft::mnuFileSaveAsClick()
{
    m_projectFiles->mnuFileSaveAsClick();
}

void TfrmReelcraft::btnCompileClick()
{
    ::btnCompileClick(m_document, m_host, m_services.prompts, m_services.registry, this);
}

void TfrmReelcraft::mnuHelpContentsClick()
{
    m_services.help.showTopic(1);
}

void TfrmReelcraft::mnuHelpAboutClick()
{
    // Lives as long as the program: a mail worker may still be saying goodbye to a server.
    static NetMailTransport network;
    MailServices mail{m_services.prompts, m_services.registry, m_services.mail ? *m_services.mail : network};
    TfrmSplash::ShowAbout(this, {}, &mail);
}

void TfrmReelcraft::btnPreviewClick()
{
    QMenu *menu = sb->BuildBrowserMenu(m_host.HostLinked(), [this](const QString &browser) {
        // The hourglass stays from writing the page until the browser has been started.
        const BusyCursor busy;
        QStringList notCopied;
        // The first preview of a show of photos makes their light copies: a progress box.
        ProgressBox progressBox(this, QStringLiteral("Copying pictures"));
        QString page;
        try {
            page = WritePreviewPage(m_document, &notCopied, progressBox.reporter());
        } catch (const ECancelled &) {
            return; // Cancel ends the preview with nothing written
        }
        if (!notCopied.isEmpty())
            m_services.prompts.message(notCopied.join(QStringLiteral("\r\n")));
        sb->SetService(browser);
        sb->OpenURL(page);
    });
    if (menu) {
        // Below the button: its place in the client area from the window's outer corner,
        // which for this frameless window is its own corner. Qt's frame rectangle is not
        // asked: under a window manager it is now and then one it guessed while the window
        // was being placed.
        const QPoint at = mapToGlobal(QPoint(btnPreview->x(), btnPreview->y() + btnPreview->height() + 10));
        menu->popup(at);
    }
    btnPreview->setDown(false);
}

void TfrmReelcraft::btnExitClick()
{
    close();
}

void TfrmReelcraft::Exit1Click()
{
    close();
}

void TfrmReelcraft::spnFontSizeDownClick()
{
    bool ok = false;
    const int value = m_document.text(TextSetting::FontSize).toInt(&ok);
    const int next = std::max(0, (ok ? value : 0) - 1);
    m_document.setText(TextSetting::FontSize, QString::number(next));
}

void TfrmReelcraft::spnFontSizeUpClick()
{
    bool ok = false;
    const int value = m_document.text(TextSetting::FontSize).toInt(&ok);
    const int maximum = AnimationSettings::maximum(TextSetting::FontSize);
    const int next = std::min(maximum, (ok ? value : 0) + 1);
    m_document.setText(TextSetting::FontSize, QString::number(next));
}

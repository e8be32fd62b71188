#pragma once

#include "app/AppServices.h"
#include "controls/RecentFilesMenu.h"
#include "controls/TGradientForm.h"
#include "document/AnimationDocument.h"
#include "integration/HostSession.h"
#include "platform/RegistryKey.h"

#include <QMap>

#include <memory>

class ScreenSource;

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;
class QWidget;
class TTarnColourPicker;
class TTarnEdit;
class ProjectFiles;
class TCaptionEdit;
class TFrameStrip;
class TWhatsThis;
class TTarnBrowser;

// The main window: toolbar, frame strip, the settings pages and the menu bar. Its fields
// show the animation document and every user edit goes straight back into it; document
// changes (reset, reading a page) update the fields without echoing back.
class TfrmReelcraft : public TGradientForm
{
    Q_OBJECT
public:
    explicit TfrmReelcraft(AppServices services, QWidget *parent = nullptr);
    ~TfrmReelcraft() override;

    AnimationDocument &document() { return m_document; }
    RecentFilesMenu &recentFiles() { return m_recentFiles; }
    ProjectFiles &projectFiles() { return *m_projectFiles; }
    // True once start-up has passed the host probe; the shutdown clean-up runs only then.
    bool initialised() const { return m_initialised; }
    HostSession &host() { return m_host; }
    RegistryKey &settingsKey() { return m_settingsKey; }
    TTarnBrowser &browsers() { return *sb; }

    // The field that shows a setting.
    TTarnEdit *field(TextSetting setting) const { return m_textFields.value(setting); }
    QComboBox *field(ListSetting setting) const { return m_listFields.value(setting); }

    // Toolbar speed buttons.
    QToolButton *btnAdd = nullptr;
    QToolButton *btnDelete = nullptr;
    QToolButton *btnDeleteAll = nullptr;
    QToolButton *btnPreview = nullptr;
    QToolButton *btnCompile = nullptr;
    QToolButton *btnExit = nullptr;
    QToolButton *btnFit = nullptr;

    // The strip and its details.
    TFrameStrip *scrFrames = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *lblFilename = nullptr;
    QLabel *lblSize = nullptr;
    QCheckBox *chkExchange = nullptr;
    QCheckBox *chkScale = nullptr;     // "Scale pictures to fit"

    // Pages.
    QTabWidget *pgReelcraft = nullptr;
    QWidget *tbGeneral = nullptr;
    QWidget *tbBehaviour = nullptr;
    QWidget *tbCaptions = nullptr;

    // Settings fields.
    TTarnEdit *txtJavaWidth = nullptr;
    TTarnEdit *txtJavaHeight = nullptr;
    TTarnEdit *txtBetweenFrames = nullptr;
    TTarnEdit *txtDelay = nullptr;
    TTarnEdit *txtRepeat = nullptr;
    TTarnEdit *txtSoundtrack = nullptr;
    TTarnEdit *txtBackImage = nullptr;
    TTarnColourPicker *scpBGColour = nullptr;
    QComboBox *cmbEdge = nullptr;
    QComboBox *cmbHorizDirection = nullptr;
    TTarnEdit *txtHorizSpeed = nullptr;
    QComboBox *cmbVertDirection = nullptr;
    TTarnEdit *txtVerticalSpeed = nullptr;
    QComboBox *cmbFontName = nullptr;
    TTarnEdit *txtFontSize = nullptr;
    QToolButton *spnFontSizeUp = nullptr;
    QToolButton *spnFontSizeDown = nullptr;
    QComboBox *cmbFontStyle = nullptr;
    QGroupBox *grpCaption = nullptr;
    TCaptionEdit *txtCaption = nullptr;

    // Menus.
    QMenu *mnuFile = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *N4 = nullptr;
    QAction *N5 = nullptr;
    QAction *Exit1 = nullptr;
    QMenu *mnuCommand = nullptr;
    QAction *mnuCommandAdd = nullptr;
    QAction *Delete1 = nullptr;
    QAction *DeleteAll1 = nullptr;
    QAction *Preview1 = nullptr;
    QAction *Compile1 = nullptr;
    QAction *mnuCommandExit = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpContents = nullptr;
    QAction *mnuHelpAbout = nullptr;

public slots:
    void mnuFileOpenClick();
    void mnuFileSaveClick();
    void mnuFileSaveAsClick();
    void btnCompileClick();
    void btnPreviewClick();
    void mnuHelpContentsClick();
    void mnuHelpAboutClick();
    void btnExitClick();
    void Exit1Click();
    void spnFontSizeDownClick();
    void spnFontSizeUpClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    // FormCreate step 4: the host's automation object, or no host when it cannot be made.
    void createHostObject();
    void FormShow();
    void FormDestroy();
    void buildToolbar(QWidget *client);
    void buildStripDetails(QWidget *client);
    void buildStrip(QWidget *client);
    void buildOptionsPage();
    void buildBehaviourPage();
    void buildCaptionsPage();
    void buildMenus();

    TTarnEdit *addTextField(QWidget *page, TextSetting setting, int left, int top, int width);
    QComboBox *addListField(QWidget *page, ListSetting setting, int left, int top, int width);
    QLabel *addLabel(QWidget *page, const QString &text, int left, int top, int helpTag = 0);
    // A word-wrapped explanation text on a page.
    QLabel *addExplanation(QWidget *page, const QString &text, const QRect &geometry);

    // Document to fields, without echo.
    void showTextSetting(TextSetting setting);
    void showListSetting(ListSetting setting);
    void showAllSettings();

    AppServices m_services;
    std::unique_ptr<ScreenSource> m_ownScreen;
    AnimationDocument m_document;
    HostSession m_host;
    RegistryKey m_settingsKey;
    RecentFilesMenu m_recentFiles;
    std::unique_ptr<ProjectFiles> m_projectFiles;
    TWhatsThis *ct = nullptr;
    TTarnBrowser *sb = nullptr;
    bool m_initialised = false;
    bool m_shown = false;
    QMap<TextSetting, TTarnEdit *> m_textFields;
    QMap<ListSetting, QComboBox *> m_listFields;
};

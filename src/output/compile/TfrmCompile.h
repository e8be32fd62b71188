#pragma once

#include "output/AnimationFileCopy.h"
#include "output/AppletTagWriter.h"

#include <QDialog>
#include <QLatin1String>

class AnimationDocument;
class HostSession;
class Prompts;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;
class Registry;

// Value under the settings key that remembers the copy folder between uses of the dialog.
inline constexpr QLatin1String CopyFilesToValue{"Copy Files To"};
// Value that remembers whether pages also get the web player ("true"/"false").
inline constexpr QLatin1String WebPlayerValue{"Web Player"};
// Value that remembers whether copying all files also writes a page ("true"/"false").
inline constexpr QLatin1String WritePageValue{"Write Page"};

// The compile dialog: shows the applet element with the picture references in the chosen
// path style, sends it to the host editor or the clipboard, and copies the class files (and
// optionally the pictures and sound) into a folder. With "Also play in browsers without
// Java" ticked, the element is followed by the web player's script line and the copy takes
// the script too. With "Copy all files" and "Also write a page" ticked, the copy also writes
// index.html beside the files: the page "make" writes, so the folder holds something to open.
// It is made for one Compile command and freed when it closes; its lasting state is the
// "Copy Files To", "Web Player" and "Write Page" values, written when it is destroyed.
class TfrmCompile : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 364;
    static constexpr int ClientHeight = 334;

    // registry holds the settings key; the document must outlive the dialog.
    TfrmCompile(AnimationDocument &document, HostSession &host, Prompts &prompts, Registry &registry,
                QWidget *parent = nullptr);
    ~TfrmCompile() override;

    // The text exactly as the send button hands it out (CR LF between lines): the element,
    // followed by the script line when the web player box is ticked.
    QString html() const;

    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *rbSameDir = nullptr;
    QRadioButton *rbOtherDir = nullptr;
    QRadioButton *rbRelative = nullptr;
    QLineEdit *txtDir = nullptr;
    QPlainTextEdit *txtHTML = nullptr;
    QCheckBox *chkWebPlayer = nullptr;
    QToolButton *btnOut = nullptr;
    QCheckBox *chkCopyAllFiles = nullptr;
    QCheckBox *chkWritePage = nullptr;   // "Also write a page"; only with chkCopyAllFiles
    QLabel *lblCopyHeading = nullptr;
    QLineEdit *txtCopyDir = nullptr;
    QToolButton *btnBrowseDir = nullptr;
    QToolButton *btnCopyFiles = nullptr;

public slots:
    void rbSameDirClick();
    void rbOtherDirClick();
    void txtDirChange();
    void rbRelativeClick();
    void txtHTMLChange();
    void btnOutClick();
    void btnBrowseDirClick();
    void chkCopyAllFilesClick();
    void chkWebPlayerClick();
    void btnCopyFilesClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    // The largest font size up to the main window's at which every fixed text fits.
    void fitFont();
    bool textsFit() const;
    void FormCreate();
    void FormDestroy();
    // Builds the image list in form, the element around it, and shows it.
    void regenerate(ImageListForm form, const QString &folderOrDocumentName = QString());
    // Shows the element, with the script line when the web player box is ticked.
    void showHtml();
    // Whether the copy writes the page: both boxes ticked.
    bool writesPage() const;
    // The page for pagePath, around the element of the files beside it.
    QString pageText(const QString &pagePath) const;
    // Copies every file and writes the page in one staged write; the count of files copied.
    // Throws EError when something cannot be written.
    int copyWithPage(const QString &folder, QStringList *notCopied, const CopyProgress &progress) const;

    AnimationDocument &m_document;
    HostSession &m_host;
    Prompts &m_prompts;
    Registry &m_registry;
    QString m_element;
    bool m_centred = false;
};

#pragma once

#include "colour/ColourText.h"
#include "platform/RegistryKey.h"

#include <QDialog>

#include <functional>

class Prompts;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QToolButton;
class Registry;
class ScreenSource;
class TPaletteGrid;
class TCustomSchemes;
class TSpectrumPanel;
class TfrmZoom;
class TTarnEdit;

// What the colour picker works through.
struct ColourPickerServices
{
    Prompts &prompts;
    Registry &registry;
    ScreenSource &screen;
};

// The colour picker dialog: a palette grid, the spectrum and grey strip, red, green and
// blue in decimal and hexadecimal, screen sampling and the nearest-colour search. The
// caller gives a starting colour with SetCurrentColour, runs it modally and reads
// ChosenColour after OK. Its settings live under "\Software\Tarnwick\Color Picker".
class TfrmColorPicker : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmColorPicker(ColourPickerServices services, QWidget *parent = nullptr);
    ~TfrmColorPicker() override;

    // The one entry point for every pick.
    void SetCurrentColour(ColourValue colour);
    ColourValue CurrentColour() const { return m_current; }
    ColourValue ChosenColour() const { return m_chosen; }
    bool Sampling() const { return m_sampling; }
    // The fade of the palette grid: one setting for the whole program.
    static bool FadeEnabled() { return s_fadeEnabled; }

    QString PaletteFolder() const { return m_paletteFolder; }
    QString CurrentPaletteFile() const { return m_currentFile; }

    // Handlers, named after their controls.
    void cmbPalClick();
    void btnLoadFileClick();
    void cmbSortClick();
    void btnFindClick();
    void btnMoreColorClick();
    void btnOKClick();
    void mnuFadeClick();
    void btnZoomClick();

    // The magnifier, there while the dialog is shown; and how it is run (modally, unless a
    // test puts something else here).
    TfrmZoom *Zoom() const { return m_zoom; }
    std::function<int(TfrmZoom &)> runZoom;

    QFrame *Panel1 = nullptr;
    QComboBox *cmbPal = nullptr;
    QToolButton *btnLoadFile = nullptr;
    QToolButton *btnMoreColor = nullptr;
    QComboBox *cmbSort = nullptr;
    TPaletteGrid *grid1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    TCustomSchemes *Schemes = nullptr;
    QGroupBox *fraColour = nullptr;
    QFrame *shColor = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    TTarnEdit *txtRed = nullptr;
    TTarnEdit *txtGreen = nullptr;
    TTarnEdit *txtBlue = nullptr;
    TTarnEdit *txtHexRed = nullptr;
    TTarnEdit *txtHexGreen = nullptr;
    TTarnEdit *txtHexBlue = nullptr;
    QToolButton *btnSample = nullptr;
    QToolButton *btnZoom = nullptr;
    QToolButton *btnFind = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    TSpectrumPanel *pnlSpectrum = nullptr;
    QMenu *mnuCool = nullptr;
    QAction *mnuFade = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildWindow();
    void buildColourFrame();
    void buildLeftControls();
    void preparePalettes();
    void fillPaletteList(const QString &folder);
    void loadPalette();
    void decimalChanged(TTarnEdit *decimal, TTarnEdit *hex);
    void hexChanged(TTarnEdit *hex, TTarnEdit *decimal);
    bool pasteKey(TTarnEdit *edit);
    void setFieldText(TTarnEdit *edit, const QString &text);
    void pressToggle(QToolButton *button);
    void startSampling();
    void stopSampling();
    void sampleAt(const QPoint &global);
    void pickThroughDesktop();
    ColourValue decimalFieldsColour() const;

    ColourPickerServices m_services;
    TfrmZoom *m_zoom = nullptr;
    RegistryKey m_registry;
    ColourValue m_current = 0;
    ColourValue m_chosen = 0;
    bool m_sampling = false;
    bool m_markersPlaced = false;
    bool m_cursorOverridden = false;
    QString m_programFolder;
    QString m_paletteFolder;
    QString m_currentFile;
    static bool s_fadeEnabled;
};

#pragma once

#include "colour/ColourText.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

#include <memory>

class Prompts;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QAction;
class QSlider;
class QTimer;
class RegistryKey;
class ScreenSource;
class TDottedFrame;
class TFrozenScreen;

// The magnifier: a small always-on-top window. The user presses the mouse on it, drags to
// the area of interest (the window shows it enlarged and marks it on the screen with a
// dotted frame), releases, then points at the enlarged picture; the colour under the
// pointer goes to the colour picker live, and a click takes it and closes the window.
// Where the screen is reached through the desktop portal, the magnifier works on one
// screenshot shown full-screen behind it (UseScreenshot), without the dotted frame.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    TfrmZoom(ScreenSource &screen, Prompts &prompts, QWidget *owner);
    ~TfrmZoom() override;

    // The picker's settings key, handed over before each opening; the position is saved
    // in it under "Color Picker Zoom" whenever the window hides.
    void SetRegistry(RegistryKey *registry) { m_registry = registry; }
    // A screenshot to magnify instead of the live screen; a null picture returns to the screen.
    void UseScreenshot(const QImage &picture);

    // Magnifies around a point of the client surface; -1 takes that coordinate of LastPoint.
    void Magnify(int x, int y, bool withFrame);

    bool Shown() const { return m_shown; }
    bool Dragging() const { return m_dragging; }
    bool HasMagnified() const { return m_hasMagnified; }
    bool FrameVisible() const { return m_frameVisible; }
    QPoint LastPoint() const { return m_lastPoint; }
    QRect SourceRect() const { return m_sourceRect; }
    ColourValue PickedColour() const { return m_picked; }
    QSize ViewSize() const;
    // The magnified picture as it is drawn at (2, 2).
    QImage View() const { return m_view; }
    // Which cursor the client surface shows now.
    enum class PointerKind { Cross, Magnifier, Sampling };
    PointerKind Pointer() const { return m_pointer; }

    void mnuHowToUseClick();
    static QString HowToUseText();

    QMenuBar *MainMenu1 = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHowToUse = nullptr;
    QWidget *pnlClient = nullptr; // the window's client surface below the menu
    QSlider *trZoom = nullptr;
    QLabel *lblHowTo = nullptr;
    QFrame *bvlTop = nullptr;
    QFrame *bvlLeft = nullptr;
    QFrame *bvlBottom = nullptr;
    QFrame *bvlRight = nullptr;
    QImage imgMouseUp;
    QImage imgMouseDown;
    QTimer *tmrRefresh = nullptr;
    QTimer *tmrDelayed = nullptr;

signals:
    // The colour under the pointer, for the picker's SetCurrentColour.
    void colourPointed(ColourValue colour);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildWindow();
    void layOut();
    void paintClient();
    void mousePressed();
    void mouseMoved(const QPoint &at, Qt::MouseButtons buttons);
    void mouseReleased(const QPoint &at, Qt::MouseButton button);
    void tmrDelayedTimer();
    void zoomChanged();
    void showFrame(bool show);
    void setPointer(PointerKind kind);
    void restoreDefaultCursor();
    QRect screenRect() const;
    QImage grabSource(const QRect &copy);

    ScreenSource &m_screen;
    Prompts &m_prompts;
    RegistryKey *m_registry = nullptr;
    std::unique_ptr<TDottedFrame> m_frame;
    std::unique_ptr<TFrozenScreen> m_frozen;
    QImage m_screenshot;
    QImage m_view;
    bool m_shown = false;
    bool m_dragging = false;
    bool m_hasMagnified = false;
    bool m_frameVisible = false;
    bool m_appMagnifier = false; // the magnifier is the application's cursor
    bool m_pictureDown = false;  // the instruction picture drawn last
    bool m_pictureDrawn = false;
    PointerKind m_pointer = PointerKind::Cross;
    QPoint m_lastPoint;
    QRect m_sourceRect;
    ColourValue m_picked = 0;
};

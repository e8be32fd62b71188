#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QMovie;
struct EmailTexts;
struct MailServices;

// The borderless picture window of the program: the start-up splash, shown for about two
// seconds while the main window is made, and the About box, which also plays a small
// e-mail animation that leads to the tell-a-friend dialog.
//
// A click on the picture closes the window when it is shown modally; Escape closes it
// when it is shown modally with the animation visible (the About box). Keys reach the
// window before its controls.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 472;
    static constexpr int ClientHeight = 286;
    static constexpr int StartupMilliseconds = 2001;

    // Handed to the tell-a-friend dialog by whoever opens it.
    static QString ProductName() { return QStringLiteral("Java Reelcraft"); }
    static QString DownloadAddress();
    static QString ShortDescription() { return QStringLiteral("a Java-based slideshow creation tool."); }
    static QString LongDescription()
    {
        return QStringLiteral("You can put a slideshow of images on your web page with this tool, "
                              "plus you can add captions to each one.");
    }
    // The four texts above, as the tell-a-friend dialog takes them.
    static EmailTexts ProductEmailTexts();
    static QString VersionText() { return QStringLiteral("Version 1.7"); }
    static QString CopyrightText() { return QStringLiteral("Copyright \u00A9 Tarnwick Software"); }

    explicit TfrmSplash(QWidget *parent = nullptr);
    ~TfrmSplash() override;

    QLabel *Image1 = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCopyright = nullptr;
    QLabel *aniEmailAFriend = nullptr;

    // The About use before it is shown: the animation loaded from "emailavi", started and
    // visible, and the version text set.
    void PrepareAbout();
    // The start-up use before it is shown: the animation hidden and the version text set.
    void PrepareStartup();
    bool ShownModally() const { return isModal(); }
    QMovie *Animation() const { return m_movie; }

    // Waits the given time while the window keeps painting; user input waits until after.
    using Wait = std::function<void(TfrmSplash &splash, int milliseconds)>;
    static void WaitPainting(TfrmSplash &splash, int milliseconds);

    // The start-up splash: made, shown without waiting for input, painted at once, kept for
    // 2001 ms by wait (WaitPainting when empty), then freed.
    static void ShowStartupSplash(const Wait &wait = {});
    // The About box, shown modally over parent until closed; then freed. With mail, a click
    // on the animation opens the tell-a-friend dialog over the box, which stays open.
    static void ShowAbout(QWidget *parent, const std::function<void(TfrmSplash &)> &beforeShow = {},
                          const MailServices *mail = nullptr);

signals:
    // A left or right click on the animation: the tell-a-friend dialog should open over
    // this window, which stays open.
    void emailAFriendClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);

    QMovie *m_movie = nullptr;
};

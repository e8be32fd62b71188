#pragma once

#include "document/AnimationFrame.h"

#include <QAbstractScrollArea>
#include <QLatin1String>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <memory>

class AnimationDocument;
class FrameAddBatch;
class ImageDecoder;
class Prompts;
class QCheckBox;
class QLabel;
class QMimeData;
class QPlainTextEdit;
class QProgressDialog;
class RegistryKey;
class TFrame;
struct DecodedPicture;

// The main window's controls that show and edit the details of the clicked frame. Any of them
// may be null; the strip then leaves that part out.
struct FrameStripControls
{
    QLabel *lblFilename = nullptr;    // 231 wide: the clicked frame's path, shortened to fit
    QLabel *lblSize = nullptr;        // 116 wide: "Image Size : W by H"
    QPlainTextEdit *txtCaption = nullptr; // the caption box (a TCaptionEdit)
    QCheckBox *chkExchange = nullptr; // "Exchange frames when dragging"
};

// The frame strip "scrFrames": one 65 x 65 thumbnail per frame of the document, in play order,
// in a scroll box with a horizontal scroll bar. The user adds pictures (also by dropping them
// from the file manager), selects frames with plain and Ctrl clicks, reads the clicked frame's
// path and size, types its caption, reorders frames by dragging one thumbnail onto another,
// deletes frames and fits the applet size to the largest picture.
//
// The strip follows the document's signals, so frames added, removed, moved or cleared by
// anyone (the applet tag reader, ResetDocument) show at once; a frame that comes without a
// picture has its picture decoded here.
//
// The main window creates the strip as a child at its place (left 5, top 39, 407 wide) and
// connects its buttons and menu items to the handlers below.
class TFrameStrip : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int StripLeft = 5;
    static constexpr int StripTop = 39;
    static constexpr int StripWidth = 407;
    static constexpr int LowHeight = 72;    // 6 frames or fewer
    static constexpr int HighHeight = 86;   // 7 frames or more: room for the scroll bar
    static constexpr int FramesWithoutScrollBar = 6;
    static constexpr int ThumbnailTop = 1;
    static constexpr int ThumbnailStep = 66; // 65 plus a 1-pixel gap
    static constexpr int AutoScrollZone = 20;
    static constexpr int AutoScrollStep = 10;

    static constexpr QLatin1String AddFramesFilter{"Gif and JPEG (*.gif *.jpg);;Gif (*.gif);;JPEG (*.jpg)"};
    static constexpr QLatin1String AddFramesTitle{"Open"};
    static constexpr QLatin1String NoCurrentFrameText{"Please click on a frame before setting the caption."};
    static constexpr QLatin1String DeleteAllQuestion{"Are you sure you want to clear the animation ?"};
    static constexpr QLatin1String ImageSizeText{"Image Size : "};
    static constexpr QLatin1String BlankSizeText{"Size :"};
    // The drag of a thumbnail within the strip.
    static constexpr QLatin1String FrameMimeType{"application/x-reelcraft-frame"};

    // settingsKey is the open settings key; it keeps "Open Directory". document, prompts,
    // settingsKey and the controls must outlive the strip.
    TFrameStrip(AnimationDocument &document, Prompts &prompts, RegistryKey &settingsKey,
                const FrameStripControls &controls, QWidget *parent = nullptr);
    ~TFrameStrip() override;

    // ---- frames ----
    // Decodes the picture (a failure shows the decoder's error box, and the frame is still
    // added with the placeholder picture) and appends a frame that is not selected. Returns
    // its index.
    int AddFrame(const QString &picturePath, const QString &captionText);
    // Adds picture files as frames in the given order, as the add command does: up to
    // FrameAddBatch::ProgressThreshold files at once under the busy cursor, more of them while
    // the window goes on painting, with a progress box and Cancel. Writes "Open Directory".
    void addPictureFiles(const QStringList &files);
    // Places every thumbnail (computed at scroll position 0, which is then restored) and sizes
    // the strip. Redrawing is frozen meanwhile.
    void LayoutFrames();
    // Height 86 with more than 6 frames, else 72.
    void SizeStrip();
    // Deselects every frame whose index is not except (-1: all) and blanks the details.
    void ClearSelection(int except = -1);

    // ---- handlers ----
    void btnAddClick();
    void AnimMouseDown(TFrame *frame, Qt::KeyboardModifiers modifiers);
    void AnimClick(TFrame *frame);
    // The pointer at x (in target's own coordinates) over target while source is dragged.
    // Scrolls near either end and returns whether target takes the drop (not onto itself).
    bool AnimDragOver(TFrame *source, TFrame *target, int x);
    // The pointer at x in the strip's visible area while a thumbnail is dragged.
    void scrFramesDragOver(int x);
    void AnimDragDrop(TFrame *source, TFrame *target);
    void btnDeleteClick();
    void btnDeleteAllClick();
    void btnFitClick();
    void txtCaptionChange();

    // ---- state ----
    const QList<TFrame *> &thumbnails() const { return m_thumbnails; }
    TFrame *thumbnail(int index) const;
    // The thumbnail under a point of the visible area; null over the empty part.
    TFrame *thumbnailAt(const QPoint &viewportPoint) const;
    // The widget the thumbnails sit on; it moves left as the strip scrolls.
    QWidget *contents() const { return m_contents; }
    Qt::KeyboardModifiers SavedShift() const { return m_savedShift; }
    bool CaptionGuard() const { return m_captionGuard; }
    // True while pictures are being decoded and added in the background.
    bool isAddingFrames() const;
    // The progress box of the pictures being added; null when none shows.
    QProgressDialog *progressDialog() const;

    // The drag data of a thumbnail, and the thumbnail a drag's data names (null for data from
    // anywhere else, another strip or another program included).
    QMimeData *createFrameDragData(const TFrame *frame) const;
    TFrame *draggedFrame(const QMimeData *data) const;

signals:
    // A background run of added pictures ended, completed or cancelled.
    void addingFinished(bool cancelled);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void frameAdded(int index);
    void frameRemoved(int index, FrameId id);
    void frameMoved(int from, int to);
    void framesExchanged(int a, int b);
    void framesCleared();
    void documentReset();
    void refreshThumbnail(int index);

    int appendDecoded(const QString &path, const QString &caption, const DecodedPicture &picture);
    void decodeFramesWithoutPicture();
    void startFrameDrag(TFrame *frame, const QPoint &hotSpot);
    void setCaptionBoxText(const QString &text);
    void blankDetails(const QString &sizeText);
    void updateScrollRange();
    int contentWidth() const;
    int viewportLeft(const TFrame *frame) const;
    int indexOfThumbnail(const TFrame *frame) const;
    void removeThumbnail(TFrame *frame);

    AnimationDocument &m_document;
    Prompts &m_prompts;
    RegistryKey &m_settingsKey;
    QPointer<QLabel> m_lblFilename;
    QPointer<QLabel> m_lblSize;
    QPointer<QPlainTextEdit> m_txtCaption;
    QPointer<QCheckBox> m_chkExchange;

    std::unique_ptr<ImageDecoder> m_decoder;
    FrameAddBatch *m_batch = nullptr;
    QWidget *m_contents = nullptr;
    QList<TFrame *> m_thumbnails;
    QList<FrameId> m_withoutPicture; // frames waiting for their picture to be decoded
    bool m_decodeScheduled = false;
    bool m_addingOwnFrame = false;
    QString m_dragToken;

    Qt::KeyboardModifiers m_savedShift;
    bool m_captionGuard = false;
};

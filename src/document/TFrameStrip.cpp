#include "document/TFrameStrip.h"

#include "document/FitGeometry.h"

#include "controls/BusyCursor.h"
#include "controls/ElideText.h"
#include "document/AnimationDocument.h"
#include "document/CaptionText.h"
#include "document/FrameAddBatch.h"
#include "document/FramePictureFiles.h"
#include "document/SettingsKey.h"
#include "document/TFrame.h"
#include "imaging/ImageDecoder.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

namespace {

// Freezes the strip's drawing for a scope; the earlier state comes back however it ends.
class FrozenUpdates
{
public:
    explicit FrozenUpdates(QWidget *widget)
        : m_widget(widget), m_wasFrozen(widget->testAttribute(Qt::WA_ForceUpdatesDisabled))
    {
        m_widget->setUpdatesEnabled(false);
    }
    ~FrozenUpdates()
    {
        if (!m_wasFrozen)
            m_widget->setUpdatesEnabled(true);
    }
    FrozenUpdates(const FrozenUpdates &) = delete;
    FrozenUpdates &operator=(const FrozenUpdates &) = delete;

private:
    QWidget *m_widget;
    bool m_wasFrozen;
};

} // namespace

TFrameStrip::TFrameStrip(AnimationDocument &document, Prompts &prompts, RegistryKey &settingsKey,
                         const FrameStripControls &controls, QWidget *parent)
    : QAbstractScrollArea(parent),
      m_document(document),
      m_prompts(prompts),
      m_settingsKey(settingsKey),
      m_lblFilename(controls.lblFilename),
      m_lblSize(controls.lblSize),
      m_txtCaption(controls.txtCaption),
      m_chkExchange(controls.chkExchange),
      m_decoder(std::make_unique<ImageDecoder>())
{
    setObjectName(QStringLiteral("scrFrames"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setTracking(true);
    horizontalScrollBar()->setSingleStep(8);
    setGeometry(StripLeft, StripTop, StripWidth, LowHeight);
    setFixedSize(StripWidth, LowHeight);
    viewport()->setAcceptDrops(true);
    setAcceptDrops(true);

    m_contents = new QWidget(viewport());
    m_contents->setObjectName(QStringLiteral("scrFramesContents"));
    m_contents->move(0, 0);
    m_contents->resize(0, ThumbnailTop + TFrame::Side);
    m_contents->show();

    // Unique to this strip in this run of this program, so a drag from anywhere else is
    // never taken for one of ours.
    m_dragToken = QStringLiteral("%1-%2")
                      .arg(QCoreApplication::applicationPid())
                      .arg(quintptr(this), 0, 16);

    m_batch = new FrameAddBatch(document, prompts, this, this);
    connect(m_batch, &FrameAddBatch::runFinished, this, [this](bool cancelled) {
        LayoutFrames();
        emit addingFinished(cancelled);
    });

    connect(&document, &AnimationDocument::frameAdded, this, &TFrameStrip::frameAdded);
    connect(&document, &AnimationDocument::frameRemoved, this, &TFrameStrip::frameRemoved);
    connect(&document, &AnimationDocument::frameMoved, this, &TFrameStrip::frameMoved);
    connect(&document, &AnimationDocument::framesExchanged, this, &TFrameStrip::framesExchanged);
    connect(&document, &AnimationDocument::framesCleared, this, &TFrameStrip::framesCleared);
    connect(&document, &AnimationDocument::framePictureChanged, this, &TFrameStrip::refreshThumbnail);
    connect(&document, &AnimationDocument::frameSelectionChanged, this,
            [this](int index, bool) { refreshThumbnail(index); });
    connect(&document, &AnimationDocument::documentReset, this, &TFrameStrip::documentReset);

    if (m_txtCaption)
        connect(m_txtCaption, &QPlainTextEdit::textChanged, this, &TFrameStrip::txtCaptionChange);

    // Frames the document already holds.
    for (int i = 0; i < document.frameCount(); ++i)
        frameAdded(i);
    LayoutFrames();
}

TFrameStrip::~TFrameStrip()
{
    // The batch must not deliver into a strip that is going away.
    delete m_batch;
    m_batch = nullptr;
}

// ---- frames ----

int TFrameStrip::appendDecoded(const QString &path, const QString &caption, const DecodedPicture &picture)
{
    const QScopedValueRollback<bool> own(m_addingOwnFrame, true);
    return m_document.appendFrame(path, caption, picture.fullSize, picture.picture);
}

int TFrameStrip::AddFrame(const QString &picturePath, const QString &captionText)
{
    const DecodedPicture picture = m_decoder->decode(picturePath);
    ImageDecoder::report(picture, m_prompts);
    return appendDecoded(picturePath, captionText, picture);
}

void TFrameStrip::addPictureFiles(const QStringList &files)
{
    if (files.isEmpty())
        return;
    if (files.size() > FrameAddBatch::ProgressThreshold || m_batch->isRunning()) {
        // A list while another is being added waits for it, so the two never mix.
        QList<FrameAddBatch::Item> items;
        items.reserve(files.size());
        for (const QString &file : files)
            items.append({file, QString(), 0});
        m_batch->enqueue(items);
    } else {
        {
            const BusyCursor busy;
            // Decoded on the workers, added here in order while the next ones decode.
            m_batch->decoder().decodeInOrder(files, [this, &files](int index, const DecodedPicture &picture) {
                ImageDecoder::report(picture, m_prompts);
                appendDecoded(files.at(index), QString(), picture);
                return true;
            });
        }
        LayoutFrames();
    }
    m_settingsKey.writeString(OpenDirectoryValue, FolderWithSeparator(files.first()));
}

void TFrameStrip::LayoutFrames()
{
    const FrozenUpdates frozen(this);
    QScrollBar *bar = horizontalScrollBar();
    const int remembered = bar->value();
    bar->setValue(0);
    int left = 0;
    for (TFrame *thumb : std::as_const(m_thumbnails)) {
        thumb->move(left, ThumbnailTop);
        left += ThumbnailStep;
    }
    m_contents->resize(contentWidth(), ThumbnailTop + TFrame::Side);
    SizeStrip();
    updateScrollRange();
    bar->setValue(remembered);
}

void TFrameStrip::SizeStrip()
{
    setFixedHeight(m_thumbnails.size() > FramesWithoutScrollBar ? HighHeight : LowHeight);
}

int TFrameStrip::contentWidth() const
{
    return m_thumbnails.isEmpty() ? 0 : int(m_thumbnails.size() - 1) * ThumbnailStep + TFrame::Side;
}

void TFrameStrip::updateScrollRange()
{
    QScrollBar *bar = horizontalScrollBar();
    const int visible = viewport()->width();
    bar->setPageStep(std::max(1, visible));
    bar->setRange(0, std::max(0, contentWidth() - visible));
}

void TFrameStrip::ClearSelection(int except)
{
    m_document.ClearSelection(except);
    blankDetails(BlankSizeText);
    setCaptionBoxText(QString());
}

void TFrameStrip::blankDetails(const QString &sizeText)
{
    if (m_lblFilename)
        m_lblFilename->clear();
    if (m_lblSize)
        m_lblSize->setText(sizeText);
}

void TFrameStrip::setCaptionBoxText(const QString &text)
{
    if (!m_txtCaption)
        return;
    const QScopedValueRollback<bool> guard(m_captionGuard, true);
    if (m_txtCaption->toPlainText() != text)
        m_txtCaption->setPlainText(text);
}

// ---- handlers ----

void TFrameStrip::btnAddClick()
{
    Prompts::FileDialog dialog;
    dialog.title = AddFramesTitle;
    dialog.folder = m_settingsKey.readString(OpenDirectoryValue);
    dialog.filter = AddFramesFilter;
    dialog.filterIndex = 0;
    const QStringList files = m_prompts.openFiles(dialog);
    if (files.isEmpty())
        return;
    addPictureFiles(files);
}

void TFrameStrip::AnimMouseDown(TFrame *, Qt::KeyboardModifiers modifiers)
{
    m_savedShift = modifiers;
}

void TFrameStrip::AnimClick(TFrame *frame)
{
    const int index = indexOfThumbnail(frame);
    if (index < 0)
        return;
    if (!m_savedShift.testFlag(Qt::ControlModifier)) {
        ClearSelection(-1);
        m_savedShift = Qt::NoModifier;
    }
    m_document.SetSelected(index, !m_document.frame(index).Selected);
    if (m_lblSize)
        m_lblSize->clear();
    if (m_lblFilename)
        m_lblFilename->clear();
    if (m_document.SelectedCount() != 1)
        return;
    // The clicked frame's details, also when a Ctrl-click has just deselected it.
    const AnimationFrame &clicked = m_document.frame(index);
    if (m_lblFilename)
        m_lblFilename->setText(ElideText(clicked.PicturePath, m_lblFilename->contentsRect().width(),
                                         m_lblFilename->fontMetrics()));
    if (m_lblSize)
        m_lblSize->setText(ImageSizeText + QString::number(clicked.PictureSize.width())
                           + QStringLiteral(" by ") + QString::number(clicked.PictureSize.height()));
    setCaptionBoxText(clicked.CaptionText);
    m_document.SetCurrentFrame(index);
}

bool TFrameStrip::AnimDragOver(TFrame *source, TFrame *target, int x)
{
    const bool accept = source != target;
    if (target)
        scrFramesDragOver(x + viewportLeft(target));
    return accept;
}

void TFrameStrip::scrFramesDragOver(int x)
{
    QScrollBar *bar = horizontalScrollBar();
    if (x < AutoScrollZone)
        bar->setValue(bar->value() - AutoScrollStep);
    else if (x > width() - AutoScrollZone)
        bar->setValue(bar->value() + AutoScrollStep);
}

void TFrameStrip::AnimDragDrop(TFrame *source, TFrame *target)
{
    const int from = indexOfThumbnail(source);
    const int to = indexOfThumbnail(target);
    if (from < 0 || to < 0)
        return;
    if (m_chkExchange && m_chkExchange->isChecked())
        m_document.exchangeFrames(from, to);
    else
        m_document.moveFrame(from, to);
    LayoutFrames();
}

void TFrameStrip::btnDeleteClick()
{
    m_document.removeSelectedFrames();
    LayoutFrames();
    ClearSelection(-1);
}

void TFrameStrip::btnDeleteAllClick()
{
    if (m_document.frameCount() == 0)
        return;
    if (m_prompts.confirm(DeleteAllQuestion))
        m_document.clearFrames();
    SizeStrip();
    ClearSelection(-1);
    m_document.SetCaption(AnimationDocument::DeleteAllCaption);
}

void TFrameStrip::btnFitClick()
{
    // Without scale: the largest picture's width and height. With scale: that rectangle
    // fitted within the largest default box, plus the captions' band.
    const QSize box = FitGeometry::DefaultBoxFor(m_document);
    m_document.setText(TextSetting::JavaWidth, QString::number(box.width()));
    m_document.setText(TextSetting::JavaHeight, QString::number(box.height()));
}

void TFrameStrip::txtCaptionChange()
{
    if (m_captionGuard || !m_txtCaption)
        return;
    if (m_document.HasCurrentFrame()) {
        m_document.setCaptionText(m_document.CurrentFrame(), CaptionFromBoxText(m_txtCaption->toPlainText()));
        return;
    }
    setCaptionBoxText(QString());
    m_prompts.message(NoCurrentFrameText);
}

// ---- state ----

TFrame *TFrameStrip::thumbnail(int index) const
{
    return index >= 0 && index < m_thumbnails.size() ? m_thumbnails.at(index) : nullptr;
}

TFrame *TFrameStrip::thumbnailAt(const QPoint &viewportPoint) const
{
    const QPoint point = m_contents->mapFrom(viewport(), viewportPoint);
    for (TFrame *thumb : m_thumbnails) {
        if (thumb->geometry().contains(point))
            return thumb;
    }
    return nullptr;
}

int TFrameStrip::indexOfThumbnail(const TFrame *frame) const
{
    if (!frame)
        return -1;
    return int(m_thumbnails.indexOf(const_cast<TFrame *>(frame)));
}

int TFrameStrip::viewportLeft(const TFrame *frame) const
{
    return frame->mapTo(viewport(), QPoint(0, 0)).x();
}

bool TFrameStrip::isAddingFrames() const
{
    return m_batch && m_batch->isRunning();
}

QProgressDialog *TFrameStrip::progressDialog() const
{
    return m_batch ? m_batch->progressDialog() : nullptr;
}

// ---- following the document ----

void TFrameStrip::frameAdded(int index)
{
    const AnimationFrame &frame = m_document.frame(index);
    auto *thumb = new TFrame(m_document, frame.Id, m_contents);
    connect(thumb, &TFrame::mousePressed, this,
            [this](TFrame *pressed, Qt::MouseButton, Qt::KeyboardModifiers modifiers) {
                AnimMouseDown(pressed, modifiers);
            });
    connect(thumb, &TFrame::clicked, this, &TFrameStrip::AnimClick);
    connect(thumb, &TFrame::dragRequested, this, &TFrameStrip::startFrameDrag);
    m_thumbnails.insert(index, thumb);
    thumb->show();

    if (index == m_thumbnails.size() - 1) {
        // Appended: only the new thumbnail needs a place.
        thumb->move(index * ThumbnailStep, ThumbnailTop);
        m_contents->resize(contentWidth(), ThumbnailTop + TFrame::Side);
        SizeStrip();
        updateScrollRange();
    } else {
        LayoutFrames();
    }

    // A frame from the tag reader comes with its path and caption only.
    if (!m_addingOwnFrame && !m_batch->isAppending() && frame.Thumbnail.isNull()) {
        m_withoutPicture.append(frame.Id);
        if (!m_decodeScheduled) {
            m_decodeScheduled = true;
            QTimer::singleShot(0, this, &TFrameStrip::decodeFramesWithoutPicture);
        }
    }
}

void TFrameStrip::decodeFramesWithoutPicture()
{
    m_decodeScheduled = false;
    QList<FrameAddBatch::Item> items;
    for (FrameId id : std::as_const(m_withoutPicture)) {
        const int at = m_document.indexOf(id);
        if (at >= 0)
            items.append({m_document.frame(at).PicturePath, QString(), id});
    }
    m_withoutPicture.clear();
    m_batch->enqueue(items);
}

void TFrameStrip::removeThumbnail(TFrame *frame)
{
    // Not deleted at once: the removal may come from within one of its own events.
    frame->hide();
    frame->disconnect(this);
    frame->deleteLater();
}

void TFrameStrip::frameRemoved(int index, FrameId id)
{
    int at = index;
    if (at < 0 || at >= m_thumbnails.size() || m_thumbnails.at(at)->id() != id) {
        at = -1;
        for (int i = 0; i < m_thumbnails.size(); ++i) {
            if (m_thumbnails.at(i)->id() == id)
                at = i;
        }
    }
    if (at < 0)
        return;
    removeThumbnail(m_thumbnails.takeAt(at));
    LayoutFrames();
}

void TFrameStrip::frameMoved(int from, int to)
{
    if (from < 0 || to < 0 || from >= m_thumbnails.size() || to >= m_thumbnails.size())
        return;
    m_thumbnails.move(from, to);
    LayoutFrames();
}

void TFrameStrip::framesExchanged(int a, int b)
{
    if (a < 0 || b < 0 || a >= m_thumbnails.size() || b >= m_thumbnails.size())
        return;
    m_thumbnails.swapItemsAt(a, b);
    LayoutFrames();
}

void TFrameStrip::framesCleared()
{
    // Pictures still on their way belong to frames that are gone.
    m_batch->cancel();
    m_withoutPicture.clear();
    for (TFrame *thumb : std::as_const(m_thumbnails))
        removeThumbnail(thumb);
    m_thumbnails.clear();
    LayoutFrames();
}

void TFrameStrip::documentReset()
{
    setCaptionBoxText(QString());
    // The details of a frame that no longer exists are not left on show.
    blankDetails(BlankSizeText);
    LayoutFrames();
}

void TFrameStrip::refreshThumbnail(int index)
{
    if (TFrame *thumb = thumbnail(index))
        thumb->refresh();
}

// ---- dragging ----

QMimeData *TFrameStrip::createFrameDragData(const TFrame *frame) const
{
    auto *data = new QMimeData;
    if (frame)
        data->setData(FrameMimeType, (m_dragToken + u' ' + QString::number(frame->id())).toUtf8());
    return data;
}

TFrame *TFrameStrip::draggedFrame(const QMimeData *data) const
{
    if (!data || !data->hasFormat(FrameMimeType))
        return nullptr;
    const QString text = QString::fromUtf8(data->data(FrameMimeType));
    const qsizetype space = text.indexOf(u' ');
    if (space < 0 || text.left(space) != m_dragToken)
        return nullptr;
    bool ok = false;
    const FrameId id = text.mid(space + 1).toULongLong(&ok);
    if (!ok)
        return nullptr;
    for (TFrame *thumb : m_thumbnails) {
        if (thumb->id() == id)
            return thumb;
    }
    return nullptr;
}

void TFrameStrip::startFrameDrag(TFrame *frame, const QPoint &hotSpot)
{
    if (indexOfThumbnail(frame) < 0)
        return;
    const QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(createFrameDragData(frame));
    drag->setPixmap(QPixmap::fromImage(frame->shownPicture().scaled(TFrame::Side, TFrame::Side)));
    drag->setHotSpot(hotSpot);
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    if (drag)
        drag->deleteLater();
}

void TFrameStrip::dragEnterEvent(QDragEnterEvent *event)
{
    if (draggedFrame(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else if (event->mimeData()->hasUrls()
               && !FramePictureFilesFromUrls(event->mimeData()->urls()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TFrameStrip::dragMoveEvent(QDragMoveEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (TFrame *source = draggedFrame(event->mimeData())) {
        TFrame *target = thumbnailAt(point);
        bool accept = false;
        if (target)
            accept = AnimDragOver(source, target, point.x() - viewportLeft(target));
        else
            scrFramesDragOver(point.x()); // nothing happens on a drop here
        if (accept) {
            event->setDropAction(Qt::MoveAction);
            event->accept();
        } else {
            event->ignore();
        }
        return;
    }
    if (event->mimeData()->hasUrls() && !FramePictureFilesFromUrls(event->mimeData()->urls()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    event->ignore();
}

void TFrameStrip::dropEvent(QDropEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (TFrame *source = draggedFrame(event->mimeData())) {
        TFrame *target = thumbnailAt(point);
        if (!target || target == source) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::MoveAction);
        event->accept();
        AnimDragDrop(source, target);
        return;
    }
    const QStringList files = event->mimeData()->hasUrls()
        ? FramePictureFilesFromUrls(event->mimeData()->urls())
        : QStringList();
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Added after the drop has ended, so the file manager is not kept waiting by decoding or
    // by an error box.
    QMetaObject::invokeMethod(this, [this, files] { addPictureFiles(files); }, Qt::QueuedConnection);
}

// ---- geometry ----

void TFrameStrip::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void TFrameStrip::scrollContentsBy(int, int)
{
    m_contents->move(-horizontalScrollBar()->value(), 0);
}

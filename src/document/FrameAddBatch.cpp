#include "document/FrameAddBatch.h"

#include "document/AnimationDocument.h"
#include "imaging/ImageDecoder.h"
#include "platform/Prompts.h"

#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QWidget>

namespace {

QString progressText(int done, int total)
{
    return QStringLiteral("Adding pictures: %1 of %2").arg(done).arg(total);
}

} // namespace

FrameAddBatch::FrameAddBatch(AnimationDocument &document, Prompts &prompts, QWidget *dialogParent,
                             QObject *parent)
    : QObject(parent), m_document(document), m_prompts(prompts), m_dialogParent(dialogParent)
{
    connect(&m_decoder, &BatchDecoder::pictureDecoded, this, &FrameAddBatch::pictureDecoded);
    connect(&m_decoder, &BatchDecoder::finished, this, [this] { endRun(false); });
}

FrameAddBatch::~FrameAddBatch()
{
    m_waiting.clear();
    m_decoder.cancel();
    delete m_progress.data();
}

void FrameAddBatch::enqueue(const QList<Item> &items)
{
    if (items.isEmpty())
        return;
    m_waiting.append(items);
    if (!m_running)
        startNextRun();
}

void FrameAddBatch::cancel()
{
    m_waiting.clear();
    if (m_running) {
        m_decoder.cancel();
        endRun(true);
    }
}

void FrameAddBatch::startNextRun()
{
    if (m_waiting.isEmpty())
        return;
    m_run = m_waiting.takeFirst();
    m_running = true;

    if (m_run.size() > ProgressThreshold) {
        auto *progress = new QProgressDialog(m_dialogParent);
        progress->setWindowTitle(QStringLiteral("Java Reelcraft"));
        progress->setLabelText(progressText(0, int(m_run.size())));
        progress->setCancelButtonText(QStringLiteral("Cancel"));
        progress->setRange(0, int(m_run.size()));
        progress->setAutoReset(false);
        progress->setAutoClose(false);
        progress->setMinimumDuration(0);
        // Keeps the user from changing the frames while they are being added; the window
        // itself still paints.
        progress->setWindowModality(Qt::WindowModal);
        connect(progress, &QProgressDialog::canceled, this, &FrameAddBatch::cancel);
        m_progress = progress;
        progress->setValue(0);
        progress->show();
    }

    QStringList paths;
    paths.reserve(m_run.size());
    for (const Item &item : std::as_const(m_run))
        paths.append(item.path);
    m_decoder.start(paths);
}

void FrameAddBatch::pictureDecoded(int index, const DecodedPicture &picture)
{
    if (!m_running || index < 0 || index >= m_run.size())
        return;
    // QProgressDialog::cancel() hides the box without signalling; it is seen here.
    if (m_progress && m_progress->wasCanceled()) {
        cancel();
        return;
    }
    const Item item = m_run.at(index);
    const QPointer<FrameAddBatch> alive(this);

    if (item.target == 0) {
        ImageDecoder::report(picture, m_prompts);
        if (!alive || !m_running)
            return; // cancelled while the error box was open
        const QScopedValueRollback<bool> appending(m_appending, true);
        m_document.appendFrame(item.path, item.caption, picture.fullSize, picture.picture);
    } else {
        // A frame removed before its picture came needs neither picture nor error box.
        if (m_document.indexOf(item.target) < 0)
            return;
        ImageDecoder::report(picture, m_prompts);
        if (!alive || !m_running)
            return;
        const int at = m_document.indexOf(item.target);
        if (at >= 0)
            m_document.setFramePicture(at, picture.fullSize, picture.picture);
    }
    if (!alive || !m_running)
        return;
    if (m_progress) {
        m_progress->setLabelText(progressText(index + 1, int(m_run.size())));
        m_progress->setValue(index + 1);
    }
}

void FrameAddBatch::endRun(bool cancelled)
{
    if (!m_running)
        return;
    m_running = false;
    m_run.clear();
    closeProgress();
    const QPointer<FrameAddBatch> alive(this);
    emit runFinished(cancelled);
    if (alive && !m_running)
        startNextRun();
}

void FrameAddBatch::closeProgress()
{
    if (!m_progress)
        return;
    QProgressDialog *progress = m_progress;
    m_progress = nullptr;
    progress->disconnect(this);
    progress->hide();
    // Not deleted at once: this may run inside the box's own setValue() or cancel signal.
    progress->deleteLater();
}

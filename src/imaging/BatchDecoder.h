#pragma once

#include "imaging/DecodedPicture.h"
#include "imaging/ImageDecoder.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

// Decodes a list of picture files on worker threads and hands the results over strictly in the
// list's order, on the thread the BatchDecoder lives in (the UI thread), failures included, so
// frames and their error boxes appear in the order the files were chosen. Workers only decode;
// every model or widget change happens in the receivers, on the UI thread.
//
// Memory stays bounded: at most maxInFlight() pictures are being decoded or waiting for their
// turn, and each worker holds one decode at a time (JPEG photos decode scaled, see
// ImageDecoder).
class BatchDecoder : public QObject
{
    Q_OBJECT
public:
    explicit BatchDecoder(QObject *parent = nullptr);
    // decoder is shared with the workers; it must be safe to call from several threads.
    explicit BatchDecoder(std::shared_ptr<const ImageDecoder> decoder, QObject *parent = nullptr);
    // Cancels a running batch and waits for the workers to finish their current picture.
    ~BatchDecoder() override;

    // Worker threads; the processor count by default. Takes effect for the next batch.
    void setThreadCount(int count);
    int threadCount() const { return m_threadCount; }
    // Pictures decoded or queued ahead of the next one to deliver: twice the thread count.
    int maxInFlight() const { return 2 * m_threadCount; }

    // Starts decoding paths; pictureDecoded() follows for each in order, then finished(). A
    // batch still running is cancelled first. An empty list only gives finished(), later.
    void start(const QStringList &paths);
    // Ends the running batch at once: what was delivered stays, nothing more is delivered and
    // finished() is not emitted. May be called from a receiver of pictureDecoded().
    void cancel();
    bool isRunning() const { return m_running; }
    // Pictures of the current (or last) batch delivered so far.
    int deliveredCount() const { return m_nextToDeliver; }

    // The blocking form, for a command that adds its frames before it returns: decodes paths on
    // the workers and calls onPicture on the calling thread for each, in order, while the next
    // ones decode. onPicture returns false to stop; no call follows then. Returns how many
    // pictures were handed to onPicture. Independent of start() and cancel().
    int decodeInOrder(const QStringList &paths,
                      const std::function<bool(int index, const DecodedPicture &picture)> &onPicture);
    // decodeInOrder with ImageDecoder::measure: sizes and failures without the pixels.
    int measureInOrder(const QStringList &paths,
                       const std::function<bool(int index, const DecodedPicture &picture)> &onPicture);

    // Other picture work on the same threads (light copies): work(index) runs on the workers for
    // every index below count, at most maxInFlight() ahead; it must be safe to call from
    // several threads. onDone(index) follows on the calling thread, in index order, once that
    // work has ended; it returns false to stop (Cancel): nothing more starts and the call
    // returns after the work already running has ended. Returns how many were handed to onDone.
    int runInOrder(int count, const std::function<void(int index)> &work,
                   const std::function<bool(int index)> &onDone);

signals:
    // One picture of the batch, index counted from 0 in the list given to start().
    void pictureDecoded(int index, const DecodedPicture &picture);
    // Every picture of the batch was delivered.
    void finished();

private:
    using Reading = DecodedPicture (ImageDecoder::*)(const QString &path) const;
    int readInOrder(const QStringList &paths, Reading read,
                    const std::function<bool(int index, const DecodedPicture &picture)> &onPicture);
    void submitMore();
    void received(quint64 batch, int index, DecodedPicture picture);
    void deliverReady();

    std::shared_ptr<const ImageDecoder> m_decoder;
    int m_threadCount = 1;

    QStringList m_paths;
    quint64 m_batch = 0;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    int m_nextToSubmit = 0;
    int m_nextToDeliver = 0;
    std::map<int, DecodedPicture> m_ready;
    bool m_running = false;
    bool m_delivering = false;

    // Declared last, so it is destroyed first: its threads end before the members above go.
    QThreadPool m_pool;
};

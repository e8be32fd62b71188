#include "imaging/BatchDecoder.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

BatchDecoder::BatchDecoder(QObject *parent)
    : BatchDecoder(std::make_shared<const ImageDecoder>(), parent)
{
}

BatchDecoder::BatchDecoder(std::shared_ptr<const ImageDecoder> decoder, QObject *parent)
    : QObject(parent), m_decoder(std::move(decoder)), m_threadCount(std::max(1, QThread::idealThreadCount()))
{
    if (!m_decoder)
        m_decoder = std::make_shared<const ImageDecoder>();
    m_pool.setMaxThreadCount(m_threadCount);
}

BatchDecoder::~BatchDecoder()
{
    cancel();
    // Workers post their result to this object; they must be done before it goes.
    m_pool.waitForDone();
}

void BatchDecoder::setThreadCount(int count)
{
    m_threadCount = std::max(1, count);
    m_pool.setMaxThreadCount(m_threadCount);
}

void BatchDecoder::start(const QStringList &paths)
{
    cancel();
    ++m_batch;
    m_paths = paths;
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    m_nextToSubmit = 0;
    m_nextToDeliver = 0;
    m_ready.clear();
    m_running = true;
    if (m_paths.isEmpty()) {
        const quint64 batch = m_batch;
        QMetaObject::invokeMethod(this, [this, batch] {
            if (batch == m_batch && m_running) {
                m_running = false;
                emit finished();
            }
        }, Qt::QueuedConnection);
        return;
    }
    submitMore();
}

void BatchDecoder::cancel()
{
    if (!m_running)
        return;
    m_running = false;
    m_cancelled->store(true);
    ++m_batch; // results still on their way belong to no batch now
    m_ready.clear();
}

void BatchDecoder::submitMore()
{
    while (m_running && m_nextToSubmit < m_paths.size() && m_nextToSubmit - m_nextToDeliver < maxInFlight()) {
        const int index = m_nextToSubmit++;
        m_pool.start([this, decoder = m_decoder, cancelled = m_cancelled, batch = m_batch, index,
                      path = m_paths.at(index)] {
            if (cancelled->load())
                return;
            DecodedPicture picture = decoder->decode(path);
            if (cancelled->load())
                return;
            QMetaObject::invokeMethod(this, [this, batch, index, picture = std::move(picture)]() mutable {
                received(batch, index, std::move(picture));
            }, Qt::QueuedConnection);
        });
    }
}

void BatchDecoder::received(quint64 batch, int index, DecodedPicture picture)
{
    if (batch != m_batch || !m_running)
        return;
    m_ready.emplace(index, std::move(picture));
    deliverReady();
}

void BatchDecoder::deliverReady()
{
    // A receiver may open a modal box, whose event loop brings more results here: they wait in
    // m_ready and the outer call hands them over in turn.
    if (m_delivering)
        return;
    m_delivering = true;
    const QPointer<BatchDecoder> alive(this);
    while (m_running) {
        const auto next = m_ready.find(m_nextToDeliver);
        if (next == m_ready.end())
            break;
        const DecodedPicture picture = std::move(next->second);
        m_ready.erase(next);
        const int index = m_nextToDeliver++;
        const bool last = m_nextToDeliver == m_paths.size();
        const quint64 batch = m_batch;
        submitMore();
        emit pictureDecoded(index, picture);
        if (!alive)
            return;
        if (last && batch == m_batch && m_running) {
            m_running = false;
            emit finished();
            if (!alive)
                return;
        }
    }
    m_delivering = false;
}

namespace {

// Results of readInOrder, shared with its workers (which may outlive the call).
struct OrderedResults
{
    std::mutex mutex;
    std::condition_variable arrived;
    std::map<int, DecodedPicture> pictures;
    std::atomic<bool> stopped{false};
};

// Tells the workers to stop however readInOrder ends, a throwing onPicture included.
struct StopOnExit
{
    OrderedResults &results;
    ~StopOnExit() { results.stopped.store(true); }
};

} // namespace

int BatchDecoder::decodeInOrder(const QStringList &paths,
                                const std::function<bool(int, const DecodedPicture &)> &onPicture)
{
    return readInOrder(paths, &ImageDecoder::decode, onPicture);
}

int BatchDecoder::measureInOrder(const QStringList &paths,
                                 const std::function<bool(int, const DecodedPicture &)> &onPicture)
{
    return readInOrder(paths, &ImageDecoder::measure, onPicture);
}

int BatchDecoder::readInOrder(const QStringList &paths, Reading read,
                              const std::function<bool(int, const DecodedPicture &)> &onPicture)
{
    const auto shared = std::make_shared<OrderedResults>();
    const StopOnExit stopOnExit{*shared};

    const int count = int(paths.size());
    const int window = maxInFlight();
    int submitted = 0;
    int delivered = 0;
    const auto submit = [&] {
        while (submitted < count && submitted - delivered < window) {
            const int index = submitted++;
            m_pool.start([shared, decoder = m_decoder, read, index, path = paths.at(index)] {
                if (shared->stopped.load())
                    return;
                DecodedPicture picture = ((*decoder).*read)(path);
                {
                    const std::lock_guard<std::mutex> lock(shared->mutex);
                    shared->pictures.emplace(index, std::move(picture));
                }
                shared->arrived.notify_all();
            });
        }
    };

    submit();
    while (delivered < count) {
        DecodedPicture picture;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->arrived.wait(lock, [&] { return shared->pictures.count(delivered) != 0; });
            const auto next = shared->pictures.find(delivered);
            picture = std::move(next->second);
            shared->pictures.erase(next);
        }
        const int index = delivered++;
        submit();
        if (!onPicture(index, picture))
            break;
    }
    return delivered;
}

int BatchDecoder::runInOrder(int count, const std::function<void(int)> &work, const std::function<bool(int)> &onDone)
{
    struct Progress
    {
        std::mutex mutex;
        std::condition_variable ended;
        std::vector<bool> done;
        int running = 0;
        std::atomic<bool> stopped{false};
    };
    Progress progress;
    progress.done.assign(std::size_t(std::max(0, count)), false);
    const int window = maxInFlight();
    int submitted = 0;
    int delivered = 0;
    const auto submit = [&] {
        while (submitted < count && submitted - delivered < window) {
            const int index = submitted++;
            {
                const std::lock_guard<std::mutex> lock(progress.mutex);
                ++progress.running;
            }
            m_pool.start([&progress, &work, index] {
                if (!progress.stopped.load())
                    work(index);
                {
                    const std::lock_guard<std::mutex> lock(progress.mutex);
                    progress.done[std::size_t(index)] = true;
                    --progress.running;
                }
                progress.ended.notify_all();
            });
        }
    };
    // The workers use progress and work, which live in this frame: every one has ended before
    // it is left, however it is left.
    struct WaitForWorkers
    {
        Progress &progress;
        ~WaitForWorkers()
        {
            progress.stopped.store(true);
            std::unique_lock<std::mutex> lock(progress.mutex);
            progress.ended.wait(lock, [this] { return progress.running == 0; });
        }
    } waitForWorkers{progress};

    submit();
    while (delivered < count) {
        {
            std::unique_lock<std::mutex> lock(progress.mutex);
            progress.ended.wait(lock, [&] { return bool(progress.done[std::size_t(delivered)]); });
        }
        const int index = delivered++;
        submit();
        if (!onDone(index))
            break;
    }
    return delivered;
}

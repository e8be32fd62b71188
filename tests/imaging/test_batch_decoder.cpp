#include "imaging/BatchDecoder.h"

#include "TestEnvironment.h"
#include "TestPictures.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHash>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <stdexcept>
#include <vector>

using Failure = DecodedPicture::Failure;

namespace {

// Decodes as usual after a pause that shrinks along the list, so later files finish first and
// the batch has to put results back in order. Counts how far decoding runs ahead of delivery.
class SlowDecoder : public ImageDecoder
{
public:
    QHash<QString, int> delayMs;       // per path; read-only once workers run
    mutable std::atomic<int> started{0};
    std::atomic<int> delivered{0};          // raised by the test's receiver
    mutable std::atomic<int> mostAhead{0};  // largest started - delivered seen by a worker
    QString throwFor;                  // a path whose decoding throws

protected:
    DecodedPicture decodeFile(const QString &path) const override
    {
        const int ahead = ++started - delivered.load();
        int seen = mostAhead.load();
        while (ahead > seen && !mostAhead.compare_exchange_weak(seen, ahead)) {
        }
        QThread::msleep(ulong(delayMs.value(path, 0)));
        if (path == throwFor)
            throw std::runtime_error("reader fault");
        return ImageDecoder::decodeFile(path);
    }
};

struct Delivery
{
    int index;
    QString path;
    Failure failure;
    bool onMainThread;
};

} // namespace

class TestBatchDecoder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void resultsArriveInListOrder();
    void cancelAfterSomeDeliversExactlyThose_data();
    void cancelAfterSomeDeliversExactlyThose();
    void modalBoxInReceiverKeepsOrder();
    void decodingRunsBoundedAhead();
    void restartDropsTheOldBatch();
    void emptyListOnlyFinishes();
    void destroyedWhileRunning();
    void blockingFormKeepsOrderAndStops_data();
    void blockingFormKeepsOrderAndStops();
    void blockingFormStopsWorkersWhenReceiverThrows();
    void otherWorkRunsInOrderAndStops_data();
    void otherWorkRunsInOrderAndStops();

private:
    // Good and bad files mixed, with the failure each must give.
    QStringList m_paths;
    QList<Failure> m_expected;
    QString m_folder;
};

void TestBatchDecoder::initTestCase()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("batch"));
    const QByteArray jpeg = TestPictures::jpegBytes(TestPictures::twoColours(QSize(800, 600), Qt::red, Qt::blue));
    const QByteArray gif = TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(40, 30)));
    const auto add = [this](const QString &path, Failure failure) {
        m_paths.append(path);
        m_expected.append(failure);
    };
    add(TestPictures::writeFile(m_folder, QStringLiteral("a.jpg"), jpeg), Failure::None);
    add(m_folder + QStringLiteral("/missing.gif"), Failure::Missing);
    add(TestPictures::writeFile(m_folder, QStringLiteral("b.GIF"), gif), Failure::None);
    add(TestPictures::writeFile(m_folder, QStringLiteral("tiny.jpg"), jpeg.left(20)), Failure::TooSmall);
    add(TestPictures::writeFile(m_folder, QStringLiteral("renamed.jpg"), gif), Failure::Undecodable);
    add(TestPictures::writeFile(m_folder, QStringLiteral("C.JPG"), jpeg), Failure::None);
    add(TestPictures::writeFile(m_folder, QStringLiteral("cut.jpg"), jpeg.left(jpeg.size() / 2)), Failure::Undecodable);
    add(TestPictures::writeFile(m_folder, QStringLiteral("d.gif"), gif), Failure::None);
    add(TestPictures::writeFile(m_folder, QStringLiteral("e.jpg"), jpeg), Failure::None);
    add(TestPictures::writeFile(m_folder, QStringLiteral("f.gif"), gif), Failure::None);
}

void TestBatchDecoder::resultsArriveInListOrder()
{
    auto decoder = std::make_shared<SlowDecoder>();
    for (int i = 0; i < m_paths.size(); ++i)
        decoder->delayMs.insert(m_paths.at(i), 10 * int(m_paths.size() - i));
    decoder->throwFor = m_paths.at(8);
    QList<Failure> expected = m_expected;
    expected[8] = Failure::Exception;

    BatchDecoder batch(decoder);
    batch.setThreadCount(3);
    QList<Delivery> got;
    int finished = 0;
    connect(&batch, &BatchDecoder::pictureDecoded, this, [&](int index, const DecodedPicture &picture) {
        got.append({index, picture.path, picture.failure, QThread::currentThread() == thread()});
        QVERIFY(!picture.picture.isNull());
    });
    connect(&batch, &BatchDecoder::finished, this, [&] { ++finished; });
    batch.start(m_paths);
    QVERIFY(batch.isRunning());
    QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 20000);
    QVERIFY(!batch.isRunning());

    QCOMPARE(got.size(), m_paths.size());
    for (int i = 0; i < got.size(); ++i) {
        QCOMPARE(got.at(i).index, i);
        QCOMPARE(got.at(i).path, m_paths.at(i));
        QCOMPARE(got.at(i).failure, expected.at(i));
        QVERIFY(got.at(i).onMainThread);
    }
    QCOMPARE(batch.deliveredCount(), m_paths.size());
    QTest::qWait(50);
    QCOMPARE(finished, 1);
}

void TestBatchDecoder::cancelAfterSomeDeliversExactlyThose_data()
{
    QTest::addColumn<int>("k");
    QTest::newRow("at once") << 0;
    QTest::newRow("after 1") << 1;
    QTest::newRow("after 3") << 3;
    QTest::newRow("after all but one") << 9;
}

void TestBatchDecoder::cancelAfterSomeDeliversExactlyThose()
{
    QFETCH(int, k);
    auto decoder = std::make_shared<SlowDecoder>();
    for (const QString &path : m_paths)
        decoder->delayMs.insert(path, 5);
    BatchDecoder batch(decoder);
    QList<int> got;
    bool finished = false;
    connect(&batch, &BatchDecoder::pictureDecoded, this, [&](int index, const DecodedPicture &) {
        got.append(index);
        if (got.size() == k)
            batch.cancel();
    });
    connect(&batch, &BatchDecoder::finished, this, [&] { finished = true; });
    batch.start(m_paths);
    if (k == 0)
        batch.cancel();
    QVERIFY(k == 0 || QTest::qWaitFor([&] { return got.size() >= k; }, 20000));
    QVERIFY(!batch.isRunning());
    // Let every worker finish and every posted result arrive: none may be delivered now.
    QTest::qWait(300);
    QCOMPARE(got.size(), k);
    for (int i = 0; i < k; ++i)
        QCOMPARE(got.at(i), i);
    QVERIFY(!finished);
    QCOMPARE(batch.deliveredCount(), k);
}

// The strip shows an error box for a failed picture; its event loop must not let later pictures
// overtake or repeat.
void TestBatchDecoder::modalBoxInReceiverKeepsOrder()
{
    BatchDecoder batch;
    QList<int> got;
    int depth = 0;
    int deepest = 0;
    bool finished = false;
    connect(&batch, &BatchDecoder::pictureDecoded, this, [&](int index, const DecodedPicture &picture) {
        ++depth;
        deepest = std::max(deepest, depth);
        got.append(index);
        if (!picture.ok()) {
            QEventLoop box;
            QTimer::singleShot(60, &box, &QEventLoop::quit);
            box.exec();
        }
        --depth;
    });
    connect(&batch, &BatchDecoder::finished, this, [&] { finished = true; });
    batch.start(m_paths);
    QTRY_VERIFY_WITH_TIMEOUT(finished, 20000);
    QCOMPARE(deepest, 1);
    QCOMPARE(got.size(), m_paths.size());
    for (int i = 0; i < got.size(); ++i)
        QCOMPARE(got.at(i), i);
}

void TestBatchDecoder::decodingRunsBoundedAhead()
{
    auto decoder = std::make_shared<SlowDecoder>();
    QStringList paths;
    for (int i = 0; i < 30; ++i)
        paths.append(m_paths.at(i % m_paths.size()));
    BatchDecoder batch(decoder);
    batch.setThreadCount(2);
    QCOMPARE(batch.maxInFlight(), 4);
    bool finished = false;
    // A slow receiver: unbounded workers would decode the whole list meanwhile.
    connect(&batch, &BatchDecoder::pictureDecoded, this, [&](int, const DecodedPicture &) {
        ++decoder->delivered;
        QThread::msleep(15);
    });
    connect(&batch, &BatchDecoder::finished, this, [&] { finished = true; });
    batch.start(paths);
    QTRY_VERIFY_WITH_TIMEOUT(finished, 30000);
    QCOMPARE(decoder->started.load(), 30);
    // The next picture is sent to a worker just before the receiver gets the one in hand, so a
    // worker may count that one as well; unbounded workers would be 20 or more ahead.
    QVERIFY2(decoder->mostAhead.load() <= batch.maxInFlight() + 1,
             qPrintable(QString::number(decoder->mostAhead.load())));
    QVERIFY(decoder->mostAhead.load() >= 2); // the two workers did run side by side with delivery
}

void TestBatchDecoder::restartDropsTheOldBatch()
{
    auto decoder = std::make_shared<SlowDecoder>();
    for (const QString &path : m_paths)
        decoder->delayMs.insert(path, 20);
    BatchDecoder batch(decoder);
    QStringList got;
    int finished = 0;
    connect(&batch, &BatchDecoder::pictureDecoded, this,
            [&](int, const DecodedPicture &picture) { got.append(picture.path); });
    connect(&batch, &BatchDecoder::finished, this, [&] { ++finished; });
    batch.start(m_paths);
    const QStringList second{m_paths.at(2), m_paths.at(0)};
    batch.start(second);
    QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 20000);
    QTest::qWait(300);
    QCOMPARE(got, second);
    QCOMPARE(finished, 1);
}

void TestBatchDecoder::emptyListOnlyFinishes()
{
    BatchDecoder batch;
    int pictures = 0;
    int finished = 0;
    connect(&batch, &BatchDecoder::pictureDecoded, this, [&] { ++pictures; });
    connect(&batch, &BatchDecoder::finished, this, [&] { ++finished; });
    batch.start({});
    QCOMPARE(finished, 0); // never from inside start()
    QTRY_COMPARE(finished, 1);
    QTest::qWait(20);
    QCOMPARE(finished, 1);
    QCOMPARE(pictures, 0);
}

void TestBatchDecoder::destroyedWhileRunning()
{
    auto decoder = std::make_shared<SlowDecoder>();
    for (const QString &path : m_paths)
        decoder->delayMs.insert(path, 30);
    int pictures = 0;
    {
        BatchDecoder batch(decoder);
        connect(&batch, &BatchDecoder::pictureDecoded, this, [&] { ++pictures; });
        batch.start(m_paths);
        QTest::qWait(10);
    }
    QTest::qWait(200); // nothing may arrive for the destroyed object
    QCOMPARE(pictures, 0);
    // The workers finished the pictures they had begun and took no more.
    QVERIFY(decoder->started.load() <= 2 * QThread::idealThreadCount());
}

void TestBatchDecoder::blockingFormKeepsOrderAndStops_data()
{
    QTest::addColumn<int>("stopAfter"); // -1: never
    QTest::addColumn<int>("expected");
    QTest::newRow("all") << -1 << 10;
    QTest::newRow("stop after 1") << 1 << 1;
    QTest::newRow("stop after 4") << 4 << 4;
}

void TestBatchDecoder::blockingFormKeepsOrderAndStops()
{
    QFETCH(int, stopAfter);
    QFETCH(int, expected);
    auto decoder = std::make_shared<SlowDecoder>();
    for (int i = 0; i < m_paths.size(); ++i)
        decoder->delayMs.insert(m_paths.at(i), 8 * int(m_paths.size() - i));
    BatchDecoder batch(decoder);
    QList<Delivery> got;
    const int count = batch.decodeInOrder(m_paths, [&](int index, const DecodedPicture &picture) {
        got.append({index, picture.path, picture.failure, QThread::currentThread() == thread()});
        return int(got.size()) != stopAfter;
    });
    QCOMPARE(count, expected);
    QCOMPARE(got.size(), expected);
    for (int i = 0; i < got.size(); ++i) {
        QCOMPARE(got.at(i).index, i);
        QCOMPARE(got.at(i).path, m_paths.at(i));
        QCOMPARE(got.at(i).failure, m_expected.at(i));
        QVERIFY(got.at(i).onMainThread);
    }
}

void TestBatchDecoder::blockingFormStopsWorkersWhenReceiverThrows()
{
    auto decoder = std::make_shared<SlowDecoder>();
    QStringList paths;
    for (int i = 0; i < 40; ++i)
        paths.append(m_paths.at(0));
    for (const QString &path : m_paths)
        decoder->delayMs.insert(path, 10);
    BatchDecoder batch(decoder);
    batch.setThreadCount(2);
    int calls = 0;
    bool threw = false;
    try {
        batch.decodeInOrder(paths, [&](int, const DecodedPicture &) -> bool {
            ++calls;
            throw std::runtime_error("frame could not be added");
        });
    } catch (const std::runtime_error &) {
        threw = true;
    }
    QVERIFY(threw);
    QCOMPARE(calls, 1);
    QTest::qWait(200);
    // Queued work saw the stop: only what was in flight ran.
    QVERIFY2(decoder->started.load() <= batch.maxInFlight() + 1, qPrintable(QString::number(decoder->started.load())));
}

void TestBatchDecoder::otherWorkRunsInOrderAndStops_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stopAt"); // -1: never
    QTest::newRow("none") << 0 << -1;
    QTest::newRow("one") << 1 << -1;
    QTest::newRow("many, later ones end first") << 24 << -1;
    QTest::newRow("stopped at the first") << 24 << 0;
    QTest::newRow("stopped half way") << 24 << 11;
}

void TestBatchDecoder::otherWorkRunsInOrderAndStops()
{
    QFETCH(int, count);
    QFETCH(int, stopAt);
    BatchDecoder batch;
    batch.setThreadCount(3);
    std::vector<std::atomic<int>> state(std::size_t(count + 1)); // 0 not begun, 1 running, 2 ended
    std::atomic<int> mostAhead{0};
    std::atomic<int> handed{0};
    QList<int> order;
    const int done = batch.runInOrder(count, [&](int index) {
        state[std::size_t(index)] = 1;
        mostAhead = std::max(mostAhead.load(), index - handed.load());
        QThread::msleep(std::max(0, 12 - index / 2));
        state[std::size_t(index)] = 2;
    }, [&](int index) {
        order.append(index);
        handed = index + 1;
        // The work for this index has ended before it is handed over.
        return state[std::size_t(index)] == 2 && index != stopAt;
    });
    const int expected = stopAt < 0 ? count : stopAt + 1;
    QCOMPARE(done, expected);
    QList<int> inOrder;
    for (int i = 0; i < expected; ++i)
        inOrder.append(i);
    QCOMPARE(order, inOrder);
    QVERIFY(mostAhead <= batch.maxInFlight());
    // Nothing is still running once the call returns; after a stop, nothing past the window began.
    for (int i = 0; i < count; ++i) {
        QVERIFY(state[std::size_t(i)] != 1);
        if (stopAt >= 0 && i > stopAt + batch.maxInFlight())
            QCOMPARE(state[std::size_t(i)].load(), 0);
    }
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestBatchDecoder test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_decoder.moc"

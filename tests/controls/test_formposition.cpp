#include "controls/FormPosition.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString SettingsPath = u"Software\\Tarnwick\\Quillon\\Reelcraft"_s;
const QString PositionKey = SettingsPath + u"\\Form Positions\\Color Picker Zoom"_s;
const QPoint DesignPlace(10, 20);
const QSize DesignSize(300, 200);

std::unique_ptr<QWidget> designedWindow()
{
    auto window = std::make_unique<QWidget>();
    window->move(DesignPlace);
    window->resize(DesignSize);
    return window;
}

} // namespace

class TestFormPosition : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void load_data();
    void load();
    void saveThenLoad_data();
    void saveThenLoad();
    void saveToUnwritableRegistryFails();

private:
    std::unique_ptr<Registry> m_registry;
};

void TestFormPosition::init()
{
    m_registry = std::make_unique<Registry>();
    m_registry->deleteKey(Registry::Root::CurrentUser, SettingsPath + u"\\Form Positions"_s);
}

void TestFormPosition::load_data()
{
    QTest::addColumn<QStringList>("stored"); // name=value pairs
    QTest::addColumn<bool>("maximisedBefore");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("state");

    const int normal = Qt::WindowNoState;
    const int maximised = Qt::WindowMaximized;
    const int minimised = Qt::WindowMinimized;
    const QStringList numbers{u"Top=50"_s, u"Left=60"_s, u"Width=310"_s, u"Height=220"_s};

    QTest::newRow("nothing stored keeps the design place")
        << QStringList{} << false << false << DesignPlace << DesignSize << normal;
    QTest::newRow("normal with all numbers")
        << numbers + QStringList{u"Window State=Normal"_s} << false << true << QPoint(60, 50) << QSize(310, 220) << normal;
    QTest::newRow("state word without regard to case")
        << numbers + QStringList{u"Window State=nORMAL"_s} << false << true << QPoint(60, 50) << QSize(310, 220) << normal;
    QTest::newRow("maximised ignores the numbers")
        << numbers + QStringList{u"Window State=Max"_s} << false << true << DesignPlace << DesignSize << maximised;
    QTest::newRow("minimised ignores the numbers")
        << numbers + QStringList{u"Window State=min"_s} << false << true << DesignPlace << DesignSize << minimised;
    QTest::newRow("normal state ends a maximised window")
        << numbers + QStringList{u"Window State=Normal"_s} << true << true << QPoint(60, 50) << QSize(310, 220) << normal;
    QTest::newRow("top of -999 gives false, the rest applies")
        << QStringList{u"Top=-999"_s, u"Left=60"_s, u"Width=310"_s, u"Height=220"_s, u"Window State=Normal"_s}
        << false << false << QPoint(60, DesignPlace.y()) << QSize(310, 220) << normal;
    QTest::newRow("only a height stored")
        << QStringList{u"Height=222"_s, u"Window State=Normal"_s}
        << false << false << DesignPlace << QSize(DesignSize.width(), 222) << normal;
    QTest::newRow("numbers without a state word")
        << numbers << false << false << QPoint(60, 50) << QSize(310, 220) << normal;
    QTest::newRow("unknown state word")
        << numbers + QStringList{u"Window State=Huge"_s} << false << false << QPoint(60, 50) << QSize(310, 220) << normal;
    QTest::newRow("unknown state word leaves a maximised window alone")
        << numbers + QStringList{u"Window State=Huge"_s} << true << false << DesignPlace << DesignSize << maximised;
    QTest::newRow("a number that does not parse is not applied")
        << QStringList{u"Top=abc"_s, u"Left=6x"_s, u"Width=310"_s, u"Height=220"_s, u"Window State=Normal"_s}
        << false << false << DesignPlace << QSize(310, 220) << normal;
    QTest::newRow("negative places are real places")
        << QStringList{u"Top=-5"_s, u"Left=-1200"_s, u"Window State=Normal"_s}
        << false << true << QPoint(-1200, -5) << DesignSize << normal;
}

void TestFormPosition::load()
{
    QFETCH(QStringList, stored);
    QFETCH(bool, maximisedBefore);
    QFETCH(bool, result);
    QFETCH(QPoint, place);
    QFETCH(QSize, size);
    QFETCH(int, state);

    for (const QString &pair : stored) {
        const qsizetype equals = pair.indexOf(u'=');
        QVERIFY(m_registry->writeString(Registry::Root::CurrentUser, PositionKey, pair.left(equals),
                                        pair.mid(equals + 1)));
    }
    RegistryKey key(*m_registry);
    QVERIFY(key.openKey(SettingsPath, true));
    auto window = designedWindow();
    if (maximisedBefore)
        window->setWindowState(Qt::WindowMaximized);

    QCOMPARE(LoadFormPosition(key, window.get(), u"Color Picker Zoom"_s), result);
    QCOMPARE(window->pos(), place);
    QCOMPARE(window->size(), size);
    QCOMPARE(int(window->windowState()), state);
    QCOMPARE(key.currentPath(), SettingsPath);
}

void TestFormPosition::saveThenLoad_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("stateWord");
    QTest::newRow("normal") << int(Qt::WindowNoState) << u"Normal"_s;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << u"Max"_s;
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << u"Min"_s;
}

void TestFormPosition::saveThenLoad()
{
    QFETCH(int, state);
    QFETCH(QString, stateWord);
    RegistryKey key(*m_registry);
    QVERIFY(key.openKey(SettingsPath, true));

    QWidget saved;
    saved.move(70, 80);
    saved.resize(320, 240);
    saved.setWindowState(Qt::WindowStates(state));
    QVERIFY(SaveFormPosition(key, &saved, u"Color Picker Zoom"_s));

    Registry reread;
    const auto value = [&reread](const QString &name) {
        return reread.readString(Registry::Root::CurrentUser, PositionKey, name);
    };
    // A maximised or minimised window writes where it is now, which the platform decides.
    QCOMPARE(value(u"Top"_s), QString::number(saved.y()));
    QCOMPARE(value(u"Left"_s), QString::number(saved.x()));
    QCOMPARE(value(u"Width"_s), QString::number(saved.width()));
    QCOMPARE(value(u"Height"_s), QString::number(saved.height()));
    if (state == Qt::WindowNoState) {
        QCOMPARE(value(u"Top"_s), u"80"_s);
        QCOMPARE(value(u"Left"_s), u"70"_s);
        QCOMPARE(value(u"Width"_s), u"320"_s);
        QCOMPARE(value(u"Height"_s), u"240"_s);
    }
    QCOMPARE(value(u"Window State"_s), stateWord);

    auto restored = designedWindow();
    QVERIFY(LoadFormPosition(key, restored.get(), u"Color Picker Zoom"_s));
    QCOMPARE(int(restored->windowState()), state);
    if (state == Qt::WindowNoState) {
        QCOMPARE(restored->pos(), QPoint(70, 80));
        QCOMPARE(restored->size(), QSize(320, 240));
    }
}

void TestFormPosition::saveToUnwritableRegistryFails()
{
    // The settings folder is a regular file, so no write can succeed (also for root).
    const QString folder = TestEnvironment::instance().freshFolder(u"unwritable"_s);
    QFile blocker(folder + u"/notafolder"_s);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Registry registry(blocker.fileName() + u"/registry.json"_s, QString());
    RegistryKey key(registry);
    key.openKey(SettingsPath, true);
    QWidget window;
    QVERIFY(!SaveFormPosition(key, &window, u"Main"_s));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestFormPosition test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_formposition.moc"

#include "colour/ColourSearch.h"
#include "colour/PaletteFiles.h"

#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

// reelcraft-cli palette, spectrum and nearest, run as a user runs them.
class TestColourCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void commands_data();
    void commands();
    void spectrumPictures();

private:
    ProgramRun run(const QStringList &arguments) const
    {
        return runProgram(QStringLiteral(REELCRAFT_CLI_PATH), arguments, m_folder);
    }
    QString m_folder;
};

void TestColourCli::initTestCase()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("cli"));
    writeAll(m_folder + u"/bad.gif"_s, QByteArray("GIF89a no table here"));
    QByteArray shortRiff = QByteArray("RIFF\0\0\0\0PAL data\0\0\0\0\0\x03\x04\0", 24) + QByteArray("\x01\x02\x03\0", 4);
    writeAll(m_folder + u"/short.pal"_s, shortRiff);
    QVERIFY(QDir().mkpath(m_folder + u"/folder.png"_s));
}

void TestColourCli::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines"); // "N=text": line N of standard output
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("error");     // a part of standard error; "" for nothing at all

    QTest::newRow("built-in palette") << QStringList{u"palette"_s, u"websafe.pal"_s} << 0
                                      << QStringList{u"0=255,255,255"_s, u"1=255,255,204"_s, u"215=0,0,0"_s, u"255=0,0,0"_s}
                                      << 256 << u""_s;
    QTest::newRow("entries stop early: palette and message") << QStringList{u"palette"_s, u"short.pal"_s} << 0
                                                            << QStringList{u"0=1,2,3"_s, u"1=0,0,0"_s} << 256
                                                            << u"ends after 1 of its 4 colours"_s;
    QTest::newRow("not a GIF") << QStringList{u"palette"_s, u"bad.gif"_s} << 1 << QStringList{} << 0
                               << GifPaletteMessage();
    QTest::newRow("missing file") << QStringList{u"palette"_s, u"missing.pal"_s} << 1 << QStringList{} << 0
                                  << u"Cannot open file"_s;
    QTest::newRow("nearest white") << QStringList{u"nearest"_s, u"255,255,255"_s, u"websafe.pal"_s} << 0
                                   << QStringList{u"0=0,0 255,255,255"_s} << 1 << u""_s;
    QTest::newRow("nearest black: first in column order") << QStringList{u"nearest"_s, u"1,1,1"_s, u"websafe.pal"_s} << 0
                                                          << QStringList{u"0=0,14 0,0,0"_s} << 1 << u""_s;
    QTest::newRow("nearest in the spectrum") << QStringList{u"nearest"_s, u"255,0,0"_s, u"--spectrum"_s} << 0
                                             << QStringList{u"0=45,0 255,0,0"_s} << 1 << u""_s;
    QTest::newRow("channel out of range") << QStringList{u"nearest"_s, u"300,0,0"_s, u"--spectrum"_s} << 2 << QStringList{}
                                          << 0 << u"is not R,G,B"_s;
    QTest::newRow("spectrum into a folder") << QStringList{u"spectrum"_s, u"folder.png"_s} << 1 << QStringList{} << 0
                                            << u"cannot write"_s;
}

void TestColourCli::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QFETCH(int, lineCount);
    QFETCH(QString, error);

    const ProgramRun result = run(arguments);
    QCOMPARE(result.status, status);
    const QStringList out = QString::fromUtf8(result.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(out.size(), lineCount);
    for (const QString &line : lines)
        QCOMPARE(out.at(line.section(QLatin1Char('='), 0, 0).toInt()), line.section(QLatin1Char('='), 1));
    const QString err = QString::fromUtf8(result.err);
    QVERIFY2(error.isEmpty() ? err.isEmpty() : err.contains(error), qPrintable(err));
}

void TestColourCli::spectrumPictures()
{
    const ProgramRun result = run({u"spectrum"_s, u"s.png"_s, u"g.png"_s});
    QCOMPARE(result.status, 0);
    const QImage spectrum(m_folder + u"/s.png"_s);
    const QImage greys(m_folder + u"/g.png"_s);
    QCOMPARE(spectrum.convertToFormat(QImage::Format_RGB888), BuildSpectrum());
    QCOMPARE(greys.convertToFormat(QImage::Format_RGB888), BuildGreyStrip());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestColourCli test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_colour_cli.moc"

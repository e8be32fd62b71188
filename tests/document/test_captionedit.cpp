#include "document/CaptionText.h"
#include "document/FramePictureFiles.h"
#include "document/TCaptionEdit.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

class TestCaptionEdit : public QObject
{
    Q_OBJECT
private slots:
    void captionFromBoxText_data();
    void captionFromBoxText();
    void boxRefusesBarsAndLineBreaks_data();
    void boxRefusesBarsAndLineBreaks();
    void pictureFiles_data();
    void pictureFiles();
    void folderWithSeparator_data();
    void folderWithSeparator();
};

void TestCaptionEdit::captionFromBoxText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << "Sunset" << "Sunset";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("CR LF") << "a\r\nb" << "a b";
    QTest::newRow("two CR LF") << "a\r\n\r\nb" << "a  b";
    QTest::newRow("LF alone") << "a\nb" << "a b";
    QTest::newRow("CR alone") << "a\rb" << "a b";
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << "a  b";
    QTest::newRow("trailing CR LF") << "end\r\n" << "end ";
    QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b") << "a b";
    QTest::newRow("blanks kept") << "  a  " << "  a  ";
}

void TestCaptionEdit::captionFromBoxText()
{
    QFETCH(QString, box);
    QFETCH(QString, caption);
    QCOMPARE(CaptionFromBoxText(box), caption);
}

void TestCaptionEdit::boxRefusesBarsAndLineBreaks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("text");
    QTest::newRow("typed") << "abc" << "" << "abc";
    QTest::newRow("typed bar") << "a|b|" << "" << "ab";
    QTest::newRow("pasted bar") << "" << "x|y|z" << "x/y/z";
    QTest::newRow("typed then pasted") << "ab" << "|c" << "ab/c";
    QTest::newRow("pasted line break kept in the box") << "" << "one\r\ntwo" << "one\ntwo";
}

void TestCaptionEdit::boxRefusesBarsAndLineBreaks()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, text);
    QWidget window;
    auto *box = new TCaptionEdit(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    QCOMPARE(box->objectName(), QStringLiteral("txtCaption"));

    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter);
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(box->toPlainText(), text);
    QCOMPARE(box->blockCount(), int(text.count(u'\n')) + 1);
    QVERIFY(box->tabChangesFocus());
}

void TestCaptionEdit::pictureFiles_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("any case")
        << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/p/a.gif")), QUrl::fromLocalFile(QStringLiteral("/p/B.JPG")),
                       QUrl::fromLocalFile(QStringLiteral("/p/c.Jpeg")), QUrl::fromLocalFile(QStringLiteral("/p/d.GiF"))}
        << QStringList{QStringLiteral("/p/a.gif"), QStringLiteral("/p/B.JPG"), QStringLiteral("/p/c.Jpeg"),
                       QStringLiteral("/p/d.GiF")};
    QTest::newRow("others left out")
        << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/p/a.png")), QUrl::fromLocalFile(QStringLiteral("/p/gif")),
                       QUrl::fromLocalFile(QStringLiteral("/p/a.jpg.txt")), QUrl(QStringLiteral("https://h/x.jpg")),
                       QUrl::fromLocalFile(QStringLiteral("/p/ok.jpg"))}
        << QStringList{QStringLiteral("/p/ok.jpg")};
    QTest::newRow("none") << QList<QUrl>{} << QStringList{};
}

void TestCaptionEdit::pictureFiles()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QStringList, files);
    QCOMPARE(FramePictureFilesFromUrls(urls), files);
}

void TestCaptionEdit::folderWithSeparator_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("folder");
    QTest::newRow("file") << "/pics/holiday/a.gif" << "/pics/holiday/";
    QTest::newRow("root") << "/a.gif" << "/";
    QTest::newRow("no folder") << "a.gif" << "";
}

void TestCaptionEdit::folderWithSeparator()
{
    QFETCH(QString, file);
    QFETCH(QString, folder);
    QCOMPARE(FolderWithSeparator(file), folder);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestCaptionEdit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_captionedit.moc"

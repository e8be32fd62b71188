#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"
#include "document/SettingsKey.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList paths(const AnimationDocument &document)
{
    QStringList result;
    for (const AnimationFrame &frame : document.Frames())
        result << frame.PicturePath;
    return result;
}

// A document with the frames A, B, C, ... in this order.
void addFrames(AnimationDocument &document, const QString &names)
{
    for (QChar name : names)
        document.appendFrame(QString(name), QString());
}

int countSelected(const AnimationDocument &document)
{
    int n = 0;
    for (const AnimationFrame &frame : document.Frames())
        n += frame.Selected ? 1 : 0;
    return n;
}

} // namespace

using namespace Qt::StringLiterals;

class TestAnimationDocument : public QObject
{
    Q_OBJECT
private slots:
    void init() { prompts.clear(); }

    void startupValues();
    void resetValues();
    void resetOrderAndSignals();
    void resetOnEmptyDocumentStillSetsCaption();
    void resetClearsBackgroundColour_data();
    void resetClearsBackgroundColour();
    void backgroundFieldHasNoWarnings();
    void listItemsAndSelection_data();
    void listItemsAndSelection();
    void settingSignalsOnlyOnRealChange();
    void captionAndFileName_data();
    void captionAndFileName();
    void reorder_data();
    void reorder();
    void selectionKeepsCount();
    void removingFramesKeepsCurrentAndCount();
    void removeSelectedFrames();
    void moveKeepsCurrentFrame();
    void clearFramesDropsEverything();
    void framePictureAndCaption();
    void largestFrameSide_data();
    void largestFrameSide();
    void badIndexesChangeNothing();
    void settingsKeyNames();

private:
    PromptsDouble prompts;
    void sharedFolderNames_data();
    void sharedFolderNames();
};

void TestAnimationDocument::startupValues()
{
    AnimationDocument document(prompts);
    const AnimationSettings &s = document.settings();
    QCOMPARE(s.JavaWidth, QStringLiteral("600"));
    QCOMPARE(s.JavaHeight, QStringLiteral("200"));
    QCOMPARE(s.BetweenFrames, QStringLiteral("500"));
    QCOMPARE(s.Delay, QStringLiteral("0"));
    QCOMPARE(s.Repeat, QString());
    QCOMPARE(s.Soundtrack, QString());
    QCOMPARE(s.BackImage, QString());
    QCOMPARE(s.HorizSpeed, QStringLiteral("0"));
    QCOMPARE(s.VerticalSpeed, QStringLiteral("0"));
    QCOMPARE(s.FontSize, QStringLiteral("16"));
    QCOMPARE(document.selectedItemText(ListSetting::Edge), QStringLiteral("Bounce Off Edge"));
    QCOMPARE(document.selectedItemText(ListSetting::HorizDirection), QStringLiteral("No Sideways Movement"));
    QCOMPARE(document.selectedItemText(ListSetting::VertDirection), QStringLiteral("No Vertical Movement"));
    QCOMPARE(document.selectedIndex(ListSetting::FontName), -1);
    QCOMPARE(document.selectedIndex(ListSetting::FontStyle), -1);
    QCOMPARE(document.selectedItemText(ListSetting::FontName), QString());
    QCOMPARE(document.BackgroundColour().Text(), QString());
    QVERIFY(!document.BackgroundColour().IsHtmlColour());
    QCOMPARE(document.frameCount(), 0);
    QCOMPARE(document.CurrentFrame(), -1);
    QCOMPARE(document.SelectedCount(), 0);
    QCOMPARE(document.CurrentFileName(), QString());
    QCOMPARE(document.Caption(), QStringLiteral("Java Reelcraft 1.7"));
}

void TestAnimationDocument::resetValues()
{
    AnimationDocument document(prompts);
    // Change everything first, so the reset has work to do.
    for (TextSetting setting : AnimationSettings::allTextSettings())
        document.setText(setting, QStringLiteral("7"));
    document.setSelectedIndex(ListSetting::Edge, DisappearOffEdge);
    document.setSelectedIndex(ListSetting::HorizDirection, RightToLeft);
    document.setSelectedIndex(ListSetting::VertDirection, TopToBottom);
    document.setSelectedIndex(ListSetting::FontName, 5);
    document.setSelectedIndex(ListSetting::FontStyle, FontStyleBoldItalic);

    document.ResetDocument();
    const AnimationSettings &s = document.settings();
    QCOMPARE(s.JavaWidth, QStringLiteral("600"));
    QCOMPARE(s.JavaHeight, QStringLiteral("200"));
    QCOMPARE(s.BetweenFrames, QStringLiteral("0")); // not the start-up 500
    QCOMPARE(s.Delay, QStringLiteral("0"));
    QCOMPARE(s.Repeat, QString());
    QCOMPARE(s.Soundtrack, QString());
    QCOMPARE(s.BackImage, QString());
    QCOMPARE(s.HorizSpeed, QStringLiteral("0"));
    QCOMPARE(s.VerticalSpeed, QStringLiteral("0"));
    QCOMPARE(s.FontSize, QStringLiteral("16"));
    QCOMPARE(document.selectedItemText(ListSetting::Edge), QStringLiteral("Bounce Off Edge"));
    QCOMPARE(document.selectedItemText(ListSetting::HorizDirection), QStringLiteral("No Sideways Movement"));
    QCOMPARE(document.selectedItemText(ListSetting::VertDirection), QStringLiteral("No Vertical Movement"));
    QCOMPARE(document.selectedItemText(ListSetting::FontName), QStringLiteral("Helvetica"));
    QCOMPARE(document.selectedItemText(ListSetting::FontStyle), QStringLiteral("[None]"));
    QCOMPARE(s, AnimationSettings::ResetValues());
    QVERIFY(AnimationSettings::ResetValues() != AnimationSettings::StartupValues());
}

void TestAnimationDocument::resetOrderAndSignals()
{
    AnimationDocument document(prompts);
    document.setText(TextSetting::Soundtrack, QStringLiteral("a.au"));
    document.setText(TextSetting::JavaWidth, QStringLiteral("10"));
    document.setText(TextSetting::Delay, QStringLiteral("5"));
    document.BackgroundColour().SetText(QStringLiteral("FF0000"));
    addFrames(document, QStringLiteral("AB"));
    document.SetSelected(1, true);
    document.SetCurrentFrame(1);
    document.SetCurrentFileName(QStringLiteral("/anim/demo.rcf"));

    QStringList events;
    connect(&document, &AnimationDocument::textSettingChanged, this, [&](TextSetting s) {
        events << QStringLiteral("text %1").arg(int(s));
    });
    connect(&document, &AnimationDocument::listSettingChanged, this, [&](ListSetting s) {
        events << QStringLiteral("list %1").arg(int(s));
    });
    connect(&document, &AnimationDocument::backgroundColourChanged, this,
            [&] { events << QStringLiteral("colour"); });
    connect(&document, &AnimationDocument::framesCleared, this, [&] {
        QCOMPARE(document.SelectedCount(), 0);
        events << QStringLiteral("cleared");
    });
    connect(&document, &AnimationDocument::currentFrameChanged, this,
            [&](int index) { events << QStringLiteral("current %1").arg(index); });
    connect(&document, &AnimationDocument::captionChanged, this,
            [&](const QString &caption) { events << caption; });
    connect(&document, &AnimationDocument::documentReset, this, [&] { events << QStringLiteral("reset"); });

    document.ResetDocument();
    // Only real changes, in the reset's order: size, files, lists, font, speeds and timing,
    // colour, frames, caption.
    const QStringList expected = {
        QStringLiteral("text %1").arg(int(TextSetting::JavaWidth)),
        QStringLiteral("text %1").arg(int(TextSetting::Soundtrack)),
        QStringLiteral("list %1").arg(int(ListSetting::FontName)),
        QStringLiteral("list %1").arg(int(ListSetting::FontStyle)),
        QStringLiteral("text %1").arg(int(TextSetting::BetweenFrames)),
        QStringLiteral("text %1").arg(int(TextSetting::Delay)),
        QStringLiteral("colour"),
        QStringLiteral("cleared"),
        QStringLiteral("current -1"),
        QStringLiteral("Reelcraft"),
        QStringLiteral("reset"),
    };
    QCOMPARE(events, expected);
    QCOMPARE(document.frameCount(), 0);
    QCOMPARE(document.CurrentFrame(), -1);
    QVERIFY(!document.HasCurrentFrame());
    QCOMPARE(document.SelectedCount(), 0);
    QCOMPARE(document.CurrentFileName(), QString());
    QCOMPARE(document.Caption(), QStringLiteral("Reelcraft"));
}

void TestAnimationDocument::resetOnEmptyDocumentStillSetsCaption()
{
    AnimationDocument document(prompts);
    QSignalSpy captions(&document, &AnimationDocument::captionChanged);
    QSignalSpy cleared(&document, &AnimationDocument::framesCleared);
    QSignalSpy resets(&document, &AnimationDocument::documentReset);
    document.ResetDocument();
    QCOMPARE(captions.size(), 1);
    QCOMPARE(document.Caption(), QStringLiteral("Reelcraft"));
    // The window lays out the (empty) strip on these.
    QCOMPARE(cleared.size(), 1);
    QCOMPARE(resets.size(), 1);
    document.ResetDocument();
    QCOMPARE(captions.size(), 1);
    QCOMPARE(cleared.size(), 2);
    QCOMPARE(prompts.texts(), QStringList());
}

void TestAnimationDocument::resetClearsBackgroundColour_data()
{
    QTest::addColumn<bool>("decimal");
    QTest::newRow("hexadecimal mode") << false;
    QTest::newRow("decimal mode") << true;
}

void TestAnimationDocument::resetClearsBackgroundColour()
{
    QFETCH(bool, decimal);
    AnimationDocument document(prompts);
    HtmlColourField &colour = document.BackgroundColour();
    colour.SetText(QStringLiteral("#00FF00"));
    QVERIFY(colour.IsHtmlColour());
    QCOMPARE(colour.HtmlColour(), QStringLiteral("00FF00"));
    if (decimal) {
        colour.SetText(QStringLiteral("0,255,0"));
        QVERIFY(colour.DecimalMode());
        QVERIFY(colour.IsHtmlColour());
    }
    document.ResetDocument();
    QVERIFY(!colour.IsHtmlColour());
    QCOMPARE(colour.HtmlColour(), QString());
    QCOMPARE(colour.Text(), QString());
    QCOMPARE(colour.Colour(), NoValidColour);
    QCOMPARE(colour.DecimalMode(), decimal);
}

void TestAnimationDocument::backgroundFieldHasNoWarnings()
{
    AnimationDocument document(prompts);
    QSignalSpy changes(&document, &AnimationDocument::backgroundColourChanged);
    QVERIFY(!document.BackgroundColour().Warnings());
    document.BackgroundColour().SetText(QStringLiteral("1,2,300"));
    QCOMPARE(document.BackgroundColour().Colour(), NoValidColour);
    QCOMPARE(prompts.texts(), QStringList());
    // The mode change and the change processing both reach the window.
    QCOMPARE(changes.size(), 2);
}

void TestAnimationDocument::listItemsAndSelection_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("edge") << int(ListSetting::Edge)
                          << QStringList{QStringLiteral("Bounce Off Edge"), QStringLiteral("Disappear Off Edge")};
    QTest::newRow("horizontal") << int(ListSetting::HorizDirection)
                                << QStringList{QStringLiteral("No Sideways Movement"),
                                               QStringLiteral("Left To Right"), QStringLiteral("Right To Left")};
    QTest::newRow("vertical") << int(ListSetting::VertDirection)
                              << QStringList{QStringLiteral("No Vertical Movement"),
                                             QStringLiteral("Top To Bottom"), QStringLiteral("Bottom To Top")};
    QTest::newRow("font name") << int(ListSetting::FontName)
                               << QStringList{QStringLiteral("Helvetica"), QStringLiteral("TimesRoman"),
                                              QStringLiteral("Courier"), QStringLiteral("Dialog"),
                                              QStringLiteral("DialogInput"), QStringLiteral("Symbol")};
    QTest::newRow("font style") << int(ListSetting::FontStyle)
                                << QStringList{QStringLiteral("[None]"), QStringLiteral("Bold"),
                                               QStringLiteral("Italic"), QStringLiteral("Bold + Italic")};
}

void TestAnimationDocument::listItemsAndSelection()
{
    QFETCH(int, setting);
    QFETCH(QStringList, items);
    const auto list = ListSetting(setting);
    QCOMPARE(AnimationSettings::items(list), items);
    AnimationDocument document(prompts);
    const int last = int(items.size()) - 1;
    document.setSelectedIndex(list, last);
    QCOMPARE(document.selectedIndex(list), last);
    QCOMPARE(document.selectedItemText(list), items.last());
    // Past the last item there is no selected item.
    document.setSelectedIndex(list, last + 1);
    QCOMPARE(document.selectedIndex(list), -1);
    QCOMPARE(document.selectedItemText(list), QString());
    document.setSelectedIndex(list, 0);
    document.setSelectedIndex(list, -7);
    QCOMPARE(document.selectedIndex(list), -1);
}

void TestAnimationDocument::settingSignalsOnlyOnRealChange()
{
    AnimationDocument document(prompts);
    QSignalSpy texts(&document, &AnimationDocument::textSettingChanged);
    QSignalSpy lists(&document, &AnimationDocument::listSettingChanged);
    document.setText(TextSetting::JavaWidth, QStringLiteral("600"));
    document.setSelectedIndex(ListSetting::Edge, BounceOffEdge);
    document.setSelectedIndex(ListSetting::FontName, 9);
    QCOMPARE(texts.size(), 0);
    QCOMPARE(lists.size(), 0);
    // Texts are kept as typed, not checked or converted.
    document.setText(TextSetting::JavaWidth, QStringLiteral(" 0600x"));
    QCOMPARE(document.text(TextSetting::JavaWidth), QStringLiteral(" 0600x"));
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts.at(0).at(0).value<TextSetting>(), TextSetting::JavaWidth);
}

void TestAnimationDocument::captionAndFileName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("windows path") << QStringLiteral("C:\\anim\\demo.rcf")
                                  << QStringLiteral("Reelcraft - [C:\\anim\\demo.rcf]");
    QTest::newRow("posix path") << QStringLiteral("/anim/demo.rcf")
                                << QStringLiteral("Reelcraft - [/anim/demo.rcf]");
    // The name is kept whole even though the caption form would cut it at the "]".
    QTest::newRow("bracket in name") << QStringLiteral("/anim/a]b.rcf")
                                     << QStringLiteral("Reelcraft - [/anim/a]b.rcf]");
}

void TestAnimationDocument::captionAndFileName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, caption);
    AnimationDocument document(prompts);
    document.SetCurrentFileName(fileName);
    QCOMPARE(document.CurrentFileName(), fileName);
    QCOMPARE(document.Caption(), caption);
    document.SetCaption(QString(AnimationDocument::DeleteAllCaption));
    QCOMPARE(document.Caption(), QStringLiteral("Reelcraft 1.7"));
    QCOMPARE(document.CurrentFileName(), QString());
    document.SetCurrentFileName(fileName);
    document.ResetDocument();
    QCOMPARE(document.CurrentFileName(), QString());
}

void TestAnimationDocument::reorder_data()
{
    QTest::addColumn<bool>("exchange");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("A onto C") << false << 0 << 2
                              << QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")};
    QTest::newRow("C onto A") << false << 2 << 0
                              << QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("A onto B") << false << 0 << 1
                              << QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")};
    QTest::newRow("exchange A and C") << true << 0 << 2
                                      << QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")};
    QTest::newRow("onto itself") << false << 1 << 1
                                 << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
}

void TestAnimationDocument::reorder()
{
    QFETCH(bool, exchange);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, order);
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("ABC"));
    document.SetSelected(from, true);
    document.SetCurrentFrame(from);
    const FrameId moved = document.frame(from).Id;
    QSignalSpy moves(&document, &AnimationDocument::frameMoved);
    QSignalSpy exchanges(&document, &AnimationDocument::framesExchanged);
    QVERIFY(exchange ? document.exchangeFrames(from, to) : document.moveFrame(from, to));
    QCOMPARE(paths(document), order);
    QCOMPARE(moves.size(), !exchange && from != to ? 1 : 0);
    QCOMPARE(exchanges.size(), exchange && from != to ? 1 : 0);
    // Selection and the current frame travel with the frame.
    QCOMPARE(document.CurrentFrameId(), moved);
    QCOMPARE(document.frame(document.CurrentFrame()).PicturePath, QString(QChar(u'A' + from)));
    QVERIFY(document.frame(document.CurrentFrame()).Selected);
    QCOMPARE(document.SelectedCount(), 1);
}

void TestAnimationDocument::selectionKeepsCount()
{
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("ABCD"));
    QSignalSpy selections(&document, &AnimationDocument::frameSelectionChanged);
    document.SetSelected(0, true);
    document.SetSelected(0, true); // no change: no double count
    document.SetSelected(2, true);
    document.SetSelected(3, true);
    QCOMPARE(document.SelectedCount(), 3);
    QCOMPARE(selections.size(), 3);
    document.SetSelected(1, false);
    QCOMPARE(document.SelectedCount(), 3);
    QCOMPARE(document.selectedIndexes(), (QList<int>{0, 2, 3}));
    document.ClearSelection(2);
    QCOMPARE(document.selectedIndexes(), QList<int>{2});
    QCOMPARE(document.SelectedCount(), 1);
    document.ClearSelection(-1);
    QCOMPARE(document.SelectedCount(), 0);
    QCOMPARE(countSelected(document), 0);
    QCOMPARE(selections.size(), 6);
}

void TestAnimationDocument::removingFramesKeepsCurrentAndCount()
{
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("ABCD"));
    document.SetSelected(1, true);
    document.SetSelected(3, true);
    document.SetCurrentFrame(2);
    QSignalSpy removals(&document, &AnimationDocument::frameRemoved);
    QSignalSpy currents(&document, &AnimationDocument::currentFrameChanged);

    const FrameId removedId = document.frame(1).Id;
    QVERIFY(document.removeFrame(1)); // selected B, before the current C
    QCOMPARE(paths(document), (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")}));
    QCOMPARE(document.SelectedCount(), 1);
    QCOMPARE(document.CurrentFrame(), 1);
    QCOMPARE(removals.size(), 1);
    QCOMPARE(removals.at(0).at(0).toInt(), 1);
    QCOMPARE(removals.at(0).at(1).value<FrameId>(), removedId);
    QCOMPARE(currents.size(), 0);
    QCOMPARE(document.indexOf(removedId), -1);

    QVERIFY(document.removeFrame(1)); // the current frame C, not selected
    QCOMPARE(document.CurrentFrame(), -1);
    QCOMPARE(currents.size(), 1);
    QCOMPARE(currents.at(0).at(0).toInt(), -1);
    QCOMPARE(document.SelectedCount(), 1);
    QCOMPARE(document.SelectedCount(), countSelected(document));

    // A new frame never takes over the identity of a removed one.
    document.appendFrame(QStringLiteral("E"), QString());
    QCOMPARE(document.CurrentFrame(), -1);
    QVERIFY(document.frame(2).Id != removedId);
}

void TestAnimationDocument::removeSelectedFrames()
{
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("ABCDE"));
    document.SetSelected(0, true);
    document.SetSelected(2, true);
    document.SetSelected(4, true);
    document.SetCurrentFrame(4);
    QList<int> removedAt;
    connect(&document, &AnimationDocument::frameRemoved, this,
            [&](int index, FrameId) { removedAt << index; });
    QCOMPARE(document.removeSelectedFrames(), 3);
    // From the last to the first, so every reported index is still right when it comes.
    QCOMPARE(removedAt, (QList<int>{4, 2, 0}));
    QCOMPARE(paths(document), (QStringList{QStringLiteral("B"), QStringLiteral("D")}));
    QCOMPARE(document.SelectedCount(), 0);
    QCOMPARE(document.CurrentFrame(), -1);
    QCOMPARE(document.removeSelectedFrames(), 0);
}

void TestAnimationDocument::moveKeepsCurrentFrame()
{
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("ABCD"));
    document.SetCurrentFrame(3);
    document.SetSelected(3, true);
    document.SetSelected(0, true);
    QVERIFY(document.moveFrame(3, 0));
    QCOMPARE(document.CurrentFrame(), 0);
    QCOMPARE(document.frame(0).PicturePath, QStringLiteral("D"));
    QCOMPARE(document.SelectedCount(), 2);
    QVERIFY(document.exchangeFrames(0, 3));
    QCOMPARE(document.CurrentFrame(), 3);
    QCOMPARE(paths(document), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B"),
                                           QStringLiteral("D")}));
    QCOMPARE(document.selectedIndexes(), (QList<int>{1, 3}));
}

void TestAnimationDocument::clearFramesDropsEverything()
{
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("ABC"));
    document.SetSelected(0, true);
    document.SetSelected(1, true);
    document.SetCurrentFrame(1);
    document.clearFrames();
    QCOMPARE(document.frameCount(), 0);
    QCOMPARE(document.SelectedCount(), 0);
    QCOMPARE(document.CurrentFrame(), -1);
    document.SetCurrentFrame(0);
    QCOMPARE(document.CurrentFrame(), -1);
}

void TestAnimationDocument::framePictureAndCaption()
{
    AnimationDocument document(prompts);
    const int index = document.appendFrame(QStringLiteral("/p/a.gif"), QStringLiteral("One"));
    QCOMPARE(index, 0);
    QVERIFY(!document.frame(0).Selected);
    QVERIFY(document.frame(0).Thumbnail.isNull());
    QSignalSpy pictures(&document, &AnimationDocument::framePictureChanged);
    QSignalSpy captions(&document, &AnimationDocument::frameCaptionChanged);
    QImage thumbnail(65, 65, QImage::Format_RGB32);
    thumbnail.fill(Qt::red);
    QVERIFY(document.setFramePicture(0, QSize(640, 480), thumbnail));
    QCOMPARE(document.frame(0).PictureSize, QSize(640, 480));
    QCOMPARE(document.frame(0).Thumbnail.pixelColor(3, 3), QColor(Qt::red));
    QVERIFY(document.setCaptionText(0, QStringLiteral("Two")));
    QVERIFY(document.setCaptionText(0, QStringLiteral("Two")));
    QCOMPARE(document.frame(0).CaptionText, QStringLiteral("Two"));
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(captions.size(), 1);
}

void TestAnimationDocument::largestFrameSide_data()
{
    QTest::addColumn<QString>("side");
    QTest::addColumn<int>("withFrames");
    QTest::newRow("width") << QStringLiteral("width") << 800;
    QTest::newRow("Width any case") << QStringLiteral("WIDTH") << 800;
    QTest::newRow("height") << QStringLiteral("height") << 600;
    QTest::newRow("any other side is height") << QStringLiteral("depth") << 600;
}

void TestAnimationDocument::largestFrameSide()
{
    QFETCH(QString, side);
    QFETCH(int, withFrames);
    AnimationDocument document(prompts);
    QCOMPARE(document.LargestFrameSide(side), 0);
    document.appendFrame(QStringLiteral("a"), QString(), QSize(800, 100));
    document.appendFrame(QStringLiteral("b"), QString(), QSize(20, 600));
    document.appendFrame(QStringLiteral("c"), QString()); // not decoded
    QCOMPARE(document.LargestFrameSide(side), withFrames);
}

void TestAnimationDocument::badIndexesChangeNothing()
{
    AnimationDocument document(prompts);
    addFrames(document, QStringLiteral("AB"));
    QVERIFY(!document.removeFrame(2));
    QVERIFY(!document.removeFrame(-1));
    QVERIFY(!document.moveFrame(0, 2));
    QVERIFY(!document.exchangeFrames(-1, 0));
    QVERIFY(!document.SetSelected(5, true));
    QVERIFY(!document.setCaptionText(2, QStringLiteral("x")));
    QVERIFY(!document.setFramePicture(2, QSize(1, 1), QImage()));
    QCOMPARE(paths(document), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(document.SelectedCount(), 0);
    QCOMPARE(document.indexOf(0), -1);
}

void TestAnimationDocument::settingsKeyNames()
{
    QCOMPARE(QString(SettingsKey), QStringLiteral("Software\\Tarnwick\\Quillon\\Reelcraft"));
    QCOMPARE(QString(OpenFileDirectoryValue), QStringLiteral("Open File Directory"));
    QCOMPARE(QString(OpenDirectoryValue), QStringLiteral("Open Directory"));
    QCOMPARE(QString(PictureExtensionValue), QStringLiteral("Picture Extension"));
    QCOMPARE(QString(PictureExtension), QStringLiteral("*.gif;*.jpg"));
    QCOMPARE(QString(RecentFilesSection), QStringLiteral("Recent Files"));
    QCOMPARE(AnimationSettings::helpContext(TextSetting::BetweenFrames), 18);
    QCOMPARE(AnimationSettings::helpContext(ListSetting::Edge), 22);
    QCOMPARE(AnimationSettings::maximum(TextSetting::Repeat), 9999999);
    QCOMPARE(AnimationSettings::maximum(TextSetting::FontSize), 127);
    QCOMPARE(AnimationSettings::maximum(TextSetting::JavaWidth), 0);
}

void TestAnimationDocument::sharedFolderNames_data()
{
    // Frame paths, then the soundtrack and the background image, and the names they take.
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("first free number; one file keeps its name; soundtrack before background")
        << QStringList{u"/p/a.jpg"_s, u"/q/a.jpg"_s, u"/s/a-2.jpg"_s, u"/p/a.jpg"_s, u"/m/a.jpg"_s, u"/q/a.jpg"_s}
        << QStringList{u"a.jpg"_s, u"a-2.jpg"_s, u"a-2-2.jpg"_s, u"a.jpg"_s, u"a-3.jpg"_s, u"a-2.jpg"_s};
    QTest::newRow("the program's own files are taken; a folder names no file")
        << QStringList{u"/p/quilanim.class"_s, u"/p/WrappingLabel.class"_s, u"/m/quilanim.js"_s, u"C:\\art\\"_s}
        << QStringList{u"quilanim-2.class"_s, u"WrappingLabel-2.class"_s, u"quilanim-2.js"_s, u""_s};
    QTest::newRow("no extension, a leading dot, two dots")
        << QStringList{u"/p/R"_s, u"/q/R"_s, u"/p/.x"_s, u"/q/.x"_s, u"/p/a.tar.gz"_s, u"/q/a.tar.gz"_s, u""_s, u""_s}
        << QStringList{u"R"_s, u"R-2"_s, u".x"_s, u".x-2"_s, u"a.tar.gz"_s, u"a.tar-2.gz"_s, u""_s, u""_s};
}

void TestAnimationDocument::sharedFolderNames()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, names);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    for (const QString &path : paths.mid(0, paths.size() - 2))
        document.appendFrame(path, QString());
    document.setText(TextSetting::Soundtrack, paths.at(paths.size() - 2));
    document.setText(TextSetting::BackImage, paths.last());
    const SharedFolderNames assigned = AssignSharedFolderNames(document);
    QCOMPARE(assigned.frames + QStringList({assigned.soundtrack, assigned.background}), names);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestAnimationDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_animation_document.moc"

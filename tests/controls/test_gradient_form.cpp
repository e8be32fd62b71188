#include "controls/TGradientForm.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWhatsThis>
#include <QWindow>

#include <memory>

Q_DECLARE_METATYPE(TGFPaintWhen)
Q_DECLARE_METATYPE(TFormBorderStyle)
Q_DECLARE_METATYPE(CaptionButton)

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

QSet<QRgb> coloursOfRow(const QImage &image, int y, int fromX = 0)
{
    QSet<QRgb> colours;
    for (int x = fromX; x < image.width(); ++x)
        colours.insert(image.pixel(x, y));
    return colours;
}

QString kindName(CaptionButton kind)
{
    switch (kind) {
    case CaptionButton::Close: return QStringLiteral("close");
    case CaptionButton::Maximize: return QStringLiteral("maximize");
    case CaptionButton::Minimize: return QStringLiteral("minimize");
    case CaptionButton::Help: return QStringLiteral("help");
    }
    return {};
}

} // namespace

// The gradient caption: colour tables, drawing modes, caption buttons, ellipsis, moving.
class TestGradientForm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void colourTableEntries_data();
    void colourTableEntries();
    void gradientColorsLimits_data();
    void gradientColorsLimits();
    void eightStepsDrawEightBands();
    void backgroundByPaintMode_data();
    void backgroundByPaintMode();
    void buttonsByStyle_data();
    void buttonsByStyle();
    void captionWithEllipsis_data();
    void captionWithEllipsis();
    void captionIsWindowTitle_data();
    void captionIsWindowTitle();
    void onCaptionPaintNarrowsText();
    void titleBarSitsAboveMenuBar();
    void captionButtonsWork_data();
    void captionButtonsWork();
    void helpButtonStartsWhatsThis();
    void draggingTheBarMovesTheWindow();
    void sizingBordersShowSizingCursors_data();
    void sizingBordersShowSizingCursors();
    void saveScreenshot();

private:
    std::unique_ptr<TGradientForm> m_form;
};

void TestGradientForm::init()
{
    m_form = std::make_unique<TGradientForm>();
    auto *client = new QLabel(QStringLiteral("client area"));
    client->setFixedSize(417, 120);
    m_form->setCentralWidget(client);
    m_form->SetCaption(QStringLiteral("Java Reelcraft 1.7"));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestGradientForm::cleanup()
{
    m_form.reset();
}

void TestGradientForm::colourTableEntries_data()
{
    QTest::addColumn<QColor>("captionColour");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QColor>("expected");

    const QColor blue(10, 128, 255);
    QTest::newRow("first entry is black") << blue << 64 << 0 << QColor(0, 0, 0);
    QTest::newRow("last entry is the caption colour") << blue << 64 << 63 << blue;
    QTest::newRow("entry 1 of 64 rounds down") << blue << 64 << 1 << QColor(0, 2, 4);
    QTest::newRow("entry 32 of 64 rounds to nearest") << blue << 64 << 32 << QColor(5, 65, 130);
    QTest::newRow("a half rounds up") << QColor(1, 3, 5) << 3 << 1 << QColor(1, 2, 3);
    QTest::newRow("8 steps, entry 4") << QColor(0, 84, 227) << 8 << 4 << QColor(0, 48, 130);
    QTest::newRow("256 steps, entry 255") << QColor(200, 100, 50) << 256 << 255 << QColor(200, 100, 50);
    QTest::newRow("256 steps, entry 128") << QColor(255, 255, 255) << 256 << 128 << QColor(128, 128, 128);
}

void TestGradientForm::colourTableEntries()
{
    QFETCH(QColor, captionColour);
    QFETCH(int, steps);
    QFETCH(int, entry);
    QFETCH(QColor, expected);
    const QList<QColor> table = GradientCaption::ColourTable(captionColour, steps);
    QCOMPARE(table.size(), steps);
    QCOMPARE(table.at(entry), expected);
}

void TestGradientForm::gradientColorsLimits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("afterwards");
    QTest::addColumn<bool>("redrawn");

    QTest::newRow("7 is ignored") << 7 << 64 << false;
    QTest::newRow("257 is ignored") << 257 << 64 << false;
    QTest::newRow("0 is ignored") << 0 << 64 << false;
    QTest::newRow("negative is ignored") << -8 << 64 << false;
    QTest::newRow("the same value changes nothing") << 64 << 64 << false;
    QTest::newRow("8 is the least") << 8 << 8 << true;
    QTest::newRow("256 is the most") << 256 << 256 << true;
    QTest::newRow("100") << 100 << 100 << true;
}

void TestGradientForm::gradientColorsLimits()
{
    QFETCH(int, value);
    QFETCH(int, afterwards);
    QFETCH(bool, redrawn);

    QCOMPARE(m_form->GradientColors(), 64);
    const QList<QColor> activeBefore = m_form->ActiveColors();
    PaintCounter counter;
    m_form->TitleBar()->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.count = 0;

    m_form->SetGradientColors(value);
    QCoreApplication::processEvents();

    QCOMPARE(m_form->GradientColors(), afterwards);
    QCOMPARE(m_form->ActiveColors().size(), afterwards);
    QCOMPARE(m_form->InactiveColors().size(), afterwards);
    if (!redrawn)
        QCOMPARE(m_form->ActiveColors(), activeBefore);
    QCOMPARE(counter.count > 0, redrawn);
}

void TestGradientForm::eightStepsDrawEightBands()
{
    m_form->SetCaption(QString());
    m_form->SetGradientColors(8);
    QCoreApplication::processEvents();

    // The bottom row of the bar lies below the icon and the buttons: only the bands.
    const QImage shown = m_form->TitleBar()->grab().toImage();
    const QImage rendered = m_form->RenderTitleBar(true);
    const int row = rendered.height() - 1;
    const QSet<QRgb> colours = coloursOfRow(rendered, row);
    QCOMPARE(colours.size(), 8);
    for (const QColor &entry : m_form->ActiveColors())
        QVERIFY(colours.contains(entry.rgb()));
    QCOMPARE(QColor(rendered.pixel(0, row)), QColor(Qt::black));
    QCOMPARE(QColor(rendered.pixel(rendered.width() - 1, row)),
             m_form->palette().color(QPalette::Active, QPalette::Highlight));
    // What is on the screen is one of the two renderings (the test window may be inactive).
    QVERIFY(shown.convertToFormat(QImage::Format_RGB32) == rendered
            || shown.convertToFormat(QImage::Format_RGB32) == m_form->RenderTitleBar(false));

    // Each band is an eighth of the bar wide (give or take a pixel of rounding).
    int band = 1;
    for (int x = 1; x < rendered.width() && rendered.pixel(x, row) == rendered.pixel(0, row); ++x)
        ++band;
    QVERIFY2(qAbs(band - rendered.width() / 8) <= 1, qPrintable(QString::number(band)));
}

void TestGradientForm::backgroundByPaintMode_data()
{
    QTest::addColumn<TGFPaintWhen>("when");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("gradient");
    QTest::addColumn<QColor>("solid");

    const QColor inactive = QApplication::palette().color(QPalette::Inactive, QPalette::Highlight);
    QTest::newRow("always, active") << TGFPaintWhen::gfpAlways << true << true << QColor();
    QTest::newRow("always, inactive") << TGFPaintWhen::gfpAlways << false << true << QColor();
    QTest::newRow("when active, active") << TGFPaintWhen::gfpActive << true << true << QColor();
    QTest::newRow("when active, inactive") << TGFPaintWhen::gfpActive << false << false << inactive;
    QTest::newRow("never, active") << TGFPaintWhen::gfpNever << true << false << QColor(0, 128, 0);
    QTest::newRow("never, inactive") << TGFPaintWhen::gfpNever << false << false << inactive;
}

void TestGradientForm::backgroundByPaintMode()
{
    QFETCH(TGFPaintWhen, when);
    QFETCH(bool, active);
    QFETCH(bool, gradient);
    QFETCH(QColor, solid);

    m_form->SetCaption(QString());
    m_form->SetPaintGradient(when);
    QCOMPARE(m_form->PaintGradient(), when);
    const QImage bar = m_form->RenderTitleBar(active);
    const int row = bar.height() - 1;
    if (gradient) {
        const QList<QColor> &table = active ? m_form->ActiveColors() : m_form->InactiveColors();
        QCOMPARE(QColor(bar.pixel(0, row)), table.first());
        QCOMPARE(QColor(bar.pixel(bar.width() - 1, row)), table.last());
    } else {
        QCOMPARE(coloursOfRow(bar, row), QSet<QRgb>{solid.rgb()});
    }
}

void TestGradientForm::buttonsByStyle_data()
{
    QTest::addColumn<TFormBorderStyle>("style");
    QTest::addColumn<int>("icons");
    QTest::addColumn<QStringList>("buttons"); // right to left; "-" marks a disabled one
    QTest::addColumn<bool>("hasIcon");

    QTest::newRow("main window default") << TFormBorderStyle::bsSingle << (biSystemMenu | biMinimize | biHelp)
                                         << QStringList{QStringLiteral("close"), QStringLiteral("-maximize"),
                                                        QStringLiteral("minimize")}
                                         << true;
    QTest::newRow("sizeable with all") << TFormBorderStyle::bsSizeable << (biSystemMenu | biMinimize | biMaximize)
                                       << QStringList{QStringLiteral("close"), QStringLiteral("maximize"),
                                                      QStringLiteral("minimize")}
                                       << true;
    QTest::newRow("dialog with help") << TFormBorderStyle::bsDialog << (biSystemMenu | biHelp)
                                      << QStringList{QStringLiteral("close"), QStringLiteral("help")} << false;
    QTest::newRow("dialog without help") << TFormBorderStyle::bsDialog << int(biSystemMenu)
                                         << QStringList{QStringLiteral("close")} << false;
    QTest::newRow("tool window") << TFormBorderStyle::bsToolWindow << (biSystemMenu | biMinimize)
                                 << QStringList{QStringLiteral("close")} << false;
    QTest::newRow("no system menu") << TFormBorderStyle::bsSingle << int(biMinimize)
                                    << QStringList{QStringLiteral("-maximize"), QStringLiteral("minimize")} << false;
    QTest::newRow("no border") << TFormBorderStyle::bsNone << int(biSystemMenu) << QStringList{} << false;
}

void TestGradientForm::buttonsByStyle()
{
    QFETCH(TFormBorderStyle, style);
    QFETCH(int, icons);
    QFETCH(QStringList, buttons);
    QFETCH(bool, hasIcon);

    m_form->SetBorderStyle(style);
    m_form->SetBorderIcons(icons);
    const GradientCaption::Layout layout = m_form->TitleLayout();
    QStringList seen;
    for (const GradientCaption::ButtonPlace &button : layout.buttons)
        seen.append((button.enabled ? QString() : QStringLiteral("-")) + kindName(button.kind));
    QCOMPARE(seen, buttons);
    QCOMPARE(!layout.icon.isEmpty(), hasIcon);
    if (style == TFormBorderStyle::bsNone) {
        QVERIFY(m_form->TitleRect().isEmpty());
        QVERIFY(!m_form->TitleBar()->isVisible());
        return;
    }

    // Buttons lie inside the bar shrunk by 2 pixels, right to left, never overlapping, and
    // the text ends before the last one.
    const QRect inner = layout.title.adjusted(2, 2, -2, -2);
    for (int i = 0; i < layout.buttons.size(); ++i) {
        QVERIFY(inner.contains(layout.buttons.at(i).rect));
        if (i > 0)
            QVERIFY(layout.buttons.at(i).rect.right() < layout.buttons.at(i - 1).rect.left());
    }
    if (!layout.buttons.isEmpty()) {
        const int gap = layout.buttons.last().rect.left() - layout.text.right() - 1;
        QCOMPARE(gap, GradientCaption::IsToolWindow(style) ? 5 : 3);
        QCOMPARE(layout.buttons.first().rect.right(), inner.right());
    }
    if (hasIcon)
        QCOMPARE(layout.text.left(), layout.icon.right() + 2);
    else
        QCOMPARE(layout.text.left(), 0);
}

void TestGradientForm::captionWithEllipsis_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("cut");

    QTest::newRow("start-up caption") << QStringLiteral("Java Reelcraft 1.7") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("project name") << QStringLiteral("Reelcraft - [/home/ann/show.rcf]") << false;
    QTest::newRow("long project path")
        << QStringLiteral("Reelcraft - [/home/ann/Pictures/Holidays/2023/The long summer by the sea/slideshow.rcf]")
        << true;
    QTest::newRow("one long word") << QString(200, QLatin1Char('W')) << true;
}

void TestGradientForm::captionWithEllipsis()
{
    QFETCH(QString, caption);
    QFETCH(bool, cut);

    m_form->SetCaption(caption);
    const QString shown = m_form->DisplayedCaption();
    const GradientCaption::Layout layout = m_form->TitleLayout();
    const QFontMetrics metrics(m_form->CaptionFont());
    QVERIFY(metrics.horizontalAdvance(shown) <= layout.text.width() - 2);
    if (!cut) {
        QCOMPARE(shown, caption);
        return;
    }
    QVERIFY(shown.endsWith(QChar(0x2026)));
    const QString kept = shown.chopped(1);
    QVERIFY(!kept.isEmpty());
    QVERIFY(caption.startsWith(kept));
    // The cut text reaches up to the buttons: one more character would not have fitted.
    QVERIFY(metrics.horizontalAdvance(caption.left(kept.size() + 1) + QChar(0x2026)) > layout.text.width() - 2);
}

void TestGradientForm::captionIsWindowTitle_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << QStringLiteral("Reelcraft 1.7");
    QTest::newRow("with file") << QStringLiteral("Reelcraft - [show.rcf]");
    QTest::newRow("file named star") << QStringLiteral("Reelcraft - [*]");
}

void TestGradientForm::captionIsWindowTitle()
{
    QFETCH(QString, caption);
    m_form->SetCaption(caption);
    QCOMPARE(m_form->Caption(), caption);
    QCOMPARE(m_form->DisplayedCaption(), caption);
    // What the window system (task bar, window list) is told.
    QCOMPARE(m_form->windowHandle()->title(), caption);

    // A title set from outside becomes the caption.
    m_form->setWindowTitle(QStringLiteral("Set elsewhere"));
    QCOMPARE(m_form->Caption(), QStringLiteral("Set elsewhere"));
}

void TestGradientForm::onCaptionPaintNarrowsText()
{
    const QString caption = QStringLiteral("Short caption here");
    m_form->SetCaption(caption);
    QCOMPARE(m_form->DisplayedCaption(), caption);

    QRect given;
    QFont fontGiven;
    TGradientForm *sender = nullptr;
    m_form->SetOnCaptionPaint([&](TGradientForm *form, QPainter &canvas, QRect &textRect) {
        sender = form;
        given = textRect;
        fontGiven = canvas.font();
        textRect.setRight(textRect.left() + 40);
    });
    const QImage bar = m_form->RenderTitleBar(true);
    QCOMPARE(sender, m_form.get());
    QCOMPARE(given, m_form->TitleLayout().text);
    QCOMPARE(fontGiven.family(), m_form->CaptionFont().family());
    QCOMPARE(fontGiven.bold(), true);
    QVERIFY(m_form->DisplayedCaption().endsWith(QChar(0x2026)));
    Q_UNUSED(bar);
}

void TestGradientForm::titleBarSitsAboveMenuBar()
{
    TGradientForm form;
    QMenuBar *bar = form.menuBar();
    bar->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open"));
    bar->addMenu(QStringLiteral("&Help"));
    auto *client = new QLabel(QStringLiteral("client"));
    client->setFixedSize(417, 327);
    form.setCentralWidget(client);
    form.layout()->setSizeConstraint(QLayout::SetFixedSize);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.menuBar(), bar);
    QCOMPARE(form.menuWidget(), bar);
    const QRect title = form.TitleRect();
    QCOMPARE(title.top(), 1);
    QVERIFY(bar->geometry().top() > title.bottom());
    QVERIFY(client->geometry().top() >= bar->geometry().bottom());
    QCOMPARE(client->size(), QSize(417, 327));
    // The window is as wide as its client area and its 1-pixel frame.
    QCOMPARE(form.width(), 417 + 2);
    QCOMPARE(title.width(), 417);
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
}

void TestGradientForm::captionButtonsWork_data()
{
    QTest::addColumn<TFormBorderStyle>("style");
    QTest::addColumn<int>("icons");
    QTest::addColumn<CaptionButton>("button");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("state");

    QTest::newRow("close") << TFormBorderStyle::bsSingle << (biSystemMenu | biMinimize) << CaptionButton::Close
                           << true << int(Qt::WindowNoState);
    QTest::newRow("minimise") << TFormBorderStyle::bsSingle << (biSystemMenu | biMinimize) << CaptionButton::Minimize
                              << false << int(Qt::WindowMinimized);
    QTest::newRow("disabled minimise") << TFormBorderStyle::bsSingle << int(biSystemMenu) << CaptionButton::Minimize
                                       << false << int(Qt::WindowNoState);
    QTest::newRow("disabled maximise") << TFormBorderStyle::bsSingle << (biSystemMenu | biMinimize)
                                       << CaptionButton::Maximize << false << int(Qt::WindowNoState);
    QTest::newRow("maximise") << TFormBorderStyle::bsSizeable << (biSystemMenu | biMaximize) << CaptionButton::Maximize
                              << false << int(Qt::WindowMaximized);
}

void TestGradientForm::captionButtonsWork()
{
    QFETCH(TFormBorderStyle, style);
    QFETCH(int, icons);
    QFETCH(CaptionButton, button);
    QFETCH(bool, closed);
    QFETCH(int, state);

    m_form->setCentralWidget(new QLabel(QStringLiteral("resizable client")));
    m_form->SetBorderStyle(style);
    m_form->SetBorderIcons(icons);
    QRect place;
    for (const GradientCaption::ButtonPlace &candidate : m_form->TitleLayout().buttons) {
        if (candidate.kind == button)
            place = candidate.rect;
    }
    QVERIFY(!place.isNull());
    QTest::mouseClick(m_form->TitleBar(), Qt::LeftButton, {}, place.center());
    QTRY_COMPARE(int(m_form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)), state);
    QCOMPARE(!m_form->isVisible(), closed);

    // A press that leaves the button before the release does nothing.
    if (!closed && state == int(Qt::WindowNoState)) {
        m_form->SetBorderIcons(biSystemMenu);
        QRect close;
        for (const GradientCaption::ButtonPlace &candidate : m_form->TitleLayout().buttons) {
            if (candidate.kind == CaptionButton::Close)
                close = candidate.rect;
        }
        QTest::mousePress(m_form->TitleBar(), Qt::LeftButton, {}, close.center());
        QTest::mouseMove(m_form->TitleBar(), QPoint(40, close.center().y()));
        QTest::mouseRelease(m_form->TitleBar(), Qt::LeftButton, {}, QPoint(40, close.center().y()));
        QVERIFY(m_form->isVisible());
    }
}

void TestGradientForm::helpButtonStartsWhatsThis()
{
    m_form->SetBorderStyle(TFormBorderStyle::bsDialog);
    m_form->SetBorderIcons(biSystemMenu | biHelp);
    QSignalSpy clicked(m_form.get(), &TGradientForm::HelpButtonClicked);
    const GradientCaption::Layout layout = m_form->TitleLayout();
    QCOMPARE(layout.buttons.size(), 2);
    QTest::mouseClick(m_form->TitleBar(), Qt::LeftButton, {}, layout.buttons.at(1).rect.center());
    QCOMPARE(clicked.count(), 1);
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
    QVERIFY(m_form->isVisible());
}

void TestGradientForm::draggingTheBarMovesTheWindow()
{
    m_form->move(100, 100);
    QTRY_COMPARE(m_form->pos(), QPoint(100, 100));
    QWidget *bar = m_form->TitleBar();
    const QPoint grip(60, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    // The offscreen window system cannot move windows: the bar moves it by hand.
    QTest::mouseMove(bar, grip + QPoint(30, 20));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(30, 20));
    QTRY_COMPARE(m_form->pos(), QPoint(130, 120));

    // A press on a caption button does not move the window.
    const QRect close = m_form->TitleLayout().buttons.first().rect;
    m_form->SetBorderIcons(biSystemMenu);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(close.left() - 200, close.center().y()));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(close.left() - 200, close.center().y()));
    QCOMPARE(m_form->pos(), QPoint(130, 120));
}

void TestGradientForm::sizingBordersShowSizingCursors_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("shape");

    QTest::newRow("left") << QStringLiteral("left") << int(Qt::SizeHorCursor);
    QTest::newRow("right") << QStringLiteral("right") << int(Qt::SizeHorCursor);
    QTest::newRow("top") << QStringLiteral("top") << int(Qt::SizeVerCursor);
    QTest::newRow("bottom") << QStringLiteral("bottom") << int(Qt::SizeVerCursor);
    QTest::newRow("top-left") << QStringLiteral("top-left") << int(Qt::SizeFDiagCursor);
    QTest::newRow("bottom-right") << QStringLiteral("bottom-right") << int(Qt::SizeFDiagCursor);
    QTest::newRow("top-right") << QStringLiteral("top-right") << int(Qt::SizeBDiagCursor);
    QTest::newRow("bottom-left") << QStringLiteral("bottom-left") << int(Qt::SizeBDiagCursor);
}

void TestGradientForm::sizingBordersShowSizingCursors()
{
    QFETCH(QString, where);
    QFETCH(int, shape);

    m_form->setCentralWidget(new QLabel(QStringLiteral("sizeable")));
    m_form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    m_form->resize(300, 200);
    QTRY_COMPARE(m_form->size(), QSize(300, 200));
    const int w = m_form->width();
    const int h = m_form->height();
    const QMap<QString, QPoint> points{
        {QStringLiteral("left"), {1, h / 2}},           {QStringLiteral("right"), {w - 2, h / 2}},
        {QStringLiteral("top"), {w / 2, 1}},            {QStringLiteral("bottom"), {w / 2, h - 2}},
        {QStringLiteral("top-left"), {2, 5}},           {QStringLiteral("bottom-right"), {w - 6, h - 2}},
        {QStringLiteral("top-right"), {w - 2, 8}},      {QStringLiteral("bottom-left"), {1, h - 10}},
    };
    const QPoint point = points.value(where);
    QWidget *grip = m_form->childAt(point);
    QVERIFY(grip);
    QVERIFY(grip != m_form->TitleBar());
    QTest::mouseMove(grip, grip->mapFrom(m_form.get(), point));
    QCOMPARE(int(grip->cursor().shape()), shape);

    // A window of fixed size has no sizing borders.
    m_form->SetBorderStyle(TFormBorderStyle::bsSingle);
    QWidget *atEdge = m_form->childAt(QPoint(0, h / 2));
    QVERIFY(!atEdge || atEdge->cursor().shape() == Qt::ArrowCursor);
}

void TestGradientForm::saveScreenshot()
{
    // With REELCRAFT_SHOT_DIR set, the window is saved as a picture for a person to look at.
    const QString folder = qEnvironmentVariable("REELCRAFT_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("REELCRAFT_SHOT_DIR not set");
    QMenuBar *bar = m_form->menuBar();
    bar->addMenu(QStringLiteral("&File"));
    bar->addMenu(QStringLiteral("&Command"));
    bar->addMenu(QStringLiteral("&Help"));
    m_form->SetCaption(QStringLiteral("Java Reelcraft 1.7"));
    QCoreApplication::processEvents();
    QVERIFY(m_form->grab().save(folder + QStringLiteral("/gradient-form.png")));
    QImage both(m_form->TitleRect().width(), m_form->TitleRect().height() * 2 + 4, QImage::Format_RGB32);
    both.fill(Qt::white);
    {
        QPainter painter(&both);
        painter.drawImage(0, 0, m_form->RenderTitleBar(true));
        m_form->SetCaption(QStringLiteral("Reelcraft - [/home/ann/Pictures/Holidays/2023/The long summer by the sea/show.rcf]"));
        painter.drawImage(0, m_form->TitleRect().height() + 4, m_form->RenderTitleBar(false));
    }
    QVERIFY(both.save(folder + QStringLiteral("/gradient-bars.png")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestGradientForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_gradient_form.moc"

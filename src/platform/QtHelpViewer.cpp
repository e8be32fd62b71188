#include "platform/QtHelpViewer.h"

#include "controls/FileText.h"

#include <QDesktopServices>
#include <QtMath>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int PopupWidth = 320;
constexpr int PopupMargin = 8;

const char *const HelpStyle =
    "body { font-family: sans-serif; }"
    "h2 { color: #10206a; font-size: large; margin-bottom: 4px; }"
    "h3 { color: #10206a; margin-bottom: 2px; }"
    "p { margin-top: 4px; margin-bottom: 6px; }"
    "li { margin-bottom: 3px; }"
    "a { color: #1a3fb4; }"
    ".keys { font-weight: bold; }";

// Closes the pop-up on any click inside it, as a click outside it does already.
class ClickCloses : public QObject
{
public:
    ClickCloses(QWidget *popup, QObject *parent) : QObject(parent), m_popup(popup) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
            m_popup->close();
            return true;
        }
        return false;
    }

private:
    QWidget *m_popup;
};

int topicOfLink(const QUrl &url)
{
    const QString fragment = url.fragment();
    if (!url.path().isEmpty() || !fragment.startsWith(QLatin1String("topic-")))
        return 0;
    bool ok = false;
    const int number = fragment.mid(6).toInt(&ok);
    return ok ? number : 0;
}

} // namespace

QtHelpViewer::QtHelpViewer(const QString &helpFilePath, QWidget *parent)
    : m_path(helpFilePath), m_parent(parent)
{
}

QtHelpViewer::~QtHelpViewer()
{
    delete m_window;
    delete m_popup;
}

void QtHelpViewer::setHelpFile(const QString &path)
{
    m_path = path;
    m_loaded = false;
}

const HelpFile &QtHelpViewer::file()
{
    if (!m_loaded) {
        m_loaded = true;
        m_file = HelpFile();
        QFile onDisk(m_path);
        if (!m_path.isEmpty() && onDisk.open(QIODevice::ReadOnly))
            m_file = HelpFile::parse(DecodeFileText(onDisk.readAll()));
        if (m_file.numbers(HelpFile::Kind::Topic).isEmpty())
            m_file = HelpFile::embedded();
    }
    return m_file;
}

QString QtHelpViewer::sectionPage(const HelpFile::Section &section, HelpFile::Kind kind, int number)
{
    QString body = section.html;
    if (body.isEmpty()) {
        body = QStringLiteral("<h3>No help for this item</h3><p>The help file has no %1 numbered %2. "
                              "Choose Contents from the Help menu to see every topic.</p>")
                   .arg(kind == HelpFile::Kind::Topic ? QStringLiteral("topic") : QStringLiteral("note"))
                   .arg(number);
    }
    return QStringLiteral("<html><body>") + body + QStringLiteral("</body></html>");
}

void QtHelpViewer::ensureWindow()
{
    if (m_window)
        return;
    m_window = new QDialog(m_parent, Qt::Window);
    m_window->setWindowTitle(QStringLiteral("Java Reelcraft Help"));
    m_window->resize(480, 440);

    m_topicBrowser = new QTextBrowser(m_window);
    m_topicBrowser->setOpenLinks(false);
    m_topicBrowser->document()->setDefaultStyleSheet(QLatin1String(HelpStyle));
    QObject::connect(m_topicBrowser, &QTextBrowser::anchorClicked, m_window, [this](const QUrl &url) {
        if (const int number = topicOfLink(url))
            showTopic(number);
        else if (!url.isRelative())
            QDesktopServices::openUrl(url);
    });

    auto *contents = new QPushButton(QStringLiteral("&Contents"), m_window);
    QObject::connect(contents, &QPushButton::clicked, m_window, [this] { showTopic(1); });
    auto *close = new QPushButton(QStringLiteral("Close"), m_window);
    QObject::connect(close, &QPushButton::clicked, m_window, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(m_window);
    layout->addWidget(m_topicBrowser);
    layout->addLayout(buttons);
}

void QtHelpViewer::showTopic(int number)
{
    const HelpFile::Section section = file().section(HelpFile::Kind::Topic, number);
    ensureWindow();
    m_currentTopic = number;
    m_topicBrowser->setHtml(sectionPage(section, HelpFile::Kind::Topic, number));
    m_window->setWindowTitle(section.title.isEmpty()
                                 ? QStringLiteral("Java Reelcraft Help")
                                 : QStringLiteral("Java Reelcraft Help - ") + section.title);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void QtHelpViewer::ensurePopup()
{
    if (m_popup)
        return;
    m_popup = new QFrame(m_parent, Qt::Popup | Qt::FramelessWindowHint);
    m_popup->setFrameShape(QFrame::Box);
    m_popup->setLineWidth(1);
    m_popup->setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette palette = m_popup->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    m_popup->setPalette(palette);
    m_popup->setAutoFillBackground(true);

    m_popupBrowser = new QTextBrowser(m_popup);
    m_popupBrowser->setFrameShape(QFrame::NoFrame);
    m_popupBrowser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_popupBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_popupBrowser->document()->setDefaultStyleSheet(QLatin1String(HelpStyle));
    m_popupBrowser->setOpenLinks(false);
    m_popupBrowser->viewport()->installEventFilter(new ClickCloses(m_popup, m_popup));
    m_popupBrowser->installEventFilter(new ClickCloses(m_popup, m_popup));

    auto *layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(PopupMargin, PopupMargin, PopupMargin, PopupMargin);
    layout->addWidget(m_popupBrowser);
}

void QtHelpViewer::showPopup(int number, const QPoint &globalPosition)
{
    const HelpFile::Section section = file().section(HelpFile::Kind::Popup, number);
    ensurePopup();
    m_popupBrowser->setHtml(sectionPage(section, HelpFile::Kind::Popup, number));

    // The frame is as tall as its text at the fixed width.
    const int textWidth = PopupWidth - 2 * PopupMargin - 2;
    QTextDocument measure;
    measure.setDefaultStyleSheet(QLatin1String(HelpStyle));
    measure.setDefaultFont(m_popupBrowser->font());
    measure.setDocumentMargin(m_popupBrowser->document()->documentMargin());
    measure.setHtml(sectionPage(section, HelpFile::Kind::Popup, number));
    measure.setTextWidth(textWidth);
    m_popupBrowser->setFixedSize(textWidth, qCeil(measure.size().height()));
    m_popup->adjustSize();

    // Keep the whole pop-up on the screen the pointer is on.
    QRect area(globalPosition, m_popup->size());
    if (const QScreen *screen = QGuiApplication::screenAt(globalPosition)) {
        const QRect available = screen->availableGeometry();
        if (area.right() > available.right())
            area.moveRight(available.right());
        if (area.bottom() > available.bottom())
            area.moveBottom(available.bottom());
        area.moveLeft(std::max(area.left(), available.left()));
        area.moveTop(std::max(area.top(), available.top()));
    }
    m_popup->move(area.topLeft());
    m_popup->show();
}

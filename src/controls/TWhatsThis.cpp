#include "controls/TWhatsThis.h"

#include "platform/HelpViewer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QShortcut>

namespace {

int intProperty(const QWidget *widget, const char *name, bool *present = nullptr)
{
    const QVariant value = widget->property(name);
    if (present)
        *present = value.isValid();
    return value.isValid() ? value.toInt() : 0;
}

} // namespace

TWhatsThis::TWhatsThis(QWidget *owner, HelpViewer &viewer)
    : QObject(owner), m_owner(owner), m_viewer(viewer), m_menu(new QMenu(owner))
{
    QAction *item = m_menu->addAction(QStringLiteral("&What's This ?"));
    connect(item, &QAction::triggered, this, &TWhatsThis::ShowLastHelp);
}

TWhatsThis::~TWhatsThis() = default;

int TWhatsThis::HelpNumber(const QWidget *control)
{
    if (!control)
        return 0;
    if (const int own = intProperty(control, HelpTagProperty))
        return own;
    if (control->isWindow())
        return 0;
    for (const QWidget *parent = control->parentWidget(); parent; parent = parent->parentWidget()) {
        bool present = false;
        const int number = intProperty(parent, HelpTagProperty, &present);
        if (present || parent->isWindow())
            return number;
    }
    return 0;
}

int TWhatsThis::HelpContext(const QWidget *control)
{
    for (const QWidget *widget = control; widget; widget = widget->parentWidget()) {
        if (const int context = intProperty(widget, HelpContextProperty))
            return context;
        if (widget->isWindow())
            break;
    }
    return 0;
}

void TWhatsThis::Attach(QWidget *control)
{
    if (!control)
        return;
    control->installEventFilter(this);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
        area->viewport()->installEventFilter(this);
}

void TWhatsThis::EnableHelpKey(QWidget *window)
{
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window, nullptr, nullptr, Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &TWhatsThis::HelpKeyPressed);
}

QWidget *TWhatsThis::attachedControlFor(QObject *watched) const
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return nullptr;
    // A viewport stands for its scroll area.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget->parentWidget());
        area && area->viewport() == widget)
        return area;
    return widget;
}

bool TWhatsThis::pressBelongsTo(QWidget *control, QWidget *receiver, const QPoint &localPosition) const
{
    // The deepest widget under the pointer must be the control itself or one of its own
    // background parts; anything else got the press first and passed it on.
    const auto *area = qobject_cast<QAbstractScrollArea *>(control);
    const auto *scrollArea = qobject_cast<QScrollArea *>(control);
    const auto *mainWindow = qobject_cast<QMainWindow *>(control);
    for (QWidget *widget = receiver->childAt(localPosition); widget && widget != receiver;
         widget = widget->parentWidget()) {
        const bool ownPart = (area && widget == area->viewport())
            || (scrollArea && widget == scrollArea->widget())
            || (mainWindow && widget == mainWindow->centralWidget());
        if (!ownPart)
            return false;
    }
    return true;
}

bool TWhatsThis::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto *press = static_cast<QMouseEvent *>(event);
    if (press->button() != Qt::RightButton)
        return false;
    auto *receiver = qobject_cast<QWidget *>(watched);
    QWidget *control = attachedControlFor(watched);
    if (!receiver || !control || !pressBelongsTo(control, receiver, press->position().toPoint()))
        return false;
    if (HelpNumber(control) == 0)
        return false;
    MouseDown(control, press->button(), press->globalPosition().toPoint());
    return true;
}

void TWhatsThis::MouseDown(QWidget *control, Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button != Qt::RightButton)
        return;
    const int number = HelpNumber(control);
    if (number == 0)
        return;
    m_lastNumber = number;
    m_lastPosition = globalPosition;
    m_menu->popup(globalPosition + QPoint(2, 2));
}

void TWhatsThis::ShowLastHelp()
{
    ShowHelp(m_lastNumber, m_lastPosition);
}

void TWhatsThis::ShowHelp(int number, const QPoint &globalPosition)
{
    if (number < 0)
        m_viewer.showTopic(-number);
    else if (number > 0)
        m_viewer.showPopup(number, globalPosition);
}

void TWhatsThis::HelpKeyPressed()
{
    // A focused control without a help context opens the contents.
    const int context = HelpContext(QApplication::focusWidget());
    m_viewer.showTopic(context > 0 ? context : 1);
}

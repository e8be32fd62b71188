#include "controls/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

bool s_switchedOn = false;

bool pushBusy()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    return true;
}

void popBusy()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

BusyCursor::BusyCursor() : m_shown(pushBusy()) {}

BusyCursor::~BusyCursor()
{
    if (m_shown)
        popBusy();
}

void SetBusyCursor(bool on)
{
    if (on == s_switchedOn)
        return;
    if (on)
        s_switchedOn = pushBusy();
    else {
        popBusy();
        s_switchedOn = false;
    }
}

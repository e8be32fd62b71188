#include "controls/ProgressBox.h"

#include <QCoreApplication>
#include <QProgressDialog>

ProgressBox::ProgressBox(QWidget *parent, const QString &label, int threshold)
    : m_parent(parent), m_label(label), m_threshold(threshold)
{
}

ProgressBox::~ProgressBox() = default;

std::function<bool(int, int)> ProgressBox::reporter()
{
    return [this](int done, int total) { return report(done, total); };
}

bool ProgressBox::report(int done, int total)
{
    if (!m_dialog && total > m_threshold) {
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Java Reelcraft"));
        m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
        m_dialog->setMinimumDuration(0);
        m_dialog->setWindowModality(Qt::WindowModal);
    }
    if (!m_dialog)
        return true;
    m_dialog->setRange(0, total);
    m_dialog->setLabelText(QStringLiteral("%1: %2 of %3").arg(m_label).arg(done).arg(total));
    m_dialog->setValue(done);
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

#pragma once

#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// The progress box of work that counts "done of total" steps and may be cancelled: a
// window-modal box over parent with Cancel, shown only for work of more than threshold
// steps (short work finishes before a box could be read). Each report lets the window
// repaint and hear the Cancel button.
class ProgressBox
{
public:
    // label: the text before "done of total", e.g. "Copying pictures". Eight light copies
    // of camera photos take about a second.
    ProgressBox(QWidget *parent, const QString &label, int threshold = 8);
    ~ProgressBox();
    ProgressBox(const ProgressBox &) = delete;
    ProgressBox &operator=(const ProgressBox &) = delete;

    // Shows that done of total steps are done; false once Cancel has been pressed.
    bool report(int done, int total);
    // report() as a copy's progress report.
    std::function<bool(int done, int total)> reporter();

    // The box, once shown; null before that.
    QProgressDialog *dialog() const { return m_dialog.get(); }

private:
    QWidget *m_parent;
    QString m_label;
    int m_threshold;
    std::unique_ptr<QProgressDialog> m_dialog;
};

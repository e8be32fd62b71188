#pragma once

#include <QMainWindow>

// Base of the program's top-level windows. Its Caption is also the window title, so task
// bars and window lists show the same text.
class TGradientForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TGradientForm(QWidget *parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption);
};

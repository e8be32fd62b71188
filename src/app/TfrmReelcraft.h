#pragma once

#include <QMainWindow>

// The main window of the program.
class TfrmReelcraft : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmReelcraft(QWidget *parent = nullptr);
};

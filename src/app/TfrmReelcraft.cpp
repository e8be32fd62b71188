#include "app/TfrmReelcraft.h"

TfrmReelcraft::TfrmReelcraft(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Java Reelcraft"));
    resize(417, 327);
}

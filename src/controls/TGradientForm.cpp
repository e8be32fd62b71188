#include "controls/TGradientForm.h"

TGradientForm::TGradientForm(QWidget *parent) : QMainWindow(parent) {}

void TGradientForm::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

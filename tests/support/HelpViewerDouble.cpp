#include "HelpViewerDouble.h"

void HelpViewerDouble::showTopic(int number)
{
    requests.append({Request::Topic, number, QPoint()});
}

void HelpViewerDouble::showPopup(int number, const QPoint &globalPosition)
{
    requests.append({Request::Popup, number, globalPosition});
}

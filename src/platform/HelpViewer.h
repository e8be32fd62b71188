#pragma once

#include <QPoint>

// Opens topics of the program's help file by number. A full topic appears in the help
// window; a pop-up is a small window beside the pointer that closes with the next click.
// The Qt implementation is QtHelpViewer; tests use a double that records every request.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;

    virtual void showTopic(int number) = 0;
    virtual void showPopup(int number, const QPoint &globalPosition) = 0;
};

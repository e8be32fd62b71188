#pragma once

#include "platform/HelpViewer.h"

#include <QList>
#include <QPoint>

// Records every help request instead of showing a window.
class HelpViewerDouble : public HelpViewer
{
public:
    struct Request
    {
        enum Kind { Topic, Popup };
        Kind kind = Topic;
        int number = 0;
        QPoint position; // the pop-up's position; unset for topics

        bool operator==(const Request &other) const
        {
            return kind == other.kind && number == other.number && position == other.position;
        }
    };

    QList<Request> requests;

    void showTopic(int number) override;
    void showPopup(int number, const QPoint &globalPosition) override;
    void clear() { requests.clear(); }
};

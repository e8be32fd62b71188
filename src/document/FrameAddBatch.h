#pragma once

#include "document/AnimationFrame.h"
#include "imaging/BatchDecoder.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class AnimationDocument;
class Prompts;
class QWidget;

// Adds picture files as frames, or decodes the pictures of frames that came into the document
// without one, while the window goes on painting. The pictures decode on worker threads; every
// frame, picture and error box follows on the UI thread in the order of the list, so frames land
// in the order the files were chosen and their error boxes come in that order too.
//
// A run of more than ProgressThreshold pictures shows a progress box with Cancel; cancelling
// keeps the frames added so far and adds nothing more. Lists given while a run is going on wait
// for their turn, so the frames of two lists never mix.
class FrameAddBatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int ProgressThreshold = 8;

    struct Item
    {
        QString path;
        QString caption;
        FrameId target = 0; // 0: append a new frame; else the frame whose picture this is
    };

    // dialogParent is the window the progress box belongs to.
    FrameAddBatch(AnimationDocument &document, Prompts &prompts, QWidget *dialogParent,
                  QObject *parent = nullptr);
    ~FrameAddBatch() override;

    void enqueue(const QList<Item> &items);
    // Ends the run going on and drops the waiting lists; what was added stays.
    void cancel();
    bool isRunning() const { return m_running; }
    // True while a frame of the run is being appended to the document.
    bool isAppending() const { return m_appending; }
    // The progress box of the run going on; null when it shows none.
    QProgressDialog *progressDialog() const { return m_progress; }
    BatchDecoder &decoder() { return m_decoder; }

signals:
    // One run ended: all of its pictures were handled, or it was cancelled.
    void runFinished(bool cancelled);

private:
    void startNextRun();
    void pictureDecoded(int index, const DecodedPicture &picture);
    void endRun(bool cancelled);
    void closeProgress();

    AnimationDocument &m_document;
    Prompts &m_prompts;
    QPointer<QWidget> m_dialogParent;
    BatchDecoder m_decoder;
    QList<Item> m_run;
    QList<QList<Item>> m_waiting;
    bool m_running = false;
    bool m_appending = false;
    QPointer<QProgressDialog> m_progress;
};

#pragma once

#include "colour/HtmlColourField.h"
#include "document/AnimationFrame.h"
#include "document/AnimationSettings.h"

#include <QLatin1String>
#include <QObject>

class Prompts;

// One animation: the frames in play order, the settings, the background colour field, the
// window caption with the file name, and the strip's selection state (SelectedCount and
// CurrentFrame). The main window and the strip follow its signals and change it through
// its operations, so the writer, reader and command-line tool can work on it without
// windows. Every change emits a signal; a setter given the value it already holds changes
// and emits nothing.
class AnimationDocument : public QObject
{
    Q_OBJECT
public:
    // Window captions the document sets.
    static constexpr QLatin1String StartupCaption{"Java Reelcraft 1.7"};
    static constexpr QLatin1String ResetCaption{"Reelcraft"};
    static constexpr QLatin1String DeleteAllCaption{"Reelcraft 1.7"};

    // prompts shows the colour field's messages.
    explicit AnimationDocument(Prompts &prompts, QObject *parent = nullptr);

    // ---- settings ----
    const AnimationSettings &settings() const { return m_settings; }
    QString text(TextSetting setting) const { return m_settings.text(setting); }
    void setText(TextSetting setting, const QString &value);
    int selectedIndex(ListSetting setting) const { return m_settings.selectedIndex(setting); }
    // An index outside the list's items selects nothing (-1).
    void setSelectedIndex(ListSetting setting, int index);
    QString selectedItemText(ListSetting setting) const { return m_settings.selectedItemText(setting); }
    // "Scale pictures to fit" (the element's "scale" parameter).
    bool ScaleToFit() const { return m_settings.ScaleToFit; }
    void setScaleToFit(bool on);

    // The "Background Color" field (warnings off). Its OnChange and ModeChanged are passed on
    // as backgroundColourChanged().
    HtmlColourField &BackgroundColour() { return m_background; }
    const HtmlColourField &BackgroundColour() const { return m_background; }

    // ---- caption and file name ----
    QString Caption() const { return m_caption; }
    // A caption without a file name ("Reelcraft", "Reelcraft 1.7", the start-up caption):
    // afterwards the document has no CurrentFileName.
    void SetCaption(const QString &caption);
    // The file name is kept whole (it may hold "]"); the caption becomes
    // "Reelcraft - [" + fileName + "]". An empty name is the same as SetCaption("Reelcraft").
    QString CurrentFileName() const { return m_fileName; }
    void SetCurrentFileName(const QString &fileName);

    // ---- frames ----
    const FrameList &Frames() const { return m_frames; }
    int frameCount() const { return int(m_frames.size()); }
    const AnimationFrame &frame(int index) const { return m_frames.at(index); }
    // -1 when no frame of the document has this id.
    int indexOf(FrameId id) const;

    // Appends a frame (not selected) and returns its index.
    int appendFrame(const QString &picturePath, const QString &captionText,
                    const QSize &pictureSize = QSize(), const QImage &thumbnail = QImage());
    // The strip attaches the decoded picture's size and its reduced copy.
    bool setFramePicture(int index, const QSize &pictureSize, const QImage &thumbnail);
    bool setCaptionText(int index, const QString &captionText);
    // Removes one frame; a selected one lowers SelectedCount, the current one leaves no
    // CurrentFrame.
    bool removeFrame(int index);
    // Removes every selected frame, from the last to the first; returns how many.
    int removeSelectedFrames();
    // Takes the frame out and reinserts it at index to; the frames between move one place
    // toward from. Selection and CurrentFrame stay with their frames.
    bool moveFrame(int from, int to);
    bool exchangeFrames(int a, int b);
    // Removes every frame: SelectedCount 0, no CurrentFrame. Always emits framesCleared().
    void clearFrames();

    // ---- selection ----
    int SelectedCount() const { return m_selectedCount; }
    // No change when the frame already has this value; otherwise SelectedCount follows.
    bool SetSelected(int index, bool selected);
    // Deselects every frame whose index is not except (-1 deselects all).
    void ClearSelection(int except = -1);
    QList<int> selectedIndexes() const;

    // The frame whose caption the caption box edits; -1 for none (after start and reset).
    int CurrentFrame() const { return indexOf(m_currentFrame); }
    FrameId CurrentFrameId() const { return m_currentFrame; }
    bool HasCurrentFrame() const { return m_currentFrame != 0; }
    // -1 (or an index outside the list) leaves no CurrentFrame.
    void SetCurrentFrame(int index);

    // The largest picture width (side "width", without regard to case) or height (any other
    // side) over all frames; 0 without frames.
    int LargestFrameSide(const QString &side) const;

    // ---- reset ----
    // Brings the document to its reset values, in this order: applet size; soundtrack and
    // background image emptied; first items of the edge, direction and font name lists;
    // font size "16", first font style, empty repeat; speeds, time between frames and delay
    // "0"; "Scale pictures to fit" off; the background colour emptied (IsHtmlColour false,
    // mode kept); SelectedCount 0,
    // every frame removed, no CurrentFrame; the caption "Reelcraft" without a file name.
    // Ends with documentReset(), on which the window empties the caption box and lays out
    // the strip.
    void ResetDocument();

signals:
    void textSettingChanged(TextSetting setting);
    void listSettingChanged(ListSetting setting);
    void scaleToFitChanged(bool on);
    // The background colour field's text, colour, validity or mode changed.
    void backgroundColourChanged();
    void captionChanged(const QString &caption);

    void frameAdded(int index);
    // index is where the frame stood; id is the removed frame's.
    void frameRemoved(int index, FrameId id);
    void frameMoved(int from, int to);
    void framesExchanged(int a, int b);
    void framesCleared();
    void framePictureChanged(int index);
    void frameCaptionChanged(int index);
    void frameSelectionChanged(int index, bool selected);
    // The CurrentFrame became another frame or none (-1).
    void currentFrameChanged(int index);

    void documentReset();

private:
    bool validIndex(int index) const { return index >= 0 && index < m_frames.size(); }
    void dropCurrentFrameIf(FrameId id);

    AnimationSettings m_settings;
    HtmlColourField m_background;
    QString m_caption;
    QString m_fileName;
    FrameList m_frames;
    int m_selectedCount = 0;
    FrameId m_currentFrame = 0;
    FrameId m_nextId = 1;
};

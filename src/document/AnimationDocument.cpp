#include "document/AnimationDocument.h"

#include <algorithm>

AnimationDocument::AnimationDocument(Prompts &prompts, QObject *parent)
    : QObject(parent),
      m_settings(AnimationSettings::StartupValues()),
      m_background(prompts, this),
      m_caption(StartupCaption)
{
    // The main window's colour field reports no out-of-range numbers.
    m_background.SetWarnings(false);
    connect(&m_background, &HtmlColourField::OnChange, this, &AnimationDocument::backgroundColourChanged);
    connect(&m_background, &HtmlColourField::ModeChanged, this, &AnimationDocument::backgroundColourChanged);
}

void AnimationDocument::setText(TextSetting setting, const QString &value)
{
    if (m_settings.text(setting) == value)
        return;
    m_settings.setText(setting, value);
    emit textSettingChanged(setting);
}

void AnimationDocument::setSelectedIndex(ListSetting setting, int index)
{
    index = AnimationSettings::normalisedIndex(setting, index);
    if (m_settings.selectedIndex(setting) == index)
        return;
    m_settings.setSelectedIndex(setting, index);
    emit listSettingChanged(setting);
}

void AnimationDocument::setScaleToFit(bool on)
{
    if (m_settings.ScaleToFit == on)
        return;
    m_settings.ScaleToFit = on;
    emit scaleToFitChanged(on);
}

void AnimationDocument::SetCaption(const QString &caption)
{
    const bool changed = caption != m_caption || !m_fileName.isEmpty();
    m_caption = caption;
    m_fileName.clear();
    if (changed)
        emit captionChanged(m_caption);
}

void AnimationDocument::SetCurrentFileName(const QString &fileName)
{
    if (fileName.isEmpty()) {
        SetCaption(ResetCaption);
        return;
    }
    const QString caption = QStringLiteral("Reelcraft - [") + fileName + QLatin1Char(']');
    if (caption == m_caption && fileName == m_fileName)
        return;
    m_caption = caption;
    m_fileName = fileName;
    emit captionChanged(m_caption);
}

int AnimationDocument::indexOf(FrameId id) const
{
    if (id == 0)
        return -1;
    for (int i = 0; i < m_frames.size(); ++i) {
        if (m_frames.at(i).Id == id)
            return i;
    }
    return -1;
}

int AnimationDocument::appendFrame(const QString &picturePath, const QString &captionText,
                                   const QSize &pictureSize, const QImage &thumbnail)
{
    AnimationFrame frame;
    frame.Id = m_nextId++;
    frame.PicturePath = picturePath;
    frame.CaptionText = captionText;
    frame.PictureSize = pictureSize;
    frame.Thumbnail = thumbnail;
    m_frames.append(frame);
    const int index = int(m_frames.size()) - 1;
    emit frameAdded(index);
    return index;
}

bool AnimationDocument::setFramePicture(int index, const QSize &pictureSize, const QImage &thumbnail)
{
    if (!validIndex(index))
        return false;
    AnimationFrame &frame = m_frames[index];
    frame.PictureSize = pictureSize;
    frame.Thumbnail = thumbnail;
    emit framePictureChanged(index);
    return true;
}

bool AnimationDocument::setCaptionText(int index, const QString &captionText)
{
    if (!validIndex(index))
        return false;
    if (m_frames.at(index).CaptionText == captionText)
        return true;
    m_frames[index].CaptionText = captionText;
    emit frameCaptionChanged(index);
    return true;
}

void AnimationDocument::dropCurrentFrameIf(FrameId id)
{
    if (m_currentFrame != 0 && m_currentFrame == id) {
        m_currentFrame = 0;
        emit currentFrameChanged(-1);
    }
}

bool AnimationDocument::removeFrame(int index)
{
    if (!validIndex(index))
        return false;
    const AnimationFrame frame = m_frames.takeAt(index);
    if (frame.Selected)
        --m_selectedCount;
    emit frameRemoved(index, frame.Id);
    dropCurrentFrameIf(frame.Id);
    return true;
}

int AnimationDocument::removeSelectedFrames()
{
    int removed = 0;
    for (int i = int(m_frames.size()) - 1; i >= 0; --i) {
        if (m_frames.at(i).Selected) {
            removeFrame(i);
            ++removed;
        }
    }
    return removed;
}

bool AnimationDocument::moveFrame(int from, int to)
{
    if (!validIndex(from) || !validIndex(to))
        return false;
    if (from == to)
        return true;
    m_frames.move(from, to);
    emit frameMoved(from, to);
    return true;
}

bool AnimationDocument::exchangeFrames(int a, int b)
{
    if (!validIndex(a) || !validIndex(b))
        return false;
    if (a == b)
        return true;
    m_frames.swapItemsAt(a, b);
    emit framesExchanged(a, b);
    return true;
}

void AnimationDocument::clearFrames()
{
    const bool hadCurrent = m_currentFrame != 0;
    m_selectedCount = 0;
    m_frames.clear();
    m_currentFrame = 0;
    emit framesCleared();
    if (hadCurrent)
        emit currentFrameChanged(-1);
}

bool AnimationDocument::SetSelected(int index, bool selected)
{
    if (!validIndex(index))
        return false;
    AnimationFrame &frame = m_frames[index];
    if (frame.Selected == selected)
        return true;
    frame.Selected = selected;
    m_selectedCount += selected ? 1 : -1;
    emit frameSelectionChanged(index, selected);
    return true;
}

void AnimationDocument::ClearSelection(int except)
{
    for (int i = 0; i < m_frames.size(); ++i) {
        if (i != except)
            SetSelected(i, false);
    }
}

QList<int> AnimationDocument::selectedIndexes() const
{
    QList<int> indexes;
    for (int i = 0; i < m_frames.size(); ++i) {
        if (m_frames.at(i).Selected)
            indexes.append(i);
    }
    return indexes;
}

void AnimationDocument::SetCurrentFrame(int index)
{
    const FrameId id = validIndex(index) ? m_frames.at(index).Id : 0;
    if (id == m_currentFrame)
        return;
    m_currentFrame = id;
    emit currentFrameChanged(id == 0 ? -1 : index);
}

int AnimationDocument::LargestFrameSide(const QString &side) const
{
    const bool width = side.compare(QLatin1String("width"), Qt::CaseInsensitive) == 0;
    int largest = 0;
    for (const AnimationFrame &frame : m_frames)
        largest = std::max(largest, width ? frame.PictureSize.width() : frame.PictureSize.height());
    return largest;
}

void AnimationDocument::ResetDocument()
{
    const AnimationSettings reset = AnimationSettings::ResetValues();
    auto resetText = [&](TextSetting setting) { setText(setting, reset.text(setting)); };
    auto resetList = [&](ListSetting setting) { setSelectedIndex(setting, reset.selectedIndex(setting)); };

    resetText(TextSetting::JavaWidth);
    resetText(TextSetting::JavaHeight);

    resetText(TextSetting::Soundtrack);
    resetText(TextSetting::BackImage);

    resetList(ListSetting::Edge);
    resetList(ListSetting::HorizDirection);
    resetList(ListSetting::VertDirection);
    resetList(ListSetting::FontName);

    resetText(TextSetting::FontSize);
    resetList(ListSetting::FontStyle);
    resetText(TextSetting::Repeat);

    resetText(TextSetting::VerticalSpeed);
    resetText(TextSetting::HorizSpeed);
    resetText(TextSetting::BetweenFrames);
    resetText(TextSetting::Delay);
    setScaleToFit(false);

    // Also in decimal mode no earlier hexadecimal colour may survive the reset.
    m_background.Clear();

    clearFrames();

    SetCaption(ResetCaption);
    emit documentReset();
}

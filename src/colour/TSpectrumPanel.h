#pragma once

#include "colour/ColourText.h"

#include <QFrame>
#include <QImage>

class QLabel;
class TTriangle;

// The colour picker's right-hand panel: the hue spectrum with its two triangle markers and
// the grey strip. Every pick is reported through colourPicked; the dialog makes it current.
class TSpectrumPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TSpectrumPanel(QWidget *parent = nullptr);

    // Where the spectrum sits in the panel, and the marker ranges worked out from its
    // designed height of 384.
    static constexpr int SpectrumLeft = 14;
    static constexpr int SpectrumTop = 13;
    static constexpr int DesignedHeight = 384;

    // Draws the spectrum and the grey strip; the spectrum control takes the picture's height.
    void BuildSpectrum();
    bool SpectrumBuilt() const { return m_built; }
    const QImage &Spectrum() const { return m_spectrum; }
    const QImage &Greys() const { return m_greys; }

    // The last picked spectrum pixel; (-1, -1) until the first pick.
    QPoint Marker() const { return m_marker; }
    void PlaceMarkers(int x, int y);
    // Picks the spectrum pixel (x, y), then remembers it as the marker position.
    void SelectSpectrumPixel(int x, int y);
    // Moves the marker by step pixels for an arrow key; false for any other key. The marker
    // moves only when the new position lies inside the spectrum.
    bool ArrowKey(int key, int step);
    // The nearest-colour search in the spectrum for colour.
    void FindInSpectrum(ColourValue colour);
    // Puts the markers, and the marker position, on the spectrum pixel that search finds,
    // without picking it.
    void MarkNearest(ColourValue colour);

    QLabel *imgSpectrum = nullptr;
    QLabel *imgGreys = nullptr;
    QFrame *Shape4 = nullptr;
    QFrame *Shape5 = nullptr;
    TTriangle *triHoriz = nullptr;
    TTriangle *triVert = nullptr;

signals:
    void colourPicked(ColourValue colour);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The pointer stays inside the pressed picture while the button is held: a point
    // outside is moved back to the nearest one inside. Returns that point.
    QPoint confine(QWidget *picture, const QPoint &point) const;
    bool pictureMouse(QWidget *picture, QMouseEvent *event);
    bool triangleMouse(TTriangle *triangle, QMouseEvent *event);

    QImage m_spectrum;
    QImage m_greys;
    bool m_built = false;
    QPoint m_marker{-1, -1};
    int m_horizLow = 0, m_horizHigh = 0, m_vertLow = 0, m_vertHigh = 0;
};

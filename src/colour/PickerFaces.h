#pragma once

#include <QIcon>

// Small drawn faces for the colour picker's flat buttons that have no glyph file: a
// spectrum for "More colors" and palette cells under a lens for the nearest-colour search.
QIcon spectrumFace();
QIcon findFace();

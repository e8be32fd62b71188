#pragma once

#include <QCursor>

// The program's own mouse pointers, drawn at 32 x 32 from the SVG resources under
// ":/cursors/": the pipette that samples a colour from the screen (hot spot at its tip)
// and the magnifier (hot spot in the middle of its lens).
QCursor SamplingCursor();
QCursor MagnifierCursor();

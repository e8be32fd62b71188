#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// How CenterLabel places a control in its parent.
enum class CenterMode { Both = 0, Horizontal = 1, Vertical = 2 };

// Centres the control in its parent's area without changing its size: mode 0 both ways,
// 1 horizontally only, 2 vertically only. Any other mode, or no parent, leaves it alone.
void CenterLabel(QWidget *label, int mode);
void CenterLabel(QWidget *label, CenterMode mode);

// The resource path of a glyph: ":/glyphs/<name>.svg", else ".png" (each also tried with
// the name in lower case); empty when the program has no such glyph.
QString GlyphPath(const QString &resourceName);
// Puts the glyph onto the button's icon. A missing glyph leaves the button with an empty
// icon and gives false.
bool LoadGlyph(QAbstractButton *button, const QString &resourceName);

#pragma once

#include <QString>

class QWidget;
class RegistryKey;

// A window's place and state in the subkey "Form Positions\<name>" of the key open in
// registry: string values "Top", "Left", "Width", "Height" (decimal pixels) and
// "Window State" ("Normal", "Min" or "Max"). Top and Left are the frame's position,
// Width and Height the size of the window's contents, as move() and resize() take them.

// Sets the stored state; in the normal state applies each stored number. False when the
// state word is missing or unknown, or when no "Top" is stored (the window then keeps its
// design place unless other numbers are stored).
bool LoadFormPosition(const RegistryKey &registry, QWidget *window, const QString &name);

// Writes the four numbers and the state word; false when any write fails.
bool SaveFormPosition(RegistryKey &registry, const QWidget *window, const QString &name);

QString FormPositionKey(const QString &name);

#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>

// The web player: our own script that plays the applet element in browsers without Java.
// It is carried in the program as the resource ":/quilanim.js", kept in the classes folder
// beside the class files and copied wherever they go.

inline constexpr QLatin1String WebPlayerFileName{"quilanim.js"};

// The line that follows the element in a page: <script src="quilanim.js"></script>.
QString WebPlayerScriptLine();

// The element, CR LF and the script line: what goes into a page that should also play
// where no Java runs.
QString WithWebPlayer(const QString &element);

// The script as the program carries it.
QByteArray EmbeddedWebPlayer();

// The first line of a script text (its version comment), without the line break.
QByteArray FirstLine(const QByteArray &text);

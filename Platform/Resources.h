#pragma once
// The pictures and texts compiled into the program. They live in a static
// library, whose resources the linker keeps only when something refers to
// them: every window calls init() before it loads a picture.
//
// Pictures of the program's own are read through picture(): by the reader
// that their file name's suffix names and no other. Given a file name
// alone, the toolkit first loads every image plug-in it has (SVG with its
// library, JPEG, ...) to ask each whether it would rather read the file;
// the start would pay for all of them to show a few PNG pictures.
#include <QImage>
#include <QPixmap>
#include <QString>

namespace Resources {
void init();
// The picture in a file (":/skin/close.png", a GIF's first frame); null
// when it cannot be read.
QImage image(const QString& path);
QPixmap picture(const QString& path);
// A picture of the windows' skin, by its name in ":/skin/".
QPixmap skin(const char* name);
} // namespace Resources

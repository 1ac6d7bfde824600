#pragma once

#include <QImage>
#include <QPixmap>

namespace jt::app {

// The program's pictures, drawn when first asked for so that no image files ship.
QPixmap mainPicture();   // 305 x 289, the main window's Image1
QPixmap splashPicture(); // 270 x 72, fills the splash window's panel
QPixmap programIcon();   // 32 x 32
// The program icon drawn at size x size, for the icons an installation puts in place.
QImage programIconImage(int size);

} // namespace jt::app

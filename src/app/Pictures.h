#pragma once

#include <QPixmap>

namespace jt::app {

// The program's pictures, drawn when first asked for so that no image files ship.
QPixmap mainPicture();   // 305 x 289, the main window's Image1
QPixmap splashPicture(); // 270 x 72, fills the splash window's panel
QPixmap programIcon();   // 32 x 32

} // namespace jt::app

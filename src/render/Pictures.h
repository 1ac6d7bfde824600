#pragma once

#include <QImage>

namespace jt::render {

// The pictures report logos start with until a logo file replaces them. Both are
// drawn here, at their first use.
// A small square product logo for the ordinary reports.
const QImage& builtInLogo();
// The wide picture of the header sheet, 358 x 220 pixels.
const QImage& builtInBigLogo();

} // namespace jt::render

#pragma once

class QApplication;

namespace jt::dbcontrols {

// Turns the mouse wheel into arrow keys for the whole program: each notch turned
// forward is one press of Up, each notch turned back one press of Down, delivered to
// the control with the keyboard focus (in a grid, one row per notch). Installed once at
// start-up; installing again does nothing.
void installWheelTranslation(QApplication& app);

} // namespace jt::dbcontrols

#pragma once

#include <QApplication>
#include <QWidget>

namespace jt::test {

// Key presses go where a person's would: to the widget with the keyboard focus.
inline QWidget* focused(QWidget* fallback) {
    QWidget* w = QApplication::focusWidget();
    return w ? w : fallback;
}

} // namespace jt::test

#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace jt::app {

// The window shown while the program builds its windows: borderless, one raised panel
// filled by one picture.
class TSplashScreen final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSplashScreen)

public:
    explicit TSplashScreen(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;

    // Shows the window and paints it at once, before the event loop runs.
    void showAndPaint();
};

} // namespace jt::app

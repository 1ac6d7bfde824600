#include "WidgetDialogs.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    jt::platform::WidgetDialogs dialogs;
    jt::platform::setDialogs(&dialogs);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Jigtally"));
    window.resize(312, 386);
    window.show();
    const int code = app.exec();
    jt::platform::setDialogs(nullptr);
    return code;
}

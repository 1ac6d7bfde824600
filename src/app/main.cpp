#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Jigtally"));
    window.resize(312, 386);
    window.show();
    return app.exec();
}

#include "CliCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    // Reports lay text out with the GUI library's fonts, which need its application
    // object; without a screen it runs on the offscreen platform.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && (std::strcmp(argv[1], "report") == 0 || std::strcmp(argv[1], "pack") == 0)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = jt::cli::runCli(app->arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}

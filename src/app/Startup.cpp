#include "Startup.h"

#include "HelpViewer.h"
#include "ProgramWindows.h"
#include "TMain.h"
#include "TSplashScreen.h"
#include "WidgetDialogs.h"
#include "data/ProgramState.h"
#include "dbcontrols/WheelTranslation.h"
#include "platform/HelpTopic.h"
#include "platform/Termination.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace jt::app {

QString helpFolder() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/" JIGTALLY_HELP_FROM_PROGRAM);
    if (QFileInfo(installed).isDir())
        return QDir::cleanPath(installed);
    return QStringLiteral(JIGTALLY_BUILD_HELP_DIR);
}

struct ProgramServices::Parts {
    platform::WidgetDialogs dialogs;
    HelpViewer viewer;
    HelpKeyFilter helpKeys;
};

ProgramServices::ProgramServices() : m_parts(new Parts) {
    QApplication::setApplicationName(QStringLiteral("Jigtally 2008"));
    // The main window's close ends the program even while the help viewer is open.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::setDialogs(&m_parts->dialogs);
    m_parts->viewer.setHelpFolder(helpFolder());
    platform::setHelpHandler([viewer = &m_parts->viewer](int topic) { viewer->showTopic(topic); });
    qApp->installEventFilter(&m_parts->helpKeys);
    dbcontrols::installWheelTranslation(*static_cast<QApplication*>(QCoreApplication::instance()));
    platform::setTerminationHandler([] { QCoreApplication::exit(0); });
}

void ProgramServices::setStartUpWindow(QWidget* window) {
    m_parts->dialogs.setFallbackParent(window);
}

ProgramServices::~ProgramServices() {
    platform::setTerminationHandler({});
    qApp->removeEventFilter(&m_parts->helpKeys);
    platform::setHelpHandler({});
    platform::setDialogs(nullptr);
    delete m_parts;
}

int runProgram(QApplication& app, ProgramState& state) {
    auto splash = std::make_unique<TSplashScreen>();
    splash->showAndPaint();
    ProgramServices services;
    // The first-start message comes while the splash is up: it opens in front of it.
    services.setStartUpWindow(splash.get());
    ProgramWindows windows(state);
    QObject::connect(windows.main(), &TMain::closeConfirmed, &app, &QCoreApplication::quit);
    services.setStartUpWindow(nullptr);
    splash.reset();
    windows.main()->show();
    return app.exec();
}

} // namespace jt::app

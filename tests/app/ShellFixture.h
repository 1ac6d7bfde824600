#pragma once

#include "app/ProgramWindows.h"
#include "app/TMain.h"
#include "platform/Termination.h"
#include "support/Competition.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>

namespace jt::test {

// The program's windows, built in the start-up order over the competition fixture's
// folder and state (the windows make the data module).
struct Shell : Competition {
    std::unique_ptr<app::ProgramWindows> windows;

    explicit Shell(const QString& alias = QStringLiteral("jigtally 2008")) : Competition(alias) {
        platform::clearTerminationRequest();
        windows = std::make_unique<app::ProgramWindows>(state);
    }
    ~Shell() override {
        windows.reset();
        platform::clearTerminationRequest();
    }

    app::TMain& main() const { return *windows->main(); }
    // A menu command chosen as the user would: through the action, so that it runs
    // under the general error display.
    void choose(QAction* item) const { item->trigger(); }
    void select(const QString& fileName) {
        dialogs.answerFile(folder.filePath(fileName));
        choose(main().Select1);
    }
    // Enabled state of a menu item or menu by object name.
    bool enabled(const QString& name) const {
        if (auto* menu = main().findChild<QMenu*>(name))
            return menu->menuAction()->isEnabled();
        auto* action = main().findChild<QAction*>(name);
        if (!action)
            qFatal("no menu item %s", qPrintable(name));
        return action->isEnabled();
    }
};

} // namespace jt::test

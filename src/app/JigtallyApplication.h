#pragma once

#include <QApplication>

namespace jt::app {

// The application object. Its last line of defence shows any error that escaped a
// handler in the general error display instead of ending the program; the handlers
// themselves run under platform::runGuarded, so nothing normally gets this far.
class JigtallyApplication final : public QApplication {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JigtallyApplication)

public:
    JigtallyApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace jt::app

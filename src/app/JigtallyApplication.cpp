#include "JigtallyApplication.h"

#include "platform/Guarded.h"

namespace jt::app {

JigtallyApplication::JigtallyApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool JigtallyApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        platform::reportCurrentException();
        return false;
    }
}

} // namespace jt::app

#pragma once

#include <QStringList>

#include <functional>
#include <vector>

class QObject;

namespace jt {
class ProgramState;
}

namespace jt::app {

class TMain;

// Every window of the program and the state's data module, created once in the start-up
// order (the main window first, so that it is the main window) and destroyed in the
// reverse order, the main window last. The state outlives them.
class ProgramWindows final {
public:
    explicit ProgramWindows(ProgramState& state);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TMain* main() const { return m_main; }
    // Object names in the order of creation.
    QStringList creationOrder() const;

private:
    template <typename T> T* create(QObject* parent);
    void created(QObject* object, std::function<void()> destroy);

    ProgramState& m_state;
    QStringList m_names;
    // One per object, in the order of creation.
    std::vector<std::function<void()>> m_destroyers;
    TMain* m_main = nullptr;
};

} // namespace jt::app

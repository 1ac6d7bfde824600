#pragma once

#include <QStringList>

#include <memory>
#include <vector>

class QObject;

namespace jt::app {

class TMain;

// Every window of the program and the data module, created once in the start-up order
// (the main window first, so that it is the main window) and destroyed in the reverse
// order, the main window last.
class ProgramWindows final {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TMain* main() const { return m_main; }
    // Object names in the order of creation.
    QStringList creationOrder() const;

private:
    template <typename T> T* create(QObject* parent);

    std::vector<std::unique_ptr<QObject>> m_objects;
    TMain* m_main = nullptr;
};

} // namespace jt::app

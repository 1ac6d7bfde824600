#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::marks {

// SeeAll Spreadsheet: every stored field of every dancer. Created once at start-up and shown
// modally; its controls come with the work on this window.
class Tseeallform final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tseeallform)

public:
    explicit Tseeallform(ProgramState& state, QWidget* parent = nullptr);
    ~Tseeallform() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern Tseeallform* seeallform;

} // namespace jt::marks

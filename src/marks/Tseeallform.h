#pragma once

#include <QDialog>

namespace jt::marks {

// SeeAll Spreadsheet: every stored field of every dancer. Created once at start-up and shown
// modally; its controls come with the work on this window.
class Tseeallform final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tseeallform)

public:
    explicit Tseeallform(QWidget* parent = nullptr);
    ~Tseeallform() override;
};

// The program's instance (set while one exists).
extern Tseeallform* seeallform;

} // namespace jt::marks

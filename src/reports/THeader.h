#pragma once

#include <QDialog>

namespace jt::reports {

// Header sheet definition. Created once at start-up and shown modally; its controls come with the
// work on this window.
class THeader final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(THeader)

public:
    explicit THeader(QWidget* parent = nullptr);
    ~THeader() override;
};

// The program's instance (set while one exists).
extern THeader* Header;

} // namespace jt::reports

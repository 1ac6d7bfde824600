#pragma once

#include <QDialog>

namespace jt::reports {

// Recall report definition (five adjudicators). Created once at start-up and shown modally; its
// controls come with the work on this window.
class TRecallRept final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept)

public:
    explicit TRecallRept(QWidget* parent = nullptr);
    ~TRecallRept() override;
};

// The program's instance (set while one exists).
extern TRecallRept* RecallRept;

} // namespace jt::reports

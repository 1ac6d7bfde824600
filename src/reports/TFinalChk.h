#pragma once

#include <QDialog>

namespace jt::reports {

// Checklist shown before the final marks report. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TFinalChk final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalChk)

public:
    explicit TFinalChk(QWidget* parent = nullptr);
    ~TFinalChk() override;
};

// The program's instance (set while one exists).
extern TFinalChk* FinalChk;

} // namespace jt::reports

#pragma once

#include <QWizardPage>

#include <functional>

namespace jt::wizards {

// A wizard page whose entering and leaving are handed in by the wizard that owns it, so
// each wizard keeps its steps in one place.
class StepPage final : public QWizardPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepPage)

public:
    explicit StepPage(QWidget* parent = nullptr) : QWizardPage(parent) {}
    std::function<void()> onEnter;
    std::function<bool()> onLeave;

    void initializePage() override {
        if (onEnter)
            onEnter();
    }
    bool validatePage() override { return onLeave ? onLeave() : true; }
};

} // namespace jt::wizards

#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace jt {
class ProgramState;
}

namespace jt::app {

// Set Event Name: shows the stored event name and stores a new one.
class TEventNameForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEventNameForm)

public:
    static constexpr int kMaxLength = 30;

    explicit TEventNameForm(ProgramState& state, QWidget* parent = nullptr);
    ~TEventNameForm() override;

    QLabel* Label1 = nullptr;
    QLineEdit* EventEdit = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // Each time the window is shown: the edit box gets the stored event name.
    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProgramState& m_state;
};

extern TEventNameForm* EventNameForm;

} // namespace jt::app

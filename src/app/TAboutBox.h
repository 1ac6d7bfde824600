#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace jt {
class ProgramState;
}

namespace jt::app {

// The About box: program icon, name and version, the event name and the data folder.
class TAboutBox final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAboutBox)

public:
    explicit TAboutBox(ProgramState& state, QWidget* parent = nullptr);
    ~TAboutBox() override;

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* DataPath = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProgramState& m_state;
};

extern TAboutBox* AboutBox;

} // namespace jt::app

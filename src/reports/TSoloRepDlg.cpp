#include "TSoloRepDlg.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TSoloRepDlg* SoloRepDlg = nullptr;

TSoloRepDlg::TSoloRepDlg(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("SoloRepDlg"));
    platform::setHelpTopic(this, 540);
    SoloRepDlg = this;
}

TSoloRepDlg::~TSoloRepDlg() {
    if (SoloRepDlg == this)
        SoloRepDlg = nullptr;
}

} // namespace jt::reports

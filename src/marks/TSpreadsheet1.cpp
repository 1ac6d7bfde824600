#include "TSpreadsheet1.h"

#include "platform/HelpTopic.h"

namespace jt::marks {

TSpreadsheet1* Spreadsheet1 = nullptr;

TSpreadsheet1::TSpreadsheet1(ProgramState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("Spreadsheet1"));
    platform::setHelpTopic(this, 280);
    Spreadsheet1 = this;
}

TSpreadsheet1::~TSpreadsheet1() {
    if (Spreadsheet1 == this)
        Spreadsheet1 = nullptr;
}

} // namespace jt::marks

#include "TSpreadsheet.h"

#include "platform/HelpTopic.h"

namespace jt::marks {

TSpreadsheet* Spreadsheet = nullptr;

TSpreadsheet::TSpreadsheet(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("Spreadsheet"));
    platform::setHelpTopic(this, 280);
    Spreadsheet = this;
}

TSpreadsheet::~TSpreadsheet() {
    if (Spreadsheet == this)
        Spreadsheet = nullptr;
}

} // namespace jt::marks

#include "TDataEntry.h"

#include "platform/HelpTopic.h"

namespace jt::marks {

TDataEntry* DataEntry = nullptr;

TDataEntry::TDataEntry(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("DataEntry"));
    platform::setHelpTopic(this, 270);
    DataEntry = this;
}

TDataEntry::~TDataEntry() {
    if (DataEntry == this)
        DataEntry = nullptr;
}

} // namespace jt::marks

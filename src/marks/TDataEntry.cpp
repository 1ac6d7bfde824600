#include "TDataEntry.h"

#include "platform/HelpTopic.h"

namespace jt::marks {

TDataEntry* DataEntry = nullptr;

TDataEntry::TDataEntry(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DataEntry"));
    platform::setHelpTopic(this, 270);
    DataEntry = this;
}

TDataEntry::~TDataEntry() {
    if (DataEntry == this)
        DataEntry = nullptr;
}

} // namespace jt::marks

#include "TCompSetup.h"

#include "platform/HelpTopic.h"

namespace jt::setup {

TCompSetup* CompSetup = nullptr;

TCompSetup::TCompSetup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CompSetup"));
    platform::setHelpTopic(this, 330);
    CompSetup = this;
}

TCompSetup::~TCompSetup() {
    if (CompSetup == this)
        CompSetup = nullptr;
}

} // namespace jt::setup

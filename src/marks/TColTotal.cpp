#include "TColTotal.h"

#include "platform/HelpTopic.h"

namespace jt::marks {

TColTotal* ColTotal = nullptr;

TColTotal::TColTotal(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ColTotal"));
    platform::setHelpTopic(this, 400);
    ColTotal = this;
}

TColTotal::~TColTotal() {
    if (ColTotal == this)
        ColTotal = nullptr;
}

} // namespace jt::marks

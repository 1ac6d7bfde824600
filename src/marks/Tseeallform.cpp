#include "Tseeallform.h"

namespace jt::marks {

Tseeallform* seeallform = nullptr;

Tseeallform::Tseeallform(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("seeallform"));
    seeallform = this;
}

Tseeallform::~Tseeallform() {
    if (seeallform == this)
        seeallform = nullptr;
}

} // namespace jt::marks

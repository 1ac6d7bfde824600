#include "THeader.h"

namespace jt::reports {

THeader* Header = nullptr;

THeader::THeader(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Header"));
    Header = this;
}

THeader::~THeader() {
    if (Header == this)
        Header = nullptr;
}

} // namespace jt::reports

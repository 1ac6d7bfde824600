#include "THeader.h"

namespace jt::reports {

THeader* Header = nullptr;

THeader::THeader(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("Header"));
    Header = this;
}

THeader::~THeader() {
    if (Header == this)
        Header = nullptr;
}

} // namespace jt::reports

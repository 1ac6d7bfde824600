#include "TRecallRept.h"

namespace jt::reports {

TRecallRept* RecallRept = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("RECALL REPORT");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 8;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

TRecallRept::TRecallRept(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TRecallRept"), QStringLiteral("RecallRept"), titleStyle(),
                    parent) {
    RecallRept = this;
}

TRecallRept::~TRecallRept() {
    if (RecallRept == this)
        RecallRept = nullptr;
}

} // namespace jt::reports

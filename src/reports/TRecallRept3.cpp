#include "TRecallRept3.h"

namespace jt::reports {

TRecallRept3* RecallRept3 = nullptr;

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

TRecallRept3::TRecallRept3(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TRecallRept3"), QStringLiteral("RecallRept3"), titleStyle(),
                    parent) {
    RecallRept3 = this;
}

TRecallRept3::~TRecallRept3() {
    if (RecallRept3 == this)
        RecallRept3 = nullptr;
}

} // namespace jt::reports

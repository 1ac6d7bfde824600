#include "TAdjRecCheck.h"

namespace jt::reports {

TAdjRecCheck* AdjRecCheck = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("ADJ. CHECKSHEET");
    s.logoFile = QStringLiteral("logosmall.bmp");
    s.logoMode = render::PictureMode::OwnSize;
    s.eventBanner = false;
    s.eventInFooter = false;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

TAdjRecCheck::TAdjRecCheck(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TAdjRecCheck"), QStringLiteral("AdjRecCheck"), titleStyle(),
                    parent) {
    page.paper = render::Paper::A4Small;
    AdjRecCheck = this;
}

TAdjRecCheck::~TAdjRecCheck() {
    if (AdjRecCheck == this)
        AdjRecCheck = nullptr;
}

} // namespace jt::reports

#include "TWinReportP.h"

namespace jt::reports {

TWinReportP* WinReportP = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("WINNERS ROSTER");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

TWinReportP::TWinReportP(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TWinReportP"), QStringLiteral("WinReportP"), titleStyle(),
                    parent) {
    footerOnLastPage = false;
    WinReportP = this;
}

TWinReportP::~TWinReportP() {
    if (WinReportP == this)
        WinReportP = nullptr;
}

} // namespace jt::reports

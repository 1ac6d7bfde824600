#include "TWinReport.h"

namespace jt::reports {

TWinReport* WinReport = nullptr;

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

TWinReport::TWinReport(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TWinReport"), QStringLiteral("WinReport"), titleStyle(),
                    parent) {
    WinReport = this;
}

TWinReport::~TWinReport() {
    if (WinReport == this)
        WinReport = nullptr;
}

} // namespace jt::reports

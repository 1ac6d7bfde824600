#include "TRecalRead.h"

namespace jt::reports {

TRecalRead* RecalRead = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("RECALL LIST");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = false;
    s.eventInFooter = false;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

TRecalRead::TRecalRead(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TRecalRead"), QStringLiteral("RecalRead"), titleStyle(),
                    parent) {
    RecalRead = this;
}

TRecalRead::~TRecalRead() {
    if (RecalRead == this)
        RecalRead = nullptr;
}

} // namespace jt::reports

#include "TFinalRept5x3.h"

namespace jt::reports {

TFinalRept5x3* FinalRept5x3 = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("MARKS");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 8;
    s.orientation = render::Orientation::Landscape;
    return s;
}
} // namespace

TFinalRept5x3::TFinalRept5x3(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TFinalRept5x3"), QStringLiteral("FinalRept5x3"), titleStyle(),
                    parent) {
    FinalRept5x3 = this;
}

TFinalRept5x3::~TFinalRept5x3() {
    if (FinalRept5x3 == this)
        FinalRept5x3 = nullptr;
}

} // namespace jt::reports

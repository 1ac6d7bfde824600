#include "TFinalRept3x3.h"

namespace jt::reports {

TFinalRept3x3* FinalRept3x3 = nullptr;

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

TFinalRept3x3::TFinalRept3x3(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TFinalRept3x3"), QStringLiteral("FinalRept3x3"), titleStyle(),
                    parent) {
    FinalRept3x3 = this;
}

TFinalRept3x3::~TFinalRept3x3() {
    if (FinalRept3x3 == this)
        FinalRept3x3 = nullptr;
}

} // namespace jt::reports

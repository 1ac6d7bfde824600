#include "TFinalRept3x4.h"

namespace jt::reports {

TFinalRept3x4* FinalRept3x4 = nullptr;

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

TFinalRept3x4::TFinalRept3x4(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TFinalRept3x4"), QStringLiteral("FinalRept3x4"), titleStyle(),
                    parent) {
    FinalRept3x4 = this;
}

TFinalRept3x4::~TFinalRept3x4() {
    if (FinalRept3x4 == this)
        FinalRept3x4 = nullptr;
}

} // namespace jt::reports

#include "TFinalRept.h"

namespace jt::reports {

TFinalRept* FinalRept = nullptr;

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

TFinalRept::TFinalRept(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TFinalRept"), QStringLiteral("FinalRept"), titleStyle(),
                    parent) {
    FinalRept = this;
}

TFinalRept::~TFinalRept() {
    if (FinalRept == this)
        FinalRept = nullptr;
}

} // namespace jt::reports

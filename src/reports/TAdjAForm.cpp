#include "TAdjAForm.h"

namespace jt::reports {

TAdjAForm* AdjAForm = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("GRID MARKS");
    s.logoFile = QStringLiteral("logosmall.bmp");
    s.logoMode = render::PictureMode::OwnSize;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

TAdjAForm::TAdjAForm(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TAdjAForm"), QStringLiteral("AdjAForm"), titleStyle(), parent) {
    AdjAForm = this;
}

TAdjAForm::~TAdjAForm() {
    if (AdjAForm == this)
        AdjAForm = nullptr;
}

} // namespace jt::reports

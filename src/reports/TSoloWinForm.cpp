#include "TSoloWinForm.h"

namespace jt::reports {

TSoloWinForm* SoloWinForm = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("SOLO RESULT");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::OwnSize;
    s.eventBanner = false;
    s.eventInFooter = false;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

TSoloWinForm::TSoloWinForm(ProgramState&, QObject* parent)
    : PendingReport(QStringLiteral("TSoloWinForm"), QStringLiteral("SoloWinForm"), titleStyle(),
                    parent) {
    page.paper = render::Paper::A4Small;
    SoloWinForm = this;
}

TSoloWinForm::~TSoloWinForm() {
    if (SoloWinForm == this)
        SoloWinForm = nullptr;
}

} // namespace jt::reports

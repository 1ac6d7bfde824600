#include "TFinalReport.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TFinalReport* FinalReport = nullptr;

TFinalReport::TFinalReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FinalReport"));
    platform::setHelpTopic(this, 310);
    FinalReport = this;
}

TFinalReport::~TFinalReport() {
    if (FinalReport == this)
        FinalReport = nullptr;
}

} // namespace jt::reports

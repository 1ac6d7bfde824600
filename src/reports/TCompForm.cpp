#include "TCompForm.h"

namespace jt::reports {

TCompForm* CompForm = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("COMPETITORS");
    s.logoMode = render::PictureMode::OwnSize;
    s.secondLineSize = 10;
    s.fontSize = 10;
    return s;
}
} // namespace

using render::Align;

TCompForm::TCompForm(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TCompForm"), QStringLiteral("CompForm"), titleStyle(), parent) {
    columnHeader.height = 7;
    addText(columnHeader, QStringLiteral("HDancer"), QRectF(2, 1, 20, 5), QStringLiteral("Dancer"));
    addText(columnHeader, QStringLiteral("HName"), QRectF(25, 1, 70, 5), QStringLiteral("Name"));
    addText(columnHeader, QStringLiteral("HSchool"), QRectF(105, 1, 80, 5),
            QStringLiteral("School"));

    // The numbers end under the end of the heading "Dancer".
    detail.height = 5;
    addField(detail, QStringLiteral("CompNo"), QRectF(2, 0.5, 11.4, 4), QStringLiteral("COMP_NO"),
             Align::Right, QString(), 8);
    addField(detail, QStringLiteral("DancerName"), QRectF(25, 0.5, 78, 4), QStringLiteral("NAME"),
             Align::Left, QString(), 8)
        .shrinkToFit = true;
    addField(detail, QStringLiteral("School"), QRectF(105, 0.5, 83, 4), QStringLiteral("SCHOOL"),
             Align::Left, QString(), 8)
        .shrinkToFit = true;
    CompForm = this;
}

TCompForm::~TCompForm() {
    if (CompForm == this)
        CompForm = nullptr;
}

} // namespace jt::reports

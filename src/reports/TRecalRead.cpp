#include "TRecalRead.h"

#include "engine/Table.h"

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
    s.secondLineSize = 10;
    s.fontSize = 10;
    return s;
}

// Where the "Speed" and "Set Dance" boxes begin.
constexpr double kSpeedLeft = 30;
constexpr double kSetLeft = 110;
} // namespace

using render::Align;

TRecalRead::TRecalRead(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TRecalRead"), QStringLiteral("RecalRead"), titleStyle(),
                   parent) {
    RecalTmp = new engine::Table(this);
    RecalTmp->setObjectName(QStringLiteral("RecalTmp"));
    RecalTmp->setTableName(QStringLiteral("RecalTmp.dbf"));
    dataSet = RecalTmp;

    columnHeader.height = 7;
    addText(columnHeader, QStringLiteral("HDancer"), QRectF(2, 1, kSpeedLeft - 4, 5),
            QStringLiteral("Dancer"), 0, false, Align::Right);
    addText(columnHeader, QStringLiteral("HSpeed"), QRectF(kSpeedLeft + 2, 1, 60, 5),
            QStringLiteral("Speed"));
    addText(columnHeader, QStringLiteral("HSetDance"), QRectF(kSetLeft + 2, 1, 60, 5),
            QStringLiteral("Set Dance"));
    addVerticalLine(columnHeader, QStringLiteral("HSpeedRule"), kSpeedLeft);
    addVerticalLine(columnHeader, QStringLiteral("HSetRule"), kSetLeft);

    // Rows tall enough to write a mark in; the vertical rules close the boxes.
    detail.height = 11;
    addField(detail, QStringLiteral("CompNo"), QRectF(2, 3, kSpeedLeft - 4, 5),
             QStringLiteral("COMP_NO"), Align::Right);
    addVerticalLine(detail, QStringLiteral("SpeedRule"), kSpeedLeft);
    addVerticalLine(detail, QStringLiteral("SetRule"), kSetLeft);
    RecalRead = this;
}

TRecalRead::~TRecalRead() {
    if (RecalRead == this)
        RecalRead = nullptr;
}

} // namespace jt::reports

#include "WinnersRosterLayout.h"

namespace jt::reports {

TitleStyle winnersRosterStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("WINNERS ROSTER");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}

void addRosterColumns(render::ReportDefinition& report,
                      std::initializer_list<RosterColumn> columns) {
    report.columnHeader.height = 6;
    report.detail.height = 5;
    for (const RosterColumn& c : columns) {
        const QString name = QString::fromLatin1(c.name);
        report.addText(report.columnHeader, QStringLiteral("H") + name,
                       QRectF(c.left, 1, c.width, 4), QString::fromLatin1(c.heading), 8, false,
                       c.headingAlign);
        // A name or school too long for its column prints smaller.
        report
            .addField(report.detail, name, QRectF(c.left, 0.5, c.width, 4),
                      QString::fromLatin1(c.field), c.align, QString::fromLatin1(c.mask), 8)
            .shrinkToFit = true;
    }
}

} // namespace jt::reports

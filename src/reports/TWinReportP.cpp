#include "TWinReportP.h"

namespace jt::reports {

TWinReportP* WinReportP = nullptr;

namespace {
TitleStyle titleStyle() {
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
} // namespace

using render::Align;

TWinReportP::TWinReportP(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TWinReportP"), QStringLiteral("WinReportP"), titleStyle(),
                   parent) {
    footerOnLastPage = false;
    const double w = contentWidth();
    Subtitle = &addText(title, QStringLiteral("Subtitle"), QRectF(w / 2 - 35, 7.5, 70, 5),
                        QStringLiteral("Non-Recall Championship"), 10, false, Align::Center);

    columnHeader.height = 6;
    detail.height = 5;
    const struct {
        const char* name;
        const char* heading;
        const char* field;
        Align align;
        double left;
        double width;
    } columns[] = {
        {"Position", "Position", "POSITION", Align::Right, 2, 14},
        {"Dancer", "Dancer", "COMP_NO", Align::Left, 20, 16},
        {"DancerName", "Name", "NAME", Align::Left, 40, 66},
        {"School", "School", "SCHOOL", Align::Left, 108, 60},
        {"Total", "Total", "RECALLTTL", Align::Right, 170, 18},
    };
    for (const auto& c : columns) {
        const QString name = QString::fromLatin1(c.name);
        addText(columnHeader, QStringLiteral("H") + name, QRectF(c.left, 1, c.width, 4),
                QString::fromLatin1(c.heading), 8);
        addField(detail, name, QRectF(c.left, 0.5, c.width, 4), QString::fromLatin1(c.field),
                 c.align, QString(), 8);
    }
    WinReportP = this;
}

TWinReportP::~TWinReportP() {
    if (WinReportP == this)
        WinReportP = nullptr;
}

} // namespace jt::reports

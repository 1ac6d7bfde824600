#include "TWinReport.h"

namespace jt::reports {

TWinReport* WinReport = nullptr;

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

TWinReport::TWinReport(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TWinReport"), QStringLiteral("WinReport"), titleStyle(),
                   parent) {
    const double w = contentWidth();
    // Centred under the report's name.
    Subtitle = &addText(title, QStringLiteral("Subtitle"), QRectF(w / 2 - 35, 7.5, 70, 5),
                        QStringLiteral("Recall Championship"), 10, false, Align::Center);

    columnHeader.height = 6;
    detail.height = 5;
    const struct {
        const char* name;
        const char* heading;
        Align headingAlign;
        const char* field;
        Align align;
        const char* mask;
        double left;
        double width;
    } columns[] = {
        {"Position", "Position", Align::Left, "POSITION", Align::Right, "", 2, 14},
        {"Tie", "Tie", Align::Left, "FINALCHAR", Align::Center, "", 18, 8},
        {"Dancer", "Dancer", Align::Left, "COMP_NO", Align::Right, "", 28, 12},
        {"DancerName", "Name", Align::Left, "NAME", Align::Left, "", 44, 64},
        {"School", "School", Align::Left, "SCHOOL", Align::Left, "", 110, 58},
        {"Total", "Total", Align::Right, "GRIDTOTAL", Align::Right, "0.00", 170, 18},
    };
    for (const auto& c : columns) {
        const QString name = QString::fromLatin1(c.name);
        addText(columnHeader, QStringLiteral("H") + name, QRectF(c.left, 1, c.width, 4),
                QString::fromLatin1(c.heading), 8, false, c.headingAlign);
        addField(detail, name, QRectF(c.left, 0.5, c.width, 4), QString::fromLatin1(c.field),
                 c.align, QString::fromLatin1(c.mask), 8);
    }
    WinReport = this;
}

TWinReport::~TWinReport() {
    if (WinReport == this)
        WinReport = nullptr;
}

} // namespace jt::reports

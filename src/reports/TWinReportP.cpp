#include "TWinReportP.h"

#include "WinnersRosterLayout.h"

namespace jt::reports {

TWinReportP* WinReportP = nullptr;

using render::Align;

TWinReportP::TWinReportP(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TWinReportP"), QStringLiteral("WinReportP"),
                   winnersRosterStyle(), parent) {
    footerOnLastPage = false;
    const double w = contentWidth();
    Subtitle = &addText(title, QStringLiteral("Subtitle"), QRectF(w / 2 - 35, 7.5, 70, 5),
                        QStringLiteral("Non-Recall Championship"), 10, false, Align::Center);

    addRosterColumns(*this,
                     {
                         {"Position", "Position", Align::Left, "POSITION", Align::Right, "", 2, 14},
                         {"Dancer", "Dancer", Align::Left, "COMP_NO", Align::Left, "", 20, 16},
                         {"DancerName", "Name", Align::Left, "NAME", Align::Left, "", 40, 66},
                         {"School", "School", Align::Left, "SCHOOL", Align::Left, "", 108, 60},
                         {"Total", "Total", Align::Left, "RECALLTTL", Align::Right, "", 170, 18},
                     });
    WinReportP = this;
}

TWinReportP::~TWinReportP() {
    if (WinReportP == this)
        WinReportP = nullptr;
}

} // namespace jt::reports

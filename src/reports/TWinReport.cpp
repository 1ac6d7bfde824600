#include "TWinReport.h"

#include "WinnersRosterLayout.h"

namespace jt::reports {

TWinReport* WinReport = nullptr;

using render::Align;

TWinReport::TWinReport(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TWinReport"), QStringLiteral("WinReport"), winnersRosterStyle(),
                   parent) {
    const double w = contentWidth();
    // Centred under the report's name.
    Subtitle = &addText(title, QStringLiteral("Subtitle"), QRectF(w / 2 - 35, 7.5, 70, 5),
                        QStringLiteral("Recall Championship"), 10, false, Align::Center);

    addRosterColumns(
        *this, {
                   {"Position", "Position", Align::Left, "POSITION", Align::Right, "", 2, 14},
                   {"Tie", "Tie", Align::Left, "FINALCHAR", Align::Center, "", 18, 8},
                   {"Dancer", "Dancer", Align::Left, "COMP_NO", Align::Right, "", 28, 12},
                   {"DancerName", "Name", Align::Left, "NAME", Align::Left, "", 44, 64},
                   {"School", "School", Align::Left, "SCHOOL", Align::Left, "", 110, 58},
                   {"Total", "Total", Align::Right, "GRIDTOTAL", Align::Right, "0.00", 170, 18},
               });
    WinReport = this;
}

TWinReport::~TWinReport() {
    if (WinReport == this)
        WinReport = nullptr;
}

} // namespace jt::reports

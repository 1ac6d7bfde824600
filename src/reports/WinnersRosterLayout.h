#pragma once

#include "TitledReport.h"

#include <initializer_list>

namespace jt::reports {

// What the two winners rosters (with and without recall) share.

// Their title band and footer: the roster's name, portrait, 10 pt.
TitleStyle winnersRosterStyle();

// One column: its heading in the column header over its field in the detail band.
struct RosterColumn {
    const char* name;
    const char* heading;
    render::Align headingAlign;
    const char* field;
    render::Align align;
    const char* mask;
    double left;  // mm
    double width; // mm
};

// Sets the column header and detail heights and adds the columns, 8 pt.
void addRosterColumns(render::ReportDefinition& report,
                      std::initializer_list<RosterColumn> columns);

} // namespace jt::reports

#pragma once

class QKeyEvent;

namespace jt::dbcontrols {
class DBGrid;
}

namespace jt::marks {

// Keys of the marks grids, for their key handlers. Enter and Return save the mark and go
// to the next dancer, as Down does, so a sheet is typed straight down with either; on the
// last dancer they save the mark and stay. With swallowDownOnLast, Down on the last dancer
// also saves and stays instead of opening a blank row. True when the key was dealt with.
bool marksGridKey(dbcontrols::DBGrid& grid, const QKeyEvent& event, bool swallowDownOnLast);

// Before a change of columns, order or filter: the grid shows the table afresh and drops
// its cell editor. With the keyboard on the grid itself rather than in that editor, the
// grid keeps its column and opens the editor again at once.
void keyboardToGrid(dbcontrols::DBGrid& grid);

} // namespace jt::marks

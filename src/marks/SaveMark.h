#pragma once

namespace jt::engine {
class Table;
}

namespace jt::marks {

// Writes what the bound controls hold typed into the current record and saves it. A
// blank row that nothing was typed into is dropped rather than added as a dancer. False
// when typed text was refused (the refusal is shown and the cell stays open); an engine
// error of the save is thrown, the record staying as typed.
bool saveMark(engine::Table& results);

} // namespace jt::marks

#pragma once

namespace jt::engine {

class Table;

// Creates the destination with the source's structure and copies records into it: all
// of them from the first (maxRecords < 0), or at most maxRecords from the source's
// current record on, in the source's current order and filter. An existing
// destination is replaced; it is written whole to a temporary file first, so a
// failure leaves the old destination as it was. A closed source is opened for the
// copy and closed again. The destination handle must be closed. Returns the count.
int batchCopy(Table& source, Table& destination, int maxRecords = -1);

} // namespace jt::engine

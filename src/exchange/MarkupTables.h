#pragma once

#include "Sheet.h"

#include <QByteArray>
#include <QString>

namespace jt::exchange {

// Reads the first <table> of an HTML page: one row per <tr>, one cell per <td> or <th>,
// tags inside a cell dropped and entities decoded. Tolerates the missing end tags that
// HTML allows. sourceName names the file in the reason when there is no table.
SheetResult parseHtmlTable(const QByteArray& bytes, const QString& sourceName);

// Reads an XML file laid out as a list of records: the root element holds one element
// per record and each record holds one element per field (<COMP_NO>101</COMP_NO>), or
// carries the fields as attributes. Row 0 holds the field names in the order first met;
// each record is one row after it. A file that is not well-formed XML is refused with
// the line and column of the fault.
SheetResult parseXmlTable(const QByteArray& bytes, const QString& sourceName);

} // namespace jt::exchange

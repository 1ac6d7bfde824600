#pragma once

#include <QString>

namespace jt::data {

// The empty competition that Create Competition copies: template.DBF (no dancers) and
// template_inf.dbf (one record with the round titles filled in).
void writeTemplateTables(const QString& folder);

// A small finished-looking competition to try the program on: three adjudicators, two
// rounds and the set, five dancers with their marks (example.dbf, example_inf.dbf).
void writeExampleCompetition(const QString& folder);

} // namespace jt::data

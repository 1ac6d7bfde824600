#pragma once

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::reports {

// The banner of the reports that do not print the event name.
inline const QString kFixedBanner = QStringLiteral("Jigtally Software Scoring System");
// The maker's web address line of the page footers.
inline const QString kWebAddress = QStringLiteral("www.jigtally.example");

// The competition display name: the results table's file name without folder and
// extension, in capitals (u12girls.dbf is U12GIRLS), as the main window shows it.
QString competitionDisplayName(const engine::Table& results);
QString competitionDisplayName(const QString& tableName);

} // namespace jt::reports

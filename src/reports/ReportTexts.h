#pragma once

#include "engine/EngineError.h"

#include <QLatin1String>
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

// A text of the info table's one record; empty when the table is closed or empty, or
// lacks the field.
QString infoText(const engine::Table& info, const QString& field);

// The program's instance of a report definition, which start-up creates.
template <typename T> T& created(T* object, const char* name) {
    if (!object)
        throw engine::EngineError(
            QStringLiteral("The report %1 has not been created").arg(QLatin1String(name)));
    return *object;
}

} // namespace jt::reports

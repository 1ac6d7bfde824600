#pragma once

#include <QString>

namespace jt::app {

// The names that belong to a chosen competition file (a file name without folder).
struct CompetitionNames {
    QString extension; // from the last dot on, dot included; empty without a dot
    QString baseName;  // up to the first place the extension's text occurs
    QString infoName;  // baseName + "_inf" + extension
};
CompetitionNames competitionNames(const QString& fileName);

// Lower and upper case of the letters A to Z only; every other character stays.
QString asciiLower(const QString& text);
QString asciiUpper(const QString& text);

// The system tables, the info tables and (for Delete) the example competition are
// protected by their names: true when the file name, lower-cased, contains one of them.
bool refusedForSelect(const QString& fileName);
bool refusedForDelete(const QString& fileName);

} // namespace jt::app

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace jt::app {

// A competition's change log as the Change Log window lists it.
struct ChangeLogRows {
    QStringList columns;     // the log's column row
    QList<QStringList> rows; // one per logged change, oldest first
    QString error;           // why the log could not be read; empty when it could
};

// Reads the log at path. A log that does not exist yet has no rows and no error; rows
// shorter than the column row are filled with empty cells.
ChangeLogRows readChangeLog(const QString& path);

} // namespace jt::app

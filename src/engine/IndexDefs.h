#pragma once

#include <QString>

#include <vector>

namespace jt::engine {

// A named single-field index. The field is empty for an index on an expression.
struct IndexDef {
    QString name;
    QString field;
    bool descending = false;
    friend bool operator==(const IndexDef&, const IndexDef&) = default;
};

using IndexDefList = std::vector<IndexDef>;

// Index definitions live in a small text file beside the table ("u12.dbf" has
// "u12.jix"), one definition a line. The orders themselves are built in memory when a
// table is opened, so the .dbf stays a plain dBASE file that other programs read.
namespace IndexStore {

QString pathFor(const QString& tablePath);
// Missing file: no indexes. A damaged file is an EngineError naming it.
IndexDefList read(const QString& tablePath);
// Written to a synced temporary file and renamed into place; no definitions, no file.
void write(const QString& tablePath, const IndexDefList& defs);
void remove(const QString& tablePath);

} // namespace IndexStore
} // namespace jt::engine

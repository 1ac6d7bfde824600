#pragma once

#include "ExportWriters.h"
#include "ImportSource.h"
#include "RecordImport.h"
#include "SheetImport.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace jt::exchange {

// Everything the import wizard asks, as a specification saves it.
struct ImportSpec {
    QString path;
    SourceOptions source;
    bool headingRow = true;
    QList<FieldMap> mapping;
    ImportMode mode = ImportMode::Append;
    friend bool operator==(const ImportSpec&, const ImportSpec&) = default;
};

// Everything the export wizard asks.
struct ExportSpec {
    TargetFormat format = TargetFormat::Text;
    QString path;
    bool fieldNames = false;
    QChar delimiter = u'\t';
    friend bool operator==(const ExportSpec&, const ExportSpec&) = default;
};

QJsonObject toJson(const ImportSpec& spec);
QJsonObject toJson(const ExportSpec& spec);
// Nothing, with the reason, when the object is not such a specification.
std::optional<ImportSpec> importSpecFromJson(const QJsonObject& o, QString* error);
std::optional<ExportSpec> exportSpecFromJson(const QJsonObject& o, QString* error);

} // namespace jt::exchange

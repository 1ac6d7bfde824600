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

// Everything the import wizard asks, as a profile saves it.
struct ImportProfile {
    QString path;
    SourceOptions source;
    bool headingRow = true;
    QList<FieldMap> mapping;
    ImportMode mode = ImportMode::Append;
    friend bool operator==(const ImportProfile&, const ImportProfile&) = default;
};

// Everything the export wizard asks.
struct ExportProfile {
    TargetFormat format = TargetFormat::Text;
    QString path;
    bool fieldNames = false;
    QChar delimiter = u'\t';
    friend bool operator==(const ExportProfile&, const ExportProfile&) = default;
};

QJsonObject toJson(const ImportProfile& profile);
QJsonObject toJson(const ExportProfile& profile);
// Nothing, with the reason, when the object is not such a profile.
std::optional<ImportProfile> importProfileFromJson(const QJsonObject& o, QString* error);
std::optional<ExportProfile> exportProfileFromJson(const QJsonObject& o, QString* error);

} // namespace jt::exchange

#include "ExchangeSpecs.h"

#include <QJsonArray>

namespace jt::exchange {

namespace {

QString charText(QChar c) {
    return c.isNull() ? QString() : QString(c);
}

QChar textChar(const QJsonValue& v, QChar fallback) {
    if (!v.isString())
        return fallback;
    const QString s = v.toString();
    return s.isEmpty() ? QChar() : s.front();
}

} // namespace

QJsonObject toJson(const ImportSpec& spec) {
    QJsonArray mapping;
    for (const FieldMap& m : spec.mapping)
        mapping.append(
            QJsonObject{{QStringLiteral("field"), m.field}, {QStringLiteral("column"), m.column}});
    return {{QStringLiteral("kind"), QStringLiteral("import")},
            {QStringLiteral("path"), spec.path},
            {QStringLiteral("format"), sourceFormatKey(spec.source.format)},
            {QStringLiteral("delimiter"), charText(spec.source.text.delimiter)},
            {QStringLiteral("quote"), charText(spec.source.text.quote)},
            {QStringLiteral("encoding"), spec.source.text.encoding},
            {QStringLiteral("headingRow"), spec.headingRow},
            {QStringLiteral("mapping"), mapping},
            {QStringLiteral("mode"), spec.mode == ImportMode::Overwrite
                                         ? QStringLiteral("replace")
                                         : QStringLiteral("append")}};
}

QJsonObject toJson(const ExportSpec& spec) {
    return {{QStringLiteral("kind"), QStringLiteral("export")},
            {QStringLiteral("format"), targetFormatKey(spec.format)},
            {QStringLiteral("path"), spec.path},
            {QStringLiteral("fieldNames"), spec.fieldNames},
            {QStringLiteral("delimiter"), charText(spec.delimiter)}};
}

std::optional<ImportSpec> importSpecFromJson(const QJsonObject& o, QString* error) {
    const std::optional<SourceFormat> format =
        sourceFormatFromKey(o.value(QStringLiteral("format")).toString());
    if (o.value(QStringLiteral("kind")).toString() != u"import" || !format) {
        if (error)
            *error = QStringLiteral("This is not an import specification.");
        return std::nullopt;
    }
    ImportSpec spec;
    spec.path = o.value(QStringLiteral("path")).toString();
    spec.source.format = *format;
    spec.source.text.delimiter = textChar(o.value(QStringLiteral("delimiter")), u',');
    spec.source.text.quote = textChar(o.value(QStringLiteral("quote")), u'"');
    spec.source.text.encoding =
        o.value(QStringLiteral("encoding")).toString(QStringLiteral("UTF-8"));
    spec.headingRow = o.value(QStringLiteral("headingRow")).toBool(true);
    for (const QJsonValue& v : o.value(QStringLiteral("mapping")).toArray()) {
        const QJsonObject m = v.toObject();
        spec.mapping.append({m.value(QStringLiteral("field")).toString(),
                             m.value(QStringLiteral("column")).toInt(-1)});
    }
    spec.mode = o.value(QStringLiteral("mode")).toString() == u"replace" ? ImportMode::Overwrite
                                                                         : ImportMode::Append;
    return spec;
}

std::optional<ExportSpec> exportSpecFromJson(const QJsonObject& o, QString* error) {
    const std::optional<TargetFormat> format =
        targetFormatFromKey(o.value(QStringLiteral("format")).toString());
    if (o.value(QStringLiteral("kind")).toString() != u"export" || !format) {
        if (error)
            *error = QStringLiteral("This is not an export specification.");
        return std::nullopt;
    }
    ExportSpec spec;
    spec.format = *format;
    spec.path = o.value(QStringLiteral("path")).toString();
    spec.fieldNames = o.value(QStringLiteral("fieldNames")).toBool(false);
    spec.delimiter = textChar(o.value(QStringLiteral("delimiter")), u'\t');
    return spec;
}

} // namespace jt::exchange

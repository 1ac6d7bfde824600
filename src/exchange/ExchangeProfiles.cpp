#include "ExchangeProfiles.h"

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

QJsonObject toJson(const ImportProfile& profile) {
    QJsonArray mapping;
    for (const FieldMap& m : profile.mapping)
        mapping.append(
            QJsonObject{{QStringLiteral("field"), m.field}, {QStringLiteral("column"), m.column}});
    return {{QStringLiteral("kind"), QStringLiteral("import")},
            {QStringLiteral("path"), profile.path},
            {QStringLiteral("format"), sourceFormatKey(profile.source.format)},
            {QStringLiteral("delimiter"), charText(profile.source.text.delimiter)},
            {QStringLiteral("quote"), charText(profile.source.text.quote)},
            {QStringLiteral("encoding"), profile.source.text.encoding},
            {QStringLiteral("headingRow"), profile.headingRow},
            {QStringLiteral("mapping"), mapping},
            {QStringLiteral("mode"), profile.mode == ImportMode::Overwrite
                                         ? QStringLiteral("replace")
                                         : QStringLiteral("append")}};
}

QJsonObject toJson(const ExportProfile& profile) {
    return {{QStringLiteral("kind"), QStringLiteral("export")},
            {QStringLiteral("format"), targetFormatKey(profile.format)},
            {QStringLiteral("path"), profile.path},
            {QStringLiteral("fieldNames"), profile.fieldNames},
            {QStringLiteral("delimiter"), charText(profile.delimiter)}};
}

std::optional<ImportProfile> importProfileFromJson(const QJsonObject& o, QString* error) {
    const std::optional<SourceFormat> format =
        sourceFormatFromKey(o.value(QStringLiteral("format")).toString());
    if (o.value(QStringLiteral("kind")).toString() != u"import" || !format) {
        if (error)
            *error = QStringLiteral("This is not an import profile.");
        return std::nullopt;
    }
    ImportProfile profile;
    profile.path = o.value(QStringLiteral("path")).toString();
    profile.source.format = *format;
    profile.source.text.delimiter = textChar(o.value(QStringLiteral("delimiter")), u',');
    profile.source.text.quote = textChar(o.value(QStringLiteral("quote")), u'"');
    profile.source.text.encoding =
        o.value(QStringLiteral("encoding")).toString(QStringLiteral("UTF-8"));
    profile.headingRow = o.value(QStringLiteral("headingRow")).toBool(true);
    for (const QJsonValue& v : o.value(QStringLiteral("mapping")).toArray()) {
        const QJsonObject m = v.toObject();
        profile.mapping.append({m.value(QStringLiteral("field")).toString(),
                                m.value(QStringLiteral("column")).toInt(-1)});
    }
    profile.mode = o.value(QStringLiteral("mode")).toString() == u"replace" ? ImportMode::Overwrite
                                                                            : ImportMode::Append;
    return profile;
}

std::optional<ExportProfile> exportProfileFromJson(const QJsonObject& o, QString* error) {
    const std::optional<TargetFormat> format =
        targetFormatFromKey(o.value(QStringLiteral("format")).toString());
    if (o.value(QStringLiteral("kind")).toString() != u"export" || !format) {
        if (error)
            *error = QStringLiteral("This is not an export profile.");
        return std::nullopt;
    }
    ExportProfile profile;
    profile.format = *format;
    profile.path = o.value(QStringLiteral("path")).toString();
    profile.fieldNames = o.value(QStringLiteral("fieldNames")).toBool(false);
    profile.delimiter = textChar(o.value(QStringLiteral("delimiter")), u'\t');
    return profile;
}

} // namespace jt::exchange

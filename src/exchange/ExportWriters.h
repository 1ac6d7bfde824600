#pragma once

#include "ExportRows.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace jt::exchange {

// The formats the export writes.
enum class TargetFormat { Text, Csv, Html, Xlsx, Ods, Dbase, Xml, Sql, Rtf, Pdf, Ldif, Clipboard };

QList<TargetFormat> targetFormats(); // Text first: the default
QString targetFormatName(TargetFormat format);
QString targetFormatKey(TargetFormat format); // as profiles store it
std::optional<TargetFormat> targetFormatFromKey(const QString& key);
QString targetSuffix(TargetFormat format); // "txt", "csv", ...; empty for the clipboard
// True for the formats written as bytes in memory by exportBytes().
bool isTextFormat(TargetFormat format);

struct ExportResult {
    bool ok = false;
    int rows = 0;  // records written
    QString error; // why not, a whole sentence
};

// The formats that are text (Text, CSV, HTML, XML, SQL, RTF, LDIF), written to bytes.
// Text, CSV and SQL are in the settings' character set and refuse a character it
// cannot hold; HTML, XML and RTF write such a character as a reference; LDIF is UTF-8.
ExportResult exportBytes(TargetFormat format, const ExportRows& rows,
                         const ExportSettings& settings, QByteArray* out);

// Writes any format but the clipboard to a file, replacing it. A file that cannot be
// written gives the reason; a file half-written is removed.
ExportResult exportFile(TargetFormat format, const ExportRows& rows, const ExportSettings& settings,
                        const QString& path);

// What the clipboard gets: tab-separated rows, in Unicode.
QString clipboardText(const ExportRows& rows, const ExportSettings& settings);

// Writers of the binary formats (ExportBinary.cpp, ExportPdf.cpp).
ExportResult writeXlsx(const ExportRows& rows, const ExportSettings& settings, const QString& path);
ExportResult writeOds(const ExportRows& rows, const ExportSettings& settings, const QString& path);
ExportResult writeDbase(const ExportRows& rows, const QString& path);
ExportResult writePdf(const ExportRows& rows, const ExportSettings& settings, const QString& path);
// The rows as an HTML table (the HTML format and the PDF's layout), in Unicode.
QString htmlDocument(const ExportRows& rows, const ExportSettings& settings,
                     const QString& charset);

} // namespace jt::exchange

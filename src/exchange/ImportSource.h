#pragma once

#include "DelimitedText.h"
#include "Sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace jt::exchange {

// The kinds of file the import reads. Every source comes in as a Sheet: rows of cells.
enum class SourceFormat { Delimited, Xls, Xlsx, Ods, Dbase, Html, Xml, Clipboard };

QList<SourceFormat> sourceFormats();
QString sourceFormatName(SourceFormat format); // "Delimited text / CSV", ...
QString sourceFormatKey(SourceFormat format);  // "text", "xls", ... as profiles store it
std::optional<SourceFormat> sourceFormatFromKey(const QString& key);
// The file types for the import's file dialog, every supported file first.
QString sourceFilter();

// Tells the format from the file's first bytes (and, for plain text, its look): the
// Excel and zip signatures, a dBASE header, "<?xml", "<html" or "<table"; anything
// else that decodes as text is delimited text. Nothing for a file that cannot be read.
std::optional<SourceFormat> detectSourceFormat(const QString& path);

struct SourceOptions {
    SourceFormat format = SourceFormat::Delimited;
    DelimitedOptions text; // delimited text and the clipboard
    friend bool operator==(const SourceOptions&, const SourceOptions&) = default;
};

// Reads the whole file as the format says. A file that is missing, damaged or not of
// that format gives a reason that names it.
SheetResult readSource(const QString& path, const SourceOptions& options);
// Reads text held in memory (the clipboard) as delimited text.
SheetResult readSourceText(const QString& text, const SourceOptions& options);

// The source's column names: the heading row's cells when the file has one, else the
// spreadsheet column letters. Columns without a heading are named by their letter.
QStringList sourceColumns(const Sheet& sheet, bool headingRow);

} // namespace jt::exchange

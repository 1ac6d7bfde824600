#pragma once

#include "Document.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace jt::engine {
class Table;
}

namespace jt::render {

class ReportDefinition;

// The record a conditional text is worked out for: a row of the record source.
class RecordView final {
public:
    RecordView(const engine::Table* table, int row) : m_table(table), m_row(row) {}
    // The field's value as a number (0 when empty or absent).
    double number(const QString& field) const;
    // The field as a field text prints it, with an optional mask.
    QString text(const QString& field, const QString& mask = QString()) const;

private:
    const engine::Table* m_table;
    int m_row;
};

struct LayoutOptions {
    QDateTime now = QDateTime::currentDateTime(); // the date and time items print
    QLocale locale = QLocale::system();           // their short formats
    QString dataFolder;                           // where logo files are looked for
};

struct LayoutResult {
    Document document;
    QStringList unreadableLogos; // logo files that exist but could not be read
};

// Lays a definition out over its record source: the title band on the first page, the
// column header at the top of every page, one detail band per record, the page footer
// at the bottom of every page (but the last, when the definition says so). Logo files
// are loaded first. Throws RenderError when an item names a field the table lacks.
LayoutResult layOut(ReportDefinition& definition, const LayoutOptions& options = {});

} // namespace jt::render

#pragma once

#include "engine/Table.h"
#include "render/Document.h"

#include <QList>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace jt::test {

// What a reader sees in each detail row of a laid-out report, page after page: the row's
// texts from left to right (empty cells print no text).
inline QList<QStringList> detailRows(const render::Document& doc) {
    QList<QStringList> rows;
    for (const render::Page& page : doc.pages)
        for (const render::PlacedBand& band : page.bands) {
            if (band.kind != render::BandKind::Detail)
                continue;
            std::vector<const render::PlacedText*> texts;
            for (const render::PlacedText& t : page.texts)
                if (band.box.contains(t.box.center()) && !t.text.isEmpty())
                    texts.push_back(&t);
            std::sort(texts.begin(), texts.end(),
                      [](auto* a, auto* b) { return a->box.left() < b->box.left(); });
            QStringList row;
            for (const render::PlacedText* t : texts)
                row << t->text;
            rows << row;
        }
    return rows;
}

// The texts of a page's band of that kind (the first one), left to right then top down.
inline QStringList bandTexts(const render::Page& page, render::BandKind kind) {
    for (const render::PlacedBand& band : page.bands) {
        if (band.kind != kind)
            continue;
        std::vector<const render::PlacedText*> texts;
        for (const render::PlacedText& t : page.texts)
            if (band.box.contains(t.box.center()) && !t.text.isEmpty())
                texts.push_back(&t);
        std::sort(texts.begin(), texts.end(), [](auto* a, auto* b) {
            return a->box.top() != b->box.top() ? a->box.top() < b->box.top()
                                                : a->box.left() < b->box.left();
        });
        QStringList out;
        for (const render::PlacedText* t : texts)
            out << t->text;
        return out;
    }
    return {};
}

// One field of every record of the table's file, in entry order, read through a handle
// of its own (the report leaves its table closed).
inline QVariantList storedColumn(const engine::Table& t, const QString& field) {
    engine::Table probe;
    probe.setDatabaseName(t.databaseName());
    probe.setTableName(t.tableName());
    probe.open();
    QVariantList values;
    for (probe.first(); !probe.eof(); probe.next())
        values << probe.fieldByName(field)->value();
    probe.close();
    return values;
}

// Whether the table's stored index list holds that index.
inline bool hasStoredIndex(const engine::Table& t, const QString& name) {
    engine::Table probe;
    probe.setDatabaseName(t.databaseName());
    probe.setTableName(t.tableName());
    probe.updateIndexDefs();
    for (const auto& def : probe.indexDefs())
        if (def.name == name)
            return true;
    return false;
}

} // namespace jt::test

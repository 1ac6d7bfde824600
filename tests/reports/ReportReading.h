#pragma once

#include "engine/Table.h"
#include "render/Document.h"

#include <QList>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace jt::test {

// What a reader sees in a laid-out report, band by band.

// The texts inside a band, left to right.
inline QStringList bandTexts(const render::Page& page, const render::PlacedBand& band) {
    std::vector<const render::PlacedText*> inside;
    for (const render::PlacedText& t : page.texts)
        if (band.box.contains(t.box.center()))
            inside.push_back(&t);
    std::stable_sort(inside.begin(), inside.end(), [](const auto* a, const auto* b) {
        return a->box.top() + 0.5 < b->box.top() ||
               (std::abs(a->box.top() - b->box.top()) <= 0.5 && a->box.left() < b->box.left());
    });
    QStringList texts;
    for (const render::PlacedText* t : inside)
        texts << t->text;
    return texts;
}

// Every detail row of the document in print order, each as its texts left to right.
inline QList<QStringList> detailRows(const render::Document& document) {
    QList<QStringList> rows;
    for (const render::Page& page : document.pages)
        for (const render::PlacedBand& band : page.bands)
            if (band.kind == render::BandKind::Detail)
                rows << bandTexts(page, band);
    return rows;
}

// The texts of the first band of that kind on a page (empty when there is none).
inline QStringList firstBandTexts(const render::Page& page, render::BandKind kind) {
    for (const render::PlacedBand& band : page.bands)
        if (band.kind == kind)
            return bandTexts(page, band);
    return {};
}

// The placed text that reads so inside the first band of that kind, or nullptr.
inline const render::PlacedText* textInBand(const render::Page& page, render::BandKind kind,
                                            const QString& text) {
    for (const render::PlacedBand& band : page.bands) {
        if (band.kind != kind)
            continue;
        for (const render::PlacedText& t : page.texts)
            if (t.text == text && band.box.contains(t.box.center()))
                return &t;
        return nullptr;
    }
    return nullptr;
}

// A field of every record of a stored table, in entry order, read through a handle of
// its own (what the file holds, not what a handle caches).
inline QVariantList storedColumn(const QString& alias, const QString& table, const QString& field) {
    engine::Table t;
    t.setDatabaseName(alias);
    t.setTableName(table);
    t.open();
    QVariantList values;
    for (t.first(); !t.eof(); t.next())
        values << t.fieldByName(field)->value();
    t.close();
    return values;
}

} // namespace jt::test

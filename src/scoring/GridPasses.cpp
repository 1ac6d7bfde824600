#include "GridPasses.h"

#include "IrishPoints.h"
#include "TablePass.h"
#include "engine/Table.h"

namespace jt::scoring {
namespace {

using engine::Field;
using engine::Table;

void postNumber(Table& table, Field* field, double value) {
    table.edit();
    field->setAsFloat(value);
    table.post();
}

void postText(Table& table, Field* field, const QString& text) {
    table.edit();
    field->setAsString(text);
    table.post();
}

} // namespace

void RankGrid(Table& results, const QString& keyField, const QString& pointsField,
              const QString& indexName) {
    runWorkingIndexPass(results, indexName, keyField, [&] {
        const Field* key = results.fieldByName(keyField);
        Field* points = results.fieldByName(pointsField);
        int placesGiven = 0;
        while (!results.eof() && key->asFloat() > 0) {
            const Table::Bookmark groupStart = results.bookmark();
            const std::int64_t groupKey = key->asFixed4();
            float sum = 0.0f;
            int size = 0;
            while (!results.eof() && key->asFixed4() == groupKey) {
                if (placesGiven < kPointsPlaces) {
                    sum += float(IrishPoints[std::size_t(placesGiven)]);
                    ++placesGiven;
                }
                ++size;
                results.next();
            }
            const float share = sum / float(size);
            results.gotoBookmark(groupStart);
            for (int i = 0; i < size; ++i) {
                postNumber(results, points, double(share));
                results.next();
            }
        }
        while (!results.eof()) {
            postNumber(results, points, 0.0);
            results.next();
        }
    });
}

void MarkTies(Table& results, const QString& totalField, const QString& markField) {
    runWorkingIndexPass(results, kTieIndexName, totalField, [&] {
        const Field* total = results.fieldByName(totalField);
        Field* mark = results.fieldByName(markField);
        const QString none = QStringLiteral(" ");
        const QString first = QStringLiteral("T");
        const QString other = QStringLiteral("=");
        while (!results.eof()) {
            postText(results, mark, none);
            results.next();
        }
        results.first();
        while (!results.eof() && total->asFloat() > 0) {
            const Table::Bookmark groupStart = results.bookmark();
            const std::int64_t groupTotal = total->asFixed4();
            results.next();
            int followers = 0;
            while (!results.eof() && total->asFixed4() == groupTotal) {
                ++followers;
                results.next();
            }
            if (followers == 0)
                continue;
            results.gotoBookmark(groupStart);
            postText(results, mark, first);
            for (int i = 0; i < followers; ++i) {
                results.next();
                postText(results, mark, other);
            }
            results.next();
        }
    });
}

} // namespace jt::scoring

#include "ReportFont.h"

#include <QFontMetricsF>
#include <QHash>

#include <cmath>

namespace jt::render {
namespace {

int pixelSizeInUnits(double pointSize) {
    return std::max(1, int(std::lround(pointSize * 25.4 / 72.0 * kUnitsPerMm)));
}

struct MetricsKey {
    int pixels;
    bool bold;
    bool operator==(const MetricsKey&) const = default;
};
size_t qHash(const MetricsKey& key, size_t seed = 0) {
    return ::qHash(key.pixels * 2 + (key.bold ? 1 : 0), seed);
}

const QFontMetricsF& metrics(double pointSize, bool bold) {
    // Layout measures the same few sizes thousands of times.
    static QHash<MetricsKey, QFontMetricsF> cache;
    const MetricsKey key{pixelSizeInUnits(pointSize), bold};
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, QFontMetricsF(reportFont(pointSize, bold)));
    return *it;
}

} // namespace

QFont reportFont(double pointSize, bool bold) {
    // "Arial" is resolved here to the metric-compatible family rather than through
    // whatever the font configuration of the machine substitutes for it.
    QFont font(kMetricFamily);
    font.setPixelSize(pixelSizeInUnits(pointSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::ForceOutline | QFont::PreferMatch));
    return font;
}

double textWidthMm(const QString& text, double pointSize, bool bold) {
    return metrics(pointSize, bold).horizontalAdvance(text) / kUnitsPerMm;
}

double lineHeightMm(double pointSize, bool bold) {
    return metrics(pointSize, bold).height() / kUnitsPerMm;
}

} // namespace jt::render

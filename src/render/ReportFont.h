#pragma once

#include <QFont>
#include <QString>

namespace jt::render {

// Layout and painting work in hundredths of a millimetre, so a font size in points
// becomes a whole number of units with no loss a reader could see.
inline constexpr double kUnitsPerMm = 100.0;

// The family the report layouts are drawn for.
inline const QString kReportFamily = QStringLiteral("Arial");
// The installed family whose widths match it (Debian's fonts-liberation2).
inline const QString kMetricFamily = QStringLiteral("Liberation Sans");

// The report font at a size in points, sized in layout units (see kUnitsPerMm).
// Needs a QGuiApplication.
QFont reportFont(double pointSize, bool bold);
// Width of a text in millimetres in the report font.
double textWidthMm(const QString& text, double pointSize, bool bold);
// Height of a line of the report font in millimetres.
double lineHeightMm(double pointSize, bool bold);

} // namespace jt::render

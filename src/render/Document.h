#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;

namespace jt::render {

enum class Align { Left, Right, Center };
enum class BandKind { Title, ColumnHeader, Detail, PageFooter };
enum class Orientation { Portrait, Landscape };

// Edges of a band's frame; combine with |.
enum Edge : int { NoEdge = 0, LeftEdge = 1, TopEdge = 2, RightEdge = 4, BottomEdge = 8 };
inline constexpr int kAllEdges = LeftEdge | TopEdge | RightEdge | BottomEdge;

// A laid-out report: pages of positioned texts, boxes, lines and pictures, every
// measure in millimetres from the page's top left corner. It no longer depends on
// the tables it came from, so it can be painted, printed, saved and loaded again.
struct PlacedText {
    QRectF box;
    QString text;
    double pointSize = 8;
    bool bold = false;
    Align align = Align::Left;
    bool clip = true; // cut off at the box's edges
};

struct PlacedBox {
    QRectF box;
    QColor fill; // invalid: no fill
    int edges = NoEdge;
};

struct PlacedLine {
    QLineF line;
};

struct PlacedPicture {
    QRectF clip;   // the item's rectangle
    QRectF target; // where the image is drawn: the rectangle itself, or its own size
    QImage image;
};

// Where a band was placed, kept for checking a layout.
struct PlacedBand {
    BandKind kind = BandKind::Detail;
    QRectF box;
    int record = -1; // the record source's row for a detail band
};

struct Page {
    QSizeF size; // millimetres, in the page's orientation
    std::vector<PlacedBox> boxes;
    std::vector<PlacedPicture> pictures;
    std::vector<PlacedText> texts;
    std::vector<PlacedLine> lines;
    std::vector<PlacedBand> bands;

    // The first text of this page that reads exactly so, or nullptr.
    const PlacedText* findText(const QString& text) const;
};

struct Document {
    QString title; // the definition's name, for print jobs and files
    Orientation orientation = Orientation::Portrait;
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.empty(); }
};

// The pages of several reports one after another in one document, titled and oriented
// as the first; each page keeps its own size, and so its orientation.
Document joinDocuments(const std::vector<Document>& documents);

// Width of the thin lines of frames and rules, in millimetres.
inline constexpr double kLineWidthMm = 0.2;
// The grey of column headers and page footers.
inline const QColor kSilver = QColor(0xC0, 0xC0, 0xC0);

// Paints one page with the painter's origin at the page's top left corner, at the given
// scale of device pixels per millimetre. The screen, printers and PDF files all draw
// through this.
void paintPage(QPainter& painter, const Page& page, double pixelsPerMm);

} // namespace jt::render

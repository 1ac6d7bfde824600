#include "Document.h"

#include "ReportFont.h"

#include <QPainter>

namespace jt::render {
namespace {

QRectF units(const QRectF& mm) {
    return {mm.x() * kUnitsPerMm, mm.y() * kUnitsPerMm, mm.width() * kUnitsPerMm,
            mm.height() * kUnitsPerMm};
}

int alignmentFlags(Align align) {
    switch (align) {
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

} // namespace

const PlacedText* Page::findText(const QString& text) const {
    for (const PlacedText& t : texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

Document joinDocuments(const std::vector<Document>& documents) {
    Document joined;
    if (documents.empty())
        return joined;
    joined.title = documents.front().title;
    joined.orientation = documents.front().orientation;
    for (const Document& document : documents)
        joined.pages.insert(joined.pages.end(), document.pages.begin(), document.pages.end());
    return joined;
}

void paintPage(QPainter& painter, const Page& page, double pixelsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(pixelsPerMm / kUnitsPerMm, pixelsPerMm / kUnitsPerMm);

    QPen pen(Qt::black);
    pen.setWidthF(kLineWidthMm * kUnitsPerMm);
    pen.setCapStyle(Qt::SquareCap);

    for (const PlacedBox& b : page.boxes) {
        const QRectF r = units(b.box);
        if (b.fill.isValid())
            painter.fillRect(r, b.fill);
        painter.setPen(pen);
        if (b.edges & LeftEdge)
            painter.drawLine(r.topLeft(), r.bottomLeft());
        if (b.edges & TopEdge)
            painter.drawLine(r.topLeft(), r.topRight());
        if (b.edges & RightEdge)
            painter.drawLine(r.topRight(), r.bottomRight());
        if (b.edges & BottomEdge)
            painter.drawLine(r.bottomLeft(), r.bottomRight());
    }
    for (const PlacedPicture& p : page.pictures) {
        painter.save();
        painter.setClipRect(units(p.clip), Qt::IntersectClip);
        painter.drawImage(units(p.target), p.image);
        painter.restore();
    }
    painter.setPen(pen);
    for (const PlacedLine& l : page.lines)
        painter.drawLine(QLineF(l.line.p1() * kUnitsPerMm, l.line.p2() * kUnitsPerMm));

    painter.setPen(Qt::black);
    for (const PlacedText& t : page.texts) {
        painter.setFont(reportFont(t.pointSize, t.bold));
        const int flags =
            alignmentFlags(t.align) | Qt::TextSingleLine | (t.clip ? 0 : int(Qt::TextDontClip));
        painter.drawText(units(t.box), flags, t.text);
    }
    painter.restore();
}

} // namespace jt::render

#include "PdfOutput.h"

#include "Document.h"
#include "RenderError.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace jt::render {
namespace {

constexpr int kPdfResolution = 1200;

// A page's orientation from its size; a page without one takes the document's.
QPageLayout::Orientation pageOrientation(const Document& document, const Page& page) {
    if (page.size.isValid() && page.size.width() != page.size.height())
        return page.size.width() > page.size.height() ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait;
    return document.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait;
}

// Turns the device for the next page where that page lies the other way (a document
// joined from portrait and landscape reports).
void turnFor(QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
    if (device.pageLayout().orientation() != orientation)
        device.setPageOrientation(orientation);
}

void writeTo(const Document& document, QPdfWriter& writer) {
    writer.setResolution(kPdfResolution);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Jigtally"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     document.orientation == Orientation::Landscape
                                         ? QPageLayout::Landscape
                                         : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    paintPages(document, writer, 1, document.pageCount());
}

} // namespace

void paintPages(const Document& document, QPagedPaintDevice& device, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, document.pageCount());
    if (first > last)
        return;
    const auto page = [&](int i) -> const Page& { return document.pages[std::size_t(i - 1)]; };
    turnFor(device, pageOrientation(document, page(first)));
    QPainter painter;
    if (!painter.begin(&device))
        throw RenderError(QStringLiteral("The report could not be started on its output device"));
    const double pixelsPerMm = device.logicalDpiX() / 25.4;
    for (int i = first; i <= last; ++i) {
        if (i > first) {
            turnFor(device, pageOrientation(document, page(i)));
            device.newPage();
        }
        // The device's full page, not the printable area, is the page the layout measured.
        const QRectF paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
        const QRectF paintable = device.pageLayout().paintRectPixels(device.logicalDpiX());
        painter.save();
        painter.translate(paper.topLeft() - paintable.topLeft());
        paintPage(painter, page(i), pixelsPerMm);
        painter.restore();
    }
    painter.end();
}

void writePdf(const Document& document, QIODevice* device) {
    if (document.isEmpty())
        throw RenderError(QStringLiteral("The report has no pages"));
    QPdfWriter writer(device);
    writeTo(document, writer);
}

void writePdf(const Document& document, const QString& path) {
    if (document.isEmpty())
        throw RenderError(QStringLiteral("The report has no pages"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw RenderError(QStringLiteral("Cannot write %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    writePdf(document, &file);
    if (!file.commit())
        throw RenderError(QStringLiteral("Cannot write %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace jt::render

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
    QPainter painter;
    if (!painter.begin(&device))
        throw RenderError(QStringLiteral("The report could not be started on its output device"));
    // The device's full page, not the printable area, is the page the layout measured.
    const QRectF paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const QRectF paintable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const double pixelsPerMm = device.logicalDpiX() / 25.4;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device.newPage();
        painter.save();
        painter.translate(paper.topLeft() - paintable.topLeft());
        paintPage(painter, document.pages[std::size_t(i - 1)], pixelsPerMm);
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

#pragma once

#include <QString>

class QIODevice;
class QPagedPaintDevice;

namespace jt::render {

struct Document;

// Writes every page of a laid-out report as a PDF with real (searchable) text.
// Throws RenderError when the file cannot be written.
void writePdf(const Document& document, const QString& path);
void writePdf(const Document& document, QIODevice* device);

// Paints pages first..last (1-based, inclusive) onto a paged device already set to A4
// in the document's orientation: a printer or a PDF writer.
void paintPages(const Document& document, QPagedPaintDevice& device, int first, int last);

} // namespace jt::render

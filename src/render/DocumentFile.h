#pragma once

#include <QString>

class QIODevice;

namespace jt::render {

struct Document;

// The preview's own file of a laid-out report (".jtr"): the pages exactly as laid out,
// so loading one shows the same pages again. Both throw RenderError with a text that
// names the file when it cannot be written or is not such a file.
void saveDocument(const Document& document, const QString& path);
Document loadDocument(const QString& path);
void saveDocument(const Document& document, QIODevice& device);
Document loadDocument(QIODevice& device, const QString& name);

inline const QString kDocumentSuffix = QStringLiteral("jtr");

} // namespace jt::render

#include "ExportWriters.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace jt::exchange {

ExportResult writePdf(const ExportRows& rows, const ExportSettings& s, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    // Laying out text needs fonts, which only a GUI application has.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {false, 0,
                QStringLiteral("%1 cannot be written: PDF needs the windowed program.").arg(file)};
    const QString part = path + QStringLiteral(".part");
    {
        QPdfWriter writer(part);
        writer.setTitle(s.tableName);
        writer.setCreator(QStringLiteral("Jigtally"));
        // Landscape: an export often has many columns.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QTextDocument document;
        document.setDefaultStyleSheet(QStringLiteral("td, th { font-size: 7pt; }"));
        document.setHtml(htmlDocument(rows, s, QStringLiteral("utf-8")));
        document.print(&writer);
    }
    QFile written(part);
    if (!written.exists() || written.size() == 0) {
        QFile::remove(part);
        return {false, 0, QStringLiteral("%1 cannot be written.").arg(file)};
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        return {false, 0, QStringLiteral("%1 cannot be written.").arg(file)};
    }
    return {true, rows.rowCount(), {}};
}

} // namespace jt::exchange

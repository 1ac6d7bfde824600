#include "ChangeLogView.h"

#include "data/ChangeLog.h"
#include "exchange/DelimitedText.h"

#include <QFile>

#include <utility>

namespace jt::app {

ChangeLogRows readChangeLog(const QString& path) {
    ChangeLogRows log;
    log.columns = data::kChangeLogColumns;
    QFile file(path);
    if (!file.exists())
        return log;
    if (!file.open(QIODevice::ReadOnly)) {
        log.error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return log;
    }
    const std::optional<QString> text =
        exchange::decodeText(file.readAll(), QStringLiteral("UTF-8"));
    if (!text) {
        log.error = QStringLiteral("Cannot read %1: it is not UTF-8 text").arg(path);
        return log;
    }
    const exchange::Sheet sheet = exchange::parseDelimited(*text, exchange::DelimitedOptions{});
    bool columnRow = true;
    for (const QVariantList& row : sheet.rows) {
        QStringList cells;
        bool empty = true;
        for (const QVariant& cell : row) {
            cells << cell.toString();
            empty = empty && cells.last().isEmpty();
        }
        if (empty)
            continue; // a blank line, such as one left by a row cut off in a crash
        if (std::exchange(columnRow, false)) {
            log.columns = cells;
            continue;
        }
        while (cells.size() < log.columns.size())
            cells << QString();
        log.rows << cells;
    }
    return log;
}

} // namespace jt::app

#include "ReportTexts.h"

#include "engine/Field.h"
#include "engine/Table.h"

#include <QFileInfo>

namespace jt::reports {

QString competitionDisplayName(const QString& tableName) {
    // The same rule as the main window's name: the base name ends where the extension's
    // text first occurs, and only the letters a to z are raised.
    const QString fileName = QFileInfo(tableName).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    QString base;
    if (dot >= 0)
        base = fileName.left(fileName.indexOf(fileName.mid(dot)));
    for (QChar& c : base)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    return base;
}

QString competitionDisplayName(const engine::Table& results) {
    return competitionDisplayName(results.tableName());
}

QString infoText(const engine::Table& info, const QString& field) {
    if (!info.active() || info.isEmpty())
        return QString();
    const engine::Field* f = info.findField(field);
    return f ? f->asString() : QString();
}

} // namespace jt::reports

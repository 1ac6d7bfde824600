#include "DancerOrder.h"

#include "engine/Table.h"

namespace jt::marks {

void showAsDanced(engine::Table& results) {
    results.setIndexName(kDancedIndex);
    results.first();
}

void showAsEntered(engine::Table& results) {
    results.setIndexName(QString());
    results.first();
}

QString competitionDisplayName(const QString& tableName) {
    QString name = tableName;
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        name = name.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    // Only the letters a to z, as the main window shows the name.
    for (QChar& c : name)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return name;
}

} // namespace jt::marks

#include "CompetitionNames.h"

namespace jt::app {

CompetitionNames competitionNames(const QString& fileName) {
    CompetitionNames names;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        names.extension = fileName.mid(dot);
    // An empty extension occurs nowhere, which leaves the base name empty too.
    const qsizetype at = names.extension.isEmpty() ? -1 : fileName.indexOf(names.extension);
    names.baseName = at < 0 ? QString() : fileName.left(at);
    names.infoName = names.baseName + QStringLiteral("_inf") + names.extension;
    return names;
}

QString asciiLower(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return out;
}

QString asciiUpper(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    return out;
}

bool refusedForSelect(const QString& fileName) {
    const QString lower = asciiLower(fileName);
    return lower.contains(QStringLiteral("_inf")) || lower.contains(QStringLiteral("template"));
}

bool refusedForDelete(const QString& fileName) {
    return refusedForSelect(fileName) || asciiLower(fileName).contains(QStringLiteral("example"));
}

} // namespace jt::app

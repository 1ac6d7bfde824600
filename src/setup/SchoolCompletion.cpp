#include "SchoolCompletion.h"

#include <QFileInfo>
#include <qnamespace.h>

namespace jt::setup {

bool completesAfterKey(int key) {
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Delete:
        return false;
    default:
        return true;
    }
}

std::optional<BoxText> completeSchool(const SchoolList& schools, const QString& text, int caret) {
    if (caret <= 0)
        return std::nullopt;
    const std::optional<QString> school = schools.completionOf(text.left(caret));
    if (!school)
        return std::nullopt;
    return BoxText{*school, caret, int(school->size()) - caret};
}

QString competitionDisplayName(const QString& tableName) {
    return QFileInfo(tableName).completeBaseName().toUpper();
}

} // namespace jt::setup

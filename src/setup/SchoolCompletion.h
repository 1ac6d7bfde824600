#pragma once

#include "SchoolList.h"

#include <QString>

namespace jt::setup {

// What the school box shows after a key: its text, the caret and the selected part.
struct BoxText {
    QString text;
    int caret = 0;
    int selectionLength = 0; // selected from the caret to the right
};

// Keys after which the school box does not complete: Tab, Enter, the arrows, Delete.
bool completesAfterKey(int key);
// Completion of the text left of the caret: the first school in the list that begins
// with it, ignoring case, and is not equal to it. The box then holds that school,
// with the caret where it was and everything right of it selected, so that typing on
// overwrites the suggestion. Nothing when there is nothing to complete.
std::optional<BoxText> completeSchool(const SchoolList& schools, const QString& text, int caret);

// The open results table's name as windows show it: the file name without folder and
// extension, in capitals (u12girls.dbf is U12GIRLS).
QString competitionDisplayName(const QString& tableName);

} // namespace jt::setup

#pragma once

#include "exchange/ProfileStore.h"

#include <QJsonObject>
#include <QString>

#include <optional>

class QComboBox;

namespace jt::wizards {

// A wizard's saved profiles, shown in a drop-down list. Failures are shown in an
// error box titled as the wizard (`title`); `kind` names them in the question ("import").

// Fills the list with the stored names.
void refreshProfileList(QComboBox& list, const exchange::ProfileStore& store);
// Asks for a name (the chosen one offered) and saves the profile under it.
void saveProfileAs(QComboBox& list, const exchange::ProfileStore& store, const QString& title,
                   const QString& kind, const QJsonObject& profile);
// The chosen profile as stored; nothing when none is chosen or it will not read
// (`error` then says why, empty when none was chosen).
std::optional<QJsonObject> chosenProfile(const QComboBox& list, const exchange::ProfileStore& store,
                                         QString* error);
// Deletes the chosen profile after asking.
void deleteChosenProfile(QComboBox& list, const exchange::ProfileStore& store,
                         const QString& title);

} // namespace jt::wizards

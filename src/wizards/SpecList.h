#pragma once

#include "exchange/SpecStore.h"

#include <QJsonObject>
#include <QString>

#include <optional>

class QComboBox;

namespace jt::wizards {

// A wizard's saved specifications, shown in a drop-down list. Failures are shown in an
// error box titled as the wizard (`title`); `kind` names them in the question ("import").

// Fills the list with the stored names.
void refreshSpecList(QComboBox& list, const exchange::SpecStore& store);
// Asks for a name (the chosen one offered) and saves the specification under it.
void saveSpecAs(QComboBox& list, const exchange::SpecStore& store, const QString& title,
                const QString& kind, const QJsonObject& spec);
// The chosen specification as stored; nothing when none is chosen or it will not read
// (`error` then says why, empty when none was chosen).
std::optional<QJsonObject> chosenSpec(const QComboBox& list, const exchange::SpecStore& store,
                                      QString* error);
// Deletes the chosen specification after asking.
void deleteChosenSpec(QComboBox& list, const exchange::SpecStore& store, const QString& title);

} // namespace jt::wizards

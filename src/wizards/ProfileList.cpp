#include "ProfileList.h"

#include "platform/Dialogs.h"

#include <QComboBox>

namespace jt::wizards {
namespace {

void showError(const QString& title, const QString& text) {
    platform::dialogs().message(platform::MessageType::Error, title, text, platform::Cancel);
}

} // namespace

void refreshProfileList(QComboBox& list, const exchange::ProfileStore& store) {
    list.clear();
    list.addItems(store.names());
}

void saveProfileAs(QComboBox& list, const exchange::ProfileStore& store, const QString& title,
                   const QString& kind, const QJsonObject& profile) {
    const std::optional<QString> name = platform::dialogs().inputBox(
        title, QStringLiteral("Name of the %1 profile:").arg(kind), list.currentText());
    if (!name || name->trimmed().isEmpty())
        return;
    if (const QString error = store.save(name->trimmed(), profile); !error.isEmpty()) {
        showError(title, error);
        return;
    }
    refreshProfileList(list, store);
    list.setCurrentText(name->trimmed());
}

std::optional<QJsonObject> chosenProfile(const QComboBox& list, const exchange::ProfileStore& store,
                                         QString* error) {
    const QString name = list.currentText();
    if (name.isEmpty())
        return std::nullopt;
    return store.load(name, error);
}

void deleteChosenProfile(QComboBox& list, const exchange::ProfileStore& store,
                         const QString& title) {
    const QString name = list.currentText();
    if (name.isEmpty())
        return;
    if (platform::dialogs().message(platform::MessageType::Confirmation, title,
                                    QStringLiteral("Delete the profile \"%1\"?").arg(name),
                                    platform::Yes | platform::No) != platform::Yes)
        return;
    if (const QString error = store.remove(name); !error.isEmpty())
        showError(title, error);
    refreshProfileList(list, store);
}

} // namespace jt::wizards

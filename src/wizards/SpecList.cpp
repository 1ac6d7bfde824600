#include "SpecList.h"

#include "platform/Dialogs.h"

#include <QComboBox>

namespace jt::wizards {
namespace {

void showError(const QString& title, const QString& text) {
    platform::dialogs().message(platform::MessageType::Error, title, text, platform::Cancel);
}

} // namespace

void refreshSpecList(QComboBox& list, const exchange::SpecStore& store) {
    list.clear();
    list.addItems(store.names());
}

void saveSpecAs(QComboBox& list, const exchange::SpecStore& store, const QString& title,
                const QString& kind, const QJsonObject& spec) {
    const std::optional<QString> name = platform::dialogs().inputBox(
        title, QStringLiteral("Name of the %1 specification:").arg(kind), list.currentText());
    if (!name || name->trimmed().isEmpty())
        return;
    if (const QString error = store.save(name->trimmed(), spec); !error.isEmpty()) {
        showError(title, error);
        return;
    }
    refreshSpecList(list, store);
    list.setCurrentText(name->trimmed());
}

std::optional<QJsonObject> chosenSpec(const QComboBox& list, const exchange::SpecStore& store,
                                      QString* error) {
    const QString name = list.currentText();
    if (name.isEmpty())
        return std::nullopt;
    return store.load(name, error);
}

void deleteChosenSpec(QComboBox& list, const exchange::SpecStore& store, const QString& title) {
    const QString name = list.currentText();
    if (name.isEmpty())
        return;
    if (platform::dialogs().message(platform::MessageType::Confirmation, title,
                                    QStringLiteral("Delete the specification \"%1\"?").arg(name),
                                    platform::Yes | platform::No) != platform::Yes)
        return;
    if (const QString error = store.remove(name); !error.isEmpty())
        showError(title, error);
    refreshSpecList(list, store);
}

} // namespace jt::wizards

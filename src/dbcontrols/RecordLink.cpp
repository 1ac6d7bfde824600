#include "RecordLink.h"

#include "engine/Table.h"

#include <QObject>
#include <QPointer>

#include <vector>

namespace jt::dbcontrols {
namespace {

// Lives as a child of its table, so it goes when the table goes.
class RecordEditors final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordEditors)

public:
    explicit RecordEditors(QObject* parent) : QObject(parent) {}

    struct Entry {
        QPointer<QObject> control;
        std::function<bool()> writer;
    };
    std::vector<Entry> entries;

    void prune() {
        std::erase_if(entries, [](const Entry& e) { return e.control.isNull(); });
    }
};

RecordEditors* editorsOf(engine::Table* table, bool create) {
    auto* found = table->findChild<RecordEditors*>(QString(), Qt::FindDirectChildrenOnly);
    if (!found && create)
        found = new RecordEditors(table);
    return found;
}

} // namespace

void registerRecordEditor(engine::Table* table, QObject* control, std::function<bool()> writer) {
    if (!table || !control)
        return;
    RecordEditors* editors = editorsOf(table, true);
    editors->prune();
    for (auto& e : editors->entries)
        if (e.control == control) {
            e.writer = std::move(writer);
            return;
        }
    editors->entries.push_back({control, std::move(writer)});
}

void unregisterRecordEditor(engine::Table* table, QObject* control) {
    if (!table)
        return;
    if (RecordEditors* editors = editorsOf(table, false)) {
        std::erase_if(editors->entries, [control](const RecordEditors::Entry& e) {
            return e.control.isNull() || e.control == control;
        });
    }
}

bool updateRecord(engine::Table& table) {
    RecordEditors* editors = editorsOf(&table, false);
    if (!editors)
        return true;
    editors->prune();
    // A writer can show a message box, during which controls may come and go.
    const std::vector<RecordEditors::Entry> entries = editors->entries;
    for (const auto& e : entries)
        if (e.control && !e.writer())
            return false;
    return true;
}

bool postRecord(engine::Table& table) {
    if (!updateRecord(table))
        return false;
    if (table.editing())
        table.post();
    return true;
}

} // namespace jt::dbcontrols

#include "RecordLink.moc"

#pragma once

#include "DbfFile.h"
#include "EngineError.h"
#include "Field.h"
#include "Filter.h"
#include "IndexDefs.h"
#include "RecordOrder.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace jt::engine {

// A table component: a handle (alias plus table name) that opens a dBASE table and
// moves a cursor over its records in record order or in the order of a named index,
// optionally filtered. Every engine failure is an EngineError whose text names the table.
class Table final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Table)

public:
    enum class State { Inactive, Browse, Edit, Insert };
    // A bookmark is the record's number in the file; it stays valid while the record lives.
    using Bookmark = std::int64_t;
    static constexpr Bookmark kNoBookmark = -1;

    explicit Table(QObject* parent = nullptr);
    ~Table() override;

    // Handle. Name and sole-use flag change only while the table is closed.
    void setDatabaseName(const QString& alias);
    QString databaseName() const { return m_databaseName; }
    void setTableName(const QString& name);
    QString tableName() const { return m_tableName; }
    void setExclusive(bool exclusive);
    bool exclusive() const { return m_exclusive; }
    // The file the handle names now (see resolveTablePath).
    QString resolvedPath() const;
    bool exists() const;

    void open();
    void close();
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool editing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool modified() const { return m_modified; }

    // Fields: the stored columns in file order, then the calculated fields.
    // declareField() makes a field object that lives across opens and is bound by name
    // at each open (open fails when the table lacks it, or when a type is given and the
    // column is of another family: see sameTypeFamily); other columns get field objects
    // at open that last until close.
    Field* declareField(const QString& name, std::optional<FieldType> type = std::nullopt);
    Field* addCalculatedField(const QString& name, FieldType type, int width);
    int fieldCount() const { return int(m_fields.size()); }
    Field* fieldAt(int index) const { return m_fields[std::size_t(index)]; }
    Field* findField(const QString& name) const;
    Field* fieldByName(const QString& name) const; // throws when absent
    const DbfStructure& structure() const;
    // Runs at each fetch of a record and when editing begins; it fills calculated fields.
    void setCalcFieldsHandler(std::function<void(Table&)> handler) {
        m_onCalcFields = std::move(handler);
    }
    void setBeforeInsertHandler(std::function<void(Table&)> handler) {
        m_beforeInsert = std::move(handler);
    }
    // Runs as post() begins, the table still editing: the fields give the new values and,
    // for a stored record, storedRecord(currentRow()) the old ones. An exception stops
    // the post with nothing written and the record still being edited.
    void setBeforePostHandler(std::function<void(Table&)> handler) {
        m_beforePost = std::move(handler);
    }
    // Runs as deleteRecord() is about to delete the current record; an exception keeps it.
    void setBeforeDeleteHandler(std::function<void(Table&)> handler) {
        m_beforeDelete = std::move(handler);
    }
    // Runs as close() begins on an open table, before what sole use held back is written.
    // It must not throw: close() runs from clean-up code.
    void setBeforeCloseHandler(std::function<void(Table&)> handler) {
        m_beforeClose = std::move(handler);
    }

    // Navigation. eof() is true once a move passed the last record, and on an empty table.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return rowCount() == 0; }
    // Rows in the current order and filter, a row being inserted included.
    int rowCount() const { return m_order.size(); }
    int recordCount() const { return rowCount(); }
    // Current row in the current order, -1 on an empty table.
    int currentRow() const { return m_row; }
    void moveToRow(int row);
    Bookmark bookmark() const;
    bool bookmarkValid(Bookmark bookmark) const;
    void gotoBookmark(Bookmark bookmark);

    // Editing. Moving to another record, changing order or filter or refreshing posts
    // a changed record and drops an unchanged one; close() drops it.
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void deleteRecord();

    // Indexes. Adding and deleting need the table closed or open for sole use.
    void addIndex(const QString& name, const QString& field, bool descending = false);
    void deleteIndex(const QString& name);
    void updateIndexDefs();
    const IndexDefList& indexDefs() const { return m_indexDefs; }
    void setIndexName(const QString& name);
    QString indexName() const { return m_indexName; }

    // Filter, parsed when it is switched on or the table is opened.
    void setFilter(const QString& expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }

    // Reads the file again, keeping the current record where it still exists.
    void refresh();

    // Creates the table the handle names, empty, with these fields; an existing one is
    // replaced. The handle must be closed.
    void createTable(const FieldDefs& fields);
    // Deletes the closed table with its index definitions.
    void deleteTable();

    // Suspends the notifications that bound controls redraw on, for bulk updates.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // A field's value in another row of the current order, without moving the cursor.
    QVariant valueAt(int row, int fieldNo) const;
    // Whole records that the file holds after the ones its header counts: they are not
    // read (the header's count is what a table holds), but someone should hear of them.
    std::uint32_t uncountedRecords() const;
    // Physical record number of a row (for bookmarks); the row being inserted has none.
    Bookmark bookmarkAt(int row) const;
    // A row's record as the file holds it, deletion flag first (structure() lays it out);
    // nullptr for the row being inserted. Valid until the table changes.
    const char* storedRecord(int row) const;
    // Posts the record being edited or inserted when it was changed, drops it otherwise.
    void checkBrowseMode();

Q_SIGNALS:
    void stateChanged();
    void dataChanged();    // rows came, went or moved: open, close, order, filter, post, delete
    void currentChanged(); // the cursor is on another record, or the record was re-read
    void fieldChanged(jt::engine::Field* field);
    void afterPost();
    void afterDelete();

private:
    friend class Field;

    struct Context {
        const char* record = nullptr;
        std::vector<QVariant>* calc = nullptr;
    };

    void requireActive() const;
    void requireClosed(const char* what) const;
    void requireBrowseRow() const;
    bool dropUnmodifiedInsert(int direction);
    void step(int direction);
    void openBlankRow(bool atEnd);
    void loadFromFile();
    void selectIndexField(const QString& name, int* field, bool* descending) const;
    void buildOrder();
    bool recordVisible(std::uint32_t record) const;
    void placeRecord(std::uint32_t record);
    const char* rowBytes(int row) const;
    void fetch();
    void ensureCalc() const;
    void runCalc(const char* record, std::vector<QVariant>& calc) const;
    void bindFields();
    void unbindFields();
    int indexDefPosition(const QString& name) const;
    int rowOfRecord(std::uint32_t record) const;
    void writeFieldValue(Field* field, const QVariant& value);
    QVariant readField(const Field* field) const;
    void notifyData();
    void notifyCurrent();
    void notifyState();
    EngineError tableError(const QString& what,
                           EngineError::Kind kind = EngineError::Kind::Engine) const;

    QString m_databaseName;
    QString m_tableName;
    bool m_exclusive = false;
    State m_state = State::Inactive;
    DbfFile m_file;

    std::vector<std::unique_ptr<Field>> m_declared;
    std::vector<std::unique_ptr<Field>> m_dynamic;
    std::vector<Field*> m_fields;
    QHash<QString, Field*> m_fieldsByName; // upper-case name
    std::function<void(Table&)> m_onCalcFields;
    std::function<void(Table&)> m_beforeInsert;
    std::function<void(Table&)> m_beforePost;
    std::function<void(Table&)> m_beforeDelete;
    std::function<void(Table&)> m_beforeClose;

    RecordOrder m_order;
    int m_row = -1;
    bool m_eof = true;
    bool m_bof = true;

    int m_rowBeforeInsert = -1;
    QByteArray m_buffer; // the record being edited or inserted
    bool m_modified = false;
    std::vector<QVariant> m_calc;
    mutable Context m_context;
    mutable bool m_inCalc = false;
    mutable bool m_calcStale = false;

    IndexDefList m_indexDefs;
    QString m_indexName;
    QString m_filterText;
    bool m_filtered = false;
    Filter m_filter;
    int m_disableCount = 0;
};

} // namespace jt::engine

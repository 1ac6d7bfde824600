#include "DBEdit.h"

#include "CellText.h"
#include "Guarded.h"
#include "NumberValidator.h"
#include "RecordLink.h"
#include "engine/DataSource.h"
#include "engine/Field.h"
#include "engine/Table.h"

#include <QKeyEvent>
#include <QTimer>

namespace jt::dbcontrols {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onTextEdited);
}

DBEdit::~DBEdit() {
    if (m_table)
        unregisterRecordEditor(m_table, this);
}

void DBEdit::setDataSource(engine::DataSource* source) {
    if (m_source == source)
        return;
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source)
        connect(m_source, &engine::DataSource::dataSetChanged, this, &DBEdit::bindTable);
    bindTable();
}

void DBEdit::setDataField(const QString& fieldName) {
    m_fieldName = fieldName;
    applyFieldLimits();
    showField();
}

engine::Field* DBEdit::field() const {
    const engine::Table* t = m_table.data();
    if (!t || !t->active() || m_fieldName.isEmpty())
        return nullptr;
    return t->findField(m_fieldName);
}

void DBEdit::bindTable() {
    for (const auto& c : std::as_const(m_tableConnections))
        disconnect(c);
    m_tableConnections.clear();
    if (m_table)
        unregisterRecordEditor(m_table, this);
    m_table = m_source ? m_source->dataSet() : nullptr;
    if (engine::Table* t = m_table.data()) {
        registerRecordEditor(t, this, [this] { return commit(); });
        auto refresh = [this] {
            if (!m_committing)
                showField();
        };
        m_tableConnections << connect(t, &engine::Table::dataChanged, this,
                                      [this, refresh] {
                                          applyFieldLimits();
                                          refresh();
                                      })
                           << connect(t, &engine::Table::currentChanged, this, refresh)
                           << connect(t, &engine::Table::stateChanged, this,
                                      [this, refresh] {
                                          // Saved or cancelled: the typed text is the record's or
                                          // gone.
                                          if (m_table && !m_table->editing())
                                              setModified(false);
                                          refresh();
                                      })
                           << connect(t, &engine::Table::fieldChanged, this,
                                      [this, refresh](engine::Field* f) {
                                          if (f == field())
                                              refresh();
                                      });
    }
    applyFieldLimits();
    showField();
}

void DBEdit::applyFieldLimits() {
    const engine::Field* f = field();
    if (!f) {
        setValidator(nullptr);
        return;
    }
    if (f->isNumber()) {
        if (!qobject_cast<const NumberValidator*>(validator()))
            setValidator(new NumberValidator(this));
    } else {
        setValidator(nullptr);
        if (f->dataType() == engine::FieldType::Character && maxLength() > f->size())
            setMaxLength(f->size());
    }
    if (f->isCalculated())
        setReadOnly(true);
}

void DBEdit::showField() {
    // Typed text that has not reached the field yet is the user's, not to be replaced.
    if (isModified())
        return;
    const engine::Field* f = field();
    const engine::Table* t = m_table.data();
    QString text;
    if (f && t->currentRow() >= 0) {
        const QVariant value = t->valueAt(t->currentRow(), f->fieldNo());
        text = hasFocus() ? cellEditText(value) : cellDisplayText(*f, value);
    }
    m_updating = true;
    setText(text);
    m_updating = false;
    setModified(false);
}

void DBEdit::onTextEdited() {
    engine::Table* t = m_table.data();
    if (!t || m_updating || isReadOnly())
        return;
    if (!t->editing() && !guarded([t] { t->edit(); })) {
        setModified(false);
        showField();
    }
}

bool DBEdit::commit() {
    if (!isModified() || m_committing)
        return true;
    engine::Field* f = field();
    engine::Table* t = m_table.data();
    if (!f)
        return true;
    m_committing = true;
    const bool ok = guarded([&] {
        if (!t->editing())
            t->edit();
        f->setText(text());
    });
    m_committing = false;
    if (ok)
        setModified(false);
    else
        setFocus();
    return ok;
}

void DBEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        engine::Table* t = m_table.data();
        setModified(false);
        if (t && t->active() && t->editing())
            guarded([t] { t->cancel(); });
        showField();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    showField();
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_committing)
        return;
    if (commit()) {
        showField();
    } else {
        QTimer::singleShot(0, this, [this] { setFocus(); });
    }
}

} // namespace jt::dbcontrols

#include "DBEdit.h"

#include "CellText.h"
#include "NumberValidator.h"
#include "engine/DataSource.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/Guarded.h"

#include <QKeyEvent>
#include <QTimer>

namespace jt::dbcontrols {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onTextEdited);
}

DBEdit::~DBEdit() = default;

void DBEdit::setDataSource(engine::DataSource* source) {
    m_binding.setDataSource(source);
}

void DBEdit::setDataField(const QString& fieldName) {
    m_fieldName = fieldName;
    applyFieldLimits();
    showField();
}

engine::Field* DBEdit::field() const {
    const engine::Table* t = m_binding.table();
    if (!t || !t->active() || m_fieldName.isEmpty())
        return nullptr;
    return t->findField(m_fieldName);
}

void DBEdit::bindTable() {
    auto refresh = [this] {
        if (!m_committing)
            showField();
    };
    m_binding.connect(&engine::Table::dataChanged, [this, refresh] {
        applyFieldLimits();
        refresh();
    });
    m_binding.connect(&engine::Table::currentChanged, refresh);
    m_binding.connect(&engine::Table::stateChanged, [this, refresh] {
        // Saved or cancelled: the typed text is the record's or gone.
        const engine::Table* t = m_binding.table();
        if (t && !t->editing())
            setModified(false);
        refresh();
    });
    m_binding.connect(&engine::Table::fieldChanged, [this, refresh](engine::Field* f) {
        if (f == field())
            refresh();
    });
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
    const engine::Table* t = m_binding.table();
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
    engine::Table* t = m_binding.table();
    if (!t || m_updating || isReadOnly())
        return;
    if (!t->editing() && !platform::runGuarded([t] { t->edit(); })) {
        setModified(false);
        showField();
    }
}

bool DBEdit::commit() {
    if (!isModified() || m_committing)
        return true;
    engine::Field* f = field();
    engine::Table* t = m_binding.table();
    if (!f)
        return true;
    m_committing = true;
    const bool ok = platform::runGuarded([&] {
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
        engine::Table* t = m_binding.table();
        setModified(false);
        if (t && t->active() && t->editing())
            platform::runGuarded([t] { t->cancel(); });
        showField();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusInEvent(QFocusEvent* event) {
    // The text for editing first: the line edit then selects all of it when the box is
    // tabbed into, so what is typed replaces it.
    showField();
    QLineEdit::focusInEvent(event);
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

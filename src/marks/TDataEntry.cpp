#include "TDataEntry.h"

#include "DancerOrder.h"
#include "SaveMark.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/RecordLink.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace jt::marks {

TDataEntry* DataEntry = nullptr;

namespace {

const char* const kLetters[] = {"A", "B", "C", "D", "E"};
constexpr int kBoxWidth = 84;
constexpr int kLabelWidth = 110;

QStringList perAdjudicator(const char* suffix) {
    QStringList fields;
    for (const char* letter : kLetters)
        fields << QLatin1String(letter) + QLatin1String(suffix);
    return fields;
}

QLabel* rowLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFixedWidth(kLabelWidth);
    return label;
}

} // namespace

bool TDataEntry::isCalculatedField(const QString& field) {
    static const QStringList calculated = [] {
        QStringList f;
        for (const char* suffix : {"SUBTOTAL", "GRID1", "TOTAL", "GRID2"})
            f << perAdjudicator(suffix);
        f << QStringLiteral("RECALLTTL") << QStringLiteral("GRIDTOTAL");
        return f;
    }();
    return calculated.contains(field);
}

TDataEntry::TDataEntry(ProgramState& state, QWidget* parent) : MarksWindow(state, parent, false) {
    setObjectName(QStringLiteral("DataEntry"));
    setWindowTitle(QStringLiteral("Data Entry"));
    platform::setHelpTopic(this, 270);

    auto* layout = new QVBoxLayout(this);
    const OrderBar bar = addOrderBar(layout);
    DBNavigator1 = bar.navigator;
    Button1 = bar.exit;
    Label1 = bar.orderLabel;
    Button2 = bar.order;

    // Who the dancer is.
    auto* who = new QGridLayout;
    const QList<std::pair<QString, QString>> identity{
        {QStringLiteral("Competitor No"), QStringLiteral("COMP_NO")},
        {QStringLiteral("Name"), QStringLiteral("NAME")},
        {QStringLiteral("School"), QStringLiteral("SCHOOL")}};
    for (int i = 0; i < identity.size(); ++i) {
        who->addWidget(rowLabel(identity[i].first, this), i, 0);
        dbcontrols::DBEdit* e = makeEdit(identity[i].second);
        e->setReadOnly(true);
        if (i == 0)
            e->setFixedWidth(kBoxWidth);
        else
            e->setMinimumWidth(kBoxWidth * 4);
        who->addWidget(e, i, 1, Qt::AlignLeft);
    }
    who->setColumnStretch(2, 1);
    layout->addLayout(who);

    const auto addRow = [this](QGridLayout* grid, int row, const QString& label,
                               const QStringList& fields) {
        grid->addWidget(rowLabel(label, this), row, 0);
        for (int c = 0; c < fields.size(); ++c) {
            dbcontrols::DBEdit* e = makeEdit(fields[c]);
            e->setFixedWidth(kBoxWidth);
            grid->addWidget(e, row, c + 1);
        }
    };

    auto* sheet = new QGridLayout;
    for (int c = 0; c < 5; ++c) {
        auto* heading =
            new QLabel(QStringLiteral("Adjudicator ") + QLatin1String(kLetters[c]), this);
        heading->setAlignment(Qt::AlignCenter);
        sheet->addWidget(heading, 0, c + 1);
    }
    addRow(sheet, 1, QStringLiteral("Round 1"), perAdjudicator("1"));
    addRow(sheet, 2, QStringLiteral("Round 2"), perAdjudicator("2"));
    addRow(sheet, 3, QStringLiteral("Round 3"), perAdjudicator("3"));
    addRow(sheet, 4, QStringLiteral("Raw subtotal"), perAdjudicator("SUBTOTAL"));
    addRow(sheet, 5, QStringLiteral("Recall Grid"), perAdjudicator("GRID1"));
    dbcontrols::DBEdit* recallTotal = makeEdit(QStringLiteral("RECALLTTL"));
    recallTotal->setFixedWidth(kBoxWidth);
    sheet->addWidget(recallTotal, 5, 6);
    sheet->addWidget(new QLabel(QStringLiteral("Recall Grid"), this), 5, 7);
    sheet->setColumnStretch(8, 1);
    layout->addLayout(sheet);

    // The set dance and the final figures, in a frame of their own.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel2"));
    frame->setFrameShape(QFrame::Box);
    auto* final = new QGridLayout(frame);
    // No inner margin at the sides, so the boxes stand under the ones above.
    final->setContentsMargins(0, 6, 0, 6);
    addRow(final, 0, QStringLiteral("Set Dance"), perAdjudicator("SET"));
    Label14 = new QLabel(this);
    Label14->setObjectName(QStringLiteral("Label14"));
    QFont bold = Label14->font();
    bold.setBold(true);
    Label14->setFont(bold);
    QPalette red = Label14->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label14->setPalette(red);
    Label14->setFixedWidth(kBoxWidth);
    final->addWidget(Label14, 0, 6);
    addRow(final, 1, QStringLiteral("Raw Total"), perAdjudicator("TOTAL"));
    addRow(final, 2, QStringLiteral("Grid Total"), perAdjudicator("GRID2"));
    dbcontrols::DBEdit* gridTotal = makeEdit(QStringLiteral("GRIDTOTAL"));
    gridTotal->setFixedWidth(kBoxWidth);
    final->addWidget(gridTotal, 2, 6);
    final->setColumnStretch(7, 1);
    layout->addWidget(frame);
    layout->addStretch();

    for (const QString& field : std::as_const(m_tabOrder))
        if (isCalculatedField(field))
            edit(field)->setReadOnly(true);
    for (int i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(edit(m_tabOrder[i - 1]), edit(m_tabOrder[i]));

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    platform::connectGuarded(DBNavigator1, &dbcontrols::DBNavigator::click, this,
                             [this] { DBNavigator1Click(); });
    const auto shortcut = [this](const char* keys, auto action) {
        auto* s = new QShortcut(QKeySequence(QLatin1String(keys)), this);
        platform::connectGuarded(s, &QShortcut::activated, this, [this, action] {
            if (isOpen())
                action();
        });
    };
    using Nav = dbcontrols::DBNavigator;
    shortcut("PgDown", [this] { DBNavigator1->btnClick(Nav::Next); });
    shortcut("PgUp", [this] { DBNavigator1->btnClick(Nav::Prior); });
    shortcut("Ctrl+Home", [this] { DBNavigator1->btnClick(Nav::First); });
    shortcut("Ctrl+End", [this] { DBNavigator1->btnClick(Nav::Last); });
    shortcut("Alt+O", [this] { Button2Click(); });
    shortcut("Alt+X", [this] { Button1Click(); });

    DataEntry = this;
}

TDataEntry::~TDataEntry() {
    if (DataEntry == this)
        DataEntry = nullptr;
}

dbcontrols::DBEdit* TDataEntry::makeEdit(const QString& field) {
    auto* e = new dbcontrols::DBEdit(this);
    e->setObjectName(QStringLiteral("DBEdit") + field);
    e->setDataField(field);
    m_edits.insert(field, e);
    m_tabOrder << field;
    return e;
}

void TDataEntry::bindControls(engine::DataSource* source) {
    DBNavigator1->setDataSource(source);
    for (dbcontrols::DBEdit* e : std::as_const(m_edits))
        e->setDataSource(source);
}

void TDataEntry::refreshRecallLabel() {
    const engine::Table& t = results();
    const engine::Field* recalled = m_state.module().resultsRecDancer;
    const bool yes =
        t.active() && t.currentRow() >= 0 &&
        t.valueAt(t.currentRow(), recalled->fieldNo()).toString() == QLatin1String("Yes");
    Label14->setText(yes ? QStringLiteral("Recalled") : QString());
}

void TDataEntry::FormActivate() {
    reopenResults();
    showOrder(Button2, results(), true);
    refreshRecallLabel();
    edit(QStringLiteral("A1"))->setFocus();
}

void TDataEntry::Button2Click() {
    toggleOrder(Button2, results());
    refreshRecallLabel();
}

void TDataEntry::DBNavigator1Click() {
    refreshRecallLabel();
}

void TDataEntry::Button1Click() {
    close();
}

bool TDataEntry::FormClose() {
    engine::Table& t = results();
    if (asDanced(Button2)) {
        // Going back to entry order saves the dancer on show first.
        if (!saveMark(t))
            return false;
        if (t.active())
            showAsEntered(t);
        return true;
    }
    // Already in entry order: what was typed stays in the record, not saved.
    return !t.active() || dbcontrols::updateRecord(t);
}

} // namespace jt::marks

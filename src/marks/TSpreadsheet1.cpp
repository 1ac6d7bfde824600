#include "TSpreadsheet1.h"

#include "ChoiceGroup.h"
#include "DancerOrder.h"
#include "MarkColumns.h"
#include "MarksGridKeys.h"
#include "SaveMark.h"
#include "TColTotal.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/DrawColumnCell.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace jt::marks {

TSpreadsheet1* Spreadsheet1 = nullptr;

namespace {

QLabel* redBold(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(p);
    return label;
}

} // namespace

TSpreadsheet1::TSpreadsheet1(ProgramState& state, QWidget* parent)
    : MarksWindow(state, parent, true) {
    setObjectName(QStringLiteral("Spreadsheet1"));
    setWindowTitle(QStringLiteral("Enter Marks"));
    platform::setHelpTopic(this, 280);
    resize(640, 560);

    auto* layout = new QVBoxLayout(this);
    const OrderBar bar = addOrderBar(layout);
    DBNavigator1 = bar.navigator;
    Button1 = bar.exit;
    Label1 = bar.orderLabel;
    Button2 = bar.order;

    auto* choices = new QHBoxLayout;
    AdjGroup = new ChoiceGroup(QStringLiteral("Adjudicator"), this);
    AdjGroup->setObjectName(QStringLiteral("AdjGroup"));
    AdjGroup->setToolTip(QStringLiteral("Select adjudicator"));
    RndGroup = new ChoiceGroup(QStringLiteral("Round"), this);
    RndGroup->setObjectName(QStringLiteral("RndGroup"));
    RndGroup->setToolTip(QStringLiteral("Select round"));
    choices->addWidget(AdjGroup);
    choices->addWidget(RndGroup);
    choices->addStretch();
    layout->addLayout(choices);
    auto* labels = new QHBoxLayout;
    Label2 = redBold(this, "Label2");
    Label3 = redBold(this, "Label3");
    labels->addWidget(Label2);
    labels->addSpacing(24);
    labels->addWidget(Label3);
    labels->addStretch();
    layout->addLayout(labels);

    DBGrid1 = new dbcontrols::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("Click column heading for column total"));
    m_columns << dancerColumn();
    for (const QString& field : markFields()) {
        dbcontrols::GridColumn c = markColumn(field);
        c.visible = false;
        m_columns << c;
    }
    m_columns << recalledColumn(QStringLiteral("Recalled"));
    DBGrid1->setColumns(m_columns);
    DBGrid1->setAlwaysOpenForTyping(true);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    layout->addWidget(DBGrid1, 1);
    Panel1 = makeNamePanel(this);
    layout->addWidget(Panel1);

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    platform::connectGuarded(AdjGroup, &ChoiceGroup::click, this, [this] { AdjGroupClick(); });
    platform::connectGuarded(RndGroup, &ChoiceGroup::click, this, [this] { AdjGroupClick(); });
    connect(DBGrid1, &dbcontrols::DBGrid::drawColumnCell, this,
            [this](dbcontrols::DrawColumnCell& cell) { DBGrid1DrawColumnCell(cell); });
    connect(DBGrid1, &dbcontrols::DBGrid::keyDown, this, [this](QKeyEvent* event, bool& swallow) {
        swallow = marksGridKey(*DBGrid1, *event, false);
    });
    platform::connectGuarded(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
                             [this](int column) { showTotalsOf(column); });

    for (int i = 0; i < 5; ++i) {
        const QString letter(QLatin1Char(char('A' + i)));
        addShortcut(QKeySequence(QStringLiteral("Alt+") + letter),
                    [this, letter] { chooseItem(AdjGroup, letter); });
    }
    for (const char* round : {"1", "2", "3"})
        addShortcut(QKeySequence(QStringLiteral("Alt+") + QLatin1String(round)),
                    [this, round] { chooseItem(RndGroup, QLatin1String(round)); });
    addShortcut(QKeySequence(QStringLiteral("Alt+S")),
                [this] { chooseItem(RndGroup, QStringLiteral("Set")); });
    addShortcut(QKeySequence(QStringLiteral("Alt+O")), [this] { Button2Click(); });
    addShortcut(QKeySequence(QStringLiteral("Alt+X")), [this] { Button1Click(); });
    addShortcut(QKeySequence(QStringLiteral("Ctrl+T")),
                [this] { showTotalsOf(DBGrid1->currentColumn()); });

    Spreadsheet1 = this;
}

TSpreadsheet1::~TSpreadsheet1() {
    if (Spreadsheet1 == this)
        Spreadsheet1 = nullptr;
}

void TSpreadsheet1::addShortcut(const QKeySequence& keys, std::function<void()> action) {
    auto* shortcut = new QShortcut(keys, this);
    platform::connectGuarded(shortcut, &QShortcut::activated, this,
                             [this, action = std::move(action)] {
                                 if (isOpen())
                                     action();
                             });
}

void TSpreadsheet1::chooseItem(ChoiceGroup* group, const QString& item) {
    group->choose(group->items().indexOf(item));
}

void TSpreadsheet1::setSetupChoices(SetupChoices* choices) {
    m_choices = choices;
}

SetupChoices& TSpreadsheet1::setupChoices() const {
    return m_choices ? *m_choices : const_cast<CompetitionSetupChoices&>(m_setupWindow);
}

void TSpreadsheet1::bindControls(engine::DataSource* source) {
    DBGrid1->setDataSource(source);
    DBNavigator1->setDataSource(source);
}

QString TSpreadsheet1::infoText(const QString& field) const {
    const engine::Table* info = m_state.module().compinfo;
    if (!info || !info->active())
        return {};
    const engine::Field* f = info->findField(field);
    return f ? f->asString().trimmed() : QString();
}

void TSpreadsheet1::FocusFieldColumn(dbcontrols::DBGrid* grid, const QString& fieldName) {
    const int column = grid->columnOfField(fieldName);
    if (column < 0)
        return;
    grid->setCurrentColumn(column);
    grid->setFocus();
}

void TSpreadsheet1::FormShow() {
    FocusFieldColumn(DBGrid1, QStringLiteral("A1"));
}

void TSpreadsheet1::FormActivate() {
    reopenResults();
    engine::Table& t = results();
    Panel1->setText(competitionDisplayName(t.tableName()));
    showOrder(Button2, t, true);
    Label2->setText(infoText(QStringLiteral("ADJANAME")));
    Label3->setText(infoText(QStringLiteral("RD1TITLE")));

    // A number the setup never stored comes from what the Competition Setup window shows.
    const std::optional<int> storedAdjs = storedAdjudicators(infoText(QStringLiteral("NUMADJS")));
    const std::optional<int> storedRnds = storedRounds(infoText(QStringLiteral("NUMROUNDS")));
    SetupChoices& choices = setupChoices();
    const int adjudicators = storedAdjs.value_or(choices.adjudicators());
    m_rounds = storedRnds.value_or(choices.rounds());
    choices.bringIntoLine(storedAdjs, storedRnds);

    AdjGroup->setItems(adjudicatorItems(adjudicators));
    RndGroup->setItems(roundItems(m_rounds));
    AdjGroup->setItemIndex(0);
    RndGroup->setItemIndex(0);
    m_adjItem = m_rndItem = -1;
    AdjGroupClick();
}

void TSpreadsheet1::AdjGroupClick() {
    engine::Table& t = results();
    const MarkChoice choice = markChoice(AdjGroup->itemIndex(), RndGroup->itemIndex(), m_rounds);
    // The mark being typed is saved first; when it cannot be, the choice goes back.
    bool saved = false;
    try {
        saved = saveMark(t);
    } catch (...) {
        AdjGroup->setItemIndex(m_adjItem);
        RndGroup->setItemIndex(m_rndItem);
        throw;
    }
    if (!saved) {
        AdjGroup->setItemIndex(m_adjItem);
        RndGroup->setItemIndex(m_rndItem);
        return;
    }
    m_adjItem = AdjGroup->itemIndex();
    m_rndItem = RndGroup->itemIndex();
    keyboardToGrid(*DBGrid1);

    // The grid takes the whole column list again: a column hidden on its own would come
    // back at the grid's next reset.
    for (dbcontrols::GridColumn& c : m_columns)
        if (isMarkField(c.fieldName))
            c.visible = choice.valid() && c.fieldName == choice.field;
    DBGrid1->setColumns(m_columns);
    t.setFiltered(false);
    m_shown = choice;
    Label2->setText(choice.valid() ? infoText(choice.nameField) : QString());
    if (!choice.valid())
        return;
    Label3->setText(infoText(choice.titleField));
    if (choice.recalledOnly) {
        t.setFilter(QStringLiteral("RECALLED"));
        t.setFiltered(true);
    }
    FocusFieldColumn(DBGrid1, choice.field);
}

void TSpreadsheet1::Button2Click() {
    engine::Table& t = results();
    if (!saveMark(t))
        return;
    keyboardToGrid(*DBGrid1);
    showOrder(Button2, t, Button2->text() == kAsEntered);
    if (m_shown.valid())
        FocusFieldColumn(DBGrid1, m_shown.field);
}

void TSpreadsheet1::DBGrid1DrawColumnCell(dbcontrols::DrawColumnCell& cell) {
    if (cell.fieldValue(QStringLiteral("RecDancer")).toString() == QLatin1String("Yes"))
        cell.option.palette.setColor(QPalette::Text, Qt::blue);
}

void TSpreadsheet1::Button1Click() {
    close();
}

void TSpreadsheet1::showTotalsOf(int column) {
    const QString field = DBGrid1->gridColumn(column).fieldName;
    if (!isMarkField(field))
        return;
    engine::Table& t = results();
    if (!saveMark(t))
        return;
    showColumnTotals(t, field);
    if (m_shown.valid())
        FocusFieldColumn(DBGrid1, m_shown.field);
}

bool TSpreadsheet1::FormClose() {
    engine::Table& t = results();
    if (!saveMark(t))
        return false;
    if (t.active()) {
        showAsEntered(t);
        t.setFiltered(false);
    }
    t.setFilter(QString());
    t.setFiltered(false);
    return true;
}

} // namespace jt::marks

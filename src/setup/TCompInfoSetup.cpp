#include "TCompInfoSetup.h"

#include "CompInfoChoices.h"
#include "RadioGroup.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBNavigator.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace jt::setup {

TCompInfoSetup* CompInfoSetup = nullptr;

namespace {

struct EditBoxLayout {
    const char* name;
    const char* field;
    int maxLength;
    int widthInChars;
};

constexpr EditBoxLayout kEdits[] = {
    {"DBEdit1", "COMPNAME", TCompInfoSetup::kDescriptionLength, 30},
    {"DBEdit2", "COMPNO", TCompInfoSetup::kCompNoLength, 4},
    {"DBEdit3", "ADJANAME", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit4", "ADJAFROM", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit5", "ADJBNAME", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit6", "ADJBFROM", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit7", "ADJCNAME", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit8", "ADJCFROM", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit9", "ADJDNAME", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit10", "ADJDFROM", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit11", "ADJENAME", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit12", "ADJEFROM", TCompInfoSetup::kAdjudicatorLength, 20},
    {"DBEdit13", "RD1TITLE", TCompInfoSetup::kRoundTitleLength, 20},
    {"DBEdit14", "RD2TITLE", TCompInfoSetup::kRoundTitleLength, 20},
    {"DBEdit15", "RD3TITLE", TCompInfoSetup::kRoundTitleLength, 20},
    {"DBEdit16", "RD4TITLE", TCompInfoSetup::kRoundTitleLength, 20},
};

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    return l;
}

} // namespace

TCompInfoSetup::TCompInfoSetup(ProgramState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("CompInfoSetup"));
    setWindowTitle(QStringLiteral("Competition Setup"));
    platform::setHelpTopic(this, 550);

    DBNavigator1 = new dbcontrols::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons({dbcontrols::DBNavigator::Edit, dbcontrols::DBNavigator::Post,
                                     dbcontrols::DBNavigator::Cancel});
    DBNavigator1->setShowHints(false);
    Button1 = new QPushButton(QStringLiteral("Exit"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);

    dbcontrols::DBEdit** slots[] = {
        &DBEdit1, &DBEdit2,  &DBEdit3,  &DBEdit4,  &DBEdit5,  &DBEdit6,  &DBEdit7,  &DBEdit8,
        &DBEdit9, &DBEdit10, &DBEdit11, &DBEdit12, &DBEdit13, &DBEdit14, &DBEdit15, &DBEdit16};
    for (std::size_t i = 0; i < std::size(kEdits); ++i) {
        auto* edit = new dbcontrols::DBEdit(this);
        edit->setObjectName(QString::fromLatin1(kEdits[i].name));
        edit->setDataField(QString::fromLatin1(kEdits[i].field));
        edit->setMaxLength(kEdits[i].maxLength);
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() *
                              (kEdits[i].widthInChars + 2));
        *slots[i] = edit;
    }

    AdjGroup = new RadioGroup(QStringLiteral("No of Adjudicators"),
                              {QStringLiteral("3 Adj"), QStringLiteral("5 Adj")}, this);
    AdjGroup->setObjectName(QStringLiteral("AdjGroup"));
    AdjGroup->setItemIndex(kThreeAdjudicators);
    AdjLocked = new QCheckBox(QStringLiteral("Locked"), this);
    AdjLocked->setObjectName(QStringLiteral("AdjLocked"));
    RdsGroup = new RadioGroup(QStringLiteral("Rounds"),
                              {QStringLiteral("2 Rds + Set"), QStringLiteral("3 Rds + Set")}, this);
    RdsGroup->setObjectName(QStringLiteral("RdsGroup"));
    RdsGroup->setItemIndex(kTwoRoundsAndSet);
    RdsLocked = new QCheckBox(QStringLiteral("Locked"), this);
    RdsLocked->setObjectName(QStringLiteral("RdsLocked"));
    // As built the fields follow the groups' first items: three adjudicators, two rounds.
    setAdjudicatorsDandE(false);
    DBEdit15->setEnabled(false);

    // Layout: the bar, then the fields on the left and the choices on the right.
    auto* bar = new QHBoxLayout;
    bar->addWidget(DBNavigator1);
    bar->addStretch();
    bar->addWidget(Button1);

    auto* fields = new QGridLayout;
    int row = 0;
    fields->addWidget(label(QStringLiteral("Competition Description"), this), row, 1, 1, 2);
    fields->addWidget(label(QStringLiteral("Comp No."), this), row, 3);
    ++row;
    fields->addWidget(DBEdit1, row, 1, 1, 2);
    fields->addWidget(DBEdit2, row, 3);
    ++row;
    fields->setRowMinimumHeight(row++, 8);
    fields->addWidget(label(QStringLiteral("Adjudicator Name"), this), row, 1);
    fields->addWidget(label(QStringLiteral("Adjudicator From"), this), row, 2);
    ++row;
    const char* letters[] = {"A", "B", "C", "D", "E"};
    for (int i = 0; i < 5; ++i, ++row) {
        fields->addWidget(label(QString::fromLatin1(letters[i]), this), row, 0);
        fields->addWidget(edits()[2 + 2 * i], row, 1);
        fields->addWidget(edits()[3 + 2 * i], row, 2);
    }
    fields->setRowMinimumHeight(row++, 8);
    fields->addWidget(label(QStringLiteral("Round Descriptions"), this), row++, 1);
    const char* rounds[] = {"1", "2", "3", "Recall"};
    for (int i = 0; i < 4; ++i, ++row) {
        fields->addWidget(label(QString::fromLatin1(rounds[i]), this), row, 0);
        fields->addWidget(edits()[12 + i], row, 1);
    }

    auto* choices = new QVBoxLayout;
    choices->addWidget(AdjGroup);
    choices->addWidget(AdjLocked);
    choices->addSpacing(24);
    choices->addWidget(RdsGroup);
    choices->addWidget(RdsLocked);
    choices->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(fields);
    body->addSpacing(16);
    body->addLayout(choices);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(body);
    layout->addStretch();

    // Tab order: the fields, then the choices, then the bar.
    QList<QWidget*> order;
    for (dbcontrols::DBEdit* e : edits())
        order << e;
    order << AdjGroup->item(0) << AdjGroup->item(1) << AdjLocked << RdsGroup->item(0)
          << RdsGroup->item(1) << RdsLocked << DBNavigator1 << Button1;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(AdjGroup, &RadioGroup::selectionChanged, this,
                             [this] { AdjGroupClick(); });
    platform::connectGuarded(RdsGroup, &RadioGroup::selectionChanged, this,
                             [this] { RdsGroupClick(); });
    // The boxes act on every change, also the window's own (opening locks a known choice).
    platform::connectGuarded(AdjLocked, &QCheckBox::toggled, this, [this] { AdjLockedClick(); });
    platform::connectGuarded(RdsLocked, &QCheckBox::toggled, this, [this] { RdsLockedClick(); });
    CompInfoSetup = this;
}

TCompInfoSetup::~TCompInfoSetup() {
    if (CompInfoSetup == this)
        CompInfoSetup = nullptr;
}

QList<dbcontrols::DBEdit*> TCompInfoSetup::edits() const {
    return {DBEdit1, DBEdit2,  DBEdit3,  DBEdit4,  DBEdit5,  DBEdit6,  DBEdit7,  DBEdit8,
            DBEdit9, DBEdit10, DBEdit11, DBEdit12, DBEdit13, DBEdit14, DBEdit15, DBEdit16};
}

void TCompInfoSetup::bindControls() {
    engine::DataSource* source = m_state.module().DataSource2;
    if (DBNavigator1->dataSource() == source)
        return;
    DBNavigator1->setDataSource(source);
    for (dbcontrols::DBEdit* e : edits())
        e->setDataSource(source);
}

void TCompInfoSetup::setAdjudicatorsDandE(bool enabled) {
    for (dbcontrols::DBEdit* e : {DBEdit9, DBEdit10, DBEdit11, DBEdit12})
        e->setEnabled(enabled);
}

void TCompInfoSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::runGuarded([this] { FormShow(); });
}

void TCompInfoSetup::FormShow() {
    bindControls();
    const data::TDataModule1& dm = m_state.module();
    // Shows what is stored and writes nothing.
    switch (adjudicatorItemOf(dm.compinfoNUMADJS->asString())) {
    case kThreeAdjudicators:
        AdjGroup->setItemIndex(kThreeAdjudicators);
        setAdjudicatorsDandE(false);
        AdjLocked->setChecked(true);
        break;
    case kFiveAdjudicators:
        AdjGroup->setItemIndex(kFiveAdjudicators);
        setAdjudicatorsDandE(true);
        AdjLocked->setChecked(true);
        break;
    default:
        AdjLocked->setChecked(false);
        break;
    }
    switch (roundsItemOf(dm.compinfoNUMROUNDS->asString())) {
    case kTwoRoundsAndSet:
        RdsGroup->setItemIndex(kTwoRoundsAndSet);
        DBEdit15->setEnabled(false);
        RdsLocked->setChecked(true);
        break;
    case kThreeRoundsAndSet:
        RdsGroup->setItemIndex(kThreeRoundsAndSet);
        DBEdit15->setEnabled(true);
        RdsLocked->setChecked(true);
        break;
    default:
        RdsLocked->setChecked(false);
        break;
    }
    // The checked boxes' handlers have run by now; a box left as it was is applied here.
    AdjLockedClick();
    RdsLockedClick();
    DBEdit1->setFocus();
}

void TCompInfoSetup::Button1Click() {
    close();
}

void TCompInfoSetup::AdjGroupClick() {
    if (AdjLocked->isChecked())
        return;
    data::TDataModule1& dm = m_state.module();
    const int item = AdjGroup->itemIndex();
    if (item != kThreeAdjudicators && item != kFiveAdjudicators)
        return;
    setAdjudicatorsDandE(item == kFiveAdjudicators);
    storeChoice(*dm.compinfo, *dm.compinfoNUMADJS, adjudicatorCode(item));
}

void TCompInfoSetup::RdsGroupClick() {
    if (RdsLocked->isChecked())
        return;
    data::TDataModule1& dm = m_state.module();
    const int item = RdsGroup->itemIndex();
    if (item != kTwoRoundsAndSet && item != kThreeRoundsAndSet)
        return;
    DBEdit15->setEnabled(item == kThreeRoundsAndSet);
    storeChoice(*dm.compinfo, *dm.compinfoNUMROUNDS, roundsCode(item));
}

void TCompInfoSetup::AdjLockedClick() {
    AdjGroup->setEnabled(!AdjLocked->isChecked());
}

void TCompInfoSetup::RdsLockedClick() {
    RdsGroup->setEnabled(!RdsLocked->isChecked());
}

} // namespace jt::setup

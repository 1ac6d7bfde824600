#include "TSpreadsheet.h"

#include "DancerOrder.h"
#include "MarkChoices.h"
#include "MarkColumns.h"
#include "MarksGridKeys.h"
#include "SaveMark.h"
#include "TColTotal.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
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

TSpreadsheet* Spreadsheet = nullptr;

TSpreadsheet::TSpreadsheet(ProgramState& state, QWidget* parent)
    : MarksWindow(state, parent, true) {
    setObjectName(QStringLiteral("Spreadsheet"));
    setWindowTitle(QStringLiteral("Enter Marks (See All)"));
    platform::setHelpTopic(this, 280);
    resize(1000, 600);

    auto* layout = new QVBoxLayout(this);
    const OrderBar bar = addOrderBar(layout);
    DBNavigator1 = bar.navigator;
    Button1 = bar.exit;
    Label1 = bar.orderLabel;
    Button2 = bar.order;

    DBGrid1 = new dbcontrols::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("Click column heading for column total"));
    // The dancer number stands before every adjudicator's block, so that it stays in view
    // when the grid is scrolled sideways.
    QList<dbcontrols::GridColumn> columns;
    const QStringList& marks = markFields();
    for (int a = 0; a < 5; ++a) {
        if (a > 0)
            columns << dbcontrols::GridColumn::separator(3);
        columns << dancerColumn(64);
        for (int r = 0; r < 4; ++r)
            columns << markColumn(marks[a * 4 + r]);
    }
    columns << recalledColumn(QString());
    DBGrid1->setColumns(columns);
    DBGrid1->setAlwaysOpenForTyping(true);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    layout->addWidget(DBGrid1, 1);
    Panel1 = makeNamePanel(this);
    layout->addWidget(Panel1);

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(DBGrid1, &dbcontrols::DBGrid::keyDown, this,
            [this](QKeyEvent* event, bool& swallow) { DBGrid1KeyDown(event, swallow); });
    platform::connectGuarded(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
                             [this](int column) { showTotalsOf(column); });
    const auto shortcut = [this](const char* keys, auto action) {
        auto* s = new QShortcut(QKeySequence(QLatin1String(keys)), this);
        platform::connectGuarded(s, &QShortcut::activated, this, [this, action] {
            if (isOpen())
                action();
        });
    };
    shortcut("Alt+O", [this] { Button2Click(); });
    shortcut("Alt+X", [this] { Button1Click(); });
    shortcut("Ctrl+T", [this] { showTotalsOf(DBGrid1->currentColumn()); });

    Spreadsheet = this;
}

TSpreadsheet::~TSpreadsheet() {
    if (Spreadsheet == this)
        Spreadsheet = nullptr;
}

void TSpreadsheet::bindControls(engine::DataSource* source) {
    DBGrid1->setDataSource(source);
    DBNavigator1->setDataSource(source);
}

void TSpreadsheet::FormActivate() {
    reopenResults();
    engine::Table& t = results();
    Panel1->setText(competitionDisplayName(t.tableName()));
    showOrder(Button2, t, true);
    // Typing starts in adjudicator A's round 1 unless a mark column was left current.
    if (!isMarkField(DBGrid1->gridColumn(DBGrid1->currentColumn()).fieldName))
        DBGrid1->setCurrentColumn(DBGrid1->columnOfField(QStringLiteral("A1")));
    DBGrid1->setFocus();
}

void TSpreadsheet::Button2Click() {
    engine::Table& t = results();
    if (!saveMark(t))
        return;
    const int column = DBGrid1->currentColumn();
    keyboardToGrid(*DBGrid1);
    showOrder(Button2, t, Button2->text() == kAsEntered);
    // Typing goes on in the same column, on the first dancer.
    DBGrid1->setCurrentColumn(column);
    DBGrid1->setFocus();
}

void TSpreadsheet::DBGrid1KeyDown(QKeyEvent* event, bool& swallow) {
    // The grid never opens a blank row below the last dancer.
    swallow = marksGridKey(*DBGrid1, *event, true);
}

void TSpreadsheet::Button1Click() {
    close();
}

void TSpreadsheet::showTotalsOf(int column) {
    const QString field = DBGrid1->gridColumn(column).fieldName;
    if (!isMarkField(field))
        return;
    engine::Table& t = results();
    if (!saveMark(t))
        return;
    showColumnTotals(t, field);
    DBGrid1->setFocus();
}

bool TSpreadsheet::FormClose() {
    engine::Table& t = results();
    if (!saveMark(t))
        return false;
    // The table is left in entry order either way.
    if (asDanced(Button2) && t.active())
        showAsEntered(t);
    return true;
}

} // namespace jt::marks

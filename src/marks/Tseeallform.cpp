#include "Tseeallform.h"

#include "DancerOrder.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/RecordLink.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "wizards/ExportWizard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace jt::marks {

Tseeallform* seeallform = nullptr;

namespace {

QList<dbcontrols::GridColumn> seeAllColumns() {
    using dbcontrols::GridColumn;
    QList<GridColumn> columns{
        GridColumn::field(QStringLiteral("SEQUENCE"), QStringLiteral("Sequence")),
        GridColumn::field(QStringLiteral("COMP_NO"), QStringLiteral("Dancer")),
        GridColumn::field(QStringLiteral("NAME"), QStringLiteral("Name")),
        GridColumn::field(QStringLiteral("SCHOOL"), QStringLiteral("School"))};
    for (const char letter : {'A', 'B', 'C', 'D', 'E'})
        for (const char* part : {"1", "2", "3", "SUBTOTAL", "GRID1", "SET", "TOTAL", "GRID2"})
            columns << GridColumn::field(QLatin1Char(letter) + QLatin1String(part));
    columns << GridColumn::field(QStringLiteral("RECALLTTL"), QStringLiteral("Recall Ttl"))
            << GridColumn::field(QStringLiteral("RECALLTIE"))
            << GridColumn::field(QStringLiteral("GRIDTOTAL"), QStringLiteral("Grid Ttl"))
            << GridColumn::field(QStringLiteral("POSITION"), QStringLiteral("Position"))
            << GridColumn::field(QStringLiteral("FINALTIE"))
            << GridColumn::field(QStringLiteral("RECALLCHAR"))
            << GridColumn::field(QStringLiteral("FINALCHAR"))
            << GridColumn::field(QStringLiteral("RECALLED"))
            << GridColumn::field(QStringLiteral("RecDancer"))
            << GridColumn::field(QStringLiteral("SOLOPOSN"))
            << GridColumn::field(QStringLiteral("SOLOCHAR"));
    return columns;
}

} // namespace

Tseeallform::Tseeallform(ProgramState& state, QWidget* parent) : MarksWindow(state, parent, true) {
    setObjectName(QStringLiteral("seeallform"));
    setWindowTitle(QStringLiteral("SeeAll Spreadsheet"));
    resize(1000, 600);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    DBNavigator1 = new dbcontrols::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setShowHints(false);
    Button1 = makeButton(QStringLiteral("Export Wizard"), QStringLiteral("Button1"));
    Button2 = makeButton(QStringLiteral("Exit"), QStringLiteral("Button2"));
    bar->addWidget(DBNavigator1);
    bar->addWidget(Button1);
    bar->addWidget(Button2);
    bar->addStretch();
    layout->addLayout(bar);
    DBGrid1 = new dbcontrols::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(seeAllColumns());
    layout->addWidget(DBGrid1, 1);

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    auto* exit = new QShortcut(QKeySequence(QStringLiteral("Alt+X")), this);
    platform::connectGuarded(exit, &QShortcut::activated, this, [this] {
        if (isOpen())
            Button2Click();
    });

    seeallform = this;
}

Tseeallform::~Tseeallform() {
    if (seeallform == this)
        seeallform = nullptr;
}

void Tseeallform::bindControls(engine::DataSource* source) {
    DBGrid1->setDataSource(source);
    DBNavigator1->setDataSource(source);
}

ExportSetup Tseeallform::exportSetup() const {
    ExportSetup setup;
    const auto model = DBGrid1->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        const dbcontrols::GridColumn column = DBGrid1->gridColumn(c);
        setup.columns << ExportColumn{column.fieldName,
                                      model->headerData(c, Qt::Horizontal).toString()};
    }
    setup.defaultFileName = m_exportFileName;
    return setup;
}

void Tseeallform::FormActivate() {
    reopenResults();
    m_exportFileName = competitionDisplayName(results().tableName());
    DBGrid1->setFocus();
}

void Tseeallform::Button1Click() {
    const ExportSetup setup = exportSetup();
    QList<exchange::ExportColumn> columns;
    for (const ExportColumn& c : setup.columns)
        columns.append({c.field, c.title});
    wizards::ExportWizard wizard(results(), columns, setup.defaultFileName, this);
    wizard.setWindowTitle(setup.title);
    wizard.exec();
}

void Tseeallform::Button2Click() {
    close();
}

bool Tseeallform::FormClose() {
    // Nothing is saved on closing; what was typed stays in the record, pending.
    engine::Table& t = results();
    return !t.active() || dbcontrols::updateRecord(t);
}

} // namespace jt::marks

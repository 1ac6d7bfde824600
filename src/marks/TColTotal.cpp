#include "TColTotal.h"

#include "platform/Guarded.h"
#include "platform/HelpTopic.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace jt::marks {

TColTotal* ColTotal = nullptr;

TColTotal::TColTotal(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("ColTotal"));
    setWindowTitle(QStringLiteral("Column Totals"));
    platform::setHelpTopic(this, 400);
    auto* layout = new QVBoxLayout(this);
    Button1 = new QPushButton(QStringLiteral("Exit"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(Button1, 0, Qt::AlignLeft);
    DBGrid1 = new QTableWidget(1, 4, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setHorizontalHeaderLabels({QStringLiteral("Column"), QStringLiteral("Total"),
                                        QStringLiteral("Marks"), QStringLiteral("Blanks")});
    DBGrid1->verticalHeader()->hide();
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setFocusPolicy(Qt::NoFocus);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(DBGrid1);
    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    resize(380, 120);
    ColTotal = this;
}

TColTotal::~TColTotal() {
    if (ColTotal == this)
        ColTotal = nullptr;
}

void TColTotal::showTotals(const engine::Table& table, const QString& field) {
    showTotals(columnTotals(table, field));
}

void TColTotal::showTotals(const ColumnTotals& totals) {
    m_totals = totals;
    const QStringList cells{totals.field, totals.sumText(), QString::number(totals.marks),
                            QString::number(totals.blanks)};
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                      : Qt::AlignRight | Qt::AlignVCenter);
        DBGrid1->setItem(0, c, item);
    }
}

void TColTotal::Button1Click() {
    close();
}

void showColumnTotals(const engine::Table& table, const QString& field) {
    if (!ColTotal)
        throw std::runtime_error("The Column Totals window has not been created");
    ColTotal->showTotals(table, field);
    ColTotal->exec();
}

} // namespace jt::marks

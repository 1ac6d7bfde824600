#include "TChangeLog.h"

#include "ChangeLogView.h"
#include "data/ChangeLog.h"
#include "data/ProgramState.h"
#include "engine/Table.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace jt::app {

TChangeLog::TChangeLog(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("ChangeLog"));
    setWindowTitle(QStringLiteral("Change Log"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Exit"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Click to return to main menu"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addWidget(Button1);
    bar->addSpacing(16);
    bar->addWidget(Label1, 1);
    layout->addLayout(bar);

    m_model = new QStandardItemModel(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setAlternatingRowColors(true);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(DBGrid1, 1);
    resize(820, 480);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TChangeLog::~TChangeLog() = default;

void TChangeLog::FormShow() {
    const QString path = data::changeLogPath(m_state.module().results->resolvedPath());
    const ChangeLogRows log = readChangeLog(path);
    m_model->clear();
    m_model->setHorizontalHeaderLabels(log.columns);
    for (const QStringList& row : log.rows) {
        QList<QStandardItem*> items;
        for (const QString& cell : row) {
            auto* item = new QStandardItem(cell);
            item->setEditable(false);
            items << item;
        }
        m_model->appendRow(items);
    }
    const QString file = QDir::toNativeSeparators(path);
    if (!log.error.isEmpty())
        Label1->setText(log.error);
    else if (log.rows.isEmpty())
        Label1->setText(QStringLiteral("%1: no change has been logged yet").arg(file));
    else
        Label1->setText(
            QStringLiteral("%1: %2 %3")
                .arg(file)
                .arg(log.rows.size())
                .arg(log.rows.size() == 1 ? QStringLiteral("change") : QStringLiteral("changes")));
    DBGrid1->resizeColumnsToContents();
    // Newest last, and in view.
    DBGrid1->scrollToBottom();
    if (m_model->rowCount() > 0)
        DBGrid1->selectRow(m_model->rowCount() - 1);
}

} // namespace jt::app

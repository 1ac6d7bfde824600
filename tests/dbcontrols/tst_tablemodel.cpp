#include "dbcontrols/TableModel.h"
#include "support/Competition.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace jt;
using dbcontrols::GridColumn;
using dbcontrols::TableModel;

class TestTableModel : public QObject {
    Q_OBJECT

    std::unique_ptr<test::Competition> m_comp;
    std::unique_ptr<TableModel> m_model;

    engine::Table* results() const { return &m_comp->results(); }
    QString shown(int row, int column) const {
        return m_model->index(row, column).data().toString();
    }

private Q_SLOTS:
    void init() {
        m_comp = test::Competition::withDancers(5, QList<double>{5, 4, 3, 2, 1});
        m_model = std::make_unique<TableModel>();
        m_model->setColumns({GridColumn::field(QStringLiteral("COMP_NO"), QStringLiteral("Dancer")),
                             GridColumn::separator(), GridColumn::field(QStringLiteral("A1")),
                             GridColumn::field(QStringLiteral("RecDancer"))});
        m_model->setDataSource(m_comp->module().DataSource1);
    }
    void cleanup() {
        m_model.reset();
        m_comp.reset();
    }

    // The model stays consistent through everything the table does to its rows.
    void consistentThroughTableChanges() {
        QAbstractItemModelTester tester(m_model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m_model->rowCount(), 5);
        results()->append();
        QCOMPARE(m_model->rowCount(), 6);
        m_comp->module().resultsA1->setAsFloat(9);
        QCOMPARE(shown(5, 2), QStringLiteral("9"));
        results()->post();
        results()->insert();
        results()->cancel();
        QCOMPARE(m_model->rowCount(), 6);
        results()->moveToRow(2);
        results()->deleteRecord();
        QCOMPARE(m_model->rowCount(), 5);
        results()->setFilter(QStringLiteral("RECALLED"));
        results()->setFiltered(true);
        QCOMPARE(m_model->rowCount(), 0);
        results()->setFiltered(false);
        results()->close();
        QCOMPARE(m_model->rowCount(), 0);
        results()->addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
        results()->setIndexName(QStringLiteral("seqno"));
        results()->open();
        QCOMPARE(m_model->rowCount(), 5);
        // In dancing order: the dancer without a number first, then 105 (1), 104 (2), ...
        QCOMPARE(shown(0, 0), QString());
        QCOMPARE(shown(1, 0), QStringLiteral("105"));
        QCOMPARE(shown(2, 0), QStringLiteral("104"));
        m_model->setColumns({GridColumn::field(QStringLiteral("NAME"))});
        QCOMPARE(m_model->columnCount(), 1);
        m_comp->module().DataSource1->setDataSet(nullptr);
        QCOMPARE(m_model->rowCount(), 0);
    }

    void cells() {
        QCOMPARE(m_model->columnCount(), 4);
        QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Dancer"));
        QCOMPARE(m_model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("A1"));
        QCOMPARE(m_model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("RecDancer"));
        QCOMPARE(shown(1, 0), QStringLiteral("102"));
        QCOMPARE(shown(1, 2), QStringLiteral("4"));
        // The separator shows nothing, takes nothing, is grey.
        QCOMPARE(shown(1, 1), QString());
        QCOMPARE(m_model->flags(m_model->index(1, 1)) & Qt::ItemIsEditable, Qt::NoItemFlags);
        QVERIFY(m_model->index(1, 1).data(Qt::BackgroundRole).value<QBrush>().color().isValid());
        // The calculated field is read-only.
        QCOMPARE(m_model->flags(m_model->index(1, 3)) & Qt::ItemIsEditable, Qt::NoItemFlags);
        QVERIFY(m_model->flags(m_model->index(1, 2)) & Qt::ItemIsEditable);
        // Numbers to the right, text to the left.
        const auto align = [&](int c) {
            return m_model->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                   Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(align(2), Qt::AlignRight);
        QCOMPARE(align(3), Qt::AlignLeft);
        // The indicator column marks the current row and its state.
        QCOMPARE(m_model->headerData(0, Qt::Vertical).toString(), QStringLiteral(">"));
        QCOMPARE(m_model->headerData(1, Qt::Vertical).toString(), QString());
        results()->edit();
        QCOMPARE(m_model->headerData(0, Qt::Vertical).toString(), QStringLiteral("I"));
    }

    void calculatedFieldInEveryRow() {
        results()->moveToRow(3);
        results()->edit();
        m_comp->module().resultsRECALLED->setAsBoolean(true);
        results()->post();
        results()->first();
        QCOMPARE(shown(3, 3), QStringLiteral("Yes"));
        QCOMPARE(shown(2, 3), QString());
    }

    void writesAndRepaintsTheCurrentRow() {
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(m_model->setData(m_model->index(0, 2), QStringLiteral("8.25")));
        QCOMPARE(results()->state(), engine::Table::State::Edit);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).value<QModelIndex>().row(), 0);
        QCOMPARE(shown(0, 2), QStringLiteral("8.25"));
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 5.0); // not saved yet
        // Refused text is shown and leaves the record as it was.
        QVERIFY(!m_model->setData(m_model->index(0, 2), QStringLiteral("8..")));
        QCOMPARE(m_comp->dialogs.messageTexts(),
                 QStringList{
                     QStringLiteral("'8..' is not a valid floating point value for field 'A1'")});
        QCOMPARE(shown(0, 2), QStringLiteral("8.25"));
        // Read-only and separator columns take nothing.
        QVERIFY(!m_model->setData(m_model->index(0, 1), QStringLiteral("1")));
        QVERIFY(!m_model->setData(m_model->index(0, 3), QStringLiteral("1")));
    }

    void bulkUpdateResetsOnceWhenControlsComeBack() {
        const int before = m_model->resetCount();
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        results()->disableControls();
        for (results()->first(); !results()->eof(); results()->next()) {
            results()->edit();
            m_comp->module().resultsA1->setAsFloat(0.5);
            results()->post();
        }
        results()->append();
        results()->post();
        QCOMPARE(m_model->resetCount(), before);
        QCOMPARE(m_model->rowCount(), 5); // the display is frozen
        results()->enableControls();
        QCOMPARE(m_model->resetCount(), before + 1);
        QCOMPARE(m_model->rowCount(), 6);
        QCOMPARE(shown(4, 2), QStringLiteral(".5"));
    }
};

QTEST_MAIN(TestTableModel)
#include "tst_tablemodel.moc"

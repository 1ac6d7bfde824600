#include "Focused.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "support/Competition.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

using namespace jt;
using dbcontrols::DBEdit;
using dbcontrols::DBGrid;
using dbcontrols::DBNavigator;
using dbcontrols::GridColumn;
using engine::Table;
using Nav = DBNavigator::Button;

// A setup window in small: the navigator over a grid and two edit boxes, all bound
// to the results table.
class TestDBNavigator : public QObject {
    Q_OBJECT

    std::unique_ptr<test::Competition> m_comp;
    std::unique_ptr<QWidget> m_window;
    DBNavigator* m_nav = nullptr;
    DBGrid* m_grid = nullptr;
    DBEdit* m_name = nullptr;
    DBEdit* m_mark = nullptr;

    void makeWindow(int dancers) {
        m_comp = test::Competition::withDancers(dancers, QList<double>{1, 2, 3});
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        m_nav = new DBNavigator(m_window.get());
        m_grid = new DBGrid(m_window.get());
        m_name = new DBEdit(m_window.get());
        m_mark = new DBEdit(m_window.get());
        for (QWidget* w : {static_cast<QWidget*>(m_nav), static_cast<QWidget*>(m_grid),
                           static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_mark)})
            layout->addWidget(w);
        m_grid->setColumns({GridColumn::field(QStringLiteral("COMP_NO")),
                            GridColumn::field(QStringLiteral("A1"))});
        engine::DataSource* source = m_comp->module().DataSource1;
        m_nav->setDataSource(source);
        m_grid->setDataSource(source);
        m_name->setDataSource(source);
        m_name->setDataField(QStringLiteral("NAME"));
        m_name->setMaxLength(20); // the window's limit, under the field's 40
        m_mark->setDataSource(source);
        m_mark->setDataField(QStringLiteral("A1"));
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_grid->setFocus();
        m_grid->setCurrentColumn(1);
    }
    Table* results() const { return &m_comp->results(); }
    void press(Nav which) { QTest::mouseClick(m_nav->button(which), Qt::LeftButton); }
    QList<Nav> enabledButtons() const {
        QList<Nav> on;
        for (int i = 0; i < DBNavigator::kButtonCount; ++i)
            if (m_nav->button(Nav(i))->isEnabled())
                on << Nav(i);
        return on;
    }

private Q_SLOTS:
    void cleanup() {
        m_window.reset();
        m_comp.reset();
    }

    void buttonStates_data() {
        QTest::addColumn<int>("dancers");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QList<Nav>>("enabled");
        const QList<Nav> all{Nav::First,  Nav::Prior,  Nav::Next, Nav::Last,
                             Nav::Insert, Nav::Delete, Nav::Edit, Nav::Refresh};
        QTest::addRow("first record")
            << 3 << 0 << false
            << QList<Nav>{Nav::Next, Nav::Last, Nav::Insert, Nav::Delete, Nav::Edit, Nav::Refresh};
        QTest::addRow("middle record") << 3 << 1 << false << all;
        QTest::addRow("last record")
            << 3 << 2 << false << QList<Nav>{Nav::First,  Nav::Prior, Nav::Insert,
                                             Nav::Delete, Nav::Edit,  Nav::Refresh};
        QTest::addRow("editing") << 3 << 1 << true
                                 << QList<Nav>{Nav::First, Nav::Prior,  Nav::Next,
                                               Nav::Last,  Nav::Insert, Nav::Delete,
                                               Nav::Post,  Nav::Cancel, Nav::Refresh};
        QTest::addRow("only record")
            << 1 << 0 << false << QList<Nav>{Nav::Insert, Nav::Delete, Nav::Edit, Nav::Refresh};
        QTest::addRow("empty table")
            << 0 << -1 << false << QList<Nav>{Nav::Insert, Nav::Edit, Nav::Refresh};
    }
    void buttonStates() {
        QFETCH(int, dancers);
        QFETCH(int, row);
        QFETCH(bool, editing);
        QFETCH(QList<Nav>, enabled);
        makeWindow(dancers);
        if (row >= 0)
            results()->moveToRow(row);
        if (editing)
            QTest::keyClicks(test::focused(m_grid), QStringLiteral("4"));
        QCOMPARE(enabledButtons(), enabled);
        results()->close();
        QCOMPARE(enabledButtons(), QList<Nav>{});
    }

    void movesSaveAndSignal() {
        makeWindow(3);
        QSignalSpy clicked(m_nav, &DBNavigator::click);
        QTest::keyClicks(test::focused(m_grid), QStringLiteral("8")); // still in the cell editor
        press(Nav::Next);
        QCOMPARE(results()->currentRow(), 1);
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 8.0);
        press(Nav::Last);
        QCOMPARE(results()->currentRow(), 2);
        press(Nav::First);
        QCOMPARE(results()->currentRow(), 0);
        QCOMPARE(m_grid->currentIndex().row(), 0);
        QCOMPARE(clicked.size(), 3);
        QCOMPARE(clicked.at(0).at(0).value<Nav>(), Nav::Next);
        QCOMPARE(clicked.at(2).at(0).value<Nav>(), Nav::First);
    }

    void postAndCancel_data() {
        QTest::addColumn<Nav>("button");
        QTest::addColumn<double>("stored");
        QTest::addRow("Post saves") << Nav::Post << 6.0;
        QTest::addRow("Cancel throws away") << Nav::Cancel << 1.0;
    }
    void postAndCancel() {
        QFETCH(Nav, button);
        QFETCH(double, stored);
        makeWindow(3);
        QTest::keyClicks(test::focused(m_grid), QStringLiteral("6"));
        QCOMPARE(results()->state(), Table::State::Edit);
        press(button);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(results()->currentRow(), 0);
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), stored);
        QCOMPARE(m_grid->model()->index(0, 1).data().toString(), QString::number(stored));
        QVERIFY(!m_nav->button(Nav::Post)->isEnabled());
    }

    void refusedTextStopsThePost() {
        makeWindow(3);
        QTest::keyClicks(test::focused(m_grid), QStringLiteral("2-"));
        QSignalSpy clicked(m_nav, &DBNavigator::click);
        press(Nav::Post);
        QCOMPARE(
            m_comp->dialogs.messageTexts(),
            QStringList{QStringLiteral("'2-' is not a valid floating point value for field 'A1'")});
        QCOMPARE(results()->state(), Table::State::Edit);
        QCOMPARE(m_grid->cellEditor()->text(), QStringLiteral("2-"));
        QCOMPARE(clicked.size(), 0);
        press(Nav::Next);
        QCOMPARE(results()->currentRow(), 0);
    }

    void deleteAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::addRow("Yes") << int(platform::Yes) << 2;
        QTest::addRow("No") << int(platform::No) << 3;
    }
    void deleteAsks() {
        QFETCH(int, answer);
        QFETCH(int, left);
        makeWindow(3);
        QSignalSpy clicked(m_nav, &DBNavigator::click);
        m_comp->dialogs.answerMessage(platform::Button(answer));
        press(Nav::Delete);
        QCOMPARE(m_comp->dialogs.messageTexts(), QStringList{QStringLiteral("Delete record?")});
        QCOMPARE(m_comp->storedCount(), left);
        QCOMPARE(m_grid->model()->rowCount(), left);
        QCOMPARE(clicked.size(), 1);
    }

    void insertAndRefresh() {
        makeWindow(2);
        press(Nav::Insert);
        QCOMPARE(results()->state(), Table::State::Insert);
        QCOMPARE(m_grid->model()->rowCount(), 3);
        press(Nav::Refresh); // an unchanged new row is dropped
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_grid->model()->rowCount(), 2);
    }

    void editBoxFollowsAndEdits() {
        makeWindow(3);
        QCOMPARE(m_name->text(), QStringLiteral("Dancer 1"));
        results()->next();
        QCOMPARE(m_name->text(), QStringLiteral("Dancer 2"));
        QCOMPARE(m_mark->text(), QStringLiteral("2"));
        m_name->setFocus();
        m_name->selectAll();
        QTest::keyClicks(m_name, QStringLiteral("Aoife Ni Bhriain of Galway town"));
        QCOMPARE(m_name->text(), QStringLiteral("Aoife Ni Bhriain of ")); // cut at 20
        QCOMPARE(results()->state(), Table::State::Edit);
        QVERIFY(m_nav->button(Nav::Post)->isEnabled());
        press(Nav::Post);
        QCOMPARE(m_comp->stored(1, QStringLiteral("NAME")).toString().trimmed(),
                 QStringLiteral("Aoife Ni Bhriain of"));
        QCOMPARE(results()->state(), Table::State::Browse);
    }

    void editBoxEscapeAndNumbers() {
        makeWindow(3);
        m_mark->setFocus();
        m_mark->selectAll();
        QTest::keyClicks(m_mark, QStringLiteral("9x"));
        QCOMPARE(m_mark->text(), QStringLiteral("9"));
        QTest::keyClick(m_mark, Qt::Key_Escape);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_mark->text(), QStringLiteral("1"));
        // A text that does not read as a number keeps the record where it is.
        m_mark->selectAll();
        QTest::keyClicks(m_mark, QStringLiteral("1e"));
        press(Nav::Next);
        QCOMPARE(
            m_comp->dialogs.messageTexts(),
            QStringList{QStringLiteral("'1e' is not a valid floating point value for field 'A1'")});
        QCOMPARE(results()->currentRow(), 0);
        QCOMPARE(m_mark->text(), QStringLiteral("1e"));
        m_mark->selectAll();
        QTest::keyClick(m_mark, Qt::Key_Delete); // emptied: stores an empty mark
        press(Nav::Next);
        QCOMPARE(results()->currentRow(), 1);
        QVERIFY(m_comp->stored(0, QStringLiteral("A1")).isNull());
    }
};

QTEST_MAIN(TestDBNavigator)
#include "tst_dbnavigator.moc"

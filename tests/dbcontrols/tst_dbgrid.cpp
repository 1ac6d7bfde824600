#include "Focused.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/TableModel.h"
#include "dbcontrols/WheelTranslation.h"
#include "support/Competition.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <memory>

using namespace jt;
using dbcontrols::DBGrid;
using dbcontrols::GridColumn;
using engine::Table;

// The grid as a marks window sets it up: the dancer, one mark column, whether dancer
// is recalled; a button beside it to take the focus away.
class TestDBGrid : public QObject {
    Q_OBJECT

    std::unique_ptr<test::Competition> m_comp;
    std::unique_ptr<QWidget> m_window;
    DBGrid* m_grid = nullptr;
    QPushButton* m_button = nullptr;

    void makeWindow(int dancers, const QList<double>& marks, bool alwaysOpen) {
        m_comp = test::Competition::withDancers(dancers, marks);
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        m_button = new QPushButton(QStringLiteral("As Danced"), m_window.get());
        m_grid = new DBGrid(m_window.get());
        layout->addWidget(m_button);
        layout->addWidget(m_grid);
        GridColumn dancer = GridColumn::field(QStringLiteral("COMP_NO"), QStringLiteral("Dancer"));
        dancer.readOnly = true;
        GridColumn recalled =
            GridColumn::field(QStringLiteral("RecDancer"), QStringLiteral("Recalled"));
        m_grid->setColumns({dancer, GridColumn::field(QStringLiteral("A1")), recalled});
        m_grid->setDataSource(m_comp->module().DataSource1);
        m_grid->setAlwaysOpenForTyping(alwaysOpen);
        m_window->resize(400, 300);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_grid->setFocus();
        m_grid->setCurrentColumn(1);
        QCoreApplication::processEvents();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(test::focused(m_grid), k, mods);
    }
    void type(const QString& text) { QTest::keyClicks(test::focused(m_grid), text); }
    Table* results() const { return &m_comp->results(); }
    QString shown(int row, int column) const {
        return m_grid->model()->index(row, column).data().toString();
    }

private Q_SLOTS:
    void cleanup() {
        m_window.reset();
        m_comp.reset();
    }

    void typeAndMove_data() {
        QTest::addColumn<bool>("alwaysOpen");
        QTest::addColumn<Qt::Key>("away"); // how the user leaves the cell
        QTest::addColumn<bool>("saved");
        QTest::addRow("Down saves") << false << Qt::Key_Down << true;
        QTest::addRow("Down saves, always open") << true << Qt::Key_Down << true;
        QTest::addRow("Up saves") << true << Qt::Key_Up << true;
        QTest::addRow("Escape discards") << false << Qt::Key_Escape << false;
        QTest::addRow("Escape discards, always open") << true << Qt::Key_Escape << false;
    }
    void typeAndMove() {
        QFETCH(bool, alwaysOpen);
        QFETCH(Qt::Key, away);
        QFETCH(bool, saved);
        makeWindow(3, {1, 2, 3}, alwaysOpen);
        key(Qt::Key_Down); // row 1, so that Up has somewhere to go
        QCOMPARE(results()->currentRow(), 1);
        type(QStringLiteral("7.5"));
        QCOMPARE(results()->state(), Table::State::Edit);
        QVERIFY(m_grid->cellEditor());
        QCOMPARE(m_grid->cellEditor()->text(), QStringLiteral("7.5"));
        key(away);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_comp->stored(1, QStringLiteral("A1")).toDouble(), saved ? 7.5 : 2.0);
        QCOMPARE(shown(1, 1), saved ? QStringLiteral("7.5") : QStringLiteral("2"));
        QCOMPARE(m_comp->storedCount(), 3);
        if (alwaysOpen)
            QVERIFY(m_grid->cellEditor()); // open again on the new cell, for the next mark
    }

    // Typing straight down a column of an always-open grid: one mark per row.
    void typeDownAColumn() {
        makeWindow(4, {}, true);
        for (const char* mark : {"10", "9.5", "", "8"}) {
            type(QString::fromLatin1(mark));
            key(Qt::Key_Down);
        }
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 10.0);
        QCOMPARE(m_comp->stored(1, QStringLiteral("A1")).toDouble(), 9.5);
        QVERIFY(m_comp->stored(2, QStringLiteral("A1")).isNull());
        QCOMPARE(m_comp->stored(3, QStringLiteral("A1")).toDouble(), 8.0);
        // Down on the last row opened a blank one, which nothing was typed into.
        QCOMPARE(results()->state(), Table::State::Insert);
        key(Qt::Key_Up);
        QCOMPARE(results()->rowCount(), 4);
        QCOMPARE(m_comp->storedCount(), 4);
    }

    void downOnLastRow_data() {
        QTest::addColumn<bool>("swallow");
        QTest::addRow("opens a blank row") << false;
        QTest::addRow("swallowed by the window") << true;
    }
    void downOnLastRow() {
        QFETCH(bool, swallow);
        makeWindow(3, {}, false);
        m_grid->setSwallowDownOnLastRow(swallow);
        key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(results()->currentRow(), 2);
        key(Qt::Key_Down);
        QCOMPARE(results()->rowCount(), swallow ? 3 : 4);
        QCOMPARE(results()->state(), swallow ? Table::State::Browse : Table::State::Insert);
        QCOMPARE(m_grid->currentIndex().row(), swallow ? 2 : 3);
        key(Qt::Key_Down); // still on the blank row: no second one
        QCOMPARE(results()->rowCount(), swallow ? 3 : 4);
        key(Qt::Key_Up);
        QCOMPARE(results()->rowCount(), 3);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_grid->currentIndex().row(), swallow ? 1 : 2);
        QCOMPARE(m_comp->storedCount(), 3);
    }

    void newRowTypedIntoIsSaved_data() {
        QTest::addColumn<Qt::Key>("opener");
        QTest::addRow("Insert") << Qt::Key_Insert;
        QTest::addRow("Down on the last row") << Qt::Key_Down;
    }
    void newRowTypedIntoIsSaved() {
        QFETCH(Qt::Key, opener);
        makeWindow(2, {1, 2}, false);
        key(Qt::Key_Down);
        key(opener);
        QCOMPARE(results()->state(), Table::State::Insert);
        QCOMPARE(results()->rowCount(), 3);
        // Insert puts the blank row at the current one, Down after the last.
        QCOMPARE(results()->currentRow(), opener == Qt::Key_Insert ? 1 : 2);
        QCOMPARE(m_grid->currentIndex().row(), results()->currentRow());
        QVERIFY(shown(results()->currentRow(), 0).isEmpty());
        type(QStringLiteral("6"));
        key(Qt::Key_Up);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_comp->storedCount(), 3);
        QCOMPARE(m_comp->stored(2, QStringLiteral("A1")).toDouble(), 6.0); // appended to the file
    }

    void ctrlDeleteAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::addRow("Yes deletes") << int(platform::Yes) << 2;
        QTest::addRow("No keeps") << int(platform::No) << 3;
    }
    void ctrlDeleteAsks() {
        QFETCH(int, answer);
        QFETCH(int, left);
        makeWindow(3, {1, 2, 3}, true);
        key(Qt::Key_Down);
        m_comp->dialogs.answerMessage(platform::Button(answer));
        key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_comp->dialogs.messageTexts(), QStringList{QStringLiteral("Delete record?")});
        QCOMPARE(m_comp->dialogs.messages().front().type, platform::MessageType::Confirmation);
        QCOMPARE(m_comp->dialogs.messages().front().buttons, platform::Yes | platform::No);
        QCOMPARE(results()->rowCount(), left);
        QCOMPARE(m_comp->storedCount(), left);
        QCOMPARE(m_grid->model()->rowCount(), left);
        QCOMPARE(shown(1, 0), left == 2 ? QStringLiteral("103") : QStringLiteral("102"));
        QCOMPARE(m_grid->currentIndex().row(), results()->currentRow());
    }

    void deleteOutsideTheEditorKeysStaysTyping() {
        // Delete without Ctrl is the editor's own key: it removes a character.
        makeWindow(1, {45}, true);
        QVERIFY(m_grid->cellEditor());
        key(Qt::Key_End);
        key(Qt::Key_Backspace);
        QCOMPARE(m_grid->cellEditor()->text(), QStringLiteral("4"));
        QVERIFY(m_comp->dialogs.messages().isEmpty());
    }

    void numberInput_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inEditor");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        QTest::addRow("letters never get in") << "x7y"
                                              << "7"
                                              << "";
        QTest::addRow("exponent") << "1e1"
                                  << "1e1"
                                  << "";
        QTest::addRow("two signs") << "1-2"
                                   << "1-2"
                                   << "'1-2' is not a valid floating point value for field 'A1'";
        QTest::addRow("lone point") << "."
                                    << "."
                                    << "'.' is not a valid floating point value for field 'A1'";
    }
    void numberInput() {
        QFETCH(QString, typed);
        QFETCH(QString, inEditor);
        QFETCH(QString, refusal);
        makeWindow(2, {1, 2}, false);
        type(typed);
        QCOMPARE(m_grid->cellEditor()->text(), inEditor);
        key(Qt::Key_Down);
        if (refusal.isEmpty()) {
            QVERIFY(m_comp->dialogs.messages().isEmpty());
            QCOMPARE(results()->currentRow(), 1);
            QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), inEditor.toDouble());
            return;
        }
        QCOMPARE(m_comp->dialogs.messageTexts(), QStringList{refusal});
        QCOMPARE(m_comp->dialogs.messages().front().title, QStringLiteral("Jigtally 2008"));
        // The cell stays open with the text, on the same row, nothing saved.
        QCOMPARE(results()->currentRow(), 0);
        QVERIFY(m_grid->cellEditor());
        QCOMPARE(m_grid->cellEditor()->text(), typed);
        QCOMPARE(QApplication::focusWidget(), m_grid->cellEditor());
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 1.0);
        // Corrected, it goes through.
        m_grid->cellEditor()->selectAll();
        type(QStringLiteral("4"));
        key(Qt::Key_Down);
        QCOMPARE(results()->currentRow(), 1);
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 4.0);
        QCOMPARE(m_comp->dialogs.messages().size(), 1);
    }

    void emptiedCellStoresEmpty() {
        makeWindow(2, {5, 6}, true);
        QCOMPARE(m_grid->cellEditor()->text(), QStringLiteral("5"));
        key(Qt::Key_Backspace); // the text is selected: all of it goes
        QCOMPARE(m_grid->cellEditor()->text(), QString());
        key(Qt::Key_Down);
        QVERIFY(m_comp->stored(0, QStringLiteral("A1")).isNull());
        QCOMPARE(shown(0, 1), QString());
    }

    void displayFormatForShowingPlainForEditing() {
        makeWindow(2, {0.5, 0}, false);
        QCOMPARE(shown(0, 1), QStringLiteral(".5")); // "#.##"
        QCOMPARE(shown(1, 1), QString());            // zero under "#.##"
        QCOMPARE(m_grid->model()->index(0, 1).data(Qt::EditRole).toString(), QStringLiteral("0.5"));
        key(Qt::Key_F2);
        QCOMPARE(m_grid->cellEditor()->text(), QStringLiteral("0.5"));
    }

    void readOnlyColumnsTakeNoTyping() {
        makeWindow(2, {1, 2}, false);
        m_grid->setCurrentColumn(0); // Dancer, read-only
        type(QStringLiteral("9"));
        QVERIFY(!m_grid->cellEditor());
        QCOMPARE(results()->state(), Table::State::Browse);
        m_grid->setReadOnly(true);
        m_grid->setCurrentColumn(1);
        type(QStringLiteral("9"));
        key(Qt::Key_Insert);
        QVERIFY(!m_grid->cellEditor());
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(results()->rowCount(), 2);
    }

    void focusLeavingCommitsAndOrderChangeSaves() {
        // The window's order button takes the focus; changing the order saves the row.
        makeWindow(3, {1, 2, 3}, true);
        type(QStringLiteral("8"));
        m_button->setFocus();
        QCOMPARE(results()->state(), Table::State::Edit);
        QVERIFY(results()->modified());
        results()->setIndexName(QString()); // any change of order or filter saves
        results()->setFiltered(true);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 8.0);
    }

    void clickOnAnotherRowSaves() {
        makeWindow(3, {1, 2, 3}, false);
        type(QStringLiteral("9"));
        const QRect cell = m_grid->visualRect(m_grid->model()->index(2, 1));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(results()->currentRow(), 2);
        QCOMPARE(m_grid->currentIndex(), m_grid->model()->index(2, 1));
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 9.0);
    }

    void cursorMovesFollowTheGrid() {
        makeWindow(5, {}, false);
        results()->moveToRow(3);
        QCOMPARE(m_grid->currentIndex().row(), 3);
        QCOMPARE(m_grid->currentIndex().column(), 1);
        results()->first();
        QCOMPARE(m_grid->currentIndex().row(), 0);
        // Closing and opening again keeps the window's column.
        results()->close();
        QCOMPARE(m_grid->model()->rowCount(), 0);
        results()->open();
        QCOMPARE(m_grid->currentIndex(), m_grid->model()->index(0, 1));
    }

    void pendingRowStaysAfterClosingUntilReopen() {
        makeWindow(2, {1, 2}, true);
        type(QStringLiteral("5"));
        m_window->close(); // the window does not save on closing
        QCOMPARE(results()->state(), Table::State::Edit);
        QCOMPARE(m_comp->module().resultsA1->asFloat(), 5.0); // pending, readable by others
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 1.0);
        results()->close(); // the next window reopens the table: the row is dropped
        results()->open();
        QCOMPARE(m_comp->module().resultsA1->asFloat(), 1.0);
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 1.0);
    }

    void wheelMovesOneRowPerNotch_data() {
        QTest::addColumn<QList<int>>("turns");
        QTest::addColumn<int>("row");
        QTest::addRow("back one notch") << QList<int>{-120} << 3;
        QTest::addRow("back two notches at once") << QList<int>{-240} << 4;
        QTest::addRow("forward one notch") << QList<int>{120} << 1;
        QTest::addRow("half notches add up") << QList<int>{-60, -60, -60} << 3;
        QTest::addRow("forward and back") << QList<int>{120, 120, -120} << 1;
    }
    void wheelMovesOneRowPerNotch() {
        QFETCH(QList<int>, turns);
        QFETCH(int, row);
        dbcontrols::installWheelTranslation(*qApp);
        dbcontrols::installWheelTranslation(*qApp); // a second install adds nothing
        makeWindow(10, {}, true);
        results()->moveToRow(2);
        const QPoint at = m_grid->viewport()->rect().center();
        for (const int turn : turns) {
            QWheelEvent wheel(at, m_grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, turn),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(m_grid->viewport(), &wheel);
        }
        QCOMPARE(results()->currentRow(), row);
        QCOMPARE(m_grid->currentIndex().row(), row);
    }

    void typingIntoAnEmptyGridStartsARow() {
        makeWindow(0, {}, false);
        type(QStringLiteral("3"));
        QCOMPARE(results()->state(), Table::State::Insert);
        key(Qt::Key_Return);
        QCOMPARE(m_comp->module().resultsA1->asFloat(), 3.0);
        QCOMPARE(m_comp->storedCount(), 0);
    }
};

QTEST_MAIN(TestDBGrid)
#include "tst_dbgrid.moc"

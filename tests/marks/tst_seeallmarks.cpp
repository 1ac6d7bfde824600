// See All Marks driven by keys over real tables.
#include "MarksFixture.h"
#include "dbcontrols/DBGrid.h"
#include "marks/MarkColumns.h"
#include "marks/TSpreadsheet.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace jt;
using engine::Table;
using marks::TSpreadsheet;

class TestSeeAllMarks : public QObject {
    Q_OBJECT

    std::unique_ptr<test::MarksCompetition> m_comp;
    std::unique_ptr<TSpreadsheet> m_window;

    bool open(int dancers, const QSet<int>& recalled = {}) {
        m_comp = std::make_unique<test::MarksCompetition>(dancers, "3", "3", recalled);
        m_window = std::make_unique<TSpreadsheet>(m_comp->state);
        return test::openWindow(*m_window);
    }
    QWidget* target() const {
        QCoreApplication::processEvents();
        return test::focused(m_window->DBGrid1);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(target(), k, mods);
    }
    void type(const QString& text) { QTest::keyClicks(target(), text); }
    Table* results() const { return m_comp->results; }
    dbcontrols::DBGrid* grid() const { return m_window->DBGrid1; }

private Q_SLOTS:
    void cleanup() {
        m_window.reset();
        m_comp.reset();
    }

    // Thirty columns whatever the competition: a three-adjudicator, two-round one still
    // shows D, E and round 3.
    void thirtyColumns() {
        QVERIFY(open(3, {1}));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Enter Marks (See All)"));
        QCOMPARE(grid()->model()->columnCount(), 30);
        QStringList titles;
        for (int c = 0; c < 30; ++c) {
            QVERIFY2(!grid()->isColumnHidden(c), qPrintable(QString::number(c)));
            titles << grid()->model()->headerData(c, Qt::Horizontal).toString();
        }
        const QStringList expected{
            "Dancer", "A1", "A2",     "A3", "ASET",   "",   "Dancer", "B1", "B2",     "B3",
            "BSET",   "",   "Dancer", "C1", "C2",     "C3", "CSET",   "",   "Dancer", "D1",
            "D2",     "D3", "DSET",   "",   "Dancer", "E1", "E2",     "E3", "ESET",   "RecDancer"};
        QCOMPARE(titles, expected);
        for (int c : {5, 11, 17, 23}) {
            QVERIFY(grid()->gridColumn(c).isSeparator());
            QCOMPARE(grid()->columnWidth(c), 3);
        }
        for (int c : {6, 12, 18, 24}) {
            QCOMPARE(grid()->gridColumn(c).fieldName, QStringLiteral("COMP_NO"));
            QCOMPARE(grid()->columnWidth(c), 64);
            QVERIFY(grid()->gridColumn(c).readOnly);
        }
        QCOMPARE(grid()->gridColumn(1).color, marks::lightGreen());
        QCOMPARE(grid()->gridColumn(8).color, marks::lightBlue());
        QCOMPARE(grid()->gridColumn(15).color, marks::lightGreen());
        QCOMPARE(grid()->gridColumn(22).color, marks::lightBlue());
        QCOMPARE(grid()->gridColumn(28).color, marks::lightGreen());
        QCOMPARE(grid()->model()->index(1, 29).data().toString(), QStringLiteral("Yes"));
        QCOMPARE(m_window->Panel1->text(), QStringLiteral("U12"));
        // Typing goes into A1 of the first danced.
        type(QStringLiteral("55"));
        key(Qt::Key_Tab);
        type(QStringLiteral("44"));
        key(Qt::Key_Return);
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 55.0);
        QCOMPARE(m_comp->stored(2, "A2").toDouble(), 44.0);
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        QVERIFY(m_window->grab().save(QDir(dir).filePath(QStringLiteral("see-all-marks.png"))));
    }

    void downOnTheLastDancer_data() {
        QTest::addColumn<QString>("typed");
        QTest::addRow("nothing typed") << "";
        QTest::addRow("a mark typed is saved") << "63";
    }
    void downOnTheLastDancer() {
        QFETCH(QString, typed);
        QVERIFY(open(3));
        key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(results()->currentRow(), 2);
        type(typed);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        QCOMPARE(results()->currentRow(), 2);
        QCOMPARE(results()->rowCount(), 3);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(grid()->currentIndex().row(), 2);
        QCOMPARE(m_comp->storedCount(), 3);
        if (!typed.isEmpty())
            QCOMPARE(m_comp->stored(0, "A1").toDouble(), typed.toDouble());
        QVERIFY(m_comp->dialogs.messages().isEmpty());
    }

    void orderAlternatesAndReturnsToFirst() {
        QVERIFY(open(3));
        key(Qt::Key_Down);
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Danced"));
        QTest::mouseClick(m_window->Button2, Qt::LeftButton);
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Entered"));
        QCOMPARE(m_window->Button2->toolTip(),
                 QStringLiteral("Click to show dancers in the order they danced in"));
        QCOMPARE(m_comp->listed(), (QList<int>{101, 102, 103}));
        QCOMPARE(results()->currentRow(), 0);
        key(Qt::Key_Down);
        key(Qt::Key_O, Qt::AltModifier);
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Danced"));
        QCOMPARE(m_window->Button2->toolTip(),
                 QStringLiteral("Click to show dancers in the order they were entered onto the "
                                "system"));
        QCOMPARE(m_comp->listed(), (QList<int>{103, 102, 101}));
        QCOMPARE(results()->currentRow(), 0);
        // The keyboard is still in the mark column.
        type(QStringLiteral("12"));
        key(Qt::Key_Return);
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 12.0);
    }

    void markThenExitIsSaved_data() {
        QTest::addColumn<bool>("entered");
        QTest::addColumn<QString>("how");
        for (const char* how : {"Exit", "Alt+X", "close control"}) {
            QTest::addRow("%s, as danced", how) << false << how;
            QTest::addRow("%s, as entered", how) << true << how;
        }
    }
    void markThenExitIsSaved() {
        QFETCH(bool, entered);
        QFETCH(QString, how);
        QVERIFY(open(3));
        if (entered)
            key(Qt::Key_O, Qt::AltModifier);
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        key(Qt::Key_Tab); // ASET
        type(QStringLiteral("77.5"));
        if (how == QLatin1String("Exit"))
            QTest::mouseClick(m_window->Button1, Qt::LeftButton);
        else if (how == QLatin1String("Alt+X"))
            key(Qt::Key_X, Qt::AltModifier);
        else
            m_window->close();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_comp->stored(entered ? 0 : 2, "ASET").toDouble(), 77.5);
        QVERIFY(m_comp->leftUnrestrictedInEntryOrder());
        QVERIFY(m_comp->state.ReCalcFlag);
    }

    void nonNumberIsRefused() {
        QVERIFY(open(2));
        type(QStringLiteral("1e"));
        key(Qt::Key_Down);
        QCOMPARE(m_comp->dialogs.messageTexts(),
                 QStringList{"'1e' is not a valid floating point value for field 'A1'"});
        QCOMPARE(results()->currentRow(), 0);
        QCOMPARE(grid()->cellEditor()->text(), QStringLiteral("1e"));
        key(Qt::Key_X, Qt::AltModifier);
        QVERIFY(m_window->isVisible());
    }
};

QTEST_MAIN(TestSeeAllMarks)
#include "tst_seeallmarks.moc"

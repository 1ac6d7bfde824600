// Enter Marks driven by keys, as the tabulator uses it, over real tables.
#include "MarksFixture.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/TableModel.h"
#include "engine/DbfFile.h"
#include "exchange/DelimitedText.h"
#include "marks/ChoiceGroup.h"
#include "marks/MarkColumns.h"
#include "marks/TSpreadsheet1.h"
#include "setup/RadioGroup.h"
#include "setup/TCompInfoSetup.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cerrno>

using namespace jt;
using engine::Table;
using marks::TSpreadsheet1;

namespace {

// The change log's rows after the column row, without the time: "Field|Dancer|Old|New|Window".
QStringList logRows(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const exchange::Sheet sheet =
        exchange::parseDelimited(QString::fromUtf8(f.readAll()), exchange::DelimitedOptions{});
    QStringList rows;
    for (qsizetype r = 1; r < sheet.rows.size(); ++r) {
        QStringList cells;
        for (const QVariant& c : sheet.rows[r].mid(1))
            cells << c.toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class TestEnterMarks : public QObject {
    Q_OBJECT

    std::unique_ptr<test::MarksCompetition> m_comp;
    std::unique_ptr<TSpreadsheet1> m_window;

    bool open(int dancers, const QString& adjs, const QString& rounds,
              const QSet<int>& recalled = {}) {
        m_comp = std::make_unique<test::MarksCompetition>(dancers, adjs, rounds, recalled);
        m_window = std::make_unique<TSpreadsheet1>(m_comp->state);
        return test::openWindow(*m_window);
    }
    // Events waiting from the last key (an editor opened again) are dealt with first, as
    // they would be between two presses.
    QWidget* target() const {
        QCoreApplication::processEvents();
        return test::focused(m_window->DBGrid1);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(target(), k, mods);
    }
    void type(const QString& text) { QTest::keyClicks(target(), text); }
    Table* results() const { return m_comp->results; }
    QStringList visibleMarkColumns() const {
        QStringList shown;
        for (int c = 0; c < m_window->DBGrid1->model()->columnCount(); ++c)
            if (!m_window->DBGrid1->isColumnHidden(c))
                shown << m_window->DBGrid1->gridColumn(c).fieldName;
        return shown;
    }
    static QStringList texts(const marks::ChoiceGroup* group) { return group->items(); }

private Q_SLOTS:
    void cleanup() {
        engine::DbfFile::setIoObserver({});
        m_window.reset();
        m_comp.reset();
    }

    // The items come from the info table, or from what Competition Setup shows when the
    // info table has not stored a number.
    void itemsOffered_data() {
        QTest::addColumn<QString>("numAdjs");
        QTest::addColumn<QString>("numRounds");
        QTest::addColumn<int>("setupAdjs"); // 0: the window's own start-up value
        QTest::addColumn<int>("setupRounds");
        QTest::addColumn<QStringList>("adjudicators");
        QTest::addColumn<QStringList>("rounds");
        const QStringList three{"A", "B", "C"};
        const QStringList five{"A", "B", "C", "D", "E"};
        const QStringList two{"1", "2", "Set"};
        const QStringList threeRounds{"1", "2", "3", "Set"};
        QTest::addRow("3x2") << "3"
                             << "3" << 5 << 3 << three << two;
        QTest::addRow("5x3") << "5"
                             << "4" << 3 << 2 << five << threeRounds;
        QTest::addRow("5x2") << "5"
                             << "3" << 0 << 0 << five << two;
        QTest::addRow("never set up: start-up choice") << ""
                                                       << "" << 0 << 0 << three << two;
        QTest::addRow("never set up: setup shows 5 and 3") << " "
                                                           << "" << 5 << 3 << five << threeRounds;
        QTest::addRow("stray codes count as unset") << "4"
                                                    << "2" << 5 << 2 << five << two;
    }
    void itemsOffered() {
        QFETCH(QString, numAdjs);
        QFETCH(QString, numRounds);
        QFETCH(int, setupAdjs);
        QFETCH(int, setupRounds);
        QFETCH(QStringList, adjudicators);
        QFETCH(QStringList, rounds);
        m_comp = std::make_unique<test::MarksCompetition>(3, numAdjs, numRounds);
        m_window = std::make_unique<TSpreadsheet1>(m_comp->state);
        marks::RememberedSetupChoices setup;
        if (setupAdjs)
            setup.bringIntoLine(setupAdjs, setupRounds);
        m_window->setSetupChoices(&setup);
        QVERIFY(test::openWindow(*m_window));
        QCOMPARE(texts(m_window->AdjGroup), adjudicators);
        QCOMPARE(texts(m_window->RndGroup), rounds);
        // Every opening starts on A, round 1, all dancers, the A1 column current.
        QCOMPARE(m_window->AdjGroup->itemIndex(), 0);
        QCOMPARE(m_window->RndGroup->itemIndex(), 0);
        QCOMPARE(visibleMarkColumns(), (QStringList{"COMP_NO", "A1", "RecDancer"}));
        QCOMPARE(m_window->DBGrid1->currentColumn(), m_window->DBGrid1->columnOfField("A1"));
        QCOMPARE(QApplication::focusWidget(), m_window->DBGrid1->cellEditor());
        QCOMPARE(m_window->Label2->text(), QStringLiteral("Judge A"));
        QCOMPARE(m_window->Label3->text(), QStringLiteral("Heavy"));
        QCOMPARE(m_window->Panel1->text(), QStringLiteral("U12"));
        // The setup window's choice is brought into line with what is stored.
        QCOMPARE(setup.adjudicators(), int(adjudicators.size()));
        QCOMPARE(setup.rounds(), int(rounds.size()) - 1);
        QCOMPARE(m_comp->state.ReCalcFlag, false); // opening writes nothing
    }

    // Without stored numbers the window takes what the Competition Setup window shows, and
    // brings that window into line without storing anything.
    void fallbackFollowsCompetitionSetup_data() {
        QTest::addColumn<QString>("numAdjs");
        QTest::addColumn<QString>("numRounds");
        QTest::addColumn<int>("adjItems");
        QTest::addColumn<int>("roundItems");
        QTest::addColumn<int>("setupAdj"); // the setup window's selections afterwards
        QTest::addColumn<int>("setupRounds");
        QTest::addColumn<bool>("locked");
        QTest::addRow("never set up: the setup window's 5 and 3")
            << ""
            << "" << 5 << 4 << 1 << 1 << false;
        QTest::addRow("stored 3 and 2 set the setup window") << "3"
                                                             << "3" << 3 << 3 << 0 << 0 << true;
    }
    void fallbackFollowsCompetitionSetup() {
        QFETCH(QString, numAdjs);
        QFETCH(QString, numRounds);
        QFETCH(int, adjItems);
        QFETCH(int, roundItems);
        QFETCH(int, setupAdj);
        QFETCH(int, setupRounds);
        QFETCH(bool, locked);
        m_comp = std::make_unique<test::MarksCompetition>(2, numAdjs, numRounds);
        setup::TCompInfoSetup setupWindow(m_comp->state);
        setupWindow.AdjGroup->setItemIndex(1); // "5 Adj", as last shown
        setupWindow.RdsGroup->setItemIndex(1); // "3 Rds + Set"
        setupWindow.AdjLocked->setChecked(!locked);
        m_window = std::make_unique<TSpreadsheet1>(m_comp->state);
        QVERIFY(test::openWindow(*m_window));
        QCOMPARE(m_window->AdjGroup->items().size(), adjItems);
        QCOMPARE(m_window->RndGroup->items().size(), roundItems);
        QCOMPARE(setupWindow.AdjGroup->itemIndex(), setupAdj);
        QCOMPARE(setupWindow.RdsGroup->itemIndex(), setupRounds);
        QCOMPARE(setupWindow.AdjLocked->isChecked(), locked);
        QCOMPARE(setupWindow.RdsLocked->isChecked(), locked);
        QCOMPARE(setupWindow.AdjGroup->isEnabled(), !locked);
        // Nothing was written to the info table.
        QVERIFY(!m_comp->state.ReCalcFlag);
        QCOMPARE(m_comp->module->compinfoNUMADJS->asString().trimmed(), numAdjs);
        m_window->close();
    }

    void choosingShowsOneColumn_data() {
        QTest::addColumn<QString>("numRounds");
        QTest::addColumn<QString>("adjudicator");
        QTest::addColumn<QString>("round");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("blue");
        QTest::addRow("D round 3") << "4"
                                   << "D"
                                   << "3"
                                   << "D3"
                                   << "Hornpipe" << true;
        QTest::addRow("E round 2") << "4"
                                   << "E"
                                   << "2"
                                   << "E2"
                                   << "Light" << false;
        QTest::addRow("B set, three rounds") << "4"
                                             << "B"
                                             << "S"
                                             << "BSET"
                                             << "Set Dance" << true;
        QTest::addRow("C set, two rounds") << "3"
                                           << "C"
                                           << "S"
                                           << "CSET"
                                           << "Set Dance" << false;
        QTest::addRow("no round 3 in two rounds") << "3"
                                                  << "A"
                                                  << "3"
                                                  << "A1"
                                                  << "Heavy" << false;
    }
    void choosingShowsOneColumn() {
        QFETCH(QString, numRounds);
        QFETCH(QString, adjudicator);
        QFETCH(QString, round);
        QFETCH(QString, field);
        QFETCH(QString, title);
        QFETCH(bool, blue);
        QVERIFY(open(4, "5", numRounds, {0, 1, 2, 3}));
        // Alt with the letter or digit chooses, as a click on the item would.
        key(Qt::Key(adjudicator.at(0).unicode()), Qt::AltModifier);
        key(Qt::Key(round.at(0).unicode()), Qt::AltModifier);
        QCOMPARE(m_window->shownField(), field);
        QCOMPARE(visibleMarkColumns(), (QStringList{"COMP_NO", field, "RecDancer"}));
        QCOMPARE(m_window->Label2->text(), QStringLiteral("Judge ") + field.at(0));
        QCOMPARE(m_window->Label3->text(), title);
        const int column = m_window->DBGrid1->columnOfField(field);
        QCOMPARE(m_window->DBGrid1->currentColumn(), column);
        QCOMPARE(m_window->DBGrid1->gridColumn(column).color,
                 blue ? marks::lightBlue() : marks::lightGreen());
        QCOMPARE(m_window->DBGrid1->model()->headerData(column, Qt::Horizontal).toString(), field);
        // Typing goes into that field at once.
        type(QStringLiteral("71"));
        key(Qt::Key_Return);
        QCOMPARE(m_comp->stored(3, field).toDouble(), 71.0); // the first danced: entered last
    }

    void setListsOnlyRecalledDancers_data() {
        QTest::addColumn<QSet<int>>("recalled");
        QTest::addColumn<QList<int>>("listed"); // in dancing order
        QTest::addRow("two of five") << QSet<int>{1, 3} << QList<int>{104, 102};
        QTest::addRow("none") << QSet<int>{} << QList<int>{};
        QTest::addRow("all") << QSet<int>{0, 1, 2, 3, 4} << QList<int>{105, 104, 103, 102, 101};
    }
    void setListsOnlyRecalledDancers() {
        QFETCH(QSet<int>, recalled);
        QFETCH(QList<int>, listed);
        QVERIFY(open(5, "3", "3", recalled));
        m_window->RndGroup->button(2)->click(); // "Set"
        QCOMPARE(m_window->RndGroup->items().at(2), QStringLiteral("Set"));
        QCOMPARE(m_window->shownField(), QStringLiteral("ASET"));
        QCOMPARE(m_comp->listed(), listed);
        QCOMPARE(m_window->DBGrid1->model()->rowCount(), int(listed.size()));
        QCOMPARE(results()->filter(), QStringLiteral("RECALLED"));
        // Another adjudicator keeps the set dance and its restriction.
        key(Qt::Key_B, Qt::AltModifier);
        QCOMPARE(m_window->shownField(), QStringLiteral("BSET"));
        QCOMPARE(m_comp->listed(), listed);
        key(Qt::Key_1, Qt::AltModifier);
        QCOMPARE(m_window->shownField(), QStringLiteral("B1"));
        QCOMPARE(m_comp->listed(), (QList<int>{105, 104, 103, 102, 101}));
        QVERIFY(!results()->filtered());
    }

    void orderButtonReturnsToFirstDancer_data() {
        QTest::addColumn<bool>("set");
        QTest::addColumn<QList<int>>("danced");
        QTest::addColumn<QList<int>>("entered");
        QTest::addRow("all dancers")
            << false << QList<int>{104, 103, 102, 101} << QList<int>{101, 102, 103, 104};
        QTest::addRow("set dance") << true << QList<int>{104, 102} << QList<int>{102, 104};
    }
    void orderButtonReturnsToFirstDancer() {
        QFETCH(bool, set);
        QFETCH(QList<int>, danced);
        QFETCH(QList<int>, entered);
        QVERIFY(open(4, "3", "3", {1, 3}));
        if (set)
            key(Qt::Key_S, Qt::AltModifier);
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Danced"));
        QCOMPARE(
            m_window->Button2->toolTip(),
            QStringLiteral("Click to show dancers in the order they were entered onto the system"));
        QCOMPARE(m_comp->listed(), danced);
        key(Qt::Key_Down);
        type(QStringLiteral("66"));
        QTest::mouseClick(m_window->Button2, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Entered"));
        QCOMPARE(m_window->Button2->toolTip(),
                 QStringLiteral("Click to show dancers in the order they danced in"));
        QCOMPARE(m_comp->listed(), entered);
        QCOMPARE(results()->currentRow(), 0);
        QCOMPARE(m_window->DBGrid1->currentIndex().row(), 0);
        // The mark typed before the switch was saved, on the second danced.
        const int record = danced[1] - 101;
        QCOMPARE(m_comp->stored(record, m_window->shownField()).toDouble(), 66.0);
        // The keyboard stayed in the grid, and Alt+O switches back.
        QCOMPARE(QApplication::focusWidget(), m_window->DBGrid1->cellEditor());
        key(Qt::Key_Down);
        key(Qt::Key_O, Qt::AltModifier);
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Danced"));
        QCOMPARE(m_comp->listed(), danced);
        QCOMPARE(results()->currentRow(), 0);
        QCOMPARE(results()->filtered(), set);
    }

    // A sheet typed straight down with Enter and Down, the last mark followed by Exit.
    void typedColumnIsStored_data() {
        QTest::addColumn<Qt::Key>("next");
        QTest::addColumn<bool>("exitByKey");
        QTest::addRow("Enter, Exit clicked") << Qt::Key_Return << false;
        QTest::addRow("Down, Alt+X") << Qt::Key_Down << true;
    }
    void typedColumnIsStored() {
        QFETCH(Qt::Key, next);
        QFETCH(bool, exitByKey);
        QVERIFY(open(4, "3", "3"));
        const QStringList sheet{"80", "72.5", "", "64.25"};
        for (int i = 0; i < sheet.size(); ++i) {
            type(sheet[i]);
            if (i + 1 < sheet.size())
                key(next);
        }
        QCOMPARE(results()->currentRow(), 3);
        QCOMPARE(results()->state(), Table::State::Edit); // the last mark is not saved yet
        if (exitByKey)
            key(Qt::Key_X, Qt::AltModifier);
        else
            QTest::mouseClick(m_window->Button1, Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
        // Danced order is the reverse of entry order.
        QCOMPARE(m_comp->stored(3, "A1").toDouble(), 80.0);
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 72.5);
        QVERIFY(m_comp->stored(1, "A1").isNull());
        QCOMPARE(m_comp->stored(0, "A1").toDouble(), 64.25);
        QCOMPARE(m_comp->storedCount(), 4);
        QVERIFY(m_comp->state.ReCalcFlag);
        QVERIFY(m_comp->leftUnrestrictedInEntryOrder());
        QVERIFY(m_comp->dialogs.messages().isEmpty());
    }

    // Each mark saved from the grid is a row of the change log: the field, the dancer,
    // the old and new mark and the window; a mark typed again unchanged adds none.
    void typedMarksAreLogged() {
        QVERIFY(open(4, "3", "3", {1}));
        // The rows of the dancers added by the fixture come first.
        const QString log = m_comp->folder.filePath(QStringLiteral("u12.log"));
        const qsizetype added = logRows(log).size();
        QCOMPARE(added, 16);
        for (const char* mark : {"80", "72.5", "", "64.25"}) {
            type(QString::fromLatin1(mark));
            key(Qt::Key_Down);
        }
        key(Qt::Key_X, Qt::AltModifier);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(logRows(log).mid(added),
                 (QStringList{"A1|104||80|Enter Marks", "A1|103||72.5|Enter Marks",
                              "A1|101||64.25|Enter Marks"}));
        // Opened again: the first mark typed over with the same value, the second
        // corrected, then a set-dance mark for the recalled dancer.
        QVERIFY(test::openWindow(*m_window));
        QCoreApplication::processEvents();
        m_window->DBGrid1->cellEditor()->selectAll();
        type(QStringLiteral("80"));
        key(Qt::Key_Down);
        QCoreApplication::processEvents();
        m_window->DBGrid1->cellEditor()->selectAll();
        type(QStringLiteral("73"));
        key(Qt::Key_Down);
        key(Qt::Key_S, Qt::AltModifier);
        type(QStringLiteral("81"));
        key(Qt::Key_X, Qt::AltModifier);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(logRows(log).mid(added + 3),
                 (QStringList{"A1|103|72.5|73|Enter Marks", "ASET|102||81|Enter Marks"}));
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 73.0);
        // No window is named once the window has closed.
        QCOMPARE(m_comp->state.PostingWindow, QString());
    }

    void enterOnLastDancerSavesAndStays() {
        QVERIFY(open(2, "3", "3"));
        key(Qt::Key_End, Qt::ControlModifier);
        type(QStringLiteral("9"));
        key(Qt::Key_Return);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(results()->rowCount(), 2);
        QCOMPARE(m_comp->stored(0, "A1").toDouble(), 9.0);
        QVERIFY(m_window->DBGrid1->cellEditor());
    }

    // However the window closes, the table is left in entry order and unrestricted.
    void everyCloseLeavesEntryOrder_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("set");
        QTest::addColumn<bool>("entered");
        for (const char* how : {"Exit", "Alt+X", "close control", "Escape off the grid"}) {
            QTest::addRow("%s, round 1, as danced", how) << how << false << false;
            QTest::addRow("%s, set, as danced", how) << how << true << false;
            QTest::addRow("%s, set, as entered", how) << how << true << true;
        }
    }
    void everyCloseLeavesEntryOrder() {
        QFETCH(QString, how);
        QFETCH(bool, set);
        QFETCH(bool, entered);
        QVERIFY(open(4, "3", "3", {0, 2}));
        if (set)
            key(Qt::Key_S, Qt::AltModifier);
        if (entered)
            key(Qt::Key_O, Qt::AltModifier);
        key(Qt::Key_Down);
        type(QStringLiteral("5"));
        if (how == QLatin1String("Exit")) {
            QTest::mouseClick(m_window->Button1, Qt::LeftButton);
        } else if (how == QLatin1String("Alt+X")) {
            key(Qt::Key_X, Qt::AltModifier);
        } else if (how == QLatin1String("close control")) {
            m_window->close();
        } else {
            m_window->RndGroup->button(0)->setFocus();
            QTest::keyClick(m_window->RndGroup->button(0), Qt::Key_Escape);
        }
        QVERIFY(!m_window->isVisible());
        QVERIFY(m_comp->leftUnrestrictedInEntryOrder());
        QCOMPARE(results()->rowCount(), 4);
        QCOMPARE(results()->state(), Table::State::Browse);
        QCOMPARE(m_comp->storedCount(), 4);
        // The mark typed before closing is stored, whichever dancer it was.
        int fives = 0;
        for (int r = 0; r < 4; ++r)
            fives += m_comp->stored(r, set ? "ASET" : "A1").toDouble() == 5.0;
        QCOMPARE(fives, 1);
        // The controls let go of the table until the next opening.
        QCOMPARE(m_window->DBGrid1->table(), nullptr);
        QVERIFY(test::openWindow(*m_window));
        QCOMPARE(m_window->Button2->text(), QStringLiteral("As Danced"));
        QCOMPARE(m_window->shownField(), QStringLiteral("A1"));
        QCOMPARE(m_comp->listed(), (QList<int>{104, 103, 102, 101}));
    }

    void nonNumberIsRefusedAndTheCellStaysOpen() {
        QVERIFY(open(3, "3", "3"));
        type(QStringLiteral("7-1"));
        key(Qt::Key_Down);
        const QString refusal =
            QStringLiteral("'7-1' is not a valid floating point value for field 'A1'");
        QCOMPARE(m_comp->dialogs.messageTexts(), QStringList{refusal});
        QCOMPARE(results()->currentRow(), 0);
        QVERIFY(m_window->DBGrid1->cellEditor());
        QCOMPARE(m_window->DBGrid1->cellEditor()->text(), QStringLiteral("7-1"));
        // Exit is refused as well: the window stays open with the text.
        key(Qt::Key_X, Qt::AltModifier);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_comp->dialogs.messageTexts(), (QStringList{refusal, refusal}));
        QCOMPARE(m_window->DBGrid1->cellEditor()->text(), QStringLiteral("7-1"));
        // So is another round.
        key(Qt::Key_2, Qt::AltModifier);
        QCOMPARE(m_window->shownField(), QStringLiteral("A1"));
        QCOMPARE(m_window->RndGroup->itemIndex(), 0);
        m_window->DBGrid1->cellEditor()->selectAll();
        type(QStringLiteral("7.1"));
        key(Qt::Key_X, Qt::AltModifier);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 7.1);
        QVERIFY(m_comp->leftUnrestrictedInEntryOrder());
    }

    void tableHeldElsewhereKeepsTheWindowShut() {
        m_comp = std::make_unique<test::MarksCompetition>(3, "3", "3");
        m_window = std::make_unique<TSpreadsheet1>(m_comp->state);
        Table other;
        other.setDatabaseName(data::TDataModule1::kAlias);
        other.setTableName(QStringLiteral("u12.dbf"));
        other.setExclusive(true);
        other.open();
        QCOMPARE(m_window->exec(), int(QDialog::Rejected));
        QVERIFY(!m_window->isVisible());
        m_window->show();
        QVERIFY(!m_window->isVisible());
        const QStringList shown = m_comp->dialogs.messageTexts();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].contains(QStringLiteral("in use by another user")), qPrintable(shown[0]));
        QVERIFY2(shown[0].contains(QStringLiteral("u12.dbf")), qPrintable(shown[0]));
        QCOMPARE(m_window->DBGrid1->table(), nullptr);
        // Once the other user lets go, the window opens as usual.
        other.close();
        QVERIFY(test::openWindow(*m_window));
        QCOMPARE(m_window->DBGrid1->model()->rowCount(), 3);
    }

    void failedSaveKeepsTheMark() {
        QVERIFY(open(3, "3", "3"));
        type(QStringLiteral("50"));
        key(Qt::Key_Return);
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 50.0);
        engine::DbfFile::setIoObserver([](const engine::IoEvent& e) {
            return e.kind == engine::IoEvent::Kind::Write ? ENOSPC : 0;
        });
        type(QStringLiteral("61"));
        key(Qt::Key_Return);
        QCOMPARE(m_comp->dialogs.messages().size(), 1);
        QVERIFY2(
            m_comp->dialogs.messageTexts()[0].contains(QString::fromLocal8Bit(strerror(ENOSPC))),
            qPrintable(m_comp->dialogs.messageTexts()[0]));
        QCOMPARE(results()->currentRow(), 1);
        QCOMPARE(results()->state(), Table::State::Edit);
        QCOMPARE(m_window->DBGrid1->model()
                     ->index(1, m_window->DBGrid1->currentColumn())
                     .data(Qt::EditRole)
                     .toString(),
                 QStringLiteral("61"));
        // Exit cannot save it either: the window stays open with the mark.
        key(Qt::Key_X, Qt::AltModifier);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_comp->dialogs.messages().size(), 2);
        QCOMPARE(results()->state(), Table::State::Edit);
        // The disk has room again: the same key saves it.
        engine::DbfFile::setIoObserver({});
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 50.0);
        QVERIFY(m_comp->stored(1, "A1").isNull());
        key(Qt::Key_Return);
        QCOMPARE(m_comp->stored(1, "A1").toDouble(), 61.0);
        QCOMPARE(m_comp->stored(2, "A1").toDouble(), 50.0);
        QCOMPARE(results()->currentRow(), 2);
    }

    void columnTotals_data() {
        QTest::addColumn<bool>("byKey");
        QTest::addRow("heading clicked") << false;
        QTest::addRow("Ctrl+T") << true;
    }
    void columnTotals() {
        QFETCH(bool, byKey);
        QVERIFY(open(5, "3", "3", {0, 4}));
        for (const char* mark : {"70.1", "", "0", "80.2"}) {
            type(QString::fromLatin1(mark));
            key(Qt::Key_Down);
        }
        type(QStringLiteral("9")); // the fifth, still being typed: saved before adding up
        marks::ColumnTotals seen;
        QString caption;
        QVERIFY(test::withModal(
            *m_comp->totals,
            [&] {
                if (byKey) {
                    key(Qt::Key_T, Qt::ControlModifier);
                } else {
                    const int column = m_window->DBGrid1->columnOfField("A1");
                    const QHeaderView* header = m_window->DBGrid1->horizontalHeader();
                    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                      QPoint(header->sectionViewportPosition(column) + 5, 5));
                }
            },
            [&] {
                seen = m_comp->totals->totals();
                caption = m_comp->totals->windowTitle();
            }));
        QCOMPARE(caption, QStringLiteral("Column Totals"));
        QCOMPARE(seen.field, QStringLiteral("A1"));
        QCOMPARE(seen.sumText(), QStringLiteral("159.3"));
        QCOMPARE(seen.marks, 4);
        QCOMPARE(seen.blanks, 1);
        QCOMPARE(m_comp->stored(0, "A1").toDouble(), 9.0);
        // Back in the grid, ready for the next mark (the window is active again, as a
        // window manager makes it when the totals close).
        QApplication::setActiveWindow(m_window.get());
        key(Qt::Key_Home, Qt::ControlModifier);
        type(QStringLiteral("8"));
        key(Qt::Key_Return);
        QCOMPARE(m_comp->stored(4, "A1").toDouble(), 8.0);
        // The set dance adds up only the dancers it lists.
        key(Qt::Key_S, Qt::AltModifier);
        QVERIFY(test::withModal(
            *m_comp->totals, [&] { key(Qt::Key_T, Qt::ControlModifier); },
            [&] { seen = m_comp->totals->totals(); }));
        QCOMPARE(seen.field, QStringLiteral("ASET"));
        QCOMPARE(seen.marks + seen.blanks, 2);
    }

    // Recalled dancers are drawn in blue in every round; a picture is written for a person.
    void recalledDancersInBlue() {
        QVERIFY(open(4, "3", "3", {1}));
        type(QStringLiteral("72"));
        key(Qt::Key_Down);
        QCoreApplication::processEvents();
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        QVERIFY(m_window->grab().save(QDir(dir).filePath(QStringLiteral("enter-marks.png"))));
        const QImage cells = m_window->DBGrid1->viewport()->grab().toImage();
        auto hasBlueText = [&](int row) {
            const QRect r =
                m_window->DBGrid1->visualRect(m_window->DBGrid1->model()->index(row, 0));
            for (int x = r.left(); x < r.right(); ++x)
                for (int y = r.top(); y < r.bottom(); ++y) {
                    const QColor c = cells.pixelColor(x, y);
                    if (c.blue() > 150 && c.red() < 90 && c.green() < 90)
                        return true;
                }
            return false;
        };
        // Entry position 1 (dancer 102) dances third.
        QVERIFY(hasBlueText(2));
        QVERIFY(!hasBlueText(0));
        QVERIFY(!hasBlueText(3));
        const int a1 = m_window->DBGrid1->columnOfField("A1");
        const QRect cell = m_window->DBGrid1->visualRect(m_window->DBGrid1->model()->index(2, a1));
        QCOMPARE(cells.pixelColor(cell.left() + 1, cell.center().y()), marks::lightGreen());
    }
};

QTEST_MAIN(TestEnterMarks)
#include "tst_entermarks.moc"

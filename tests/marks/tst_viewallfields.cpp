// View All Fields and the SeeAll Spreadsheet over real tables.
#include "MarksFixture.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/TableModel.h"
#include "marks/TDataEntry.h"
#include "marks/Tseeallform.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

using namespace jt;
using engine::Table;
using marks::TDataEntry;
using marks::Tseeallform;

class TestViewAllFields : public QObject {
    Q_OBJECT

    std::unique_ptr<test::MarksCompetition> m_comp;
    std::unique_ptr<TDataEntry> m_entry;
    std::unique_ptr<Tseeallform> m_seeAll;

    bool openEntry(int dancers, const QSet<int>& recalled = {}) {
        m_comp = std::make_unique<test::MarksCompetition>(dancers, "3", "3", recalled);
        m_entry = std::make_unique<TDataEntry>(m_comp->state);
        return test::openWindow(*m_entry);
    }
    QWidget* target(QWidget* fallback) const {
        QCoreApplication::processEvents();
        return test::focused(fallback);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(target(m_entry.get()), k, mods);
    }
    void type(const QString& text) { QTest::keyClicks(target(m_entry.get()), text); }
    Table* results() const { return m_comp->results; }
    QString recallLabel() const { return m_entry->Label14->text(); }
    void press(dbcontrols::DBNavigator::Button b) {
        QTest::mouseClick(m_entry->DBNavigator1->button(b), Qt::LeftButton);
    }

private Q_SLOTS:
    void cleanup() {
        m_entry.reset();
        m_seeAll.reset();
        m_comp.reset();
    }

    void recallLabelFollowsTheDancer() {
        // Danced order 104, 103, 102, 101; 104 (entry 3) and 102 (entry 1) are recalled.
        QVERIFY(openEntry(4, {1, 3}));
        QCOMPARE(m_entry->windowTitle(), QStringLiteral("Data Entry"));
        QCOMPARE(m_entry->edit("COMP_NO")->text(), QStringLiteral("104"));
        QCOMPARE(recallLabel(), QStringLiteral("Recalled"));
        using Nav = dbcontrols::DBNavigator;
        press(Nav::Next);
        QCOMPARE(m_entry->edit("COMP_NO")->text(), QStringLiteral("103"));
        QCOMPARE(recallLabel(), QString());
        press(Nav::Next);
        QCOMPARE(recallLabel(), QStringLiteral("Recalled"));
        press(Nav::Last);
        QCOMPARE(recallLabel(), QString());
        key(Qt::Key_PageUp); // as Prior
        QCOMPARE(m_entry->edit("COMP_NO")->text(), QStringLiteral("102"));
        QCOMPARE(recallLabel(), QStringLiteral("Recalled"));
        // The order switch returns to the first dancer and shows its state: 101, not recalled.
        QTest::mouseClick(m_entry->Button2, Qt::LeftButton);
        QCOMPARE(m_entry->Button2->text(), QStringLiteral("As Entered"));
        QCOMPARE(m_entry->edit("COMP_NO")->text(), QStringLiteral("101"));
        QCOMPARE(recallLabel(), QString());
        press(Nav::Next);
        QCOMPARE(recallLabel(), QStringLiteral("Recalled"));
        key(Qt::Key_O, Qt::AltModifier);
        QCOMPARE(m_entry->edit("COMP_NO")->text(), QStringLiteral("104"));
        QCOMPARE(recallLabel(), QStringLiteral("Recalled"));
    }

    // Every box of all five adjudicators and three rounds is there; the calculated ones
    // are read-only; Tab visits them in the score sheet's order.
    void scoreSheetAndTabOrder() {
        QVERIFY(openEntry(2));
        QStringList expected{"COMP_NO", "NAME", "SCHOOL"};
        for (const char* row : {"1", "2", "3", "SUBTOTAL", "GRID1"})
            for (const char* l : {"A", "B", "C", "D", "E"})
                expected << QLatin1String(l) + QLatin1String(row);
        expected << "RECALLTTL";
        for (const char* row : {"SET", "TOTAL", "GRID2"})
            for (const char* l : {"A", "B", "C", "D", "E"})
                expected << QLatin1String(l) + QLatin1String(row);
        expected << "GRIDTOTAL";
        QCOMPARE(m_entry->tabOrder(), expected);
        for (const QString& field : expected) {
            dbcontrols::DBEdit* box = m_entry->edit(field);
            QVERIFY2(box && box->isVisible() && box->isEnabled(), qPrintable(field));
            const bool editable =
                QRegularExpression(QStringLiteral("^[A-E]([123]|SET)$")).match(field).hasMatch();
            QCOMPARE(box->isReadOnly(), !editable);
        }
        // Tab from the first box walks the whole list, read-only boxes included.
        m_entry->edit("COMP_NO")->setFocus();
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            visited << target(m_entry.get())->objectName().mid(6);
            key(Qt::Key_Tab);
        }
        QCOMPARE(visited, expected);
        // A calculated box takes no typing.
        m_entry->edit("ASUBTOTAL")->setFocus();
        type(QStringLiteral("9"));
        QCOMPARE(results()->state(), Table::State::Browse);
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        QVERIFY(m_entry->grab().save(QDir(dir).filePath(QStringLiteral("view-all-fields.png"))));
    }

    void closing_data() {
        QTest::addColumn<bool>("entered");
        QTest::addColumn<QString>("how");
        for (const char* how : {"Exit", "Alt+X", "close control"}) {
            QTest::addRow("as danced, %s", how) << false << how;
            QTest::addRow("as entered, %s", how) << true << how;
        }
    }
    // Closing in "As Danced" saves a mark still being typed (the change to entry order
    // saves it); in "As Entered" it stays pending, unsaved.
    void closing() {
        QFETCH(bool, entered);
        QFETCH(QString, how);
        QVERIFY(openEntry(3));
        if (entered)
            key(Qt::Key_O, Qt::AltModifier);
        m_entry->edit("B2")->setFocus();
        type(QStringLiteral("68"));
        if (how == QLatin1String("Exit"))
            QTest::mouseClick(m_entry->Button1, Qt::LeftButton);
        else if (how == QLatin1String("Alt+X"))
            key(Qt::Key_X, Qt::AltModifier);
        else
            m_entry->close();
        QVERIFY(!m_entry->isVisible());
        const int record = entered ? 0 : 2;
        QCOMPARE(results()->indexName(), QString());
        QCOMPARE(results()->currentRow(), 0);
        if (entered) {
            QCOMPARE(results()->state(), Table::State::Edit);
            QCOMPARE(m_comp->module->resultsB2->asFloat(), 68.0);
            QVERIFY(m_comp->stored(record, "B2").isNull());
        } else {
            QCOMPARE(results()->state(), Table::State::Browse);
            QCOMPARE(m_comp->stored(record, "B2").toDouble(), 68.0);
        }
        // The next opening reopens the table, which drops anything pending.
        QVERIFY(test::openWindow(*m_entry));
        QCOMPARE(m_entry->Button2->text(), QStringLiteral("As Danced"));
        QCOMPARE(results()->state(), Table::State::Browse);
    }

    void seeAllColumnsAndNavigator() {
        m_comp = std::make_unique<test::MarksCompetition>(2, "3", "3", QSet<int>{1});
        m_seeAll = std::make_unique<Tseeallform>(m_comp->state);
        QVERIFY(test::openWindow(*m_seeAll));
        QCOMPARE(m_seeAll->windowTitle(), QStringLiteral("SeeAll Spreadsheet"));
        const marks::ExportSetup setup = m_seeAll->exportSetup();
        QStringList fields, titles;
        for (const marks::ExportColumn& c : setup.columns) {
            fields << c.field;
            titles << c.title;
        }
        QStringList expectedFields{"SEQUENCE", "COMP_NO", "NAME", "SCHOOL"};
        for (const char* l : {"A", "B", "C", "D", "E"})
            for (const char* part : {"1", "2", "3", "SUBTOTAL", "GRID1", "SET", "TOTAL", "GRID2"})
                expectedFields << QLatin1String(l) + QLatin1String(part);
        expectedFields << "RECALLTTL"
                       << "RECALLTIE"
                       << "GRIDTOTAL"
                       << "POSITION"
                       << "FINALTIE"
                       << "RECALLCHAR"
                       << "FINALCHAR"
                       << "RECALLED"
                       << "RecDancer"
                       << "SOLOPOSN"
                       << "SOLOCHAR";
        QCOMPARE(fields, expectedFields);
        QCOMPARE(titles.mid(0, 5), (QStringList{"Sequence", "Dancer", "Name", "School", "A1"}));
        QCOMPARE(titles.mid(44, 5),
                 (QStringList{"Recall Ttl", "RECALLTIE", "Grid Ttl", "Position", "FINALTIE"}));
        QVERIFY(!fields.contains("QUALGRID"));
        QVERIFY(!fields.contains("QUALIFIER"));
        QCOMPARE(setup.title, QStringLiteral("Export Wizard"));
        QCOMPARE(setup.defaultFileName, QStringLiteral("U12"));
        QVERIFY(setup.allRecords);
        // Every column is editable but the calculated RecDancer.
        const dbcontrols::TableModel* model = m_seeAll->DBGrid1->tableModel();
        for (int c = 0; c < model->columnCount(); ++c)
            QCOMPARE(model->isColumnEditable(c), fields[c] != QLatin1String("RecDancer"));
        // All ten navigator buttons, no tool tips anywhere.
        for (int b = 0; b < dbcontrols::DBNavigator::kButtonCount; ++b) {
            QToolButton* button =
                m_seeAll->DBNavigator1->button(dbcontrols::DBNavigator::Button(b));
            QVERIFY(button->isVisible());
            QCOMPARE(button->toolTip(), QString());
        }
        QCOMPARE(m_seeAll->Button1->text(), QStringLiteral("Export Wizard"));
        QCOMPARE(m_seeAll->Button1->toolTip(), QString());
        QCOMPARE(m_seeAll->Button2->text(), QStringLiteral("Exit"));
        // Entry order, as the table was left.
        QCOMPARE(m_comp->listed(), (QList<int>{101, 102}));
        // A calculated field can be corrected by hand like any other.
        m_seeAll->DBGrid1->setFocus();
        m_seeAll->DBGrid1->setCurrentColumn(fields.indexOf("RECALLTTL"));
        QTest::keyClicks(target(m_seeAll.get()), QStringLiteral("250"));
        QTest::keyClick(target(m_seeAll.get()), Qt::Key_Down);
        QCOMPARE(m_comp->stored(0, "RECALLTTL").toDouble(), 250.0);
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        QVERIFY(m_seeAll->grab().save(QDir(dir).filePath(QStringLiteral("seeall.png"))));
    }

    // A SeeAll edit not saved stays pending when the window closes.
    void seeAllClosingSavesNothing() {
        m_comp = std::make_unique<test::MarksCompetition>(2, "3", "3");
        m_seeAll = std::make_unique<Tseeallform>(m_comp->state);
        QVERIFY(test::openWindow(*m_seeAll));
        m_seeAll->DBGrid1->setFocus();
        m_seeAll->DBGrid1->setCurrentColumn(m_seeAll->DBGrid1->columnOfField("NAME"));
        QTest::keyClicks(target(m_seeAll.get()), QStringLiteral("Aoife"));
        QTest::keyClick(target(m_seeAll.get()), Qt::Key_X, Qt::AltModifier);
        QVERIFY(!m_seeAll->isVisible());
        QCOMPARE(results()->state(), Table::State::Edit);
        QCOMPARE(m_comp->module->resultsNAME->asString(), QStringLiteral("Aoife"));
        QCOMPARE(m_comp->stored(0, "NAME").toString(), QStringLiteral("Dancer 1"));
    }
};

QTEST_MAIN(TestViewAllFields)
#include "tst_viewallfields.moc"

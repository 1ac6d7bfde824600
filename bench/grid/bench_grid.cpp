// Pages through a grid over a 10,000-dancer results table from top to bottom, then
// types 1,000 marks down one column, saving each row as it is left (every save is a
// durable write, so the second figure is mostly the disk's sync time). Then opens Enter
// Marks on the same table and times its openings, adjudicator/round switches and order
// switches.
//
//   bench_grid [dancers] [marks]      (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "dbcontrols/DBGrid.h"
#include "engine/AliasRegistry.h"
#include "engine/Table.h"
#include "marks/ChoiceGroup.h"
#include "marks/TColTotal.h"
#include "marks/TSpreadsheet1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace jt;

namespace {

void makeResultsTable(const QString& name, int dancers) {
    engine::Table t;
    t.setDatabaseName(data::TDataModule1::kAlias);
    t.setTableName(name);
    t.createTable(data::resultsFields());
    // Sole use writes without a sync per record: the table is only being filled here.
    t.setExclusive(true);
    t.open();
    engine::Field* seq = t.fieldByName(QStringLiteral("SEQUENCE"));
    engine::Field* no = t.fieldByName(QStringLiteral("COMP_NO"));
    engine::Field* dancerName = t.fieldByName(QStringLiteral("NAME"));
    engine::Field* school = t.fieldByName(QStringLiteral("SCHOOL"));
    engine::Field* a2 = t.fieldByName(QStringLiteral("A2"));
    for (int i = 0; i < dancers; ++i) {
        t.append();
        seq->setAsInteger(i + 1);
        no->setAsInteger(100 + i);
        dancerName->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
        school->setAsString(QStringLiteral("School %1").arg(i % 37));
        a2->setAsFloat(50 + (i % 400) / 8.0);
        t.post();
    }
    t.close();
}

void key(QWidget* grid, Qt::Key k, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

// ---- Enter Marks over the same table ------------------------------------------

double medianOf(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

QString ms(double value) {
    return QString::number(value, 'f', 2) + QStringLiteral(" ms");
}

void makeInfoTable(const QString& name) {
    engine::Table t;
    t.setDatabaseName(data::TDataModule1::kAlias);
    t.setTableName(name);
    t.createTable(data::compInfoFields());
    t.open();
    t.append();
    t.fieldByName(QStringLiteral("NUMADJS"))->setAsString(QStringLiteral("5"));
    t.fieldByName(QStringLiteral("NUMROUNDS"))->setAsString(QStringLiteral("4"));
    t.fieldByName(QStringLiteral("ADJANAME"))->setAsString(QStringLiteral("Judge A"));
    t.fieldByName(QStringLiteral("RD1TITLE"))->setAsString(QStringLiteral("Heavy"));
    t.post();
    t.close();
}

// Opens Enter Marks on the table (as the main window's command does, each opening closing
// and reopening it), switches adjudicator and round, and switches the order; each step is
// timed on its own, the window painted after it, and the medians are printed.
int benchEnterMarks(QTextStream& out, const QString& results, int rounds) {
    makeInfoTable(QStringLiteral("big_inf.dbf"));
    {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(results);
        if (t.indexDefs().empty())
            t.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
    }
    ProgramState state;
    state.DataModule1 = std::make_unique<data::TDataModule1>(state);
    data::TDataModule1& module = *state.DataModule1;
    module.results->setTableName(results);
    module.compinfo->setTableName(QStringLiteral("big_inf.dbf"));
    module.compinfo->open();
    marks::TColTotal totals(state);
    marks::TSpreadsheet1 window(state);
    window.resize(900, 900);
    QElapsedTimer timer;

    std::vector<double> opening;
    for (int i = 0; i < 5; ++i) {
        timer.start();
        window.show();
        window.repaint();
        opening.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!window.isVisible()) {
            out << "Enter Marks did not open\n";
            return 1;
        }
        QCoreApplication::processEvents();
        if (i < 4)
            window.close();
    }
    QApplication::setActiveWindow(&window);
    QCoreApplication::processEvents();
    const int rows = module.results->rowCount();

    // Adjudicator and round in turn, "Set" (recalled dancers only) among the rounds.
    std::vector<double> switching;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        if (i % 2 == 0)
            window.AdjGroup->choose((window.AdjGroup->itemIndex() + 1) % 5);
        else
            window.RndGroup->choose((window.RndGroup->itemIndex() + 1) % 4);
        window.repaint();
        switching.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    std::vector<double> ordering;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        window.Button2Click();
        window.repaint();
        ordering.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    window.close();
    out << "Enter Marks on " << rows << " dancers: opening median " << ms(medianOf(opening))
        << " (5 openings, worst " << ms(*std::max_element(opening.begin(), opening.end())) << ")\n";
    out << "  adjudicator/round switch median " << ms(medianOf(switching)) << " (" << rounds
        << " switches, worst " << ms(*std::max_element(switching.begin(), switching.end()))
        << ")\n";
    out << "  order switch median " << ms(medianOf(ordering)) << " (" << rounds
        << " switches, worst " << ms(*std::max_element(ordering.begin(), ordering.end()))
        << "), left " << (module.results->indexName().isEmpty() ? "in entry order" : "ordered")
        << (module.results->filtered() ? ", filtered" : ", unfiltered") << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int dancers = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const int marks = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1000;
    QTextStream out(stdout);

    QTemporaryDir dir;
    auto& aliases = engine::AliasRegistry::instance();
    aliases.setConfigFile(dir.filePath(QStringLiteral("aliases.ini")));
    aliases.addStandardAlias(data::TDataModule1::kAlias, dir.path(), QStringLiteral("DBASE"));

    QElapsedTimer timer;
    timer.start();
    makeResultsTable(QStringLiteral("big.dbf"), dancers);
    out << "table of " << dancers << " dancers written in " << timer.elapsed() << " ms\n";

    ProgramState state;
    data::TDataModule1 module(state);
    module.results->setTableName(QStringLiteral("big.dbf"));
    module.results->open();

    dbcontrols::DBGrid grid;
    QList<dbcontrols::GridColumn> columns;
    for (const char* f : {"SEQUENCE", "COMP_NO", "NAME", "A1", "A2", "A3", "ASET", "B1", "B2", "B3",
                          "BSET", "RecDancer"})
        columns << dbcontrols::GridColumn::field(QString::fromLatin1(f));
    grid.setColumns(columns);
    grid.setDataSource(module.DataSource1);
    grid.setAlwaysOpenForTyping(true);
    grid.resize(1100, 700);
    grid.show();
    if (!QTest::qWaitForWindowExposed(&grid)) {
        out << "the grid window did not show\n";
        return 1;
    }
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    grid.setCurrentColumn(3);
    QCoreApplication::processEvents();

    // Paging: one Page Down and one full repaint of the grid per page.
    timer.restart();
    int pages = 0;
    while (module.results->currentRow() < module.results->rowCount() - 1) {
        key(&grid, Qt::Key_PageDown);
        grid.viewport()->repaint();
        ++pages;
    }
    const qint64 pagingMs = timer.elapsed();
    out << "paging: " << pages << " pages to row " << module.results->currentRow() + 1 << " in "
        << pagingMs << " ms (" << QString::number(double(pagingMs) / std::max(1, pages), 'f', 2)
        << " ms a page)\n";

    // Typing: a mark, then Down, which saves the row; the grid repaints as it goes.
    key(&grid, Qt::Key_Home);
    module.results->first();
    QCoreApplication::processEvents();
    timer.restart();
    for (int i = 0; i < marks; ++i) {
        const QString mark = QString::number(60 + i % 35) + QStringLiteral(".5");
        for (const QChar c : mark)
            key(&grid, c == QLatin1Char('.') ? Qt::Key_Period : Qt::Key(Qt::Key_0 + c.digitValue()),
                QString(c));
        key(&grid, Qt::Key_Down);
        QCoreApplication::processEvents();
    }
    const qint64 typingMs = timer.elapsed();
    const double firstMark =
        module.results->rowCount() > 0
            ? module.results->valueAt(0, module.resultsA1->fieldNo()).toDouble()
            : 0;
    out << "typing: " << marks << " marks saved row by row in " << typingMs << " ms ("
        << QString::number(double(typingMs) / std::max(1, marks), 'f', 2)
        << " ms a mark), now on row " << module.results->currentRow() + 1 << ", first mark "
        << firstMark << "\n";
    module.results->close();
    return benchEnterMarks(out, QStringLiteral("big.dbf"), 20);
}

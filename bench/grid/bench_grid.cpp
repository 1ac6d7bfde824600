// Pages through a grid over a 10,000-dancer results table from top to bottom, then
// types 1,000 marks down one column, saving each row as it is left (every save is a
// durable write, so the second figure is mostly the disk's sync time).
//
//   bench_grid [dancers] [marks]      (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "dbcontrols/DBGrid.h"
#include "engine/AliasRegistry.h"
#include "engine/Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

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
    return 0;
}

// Utils > Change Log over the shell: the open competition's log, read-only, newest last.
#include "ShellFixture.h"
#include "app/ChangeLogView.h"
#include "app/TChangeLog.h"
#include "data/ChangeLog.h"
#include "engine/Table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

using namespace jt;

namespace {

// The grid's cells, row by row.
QList<QStringList> gridRows(const QTableView* grid) {
    QList<QStringList> rows;
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            cells << m->index(r, c).data().toString();
        rows << cells;
    }
    return rows;
}

QStringList headings(const QTableView* grid) {
    QStringList h;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        h << grid->model()->headerData(c, Qt::Horizontal).toString();
    return h;
}

// Runs `look` on the Change Log window once it is up, then closes it with "Exit".
bool whileShown(const test::Shell& shell, const std::function<void(app::TChangeLog&)>& look) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<app::TChangeLog*>(QApplication::activeModalWidget());
        if (!w)
            return;
        seen = true;
        look(*w);
        w->Button1->click();
    });
    shell.choose(shell.main().ChangeLog1);
    return seen;
}

void postMark(data::TDataModule1& m, int row, double mark) {
    m.results->moveToRow(row);
    m.results->edit();
    m.resultsB2->setAsFloat(mark);
    m.results->post();
}

} // namespace

class TestChangeLogWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Offered under Utils, like the other items only while a competition is open.
    void menuItem() {
        test::Shell shell;
        QAction* item = shell.main().ChangeLog1;
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Change Log"));
        QVERIFY(shell.main().Utils1->actions().contains(item));
        QVERIFY(!shell.enabled(QStringLiteral("Utils1")));
        shell.folder.addCompetition(QStringLiteral("u12"));
        shell.select(QStringLiteral("u12.dbf"));
        QVERIFY(shell.enabled(QStringLiteral("Utils1")));
        shell.choose(shell.main().Close1);
        QVERIFY(!shell.enabled(QStringLiteral("Utils1")));
    }

    // The rows posted, newest last under their column titles; read-only; read afresh at
    // each opening.
    void showsTheLog() {
        test::Shell shell;
        shell.folder.addCompetition(QStringLiteral("u12"));
        shell.select(QStringLiteral("u12.dbf"));
        data::TDataModule1& m = shell.module();
        m.results->open();
        for (int i = 0; i < 2; ++i) {
            m.results->append();
            m.resultsCOMP_NO->setAsInteger(101 + i);
            m.results->post();
        }
        shell.state.PostingWindow = QStringLiteral("Enter Marks");
        postMark(m, 0, 70);
        postMark(m, 1, 66.5);
        postMark(m, 0, 71);
        shell.state.PostingWindow.clear();
        m.results->close();

        QList<QStringList> shown;
        QStringList titles;
        QString label;
        bool editable = true;
        int current = -1;
        QVERIFY(whileShown(shell, [&](app::TChangeLog& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Change Log"));
            shown = gridRows(w.DBGrid1);
            titles = headings(w.DBGrid1);
            label = w.Label1->text();
            editable =
                w.DBGrid1->editTriggers() != QAbstractItemView::NoEditTriggers ||
                (w.DBGrid1->model()->flags(w.DBGrid1->model()->index(0, 0)) & Qt::ItemIsEditable);
            current = w.DBGrid1->currentIndex().row();
        }));
        QCOMPARE(titles, data::kChangeLogColumns);
        QVERIFY(!editable);
        QStringList withoutTime;
        for (const QStringList& row : shown)
            withoutTime << row.mid(1).join(QLatin1Char('|'));
        QCOMPARE(withoutTime,
                 (QStringList{"(dancer added)|101|||", "COMP_NO|101||101|", "(dancer added)|102|||",
                              "COMP_NO|102||102|", "B2|101||70|Enter Marks",
                              "B2|102||66.5|Enter Marks", "B2|101|70|71|Enter Marks"}));
        QCOMPARE(current, shown.size() - 1);
        QCOMPARE(label, QDir::toNativeSeparators(shell.folder.filePath(QStringLiteral("u12.log"))) +
                            QStringLiteral(": 7 changes"));

        // A change made since shows at the next opening.
        m.results->open();
        postMark(m, 1, 67);
        m.results->close();
        QVERIFY(whileShown(shell, [&](app::TChangeLog& w) { shown = gridRows(w.DBGrid1); }));
        QCOMPARE(shown.size(), 8);
        QCOMPARE(shown.last().mid(1, 4), (QStringList{"B2", "102", "66.5", "67"}));
    }

    // A competition without a log yet shows an empty grid and says so; another
    // competition's log is not shown.
    void noLogYet() {
        test::Shell shell;
        shell.folder.addCompetition(QStringLiteral("u12"));
        shell.folder.addCompetition(QStringLiteral("u13"));
        data::appendChangeLog(shell.folder.filePath(QStringLiteral("u13.log")),
                              {{QStringLiteral("2026-12-11 10:00:00"),
                                QStringLiteral("A1"),
                                QStringLiteral("101"),
                                {},
                                QStringLiteral("70"),
                                {}}});
        shell.select(QStringLiteral("u12.dbf"));
        int rows = -1;
        QString label;
        QVERIFY(whileShown(shell, [&](app::TChangeLog& w) {
            rows = w.DBGrid1->model()->rowCount();
            label = w.Label1->text();
        }));
        QCOMPARE(rows, 0);
        QVERIFY2(label.endsWith(QStringLiteral("u12.log: no change has been logged yet")),
                 qPrintable(label));
    }

    // What the window reads: quoted cells, a row cut off by a crash, a short row.
    void readsTheCsv() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u12.log"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data::csvRow(data::kChangeLogColumns));
        f.write(data::csvRow({"2026-12-11 10:00:00", "NAME", "101", "Ó Sé, \"Dara\"", "Line\r\nTwo",
                              "Dancer Setup"}));
        f.write("2026-12-11 10:00:01,A1,10");
        f.write("\r\n");
        f.write(data::csvRow({"2026-12-11 10:00:02", "A1", "101", "", "80", "Enter Marks"}));
        f.close();
        const app::ChangeLogRows log = app::readChangeLog(path);
        QCOMPARE(log.error, QString());
        QCOMPARE(log.columns, data::kChangeLogColumns);
        QCOMPARE(log.rows.size(), 3);
        QCOMPARE(log.rows[0], (QStringList{"2026-12-11 10:00:00", "NAME", "101", "Ó Sé, \"Dara\"",
                                           "Line\r\nTwo", "Dancer Setup"}));
        QCOMPARE(log.rows[1], (QStringList{"2026-12-11 10:00:01", "A1", "10", "", "", ""}));
        QCOMPARE(log.rows[2][4], QStringLiteral("80"));
        // A missing log is no error; an unreadable one says why.
        QCOMPARE(app::readChangeLog(dir.filePath(QStringLiteral("none.log"))).error, QString());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("odd.log")));
        QVERIFY(!app::readChangeLog(dir.filePath(QStringLiteral("odd.log"))).error.isEmpty());
    }
};

QTEST_MAIN(TestChangeLogWindow)
#include "tst_changelogwindow.moc"

#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "support/Competition.h"

#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace jt;
using dbcontrols::DBGrid;
using dbcontrols::DBNavigator;
using dbcontrols::GridColumn;

// Renders a grid set up like the see-all marks window (coloured mark columns, read-only
// dancer columns, grey separators, the calculated "Recalled", recalled rows in blue) to
// a picture, writes it for a person to look at and checks the colours where they belong.
// The picture goes to $JT_GALLERY_DIR, or the working folder.
class TestGallery : public QObject {
    Q_OBJECT

    static QColor lightGreen() { return QColor(0xC0, 0xFF, 0xC0); }
    static QColor lightBlue() { return QColor(0xC0, 0xE0, 0xFF); }

private Q_SLOTS:
    void rendersTheMarksGrid() {
        auto comp = test::Competition::withDancers(8, {72, 80.5, 65, 0.5, 90, 77.25, 0, 58});
        engine::Table* results = &comp->results();
        for (int row : {1, 4}) {
            results->moveToRow(row);
            results->edit();
            comp->module().resultsRECALLED->setAsBoolean(true);
            comp->module().resultsB1->setAsFloat(70 + row);
            results->post();
        }
        results->first();

        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* nav = new DBNavigator(&window);
        nav->setVisibleButtons({DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                                DBNavigator::Last, DBNavigator::Post, DBNavigator::Cancel});
        auto* grid = new DBGrid(&window);
        layout->addWidget(nav);
        layout->addWidget(grid);

        auto dancer = [] {
            GridColumn c = GridColumn::field(QStringLiteral("COMP_NO"), QStringLiteral("Dancer"));
            c.readOnly = true;
            c.width = 64;
            return c;
        };
        auto markColumn = [](const QString& field, const QColor& color) {
            GridColumn c = GridColumn::field(field);
            c.alignment = Qt::AlignRight;
            c.color = color;
            c.width = 56;
            return c;
        };
        QList<GridColumn> columns{dancer()};
        for (const char* f : {"A1", "A2", "A3", "ASET"})
            columns << markColumn(QString::fromLatin1(f), lightGreen());
        columns << GridColumn::separator() << dancer();
        for (const char* f : {"B1", "B2", "B3", "BSET"})
            columns << markColumn(QString::fromLatin1(f), lightBlue());
        GridColumn recalled = GridColumn::field(QStringLiteral("RecDancer"));
        recalled.alignment = Qt::AlignHCenter;
        recalled.width = 70;
        columns << recalled;
        grid->setColumns(columns);
        nav->setDataSource(comp->module().DataSource1);
        grid->setDataSource(comp->module().DataSource1);
        // As the marks windows do: recalled dancers in blue.
        connect(grid, &DBGrid::drawColumnCell, grid, [](dbcontrols::DrawColumnCell& cell) {
            if (cell.fieldValue(QStringLiteral("RecDancer")).toString() == QLatin1String("Yes"))
                cell.option.palette.setColor(QPalette::Text, Qt::blue);
        });
        window.resize(760, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        grid->setFocus();
        grid->setCurrentColumn(1);
        results->moveToRow(2);
        QCoreApplication::processEvents();

        const QImage picture = window.grab().toImage();
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        const QString path = QDir(dir).filePath(QStringLiteral("dbgrid-gallery.png"));
        QVERIFY2(picture.save(path), qPrintable(path));
        qInfo("gallery written to %s", qPrintable(path));

        const QImage cells = grid->viewport()->grab().toImage();
        auto colourAt = [&](int row, int column) {
            const QRect r = grid->visualRect(grid->model()->index(row, column));
            return cells.pixelColor(r.left() + 1, r.center().y());
        };
        QCOMPARE(colourAt(0, 2), lightGreen());
        QCOMPARE(colourAt(0, 7), lightBlue());
        QCOMPARE(colourAt(0, 5), QColor(0xA0, 0xA0, 0xA0)); // separator
        QCOMPARE(grid->columnWidth(5), 3);
        // Row 1 is recalled: somewhere in its dancer cell text is drawn in blue.
        auto hasBlueText = [&](int row, int column) {
            const QRect r = grid->visualRect(grid->model()->index(row, column));
            for (int x = r.left(); x < r.right(); ++x)
                for (int y = r.top(); y < r.bottom(); ++y) {
                    const QColor c = cells.pixelColor(x, y);
                    if (c.blue() > 150 && c.red() < 90 && c.green() < 90)
                        return true;
                }
            return false;
        };
        QVERIFY(hasBlueText(1, 0));
        QVERIFY(!hasBlueText(0, 0));
        QCOMPARE(grid->model()->index(1, 11).data().toString(), QStringLiteral("Yes"));
        QCOMPARE(grid->model()->index(3, 1).data().toString(), QStringLiteral(".5"));
    }
};

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"

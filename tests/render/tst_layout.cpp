#include "RenderFixture.h"
#include "render/Layout.h"
#include "render/Pictures.h"
#include "render/RenderError.h"
#include "render/ReportFont.h"

#include <QFile>
#include <QFontInfo>
#include <QTest>

using namespace jt;
using render::BandKind;

namespace {

render::LayoutOptions fixedClock() {
    render::LayoutOptions options;
    options.now = QDateTime(QDate(2026, 3, 17), QTime(14, 5));
    options.locale = QLocale(QLocale::English, QLocale::Ireland);
    return options;
}

// The bands of a page as letters, T title, H header, D detail, F footer.
QString bandLetters(const render::Page& page) {
    QString letters;
    for (const render::PlacedBand& b : page.bands)
        letters += QLatin1Char("THDF"[int(b.kind)]);
    return letters;
}

QList<int> detailRecords(const render::Page& page) {
    QList<int> records;
    for (const render::PlacedBand& b : page.bands)
        if (b.kind == BandKind::Detail)
            records << b.record;
    return records;
}

bool near(double a, double b, double tolerance = 0.01) {
    return std::abs(a - b) <= tolerance;
}

} // namespace

class TestLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fontIsMetricCompatible();
    void pageBreaks_data();
    void pageBreaks();
    void itemPositions();
    void emptySource();
    void currentOrderAndFilter();
    void systemTexts();
    void conditionalText();
    void pictures();
    void logoFiles();
    void unknownField();
    void landscape();
    void fitting_data();
    void fitting();
};

void TestLayout::fontIsMetricCompatible() {
    QCOMPARE(QFontInfo(render::reportFont(10, false)).family(), render::kMetricFamily);
    QCOMPARE(QFontInfo(render::reportFont(10, true)).bold(), true);
    // Arial's H is 1479/2048 of the em and its digits 1139/2048: at 10 pt (3.5278 mm)
    // that is 2.548 mm and 1.962 mm, which is what the layouts were measured with.
    QVERIFY2(near(render::textWidthMm(QStringLiteral("H"), 10, false), 2.5476, 0.01),
             qPrintable(QString::number(render::textWidthMm(QStringLiteral("H"), 10, false))));
    QVERIFY(near(render::textWidthMm(QStringLiteral("0123456789"), 10, false), 19.62, 0.05));
}

void TestLayout::pageBreaks_data() {
    QTest::addColumn<int>("dancers");
    QTest::addColumn<bool>("footerOnLastPage");
    QTest::addColumn<QStringList>("pages");       // band letters of each page
    QTest::addColumn<QList<int>>("firstRecords"); // first detail record of each page

    const QString full47 = QStringLiteral("TH") + QString(47, QLatin1Char('D'));
    const QString full51 = QStringLiteral("H") + QString(51, QLatin1Char('D'));
    QTest::newRow("one row") << 1 << true << QStringList{QStringLiteral("THDF")} << QList<int>{0};
    QTest::newRow("page one full")
        << 47 << true << QStringList{full47 + QLatin1Char('F')} << QList<int>{0};
    QTest::newRow("one over") << 48 << true
                              << QStringList{full47 + QLatin1Char('F'), QStringLiteral("HDF")}
                              << QList<int>{0, 47};
    QTest::newRow("two full pages")
        << 98 << true << QStringList{full47 + QLatin1Char('F'), full51 + QLatin1Char('F')}
        << QList<int>{0, 47};
    QTest::newRow("three pages") << 99 << true
                                 << QStringList{full47 + QLatin1Char('F'),
                                                full51 + QLatin1Char('F'), QStringLiteral("HDF")}
                                 << QList<int>{0, 47, 98};
    QTest::newRow("no footer on the last")
        << 48 << false << QStringList{full47 + QLatin1Char('F'), QStringLiteral("HD")}
        << QList<int>{0, 47};
    QTest::newRow("no footer, one page")
        << 3 << false << QStringList{QStringLiteral("THDDD")} << QList<int>{0};
}

void TestLayout::pageBreaks() {
    QFETCH(int, dancers);
    QFETCH(bool, footerOnLastPage);
    QFETCH(QStringList, pages);
    QFETCH(QList<int>, firstRecords);

    test::DancerTable dancerTable(dancers);
    test::SampleReport report(&dancerTable.table);
    report.footerOnLastPage = footerOnLastPage;
    const render::Document doc = render::layOut(report, fixedClock()).document;

    QCOMPARE(doc.pageCount(), pages.size());
    int expectedRecord = 0;
    for (int p = 0; p < doc.pageCount(); ++p) {
        const render::Page& page = doc.pages[std::size_t(p)];
        QCOMPARE(bandLetters(page), pages[p]);
        const QList<int> records = detailRecords(page);
        QCOMPARE(records.first(), firstRecords[p]);
        for (int r : records) // every record once, in order
            QCOMPARE(r, expectedRecord++);
        // The footer sits at the bottom margin; the page number counts the pages.
        const bool hasFooter = pages[p].endsWith(QLatin1Char('F'));
        QCOMPARE(page.findText(QStringLiteral("Page %1").arg(p + 1)) != nullptr, hasFooter);
        if (hasFooter)
            QVERIFY(near(page.bands.back().box.bottom(), 287));
        QVERIFY(page.bands.back().box.bottom() <= 287 + 1e-9);
    }
    QCOMPARE(expectedRecord, dancers);
}

void TestLayout::itemPositions() {
    test::DancerTable dancerTable(60);
    test::SampleReport report(&dancerTable.table);
    const render::Document doc = render::layOut(report, fixedClock()).document;
    const render::Page& one = doc.pages[0];
    const render::Page& two = doc.pages[1];

    // Title band at the top margin; the banner at 15 mm from the left margin.
    const render::PlacedText* banner = one.findText(QStringLiteral("Sample Banner"));
    QVERIFY(banner);
    QCOMPARE(banner->box, QRectF(25, 10, 80, 6));
    QCOMPARE(banner->pointSize, 12.0);
    QVERIFY(banner->bold);
    QVERIFY(!two.findText(QStringLiteral("Sample Banner"))); // title only on page 1

    // The auto-sized name grows from its left edge with the text.
    const render::PlacedText* name = one.findText(QStringLiteral("SAMPLE"));
    QVERIFY(name);
    QCOMPARE(name->box.left(), 100.0);
    QVERIFY(near(name->box.width(), render::textWidthMm(QStringLiteral("SAMPLE"), 14, true)));
    QVERIFY(!name->clip);

    // Column header under the title on page 1, at the top margin on page 2.
    QCOMPARE(one.findText(QStringLiteral("Dancer"))->box, QRectF(12, 32, 20, 5));
    QCOMPARE(two.findText(QStringLiteral("Dancer"))->box, QRectF(12, 12, 20, 5));
    QCOMPARE(one.findText(QStringLiteral("Dancer"))->align, render::Align::Right);

    // First detail row under the header (40 mm), each row 5 mm lower.
    QCOMPARE(one.findText(QStringLiteral("101"))->box, QRectF(12, 40.5, 20, 4));
    QCOMPARE(one.findText(QStringLiteral("103"))->box, QRectF(12, 50.5, 20, 4));
    QCOMPARE(one.findText(QStringLiteral("Dancer 2"))->box.topLeft(), QPointF(40, 45.5));
    QCOMPARE(one.findText(QStringLiteral("500.00"))->box, QRectF(110, 40.5, 30, 4));
    QCOMPARE(one.findText(QStringLiteral("497.50"))->align, render::Align::Right);
    // Row 48 opens page 2 under its header.
    QCOMPARE(two.findText(QStringLiteral("148"))->box, QRectF(12, 20.5, 20, 4));

    // Band frames: grey header framed all round, detail rows ruled left, right, bottom.
    const render::PlacedBox& header = one.boxes[0];
    QCOMPARE(header.box, QRectF(10, 30, 190, 10));
    QCOMPARE(header.fill, render::kSilver);
    QCOMPARE(header.edges, render::kAllEdges);
    const render::PlacedBox& row = one.boxes[1];
    QCOMPARE(row.box, QRectF(10, 40, 190, 5));
    QVERIFY(!row.fill.isValid());
    QCOMPARE(row.edges, render::LeftEdge | render::RightEdge | render::BottomEdge);
    for (const render::PlacedBox& b : one.boxes) // the title has neither frame nor fill
        QVERIFY(b.box.top() >= 30);
    // The vertical line spans its band.
    QCOMPARE(one.lines[0].line, QLineF(105, 40, 105, 45));
    // The footer at the bottom margin.
    QCOMPARE(one.findText(QStringLiteral("Page 1"))->box, QRectF(130, 280, 25, 4));
}

void TestLayout::emptySource() {
    test::DancerTable dancerTable(0);
    test::SampleReport report(&dancerTable.table);
    QCOMPARE(render::layOut(report, fixedClock()).document.pageCount(), 0);

    // A source that prints when empty prints its detail band once, fields empty.
    report.printIfEmpty = true;
    const render::Document doc = render::layOut(report, fixedClock()).document;
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(bandLetters(doc.pages[0]), QStringLiteral("THDF"));
    QCOMPARE(doc.pages[0].bands[2].record, -1);
    // Without a record a masked number prints 0 under its mask, anything else nothing.
    QVERIFY(doc.pages[0].findText(QStringLiteral("0.00")));
    QCOMPARE(doc.pages[0].bands[2].box.top(), 40.0);
    for (const render::PlacedText& t : doc.pages[0].texts)
        QVERIFY2(t.box.top() < 40 || t.box.top() > 45 || t.text == QStringLiteral("0.00"),
                 qPrintable(t.text));

    // A closed source is empty too.
    test::DancerTable full(5);
    full.table.close();
    test::SampleReport closed(&full.table);
    QCOMPARE(render::layOut(closed, fixedClock()).document.pageCount(), 0);
}

void TestLayout::currentOrderAndFilter() {
    test::DancerTable dancerTable(10);
    engine::Table& t = dancerTable.table;
    t.addIndex(QStringLiteral("byscore"), QStringLiteral("SCORE"), /*descending=*/false);
    t.updateIndexDefs();
    t.setIndexName(QStringLiteral("byscore"));
    t.setFilter(QStringLiteral("SCORE < 490"));
    t.setFiltered(true);
    test::SampleReport report(&t);
    const render::Page page = render::layOut(report, fixedClock()).document.pages[0];
    // Ascending score: dancer 10 (477.5) first; dancers 1 to 5 (500 to 490) filtered out.
    QCOMPARE(detailRecords(page).size(), 5);
    QCOMPARE(page.findText(QStringLiteral("110"))->box.top(), 40.5);
    QCOMPARE(page.findText(QStringLiteral("106"))->box.top(), 60.5);
    QVERIFY(!page.findText(QStringLiteral("105")));
}

void TestLayout::systemTexts() {
    test::DancerTable dancerTable(1);
    test::SampleReport report(&dancerTable.table);
    render::LayoutOptions options = fixedClock();
    const render::Page page = render::layOut(report, options).document.pages[0];
    QVERIFY(page.findText(options.locale.toString(QDate(2026, 3, 17), QLocale::ShortFormat)));
    QVERIFY(page.findText(options.locale.toString(QTime(14, 5), QLocale::ShortFormat)));
    // The report title's value is empty: its prefix prints alone.
    QCOMPARE(page.findText(QStringLiteral("Second line"))->pointSize, 10.0);
    report.item(QStringLiteral("ReportTitle"))->prefix = QStringLiteral("U12GIRLS");
    const render::Page again = render::layOut(report, options).document.pages[0];
    QVERIFY(again.findText(QStringLiteral("U12GIRLS")));
    QVERIFY(!again.findText(QStringLiteral("Second line")));
}

void TestLayout::conditionalText() {
    test::DancerTable dancerTable(3);
    test::SampleReport report(&dancerTable.table);
    report.addCondition(report.detail, QStringLiteral("Posn"), QRectF(150, 0.5, 20, 4),
                        [](const render::RecordView& r) {
                            return r.number(QStringLiteral("SCORE")) > 496
                                       ? r.text(QStringLiteral("COMP_NO"))
                                       : QStringLiteral("-.-");
                        });
    const render::Page page = render::layOut(report, fixedClock()).document.pages[0];
    QCOMPARE(page.findText(QStringLiteral("-.-"))->box.top(), 50.5); // third row: 495
    int dashes = 0;
    for (const render::PlacedText& t : page.texts)
        dashes += t.text == QStringLiteral("-.-");
    QCOMPARE(dashes, 1);
}

void TestLayout::pictures() {
    test::DancerTable dancerTable(1);
    test::SampleReport report(&dancerTable.table);
    QImage own(48, 24, QImage::Format_RGB32);
    own.setDotsPerMeterX(3780); // 96 dpi: 48 px is 12.7 mm
    own.setDotsPerMeterY(3780);
    report.addPicture(report.title, QStringLiteral("Scaled"), QRectF(0, 0, 12, 12),
                      render::builtInLogo(), render::PictureMode::Stretch);
    report.addPicture(report.title, QStringLiteral("Own"), QRectF(100, 0, 12, 12), own,
                      render::PictureMode::OwnSize);
    const render::Page page = render::layOut(report, fixedClock()).document.pages[0];
    QCOMPARE(page.pictures.size(), std::size_t(2));
    QCOMPARE(page.pictures[0].clip, QRectF(10, 10, 12, 12));
    QCOMPARE(page.pictures[0].target, QRectF(10, 10, 12, 12));
    QCOMPARE(page.pictures[1].clip, QRectF(110, 10, 12, 12));
    QVERIFY(near(page.pictures[1].target.width(), 48 / 3.78));
    QVERIFY(near(page.pictures[1].target.height(), 24 / 3.78));
    QCOMPARE(page.pictures[1].target.topLeft(), QPointF(110, 10));
}

void TestLayout::logoFiles() {
    test::DancerTable dancerTable(1);
    test::SampleReport report(&dancerTable.table);
    report.addPicture(report.title, QStringLiteral("Logo"), QRectF(0, 0, 12, 12),
                      render::builtInLogo(), render::PictureMode::Stretch,
                      QStringLiteral("logo.bmp"));
    render::LayoutOptions options = fixedClock();
    options.dataFolder = dancerTable.folder();
    const QString logoPath = dancerTable.folder() + QStringLiteral("/logo.bmp");

    // No file: the built-in picture.
    QCOMPARE(render::layOut(report, options).document.pages[0].pictures[0].image,
             render::builtInLogo());

    // A file in the data folder replaces it at the next layout...
    QImage red(20, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(logoPath, "BMP"));
    QCOMPARE(render::layOut(report, options).document.pages[0].pictures[0].image.pixelColor(5, 5),
             QColor(Qt::red));
    // ...and stays after the file is removed.
    QVERIFY(QFile::remove(logoPath));
    QCOMPARE(render::layOut(report, options).document.pages[0].pictures[0].image.pixelColor(5, 5),
             QColor(Qt::red));

    // A file that is no picture is reported and changes nothing.
    QFile junk(logoPath);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a bitmap");
    junk.close();
    const render::LayoutResult result = render::layOut(report, options);
    QCOMPARE(result.unreadableLogos.size(), 1);
    QCOMPARE(result.document.pages[0].pictures[0].image.pixelColor(5, 5), QColor(Qt::red));
}

void TestLayout::unknownField() {
    test::DancerTable dancerTable(2);
    test::SampleReport report(&dancerTable.table);
    report.item(QStringLiteral("Score"))->field = QStringLiteral("NOSUCH");
    QVERIFY_THROWS_EXCEPTION(render::RenderError, render::layOut(report, fixedClock()));
    try {
        render::layOut(report, fixedClock());
    } catch (const render::RenderError& e) {
        QVERIFY(e.message().contains(QStringLiteral("NOSUCH")));
    }
}

void TestLayout::landscape() {
    test::DancerTable dancerTable(40);
    test::SampleReport report(&dancerTable.table);
    report.page.orientation = render::Orientation::Landscape;
    const render::Document doc = render::layOut(report, fixedClock()).document;
    QCOMPARE(doc.orientation, render::Orientation::Landscape);
    QCOMPARE(doc.pages[0].size, QSizeF(297, 210));
    // 190 mm of content: 150 mm for rows under title, header and footer (30 rows).
    QCOMPARE(detailRecords(doc.pages[0]).size(), 30);
    QCOMPARE(doc.pages[0].boxes[1].box.width(), 277.0);
}

void TestLayout::fitting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("shrink");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("fits"); // every line within the box's width

    const QString longName = QStringLiteral("Seán Ó Súilleabháin-MacCarthy");
    QTest::newRow("fits as it is") << QStringLiteral("Mary Kelly") << 40.0 << true << true
                                   << QStringList{"Mary Kelly"} << true;
    QTest::newRow("printed smaller")
        << longName << 35.0 << true << false << QStringList{longName} << true;
    QTest::newRow("no fitting asked: cut off")
        << longName << 20.0 << false << false << QStringList{longName} << false;
    QTest::newRow("smallest size still too wide, one line")
        << longName << 15.0 << true << false << QStringList{longName} << false;
    QTest::newRow("two lines, broken after the hyphen")
        << longName << 22.0 << false << true << QStringList{"Seán Ó Súilleabháin-", "MacCarthy"}
        << true;
    QTest::newRow("two lines, broken at the middle space")
        << QStringLiteral("Máire Ní Bhriain Fitzgerald") << 20.0 << true << true
        << QStringList{"Máire Ní Bhriain", "Fitzgerald"} << true;
    QTest::newRow("one word cannot be broken")
        << QStringLiteral("Súilleabháinmaccarthaigh") << 12.0 << true << true
        << QStringList{"Súilleabháinmaccarthaigh"} << false;
}

void TestLayout::fitting() {
    QFETCH(QString, text);
    QFETCH(double, width);
    QFETCH(bool, shrink);
    QFETCH(bool, wrap);
    QFETCH(QStringList, lines);
    QFETCH(bool, fits);
    render::ReportDefinition report(QStringLiteral("TFit"));
    report.printIfEmpty = true;
    report.detail.height = 10;
    render::Item& item =
        report.addText(report.detail, QStringLiteral("Name"), QRectF(20, 1, width, 4), text, 8);
    item.shrinkToFit = shrink;
    item.wrapToFit = wrap;
    const render::Page page = render::layOut(report).document.pages.at(0);

    QStringList placed;
    for (const render::PlacedText& t : page.texts)
        placed << t.text;
    QCOMPARE(placed, lines);
    const double fullWidth = render::textWidthMm(text, 8, false);
    for (std::size_t i = 0; i < page.texts.size(); ++i) {
        const render::PlacedText& t = page.texts[i];
        QCOMPARE(t.box.left(), 30.0);
        QCOMPARE(t.box.width(), width);
        // As large as fits: full size when the whole text fits, never below 6 pt.
        QVERIFY(t.pointSize <= 8 && t.pointSize >= render::kSmallestFitSize);
        if (fullWidth <= width || (!shrink && !wrap))
            QCOMPARE(t.pointSize, 8.0);
        QCOMPARE(render::textWidthMm(t.text, t.pointSize, false) <= width, fits);
        if (i > 0) // the second line under the first
            QVERIFY(t.box.top() >= page.texts[i - 1].box.bottom() - 0.01);
    }
    // A shrunk text is not shrunk further than it needs.
    if (shrink && !wrap && fits)
        QVERIFY(render::textWidthMm(text, page.texts[0].pointSize + 0.5, false) > width);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

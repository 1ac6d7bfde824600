#include "RenderFixture.h"
#include "render/DocumentFile.h"
#include "render/Layout.h"
#include "render/PdfOutput.h"
#include "render/Pictures.h"
#include "render/RenderError.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace jt;

namespace {

render::Document sampleDocument(test::DancerTable& table) {
    test::SampleReport report(&table.table);
    report.addPicture(report.title, QStringLiteral("Logo"), QRectF(0, 0, 12, 12),
                      render::builtInLogo(), render::PictureMode::Stretch);
    render::LayoutOptions options;
    options.now = QDateTime(QDate(2026, 3, 17), QTime(14, 5));
    return render::layOut(report, options).document;
}

QImage paint(const render::Page& page, double pixelsPerMm) {
    QImage image(int(page.size.width() * pixelsPerMm), int(page.size.height() * pixelsPerMm),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    render::paintPage(painter, page, pixelsPerMm);
    painter.end();
    return image;
}

// Dark pixels in a rectangle given in millimetres.
int inkIn(const QImage& image, const QRectF& mm, double pixelsPerMm) {
    int ink = 0;
    const QRect px(int(mm.left() * pixelsPerMm), int(mm.top() * pixelsPerMm),
                   int(mm.width() * pixelsPerMm), int(mm.height() * pixelsPerMm));
    for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 100;
    return ink;
}

} // namespace

class TestOutput final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paintsWhereLaidOut();
    void pdfHasTextAtItsPlace();
    void pdfOfEmptyReportRefused();
    void savedReportLoadsAgain();
    void damagedSavedReportRefused_data();
    void damagedSavedReportRefused();
};

void TestOutput::paintsWhereLaidOut() {
    test::DancerTable table(60);
    const render::Document doc = sampleDocument(table);
    const double scale = 4; // pixels per millimetre
    const QImage image = paint(doc.pages[0], scale);
    if (const QByteArray dir = qgetenv("JT_RENDER_PNG_DIR"); !dir.isEmpty())
        image.save(QString::fromLocal8Bit(dir) + QStringLiteral("/sample-page1.png"));

    // Column header (30 to 40 mm) grey inside its frame, the detail rows white.
    QCOMPARE(image.pixelColor(int(60 * scale), int(31 * scale)), render::kSilver);
    QCOMPARE(image.pixelColor(int(120 * scale), int(44 * scale)), QColor(Qt::white));
    // The frame's left edge at 10 mm runs down the detail rows; the footer is grey.
    QVERIFY(qGray(image.pixel(int(10 * scale), int(60 * scale))) < 128);
    QCOMPARE(image.pixelColor(int(100 * scale), int(278 * scale)), render::kSilver);
    // Text ink where the first dancer's number is laid out (right-aligned at 32 mm) and
    // none to the left of its box's text.
    QVERIFY(inkIn(image, QRectF(25, 40.6, 7, 3), scale) > 5);
    QCOMPARE(inkIn(image, QRectF(13, 40.6, 9, 3), scale), 0);
    // The vertical rule at 105 mm inside a row, nothing at 106 mm.
    int darkest = 255;
    for (int x = int(104.5 * scale); x <= int(105.5 * scale); ++x)
        darkest = std::min(darkest, qGray(image.pixel(x, int(42 * scale))));
    QVERIFY2(darkest < 160, qPrintable(QString::number(darkest)));
    QCOMPARE(qGray(image.pixel(int(107 * scale), int(42 * scale))), 255);
    // The logo's green at the top left corner.
    const QColor logo = image.pixelColor(int(10.9 * scale), int(16 * scale));
    QVERIFY(logo.green() > logo.red());
}

void TestOutput::pdfHasTextAtItsPlace() {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    test::DancerTable table(60);
    const render::Document doc = sampleDocument(table);
    const QString pdf = table.folder() + QStringLiteral("/sample.pdf");
    render::writePdf(doc, pdf);

    QProcess process;
    process.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(30000));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    QCOMPARE(html.count(QStringLiteral("<page ")), 2);
    QVERIFY(html.contains(QStringLiteral(">Banner<")));
    QVERIFY(html.contains(QStringLiteral(">Page</word>")));
    // The first dancer's number: right edge at 32 mm, top at 40.5 mm (in points).
    const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">101</word>)re"));
    const QRegularExpressionMatch m = word.match(html);
    QVERIFY2(m.hasMatch(), qPrintable(html.left(2000)));
    const double mmPerPt = 25.4 / 72;
    QVERIFY2(std::abs(m.captured(3).toDouble() * mmPerPt - 32) < 0.5, qPrintable(m.captured(0)));
    QVERIFY2(m.captured(2).toDouble() * mmPerPt > 40 && m.captured(4).toDouble() * mmPerPt < 44.5,
             qPrintable(m.captured(0)));
    // The page is A4.
    const QRegularExpression page(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    const QRegularExpressionMatch size = page.match(html);
    QVERIFY(size.hasMatch());
    QVERIFY2(std::abs(size.captured(1).toDouble() - 595.3) < 1 &&
                 std::abs(size.captured(2).toDouble() - 841.9) < 1,
             qPrintable(size.captured(0)));
}

void TestOutput::pdfOfEmptyReportRefused() {
    test::DancerTable table(0);
    QVERIFY(sampleDocument(table).isEmpty());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY_THROWS_EXCEPTION(render::RenderError, render::writePdf(sampleDocument(table), &buffer));
}

void TestOutput::savedReportLoadsAgain() {
    test::DancerTable table(60);
    const render::Document doc = sampleDocument(table);
    const QString path = table.folder() + QStringLiteral("/saved.jtr");
    render::saveDocument(doc, path);
    const render::Document loaded = render::loadDocument(path);
    QCOMPARE(loaded.title, doc.title);
    QCOMPARE(loaded.pageCount(), doc.pageCount());
    for (int p = 0; p < doc.pageCount(); ++p) {
        // Painted again, a loaded page is the same picture as the one laid out.
        QCOMPARE(paint(loaded.pages[std::size_t(p)], 2), paint(doc.pages[std::size_t(p)], 2));
        QCOMPARE(loaded.pages[std::size_t(p)].bands.size(), doc.pages[std::size_t(p)].bands.size());
    }
}

void TestOutput::damagedSavedReportRefused_data() {
    QTest::addColumn<int>("cut"); // bytes kept; -1 flips the magic
    QTest::newRow("empty") << 0;
    QTest::newRow("header only") << 8;
    QTest::newRow("cut in a page") << 400;
    QTest::newRow("wrong magic") << -1;
}

void TestOutput::damagedSavedReportRefused() {
    QFETCH(int, cut);
    test::DancerTable table(5);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    render::saveDocument(sampleDocument(table), buffer);
    QByteArray bytes = buffer.data();
    if (cut >= 0)
        bytes.truncate(cut);
    else
        bytes[0] = 'X';
    QBuffer damaged(&bytes);
    damaged.open(QIODevice::ReadOnly);
    try {
        render::loadDocument(damaged, QStringLiteral("bad.jtr"));
        QFAIL("a damaged file was loaded");
    } catch (const render::RenderError& e) {
        QVERIFY(e.message().contains(QStringLiteral("bad.jtr")));
    }
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"

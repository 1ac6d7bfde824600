#include "preview/PageView.h"
#include "preview/PreviewWindow.h"
#include "preview/Printing.h"
#include "render/DocumentFile.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace jt;

namespace {

// A report of n pages, each with its number as text.
render::Document pages(int n, render::Orientation orientation = render::Orientation::Portrait) {
    render::Document doc;
    doc.title = QStringLiteral("TSample");
    doc.orientation = orientation;
    for (int i = 1; i <= n; ++i) {
        render::Page page;
        page.size =
            orientation == render::Orientation::Portrait ? QSizeF(210, 297) : QSizeF(297, 210);
        page.texts.push_back({QRectF(20, 20, 80, 8), QStringLiteral("Sheet %1").arg(i), 12, true,
                              render::Align::Left, true});
        page.boxes.push_back({QRectF(10, 40, 190, 10), render::kSilver, render::kAllEdges});
        doc.pages.push_back(page);
    }
    return doc;
}

void trigger(QWidget& window, const char* name) {
    QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(action, name);
    action->trigger();
}

bool enabled(QWidget& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
}

// pdfinfo's "Page N size" lines: each page's width and height in points.
QList<QSizeF> pdfPageSizes(const QString& path) {
    QList<QSizeF> sizes;
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty())
        return sizes;
    QProcess p;
    p.start(pdfinfo, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                      QStringLiteral("99"), path});
    p.waitForFinished(30000);
    const QRegularExpression line(QStringLiteral(R"(^Page +\d+ size: +([\d.]+) x ([\d.]+))"),
                                  QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return sizes;
}

int pdfPages(const QString& path) {
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty())
        return -1;
    QProcess p;
    p.start(pdfinfo, {path});
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& line : out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

class TestPreview final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paging();
    void zoom();
    void emptyReport();
    void saveAndLoad();
    void loadDamagedFile();
    void printGoesThroughDialogs();
    void noPrinterOffersPdf_data();
    void noPrinterOffersPdf();
    void noPrinterOnePdfForSeveral();
    void pageRangeAndCopies();
};

void TestPreview::paging() {
    test::ScriptedDialogs script;
    preview::PreviewWindow window(pages(3));
    auto* label = window.findChild<QLabel*>(QStringLiteral("PageLabel"));
    QCOMPARE(window.currentPage(), 1);
    QCOMPARE(label->text(), QStringLiteral("Page 1 of 3"));
    QVERIFY(!enabled(window, "FirstPage") && !enabled(window, "PriorPage"));
    QVERIFY(enabled(window, "NextPage") && enabled(window, "LastPage"));
    trigger(window, "NextPage");
    QCOMPARE(window.currentPage(), 2);
    trigger(window, "LastPage");
    QCOMPARE(window.currentPage(), 3);
    QCOMPARE(label->text(), QStringLiteral("Page 3 of 3"));
    QVERIFY(!enabled(window, "NextPage"));
    window.NextClick(); // past the end stays on the last page
    QCOMPARE(window.currentPage(), 3);
    trigger(window, "PriorPage");
    QCOMPARE(window.currentPage(), 2);
    trigger(window, "FirstPage");
    QCOMPARE(window.currentPage(), 1);
    QVERIFY(script.messages().isEmpty());
}

void TestPreview::zoom() {
    test::ScriptedDialogs script;
    preview::PreviewWindow window(pages(1));
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* view = window.findChild<preview::PageView*>();
    auto* scroll = window.findChild<QWidget*>(QStringLiteral("PageScroll"));
    // As opened, the whole page fills the window's height, not the size the page area had
    // before the window was laid out.
    QVERIFY2(
        view->height() >= scroll->height() * 9 / 10,
        qPrintable(QStringLiteral("page %1 high in %2").arg(view->height()).arg(scroll->height())));
    trigger(window, "Zoom100");
    QCOMPARE(window.zoom(), preview::PreviewWindow::Zoom::Actual);
    QCOMPARE(view->pixelsPerMm(), window.logicalDpiX() / 25.4);
    QCOMPARE(view->width(), int(210 * view->pixelsPerMm()) + 2 * preview::PageView::kDesk);
    trigger(window, "ZoomWholePage");
    const double whole = view->pixelsPerMm();
    // The whole page fits the window's height.
    QVERIFY(view->height() <= window.findChild<QWidget*>(QStringLiteral("PageScroll"))->height());
    if (const QByteArray out = qgetenv("JT_RENDER_PNG_DIR"); !out.isEmpty())
        window.grab().save(QString::fromLocal8Bit(out) + QStringLiteral("/preview-window.png"));
    trigger(window, "ZoomPageWidth");
    QVERIFY(view->pixelsPerMm() > whole); // a portrait page in a wide window: width is larger
}

void TestPreview::emptyReport() {
    test::ScriptedDialogs script;
    preview::PreviewWindow window((render::Document()));
    QCOMPARE(window.currentPage(), 0);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("PageLabel"))->text(),
             QStringLiteral("No pages"));
    QVERIFY(!enabled(window, "PrintReport"));
    QVERIFY(!enabled(window, "NextPage"));
}

void TestPreview::saveAndLoad() {
    QTemporaryDir dir;
    test::ScriptedDialogs script;
    const QString saved = dir.filePath(QStringLiteral("report.jtr"));
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    {
        preview::PreviewWindow window(pages(3));
        script.answerSaveFile(saved);
        trigger(window, "SaveReport");
        script.answerSaveFile(pdf);
        trigger(window, "SaveReport");
        script.answerSaveFile(std::nullopt); // cancelled: nothing written
        trigger(window, "SaveReport");
    }
    QVERIFY(QFile::exists(saved));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    if (const int n = pdfPages(pdf); n >= 0)
        QCOMPARE(n, 3);

    // Loading a saved report shows its pages in place of the ones shown.
    preview::PreviewWindow other(pages(1));
    script.answerFile(saved);
    trigger(other, "LoadReport");
    QCOMPARE(other.document().pageCount(), 3);
    QCOMPARE(other.currentPage(), 1);
    QVERIFY(other.document().pages[2].findText(QStringLiteral("Sheet 3")));
    QVERIFY(script.messages().isEmpty());
    QVERIFY(script.allAnswered());
}

void TestPreview::loadDamagedFile() {
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.jtr"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a report");
    file.close();
    test::ScriptedDialogs script;
    preview::PreviewWindow window(pages(2));
    script.answerFile(bad);
    trigger(window, "LoadReport");
    // The error is shown and the report on screen stays.
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages()[0].type, platform::MessageType::Error);
    QVERIFY(script.messages()[0].text.contains(QStringLiteral("bad.jtr")));
    QCOMPARE(window.document().pageCount(), 2);
}

void TestPreview::printGoesThroughDialogs() {
    test::ScriptedDialogs script;
    preview::PreviewWindow window(pages(2, render::Orientation::Landscape));
    script.answerPrint(platform::PrintOutcome::Printed);
    trigger(window, "PrintReport");
    QCOMPARE(script.printed().size(), 1);
    QCOMPARE(script.printed()[0].mode, platform::PrintMode::Ask);
    QCOMPARE(script.printed()[0].document.pageCount(), 2);
    QCOMPARE(script.printed()[0].document.orientation, render::Orientation::Landscape);
    trigger(window, "PrinterSetup");
    QCOMPARE(script.printerSetups(), 1);
}

void TestPreview::noPrinterOffersPdf_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("chooseFile");
    QTest::addColumn<int>("outcome");
    QTest::newRow("saved as PDF") << true << true << int(platform::PrintOutcome::SavedAsPdf);
    QTest::newRow("declined") << false << false << int(platform::PrintOutcome::Cancelled);
    QTest::newRow("no file chosen") << true << false << int(platform::PrintOutcome::Cancelled);
}

void TestPreview::noPrinterOffersPdf() {
    QFETCH(bool, accept);
    QFETCH(bool, chooseFile);
    QFETCH(int, outcome);
    if (preview::printerInstalled())
        QSKIP("a printer is installed on this machine");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("instead.pdf"));
    test::ScriptedDialogs script;
    for (const platform::PrintMode mode : {platform::PrintMode::Ask, platform::PrintMode::Direct}) {
        script.answerMessage(accept ? platform::Yes : platform::No);
        if (accept)
            script.answerSaveFile(chooseFile ? std::optional<QString>(pdf) : std::nullopt);
        QCOMPARE(int(preview::printDocument(pages(2), mode, nullptr)), outcome);
        QCOMPARE(script.messages().last().text, preview::kNoPrinterText);
        QCOMPARE(QFile::exists(pdf), accept && chooseFile);
        if (accept && chooseFile) {
            if (const int n = pdfPages(pdf); n >= 0)
                QCOMPARE(n, 2);
        }
        QFile::remove(pdf);
    }
    QVERIFY(script.allAnswered());
}

void TestPreview::noPrinterOnePdfForSeveral() {
    // Reports that would be print jobs of their own go into one PDF after one question;
    // a report without pages is left out, and each page keeps its orientation.
    if (preview::printerInstalled())
        QSKIP("a printer is installed on this machine");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
    test::ScriptedDialogs script;
    script.answerMessage(platform::Yes);
    script.answerSaveFile(pdf);
    const std::vector<render::Document> reports{pages(2), render::Document(),
                                                pages(1, render::Orientation::Landscape), pages(1)};
    QCOMPARE(preview::printDocuments(reports, platform::PrintMode::Direct, nullptr),
             platform::PrintOutcome::SavedAsPdf);
    QCOMPARE(script.messageTexts(), QStringList{preview::kNoPrinterText});
    QVERIFY(script.allAnswered());
    const QList<QSizeF> sizes = pdfPageSizes(pdf);
    if (sizes.isEmpty())
        QSKIP("pdfinfo (poppler-utils) is not installed");
    QCOMPARE(sizes.size(), 4);
    for (int i = 0; i < 4; ++i)
        QVERIFY2((sizes[i].width() > sizes[i].height()) == (i == 2),
                 qPrintable(QString::number(i)));

    // Nothing to print at all: said once, no question.
    script.clear();
    QCOMPARE(preview::printDocuments({render::Document(), render::Document()},
                                     platform::PrintMode::Direct, nullptr),
             platform::PrintOutcome::Cancelled);
    QCOMPARE(script.messageTexts(), QStringList{preview::kNoPagesText});
}

void TestPreview::pageRangeAndCopies() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setFullPage(true);
    preview::printPages(printer, pages(4), 2, 3, 2);
    const int n = pdfPages(pdf);
    if (n < 0)
        QSKIP("pdfinfo (poppler-utils) is not installed");
    QCOMPARE(n, 4); // pages 2 and 3, twice
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"

#include "PreviewWindow.h"

#include "PageView.h"
#include "Printing.h"
#include "platform/Guarded.h"
#include "render/DocumentFile.h"
#include "render/PdfOutput.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace jt::preview {

PreviewWindow::PreviewWindow(render::Document document, QWidget* parent)
    : QDialog(parent), m_document(std::move(document)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Print Preview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    m_toolBar = bar;
    layout->addWidget(bar);

    const auto command = [&](const char* name, const QString& text, const QString& tip,
                             auto handler) {
        QAction* a = addCommand(name, text, tip);
        bar->addAction(a);
        platform::connectGuarded(a, &QAction::triggered, this, handler);
        return a;
    };
    command("ZoomWholePage", QStringLiteral("Whole Page"), QStringLiteral("Zoom to the whole page"),
            [this] { setZoom(Zoom::WholePage); });
    command("Zoom100", QStringLiteral("100 %"), QStringLiteral("Zoom to the page's own size"),
            [this] { setZoom(Zoom::Actual); });
    command("ZoomPageWidth", QStringLiteral("Page Width"),
            QStringLiteral("Zoom to the page's width"), [this] { setZoom(Zoom::PageWidth); });
    bar->addSeparator();
    command("FirstPage", QStringLiteral("|<"), QStringLiteral("First page"),
            [this] { FirstClick(); });
    command("PriorPage", QStringLiteral("<"), QStringLiteral("Previous page"),
            [this] { PriorClick(); });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("PageLabel"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    command("NextPage", QStringLiteral(">"), QStringLiteral("Next page"), [this] { NextClick(); });
    command("LastPage", QStringLiteral(">|"), QStringLiteral("Last page"), [this] { LastClick(); });
    bar->addSeparator();
    command("PrinterSetup", QStringLiteral("Printer Setup"), QStringLiteral("Printer set-up"),
            [this] { PrinterSetupClick(); });
    command("PrintReport", QStringLiteral("Print"), QStringLiteral("Print the report"),
            [this] { PrintClick(); });
    command("SaveReport", QStringLiteral("Save"), QStringLiteral("Save the report to a file"),
            [this] { SaveClick(); });
    command("LoadReport", QStringLiteral("Load"), QStringLiteral("Load a saved report"),
            [this] { LoadClick(); });
    bar->addSeparator();
    command("ClosePreview", QStringLiteral("Close"), QStringLiteral("Close the preview"),
            [this] { accept(); });

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("PageScroll"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView;
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    if (const QScreen* screen = QApplication::primaryScreen())
        resize(screen->availableSize() * 0.85);
    else
        resize(900, 1000);
    m_page = m_document.isEmpty() ? 0 : 1;
    showPage();
}

PreviewWindow::~PreviewWindow() = default;

QAction* PreviewWindow::addCommand(const char* name, const QString& text, const QString& tip) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(tip);
    return action;
}

double PreviewWindow::scale() const {
    const QSizeF mm =
        m_page > 0 ? m_document.pages[std::size_t(m_page - 1)].size : QSizeF(210, 297);
    const double actual = logicalDpiX() / 25.4;
    const QSize room =
        m_scroll->maximumViewportSize() - QSize(2 * PageView::kDesk, 2 * PageView::kDesk);
    switch (m_zoom) {
    case Zoom::Actual:
        return actual;
    case Zoom::PageWidth:
        return std::max(0.5, (room.width() - m_scroll->verticalScrollBar()->sizeHint().width()) /
                                 mm.width());
    case Zoom::WholePage:
        break;
    }
    return std::max(0.5, std::min(room.width() / mm.width(), room.height() / mm.height()));
}

void PreviewWindow::setZoom(Zoom zoom) {
    m_zoom = zoom;
    showPage();
}

void PreviewWindow::goToPage(int page) {
    if (m_document.isEmpty())
        return;
    m_page = std::clamp(page, 1, m_document.pageCount());
    showPage();
}

void PreviewWindow::showPage() {
    const render::Page* page = m_page > 0 ? &m_document.pages[std::size_t(m_page - 1)] : nullptr;
    m_view->setPage(page, scale());
    m_pageLabel->setText(
        m_document.isEmpty()
            ? QStringLiteral("No pages")
            : QStringLiteral("Page %1 of %2").arg(m_page).arg(m_document.pageCount()));
    const QList<QAction*> actions = findChildren<QAction*>();
    for (QAction* a : actions) {
        const QString name = a->objectName();
        if (name == QLatin1String("FirstPage") || name == QLatin1String("PriorPage"))
            a->setEnabled(m_page > 1);
        else if (name == QLatin1String("NextPage") || name == QLatin1String("LastPage"))
            a->setEnabled(m_page < m_document.pageCount());
        else if (name == QLatin1String("PrintReport") || name == QLatin1String("SaveReport"))
            a->setEnabled(!m_document.isEmpty());
    }
}

void PreviewWindow::PrintClick() {
    platform::dialogs().print(m_document, platform::PrintMode::Ask);
}

void PreviewWindow::PrinterSetupClick() {
    platform::dialogs().printerSetup();
}

void PreviewWindow::SaveClick() {
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Save Report");
    options.filter = QStringLiteral("Jigtally reports (*.jtr);;PDF files (*.pdf)");
    options.defaultSuffix = render::kDocumentSuffix;
    options.mustExist = false;
    const std::optional<QString> path = platform::dialogs().saveFileName(options);
    if (!path)
        return;
    if (QFileInfo(*path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        render::writePdf(m_document, *path);
    else
        render::saveDocument(m_document, *path);
}

void PreviewWindow::LoadClick() {
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Load Report");
    options.filter = QStringLiteral("Jigtally reports (*.jtr)");
    options.defaultSuffix = render::kDocumentSuffix;
    const std::optional<QString> path = platform::dialogs().openFileName(options);
    if (!path)
        return;
    m_document = render::loadDocument(*path);
    m_page = m_document.isEmpty() ? 0 : 1;
    showPage();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_zoom != Zoom::Actual)
        showPage();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        NextClick();
        return;
    case Qt::Key_PageUp:
        PriorClick();
        return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            FirstClick();
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            LastClick();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void showPreview(const render::Document& document) {
    PreviewWindow window(document, QApplication::activeWindow());
    window.exec();
}

} // namespace jt::preview

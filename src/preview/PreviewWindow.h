#pragma once

#include "render/Document.h"

#include <QDialog>

class QAction;
class QLabel;
class QScrollArea;

namespace jt::preview {

class PageView;

// The preview of a laid-out report: zoom (whole page, 100 %, page width), paging,
// printer set-up, print, save and load, close. Shown modally, so whoever opened it
// waits until it is closed. Printing, file choice and messages go through the
// program's dialog interface.
class PreviewWindow final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewWindow)

public:
    enum class Zoom { WholePage, Actual, PageWidth };

    explicit PreviewWindow(render::Document document, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const render::Document& document() const { return m_document; }
    int currentPage() const { return m_page; } // 1-based; 0 when there are no pages
    Zoom zoom() const { return m_zoom; }
    double scale() const; // screen pixels per millimetre shown now

    void setZoom(Zoom zoom);
    void goToPage(int page);

    // The toolbar's commands.
    void FirstClick() { goToPage(1); }
    void PriorClick() { goToPage(m_page - 1); }
    void NextClick() { goToPage(m_page + 1); }
    void LastClick() { goToPage(m_document.pageCount()); }
    void PrintClick();
    void PrinterSetupClick();
    void SaveClick();
    void LoadClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* addCommand(const char* name, const QString& text, const QString& tip);
    void showPage();

    render::Document m_document;
    int m_page = 0;
    Zoom m_zoom = Zoom::WholePage;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QWidget* m_toolBar = nullptr;
};

// Shows a report's preview modally over the active window.
void showPreview(const render::Document& document);

} // namespace jt::preview

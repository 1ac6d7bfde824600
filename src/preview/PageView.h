#pragma once

#include <QWidget>

namespace jt::render {
struct Page;
}

namespace jt::preview {

// One page of a laid-out report drawn at a scale, on a grey desk with a shadow.
class PageView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageView)

public:
    explicit PageView(QWidget* parent = nullptr);

    // The page to show (nullptr: none) and the scale in screen pixels per millimetre.
    void setPage(const render::Page* page, double pixelsPerMm);
    double pixelsPerMm() const { return m_pixelsPerMm; }
    static constexpr int kDesk = 12; // pixels of desk around the page

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const render::Page* m_page = nullptr;
    double m_pixelsPerMm = 1;
};

} // namespace jt::preview

#include "PageView.h"

#include "render/Document.h"

#include <QPainter>

namespace jt::preview {

PageView::PageView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageView"));
    setAutoFillBackground(false);
}

void PageView::setPage(const render::Page* page, double pixelsPerMm) {
    m_page = page;
    m_pixelsPerMm = pixelsPerMm;
    const QSizeF mm = page ? page->size : QSizeF(210, 297);
    setFixedSize(int(mm.width() * pixelsPerMm) + 2 * kDesk,
                 int(mm.height() * pixelsPerMm) + 2 * kDesk);
    update();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    const QRect paper = rect().adjusted(kDesk, kDesk, -kDesk, -kDesk);
    painter.fillRect(paper.translated(4, 4), QColor(0x40, 0x40, 0x40));
    painter.fillRect(paper, Qt::white);
    if (!m_page)
        return;
    painter.translate(paper.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), paper.size()));
    render::paintPage(painter, *m_page, m_pixelsPerMm);
}

} // namespace jt::preview

#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace jt::render {
namespace {

const QColor kGreen(0x1B, 0x6B, 0x3A);
const QColor kGold(0xE8, 0xB3, 0x2E);

// A shamrock of three leaves and a stem, centred at c with leaves of radius r.
void drawShamrock(QPainter& p, QPointF c, double r, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(c.x(), c.y() - r * 0.95), r, r);
    p.drawEllipse(QPointF(c.x() - r * 0.95, c.y() + r * 0.15), r, r);
    p.drawEllipse(QPointF(c.x() + r * 0.95, c.y() + r * 0.15), r, r);
    QPen stem(colour, r * 0.35, Qt::SolidLine, Qt::RoundCap);
    p.setPen(stem);
    QPainterPath path(c);
    path.quadTo(QPointF(c.x() + r * 0.2, c.y() + r * 1.6),
                QPointF(c.x() + r * 0.9, c.y() + r * 2.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QImage drawLogo() {
    QImage image(120, 120, QImage::Format_RGB32);
    // Ten pixels to the millimetre: at its own size it fills the 12 mm logo square.
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRoundedRect(QRectF(4, 4, 112, 112), 18, 18);
    p.setPen(QPen(kGold, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(16, 16, 88, 88));
    drawShamrock(p, QPointF(60, 58), 15, Qt::white);
    return image;
}

QImage drawBigLogo() {
    QImage image(358, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRoundedRect(QRectF(6, 6, 346, 208), 24, 24);
    // Three gold bands sweep across like a dancer's step.
    p.setBrush(kGold);
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const double y = 150 + i * 18;
        wave.moveTo(20, y);
        wave.cubicTo(110, y - 40, 230, y + 30, 338, y - 20);
        wave.lineTo(338, y - 12);
        wave.cubicTo(230, y + 38, 110, y - 32, 20, y + 8);
        wave.closeSubpath();
        p.drawPath(wave);
    }
    drawShamrock(p, QPointF(179, 70), 28, Qt::white);
    return image;
}

} // namespace

const QImage& builtInLogo() {
    static const QImage logo = drawLogo();
    return logo;
}

const QImage& builtInBigLogo() {
    static const QImage logo = drawBigLogo();
    return logo;
}

} // namespace jt::render

#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace jt::app {
namespace {

const QColor kDeepGreen(0x0b, 0x4d, 0x2c);
const QColor kGreen(0x1d, 0x7a, 0x46);
const QColor kGold(0xe8, 0xc1, 0x5a);
const QColor kCream(0xfb, 0xf3, 0xdc);

// A triskele: three spirals turning out from one centre, the old emblem of motion.
void drawTriskele(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    p.save();
    p.translate(centre);
    QPen pen(colour, std::max(1.5, radius / 9.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int arm = 0; arm < 3; ++arm) {
        p.save();
        p.rotate(arm * 120.0);
        // The spiral's own centre sits out along the arm; its path starts at the middle.
        const QPointF c(0, -radius * 0.5);
        QPainterPath path(QPointF(0, 0));
        constexpr int steps = 90;
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const double angle = std::numbers::pi / 2 + t * 3.2 * std::numbers::pi;
            const double r = radius * 0.5 * (1.0 - t * 0.85);
            path.lineTo(c + QPointF(r * std::cos(angle), r * std::sin(angle)));
        }
        p.drawPath(path);
        p.restore();
    }
    p.restore();
}

// A border of interlaced rings, a plain stand-in for knotwork.
void drawRingBorder(QPainter& p, const QRectF& r, double ring, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour, 1.6));
    p.setBrush(Qt::NoBrush);
    const int across = int(r.width() / ring);
    const int down = int(r.height() / ring);
    const double dx = r.width() / across;
    const double dy = r.height() / down;
    for (int i = 0; i < across; ++i) {
        p.drawEllipse(QPointF(r.left() + (i + 0.5) * dx, r.top()), ring * 0.62, ring * 0.62);
        p.drawEllipse(QPointF(r.left() + (i + 0.5) * dx, r.bottom()), ring * 0.62, ring * 0.62);
    }
    for (int j = 0; j < down; ++j) {
        p.drawEllipse(QPointF(r.left(), r.top() + (j + 0.5) * dy), ring * 0.62, ring * 0.62);
        p.drawEllipse(QPointF(r.right(), r.top() + (j + 0.5) * dy), ring * 0.62, ring * 0.62);
    }
    p.restore();
}

QFont titleFont(int pixels, bool bold = true) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

QPixmap mainPicture() {
    QPixmap pixmap(305, 289);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(152, 110), 210);
    glow.setColorAt(0, kGreen);
    glow.setColorAt(1, kDeepGreen);
    p.fillRect(pixmap.rect(), glow);
    drawRingBorder(p, QRectF(12, 12, 281, 265), 14, kGold);

    drawTriskele(p, QPointF(152.5, 102), 58, kGold);

    p.setPen(kCream);
    p.setFont(titleFont(38));
    p.drawText(QRectF(0, 168, 305, 48), Qt::AlignCenter, QStringLiteral("Jigtally"));
    p.setPen(kGold);
    p.setFont(titleFont(13, false));
    p.drawText(QRectF(0, 212, 305, 22), Qt::AlignCenter,
               QStringLiteral("Irish dance championship scoring"));
    p.setFont(titleFont(13));
    p.drawText(QRectF(0, 234, 305, 20), Qt::AlignCenter, QStringLiteral("2008"));
    return pixmap;
}

QPixmap splashPicture() {
    QPixmap pixmap(270, 72);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 270, 0);
    band.setColorAt(0, kDeepGreen);
    band.setColorAt(1, kGreen);
    p.fillRect(pixmap.rect(), band);
    drawTriskele(p, QPointF(38, 36), 26, kGold);
    p.setPen(kCream);
    p.setFont(titleFont(26));
    p.drawText(QRectF(76, 6, 190, 38), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Jigtally"));
    p.setPen(kGold);
    p.setFont(titleFont(12, false));
    p.drawText(QRectF(78, 42, 190, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Starting up..."));
    return pixmap;
}

QImage programIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kDeepGreen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    drawTriskele(p, QPointF(16, 16.5), 13, kGold);
    return image;
}

QPixmap programIcon() {
    return QPixmap::fromImage(programIconImage(32));
}

} // namespace jt::app

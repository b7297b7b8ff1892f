#include "app/icon.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace loglezer {

namespace {

QImage icon_picture() {
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 6));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 28, 28);

    // Download bars in red, upload bars in green, as the charts colour
    // their first two points.
    const int heights[4] = {110, 170, 80, 140};
    for (int i = 0; i < 4; ++i) {
        const QColor colour = i % 2 == 0 ? QColor(0xFF, 0, 0) : QColor(0, 0x80, 0);
        const QRectF bar(36 + i * 48, 212 - heights[i], 36, heights[i]);
        QLinearGradient fill(bar.bottomLeft(), bar.topLeft());
        fill.setColorAt(0, colour);
        fill.setColorAt(1, Qt::white);
        p.setPen(QPen(Qt::black, 3));
        p.setBrush(fill);
        p.drawRect(bar);
    }
    p.setPen(QPen(Qt::black, 5));
    p.drawLine(28, 214, 228, 214);
    p.end();
    return image;
}

}  // namespace

QIcon program_icon() { return QIcon(QPixmap::fromImage(icon_picture())); }

QImage program_icon_image(int size) {
    QImage image = icon_picture();
    if (size == image.width()) return image;
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace loglezer

#include "app/window_style.h"

#include <qdrawutil.h>

#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <cmath>

namespace loglezer {
namespace {

// The smallest rectangle holding every pixel the picture does not leave
// transparent.
QRect painted_bounds(const QImage& picture) {
    QRect bounds;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(row[x]) != 0) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace

void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_PushButtonBevel || !button || !(button->features & QStyleOptionButton::Flat)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool down = button->state & (State_Sunken | State_On);
    const bool over = (button->state & State_MouseOver) && (button->state & State_Enabled);
    if (down || over) qDrawShadePanel(painter, button->rect, button->palette, down, 1, nullptr);
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The base style's frame, drawn apart and then cleared inside its outer
    // line: where the frame lies is the base style's to say (it leaves room
    // for the title), its tint over the inside is dropped.
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QImage layer(option->rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter layer_painter(&layer);
        QStyleOptionFrame frame;
        if (const auto* given = qstyleoption_cast<const QStyleOptionFrame*>(option)) frame = *given;
        frame.QStyleOption::operator=(*option);
        frame.rect.moveTo(0, 0);
        baseStyle()->drawPrimitive(element, &frame, &layer_painter, widget);
        const QRect drawn = painted_bounds(layer);
        const int line = static_cast<int>(std::ceil(ratio));
        layer_painter.resetTransform();
        layer_painter.setCompositionMode(QPainter::CompositionMode_Clear);
        layer_painter.scale(1.0 / ratio, 1.0 / ratio);
        layer_painter.fillRect(drawn.adjusted(line, line, -line, -line), Qt::transparent);
    }
    painter->drawImage(option->rect.topLeft(), layer);
}

}  // namespace loglezer

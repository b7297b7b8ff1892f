#include "app/window_style.h"

#include <qdrawutil.h>

#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <cmath>
#include <iterator>

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

// A role's colour when the window is active or inactive, and when disabled.
struct RoleColours {
    QPalette::ColorRole role;
    QRgb normal;
    QRgb disabled;
};

// Qt's own light colours, but for the window's white.
constexpr RoleColours kLightColours[] = {
    {QPalette::Window, 0xffffffff, 0xffffffff},      {QPalette::WindowText, 0xff000000, 0xffbebebe},
    {QPalette::Base, 0xffffffff, 0xffefefef},        {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::Text, 0xff000000, 0xffbebebe},        {QPalette::PlaceholderText, 0x80000000, 0x80000000},
    {QPalette::Button, 0xffefefef, 0xffefefef},      {QPalette::ButtonText, 0xff000000, 0xffbebebe},
    {QPalette::BrightText, 0xffffffff, 0xffffffff},  {QPalette::Light, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca},    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},        {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
    {QPalette::Highlight, 0xff308cc6, 0xff919191},   {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff0000ff},        {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc}, {QPalette::ToolTipText, 0xff000000, 0xff000000},
};
// Every role but NoRole, which names none.
static_assert(std::size(kLightColours) == QPalette::NColorRoles - 1, "a colour role without a colour");

}  // namespace

QPalette light_palette() {
    QPalette palette;
    for (const RoleColours& c : kLightColours) {
        const QColor normal = QColor::fromRgba(c.normal);
        palette.setColor(QPalette::Active, c.role, normal);
        palette.setColor(QPalette::Inactive, c.role, normal);
        palette.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
    }
    return palette;
}

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

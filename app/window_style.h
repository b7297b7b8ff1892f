#pragma once

#include <QProxyStyle>

namespace loglezer {

// The window's look where the platform's style differs from it, for the
// widgets it is set on:
// - a flat button shows a thin raised border while the pointer is over it,
//   and a sunken one while it is pressed; otherwise no border at all;
// - a group box draws only the outline of its frame, so that its inside is
//   the window's colour rather than the style's faint tint.
class WindowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

}  // namespace loglezer

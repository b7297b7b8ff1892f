#pragma once

#include <QPalette>
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

// The window's own colours, whatever the desktop's theme: dark text on the
// white window, white fields and lists, light grey buttons, a blue
// selection, in every colour group. Every role is set, so that no control on
// the window takes a colour of the desktop's palette, dark or light. Dialogs
// and message boxes are windows of their own and keep the desktop's look.
QPalette light_palette();

}  // namespace loglezer

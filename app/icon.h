#pragma once

#include <QIcon>
#include <QImage>

namespace loglezer {

// The program's icon: a 256 x 256 picture of two bar charts, drawn at start.
QIcon program_icon();

// The same picture as a size x size image, scaled down smoothly from 256 x 256:
// the icon files that the desktop menus show are made from it.
QImage program_icon_image(int size);

}  // namespace loglezer

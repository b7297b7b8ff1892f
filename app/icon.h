#pragma once

#include <QIcon>

namespace loglezer {

// The program's icon: a 256 x 256 picture of two bar charts, drawn at start.
QIcon program_icon();

}  // namespace loglezer

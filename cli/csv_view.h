#pragma once

#include <string>

#include "cli/view.h"

namespace loglezer::cli {

// A view as CSV: a line per bar with its ISO date (empty when its label
// names none), its label as terminal text, its gigabytes with "." as the
// decimal point and its amounts in bytes.
std::string render_csv(const View& view);

}  // namespace loglezer::cli

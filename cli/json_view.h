#pragma once

#include <string>

#include "cli/view.h"

namespace loglezer::cli {

// A view as JSON: format, view, titles and bars, each bar with its ISO date
// (null when its label names none) and its amounts in bytes; the per-year
// view adds its totals and records, with their exact figures.
std::string render_json(const View& view);

}  // namespace loglezer::cli

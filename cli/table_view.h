#pragma once

#include <string>

#include "cli/view.h"
#include "log/separators.h"

namespace loglezer::cli {

// A view as a table for the terminal: the titles, a line per bar with the
// marks as the charts write them (with the locale's separators), and for
// the per-year view the totals and records. Log texts pass through
// terminal_text.
std::string render_table(const View& view, const Separators& seps);

}  // namespace loglezer::cli

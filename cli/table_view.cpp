#include "cli/table_view.h"

#include <algorithm>
#include <vector>

#include "cli/table_text.h"
#include "text/terminal_text.h"
#include "text/value_format.h"

namespace loglezer::cli {
namespace {

std::string label_heading(const std::string& view) {
    if (view == "jaar") return "Jaar";
    if (view == "maand") return "Maand";
    return "Dag";
}

// The per-year view's labels, the totals above the records.
std::string year_labels(const LabelCaptions& c) {
    const std::size_t w = std::max(display_width(c.total_down), display_width(c.record_down));
    return "\nTotaal sinds   Download: " + pad_right(c.total_down, w) + "  Upload: " + c.total_up +
           "\nRecords sinds  Download: " + pad_right(c.record_down, w) + "  Upload: " + c.record_up + "\n";
}

}  // namespace

std::string render_table(const View& view, const Separators& seps) {
    std::string out = title_of(view.download, shown_text) + "\n" + title_of(view.upload, shown_text) + "\n\n";
    std::vector<TableRow> rows = {{label_heading(view.name), "Download", "Upload"}};
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    for (std::size_t i = 0; i < bar_count(view); ++i) {
        TableRow row;
        row[0] = terminal_text(bar_label(view, i));
        if (i < down.size()) row[1] = format_value(down[i].value, view.download.value_format(), seps);
        if (i < up.size()) row[2] = format_value(up[i].value, view.upload.value_format(), seps);
        rows.push_back(std::move(row));
    }
    out += table_lines(rows);
    if (view.captions) out += year_labels(*view.captions);
    return out;
}

}  // namespace loglezer::cli

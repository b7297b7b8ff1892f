#include "cli/csv_view.h"

#include "cli/numbers.h"
#include "text/number_format.h"
#include "text/terminal_text.h"

namespace loglezer::cli {
namespace {

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + "\"";
}

}  // namespace

std::string render_csv(const View& view) {
    std::string out = "date,label,download_gb,upload_gb,download_bytes,upload_bytes\n";
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    for (std::size_t i = 0; i < bar_count(view); ++i) {
        out += bar_date(view, i).value_or("");
        out += ',';
        out += csv_field(terminal_text(bar_label(view, i)));
        out += ',';
        if (i < down.size()) out += general_number_text(down[i].value, '.');
        out += ',';
        if (i < up.size()) out += general_number_text(up[i].value, '.');
        out += ',';
        if (i < down.size()) out += bytes_text(down[i].bytes);
        out += ',';
        if (i < up.size()) out += bytes_text(up[i].bytes);
        out += '\n';
    }
    return out;
}

}  // namespace loglezer::cli

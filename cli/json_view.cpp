#include "cli/json_view.h"

#include <nlohmann/json.hpp>

#include "cli/numbers.h"
#include "text/terminal_text.h"

namespace loglezer::cli {
namespace {

nlohmann::ordered_json json_text(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json();
}

nlohmann::ordered_json json_bar(const View& view, std::size_t i) {
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    nlohmann::ordered_json bar;
    bool overflow = false;
    bar["label"] = bar_label(view, i);
    bar["download"] = nullptr;
    bar["upload"] = nullptr;
    if (i < down.size()) overflow |= set_value(bar, "download", down[i].value);
    if (i < up.size()) overflow |= set_value(bar, "upload", up[i].value);
    bar["date"] = json_text(bar_date(view, i));
    bar["download_bytes"] = nullptr;
    bar["upload_bytes"] = nullptr;
    if (i < down.size()) overflow |= set_bytes(bar, "download_bytes", down[i].bytes);
    if (i < up.size()) overflow |= set_bytes(bar, "upload_bytes", up[i].bytes);
    mark_overflow(bar, overflow);
    return bar;
}

// The per-year view's labels and, beside them, their exact figures.
void add_year_figures(nlohmann::ordered_json& doc, const LabelCaptions& c, const std::optional<ExactFigures>& exact) {
    auto& totals =
        doc["totals"] = {{"download", utf8_from_latin1(c.total_down)}, {"upload", utf8_from_latin1(c.total_up)}};
    auto& records =
        doc["records"] = {{"download", utf8_from_latin1(c.record_down)}, {"upload", utf8_from_latin1(c.record_up)}};
    if (!exact) return;
    // One field after the other: the object keeps the order they are set in.
    bool overflow = set_bytes(totals, "download_bytes", exact->total_download);
    overflow |= set_bytes(totals, "upload_bytes", exact->total_upload);
    mark_overflow(totals, overflow);
    bool records_overflow = set_bytes(records, "download_bytes", exact->record_download);
    records_overflow |= set_bytes(records, "upload_bytes", exact->record_upload);
    records["download_date"] = json_text(exact->record_download_date);
    records["upload_date"] = json_text(exact->record_upload_date);
    mark_overflow(records, records_overflow);
}

// The bars as dump(2) writes them inside the document: one at a time, each
// four spaces deeper. A document of thousands of bars is not held whole:
// taking its memory cost more than writing it.
void append_bars(std::string& out, const View& view) {
    const std::size_t count = bar_count(view);
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        const std::string bar = json_bar(view, i).dump(2);
        if (i == 0) out.reserve(out.size() + count * (bar.size() + 64) + 4096);
        out += i == 0 ? "\n    " : ",\n    ";
        for (const char c : bar) {
            out += c;
            if (c == '\n') out += "    ";
        }
    }
    out += count == 0 ? "]" : "\n  ]";
}

}  // namespace

std::string render_json(const View& view) {
    nlohmann::ordered_json doc;
    doc["format"] = 1;
    doc["view"] = view.name;
    doc["titles"] = {title_of(view.download, utf8_from_latin1), title_of(view.upload, utf8_from_latin1)};
    doc["bars"] = nlohmann::ordered_json::array();
    if (view.captions) add_year_figures(doc, *view.captions, view.exact);
    // The empty list of bars is the only "[]" after its key: a quote inside
    // a string of the document is escaped.
    const std::string outline = doc.dump(2);
    const std::string bars_key = "\"bars\": ";
    const std::size_t bars = outline.find(bars_key + "[]") + bars_key.size();
    std::string out = outline.substr(0, bars);
    append_bars(out, view);
    out.append(outline, bars + 2);
    out += '\n';
    return out;
}

}  // namespace loglezer::cli

#include "cli/top_report.h"

#include <nlohmann/json.hpp>
#include <vector>

#include "cli/numbers.h"
#include "cli/period_check.h"
#include "cli/table_text.h"
#include "log/number_text.h"
#include "text/dates.h"
#include "text/value_format.h"

namespace loglezer::cli {
namespace {

// One list as table lines.
std::string top_table(const std::vector<TopDay>& days, const std::string& title, const char* amount,
                      const Separators& seps) {
    std::vector<TableRow> rows = {{"Date", amount, "Bytes"}};
    for (const TopDay& day : days) {
        rows.push_back({iso_date(day.date), gigabytes_text(day.gigabytes, seps), bytes_text(day.bytes)});
    }
    return title + "\n" + table_lines(rows);
}

nlohmann::ordered_json top_json(const std::vector<TopDay>& days) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const TopDay& day : days) {
        nlohmann::ordered_json item;
        item["date"] = iso_date(day.date);
        bool overflow = set_value(item, "gb", day.gigabytes);
        overflow |= set_bytes(item, "bytes", day.bytes);
        mark_overflow(item, overflow);
        list.push_back(std::move(item));
    }
    return list;
}

}  // namespace

std::string render_top_table(const TopDays& top, std::optional<int> year, const Separators& seps) {
    const std::string of = year ? " in " + std::to_string(*year) : std::string();
    return top_table(top.download, "Days with the largest download" + of, "Download", seps) + "\n" +
           top_table(top.upload, "Days with the largest upload" + of, "Upload", seps);
}

std::string render_top_csv(const TopDays& top) {
    std::string out = "list,rank,date,gb,bytes\n";
    for (const auto& [name, days] : {std::pair{"download", &top.download}, std::pair{"upload", &top.upload}}) {
        for (std::size_t i = 0; i < days->size(); ++i) {
            const TopDay& day = (*days)[i];
            out += std::string(name) + "," + std::to_string(i + 1) + "," + iso_date(day.date) + "," +
                   fixed_text(day.gigabytes, 2) + "," + bytes_text(day.bytes) + "\n";
        }
    }
    return out;
}

std::string render_top_json(const TopDays& top, std::optional<int> year) {
    nlohmann::ordered_json doc;
    doc["format"] = 1;
    doc["view"] = "top";
    doc["year"] = year ? nlohmann::ordered_json(*year) : nlohmann::ordered_json();
    doc["download"] = top_json(top.download);
    doc["upload"] = top_json(top.upload);
    return doc.dump(2) + "\n";
}

std::string top_output(const Options& options, const LineList& lines, const Separators& seps, UnitMode units) {
    lines.at(0);  // an empty log fails as every view does
    std::optional<int> year;
    if (options.year) {
        year = text_to_int(*options.year);
        require_top_lines(lines, *year);
    }
    const TopDays top = top_days(lines, *options.top, year, seps, units);
    switch (options.format) {
        case Format::Csv:
            return render_top_csv(top);
        case Format::Json:
            return render_top_json(top, year);
        case Format::Table:
            break;
    }
    return render_top_table(top, year, seps);
}

}  // namespace loglezer::cli

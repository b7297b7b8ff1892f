#include "stats/statistics.h"

#include <string_view>

#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"
#include "stats/number_format.h"

namespace loglezer {
namespace {

// The text before the first ","; empty when there is none (the field then has
// no end, and an amount read from it fails).
std::string_view field_before_comma(std::string_view text) {
    const auto pos = text.find(',');
    return pos == std::string_view::npos ? std::string_view{} : text.substr(0, pos);
}

// Writes a title line as the only title of a chart.
void set_title(ChartModel& chart, std::string line) {
    chart.clear_titles();
    chart.add_title(std::move(line));
}

// One bar per group of consecutive lines of one year, then the records and
// the totals.
LabelCaptions per_year(const LineList& lines, const StatsInput& input, SharedState& shared, const Separators& seps,
                       ChartModel& download, ChartModel& upload) {
    download.set_3d(true);
    upload.set_3d(true);

    const long long count = lines.count();
    const std::size_t items = input.year_items.size();
    long long index = 0;
    std::size_t counter = 0;
    // The line being read, whole and with its fields consumed from the front.
    std::string_view line = lines.at(0);
    std::string_view line_text = line;
    // The first group's year comes from line 0, characters 8 to 11; every later
    // group's year is the next item of the year selector. Past the last line
    // there is no line year: it equals no group year, so the last group ends
    // there whatever its year text.
    std::optional<std::string_view> line_year = copy_text(line_text, 8, 4);
    std::string_view group_year = *line_year;

    while (counter != items) {
        long double year_download = 0;
        long double year_upload = 0;
        while (line_year && *line_year == group_year) {
            // A line whose date is out of place would be read from the wrong
            // characters: it fails rather than give a wrong figure.
            check_date(line);
            line_text = drop_front(line_text, 12);
            shared.line_download = text_to_float(field_before_comma(line_text), seps);
            line_text = after_comma(line_text);
            shared.line_upload = text_to_float(field_before_comma(line_text), seps);
            year_download += shared.line_download;
            year_upload += shared.line_upload;
            if (shared.line_download > shared.record_download) shared.record_download = shared.line_download;
            if (shared.line_upload > shared.record_upload) shared.record_upload = shared.line_upload;

            ++index;
            if (index == count) {
                line_year.reset();
            } else {
                line = lines.at(index);
                line_text = line;
                line_year = year_text(line_text);
            }
        }
        // The totals are summed once per program run: only in the run that
        // follows the emptying of both total labels.
        if (input.total_labels_empty) {
            shared.total_download += year_download;
            shared.total_upload += year_upload;
        }
        const std::string label(group_year);
        download.add_point(to_gigabytes(year_download), label, year_download);
        upload.add_point(to_gigabytes(year_upload), label, year_upload);

        ++counter;
        if (counter != items) {
            // The line where the previous group stopped counts for this item,
            // without its year being compared.
            group_year = input.year_items[counter];
            line_year = group_year;
        }
    }

    scale_units(shared.record_download, shared.record_upload, shared.records_suffix);
    // The totals stay in bytes; only what is shown is scaled, so a later run
    // that adds nothing shows the same figures, even beyond 1024 TB.
    long double total_download = shared.total_download;
    long double total_upload = shared.total_upload;
    scale_units(total_download, total_upload, shared.totals_suffix);

    shared.record_download = round2(shared.record_download);
    shared.record_upload = round2(shared.record_upload);
    const double shown_total_download = round2(total_download);
    const double shown_total_upload = round2(total_upload);

    LabelCaptions captions;
    captions.record_down =
        general_number_text(static_cast<double>(shared.record_download), seps.decimal) + shared.records_suffix;
    captions.record_up =
        general_number_text(static_cast<double>(shared.record_upload), seps.decimal) + shared.records_suffix;
    captions.total_down = general_number_text(shown_total_download, seps.decimal) + shared.totals_suffix;
    captions.total_up = general_number_text(shown_total_upload, seps.decimal) + shared.totals_suffix;
    return captions;
}

// One bar per month of the chosen year, from its first line on.
void per_month(const LineList& lines, const StatsInput& input, SharedState& shared, const Separators& seps,
               ChartModel& download, ChartModel& upload) {
    download.set_3d(true);
    upload.set_3d(true);
    const int year = text_to_int(input.year_text);
    download.set_value_format(kMonthlyValueFormat);
    upload.set_value_format(kMonthlyValueFormat);
    set_title(download, "Download per maand " + std::to_string(year));
    set_title(upload, "Upload per maand " + std::to_string(year));

    const long long count = lines.count();
    long long index = 0;
    while (text_to_int(year_text(lines.at(index))) != year) ++index;

    const std::string end_marker = "01-Jan-" + std::to_string(static_cast<long long>(year) + 1);
    std::string_view start_line = lines.at(index);
    std::string_view run_key = month_year_text(start_line);
    // The month-year text of the line reached; empty once the walk has gone
    // past the last line.
    std::optional<std::string_view> next_key = run_key;
    bool past_last_line = false;

    for (;;) {
        check_date(start_line);
        if (date_field(start_line) == end_marker) break;
        // A month of another year ends the walk even when the 1 January line
        // of the next year is missing. A year text that is no number does not.
        const auto month_year = parse_int(year_text(start_line));
        if (month_year && *month_year != year) break;
        // The last line has been summed: the walk is over.
        if (past_last_line) break;

        long double month_download = 0;
        long double month_upload = 0;
        while (next_key && *next_key == run_key) {
            const std::string_view line = lines.at(index);
            check_date(line);
            const AmountTexts texts = amount_texts(line, DateSkip::UpToComma);
            shared.line_download = text_to_float(texts.download, seps);
            shared.line_upload = text_to_float(texts.upload, seps);
            month_download += shared.line_download;
            month_upload += shared.line_upload;
            ++index;
            if (index == count) {
                next_key.reset();
                index = count - 1;
                past_last_line = true;
            } else {
                next_key = month_year_text(lines.at(index));
            }
        }
        if (const auto name = setmonth(run_key)) shared.current_month_name = *name;
        download.add_point(to_gigabytes(month_download), shared.current_month_name, month_download);
        upload.add_point(to_gigabytes(month_upload), shared.current_month_name, month_upload);

        start_line = lines.at(index);
        run_key = month_year_text(start_line);
        next_key = run_key;
    }
}

// One bar per line of the chosen month of the chosen year.
void per_day(const LineList& lines, const StatsInput& input, SharedState& shared, const Separators& seps,
             ChartModel& download, ChartModel& upload) {
    download.set_value_format(kDailyValueFormat);
    upload.set_value_format(kDailyValueFormat);
    download.set_3d(false);
    upload.set_3d(false);
    const int year = text_to_int(input.year_text);
    const std::string year_digits = std::to_string(year);

    if (const auto name = setmonth(input.month_text)) shared.current_month_name = *name;
    const std::string abbrev = shared.current_month_name;
    const std::string key = abbrev + "-" + year_digits;

    // The search starts at the first line, so the log's first month shows
    // its first day too.
    const long long last = lines.count() - 1;
    long long index = 0;
    while (month_year_text(lines.at(index)) != key) ++index;
    if (const auto name = setmonth(abbrev)) shared.current_month_name = *name;

    for (;;) {
        const std::string_view line = lines.at(index);
        // A malformed line inside the month would otherwise end the walk and
        // leave the rest of the month out without a word.
        check_date(line);
        if (month_year_text(line) != key) break;
        const AmountTexts texts = amount_texts(line, DateSkip::FirstTwelve);
        shared.line_download = text_to_float(texts.download, seps);
        shared.line_upload = text_to_float(texts.upload, seps);
        set_title(download, "Download per dag " + shared.current_month_name + " " + year_digits);
        set_title(upload, "Upload per dag " + shared.current_month_name + " " + year_digits);
        const long double download_bytes = shared.line_download;
        const long double upload_bytes = shared.line_upload;
        shared.line_download = to_gigabytes(shared.line_download);
        shared.line_upload = to_gigabytes(shared.line_upload);
        const std::string label(day_text(line));
        download.add_point(static_cast<double>(shared.line_download), label, download_bytes);
        upload.add_point(static_cast<double>(shared.line_upload), label, upload_bytes);
        if (index == last) break;
        ++index;
    }
}

}  // namespace

std::optional<LabelCaptions> show_stats(const LineList& lines, const StatsInput& input, SharedState& shared,
                                        const Separators& seps, ChartModel& download, ChartModel& upload) {
    download.clear_points();
    upload.clear_points();
    std::optional<LabelCaptions> captions;
    if (input.option == kPerYear) captions = per_year(lines, input, shared, seps, download, upload);
    if (input.option == kPerMonth) per_month(lines, input, shared, seps, download, upload);
    if (input.option == kPerDay) per_day(lines, input, shared, seps, download, upload);
    return captions;
}

}  // namespace loglezer

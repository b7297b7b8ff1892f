#include "stats/statistics.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"
#include "text/number_format.h"

namespace loglezer {
namespace {

// Writes a title line as the only title of a chart.
void set_title(ChartModel& chart, std::string line) {
    chart.clear_titles();
    chart.add_title(std::move(line));
}

// Fails like check_date on the line at `index`, naming it.
void check_line_date(const LineList& lines, long long index) {
    lines.noting_line(index, [&] { check_date(lines.at(index)); });
}

// The two amounts of one line, in bytes.
struct LineAmounts {
    long double download;
    long double upload;
};

// Reads the two amounts of the line at `index`, the download first: when
// both texts are bad, the download's is the one named.
LineAmounts read_amounts(const LineList& lines, long long index, DateSkip skip, const Separators& seps) {
    return lines.noting_line(index, [&] {
        const AmountTexts texts = amount_texts(lines.at(index), skip);
        const long double download = text_to_float(texts.download, seps);
        return LineAmounts{download, text_to_float(texts.upload, seps)};
    });
}

// The index of the first line whose year text reads as `year`. A year text
// that is no whole number fails on its line; when none reads as `year` the
// search runs past the last line, which fails with "List index out of
// bounds (n)", n the number of lines: the window has always said so of a
// year the log lacks, and keeps saying it.
long long first_line_of_year(const LineList& lines, int year) {
    long long index = 0;
    while (lines.noting_line(index, [&] { return text_to_int(year_text(lines.at(index))); }) != year) ++index;
    return index;
}

// One amount of a line. Plain digits, as every byte count the metering
// program writes, are kept as an integer; any other text as its long double.
struct Amount {
    std::uint64_t whole = 0;
    bool is_whole = false;
    long double other;  // set only for other texts: zeroing it costs an 80-bit store per amount

    long double value() const { return is_whole ? static_cast<long double>(whole) : other; }
};

// The year's sum of one column and its record, as the yearly walk adds the
// lines. Whole amounts are summed as 64-bit integers: exact, as the long
// double sum of the same numbers is while it stays below 2^64 (the
// significand has 64 bits), so the figure is the same without long double
// arithmetic per line. An amount that is no whole number, or a sum beyond
// 64 bits, moves the sum to long double for the rest of the year, where it
// would have been all along.
class ColumnSum {
public:
    ColumnSum(long double& record, long long& record_line) : record_(record), record_line_(record_line) {}

    // Adds the amount of the line at `index`.
    void add(const Amount& amount, long long index) {
        std::uint64_t next = 0;
        if (in_whole_ && amount.is_whole && !__builtin_add_overflow(whole_, amount.whole, &next)) {
            whole_ = next;
        } else {
            if (in_whole_) sum_ = static_cast<long double>(whole_);
            in_whole_ = false;
            sum_ += amount.value();
        }
        // A whole amount below one compared before cannot raise the record.
        if (amount.is_whole) {
            if (amount.whole < record_floor_) return;
            record_floor_ = amount.whole + 1;
        }
        if (amount.value() > record_) {
            record_ = amount.value();
            record_line_ = index;
        }
    }

    // The sum of the year, after which a new year starts.
    long double take_year() {
        const long double year = in_whole_ ? static_cast<long double>(whole_) : sum_;
        whole_ = 0;
        sum_ = 0;
        in_whole_ = true;
        return year;
    }

private:
    long double& record_;
    long long& record_line_;
    std::uint64_t whole_ = 0;
    long double sum_ = 0;
    bool in_whole_ = true;
    std::uint64_t record_floor_ = 0;  // whole amounts below it cannot raise the record
};

// The yearly walk's place in the log. A line whose date passed the check has
// its year text at characters 8 to 11, so the check is made once per line and
// the year is taken without looking for the "," again.
struct YearWalk {
    explicit YearWalk(const LineList& all) : lines(all) { load(); }

    const LineList& lines;
    long long index = 0;
    std::string_view line;  // the line reached, whole
    std::string_view text;  // what is left of it to read
    bool dated = false;     // its date passed the check

    void load() {
        line = lines.at(index);
        text = line;
        dated = lines.dated_year(index) != 0 || is_log_date(line);
    }
    std::string_view year() const { return dated ? line.substr(7, 4) : year_text(line); }
    // The index of the line read: past the last line the walk reads on in
    // that line.
    long long line_index() const { return std::min(index, lines.count() - 1LL); }

    // Moves to the next line; false past the last line, where the walk reads
    // on in that line after its download's ",". The lines on the way that
    // are dated in `year` (its text as one word; 0 for none) and whose
    // amounts are plain digits, as nearly all are, are added to the sums in
    // passing.
    bool advance(std::uint32_t year, ColumnSum& download, ColumnSum& upload) {
        ++index;
        if (index == lines.count()) {
            text = after_comma(drop_front(text, 12));
            return false;
        }
        if (year != 0) add_plain_lines(year, download, upload);
        load();
        return true;
    }

private:
    // Adds the lines from the one reached on, up to the last line and while
    // they are dated in `year` and plain; the line it stops at is left to
    // the full reading.
    void add_plain_lines(std::uint32_t year, ColumnSum& download, ColumnSum& upload) {
        const long long last = lines.count() - 1;
        Amount line_download;
        Amount line_upload;
        line_download.is_whole = true;
        line_upload.is_whole = true;
        while (index < last && lines.dated_year(index) == year &&
               plain_amounts(lines.at(index), line_download.whole, line_upload.whole)) {
            download.add(line_download, index);
            upload.add(line_upload, index);
            ++index;
        }
    }
};

// Reads the amounts of a line that are not both plain digits: other texts
// take the full conversion, the download first, so that when both are bad
// the download's text is the one named. A line whose date is out of place
// would be read from the wrong characters: it fails rather than give a wrong
// figure.
void read_other_amounts(const YearWalk& walk, const Separators& seps, Amount& download, Amount& upload) {
    if (!walk.dated) walk.lines.noting_line(walk.line_index(), [&] { check_date(walk.line); });
    const AmountTexts texts = amount_texts(walk.text, DateSkip::FirstTwelve);
    download.is_whole = plain_digits_value(texts.download, download.whole);
    upload.is_whole = plain_digits_value(texts.upload, upload.whole);
    walk.lines.noting_line(walk.line_index(), [&] {
        if (!download.is_whole) download.other = text_to_float(texts.download, seps);
        if (!upload.is_whole) upload.other = text_to_float(texts.upload, seps);
    });
}

// Reads the amounts of the line reached, adds them to the year's sums and
// raises the records.
void read_year_line(const YearWalk& walk, const Separators& seps, ColumnSum& download, ColumnSum& upload) {
    Amount line_download;
    Amount line_upload;
    if (walk.dated && plain_amounts(walk.text, line_download.whole, line_upload.whole)) {
        line_download.is_whole = true;
        line_upload.is_whole = true;
    } else {
        read_other_amounts(walk, seps, line_download, line_upload);
    }
    const long long index = walk.line_index();
    download.add(line_download, index);
    upload.add(line_upload, index);
}

// A year text of four characters as one word, as LineList::dated_year gives
// them; 0 for any other text, which no dated line has.
std::uint32_t year_word(std::string_view year) {
    std::uint32_t word = 0;
    if (year.size() == 4) std::memcpy(&word, year.data(), 4);
    return word;
}

// One bar per group of consecutive lines of one year, then the records and
// the totals.
YearFigures per_year(const LineList& lines, const StatsInput& input, const Separators& seps, ChartModel& download,
                     ChartModel& upload) {
    download.set_3d(true);
    upload.set_3d(true);

    const std::size_t items = input.year_items.size();
    download.reserve_points(items);
    upload.reserve_points(items);
    std::size_t counter = 0;
    YearWalk walk(lines);
    // The first group's year comes from line 0, characters 8 to 11; every later
    // group's year is the next item of the year selector. Past the last line
    // there is no line year: it equals no group year, so the last group ends
    // there whatever its year text.
    std::optional<std::string_view> line_year = copy_text(walk.line, 8, 4);
    std::string_view group_year = *line_year;

    YearFigures figures;
    ColumnSum download_sum(figures.record_download, figures.record_download_line);
    ColumnSum upload_sum(figures.record_upload, figures.record_upload_line);
    while (counter != items) {
        const std::uint32_t group_word = year_word(group_year);
        while (line_year && *line_year == group_year) {
            read_year_line(walk, seps, download_sum, upload_sum);
            if (walk.advance(group_word, download_sum, upload_sum)) {
                line_year = walk.year();
            } else {
                line_year.reset();
            }
        }
        const long double year_download = download_sum.take_year();
        const long double year_upload = upload_sum.take_year();
        figures.total_download += year_download;
        figures.total_upload += year_upload;
        const std::string label(group_year);
        download.add_point(to_gigabytes(year_download, input.units), label, year_download);
        upload.add_point(to_gigabytes(year_upload, input.units), label, year_upload);

        ++counter;
        if (counter != items) {
            // The line where the previous group stopped counts for this item,
            // without its year being compared.
            group_year = input.year_items[counter];
            line_year = group_year;
        }
    }
    return figures;
}

// One bar per month of the chosen year, from its first line on.
void per_month(const LineList& lines, const StatsInput& input, std::string& month_name, const Separators& seps,
               ChartModel& download, ChartModel& upload) {
    download.set_3d(true);
    upload.set_3d(true);
    const int year = text_to_int(input.year_text);
    download.set_value_format(kMonthlyValueFormat);
    upload.set_value_format(kMonthlyValueFormat);
    set_title(download, "Download per maand " + std::to_string(year));
    set_title(upload, "Upload per maand " + std::to_string(year));

    const long long count = lines.count();
    long long index = first_line_of_year(lines, year);

    const std::string end_marker = "01-Jan-" + std::to_string(static_cast<long long>(year) + 1);
    std::string_view start_line = lines.at(index);
    std::string_view run_key = month_year_text(start_line);
    // The month-year text of the line reached; empty once the walk has gone
    // past the last line.
    std::optional<std::string_view> next_key = run_key;
    bool past_last_line = false;

    for (;;) {
        check_line_date(lines, index);
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
            check_line_date(lines, index);
            const LineAmounts amounts = read_amounts(lines, index, DateSkip::UpToComma, seps);
            month_download += amounts.download;
            month_upload += amounts.upload;
            ++index;
            if (index == count) {
                next_key.reset();
                index = count - 1;
                past_last_line = true;
            } else {
                next_key = month_year_text(lines.at(index));
            }
        }
        if (const auto name = look_up_month(run_key)) month_name = *name;
        download.add_point(to_gigabytes(month_download, input.units), month_name, month_download);
        upload.add_point(to_gigabytes(month_upload, input.units), month_name, month_upload);

        start_line = lines.at(index);
        run_key = month_year_text(start_line);
        next_key = run_key;
    }
}

// One bar per line of the chosen month of the chosen year.
void per_day(const LineList& lines, const StatsInput& input, std::string& month_name, const Separators& seps,
             ChartModel& download, ChartModel& upload) {
    download.set_value_format(kDailyValueFormat);
    upload.set_value_format(kDailyValueFormat);
    download.set_3d(false);
    upload.set_3d(false);
    const int year = text_to_int(input.year_text);
    const std::string year_digits = std::to_string(year);

    if (const auto name = look_up_month(input.month_text)) month_name = *name;
    const std::string abbrev = month_name;
    const std::string key = abbrev + "-" + year_digits;

    // The search starts at the first line, so the log's first month shows
    // its first day too.
    const long long last = lines.count() - 1;
    long long index = 0;
    while (month_year_text(lines.at(index)) != key) ++index;
    if (const auto name = look_up_month(abbrev)) month_name = *name;
    std::string period = month_name;
    period.append(" ").append(year_digits);

    for (;;) {
        const std::string_view line = lines.at(index);
        // A malformed line inside the month would otherwise end the walk and
        // leave the rest of the month out without a word.
        check_line_date(lines, index);
        if (month_year_text(line) != key) break;
        const LineAmounts bytes = read_amounts(lines, index, DateSkip::FirstTwelve, seps);
        set_title(download, "Download per dag " + period);
        set_title(upload, "Upload per dag " + period);
        const std::string label(day_text(line));
        download.add_point(to_gigabytes(bytes.download, input.units), label, bytes.download);
        upload.add_point(to_gigabytes(bytes.upload, input.units), label, bytes.upload);
        if (index == last) break;
        ++index;
    }
}

}  // namespace

std::optional<YearFigures> show_stats(const LineList& lines, const StatsInput& input, std::string& month_name,
                                      const Separators& seps, ChartModel& download, ChartModel& upload) {
    download.clear_points();
    upload.clear_points();
    switch (input.option) {
        case PeriodOption::PerYear:
            return per_year(lines, input, seps, download, upload);
        case PeriodOption::PerMonth:
            per_month(lines, input, month_name, seps, download, upload);
            break;
        case PeriodOption::PerDay:
            per_day(lines, input, month_name, seps, download, upload);
            break;
        case PeriodOption::None:
            break;
    }
    return std::nullopt;
}

LabelCaptions year_captions(const YearFigures& figures, CaptionUnits& units, const Separators& seps,
                            UnitMode unit_mode) {
    // The figures stay in bytes; only what is shown is scaled, so a later
    // run that adds nothing shows the same figures, even beyond 1024 TB.
    // Each pair shares one unit, the larger figure's: an upload total of
    // 0.33 TB stands beside a download of 2.75 TB, as the window has always
    // written it.
    long double record_download = figures.record_download;
    long double record_upload = figures.record_upload;
    scale_units(record_download, record_upload, units.records, unit_mode);
    long double total_download = figures.total_download;
    long double total_upload = figures.total_upload;
    scale_units(total_download, total_upload, units.totals, unit_mode);

    LabelCaptions captions;
    captions.record_down = general_number_text(round2(record_download), seps.decimal) + units.records;
    captions.record_up = general_number_text(round2(record_upload), seps.decimal) + units.records;
    captions.total_down = general_number_text(round2(total_download), seps.decimal) + units.totals;
    captions.total_up = general_number_text(round2(total_upload), seps.decimal) + units.totals;
    return captions;
}

}  // namespace loglezer

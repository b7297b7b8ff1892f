#include "stats/check.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/number_text.h"
#include "text/dates.h"

namespace loglezer {
namespace {

std::string line_number(long long index) { return std::to_string(index + 1); }

// Whether the viewer reads the text as an amount. Byte counts are plain
// digits; only other texts take the whole grammar.
bool is_amount(std::string_view text, const Separators& seps) {
    std::uint64_t plain = 0;
    if (plain_digits_value(text, plain)) return true;
    try {
        text_to_float(text, seps);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

// A line split at its first three ",": the date field (the whole line when
// it has no ","), then what follows each "," that is there, the download
// text when the "," after it is there too, and the upload text up to the
// next "," or the line's end.
struct Fields {
    std::string_view date;
    std::optional<std::string_view> after_date, after_download;
    std::optional<std::string_view> download, upload;
};

// The position of the first "," in the text, or npos. The fields are a few
// characters long: a plain loop finds the "," before a library call would
// have started.
std::size_t comma_in(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',') return i;
    }
    return std::string_view::npos;
}

Fields split_fields(std::string_view line) {
    Fields fields;
    std::size_t comma = line.size() > 11 && line[11] == ',' ? 11 : comma_in(line);
    fields.date = line.substr(0, comma);
    if (comma == std::string_view::npos) return fields;
    fields.after_date = line.substr(comma + 1);
    comma = comma_in(*fields.after_date);
    if (comma == std::string_view::npos) return fields;
    fields.download = fields.after_date->substr(0, comma);
    fields.after_download = fields.after_date->substr(comma + 1);
    fields.upload = fields.after_download->substr(0, comma_in(*fields.after_download));
    return fields;
}

// What is wrong with the layout of a line that is not empty; empty when the
// line is a log line. The date is set when the date field reads as a day,
// whatever follows it.
std::string layout_fault(const Fields& fields, const Separators& seps, std::optional<LogDate>& date) {
    if (fields.date.size() == 11) date = read_log_date(fields.date);
    if (!date) {
        if (fields.date.size() == 11 && has_log_date_form(fields.date)) {
            return quoted(fields.date) + " is not a day of the calendar";
        }
        return quoted(fields.date) + " is not a date of the form dd-Mon-yyyy";
    }
    std::string fault;
    if (!fields.after_date) {
        fault = "no ',' after the date " + quoted(fields.date);
    } else if (!fields.download) {
        fault = "no ',' after the download " + quoted(*fields.after_date);
    } else if (!is_amount(*fields.download, seps)) {
        fault = "the download " + quoted(*fields.download) + " is not a number";
    } else if (!is_amount(*fields.upload, seps)) {
        fault = "the upload " + quoted(*fields.upload) + " is not a number";
    }
    return fault;
}

// The days that have a line, as bits from 1 January of year 0 to 31
// December 9999, the days a four-digit year can name. The days missing
// between the first and the last are those without their bit, however the
// lines are ordered: a line out of its place counts neither as a gap nor
// as a jump over one.
class DaysSeen {
public:
    void add(long long day) {
        if (bits_.empty()) {
            bits_.assign(static_cast<std::size_t>((day_number({9999, 12, 31}) - year_zero_) / 64 + 1), 0);
            first_ = last_ = day;
        }
        const auto bit = static_cast<std::size_t>(day - year_zero_);
        bits_[bit / 64] |= std::uint64_t{1} << (bit % 64);
        first_ = std::min(first_, day);
        last_ = std::max(last_, day);
    }

    long long missing() const {
        long long seen = 0;
        for (const std::uint64_t word : bits_) seen += __builtin_popcountll(word);
        return bits_.empty() ? 0 : last_ - first_ + 1 - seen;
    }

private:
    const long long year_zero_ = day_number({0, 1, 1});
    std::vector<std::uint64_t> bits_;
    long long first_ = 0, last_ = 0;
};

// Whether the line is in the usual layout with plain digits for both
// amounts, the form of nearly every line, which is checked without
// building its fields.
bool has_usual_amounts(std::string_view line) {
    if (line.size() < 12 || line[11] != ',') return false;
    const AmountTexts texts = amount_texts(line, DateSkip::FirstTwelve);
    std::uint64_t value = 0;
    return plain_digits_value(texts.download, value) && plain_digits_value(texts.upload, value);
}

// The month of the line read last. The lines of a month follow each other,
// so a line of the same month is checked and counted from it by its day
// alone, without reading its month and year again.
class MonthCache {
public:
    // The day number of the date a line of 12 characters or more begins
    // with; nothing when it begins with no date.
    std::optional<long long> day_of(std::string_view line) {
        std::uint64_t key = 0;
        std::memcpy(&key, line.data() + 3, sizeof key);  // "Mon-yyyy"
        if (key != key_ || line[2] != '-') return read_month(line, key);
        const auto digit = [](char c) { return static_cast<unsigned>(c) - '0'; };
        const unsigned tens = digit(line[0]), ones = digit(line[1]);
        const unsigned day = tens * 10 + ones;
        if (tens > 9 || ones > 9 || day < 1 || day > days_) return std::nullopt;
        return first_day_ + day - 1;
    }

private:
    std::optional<long long> read_month(std::string_view line, std::uint64_t key) {
        const auto date = read_log_date(line);
        if (!date) return std::nullopt;
        key_ = key;
        days_ = static_cast<unsigned>(days_in_month(date->year, date->month));
        first_day_ = day_number(*date) - (date->day - 1);
        return first_day_ + date->day - 1;
    }

    std::uint64_t key_ = 0;  // no month: eight NUL bytes are no "Mon-yyyy"
    unsigned days_ = 0;
    long long first_day_ = 0;
};

}  // namespace

namespace {

class Checker {
public:
    Checker(const LineList& lines, const Separators& seps, const ProblemSink& report)
        : lines_(lines), seps_(seps), report_(report) {
        counts_.lines = lines.count();
    }

    CheckCounts run() {
        if (lines_.count() == 0) problem(0, "the log has no lines");
        for (long long index = 0; index < lines_.count(); ++index) check_line(index);
        counts_.missing_days = days_.missing();
        return counts_;
    }

private:
    void problem(long long index, std::string text) {
        ++counts_.problems;
        report_({index, std::move(text)});
    }

    void check_line(long long index) {
        const std::string_view line = lines_.at(index);
        const auto& nuls = lines_.lost_nuls();
        if (next_nuls_ < nuls.size() && nuls[next_nuls_].line == index) {
            const std::size_t count = nuls[next_nuls_++].count;
            problem(index,
                    std::to_string(count) + (count == 1 ? " NUL byte" : " NUL bytes") + ", which the viewer skips");
        }
        if (line.empty()) {
            problem(index, index + 1 == lines_.count() ? "empty line at the end of the log" : "empty line");
            return;
        }
        const std::optional<long long> day = has_usual_amounts(line) ? month_.day_of(line) : std::nullopt;
        if (day) {
            days_.add(*day);
            follow_dates(index, line.substr(0, 11), *day);
        } else {
            check_other_line(index, line);
        }
    }

    void check_other_line(long long index, std::string_view line) {
        const Fields fields = split_fields(line);
        std::optional<LogDate> date;
        std::string fault = layout_fault(fields, seps_, date);
        if (date) days_.add(day_number(*date));
        if (!fault.empty()) {
            problem(index, std::move(fault));
        } else if (date) {
            follow_dates(index, fields.date, day_number(*date));
        }
    }

    // The order of the dates of the lines that passed and the runs of their
    // years.
    void follow_dates(long long index, std::string_view field, long long day) {
        if (previous_line_ >= 0 && day <= previous_day_) {
            const std::string where = " on line " + line_number(previous_line_);
            problem(index, day == previous_day_ ? quoted(field) + " is the date" + where + " too"
                                                : quoted(field) + " is before " + quoted(previous_field_) + where);
        }
        follow_year_runs(index, field.substr(7, 4));
        previous_line_ = index;
        previous_day_ = day;
        previous_field_ = field;
    }

    // The runs of lines of one year, as the year selector lists them: a
    // year that starts a second run is listed twice. Only the lines that
    // passed count: one that fails is a problem of its own.
    void follow_year_runs(long long index, std::string_view year) {
        if (previous_line_ >= 0) {
            if (year == run_year_) return;
            run_ends_[std::string(run_year_)] = previous_line_;
        }
        run_year_ = year;
        const auto earlier = run_ends_.find(std::string(year));
        if (earlier == run_ends_.end()) return;
        problem(index, std::string(year) + " starts again (its earlier lines end on line " +
                           line_number(earlier->second) + "): the viewer shows the year twice");
    }

    const LineList& lines_;
    const Separators& seps_;
    const ProblemSink& report_;
    CheckCounts counts_;
    std::size_t next_nuls_ = 0;
    MonthCache month_;
    DaysSeen days_;
    long long previous_line_ = -1;  // the last line that passed
    long long previous_day_ = 0;
    std::string_view previous_field_;
    std::string_view run_year_;
    std::unordered_map<std::string, long long> run_ends_;  // a year's last line so far
};

}  // namespace

CheckCounts check_log(const LineList& lines, const Separators& seps, const ProblemSink& report) {
    return Checker(lines, seps, report).run();
}

}  // namespace loglezer

#pragma once

// The allowance: how much traffic a provider allows in a billing period,
// set in the section [allowance] of a log.ini:
//
//     [allowance]
//     limit=500 GB
//     start_day=14
//     counts=both
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "settings/settings_files.h"
#include "text/number_format.h"

namespace loglezer {

// Which traffic counts against the limit.
enum class Counted { Download, Upload, Both };

// A limit as written: its bytes, and the units it was written in, which
// the allowance's figures are then shown in (GB and TB for KB, MB, GB, TB,
// bytes or a bare number; GiB and TiB for KiB, MiB, GiB, TiB).
struct Limit {
    long double bytes = 0;
    UnitMode units = UnitMode::Decimal;
};

struct AllowanceSettings {
    // The limit in bytes, a whole number above 0 and below 2^63; nothing
    // when none is set, and then there is no allowance to show.
    std::optional<long double> limit;
    UnitMode units = UnitMode::Decimal;  // the units the limit was written in
    int start_day = 1;                   // the day of the month a billing period starts on, 1 to 31
    Counted counts = Counted::Both;
    // The percentage of the limit whose reaching is warned of (warn=); nothing
    // when not set.
    std::optional<long double> warn;
    // The log.ini the section came from; nothing when none has it.
    std::optional<std::filesystem::path> from;
    // The names of the log.ini files the section was looked for in, up to
    // and with the one it came from: where a limit may be set.
    std::vector<std::string> looked_in;
};

// The settings' texts, each read from its text as the key or an option
// gives it; blanks around it are allowed. A text that is no such value
// throws Failure("SETTING: reason"), `setting` naming where it came from
// ("log.ini: [allowance] limit", "--limit"), the text quoted with its
// control characters as '?':
//
// - a limit: a number with "." or "," as the decimal point and an optional
//   unit B, KB, MB, GB, TB (powers of 1000) or KiB, MiB, GiB, TiB (powers
//   of 1024), GB when none, in any letter case, with or without a blank
//   before it, rounded to the nearest byte: "500 GB", "1,5TB", "750".
//   Reasons: "'5OO GB' is not an amount", "'0 GB' is not more than 0
//   bytes", "'9000000 TiB' is not below 8388608 TiB". A separator followed
//   by exactly three digits ("1,000 GB", "1.500") may be a thousands
//   separator as well as a decimal point: "'1,000 GB' is ambiguous: write
//   1000 GB, 1 TB or 1,5 GB";
// - a start day: a whole number 1 to 31: "'32' is not a day from 1 to 31";
// - what counts: download, upload or both, in any letter case: "'all' is
//   not download, upload or both";
// - a warning's percentage: a number above 0, up to 100, "." or "," as the
//   decimal point: "'0' is not a percentage above 0, up to 100".
Limit parse_limit(std::string_view text, std::string_view setting);
int parse_start_day(std::string_view text, std::string_view setting);
Counted parse_counts(std::string_view text, std::string_view setting);
long double parse_warn(std::string_view text, std::string_view setting);

// A number as the limit's is written, without a unit: digits, optionally
// "." or "," and more digits, blanks around; nothing for any other text.
std::optional<long double> decimal_number(std::string_view text);

// "download", "upload" or "both".
std::string_view counts_name(Counted counts);
// The bytes of one of the units a limit may be written in ("GB", "TiB",
// any letter case); 0 for a text that names none.
long double unit_bytes(std::string_view unit);

// What the command line gives in place of the keys of [allowance]: each
// one given replaces its key, which is then not read.
struct GivenAllowance {
    std::optional<Limit> limit;
    std::optional<int> start_day;
    std::optional<Counted> counts;
};

// The settings the section [allowance] gives (see settings_files: the
// first of the log.ini files that has it), with those `given` in place of
// their keys, defaults for those missing. A bad text throws
// Failure("FILE: [allowance] KEY: reason"), such as "log.ini: [allowance]
// limit: '5OO GB' is not an amount".
AllowanceSettings allowance_settings(const SectionTexts& section, const GivenAllowance& given = {});

// The settings of the log found through `found_through`, as the window
// reads them.
AllowanceSettings read_allowance_settings(const std::optional<std::filesystem::path>& found_through,
                                          const LogPlaces& places);

// Where a limit may be set, for the message that asks for one: "log.ini
// (looked in log.ini and /home/me/.config/loglezer/log.ini)".
std::string where_to_set_limit(const AllowanceSettings& settings);

}  // namespace loglezer

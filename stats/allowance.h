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

#include "log/log_file.h"

namespace loglezer {

// Which traffic counts against the limit.
enum class Counted { Download, Upload, Both };

struct AllowanceSettings {
    // The limit in bytes, a whole number above 0 and below 2^63; nothing
    // when none is set, and then there is no allowance to show.
    std::optional<long double> limit;
    int start_day = 1;  // the day of the month a billing period starts on, 1 to 31
    Counted counts = Counted::Both;
};

// The settings' texts, each read from its text as the key or an option
// gives it; blanks around it are allowed. A text that is no such value
// throws Failure("SETTING: reason"), `setting` naming where it came from
// ("log.ini: [allowance] limit", "--limit"):
//
// - a limit: a number with "." or "," as the decimal point and an optional
//   unit KB, MB, GB, TB (or KiB, MiB, GiB, TiB; powers of 1024; GB when
//   none), in any letter case, with or without a blank before it, rounded
//   to the nearest byte: "500 GB", "1,5TB", "750". Reasons: "'5OO GB' is
//   not an amount", "'0 GB' is not more than 0 bytes", "'9000000 TB' is not
//   below 8388608 TB";
// - a start day: a whole number 1 to 31: "'32' is not a day from 1 to 31";
// - what counts: download, upload or both, in any letter case: "'all' is
//   not download, upload or both".
long double parse_limit(std::string_view text, std::string_view setting);
int parse_start_day(std::string_view text, std::string_view setting);
Counted parse_counts(std::string_view text, std::string_view setting);

// A number as the limit's is written, without a unit: digits, optionally
// "." or "," and more digits, blanks around; nothing for any other text.
std::optional<long double> decimal_number(std::string_view text);

// "download", "upload" or "both".
std::string_view counts_name(Counted counts);

// The section [allowance] as a log.ini writes it: the file's name as
// messages give it and the texts of its keys, nothing for a key that is
// missing or empty.
struct AllowanceTexts {
    std::string file_name;
    std::optional<std::string> limit, start_day, counts;
};

// The section of the log.ini the log was found through (`found_through`,
// FoundLog::settings); when that has none, or the log was found without a
// log.ini, the section of the user's log.ini (places.user_ini). The file
// is named "log.ini" when it is the one in the working directory, else by
// its full path. No section in either gives no texts: the defaults and no
// limit.
AllowanceTexts find_allowance_texts(const std::optional<std::filesystem::path>& found_through, const LogPlaces& places);

// The settings the texts give, defaults for those missing. A bad text
// throws Failure("FILE: [allowance] KEY: reason"), such as "log.ini:
// [allowance] limit: '5OO GB' is not an amount".
AllowanceSettings allowance_settings(const AllowanceTexts& texts);

// Both: the settings of the log found through `found_through`, as the
// window reads them.
AllowanceSettings read_allowance_settings(const std::optional<std::filesystem::path>& found_through,
                                          const LogPlaces& places);

}  // namespace loglezer

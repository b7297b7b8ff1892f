#pragma once

// Where the settings of the allowance and of the display come from, and
// what is wrong in the files they are read from.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "text/number_format.h"

namespace loglezer {

// A log.ini the settings may come from, and its name in messages: "log.ini"
// for the working directory's, else its full path.
struct SettingsFile {
    std::filesystem::path path;
    std::string name;
};

// The files settings are looked for in, in this order and each once: the
// log.ini the log was found through (FoundLog::settings), the working
// directory's log.ini and the user's log.ini. A file need not exist.
std::vector<SettingsFile> settings_files(const std::optional<std::filesystem::path>& found_through,
                                         const LogPlaces& places);

// A section as the first of the files that has it gives it.
class SectionTexts {
public:
    SectionTexts() = default;
    SectionTexts(std::string section, std::optional<SettingsFile> file, std::vector<std::string> looked_in,
                 std::string text);

    // The file that has the section; nothing when none has it.
    const std::optional<SettingsFile>& file() const { return file_; }
    // The names of the files looked in, up to and with that one.
    const std::vector<std::string>& looked_in() const { return looked_in_; }
    // The text of a key; nothing when it is missing or empty.
    std::optional<std::string> value(std::string_view key) const;
    // "FILE: [section] key", as a message about the key's value starts.
    std::string setting(std::string_view key) const;

private:
    std::string section_;
    std::optional<SettingsFile> file_;
    std::vector<std::string> looked_in_;
    std::string text_;
};

SectionTexts find_section(const std::vector<SettingsFile>& files, std::string_view section);

// What a reader of the files is told: in each file, a key that no section
// the program reads knows ("start-day" for "start_day"), and a section or a
// key given twice, of which only the first is read. One text each, such as
// "log.ini: [allowance] unknown key 'limt' is not read (its keys: limit,
// start_day, counts, warn)".
std::vector<std::string> settings_warnings(const std::vector<SettingsFile>& files);

// The units the figures of the window and the tool are written in: the key
// "units" of the section [display], "binary" (the default) or "decimal" in
// any letter case. A bad text throws Failure("FILE: [display] units: 'x'
// is not binary or decimal").
UnitMode display_units(const std::vector<SettingsFile>& files);
// A text of --units or the key: `setting` names where it came from.
UnitMode parse_units(std::string_view text, std::string_view setting);

// A text of a setting as a message quotes it: between single quotes, with a
// control character (a NUL, a tab) written as '?', so that it neither cuts
// the message off nor moves a terminal's cursor.
std::string quoted_setting(std::string_view text);

}  // namespace loglezer

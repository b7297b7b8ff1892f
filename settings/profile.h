#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loglezer {

// Reads one value from an INI-style settings text the way the classic
// profile-string reader does: section and key names match without regard to
// letter case, blanks around names and values are ignored, one pair of
// matching quotes around a value is removed, lines starting with ";" are
// comments, and at most 2047 characters are returned. The first matching
// section and key count. A UTF-8 byte order mark at the start is skipped.
// Returns `fallback` when the section or key is absent.
std::string profile_string(std::string_view ini_text, std::string_view section, std::string_view key,
                           std::string_view fallback);

// The same for a file; a file that does not exist or cannot be read gives
// `fallback`.
std::string profile_string_from_file(const std::string& path, std::string_view section, std::string_view key,
                                     std::string_view fallback);

// The whole text of a settings file, or nothing when it cannot be read.
// Only a regular file is read: a named pipe put in a settings file's place
// would otherwise hold the program up until someone writes to it.
std::optional<std::string> settings_text(const std::string& path);

// The sections of a settings text in their order, each with the keys it
// gives, each named as written and with the line it stands on (from 1):
// what the warnings about a settings file are made from.
struct ProfileKey {
    std::string name;
    int line;
};
struct ProfileSection {
    std::string name;
    int line;
    std::vector<ProfileKey> keys;
};
std::vector<ProfileSection> profile_sections(std::string_view ini_text);

// Whether the text has a section of that name (letter case aside), with or
// without keys; and the same for a file, false when it cannot be read.
bool has_profile_section(std::string_view ini_text, std::string_view section);
bool file_has_profile_section(const std::string& path, std::string_view section);

// `ini_text` with `key` of the first `section` set to `value`, so that
// profile_string reads `value` back; every other line stays as it is. The
// key's line in that section keeps its text up to the "="; a section
// without the key gets it after its last line that is not blank; a text
// without the section gets it at its end. New lines end like the text's
// first line ("\r\n" or "\n"). A value with a blank or a quote at either
// end is written between double quotes.
std::string with_profile_string(std::string_view ini_text, std::string_view section, std::string_view key,
                                std::string_view value);

// `ini_text` without `key` of the first `section`: the key's line goes,
// every other line stays. The text as it is when there is no such key.
std::string without_profile_string(std::string_view ini_text, std::string_view section, std::string_view key);

// The same for a file, written whole or not at all: the new text goes to a
// new file in the same folder, which then takes the file's name (a symbolic
// link is followed, and keeps pointing at the file). The folder is made
// when it is missing, a file that is there keeps its permissions. A failure
// leaves the file as it was and throws Failure("Cannot create file
// "full path". reason"), also for a value profile_string cannot give back
// (one with a line break, or longer than 2047 characters).
void write_profile_string(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view value);

// One key of a section to change: its new value, or nothing to take the key
// out (without_profile_string).
struct ProfileChange {
    std::string key;
    std::optional<std::string> value;
};
// Several keys of one section changed in one write, as write_profile_string
// writes one.
void write_profile_strings(const std::filesystem::path& file, std::string_view section,
                           const std::vector<ProfileChange>& changes);

}  // namespace loglezer

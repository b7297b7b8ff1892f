#pragma once

#include <string>
#include <string_view>

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

}  // namespace loglezer

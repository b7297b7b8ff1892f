// The settings file reader: any text, any section and key.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/profile.h"

using namespace loglezer;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The settings text as the program reads it.
    const std::string log = profile_string(input, "path", "log", "fallback");
    require(log.size() <= 2047, "at most 2047 characters");

    // Section and key from the first two lines, the text after them.
    const auto first = input.find('\n');
    const auto second = first == std::string_view::npos ? first : input.find('\n', first + 1);
    if (second == std::string_view::npos) return 0;
    const std::string_view section = input.substr(0, first);
    const std::string_view key = input.substr(first + 1, second - first - 1);
    const std::string value = profile_string(input.substr(second + 1), section, key, "");
    require(value.size() <= 2047, "at most 2047 characters");
    return 0;
}

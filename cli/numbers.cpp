#include "cli/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "text/number_format.h"

namespace loglezer::cli {
namespace {

// 2^63: the first whole number an integer of JSON readers may not hold.
constexpr long double kIntegerLimit = 9223372036854775808.0L;

bool is_integer_bytes(long double bytes) {
    return std::isfinite(bytes) && std::fabs(bytes) < kIntegerLimit && bytes == std::trunc(bytes);
}

}  // namespace

bool all_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string fixed_text(double value, int decimals) {
    // Room for the 309 digits before the point of the largest double.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

nlohmann::ordered_json json_number(double value) {
    if (!std::isfinite(value)) return nullptr;
    const std::string text = general_number_text(value, '.');
    double shown = 0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
}

nlohmann::ordered_json json_bytes(long double bytes) {
    if (is_integer_bytes(bytes)) return static_cast<long long>(bytes);
    const auto value = static_cast<double>(bytes);
    if (!std::isfinite(value)) return nullptr;
    return value;
}

std::string bytes_text(long double bytes) {
    if (is_integer_bytes(bytes)) return std::to_string(static_cast<long long>(bytes));
    // nlohmann writes a double with "." under every locale.
    if (std::isfinite(static_cast<double>(bytes))) return json_bytes(bytes).dump();
    // Beyond the range of a double, which the sum of a long log may reach.
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, bytes, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

namespace {

bool beyond_double(long double value) { return std::isinf(static_cast<double>(value)) && !std::isnan(value); }

double largest_of_sign(long double value) {
    return value < 0 ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max();
}

}  // namespace

bool set_value(nlohmann::ordered_json& object, const char* key, double value) {
    const bool beyond = beyond_double(value);
    object[key] = beyond ? nlohmann::ordered_json(largest_of_sign(value)) : json_number(value);
    return beyond;
}

bool set_bytes(nlohmann::ordered_json& object, const char* key, long double bytes) {
    const bool beyond = beyond_double(bytes);
    object[key] = beyond ? nlohmann::ordered_json(largest_of_sign(bytes)) : json_bytes(bytes);
    return beyond;
}

void mark_overflow(nlohmann::ordered_json& object, bool overflow) {
    if (overflow) object["overflow"] = true;
}

}  // namespace loglezer::cli

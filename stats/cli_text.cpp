#include "stats/cli_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "stats/cli.h"
#include "stats/number_format.h"

namespace loglezer::cli {
namespace {

// The length of the UTF-8 character at the front of `text`; 0 when the bytes
// there are no UTF-8 (a stray continuation byte, an overlong form, a surrogate,
// beyond U+10FFFF or cut short).
std::size_t utf8_length(std::string_view text) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
    }
    return length;
}

// 2^63: the first whole number an integer of JSON readers may not hold.
constexpr long double kIntegerLimit = 9223372036854775808.0L;

bool is_integer_bytes(long double bytes) {
    return std::isfinite(bytes) && std::fabs(bytes) < kIntegerLimit && bytes == std::trunc(bytes);
}

}  // namespace

std::string utf8_from_latin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

bool is_utf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = utf8_length(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string shown_text(std::string_view log_text) { return terminal_text(utf8_from_latin1(log_text)); }

std::size_t display_width(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string pad_left(const std::string& text, std::size_t width) {
    const std::size_t w = display_width(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

std::string pad_right(const std::string& text, std::size_t width) {
    const std::size_t w = display_width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
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
    if (std::isfinite(static_cast<double>(bytes))) return json_bytes(bytes).dump();
    // Beyond the range of a double, which the sum of a long log may reach.
    char text[64];
    std::snprintf(text, sizeof text, "%.17Lg", bytes);
    return text;
}

}  // namespace loglezer::cli

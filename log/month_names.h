#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace loglezer {

// Translates between the log's English month abbreviations and the Dutch
// month names. Runs 24 tests in order ("Jan" -> "Januari" ... "Dec" ->
// "December", then "Januari" -> "Jan" ... "December" -> "Dec") and returns
// the result of the last test whose search text occurs in `text` (exact
// case); nothing when none does. The caller stores a result in the current
// month name and leaves that name as it was when there is none.
std::optional<std::string_view> look_up_month(std::string_view text);

namespace month_abbrevs {

// The log's twelve month abbreviations, in calendar order.
inline constexpr std::string_view kAll[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The three letters of an abbreviation as one number.
constexpr unsigned key(std::string_view text) {
    return static_cast<unsigned char>(text[0]) | static_cast<unsigned char>(text[1]) << 8 |
           static_cast<unsigned char>(text[2]) << 16;
}

// The twelve abbreviations' numbers in a table of 32 places, at five bits
// folded from their number: the shift is the first under which no two share
// a place, so checking a text costs one look-up. Every line's date is
// checked: the look-up is inline.
struct Slots {
    static constexpr unsigned kFree = ~0u;  // above every number of three characters
    unsigned shift;
    std::array<unsigned, 32> keys;  // kFree where no abbreviation is
    constexpr unsigned place(unsigned key) const { return ((key >> shift) ^ (key >> (shift + 5))) & 31; }
};

inline constexpr Slots kSlots = [] {
    for (unsigned shift = 0;; ++shift) {
        Slots table{shift, {}};
        for (unsigned& k : table.keys) k = Slots::kFree;
        bool apart = true;
        for (int i = 0; i < 12 && apart; ++i) {
            const unsigned k = key(kAll[i]);
            unsigned& place = table.keys[table.place(k)];
            apart = place == Slots::kFree;
            place = k;
        }
        if (apart) return table;
    }
}();

}  // namespace month_abbrevs

// Whether the text is one of the twelve abbreviations "Jan" .. "Dec",
// letter case as shown.
inline bool is_month_abbrev(std::string_view text) {
    if (text.size() != 3) return false;
    const unsigned key = month_abbrevs::key(text);
    return month_abbrevs::kSlots.keys[month_abbrevs::kSlots.place(key)] == key;
}

// The Dutch name of month 1 to 12 ("Januari" .. "December").
std::string_view dutch_month_name(int month);

}  // namespace loglezer

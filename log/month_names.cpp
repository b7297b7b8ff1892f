#include "log/month_names.h"

#include <array>

namespace loglezer {
namespace {

struct Translation {
    std::string_view search;
    std::string_view result;
};

constexpr Translation kTests[24] = {
    {"Jan", "Januari"},   {"Feb", "Februari"}, {"Mar", "Maart"},    {"Apr", "April"},     {"May", "Mei"},
    {"Jun", "Juni"},      {"Jul", "Juli"},     {"Aug", "Augustus"}, {"Sep", "September"}, {"Oct", "Oktober"},
    {"Nov", "November"},  {"Dec", "December"}, {"Januari", "Jan"},  {"Februari", "Feb"},  {"Maart", "Mar"},
    {"April", "Apr"},     {"Mei", "May"},      {"Juni", "Jun"},     {"Juli", "Jul"},      {"Augustus", "Aug"},
    {"September", "Sep"}, {"Oktober", "Oct"},  {"November", "Nov"}, {"December", "Dec"},
};

}  // namespace

std::optional<std::string_view> look_up_month(std::string_view text) {
    std::optional<std::string_view> result;
    for (const auto& t : kTests) {
        if (text.find(t.search) != std::string_view::npos) result = t.result;
    }
    return result;
}

namespace {

// The three letters of an abbreviation as one number.
constexpr unsigned month_key(std::string_view text) {
    return static_cast<unsigned char>(text[0]) | static_cast<unsigned char>(text[1]) << 8 |
           static_cast<unsigned char>(text[2]) << 16;
}

// The twelve abbreviations' numbers in a table of 32 places, at five bits
// folded from their number: the shift is the first under which no two share
// a place, so checking a text costs one look-up.
struct MonthSlots {
    static constexpr unsigned kFree = ~0u;  // above every number of three characters
    unsigned shift;
    std::array<unsigned, 32> keys;  // kFree where no abbreviation is
    constexpr unsigned place(unsigned key) const { return ((key >> shift) ^ (key >> (shift + 5))) & 31; }
};

constexpr MonthSlots kMonthSlots = [] {
    for (unsigned shift = 0;; ++shift) {
        MonthSlots slots{shift, {}};
        for (unsigned& key : slots.keys) key = MonthSlots::kFree;
        bool apart = true;
        for (int i = 0; i < 12 && apart; ++i) {
            const unsigned key = month_key(kTests[i].search);
            unsigned& place = slots.keys[slots.place(key)];
            apart = place == MonthSlots::kFree;
            place = key;
        }
        if (apart) return slots;
    }
}();

}  // namespace

bool is_month_abbrev(std::string_view text) {
    if (text.size() != 3) return false;
    const unsigned key = month_key(text);
    return kMonthSlots.keys[kMonthSlots.place(key)] == key;
}

std::string_view dutch_month_name(int month) { return kTests[month - 1].result; }

}  // namespace loglezer

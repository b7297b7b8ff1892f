#include "log/month_names.h"

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

int month_of_abbrev(std::string_view text) {
    if (text.size() != 3) return 0;
    // The first twelve tests search for the abbreviations, in calendar order.
    for (int month = 1; month <= 12; ++month) {
        const std::string_view abbrev = kTests[month - 1].search;
        if (text[0] == abbrev[0] && text[1] == abbrev[1] && text[2] == abbrev[2]) return month;
    }
    return 0;
}

std::string_view dutch_month_name(int month) { return kTests[month - 1].result; }

}  // namespace loglezer

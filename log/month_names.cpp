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

std::string_view dutch_month_name(int month) { return kTests[month - 1].result; }

}  // namespace loglezer

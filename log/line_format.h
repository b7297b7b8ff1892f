#pragma once

#include <cstdint>
#include <string_view>

namespace loglezer {

// Texts taken from one log line "dd-Mon-yyyy,download,upload,...". Positions
// count from 1; a range past the end of the line yields fewer characters or
// none, and none of these ever fails.

// Characters from position `from` (1-based), at most `count` of them.
std::string_view copy_text(std::string_view text, std::size_t from, std::size_t count);
// The text without its first `count` characters.
inline std::string_view drop_front(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string_view{} : text.substr(count);
}
// The text before its first ","; the whole text when it holds none.
std::string_view up_to_comma(std::string_view text);
// The text after its first ","; empty when it holds none.
std::string_view after_comma(std::string_view text);

// The characters before the line's first ","; empty when it has none.
std::string_view date_field(std::string_view line);
// The date field without its first 7 characters: characters 8 to 11 of a
// usual date field.
std::string_view year_text(std::string_view line);
// Characters 8 to 11: the text the year number is read from.
std::string_view year_number_text(std::string_view line);
// Characters 4 to 6.
std::string_view month_abbrev(std::string_view line);
// The date field without its first 3 characters (Mon-yyyy).
std::string_view month_year_text(std::string_view line);
// Characters 1 and 2.
std::string_view day_text(std::string_view line);

// Whether the line begins with a date field the position-based rules can
// read: "dd-Mon-yyyy" (read_log_date's form, whatever the day number) and a
// "," after it.
bool is_log_date(std::string_view line);
// Fails with "'date' is not a valid date" when the line does not begin with
// such a date; the text quoted is the line up to its first ",".
void check_date(std::string_view line);

// The year number: characters 8 to 11 read as a whole number.
int year_number(std::string_view line);

// Tells whether a line's year number is one year, failing as year_number
// does.
class YearNumberIs {
public:
    explicit YearNumberIs(int year);
    bool operator()(std::string_view line) const { return year_number(line) == year_; }
    // Whether a dated line's year, as LineList::dated_year keeps it, is the
    // year: its four digits read as the year number they spell, without
    // reading the line.
    bool dated(std::uint32_t year_word) const { return year_word == digits_; }

private:
    int year_;
    std::uint32_t digits_ = 0;  // the year's four digits as dated_year keeps them; 0 outside 0000 to 9999
};

// The download and upload texts of a line, before conversion. The first way
// of removing the date field drops exactly 12 characters; the second drops
// everything up to and including the first ",". The upload text ends at the
// next "," or at the line's end.
struct AmountTexts {
    std::string_view download;
    std::string_view upload;
};
enum class DateSkip { FirstTwelve, UpToComma };
AmountTexts amount_texts(std::string_view line, DateSkip skip);

// Whether both amount texts of the line, taken as amount_texts takes them
// after the first 12 characters, are 1 to 19 digits and nothing else (the
// texts plain_digits_value reads); then their values. Every byte count the
// metering program writes is such a text: this is the yearly walk's way of
// reading a line, and any other line is left to the full conversion.
bool plain_amounts(std::string_view line, std::uint64_t& download, std::uint64_t& upload);

}  // namespace loglezer

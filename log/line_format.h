#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "log/words.h"

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

// Whether the line's date field is its first 11 characters: a "," after
// them and none among them, as in nearly every line.
inline bool has_usual_date_field(std::string_view line) {
    return line.size() >= 12 && line[11] == ',' && words::no_comma_in_11(line.data());
}
// The characters before the line's first ","; empty when it has none.
std::string_view date_field(std::string_view line);
// The date field without its first 7 characters: characters 8 to 11 of a
// usual date field.
inline std::string_view year_text(std::string_view line) {
    return has_usual_date_field(line) ? line.substr(7, 4) : drop_front(date_field(line), 7);
}
// Whether two year texts are equal. Runs of years are found by comparing
// the year text of every line; the usual four characters are compared as
// one word, without a library call.
inline bool same_year_text(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    return a.size() == 4 ? std::memcmp(a.data(), b.data(), 4) == 0 : a == b;
}
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
// does. Lines are searched for a year one after the other: four digits, as
// nearly every line has there, are told by comparing them as one word.
class YearNumberIs {
public:
    explicit YearNumberIs(int year);
    bool operator()(std::string_view line) const {
        if (line.size() >= 11) {
            std::uint32_t word;
            std::memcpy(&word, line.data() + 7, 4);
            const Told told = by_digits(word);
            if (told != Told::Unknown) return told == Told::Yes;
        }
        return year_number(line) == year_;
    }
    // For characters 8 to 11 of a line as one word (the first in the lowest
    // byte): whether they are the year, when they are four digits; unknown
    // when they are not, and the line must be read.
    enum class Told { Yes, No, Unknown };
    Told by_digits(std::uint32_t word) const {
        if (has_digits_ && word == digits_) return Told::Yes;
        // Four other digits are another year.
        if ((words::non_digit_bits(word) & 0x80808080u) == 0) return Told::No;
        return Told::Unknown;
    }

private:
    int year_;
    bool has_digits_ = false;  // the year has four digits, 0000 to 9999
    std::uint32_t digits_ = 0;
};

// The download and upload texts of a line, before conversion. The first way
// of removing the date field drops exactly 12 characters; the second drops
// everything up to and including the first ",". The upload text needs a ","
// after it: without one it is empty.
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

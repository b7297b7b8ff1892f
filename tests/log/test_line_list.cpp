#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "log/failure.h"
#include "log/line_list.h"

using loglezer::Failure;
using loglezer::LineList;

namespace {

std::vector<std::string> split(const std::string& content) {
    const LineList list = LineList::from_content(content);
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.emplace_back(list.at(i));
    return out;
}

struct SplitCase {
    const char* name;
    std::string content;
    std::vector<std::string> lines;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, GivesTheLinesInFileOrder) { EXPECT_EQ(split(GetParam().content), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(Breaks, Split,
                         ::testing::Values(SplitCase{"empty", "", {}}, SplitCase{"no_break", "a", {"a"}},
                                           SplitCase{"crlf_final", "a\r\nb\r\n", {"a", "b"}},
                                           SplitCase{"crlf", "a\r\nb", {"a", "b"}},
                                           SplitCase{"lf", "a\nb\n", {"a", "b"}}, SplitCase{"cr", "a\rb\r", {"a", "b"}},
                                           SplitCase{"lf_cr", "a\n\rb", {"a", "", "b"}},
                                           SplitCase{"empty_lines", "a\r\n\r\nb\n\nc", {"a", "", "b", "", "c"}},
                                           SplitCase{"only_break", "\r\n", {""}},
                                           SplitCase{"two_breaks", "\n\n", {"", ""}},
                                           SplitCase{"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                                           // NUL bytes are skipped wherever they stand.
                                           SplitCase{"nul_in_line", std::string("a\nb\0c\nd", 7), {"a", "bc", "d"}},
                                           SplitCase{"nul_first", std::string("\0a\n", 3), {"a"}},
                                           SplitCase{"nul_line", std::string("a\n\0\0\0\nb", 7), {"a", "", "b"}},
                                           SplitCase{"nul_run_for_a_line", std::string("a\n\0\0\0b", 7), {"a", "b"}},
                                           SplitCase{"untrimmed", "  a ,1,2, \t\n", {"  a ,1,2, \t"}},
                                           SplitCase{"high_bytes", "\xe9\xff\n\x80", {"\xe9\xff", "\x80"}},
                                           // A UTF-8 byte order mark is skipped at the start only.
                                           SplitCase{"bom",
                                                     "\xEF\xBB\xBF"
                                                     "a\nb",
                                                     {"a", "b"}},
                                           SplitCase{"only_bom", "\xEF\xBB\xBF", {}},
                                           SplitCase{"bom_then_break", "\xEF\xBB\xBF\r\na", {"", "a"}},
                                           SplitCase{"bom_later",
                                                     "a\n\xEF\xBB\xBF"
                                                     "b",
                                                     {"a",
                                                      "\xEF\xBB\xBF"
                                                      "b"}},
                                           SplitCase{"half_bom",
                                                     "\xEF\xBB"
                                                     "a",
                                                     {"\xEF\xBB"
                                                      "a"}}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// A line's length is kept in 24 bits, a longer one apart.
TEST(LineList, LinesOfMillionsOfCharactersKeepTheirLength) {
    constexpr std::size_t kApart = (std::size_t{1} << 24) - 1;
    for (const std::size_t length : {kApart - 1, kApart, kApart + 70}) {
        const LineList list =
            LineList::from_content("a\n" + std::string(length, 'y') + "\r\nb\n" + std::string(kApart + 1, 'z') + "\rc");
        ASSERT_EQ(list.count(), 5) << length;
        EXPECT_EQ(list.at(0), "a");
        EXPECT_EQ(list.at(1).size(), length);
        EXPECT_EQ(list.at(1).find_first_not_of('y'), std::string_view::npos);
        EXPECT_EQ(list.at(2), "b");
        EXPECT_EQ(list.at(3).size(), kApart + 1);
        EXPECT_EQ(list.at(4), "c");
    }
}

// The year kept beside each line is that of a dated line alone, from the
// split as from a list of texts.
TEST(LineList, KeepsTheYearOfEachDatedLine) {
    const std::vector<std::string> lines = {"01-Jan-2005,1,2,", "3-Feb-2005,1,2,",  "01-Feb-2006,",
                                            "01-Xyz-2007,1,2,", "01-Mar-20,8,1,2,", "",
                                            "01-Apr-2009"};
    const auto word = [](const char* year) {
        std::uint32_t w = 0;
        std::memcpy(&w, year, 4);
        return w;
    };
    const std::vector<std::uint32_t> expected = {word("2005"), 0, word("2006"), 0, 0, 0, 0};
    std::string content;
    for (const auto& line : lines) content += line + "\r\n";
    for (const LineList& list : {LineList::from_content(content), LineList::from_lines(lines)}) {
        ASSERT_EQ(list.count(), 7);
        for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list.dated_year(i), expected[i]) << lines[i];
    }
}

// Pairs of a line index and the NULs it lost.
std::vector<std::pair<long long, std::size_t>> lost_nuls(const std::string& content) {
    std::vector<std::pair<long long, std::size_t>> out;
    const LineList list = LineList::from_content(content);
    for (const auto& lost : list.lost_nuls()) out.emplace_back(lost.line, lost.count);
    return out;
}

TEST(LineList, KeepsTheLinesThatLostNuls) {
    using Lost = std::vector<std::pair<long long, std::size_t>>;
    EXPECT_EQ(lost_nuls("a\nb\n"), Lost{});
    EXPECT_EQ(lost_nuls(std::string("a\nb\0c\0\0\nd", 9)), (Lost{{1, 3}}));
    EXPECT_EQ(lost_nuls(std::string("\0a\r\0\nb\n\0\0\0\nc\0", 13)), (Lost{{0, 2}, {2, 3}, {3, 1}}));
    EXPECT_EQ(lost_nuls(std::string("a\n\0\0", 4)), (Lost{{0, 2}}));  // after the last line: the last line's
    EXPECT_EQ(lost_nuls(std::string("\0\0", 2)), Lost{});             // no line to name
}

TEST(LineList, IndexOutsideTheListFails) {
    const LineList list = LineList::from_lines({"a", "b"});
    EXPECT_EQ(list.at(1), "b");
    for (long long index : {-1LL, 2LL, 1000LL}) {
        try {
            list.at(index);
            FAIL() << index;
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
    EXPECT_THROW(LineList().at(0), Failure);
}

TEST(LineList, CopiesKeepTheirLines) {
    LineList a = LineList::from_content("x\ny");
    const LineList b = a;
    a = LineList::from_content("z");
    EXPECT_EQ(b.count(), 2);
    EXPECT_EQ(b.at(1), "y");
}

}  // namespace

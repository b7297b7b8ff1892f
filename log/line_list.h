#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/big_buffer.h"
#include "log/failure.h"

namespace loglezer {

// All lines of the log, in file order, each without its line break and
// untrimmed. The lines are views into one buffer holding the file content, so
// loading a large log costs one allocation for the text and two for the
// index, of 12 bytes a line: where each line is, and its year if dated.
class LineList {
public:
    LineList() = default;
    // Builds a list of the given texts (for tests and tools).
    static LineList from_lines(const std::vector<std::string>& lines);
    // Takes the whole file content and splits it: CR, LF or CR LF end a line,
    // every NUL byte is skipped, a final break gives no empty last line, and a
    // UTF-8 byte order mark at the start is skipped.
    static LineList from_content(const std::string& content);
    static LineList from_content(ContentBuffer content);

    int count() const { return static_cast<int>(spans_.size()); }
    // The lines that lost NUL bytes in the split, in line order, with how
    // many each lost: NULs after the last line count for the last line, and
    // with no line at all they are not kept. Empty when there were none.
    struct LostNuls {
        long long line;
        std::size_t count;
    };
    const std::vector<LostNuls>& lost_nuls() const { return lost_nuls_; }
    // The line at index; an index outside 0..count()-1 fails with
    // "List index out of bounds (index)".
    std::string_view at(long long index) const {
        if (index < 0 || index >= static_cast<long long>(spans_.size())) fail_index(index);
        const std::uint64_t span = spans_[static_cast<std::size_t>(index)];
        const std::size_t length = span & kLongLine;
        return {content_.data() + (span >> kLengthBits), length == kLongLine ? long_line_length(index) : length};
    }
    // The year text of the line at `index` (0 to count()-1), its four
    // characters copied into one word, when the line begins with a date the
    // position rules read (is_log_date); 0 for any other line, which must be
    // read itself. Kept from the split, so that a walk over every line's year
    // need not read the lines.
    std::uint32_t dated_year(long long index) const { return years_[static_cast<std::size_t>(index)]; }
    // What a failure on the line at `index` calls it in place of its number,
    // for lines made from rows of a database ("eth0 2024-03-01"); empty for
    // a file's lines, which are named by their number.
    void name_lines(std::vector<std::string> names) { line_names_ = std::move(names); }
    std::string_view line_name(long long index) const {
        const auto i = static_cast<std::size_t>(index);
        return index >= 0 && i < line_names_.size() ? std::string_view(line_names_[i]) : std::string_view();
    }
    // Runs `read`, a read of the line at `index`, and returns what it
    // returns. A Failure it throws is told that it happened on that line
    // before it goes on; an index outside the list (a search that ran past
    // the last line) names no line. A read that does not fail costs nothing
    // more.
    template <class Read>
    decltype(auto) noting_line(long long index, Read&& read) const {
        try {
            return read();
        } catch (Failure& failure) {
            if (index >= 0 && index < count()) failure.set_line(index);
            throw;
        }
    }

private:
    // Where a line is in the content, as one word: its offset in the high
    // 40 bits, its length in the low 24 bits. A line of kLongLine characters
    // or more has kLongLine there and its length in long_lines_.
    static constexpr unsigned kLengthBits = 24;
    static constexpr std::size_t kLongLine = (std::size_t{1} << kLengthBits) - 1;
    struct LongLine {
        long long index;
        std::size_t length;
    };
    // Where NULs were dropped: their count at each offset of the content left.
    struct DroppedNuls {
        std::size_t offset;
        std::size_t count;
    };
    static std::vector<DroppedNuls> drop_nuls(ContentBuffer& content);
    // Splits the content into lines; false, with no lines kept, when it
    // holds a NUL byte.
    bool split();
    // Indexes the line of `length` characters at `offset` as the next line.
    void index_line(std::size_t offset, std::size_t length);
    std::size_t long_line_length(long long index) const;
    void keep_lost_nuls(const std::vector<DroppedNuls>& dropped);

    ContentBuffer content_;
    std::vector<std::uint64_t> spans_;
    std::vector<std::uint32_t> years_;  // see dated_year
    std::vector<LongLine> long_lines_;  // in line order
    std::vector<LostNuls> lost_nuls_;
    std::vector<std::string> line_names_;  // see line_name
};

}  // namespace loglezer

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "log/big_buffer.h"
#include "log/failure.h"

namespace loglezer {

// All lines of the log, in file order, each without its line break and
// untrimmed. The lines are views into one buffer holding the file content, so
// loading a large log costs one allocation for the text and one for the index.
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
    std::string_view at(long long index) const;
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
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    // Where NULs were dropped: their count at each offset of the content left.
    struct DroppedNuls {
        std::size_t offset;
        std::size_t count;
    };
    static std::vector<DroppedNuls> drop_nuls(ContentBuffer& content);
    void keep_lost_nuls(const std::vector<DroppedNuls>& dropped);

    ContentBuffer content_;
    std::vector<Span, BigAllocator<Span>> spans_;
    std::vector<LostNuls> lost_nuls_;
};

}  // namespace loglezer

#include "log/line_list.h"

#include <algorithm>
#include <cstring>
#include <new>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "log/failure.h"
#include "log/line_format.h"

namespace loglezer {

LineList LineList::from_lines(const std::vector<std::string>& lines) {
    LineList list;
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size();
    list.content_.reserve(total);
    for (const auto& line : lines) list.content_.insert(list.content_.end(), line.begin(), line.end());
    list.spans_.resize(lines.size());
    list.years_.resize(lines.size());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        list.index_line(i, offset, lines[i].size());
        offset += lines[i].size();
    }
    return list;
}

LineList LineList::from_content(const std::string& content) {
    return from_content(ContentBuffer(content.begin(), content.end()));
}

LineList LineList::from_content(ContentBuffer content) {
    LineList list;
    list.content_ = std::move(content);
    // NUL bytes are rare: the split notices them on its way, and only then
    // are they dropped and the content split again.
    if (!list.split()) {
        const std::vector<DroppedNuls> dropped = drop_nuls(list.content_);
        list.split();
        list.keep_lost_nuls(dropped);
    }
    return list;
}

std::size_t LineList::long_line_length(long long index) const {
    const auto line = std::lower_bound(long_lines_.begin(), long_lines_.end(), index,
                                       [](const LongLine& l, long long i) { return l.index < i; });
    return line->length;
}

namespace {

#ifdef __SSE2__
// Which of the 64 bytes from p are at or below CR, as a mask: every line
// break and NUL byte is among them, and few other bytes of a log (a tab).
std::uint64_t low_bytes(const char* p) {
    const __m128i cr = _mm_set1_epi8('\r');
    const auto low16 = [&](std::size_t from) -> std::uint64_t {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(block, cr), block)));
    };
    return low16(0) | low16(16) << 16 | low16(32) << 32 | low16(48) << 48;
}
#endif

}  // namespace

inline void LineList::index_line(std::size_t index, std::size_t offset, std::size_t length) {
    const std::string_view line(content_.data() + offset, length);
    std::uint32_t year = 0;
    if (is_log_date(line)) std::memcpy(&year, line.data() + 7, 4);
    years_[index] = year;
    if (length >= kLongLine) {
        long_lines_.push_back({static_cast<long long>(index), length});
        length = kLongLine;
    }
    spans_[index] = std::uint64_t{offset} << kLengthBits | length;
}

// One split of the content: where the line being read starts and how many
// lines are indexed. The index is sized by a rough guess of the line count,
// grows in place and is cut to the count at the end: its words are written,
// never cleared first.
struct LineList::Splitter {
    LineList& list;
    const char* const begin;
    const std::size_t n;
    std::size_t line_start = 0;
    std::size_t lines = 0;
    bool nul = false;  // a NUL byte was found: the split is given up

    explicit Splitter(LineList& to) : list(to), begin(to.content_.data()), n(to.content_.size()) {}

    // Ends the line being read before `end`, the first character of its
    // break or the end of the content.
    void end_line(std::size_t end) {
        if (lines == list.spans_.size()) {
            list.spans_.resize(2 * lines);
            list.years_.resize(2 * lines);
        }
        list.index_line(lines, line_start, end - line_start);
        ++lines;
    }

    // Looks at the byte at i: a break ends the line (a CR LF pair is one
    // break) and the index of its last byte is returned; a NUL gives the
    // split up. Other bytes are passed over.
    std::size_t look_at(std::size_t i) {
        const char c = begin[i];
        if (c == '\n' || c == '\r') {
            end_line(i);
            if (c == '\r' && i + 1 < n && begin[i + 1] == '\n') ++i;
            line_start = i + 1;
        }
        nul |= c == '\0';
        return i;
    }

    bool run() {
        list.spans_.resize(n / 40 + 1);
        list.years_.resize(list.spans_.size());
        // A UTF-8 byte order mark before the first date is no part of the
        // line: left in, it would shift every character position of line 0.
        line_start = n >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
        std::size_t i = line_start;
#ifdef __SSE2__
        // Sixty-four bytes at a time.
        for (; i + 64 <= n && !nul; i = std::max(i + 64, line_start)) {
            for (std::uint64_t mask = low_bytes(begin + i); mask != 0; mask &= mask - 1) {
                const auto bit = static_cast<unsigned>(__builtin_ctzll(mask));
                // The LF of a CR LF pair is taken with its CR: it is no break
                // of its own (in the next block, the block starts after it).
                if (look_at(i + bit) != i + bit) mask &= ~(std::uint64_t{2} << bit);
            }
        }
#endif
        for (; i < n && !nul; ++i) i = look_at(i);
        if (nul) return false;
        if (line_start < n) end_line(n);
        list.spans_.resize(lines);
        list.years_.resize(lines);
        return true;
    }
};

bool LineList::split() {
    // Every offset must fit its 40 bits: a content that large cannot have
    // been read into the memory anyway.
    if ((content_.size() >> (64 - kLengthBits)) != 0) throw std::bad_alloc();
    long_lines_.clear();
    if (Splitter(*this).run()) return true;
    spans_.clear();
    years_.clear();
    long_lines_.clear();
    return false;
}

std::vector<LineList::DroppedNuls> LineList::drop_nuls(ContentBuffer& content) {
    // NUL bytes are no part of any log text. A crash during an append leaves
    // a run of them, and the metering program then appends after it: dropped
    // as if they were not there, the lines after them are still read.
    std::vector<DroppedNuls> dropped;
    const void* nul = content.empty() ? nullptr : std::memchr(content.data(), '\0', content.size());
    if (!nul) return dropped;
    std::size_t kept = static_cast<std::size_t>(static_cast<const char*>(nul) - content.data());
    for (std::size_t i = kept; i < content.size(); ++i) {
        if (content[i] != '\0') {
            content[kept++] = content[i];
        } else if (!dropped.empty() && dropped.back().offset == kept) {
            ++dropped.back().count;
        } else {
            dropped.push_back({kept, 1});
        }
    }
    content.resize(kept);
    return dropped;
}

void LineList::keep_lost_nuls(const std::vector<DroppedNuls>& dropped) {
    if (spans_.empty()) return;
    for (const DroppedNuls& d : dropped) {
        // The last line that starts at or before the place; NULs before the
        // first line (before a byte order mark) count for the first.
        const auto after =
            std::upper_bound(spans_.begin(), spans_.end(), d.offset,
                             [](std::size_t offset, std::uint64_t span) { return offset < (span >> kLengthBits); });
        const long long line = after == spans_.begin() ? 0 : after - spans_.begin() - 1;
        if (!lost_nuls_.empty() && lost_nuls_.back().line == line) {
            lost_nuls_.back().count += d.count;
        } else {
            lost_nuls_.push_back({line, d.count});
        }
    }
}

}  // namespace loglezer

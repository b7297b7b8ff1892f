#include "log/line_list.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "log/failure.h"

namespace loglezer {

LineList LineList::from_lines(const std::vector<std::string>& lines) {
    LineList list;
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size();
    list.content_.reserve(total);
    list.spans_.reserve(lines.size());
    for (const auto& line : lines) {
        list.spans_.push_back({list.content_.size(), line.size()});
        list.content_.insert(list.content_.end(), line.begin(), line.end());
    }
    return list;
}

LineList LineList::from_content(const std::string& content) {
    return from_content(ContentBuffer(content.begin(), content.end()));
}

LineList LineList::from_content(ContentBuffer content) {
    LineList list;
    const std::vector<DroppedNuls> dropped = drop_nuls(content);
    list.content_ = std::move(content);
    const char* const begin = list.content_.data();
    // A rough guess of the line count keeps the index from growing many times.
    list.spans_.reserve(list.content_.size() / 40 + 1);

    const std::size_t n = list.content_.size();
    // A UTF-8 byte order mark before the first date is no part of the line:
    // left in, it would shift every character position of line 0.
    std::size_t line_start = n >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    // Ends the line at the break character at i; returns the index of the
    // break's last character (a CR LF pair is one break).
    auto end_line = [&](std::size_t i) {
        list.spans_.push_back({line_start, i - line_start});
        if (begin[i] == '\r' && i + 1 < n && begin[i + 1] == '\n') ++i;
        line_start = i + 1;
        return i;
    };
    std::size_t i = line_start;
#ifdef __SSE2__
    // Sixteen bytes at a time: a mask of the CR and LF positions in the block.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (i + 16 <= n) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + i));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
        const std::size_t block_end = i + 16;
        std::size_t next = block_end;
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            mask &= mask - 1;
            if (at < line_start) continue;  // the LF of a CR LF pair already taken
            next = end_line(at) + 1;
        }
        i = next > block_end ? next : block_end;
    }
#endif
    for (; i < n; ++i) {
        const char c = begin[i];
        if (c == '\n' || c == '\r') i = end_line(i);
    }
    if (line_start < n) list.spans_.push_back({line_start, n - line_start});
    if (!dropped.empty()) list.keep_lost_nuls(dropped);
    return list;
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
        const auto after = std::upper_bound(spans_.begin(), spans_.end(), d.offset,
                                            [](std::size_t offset, const Span& s) { return offset < s.offset; });
        const long long line = after == spans_.begin() ? 0 : after - spans_.begin() - 1;
        if (!lost_nuls_.empty() && lost_nuls_.back().line == line) {
            lost_nuls_.back().count += d.count;
        } else {
            lost_nuls_.push_back({line, d.count});
        }
    }
}

std::string_view LineList::at(long long index) const {
    if (index < 0 || index >= static_cast<long long>(spans_.size())) fail_index(index);
    const Span& s = spans_[static_cast<std::size_t>(index)];
    return std::string_view(content_.data() + s.offset, s.length);
}

}  // namespace loglezer

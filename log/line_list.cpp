#include "log/line_list.h"

#include <algorithm>
#include <cstring>
#include <new>
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
        list.add_line(list.content_.size(), line.size());
        list.content_.insert(list.content_.end(), line.begin(), line.end());
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

inline void LineList::add_line(std::size_t offset, std::size_t length) {
    if (length >= kLongLine) {
        long_lines_.push_back({static_cast<long long>(spans_.size()), length});
        length = kLongLine;
    }
    spans_.push_back(std::uint64_t{offset} << kLengthBits | length);
}

std::size_t LineList::long_line_length(long long index) const {
    const auto line = std::lower_bound(long_lines_.begin(), long_lines_.end(), index,
                                       [](const LongLine& l, long long i) { return l.index < i; });
    return line->length;
}

#ifdef __SSE2__
namespace {

// The CR and LF bytes, and apart the NUL bytes, of 64 bytes as two masks.
struct BlockBytes {
    std::uint64_t breaks = 0;
    std::uint64_t nuls = 0;
};
BlockBytes block_bytes(const char* p) {
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    BlockBytes found;
    for (int k = 0; k < 4; ++k) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const auto breaks = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
        const auto nuls = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, nul)));
        found.breaks |= std::uint64_t{breaks} << (16 * k);
        found.nuls |= std::uint64_t{nuls} << (16 * k);
    }
    return found;
}

}  // namespace
#endif

bool LineList::split() {
    const char* const begin = content_.data();
    const std::size_t n = content_.size();
    // Every offset must fit its 40 bits: a content that large cannot have
    // been read into the memory anyway.
    if ((n >> (64 - kLengthBits)) != 0) throw std::bad_alloc();
    spans_.clear();
    long_lines_.clear();
    // A rough guess of the line count keeps the index from growing many times.
    spans_.reserve(n / 40 + 1);

    // A UTF-8 byte order mark before the first date is no part of the line:
    // left in, it would shift every character position of line 0.
    std::size_t line_start = n >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    // Ends the line at the break character at i; returns the index of the
    // break's last character (a CR LF pair is one break).
    auto end_line = [&](std::size_t i) {
        add_line(line_start, i - line_start);
        if (begin[i] == '\r' && i + 1 < n && begin[i + 1] == '\n') ++i;
        line_start = i + 1;
        return i;
    };
    std::size_t i = line_start;
#ifdef __SSE2__
    // Sixty-four bytes at a time.
    while (i + 64 <= n) {
        const BlockBytes found = block_bytes(begin + i);
        if (found.nuls != 0) break;
        std::uint64_t mask = found.breaks;
        const std::size_t block_end = i + 64;
        std::size_t next = block_end;
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctzll(mask));
            mask &= mask - 1;
            if (at < line_start) continue;  // the LF of a CR LF pair already taken
            next = end_line(at) + 1;
        }
        i = next > block_end ? next : block_end;
    }
#endif
    for (; i < n; ++i) {
        const char c = begin[i];
        if (c == '\0') {
            spans_.clear();
            long_lines_.clear();
            return false;
        }
        if (c == '\n' || c == '\r') i = end_line(i);
    }
    if (line_start < n) add_line(line_start, n - line_start);
    return true;
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

#include "log/line_list.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/plain_text.h"

namespace loglezer {

LineList LineList::from_lines(const std::vector<std::string>& lines) {
    LineList list;
    for (const auto& line : lines) list.content_.insert(list.content_.end(), line.begin(), line.end());
    list.spans_.reserve(lines.size());
    list.years_.reserve(lines.size());
    std::size_t offset = 0;
    for (const auto& line : lines) {
        list.index_line(offset, line.size());
        offset += line.size();
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

void LineList::index_line(std::size_t offset, std::size_t length) {
    const std::string_view line(content_.data() + offset, length);
    std::uint32_t year = 0;
    if (is_log_date(line)) std::memcpy(&year, line.data() + 7, 4);
    years_.push_back(year);
    if (length >= kLongLine) {
        long_lines_.push_back({static_cast<long long>(spans_.size()), length});
        length = kLongLine;
    }
    spans_.push_back(std::uint64_t{offset} << kLengthBits | length);
}

bool LineList::split() {
    // Every offset must fit its 40 bits: a content that large cannot have
    // been read into the memory anyway.
    if ((content_.size() >> (64 - kLengthBits)) != 0) throw std::bad_alloc();
    spans_.clear();
    years_.clear();
    long_lines_.clear();
    // Room for lines of 40 characters, about what the metering program
    // writes; more lines make the index grow.
    spans_.reserve(content_.size() / 40 + 1);
    years_.reserve(spans_.capacity());
    const std::size_t n = content_.size();
    // A NUL after the text ends the search for the last line's end; it is
    // taken off again after the split.
    content_.push_back('\0');
    const char* const text = content_.data();
    // A UTF-8 byte order mark before the first date is no part of the
    // line: left in, it would shift every character position of line 0.
    std::size_t line_start = byte_order_mark_length({text, n});
    bool nul = false;
    while (line_start < n) {
        // A line ends at the first CR or LF, or at a NUL: the one after the
        // text, or one inside it, which gives the split up. The C library
        // finds it looking at many bytes at a time.
        const std::size_t end = line_start + std::strcspn(text + line_start, "\r\n");
        if (end < n && text[end] == '\0') {
            nul = true;
            break;
        }
        index_line(line_start, end - line_start);
        // A CR LF pair is one break; a final break gives no empty last line.
        line_start = text[end] == '\r' && text[end + 1] == '\n' ? end + 2 : end + 1;
    }
    content_.pop_back();
    if (nul) {
        spans_.clear();
        years_.clear();
        long_lines_.clear();
    }
    return !nul;
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

#include "log/line_list.h"

#include <cstring>

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
        list.content_ += line;
    }
    return list;
}

LineList LineList::from_content(std::string content) {
    LineList list;
    if (const void* nul = std::memchr(content.data(), '\0', content.size())) {
        content.resize(static_cast<const char*>(nul) - content.data());
    }
    list.content_ = std::move(content);
    const char* const begin = list.content_.data();
    const char* const end = begin + list.content_.size();
    // A rough guess of the line count keeps the index from growing many times.
    list.spans_.reserve(list.content_.size() / 40 + 1);

    const char* p = begin;
    // The next LF at or after p, or nullptr when none is left.
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
    while (p < end) {
        // The next LF, then the first CR before it: whichever comes first ends
        // the line. The LF found is kept until p passes it, so a log with CR
        // breaks only is not searched to its end for every line.
        if (lf && lf < p) lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', stop - p));
        const char* brk = cr ? cr : lf;
        if (!brk) {
            list.spans_.push_back({static_cast<std::size_t>(p - begin), static_cast<std::size_t>(end - p)});
            break;
        }
        list.spans_.push_back({static_cast<std::size_t>(p - begin), static_cast<std::size_t>(brk - p)});
        p = brk + 1;
        if (*brk == '\r' && p < end && *p == '\n') ++p;
    }
    return list;
}

std::string_view LineList::at(long long index) const {
    if (index < 0 || index >= static_cast<long long>(spans_.size())) fail_index(index);
    const Span& s = spans_[static_cast<std::size_t>(index)];
    return std::string_view(content_.data() + s.offset, s.length);
}

}  // namespace loglezer

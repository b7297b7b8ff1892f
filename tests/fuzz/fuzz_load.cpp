// A whole log file: loaded from a file as the program does (into the memory
// of log/big_buffer.h) and split, against the plain split of its bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "log/line_format.h"
#include "log/log_file.h"
#include "log/plain_text.h"

using namespace loglezer;
using fuzz::require;

namespace {

// The splitting rules, written the plain way: CR, LF or CR LF end a line,
// LF CR gives an empty line between, every NUL is skipped, a final break
// gives no empty last line, a UTF-8 byte order mark at the start is skipped.
std::vector<std::string> plain_split(std::string content) {
    content.erase(std::remove(content.begin(), content.end(), '\0'), content.end());
    content.erase(0, byte_order_mark_length(content));
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = plain_split(content);

    const LineList split = LineList::from_content(content);
    require(split.count() == static_cast<int>(expected.size()), "line count");
    for (int i = 0; i < split.count(); ++i) {
        const std::string& line = expected[static_cast<std::size_t>(i)];
        require(split.at(i) == line, "line text");
        // The year kept beside a dated line is its year text.
        std::uint32_t year = 0;
        if (is_log_date(line)) std::memcpy(&year, line.data() + 7, 4);
        require(split.dated_year(i) == year, "dated year");
    }
    fuzz::run_checked([&] { split.at(split.count()); });

    // The same content through the file loader, from a file in memory.
    const int fd = memfd_create("log", MFD_CLOEXEC);
    require(fd >= 0, "memfd_create");
    require(write(fd, data, size) == static_cast<ssize_t>(size), "write");
    LineList loaded;
    fuzz::run_checked([&] { loaded = load_log("/", "/proc/self/fd/" + std::to_string(fd)); });
    close(fd);
    require(loaded.count() == split.count(), "loaded line count");
    for (int i = 0; i < loaded.count(); ++i) require(loaded.at(i) == split.at(i), "loaded line text");
    return 0;
}

#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace loglezer::cli {
namespace {

constexpr std::size_t kBlock = std::size_t{64} * 1024;

// Writes the whole text, going on after interruptions and short writes.
void write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throw OutputError(std::strerror(errno));
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

DescriptorOutput::DescriptorOutput(int fd) : fd_(fd) { held_.reserve(kBlock); }

void DescriptorOutput::write(std::string_view text) {
    if (held_.size() + text.size() < kBlock) {
        held_.append(text);
        return;
    }
    flush();
    // A large piece (a whole view) goes out as it is, without a copy.
    if (text.size() >= kBlock) {
        write_all(fd_, text);
    } else {
        held_.append(text);
    }
}

void DescriptorOutput::flush() {
    write_all(fd_, held_);
    held_.clear();
}

}  // namespace loglezer::cli

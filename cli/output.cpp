#include "cli/output.h"

#include <cstring>

#include "log/failure.h"
#include "log/files.h"

namespace loglezer::cli {
namespace {

constexpr std::size_t kBlock = std::size_t{64} * 1024;

// Writes the whole text, or throws the reason it could not.
void put(int fd, std::string_view text) {
    if (const int error = write_all(fd, text))
        throw Failure(std::string("cannot write the output: ") + std::strerror(error));
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
        put(fd_, text);
    } else {
        held_.append(text);
    }
}

void DescriptorOutput::flush() {
    put(fd_, held_);
    held_.clear();
}

}  // namespace loglezer::cli

#pragma once

// Where loglezer-stats writes its output.
#include <string>
#include <string_view>

namespace loglezer::cli {

// Where loglezer-stats writes its output, piece by piece as it is made, so
// that a long report never waits whole in memory. Throws Failure("cannot
// write the output: reason") when a piece cannot be written: output lost to
// a full disk or a closed descriptor must not pass for output written.
class Output {
public:
    virtual ~Output() = default;
    virtual void write(std::string_view text) = 0;
    // Writes what is still held back.
    virtual void flush() = 0;
};

// Output to a file descriptor, gathered into blocks so that a report of a
// million short lines takes a few hundred writes, not a million.
class DescriptorOutput final : public Output {
public:
    explicit DescriptorOutput(int fd);
    void write(std::string_view text) override;
    void flush() override;

private:
    int fd_;
    std::string held_;
};

}  // namespace loglezer::cli

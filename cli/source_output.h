#pragma once

// What the output says of its source, a vnStat database or a log.
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/output.h"
#include "session/log_source.h"

namespace loglezer::cli {

// `json`, a document written with dump(2), with the key "source" after its
// "format" (or first): {"kind": "vnstat", "path": ..., "interface": ...} or
// {"kind": "log", "path": ...}.
std::string with_source(std::string_view json, const LogSource& source);

// Output that names a vnStat database above a table or a check's lines
// ("vnStat database PATH, interface eth0", a log's stay as they are) and
// gives every JSON document its source; the rest passes unchanged.
class SourceOutput final : public Output {
public:
    SourceOutput(Output& out, const LogSource& source, Format format) : out_(out), source_(source), format_(format) {}
    void write(std::string_view text) override;
    void flush() override { out_.flush(); }

private:
    Output& out_;
    const LogSource& source_;
    Format format_;
    bool first_ = true;
};

}  // namespace loglezer::cli

#include "cli/source_output.h"

#include <nlohmann/json.hpp>

namespace loglezer::cli {

std::string with_source(std::string_view json, const LogSource& source) {
    nlohmann::ordered_json object;
    const bool vnstat = source.kind == LogSource::Kind::Vnstat;
    object["kind"] = vnstat ? "vnstat" : "log";
    object["path"] = source.path.lexically_normal().string();
    if (vnstat) object["interface"] = source.interface;
    // Indented as a key of the document is.
    std::string member = "  \"source\": ";
    for (const char c : object.dump(2)) {
        member += c;
        if (c == '\n') member += "  ";
    }
    member += ",\n";
    const std::string_view format_key = "{\n  \"format\": ";
    std::size_t at = json.rfind("{\n", 0) == 0 ? 2 : std::string_view::npos;
    if (json.rfind(format_key, 0) == 0) at = json.find('\n', format_key.size()) + 1;
    if (at == std::string_view::npos) return std::string(json);
    std::string out(json.substr(0, at));
    out += member;
    out += json.substr(at);
    return out;
}

void SourceOutput::write(std::string_view text) {
    if (!std::exchange(first_, false)) return out_.write(text);
    if (format_ == Format::Json) return out_.write(with_source(text, source_));
    if (format_ == Format::Table && source_.kind == LogSource::Kind::Vnstat) {
        out_.write(source_text(source_) + "\n\n");
    }
    out_.write(text);
}

}  // namespace loglezer::cli

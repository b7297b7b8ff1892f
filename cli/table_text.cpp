#include "cli/table_text.h"

#include <algorithm>

#include "text/terminal_text.h"

namespace loglezer::cli {

std::string shown_text(std::string_view log_text) { return terminal_text(utf8_from_latin1(log_text)); }

std::size_t display_width(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string pad_left(const std::string& text, std::size_t width) {
    const std::size_t w = display_width(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

std::string pad_right(const std::string& text, std::size_t width) {
    const std::size_t w = display_width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

std::string table_lines(const std::vector<TableRow>& rows) {
    std::array<std::size_t, 3> widths{};
    for (const TableRow& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], display_width(row[i]));
    }
    std::string out;
    for (const TableRow& row : rows) {
        out += pad_right(row[0], widths[0]) + "  " + pad_left(row[1], widths[1]) + "  " + pad_left(row[2], widths[2]);
        out += '\n';
    }
    return out;
}

std::string column_lines(const std::vector<std::vector<std::string>>& rows, std::string_view align) {
    std::vector<std::size_t> widths(align.size());
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], display_width(row[i]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            if (i > 0) line += "  ";
            line += align[i] == 'L' ? pad_right(row[i], widths[i]) : pad_left(row[i], widths[i]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + '\n';
    }
    return out;
}

}  // namespace loglezer::cli

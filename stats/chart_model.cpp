#include "stats/chart_model.h"

namespace loglezer {

Rgb auto_colour(int position) {
    static constexpr Rgb kPalette[16] = {
        {0xFF, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0xFF, 0xFF, 0x00}, {0x00, 0x00, 0xFF},
        {0xFF, 0xFF, 0xFF}, {0x80, 0x80, 0x80}, {0xFF, 0x00, 0xFF}, {0x00, 0x80, 0x80},
        {0x00, 0x00, 0x80}, {0x80, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x80, 0x80, 0x00},
        {0x80, 0x00, 0x80}, {0xC0, 0xC0, 0xC0}, {0x00, 0xFF, 0xFF}, {0x00, 0x00, 0x00},
    };
    return kPalette[((position % 16) + 16) % 16];
}

ChartModel::ChartModel(std::string title) { titles_.push_back(std::move(title)); }

void ChartModel::clear_points() {
    points_.clear();
    changed();
}

void ChartModel::add_point(double value, std::string label, long double bytes) {
    const int position = static_cast<int>(points_.size());
    points_.push_back({value, std::move(label), auto_colour(position), bytes});
    changed();
}

void ChartModel::add_point(double value, std::string label, long double bytes, Rgb colour) {
    points_.push_back({value, std::move(label), colour, bytes});
    changed();
}

void ChartModel::set_slot_count(std::size_t count) {
    slot_count_ = count;
    changed();
}

void ChartModel::add_line(ChartLine line) {
    lines_.push_back(std::move(line));
    changed();
}

void ChartModel::set_legend(bool on) {
    legend_ = on;
    changed();
}

void ChartModel::set_marks(Marks marks) {
    marks_ = marks;
    changed();
}

void ChartModel::set_labels_clear_of_bars(bool on) {
    labels_clear_ = on;
    changed();
}

void ChartModel::clear_titles() {
    titles_.clear();
    changed();
}

void ChartModel::add_title(std::string line) {
    titles_.push_back(std::move(line));
    changed();
}

void ChartModel::set_3d(bool on) {
    view_3d_ = on;
    changed();
}

void ChartModel::set_value_format(std::string pattern) {
    value_format_ = std::move(pattern);
    changed();
}

std::string picture_file_name(const ChartModel& chart) {
    std::string name;
    bool gap = false;
    // Plain ASCII, whatever the locale: a log byte above 0x7F is no letter.
    for (const char c : chart.titles().empty() ? std::string() : chart.titles().front()) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        if (!lower && !upper && !(c >= '0' && c <= '9')) {
            gap = true;
            continue;
        }
        if (gap && !name.empty()) name += '-';
        name += upper ? static_cast<char>(c - 'A' + 'a') : c;
        gap = false;
    }
    return (name.empty() ? "grafiek" : name) + ".jpg";
}

}  // namespace loglezer

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace loglezer {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// The automatic colour of the point at `position`: a 16-colour palette from
// red, repeated.
Rgb auto_colour(int position);

struct ChartPoint {
    double value;       // gigabytes
    std::string label;  // log bytes, shown as Latin-1
    Rgb colour;
    long double bytes;  // the amount the bar stands for, as read from the log
};

// A straight line drawn over the bars, such as a limit: from one place
// across the plot to another, measured in bar slots (slot i runs from i to
// i + 1, its bar in the middle), at values in the bars' unit. Its label is
// written in its colour above one of its ends, towards the other.
struct ChartLine {
    enum class LabelAt { From, To };
    double from_slot, from_value;
    double to_slot, to_value;
    Rgb colour;
    bool dashed;
    std::string label;
    LabelAt label_at;
};

// Which bars carry a mark with their value.
enum class Marks { Every, Last };

// What one bar chart panel shows: title lines, 3D view, and its one bar
// series (value format and points); for a picture of a billing period also
// lines over the bars, room for days still to come, and no legend. Plain C++, so the statistics can be run
// and tested without a window. Every operation calls the change callback, by
// which the panel widget asks for a repaint.
class ChartModel {
public:
    static constexpr const char* kInitialValueFormat = "#,##0.### GB";

    explicit ChartModel(std::string title);

    // remove all points
    void clear_points();
    // add a point at the end, with the automatic colour
    void add_point(double value, std::string label, long double bytes = 0);
    // add a point at the end, in `colour`
    void add_point(double value, std::string label, long double bytes, Rgb colour);
    // make room for `count` points in all, so that adding them moves none
    void reserve_points(std::size_t count) { points_.reserve(count); }
    // remove all title lines
    void clear_titles();
    // add a title line below the others
    void add_title(std::string line);
    // switch the 3D view on or off
    void set_3d(bool on);
    // set the value format the marks are written with
    void set_value_format(std::string pattern);
    // the number of bar slots across the plot: one per point unless more
    // are asked for, which leave room on the right
    void set_slot_count(std::size_t count);
    // add a line over the bars; the value scale takes it in
    void add_line(ChartLine line);
    // show or leave out the legend (one entry per point)
    void set_legend(bool on);
    // mark every bar with its value, or the last one only
    void set_marks(Marks marks);
    // keep the lines' labels off the bars and their marks, and the labels and
    // the marks inside the plot; when off, each line's label sits above the
    // end it names and a mark may reach past the plot's sides
    void set_labels_clear_of_bars(bool on);

    const std::vector<std::string>& titles() const { return titles_; }
    bool is_3d() const { return view_3d_; }
    const std::string& value_format() const { return value_format_; }
    const std::vector<ChartPoint>& points() const { return points_; }
    std::size_t slot_count() const { return slot_count_ > points_.size() ? slot_count_ : points_.size(); }
    const std::vector<ChartLine>& lines() const { return lines_; }
    bool has_legend() const { return legend_; }
    Marks marks() const { return marks_; }
    bool labels_clear_of_bars() const { return labels_clear_; }

    void set_on_change(std::function<void()> callback) { on_change_ = std::move(callback); }

private:
    void changed() {
        if (on_change_) on_change_();
    }

    std::vector<std::string> titles_;
    bool view_3d_ = true;
    std::string value_format_ = kInitialValueFormat;
    std::vector<ChartPoint> points_;
    std::size_t slot_count_ = 0;
    std::vector<ChartLine> lines_;
    bool legend_ = true;
    Marks marks_ = Marks::Every;
    bool labels_clear_ = false;
    std::function<void()> on_change_;
};

// The file name a picture of `chart` is offered under: its first title line
// in lower case ASCII, every run of other characters one "-", and ".jpg"
// ("download-per-maand-2026.jpg"); "grafiek.jpg" for a chart without a title.
std::string picture_file_name(const ChartModel& chart);

}  // namespace loglezer

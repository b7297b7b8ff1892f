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

// What one bar chart panel shows: title lines, 3D view, and its one bar
// series (value format and points). Plain C++, so the statistics can be run
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

    const std::vector<std::string>& titles() const { return titles_; }
    bool is_3d() const { return view_3d_; }
    const std::string& value_format() const { return value_format_; }
    const std::vector<ChartPoint>& points() const { return points_; }

    void set_on_change(std::function<void()> callback) { on_change_ = std::move(callback); }

private:
    void changed() {
        if (on_change_) on_change_();
    }

    std::vector<std::string> titles_;
    bool view_3d_ = true;
    std::string value_format_ = kInitialValueFormat;
    std::vector<ChartPoint> points_;
    std::function<void()> on_change_;
};

}  // namespace loglezer

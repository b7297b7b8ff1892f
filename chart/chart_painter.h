#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "log/separators.h"
#include "stats/chart_model.h"

class QPainter;

namespace loglezer {

// Positions on the unzoomed plot, as fractions of its size (x from the left
// edge, y from the bottom), in device pixels under a zoom, and back.
class ScaleMap {
public:
    // `plot` is the front rectangle of the plot in device pixels; `zoom` the
    // part of the unzoomed plot in view, in the same fractions.
    ScaleMap(const QRect& plot, const QRectF& zoom) : plot_(plot), zoom_(zoom) {}

    // The device column and row of a position, rounded to the nearest pixel
    // and kept within some tens of millions of pixels of the origin, however
    // deep the zoom.
    int x(double fraction) const;
    int y(double fraction) const;

    // The position at a device point.
    QPointF fraction_at(const QPoint& point) const;

private:
    QRect plot_;
    QRectF zoom_;
};

// The pixels of a side of `pixels` drawn `scale` times as large: their
// product, the scale taken to six decimals, rounded to the nearest whole
// pixel, halves up (1049 at 1.5 gives 1574).
int scaled_pixels(int pixels, double scale);

// The middle of the slot of bar `index` of `count`, across the unzoomed plot
// (0 at its left edge, 1 at its right).
double bar_centre(std::size_t index, std::size_t count);

// The texts of a chart's marks, one per point: its value in the model's
// value format and the separators. Made when the chart is set, so that
// painting only measures and draws them.
std::vector<QString> mark_texts(const ChartModel& model, const Separators& seps);

// The chart laid out in one area under one zoom: where its titles, legend,
// walls, bars, marks and lines go, worked out once. A ChartPainter makes it
// and paints from it; the panel keeps it between paints to find the bar
// under the pointer. It holds no reference to the model it was made from.
class ChartLayout {
public:
    // The area it was laid out in and the zoom it was laid out under.
    const QRect& area() const;
    const QRectF& zoom() const;

    // The front rectangle of the plot (inside its walls).
    const QRect& plot() const;

    // The bar drawn at `point` (its front, and in 3D its top and side);
    // nothing between the bars, above or below them, or outside the plot.
    std::optional<std::size_t> bar_at(const QPoint& point) const;

    // The box a bar is drawn in (its front, and in 3D its top and side), as
    // far as it lies within the plot and its depth; nothing for a bar out of
    // view.
    std::optional<QRect> bar_box(std::size_t index) const;

private:
    friend class ChartPainter;
    struct Parts;
    explicit ChartLayout(std::shared_ptr<const Parts> parts) : parts_(std::move(parts)) {}
    std::shared_ptr<const Parts> parts_;  // never null
};

// Draws one bar chart: its title lines, legend, walls, and bars with their
// marks and axis labels, flat or in an oblique 3D view, under a zoom. The
// panel on screen and its saved picture are both drawn by it. It only reads
// the model it is given, which must outlive it.
class ChartPainter {
public:
    // `zoom` is the part of the unzoomed plot in view (see ScaleMap). The
    // marks are written with `seps`.
    ChartPainter(const ChartModel& model, const Separators& seps, const QRectF& zoom)
        : ChartPainter(model, mark_texts(model, seps), zoom) {}
    // With the marks' texts made beforehand by mark_texts(), as a panel
    // keeps them.
    ChartPainter(const ChartModel& model, std::vector<QString> marks, const QRectF& zoom);

    // Where everything goes when the chart is drawn into `area`.
    ChartLayout lay_out(const QRect& area) const;

    // Draws the chart as `layout` places it, which this painter (or one of
    // the same model and marks) made.
    void paint(QPainter& painter, const ChartLayout& layout) const;
    // Draws the chart into `area` of `painter`, laid out for the size of
    // `area`.
    void paint(QPainter& painter, const QRect& area) const { paint(painter, lay_out(area)); }

    // The chart drawn into a new picture, laid out for `width` x `height`
    // on white and drawn `scale` times as large: text and lines are drawn at
    // that size, not blown up. The picture has scaled_pixels(width, scale) x
    // scaled_pixels(height, scale) pixels, packed RGB, whatever the screen's
    // scale; a null picture when there is no memory for it.
    QImage picture(int width, int height, double scale = 1.0) const;

    // The front rectangle of the plot (inside its walls) when the chart is
    // laid out in `area`.
    QRect plot_rect(const QRect& area) const;

private:
    const ChartModel& model_;
    std::vector<QString> marks_;
    QRectF zoom_;
};

}  // namespace loglezer

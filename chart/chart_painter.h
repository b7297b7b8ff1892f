#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <optional>

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

// Draws one bar chart: its title lines, legend, walls, and bars with their
// marks and axis labels, flat or in an oblique 3D view, under a zoom. The
// panel on screen and its saved picture are both drawn by it. It only reads
// what it is given, which must outlive it.
class ChartPainter {
public:
    // `zoom` is the part of the unzoomed plot in view (see ScaleMap).
    ChartPainter(const ChartModel& model, const Separators& seps, const QRectF& zoom)
        : model_(model), seps_(seps), zoom_(zoom) {}

    // Draws the chart into `area` of `painter`, laid out for the size of
    // `area`.
    void paint(QPainter& painter, const QRect& area) const;

    // The chart drawn into a new picture, laid out for `width` x `height`
    // on white and drawn `scale` times as large: text and lines are drawn at
    // that size, not blown up. The picture has scaled_pixels(width, scale) x
    // scaled_pixels(height, scale) pixels, packed RGB, whatever the screen's
    // scale; a null picture when there is no memory for it.
    QImage picture(int width, int height, double scale = 1.0) const;

    // The front rectangle of the plot (inside its walls) when the chart is
    // laid out in `area`.
    QRect plot_rect(const QRect& area) const;

    // The bar drawn at `point` (its front, and in 3D its top and side) when
    // the chart is laid out in `area`, under the zoom; nothing between the
    // bars, above or below them, or outside the plot.
    std::optional<std::size_t> bar_at(const QRect& area, const QPoint& point) const;

    // The box a bar is drawn in (its front, and in 3D its top and side), as
    // far as it lies within the plot and its depth, when the chart is laid
    // out in `area`, under the zoom; nothing for a bar out of view.
    std::optional<QRect> bar_box(const QRect& area, std::size_t index) const;

private:
    const ChartModel& model_;
    const Separators& seps_;
    QRectF zoom_;
};

}  // namespace loglezer

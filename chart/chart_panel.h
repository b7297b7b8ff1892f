#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_painter.h"
#include "log/separators.h"
#include "stats/chart_model.h"

class QPainter;
class QRubberBand;
class QVariantAnimation;

namespace loglezer {

// One bar chart panel: shows its model (drawn by a ChartPainter, on screen
// and in its pictures alike) and lets the user zoom and scroll the plot with
// the mouse, gliding when the zoom is animated.
//
// Mouse: drag a rectangle down and to the right with the left button to
// zoom into it; drag the other way, or double-click, to undo the zoom; drag
// with the right button to scroll. A zoom stays in force when the points are
// replaced.
//
// Resting the pointer on a bar shows its exact figures in a tooltip, which
// stays off the saved pictures.
//
// Keyboard (the panel takes the focus by Tab): Left and Right select the
// previous and next bar and show its tooltip at it; + and - zoom in and out
// around the selected bar (twice as near or as far across), 0 undoes the
// zoom. The selected bar is outlined while the panel has the focus, never in
// the pictures, and is forgotten when the points are replaced. A screen
// reader finds the panel as a chart, described by its titles and its bars as
// their tooltips word them, one to a line.
class ChartPanel : public QWidget {
public:
    explicit ChartPanel(std::string title, QWidget* parent = nullptr);
    ~ChartPanel() override;

    // What the panel shows. Every change to it repaints the panel once the
    // running handler has ended.
    ChartModel& model() { return model_; }
    const ChartModel& model() const { return model_; }
    // Shows a copy of `model`, in place of what the panel showed: the
    // selection is forgotten, the zoom stays.
    void set_chart(const ChartModel& model);

    // The separators the marks are written with.
    void set_separators(const Separators& seps);
    const Separators& separators() const { return seps_; }

    // Whether a zoom glides over a few frames or happens in one step.
    void set_animated_zoom(bool on) { animated_zoom_ = on; }
    bool animated_zoom() const { return animated_zoom_; }

    // The part of the unzoomed plot in view: x from the left edge and y from
    // the bottom, both as fractions of the plot's size. (0, 0, 1, 1) shows it
    // all.
    QRectF zoom() const { return zoom_; }
    bool is_zoomed() const { return zoom_ != kAll; }
    // Zoom to `view` (glides when the zoom is animated), or as near as the
    // deepest zoom allows: a thousandth of a bar's slot across and of the
    // plot's height up. undo_zoom() shows the whole plot again.
    void zoom_to(const QRectF& view);
    void undo_zoom() { zoom_to(kAll); }

    // The panel drawn into a new picture of the given size, laid out for
    // that size on white, without the controls that stand on it. One device
    // pixel per pixel, whatever the screen's scale.
    QImage render(int width, int height) const;

    // The front rectangle of the plot (inside its walls) when the panel is
    // laid out in `area`.
    QRect plot_rect(const QRect& area) const;

    // Names the bar at an index of the model in its tooltip: what the chart
    // shows decides whether "Juni" means June of which year. Without one, a
    // bar is named by its label.
    using BarNamer = std::function<QString(const ChartModel& model, std::size_t index)>;
    void set_bar_namer(BarNamer namer) { bar_namer_ = std::move(namer); }

    // The tooltip of the bar at a point of the panel, under the zoom: its
    // name, its value in GB with two decimals and the bytes it stands for,
    // one to a line, in the panel's separators. Empty when no bar is there.
    QString tooltip_at(const QPoint& point) const;
    // The tooltip of the bar at an index of the model.
    QString bar_tooltip(std::size_t index) const;
    // The title lines, then one line per bar: its tooltip's lines joined by
    // "; ".
    QString bar_list() const;

    // The bar the keyboard has selected, if any.
    std::optional<std::size_t> selected_bar() const { return selected_; }

    static constexpr QRectF kAll{0.0, 0.0, 1.0, 1.0};

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // What draws the panel: its whole look under `zoom`, without the
    // controls that stand on it.
    ChartPainter chart_painter(const QRectF& zoom) const { return ChartPainter(model_, mark_texts_, zoom); }
    // The chart laid out in the panel under `zoom`: the layout kept from the
    // last paint or question, made again only when the model, the
    // separators, the size or the zoom has changed since.
    const ChartLayout& layout(const QRectF& zoom) const;
    // A widget point in the unzoomed plot's fractions, under the current zoom.
    QPointF to_plot_fraction(const QPoint& point) const;
    void set_zoom_now(const QRectF& view);
    // Every change to the model: what painting needs made again and a
    // repaint, and when the points have been replaced, points_replaced().
    void model_changed();
    // The marks' texts made again and the layout forgotten, for a repaint.
    void content_changed();
    // No selection and a new description.
    void points_replaced();
    // The keys' actions; each returns whether the key is one of them.
    bool act_on_key(int key);
    // Left (-1) and Right (+1).
    void step_selection(int step);
    // Zooms in (factor below 1) or out across, around the selected bar or
    // else the middle of the view.
    void zoom_across(double factor);
    // Scrolls a bar that lies outside the view to its middle.
    void bring_into_view(std::size_t index);
    void show_selected_tooltip();
    // The dotted outlines of the focus and of the selected bar.
    void paint_focus(QPainter& painter) const;

    ChartModel model_;
    Separators seps_;
    std::vector<QString> mark_texts_;  // of model_ in seps_, one per point
    // The layout of the last paint or question, until the model or the
    // separators change; it also names the size and the zoom it was made for.
    mutable std::optional<ChartLayout> layout_;
    bool animated_zoom_ = false;
    QRectF zoom_ = kAll;
    // The view asked for last, which a gliding zoom has not reached yet.
    QRectF zoom_goal_ = kAll;
    BarNamer bar_namer_;

    // keyboard
    std::optional<std::size_t> selected_;
    std::size_t point_count_ = 0;  // how many points the model had at its last change

    // mouse gestures
    enum class Drag { None, Zoom, Scroll };
    Drag drag_ = Drag::None;
    QPoint drag_start_;
    QPoint drag_last_;
    QRubberBand* band_ = nullptr;
    QVariantAnimation* animation_ = nullptr;
};

}  // namespace loglezer

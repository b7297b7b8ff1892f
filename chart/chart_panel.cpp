#include "chart/chart_panel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFont>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QRubberBand>
#include <QStringList>
#include <QToolTip>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "chart/latin1.h"
#include "text/value_format.h"

namespace loglezer {

namespace {

constexpr int kZoomFrames = 6;
constexpr int kFrameMs = 20;
constexpr int kMinDrag = 3;  // pixels a drag must cover to count as one

// The deepest zoom: a view a thousandth of one bar's slot across and a
// thousandth of the plot's height up, far past any difference the eye can
// see. A narrower view widens about its centre, so zooming on stays put.
QRectF within_zoom_limit(QRectF view, std::size_t points) {
    const double min_width = 1.0 / (1000.0 * static_cast<double>(std::max<std::size_t>(1, points)));
    const double min_height = 1.0 / 1000.0;
    if (view.width() >= min_width && view.height() >= min_height) return view;
    const QPointF centre = view.center();
    view.setWidth(std::max(view.width(), min_width));
    view.setHeight(std::max(view.height(), min_height));
    view.moveCenter(centre);
    return view;
}

// A number of bytes as a whole number, its digits grouped by thousands with
// the regional separator: exact for any amount, beyond what a double holds.
std::string whole_bytes_text(long double bytes, const Separators& seps) {
    const int length = std::snprintf(nullptr, 0, "%.0Lf", bytes);
    if (length <= 0) return "?";
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), "%.0Lf", bytes);
    std::string digits(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t first = digits.find_first_of("0123456789");
    if (first == std::string::npos || seps.thousands == Separators::kNoGrouping) return digits;  // inf, nan
    std::string out = digits.substr(0, first);
    const std::size_t count = digits.size() - first;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) out += seps.thousands;
        out += digits[first + i];
    }
    return out;
}

// What a screen reader finds of a panel: a chart, named by the panel's
// accessible name and described by its titles and bars.
class ChartAccessible : public QAccessibleWidget {
public:
    explicit ChartAccessible(ChartPanel* panel) : QAccessibleWidget(panel, QAccessible::Chart) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) return static_cast<const ChartPanel*>(widget())->bar_list();
        return QAccessibleWidget::text(t);
    }
};

// The zoom's step on + and -.
constexpr double kKeyZoom = 2.0;

// Whether two views are the same to the last bit, as the pixels laid out
// under them are: QRectF's == takes views that differ slightly as the same.
bool same_view(const QRectF& a, const QRectF& b) {
    return a.x() == b.x() && a.y() == b.y() && a.width() == b.width() && a.height() == b.height();
}

}  // namespace

ChartPanel::ChartPanel(std::string title, QWidget* parent) : QWidget(parent), model_(std::move(title)) {
    // The panel has no meta-object of its own to make an interface for, so
    // its interface is made here, before anything asks for one; Qt owns it.
    QAccessible::registerAccessibleInterface(new ChartAccessible(this));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    model_.set_on_change([this] { model_changed(); });
    content_changed();
}

ChartPanel::~ChartPanel() = default;

void ChartPanel::set_chart(const ChartModel& model) {
    model_ = model;
    // The copy brought the callback of the model it was copied from.
    model_.set_on_change([this] { model_changed(); });
    content_changed();
    points_replaced();
}

void ChartPanel::set_separators(const Separators& seps) {
    seps_ = seps;
    content_changed();
}

const ChartLayout& ChartPanel::layout(const QRectF& zoom) const {
    if (!layout_ || layout_->area() != rect() || !same_view(layout_->zoom(), zoom)) {
        layout_ = chart_painter(zoom).lay_out(rect());
    }
    return *layout_;
}

QRect ChartPanel::plot_rect(const QRect& area) const { return chart_painter(zoom_).plot_rect(area); }

QImage ChartPanel::render(int width, int height) const { return chart_painter(zoom_).picture(width, height); }

QString ChartPanel::tooltip_at(const QPoint& point) const {
    const std::optional<std::size_t> index = layout(zoom_).bar_at(point);
    return index ? bar_tooltip(*index) : QString();
}

QString ChartPanel::bar_tooltip(std::size_t index) const {
    const ChartPoint& bar = model_.points().at(index);
    const QString name = bar_namer_ ? bar_namer_(model_, index) : from_log_text(bar.label);
    return name + u'\n' + from_log_text(gigabytes_text(bar.value, seps_)) + u'\n' +
           from_log_text(whole_bytes_text(bar.bytes, seps_)) + QStringLiteral(" bytes");
}

QString ChartPanel::bar_list() const {
    QStringList lines;
    for (const std::string& title : model_.titles()) lines << from_log_text(title);
    for (std::size_t i = 0; i < model_.points().size(); ++i) {
        lines << bar_tooltip(i).replace(u'\n', QStringLiteral("; "));
    }
    return lines.join(u'\n');
}

bool ChartPanel::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tooltip_at(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void ChartPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    chart_painter(zoom_).paint(painter, layout(zoom_));
    if (hasFocus()) paint_focus(painter);
}

void ChartPanel::paint_focus(QPainter& painter) const {
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
    if (!selected_) return;
    if (const std::optional<QRect> box = layout(zoom_).bar_box(*selected_)) {
        painter.drawRect(box->adjusted(-2, -2, 1, 1));
    }
}

void ChartPanel::model_changed() {
    content_changed();
    // Points are only ever cleared or added: replacing them changes their
    // number.
    if (model_.points().size() != point_count_) points_replaced();
}

void ChartPanel::content_changed() {
    mark_texts_ = mark_texts(model_, seps_);
    layout_.reset();
    update();
}

void ChartPanel::points_replaced() {
    point_count_ = model_.points().size();
    if (selected_ && hasFocus()) QToolTip::hideText();
    selected_.reset();
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

QPointF ChartPanel::to_plot_fraction(const QPoint& point) const {
    return ScaleMap(layout(zoom_).plot(), zoom_).fraction_at(point);
}

void ChartPanel::set_zoom_now(const QRectF& view) {
    zoom_ = view;
    update();
}

void ChartPanel::zoom_to(const QRectF& view) {
    const QRectF target = within_zoom_limit(view, model_.points().size());
    zoom_goal_ = target;
    if (!animated_zoom_) {
        if (animation_) animation_->stop();
        set_zoom_now(target);
        return;
    }
    if (!animation_) {
        animation_ = new QVariantAnimation(this);
        connect(animation_, &QVariantAnimation::valueChanged, this,
                [this](const QVariant& value) { set_zoom_now(value.toRectF()); });
    }
    animation_->stop();
    animation_->setDuration(kZoomFrames * kFrameMs);
    animation_->setStartValue(zoom_);
    animation_->setEndValue(target);
    animation_->start();
}

void ChartPanel::mousePressEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) return;
    drag_start_ = drag_last_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        drag_ = Drag::Zoom;
        if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, this);
        band_->setGeometry(QRect(drag_start_, QSize()));
        band_->show();
    } else if (event->button() == Qt::RightButton) {
        drag_ = Drag::Scroll;
    }
}

void ChartPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_ == Drag::Zoom) {
        band_->setGeometry(QRect(drag_start_, at).normalized());
    } else if (drag_ == Drag::Scroll) {
        const QRect plot = layout(zoom_).plot();
        const QPoint delta = at - drag_last_;
        drag_last_ = at;
        QRectF view = zoom_;
        view.translate(-delta.x() / static_cast<double>(std::max(1, plot.width())) * view.width(),
                       delta.y() / static_cast<double>(std::max(1, plot.height())) * view.height());
        if (animation_) animation_->stop();
        zoom_goal_ = view;
        set_zoom_now(view);  // scrolling follows the mouse, never glides
    }
}

void ChartPanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_ == Drag::Zoom && event->button() == Qt::LeftButton) {
        band_->hide();
        drag_ = Drag::None;
        const QPoint delta = at - drag_start_;
        if (std::abs(delta.x()) < kMinDrag && std::abs(delta.y()) < kMinDrag) return;  // a click
        if (delta.x() > 0 && delta.y() > 0) {
            const QPointF a = to_plot_fraction(drag_start_);
            const QPointF b = to_plot_fraction(at);
            zoom_to(QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                           QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
        } else {
            undo_zoom();
        }
    } else if (drag_ == Drag::Scroll && event->button() == Qt::RightButton) {
        drag_ = Drag::None;
    }
}

void ChartPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) undo_zoom();
}

void ChartPanel::keyPressEvent(QKeyEvent* event) {
    if (act_on_key(event->key())) {
        show_selected_tooltip();
    } else {
        QWidget::keyPressEvent(event);
    }
}

bool ChartPanel::act_on_key(int key) {
    switch (key) {
        case Qt::Key_Left:
            step_selection(-1);
            return true;
        case Qt::Key_Right:
            step_selection(1);
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // + without Shift on many keyboards
            zoom_across(1.0 / kKeyZoom);
            return true;
        case Qt::Key_Minus:
            zoom_across(kKeyZoom);
            return true;
        case Qt::Key_0:
            undo_zoom();
            return true;
        default:
            return false;
    }
}

void ChartPanel::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void ChartPanel::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void ChartPanel::step_selection(int step) {
    const std::size_t count = model_.points().size();
    if (count == 0) return;
    if (!selected_) {
        selected_ = step > 0 ? 0 : count - 1;
    } else if (step < 0 && *selected_ > 0) {
        --*selected_;
    } else if (step > 0 && *selected_ + 1 < count) {
        ++*selected_;
    }
    bring_into_view(*selected_);
    update();
}

void ChartPanel::bring_into_view(std::size_t index) {
    const double centre = bar_centre(index, model_.points().size());
    if (centre >= zoom_goal_.left() && centre <= zoom_goal_.right()) return;
    QRectF view = zoom_goal_;
    view.moveLeft(std::clamp(centre - view.width() / 2, 0.0, std::max(0.0, 1.0 - view.width())));
    zoom_to(view);
}

void ChartPanel::zoom_across(double factor) {
    const double width = std::min(1.0, zoom_goal_.width() * factor);
    const double centre = selected_ ? bar_centre(*selected_, model_.points().size()) : zoom_goal_.center().x();
    const double left = std::clamp(centre - width / 2, 0.0, 1.0 - width);
    zoom_to(QRectF(left, zoom_goal_.top(), width, zoom_goal_.height()));
}

void ChartPanel::show_selected_tooltip() {
    if (!selected_) return;
    // Where the bar stands once a gliding zoom has reached its goal.
    const ChartLayout& goal = layout(zoom_goal_);
    const std::optional<QRect> box = goal.bar_box(*selected_);
    // Beside the bar rather than over it.
    const QPoint at = box ? box->topRight() : goal.plot().center();
    // Qt leaves a tip showing the same text where it stands unless its point
    // has left the rectangle it was shown for: one pixel at that point, so
    // that after a zoom the tip follows the bar.
    QToolTip::showText(mapToGlobal(at), bar_tooltip(*selected_), this, QRect(at, QSize(1, 1)));
}

}  // namespace loglezer

#include "chart/chart_panel.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRubberBand>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/latin1.h"
#include "chart/value_format.h"

namespace loglezer {

namespace {

const QColor kTitleColour(0x00, 0x00, 0xFF);
constexpr int kTickLength = 5;
constexpr int kMarkLine = 20;
constexpr int kZoomFrames = 6;
constexpr int kFrameMs = 20;
constexpr int kMinDrag = 3;  // pixels a drag must cover to count as one

// Arial, 8 points at 96 dots per inch: 11 pixels on every device, so the
// screen and the pictures lay out alike.
QFont chart_font() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QColor to_qcolor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

}  // namespace

struct ChartPanel::Layout {
    QFont font;
    int line_height = 0;
    std::vector<QPoint> title_baselines;  // one per title line, text centred on x
    struct LegendEntry {
        QRect sample;
        QPoint text;  // baseline start
    };
    std::vector<LegendEntry> legend;
    QRect plot;         // front rectangle of the plot, inside the walls
    int depth = 0;      // 3D depth in pixels; 0 when flat
    int mark_room = 0;  // pixels above the tallest bar kept for its mark
};

ChartPanel::ChartPanel(std::string title, QWidget* parent) : QWidget(parent), model_(std::move(title)) {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    model_.set_on_change([this] { update(); });
}

ChartPanel::~ChartPanel() = default;

void ChartPanel::set_separators(const Separators& seps) {
    seps_ = seps;
    update();
}

ChartPanel::Layout ChartPanel::layout(const QRect& area) const {
    Layout l;
    l.font = chart_font();
    const QFontMetrics fm(l.font);
    l.line_height = fm.height();

    const int width = area.width();
    const int height = area.height();
    const int margin_x = static_cast<int>(std::lround(width * 0.03));
    const int margin_bottom = static_cast<int>(std::lround(height * 0.04));
    const QRect inner = area.adjusted(margin_x, 0, -margin_x, -margin_bottom);

    // Title lines, centred over the whole panel.
    int y = inner.top() + 4;
    for (std::size_t i = 0; i < model_.titles().size(); ++i) {
        l.title_baselines.emplace_back(area.left() + width / 2, y + fm.ascent());
        y += l.line_height;
    }
    y += 3;

    // Legend: one entry per point, rows centred, wrapped when full.
    const auto& points = model_.points();
    if (!points.empty()) {
        int widest = 0;
        std::vector<int> text_widths;
        text_widths.reserve(points.size());
        for (const ChartPoint& p : points) {
            text_widths.push_back(fm.horizontalAdvance(from_log_text(p.label)));
            widest = std::max(widest, text_widths.back());
        }
        const int sample_width = static_cast<int>(std::lround((widest + 4) * 30 / 100.0));
        const int sample_height = std::max(3, fm.ascent() - 2);
        constexpr int kGap = 4;       // between sample and text
        constexpr int kSpacing = 10;  // between entries
        const int row_height = l.line_height + 2;

        std::size_t first = 0;
        while (first < points.size()) {
            // Take as many entries as fit in the row (always at least one).
            std::size_t last = first;
            int row_width = sample_width + kGap + text_widths[first];
            while (last + 1 < points.size()) {
                const int next = row_width + kSpacing + sample_width + kGap + text_widths[last + 1];
                if (next > inner.width()) break;
                row_width = next;
                ++last;
            }
            int x = inner.left() + (inner.width() - row_width) / 2;
            for (std::size_t i = first; i <= last; ++i) {
                Layout::LegendEntry e;
                e.sample = QRect(x, y + (row_height - sample_height) / 2, sample_width, sample_height);
                e.text = QPoint(x + sample_width + kGap, y + (row_height - l.line_height) / 2 + fm.ascent());
                l.legend.push_back(e);
                x += sample_width + kGap + text_widths[i] + kSpacing;
            }
            y += row_height;
            first = last + 1;
        }
        y += 3;
    }

    // The plot: what is left above the axis labels and their ticks. In 3D
    // its walls go back towards the upper right by the depth.
    const int bottom = inner.bottom() - l.line_height - kTickLength - 1;
    l.depth = model_.is_3d() ? static_cast<int>(std::lround(inner.width() * 0.015)) : 0;
    l.plot = QRect(QPoint(inner.left(), y + l.depth), QPoint(inner.right() - l.depth, bottom));
    l.mark_room = kMarkLine + l.line_height + 6 + l.depth / 2;
    return l;
}

QRect ChartPanel::plot_rect(const QRect& area) const { return layout(area).plot; }

void ChartPanel::paint(QPainter& painter, const QRect& area) const {
    const Layout l = layout(area);
    const QFontMetrics fm(l.font);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(l.font);
    painter.fillRect(area, Qt::white);

    // Title
    painter.setPen(kTitleColour);
    for (std::size_t i = 0; i < l.title_baselines.size(); ++i) {
        const QString text = from_log_text(model_.titles()[i]);
        const QPoint at = l.title_baselines[i];
        painter.drawText(at.x() - fm.horizontalAdvance(text) / 2, at.y(), text);
    }

    const auto& points = model_.points();

    // Legend
    for (std::size_t i = 0; i < l.legend.size(); ++i) {
        painter.setPen(Qt::black);
        painter.setBrush(to_qcolor(points[i].colour));
        painter.drawRect(l.legend[i].sample.adjusted(0, 0, -1, -1));
        painter.drawText(l.legend[i].text, from_log_text(points[i].label));
    }

    const QRect plot = l.plot;
    if (plot.width() < 2 || plot.height() < 2) {
        painter.restore();
        return;
    }
    const int d = l.depth;

    // Walls
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    if (d > 0) {
        const QRect back = plot.translated(d, -d);
        painter.drawRect(back);
        painter.drawPolygon(QPolygon({plot.topLeft(), back.topLeft(), back.bottomLeft(), plot.bottomLeft()}));
        painter.drawPolygon(QPolygon({plot.bottomLeft(), back.bottomLeft(), QPoint(back.right() + 1, back.bottom()),
                                      QPoint(plot.right() + 1, plot.bottom())}));
    } else {
        painter.drawRect(plot);
    }

    // The scale: 0 to the largest value, the top kept free for the marks.
    double lo = 0.0;
    double hi = 0.0;
    for (const ChartPoint& p : points) {
        lo = std::min(lo, p.value);
        hi = std::max(hi, p.value);
    }
    if (!(hi > lo)) hi = lo + 1.0;  // all zero (or no points): nothing to divide by
    const double usable = std::max(1, plot.height() - l.mark_room) / static_cast<double>(plot.height());

    // Fractions of the unzoomed plot to pixels, under the zoom.
    const QRectF z = zoom_;
    const auto px = [&](double u) { return plot.left() + (u - z.left()) / z.width() * plot.width(); };
    const auto py = [&](double v) { return plot.bottom() - (v - z.top()) / z.height() * plot.height(); };
    const auto v_of = [&](double value) { return (value - lo) / (hi - lo) * usable; };

    const int n = static_cast<int>(points.size());
    struct Bar {
        int left, right, top, base;
    };
    std::vector<Bar> bars;
    bars.reserve(points.size());
    for (int i = 0; i < n; ++i) {
        const double centre = (i + 0.5) / n;
        const double half = 0.3 / n;  // 60 % of the space per point
        const double value = points[i].value;
        const int left = static_cast<int>(std::lround(px(centre - half)));
        const int right = static_cast<int>(std::lround(px(centre + half)));
        const int zero = static_cast<int>(std::lround(py(v_of(0.0))));
        const int end = static_cast<int>(std::lround(py(v_of(value))));
        bars.push_back({left, right, std::min(zero, end), std::max(zero, end)});
    }

    // Bars stay inside the plot and its depth.
    painter.save();
    painter.setClipRect(QRect(plot.left(), plot.top() - d, plot.width() + d + 1, plot.height() + d + 1));
    for (int i = 0; i < n; ++i) {
        const Bar& b = bars[i];
        const QColor colour = to_qcolor(points[i].colour);
        painter.setPen(Qt::black);
        if (d > 0) {
            painter.setBrush(colour.darker(125));
            painter.drawPolygon(QPolygon({QPoint(b.left, b.top), QPoint(b.left + d, b.top - d),
                                          QPoint(b.right + d, b.top - d), QPoint(b.right, b.top)}));
            painter.setBrush(colour.darker(160));
            painter.drawPolygon(QPolygon({QPoint(b.right, b.top), QPoint(b.right + d, b.top - d),
                                          QPoint(b.right + d, b.base - d), QPoint(b.right, b.base)}));
        }
        QLinearGradient gradient(0, b.base, 0, b.top);
        gradient.setColorAt(0.0, colour);
        gradient.setColorAt(1.0, Qt::white);
        painter.setBrush(gradient);
        painter.drawRect(QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.base - 1)));
    }
    painter.restore();

    // Marks: above every bar whose top is in view. They may reach past the
    // plot's sides, but not above its walls into the legend (only a zoom
    // takes them that high).
    painter.save();
    painter.setClipRect(QRect(QPoint(area.left(), plot.top() - d), QPoint(area.right(), plot.bottom())));
    for (int i = 0; i < n; ++i) {
        const Bar& b = bars[i];
        const int x = (b.left + b.right) / 2 + d / 2;
        const int top = b.top - d / 2;
        if (x < plot.left() || x > plot.right() + d || top < plot.top() - d || top > plot.bottom()) continue;
        const QString text = from_log_text(format_value(points[i].value, model_.value_format(), seps_));
        painter.setPen(Qt::black);
        painter.drawLine(x, top, x, top - kMarkLine);
        const int w = fm.horizontalAdvance(text) + 4;
        const QRect box(x - w / 2, top - kMarkLine - l.line_height, w, l.line_height);
        painter.fillRect(box, Qt::white);
        painter.drawText(box, Qt::AlignCenter, text);
    }
    painter.restore();

    // The horizontal axis: a tick and a label under each bar in view; a
    // label that would run into the one before it is left out.
    painter.setPen(Qt::black);
    int last_right = std::numeric_limits<int>::min();
    for (int i = 0; i < n; ++i) {
        const int x = (bars[i].left + bars[i].right) / 2;
        if (x < plot.left() || x > plot.right()) continue;
        painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + kTickLength);
        const QString text = from_log_text(points[i].label);
        const int w = fm.horizontalAdvance(text);
        const int left = x - w / 2;
        if (left <= last_right + 2) continue;
        painter.drawText(left, plot.bottom() + kTickLength + 1 + fm.ascent(), text);
        last_right = left + w;
    }
    painter.restore();
}

QImage ChartPanel::render(int width, int height, QColor background) const {
    // Drawn in the painter's fastest format, then handed over as packed RGB.
    QImage picture(width, height, QImage::Format_RGB32);
    picture.setDevicePixelRatio(1.0);
    picture.fill(background);
    {
        QPainter painter(&picture);
        paint(painter, QRect(0, 0, width, height));
    }
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    rgb.setDevicePixelRatio(1.0);
    return rgb;
}

void ChartPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect());
}

QPointF ChartPanel::to_plot_fraction(const QPoint& point) const {
    const QRect plot = plot_rect(rect());
    const double fx = (point.x() - plot.left()) / static_cast<double>(std::max(1, plot.width()));
    const double fy = (plot.bottom() - point.y()) / static_cast<double>(std::max(1, plot.height()));
    return {zoom_.left() + fx * zoom_.width(), zoom_.top() + fy * zoom_.height()};
}

void ChartPanel::set_zoom_now(const QRectF& view) {
    zoom_ = view;
    update();
}

void ChartPanel::zoom_to(const QRectF& view) {
    if (!animated_zoom_) {
        if (animation_) animation_->stop();
        set_zoom_now(view);
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
    animation_->setEndValue(view);
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
        const QRect plot = plot_rect(rect());
        const QPoint delta = at - drag_last_;
        drag_last_ = at;
        QRectF view = zoom_;
        view.translate(-delta.x() / static_cast<double>(std::max(1, plot.width())) * view.width(),
                       delta.y() / static_cast<double>(std::max(1, plot.height())) * view.height());
        if (animation_) animation_->stop();
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

}  // namespace loglezer

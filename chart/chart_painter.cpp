#include "chart/chart_painter.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "chart/latin1.h"
#include "text/value_format.h"

namespace loglezer {

namespace {

// How far from the origin a device coordinate may lie: far outside any panel
// or picture, and so far inside an int that the few pixels the stages add to
// one (the depth, a mark's line, another bar edge) cannot overflow it. A
// deep zoom puts the bars beside the one in view millions of pixels away.
constexpr double kFar = 1 << 26;

int to_pixel(double device) {
    if (!(device >= -kFar)) device = -kFar;  // also a NaN, from a view of no size
    return static_cast<int>(std::lround(std::min(device, kFar)));
}

}  // namespace

double bar_centre(std::size_t index, std::size_t count) {
    return (static_cast<double>(index) + 0.5) / static_cast<double>(std::max<std::size_t>(1, count));
}

int ScaleMap::x(double fraction) const {
    return to_pixel(plot_.left() + (fraction - zoom_.left()) / zoom_.width() * plot_.width());
}

int ScaleMap::y(double fraction) const {
    return to_pixel(plot_.bottom() - (fraction - zoom_.top()) / zoom_.height() * plot_.height());
}

QPointF ScaleMap::fraction_at(const QPoint& point) const {
    const double fx = (point.x() - plot_.left()) / static_cast<double>(std::max(1, plot_.width()));
    const double fy = (plot_.bottom() - point.y()) / static_cast<double>(std::max(1, plot_.height()));
    return {zoom_.left() + fx * zoom_.width(), zoom_.top() + fy * zoom_.height()};
}

namespace {

const QColor kTitleColour(0x00, 0x00, 0xFF);

// The layout's proportions, each a share of what its comment names:
constexpr double kSideMargin = 0.03;    // left and right of everything, of the width
constexpr double kBottomMargin = 0.04;  // below the axis labels, of the height
constexpr double kDepth = 0.015;        // how far the 3D walls go back, of the width inside the margins
constexpr double kBarWidth = 0.6;       // a bar's width, of its slot

// Its gaps and lengths, in pixels:
constexpr int kTitleTop = 4;      // above the first title line
constexpr int kBlockGap = 3;      // below the titles and below the legend
constexpr int kTickLength = 5;    // an axis tick, down from the plot
constexpr int kLabelGap = 2;      // the least room between two axis labels
constexpr int kMarkLine = 20;     // the line from a bar's top up to its mark
constexpr int kMarkPad = 4;       // a mark's white box, wider than its text
constexpr int kMarkHeadroom = 6;  // above the tallest bar's mark, up to the top of the plot
constexpr int kLineLabelGap = 3;  // between a line's right end and its label above it
constexpr int kSmallestPlot = 2;  // a plot narrower or lower draws no walls or bars

// The legend, in pixels but for the samples' width: a sample is 30 per cent
// as wide as the widest legend text with 4 pixels added.
constexpr int kSamplePercent = 30;
constexpr int kSamplePad = 4;
constexpr int kSampleGap = 4;      // between a legend sample and its text
constexpr int kEntrySpacing = 10;  // between legend entries in a row
constexpr int kRowPadding = 2;     // a legend row's height beyond a line of text

// The shading of a 3D bar's faces, as QColor::darker factors (per cent) of
// its colour: the top a little darker, the side darker still.
constexpr int kTopShade = 125;
constexpr int kSideShade = 160;

// Arial, 8 points at 96 dots per inch: 11 pixels on every device, so the
// screen and the pictures lay out alike.
QFont chart_font() {
    // Arial is absent on Linux; Liberation Sans has its metrics. Set here,
    // so that a picture drawn without any panel on screen looks the same.
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QColor to_qcolor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

// Where the titles, the legend and the plot go in one area.
struct Frame {
    QRect area;
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

// The front face of one bar in device pixels.
struct Bar {
    int left, right, top, base;
};

// Title lines, centred over the whole area, from `y` down; returns the row
// below them.
int lay_out_titles(Frame& l, std::size_t lines, const QFontMetrics& fm, int y) {
    for (std::size_t i = 0; i < lines; ++i) {
        l.title_baselines.emplace_back(l.area.left() + l.area.width() / 2, y + fm.ascent());
        y += l.line_height;
    }
    return y + kBlockGap;
}

// The legend: one entry per point, rows centred in `inner`, wrapped when
// full, from `y` down; returns the row below it.
int lay_out_legend(Frame& l, const std::vector<ChartPoint>& points, const QRect& inner, const QFontMetrics& fm, int y) {
    if (points.empty()) return y;
    int widest = 0;
    std::vector<int> text_widths;
    text_widths.reserve(points.size());
    for (const ChartPoint& p : points) {
        text_widths.push_back(fm.horizontalAdvance(from_log_text(p.label)));
        widest = std::max(widest, text_widths.back());
    }
    const int sample_width = static_cast<int>(std::lround((widest + kSamplePad) * kSamplePercent / 100.0));
    const int sample_height = std::max(3, fm.ascent() - 2);
    const int row_height = l.line_height + kRowPadding;

    std::size_t first = 0;
    while (first < points.size()) {
        // Take as many entries as fit in the row (always at least one).
        std::size_t last = first;
        int row_width = sample_width + kSampleGap + text_widths[first];
        while (last + 1 < points.size()) {
            const int next = row_width + kEntrySpacing + sample_width + kSampleGap + text_widths[last + 1];
            if (next > inner.width()) break;
            row_width = next;
            ++last;
        }
        int x = inner.left() + (inner.width() - row_width) / 2;
        for (std::size_t i = first; i <= last; ++i) {
            Frame::LegendEntry e;
            e.sample = QRect(x, y + (row_height - sample_height) / 2, sample_width, sample_height);
            e.text = QPoint(x + sample_width + kSampleGap, y + (row_height - l.line_height) / 2 + fm.ascent());
            l.legend.push_back(e);
            x += sample_width + kSampleGap + text_widths[i] + kEntrySpacing;
        }
        y += row_height;
        first = last + 1;
    }
    return y + kBlockGap;
}

Frame lay_out_frame(const ChartModel& model, const QRect& area) {
    Frame l;
    l.area = area;
    l.font = chart_font();
    const QFontMetrics fm(l.font);
    l.line_height = fm.height();

    const int margin_x = static_cast<int>(std::lround(area.width() * kSideMargin));
    const int margin_bottom = static_cast<int>(std::lround(area.height() * kBottomMargin));
    const QRect inner = area.adjusted(margin_x, 0, -margin_x, -margin_bottom);

    int y = lay_out_titles(l, model.titles().size(), fm, inner.top() + kTitleTop);
    if (model.has_legend()) y = lay_out_legend(l, model.points(), inner, fm, y);

    // The plot: what is left above the axis labels and their ticks. In 3D
    // its walls go back towards the upper right by the depth.
    const int bottom = inner.bottom() - l.line_height - kTickLength - 1;
    l.depth = model.is_3d() ? static_cast<int>(std::lround(inner.width() * kDepth)) : 0;
    l.plot = QRect(QPoint(inner.left(), y + l.depth), QPoint(inner.right() - l.depth, bottom));
    l.mark_room = kMarkLine + l.line_height + kMarkHeadroom + l.depth / 2;
    return l;
}

// Whether the plot is large enough to draw walls and bars in.
bool has_bars(const Frame& l) { return l.plot.width() >= kSmallestPlot && l.plot.height() >= kSmallestPlot; }

// Where the bars are drawn: the plot and its depth.
QRect bar_clip(const Frame& l) {
    const int d = l.depth;
    return {l.plot.left(), l.plot.top() - d, l.plot.width() + d + 1, l.plot.height() + d + 1};
}

void paint_titles(QPainter& painter, const Frame& l, const std::vector<std::string>& titles) {
    const QFontMetrics fm(l.font);
    painter.setPen(kTitleColour);
    for (std::size_t i = 0; i < l.title_baselines.size(); ++i) {
        const QString text = from_log_text(titles[i]);
        const QPoint at = l.title_baselines[i];
        painter.drawText(at.x() - fm.horizontalAdvance(text) / 2, at.y(), text);
    }
}

void paint_legend(QPainter& painter, const Frame& l, const std::vector<ChartPoint>& points) {
    for (std::size_t i = 0; i < l.legend.size(); ++i) {
        painter.setPen(Qt::black);
        painter.setBrush(to_qcolor(points[i].colour));
        painter.drawRect(l.legend[i].sample.adjusted(0, 0, -1, -1));
        painter.drawText(l.legend[i].text, from_log_text(points[i].label));
    }
}

void paint_walls(QPainter& painter, const Frame& l) {
    const QRect& plot = l.plot;
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    if (l.depth > 0) {
        const QRect back = plot.translated(l.depth, -l.depth);
        painter.drawRect(back);
        painter.drawPolygon(QPolygon({plot.topLeft(), back.topLeft(), back.bottomLeft(), plot.bottomLeft()}));
        painter.drawPolygon(QPolygon({plot.bottomLeft(), back.bottomLeft(), QPoint(back.right() + 1, back.bottom()),
                                      QPoint(plot.right() + 1, plot.bottom())}));
    } else {
        painter.drawRect(plot);
    }
}

// The values on the plot's height: from 0 (or below, for a negative value)
// up to the largest value of the bars and lines, the top of the plot kept
// free for the marks.
class ValueScale {
public:
    ValueScale(const Frame& l, const ChartModel& model) {
        for (const ChartPoint& p : model.points()) take_in(p.value);
        for (const ChartLine& line : model.lines()) {
            take_in(line.from_value);
            take_in(line.to_value);
        }
        if (!(hi_ > lo_)) hi_ = lo_ + 1.0;  // all zero (or no points): nothing to divide by
        usable_ = std::max(1, l.plot.height() - l.mark_room) / static_cast<double>(l.plot.height());
    }
    // A value as a fraction of the plot's height.
    double operator()(double value) const { return (value - lo_) / (hi_ - lo_) * usable_; }

private:
    void take_in(double value) {
        lo_ = std::min(lo_, value);
        hi_ = std::max(hi_, value);
    }
    double lo_ = 0.0;
    double hi_ = 0.0;
    double usable_ = 1.0;
};

// Where the bars go: each point in its own slot, from the left, its bar 60 %
// as wide, rising from 0.
std::vector<Bar> place_bars(const ChartModel& model, const ScaleMap& map, const ValueScale& v_of) {
    const std::vector<ChartPoint>& points = model.points();
    const std::size_t slot_total = model.slot_count();
    std::vector<Bar> bars;
    bars.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double centre = bar_centre(i, slot_total);
        const double half = kBarWidth / 2 / static_cast<double>(slot_total);
        const int left = map.x(centre - half);
        const int right = map.x(centre + half);
        const int zero = map.y(v_of(0.0));
        const int end = map.y(v_of(points[i].value));
        bars.push_back({left, right, std::min(zero, end), std::max(zero, end)});
    }
    return bars;
}

// A line's ends in device pixels.
struct LineEnds {
    QPoint from, to;
};

LineEnds line_ends(const ChartLine& line, const ValueScale& v_of, double slot_total, const ScaleMap& map) {
    return {QPoint(map.x(line.from_slot / slot_total), map.y(v_of(line.from_value))),
            QPoint(map.x(line.to_slot / slot_total), map.y(v_of(line.to_value)))};
}

// A bar's mark as placed: the short line up from the bar's top to its box.
struct MarkPlace {
    QPoint foot;  // the bar's top, where the line starts
    QRect box;
    QString text;
};

// Where the marks and the lines' labels go, once the bars are placed.
struct Labels {
    std::vector<MarkPlace> marks;
    std::vector<LineEnds> line_ends;  // one per line
    std::vector<QRect> line_labels;   // one per line; empty for a line without a label
};

// The pixels inside the plot's walls, free of their outline.
QRect plot_inside(const Frame& l) { return QRect(QPoint(l.plot.left() + 1, l.plot.top() + 1), l.plot.bottomRight()); }

// Marks: above every bar whose top is in view (the last bar only for
// Marks::Last), centred over the bar, or, when the labels keep clear, moved
// sideways as far as needed to stay inside the plot.
std::vector<MarkPlace> place_marks(const Frame& l, const ChartModel& model, const std::vector<QString>& texts,
                                   const std::vector<Bar>& bars) {
    const QFontMetrics fm(l.font);
    const QRect& plot = l.plot;
    const QRect inside = plot_inside(l);
    const int d = l.depth;
    std::vector<MarkPlace> marks;
    const std::size_t first = model.marks() == Marks::Last && !bars.empty() ? bars.size() - 1 : 0;
    for (std::size_t i = first; i < bars.size(); ++i) {
        const Bar& b = bars[i];
        const int x = (b.left + b.right) / 2 + d / 2;
        const int top = b.top - d / 2;
        if (x < plot.left() || x > plot.right() + d || top < plot.top() - d || top > plot.bottom()) continue;
        const QString& text = texts[i];
        const int w = fm.horizontalAdvance(text) + kMarkPad;
        int left = x - w / 2;
        if (model.labels_clear_of_bars()) left = std::max(inside.left(), std::min(left, inside.right() + 1 - w));
        marks.push_back({QPoint(x, top), QRect(left, top - kMarkLine - l.line_height, w, l.line_height), text});
    }
    return marks;
}

// The highest and the lowest row the line passes over the columns of `box`
// (at its nearer end where the box reaches past it).
std::pair<int, int> line_rows(const LineEnds& e, const QRect& box) {
    const bool from_left = e.from.x() <= e.to.x();
    const QPoint a = from_left ? e.from : e.to;
    const QPoint b = from_left ? e.to : e.from;
    const auto row = [&](int x) {
        if (b.x() == a.x()) return a.y();
        const double along = (std::clamp(x, a.x(), b.x()) - a.x()) / static_cast<double>(b.x() - a.x());
        return static_cast<int>(std::lround(a.y() + along * (b.y() - a.y())));
    };
    const int y1 = row(box.left());
    const int y2 = row(box.right());
    return {std::min(y1, y2), std::max(y1, y2)};
}

// The left edge of a label box `width` wide at one end of the line
// (`at_from` its from end), reaching towards the other end: clear of the
// walls at either side of the plot.
int at_end(const LineEnds& e, bool at_from, int width) {
    const QPoint end = at_from ? e.from : e.to;
    return at_from == (e.from.x() <= e.to.x()) ? end.x() + kLineLabelGap : end.x() - width - kLineLabelGap;
}

// A label box with its left edge at `left`, just above or just below the
// line over its columns.
QRect beside_line(const LineEnds& e, int left, const QSize& size, bool above) {
    const QRect box(QPoint(left, 0), size);
    const auto [high, low] = line_rows(e, box);
    // The line is two pixels thick: its second row lies below the one named.
    return box.translated(0, above ? high - kLineLabelGap - size.height() : low + 1 + kLineLabelGap);
}

// `box` raised until it lies above everything of `taken` in its columns.
QRect above_all(QRect box, const std::vector<QRect>& taken) {
    for (const QRect& t : taken) {
        if (t.left() <= box.right() && t.right() >= box.left() && t.top() <= box.bottom())
            box.moveBottom(std::min(box.bottom(), t.top() - 1 - kLineLabelGap));
    }
    return box;
}

// Where a line's label may go, best first: above the line at the end it
// names, reaching towards the other end; above at the other end; below at
// either end; further along the line, above then below; and at last clear
// above the bars and marks at either end.
std::vector<QRect> label_places(const LineEnds& e, bool at_from, const QSize& size, const QRect& inside,
                                const std::vector<QRect>& taken) {
    const int w = size.width();
    const int at_named = at_end(e, at_from, w);
    const int at_other = at_end(e, !at_from, w);
    std::vector<QRect> places;
    for (const bool above : {true, false}) {
        places.push_back(beside_line(e, at_named, size, above));
        places.push_back(beside_line(e, at_other, size, above));
    }
    // Along the part of the line in view, from the named end on.
    const int first = std::max(std::min(e.from.x(), e.to.x()), inside.left());
    const int last = std::min(std::max(e.from.x(), e.to.x()), inside.right()) - w + 1;
    const int step = std::max(1, w / 4);
    for (int i = 0; first + i * step <= last; ++i) {
        const int left = at_from == (e.from.x() <= e.to.x()) ? first + i * step : last - i * step;
        places.push_back(beside_line(e, left, size, true));
        places.push_back(beside_line(e, left, size, false));
    }
    places.push_back(above_all(places[0], taken));
    places.push_back(above_all(places[1], taken));
    return places;
}

// The first of `places` inside the plot that meets nothing `taken`; when
// every one meets something, the one inside that covers least of it.
QRect first_clear(const std::vector<QRect>& places, const QRect& inside, const std::vector<QRect>& taken) {
    QRect best = places.front();
    long long least = std::numeric_limits<long long>::max();
    for (const QRect& place : places) {
        if (!inside.contains(place)) continue;
        long long covered = 0;
        for (const QRect& t : taken) {
            const QRect common = place & t;
            covered += static_cast<long long>(common.width()) * common.height();
        }
        if (covered == 0) return place;
        if (covered < least) {
            least = covered;
            best = place;
        }
    }
    return best;
}

// What a line's label must keep clear of: the bars with their depth, and
// the marks with their lines.
std::vector<QRect> taken_by_bars(const Frame& l, const std::vector<Bar>& bars, const std::vector<MarkPlace>& marks) {
    std::vector<QRect> taken;
    taken.reserve(bars.size() + 2 * marks.size());
    for (const Bar& b : bars) taken.emplace_back(QPoint(b.left, b.top - l.depth), QPoint(b.right + l.depth, b.base));
    for (const MarkPlace& m : marks) {
        taken.push_back(m.box);
        taken.emplace_back(QPoint(m.foot.x(), m.foot.y() - kMarkLine), m.foot);
    }
    return taken;
}

// The marks, then each line's label in a white box: above the end it names,
// reaching towards the other end, or, when the labels keep clear, in the
// first place along the line inside the plot that meets no bar, mark or
// label placed before it.
Labels place_labels(const Frame& l, const ChartModel& model, const std::vector<QString>& mark_texts,
                    const ScaleMap& map, const ValueScale& v_of, const std::vector<Bar>& bars) {
    Labels labels{place_marks(l, model, mark_texts, bars), {}, {}};
    const QFontMetrics fm(l.font);
    const bool keep_clear = model.labels_clear_of_bars();
    const QRect inside = plot_inside(l);
    std::vector<QRect> taken = keep_clear ? taken_by_bars(l, bars, labels.marks) : std::vector<QRect>{};
    for (const ChartLine& line : model.lines()) {
        const LineEnds e = line_ends(line, v_of, static_cast<double>(model.slot_count()), map);
        labels.line_ends.push_back(e);
        const QSize size(fm.horizontalAdvance(from_log_text(line.label)) + kMarkPad, l.line_height);
        const bool at_from = line.label_at == ChartLine::LabelAt::From;
        QRect box;
        if (!line.label.empty()) {
            const int named_row = (at_from ? e.from : e.to).y() - kLineLabelGap - size.height();
            box = keep_clear ? first_clear(label_places(e, at_from, size, inside, taken), inside, taken)
                             : QRect(QPoint(at_end(e, at_from, size.width()), named_row), size);
            taken.push_back(box);
        }
        labels.line_labels.push_back(box);
    }
    return labels;
}

// The lines over the bars, two pixels wide, inside the plot; each label in
// a white box where it was placed.
void paint_lines(QPainter& painter, const Frame& l, const std::vector<ChartLine>& lines, const Labels& labels) {
    painter.save();
    painter.setClipRect(bar_clip(l));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ChartLine& line = lines[i];
        const LineEnds& e = labels.line_ends[i];
        painter.setPen(QPen(to_qcolor(line.colour), 2, line.dashed ? Qt::DashLine : Qt::SolidLine));
        painter.drawLine(e.from, e.to);
        if (line.label.empty()) continue;
        painter.fillRect(labels.line_labels[i], Qt::white);
        painter.drawText(labels.line_labels[i], Qt::AlignCenter, from_log_text(line.label));
    }
    painter.restore();
}

// The bars, each a gradient from its colour at the base to white at the
// top, inside the plot and its depth.
void paint_bars(QPainter& painter, const Frame& l, const std::vector<ChartPoint>& points,
                const std::vector<Bar>& bars) {
    const int d = l.depth;
    painter.save();
    painter.setClipRect(bar_clip(l));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& b = bars[i];
        const QColor colour = to_qcolor(points[i].colour);
        painter.setPen(Qt::black);
        if (d > 0) {
            painter.setBrush(colour.darker(kTopShade));
            painter.drawPolygon(QPolygon({QPoint(b.left, b.top), QPoint(b.left + d, b.top - d),
                                          QPoint(b.right + d, b.top - d), QPoint(b.right, b.top)}));
            painter.setBrush(colour.darker(kSideShade));
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
}

// The marks where they were placed, each with its line up from its bar's
// top. Left to themselves they may reach past the plot's sides, but never
// above its walls into the legend (only a zoom takes them that high).
void paint_marks(QPainter& painter, const Frame& l, const std::vector<MarkPlace>& marks) {
    const QRect& plot = l.plot;
    painter.save();
    painter.setClipRect(QRect(QPoint(l.area.left(), plot.top() - l.depth), QPoint(l.area.right(), plot.bottom())));
    for (const MarkPlace& m : marks) {
        painter.setPen(Qt::black);
        painter.drawLine(m.foot.x(), m.foot.y(), m.foot.x(), m.foot.y() - kMarkLine);
        painter.fillRect(m.box, Qt::white);
        painter.drawText(m.box, Qt::AlignCenter, m.text);
    }
    painter.restore();
}

// The horizontal axis: a tick and a label under each bar in view; a label
// that would run into the one before it is left out.
void paint_axis(QPainter& painter, const Frame& l, const std::vector<ChartPoint>& points,
                const std::vector<Bar>& bars) {
    const QFontMetrics fm(l.font);
    const QRect& plot = l.plot;
    painter.setPen(Qt::black);
    int last_right = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const int x = (bars[i].left + bars[i].right) / 2;
        if (x < plot.left() || x > plot.right()) continue;
        painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + kTickLength);
        const QString text = from_log_text(points[i].label);
        const int w = fm.horizontalAdvance(text);
        const int left = x - w / 2;
        if (left <= last_right + kLabelGap) continue;
        painter.drawText(left, plot.bottom() + kTickLength + 1 + fm.ascent(), text);
        last_right = left + w;
    }
}

}  // namespace

std::vector<QString> mark_texts(const ChartModel& model, const Separators& seps) {
    std::vector<QString> texts;
    texts.reserve(model.points().size());
    for (const ChartPoint& p : model.points()) {
        texts.push_back(from_log_text(format_value(p.value, model.value_format(), seps)));
    }
    return texts;
}

// The frame, and when the plot is large enough for them, the bars with the
// places of their marks and of the lines and their labels: all under one
// zoom and one value scale.
struct ChartLayout::Parts {
    Frame frame;
    QRectF zoom;
    std::vector<Bar> bars;  // none in a plot too small for them
    Labels labels;
};

const QRect& ChartLayout::area() const { return parts_->frame.area; }

const QRectF& ChartLayout::zoom() const { return parts_->zoom; }

const QRect& ChartLayout::plot() const { return parts_->frame.plot; }

std::optional<std::size_t> ChartLayout::bar_at(const QPoint& point) const {
    const Frame& l = parts_->frame;
    const int d = l.depth;
    if (!has_bars(l) || !bar_clip(l).contains(point)) return std::nullopt;
    const std::vector<Bar>& bars = parts_->bars;
    // The last bar drawn is the one on top.
    for (std::size_t i = bars.size(); i-- > 0;) {
        const Bar& b = bars[i];
        const QPolygon outline({QPoint(b.left, b.base), QPoint(b.left, b.top), QPoint(b.left + d, b.top - d),
                                QPoint(b.right + d, b.top - d), QPoint(b.right + d, b.base - d),
                                QPoint(b.right, b.base)});
        if (outline.containsPoint(point, Qt::OddEvenFill)) return i;
    }
    return std::nullopt;
}

std::optional<QRect> ChartLayout::bar_box(std::size_t index) const {
    const Frame& l = parts_->frame;
    if (index >= parts_->bars.size()) return std::nullopt;
    const Bar& b = parts_->bars[index];
    const QRect box = QRect(QPoint(b.left, b.top - l.depth), QPoint(b.right + l.depth, b.base)) & bar_clip(l);
    if (box.isEmpty()) return std::nullopt;
    return box;
}

ChartPainter::ChartPainter(const ChartModel& model, std::vector<QString> marks, const QRectF& zoom)
    : model_(model), marks_(std::move(marks)), zoom_(zoom) {
    Q_ASSERT(marks_.size() == model_.points().size());
}

ChartLayout ChartPainter::lay_out(const QRect& area) const {
    auto parts = std::make_shared<ChartLayout::Parts>();
    parts->frame = lay_out_frame(model_, area);
    parts->zoom = zoom_;
    const Frame& l = parts->frame;
    if (has_bars(l)) {
        // One scale for the bars and the lines alike.
        const ValueScale v_of(l, model_);
        const ScaleMap map(l.plot, zoom_);
        parts->bars = place_bars(model_, map, v_of);
        parts->labels = place_labels(l, model_, marks_, map, v_of, parts->bars);
    }
    return ChartLayout(std::move(parts));
}

void ChartPainter::paint(QPainter& painter, const ChartLayout& layout) const {
    const ChartLayout::Parts& parts = *layout.parts_;
    const Frame& l = parts.frame;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Figures read left to right also under -reverse: "2.5 GB", never
    // "GB 2.5".
    painter.setLayoutDirection(Qt::LeftToRight);
    painter.setFont(l.font);
    painter.fillRect(l.area, Qt::white);
    paint_titles(painter, l, model_.titles());
    paint_legend(painter, l, model_.points());
    if (has_bars(l)) {
        paint_walls(painter, l);
        paint_bars(painter, l, model_.points(), parts.bars);
        // The marks over the lines, so that a line never strikes through a
        // value.
        paint_lines(painter, l, model_.lines(), parts.labels);
        paint_marks(painter, l, parts.labels.marks);
        paint_axis(painter, l, model_.points(), parts.bars);
    }
    painter.restore();
}

int scaled_pixels(int pixels, double scale) {
    // In whole millionths, so that a half is a half: 2.3 is a little less
    // than 2.3 as a double.
    constexpr long long kMillion = 1000000;
    const long long millionths = std::llround(scale * kMillion);
    return static_cast<int>((pixels * millionths + kMillion / 2) / kMillion);
}

QImage ChartPainter::picture(int width, int height, double scale) const {
    // Drawn in the painter's fastest format, then handed over as packed RGB.
    // The device pixel ratio makes the painter draw the layout's text and
    // lines at the larger size.
    QImage picture(scaled_pixels(width, scale), scaled_pixels(height, scale), QImage::Format_RGB32);
    if (picture.isNull()) return picture;
    picture.setDevicePixelRatio(scale);
    // paint() fills its area white; this the part of a pixel rounding adds.
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        paint(painter, QRect(0, 0, width, height));
    }
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    rgb.setDevicePixelRatio(1.0);
    return rgb;
}

QRect ChartPainter::plot_rect(const QRect& area) const { return lay_out_frame(model_, area).plot; }

}  // namespace loglezer

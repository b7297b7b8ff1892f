#include "cli/view_output.h"

#include <optional>

#include "cli/csv_view.h"
#include "cli/json_view.h"
#include "cli/period_check.h"
#include "cli/table_view.h"
#include "cli/view.h"
#include "log/failure.h"
#include "log/number_text.h"
#include "session/session.h"
#include "text/dates.h"

namespace loglezer::cli {
namespace {

std::string render(const View& view, Format format, const Separators& seps) {
    switch (format) {
        case Format::Csv:
            return render_csv(view);
        case Format::Json:
            return render_json(view);
        case Format::Table:
            break;
    }
    return render_table(view, seps);
}

// The per-year view's exact figures, from what the start-up left.
ExactFigures exact_figures(const LineList& lines, const YearFigures& figures) {
    const auto day_of = [&lines](long long index) -> std::optional<std::string> {
        if (index < 0 || index >= lines.count()) return std::nullopt;
        const auto date = read_log_date(lines.at(index));
        return date ? std::optional<std::string>(iso_date(*date)) : std::nullopt;
    };
    return {figures.total_download,
            figures.total_upload,
            figures.record_download,
            figures.record_upload,
            day_of(figures.record_download_line),
            day_of(figures.record_upload_line)};
}

// The captions of the per-year view, as the labels show them.
LabelCaptions captions_of(const Screen& screen) {
    return {screen.record_download.value_or(""), screen.record_upload.value_or(""), screen.total_download.value_or(""),
            screen.total_upload.value_or("")};
}

}  // namespace

std::string view_output(const Options& options, Session& session, const Separators& seps) {
    const LineList& lines = session.lines();
    if (const std::optional<std::string>& failure = session.settings().units_failure) throw Failure(*failure);
    session.run_start_up();
    const Screen& screen = session.screen();
    View view{"jaar", screen.download, screen.upload, captions_of(screen), exact_figures(lines, session.figures())};
    if (options.year) {
        view.month = options.month.value_or(0);
        if (const auto year = parse_int(*options.year)) {
            view.year = *year;
            require_view_lines(lines, view.year, view.month);
        }
        session.show_period(*options.year, options.month);
        view.name = options.month ? "dag" : "maand";
        view.captions.reset();
        view.exact.reset();
    }
    return render(view, options.format, seps);
}

}  // namespace loglezer::cli

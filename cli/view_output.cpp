#include "cli/view_output.h"

#include <optional>

#include "cli/csv_view.h"
#include "cli/json_view.h"
#include "cli/period_check.h"
#include "cli/table_view.h"
#include "cli/view.h"
#include "log/number_text.h"
#include "stats/chosen_view.h"
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

// The per-year view's exact figures, from the shared values the start-up
// left.
ExactFigures exact_figures(const LineList& lines, const SharedState& shared) {
    const auto day_of = [&lines](long long index) -> std::optional<std::string> {
        if (index < 0 || index >= lines.count()) return std::nullopt;
        const auto date = read_log_date(lines.at(index));
        return date ? std::optional<std::string>(iso_date(*date)) : std::nullopt;
    };
    return {shared.total_download,
            shared.total_upload,
            shared.record_download_bytes,
            shared.record_upload_bytes,
            day_of(shared.record_download_line),
            day_of(shared.record_upload_line)};
}

}  // namespace

std::string view_output(const Options& options, const LineList& lines, const Separators& seps, UnitMode units) {
    ChosenView charts(lines, seps, units);
    View view{"jaar", charts.download(), charts.upload(), charts.start().captions,
              exact_figures(lines, charts.shared())};
    if (options.year) {
        view.month = options.month.value_or(0);
        if (const auto year = parse_int(*options.year)) {
            view.year = *year;
            require_view_lines(lines, view.year, view.month);
        }
        charts.choose(options.year, options.month);
        view.name = options.month ? "dag" : "maand";
        view.captions.reset();
        view.exact.reset();
    }
    return render(view, options.format, seps);
}

}  // namespace loglezer::cli
